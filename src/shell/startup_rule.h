// Starting with Windows: what the user's Run value and Task Manager's switch for it say about
// this program, and the value that starts it. Paths are UTF-16, as the registry keeps them, so
// that a folder name outside Shift-JIS survives.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Whether the Run value's command starts the program at `program` (its full path): the path
// in double quotes, or bare, alone or followed by arguments; letters compared without case.
bool RunValueStarts(std::wstring_view value, std::wstring_view program);

// The Run value that starts the program at `program`: its path in double quotes.
std::wstring RunValueFor(std::wstring_view program);

// Whether Task Manager's StartupApproved value (its bytes; empty when there is none) holds the
// entry back: its first byte is 03 then.
bool ApprovalDisables(const std::vector<unsigned char>& approved);

// Whether Windows starts this program at log-on: the Run value (none when missing) starts it
// and Task Manager does not hold it back.
bool StartsWithWindows(const std::optional<std::wstring>& run, const std::vector<unsigned char>& approved,
                       std::wstring_view program);
