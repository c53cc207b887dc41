// A tree view: mirrors a portable tree model into a tree-view control, its own or one it is
// given.
#pragma once

#include "base/tree_model.h"
#include "framework/control.h"

#include <windows.h>
#include <commctrl.h>

#include <unordered_map>
#include <vector>

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
    TreeModel& Items() { return *items_; }
    const TreeModel& Items() const { return *items_; }
    // Shows another model's nodes from now on (not owned: it must outlive the view, or be
    // taken back with null, which returns to the view's own).
    void SetItems(TreeModel* model);

    // The pictures the nodes' image indexes refer to; not owned.
    ::ImageList* Images() const;
    void SetImages(::ImageList* images);
    // The indent of each level, in pixels at 96 DPI: the control takes it at its DPI.
    int Indent() const;
    void SetIndent(int indent);
    void SetDpi(int dpi) override;

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
    // Selects the node, or none for null; OnChange runs when the selection changes.
    void SetSelected(TreeNode* node);
    // Shows the node's children.
    void Expand(TreeNode* node);
    bool Expanded(const TreeNode* node) const;
    // The node on whose row the point (client coordinates) lies, or null.
    TreeNode* NodeAt(POINT client) const;

    // While read-only, no node's name can be edited in place.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // Starts editing the node's name in place, as F2 or a click on the selected node's name
    // does; the text the user confirms (Enter, or leaving the field) becomes its name, an empty
    // one included, and Escape keeps the old one. False when read-only or the node is not shown.
    bool EditText(TreeNode* node);
    bool IsEditing() const;
    // Ends editing a name in place, keeping the text typed or not.
    void EndEditing(bool keep);

    // Runs when the selection has changed, by the user or by the program. Moving a node keeps
    // it selected and is no change of the selection.
    NotifyEvent OnChange;
    // A key pressed while the tree itself has the focus; Key() tells which.
    NotifyEvent OnKeyDown;
    WORD Key() const { return key_; }

    // Dragging. Pressing the left button on a node and moving the pointer starts a drag of that
    // node, which becomes the focused, selected node. While the pointer moves over the tree,
    // OnDragOver asks whether a drop there is welcome (DragSource(), DragPoint(); answer with
    // SetDragAccepted); the node under the pointer shows as the drop target, and the tree
    // scrolls while the pointer rests near its top or bottom edge. Releasing the button over
    // the tree where a drop is welcome runs OnDragDrop (DragPoint() is where); Escape, or losing
    // the mouse, ends the drag with nothing dropped.
    NotifyEvent OnDragOver;
    NotifyEvent OnDragDrop;
    // The control the dragged thing comes from: this tree, whose selected node it is.
    Control* DragSource() const { return drag_.source; }
    POINT DragPoint() const { return drag_.point; }
    void SetDragAccepted(bool accepted) { drag_.accepted = accepted; }
    bool Dragging() const { return drag_.active; }
    // Ends a drag without a drop.
    void CancelDrag();

    void Notification(Component* component, Operation operation) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct DragState {
        bool active = false;
        bool accepted = false;
        Control* source = nullptr;    // set until the drop has been handled
        POINT point{};                // the pointer, client coordinates
        HIMAGELIST image = nullptr;   // owned while dragging: the picture under the pointer
    };

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
    // The nodes of the subtree whose children show, parents first.
    std::vector<TreeNode*> ExpandedIn(TreeNode* node) const;
    void RenameFromEdit(const NMTVDISPINFOA& info);

    // The drag, in tree_view_drag.cpp.
    void BeginDrag(HTREEITEM item, POINT client);
    // The picture that follows the pointer: the node's icon and name. `origin` is where in the
    // client area its top-left corner stood. Null when there is nothing to draw.
    HIMAGELIST CreateDragPicture(const TreeNode* node, HTREEITEM item, POINT& origin) const;
    void DragTo(POINT client);
    void EndDrag(bool drop);
    // One step of scrolling when the pointer rests near the top or bottom edge.
    void ScrollWhileDragging();
    bool DragMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    TreeModel ownItems_;
    TreeModel* items_ = &ownItems_;   // not owned unless it is ownItems_
    Watched<::ImageList> images_{*this};
    int indent_ = -1;   // at 96 DPI; -1: the control's own
    bool mirrored_ = false;
    bool readOnly_ = false;
    WORD key_ = 0;
    int quiet_ = 0;   // while above 0, selection changes are the program's own: no OnChange
    DragState drag_;
    std::unordered_map<const TreeNode*, HTREEITEM> itemHandles_;
};
