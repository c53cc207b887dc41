#include "launcher/TCONF.h"

#include "base/error.h"
#include "base/sjis.h"
#include "components/browse_dialog.h"
#include "forms/tconf_form.h"
#include "framework/application.h"
#include "framework/control.h"
#include "framework/edit.h"
#include "framework/handles.h"
#include "framework/image_list.h"
#include "framework/menu_item.h"
#include "framework/message_box.h"
#include "framework/module_path.h"
#include "framework/open_dialog.h"
#include "framework/tree_view.h"
#include "launcher/ini_file.h"
#include "launcher/launch_file.h"
#include "launcher/launch_menu_plan.h"
#include "launcher/launch_tree.h"
#include "launcher/tnode.h"
#include "program_icons.h"

#include <shellapi.h>

#include <optional>
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
    openDialog_ = dynamic_cast<::OpenDialog*>(FindComponent("OpenDialog"));
    browseDialog_ = new TBrowseDialog(this);
    browseDialog_->SetName("BrowseDialog");
    edit1_ = dynamic_cast<Edit*>(FindComponent("Edit1"));
    edit2_ = dynamic_cast<Edit*>(FindComponent("Edit2"));
    edit3_ = dynamic_cast<Edit*>(FindComponent("Edit3"));
    CenterOnScreen();
    BindHandlers(this, Handlers());
    FormCreate();
}

TCONF::~TCONF()
{
    FormDestroy();
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
        {"Button1Click", &TCONF::Button1Click},         {"Button2Click", &TCONF::Button2Click},
        {"Button3Click", &TCONF::Button3Click},         {"Button4Click", &TCONF::Button4Click},
        {"Button5Click", &TCONF::Button5Click},         {"Button6Click", &TCONF::Button6Click},
        {"Button7Click", &TCONF::Button7Click},         {"Button8Click", &TCONF::Button8Click},
        {"Edit1Change", &TCONF::Edit1Change},           {"R1Click", &TCONF::R1Click},
        {"TreeViewChange", &TCONF::TreeViewChange},     {"TreeViewDragOver", &TCONF::TreeViewDragOver},
        {"TreeViewDragDrop", &TCONF::TreeViewDragDrop}, {"TreeViewKeyDown", &TCONF::TreeViewKeyDown},
    };
    return kHandlers;
}

void TCONF::DoClose()
{
    Hide();
}

LRESULT TCONF::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SHOWWINDOW:
        // The tree control is filled only when somebody is about to see it.
        if (wParam && treeView_) {
            treeView_->Synchronize();
        }
        break;
    case WM_CLOSE:
        // A close request from elsewhere (Alt+F4, the system) ends the dialog as "決定" does:
        // every edit already acts on the list in use, so closing without saving would leave
        // the file and the launcher submenu behind it.
        if (Visible()) {
            // A name being typed counts, as when the button takes the focus from it.
            treeView_->EndEditing(true);
            Button6Click(this);
        }
        return 0;
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

void TCONF::FormDestroy()
{
    // The nodes release their entries as they go.
    treeView_->Items().Clear();
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

void TCONF::Button1Click(Component*)
{
    AddFolderNode(treeView_->Items(), NewNodeParent(treeView_->Selected()), kNewFolderName);
}

void TCONF::Button2Click(Component*)
{
    ::AddItemNode(treeView_->Items(), NewNodeParent(treeView_->Selected()), kNewItemName);
}

void TCONF::Button3Click(Component*)
{
    AddSeparatorNode(treeView_->Items(), NewNodeParent(treeView_->Selected()));
}

void TCONF::Button7Click(Component*)
{
    treeView_->SetSelected(nullptr);
}

void TCONF::Button8Click(Component*)
{
    TreeNode* node = treeView_->Selected();
    if (!node) {
        return;
    }
    if (IsFolder(*node)) {
        const int answer =
            ShowTaskModalMessageBox(application ? application->Handle() : Handle(), kDeleteFolderQuestion,
                                    kDeleteCaption, MB_YESNO | MB_DEFBUTTON1);
        // The box ran a message loop: the node must still be the one asked about.
        if (answer != IDYES || treeView_->Selected() != node) {
            return;
        }
    }
    // The item of that name dates from the last build and may stand for another node by now;
    // the next save builds the whole submenu again.
    if (launch_) {
        delete launch_->FindComponent(LaunchMenuItemName(node->AbsoluteIndex()));
    }
    treeView_->Items().Delete(node);
}

void TCONF::EnableItemSettings(bool enabled)
{
    for (const char* name : kItemSettings) {
        if (auto* control = dynamic_cast<Control*>(FindComponent(name))) {
            control->SetEnabled(enabled);
        }
    }
}

void TCONF::TreeViewChange(Component*)
{
    treeView_->SetReadOnly(false);
    TreeNode* node = treeView_->Selected();
    if (!node) {
        return;   // the settings keep their state and texts
    }
    const TNode* entry = EntryOf(node);
    if (!entry) {
        EnableItemSettings(false);
        return;
    }
    treeView_->SetReadOnly(IsSeparator(*node));
    EnableItemSettings(!treeView_->ReadOnly());
    // Copies: each text set runs Edit1Change, which stores the same text back.
    const std::string file = entry->File;
    const std::string option = entry->Option;
    const std::string dir = entry->Dir;
    edit1_->SetText(file);
    edit2_->SetText(option);
    edit3_->SetText(dir);
}

void TCONF::Edit1Change(Component* sender)
{
    TNode* entry = EntryOf(treeView_->Selected());
    if (!entry) {
        return;
    }
    if (sender == edit1_) {
        entry->File = edit1_->Text();
    } else if (sender == edit2_) {
        entry->Option = edit2_->Text();
    } else if (sender == edit3_) {
        entry->Dir = edit3_->Text();
    }
}

void TCONF::Button4Click(Component*)
{
    if (!openDialog_->Execute()) {
        return;
    }
    edit1_->SetText(openDialog_->FileName());
    const std::string path = edit1_->Text();
    edit3_->SetText(ExtractFilePath(path));
    if (TreeNode* node = treeView_->Selected()) {
        node->SetText(ExtractFileName(path));
    }
}

void TCONF::Button5Click(Component*)
{
    if (browseDialog_->Execute()) {
        edit3_->SetText(browseDialog_->Directory());
    }
}

void TCONF::R1Click(Component*)
{
    // The selected node, not the one under the pointer: a right click does not select.
    treeView_->EditText(treeView_->Selected());
}

void TCONF::TreeViewDragOver(Component*)
{
    // Only a tree's node can come here; a drop that would move nothing is not welcome either.
    const TreeNode* dragged = treeView_->Selected();
    const bool fromTree = dynamic_cast<::TreeView*>(treeView_->DragSource()) != nullptr;
    treeView_->SetDragAccepted(fromTree && dragged &&
                               CanDrop(*dragged, treeView_->NodeAt(treeView_->DragPoint())));
}

void TCONF::TreeViewDragDrop(Component*)
{
    TreeNode* node = treeView_->Selected();
    if (!node || !DropNode(treeView_->Items(), *node, treeView_->NodeAt(treeView_->DragPoint()))) {
        return;
    }
    if (TreeNode* parent = node->Parent()) {
        treeView_->Expand(parent);
    }
}

void TCONF::TreeViewKeyDown(Component* sender)
{
    if (treeView_->Key() == VK_DELETE) {
        Button8Click(sender);
    }
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
    if (OnMenuBuilt)
        OnMenuBuilt(this);
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
