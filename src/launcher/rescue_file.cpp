#include "launcher/rescue_file.h"

#include <windows.h>
#include <shlobj.h>

namespace {

using GetFolderPath = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);

std::string ApplicationDataFolder()
{
    char path[MAX_PATH] = "";
    // Newer than the oldest systems the program runs on: looked up in the shell, which the
    // program has loaded already.
    const HMODULE shell = GetModuleHandleA("shell32.dll");
    const FARPROC found = shell ? GetProcAddress(shell, "SHGetSpecialFolderPathA") : nullptr;
    // Through void*: a function pointer of another type is what GetProcAddress promises.
    const auto getFolderPath = reinterpret_cast<GetFolderPath>(reinterpret_cast<void*>(found));
    if (getFolderPath && getFolderPath(nullptr, path, CSIDL_APPDATA, TRUE)) {
        return path;
    }
    const DWORD length = GetEnvironmentVariableA("APPDATA", path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(path) : std::string();
}

}   // namespace

std::string RescueFilePath()
{
    std::string folder = ApplicationDataFolder();
    if (folder.empty()) {
        return {};
    }
    folder += "\\Mivtra";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\LAUNCH.INI";
}
