#include "windowlist/task_switch.h"

#include <windows.h>

namespace {

bool BringBack(HWND window)
{
    if (!window) {
        return false;
    }
    // Never waits for the window's program: one that hangs would hang us with it.
    ShowWindowAsync(window, SW_RESTORE);
    SetForegroundWindow(window);
    return true;
}

}   // namespace

bool SwitchToWindow(const std::string& className, const std::string& title)
{
    return BringBack(FindWindowA(className.c_str(), title.c_str()));
}

bool SwitchToWindow(const TaskWindow& task)
{
    // A handle freed since may already name a window of another program.
    char className[256] = "";
    DWORD process = 0;
    if (IsWindow(task.window) && GetClassNameA(task.window, className, sizeof className) &&
        task.className == className && GetWindowThreadProcessId(task.window, &process) &&
        process == task.process) {
        return BringBack(task.window);
    }
    return SwitchToWindow(task.className, task.title);
}
