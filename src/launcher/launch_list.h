// The launcher list of the whole run: its nodes, its file LAUNCH.INI and the launcher submenu
// built from it. The settings dialog edits it, a drop appends to it, the menu starts its
// entries; each of them through this object alone.
#pragma once

#include "base/tree_model.h"
#include "framework/component.h"
#include "framework/shell_open.h"

#include <string>

class IniDocument;
class MenuItem;

// "LAUNCH.INI" in the directory of the running executable.
std::string LaunchFilePath();

class LaunchList : public Component {
public:
    // `submenu` is the main window's launcher item, which the list fills with one item per
    // node (may be null: no submenu); `open` starts a chosen entry; `fileName` is the file.
    LaunchList(Component* owner, MenuItem* submenu, ShellOpenFunction open, std::string fileName);
    ~LaunchList() override;

    TreeModel& Items() { return items_; }
    const TreeModel& Items() const { return items_; }
    const std::string& FileName() const { return fileName_; }
    MenuItem* Submenu() const { return submenu_; }

    // Replaces the nodes with the file's list and builds the submenu in place of what it holds
    // (at start, its placeholder). A parent link that names no node is reported; the nodes
    // before it stay, and the submenu keeps what it had until the next save.
    void Load();
    // Writes the list to its file and rebuilds the submenu. A file that cannot be read or
    // written raises the error with the file and the submenu left as they were.
    void Save();

    // An item with a fresh, empty entry as the last child of the node of that absolute
    // index, or at the end of the top level for kTopLevel.
    TreeNode* AddItemNode(int parentIndex, const std::string& name);
    // The node goes with its subtree, and so does the submenu item that bears its number now.
    // That item dates from the last build and may stand for another node by now; the next save
    // builds the whole submenu again.
    void DeleteNode(TreeNode* node);

    // Creates the submenu item of the node with that absolute index under `parent`.
    MenuItem* AddLaunchMenuItem(int index, MenuItem* parent, TreeNode* node);
    // Builds the submenu from the whole list; expects it to hold no items.
    void BuildLaunchMenu();
    // The click of every submenu item that has an entry: starts the entry of the node that the
    // item's name numbers, as the list stands now.
    void LaunchClick(Component* sender);

    void Notification(Component* component, Operation operation) override;

private:
    // Puts the document's list in place of the nodes; false after a bad parent link.
    bool Replace(const IniDocument& file);
    // Takes every item out of the submenu, destroys those of the last build, builds anew.
    void RebuildLaunchMenu();
    void TakeOutLaunchItems();
    void DestroyLaunchItems();

    TreeModel items_;
    MenuItem* submenu_;   // not owned: the main window's; cleared when it goes
    ShellOpenFunction open_;
    std::string fileName_;
};
