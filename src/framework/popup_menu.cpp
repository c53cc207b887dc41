#include "framework/popup_menu.h"

#include "framework/application.h"
#include "framework/custom_window.h"
#include "framework/display_dpi.h"
#include "framework/image_list.h"

#include <vector>

namespace {
// Menu results carry 16-bit identifiers. Items built at every opening take numbers from the
// lower half, items of kept submenus from the upper half, so that neither reuses a number the
// other still holds; each half starts over once used up.
constexpr UINT kFirstCommand = 1;
constexpr UINT kFirstKeptCommand = 0x8000;
constexpr UINT kLastKeptCommand = 0xFFFF;
UINT g_nextCommand = kFirstCommand;
UINT g_nextKeptCommand = kFirstKeptCommand;
}   // namespace

BuiltMenu::~BuiltMenu()
{
    for (auto [parent, submenu] : borrowed_) {
        for (int i = GetMenuItemCount(parent) - 1; i >= 0; --i) {
            if (GetSubMenu(parent, i) == submenu) {
                RemoveMenu(parent, i, MF_BYPOSITION);   // takes it out without destroying it
            }
        }
    }
}

PopupMenu::PopupMenu(Component* owner) : Component(owner), items_(new MenuItem(this)), dpi_(SystemDpi())
{
    items_->SetSubmenu(true);
}

PopupMenu::~PopupMenu() = default;

HWND PopupMenu::WindowHandle() const
{
    if (auto* control = dynamic_cast<CustomWindow*>(Owner()); control && control->HandleAllocated()) {
        return control->Handle();
    }
    return application ? application->Handle() : nullptr;
}

void PopupMenu::SetImages(ImageList* images)
{
    if (images_) {
        images_->RemoveFreeNotification(this);
    }
    images_ = images;
    if (images_) {
        images_->FreeNotification(this);
    }
}

void PopupMenu::Notification(Component* component, Operation operation)
{
    Component::Notification(component, operation);
    if (operation != Operation::Remove) {
        return;
    }
    if (component == images_) {
        images_ = nullptr;
    }
    if (auto* item = dynamic_cast<MenuItem*>(component)) {
        kept_.erase(item);
    }
}

UINT PopupMenu::NextCommand(bool kept)
{
    UINT& next = kept ? g_nextKeptCommand : g_nextCommand;
    const UINT command = next;
    if (kept) {
        next = next == kLastKeptCommand ? kFirstKeptCommand : next + 1;
    } else {
        next = next == kFirstKeptCommand - 1 ? kFirstCommand : next + 1;
    }
    return command;
}

void PopupMenu::AppendItem(HMENU menu, MenuItem* item, HMENU submenu, HBITMAP bitmap, UINT command)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    item->SetCommand(0);
    if (item->IsSeparator()) {
        info.fMask = MIIM_FTYPE;
        info.fType = MFT_SEPARATOR;
        InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &info);
        return;
    }
    info.fMask = MIIM_STRING | MIIM_STATE | MIIM_ID;
    info.dwTypeData = const_cast<char*>(item->Caption().c_str());
    info.fState = (item->Checked() ? MFS_CHECKED : 0u) | (item->Enabled() ? 0u : MFS_DISABLED);
    if (bitmap) {
        info.fMask |= MIIM_BITMAP;
        info.hbmpItem = bitmap;
    }
    if (submenu) {
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = submenu;
    } else {
        item->SetCommand(command);
    }
    info.wID = item->Command();
    InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &info);
}

HBITMAP PopupMenu::KeptBitmap(Kept& kept, ImageList* images, int index)
{
    if (!images || index < 0) {
        return nullptr;
    }
    UniqueBitmap& bitmap = kept.bitmaps[{images, index}];
    if (!bitmap) {
        bitmap.Reset(images->CreateBitmap(index));
    }
    return bitmap.Get();
}

void PopupMenu::Fill(HMENU menu, MenuItem* from, ImageList* images, Kept* kept, BuiltMenu* built)
{
    // Depth-first without recursion: each frame is a menu handle being filled from an item.
    struct Frame {
        MenuItem* item;
        HMENU menu;
        ImageList* images;
        int next;
    };
    std::vector<Frame> stack{{from, menu, images, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.item->Count()) {
            stack.pop_back();
            continue;
        }
        MenuItem* item = frame.item->Items(frame.next++);
        if (!item->Visible()) {
            continue;
        }
        HMENU parent = frame.menu;
        ImageList* itemImages = frame.images;
        const int position = GetMenuItemCount(parent);
        HMENU submenu = nullptr;
        ImageList* below = item->SubMenuImages() ? item->SubMenuImages() : itemImages;
        const bool isSubmenu = item->IsSubmenu() && !item->IsSeparator();
        if (isSubmenu && item->KeepHandle() && !kept && built) {
            submenu = KeptHandle(item, below);
            built->Borrow(parent, submenu);
        } else if (isSubmenu) {
            submenu = CreatePopupMenu();   // owned by its parent menu once appended
        }
        // A kept submenu's items share one bitmap per picture: its build then costs one bitmap
        // per picture, not one per item.
        const int index = item->IsSeparator() ? -1 : item->ImageIndex();
        HBITMAP bitmap = nullptr;
        if (kept) {
            bitmap = KeptBitmap(*kept, itemImages, index);
            kept->shown.push_back({item, parent, position, index, itemImages});
        } else if (itemImages && index >= 0) {
            bitmap = itemImages->CreateBitmap(index);
            if (bitmap) {
                bitmaps_.emplace_back(bitmap);
            }
        }
        AppendItem(parent, item, submenu, bitmap, NextCommand(kept != nullptr));
        if (isSubmenu && !(item->KeepHandle() && !kept && built)) {
            stack.push_back({item, submenu, below, 0});
        }
    }
}

HMENU PopupMenu::KeptHandle(MenuItem* item, ImageList* images)
{
    auto found = kept_.find(item);
    if (found == kept_.end()) {
        item->FreeNotification(this);
        found = kept_.emplace(item, Kept{}).first;
    }
    Kept& kept = found->second;
    const bool listCleared = images && kept.imagesRevision != images->Revision();
    if (!kept.menu || kept.shape != item->ShapeRevision()) {
        kept.shown.clear();
        kept.menu.Reset(CreatePopupMenu());
        kept.bitmaps.clear();   // a list's pictures may have been replaced with its items
        Fill(kept.menu.Get(), item, images, &kept, nullptr);
    } else if (kept.pictures != item->PictureRevision() || listCleared) {
        // Only the pictures changed: each item whose image index moved gets its new bitmap;
        // after the list was cleared, every item, and the old bitmaps go once none shows them.
        std::map<std::pair<ImageList*, int>, UniqueBitmap> old;
        if (listCleared) {
            old.swap(kept.bitmaps);
        }
        for (Shown& shown : kept.shown) {
            if ((shown.item->ImageIndex() == shown.image && !listCleared) || shown.item->IsSeparator()) {
                continue;
            }
            const int index = shown.item->ImageIndex();
            MENUITEMINFOA info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_BITMAP;
            info.hbmpItem = KeptBitmap(kept, shown.images, index);
            SetMenuItemInfoA(shown.menu, shown.position, TRUE, &info);
            shown.image = index;
        }
    }
    kept.shape = item->ShapeRevision();
    kept.pictures = item->PictureRevision();
    kept.imagesRevision = images ? images->Revision() : 0;
    return kept.menu.Get();
}

void PopupMenu::PrepareKept(MenuItem* item)
{
    // The images its items draw from, as a build reaching it would pass them down.
    ImageList* images = images_;
    for (MenuItem* up = item; up; up = up->Parent()) {
        if (up->SubMenuImages()) {
            images = up->SubMenuImages();
            break;
        }
    }
    if (item->KeepHandle() && item->IsSubmenu()) {
        KeptHandle(item, images);
    }
}

BuiltMenu PopupMenu::BuildHandle()
{
    bitmaps_.clear();
    BuiltMenu root{UniqueMenu(CreatePopupMenu())};
    Fill(root.Get(), items_, images_, nullptr, &root);
    return root;
}

MenuItem* PopupMenu::FindCommand(UINT command) const
{
    if (command == 0) {
        return nullptr;
    }
    std::vector<MenuItem*> stack{items_};
    while (!stack.empty()) {
        MenuItem* item = stack.back();
        stack.pop_back();
        if (item->Command() == command) {
            return item;
        }
        for (int i = 0; i < item->Count(); ++i) {
            stack.push_back(item->Items(i));
        }
    }
    return nullptr;
}

void PopupMenu::Popup(int x, int y)
{
    dpi_ = MenuDpiAt({x, y});
    if (OnPopup) {
        OnPopup(this);
    }
    HWND window = WindowHandle();
    UINT command;
    {
        BuiltMenu menu = BuildHandle();
        command = static_cast<UINT>(TrackPopupMenu(
            menu.Get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, window, nullptr));
        // Lets the menu close properly when the user clicks elsewhere next time.
        PostMessageA(window, WM_NULL, 0, 0);
    }
    // The menu's loop dispatched messages: look the item up again rather than trusting
    // anything from before it.
    if (MenuItem* item = FindCommand(command)) {
        item->Click();
    }
}
