// A scratch folder of its own under the temporary directory, removed with what it holds.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class IniTestFolder {
public:
    IniTestFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        static unsigned serial = 0;
        for (;;) {
            path_ = std::string(temp) + "mivtra-ini-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(++serial) + "\\";
            if (CreateDirectoryA(path_.c_str(), nullptr)) {
                break;
            }
        }
    }
    ~IniTestFolder()
    {
        for (const std::string& name : Files()) {
            const std::string file = path_ + name;
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file.c_str());
        }
        RemoveDirectoryA(path_.c_str());
    }
    IniTestFolder(const IniTestFolder&) = delete;
    IniTestFolder& operator=(const IniTestFolder&) = delete;

    // With its trailing backslash.
    const std::string& Path() const { return path_; }

    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path_ + "*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            return names;
        }
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                names.emplace_back(found.cFileName);
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }

private:
    std::string path_;
};

inline void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

inline std::string ReadWholeFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "<missing>";
    }
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}
