#include "launcher/file_version.h"

FileVersion FileVersion::Of(std::string_view text)
{
    // FNV-1a.
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : text) {
        hash = (hash ^ byte) * 1099511628211ull;
    }
    return FileVersion{text.size(), hash};
}

FileChangeAction OnFileChange(const ListState& list, const std::optional<FileVersion>& current)
{
    if (!current || *current == list.known) {
        return FileChangeAction::Ignore;
    }
    if (list.editing || list.unsaved) {
        return FileChangeAction::Offer;
    }
    return FileChangeAction::Follow;
}
