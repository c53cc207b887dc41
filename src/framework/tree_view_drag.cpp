// Dragging a node of a tree view. The control only reports the start (TVN_BEGINDRAG); from
// there the tree holds the mouse and follows the pointer in its own window procedure, so that
// nothing runs inside the control's button handling and a drop may change the tree at will.
#include "framework/tree_view.h"

#include "framework/handles.h"
#include "framework/image_list.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

namespace {

// Distinct from the control's own timers (its label-editing delay).
constexpr UINT_PTR kScrollTimer = 0x4D56;
constexpr UINT kScrollInterval = 100;   // ms between lines scrolled

// A point of the tree's client area in the coordinates of its whole window, which the drag
// picture's functions take.
POINT WindowPoint(HWND window, POINT client)
{
    ClientToScreen(window, &client);
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return {client.x - bounds.left, client.y - bounds.top};
}

}   // namespace

void TreeView::BeginDrag(HTREEITEM item, POINT client)
{
    TreeNode* node = NodeOf(Handle(), item);
    if (!node || drag_.active) {
        return;
    }
    // The dragged node is the focused, selected one; OnChange runs for it as for a click.
    ::SetFocus(Handle());
    SetSelected(node);
    if (Selected() != node || ItemHandle(node) != item) {
        return;   // the selection handler changed the tree under the pointer
    }
    drag_ = DragState{};
    drag_.active = true;
    drag_.source = this;
    POINT origin{};
    drag_.image = CreateDragPicture(node, item, origin);
    if (drag_.image && ImageList_BeginDrag(drag_.image, 0, client.x - origin.x, client.y - origin.y)) {
        const POINT at = WindowPoint(Handle(), client);
        ImageList_DragEnter(Handle(), at.x, at.y);
    }
    SetCapture(Handle());
    SetTimer(Handle(), kScrollTimer, kScrollInterval, nullptr);
    DragTo(client);
}

HIMAGELIST TreeView::CreateDragPicture(const TreeNode* node, HTREEITEM item, POINT& origin) const
{
    // Drawn here rather than asked of the control (TVM_CREATEDRAGIMAGE), whose picture some
    // versions leave empty: the node's icon and name as the tree shows them.
    RECT text{};
    std::memcpy(&text, &item, sizeof item);   // TVM_GETITEMRECT takes the item in the rectangle
    if (!SendMessageA(Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text))) {
        return nullptr;
    }
    const int iconWidth = images_ ? images_->Width() : 0;
    const int iconHeight = images_ ? images_->Height() : 0;
    const int textWidth = text.right - text.left;
    const int width = iconWidth + textWidth;
    const int height = std::max<int>(iconHeight, text.bottom - text.top);
    origin = {text.left - iconWidth, text.top};

    UniqueDC screen(CreateCompatibleDC(nullptr));
    UniqueBitmap bitmap(CreateCompatibleBitmap(WindowDC(Handle()).Get(), width, height));
    if (!screen || !bitmap) {
        return nullptr;
    }
    {
        // The bitmap leaves the DC before the image list takes it.
        const SelectedObject drawnOn(screen.Get(), bitmap.Get());
        const SelectedObject font(screen.Get(),
                                  reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0)));
        RECT all{0, 0, width, height};
        FillRect(screen.Get(), &all, GetSysColorBrush(COLOR_WINDOW));
        if (images_) {
            ImageList_Draw(images_->Handle(), node->ImageIndex(), screen.Get(), 0, (height - iconHeight) / 2,
                           ILD_NORMAL);
        }
        RECT label{iconWidth, 0, width, height};
        SetBkMode(screen.Get(), TRANSPARENT);
        SetTextColor(screen.Get(), GetSysColor(COLOR_WINDOWTEXT));
        DrawTextA(screen.Get(), node->Text().c_str(), static_cast<int>(node->Text().size()), &label,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    // The background is left out, so that the drop target shows through around the name.
    HIMAGELIST picture = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 1, 0);
    if (picture && ImageList_AddMasked(picture, bitmap.Get(), GetSysColor(COLOR_WINDOW)) < 0) {
        ImageList_Destroy(picture);
        picture = nullptr;
    }
    return picture;
}

void TreeView::DragTo(POINT client)
{
    drag_.point = client;
    drag_.accepted = false;
    RECT area{};
    GetClientRect(Handle(), &area);
    // Only a drop on the tree itself can be welcome.
    if (PtInRect(&area, client) && OnDragOver) {
        OnDragOver(this);
        if (!drag_.active) {
            return;
        }
    }
    TreeNode* under = drag_.accepted ? NodeAt(client) : nullptr;
    const HTREEITEM target = under ? ItemHandle(under) : nullptr;
    const auto shown =
        reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_DROPHILITE, 0));
    if (target != shown) {
        // The picture floats over the tree: it goes while the tree paints the new target.
        ImageList_DragShowNolock(FALSE);
        SendMessageA(Handle(), TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(target));
        UpdateWindow(Handle());
        ImageList_DragShowNolock(TRUE);
    }
    if (drag_.image) {
        const POINT at = WindowPoint(Handle(), client);
        ImageList_DragMove(at.x, at.y);
    }
    SetCursor(LoadCursorA(nullptr, drag_.accepted ? IDC_ARROW : IDC_NO));
}

void TreeView::EndDrag(bool drop)
{
    if (!drag_.active) {
        return;
    }
    const DragState ended = drag_;
    // Inactive first: releasing the mouse below is then no loss of it.
    drag_.active = false;
    drag_.image = nullptr;
    KillTimer(Handle(), kScrollTimer);
    if (ended.image) {
        ImageList_DragLeave(Handle());
        ImageList_EndDrag();
        ImageList_Destroy(ended.image);
    }
    SendMessageA(Handle(), TVM_SELECTITEM, TVGN_DROPHILITE, 0);
    if (GetCapture() == Handle()) {
        ReleaseCapture();
    }
    if (drop && ended.accepted && OnDragDrop) {
        OnDragDrop(this);
    }
    drag_.source = nullptr;
}

void TreeView::CancelDrag()
{
    EndDrag(false);
}

void TreeView::ScrollWhileDragging()
{
    RECT area{};
    GetClientRect(Handle(), &area);
    const POINT p = drag_.point;
    if (p.x < area.left || p.x >= area.right) {
        return;
    }
    // Within one row of the top or the bottom edge, or past it.
    const int edge = static_cast<int>(SendMessageA(Handle(), TVM_GETITEMHEIGHT, 0, 0));
    const int direction = p.y < area.top + edge ? SB_LINEUP : p.y >= area.bottom - edge ? SB_LINEDOWN : -1;
    if (direction < 0) {
        return;
    }
    ImageList_DragShowNolock(FALSE);
    SendMessageA(Handle(), WM_VSCROLL, static_cast<WPARAM>(direction), 0);
    UpdateWindow(Handle());
    ImageList_DragShowNolock(TRUE);
    // Another node has come under the pointer.
    DragTo(p);
}

bool TreeView::DragMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (!drag_.active) {
        if (message != WM_LBUTTONDOWN) {
            return false;
        }
        // A drag starts inside the control's handling of the press, which marks the dragged
        // node as the drop target once the start has been reported: put that right at once.
        result = DefaultHandler(message, wParam, lParam);
        if (drag_.active) {
            DragTo(drag_.point);
        }
        return true;
    }
    result = 0;
    switch (message) {
    case WM_MOUSEMOVE:
        DragTo({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return true;
    case WM_LBUTTONUP:
        DragTo({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        EndDrag(true);
        return true;
    case WM_TIMER:
        if (wParam != kScrollTimer) {
            return false;
        }
        ScrollWhileDragging();
        return true;
    case WM_GETDLGCODE:
        // Escape must reach the tree, not close anything in a dialog.
        result = DLGC_WANTALLKEYS;
        return true;
    case WM_KEYDOWN:
        // Other keys would move the selection under the drag.
        if (wParam == VK_ESCAPE) {
            CancelDrag();
        }
        return true;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != Handle()) {
            CancelDrag();
        }
        return false;
    case WM_CANCELMODE:
        CancelDrag();
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return true;
    }
    return false;
}
