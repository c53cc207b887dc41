#include "framework/message_box.h"

#include <string>
#include <vector>

namespace {

MessageBoxFunction g_messageBox = ::MessageBoxA;

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM list)
{
    if (IsWindowVisible(window) && IsWindowEnabled(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// Disables the thread's windows while it lives; enables again those that still exist.
class DisabledThreadWindows {
public:
    DisabledThreadWindows() : active_(GetActiveWindow())
    {
        EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&windows_));
        for (HWND window : windows_)
            EnableWindow(window, FALSE);
    }
    ~DisabledThreadWindows()
    {
        for (HWND window : windows_)
            if (IsWindow(window))
                EnableWindow(window, TRUE);
        if (active_ && IsWindow(active_))
            SetActiveWindow(active_);
    }
    DisabledThreadWindows(const DisabledThreadWindows&) = delete;
    DisabledThreadWindows& operator=(const DisabledThreadWindows&) = delete;

private:
    std::vector<HWND> windows_;
    HWND active_;
};

}   // namespace

int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type)
{
    return g_messageBox(owner, std::string(text).c_str(), std::string(caption).c_str(), type);
}

int ShowTaskModalMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type)
{
    DisabledThreadWindows disabled;
    return ShowMessageBox(owner, text, caption, type);
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function)
{
    MessageBoxFunction previous = g_messageBox;
    g_messageBox = function ? function : ::MessageBoxA;
    return previous;
}
