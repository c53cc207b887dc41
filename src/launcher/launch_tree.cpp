#include "launcher/launch_tree.h"

#include "base/error.h"
#include "launcher/launch_entry.h"

#include <memory>

bool IsSeparator(const TreeNode& node)
{
    return node.Text() == kSeparatorName;
}

bool IsFolder(const TreeNode& node)
{
    return EntryOf(&node) == nullptr;
}

TreeNode* AddFolderNode(TreeModel& tree, TreeNode* parent, std::string name)
{
    TreeNode* node = tree.AddChild(parent, std::move(name));
    node->SetImageIndex(kFolderImage);
    node->SetSelectedIndex(kOpenFolderImage);
    return node;
}

TreeNode* AddItemNode(TreeModel& tree, TreeNode* parent, std::string name)
{
    // The entry is in place before anyone watching the tree hears of the node.
    TreeNode* node = tree.AddChild(parent, std::move(name), std::make_unique<LaunchEntry>());
    node->SetImageIndex(kItemImage);
    node->SetSelectedIndex(kItemImage);
    return node;
}

TreeNode* AddItemNode(TreeModel& tree, int parentIndex, std::string name)
{
    TreeNode* parent = nullptr;
    if (parentIndex != kTopLevel) {
        parent = tree.Node(parentIndex);
        if (!parent) {
            throw Error(kInvalidIndexMessage);
        }
    }
    return AddItemNode(tree, parent, std::move(name));
}

TreeNode* AddSeparatorNode(TreeModel& tree, TreeNode* parent)
{
    TreeNode* node = tree.AddChild(parent, kSeparatorName, std::make_unique<LaunchEntry>());
    node->SetImageIndex(kNoImage);
    node->SetSelectedIndex(kNoImage);
    return node;
}

TreeNode* NewNodeParent(TreeNode* selected)
{
    if (!selected) {
        return nullptr;
    }
    return IsFolder(*selected) ? selected : selected->Parent();
}

bool CanDrop(const TreeNode& dragged, const TreeNode* target)
{
    return !target || !dragged.Contains(target);
}

bool DropNode(TreeModel& tree, TreeNode& dragged, TreeNode* target)
{
    if (!CanDrop(dragged, target)) {
        return false;
    }
    if (!target) {
        return tree.MoveToLastChild(&dragged, nullptr);
    }
    if (IsFolder(*target)) {
        return tree.MoveToFirstChild(&dragged, target);
    }
    return tree.MoveAfter(&dragged, target);
}
