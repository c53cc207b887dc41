// Everything the program opens goes through the shell here.
#include "framework/shell_open.h"

#include <shellapi.h>

HANDLE ShellOpen(const std::string& file, const std::string& parameters, const std::string& verb,
                 const std::string& directory, int show)
{
    std::string workingDirectory = directory;
    if (workingDirectory.empty()) {
        char current[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, current);
        workingDirectory = current;
    }
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    // Nothing that would keep the shell from reporting a failure in its own box.
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = GetDesktopWindow();
    info.lpVerb = verb.c_str();
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.lpDirectory = workingDirectory.c_str();
    info.nShow = show;
    if (!ShellExecuteExA(&info)) {
        return nullptr;
    }
    return info.hProcess;
}
