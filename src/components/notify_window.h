// The hidden window that owns the handle the shell notifies about the process's tray icons.
#pragma once

#include "framework/custom_window.h"

// No size, draws nothing. A child of the owner's window when the owner is a form, so that
// it goes with that form; otherwise a hidden top-level window owned by the application
// window.
class NotifyWindow : public CustomWindow {
public:
    explicit NotifyWindow(Component* owner);
    ~NotifyWindow() override;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
