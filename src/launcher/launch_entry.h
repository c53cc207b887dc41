// The launch entry that an item node of the launcher tree owns.
#pragma once

#include "base/tree_model.h"

#include <string>

struct LaunchEntry : TreeNodeData {
    std::string File;     // the program, document or folder to open
    std::string Option;   // the command-line parameters passed with it
    std::string Dir;      // the working directory
};

// The node's entry, or null for a folder (or no node).
inline LaunchEntry* EntryOf(const TreeNode* node)
{
    return node ? dynamic_cast<LaunchEntry*>(node->Data()) : nullptr;
}
