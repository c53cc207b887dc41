#include "components/url_label.h"

#include "framework/application.h"
#include "framework/display_dpi.h"
#include "framework/form.h"

#include <shellapi.h>
#include <windowsx.h>

#include <map>

namespace {

UrlLabel::ShellExecuteFunction g_shellExecute = ::ShellExecuteA;

// The hand of the program's own file at a size. At the system's cursor size it is the shared
// resource cursor; at another it is loaded once and kept for the rest of the run, as a shared
// one is, so that the cursor table never points at a destroyed cursor.
HCURSOR HandOfSize(int size)
{
    const HINSTANCE module = GetModuleHandleA(nullptr);
    if (size == GetSystemMetrics(SM_CXCURSOR)) {
        return LoadCursorA(module, "HANDPOINT");
    }
    static std::map<int, HCURSOR> hands;   // kept: one per size met
    HCURSOR& hand = hands[size];
    if (!hand) {
        hand = static_cast<HCURSOR>(LoadImageA(module, "HANDPOINT", IMAGE_CURSOR, size, size, 0));
    }
    return hand;
}

}   // namespace

Component* UrlLabel::Create(const ControlContext& context)
{
    // SS_NOTIFY: without it a static control lets the mouse through to its parent.
    return new UrlLabel(&context.form,
                        CreationFor(context, "STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY),
                        context.def.textColor, context.form.Definition().colorIndex);
}

UrlLabel::UrlLabel(Component* owner, const ControlCreation& creation, COLORREF textColor, int backgroundIndex)
    : Label(owner, creation, textColor, backgroundIndex)
{
    InstallHand();
    Subclass();
}

void UrlLabel::SetDpi(int dpi)
{
    Label::SetDpi(dpi);
    InstallHand();
}

void UrlLabel::InstallHand()
{
    if (HCURSOR hand = HandOfSize(SystemMetricForDpi(SM_CXCURSOR, Dpi())); hand && application) {
        application->SetCursors(crHandPoint, hand);
    }
}

UrlLabel::ShellExecuteFunction UrlLabel::SetShellExecute(ShellExecuteFunction function)
{
    ShellExecuteFunction previous = g_shellExecute;
    g_shellExecute = function;
    return previous;
}

void UrlLabel::SetHotTrack(bool hotTrack)
{
    if (hotTrack_ == hotTrack) {
        return;
    }
    hotTrack_ = hotTrack;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void UrlLabel::SetHotColor(COLORREF color)
{
    if (hotColor_ == color) {
        return;
    }
    hotColor_ = color;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void UrlLabel::SetPushedColor(COLORREF color)
{
    if (pushedColor_ == color) {
        return;
    }
    pushedColor_ = color;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void UrlLabel::MouseEnter()
{
    if (hotTrack_) {
        savedColor_ = TextColor();
        SetTextColor(hotColor_);
    }
}

void UrlLabel::MouseLeave()
{
    if (hotTrack_) {
        SetTextColor(savedColor_);
    }
}

void UrlLabel::MouseDown()
{
    if (hotTrack_) {
        SetTextColor(pushedColor_);
        // Painted before the shell, which may take a while to start a browser.
        UpdateWindow(Handle());
    }
    if (executable_) {
        g_shellExecute(GetAncestor(Handle(), GA_ROOT), "OPEN", Caption().c_str(), "", "", SW_SHOW);
    }
}

void UrlLabel::MouseUp()
{
    if (hotTrack_) {
        POINT point{};
        GetCursorPos(&point);
        ScreenToClient(Handle(), &point);
        SetTextColor(Contains(point) ? hotColor_ : savedColor_);
    }
}

bool UrlLabel::Contains(POINT client) const
{
    RECT r{};
    GetClientRect(Handle(), &r);
    return PtInRect(&r, client) != FALSE;
}

void UrlLabel::TrackPointer(POINT client)
{
    const bool over = Contains(client);
    if (over == over_) {
        return;
    }
    over_ = over;
    if (over) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
        TrackMouseEvent(&track);
        MouseEnter();
    } else {
        MouseLeave();
    }
}

LRESULT UrlLabel::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && application) {
            ::SetCursor(application->Cursors(cursor_));
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE:
        TrackPointer({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        break;
    case WM_MOUSELEAVE:
        // While a press holds the mouse, the moves tell where the pointer is.
        if (GetCapture() != Handle()) {
            TrackPointer({-1, -1});
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
        // The label keeps the mouse until the release, so that a release outside is seen.
        SetCapture(Handle());
        const LRESULT result = DefaultHandler(message, wParam, lParam);
        MouseDown();
        return result;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const LRESULT result = DefaultHandler(message, wParam, lParam);
        if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && GetCapture() == Handle()) {
            ReleaseCapture();
        }
        MouseUp();
        // A release outside ends the visit as leaving would.
        POINT point{};
        GetCursorPos(&point);
        ScreenToClient(Handle(), &point);
        if (GetCapture() != Handle() && !Contains(point)) {
            TrackPointer(point);
        }
        return result;
    }
    }
    return Label::WndProc(message, wParam, lParam);
}
