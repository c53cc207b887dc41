// What the launcher submenu holds for a tree: one item per node, carrying the node's absolute
// index, placed under the item of its parent. The Win32 side builds exactly this.
#pragma once

#include "base/tree_model.h"

#include <string>
#include <vector>

inline constexpr int kUnderLaunch = -1;

// How deep submenus nest. The platform takes a menu apart recursively, one level per
// nesting, and a list nested thousands of levels deep would overflow its stack every time
// the pop-up menu closes; nodes below this depth get no item, as if their parent had none.
inline constexpr int kMaxLaunchMenuDepth = 100;

struct LaunchMenuEntry {
    int index;    // the node's absolute index, which the item carries
    int parent;   // the absolute index of the node whose item holds this one, or kUnderLaunch
    std::string caption;
    bool launches;   // the node has an entry: the item's click starts it
};

// The node's name, or "-" (a separator line) for a name of exactly "--------".
std::string LaunchMenuCaption(const std::string& nodeName);

// The item of one node, which has that absolute index.
LaunchMenuEntry PlanLaunchMenuItem(int index, const TreeNode& node);
// The items in absolute order, parents before their children, down to
// kMaxLaunchMenuDepth levels.
std::vector<LaunchMenuEntry> PlanLaunchMenu(const TreeModel& tree);
