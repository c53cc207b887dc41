#include "framework/component.h"

#include "base/error.h"
#include "framework/watched.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace {

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](unsigned char x, unsigned char y) { return std::toupper(x) == std::toupper(y); });
}

template <typename T>
void Erase(std::vector<T*>& list, T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}   // namespace

Component::Component(Component* owner) : owner_(nullptr)
{
    if (owner) {
        owner->InsertComponent(this);
    }
}

Component::~Component()
{
    destroying_ = true;
    // Those who refer to this component clear their references first.
    while (!freeNotifies_.empty()) {
        Component* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        Erase(other->freeNotifies_, this);
        other->Notification(this, Operation::Remove);
    }
    DestroyComponents();
    if (owner_) {
        owner_->RemoveComponent(this);
    }
}

void Component::DestroyComponents()
{
    // Last-created first; each one leaves this list as it goes.
    while (!components_.empty()) {
        delete components_.back();
    }
}

Component* Component::FindComponent(std::string_view name) const
{
    if (name.empty()) {
        return nullptr;
    }
    for (Component* c : components_) {
        if (SameName(c->name_, name)) {
            return c;
        }
    }
    return nullptr;
}

void Component::NoSuchComponent(std::string_view name) const
{
    throw Error(name_ + ": no component " + std::string(name) + " of the kind asked for");
}

void Component::FreeNotification(Component* other)
{
    if (!other || other == this) {
        return;
    }
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end()) {
        freeNotifies_.push_back(other);
        other->freeNotifies_.push_back(this);
    }
}

void Component::RemoveFreeNotification(Component* other)
{
    if (!other) {
        return;
    }
    Erase(freeNotifies_, other);
    Erase(other->freeNotifies_, this);
}

void Component::SetDesigning(bool designing)
{
    designing_ = designing;
    for (Component* c : components_) {
        c->SetDesigning(designing);
    }
}

void Component::Notification(Component* component, Operation operation)
{
    if (operation != Operation::Remove) {
        return;
    }
    for (WatchedLink* link : watched_) {
        if (link->target_ == component) {
            link->target_ = nullptr;
        }
    }
    RemoveFreeNotification(component);
}

WatchedLink::WatchedLink(Component& watcher) : watcher_(watcher)
{
    watcher_.watched_.push_back(this);
}

WatchedLink::~WatchedLink()
{
    Point(nullptr);
    Erase(watcher_.watched_, this);
}

void WatchedLink::Point(Component* target)
{
    Component* previous = target_;
    target_ = target;
    if (target) {
        target->FreeNotification(&watcher_);
    }
    if (!previous || previous == target) {
        return;
    }
    // The watcher keeps hearing about a component another of its pointers still holds.
    for (const WatchedLink* link : watcher_.watched_) {
        if (link->target_ == previous) {
            return;
        }
    }
    previous->RemoveFreeNotification(&watcher_);
}

void Component::InsertComponent(Component* component)
{
    components_.push_back(component);
    component->owner_ = this;
    component->designing_ = designing_;
    Notification(component, Operation::Insert);
}

void Component::RemoveComponent(Component* component)
{
    // Components mostly go last-created first: search from the back, so that tearing down
    // thousands of menu items stays linear.
    auto it = std::find(components_.rbegin(), components_.rend(), component);
    if (it != components_.rend()) {
        components_.erase(std::next(it).base());
    }
    component->owner_ = nullptr;
    // Only the owner is told; others that refer to the component asked for a free
    // notification, which its destructor sends.
    if (!destroying_) {
        Notification(component, Operation::Remove);
    }
}
