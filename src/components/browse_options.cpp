#include "components/browse_options.h"

#include "base/sjis.h"

#include <cstddef>

static_assert(sizeof(BrowseOptions) == 1, "the option set is stored in one byte");
static_assert(sizeof(kBrowseOptionFlags) / sizeof(kBrowseOptionFlags[0]) == biStatusText + 1,
              "one shell flag per option");

std::uint32_t BrowseFlags(BrowseOptions options)
{
    std::uint32_t flags = 0;
    for (int option = biBrowseForComputer; option <= biStatusText; ++option) {
        if (options.Contains(static_cast<BrowseOption>(option))) {
            flags |= kBrowseOptionFlags[option];
        }
    }
    return flags;
}

std::string_view InitialSelection(std::string_view directory)
{
    if (directory.size() <= 3 || directory.back() != '\\') {
        return directory;
    }
    // Where the name after the last delimiter starts tells a real backslash at the end from
    // the second byte of a two-byte character: only a real one ends the name there.
    if (FileNameStart(directory) != directory.size()) {
        return directory;
    }
    return directory.substr(0, directory.size() - 1);
}
