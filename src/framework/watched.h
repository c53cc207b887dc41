// A component's pointer to a component it does not own, which turns null when that one is
// destroyed: the pair of FreeNotification and a Notification override, written once.
#pragma once

#include "framework/component.h"

class WatchedLink {
public:
    // Lives inside `watcher`, a member of it: the watcher is told when the target goes.
    explicit WatchedLink(Component& watcher);
    ~WatchedLink();
    WatchedLink(const WatchedLink&) = delete;
    WatchedLink& operator=(const WatchedLink&) = delete;

protected:
    void Point(Component* target);
    Component* target_ = nullptr;   // not owned

private:
    friend class Component;
    Component& watcher_;
};

template <typename T>
class Watched : public WatchedLink {
public:
    using WatchedLink::WatchedLink;

    // While a Notification about the target's removal runs the pointer is already null:
    // compare with a copy taken before, never call it.
    T* Get() const { return static_cast<T*>(target_); }
    T* operator->() const { return Get(); }
    T& operator*() const { return *Get(); }
    explicit operator bool() const { return target_ != nullptr; }
    void Set(T* target) { Point(target); }
};
