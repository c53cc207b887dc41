#include "framework/menu_item.h"

#include "base/error.h"

#include <algorithm>

MenuItem::~MenuItem()
{
    // A deep submenu is taken apart from the leaves up without recursion: detach the last
    // item of the deepest last branch and destroy it once it has no items left.
    while (!items_.empty()) {
        MenuItem* leaf = items_.back();
        while (!leaf->items_.empty()) {
            leaf = leaf->items_.back();
        }
        leaf->parent_->items_.pop_back();
        leaf->parent_ = nullptr;
        delete leaf;
    }
    if (parent_) {
        parent_->Remove(this);
    }
}

void MenuItem::Reshaped()
{
    for (MenuItem* item = this; item; item = item->parent_) {
        ++item->shapeRevision_;
    }
}

void MenuItem::SetImageIndex(int index)
{
    if (index == imageIndex_) {
        return;
    }
    imageIndex_ = index;
    for (MenuItem* item = this; item; item = item->parent_) {
        ++item->pictureRevision_;
    }
}

void MenuItem::Click()
{
    if (OnClick) {
        OnClick(this);
    }
}

int MenuItem::IndexOf(const MenuItem* item) const
{
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void MenuItem::Add(MenuItem* item)
{
    Insert(Count(), item);
}

void MenuItem::Insert(int index, MenuItem* item)
{
    if (item->parent_) {
        throw Error("Menu inserted twice");
    }
    if (index < 0 || index > Count()) {
        throw Error("Menu index out of range");
    }
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    Reshaped();
}

void MenuItem::Delete(int index)
{
    if (index < 0 || index >= Count()) {
        throw Error("Menu index out of range");
    }
    items_[index]->parent_ = nullptr;
    items_.erase(items_.begin() + index);
    Reshaped();
}

void MenuItem::Remove(MenuItem* item)
{
    int index = IndexOf(item);
    if (index >= 0) {
        Delete(index);
    }
}
