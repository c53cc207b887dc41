#include "triggers/drop_entry.h"

#include "base/sjis.h"

DropEntry MakeDropEntry(std::string path, std::string_view storedName)
{
    DropEntry entry;
    entry.dir = ExtractFilePath(path);
    if (!storedName.empty()) {
        entry.name = storedName;
    } else {
        entry.name = ExtractFileName(path);
        if (entry.name.empty()) {
            entry.name = path;
        }
    }
    entry.file = std::move(path);
    return entry;
}

bool CanNameFile(std::string_view path)
{
    // Both are single-byte characters that never occur as the second byte of a pair.
    return !path.empty() && path.find_first_of("?*") == std::string_view::npos;
}

std::string RegisteredMessage(std::string_view name)
{
    return std::string(name) + "を登録しました";
}
