// The launcher list end to end: LAUNCH.INI read into the tree and the tree written back to
// the file, for 1,000, 10,000 and 100,000 nodes; the launcher submenu built and rebuilt from
// the tree; and the settings dialog opened on 10,000 nodes and edited there. Prints
// milliseconds, the best of a few runs.
//
//   launcher_bench [deep]   "deep" also times a list nested 100,000 levels deep
#include "base/ini_document.h"
#include "base/tree_model.h"
#include "framework/application.h"
#include "framework/button.h"
#include "framework/edit.h"
#include "framework/menu_item.h"
#include "framework/message_box.h"
#include "framework/popup_menu.h"
#include "framework/tree_view.h"
#include "launcher/ini_file.h"
#include "launcher/launch_entry.h"
#include "launcher/launch_file.h"
#include "launcher/launch_list.h"
#include "launcher/launch_tree.h"
#include "launcher/launcher_dialog.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double BestOf(int runs, const std::function<void()>& prepare, const std::function<void()>& body)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        prepare();
        const auto start = Clock::now();
        body();
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

// Folders of eight items each, with typical texts; or one chain when deep.
void FillTree(TreeModel& tree, int nodes, bool deep)
{
    tree.Clear();
    TreeNode* parent = nullptr;
    for (int i = 0; i < nodes; ++i) {
        if (deep || i % 9 == 0) {
            parent = AddFolderNode(tree, deep ? parent : nullptr, "フォルダ " + std::to_string(i));
            continue;
        }
        LaunchEntry* entry = EntryOf(AddItemNode(tree, parent, "項目 " + std::to_string(i) + ".exe"));
        entry->File = "C:\\Program Files\\Tool " + std::to_string(i) + "\\tool.exe";
        entry->Option = "/open \"C:\\Documents\\file " + std::to_string(i) + ".txt\"";
        entry->Dir = "C:\\Program Files\\Tool " + std::to_string(i) + "\\";
    }
}

void SaveFile(const TreeModel& tree, const std::string& path)
{
    IniDocument file = LoadIniFile(path);
    SaveLaunchTree(tree, file);
    SaveIniFile(path, file);
}

void LoadFile(TreeModel& tree, const std::string& path)
{
    if (!LoadLaunchTree(LoadIniFile(path), tree)) {
        std::printf("load stopped early\n");
    }
}

std::string TempFile(const char* name)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + name;
}

// Every node at the top level.
void FillFlat(TreeModel& tree, int nodes)
{
    tree.Clear();
    for (int i = 0; i < nodes; ++i) {
        LaunchEntry* entry = EntryOf(AddItemNode(tree, nullptr, "項目 " + std::to_string(i) + ".exe"));
        entry->File = "C:\\Program Files\\Tool " + std::to_string(i) + "\\tool.exe";
    }
}

int WINAPI AnswerYes(HWND, LPCSTR, LPCSTR, UINT)
{
    return IDYES;
}

void Click(LauncherDialog& dialog, const char* button)
{
    SendMessageA(dynamic_cast<Button*>(dialog.FindComponent(button))->Handle(), BM_CLICK, 0, 0);
}

void Select(LauncherDialog& dialog, TreeNode* node)
{
    SendMessageA(dialog.TreeView()->Handle(), TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(dialog.TreeView()->ItemHandle(node)));
}

// The dialog on a list of that shape: opened (loaded, then shown and painted), and each kind
// of edit done as the user does it, through the controls.
void DialogFigures(Application& app, const std::string& path, const char* shape, bool flat)
{
    constexpr int kNodes = 10000;
    TreeModel source;
    if (flat) {
        FillFlat(source, kNodes);
    } else {
        FillTree(source, kNodes, false);
    }
    DeleteFileA(path.c_str());
    SaveFile(source, path);
    Component host(nullptr);
    auto* launch = new MenuItem(&host);
    LaunchList list(nullptr, launch, nullptr, path);
    std::unique_ptr<LauncherDialog> dialog;
    const double create = BestOf(
        1, [] {}, [&] { dialog = std::make_unique<LauncherDialog>(&app, &list); });
    const double show = BestOf(
        1, [] {},
        [&] {
            dialog->Show();
            UpdateWindow(dialog->Handle());
        });
    const double reshow = BestOf(
        3, [&] { dialog->Hide(); },
        [&] {
            dialog->Show();
            UpdateWindow(dialog->Handle());
        });
    std::printf("%-8s load %7.1f   first showing %7.1f   next showing %7.1f\n", shape, create, show, reshow);

    TreeModel& tree = dialog->TreeView()->Items();
    auto* optionEdit = dynamic_cast<Edit*>(dialog->FindComponent("OptionEdit"));
    TreeNode* middle = tree.Node(kNodes / 2);
    int round = 0;
    const double select = BestOf(
        5, [] {},
        [&] {
            Select(*dialog, tree.Node(kNodes / 2 + (++round % 2)));
            UpdateWindow(dialog->Handle());
        });
    const double type = BestOf(
        5, [&] { Select(*dialog, middle); },
        [&] { SendMessageA(optionEdit->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("/x \"y z\"")); });
    const double add = BestOf(
        5, [&] { Select(*dialog, middle); }, [&] { Click(*dialog, "NewItemButton"); });
    const double rename = BestOf(
        5, [] {}, [&] { middle->SetText("名前 " + std::to_string(++round)); });
    const double dropToEnd = BestOf(
        5, [] {}, [&] { DropNode(tree, *tree.Top(0), nullptr); });
    const double dropInto = BestOf(
        5, [] {},
        [&] {
            TreeNode* folder = tree.Top(tree.TopCount() / 2);
            DropNode(tree, *tree.Top(tree.TopCount() / 2 + 1), folder);
            dialog->TreeView()->Expand(folder);
        });
    const double deleteItem = BestOf(
        5, [&] { Select(*dialog, tree.Node(tree.Count() / 3)); }, [&] { Click(*dialog, "DeleteButton"); });
    MessageBoxFunction previous = SetMessageBoxFunction(AnswerYes);
    const double deleteTop = BestOf(
        5, [&] { Select(*dialog, tree.Top(tree.TopCount() / 4)); }, [&] { Click(*dialog, "DeleteButton"); });
    SetMessageBoxFunction(previous);
    std::printf("%-8s select %5.2f   type %5.2f   new item %5.2f   rename %5.2f   drop at end %5.2f   "
                "drop into folder %5.2f   delete item %5.2f   delete top node %5.2f\n",
                shape, select, type, add, rename, dropToEnd, dropInto, deleteItem, deleteTop);
    dialog.reset();
}

}   // namespace

int main(int argc, char** argv)
{
    const bool deep = argc > 1 && std::string(argv[1]) == "deep";
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    Application app;
    app.Initialize(GetModuleHandleA(nullptr));
    app.SetTitle("Mivtra");

    const std::string path = TempFile("launcher_bench_LAUNCH.INI");
    std::printf("LAUNCH.INI end to end (ms, best of 3)\n");
    std::printf("%10s %12s %12s %12s %12s\n", "nodes", "bytes", "file->tree", "(reading)", "tree->file");
    for (int nodes : {1000, 10000, 100000}) {
        TreeModel source;
        FillTree(source, nodes, false);
        DeleteFileA(path.c_str());
        const double save = BestOf(
            3, [&] { DeleteFileA(path.c_str()); }, [&] { SaveFile(source, path); });
        TreeModel loaded;
        const double load = BestOf(
            3, [] {}, [&] { LoadFile(loaded, path); });
        // Of that, reading and parsing the file alone.
        const double read = BestOf(
            3, [] {}, [&] { LoadIniFile(path); });
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
        std::printf("%10d %12lu %12.1f %12.1f %12.1f%s\n", nodes,
                    static_cast<unsigned long>(data.nFileSizeLow), load, read, save,
                    loaded.Count() == nodes ? "" : "  (count differs!)");
    }

    // The submenu, built by the dialog itself from a file of that size.
    std::printf("\nlauncher submenu (ms, best of 3)\n");
    std::printf("%10s %12s %12s\n", "nodes", "first build", "rebuild");
    for (int nodes : {1000, 10000}) {
        TreeModel source;
        FillTree(source, nodes, false);
        DeleteFileA(path.c_str());
        SaveFile(source, path);
        Component host(nullptr);
        auto* launch = new MenuItem(&host);
        LaunchList list(nullptr, launch, nullptr, path);
        list.Load();
        const double build = BestOf(
            3,
            [&] {
                while (launch->Count() > 0) {
                    launch->Delete(launch->Count() - 1);
                }
                while (launch->ComponentCount() > 0) {
                    delete launch->Components(launch->ComponentCount() - 1);
                }
            },
            [&] { list.BuildLaunchMenu(); });
        // The rebuild of a save: the old items taken out and destroyed, then a new build.
        const double rebuild = BestOf(
            3, [] {},
            [&] {
                while (launch->Count() > 0) {
                    launch->Delete(launch->Count() - 1);
                }
                while (launch->ComponentCount() > 0) {
                    delete launch->Components(launch->ComponentCount() - 1);
                }
                list.BuildLaunchMenu();
            });
        std::printf("%10d %12.1f %12.1f\n", nodes, build, rebuild);
    }

    std::printf("\nsettings dialog on 10,000 nodes (ms, best of 1 to 5)\n");
    DialogFigures(app, path, "folders", false);
    DialogFigures(app, path, "flat", true);

    if (deep) {
        std::printf("\nnested 100,000 deep (ms)\n");
        TreeModel source;
        FillTree(source, 100000, true);
        DeleteFileA(path.c_str());
        std::printf("  save   %10.1f\n", BestOf(
                                             1, [] {}, [&] { SaveFile(source, path); }));
        Component host(nullptr);
        auto* launch = new MenuItem(&host);
        auto list = std::make_unique<LaunchList>(nullptr, launch, nullptr, path);
        std::unique_ptr<LauncherDialog> dialog;
        std::printf("  load and first build %10.1f\n",
                    BestOf(
                        1, [] {}, [&] { dialog = std::make_unique<LauncherDialog>(&app, list.get()); }));
        std::printf("  nodes  %10d\n", list->Items().Count());
        std::printf("  destroy %9.1f\n", BestOf(
                                             1, [] {},
                                             [&] {
                                                 dialog.reset();
                                                 list.reset();
                                             }));
    }
    DeleteFileA(path.c_str());
    return 0;
}
