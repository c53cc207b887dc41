#include "framework/form.h"

#include "base/error.h"
#include "framework/application.h"
#include "framework/control.h"
#include "framework/dialog_presenter.h"
#include "framework/display_dpi.h"
#include "framework/thread_windows.h"
#include "framework/windowless_control.h"

#include <algorithm>
#include <utility>

namespace {

DWORD FrameStyle(const WindowDef& def)
{
    DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
    if (def.border == BorderStyle::Sizeable) {
        style |= WS_THICKFRAME;
    }
    if (def.systemMenu) {
        style |= WS_SYSMENU;
    }
    return style;
}

DWORD FrameExStyle(const WindowDef& def)
{
    return def.border == BorderStyle::Dialog ? WS_EX_DLGMODALFRAME : 0;
}

}   // namespace

Form::Form(Component* owner, const WindowDef& definition)
    : CustomWindow(owner), definition_(definition), dpi_(kDesignDpi)
{
    SetName(definition.className);

    RegisterWindowClass(definition.className, CS_DBLCLKS, GetSysColorBrush(definition.colorIndex),
                        application ? LoadIconA(application->Instance(), "MAINICON") : nullptr);
    RECT frame{0, 0, definition.clientWidth, definition.clientHeight};
    AdjustWindowRectEx(&frame, FrameStyle(definition), FALSE, FrameExStyle(definition));
    CreateHandle(definition.className, definition.caption, FrameStyle(definition), FrameExStyle(definition),
                 definition.left, definition.top, frame.right - frame.left, frame.bottom - frame.top,
                 application ? application->Handle() : nullptr);
    dpi_ = windowDpi_ = WindowDpi(Handle());
    font_ = MakeFont(definition.font, dpi_);
    Form::FitFrame();
    if (application && !application->MainForm()) {
        application->SetMainForm(this);
    }
}

void Form::Adopt(BuiltForm built)
{
    controlFonts_ = std::move(built.fonts);
    defaultButtonId_ = built.defaultButtonId;
    unbound_ = std::move(built.events);
    placed_ = std::move(built.placed);
}

int Form::Scaled(int length) const
{
    return ScaleFromDesign(length, dpi_);
}

void Form::FitFrame()
{
    SetClientSize(Scaled(definition_.clientWidth), Scaled(definition_.clientHeight));
}

void Form::LayOut(int dpi, const RECT* suggested)
{
    dpi_ = dpi;
    windowDpi_ = WindowDpi(Handle());
    UniqueFont font = MakeFont(definition_.font, dpi);
    std::vector<UniqueFont> controlFonts;
    if (suggested) {
        SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (const PlacedControl& placed : placed_) {
        const RectDef b = ScaleEdges(placed.def->bounds, dpi);
        const RECT bounds{b.left, b.top, b.left + b.width, b.top + b.height};
        if (auto* control = dynamic_cast<Control*>(placed.control)) {
            HFONT controlFont = font.Get();
            if (placed.def->font) {
                controlFonts.push_back(MakeFont(*placed.def->font, dpi));
                controlFont = controlFonts.back().Get();
            }
            control->SetBounds(bounds);
            SendMessageA(control->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(controlFont), FALSE);
            control->SetDpi(dpi);
        } else if (auto* windowless = dynamic_cast<WindowlessControl*>(placed.control)) {
            windowless->SetBounds(bounds);
        }
    }
    // The fonts of the old DPI go now that no control draws with them.
    font_ = std::move(font);
    controlFonts_ = std::move(controlFonts);
    FitFrame();
    DpiChanged();
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Form::Notification(Component* component, Operation operation)
{
    CustomWindow::Notification(component, operation);
    if (operation == Operation::Remove) {
        placed_.erase(
            std::remove_if(placed_.begin(), placed_.end(),
                           [component](const PlacedControl& placed) { return placed.control == component; }),
            placed_.end());
    }
}

void Form::BindEvents(const std::function<NotifyEvent(int command)>& handlerOf, DialogPresenter* dialogs)
{
    for (const UnboundEvent& event : unbound_) {
        NotifyEvent handler = handlerOf(event.command);
        if (event.afterMenu) {
            if (!dialogs) {
                DefinitionError(definition_, event.component, "opens a dialog, but the form presents none");
            }
            handler = dialogs->AfterMenu(std::move(handler));
        }
        *event.event = std::move(handler);
    }
    unbound_.clear();
}

Form::~Form()
{
    if (application && application->MainForm() == this) {
        application->SetMainForm(nullptr);
    }
    DestroyComponents();
}

void Form::AddWindowlessControl(WindowlessControl* control)
{
    windowless_.push_back(control);
}

void Form::RemoveWindowlessControl(WindowlessControl* control)
{
    windowless_.erase(std::remove(windowless_.begin(), windowless_.end(), control), windowless_.end());
}

void Form::PaintWindowlessControls()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    for (WindowlessControl* control : windowless_) {
        if (!control->Visible()) {
            continue;
        }
        const RECT& bounds = control->BoundsRect();
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
        SetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
        control->Paint(dc);
        RestoreDC(dc, saved);
    }
    EndPaint(Handle(), &paint);
}

void Form::Show()
{
    // Moved to another monitor while hidden, the window need not have been told of its DPI.
    if (const int dpi = WindowDpi(Handle()); dpi != windowDpi_) {
        LayOut(dpi, nullptr);
    }
    ShowWindow(Handle(), SW_SHOWNORMAL);
}

void Form::Hide()
{
    ShowWindow(Handle(), SW_HIDE);
}

bool Form::Visible() const
{
    return IsWindowVisible(Handle()) != FALSE;
}

void Form::Close()
{
    if (modal_) {
        modalResult_ = IDCANCEL;
    } else {
        DoClose();
    }
}

bool Form::FocusFirstControl()
{
    HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus)) {
        return true;
    }
    if (lastFocus_ && IsWindow(lastFocus_) && IsChild(Handle(), lastFocus_) && IsWindowEnabled(lastFocus_)) {
        ::SetFocus(lastFocus_);
        return true;
    }
    HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE);
    if (!first || !(GetWindowLongA(first, GWL_STYLE) & WS_TABSTOP)) {
        return false;
    }
    ::SetFocus(first);
    return true;
}

int Form::ShowModal()
{
    if (modal_ || Visible()) {
        throw Error("Cannot make a visible window modal");
    }
    {
        // Every other enabled window of this thread waits for the form. The activation is
        // left alone: the form hides next, and the system passes it on as from any window.
        const DisabledThreadWindows disabled(DisabledThreadWindows::Activation::Leave);
        modal_ = true;
        modalResult_ = 0;
        Show();
        SetForegroundWindow(Handle());
        FocusFirstControl();
        RunModalLoop();
    }
    Hide();
    modal_ = false;
    return modalResult_;
}

void Form::RunModalLoop()
{
    MSG msg;
    while (modalResult_ == 0) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // The program is ending: leave the quit request for the main loop.
            PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
            modalResult_ = IDCANCEL;
            return;
        }
        // Tab, Shift+Tab, Enter and the mnemonics move and press as in any dialog.
        if (!IsDialogMessageA(Handle(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void Form::DoClose()
{
    if (application && application->MainForm() == this) {
        application->Terminate();
    } else {
        Hide();
    }
}

RECT Form::BoundsRect() const
{
    RECT r{};
    GetWindowRect(Handle(), &r);
    return r;
}

void Form::SetLeft(int left)
{
    SetWindowPos(Handle(), nullptr, left, Top(), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetTop(int top)
{
    SetWindowPos(Handle(), nullptr, Left(), top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetSize(int width, int height)
{
    SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetClientSize(int width, int height)
{
    RECT client{};
    GetClientRect(Handle(), &client);
    if (client.right <= 0 || client.bottom <= 0) {
        // A window too small for its frame tells nothing of the frame: room first.
        const RECT frame = FrameForDpi(FrameStyle(definition_), FrameExStyle(definition_), dpi_);
        SetSize(width + frame.left + frame.right, height + frame.top + frame.bottom);
        GetClientRect(Handle(), &client);
    }
    // The frame as the system draws it now, at whatever DPI it scales it to, if at all.
    const RECT window = BoundsRect();
    SetSize(width + (window.right - window.left) - client.right,
            height + (window.bottom - window.top) - client.bottom);
}

void Form::SetClientHeight(int height)
{
    RECT client{};
    GetClientRect(Handle(), &client);
    SetClientSize(client.right, height);
}

void Form::CenterOnScreen()
{
    const RECT bounds = BoundsRect();
    SetLeft((GetSystemMetrics(SM_CXSCREEN) - (bounds.right - bounds.left)) / 2);
    SetTop((GetSystemMetrics(SM_CYSCREEN) - (bounds.bottom - bounds.top)) / 2);
}

LRESULT Form::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (ReflectToControl(message, wParam, lParam, result)) {
        return result;
    }
    switch (message) {
    case WM_NCCREATE:
        ScaleFrameWithDpi(Handle());
        break;
    case kDpiChangedMessage:
        LayOut(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_COMMAND:
        // Escape arrives from the dialog keys as IDCANCEL with no control behind it. It does
        // what the close box does, on a form that has one; a form without one ignores it.
        if (LOWORD(wParam) == IDCANCEL && lParam == 0 && definition_.systemMenu) {
            Close();
            return 0;
        }
        break;
    case DM_GETDEFID:
        // Enter presses the default button, as in a dialog.
        return defaultButtonId_ ? MAKELRESULT(defaultButtonId_, DC_HASDEFID) : 0;
    case WM_ACTIVATE:
        // Coming back to the form puts the focus back where the user left it.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(Handle(), focus)) {
                lastFocus_ = focus;
            }
        } else if (!HIWORD(wParam) && FocusFirstControl()) {
            return 0;
        }
        break;
    case WM_PAINT:
        if (!windowless_.empty()) {
            PaintWindowlessControls();
            return 0;
        }
        break;
    }
    return CustomWindow::WndProc(message, wParam, lParam);
}
