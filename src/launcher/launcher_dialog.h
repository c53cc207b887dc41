// The launcher settings dialog. Its tree view shows and edits the one launcher list of the
// whole run; "決定" saves it.
#pragma once

#include "framework/command_form.h"

#include <windows.h>

#include <string>

class Edit;
class ImageList;
class LaunchList;
class OpenDialog;
class BrowseDialog;
class TreeView;
struct LaunchEntry;
enum class LauncherCommand;

// "フォルダを削除しようとしています。よろしいですか？", the question before a folder goes.
inline constexpr char kDeleteFolderQuestion[] = "フォルダを削除しようとしています。よろしいですか？";
inline constexpr char kDeleteCaption[] = "削除";

// Asked by "決定" when LAUNCH.INI changed on disk since the list was loaded or saved: Yes takes
// the file's version, No keeps the dialog's list and overwrites the file, Cancel goes back.
inline constexpr char kOutsideChangeQuestion[] =
    "LAUNCH.INI がほかのプログラムで変更されています。\n\n"
    "はい: ファイルの内容を読み込む (この画面での変更は捨てます)\n"
    "いいえ: この画面の内容で上書きする\n"
    "キャンセル: 設定画面に戻る";

class LauncherDialog : public CommandForm<LauncherCommand> {
public:
    // Loads `list` from its file. The list must outlive the dialog or go first, which leaves
    // the dialog with an empty tree.
    LauncherDialog(Component* owner, LaunchList* list);
    ~LauncherDialog() override;

    ::TreeView* TreeView() const { return treeView_; }
    // The tree's pictures: closed folder, open folder, item.
    ImageList* TreePictures() const { return treePictures_; }
    ::OpenDialog* OpenDialog() const { return openDialog_; }
    // Keeps its last choice for the whole run and opens on it the next time.
    ::BrowseDialog* BrowseDialog() const { return browseDialog_; }
    ::LaunchList* LaunchList() const { return list_; }

    // "新規フォルダ", "新規項目", "セパレータ": a new node at the end of the selected folder, of
    // the level of the selected item, or of the top level when nothing is selected.
    void AddFolder();
    void AddItem();
    void AddSeparator();
    // "選択解除": no node selected, so that the next new node goes to the top level.
    void ClearSelection();
    // "項目削除": the selected node goes with its subtree and its launcher menu item; a folder
    // only after the user says yes.
    void DeleteSelected();
    // The selection changed: the item settings show the selected item's entry.
    void ShowSelected();
    // The first "参照": a file chosen in OpenDialog becomes the entry's file, its folder the
    // directory, and its name the node's name.
    void ChooseFile();
    // The second "参照": a folder chosen in BrowseDialog becomes the entry's directory.
    void ChooseDirectory();
    // "名前を変更(&R)": edits the selected node's name in place.
    void RenameSelected();
    // Dragging a node: only the tree's own nodes are welcome, never into their own subtree.
    void CheckDrag();
    // The drop: the selected node moves to where the drop point says.
    void MoveDraggedNode();
    // Keys on the tree: Delete deletes as "項目削除" does (F2 renames, as in any tree).
    void DeleteOnDeleteKey();

    // "決定": saves the list, rebuilds the launcher submenu and closes the dialog. A save that
    // fails raises the error and leaves the submenu and the dialog as they were. When the file
    // changed on disk since the list last read or wrote it, asks first (kOutsideChangeQuestion).
    void SaveAndClose();

    // Enables or disables the item settings: the group box "EntryGroup" and the controls in it.
    void EnableItemSettings(bool enabled);

    void Notification(Component* component, Operation operation) override;

protected:
    void Run(LauncherCommand command, Component* sender) override;
    // The dialog only ever hides: it lives as long as the program.
    void DoClose() override;
    // The tree's pictures at the new DPI's small-icon size.
    void DpiChanged() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void LoadListAndPictures();
    // The tree's pictures at the small-icon size of the dialog's DPI.
    void LoadPictures();
    // A text of the item settings changed: it goes into that field of the selected item's entry.
    void StoreText(const Edit& edit, std::string LaunchEntry::*field);

    ::LaunchList* list_;   // not owned; cleared when it goes
    // Owned by the form, as its other components.
    ::TreeView* treeView_ = nullptr;
    ImageList* treePictures_ = nullptr;
    ::OpenDialog* openDialog_ = nullptr;
    ::BrowseDialog* browseDialog_ = nullptr;
    Edit* fileEdit_ = nullptr;
    Edit* optionEdit_ = nullptr;
    Edit* directoryEdit_ = nullptr;
};
