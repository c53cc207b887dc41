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

// A folder as the last child of `parent` (the top level for null), with the folder
// pictures.
TreeNode* AddFolderNode(TreeModel& tree, TreeNode* parent, std::string name);
// An item with a fresh, empty entry as the last child of `parent` (the top level for
// null), with the window picture.
TreeNode* AddItemNode(TreeModel& tree, TreeNode* parent, std::string name);
// The same under the node of that absolute index, or at the top level for kTopLevel.
// Throws Error(kInvalidIndexMessage) when the index names no node.
TreeNode* AddItemNode(TreeModel& tree, int parentIndex, std::string name);
