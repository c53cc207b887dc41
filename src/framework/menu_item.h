// A menu item as a component. Its place in a menu (parent, children) is separate from its
// owner, as in any component framework: a submenu's items may be owned by anyone.
#pragma once

#include "framework/component.h"

#include <string>
#include <vector>

class ImageList;

class MenuItem : public Component {
public:
    explicit MenuItem(Component* owner) : Component(owner) {}
    // Destroys the subitems too, and leaves the parent's list.
    ~MenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption)
    {
        caption_ = std::move(caption);
        Reshaped();
    }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked)
    {
        checked_ = checked;
        Reshaped();
    }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled)
    {
        enabled_ = enabled;
        Reshaped();
    }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible)
    {
        visible_ = visible;
        Reshaped();
    }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint) { hint_ = std::move(hint); }
    // A submenu even while it has no items.
    bool IsSubmenu() const { return submenu_ || !items_.empty(); }
    void SetSubmenu(bool submenu)
    {
        submenu_ = submenu;
        Reshaped();
    }
    // The list this submenu's items (at any depth, unless a deeper one has its own) draw
    // their images from instead of the menu's; not owned.
    ImageList* SubMenuImages() const { return subMenuImages_; }
    void SetSubMenuImages(ImageList* images)
    {
        subMenuImages_ = images;
        Reshaped();
    }
    // A submenu whose menu handle is built once and kept from one opening of the menu to the
    // next, until its items change: for a long submenu that changes seldom.
    bool KeepHandle() const { return keepHandle_; }
    void SetKeepHandle(bool keep) { keepHandle_ = keep; }
    // Counts of changes to this item or any below it: of what the menu shows but pictures,
    // and of image indexes.
    unsigned ShapeRevision() const { return shapeRevision_; }
    unsigned PictureRevision() const { return pictureRevision_; }
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
    void Reshaped();

    std::string caption_;
    std::string hint_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool submenu_ = false;
    bool keepHandle_ = false;
    int imageIndex_ = -1;
    unsigned command_ = 0;
    unsigned shapeRevision_ = 0;
    unsigned pictureRevision_ = 0;
    ImageList* subMenuImages_ = nullptr;   // not owned
    MenuItem* parent_ = nullptr;           // not owned
    std::vector<MenuItem*> items_;         // not owned: destroyed with this item all the same
};
