#include "shell/help_viewer.h"

#include "base/sjis.h"
#include "framework/shell_open.h"

namespace {

bool IsFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string InFolder(UINT(WINAPI* folder)(LPSTR, UINT), const char* name)
{
    char path[MAX_PATH] = "";
    const UINT length = folder(path, MAX_PATH);
    return length && length < MAX_PATH ? std::string(path) + "\\" + name : std::string();
}

}   // namespace

HelpPlatform CurrentHelpPlatform()
{
    HelpPlatform platform;
    // The manifest names every version up to 10, so Windows reports its own version here.
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (GetVersionExA(&version)) {
        platform.windowsMajor = version.dwMajorVersion;
        platform.windowsMinor = version.dwMinorVersion;
    }
    platform.wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    // WinHelpA starts the viewer from the Windows folder.
    platform.viewerProgram = IsFile(InFolder(GetWindowsDirectoryA, "winhlp32.exe"));
    platform.fullTextSearch = IsFile(InFolder(GetSystemDirectoryA, "ftsrch.dll"));
    return platform;
}

void ShowHelpContents(HWND owner, const std::string& helpFile, HelpForm form)
{
    if (form == HelpForm::Hlp) {
        WinHelpA(owner, helpFile.c_str(), HELP_FINDER, 0);
        return;
    }
    // A missing page is reported by the shell in its own box, as a missing .hlp is by the viewer.
    const std::string page = HtmlCopyOf(helpFile);
    if (HANDLE process = ShellOpen(page, "", "open", ExtractFilePath(page), SW_SHOWNORMAL)) {
        CloseHandle(process);
    }
}
