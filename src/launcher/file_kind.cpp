#include "launcher/file_kind.h"

#include "base/sjis.h"

#include <algorithm>
#include <string>

namespace {

bool SameLetters(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

}   // namespace

FileKind KindOfFile(std::string_view file)
{
    if (file.empty()) {
        return FileKind::Unknown;
    }
    // A Shift-JIS trail byte may equal '\\' (never '.'): the name starts after the last real
    // separator.
    const std::string_view name = file.substr(FileNameStart(file));
    if (name.empty()) {
        return FileKind::Folder;
    }
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size()) {
        return FileKind::Folder;
    }
    const std::string_view extension = name.substr(dot + 1);
    for (std::string_view program : {"exe", "com", "bat", "cmd", "pif", "scr", "lnk"}) {
        if (SameLetters(extension, program)) {
            return FileKind::Program;
        }
    }
    return FileKind::Document;
}
