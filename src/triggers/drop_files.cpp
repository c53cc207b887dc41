#include "triggers/drop_files.h"

#include "base/error.h"

#include <exception>
#include <optional>
#include <vector>

namespace {

std::wstring DroppedPath(HDROP drop, UINT index)
{
    // Asked for its length first: a path is never cut to a fixed buffer.
    const UINT length = DragQueryFileW(drop, index, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    path.resize(DragQueryFileW(drop, index, path.data(), length + 1));
    return path;
}

// The text in the ANSI code page (932) when it converts there and back unchanged; nothing
// when a character has no exact counterpart and would come out as "?" or a look-alike.
std::optional<std::string> ExactAnsi(const std::wstring& text)
{
    if (text.empty()) {
        return std::string();
    }
    const int wideLength = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return std::nullopt;
    }
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, ansi.data(), length, nullptr, nullptr);
    std::wstring back(text.size(), L'\0');
    const int backLength =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, back.data(), static_cast<int>(back.size()));
    if (backLength != wideLength || back != text) {
        return std::nullopt;
    }
    return ansi;
}

std::wstring ShortPath(const std::wstring& path)
{
    const DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (length == 0) {
        return std::wstring();
    }
    std::wstring shortPath(length, L'\0');
    shortPath.resize(GetShortPathNameW(path.c_str(), shortPath.data(), length));
    return shortPath;
}

// The name the path's directory entry holds (every attribute: folders, hidden and system
// entries too), or empty when there is no entry or its name has no Shift-JIS form.
std::string StoredName(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return std::string();
    }
    FindClose(search);
    return ExactAnsi(found.cFileName).value_or(std::string());
}

}   // namespace

void RegisterDrop(UniqueDrop drop, DropRegistry& registry)
{
    std::exception_ptr unsaved;
    const UINT count = DragQueryFileW(drop.Get(), 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path = DroppedPath(drop.Get(), i);
        if (path.empty()) {
            continue;   // names nothing
        }
        std::optional<std::string> ansi = ExactAnsi(path);
        if (!ansi) {
            // The short path names the same file in plain ASCII where the file system keeps one.
            path = ShortPath(path);
            ansi = path.empty() ? std::nullopt : ExactAnsi(path);
        }
        if (!ansi || !CanNameFile(*ansi)) {
            registry.ShowMessage(kUnregistrableMessage);
            continue;
        }
        const DropEntry entry = MakeDropEntry(*ansi, StoredName(path));
        registry.AddEntry(entry);
        registry.ShowMessage(RegisteredMessage(entry.name));
        try {
            registry.Save();
            unsaved = nullptr;
        } catch (const Error&) {
            // The next path's save writes this one too; only the drop's last word is reported.
            unsaved = std::current_exception();
        }
    }
    drop.Reset();
    if (unsaved) {
        std::rethrow_exception(unsaved);
    }
}
