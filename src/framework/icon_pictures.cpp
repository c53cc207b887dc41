#include "framework/icon_pictures.h"

#include "framework/image_list.h"

const Picture* IconPictures::Find(HICON icon, const ImageList& list)
{
    const std::optional<Picture>* kept = cache_.Find(icon, {});
    if (!kept) {
        kept = &cache_.Store(icon, {}, list.ReadPicture(icon));
    }
    return kept->has_value() ? &**kept : nullptr;
}
