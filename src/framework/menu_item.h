// A menu item as a component. Its place in a menu (parent, children) is separate from its
// owner, as in any component framework: a submenu's items may be owned by anyone.
#pragma once

#include "framework/component.h"

#include <string>
#include <vector>

class MenuItem : public Component {
public:
    explicit MenuItem(Component* owner) : Component(owner) {}
    // Destroys the subitems too, and leaves the parent's list.
    ~MenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption) { caption_ = std::move(caption); }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked) { checked_ = checked; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index) { imageIndex_ = index; }
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint) { hint_ = std::move(hint); }
    // A submenu even while it has no items.
    bool IsSubmenu() const { return submenu_ || !items_.empty(); }
    void SetSubmenu(bool submenu) { submenu_ = submenu; }
    bool IsSeparator() const { return caption_ == "-"; }

    // The command number the item had in the menu handle last built from it; 0 for none.
    unsigned Command() const { return command_; }
    void SetCommand(unsigned command) { command_ = command; }

    NotifyEvent OnClick;
    // Runs OnClick with this item as sender.
    virtual void Click();

    MenuItem* Parent() const { return parent_; }
    int Count() const { return static_cast<int>(items_.size()); }
    MenuItem* Items(int index) const { return items_[index]; }
    int IndexOf(const MenuItem* item) const;
    void Add(MenuItem* item);
    void Insert(int index, MenuItem* item);
    // Takes the item out of this menu without destroying it.
    void Delete(int index);
    void Remove(MenuItem* item);

private:
    std::string caption_;
    std::string hint_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool submenu_ = false;
    int imageIndex_ = -1;
    unsigned command_ = 0;
    MenuItem* parent_ = nullptr;     // not owned
    std::vector<MenuItem*> items_;   // not owned: destroyed with this item all the same
};
