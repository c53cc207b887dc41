#include "windowlist/task_switch.h"

#include <windows.h>

bool SwitchToWindow(const std::string& className, const std::string& title)
{
    HWND window = FindWindowA(className.c_str(), title.c_str());
    if (!window)
        return false;
    ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    return true;
}
