#include "framework/thread_windows.h"

#include "framework/application.h"

namespace {

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM list)
{
    return GuardCallback<BOOL>(FALSE, [&] {
        if (IsWindowVisible(window) && IsWindowEnabled(window)) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        }
        return TRUE;
    });
}

}   // namespace

std::vector<HWND> EnabledThreadWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

DisabledThreadWindows::DisabledThreadWindows(Activation activation)
    : active_(activation == Activation::Restore ? GetActiveWindow() : nullptr),
      windows_(EnabledThreadWindows())
{
    for (HWND window : windows_) {
        EnableWindow(window, FALSE);
    }
}

DisabledThreadWindows::~DisabledThreadWindows()
{
    for (HWND window : windows_) {
        if (IsWindow(window)) {
            EnableWindow(window, TRUE);
        }
    }
    if (active_ && IsWindow(active_)) {
        SetActiveWindow(active_);
    }
}
