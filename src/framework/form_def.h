// Declarative form definitions: what a form looks like, in screen pixels, as plain data.
#pragma once

#include "framework/menu_def.h"
#include "framework/span.h"

#include <windows.h>

enum class ControlKind { Label, Button };

// "No colour of its own": the control uses the window-text colour.
constexpr COLORREF kDefaultColor = 0xFF000000;

struct ControlDef {
    ControlKind kind;
    const char* name;
    int left, top, width, height;
    const char* caption;
    COLORREF textColor = kDefaultColor;
    const char* onClick = nullptr;   // handler name, resolved by the form
    bool isDefault = false;          // the button Enter presses
};

enum class BorderStyle { Dialog, Sizeable };

struct FontDef {
    const char* face;
    int height;   // pixels, character height
    BYTE charset;
};

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
    Span<MenuItemDef> popupMenu;   // the form's pop-up menu, named `PopupMenu`; may be empty
};
