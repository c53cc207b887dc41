#include "framework/control.h"

#include "base/error.h"
#include "framework/application.h"
#include "framework/form_def.h"
#include "framework/popup_menu.h"

#include <commctrl.h>

namespace {
// The window property that leads from a control's window to its component. A property, not
// GWLP_USERDATA: it works the same on every window class, our own ones included.
constexpr char kProperty[] = "Mivtra.Control";
}   // namespace

Control* Control::FromHandle(HWND window)
{
    return window ? static_cast<Control*>(GetPropA(window, kProperty)) : nullptr;
}

Control::~Control()
{
    // The window is ours only while it still leads back here: a parent destroyed earlier took
    // it along, and its handle may have been given to another window since.
    if (handle_ && IsWindow(handle_) && FromHandle(handle_) == this) {
        if (subclassed_) {
            SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
            SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        }
        RemovePropA(handle_, kProperty);
        DestroyWindow(handle_);
    }
    handle_ = nullptr;
}

void Control::CreateHandle(const ControlCreation& creation)
{
    handle_ = CreateWindowExA(creation.exStyle, creation.className, creation.caption ? creation.caption : "",
                              WS_CHILD | WS_VISIBLE | creation.style, creation.left, creation.top,
                              creation.width, creation.height, creation.parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(creation.id)),
                              GetModuleHandleA(nullptr), nullptr);
    if (!handle_) {
        throw Error(std::string("CreateWindowEx failed for a control of class ") + creation.className);
    }
    SetPropA(handle_, kProperty, this);
    dpi_ = creation.dpi;
    if (creation.font) {
        SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(creation.font), FALSE);
    }
}

void Control::Subclass()
{
    // The window procedure itself is replaced, with `this` in the window's user data: both are
    // read without leaving the process for every message. (The common controls' subclass
    // functions keep their data in a window property, which some platforms fetch from another
    // process each time: ten thousand items put into a subclassed tree then take a second.)
    // The A forms keep the control an ANSI window: its messages reach WndProc with Shift-JIS
    // text, as everywhere else in the program.
    if (subclassed_) {
        return;
    }
    SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    subclassed_ = original_ != nullptr;
}

LRESULT CALLBACK Control::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<Control*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        const WNDPROC original = self->original_;
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        RemovePropA(window, kProperty);
        self->subclassed_ = false;
        self->handle_ = nullptr;
        return CallWindowProcA(original, window, message, wParam, lParam);
    }
    return GuardCallback<LRESULT>(0, [&] { return self->WndProc(message, wParam, lParam); });
}

LRESULT Control::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefaultHandler(message, wParam, lParam);
}

LRESULT Control::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(original_, handle_, message, wParam, lParam);
}

std::string Control::Caption() const
{
    const int length = GetWindowTextLengthA(handle_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(handle_, text.data(), length + 1)));
    return text;
}

RECT Control::BoundsRect() const
{
    RECT r{};
    GetWindowRect(handle_, &r);
    MapWindowPoints(nullptr, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Control::SetBounds(const RECT& bounds)
{
    SetWindowPos(handle_, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT Control::Font() const
{
    return reinterpret_cast<HFONT>(SendMessageA(handle_, WM_GETFONT, 0, 0));
}

::PopupMenu* Control::PopupMenu() const
{
    return popupMenu_.Get();
}

void Control::SetPopupMenu(::PopupMenu* menu)
{
    popupMenu_.Set(menu);
}

bool Control::OnCommand(WORD)
{
    return false;
}

bool Control::OnNotify(NMHDR*, LRESULT&)
{
    return false;
}

HBRUSH Control::OnCtlColor(UINT, HDC)
{
    return nullptr;
}

bool Control::OnContextMenu(POINT screen)
{
    if (!popupMenu_) {
        return false;
    }
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: at the control's top-left corner.
        RECT r{};
        GetWindowRect(handle_, &r);
        screen = {r.left, r.top};
    }
    popupMenu_->Popup(screen.x, screen.y);
    return true;
}

bool ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_COMMAND:
        // Menus and accelerators send no window; only a control's notification is reflected.
        if (Control* control = lParam ? Control::FromHandle(reinterpret_cast<HWND>(lParam)) : nullptr) {
            result = 0;
            return control->OnCommand(HIWORD(wParam));
        }
        return false;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        Control* control = header ? Control::FromHandle(header->hwndFrom) : nullptr;
        return control && control->OnNotify(header, result);
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
        if (Control* control = Control::FromHandle(reinterpret_cast<HWND>(lParam))) {
            if (HBRUSH brush = control->OnCtlColor(message, reinterpret_cast<HDC>(wParam))) {
                result = reinterpret_cast<LRESULT>(brush);
                return true;
            }
        }
        return false;
    case WM_CONTEXTMENU:
        if (Control* control = Control::FromHandle(reinterpret_cast<HWND>(wParam))) {
            result = 0;
            // Signed: on a second monitor left of the first a point is negative.
            return control->OnContextMenu(
                {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        }
        return false;
    }
    return false;
}

ControlCreation CreationFor(const ControlContext& context, const char* className, DWORD style, DWORD exStyle)
{
    const RectDef& r = context.bounds;
    return {context.parent, className,           style,        exStyle,    r.left,     r.top, r.width,
            r.height,       context.def.caption, context.font, context.id, context.dpi};
}
