// Which version of LAUNCH.INI the launcher list last read or wrote, and what a change that the
// folder reports means for the list: the program's own save comes back as the same version,
// an edit made outside as another one.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// A file's text by length and a 64-bit hash: two texts of one version are equal but for a
// collision, which a real edit does not make.
struct FileVersion {
    std::uint64_t length = 0;
    std::uint64_t hash = 0;

    static FileVersion Of(std::string_view text);
    bool operator==(const FileVersion& other) const { return length == other.length && hash == other.hash; }
    bool operator!=(const FileVersion& other) const { return !(*this == other); }
};

// What the list does when its folder reports a change.
enum class FileChangeAction {
    Ignore,   // nothing to take: the list's own version, or a file that cannot be read now
    Follow,   // load the file's version in place of the list and rebuild the submenu
    Offer,    // leave the list alone: the dialog asks when it closes, the next save asks
};

struct ListState {
    FileVersion known;      // what the list last read or wrote
    bool editing = false;   // the settings dialog shows the list
    bool unsaved = false;   // the list holds changes whose save failed
};

// `current` is the file's version now, nothing while it is missing or cannot be read (renamed
// away, held by a program that is writing it): a list is never emptied because its file is
// briefly gone. A list that holds unsaved changes is never replaced behind the user's back.
FileChangeAction OnFileChange(const ListState& list, const std::optional<FileVersion>& current);
