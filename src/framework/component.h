// The base of everything built from a form definition: a name, an owner that destroys
// what it owns, and notification when a referenced component goes away.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class Component;
class WatchedLink;

enum class Operation { Insert, Remove };

// An event handler; the sender is the component that fires it.
using NotifyEvent = std::function<void(Component* sender)>;

class Component {
public:
    explicit Component(Component* owner);
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;
    virtual ~Component();

    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    Component* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    Component* Components(int index) const { return components_[index]; }
    // The owned component of that name (case-insensitive, as names are), or null.
    Component* FindComponent(std::string_view name) const;
    // The owned component of that name and kind; an error naming both when there is none of
    // that name, or it is of another kind.
    template <typename T>
    T& Owned(std::string_view name) const
    {
        if (auto* found = dynamic_cast<T*>(FindComponent(name))) {
            return *found;
        }
        NoSuchComponent(name);
    }

    // Asks this component to tell `other` (via Notification) when it is destroyed.
    void FreeNotification(Component* other);
    void RemoveFreeNotification(Component* other);

    bool Designing() const { return designing_; }
    void SetDesigning(bool designing);

    // Runs once the component has been read from its definition.
    virtual void Loaded() {}

    // `component` was inserted into or removed from this component, or a component this
    // one asked to be told about (FreeNotification) is being destroyed. During removal `component` may be
    // half-destroyed: compare it with stored pointers, never call it. The Watched pointers of
    // this component are null again once this base version has run.
    virtual void Notification(Component* component, Operation operation);

protected:
    // Destroys the owned components now; a windowed owner does this while its window and
    // its derived parts still exist.
    void DestroyComponents();

private:
    friend class WatchedLink;

    [[noreturn]] void NoSuchComponent(std::string_view name) const;
    void InsertComponent(Component* component);
    void RemoveComponent(Component* component);

    std::string name_;
    Component* owner_;                       // not owned
    std::vector<Component*> components_;     // owned
    std::vector<Component*> freeNotifies_;   // not owned: told when this one goes
    std::vector<WatchedLink*> watched_;      // not owned: this component's members
    bool designing_ = false;
    bool destroying_ = false;
};
