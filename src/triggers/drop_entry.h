// What one path dropped on the drop window becomes in the launcher, decided without a window
// so that the rules are tested natively.
#pragma once

#include <string>
#include <string_view>

struct DropEntry {
    std::string name;   // the node's text
    std::string file;   // the entry's File: the path as registered
    std::string dir;    // the entry's Dir: the path up to and including its last "\" or ":"
};

// The entry for `path` (Shift-JIS, whole). `storedName` is the name the path's directory
// entry holds, or empty when it could not be read: a drive root has no entry, an entry may be
// gone by the time it is looked up, and a name that Shift-JIS cannot hold is no use. Without
// it the node is named after the path's last component, or after the whole path when that is
// empty ("C:\"), so that a node never comes out nameless or named after another path.
DropEntry MakeDropEntry(std::string path, std::string_view storedName);

// False for text that can name no file: "?" and "*" are what is left of characters a code
// page conversion did not have, and a look-up would take them for wildcards.
bool CanNameFile(std::string_view path);

// The drop message after a path has been registered: "<name>を登録しました".
std::string RegisteredMessage(std::string_view name);

// The drop message after a path was left out because no Shift-JIS path leads to it.
inline constexpr char kUnregistrableMessage[] = "登録できない文字を含む名前です";
