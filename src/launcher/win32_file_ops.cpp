#include "launcher/win32_file_ops.h"

#include "framework/handles.h"
#include "launcher/ini_file.h"
#include "launcher/ini_text.h"

#include <algorithm>

static FileContent::State OpenFailure(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return FileContent::State::Missing;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FileContent::State::Busy;
    default:
        return FileContent::State::Unreadable;
    }
}

static IniFileOpenFunction g_openForReading = ::CreateFileA;

IniFileOpenFunction SetIniFileOpenForReading(IniFileOpenFunction open)
{
    const IniFileOpenFunction previous = g_openForReading;
    g_openForReading = open ? open : ::CreateFileA;
    return previous;
}

FileContent Win32FileOps::Read(const std::string& path)
{
    FileContent content;
    const HANDLE opened = g_openForReading(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        content.state = OpenFailure(GetLastError());
        return content;
    }
    const UniqueKernelHandle file(opened);
    content.state = FileContent::State::Unreadable;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > content.bytes.max_size()) {
        return content;
    }
    content.bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < content.bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.bytes.size() - done, 1u << 20));
        DWORD read = 0;
        if (!ReadFile(file.Get(), &content.bytes[done], chunk, &read, nullptr)) {
            content.state = GetLastError() == ERROR_LOCK_VIOLATION ? FileContent::State::Busy
                                                                   : FileContent::State::Unreadable;
            content.bytes.clear();
            return content;
        }
        if (read == 0) {
            break;   // the file shrank meanwhile
        }
        done += read;
    }
    content.bytes.resize(done);
    content.state = FileContent::State::Read;
    return content;
}

long long Win32FileOps::Size(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return -1;
    }
    return static_cast<long long>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) |
                                  data.nFileSizeLow);
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

std::string Win32FileOps::WriteTemporary(const std::string& path, const std::string& bytes)
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
            if (keptAttributes_ != 0) {
                SetFileAttributesA(temporary.c_str(), keptAttributes_);
            }
            return temporary;
        }
        DeleteFileA(temporary.c_str());
        return {};
    }
    return {};
}

bool Win32FileOps::Move(const std::string& from, const std::string& to)
{
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

void Win32FileOps::Remove(const std::string& path)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

bool Win32FileOps::Link(const std::string& existing, const std::string& name)
{
    // Looked up in the loaded kernel32 rather than imported: where it is missing, the caller
    // copies the bytes instead.
    using CreateHardLinkFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, LPSECURITY_ATTRIBUTES);
    static const auto createHardLink = reinterpret_cast<CreateHardLinkFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateHardLinkA")));
    return createHardLink && createHardLink(name.c_str(), existing.c_str(), nullptr);
}

void Win32FileOps::Pause(int milliseconds)
{
    Sleep(static_cast<DWORD>(milliseconds));
}

IniDocument Win32FileOps::Parse(const std::string& bytes)
{
    return ParseIniFileBytes(bytes);
}
