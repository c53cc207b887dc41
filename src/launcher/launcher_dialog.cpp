#include "launcher/launcher_dialog.h"

#include "base/error.h"
#include "base/sjis.h"
#include "components/browse_dialog.h"
#include "forms/launcher_dialog_form.h"
#include "framework/application.h"
#include "framework/control.h"
#include "framework/display_dpi.h"
#include "framework/edit.h"
#include "framework/handles.h"
#include "framework/icon.h"
#include "framework/image_list.h"
#include "framework/message_box.h"
#include "framework/module_path.h"
#include "framework/open_dialog.h"
#include "framework/tree_view.h"
#include "launcher/launch_entry.h"
#include "launcher/launch_list.h"
#include "launcher/launch_tree.h"
#include "program_icons.h"

#include <shellapi.h>

#include <string>

namespace {

// The group box of the item settings, which only an item's entry enables.
constexpr char kItemSettingsBox[] = "EntryGroup";

// The program's own icons in the order of TreePictures.
constexpr int kPicturePositions[] = {kClosedFolderIconPosition, kOpenFolderIconPosition, kWindowIconPosition};

}   // namespace

LauncherDialog::LauncherDialog(Component* owner, ::LaunchList* list)
    : CommandForm(owner, launcher_dialog_form::kForm), list_(list)
{
    treePictures_ = new ImageList(this);
    treePictures_->SetName("TreePictures");
    treeView_ = &Owned<::TreeView>("TreeView");
    openDialog_ = new ::OpenDialog(this);
    openDialog_->SetName("OpenDialog");
    openDialog_->SetFilter(launcher_dialog_form::kOpenDialogFilter);
    browseDialog_ = new ::BrowseDialog(this);
    browseDialog_->SetName("BrowseDialog");
    fileEdit_ = &Owned<Edit>("FileEdit");
    optionEdit_ = &Owned<Edit>("OptionEdit");
    directoryEdit_ = &Owned<Edit>("DirectoryEdit");
    if (list_) {
        list_->FreeNotification(this);
        treeView_->SetItems(&list_->Items());
    }
    CenterOnScreen();
    BindCommands();
    LoadListAndPictures();
}

LauncherDialog::~LauncherDialog()
{
    if (list_) {
        list_->SetEditing(false);
        treeView_->SetItems(nullptr);
        list_->RemoveFreeNotification(this);
    }
}

void LauncherDialog::Notification(Component* component, Operation operation)
{
    Form::Notification(component, operation);
    if (operation == Operation::Remove && component == list_) {
        list_ = nullptr;
        if (treeView_) {
            treeView_->SetItems(nullptr);
        }
    }
}

void LauncherDialog::Run(LauncherCommand command, Component*)
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
        return StoreText(*fileEdit_, &LaunchEntry::File);
    case LauncherCommand::OptionEdited:
        return StoreText(*optionEdit_, &LaunchEntry::Option);
    case LauncherCommand::DirectoryEdited:
        return StoreText(*directoryEdit_, &LaunchEntry::Dir);
    case LauncherCommand::CheckDrag:
        return CheckDrag();
    case LauncherCommand::MoveDraggedNode:
        return MoveDraggedNode();
    case LauncherCommand::TreeKeyPressed:
        return DeleteOnDeleteKey();
    }
}

void LauncherDialog::DoClose()
{
    Hide();
}

LRESULT LauncherDialog::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
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

void LauncherDialog::LoadListAndPictures()
{
    LoadPictures();
    if (list_) {
        list_->Load();
    }
}

void LauncherDialog::LoadPictures()
{
    // Drawn for the size, from the group's own image of it: one shrunk or stretched looks poor.
    const int size = SmallIconSize(Dpi());
    treePictures_->SetSize(size, size);
    treePictures_->Clear();
    const std::string program = ModuleFileName();
    for (int position : kPicturePositions) {
        treePictures_->AddIcon(ExtractIconOfSize(program, position, size).Get());
    }
    // The tree measures its rows by its pictures.
    treeView_->SetImages(treePictures_);
}

void LauncherDialog::DpiChanged()
{
    LoadPictures();
}

void LauncherDialog::SaveAndClose()
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

void LauncherDialog::AddFolder()
{
    AddFolderNode(treeView_->Items(), NewNodeParent(treeView_->Selected()), kNewFolderName);
}

void LauncherDialog::AddItem()
{
    ::AddItemNode(treeView_->Items(), NewNodeParent(treeView_->Selected()), kNewItemName);
}

void LauncherDialog::AddSeparator()
{
    AddSeparatorNode(treeView_->Items(), NewNodeParent(treeView_->Selected()));
}

void LauncherDialog::ClearSelection()
{
    treeView_->SetSelected(nullptr);
}

void LauncherDialog::DeleteSelected()
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

void LauncherDialog::EnableItemSettings(bool enabled)
{
    // The group box and every control the form's table puts into it.
    for (const ControlLayout& def : launcher_dialog_form::kControls) {
        const bool inBox = def.parent && std::string_view(def.parent) == kItemSettingsBox;
        if (inBox || std::string_view(def.name) == kItemSettingsBox) {
            Owned<Control>(def.name).SetEnabled(enabled);
        }
    }
}

void LauncherDialog::ShowSelected()
{
    treeView_->SetReadOnly(false);
    TreeNode* node = treeView_->Selected();
    if (!node) {
        return;   // the settings keep their state and texts
    }
    const LaunchEntry* entry = EntryOf(node);
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
    fileEdit_->SetText(file);
    optionEdit_->SetText(option);
    directoryEdit_->SetText(dir);
}

void LauncherDialog::StoreText(const Edit& edit, std::string LaunchEntry::*field)
{
    if (LaunchEntry* entry = EntryOf(treeView_->Selected())) {
        entry->*field = edit.Text();
    }
}

void LauncherDialog::ChooseFile()
{
    if (!openDialog_->Execute()) {
        return;
    }
    fileEdit_->SetText(openDialog_->FileName());
    const std::string path = fileEdit_->Text();
    directoryEdit_->SetText(ExtractFilePath(path));
    if (TreeNode* node = treeView_->Selected()) {
        node->SetText(ExtractFileName(path));
    }
}

void LauncherDialog::ChooseDirectory()
{
    if (browseDialog_->Execute()) {
        directoryEdit_->SetText(browseDialog_->Directory());
    }
}

void LauncherDialog::RenameSelected()
{
    // The selected node, not the one under the pointer: a right click does not select.
    treeView_->EditText(treeView_->Selected());
}

void LauncherDialog::CheckDrag()
{
    // Only a tree's node can come here; a drop that would move nothing is not welcome either.
    const TreeNode* dragged = treeView_->Selected();
    const bool fromTree = dynamic_cast<::TreeView*>(treeView_->DragSource()) != nullptr;
    treeView_->SetDragAccepted(fromTree && dragged &&
                               CanDrop(*dragged, treeView_->NodeAt(treeView_->DragPoint())));
}

void LauncherDialog::MoveDraggedNode()
{
    TreeNode* node = treeView_->Selected();
    if (!node || !DropNode(treeView_->Items(), *node, treeView_->NodeAt(treeView_->DragPoint()))) {
        return;
    }
    if (TreeNode* parent = node->Parent()) {
        treeView_->Expand(parent);
    }
}

void LauncherDialog::DeleteOnDeleteKey()
{
    if (treeView_->Key() == VK_DELETE) {
        DeleteSelected();
    }
}
