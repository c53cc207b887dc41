// An item of the launcher submenu: it carries the absolute index of the node it was built for,
// as a number. The submenu is built again only after a load or a save, so by the time the item
// is chosen that number may belong to another node, or to none.
#pragma once

#include "framework/menu_item.h"

class LaunchList;

class LaunchMenuItem : public MenuItem {
public:
    // Choosing an item that launches starts the entry of the node of `list` that has the
    // item's number then; other items (folders) start nothing.
    LaunchMenuItem(Component* owner, LaunchList& list, int nodeIndex, bool launches)
        : MenuItem(owner), list_(&list), nodeIndex_(nodeIndex), launches_(launches)
    {
    }

    int NodeIndex() const { return nodeIndex_; }
    bool Launches() const { return launches_; }
    LaunchList* List() const { return list_; }
    // The list is going: the item starts nothing from now on.
    void ForgetList() { list_ = nullptr; }

    void Click() override;

private:
    // Not owned. A plain pointer, which the list clears: a watched one would cost every item a
    // registration with the list, and a long list thousands of them.
    LaunchList* list_;
    int nodeIndex_;
    bool launches_;
};
