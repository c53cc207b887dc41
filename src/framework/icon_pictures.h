// Pictures of icons by handle, kept from one round of drawing to the next.
#pragma once

#include "base/picture.h"
#include "base/stamped_cache.h"

#include <windows.h>

#include <optional>

class ImageList;

// An icon's image never changes while its handle lives, and a handle value comes back for
// another icon only after its reuse counter has gone round, so the picture read at the first
// meeting of a handle serves every later round that meets it again, at the same size: a picture
// is kept under its icon and its size, so that a list of another size (another DPI) gets
// pictures read at its own size, never ones scaled again.
class IconPictures {
public:
    // The icon's picture as `list` keeps pictures; null when the icon cannot be drawn.
    const Picture* Find(HICON icon, const ImageList& list);
    // Ends a round: the pictures of icons it did not meet are let go.
    void EndRound() { cache_.Sweep(); }

private:
    struct Size {
        int width, height;
        bool operator==(const Size& other) const { return width == other.width && height == other.height; }
    };
    StampedCache<HICON, Size, std::optional<Picture>> cache_;
};
