// The launcher settings dialog. Its tree view holds the one launcher list of the whole run,
// whether the dialog is on screen or not; it loads and saves LAUNCH.INI and builds the
// launcher submenu from the list.
#pragma once

#include "framework/form.h"

#include <windows.h>

#include <functional>
#include <string>

class Edit;
class ImageList;
class MenuItem;
class OpenDialog;
class TBrowseDialog;
class TreeNode;
class TreeView;

// Opens a file through the shell: file, parameters, verb, directory, show command. Returns
// the started process's handle, which the caller closes, or null.
using LaunchFunction = std::function<HANDLE(const std::string& file, const std::string& parameters,
                                            const std::string& verb, const std::string& directory, int show)>;

// "LAUNCH.INI" in the directory of the running executable.
std::string LaunchFilePath();

// The nine controls of the item settings, which only an item's entry enables.
inline constexpr const char* kItemSettings[] = {"GroupBox2", "Edit1",  "Edit2",   "Edit3",  "Label1",
                                                "Label2",    "Label3", "Button4", "Button5"};

// "フォルダを削除しようとしています。よろしいですか？", the question before a folder goes.
inline constexpr char kDeleteFolderQuestion[] = "フォルダを削除しようとしています。よろしいですか？";
inline constexpr char kDeleteCaption[] = "削除";

class TCONF : public Form {
public:
    // Runs FormCreate: loads the list from `fileName` and builds the launcher submenu under
    // `launch`, a menu item of the main window. `launcher` starts a chosen entry.
    TCONF(Component* owner, MenuItem* launch, LaunchFunction launcher,
          std::string fileName = LaunchFilePath());
    // Runs FormDestroy.
    ~TCONF() override;

    ::TreeView* TreeView() const { return treeView_; }
    ::ImageList* ImageList1() const { return imageList1_; }
    ::OpenDialog* OpenDialog() const { return openDialog_; }
    // Keeps its last choice for the whole run and opens on it the next time.
    TBrowseDialog* BrowseDialog() const { return browseDialog_; }
    MenuItem* Launch() const { return launch_; }
    const std::string& FileName() const { return fileName_; }

    // "新規フォルダ", "新規項目", "セパレータ": a new node at the end of the selected folder, of
    // the level of the selected item, or of the top level when nothing is selected.
    void Button1Click(Component* sender);
    void Button2Click(Component* sender);
    void Button3Click(Component* sender);
    // "選択解除": no node selected, so that the next new node goes to the top level.
    void Button7Click(Component* sender);
    // "項目削除": the selected node goes with its subtree and its launcher menu item; a folder
    // only after the user says yes.
    void Button8Click(Component* sender);
    // The selection changed: the item settings show the selected item's entry.
    void TreeViewChange(Component* sender);
    // A text of the item settings changed: it goes into the selected item's entry.
    void Edit1Change(Component* sender);
    // The first "参照": a file chosen in OpenDialog becomes the entry's file, its folder the
    // directory, and its name the node's name.
    void Button4Click(Component* sender);
    // The second "参照": a folder chosen in BrowseDialog becomes the entry's directory.
    void Button5Click(Component* sender);
    // "名前を変更(&R)": edits the selected node's name in place.
    void R1Click(Component* sender);
    // Dragging a node: only the tree's own nodes are welcome, never into their own subtree.
    void TreeViewDragOver(Component* sender);
    // The drop: the selected node moves to where the drop point says.
    void TreeViewDragDrop(Component* sender);
    // Keys on the tree: Delete deletes as "項目削除" does (F2 renames, as in any tree).
    void TreeViewKeyDown(Component* sender);

    // "決定": saves the list, rebuilds the launcher submenu and closes the dialog. Also
    // called without a sender after a node has been added from outside the dialog. A save
    // that fails raises the error and leaves the submenu and the dialog as they were.
    void Button6Click(Component* sender);
    // The click of every launcher item that has an entry: starts the entry of the node that
    // the item's name numbers, as the tree stands now.
    void LaunchClick(Component* sender);

    // Enables or disables the item settings, all nine controls.
    void EnableItemSettings(bool enabled);

    // An item with a fresh, empty entry as the last child of the node of that absolute
    // index, or at the end of the top level for -2.
    TreeNode* AddItemNode(int parentIndex, const std::string& name);
    // Creates the launcher menu item of the node with that absolute index under `parent`.
    MenuItem* AddLaunchMenuItem(int index, MenuItem* parent, TreeNode* node);
    // Builds the launcher submenu from the whole tree; expects `Launch` to hold no items.
    void BuildLaunchMenu();
    // Runs after every build of the launcher submenu: at the load, after a save or a drop.
    NotifyEvent OnMenuBuilt;

    void Notification(Component* component, Operation operation) override;

    // The handlers the form's definition binds by name.
    static Span<HandlerDef<TCONF>> Handlers();

protected:
    // The dialog only ever hides: it lives as long as the program.
    void DoClose() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    // Releases every node's entry while the dialog goes at the end of the run.
    void FormDestroy();
    void LoadPictures();
    // Takes every item out of `Launch` without destroying it.
    void TakeOutLaunchItems();
    // Destroys every launcher menu item of the last build, at any depth.
    void DestroyLaunchItems();

    MenuItem* launch_;   // not owned: the main window's
    LaunchFunction launcher_;
    std::string fileName_;
    // Owned by the form, as its other components.
    ::TreeView* treeView_ = nullptr;
    ::ImageList* imageList1_ = nullptr;
    ::OpenDialog* openDialog_ = nullptr;
    TBrowseDialog* browseDialog_ = nullptr;
    Edit* edit1_ = nullptr;
    Edit* edit2_ = nullptr;
    Edit* edit3_ = nullptr;
};
