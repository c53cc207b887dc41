#include "file_test_support.h"

#include <stdexcept>

namespace {

// By the UTF-16 names: a test may leave files whose names the ANSI functions cannot spell.
void RemoveFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = folder + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolder(path + L"\\");
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

}   // namespace

ScratchFolder::ScratchFolder()
{
    char temp[MAX_PATH] = "";
    if (GetTempPathA(MAX_PATH, temp) == 0) {
        throw std::runtime_error("no temporary folder: error " + std::to_string(GetLastError()));
    }
    static unsigned serial = 0;
    // A name left behind by an earlier run of the same process number is skipped; any other
    // failure repeats for every name, so a few tries are enough.
    DWORD error = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = std::string(temp) + "mivtra-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(++serial) + "\\";
        if (CreateDirectoryA(path.c_str(), nullptr)) {
            path_ = std::move(path);
            return;
        }
        error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    throw std::runtime_error("no scratch folder could be made under " + std::string(temp) + ": error " +
                             std::to_string(error));
}

ScratchFolder::~ScratchFolder()
{
    std::wstring folder(path_.size(), L'\0');
    folder.resize(
        static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, path_.data(), static_cast<int>(path_.size()),
                                                folder.data(), static_cast<int>(folder.size()))));
    RemoveFolder(folder);
}

std::vector<std::string> ScratchFolder::Files() const
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

testing::AssertionResult WriteWholeFile(const std::string& path, const std::string& bytes)
{
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return testing::AssertionFailure() << "cannot create " << path << ": error " << GetLastError();
    }
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    const DWORD error = GetLastError();
    const BOOL closed = CloseHandle(file);
    if (!wrote || written != bytes.size() || !closed) {
        return testing::AssertionFailure() << "wrote " << written << " of " << bytes.size() << " bytes to "
                                           << path << ": error " << error;
    }
    return testing::AssertionSuccess();
}

std::string ReadWholeFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "(missing)";
    }
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}
