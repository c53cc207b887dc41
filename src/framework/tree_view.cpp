#include "framework/tree_view.h"

#include "base/display_scale.h"
#include "base/error.h"
#include "base/scope_exit.h"
#include "framework/form.h"
#include "framework/image_list.h"

#include <utility>
#include <vector>

Component* TreeView::Create(const ControlContext& context)
{
    const DWORD style =
        WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_EDITLABELS;
    return new TreeView(&context.form, CreationFor(context, WC_TREEVIEWA, style, WS_EX_CLIENTEDGE));
}

TreeView::TreeView(Component* owner, const ControlCreation& creation) : Control(owner)
{
    CreateHandle(creation);
    Subclass();
    // Notifications in their A forms with Shift-JIS text, whatever the control would choose.
    SendMessageA(Handle(), TVM_SETUNICODEFORMAT, FALSE, 0);
    items_->SetObserver(this);
}

TreeView::~TreeView()
{
    CancelDrag();
    items_->SetObserver(nullptr);
}

TreeNode* TreeView::Selected() const
{
    return NodeOf(Handle(),
                  reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TreeView::SetSelected(TreeNode* node)
{
    const HTREEITEM item = node ? ItemHandle(node) : nullptr;
    if (node && !item) {
        return;
    }
    SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void TreeView::Expand(TreeNode* node)
{
    if (const HTREEITEM item = ItemHandle(node)) {
        SendMessageA(Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    }
}

bool TreeView::Expanded(const TreeNode* node) const
{
    const HTREEITEM item = ItemHandle(node);
    return item && (SendMessageA(Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
                    TVIS_EXPANDED);
}

TreeNode* TreeView::NodeAt(POINT client) const
{
    TVHITTESTINFO hit{};
    hit.pt = client;
    SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    // Anywhere on a node's row counts, as on its name.
    return hit.flags & (TVHT_ONITEM | TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON | TVHT_ONITEMRIGHT)
               ? NodeOf(Handle(), hit.hItem)
               : nullptr;
}

bool TreeView::EditText(TreeNode* node)
{
    const HTREEITEM item = node ? ItemHandle(node) : nullptr;
    if (readOnly_ || !item) {
        return false;
    }
    ::SetFocus(Handle());
    return SendMessageA(Handle(), TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(item)) != 0;
}

void TreeView::EndEditing(bool keep)
{
    SendMessageA(Handle(), TVM_ENDEDITLABELNOW, keep ? FALSE : TRUE, 0);
}

bool TreeView::IsEditing() const
{
    return SendMessageA(Handle(), TVM_GETEDITCONTROL, 0, 0) != 0;
}

void TreeView::RenameFromEdit(const NMTVDISPINFOA& info)
{
    // The notification's item carries the node; no text means the edit was cancelled.
    if (!info.item.pszText) {
        return;
    }
    if (TreeNode* node = NodeOf(Handle(), info.item.hItem)) {
        node->SetText(info.item.pszText);
    }
}

bool TreeView::OnNotify(NMHDR* header, LRESULT& result)
{
    result = 0;
    switch (header->code) {
    case TVN_SELCHANGEDA:
        if (OnChange && quiet_ == 0) {
            OnChange(this);
        }
        return true;
    case TVN_BEGINLABELEDITA:
        // Non-zero refuses the edit.
        result = readOnly_ || drag_.active;
        return true;
    case TVN_ENDLABELEDITA:
        // The model takes the new name and puts it into the item itself, so the control is
        // told to keep its own copy (zero).
        RenameFromEdit(*reinterpret_cast<const NMTVDISPINFOA*>(header));
        return true;
    case TVN_KEYDOWN: {
        key_ = reinterpret_cast<const NMTVKEYDOWN*>(header)->wVKey;
        if (key_ == VK_F2) {
            EditText(Selected());
        }
        if (OnKeyDown) {
            OnKeyDown(this);
        }
        return true;
    }
    case TVN_BEGINDRAGA: {
        const auto* info = reinterpret_cast<const NMTREEVIEWA*>(header);
        BeginDrag(info->itemNew.hItem, info->ptDrag);
        return true;
    }
    }
    return Control::OnNotify(header, result);
}

LRESULT TreeView::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (DragMessage(message, wParam, lParam, result)) {
        return result;
    }
    // System keys (Alt+F4 above all) belong to the window, as in every other control; some
    // versions of the control keep them for themselves.
    if (message == WM_SYSKEYDOWN) {
        return DefWindowProcA(Handle(), message, wParam, lParam);
    }
    return Control::WndProc(message, wParam, lParam);
}

::ImageList* TreeView::Images() const
{
    return images_.Get();
}

void TreeView::SetImages(::ImageList* images)
{
    // Given again after the list took another size, the control measures its rows anew. It
    // also widens its indent to pictures wider than it, where the indent set here wins.
    images_.Set(images);
    SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL,
                 reinterpret_cast<LPARAM>(images_ ? images_->Handle() : nullptr));
    if (indent_ >= 0) {
        SetIndent(indent_);
    }
}

int TreeView::Indent() const
{
    return indent_ >= 0 ? indent_ : static_cast<int>(SendMessageA(Handle(), TVM_GETINDENT, 0, 0));
}

void TreeView::SetIndent(int indent)
{
    indent_ = indent;
    SendMessageA(Handle(), TVM_SETINDENT, static_cast<WPARAM>(ScaleFromDesign(indent, Dpi())), 0);
}

void TreeView::SetDpi(int dpi)
{
    Control::SetDpi(dpi);
    if (indent_ >= 0) {
        SetIndent(indent_);
    }
}

void TreeView::Notification(Component* component, Operation operation)
{
    const bool images = component == images_.Get();
    Control::Notification(component, operation);
    if (operation == Operation::Remove && images) {
        SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
    }
}

void TreeView::Synchronize()
{
    if (mirrored_) {
        return;
    }
    SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
    SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    itemHandles_.clear();
    itemHandles_.reserve(items_->Count());
    // Absolute order puts every parent's item (and depth) in place before its children.
    std::vector<int> depth(items_->Count());
    for (int i = 0; i < items_->Count(); ++i) {
        TreeNode* node = items_->Node(i);
        const TreeNode* parent = node->Parent();
        depth[i] = parent ? depth[parent->AbsoluteIndex()] + 1 : 1;
        if (depth[i] <= kMaxDepth) {
            InsertItem(node, parent ? ItemHandle(parent) : TVI_ROOT, TVI_LAST);
        }
    }
    mirrored_ = true;
    SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

HTREEITEM TreeView::ItemHandle(const TreeNode* node) const
{
    auto found = itemHandles_.find(node);
    return found == itemHandles_.end() ? nullptr : found->second;
}

TreeNode* TreeView::NodeOf(HWND control, HTREEITEM item)
{
    if (!item) {
        return nullptr;
    }
    TVITEMA info{};
    info.mask = TVIF_PARAM | TVIF_HANDLE;
    info.hItem = item;
    if (!SendMessageA(control, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info))) {
        return nullptr;
    }
    return reinterpret_cast<TreeNode*>(info.lParam);
}

HTREEITEM TreeView::InsertItem(TreeNode* node, HTREEITEM parent, HTREEITEM after)
{
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(node->Text().c_str());
    insert.item.iImage = node->ImageIndex();
    insert.item.iSelectedImage = node->SelectedIndex();
    insert.item.lParam = reinterpret_cast<LPARAM>(node);
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (!item) {
        throw Error("TVM_INSERTITEM failed");
    }
    itemHandles_[node] = item;
    return item;
}

int TreeView::Depth(const TreeNode* node)
{
    int depth = 0;
    for (; node && depth <= kMaxDepth; node = node->Parent()) {
        ++depth;
    }
    return depth;
}

void TreeView::InsertSubtree(TreeNode* node)
{
    const int depth = Depth(node);
    if (depth > kMaxDepth) {
        return;
    }
    TreeNode* parent = node->Parent();
    const int index = node->Index();
    const TreeNode* previous = index == 0 ? nullptr
                               : parent   ? parent->Item(index - 1)
                                          : items_->Top(index - 1);
    InsertItem(node, parent ? ItemHandle(parent) : TVI_ROOT, previous ? ItemHandle(previous) : TVI_FIRST);
    // The descendants, parent-first without recursion, each as the last child so far.
    struct Pending {
        TreeNode* node;
        int depth;
    };
    std::vector<Pending> stack{{node, depth}};
    while (!stack.empty()) {
        const Pending pending = stack.back();
        stack.pop_back();
        if (pending.depth == kMaxDepth) {
            continue;
        }
        TreeNode* n = pending.node;
        const HTREEITEM item = ItemHandle(n);
        for (int i = 0; i < n->Count(); ++i) {
            InsertItem(n->Item(i), item, TVI_LAST);
        }
        for (int i = n->Count() - 1; i >= 0; --i) {
            stack.push_back({n->Item(i), pending.depth + 1});
        }
    }
}

void TreeView::ForgetSubtree(const TreeNode* node)
{
    std::vector<const TreeNode*> stack{node};
    while (!stack.empty()) {
        const TreeNode* n = stack.back();
        stack.pop_back();
        itemHandles_.erase(n);
        for (int i = 0; i < n->Count(); ++i) {
            stack.push_back(n->Item(i));
        }
    }
}

void TreeView::NodeAdded(TreeNode* node)
{
    if (!mirrored_) {
        return;
    }
    // The model only ever adds a node as the last child.
    if (Depth(node) <= kMaxDepth) {
        InsertItem(node, node->Parent() ? ItemHandle(node->Parent()) : TVI_ROOT, TVI_LAST);
    }
}

void TreeView::NodeChanged(TreeNode* node)
{
    if (!mirrored_ || !ItemHandle(node)) {
        return;
    }
    TVITEMA info{};
    info.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.hItem = ItemHandle(node);
    info.pszText = const_cast<char*>(node->Text().c_str());
    info.iImage = node->ImageIndex();
    info.iSelectedImage = node->SelectedIndex();
    SendMessageA(Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&info));
}

void TreeView::NodeDeleting(TreeNode* node)
{
    if (drag_.active && node->Contains(Selected())) {
        CancelDrag();
    }
    if (!mirrored_) {
        return;
    }
    // The control then selects another node by its own rule, and OnChange runs for it.
    if (const HTREEITEM item = ItemHandle(node)) {
        ForgetSubtree(node);
        SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
    }
}

std::vector<TreeNode*> TreeView::ExpandedIn(TreeNode* node) const
{
    std::vector<TreeNode*> expanded;
    std::vector<TreeNode*> stack{node};
    while (!stack.empty()) {
        TreeNode* n = stack.back();
        stack.pop_back();
        if (n->Count() == 0 || !Expanded(n)) {
            continue;   // what lies below a closed folder does not show either
        }
        expanded.push_back(n);
        for (int i = n->Count() - 1; i >= 0; --i) {
            stack.push_back(n->Item(i));
        }
    }
    return expanded;
}

void TreeView::NodeMoved(TreeNode* node)
{
    if (!mirrored_) {
        return;
    }
    // The items are made anew at the new place; the node stays selected and its folders stay
    // open as they were, and none of that is a change of the selection.
    ++quiet_;
    const ScopeExit loud([this] { --quiet_; });
    const HTREEITEM item = ItemHandle(node);
    const bool selected =
        item && reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0)) == item;
    std::vector<TreeNode*> expanded;
    if (item) {
        expanded = ExpandedIn(node);
        ForgetSubtree(node);
        SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
    }
    InsertSubtree(node);
    for (TreeNode* folder : expanded) {
        Expand(folder);
    }
    if (selected && ItemHandle(node)) {
        SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(ItemHandle(node)));
    }
}

void TreeView::SetItems(TreeModel* model)
{
    TreeModel* next = model ? model : &ownItems_;
    if (next == items_) {
        return;
    }
    Cleared();
    items_->SetObserver(nullptr);
    items_ = next;
    items_->SetObserver(this);
    if (mirrored_) {
        mirrored_ = false;
        Synchronize();
    }
}

void TreeView::Cleared()
{
    CancelDrag();
    if (!mirrored_) {
        return;
    }
    SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    itemHandles_.clear();
}
