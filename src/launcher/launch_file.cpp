#include "launcher/launch_file.h"

#include "base/integer.h"
#include "launcher/launch_entry.h"
#include "launcher/launch_tree.h"
#include "launcher/preorder_index.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr char kFolderSection[] = "FOLDER";
constexpr char kParentSection[] = "PARENT";
constexpr char kNodeSection[] = "ExecInfo";
constexpr std::int32_t kEndOfList = -1;
// A stored parent link is the parent's absolute index minus one, so that a child of node 0
// stores -1; the top level stores -2.
constexpr std::int32_t kStoredTopLevel = -2;

}   // namespace

bool LoadLaunchTree(const IniDocument& file, TreeModel& tree)
{
    tree.Clear();
    // A link names a position in the tree as built so far; positions shift whenever a node
    // goes under an earlier one, so they are kept in an index of their own rather than
    // renumbering the tree after every node.
    PreorderIndex positions;
    std::vector<TreeNode*> loaded;
    for (std::int64_t i = 0;; ++i) {
        const std::string number = IntegerText(i);
        const std::int32_t kind = file.ReadInteger(kFolderSection, "ITEM" + number, kEndOfList);
        if (kind == kEndOfList) {
            return true;
        }
        const bool folder = kind != 0;
        std::int64_t link = file.ReadInteger(kParentSection, "NODE" + number, kStoredTopLevel);
        if (link != kStoredTopLevel) {
            ++link;
        }
        TreeNode* parent = nullptr;
        int parentNumber = -1;
        if (link != kStoredTopLevel) {
            if (link < 0 || link >= i) {
                return false;
            }
            parentNumber = positions.At(static_cast<int>(link));
            parent = loaded[parentNumber];
        }
        const std::string section = kNodeSection + number;
        std::string name = file.ReadString(section, "NAME", folder ? kNewFolderName : kNewItemName);
        if (folder) {
            loaded.push_back(AddFolderNode(tree, parent, std::move(name)));
        } else {
            TreeNode* node = AddItemNode(tree, parent, std::move(name));
            LaunchEntry* entry = EntryOf(node);
            entry->File = file.ReadString(section, "FILE", "");
            entry->Option = file.ReadString(section, "OPTION", "");
            entry->Dir = file.ReadString(section, "DIR", "");
            loaded.push_back(node);
        }
        positions.Append(parentNumber);
    }
}

void SaveLaunchTree(const TreeModel& tree, IniDocument& file)
{
    // Erasing a section uncovers a later one of the same name. Its kind flags past the last
    // node would come back as nodes that were never saved, so those sections go as well.
    const std::string pastTheEnd = "ITEM" + IntegerText(tree.Count());
    do {
        file.EraseSection(kFolderSection);
    } while (file.Read(kFolderSection, pastTheEnd));
    file.EraseSection(kParentSection);
    for (int i = 0; i < tree.Count(); ++i) {
        const TreeNode* node = tree.Node(i);
        const std::string number = IntegerText(i);
        const std::string section = kNodeSection + number;
        file.EraseSection(section);
        const TreeNode* parent = node->Parent();
        file.Write(kParentSection, "NODE" + number,
                   parent ? IntegerText(std::int64_t{parent->AbsoluteIndex()} - 1)
                          : IntegerText(kStoredTopLevel));
        const LaunchEntry* entry = EntryOf(node);
        file.Write(kFolderSection, "ITEM" + number, entry ? "0" : "1");
        // Texts go in so that they load exactly as typed, blanks and quotes included.
        file.Write(section, "NAME", IniDocument::LiteralValue(node->Text()));
        if (entry) {
            file.Write(section, "FILE", IniDocument::LiteralValue(entry->File));
            file.Write(section, "OPTION", IniDocument::LiteralValue(entry->Option));
            file.Write(section, "DIR", IniDocument::LiteralValue(entry->Dir));
        }
    }
}
