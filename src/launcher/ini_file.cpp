#include "launcher/ini_file.h"

#include "base/error.h"
#include "framework/handles.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

// LAUNCH.INI is Shift-JIS whatever the system's ANSI code page.
static constexpr UINT kIniCodePage = 932;
static constexpr char kUtf16Mark[] = "\xFF\xFE";

static bool StartsWithUtf16Mark(const std::string& bytes)
{
    return bytes.size() >= 2 && bytes.compare(0, 2, kUtf16Mark, 2) == 0;
}

enum class ReadResult { Read, Missing, Unreadable };

static IniFileOpenFunction g_openForReading = ::CreateFileA;

IniFileOpenFunction SetIniFileOpenForReading(IniFileOpenFunction open)
{
    const IniFileOpenFunction previous = g_openForReading;
    g_openForReading = open ? open : ::CreateFileA;
    return previous;
}

// At most `limit` bytes of the file.
static ReadResult ReadFileBytes(const std::string& path, std::string& bytes, std::size_t limit)
{
    const HANDLE opened = g_openForReading(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::Missing
                                                                              : ReadResult::Unreadable;
    }
    const UniqueKernelHandle file(opened);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > bytes.max_size()) {
        return ReadResult::Unreadable;
    }
    const std::size_t wanted = static_cast<std::size_t>(
        std::min<unsigned long long>(static_cast<unsigned long long>(size.QuadPart), limit));
    bytes.assign(wanted, '\0');
    std::size_t done = 0;
    while (done < wanted) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wanted - done, 1u << 20));
        DWORD read = 0;
        if (!ReadFile(file.Get(), &bytes[done], chunk, &read, nullptr)) {
            return ReadResult::Unreadable;
        }
        if (read == 0) {
            break;   // the file shrank meanwhile
        }
        done += read;
    }
    bytes.resize(done);
    return ReadResult::Read;
}

static std::string Utf16ToIniText(const std::string& bytes)
{
    const std::size_t units = (bytes.size() - 2) / 2;
    if (units == 0) {
        return {};
    }
    std::wstring wide(units, L'\0');
    std::memcpy(&wide[0], bytes.data() + 2, units * 2);
    const int length = WideCharToMultiByte(kIniCodePage, 0, wide.data(), static_cast<int>(units), nullptr, 0,
                                           nullptr, nullptr);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kIniCodePage, 0, wide.data(), static_cast<int>(units), &text[0], length, nullptr,
                        nullptr);
    return text;
}

static bool IniTextToUtf16(const std::string& text, std::string& bytes)
{
    bytes.assign(kUtf16Mark, 2);
    if (text.empty()) {
        return true;
    }
    const int units =
        MultiByteToWideChar(kIniCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (units <= 0) {
        return false;
    }
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(kIniCodePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], units);
    bytes.append(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
    return true;
}

static IniDocument ParseFileBytes(const std::string& bytes)
{
    if (StartsWithUtf16Mark(bytes)) {
        return IniDocument::Parse(Utf16ToIniText(bytes));
    }
    return IniDocument::Parse(bytes);
}

static Error WriteFailure(const std::string& path)
{
    return Error(FormatMessageText("%s に書き込めません", path));
}

IniDocument LoadIniFile(const std::string& path)
{
    std::string bytes;
    if (ReadFileBytes(path, bytes, static_cast<std::size_t>(-1)) != ReadResult::Read) {
        return IniDocument();
    }
    return ParseFileBytes(bytes);
}

IniDocument LoadIniFileForSave(const std::string& path)
{
    std::string bytes;
    switch (ReadFileBytes(path, bytes, static_cast<std::size_t>(-1))) {
    case ReadResult::Read:
        return ParseFileBytes(bytes);
    case ReadResult::Missing:
        return IniDocument();
    case ReadResult::Unreadable:
        break;
    }
    throw WriteFailure(path);
}

static bool WriteAll(HANDLE file, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

// Creates a file of its own beside `path` and fills it; empty when that fails (the
// half-written file is gone again by then).
static std::string WriteTemporaryFile(const std::string& path, const std::string& bytes)
{
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[40];
        wsprintfA(suffix, ".~%lx%x", GetCurrentProcessId(), ++serial);
        const std::string temporary = path + suffix;
        HANDLE created = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS) {
                continue;
            }
            return {};
        }
        UniqueKernelHandle file(created);
        // Flushed before the rename, so that the name never points at data still in the cache.
        const bool written = WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get());
        const bool closed = CloseHandle(file.Release());
        if (written && closed) {
            return temporary;
        }
        DeleteFileA(temporary.c_str());
        return {};
    }
    return {};
}

void SaveIniFile(const std::string& path, const IniDocument& document)
{
    const Error failure = WriteFailure(path);
    std::string bytes = document.Serialize();

    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // A rename may well replace a read-only file; the profile functions would fail to
        // open it for writing, and so does this.
        if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
            throw failure;
        }
        std::string mark;
        if (ReadFileBytes(path, mark, 2) == ReadResult::Read && StartsWithUtf16Mark(mark)) {
            std::string wide;
            if (!IniTextToUtf16(bytes, wide)) {
                throw failure;
            }
            bytes = std::move(wide);
        }
    }

    const std::string temporary = WriteTemporaryFile(path, bytes);
    if (temporary.empty()) {
        throw failure;
    }
    // The new file takes over the attributes a user may have given the old one (hidden).
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        const DWORD kept =
            attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
        if (kept != 0) {
            SetFileAttributesA(temporary.c_str(), kept);
        }
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        SetFileAttributesA(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(temporary.c_str());
        throw failure;
    }
}
