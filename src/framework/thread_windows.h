// The calling thread's top-level windows, as a modal window sees them.
#pragma once

#include <windows.h>

#include <vector>

// The thread's visible, enabled top-level windows: those a modal window disables.
std::vector<HWND> EnabledThreadWindows();

// Disables the thread's visible, enabled windows while it lives; then enables again those that
// still exist and, unless told not to, gives the activation back to the window that had it.
class DisabledThreadWindows {
public:
    enum class Activation { Restore, Leave };

    explicit DisabledThreadWindows(Activation activation = Activation::Restore);
    ~DisabledThreadWindows();
    DisabledThreadWindows(const DisabledThreadWindows&) = delete;
    DisabledThreadWindows& operator=(const DisabledThreadWindows&) = delete;

private:
    HWND active_;
    std::vector<HWND> windows_;
};
