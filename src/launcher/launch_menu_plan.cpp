#include "launcher/launch_menu_plan.h"

#include "launcher/launch_entry.h"
#include "launcher/launch_tree.h"

#include <utility>

std::string LaunchMenuCaption(const std::string& nodeName)
{
    return nodeName == kSeparatorName ? std::string("-") : nodeName;
}

LaunchMenuEntry PlanLaunchMenuItem(int index, const TreeNode& node)
{
    const TreeNode* parent = node.Parent();
    return {index, parent ? parent->AbsoluteIndex() : kUnderLaunch, LaunchMenuCaption(node.Text()),
            EntryOf(&node) != nullptr};
}

std::vector<LaunchMenuEntry> PlanLaunchMenu(const TreeModel& tree)
{
    std::vector<LaunchMenuEntry> plan;
    plan.reserve(tree.Count());
    // Levels below Launch by absolute index; parents come first, so theirs is known.
    std::vector<int> depth(tree.Count());
    for (int i = 0; i < tree.Count(); ++i) {
        LaunchMenuEntry entry = PlanLaunchMenuItem(i, *tree.Node(i));
        depth[i] = entry.parent == kUnderLaunch ? 1 : depth[entry.parent] + 1;
        if (depth[i] <= kMaxLaunchMenuDepth) {
            plan.push_back(std::move(entry));
        }
    }
    return plan;
}
