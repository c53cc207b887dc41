// Backup generations of LAUNCH.INI, damaged files and what a start loads in their place, and
// saves cut off at every step: on files held in memory.
#include "launcher/launch_damage.h"
#include "launcher/launch_file.h"
#include "launcher/launch_generations.h"
#include "launcher/launch_tree.h"

#include "launch_listing.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

const std::string kPath = "C:\\M\\LAUNCH.INI";

// Files in memory. Every change counts as one step; the step numbered `crashAt` does not
// happen, as if the power went: a file being written then holds only its first half.
class MemoryFiles : public FileOps {
public:
    struct Crash {};

    std::map<std::string, std::string> files;
    std::set<std::string> unreadable;
    int busyReads = 0;                      // reads of kPath that find it held before it is free
    std::set<std::string> refusedTargets;   // names a move onto fails
    bool links = true;
    int crashAt = -1;
    int steps = 0;
    int pauses = 0;

    FileContent Read(const std::string& path) override
    {
        FileContent content;
        if (path == kPath && busyReads > 0) {
            --busyReads;
            content.state = FileContent::State::Busy;
        } else if (unreadable.count(path)) {
            content.state = FileContent::State::Unreadable;
        } else if (files.count(path)) {
            content.state = FileContent::State::Read;
            content.bytes = files[path];
        }
        return content;
    }
    long long Size(const std::string& path) override
    {
        return files.count(path) ? static_cast<long long>(files[path].size()) : -1;
    }
    std::string WriteTemporary(const std::string& path, const std::string& bytes) override
    {
        const std::string name = path + ".~" + std::to_string(steps);
        if (Step()) {
            files[name] = bytes.substr(0, bytes.size() / 2);
            throw Crash{};
        }
        files[name] = bytes;
        return name;
    }
    bool Move(const std::string& from, const std::string& to) override
    {
        if (Step()) {
            throw Crash{};
        }
        if (refusedTargets.count(to) || !files.count(from)) {
            return false;
        }
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    void Remove(const std::string& path) override { files.erase(path); }
    bool Link(const std::string& existing, const std::string& name) override
    {
        if (!links || files.count(name) || refusedTargets.count(name)) {
            return false;
        }
        if (Step()) {
            throw Crash{};
        }
        files[name] = files[existing];
        return true;
    }
    void Pause(int) override { ++pauses; }

private:
    bool Step() { return steps++ == crashAt; }
};

// A list of one item of that name, as a save writes it.
std::string ListFile(const std::string& name)
{
    TreeModel tree;
    AddItemNode(tree, nullptr, name);
    IniDocument file;
    SaveLaunchTree(tree, file);
    return file.Serialize();
}

// What a file holds, in short: the list's one name, "-" for no file, "0" for no bytes or only
// zero bytes, "?" for anything else.
std::string Short(MemoryFiles& files, const std::string& name)
{
    if (!files.files.count(name)) {
        return "-";
    }
    const std::string& bytes = files.files[name];
    if (IsBlank(bytes)) {
        return "0";
    }
    return IniDocument::Parse(bytes).ReadString("ExecInfo0", "NAME", "?");
}

// The file and its generations 1 to 5, and the damaged file when there is one.
std::string Generations(MemoryFiles& files)
{
    std::string text = Short(files, kPath) + " |";
    for (int generation = 1; generation <= kBackupGenerations; ++generation) {
        text += " " + Short(files, BackupName(kPath, generation));
    }
    if (files.files.count(DamagedName(kPath))) {
        text += " damaged:" + Short(files, DamagedName(kPath));
    }
    return text;
}

// The list a start loads, as its one name ("" for an empty list).
std::string StartList(MemoryFiles& files, std::string* notice = nullptr)
{
    const LaunchFileAtStart start = LoadLaunchFileAtStart(files, kPath);
    if (notice) {
        *notice = start.notice;
    }
    TreeModel tree;
    LoadLaunchTree(start.document, tree);
    return tree.Count() ? tree.Node(0)->Text() : "";
}

}   // namespace

TEST(LaunchBackupTest, KeepsTheFiveMostRecentDistinctVersionsNewestFirst)
{
    static const struct {
        const char* saved;
        const char* after;
    } kSaves[] = {
        {"A", "A | - - - - -"},   // nothing replaced, nothing kept
        {"A", "A | - - - - -"},   // the same bytes again
        {"B", "B | A - - - -"},
        {"C", "C | B A - - -"},
        {"D", "D | C B A - -"},
        {"E", "E | D C B A -"},
        {"F", "F | E D C B A"},
        {"G", "G | F E D C B"},   // the oldest drops off
        {"G", "G | F E D C B"},
        // The version replaced moves to the front when it is kept already: it never stands
        // twice, however often the user goes back and forth.
        {"D", "D | G F E D C"},
        {"C", "C | D G F E C"},
        {"D", "D | C D G F E"},
        {"C", "C | D C G F E"},
    };
    for (const bool links : {true, false}) {
        MemoryFiles files;
        files.links = links;
        for (const auto& save : kSaves) {
            EXPECT_EQ(SaveOutcome::Saved, SaveKeepingGenerations(files, kPath, ListFile(save.saved)));
            EXPECT_EQ(save.after, Generations(files)) << "after saving " << save.saved << ", links " << links;
        }
        EXPECT_EQ(1u + kBackupGenerations, files.files.size()) << "temporary files left behind";
    }
}

TEST(LaunchBackupTest, ADamagedFileIsSetAsideAndNeverPushesAGenerationOut)
{
    static const struct {
        std::string file;   // what stands at the path when the list is saved
        bool backups;       // whether generations 1 and 2 hold lists
        const char* after;
    } kCases[] = {
        {"", true, "N | B C - - - damaged:0"},
        {std::string(4, '\0'), true, "N | B C - - - damaged:0"},
        {"garbage\x01\x02", true, "N | B C - - - damaged:?"},
        // Without a backup nothing is damaged: a file that holds something is kept as a
        // generation, one that holds nothing is not.
        {"[Other]\r\nKEEP=1\r\n", false, "N | ? - - - -"},
        {std::string(2, '\0'), false, "N | - - - - -"},
    };
    for (const auto& c : kCases) {
        MemoryFiles files;
        files.files[kPath] = c.file;
        if (c.backups) {
            files.files[BackupName(kPath, 1)] = ListFile("B");
            files.files[BackupName(kPath, 2)] = ListFile("C");
        }
        EXPECT_EQ(SaveOutcome::Saved, SaveKeepingGenerations(files, kPath, ListFile("N")));
        EXPECT_EQ(c.after, Generations(files));
    }
}

TEST(LaunchBackupTest, AGenerationThatCannotBeKeptNeverStopsTheSaveNorOverwritesAnother)
{
    for (const int refused : {1, 3}) {
        MemoryFiles files;
        files.links = false;
        files.files[kPath] = ListFile("A");
        files.files[BackupName(kPath, 1)] = ListFile("B");
        files.files[BackupName(kPath, 2)] = ListFile("C");
        files.refusedTargets.insert(BackupName(kPath, refused));
        EXPECT_EQ(SaveOutcome::SavedWithoutBackup, SaveKeepingGenerations(files, kPath, ListFile("N")));
        // Generation 3 refused: 2 cannot move, so 1 stays too; 1 refused: it moved down first.
        EXPECT_EQ(refused == 3 ? "N | B C - - -" : "N | - B C - -", Generations(files));
    }
    // A file that cannot be read cannot be kept either; a save that cannot write fails whole.
    MemoryFiles files;
    files.files[kPath] = ListFile("A");
    files.unreadable.insert(kPath);
    EXPECT_EQ(SaveOutcome::SavedWithoutBackup, SaveKeepingGenerations(files, kPath, ListFile("N")));
    files.unreadable.clear();
    files.refusedTargets.insert(kPath);
    EXPECT_EQ(SaveOutcome::Failed, SaveKeepingGenerations(files, kPath, ListFile("X")));
    // The file keeps every byte; the copy of it kept on the way is no loss.
    EXPECT_EQ("N | N - - - -", Generations(files));
    EXPECT_EQ(2u, files.files.size()) << "the temporary file was left behind";
}

TEST(LaunchBackupTest, ASaveCutOffAtAnyStepLeavesTheOldListOrTheNewOneToLoad)
{
    // Over a sound file with a full set of generations, and over a zeroed one that the start
    // replaced with its newest backup; with and without hard links.
    for (const bool zeroed : {false, true}) {
        for (const bool links : {true, false}) {
            bool finished = false;
            for (int crashAt = 0; !finished; ++crashAt) {
                MemoryFiles files;
                files.links = links;
                files.files[kPath] = zeroed ? std::string(64, '\0') : ListFile("OLD");
                for (int generation = 1; generation <= kBackupGenerations; ++generation) {
                    files.files[BackupName(kPath, generation)] =
                        ListFile(zeroed && generation == 1 ? "OLD" : "G" + std::to_string(generation));
                }
                files.crashAt = crashAt;
                try {
                    SaveKeepingGenerations(files, kPath, ListFile("NEW"));
                    finished = true;
                } catch (const MemoryFiles::Crash&) {
                }
                const std::string loaded = StartList(files);
                EXPECT_TRUE(loaded == "OLD" || loaded == "NEW")
                    << "cut off at step " << crashAt << ": " << loaded << ", zeroed " << zeroed << ", links "
                    << links;
                if (finished) {
                    EXPECT_EQ("NEW", loaded);
                    EXPECT_GT(crashAt, 2);
                }
            }
        }
    }
}

TEST(LaunchBackupTest, ClassifiesDamageAndTellsItFromAListEmptiedOnPurpose)
{
    // The emptied list as the save writes it over a list of one item.
    IniDocument emptied = IniDocument::Parse(ListFile("A"));
    SaveLaunchTree(TreeModel(), emptied);
    using State = FileContent::State;
    static const struct {
        State state;
        std::string bytes;
        Damage damage;
    } kCases[] = {
        {State::Missing, "", Damage::None},
        {State::Busy, "", Damage::Unreadable},
        {State::Unreadable, "", Damage::Unreadable},
        {State::Read, "", Damage::Empty},
        {State::Read, std::string(4096, '\0'), Damage::Zeroed},
        {State::Read, "\r\n \r\n", Damage::NoLauncherSections},
        {State::Read, "[Other]\r\nKEEP=1\r\n", Damage::NoLauncherSections},
        {State::Read, "[FOLDER]\r\n", Damage::None},   // an empty list saved where none stood
        {State::Read, emptied.Serialize(), Damage::None},
        {State::Read, ListFile("A"), Damage::None},
    };
    for (const auto& c : kCases) {
        FileContent content;
        content.state = c.state;
        content.bytes = c.bytes;
        EXPECT_EQ(c.damage, ClassifyContent(content, IniDocument::Parse(c.bytes))) << c.bytes;
    }
}

TEST(LaunchBackupTest, AStartLoadsTheNewestBackupThatLoadsInPlaceOfADamagedFile)
{
    static const struct {
        const char* file;    // "missing", "held" (never free), "busy" (free after a while),
                             // "denied", or the bytes
        const char* first;   // generation 1, "" for none
        const char* second;
        const char* loaded;
        int generation;   // named in the notice; -1 for a notice without a backup, 0 for none
    } kCases[] = {
        {"ZERO", "B1", "B2", "B1", 1},   {"", "B1", "B2", "B1", 1},
        {"ZERO", "ZERO", "B2", "B2", 2}, {"ZERO", "[Other]\r\n", "B2", "B2", 2},
        {"denied", "B1", "", "B1", 1},   {"held", "B1", "", "B1", 1},
        {"busy", "B1", "", "A", 0},      {"[Other]\r\nKEEP=1\r\n", "B1", "", "B1", 1},
        {"EMPTIED", "B1", "B2", "", 0},  {"[Other]\r\nKEEP=1\r\n", "", "", "", 0},
        {"missing", "B1", "B2", "", 0},  {"", "", "", "", 0},
        {"ZERO", "", "", "", -1},        {"denied", "ZERO", "", "", -1},
    };
    for (const auto& c : kCases) {
        MemoryFiles files;
        const std::string file = c.file;
        const auto bytes = [](const std::string& text) {
            if (text == "ZERO") {
                return std::string(100, '\0');
            }
            return text.size() == 2 && text[0] == 'B' ? ListFile(text) : text;
        };
        if (file == "EMPTIED") {
            IniDocument emptied = IniDocument::Parse(ListFile("A"));
            SaveLaunchTree(TreeModel(), emptied);
            files.files[kPath] = emptied.Serialize();
        } else if (file == "held" || file == "busy") {
            files.files[kPath] = ListFile("A");
            files.busyReads = file == "held" ? 1000 : kBusyRetries;
        } else if (file == "denied") {
            files.files[kPath] = ListFile("A");
            files.unreadable.insert(kPath);
        } else if (file != "missing") {
            files.files[kPath] = bytes(file);
        }
        if (*c.first) {
            files.files[BackupName(kPath, 1)] = bytes(c.first);
        }
        if (*c.second) {
            files.files[BackupName(kPath, 2)] = bytes(c.second);
        }
        const std::map<std::string, std::string> before = files.files;
        std::string notice;
        EXPECT_EQ(c.loaded, StartList(files, &notice)) << file;
        EXPECT_EQ(before, files.files) << "a start changed a file: " << file;
        if (c.generation > 0) {
            EXPECT_NE(std::string::npos, notice.find(kPath + " を読み込めません")) << notice;
            EXPECT_NE(std::string::npos,
                      notice.find("バックアップ " + BackupName(kPath, c.generation) + " から"))
                << notice;
            EXPECT_NE(std::string::npos, notice.find(DamagedName(kPath))) << notice;
        } else if (c.generation < 0) {
            EXPECT_NE(std::string::npos, notice.find("読み込めるバックアップがない")) << notice;
        } else {
            EXPECT_EQ("", notice) << file;
        }
    }
}
