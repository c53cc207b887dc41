// What the Win32 tests share: the message boxes the code under test showed, the registry key
// and the shell it talks to, answered by the test.
#pragma once

#include "framework/form_def.h"

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

struct ShownBox {
    std::string text;
    std::string caption;
    UINT type;
    HWND owner = nullptr;
};

// From now on every message box of the program is recorded and answered at once: IDOK, or
// what AnswerBoxes says.
void RecordMessageBoxes();

// The boxes shown since the last call, oldest first.
std::vector<ShownBox> TakeShownBoxes();

// Answers the boxes shown from now on with what `answer` returns; it is called while the box
// would be on screen. Null (the start) answers every box with IDOK.
void AnswerBoxes(std::function<int(const ShownBox& box)> answer);

// A closed main form asks the loop to quit; tests that close one drop that request.
void DrainQuitMessages();

// Dispatches this thread's messages until done() holds; false when it does not within
// `timeoutMs`, so that a lost message fails the test instead of hanging it.
template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs = 2000)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) {
            return true;
        }
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// How wide `text` is on one line in the window's font, in pixels, as DrawText lays it out.
int TextWidth(HWND window, const std::string& text);

class Control;
class Form;

// Tells the form that its DPI is now `dpi`, as the system does when it moves to another monitor;
// nothing when it is at that DPI already.
void ChangeDpi(Form& form, int dpi);
// The control sits where its table's rectangle (96 DPI) puts it at `dpi`, to the pixel at 96
// DPI, else within one (a label may be wider); its caption in its own font fits inside it.
void ExpectPlaced(const Control& control, const RectDef& table, int dpi);

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
    // The text of a value the program wrote, "(missing)" when there is none. The test fails
    // when it is not REG_SZ or lacks its terminating NUL.
    std::string Stored(const char* section, const char* name) const;

private:
    std::string path_;
};

// One request that reached the shell's Shell_NotifyIconA.
struct ShellRequest {
    DWORD message;   // NIM_ADD, NIM_MODIFY, NIM_DELETE
    UINT id;
    UINT flags;
    HWND window;
    HICON icon;
    std::string tip;
    DWORD size;
    UINT callbackMessage;
};

// Stands in for the shell's tray while it lives: every request is recorded, and answered with
// success unless its kind is refused.
class FakeShell {
public:
    FakeShell();
    ~FakeShell();
    FakeShell(const FakeShell&) = delete;
    FakeShell& operator=(const FakeShell&) = delete;

    // How many requests of that kind arrived.
    int Count(DWORD message) const;
    // Every request since the last Clear, oldest first.
    std::vector<ShellRequest>& Requests();
    void Clear();
    // Requests of these kinds fail from now on (an empty set accepts everything again).
    void Refuse(std::set<DWORD> messages);
};
