// Menus as tables: each item its name, caption, state and handler; submenus in their own field.
#pragma once

#include "framework/span.h"

enum MenuItemFlags : unsigned {
    kMenuChecked = 1,
    kMenuHidden = 2,
    kMenuDisabled = 4,
    // The command opens a modal dialog: it runs once the menu has closed (DialogPresenter).
    kMenuOpensDialog = 8,
};

struct MenuItemDef {
    const char* name;
    const char* caption;   // "-" makes a separator
    unsigned flags;
    const char* onClick;       // handler name, resolved by the form; null for none
    Span<MenuItemDef> items;   // a non-empty list, or `submenu`, makes a submenu
    bool submenu = false;      // a submenu that starts empty
};
