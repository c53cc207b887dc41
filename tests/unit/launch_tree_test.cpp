// Where the dialog's buttons put new nodes and where a dragged node lands, on the tree model.
#include "launcher/launch_tree.h"

#include "base/integer.h"
#include "base/tree_model.h"
#include "launcher/launch_entry.h"

#include "launch_listing.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TreeNode* Item(TreeModel& tree, TreeNode* parent, const std::string& name)
{
    TreeNode* node = AddItemNode(tree, parent, name);
    EntryOf(node)->File = "C:\\" + name;
    return node;
}

// F { a, b, S }, G { }, t: a folder with two items and a separator, an empty folder, an item.
struct Sample {
    TreeModel tree;
    TreeNode* f = AddFolderNode(tree, nullptr, "F");
    TreeNode* a = Item(tree, f, "a");
    TreeNode* b = Item(tree, f, "b");
    TreeNode* s = AddSeparatorNode(tree, f);
    TreeNode* g = AddFolderNode(tree, nullptr, "G");
    TreeNode* t = Item(tree, nullptr, "t");
};

}   // namespace

TEST(LaunchTreeTest, NewNodesGoWhereTheSelectionSays)
{
    Sample sample;
    TreeModel& tree = sample.tree;
    // Nothing selected: the end of the top level, for each of the three buttons.
    AddFolderNode(tree, NewNodeParent(nullptr), kNewFolderName);
    Item(tree, NewNodeParent(nullptr), kNewItemName);
    AddSeparatorNode(tree, NewNodeParent(nullptr));
    // A folder: its last child. An item or a separator in a folder: the end of that folder,
    // never under the item. A top-level item: the end of the top level.
    AddFolderNode(tree, NewNodeParent(sample.g), "in G");
    Item(tree, NewNodeParent(sample.a), "beside a");
    AddSeparatorNode(tree, NewNodeParent(sample.s));
    Item(tree, NewNodeParent(sample.t), "beside t");
    EXPECT_EQ("F 0/1\n"
              "  a 2/2 [C:\\a]\n"
              "  b 2/2 [C:\\b]\n"
              "  -------- 3/3 []\n"
              "  beside a 2/2 [C:\\beside a]\n"
              "  -------- 3/3 []\n"
              "G 0/1\n"
              "  in G 0/1\n"
              "t 2/2 [C:\\t]\n"
              "新規フォルダ 0/1\n"
              "新規項目 2/2 [C:\\新規項目]\n"
              "-------- 3/3 []\n"
              "beside t 2/2 [C:\\beside t]\n",
              Listing(tree, EntryTexts::kFile));
    EXPECT_TRUE(IsFolder(*sample.g));
    EXPECT_FALSE(IsFolder(*sample.s));
    EXPECT_TRUE(IsSeparator(*sample.s));
}

TEST(LaunchTreeTest, ADropMovesTheNodeWithItsSubtreeAsTheTargetSays)
{
    Sample sample;
    TreeModel& tree = sample.tree;
    // On empty space: the end of the top level, also for the very first node, which takes
    // its subtree along with names, entries and pictures.
    EXPECT_TRUE(DropNode(tree, *sample.f, nullptr));
    EXPECT_EQ("G 0/1\nt 2/2 [C:\\t]\nF 0/1\n  a 2/2 [C:\\a]\n  b 2/2 [C:\\b]\n  -------- 3/3 []\n",
              Listing(tree, EntryTexts::kFile));
    // On a folder: its first child, before the children it has.
    EXPECT_TRUE(DropNode(tree, *sample.t, sample.f));
    EXPECT_TRUE(DropNode(tree, *sample.g, sample.f));
    EXPECT_EQ("F 0/1\n  G 0/1\n  t 2/2 [C:\\t]\n  a 2/2 [C:\\a]\n  b 2/2 [C:\\b]\n  -------- 3/3 []\n",
              Listing(tree, EntryTexts::kFile));
    // On an item that has a sibling after it: right after it, on its level; from a deeper
    // level as from an earlier place on the same level.
    EXPECT_TRUE(DropNode(tree, *sample.s, sample.t));
    EXPECT_TRUE(DropNode(tree, *sample.g, sample.a));
    EXPECT_EQ("F 0/1\n  t 2/2 [C:\\t]\n  -------- 3/3 []\n  a 2/2 [C:\\a]\n  G 0/1\n  b 2/2 [C:\\b]\n",
              Listing(tree, EntryTexts::kFile));
    // On the last node of its level (an item, then a separator): the end of that level.
    TreeNode* top = Item(tree, nullptr, "top");
    EXPECT_TRUE(DropNode(tree, *top, sample.b));
    EXPECT_TRUE(DropNode(tree, *sample.s, top));
    EXPECT_TRUE(DropNode(tree, *sample.t, sample.s));
    EXPECT_EQ("F 0/1\n  a 2/2 [C:\\a]\n  G 0/1\n  b 2/2 [C:\\b]\n  top 2/2 [C:\\top]\n  -------- 3/3 []\n"
              "  t 2/2 [C:\\t]\n",
              Listing(tree, EntryTexts::kFile));
    EXPECT_EQ(sample.f, top->Parent());
}

TEST(LaunchTreeTest, ANodeNeverMovesIntoItsOwnSubtree)
{
    Sample sample;
    TreeModel& tree = sample.tree;
    TreeNode* inner = AddFolderNode(tree, sample.f, "inner");
    TreeNode* deep = Item(tree, inner, "deep");
    const std::string before = Listing(tree, EntryTexts::kFile);
    // Onto itself, a child, a grandchild; an item onto itself stays as well.
    for (TreeNode* target : {sample.f, sample.a, inner, deep}) {
        EXPECT_FALSE(CanDrop(*sample.f, target));
        EXPECT_FALSE(DropNode(tree, *sample.f, target));
    }
    EXPECT_FALSE(DropNode(tree, *sample.a, sample.a));
    EXPECT_EQ(before, Listing(tree, EntryTexts::kFile));
    EXPECT_TRUE(CanDrop(*inner, sample.f));
    EXPECT_TRUE(CanDrop(*sample.f, nullptr));
}

TEST(LaunchTreeTest, DropsWorkOnAChainAHundredThousandDeepAndOnAHundredThousandSiblings)
{
    constexpr int kCount = 100000;
    TreeModel tree;
    TreeNode* target = AddFolderNode(tree, nullptr, "target");
    TreeNode* chain = AddFolderNode(tree, nullptr, "chain");
    TreeNode* deepest = chain;
    for (int i = 1; i < kCount; ++i) {
        deepest = AddFolderNode(tree, deepest, "n");
    }
    // Into its own bottom: refused after one walk up the chain, no recursion.
    EXPECT_FALSE(DropNode(tree, *chain, deepest));
    // The whole chain into another folder, and its bottom node back to the top level.
    EXPECT_TRUE(DropNode(tree, *chain, target));
    EXPECT_EQ(kCount, deepest->AbsoluteIndex());
    EXPECT_TRUE(DropNode(tree, *deepest, nullptr));
    EXPECT_EQ(2, tree.TopCount());
    EXPECT_EQ(kCount, deepest->AbsoluteIndex());
    // The chain leaves with everything in it.
    tree.Delete(target);
    EXPECT_EQ(1, tree.Count());

    for (int i = 0; i < kCount; ++i) {
        AddItemNode(tree, nullptr, IntegerText(i));
    }
    EXPECT_TRUE(DropNode(tree, *deepest, nullptr));
    EXPECT_EQ(kCount, deepest->AbsoluteIndex());
    EXPECT_TRUE(DropNode(tree, *deepest, tree.Node(0)));
    EXPECT_EQ(1, deepest->AbsoluteIndex());
}
