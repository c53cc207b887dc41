// Stands in for HOOK.DLL in tests of the main window.
#pragma once

#include "triggers/hook_functions.h"

#include <windows.h>

// While it lives, the main window's calls into the hook library come here: no test installs
// a real global mouse hook (it would take the chords that other test programs inject), and a
// test can make installing fail and count the calls.
class FakeHook {
public:
    FakeHook() : real_(HookLibrary())
    {
        HookLibrary() = {Install, Remove, GetMessage};
        installResult = TRUE;
        installs = removals = fetches = 0;
        record = MSG{};
    }
    ~FakeHook() { HookLibrary() = real_; }
    FakeHook(const FakeHook&) = delete;
    FakeHook& operator=(const FakeHook&) = delete;

    // The library's own functions, for a test that needs one of them.
    const HookFunctions& Real() const { return real_; }

    static inline BOOLEAN installResult = TRUE;
    static inline int installs = 0;
    static inline int removals = 0;
    static inline int fetches = 0;
    // What every fetch fills in.
    static inline MSG record{};

private:
    static BOOLEAN WINAPI Install(HWND) { return ++installs, installResult; }
    static void WINAPI Remove() { ++removals; }
    static void WINAPI GetMessage(MSG* filled, WPARAM) { ++fetches, *filled = record; }

    HookFunctions real_;
};
