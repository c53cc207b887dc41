// LAUNCH.INI speed: the in-memory document against the profile functions, on synthetic
// launcher lists saved and loaded the way the launcher does it. Prints a table; not a test.
//   ini_bench.exe [--engine-only [NODES RUNS]]   NODES alone, best of RUNS (default: 1,000 to
//                                                 100,000 nodes, best of 3)
#include "base/ini_document.h"
#include "launcher/ini_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

struct BenchNode {
    int parentLink;   // as stored: -2 at the top level, else the parent's index minus one
    bool folder;
    std::string name;
    std::string file;
    std::string option;
    std::string dir;
};

// One top-level folder for every ten nodes, holding the nine items after it.
static std::vector<BenchNode> MakeTree(int count)
{
    std::vector<BenchNode> nodes;
    nodes.reserve(count);
    for (int i = 0; i < count; ++i) {
        BenchNode node;
        node.folder = i % 10 == 0;
        node.parentLink = node.folder ? -2 : i / 10 * 10 - 1;
        const std::string number = std::to_string(i);
        node.name = (node.folder ? "フォルダ" : "項目") + number;
        if (!node.folder) {
            node.file = "C:\\Program Files\\App" + number + "\\app.exe";
            node.option = "/open \"C:\\文書\\" + number + ".txt\"";
            node.dir = "C:\\Program Files\\App" + number + "\\";
        }
        nodes.push_back(std::move(node));
    }
    return nodes;
}

// The launcher's save: the two index sections go, then each node's keys in index order.
static void
SaveSteps(const std::vector<BenchNode>& nodes, const std::function<void(const std::string& section)>& erase,
          const std::function<void(const std::string&, const std::string&, const std::string&)>& write)
{
    erase("FOLDER");
    erase("PARENT");
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const std::string number = std::to_string(i);
        const std::string section = "ExecInfo" + number;
        erase(section);
        write("PARENT", "NODE" + number, std::to_string(nodes[i].parentLink));
        write("FOLDER", "ITEM" + number, nodes[i].folder ? "1" : "0");
        write(section, "NAME", nodes[i].name);
        if (!nodes[i].folder) {
            write(section, "FILE", nodes[i].file);
            write(section, "OPTION", nodes[i].option);
            write(section, "DIR", nodes[i].dir);
        }
    }
}

// The launcher's load: ITEM and NODE of each index, then NAME, FILE, OPTION and DIR, until the
// first missing ITEM. Returns the number of nodes read, and checks what it read.
static int LoadSteps(const std::vector<BenchNode>& nodes,
                     const std::function<std::string(const std::string&, const std::string&)>& read)
{
    int count = 0;
    for (;; ++count) {
        const std::string number = std::to_string(count);
        const std::string item = read("FOLDER", "ITEM" + number);
        if (item.empty()) {
            break;
        }
        const std::string node = read("PARENT", "NODE" + number);
        const std::string section = "ExecInfo" + number;
        const std::string name = read(section, "NAME");
        const std::string file = read(section, "FILE");
        const std::string option = read(section, "OPTION");
        const std::string dir = read(section, "DIR");
        const BenchNode& expected = nodes.at(count);
        if (name != expected.name || file != expected.file ||
            std::atoi(node.c_str()) != expected.parentLink || option != expected.option ||
            dir != expected.dir) {
            std::fprintf(stderr, "wrong value read back at node %d\n", count);
            std::exit(1);
        }
    }
    return count;
}

static double Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Work>
static double Time(Work work)
{
    const double start = Seconds();
    work();
    return Seconds() - start;
}

static long long FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

struct EngineFigures {
    double saveNew = 1e9;
    double parse = 1e9;
    double reads = 1e9;
    double saveOver = 1e9;
    double saveChanged = 1e9;
    long long bytes = 0;
};

// Each phase's best of a few runs: the machine's other work only ever adds time.
static EngineFigures BenchEngine(const std::string& path, const std::vector<BenchNode>& nodes, int runs)
{
    EngineFigures best;
    // The same list with one name changed: a save of it replaces a file of other bytes.
    std::vector<BenchNode> changed = nodes;
    changed[0].name += "*";
    const auto saveList = [&](const std::vector<BenchNode>& list) {
        IniDocument document = LoadIniFile(path);
        SaveSteps(
            list, [&](const std::string& section) { document.EraseSection(section); },
            [&](const std::string& section, const std::string& key, const std::string& value) {
                document.Write(section, key, value);
            });
        SaveIniFile(path, document);
    };
    const auto save = [&] { saveList(nodes); };
    for (int run = 0; run < runs; ++run) {
        DeleteFileA(path.c_str());
        best.saveNew = std::min(best.saveNew, Time(save));
        best.bytes = FileSize(path);
        IniDocument document;
        best.parse = std::min(best.parse, Time([&] { document = LoadIniFile(path); }));
        int loaded = 0;
        best.reads =
            std::min(best.reads, Time([&] {
                         loaded = LoadSteps(nodes, [&](const std::string& section, const std::string& key) {
                             return document.ReadString(section, key, "");
                         });
                     }));
        if (loaded != static_cast<int>(nodes.size())) {
            std::fprintf(stderr, "engine loaded %d of %u nodes\n", loaded,
                         static_cast<unsigned>(nodes.size()));
            std::exit(1);
        }
        best.saveOver = std::min(best.saveOver, Time(save));
        best.saveChanged = std::min(best.saveChanged, Time([&] { saveList(changed); }));
        best.saveChanged = std::min(best.saveChanged, Time(save));
    }
    return best;
}

struct PlatformFigures {
    double save;
    double load;
};

static PlatformFigures BenchPlatform(const std::string& path, const std::vector<BenchNode>& nodes)
{
    DeleteFileA(path.c_str());
    PlatformFigures figures{};
    figures.save = Time([&] {
        SaveSteps(
            nodes,
            [&](const std::string& section) {
                WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, path.c_str());
            },
            [&](const std::string& section, const std::string& key, const std::string& value) {
                WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str());
            });
    });
    // A file written within the last two seconds is parsed again on every call under Wine;
    // at start-up the file is older than that, so let it age first.
    Sleep(2500);
    int loaded = 0;
    figures.load = Time([&] {
        loaded = LoadSteps(nodes, [&](const std::string& section, const std::string& key) {
            char buffer[2048];
            const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer,
                                                          sizeof buffer, path.c_str());
            return std::string(buffer, length);
        });
    });
    if (loaded != static_cast<int>(nodes.size())) {
        std::fprintf(stderr, "platform loaded %d of %u nodes\n", loaded, static_cast<unsigned>(nodes.size()));
        std::exit(1);
    }
    return figures;
}

int main(int argc, char** argv)
{
    const bool engineOnly = argc > 1 && std::strcmp(argv[1], "--engine-only") == 0;
    std::vector<int> sizes = {1000, 2000, 10000, 100000};
    int runs = 3;
    if (engineOnly && argc > 3) {
        sizes = {std::atoi(argv[2])};
        runs = std::max(1, std::atoi(argv[3]));
    }
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string enginePath = std::string(temp) + "ini_bench_engine.ini";
    const std::string platformPath = std::string(temp) + "ini_bench_platform.ini";

    std::printf("LAUNCH.INI, synthetic launcher lists: 1 folder per 10 nodes; per item 6 keys written,\n"
                "6 read (ITEM, NODE, NAME, FILE, OPTION, DIR). Engine figures: best of %d runs.\n\n",
                runs);
    std::printf("%7s %8s | %10s %10s %10s %10s %10s %10s | %10s %10s\n", "nodes", "file KB", "save new",
                "load file", "reads", "load total", "save over", "save chg", "WritePPS", "GetPPS");
    for (const int count : sizes) {
        const std::vector<BenchNode> nodes = MakeTree(count);
        const EngineFigures engine = BenchEngine(enginePath, nodes, runs);
        std::printf("%7d %8.0f | %7.1f ms %7.1f ms %7.1f ms %7.1f ms %7.1f ms %7.1f ms |", count,
                    engine.bytes / 1024.0, engine.saveNew * 1000, engine.parse * 1000, engine.reads * 1000,
                    (engine.parse + engine.reads) * 1000, engine.saveOver * 1000, engine.saveChanged * 1000);
        if (!engineOnly && count <= 2000) {
            std::fflush(stdout);
            const PlatformFigures platform = BenchPlatform(platformPath, nodes);
            std::printf(" %8.2f s %8.2f s\n", platform.save, platform.load);
        } else {
            std::printf(" %10s %10s\n", "-", "-");
        }
        std::fflush(stdout);
    }
    std::printf("\nsave new: the save steps into a missing file (load, erase/write steps, one atomic write)\n"
                "load file: LoadIniFile (read and parse); reads: the load's look-ups; save over: the same\n"
                "save onto the existing file; save chg: a save onto a file that held other bytes (one\n"
                "name differs), which keeps the replaced version as a backup. WritePPS/GetPPS: "
                "WritePrivateProfileStringA and\n"
                "GetPrivateProfileStringA doing the same save and load steps.\n");
    DeleteFileA(enginePath.c_str());
    DeleteFileA(platformPath.c_str());
    return 0;
}
