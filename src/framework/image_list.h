// A list of small images of one size (an HIMAGELIST it owns), from which menus and tree views
// draw.
#pragma once

#include "base/picture.h"
#include "framework/component.h"

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <vector>

class ImageList : public Component {
public:
    ImageList(Component* owner, int width = 16, int height = 16);
    ~ImageList() override;

    HIMAGELIST Handle() const { return handle_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const;
    void Clear();
    // Takes another size; its images go, as with Clear.
    void SetSize(int width, int height);
    // Counts the clearings: an index taken before another clearing may now name another image.
    unsigned Revision() const { return revision_; }
    // Appends the icon drawn at the list's size and returns its index, or -1. The icon
    // stays the caller's.
    int AddIcon(HICON icon);
    // The icon drawn at the list's size, for adding again and again at little cost; nothing
    // when it cannot be read.
    std::optional<Picture> ReadPicture(HICON icon) const;
    // The same for a list of that size; touches no list, so any thread may call it.
    static std::optional<Picture> ReadPicture(HICON icon, int width, int height);
    // Appends the pictures, each of the list's size, in one step; returns the index of the
    // first, or -1 when nothing was appended.
    int AddPictures(const std::vector<const Picture*>& pictures);
    // The image at index as a new 32-bit top-down DIB with alpha, for a menu item's
    // bitmap; null for an index outside the list. The caller owns it.
    HBITMAP CreateBitmap(int index) const;

private:
    HIMAGELIST handle_;   // owned
    int width_;
    int height_;
    unsigned revision_ = 0;
};
