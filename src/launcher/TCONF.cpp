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
#include "framework/message_box.h"
#include "framework/module_path.h"
#include "framework/open_dialog.h"
#include "framework/tree_view.h"
#include "launcher/launch_list.h"
#include "launcher/launch_tree.h"
#include "launcher/tnode.h"
#include "program_icons.h"

#include <shellapi.h>

#include <string>

namespace {

// The group box of the item settings, which only an item's entry enables.
constexpr char kItemSettingsBox[] = "GroupBox2";

// The program's own icons in the order of ImageList1.
constexpr int kPicturePositions[] = {kClosedFolderIconPosition, kOpenFolderIconPosition, kWindowIconPosition};

}   // namespace

TCONF::TCONF(Component* owner, ::LaunchList* list) : CommandForm(owner, tconf_form::kForm), list_(list)
{
    imageList1_ = new ::ImageList(this);
    imageList1_->SetName("ImageList1");
    treeView_ = &Owned<::TreeView>("TreeView");
    treeView_->SetImages(imageList1_);
    openDialog_ = new ::OpenDialog(this);
    openDialog_->SetName("OpenDialog");
    openDialog_->SetFilter(tconf_form::kOpenDialogFilter);
    browseDialog_ = new TBrowseDialog(this);
    browseDialog_->SetName("BrowseDialog");
    edit1_ = &Owned<Edit>("Edit1");
    edit2_ = &Owned<Edit>("Edit2");
    edit3_ = &Owned<Edit>("Edit3");
    if (list_) {
        list_->FreeNotification(this);
        treeView_->SetItems(&list_->Items());
    }
    CenterOnScreen();
    BindCommands();
    FormCreate();
}

TCONF::~TCONF()
{
    if (list_) {
        list_->SetEditing(false);
        treeView_->SetItems(nullptr);
        list_->RemoveFreeNotification(this);
    }
}

void TCONF::Notification(Component* component, Operation operation)
{
    Form::Notification(component, operation);
    if (operation == Operation::Remove && component == list_) {
        list_ = nullptr;
        if (treeView_) {
            treeView_->SetItems(nullptr);
        }
    }
}

void TCONF::Run(LauncherCommand command, Component*)
{
    switch (command) {
    case LauncherCommand::AddFolder:
        return AddFolder();
    case LauncherCommand::AddItem:
        return AddItem();
    case LauncherCommand::AddSeparator:
        return AddSeparator();
    case LauncherCommand::ClearSelection:
        return ClearSelection();
    case LauncherCommand::DeleteSelected:
        return DeleteSelected();
    case LauncherCommand::ChooseFile:
        return ChooseFile();
    case LauncherCommand::ChooseDirectory:
        return ChooseDirectory();
    case LauncherCommand::SaveAndClose:
        return SaveAndClose();
    case LauncherCommand::RenameSelected:
        return RenameSelected();
    case LauncherCommand::ShowSelected:
        return ShowSelected();
    case LauncherCommand::FileEdited:
        return StoreText(*edit1_, &TNode::File);
    case LauncherCommand::OptionEdited:
        return StoreText(*edit2_, &TNode::Option);
    case LauncherCommand::DirectoryEdited:
        return StoreText(*edit3_, &TNode::Dir);
    case LauncherCommand::CheckDrag:
        return CheckDrag();
    case LauncherCommand::MoveDraggedNode:
        return MoveDraggedNode();
    case LauncherCommand::TreeKeyPressed:
        return DeleteOnDeleteKey();
    }
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
        // While the list shows, a change on disk waits for the dialog to close.
        if (list_) {
            list_->SetEditing(wParam != 0);
        }
        break;
    case WM_CLOSE:
        // A close request from elsewhere (Alt+F4, the system) ends the dialog as "決定" does:
        // every edit already acts on the list in use, so closing without saving would leave
        // the file and the launcher submenu behind it.
        if (Visible()) {
            // A name being typed counts, as when the button takes the focus from it.
            treeView_->EndEditing(true);
            try {
                SaveAndClose();
            } catch (const Error&) {
                // A file that cannot be written must not hold the dialog open for good: the list
                // stays as it is, for the next save or the rescue copy at the program's end.
                application->HandleException();
                Close();
            }
        }
        return 0;
    }
    return Form::WndProc(message, wParam, lParam);
}

void TCONF::FormCreate()
{
    LoadPictures();
    if (list_) {
        list_->Load();
    }
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

void TCONF::SaveAndClose()
{
    if (list_ && list_->ChangedOnDisk()) {
        const int answer = ShowTaskModalMessageBox(
            application ? application->Handle() : Handle(), kOutsideChangeQuestion,
            application ? application->Title() : "Mivtra", MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3);
        // The box ran a message loop: the list may be gone.
        if (answer == IDYES && list_) {
            list_->Reload();
            Close();
            return;
        }
        if (answer != IDNO) {
            return;
        }
    }
    if (list_) {
        list_->Save();
    }
    Close();
}

void TCONF::AddFolder()
{
    AddFolderNode(treeView_->Items(), NewNodeParent(treeView_->Selected()), kNewFolderName);
}

void TCONF::AddItem()
{
    ::AddItemNode(treeView_->Items(), NewNodeParent(treeView_->Selected()), kNewItemName);
}

void TCONF::AddSeparator()
{
    AddSeparatorNode(treeView_->Items(), NewNodeParent(treeView_->Selected()));
}

void TCONF::ClearSelection()
{
    treeView_->SetSelected(nullptr);
}

void TCONF::DeleteSelected()
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
    if (list_) {
        list_->DeleteNode(node);
    }
}

void TCONF::EnableItemSettings(bool enabled)
{
    // The group box and every control the form's table puts into it.
    for (const ControlLayout& def : tconf_form::kControls) {
        const bool inBox = def.parent && std::string_view(def.parent) == kItemSettingsBox;
        if (inBox || std::string_view(def.name) == kItemSettingsBox) {
            Owned<Control>(def.name).SetEnabled(enabled);
        }
    }
}

void TCONF::ShowSelected()
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
    // Copies: each text set runs StoreText, which stores the same text back.
    const std::string file = entry->File;
    const std::string option = entry->Option;
    const std::string dir = entry->Dir;
    edit1_->SetText(file);
    edit2_->SetText(option);
    edit3_->SetText(dir);
}

void TCONF::StoreText(const Edit& edit, std::string TNode::*field)
{
    if (TNode* entry = EntryOf(treeView_->Selected())) {
        entry->*field = edit.Text();
    }
}

void TCONF::ChooseFile()
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

void TCONF::ChooseDirectory()
{
    if (browseDialog_->Execute()) {
        edit3_->SetText(browseDialog_->Directory());
    }
}

void TCONF::RenameSelected()
{
    // The selected node, not the one under the pointer: a right click does not select.
    treeView_->EditText(treeView_->Selected());
}

void TCONF::CheckDrag()
{
    // Only a tree's node can come here; a drop that would move nothing is not welcome either.
    const TreeNode* dragged = treeView_->Selected();
    const bool fromTree = dynamic_cast<::TreeView*>(treeView_->DragSource()) != nullptr;
    treeView_->SetDragAccepted(fromTree && dragged &&
                               CanDrop(*dragged, treeView_->NodeAt(treeView_->DragPoint())));
}

void TCONF::MoveDraggedNode()
{
    TreeNode* node = treeView_->Selected();
    if (!node || !DropNode(treeView_->Items(), *node, treeView_->NodeAt(treeView_->DragPoint()))) {
        return;
    }
    if (TreeNode* parent = node->Parent()) {
        treeView_->Expand(parent);
    }
}

void TCONF::DeleteOnDeleteKey()
{
    if (treeView_->Key() == VK_DELETE) {
        DeleteSelected();
    }
}
