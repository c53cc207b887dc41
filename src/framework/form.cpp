#include "framework/form.h"

#include "base/error.h"
#include "framework/application.h"
#include "framework/button.h"
#include "framework/control_link.h"
#include "framework/label.h"
#include "framework/menu_item.h"
#include "framework/popup_menu.h"

#include <vector>

namespace {

DWORD FrameStyle(const FormDef& def)
{
    DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
    if (def.border == BorderStyle::Sizeable)
        style |= WS_THICKFRAME;
    if (def.systemMenu)
        style |= WS_SYSMENU;
    return style;
}

DWORD FrameExStyle(const FormDef& def)
{
    return def.border == BorderStyle::Dialog ? WS_EX_DLGMODALFRAME : 0;
}

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM list)
{
    if (IsWindowVisible(window) && IsWindowEnabled(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}   // namespace

Form::Form(Component* owner, const FormDef& definition) : WinControl(owner), definition_(definition)
{
    SetName(definition.className);
    font_.Reset(CreateFontA(-definition.font.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                            definition.font.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, definition.font.face));

    RegisterWindowClass(definition.className, CS_DBLCLKS, GetSysColorBrush(definition.colorIndex),
                        application ? LoadIconA(application->Instance(), "MAINICON") : nullptr);
    RECT frame{0, 0, definition.clientWidth, definition.clientHeight};
    AdjustWindowRectEx(&frame, FrameStyle(definition), FALSE, FrameExStyle(definition));
    CreateHandle(definition.className, definition.caption, FrameStyle(definition), FrameExStyle(definition),
                 definition.left, definition.top, frame.right - frame.left, frame.bottom - frame.top,
                 application ? application->Handle() : nullptr);

    for (const ControlDef& control : definition.controls) {
        const char* caption = control.caption ? control.caption : "";
        Component* created = nullptr;
        switch (control.kind) {
        case ControlKind::Label:
            created = new Label(this, Handle(), control.left, control.top, control.width, control.height,
                                caption, font_.Get(), control.textColor);
            break;
        case ControlKind::Button:
            created = new Button(this, Handle(), control.left, control.top, control.width, control.height,
                                 caption, font_.Get(), control.isDefault);
            break;
        }
        created->SetName(control.name);
    }
    if (!definition.popupMenu.empty()) {
        auto* menu = new PopupMenu(this);
        menu->SetName("PopupMenu");
        CreateMenu(menu);
    }
    if (application && !application->MainForm())
        application->SetMainForm(this);
}

Form::~Form()
{
    if (application && application->MainForm() == this)
        application->SetMainForm(nullptr);
    DestroyComponents();
}

void Form::CreateMenu(PopupMenu* menu)
{
    // Items are owned by the form, so that the form finds each by name.
    struct Pending {
        MenuItem* parent;
        Span<MenuItemDef> items;
    };
    std::vector<Pending> stack{{menu->Items(), definition_.popupMenu}};
    while (!stack.empty()) {
        Pending pending = stack.back();
        stack.pop_back();
        for (const MenuItemDef& def : pending.items) {
            auto* item = new MenuItem(this);
            item->SetName(def.name);
            item->SetCaption(def.caption);
            item->SetChecked(def.flags & kMenuChecked);
            item->SetVisible(!(def.flags & kMenuHidden));
            item->SetEnabled(!(def.flags & kMenuDisabled));
            item->SetSubmenu(def.submenu || !def.items.empty());
            pending.parent->Add(item);
            if (!def.items.empty())
                stack.push_back({item, def.items});
        }
    }
}

void Form::BindHandlers()
{
    for (const ControlDef& control : definition_.controls)
        if (control.onClick)
            if (auto* button = dynamic_cast<Button*>(FindComponent(control.name)))
                button->OnClick = FindHandler(control.onClick);
    std::vector<Span<MenuItemDef>> stack{definition_.popupMenu};
    while (!stack.empty()) {
        Span<MenuItemDef> items = stack.back();
        stack.pop_back();
        for (const MenuItemDef& def : items) {
            if (def.onClick)
                if (auto* item = dynamic_cast<MenuItem*>(FindComponent(def.name)))
                    item->OnClick = FindHandler(def.onClick);
            if (!def.items.empty())
                stack.push_back(def.items);
        }
    }
}

NotifyEvent Form::FindHandler(const char*)
{
    return {};
}

void Form::Show()
{
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
    if (modal_)
        modalResult_ = IDCANCEL;
    else
        DoClose();
}

int Form::ShowModal()
{
    if (modal_ || Visible())
        throw Error("Cannot make a visible window modal");
    // Every other enabled window of this thread waits for the form.
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
    for (HWND window : disabled)
        EnableWindow(window, FALSE);

    modal_ = true;
    modalResult_ = 0;
    Show();
    SetForegroundWindow(Handle());
    MSG msg;
    while (modalResult_ == 0) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // The program is ending: leave the quit request for the main loop.
            PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
            modalResult_ = IDCANCEL;
            break;
        }
        if (!IsDialogMessageA(Handle(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    for (HWND window : disabled)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
    Hide();
    modal_ = false;
    return modalResult_;
}

void Form::DoClose()
{
    if (application && application->MainForm() == this)
        application->Terminate();
    else
        Hide();
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

void Form::SetClientHeight(int height)
{
    RECT window = BoundsRect();
    RECT client{};
    GetClientRect(Handle(), &client);
    int frameHeight = (window.bottom - window.top) - (client.bottom - client.top);
    SetSize(window.right - window.left, height + frameHeight);
}

LRESULT Form::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_COMMAND:
        // A button's click goes back to its component.
        if (HIWORD(wParam) == BN_CLICKED && lParam)
            if (auto* button = dynamic_cast<Button*>(ControlComponent(reinterpret_cast<HWND>(lParam))))
                if (button->Owner() == this)
                    button->Click();
        return 0;
    case WM_CTLCOLORSTATIC: {
        // Labels draw on the form's colour in their own text colour.
        auto* label = dynamic_cast<Label*>(ControlComponent(reinterpret_cast<HWND>(lParam)));
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, GetSysColor(definition_.colorIndex));
        SetTextColor(dc, label && label->TextColor() != kDefaultColor ? label->TextColor()
                                                                      : GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(definition_.colorIndex));
    }
    }
    return WinControl::WndProc(message, wParam, lParam);
}
