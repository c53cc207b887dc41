#include "shell/file_icons.h"

#include "framework/handles.h"
#include "framework/image_list.h"

#include <shellapi.h>

namespace {

ULONGLONG Join(DWORD high, DWORD low)
{
    return (ULONGLONG{high} << 32) | low;
}

}   // namespace

FileIcons::Stamp FileIcons::StampOf(const std::string& file)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data))
        return Stamp{};
    // The creation time tells a file put in place of another (same size, same last write).
    return Stamp{data.dwFileAttributes, Join(data.nFileSizeHigh, data.nFileSizeLow),
                 Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime),
                 Join(data.ftCreationTime.dwHighDateTime, data.ftCreationTime.dwLowDateTime)};
}

HICON FileIcons::ShellIcon(const std::string& file)
{
    SHFILEINFOA info{};
    SHGetFileInfoA(file.c_str(), 0, &info, sizeof info, SHGFI_ICON);
    return info.hIcon;
}

const Picture* FileIcons::Find(const std::string& file, const ImageList& list)
{
    const Stamp stamp = StampOf(file);
    const std::optional<Picture>* kept = cache_.Find(file, stamp);
    if (!kept) {
        UniqueIcon icon(source_(file));   // owned: the shell hands out a handle of the caller's
        kept = &cache_.Store(file, stamp, list.ReadPicture(icon.Get()));
    }
    return kept->has_value() ? &**kept : nullptr;
}
