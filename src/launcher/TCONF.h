// The launcher settings dialog. Its tree view holds the one launcher list of the whole run,
// whether the dialog is on screen or not; it loads and saves LAUNCH.INI and builds the
// launcher submenu from the list.
#pragma once

#include "framework/form.h"

#include <windows.h>

#include <functional>
#include <string>

class ImageList;
class MenuItem;
class TreeNode;
class TreeView;

// Opens a file through the shell: file, parameters, verb, directory, show command. Returns
// the started process's handle, which the caller closes, or null.
using LaunchFunction = std::function<HANDLE(const std::string& file, const std::string& parameters,
                                            const std::string& verb, const std::string& directory, int show)>;

// "LAUNCH.INI" in the directory of the running executable.
std::string LaunchFilePath();

class TCONF : public Form {
public:
    // Runs FormCreate: loads the list from `fileName` and builds the launcher submenu under
    // `launch`, a menu item of the main window. `launcher` starts a chosen entry.
    TCONF(Component* owner, MenuItem* launch, LaunchFunction launcher,
          std::string fileName = LaunchFilePath());
    ~TCONF() override;

    ::TreeView* TreeView() const { return treeView_; }
    ::ImageList* ImageList1() const { return imageList1_; }
    MenuItem* Launch() const { return launch_; }
    const std::string& FileName() const { return fileName_; }

    // "決定": saves the list, rebuilds the launcher submenu and closes the dialog. Also
    // called without a sender after a node has been added from outside the dialog. A save
    // that fails raises the error and leaves the submenu and the dialog as they were.
    void Button6Click(Component* sender);
    // The click of every launcher item that has an entry: starts the entry of the node that
    // the item's name numbers, as the tree stands now.
    void LaunchClick(Component* sender);

    // An item with a fresh, empty entry as the last child of the node of that absolute
    // index, or at the end of the top level for -2.
    TreeNode* AddItemNode(int parentIndex, const std::string& name);
    // Creates the launcher menu item of the node with that absolute index under `parent`.
    MenuItem* AddLaunchMenuItem(int index, MenuItem* parent, TreeNode* node);
    // Builds the launcher submenu from the whole tree; expects `Launch` to hold no items.
    void BuildLaunchMenu();

    void Notification(Component* component, Operation operation) override;

    // The handlers the form's definition binds by name.
    static Span<HandlerDef<TCONF>> Handlers();

protected:
    // The dialog only ever hides: it lives as long as the program.
    void DoClose() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void LoadPictures();
    // Takes every item out of `Launch` without destroying it.
    void TakeOutLaunchItems();
    // Destroys every launcher menu item of the last build, at any depth.
    void DestroyLaunchItems();

    MenuItem* launch_;   // not owned: the main window's
    LaunchFunction launcher_;
    std::string fileName_;
    ::TreeView* treeView_ = nullptr;   // owned by the form, as the image list
    ::ImageList* imageList1_ = nullptr;
};
