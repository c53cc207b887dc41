#include "launcher/TCONF.h"

#include "base/error.h"
#include "base/sjis.h"
#include "forms/tconf_form.h"
#include "framework/application.h"
#include "framework/handles.h"
#include "framework/image_list.h"
#include "framework/menu_item.h"
#include "framework/module_path.h"
#include "framework/tree_view.h"
#include "launcher/ini_file.h"
#include "launcher/launch_file.h"
#include "launcher/launch_menu_plan.h"
#include "launcher/launch_tree.h"
#include "launcher/tnode.h"
#include "program_icons.h"

#include <shellapi.h>

#include <string_view>
#include <vector>

namespace {

// The program's own icons in the order of ImageList1.
constexpr int kPicturePositions[] = {kClosedFolderIconPosition, kOpenFolderIconPosition, kWindowIconPosition};

}   // namespace

std::string LaunchFilePath()
{
    return ModuleDirectory() + "LAUNCH.INI";
}

TCONF::TCONF(Component* owner, MenuItem* launch, LaunchFunction launcher, std::string fileName)
    : Form(owner, tconf_form::kForm), launch_(launch), launcher_(std::move(launcher)),
      fileName_(std::move(fileName))
{
    if (launch_) {
        launch_->FreeNotification(this);
    }
    imageList1_ = new ::ImageList(this);
    imageList1_->SetName("ImageList1");
    treeView_ = dynamic_cast<::TreeView*>(FindComponent("TreeView"));
    treeView_->SetImages(imageList1_);
    CenterOnScreen();
    BindHandlers(this, Handlers());
    FormCreate();
}

TCONF::~TCONF()
{
    if (launch_) {
        launch_->RemoveFreeNotification(this);
    }
}

void TCONF::Notification(Component* component, Operation operation)
{
    Form::Notification(component, operation);
    if (operation == Operation::Remove && component == launch_) {
        launch_ = nullptr;
    }
}

Span<HandlerDef<TCONF>> TCONF::Handlers()
{
    static constexpr HandlerDef<TCONF> kHandlers[] = {
        {"Button6Click", &TCONF::Button6Click},
    };
    return kHandlers;
}

void TCONF::DoClose()
{
    Hide();
}

LRESULT TCONF::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The tree control is filled only when somebody is about to see it.
    if (message == WM_SHOWWINDOW && wParam && treeView_) {
        treeView_->Synchronize();
    }
    return Form::WndProc(message, wParam, lParam);
}

void TCONF::FormCreate()
{
    LoadPictures();
    // Loading stops at a parent link that names no node; the nodes before it stay, and the
    // submenu keeps its placeholder until the next save builds it.
    if (!LoadLaunchTree(LoadIniFile(fileName_), treeView_->Items())) {
        application->ShowException(kInvalidIndexMessage);
        return;
    }
    TakeOutLaunchItems();
    BuildLaunchMenu();
}

void TCONF::LoadPictures()
{
    const std::string program = ModuleFileName();
    for (int position : kPicturePositions) {
        // The small icon of the group: a large one shrunk into the 16 x 16 list looks poor.
        HICON small = nullptr;
        ExtractIconExA(program.c_str(), position, nullptr, &small, 1);
        UniqueIcon icon(small);
        imageList1_->AddIcon(icon.Get());
    }
}

void TCONF::Button6Click(Component*)
{
    IniDocument file = LoadIniFileForSave(fileName_);
    SaveLaunchTree(treeView_->Items(), file);
    SaveIniFile(fileName_, file);
    TakeOutLaunchItems();
    DestroyLaunchItems();
    BuildLaunchMenu();
    Close();
}

void TCONF::LaunchClick(Component* sender)
{
    const std::optional<int> index = sender ? LaunchMenuItemIndex(sender->Name()) : std::nullopt;
    const TreeNode* node = index ? treeView_->Items().Node(*index) : nullptr;
    if (!node) {
        throw Error(kInvalidIndexMessage);
    }
    const TNode* entry = EntryOf(node);
    if (!entry || !launcher_) {
        return;
    }
    // Copies: the shell may run a message loop (its own error box) in which the dialog
    // could change the tree.
    const std::string file = entry->File;
    const std::string option = entry->Option;
    const std::string dir = entry->Dir;
    // Nothing waits for the started program: its handle is closed at once.
    UniqueKernelHandle process(launcher_(file, option, "open", dir, SW_SHOW));
}

TreeNode* TCONF::AddItemNode(int parentIndex, const std::string& name)
{
    return ::AddItemNode(treeView_->Items(), parentIndex, name);
}

MenuItem* TCONF::AddLaunchMenuItem(int index, MenuItem* parent, TreeNode* node)
{
    const LaunchMenuEntry entry = PlanLaunchMenuItem(index, *node);
    auto* item = new MenuItem(launch_);
    item->SetName(LaunchMenuItemName(entry.index));
    item->SetCaption(entry.caption);
    item->SetImageIndex(-1);
    if (entry.launches) {
        item->OnClick = [this](Component* sender) { LaunchClick(sender); };
    }
    parent->Add(item);
    return item;
}

void TCONF::BuildLaunchMenu()
{
    if (!launch_) {
        return;
    }
    const TreeModel& tree = treeView_->Items();
    // The items of this build by absolute index: every other item `Launch` owned is gone,
    // so this finds a parent's item as a look-up by its name among them would.
    std::vector<MenuItem*> items(tree.Count(), nullptr);
    for (const LaunchMenuEntry& entry : PlanLaunchMenu(tree)) {
        MenuItem* parent = entry.parent == kUnderLaunch ? launch_ : items[entry.parent];
        if (parent) {
            items[entry.index] = AddLaunchMenuItem(entry.index, parent, tree.Node(entry.index));
        }
    }
}

void TCONF::TakeOutLaunchItems()
{
    if (!launch_) {
        return;
    }
    while (launch_->Count() > 0) {
        launch_->Delete(launch_->Count() - 1);
    }
}

void TCONF::DestroyLaunchItems()
{
    if (!launch_) {
        return;
    }
    // Destroying an item takes its subitems with it, which Launch owns as well.
    while (launch_->ComponentCount() > 0) {
        delete launch_->Components(launch_->ComponentCount() - 1);
    }
}
