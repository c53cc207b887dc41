// How long a press takes to bring the pop-up menu up, for launcher lists from empty to 10,000
// items, cold (the first opening right after the load, the pictures still being looked up) and
// warm; how long the 10,000-entry launcher submenu takes to show; and whether many openings in
// a row leave handles or memory behind. Prints figures; fails nothing but a handle count that
// grew.
//
//   popup_bench [WINDOWS [ROUNDS [OPENINGS [LARGEST]]]]   defaults 50 20 10000 10000
//
// One list in ten of the share case lies on a share that does not answer, simulated through
// the icon function's seam: each of its look-ups takes 3 s.
#include "framework/application.h"
#include "framework/handles.h"
#include "framework/image_list.h"
#include "framework/menu_item.h"
#include "framework/popup_menu.h"
#include "handle_test_support.h"
#include "launcher/launch_entry.h"
#include "launcher/launch_list.h"
#include "launcher/launch_tree.h"
#include "program_icons.h"
#include "shell/main_window.h"
#include "solid_icon.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

double Now()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequency;
}

// Times of one run each, in milliseconds.
class Samples {
public:
    template <typename Body>
    void Run(Body&& body)
    {
        double start = Now();
        body();
        times_.push_back((Now() - start) * 1000.0);
    }
    double Median() const
    {
        std::vector<double> sorted = times_;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0.0 : sorted[sorted.size() / 2];
    }
    double Mean() const
    {
        double sum = 0;
        for (double t : times_) {
            sum += t;
        }
        return times_.empty() ? 0.0 : sum / times_.size();
    }

private:
    std::vector<double> times_;
};

// Top-level windows as other programs would have them: visible, titled, each class with an icon.
class Windows {
public:
    explicit Windows(int count)
    {
        for (int i = 0; i < count; ++i) {
            std::string className = "PopupBenchWindow" + std::to_string(i);
            icons_.emplace_back(SolidIcon(RGB(i * 5 % 256, 255 - i * 5 % 256, 128), 32));
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.hIcon = icons_.back().Get();
            wc.lpszClassName = className.c_str();
            RegisterClassA(&wc);
            std::string title = "ベンチマークのウィンドウ " + std::to_string(i);
            windows_.emplace_back(CreateWindowExA(WS_EX_TOOLWINDOW, className.c_str(), title.c_str(),
                                                  WS_POPUP | WS_VISIBLE, -3000, -3000, 100, 100, nullptr,
                                                  nullptr, GetModuleHandleA(nullptr), nullptr));
        }
    }

private:
    std::vector<UniqueIcon> icons_;   // owned: the classes only refer to them
    std::vector<UniqueWindow> windows_;
};

int TopLevelWindowCount()
{
    int n = 0;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        ++n;
    }
    return n;
}

void PrintCounts(const char* when, const HandleCounts& c)
{
    std::printf("  %-7s GetGuiResources GDI %5lu USER %5lu | probed: GDI objects %5d, menus %4d, icons %5d\n",
                when, static_cast<unsigned long>(c.gdi), static_cast<unsigned long>(c.user), c.gdiProbed,
                c.menusProbed, c.iconsProbed);
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    EndMenu();
}

int Argument(int argc, char** argv, int index, int fallback)
{
    return argc > index ? std::atoi(argv[index]) : fallback;
}

std::string TempFolder()
{
    char folder[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, folder);
    return folder;
}

void CreateEmptyFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
}

// The documents DISTINCT makes, one per launcher item.
std::string DistinctDocument(int i)
{
    static const char* const kExtensions[] = {".txt", ".bat", ".ini", ".htm"};
    return TempFolder() + "popup_bench_" + std::to_string(i) + kExtensions[i % 4];
}

// Launcher entries of the kinds a list holds: programs, a folder, a document, and one whose
// file is gone (no icon). With `distinct`, every document is a file of its own; with
// `missing`, every entry names a file of its own that does not exist (a list carried over
// from another machine); every `shareEvery`-th entry lies on a share that does not answer.
std::vector<std::string> LauncherFiles(int count, const std::string& program, bool distinct, bool missing,
                                       int shareEvery)
{
    std::string document = TempFolder() + "popup_bench_memo.txt";
    CreateEmptyFile(document);
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string kinds[] = {program, std::string(windows) + "\\notepad.exe", windows, document,
                                 TempFolder() + "popup_bench_gone.exe"};
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
        if (shareEvery > 0 && i % shareEvery == 0) {
            files.push_back("\\\\host\\share\\tool" + std::to_string(i) + ".exe");
        } else if (missing) {
            files.push_back(TempFolder() + "popup_bench_missing\\item" + std::to_string(i) + ".txt");
        } else if (distinct && i % 5 != 4) {
            files.push_back(DistinctDocument(i));
            CreateEmptyFile(files.back());
        } else {
            files.push_back(kinds[i % 5]);
        }
    }
    return files;
}

void RemoveDistinctDocuments(int count)
{
    for (int i = 0; i < count; ++i) {
        DeleteFileA(DistinctDocument(i).c_str());
    }
}

// The icon function's seam: a file on a share takes the shell this long to give up on.
constexpr DWORD kShareWait = 3000;

HICON SlowShareIcon(const std::string& file, int size)
{
    if (file.rfind("\\\\", 0) == 0) {
        Sleep(kShareWait);
        return nullptr;
    }
    return FileIcons::ShellIcon(file, size);
}

// Dispatches messages until the launcher's pictures are all in (or a minute has gone).
bool Settle(MainWindow& form)
{
    const double start = Now();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (form.LaunchPicturesSettled()) {
            return true;
        }
        if (Now() - start > 60) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// What a press does before the menu shows: the opening handler and the menu handle.
void Opening(MainWindow& form)
{
    form.PrepareMenu();
    BuiltMenu handle = form.Menu()->BuildHandle();
}

// The launcher submenu on screen, from the call until the menu's loop first waits for input.
LRESULT CALLBACK IdleEndsMenu(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ENTERIDLE) {
        EndMenu();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

double ShowLauncherSubmenu(MainWindow& form, HWND owner)
{
    BuiltMenu handle = form.Menu()->BuildHandle();
    HMENU launch = GetSubMenu(handle.Get(), 0);
    const double start = Now();
    TrackPopupMenu(launch, TPM_LEFTALIGN | TPM_RETURNCMD, 20, 20, 0, owner, nullptr);
    return (Now() - start) * 1000.0;
}

struct Case {
    const char* name;
    int items;
    bool distinct;
    bool missing;
    int shareEvery;
};

// A main window and a launcher list of the case's files, built as the load at start-up
// builds it; the worker starts on it at once.
struct Scene {
    Scene(Application& app, const std::string& key, const std::vector<std::string>& files, bool slowShare)
    {
        form = std::make_unique<MainWindow>(&app, key);
        if (slowShare) {
            form->SetLaunchIconSource(SlowShareIcon);
        }
        launcher = std::make_unique<LaunchList>(nullptr, form->LauncherSubmenu(), nullptr,
                                                TempFolder() + "popup_bench_LAUNCH.INI");
        form->SetLaunchList(launcher.get());
        launcher->Load();
        for (std::size_t i = 0; i < files.size(); ++i) {
            EntryOf(launcher->AddItemNode(kTopLevel, "項目 " + std::to_string(i)))->File = files[i];
        }
        launcher->BuildLaunchMenu();
    }
    ~Scene()
    {
        form->SetLaunchList(nullptr);
        launcher.reset();
        form->Close();
        form.reset();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    std::unique_ptr<MainWindow> form;
    std::unique_ptr<LaunchList> launcher;
};

// The process's own memory counters: private bytes, and the paging-file and working-set
// figures, which Wine fills where it leaves PrivateUsage at 0.
struct Memory {
    SIZE_T privateBytes, pagefile, workingSet;
};

Memory MemoryNow()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return {counters.PrivateUsage, counters.PagefileUsage, counters.WorkingSetSize};
}

void PrintMemory(const char* when, const Memory& m)
{
    std::printf("  %-7s memory: private %8lu KB, paging file %8lu KB, working set %8lu KB\n", when,
                static_cast<unsigned long>(m.privateBytes / 1024),
                static_cast<unsigned long>(m.pagefile / 1024),
                static_cast<unsigned long>(m.workingSet / 1024));
}

}   // namespace

int main(int argc, char** argv)
{
    const int windowCount = Argument(argc, argv, 1, 50);
    const int rounds = Argument(argc, argv, 2, 20);
    const int openings = Argument(argc, argv, 3, 10000);
    const int largest = Argument(argc, argv, 4, 10000);

    // As the program does at its start.
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    Application app;
    app.Initialize(GetModuleHandleA(nullptr));
    app.SetTitle("Mivtra");

    // Settings of the bench's own: no hook, no tray icon, nothing written where Mivtra keeps its.
    const std::string key = "Software\\MivtraBench\\" + std::to_string(GetCurrentProcessId());
    {
        HKEY general = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, (key + "\\General").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &general, nullptr);
        RegSetValueExA(general, "HOOK", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"), 2);
        RegSetValueExA(general, "DispIcon", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"), 2);
        RegCloseKey(general);
    }
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    DeleteFileA((TempFolder() + "popup_bench_LAUNCH.INI").c_str());
    Windows windows(windowCount);
    WNDCLASSA ownerClass{};
    ownerClass.lpfnWndProc = IdleEndsMenu;
    ownerClass.hInstance = GetModuleHandleA(nullptr);
    ownerClass.lpszClassName = "PopupBenchOwner";
    RegisterClassA(&ownerClass);
    UniqueWindow owner(CreateWindowExA(0, "PopupBenchOwner", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                       GetModuleHandleA(nullptr), nullptr));

    std::printf(
        "popup_bench: %d windows of our own (%d top-level windows on the desktop in all), %d rounds\n",
        windowCount, TopLevelWindowCount(), rounds);
    std::printf(
        "  an opening: the opening handler and the menu handle, what a press does before the menu shows\n");
    std::printf("  load: the list built and handed to the main window, as at start-up or after a save\n");
    std::printf("  %-44s %8s %8s %8s %8s %8s %8s\n", "launcher list", "load", "cold", "warm-up", "first",
                "later", "submenu");
    std::printf("  %-44s %8s %8s %8s %8s %8s %8s\n", "", "(ms)", "(ms)", "(s)", "(ms)", "(ms)", "(ms)");
    const Case cases[] = {
        {"empty", 0, false, false, 0},
        {"200 items, each its own file", 200, true, false, 0},
        {"200 items, one in ten on a share that hangs", 200, true, false, 10},
        {"10,000 items, files that do not exist", largest, false, true, 0},
        {"10,000 items, each its own file", largest, true, false, 0},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> files =
            LauncherFiles(c.items, module, c.distinct, c.missing, c.shareEvery);
        Samples change, cold, first, later;
        double warmUp = 0;
        {
            // Cold: the first opening right after the load, the pictures still being looked up.
            std::unique_ptr<Scene> scene;
            change.Run([&] { scene = std::make_unique<Scene>(app, key, files, c.shareEvery > 0); });
            cold.Run([&] { Opening(*scene->form); });
            const double start = Now();
            Settle(*scene->form);
            warmUp = Now() - start;
        }
        double submenu = 0;
        {
            // The first opening after a start whose warm-up is done, then the later ones.
            Scene scene(app, key, files, c.shareEvery > 0);
            Settle(*scene.form);
            first.Run([&] { Opening(*scene.form); });
            for (int i = 0; i < rounds; ++i) {
                later.Run([&] { Opening(*scene.form); });
            }
            submenu = c.items > 0 ? ShowLauncherSubmenu(*scene.form, owner.Get()) : 0.0;
        }
        std::printf("  %-44s %8.1f %8.2f %8.2f %8.2f %8.2f %8.2f\n", c.name, change.Median(), cold.Median(),
                    warmUp, first.Median(), later.Median(), submenu);
        if (c.distinct) {
            RemoveDistinctDocuments(c.items);
        }
    }

    int status = 0;
    if (openings > 0) {
        // Real openings of a 200-item menu: the opening handler, the handle, the tracked menu
        // closed from inside its loop, the chosen-item look-up.
        Scene scene(app, key, LauncherFiles(200, module, false, false, 0), false);
        Settle(*scene.form);
        PopupMenu* menu = scene.form->Menu();
        SetTimer(nullptr, 0, 10, CloseMenu);
        menu->Popup(20, 20);
        HandleCounts before = CountHandles();
        const Memory memoryBefore = MemoryNow();
        const double start = Now();
        for (int i = 0; i < openings; ++i) {
            SetTimer(nullptr, 0, 10, CloseMenu);
            menu->Popup(20, 20);
        }
        const double elapsed = Now() - start;
        HandleCounts after = CountHandles();
        const Memory memoryAfter = MemoryNow();
        std::printf("handles and memory around %d openings of the menu, 200 launcher items (%.1f s):\n",
                    openings, elapsed);
        PrintCounts("before", before);
        PrintCounts("after", after);
        PrintMemory("before", memoryBefore);
        PrintMemory("after", memoryAfter);
        bool grew = after.gdi > before.gdi || after.user > before.user ||
                    after.gdiProbed > before.gdiProbed || after.menusProbed > before.menusProbed ||
                    after.iconsProbed > before.iconsProbed;
        std::printf("  %s\n", grew ? "GROWN: handles leak" : "no growth");
        status = grew ? 1 : 0;
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    DeleteFileA((TempFolder() + "popup_bench_memo.txt").c_str());
    OleUninitialize();
    return status;
}
