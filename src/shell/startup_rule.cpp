#include "shell/startup_rule.h"

namespace {

// File names compare without case; only ASCII letters are folded, so that a name differing
// in the case of another letter counts as another program, which the next choice rewrites.
bool SamePath(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        auto fold = [](wchar_t c) {
            return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
        };
        if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

}   // namespace

bool RunValueStarts(std::wstring_view value, std::wstring_view program)
{
    while (!value.empty() && IsBlank(value.front())) {
        value.remove_prefix(1);
    }
    if (program.empty()) {
        return false;
    }
    std::wstring_view path;
    std::wstring_view rest;
    if (!value.empty() && value.front() == L'"') {
        const size_t close = value.find(L'"', 1);
        if (close == std::wstring_view::npos) {
            return false;
        }
        path = value.substr(1, close - 1);
        rest = value.substr(close + 1);
    } else {
        // A bare path may hold blanks itself: it is the program's when the value begins with
        // it and what follows, if anything, is separated by a blank.
        path = value.substr(0, program.size());
        rest = value.substr(path.size());
    }
    return SamePath(path, program) && (rest.empty() || IsBlank(rest.front()));
}

std::wstring RunValueFor(std::wstring_view program)
{
    return L"\"" + std::wstring(program) + L"\"";
}

bool ApprovalDisables(const std::vector<unsigned char>& approved)
{
    return !approved.empty() && approved.front() == 0x03;
}

bool StartsWithWindows(const std::optional<std::wstring>& run, const std::vector<unsigned char>& approved,
                       std::wstring_view program)
{
    return run && RunValueStarts(*run, program) && !ApprovalDisables(approved);
}
