// The launcher tree's kinds of node and how they are made: a folder has no entry, an item
// has one, and an item named "--------" is a separator.
#pragma once

#include "base/tree_model.h"

#include <string>

inline constexpr char kSeparatorName[] = "--------";
inline constexpr char kNewFolderName[] = "新規フォルダ";
inline constexpr char kNewItemName[] = "新規項目";

// Positions in the launcher's three pictures (closed folder, open folder, window); 3 is
// past the list, so a node showing it shows no picture.
inline constexpr int kFolderImage = 0;
inline constexpr int kOpenFolderImage = 1;
inline constexpr int kItemImage = 2;
inline constexpr int kNoImage = 3;

// The absolute index that stands for the top level where a parent index is expected.
inline constexpr int kTopLevel = -2;

// "不正なインデックス": a number that names no node of the tree.
inline constexpr char kInvalidIndexMessage[] = "不正なインデックス";

bool IsSeparator(const TreeNode& node);
// A node without an entry.
bool IsFolder(const TreeNode& node);

// A folder as the last child of `parent` (the top level for null), with the folder
// pictures.
TreeNode* AddFolderNode(TreeModel& tree, TreeNode* parent, std::string name);
// An item with a fresh, empty entry as the last child of `parent` (the top level for
// null), with the window picture.
TreeNode* AddItemNode(TreeModel& tree, TreeNode* parent, std::string name);
// The same under the node of that absolute index, or at the top level for kTopLevel.
// Throws Error(kInvalidIndexMessage) when the index names no node.
TreeNode* AddItemNode(TreeModel& tree, int parentIndex, std::string name);
// A separator as the dialog makes it: an item named "--------" with a fresh, empty entry and
// picture 3, which shows none.
TreeNode* AddSeparatorNode(TreeModel& tree, TreeNode* parent);

// Where a node made while `selected` is selected goes, as the last child: into a selected
// folder, beside a selected item or separator (never under it), and at the top level (null)
// when nothing is selected.
TreeNode* NewNodeParent(TreeNode* selected);

// Whether dropping `dragged` on `target` (null: the tree's empty space) would move it: never
// into its own subtree, and a node dropped on itself stays.
bool CanDrop(const TreeNode& dragged, const TreeNode* target);
// Moves `dragged` with its subtree for a drop on `target`: to the end of the top level for
// none, as the first child into a folder, right after an item or separator on its level.
// Returns whether it moved; it does not when CanDrop says no.
bool DropNode(TreeModel& tree, TreeNode& dragged, TreeNode* target);
