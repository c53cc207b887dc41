#include "base/sjis.h"

// Length of the character that starts at index i. A lead byte at the very end of the
// text (cut text) stands alone, so callers never step past the end.
static std::size_t CharLength(std::string_view text, std::size_t i)
{
    return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// A trail byte can be any of 0x40-0xFC, lead bytes included, so a byte's role is only
// known by walking from the start; looking backwards from the end would misread "表"
// (0x95 0x5C) as ending in a backslash.
std::size_t FileNameStart(std::string_view path)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size();) {
        // A lead byte is never "\" or ":", and a trail byte is stepped over with its lead.
        if (path[i] == '\\' || path[i] == ':') {
            start = i + 1;
        }
        i += CharLength(path, i);
    }
    return start;
}

std::string ExtractFilePath(std::string_view path)
{
    return std::string(path.substr(0, FileNameStart(path)));
}

std::string ExtractFileName(std::string_view path)
{
    return std::string(path.substr(FileNameStart(path)));
}

std::string_view CutAtCharBoundary(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes) {
        return text;
    }
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + CharLength(text, end);
        if (next > maxBytes) {
            break;
        }
        end = next;
    }
    return text.substr(0, end);
}
