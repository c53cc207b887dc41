// What the Win32 tests share: the message boxes the code under test showed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ShownBox {
    std::string text;
    std::string caption;
    UINT type;
};

// The boxes shown since the last call, oldest first.
std::vector<ShownBox> TakeShownBoxes();

// A closed main form asks the loop to quit; tests that close one drop that request.
void DrainQuitMessages();

// A registry key of its own under HKEY_CURRENT_USER for one test, deleted afterwards.
class ScratchKey {
public:
    ScratchKey();
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    const std::string& Path() const { return path_; }
    // Stores a value in the subkey `section`, creating it.
    void Set(const char* section, const char* name, DWORD type, const void* data, DWORD size) const;
    void SetString(const char* section, const char* name, const std::string& text) const;
    // The value's type and raw bytes; false when it is missing.
    bool Get(const char* section, const char* name, DWORD& type, std::string& data) const;
    bool Exists(const char* section = nullptr) const;

private:
    std::string path_;
};

// Stands in for the shell while it lives: every tray request succeeds and is counted.
class FakeShell {
public:
    FakeShell();
    ~FakeShell();
    FakeShell(const FakeShell&) = delete;
    FakeShell& operator=(const FakeShell&) = delete;

    // How many requests of that kind (NIM_ADD, NIM_MODIFY, NIM_DELETE) arrived.
    int Count(DWORD message) const;
    void Clear();
};
