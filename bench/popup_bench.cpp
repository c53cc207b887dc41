// How long the pop-up menu's opening handler takes, how much of that is the platform's own
// calls, and whether a thousand openings leave handles behind. Prints figures; fails nothing
// but a handle count that grew.
//
//   popup_bench [WINDOWS [LAUNCHER_ITEMS [ROUNDS [OPENINGS [DISTINCT]]]]]   defaults 50 200 30 1000 0
//
// The first opening is timed on its own (nothing known yet); the rounds after it are the
// openings of a running program. With DISTINCT 1 every launcher item names a file of its own
// instead of one of five, so that the first opening meets nothing but new files.
#include "framework/application.h"
#include "framework/handles.h"
#include "framework/image_list.h"
#include "framework/menu_item.h"
#include "framework/popup_menu.h"
#include "handle_test_support.h"
#include "launcher/TCONF.h"
#include "launcher/tnode.h"
#include "program_icons.h"
#include "shell/TTASKM.h"
#include "solid_icon.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
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
        for (double t : times_)
            sum += t;
        return times_.empty() ? 0.0 : sum / times_.size();
    }

private:
    std::vector<double> times_;
};

void PrintTiming(const char* what, const Samples& samples)
{
    std::printf("  %-40s median %8.2f ms   mean %8.2f ms\n", what, samples.Median(), samples.Mean());
}

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

// The platform calls of an opening that asks for everything afresh, as bare loops without
// menu items or components, in three parts: one class icon and one shell icon query per
// window and launcher item, each added to the list on its own. Pictures kept from earlier
// openings and added in one step take the later openings below this floor.
void ProgramPictures(HIMAGELIST list, const std::string& module)
{
    ImageList_RemoveAll(list);
    for (int position : {kClosedFolderIconPosition, kWindowIconPosition}) {
        HICON small = nullptr;
        ExtractIconExA(module.c_str(), position, nullptr, &small, 1);
        ImageList_AddIcon(list, small);
        DestroyIcon(small);
    }
}

void WindowCalls(HIMAGELIST list)
{
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        char title[256];
        char className[256];
        GetWindowTextA(w, title, 256);
        GetClassNameA(w, className, 256);
        if (auto icon = reinterpret_cast<HICON>(GetClassLongPtrA(w, GCL_HICON))) {
            HICON copy = CopyIcon(icon);
            ImageList_AddIcon(list, copy);
            DestroyIcon(copy);
        }
        IsWindowVisible(w);
    }
}

void ShellIconCalls(HIMAGELIST list, const std::vector<std::string>& files)
{
    for (const std::string& file : files) {
        SHFILEINFOA info{};
        SHGetFileInfoA(file.c_str(), 0, &info, sizeof info, SHGFI_ICON);
        if (info.hIcon) {
            HICON copy = CopyIcon(info.hIcon);
            ImageList_AddIcon(list, copy);
            DestroyIcon(copy);
            DestroyIcon(info.hIcon);
        }
    }
}

// What the opening handler does beyond the platform: the task items made for every listed
// window and destroyed again at the next opening.
void TaskItemsAlone(TTASKM& form, int count)
{
    for (int i = 0; i < count; ++i)
        form.AddToTask("ベンチマークのウィンドウ " + std::to_string(i),
                       "PopupBenchWindow" + std::to_string(i), i);
    MenuItem* tasks = form.TaskList();
    while (tasks->Count() > 0) {
        MenuItem* item = tasks->Items(0);
        tasks->Delete(0);
        delete item;
    }
}

int TopLevelWindowCount()
{
    int n = 0;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        ++n;
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
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

// The documents DISTINCT makes, one per launcher item.
std::string DistinctDocument(int i)
{
    static const char* const kExtensions[] = {".txt", ".bat", ".ini", ".htm"};
    return TempFolder() + "popup_bench_" + std::to_string(i) + kExtensions[i % 4];
}

// Launcher entries of the kinds a list holds: programs, a folder, a document, and one whose
// file is gone (no icon). With `distinct`, every document is a file of its own.
std::vector<std::string> LauncherFiles(int count, const std::string& program, bool distinct)
{
    std::string document = TempFolder() + "popup_bench_memo.txt";
    CreateEmptyFile(document);
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string kinds[] = {program, std::string(windows) + "\\notepad.exe", windows, document,
                                 TempFolder() + "popup_bench_gone.exe"};
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
        if (distinct && i % 5 != 4) {
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
    for (int i = 0; i < count; ++i)
        DeleteFileA(DistinctDocument(i).c_str());
}

}   // namespace

int main(int argc, char** argv)
{
    const int windowCount = Argument(argc, argv, 1, 50);
    const int launcherCount = Argument(argc, argv, 2, 200);
    const int rounds = Argument(argc, argv, 3, 30);
    const int openings = Argument(argc, argv, 4, 1000);
    const bool distinct = Argument(argc, argv, 5, 0) != 0;

    // As the program does at its start: shell icons come from COM objects.
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
    const std::string launchFile = TempFolder() + "popup_bench_LAUNCH.INI";   // read, never written
    DeleteFileA(launchFile.c_str());
    const std::vector<std::string> files = LauncherFiles(launcherCount, module, distinct);

    int status = 0;
    {
        auto form = std::make_unique<TTASKM>(&app, key);
        auto launcher = std::make_unique<TCONF>(&app, form->Launch(), nullptr, launchFile);
        form->SetLauncher(launcher.get());
        for (int i = 0; i < launcherCount; ++i)
            EntryOf(launcher->AddItemNode(-2, "項目 " + std::to_string(i)))->File = files[i];
        launcher->BuildLaunchMenu();
        Windows windows(windowCount);
        PopupMenu* menu = form->GetPopupMenu();
        ImageList bare(nullptr);

        std::printf("popup_bench: %d windows of our own (%d top-level windows on the desktop in all), "
                    "%d launcher items (%s), %d rounds\n",
                    windowCount, TopLevelWindowCount(), launcherCount,
                    distinct ? "each its own file" : "five files", rounds);

        // The first opening of the run: nothing of the launcher's files or the windows is
        // known yet, and the platform's own caches are cold as well.
        Samples first;
        first.Run([&] { form->PopupMenuPopup(menu); });
        // Warm-up of the bare loops: classes, caches, first allocations.
        ProgramPictures(bare.Handle(), module);
        WindowCalls(bare.Handle());
        ShellIconCalls(bare.Handle(), files);

        // Interleaved round by round, so that a busy machine weighs on every part alike.
        Samples popup, pictures, walk, shell, build, items;
        for (int i = 0; i < rounds; ++i) {
            popup.Run([&] { form->PopupMenuPopup(menu); });
            pictures.Run([&] { ProgramPictures(bare.Handle(), module); });
            walk.Run([&] { WindowCalls(bare.Handle()); });
            shell.Run([&] { ShellIconCalls(bare.Handle(), files); });
            build.Run([&] { BuiltMenu handle = menu->BuildHandle(); });
        }
        form->PopupMenuPopup(menu);
        const int listed = form->TaskList()->Count();
        for (int i = 0; i < rounds; ++i)
            items.Run([&] { TaskItemsAlone(*form, listed); });
        std::printf("  after an opening: %d task items, %d pictures\n", listed, form->ImageList()->Count());
        PrintTiming("PopupMenuPopup, first opening (cold)", first);
        PrintTiming("PopupMenuPopup, later openings (warm)", popup);
        PrintTiming("platform: the two program pictures", pictures);
        PrintTiming("platform: the window walk", walk);
        PrintTiming("platform: the launcher's shell icons", shell);
        double floor = pictures.Median() + walk.Median() + shell.Median();
        std::printf("  %-40s median %8.2f ms\n", "platform calls together", floor);
        std::printf("  later openings against asking afresh: %.2f ms for %.2f ms (%.1f %%, medians)\n",
                    popup.Median(), floor, floor > 0 ? 100.0 * popup.Median() / floor : 0.0);
        PrintTiming("ours alone: task items made, destroyed", items);
        PrintTiming("menu handle with item bitmaps", build);

        if (openings > 0) {
            // Real openings: the opening handler, the handle, the tracked menu closed from
            // inside its loop, the chosen-item look-up.
            SetTimer(nullptr, 0, 10, CloseMenu);
            menu->Popup(20, 20);
            HandleCounts before = CountHandles();
            double start = Now();
            for (int i = 0; i < openings; ++i) {
                SetTimer(nullptr, 0, 10, CloseMenu);
                menu->Popup(20, 20);
            }
            double elapsed = Now() - start;
            HandleCounts after = CountHandles();
            std::printf("handles around %d openings of the menu (%.1f s):\n", openings, elapsed);
            PrintCounts("before", before);
            PrintCounts("after", after);
            bool grew = after.gdi > before.gdi || after.user > before.user ||
                        after.gdiProbed > before.gdiProbed || after.menusProbed > before.menusProbed ||
                        after.iconsProbed > before.iconsProbed;
            std::printf("  %s\n", grew ? "GROWN: handles leak" : "no growth");
            status = grew ? 1 : 0;
        }
        form->Close();
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    DeleteFileA((TempFolder() + "popup_bench_memo.txt").c_str());
    if (distinct)
        RemoveDistinctDocuments(launcherCount);
    OleUninitialize();
    return status;
}
