#include "launcher/launch_list.h"

#include "base/error.h"
#include "base/sjis.h"
#include "framework/application.h"
#include "framework/handles.h"
#include "framework/menu_item.h"
#include "framework/message_box.h"
#include "framework/module_path.h"
#include "launcher/folder_watch.h"
#include "launcher/ini_file.h"
#include "launcher/launch_entry.h"
#include "launcher/launch_file.h"
#include "launcher/launch_menu_item.h"
#include "launcher/launch_menu_plan.h"
#include "launcher/launch_tree.h"
#include "launcher/rescue_file.h"
#include "launcher/win32_file_ops.h"

#include <optional>
#include <string_view>
#include <vector>

std::string LaunchFilePath()
{
    return ModuleDirectory() + "LAUNCH.INI";
}

LaunchList::LaunchList(Component* owner, MenuItem* submenu, ShellOpenFunction open, std::string fileName)
    : Component(owner), open_(std::move(open)), fileName_(std::move(fileName))
{
    submenu_.Set(submenu);
}

LaunchList::~LaunchList()
{
    watch_.reset();
    if (submenu_) {
        for (int i = 0; i < submenu_->ComponentCount(); ++i) {
            auto* item = dynamic_cast<LaunchMenuItem*>(submenu_->Components(i));
            if (item && item->List() == this) {
                item->ForgetList();
            }
        }
    }
}

bool LaunchList::Replace(const IniDocument& file)
{
    unsaved_ = false;
    const bool complete = LoadLaunchTree(file, items_);
    stored_ = ListVersion();
    return complete;
}

FileVersion LaunchList::ListVersion() const
{
    // What a save writes of each node, without building the file: cheap enough for every load.
    std::string text;
    for (int i = 0; i < items_.Count(); ++i) {
        const TreeNode* node = items_.Node(i);
        const TreeNode* parent = node->Parent();
        text += std::to_string(parent ? parent->AbsoluteIndex() : -1) + '\0' + node->Text() + '\0';
        if (const LaunchEntry* entry = EntryOf(node)) {
            text += entry->File + '\0' + entry->Option + '\0' + entry->Dir + '\0';
        }
        text += '\n';
    }
    return FileVersion::Of(text);
}

std::optional<FileVersion> LaunchList::DiskVersion() const
{
    // A file that is gone (renamed away, being replaced), held, unreadable or damaged never
    // replaces the list: the one in memory is sounder. Read once, without waiting: this runs on
    // the user interface's thread.
    Win32FileOps ops;
    const FileContent content = ops.Read(fileName_);
    if (content.state != FileContent::State::Read) {
        return std::nullopt;
    }
    const LaunchDocument chosen = ChooseLaunchDocument(ops, fileName_, content);
    if (chosen.damage != Damage::None) {
        return std::nullopt;
    }
    return FileVersion::Of(chosen.document.Serialize());
}

bool LaunchList::ChangedOnDisk() const
{
    const std::optional<FileVersion> current = DiskVersion();
    return current && *current != known_;
}

void LaunchList::Reload()
{
    const IniDocument file = LoadIniFile(fileName_);
    known_ = FileVersion::Of(file.Serialize());
    const bool complete = Replace(file);
    // The submenu follows what was loaded, so that no item of it names a node of the list
    // that was replaced.
    RebuildLaunchMenu();
    if (!complete && application) {
        application->ShowException(kInvalidIndexMessage);
    }
}

void LaunchList::FollowFile()
{
    if (OnFileChange({known_, editing_, unsaved_}, DiskVersion()) == FileChangeAction::Follow) {
        Reload();
    }
}

void LaunchList::Watch(HWND window, UINT message)
{
    watch_.reset();
    watch_ = std::make_unique<FolderWatch>(ExtractFilePath(fileName_), window, message);
}

void LaunchList::RescueUnsaved(bool tell)
{
    if (!unsaved_ && !(editing_ && ListVersion() != stored_)) {
        return;
    }
    const std::string rescue = rescueFileName_.empty() ? RescueFilePath() : rescueFileName_;
    try {
        if (rescue.empty()) {
            throw Error(FormatMessageText("%s に書き込めません", fileName_));
        }
        // Whatever else the file held goes along; a file that cannot be read gives the list alone.
        IniDocument file = LoadIniFile(fileName_);
        SaveLaunchTree(items_, file);
        SaveIniFile(rescue, file);
        unsaved_ = false;
        if (tell && application) {
            const std::string_view pattern = kRescuedMessage;
            const std::size_t second = pattern.find("%s") + 2;
            application->MessageBox(FormatMessageText(pattern.substr(0, second), fileName_) +
                                    FormatMessageText(pattern.substr(second), rescue));
        }
    } catch (const Error& error) {
        if (tell && application) {
            application->ShowException(error.what());
        }
    }
}

void LaunchList::Load()
{
    // A damaged file gives the newest backup that loads, and a notice saying so.
    const LaunchFileAtStart start = LoadLaunchFileAtStart(fileName_);
    if (!start.notice.empty() && application) {
        ShowTaskModalMessageBox(application->Handle(), start.notice, application->Title(),
                                MB_OK | MB_ICONWARNING);
    }
    // What the disk holds, even when the list came from a backup: only a later change of the
    // file is one to follow.
    known_ = DiskVersion().value_or(FileVersion::Of(start.document.Serialize()));
    // At start loading stops at a parent link that names no node; the nodes before it stay,
    // and the submenu keeps its placeholder until the next save builds it.
    if (!Replace(start.document)) {
        if (application) {
            application->ShowException(kInvalidIndexMessage);
        }
        return;
    }
    RebuildLaunchMenu();
}

void LaunchList::Save()
{
    // Never from an empty document when the file is there but cannot be read: the save
    // would replace it with one that lost every section the list does not write.
    try {
        IniDocument file = LoadIniFileForSave(fileName_);
        SaveLaunchTree(items_, file);
        SaveIniFile(fileName_, file);
        // As written: the file layer may write other bytes than the document's (an empty list
        // as an empty "FOLDER" section).
        known_ = DiskVersion().value_or(FileVersion::Of(file.Serialize()));
        stored_ = ListVersion();
        unsaved_ = false;
    } catch (const Error&) {
        unsaved_ = true;
        throw;
    }
    RebuildLaunchMenu();
}

TreeNode* LaunchList::AddItemNode(int parentIndex, const std::string& name)
{
    return ::AddItemNode(items_, parentIndex, name);
}

void LaunchList::DeleteNode(TreeNode* node)
{
    if (!node) {
        return;
    }
    delete MenuItemOf(node->AbsoluteIndex());
    items_.Delete(node);
}

void LaunchList::RebuildLaunchMenu()
{
    TakeOutLaunchItems();
    DestroyLaunchItems();
    BuildLaunchMenu();
}

MenuItem* LaunchList::AddLaunchMenuItem(int index, MenuItem* parent, TreeNode* node)
{
    const LaunchMenuEntry entry = PlanLaunchMenuItem(index, *node);
    auto* item = new LaunchMenuItem(submenu_.Get(), *this, entry.index, entry.launches);
    item->SetCaption(entry.caption);
    item->SetImageIndex(-1);
    parent->Add(item);
    return item;
}

LaunchMenuItem* LaunchList::MenuItemOf(int nodeIndex) const
{
    if (!submenu_) {
        return nullptr;
    }
    for (int i = 0; i < submenu_->ComponentCount(); ++i) {
        auto* item = dynamic_cast<LaunchMenuItem*>(submenu_->Components(i));
        if (item && item->NodeIndex() == nodeIndex) {
            return item;
        }
    }
    return nullptr;
}

void LaunchList::BuildLaunchMenu()
{
    if (!submenu_) {
        return;
    }
    // The items of this build by absolute index: every other item the submenu owned is gone,
    // so this finds a parent's item as a look-up by its number among them would.
    std::vector<MenuItem*> items(items_.Count(), nullptr);
    for (const LaunchMenuEntry& entry : PlanLaunchMenu(items_)) {
        MenuItem* parent = entry.parent == kUnderLaunch ? submenu_.Get() : items[entry.parent];
        if (parent) {
            items[entry.index] = AddLaunchMenuItem(entry.index, parent, items_.Node(entry.index));
        }
    }
    if (OnMenuBuilt) {
        OnMenuBuilt(this);
    }
}

void LaunchList::TakeOutLaunchItems()
{
    if (!submenu_) {
        return;
    }
    // Taking out is not destroying: the placeholder "(なし)" belongs to the main window.
    while (submenu_->Count() > 0) {
        submenu_->Delete(submenu_->Count() - 1);
    }
}

void LaunchList::DestroyLaunchItems()
{
    if (!submenu_) {
        return;
    }
    // Destroying an item takes its subitems with it, which the submenu owns as well.
    while (submenu_->ComponentCount() > 0) {
        delete submenu_->Components(submenu_->ComponentCount() - 1);
    }
}

void LaunchList::StartEntry(int nodeIndex)
{
    const TreeNode* node = items_.Node(nodeIndex);
    if (!node) {
        throw Error(kInvalidIndexMessage);
    }
    const LaunchEntry* entry = EntryOf(node);
    if (!entry || !open_) {
        return;
    }
    // Copies: the shell may run a message loop (its own error box) in which the dialog
    // could change the list.
    const std::string file = entry->File;
    const std::string option = entry->Option;
    const std::string dir = entry->Dir;
    // Nothing waits for the started program: its handle is closed at once.
    UniqueKernelHandle process(open_(file, option, "open", dir, SW_SHOW));
}
