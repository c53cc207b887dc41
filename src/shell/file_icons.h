// The shell's icons of the launcher's files, kept as pictures from one opening of the menu to
// the next.
#pragma once

#include "base/picture.h"
#include "base/stamped_cache.h"

#include <windows.h>

#include <optional>
#include <string>

class ImageList;

// A file's picture is kept with the file's kind, size and times, read once at every use: a
// changed or replaced file is asked for again, an unchanged one costs no shell call. Serves
// one image list, or lists of one size.
class FileIcons {
public:
    // Asks for the icon of a file: a new handle, which the caller destroys, or null.
    using IconSource = HICON (*)(const std::string& file);
    // The shell's large icon of the file.
    static HICON ShellIcon(const std::string& file);

    explicit FileIcons(IconSource source = ShellIcon) : source_(source) {}

    // The picture of the shell's icon for the file (its large icon, drawn as `list` keeps
    // pictures); null when the shell gives none, as for a file that does not exist.
    const Picture* Find(const std::string& file, const ImageList& list);
    // Ends a round: the pictures of files it did not ask for are let go.
    void EndRound() { cache_.Sweep(); }

    // What tells one state of a file from another without reading it; all zero while the
    // file cannot be found.
    struct Stamp {
        DWORD attributes = 0;
        ULONGLONG size = 0;
        ULONGLONG written = 0;
        ULONGLONG created = 0;
        bool operator==(const Stamp& other) const
        {
            return attributes == other.attributes && size == other.size && written == other.written &&
                   created == other.created;
        }
    };
    static Stamp StampOf(const std::string& file);

private:
    IconSource source_;
    StampedCache<std::string, Stamp, std::optional<Picture>> cache_;
};
