// Driving modal loops from a test: a pop-up menu or a modal form runs its own message loop,
// so the test acts from inside it through a thread timer.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <utility>

inline std::map<UINT_PTR, std::function<void()>>& PendingActions()
{
    static std::map<UINT_PTR, std::function<void()>> actions;
    return actions;
}

inline void CALLBACK RunPendingAction(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    auto found = PendingActions().find(id);
    if (found == PendingActions().end())
        return;
    std::function<void()> action = std::move(found->second);
    PendingActions().erase(found);
    action();
}

// Runs the action once, after `delay` ms, from whatever message loop is running then.
inline void Later(UINT delay, std::function<void()> action)
{
    UINT_PTR id = SetTimer(nullptr, 0, delay, RunPendingAction);
    PendingActions()[id] = std::move(action);
}

inline BOOL CALLBACK FindMenuWindow(HWND window, LPARAM found)
{
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32768") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// The open pop-up menu window of this thread, or null.
inline HWND OpenMenuWindow()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Closes the menu that is about to open once it shows, after an optional look at it.
inline void CloseMenuWhenOpen(std::function<void(HWND menuWindow)> look = nullptr)
{
    Later(30, [look = std::move(look)] {
        if (look)
            look(OpenMenuWindow());
        EndMenu();
    });
}
