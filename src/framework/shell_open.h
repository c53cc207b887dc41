// Opening a file, folder, program or link through the shell, and the type of a function that
// does it, so that a window can be given another one (tests record the calls).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// file, parameters, verb, working directory, show command. Returns the started process's
// handle, which the caller closes, or null.
using ShellOpenFunction =
    std::function<HANDLE(const std::string& file, const std::string& parameters, const std::string& verb,
                         const std::string& directory, int show)>;

// The shell's own: ShellExecuteExA, which shows its own box when the file cannot be opened.
// An empty directory is the current one.
HANDLE ShellOpen(const std::string& file, const std::string& parameters, const std::string& verb,
                 const std::string& directory, int show);
