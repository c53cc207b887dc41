// Files dropped on the drop window: 50 paths dropped at once onto a launcher list of 500
// nodes, through the real main window and launcher dialog. Each path is saved to LAUNCH.INI and
// the launcher submenu rebuilt before the next, as the drop window does. Prints milliseconds
// for the whole drop, the best and the worst of five drops, each onto the same 500 nodes.
#include "shell/main_window.h"

#include "base/tree_model.h"
#include "drop_support.h"
#include "framework/application.h"
#include "framework/menu_item.h"
#include "framework/tree_view.h"
#include "launcher/launch_list.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kNodes = 500;
constexpr int kDropped = 50;
constexpr int kRuns = 5;
constexpr char kSettings[] = "Software\\MivtraBench\\drop";

// Folders of nine items each, with texts of a typical length.
std::string ListFile()
{
    std::string parents = "[PARENT]\r\n", folders = "[FOLDER]\r\n", texts;
    int folder = 0;
    for (int i = 0; i < kNodes; ++i) {
        const std::string n = std::to_string(i);
        const bool isFolder = i % 10 == 0;
        if (isFolder) {
            folder = i;
        }
        parents += "NODE" + n + "=" + (isFolder ? "-2" : std::to_string(folder - 1)) + "\r\n";
        folders += "ITEM" + n + "=" + (isFolder ? "1" : "0") + "\r\n";
        texts += "[ExecInfo" + n + "]\r\nNAME=項目 " + n + "\r\n";
        if (!isFolder) {
            texts += "FILE=C:\\Program Files\\Tool " + n +
                     "\\tool.exe\r\nOPTION=/open \"C:\\Documents\\file " + n +
                     ".txt\"\r\nDIR=C:\\Program Files\\Tool " + n + "\\\r\n";
        }
    }
    return parents + folders + texts;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void SetSetting(const char* name, const char* value)
{
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kSettings) + "\\General").c_str(), 0, nullptr, 0,
                    KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>(strlen(value) + 1));
    RegCloseKey(key);
}

}   // namespace

int main()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    Application app;
    app.Initialize(GetModuleHandleA(nullptr));
    app.SetTitle("Mivtra");

    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "drop_bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string list = folder + "LAUNCH.INI";
    std::vector<std::wstring> paths;
    for (int i = 0; i < kDropped; ++i) {
        const std::string file = folder + "ドロップ " + std::to_string(i) + ".txt";
        WriteBytes(file, "");
        paths.push_back(WideText(file));
    }
    SetSetting("HOOK", "0");
    SetSetting("DispIcon", "0");
    SetSetting("DragDrop", "1");
    MainWindow main(&app, kSettings);

    std::vector<double> times;
    int added = 0;
    for (int run = 0; run < kRuns; ++run) {
        WriteBytes(list, ListFile());
        auto launchList = std::make_unique<LaunchList>(nullptr, main.LauncherSubmenu(), nullptr, list);
        launchList->Load();
        main.SetLaunchList(launchList.get());
        HDROP drop = MakeDrop(paths, true);
        const auto start = std::chrono::steady_clock::now();
        SendMessageA(main.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        added = launchList->Items().Count() - kNodes;
        main.SetLaunchList(nullptr);
    }
    std::sort(times.begin(), times.end());
    std::printf("drop of %d files onto %d nodes, a save and a submenu rebuild per file (ms, %d drops)\n",
                kDropped, kNodes, kRuns);
    std::printf("  best %8.1f   worst %8.1f   per file %6.1f   nodes added %d\n", times.front(), times.back(),
                times.front() / kDropped, added);

    for (const std::wstring& path : paths) {
        DeleteFileW(path.c_str());
    }
    DeleteFileA(list.c_str());
    RemoveDirectoryA(folder.c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\MivtraBench");
    return 0;
}
