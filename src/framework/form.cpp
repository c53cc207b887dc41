#include "framework/form.h"

#include "base/error.h"
#include "framework/application.h"
#include "framework/control.h"
#include "framework/dialog_presenter.h"
#include "framework/menu_item.h"
#include "framework/popup_menu.h"
#include "framework/thread_windows.h"
#include "framework/windowless_control.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace {

// Control IDs start above the ones dialog keys send (IDOK, IDCANCEL, ...), so that Escape
// never "clicks" a control that happens to carry ID 2.
constexpr int kFirstControlId = 100;

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

UniqueFont MakeFont(const FontDef& def)
{
    return UniqueFont(CreateFontA(-def.height, 0, 0, 0, def.weight, FALSE, FALSE, FALSE, def.charset,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, def.face));
}

// Calls visit(item definition) for every item of every menu, submenus included.
template <typename Visit>
void ForEachMenuItem(const FormDef& def, Visit&& visit)
{
    std::vector<Span<MenuItemDef>> stack;
    for (const MenuDef& menu : def.menus)
        stack.push_back(menu.items);
    while (!stack.empty()) {
        const Span<MenuItemDef> items = stack.back();
        stack.pop_back();
        for (const MenuItemDef& item : items) {
            visit(item);
            if (!item.items.empty())
                stack.push_back(item.items);
        }
    }
}

}   // namespace

Form::Form(Component* owner, const FormDef& definition) : CustomWindow(owner), definition_(definition)
{
    SetName(definition.className);
    font_ = MakeFont(definition.font);

    RegisterWindowClass(definition.className, CS_DBLCLKS, GetSysColorBrush(definition.colorIndex),
                        application ? LoadIconA(application->Instance(), "MAINICON") : nullptr);
    RECT frame{0, 0, definition.clientWidth, definition.clientHeight};
    AdjustWindowRectEx(&frame, FrameStyle(definition), FALSE, FrameExStyle(definition));
    CreateHandle(definition.className, definition.caption, FrameStyle(definition), FrameExStyle(definition),
                 definition.left, definition.top, frame.right - frame.left, frame.bottom - frame.top,
                 application ? application->Handle() : nullptr);

    CreateMenus();
    CreateControls();
    ApplyTabOrder();
    if (application && !application->MainForm())
        application->SetMainForm(this);
}

Form::~Form()
{
    if (application && application->MainForm() == this)
        application->SetMainForm(nullptr);
    DestroyComponents();
}

void Form::DefinitionError(const char* component, const std::string& what) const
{
    throw Error(std::string(definition_.className) + "." + (component ? component : "?") + ": " + what);
}

void Form::CreateMenus()
{
    for (const MenuDef& menuDef : definition_.menus) {
        auto* menu = new PopupMenu(this);
        menu->SetName(menuDef.name);
        // Items are owned by the form, so that the form finds each by name.
        struct Pending {
            MenuItem* parent;
            Span<MenuItemDef> items;
        };
        std::vector<Pending> stack{{menu->Items(), menuDef.items}};
        while (!stack.empty()) {
            const Pending pending = stack.back();
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
}

HFONT Form::FontFor(const ControlDef& control)
{
    if (!control.font)
        return font_.Get();
    controlFonts_.push_back(MakeFont(*control.font));
    return controlFonts_.back().Get();
}

void Form::CreateControls()
{
    int id = kFirstControlId;
    for (const ControlDef& def : definition_.controls) {
        HWND parent = Handle();
        if (def.parent) {
            auto* container = dynamic_cast<Control*>(FindComponent(def.parent));
            if (!container)
                DefinitionError(def.name, std::string("no control ") + def.parent + " to sit in");
            parent = container->Handle();
        }
        Component* created = def.create({*this, parent, def, id++, FontFor(def)});
        created->SetName(def.name);

        auto* control = dynamic_cast<Control*>(created);
        auto* graphic = dynamic_cast<WindowlessControl*>(created);
        if (control) {
            if (!def.enabled)
                control->SetEnabled(false);
            if (def.isDefault)
                defaultButtonId_ = control->Id();
            if (def.popupMenu) {
                auto* menu = dynamic_cast<PopupMenu*>(FindComponent(def.popupMenu));
                if (!menu)
                    DefinitionError(def.name, std::string("no menu ") + def.popupMenu);
                control->SetPopupMenu(menu);
            }
        } else if (graphic && def.parent) {
            DefinitionError(def.name, "a windowless control sits on the form itself");
        }
        for (const PropertyDef& property : def.properties) {
            if (!property.name)
                break;
            const bool set = control   ? control->SetProperty(property.name, property.value)
                             : graphic ? graphic->SetProperty(property.name, property.value)
                                       : false;
            if (!set)
                DefinitionError(def.name, std::string("no property ") + property.name);
        }
    }
}

void Form::ApplyTabOrder()
{
    // Dialog keys walk a parent's children in Z order, and a new child goes to the bottom of
    // it: bring every parent's controls into tab order, those without one after, as defined.
    struct Entry {
        HWND parent;
        int tabOrder;
        HWND window;
    };
    std::vector<Entry> entries;
    for (const ControlDef& def : definition_.controls)
        if (auto* control = dynamic_cast<Control*>(FindComponent(def.name)))
            entries.push_back({GetParent(control->Handle()),
                               def.tabOrder == kNoTabOrder ? INT_MAX : def.tabOrder, control->Handle()});
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.parent != b.parent ? a.parent < b.parent : a.tabOrder < b.tabOrder;
    });
    for (size_t i = 0; i < entries.size(); ++i) {
        const bool first = i == 0 || entries[i - 1].parent != entries[i].parent;
        SetWindowPos(entries[i].window, first ? HWND_TOP : entries[i - 1].window, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

std::vector<std::string> Form::HandlerNames(const FormDef& definition)
{
    std::vector<std::string> names;
    for (const ControlDef& control : definition.controls)
        for (const EventDef& event : control.events)
            if (event.handler)
                names.emplace_back(event.handler);
    ForEachMenuItem(definition, [&](const MenuItemDef& item) {
        if (item.onClick)
            names.emplace_back(item.onClick);
    });
    return names;
}

void Form::BindHandlers(const std::function<NotifyEvent(std::string_view name)>& resolve,
                        DialogPresenter* dialogs)
{
    auto handler = [&](const char* component, const char* name) {
        NotifyEvent bound = resolve(name);
        if (!bound)
            DefinitionError(component, std::string("no handler ") + name);
        return bound;
    };
    for (const ControlDef& def : definition_.controls) {
        for (const EventDef& event : def.events) {
            if (!event.event)
                break;
            auto* control = dynamic_cast<Control*>(FindComponent(def.name));
            NotifyEvent* slot = control ? control->Event(event.event) : nullptr;
            if (!slot)
                DefinitionError(def.name, std::string("no event ") + event.event);
            *slot = handler(def.name, event.handler);
        }
    }
    ForEachMenuItem(definition_, [&](const MenuItemDef& def) {
        if (!def.onClick)
            return;
        auto* item = dynamic_cast<MenuItem*>(FindComponent(def.name));
        if (!item)
            DefinitionError(def.name, "no menu item");
        NotifyEvent command = handler(def.name, def.onClick);
        if (def.flags & kMenuOpensDialog) {
            if (!dialogs)
                DefinitionError(def.name, "opens a dialog, but the form presents none");
            command = dialogs->AfterMenu(std::move(command));
        }
        item->OnClick = std::move(command);
    });
}

void Form::AddWindowlessControl(WindowlessControl* control)
{
    graphics_.push_back(control);
}

void Form::RemoveWindowlessControl(WindowlessControl* control)
{
    graphics_.erase(std::remove(graphics_.begin(), graphics_.end(), control), graphics_.end());
}

void Form::PaintWindowlessControls()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    for (WindowlessControl* graphic : graphics_) {
        if (!graphic->Visible())
            continue;
        const RECT& bounds = graphic->BoundsRect();
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
        SetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
        graphic->Paint(dc);
        RestoreDC(dc, saved);
    }
    EndPaint(Handle(), &paint);
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

bool Form::FocusFirstControl()
{
    HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus))
        return true;
    if (lastFocus_ && IsWindow(lastFocus_) && IsChild(Handle(), lastFocus_) && IsWindowEnabled(lastFocus_)) {
        ::SetFocus(lastFocus_);
        return true;
    }
    HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE);
    if (!first || !(GetWindowLongA(first, GWL_STYLE) & WS_TABSTOP))
        return false;
    ::SetFocus(first);
    return true;
}

int Form::ShowModal()
{
    if (modal_ || Visible())
        throw Error("Cannot make a visible window modal");
    {
        // Every other enabled window of this thread waits for the form. The activation is
        // left alone: the form hides next, and the system passes it on as from any window.
        const DisabledThreadWindows disabled(DisabledThreadWindows::Activation::Leave);
        modal_ = true;
        modalResult_ = 0;
        Show();
        SetForegroundWindow(Handle());
        FocusFirstControl();
        MSG msg;
        while (modalResult_ == 0) {
            BOOL got = GetMessageA(&msg, nullptr, 0, 0);
            if (got == 0 || got == -1) {
                // The program is ending: leave the quit request for the main loop.
                PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
                modalResult_ = IDCANCEL;
                break;
            }
            // Tab, Shift+Tab, Enter and the mnemonics move and press as in any dialog.
            if (!IsDialogMessageA(Handle(), &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
    }
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

void Form::CenterOnScreen()
{
    const RECT bounds = BoundsRect();
    SetLeft((GetSystemMetrics(SM_CXSCREEN) - (bounds.right - bounds.left)) / 2);
    SetTop((GetSystemMetrics(SM_CYSCREEN) - (bounds.bottom - bounds.top)) / 2);
}

LRESULT Form::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (ReflectToControl(message, wParam, lParam, result))
        return result;
    switch (message) {
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
            if (focus && IsChild(Handle(), focus))
                lastFocus_ = focus;
        } else if (!HIWORD(wParam) && FocusFirstControl()) {
            return 0;
        }
        break;
    case WM_PAINT:
        if (!graphics_.empty()) {
            PaintWindowlessControls();
            return 0;
        }
        break;
    }
    return CustomWindow::WndProc(message, wParam, lParam);
}
