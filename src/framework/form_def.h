// Declarative form definitions: what a form looks like, in screen pixels, as plain data.
#pragma once

#include "framework/menu_def.h"
#include "framework/span.h"

#include <windows.h>

#include <cstddef>

class Component;
class Form;
struct ControlDef;

struct FontDef {
    const char* face;
    int height;   // pixels, character height
    BYTE charset;
    int weight = FW_NORMAL;
};

// What a control kind's factory is given: the form being built, the window the control sits
// in (the form's, or a group box's), its definition, its control ID and font.
struct ControlContext {
    Form& form;
    HWND parent;
    const ControlDef& def;
    int id;
    HFONT font;   // not owned: the form's, or one the form made for this definition
};

// Makes one control of a kind from its definition; the control is owned by the form.
using ControlFactory = Component* (*)(const ControlContext& context);

// "No colour of its own": the control uses the window-text colour.
constexpr COLORREF kDefaultColor = 0xFF000000;
// Not in the tab order.
constexpr int kNoTabOrder = -1;

struct EventDef {
    const char* event = nullptr;     // the control's event, "OnClick"
    const char* handler = nullptr;   // the form's handler, "Button1Click"
};

struct PropertyDef {
    const char* name = nullptr;   // a property of the control's kind, "Indent"
    int value = 0;
};

struct RectDef {
    int left, top, width, height;
};

// One control: its kind, name and place, then what the modifiers below add, so that a table
// reads {Kind, "Name", {left, top, width, height}, "caption"}.In("GroupBox1").Tab(0)...
struct ControlDef {
    static constexpr std::size_t kMaxEvents = 4;
    static constexpr std::size_t kMaxProperties = 4;

    ControlFactory create;
    const char* name;
    RectDef bounds;   // pixels, relative to the parent
    const char* caption = nullptr;
    const char* parent = nullptr;   // the control it sits in, or null for the form itself
    int tabOrder = kNoTabOrder;     // among the parent's controls
    bool enabled = true;
    bool isDefault = false;   // the button Enter presses
    COLORREF textColor = kDefaultColor;
    const FontDef* font = nullptr;     // null: the form's font
    const char* popupMenu = nullptr;   // the form's menu shown on a right click
    EventDef events[kMaxEvents] = {};
    PropertyDef properties[kMaxProperties] = {};

    constexpr ControlDef In(const char* parentName) const
    {
        ControlDef def = *this;
        def.parent = parentName;
        return def;
    }
    constexpr ControlDef Tab(int order) const
    {
        ControlDef def = *this;
        def.tabOrder = order;
        return def;
    }
    constexpr ControlDef Disabled() const
    {
        ControlDef def = *this;
        def.enabled = false;
        return def;
    }
    constexpr ControlDef Default() const
    {
        ControlDef def = *this;
        def.isDefault = true;
        return def;
    }
    constexpr ControlDef Color(COLORREF color) const
    {
        ControlDef def = *this;
        def.textColor = color;
        return def;
    }
    constexpr ControlDef Font(const FontDef& fontDef) const
    {
        ControlDef def = *this;
        def.font = &fontDef;
        return def;
    }
    constexpr ControlDef Menu(const char* menuName) const
    {
        ControlDef def = *this;
        def.popupMenu = menuName;
        return def;
    }
    constexpr ControlDef On(const char* event, const char* handler) const
    {
        ControlDef def = *this;
        std::size_t i = 0;
        while (i < kMaxEvents && def.events[i].event) {
            ++i;
        }
        // A full list is a compile error in a constant expression: there is no slot to write.
        def.events[i] = {event, handler};
        return def;
    }
    constexpr ControlDef Set(const char* property, int value) const
    {
        ControlDef def = *this;
        std::size_t i = 0;
        while (i < kMaxProperties && def.properties[i].name) {
            ++i;
        }
        def.properties[i] = {property, value};
        return def;
    }
};

// A pop-up menu of the form, found by its name.
struct MenuDef {
    const char* name;
    Span<MenuItemDef> items;
};

enum class BorderStyle { Dialog, Sizeable };

struct FormDef {
    const char* className;   // also the window class, which others look windows up by
    const char* caption;
    BorderStyle border;
    bool systemMenu;   // border icons: the system menu with its close box
    int left, top;
    int clientWidth, clientHeight;
    int colorIndex;   // a system colour (COLOR_BTNFACE)
    FontDef font;
    Span<ControlDef> controls;
    Span<MenuDef> menus;
};
