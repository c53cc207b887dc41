#include "base/tree_model.h"

#include <algorithm>
#include <utility>

TreeNode::TreeNode(TreeModel* model, TreeNode* parent, std::string text)
    : model_(model), parent_(parent), text_(std::move(text))
{
}

TreeNode::~TreeNode()
{
    // Each node leaves with its children already taken away, so no destructor below this
    // one ever has anything to destroy: a chain 100,000 deep costs no stack.
    std::vector<std::unique_ptr<TreeNode>> pending = std::move(children_);
    while (!pending.empty()) {
        std::unique_ptr<TreeNode> node = std::move(pending.back());
        pending.pop_back();
        for (std::unique_ptr<TreeNode>& child : node->children_) {
            pending.push_back(std::move(child));
        }
        node->children_.clear();
    }
}

void TreeNode::SetText(std::string text)
{
    if (text_ == text) {
        return;
    }
    text_ = std::move(text);
    model_->NodeChanged(this);
}

void TreeNode::SetImageIndex(int index)
{
    if (imageIndex_ == index) {
        return;
    }
    imageIndex_ = index;
    model_->NodeChanged(this);
}

void TreeNode::SetSelectedIndex(int index)
{
    if (selectedIndex_ == index) {
        return;
    }
    selectedIndex_ = index;
    model_->NodeChanged(this);
}

TreeNode* TreeNode::Parent() const
{
    // The hidden root is the only node without a parent of its own.
    return parent_ && parent_->parent_ ? parent_ : nullptr;
}

int TreeNode::Index() const
{
    const auto& siblings = parent_->children_;
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].get() == this) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool TreeNode::Contains(const TreeNode* node) const
{
    for (; node; node = node->parent_) {
        if (node == this) {
            return true;
        }
    }
    return false;
}

int TreeNode::AbsoluteIndex() const
{
    model_->EnsureOrder();
    return absoluteIndex_;
}

TreeModel::TreeModel() : root_(new TreeNode(this, nullptr, std::string())) {}

TreeModel::~TreeModel() = default;

TreeNode* TreeModel::Node(int absoluteIndex) const
{
    if (absoluteIndex < 0 || absoluteIndex >= count_) {
        return nullptr;
    }
    EnsureOrder();
    return order_[absoluteIndex];
}

TreeNode* TreeModel::AddChild(TreeNode* parent, std::string text, std::unique_ptr<TreeNodeData> data)
{
    TreeNode* owner = Own(parent);
    std::unique_ptr<TreeNode> created(new TreeNode(this, owner, std::move(text)));
    created->data_ = std::move(data);
    TreeNode* node = created.get();
    owner->children_.push_back(std::move(created));
    ++count_;
    // The new node is last in the whole order when its parent is the last node or one of
    // that node's ancestors. Checking the cheap cases covers a tree read parent-first,
    // which is how a stored tree comes in; anything else is renumbered on demand.
    if (orderValid_) {
        const TreeNode* last = order_.empty() ? nullptr : order_.back();
        if (owner == root_.get() || owner == last || (last && owner == last->parent_)) {
            node->absoluteIndex_ = static_cast<int>(order_.size());
            order_.push_back(node);
        } else {
            orderValid_ = false;
        }
    }
    if (observer_) {
        observer_->NodeAdded(node);
    }
    return node;
}

void TreeModel::Delete(TreeNode* node)
{
    if (!node || node == root_.get()) {
        return;
    }
    if (observer_) {
        observer_->NodeDeleting(node);
    }
    int removed = 0;
    std::vector<const TreeNode*> stack{node};
    while (!stack.empty()) {
        const TreeNode* n = stack.back();
        stack.pop_back();
        ++removed;
        for (const auto& child : n->children_) {
            stack.push_back(child.get());
        }
    }
    // A subtree at the very end of the order leaves the numbers before it as they were.
    if (orderValid_ && node->absoluteIndex_ + removed == static_cast<int>(order_.size())) {
        order_.resize(node->absoluteIndex_);
    } else {
        orderValid_ = false;
    }
    count_ -= removed;
    auto& siblings = node->parent_->children_;
    siblings.erase(siblings.begin() + node->Index());
}

void TreeModel::Clear()
{
    root_->children_.clear();
    count_ = 0;
    order_.clear();
    orderValid_ = true;
    if (observer_) {
        observer_->Cleared();
    }
}

bool TreeModel::MoveToLastChild(TreeNode* node, TreeNode* parent)
{
    TreeNode* owner = Own(parent);
    if (node->Contains(owner)) {
        return false;
    }
    return MoveTo(node, owner, owner->Count());
}

bool TreeModel::MoveToFirstChild(TreeNode* node, TreeNode* parent)
{
    TreeNode* owner = Own(parent);
    if (node->Contains(owner)) {
        return false;
    }
    return MoveTo(node, owner, 0);
}

bool TreeModel::MoveAfter(TreeNode* node, TreeNode* sibling)
{
    if (node->Contains(sibling)) {
        return false;
    }
    return MoveTo(node, sibling->parent_, sibling->Index() + 1);
}

bool TreeModel::MoveTo(TreeNode* node, TreeNode* parent, int index)
{
    // `index` counts the node itself when it already sits among the new siblings before
    // that place; taking it out first shifts the place by one.
    auto& from = node->parent_->children_;
    const int oldIndex = node->Index();
    if (node->parent_ == parent && oldIndex < index) {
        --index;
    }
    std::unique_ptr<TreeNode> owned = std::move(from[oldIndex]);
    from.erase(from.begin() + oldIndex);
    parent->children_.insert(parent->children_.begin() + index, std::move(owned));
    node->parent_ = parent;
    orderValid_ = false;
    if (observer_) {
        observer_->NodeMoved(node);
    }
    return true;
}

void TreeModel::NodeChanged(TreeNode* node)
{
    if (observer_ && node != root_.get()) {
        observer_->NodeChanged(node);
    }
}

void TreeModel::EnsureOrder() const
{
    if (orderValid_) {
        return;
    }
    order_.clear();
    order_.reserve(count_);
    struct Frame {
        const TreeNode* node;
        std::size_t next;
    };
    std::vector<Frame> stack{{root_.get(), 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.node->children_.size()) {
            stack.pop_back();
            continue;
        }
        TreeNode* child = frame.node->children_[frame.next++].get();
        child->absoluteIndex_ = static_cast<int>(order_.size());
        order_.push_back(child);
        stack.push_back({child, 0});
    }
    orderValid_ = true;
}
