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
        text += LaunchMenuItemName(e.index) + " in " +
                (e.parent == kUnderLaunch ? std::string("Launch") : LaunchMenuItemName(e.parent)) + " \"" +
                e.caption + "\"" + (e.launches ? " launches" : "") + "\n";
    }
    return text;
}

}   // namespace

TEST(LaunchMenuPlanTest, NamesEveryNodeAfterItsIndexUnderItsParentsItem)
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
    EXPECT_EQ("AB0 in Launch \"Tools\"\n"
              "AB1 in AB0 \"Editor\" launches\n"
              "AB2 in AB0 \"-\" launches\n"
              "AB3 in AB0 \"Deeper\"\n"
              "AB4 in AB3 \"Deep\" launches\n"
              "AB5 in Launch \"Empty\"\n"
              "AB6 in Launch \"-\"\n"
              "AB7 in Launch \"-------- \" launches\n",
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
    EXPECT_EQ("AB0 in Launch \"n1\" launches\n"
              "AB1 in Launch \"n2\" launches\n"
              "AB2 in Launch \"n3\" launches\n"
              "AB3 in Launch \"n8\" launches\n",
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

TEST(LaunchMenuPlanTest, ReadsTheIndexBackFromAName)
{
    EXPECT_EQ(7, LaunchMenuItemIndex("AB7"));
    EXPECT_EQ(0, LaunchMenuItemIndex("AB0"));
    EXPECT_EQ(12345, LaunchMenuItemIndex("AB12345"));
    EXPECT_EQ(2147483647, LaunchMenuItemIndex("AB2147483647"));
    for (const char* name :
         {"", "AB", "A", "AB-1", "AB+1", "AB1x", "AB 1", "AB2147483648", "AB99999999999999999999"}) {
        EXPECT_FALSE(LaunchMenuItemIndex(name)) << name;
    }
}
