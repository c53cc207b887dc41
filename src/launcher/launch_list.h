// The launcher list of the whole run: its nodes, its file LAUNCH.INI and the launcher submenu
// built from it. The settings dialog edits it, a drop appends to it, the menu starts its
// entries; each of them through this object alone.
#pragma once

#include "base/tree_model.h"
#include "framework/component.h"
#include "framework/menu_item.h"
#include "framework/shell_open.h"
#include "framework/watched.h"
#include "launcher/file_version.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

class FolderWatch;
class IniDocument;
class LaunchMenuItem;

// "%s に書き込めなかったランチャの変更を、%s に保存しました。": where a list that could not be saved
// went when the program ended.
inline constexpr char kRescuedMessage[] = "%s に書き込めなかったランチャの変更を、%s に保存しました。";

// "LAUNCH.INI" in the directory of the running executable.
std::string LaunchFilePath();

class LaunchList : public Component {
public:
    // `submenu` is the main window's launcher item, which the list fills with one item per
    // node (may be null: no submenu); `open` starts a chosen entry; `fileName` is the file.
    LaunchList(Component* owner, MenuItem* submenu, ShellOpenFunction open, std::string fileName);
    // The submenu's items stay, and start nothing from now on.
    ~LaunchList() override;

    TreeModel& Items() { return items_; }
    const TreeModel& Items() const { return items_; }
    const std::string& FileName() const { return fileName_; }
    MenuItem* Submenu() const { return submenu_.Get(); }

    // The load at start: replaces the nodes with the file's list and builds the submenu in
    // place of what it holds (its placeholder). A parent link that names no node is reported;
    // the nodes before it stay, and the submenu keeps what it had until the next save. The
    // version on disk counts as read, even should the list come from elsewhere.
    void Load();
    // Writes the list to its file and rebuilds the submenu. A file that cannot be read or
    // written raises the error with the file and the submenu left as they were, and the list
    // counts as unsaved until a save succeeds.
    void Save();
    bool Unsaved() const { return unsaved_; }

    // Whether the file holds another version than the one the list last read or wrote:
    // somebody else changed it since. False while the file cannot be read.
    bool ChangedOnDisk() const;
    // Takes the file's version in place of the list (what it held unsaved included) and
    // rebuilds the submenu; a bad parent link is reported, the nodes before it stay.
    void Reload();
    // The folder reported a change: the list and its submenu follow the file, unless the
    // dialog shows the list or it holds unsaved changes (the next save asks then).
    void FollowFile();
    // The settings dialog shows the list, or no longer does.
    void SetEditing(bool editing) { editing_ = editing; }
    // From now on a change in the file's folder posts `message` to `window`, whose thread
    // then calls FollowFile.
    void Watch(HWND window, UINT message);

    // Where an unsaved list goes when the program ends: RescueFilePath() unless set.
    void SetRescueFileName(std::string fileName) { rescueFileName_ = std::move(fileName); }
    // When the list holds changes that never reached its file (a save failed, or the dialog
    // shows edits not saved yet), writes the whole list (with every other section the file
    // held) to the rescue file and, if `tell`, says where, once per rescue. Errors are shown,
    // not raised: the program is ending.
    void RescueUnsaved(bool tell);

    // An item with a fresh, empty entry as the last child of the node of that absolute
    // index, or at the end of the top level for kTopLevel.
    TreeNode* AddItemNode(int parentIndex, const std::string& name);
    // The node goes with its subtree, and so does the submenu item that carries its number now.
    // That item dates from the last build and may stand for another node by now; the next save
    // builds the whole submenu again.
    void DeleteNode(TreeNode* node);

    // Creates the submenu item of the node with that absolute index under `parent`.
    MenuItem* AddLaunchMenuItem(int index, MenuItem* parent, TreeNode* node);
    // The submenu's item that carries the number, from the last build; null when there is none.
    LaunchMenuItem* MenuItemOf(int nodeIndex) const;
    // Builds the submenu from the whole list; expects it to hold no items.
    void BuildLaunchMenu();
    // Runs after every build of the submenu: at the load, after a save, a drop, and a reload
    // (the answer to the question before a save, or an outside edit followed). Whatever was
    // learnt about the list before (its pictures) belongs to another list from then on.
    NotifyEvent OnMenuBuilt;
    // What a chosen submenu item with an entry does: starts the entry of the node that has the
    // item's number as the list stands now; "不正なインデックス" when no node has it.
    void StartEntry(int nodeIndex);

private:
    // Puts the document's list in place of the nodes; false after a bad parent link.
    bool Replace(const IniDocument& file);
    // The file's version now, nothing while it is missing or cannot be read.
    std::optional<FileVersion> DiskVersion() const;
    // The list's nodes and texts, as a save would write them.
    FileVersion ListVersion() const;
    // Takes every item out of the submenu, destroys those of the last build, builds anew.
    void RebuildLaunchMenu();
    void TakeOutLaunchItems();
    void DestroyLaunchItems();

    TreeModel items_;
    Watched<MenuItem> submenu_{*this};   // the main window's
    ShellOpenFunction open_;
    std::string fileName_;
    std::string rescueFileName_;
    FileVersion known_;    // the file's version as the list last read or wrote it
    FileVersion stored_;   // ListVersion() as the list was last read or written
    bool unsaved_ = false;
    bool editing_ = false;
    std::unique_ptr<FolderWatch> watch_;
};
