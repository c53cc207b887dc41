// An item of the task submenu. It keeps the window it was built from: choosing it brings back
// that window (SwitchToWindow), even when another has the same class and title, or when its
// title changed since.
#pragma once

#include "framework/menu_item.h"
#include "windowlist/window_walk.h"

class TaskMenuItem : public MenuItem {
public:
    // Captioned with the window's title as typed, its class name as hint.
    TaskMenuItem(Component* owner, TaskWindow window);

    const TaskWindow& Window() const { return window_; }

private:
    TaskWindow window_;
};
