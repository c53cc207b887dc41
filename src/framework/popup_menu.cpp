#include "framework/popup_menu.h"

#include "framework/application.h"
#include "framework/custom_window.h"
#include "framework/image_list.h"

#include <vector>

namespace {
// Menu results carry 16-bit identifiers; numbers are reused after 65,535 items.
UINT g_nextCommand = 1;
}   // namespace

PopupMenu::PopupMenu(Component* owner) : Component(owner), items_(new MenuItem(this))
{
    items_->SetSubmenu(true);
}

HWND PopupMenu::WindowHandle() const
{
    if (auto* control = dynamic_cast<CustomWindow*>(Owner()); control && control->HandleAllocated())
        return control->Handle();
    return application ? application->Handle() : nullptr;
}

void PopupMenu::SetImages(ImageList* images)
{
    if (images_)
        images_->RemoveFreeNotification(this);
    images_ = images;
    if (images_)
        images_->FreeNotification(this);
}

void PopupMenu::Notification(Component* component, Operation operation)
{
    Component::Notification(component, operation);
    if (operation == Operation::Remove && component == images_)
        images_ = nullptr;
}

void PopupMenu::AppendItem(HMENU menu, MenuItem* item, HMENU submenu)
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
    if (images_ && item->ImageIndex() >= 0) {
        if (HBITMAP bitmap = images_->CreateBitmap(item->ImageIndex())) {
            bitmaps_.emplace_back(bitmap);
            info.fMask |= MIIM_BITMAP;
            info.hbmpItem = bitmap;
        }
    }
    if (submenu) {
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = submenu;
    } else {
        item->SetCommand(g_nextCommand);
        g_nextCommand = g_nextCommand == 0xFFFF ? 1 : g_nextCommand + 1;
    }
    info.wID = item->Command();
    InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &info);
}

UniqueMenu PopupMenu::BuildHandle()
{
    bitmaps_.clear();
    UniqueMenu root(CreatePopupMenu());
    // Depth-first without recursion: each frame is a menu handle being filled from an item.
    struct Frame {
        MenuItem* item;
        HMENU menu;
        int next;
    };
    std::vector<Frame> stack{{items_, root.Get(), 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.item->Count()) {
            stack.pop_back();
            continue;
        }
        MenuItem* item = frame.item->Items(frame.next++);
        if (!item->Visible())
            continue;
        if (item->IsSubmenu() && !item->IsSeparator()) {
            HMENU submenu = CreatePopupMenu();   // owned by its parent menu once appended
            AppendItem(frame.menu, item, submenu);
            stack.push_back({item, submenu, 0});
        } else {
            AppendItem(frame.menu, item, nullptr);
        }
    }
    return root;
}

MenuItem* PopupMenu::FindCommand(UINT command) const
{
    if (command == 0)
        return nullptr;
    std::vector<MenuItem*> stack{items_};
    while (!stack.empty()) {
        MenuItem* item = stack.back();
        stack.pop_back();
        if (item->Command() == command)
            return item;
        for (int i = 0; i < item->Count(); ++i)
            stack.push_back(item->Items(i));
    }
    return nullptr;
}

void PopupMenu::Popup(int x, int y)
{
    if (OnPopup)
        OnPopup(this);
    HWND window = WindowHandle();
    UINT command;
    {
        UniqueMenu menu = BuildHandle();
        command = static_cast<UINT>(TrackPopupMenu(
            menu.Get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, window, nullptr));
        // Lets the menu close properly when the user clicks elsewhere next time.
        PostMessageA(window, WM_NULL, 0, 0);
    }
    // The menu's loop dispatched messages: look the item up again rather than trusting
    // anything from before it.
    if (MenuItem* item = FindCommand(command))
        item->Click();
}
