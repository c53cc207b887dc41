// An ordered tree of named nodes with two picture indexes and owned data, numbered
// parent-first. Portable: a tree control only mirrors it.
#pragma once

#include <memory>
#include <string>
#include <vector>

class TreeModel;

// What a node carries besides its name and pictures; the node owns it.
class TreeNodeData {
public:
    virtual ~TreeNodeData() = default;
};

class TreeNode {
public:
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;
    // Takes the whole subtree apart without recursion, however deep it is.
    ~TreeNode();

    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int index);

    // Null when the node carries nothing.
    TreeNodeData* Data() const { return data_.get(); }
    void SetData(std::unique_ptr<TreeNodeData> data) { data_ = std::move(data); }

    // Null for a node at the top level.
    TreeNode* Parent() const;
    int Count() const { return static_cast<int>(children_.size()); }
    TreeNode* Item(int index) const { return children_[index].get(); }
    // The position among its siblings.
    int Index() const;
    // Whether `node` is this node or lies in its subtree.
    bool Contains(const TreeNode* node) const;

    // The position in the parent-first, depth-first order of the whole tree, from 0.
    int AbsoluteIndex() const;
    TreeModel& Model() const { return *model_; }

private:
    friend class TreeModel;
    TreeNode(TreeModel* model, TreeNode* parent, std::string text);

    TreeModel* model_;   // not owned
    TreeNode* parent_;   // not owned; the hidden root for top-level nodes
    std::vector<std::unique_ptr<TreeNode>> children_;
    std::unique_ptr<TreeNodeData> data_;
    std::string text_;
    int imageIndex_ = -1;
    int selectedIndex_ = -1;
    mutable int absoluteIndex_ = -1;   // valid while the model's order is
};

// Told about every change, so that a view can follow the model.
class TreeObserver {
public:
    // The node was added; it has no children yet.
    virtual void NodeAdded(TreeNode* node) = 0;
    // The node's text or pictures changed.
    virtual void NodeChanged(TreeNode* node) = 0;
    // The node and its subtree are about to go.
    virtual void NodeDeleting(TreeNode* node) = 0;
    // The node has been moved with its subtree.
    virtual void NodeMoved(TreeNode* node) = 0;
    // Every node has gone.
    virtual void Cleared() = 0;

protected:
    ~TreeObserver() = default;
};

class TreeModel {
public:
    TreeModel();
    ~TreeModel();
    TreeModel(const TreeModel&) = delete;
    TreeModel& operator=(const TreeModel&) = delete;

    // All nodes, at every depth.
    int Count() const { return count_; }
    // The node at that absolute index, or null outside 0 .. Count() - 1.
    TreeNode* Node(int absoluteIndex) const;
    int TopCount() const { return root_->Count(); }
    TreeNode* Top(int index) const { return root_->Item(index); }

    // A new node as the last child of `parent`, or as the last top-level node when
    // `parent` is null, carrying `data` from the start.
    TreeNode* AddChild(TreeNode* parent, std::string text, std::unique_ptr<TreeNodeData> data = nullptr);
    // Removes the node with its whole subtree and what they carry.
    void Delete(TreeNode* node);
    void Clear();

    // Moves the node with its subtree. Nothing moves, and the result is false, when the
    // destination lies inside the moved subtree (the node itself included).
    // Parent null: the last node of the top level.
    bool MoveToLastChild(TreeNode* node, TreeNode* parent);
    bool MoveToFirstChild(TreeNode* node, TreeNode* parent);
    // Right after `sibling`, on its level.
    bool MoveAfter(TreeNode* node, TreeNode* sibling);

    // One observer at a time; not owned. Null for none.
    void SetObserver(TreeObserver* observer) { observer_ = observer; }

private:
    friend class TreeNode;

    TreeNode* Own(TreeNode* parent) const { return parent ? parent : root_.get(); }
    bool MoveTo(TreeNode* node, TreeNode* parent, int index);
    void NodeChanged(TreeNode* node);
    // Brings order_ and every node's absolute index up to date after structural changes.
    void EnsureOrder() const;

    std::unique_ptr<TreeNode> root_;   // hidden: its children are the top level
    int count_ = 0;
    TreeObserver* observer_ = nullptr;   // not owned
    // Every node in absolute order. Appends that land at the end keep it valid; any other
    // change marks it stale, and the next look-up renumbers the whole tree once.
    mutable std::vector<TreeNode*> order_;
    mutable bool orderValid_ = true;
};
