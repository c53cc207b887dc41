// Declarative form definitions: what a form looks like, in pixels at 96 DPI, and which of its
// form's commands the events of its controls and menu items run, as plain data. Events and
// properties are named by their members, so that an event or a property that a control's kind
// lacks, or a command of another form, does not compile.
#pragma once

#include "base/display_scale.h"
#include "framework/component.h"
#include "framework/menu_def.h"
#include "framework/span.h"

#include <windows.h>

#include <cstddef>
#include <type_traits>

class Form;
struct ControlLayout;

struct FontDef {
    const char* face;
    int height;   // character height, pixels at 96 DPI
    BYTE charset;
    int weight = FW_NORMAL;
};

// Pixels at 96 DPI, relative to the parent: left, top, width, height.
using RectDef = PixelRect;

// What a control kind's factory is given: the form being built, the window the control sits
// in (the form's, or a group box's), its definition, its control ID and font, and where it goes
// at the form's DPI.
struct ControlContext {
    Form& form;
    HWND parent;
    const ControlLayout& def;
    int id;
    HFONT font;       // not owned: the form's, or one the form made for this definition
    RectDef bounds;   // the definition's bounds at the form's DPI
    int dpi;
};

// Makes one control of a kind from its definition; the control is owned by the form.
using ControlFactory = Component* (*)(const ControlContext& context);

// "No colour of its own": the control uses the window-text colour.
constexpr COLORREF kDefaultColor = 0xFF000000;
// Not in the tab order.
constexpr int kNoTabOrder = -1;

// A property of the control's kind, set once the control is made: a setter of the kind,
// given the value it takes (stored as an int).
struct PropertyDef {
    void (*apply)(Component& control, int value) = nullptr;
    int value = 0;
};

// What a control is made from, whatever its form's commands.
struct ControlLayout {
    static constexpr std::size_t kMaxProperties = 4;

    ControlFactory create;
    const char* name;
    RectDef bounds;   // pixels at 96 DPI, relative to the parent
    const char* caption = nullptr;
    const char* parent = nullptr;   // the control it sits in, or null for the form itself
    int tabOrder = kNoTabOrder;     // among the parent's controls
    bool enabled = true;
    bool isDefault = false;   // the button Enter presses
    COLORREF textColor = kDefaultColor;
    const FontDef* font = nullptr;     // null: the form's font
    const char* popupMenu = nullptr;   // the form's menu shown on a right click
    PropertyDef properties[kMaxProperties] = {};
};

// One event of a control and the command of the form it runs.
template <typename Command>
struct EventDef {
    NotifyEvent* (*event)(Component& control) = nullptr;   // the event member of the control
    Command command{};
};

// A control of a form whose commands are Command: its layout and its events.
template <typename Command>
struct ControlDef : ControlLayout {
    static constexpr std::size_t kMaxEvents = 4;

    EventDef<Command> events[kMaxEvents] = {};
};

namespace form_def_detail {

template <typename Member>
struct MemberOf;
template <typename Class, typename Type>
struct MemberOf<Type Class::*> {
    using Owner = Class;
};

template <typename Setter>
struct SetterOf;
template <typename Class, typename Value>
struct SetterOf<void (Class::*)(Value)> {
    using Owner = Class;
    using Argument = std::decay_t<Value>;
};

template <auto Event>
NotifyEvent* EventOf(Component& control)
{
    using Owner = typename MemberOf<decltype(Event)>::Owner;
    return &(static_cast<Owner&>(control).*Event);
}

template <auto Setter>
void ApplyProperty(Component& control, int value)
{
    using Setting = SetterOf<decltype(Setter)>;
    (static_cast<typename Setting::Owner&>(control).*Setter)(static_cast<typename Setting::Argument>(value));
}

}   // namespace form_def_detail

// One row of a form's table: a control of kind Kind (made by Kind::Create), so that a table
// reads Row<Button>{"Name", {left, top, width, height}, "caption"}.In("Group").Tab(0)
// .On<&Button::OnClick>(Command::Save), with Row an alias of ControlRow<Kind, Command>.
template <typename Kind, typename Command>
struct ControlRow : ControlDef<Command> {
    constexpr ControlRow(const char* name, RectDef bounds, const char* caption = nullptr)
        : ControlDef<Command>{{&Kind::Create, name, bounds, caption}}
    {
    }

    constexpr ControlRow In(const char* parentName) const
    {
        ControlRow row = *this;
        row.parent = parentName;
        return row;
    }
    constexpr ControlRow Tab(int order) const
    {
        ControlRow row = *this;
        row.tabOrder = order;
        return row;
    }
    constexpr ControlRow Disabled() const
    {
        ControlRow row = *this;
        row.enabled = false;
        return row;
    }
    constexpr ControlRow Default() const
    {
        ControlRow row = *this;
        row.isDefault = true;
        return row;
    }
    constexpr ControlRow Color(COLORREF color) const
    {
        ControlRow row = *this;
        row.textColor = color;
        return row;
    }
    constexpr ControlRow Font(const FontDef& fontDef) const
    {
        ControlRow row = *this;
        row.font = &fontDef;
        return row;
    }
    constexpr ControlRow Menu(const char* menuName) const
    {
        ControlRow row = *this;
        row.popupMenu = menuName;
        return row;
    }
    // The event (a NotifyEvent member of the kind) runs the form's command.
    template <auto Event>
    constexpr ControlRow On(Command command) const
    {
        static_assert(std::is_base_of_v<typename form_def_detail::MemberOf<decltype(Event)>::Owner, Kind>,
                      "the control's kind has no such event");
        ControlRow row = *this;
        std::size_t i = 0;
        while (i < ControlDef<Command>::kMaxEvents && row.events[i].event) {
            ++i;
        }
        // A full list is a compile error in a constant expression: there is no slot to write.
        row.events[i] = {&form_def_detail::EventOf<Event>, command};
        return row;
    }
    // The setter (a member of the kind that takes one value) is called with `value` once the
    // control is made.
    template <auto Setter>
    constexpr ControlRow Set(typename form_def_detail::SetterOf<decltype(Setter)>::Argument value) const
    {
        static_assert(std::is_base_of_v<typename form_def_detail::SetterOf<decltype(Setter)>::Owner, Kind>,
                      "the control's kind has no such property");
        ControlRow row = *this;
        std::size_t i = 0;
        while (i < ControlLayout::kMaxProperties && row.properties[i].apply) {
            ++i;
        }
        row.properties[i] = {&form_def_detail::ApplyProperty<Setter>, static_cast<int>(value)};
        return row;
    }
};

enum class BorderStyle { Dialog, Sizeable };

// A form's window: everything but its controls and menus.
struct WindowDef {
    const char* className;   // also the window class, which others look windows up by
    const char* caption;
    BorderStyle border;
    bool systemMenu;                 // border icons: the system menu with its close box
    int left, top;                   // screen pixels
    int clientWidth, clientHeight;   // pixels at 96 DPI
    int colorIndex;                  // a system colour (COLOR_BTNFACE)
    FontDef font;
};

// A form whose controls and menu items run commands of the enumeration Command.
template <typename Command>
struct FormDef : WindowDef {
    Span<ControlDef<Command>> controls;
    Span<MenuDef<Command>> menus;
};

// The commands of a form that has none.
enum class NoCommand {};
