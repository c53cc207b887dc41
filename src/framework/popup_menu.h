// A pop-up menu: a tree of MenuItem components, turned into a menu handle each time it
// opens, tracked modally at a screen point. A submenu marked KeepHandle is built once and
// kept from opening to opening; only its items' pictures are brought up to date, until a
// change of its items has it built anew.
#pragma once

#include "framework/component.h"
#include "framework/handles.h"
#include "framework/menu_item.h"

#include <windows.h>

#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

class ImageList;

// A menu handle built from the items; the kept submenus in it are taken out again, not
// destroyed, when it goes.
class BuiltMenu {
public:
    explicit BuiltMenu(UniqueMenu menu) : menu_(std::move(menu)) {}
    BuiltMenu(BuiltMenu&&) = default;
    BuiltMenu& operator=(BuiltMenu&&) = delete;
    ~BuiltMenu();
    HMENU Get() const { return menu_.Get(); }
    // A kept submenu that sits in `parent` and must outlive this handle.
    void Borrow(HMENU parent, HMENU submenu) { borrowed_.emplace_back(parent, submenu); }

private:
    UniqueMenu menu_;
    std::vector<std::pair<HMENU, HMENU>> borrowed_;
};

class PopupMenu : public Component {
public:
    explicit PopupMenu(Component* owner);
    ~PopupMenu() override;

    // The invisible root whose items are the menu's top level; owned by the menu.
    MenuItem* Items() const { return items_; }

    // The list the items' image indexes refer to (unless a submenu names its own); not owned.
    ImageList* Images() const { return images_; }
    void SetImages(ImageList* images);

    // Runs just before the menu shows, whoever opens it; Dpi() is then the DPI it shows at.
    NotifyEvent OnPopup;
    // The DPI the system draws the menu at, where it opens or last opened: the pictures of
    // its items are to have the small-icon size of it.
    int Dpi() const { return dpi_; }

    // Fires OnPopup, shows the menu with its top-left corner at the screen point and
    // returns when it has closed, after running the chosen item's OnClick.
    void Popup(int x, int y);

    // A menu handle for the items as they stand now. Each command item gets a command
    // number, by which the chosen item is found again after the menu closes: a fresh one at
    // every build, or, in a kept submenu, one that stays until the submenu is built anew.
    // Items with an image show it as the item's bitmap beside their (real) caption; the
    // bitmaps live until the next build or the menu's end.
    BuiltMenu BuildHandle();
    // Brings the kept handle of the item (one marked KeepHandle) up to date now, so that the
    // next opening finds it ready.
    void PrepareKept(MenuItem* item);
    // The item of this menu that carries the command number, if it still exists.
    MenuItem* FindCommand(UINT command) const;

    // The window that owns the menu while it is tracked: the owning form's, else the
    // application's.
    HWND WindowHandle() const;

    void Notification(Component* component, Operation operation) override;

private:
    // One item of a kept submenu as its handle shows it.
    struct Shown {
        MenuItem* item;   // not owned; valid while the shape is unchanged
        HMENU menu;       // not owned: the kept handle's
        int position;
        int image;
        ImageList* images;   // not owned
    };
    struct Kept {
        UniqueMenu menu;   // owned, taken out of every built menu before it goes
        unsigned shape = 0;
        unsigned pictures = 0;
        unsigned imagesRevision = 0;   // of the list the submenu draws from
        std::vector<Shown> shown;
        std::map<std::pair<ImageList*, int>, UniqueBitmap>
            bitmaps;   // owned: one per picture, shared by items
    };

    // Appends item to menu, with submenu as its submenu if given, the bitmap (not owned) as
    // its picture, and `command` as its number.
    void AppendItem(HMENU menu, MenuItem* item, HMENU submenu, HBITMAP bitmap, UINT command);
    // The bitmap of the image at index, made once for the kept submenu; null for none.
    HBITMAP KeptBitmap(Kept& kept, ImageList* images, int index);
    // Fills menu from the items under `from`. In a kept submenu (kept given) the shown items
    // are recorded there; elsewhere the bitmaps go to bitmaps_ and kept submenus are lent to
    // `built`.
    void Fill(HMENU menu, MenuItem* from, ImageList* images, Kept* kept, BuiltMenu* built);
    // The kept handle of the item, brought up to date.
    HMENU KeptHandle(MenuItem* item, ImageList* images);
    UINT NextCommand(bool kept);

    MenuItem* items_;                     // owned (as a component of this menu)
    ImageList* images_ = nullptr;         // not owned: cleared when the list goes
    std::vector<UniqueBitmap> bitmaps_;   // owned: a menu does not delete item bitmaps
    std::unordered_map<MenuItem*, Kept> kept_;
    int dpi_;
};
