// The entry that has Windows start the program at log-on: the value "Mivtra" of the user's Run
// key, and Task Manager's switch for it. Nothing else (a shortcut in the Startup folder is the
// user's own). Both are read afresh each time: the user may change them elsewhere.
#pragma once

#include <windows.h>

#include <string>

class StartupEntry {
public:
    // The keys are looked up under `root` (HKEY_CURRENT_USER; a scratch key in tests; not
    // owned), and the entry starts `program` (this executable's full path).
    StartupEntry(HKEY root, std::wstring program);
    // This program under HKEY_CURRENT_USER.
    StartupEntry();

    // Whether Windows starts this program at log-on; false when the registry cannot be read.
    bool Enabled() const noexcept;
    // Writes the value that starts this program, in place of any other, and takes away Task
    // Manager's switch where it holds the entry back. A failure raises an error.
    void Enable() const;
    // Removes the value. A failure raises an error.
    void Disable() const;

private:
    HKEY root_;
    std::wstring program_;
};
