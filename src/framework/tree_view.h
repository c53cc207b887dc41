// A tree view: owns a portable tree model and mirrors it into a tree-view control.
#pragma once

#include "base/tree_model.h"
#include "framework/control.h"

#include <windows.h>
#include <commctrl.h>

#include <unordered_map>

class ImageList;

class TreeView : public Control, private TreeObserver {
public:
    // The deepest level the control shows. The common control takes its items apart
    // recursively, one level per nesting, and overflows the stack on a tree some tens of
    // thousands of levels deep; nodes below this level stay in the model only.
    static constexpr int kMaxDepth = 1000;

    static Component* Create(const ControlContext& context);

    TreeView(Component* owner, const ControlCreation& creation);
    ~TreeView() override;

    // The nodes. Every change made to them shows in the control once it mirrors them.
    TreeModel& Items() { return items_; }
    const TreeModel& Items() const { return items_; }

    // The pictures the nodes' image indexes refer to; not owned.
    ::ImageList* Images() const { return images_; }
    void SetImages(::ImageList* images);
    int Indent() const;
    void SetIndent(int indent);

    // Fills the control from the model, once; from then on it follows every change. Until
    // then the control stays empty, so that a tree nobody looks at (on a hidden form) costs
    // one model update per change and no window traffic.
    void Synchronize();
    bool Mirrored() const { return mirrored_; }
    // The control's item for a node, or null while the control does not mirror the model
    // (or the node lies deeper than kMaxDepth).
    HTREEITEM ItemHandle(const TreeNode* node) const;
    // The node behind one of the control's items.
    static TreeNode* NodeOf(HWND control, HTREEITEM item);

    // The selected node, or null.
    TreeNode* Selected() const;

    // Runs when the selection has changed, by the user or by the program.
    NotifyEvent OnChange;

    void Notification(Component* component, Operation operation) override;
    NotifyEvent* Event(std::string_view name) override;
    bool SetProperty(std::string_view name, int value) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;

private:
    void NodeAdded(TreeNode* node) override;
    void NodeChanged(TreeNode* node) override;
    void NodeDeleting(TreeNode* node) override;
    void NodeMoved(TreeNode* node) override;
    void Cleared() override;

    // Levels from the top, 1 for a top-level node, counted no further than past kMaxDepth.
    static int Depth(const TreeNode* node);
    // Inserts the node's item after its previous sibling's and its whole subtree below it.
    void InsertSubtree(TreeNode* node);
    HTREEITEM InsertItem(TreeNode* node, HTREEITEM parent, HTREEITEM after);
    // Forgets the items of the node and its subtree (the control deletes them itself).
    void ForgetSubtree(const TreeNode* node);

    HWND handle_;   // owned by the parent window, destroyed with it
    TreeModel items_;
    ::ImageList* images_ = nullptr;   // not owned: cleared when the list goes
    bool mirrored_ = false;
    std::unordered_map<const TreeNode*, HTREEITEM> itemHandles_;
};
