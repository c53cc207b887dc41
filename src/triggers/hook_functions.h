// The three operations of HOOK.DLL as the main window calls them: the imports by ordinal,
// behind one table so that tests can make installing fail and watch the calls.
#pragma once

#include "hook/hook_library.h"

#include <windows.h>

struct HookFunctions {
    BOOLEAN(WINAPI* install)(HWND mainWindow);
    void(WINAPI* remove)();
    void(WINAPI* getMessage)(MSG* record, WPARAM wParam);
};

inline HookFunctions& HookLibrary()
{
    static HookFunctions functions{InstallHook, RemoveHook, GetHookMessage};
    return functions;
}
