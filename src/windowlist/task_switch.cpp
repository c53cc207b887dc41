#include "windowlist/task_switch.h"

#include <windows.h>

bool SwitchToWindow(const std::string& className, const std::string& title)
{
    HWND window = FindWindowA(className.c_str(), title.c_str());
    if (!window) {
        return false;
    }
    // Never waits for the window's program: one that hangs would hang us with it.
    ShowWindowAsync(window, SW_RESTORE);
    SetForegroundWindow(window);
    return true;
}
