#include "framework/icon_pictures.h"

#include "framework/image_list.h"

const Picture* IconPictures::Find(HICON icon, const ImageList& list)
{
    const Size size{list.Width(), list.Height()};
    const std::optional<Picture>* kept = cache_.Find(icon, size);
    if (!kept) {
        kept = &cache_.Store(icon, size, list.ReadPicture(icon));
    }
    return kept->has_value() ? &**kept : nullptr;
}
