// A pop-up menu: a tree of MenuItem components, turned into a menu handle each time it
// opens, tracked modally at a screen point.
#pragma once

#include "framework/component.h"
#include "framework/handles.h"
#include "framework/menu_item.h"

#include <windows.h>

#include <vector>

class ImageList;

class PopupMenu : public Component {
public:
    explicit PopupMenu(Component* owner);

    // The invisible root whose items are the menu's top level; owned by the menu.
    MenuItem* Items() const { return items_; }

    // The list the items' image indexes refer to; not owned.
    ImageList* Images() const { return images_; }
    void SetImages(ImageList* images);

    // Runs just before the menu shows, whoever opens it.
    NotifyEvent OnPopup;

    // Fires OnPopup, shows the menu with its top-left corner at the screen point and
    // returns when it has closed, after running the chosen item's OnClick.
    void Popup(int x, int y);

    // A menu handle for the items as they stand now. Each command item gets a fresh
    // command number, by which the chosen item is found again after the menu closes.
    // Items with an image show it as the item's bitmap beside their (real) caption; the
    // bitmaps live until the next build or the menu's end.
    UniqueMenu BuildHandle();
    // The item of this menu that carries the command number, if it still exists.
    MenuItem* FindCommand(UINT command) const;

    // The window that owns the menu while it is tracked: the owning form's, else the
    // application's.
    HWND WindowHandle() const;

    void Notification(Component* component, Operation operation) override;

private:
    void AppendItem(HMENU menu, MenuItem* item, HMENU submenu);

    MenuItem* items_;                     // owned (as a component of this menu)
    ImageList* images_ = nullptr;         // not owned: cleared when the list goes
    std::vector<UniqueBitmap> bitmaps_;   // owned: a menu does not delete item bitmaps
};
