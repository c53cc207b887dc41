#include "launcher/launch_menu_plan.h"

#include "base/tree_model.h"
#include "launcher/launch_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Describe(const std::vector<LaunchMenuEntry>& plan)
{
    std::string text;
    for (const LaunchMenuEntry& e : plan) {
        text += "#" + std::to_string(e.index) + " in " +
                (e.parent == kUnderLaunch ? std::string("Launch") : "#" + std::to_string(e.parent)) + " \"" +
                e.caption + "\"" + (e.launches ? " launches" : "") + "\n";
    }
    return text;
}

}   // namespace

TEST(LaunchMenuPlanTest, NumbersEveryNodeByItsIndexUnderItsParentsItem)
{
    TreeModel tree;
    TreeNode* tools = AddFolderNode(tree, nullptr, "Tools");
    AddItemNode(tree, tools, "Editor");
    AddItemNode(tree, tools, kSeparatorName);
    TreeNode* deeper = AddFolderNode(tree, tools, "Deeper");
    AddItemNode(tree, deeper, "Deep");
    AddFolderNode(tree, nullptr, "Empty");
    AddFolderNode(tree, nullptr, kSeparatorName);
    AddItemNode(tree, nullptr, "-------- ");
    EXPECT_EQ("#0 in Launch \"Tools\"\n"
              "#1 in #0 \"Editor\" launches\n"
              "#2 in #0 \"-\" launches\n"
              "#3 in #0 \"Deeper\"\n"
              "#4 in #3 \"Deep\" launches\n"
              "#5 in Launch \"Empty\"\n"
              "#6 in Launch \"-\"\n"
              "#7 in Launch \"-------- \" launches\n",
              Describe(PlanLaunchMenu(tree)));
}

TEST(LaunchMenuPlanTest, FollowsTheTreeAfterItShrinks)
{
    TreeModel tree;
    for (int i = 0; i < 10; ++i) {
        AddItemNode(tree, nullptr, "n" + std::to_string(i));
    }
    tree.Delete(tree.Node(9));
    tree.Delete(tree.Node(0));
    tree.Delete(tree.Node(3));
    tree.Delete(tree.Node(3));
    tree.Delete(tree.Node(3));
    tree.Delete(tree.Node(3));
    EXPECT_EQ("#0 in Launch \"n1\" launches\n"
              "#1 in Launch \"n2\" launches\n"
              "#2 in Launch \"n3\" launches\n"
              "#3 in Launch \"n8\" launches\n",
              Describe(PlanLaunchMenu(tree)));
}

TEST(LaunchMenuPlanTest, StopsNestingAtTheDepthLimit)
{
    TreeModel tree;
    TreeNode* node = nullptr;
    for (int i = 0; i < kMaxLaunchMenuDepth + 50; ++i) {
        node = AddFolderNode(tree, node, "f");
    }
    AddItemNode(tree, tree.Node(kMaxLaunchMenuDepth - 2), "at the limit");
    AddItemNode(tree, nullptr, "after");
    const std::vector<LaunchMenuEntry> plan = PlanLaunchMenu(tree);
    ASSERT_EQ(static_cast<std::size_t>(kMaxLaunchMenuDepth + 2), plan.size());
    EXPECT_EQ(kMaxLaunchMenuDepth - 1, plan[kMaxLaunchMenuDepth - 1].index);
    EXPECT_EQ("at the limit", plan[kMaxLaunchMenuDepth].caption);
    EXPECT_EQ(kMaxLaunchMenuDepth - 2, plan[kMaxLaunchMenuDepth].parent);
    EXPECT_EQ(kMaxLaunchMenuDepth + 51, plan.back().index);
    EXPECT_EQ(kUnderLaunch, plan.back().parent);
}
