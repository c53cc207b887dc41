// Menus as tables: each item its name, caption, state and command; submenus in their own field.
#pragma once

#include "framework/span.h"

#include <optional>

enum MenuItemFlags : unsigned {
    kMenuChecked = 1,
    kMenuHidden = 2,
    kMenuDisabled = 4,
    // The command opens a modal dialog: it runs once the menu has closed (DialogPresenter).
    kMenuOpensDialog = 8,
};

// An item of a menu of a form whose commands are Command.
template <typename Command>
struct MenuItemDef {
    const char* name;      // null for a separator, which nobody looks up
    const char* caption;   // "-" makes a separator
    unsigned flags;
    std::optional<Command> onClick;   // the form's command the item runs, or none
    Span<MenuItemDef> items;          // a non-empty list, or `submenu`, makes a submenu
    bool submenu = false;             // a submenu that starts empty
};

// A pop-up menu of the form, found by its name.
template <typename Command>
struct MenuDef {
    const char* name;
    Span<MenuItemDef<Command>> items;
    std::optional<Command> onPopup = std::nullopt;   // the command run just before it shows
};
