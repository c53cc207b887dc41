#include "base/tree_model.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Data that counts how many of its kind are alive, to see a node release what it carries.
struct Counted : TreeNodeData {
    explicit Counted(int& alive) : alive_(alive) { ++alive_; }
    ~Counted() override { --alive_; }
    int& alive_;
};

// Every node in absolute order as "name/parent name", "-" for the top level.
std::string Listing(const TreeModel& tree)
{
    std::string text;
    for (int i = 0; i < tree.Count(); ++i) {
        const TreeNode* node = tree.Node(i);
        EXPECT_EQ(i, node->AbsoluteIndex());
        text += node->Text() + "/" + (node->Parent() ? node->Parent()->Text() : "-") + " ";
    }
    return text;
}

struct Recorder : TreeObserver {
    void NodeAdded(TreeNode* node) override { events.push_back("add " + node->Text()); }
    void NodeChanged(TreeNode* node) override { events.push_back("change " + node->Text()); }
    void NodeDeleting(TreeNode* node) override { events.push_back("delete " + node->Text()); }
    void NodeMoved(TreeNode* node) override { events.push_back("move " + node->Text()); }
    void Cleared() override { events.push_back("clear"); }
    std::vector<std::string> events;
};

}   // namespace

TEST(TreeModelTest, NumbersNodesParentFirstWhereverTheyAreAdded)
{
    TreeModel tree;
    TreeNode* a = tree.AddChild(nullptr, "A");
    TreeNode* b = tree.AddChild(nullptr, "B");
    tree.AddChild(b, "B1");
    // Under an earlier node: every later number shifts.
    TreeNode* a1 = tree.AddChild(a, "A1");
    tree.AddChild(a1, "A11");
    tree.AddChild(a, "A2");
    EXPECT_EQ("A/- A1/A A11/A1 A2/A B/- B1/B ", Listing(tree));
    EXPECT_EQ(6, tree.Count());
    EXPECT_EQ(2, tree.TopCount());
    EXPECT_EQ(b, tree.Top(1));
    EXPECT_EQ(nullptr, tree.Node(6));
    EXPECT_EQ(nullptr, tree.Node(-1));
    EXPECT_EQ(0, a1->Index());
    EXPECT_EQ(1, tree.Node(3)->Index());
    EXPECT_TRUE(a->Contains(tree.Node(2)));
    EXPECT_FALSE(a1->Contains(a));
}

TEST(TreeModelTest, DeleteTakesTheSubtreeAndWhatItCarries)
{
    TreeModel tree;
    int alive = 0;
    TreeNode* a = tree.AddChild(nullptr, "A", std::make_unique<Counted>(alive));
    TreeNode* a1 = tree.AddChild(a, "A1", std::make_unique<Counted>(alive));
    tree.AddChild(a1, "A11", std::make_unique<Counted>(alive));
    tree.AddChild(nullptr, "B", std::make_unique<Counted>(alive));
    ASSERT_EQ(4, alive);

    tree.Delete(a1);
    EXPECT_EQ(2, alive);
    EXPECT_EQ("A/- B/- ", Listing(tree));
    // The last node, whose removal keeps the numbers before it.
    tree.Delete(tree.Node(1));
    EXPECT_EQ("A/- ", Listing(tree));
    tree.AddChild(nullptr, "C");
    EXPECT_EQ("A/- C/- ", Listing(tree));
    tree.Clear();
    EXPECT_EQ(0, alive);
    EXPECT_EQ(0, tree.Count());
    EXPECT_EQ(nullptr, tree.Node(0));
}

TEST(TreeModelTest, MovesSubtreesButNeverIntoThemselves)
{
    TreeModel tree;
    TreeNode* f = tree.AddChild(nullptr, "F");
    TreeNode* f1 = tree.AddChild(f, "F1");
    TreeNode* g = tree.AddChild(nullptr, "G");
    TreeNode* i = tree.AddChild(nullptr, "I");

    EXPECT_TRUE(tree.MoveToFirstChild(i, f));
    EXPECT_EQ("F/- I/F F1/F G/- ", Listing(tree));
    EXPECT_TRUE(tree.MoveAfter(g, f1));
    EXPECT_EQ("F/- I/F F1/F G/F ", Listing(tree));
    // After a sibling that comes later on the same level.
    EXPECT_TRUE(tree.MoveAfter(i, f1));
    EXPECT_EQ("F/- F1/F I/F G/F ", Listing(tree));
    EXPECT_TRUE(tree.MoveToLastChild(f1, nullptr));
    EXPECT_EQ("F/- I/F G/F F1/- ", Listing(tree));

    // The whole subtree goes along.
    TreeNode* g1 = tree.AddChild(g, "G1");
    EXPECT_TRUE(tree.MoveToLastChild(g, nullptr));
    EXPECT_EQ("F/- I/F F1/- G/- G1/G ", Listing(tree));

    EXPECT_FALSE(tree.MoveToFirstChild(g, g));
    EXPECT_FALSE(tree.MoveToLastChild(g, g1));
    EXPECT_FALSE(tree.MoveAfter(g, g1));
    EXPECT_FALSE(tree.MoveAfter(g, g));
    EXPECT_EQ("F/- I/F F1/- G/- G1/G ", Listing(tree));
}

TEST(TreeModelTest, TellsItsObserverAboutEveryChange)
{
    TreeModel tree;
    Recorder recorder;
    tree.SetObserver(&recorder);
    TreeNode* a = tree.AddChild(nullptr, "A");
    TreeNode* b = tree.AddChild(a, "B");
    b->SetText("B2");
    b->SetText("B2");   // unchanged: no event
    b->SetImageIndex(3);
    b->SetSelectedIndex(4);
    EXPECT_EQ(3, b->ImageIndex());
    EXPECT_EQ(4, b->SelectedIndex());
    tree.MoveToLastChild(b, nullptr);
    tree.Delete(a);
    tree.Clear();
    tree.SetObserver(nullptr);
    tree.AddChild(nullptr, "unseen");
    EXPECT_EQ((std::vector<std::string>{"add A", "add B", "change B2", "change B2", "change B2", "move B2",
                                        "delete A", "clear"}),
              recorder.events);
}

TEST(TreeModelTest, HandlesAChainOneHundredThousandDeep)
{
    constexpr int kDepth = 100000;
    auto tree = std::make_unique<TreeModel>();
    TreeNode* node = nullptr;
    for (int i = 0; i < kDepth; ++i) {
        node = tree->AddChild(node, "n");
    }
    EXPECT_EQ(kDepth - 1, node->AbsoluteIndex());
    EXPECT_EQ(node, tree->Node(kDepth - 1));

    // A top-level node put first renumbers the whole chain.
    TreeNode* first = tree->AddChild(nullptr, "first");
    tree->MoveToFirstChild(first, nullptr);
    EXPECT_EQ(kDepth, node->AbsoluteIndex());
    EXPECT_FALSE(tree->MoveToLastChild(tree->Node(1), node));

    // Half of it goes by deletion, the rest with the model.
    tree->Delete(tree->Node(kDepth / 2));
    EXPECT_EQ(kDepth / 2, tree->Count());
    tree.reset();
}
