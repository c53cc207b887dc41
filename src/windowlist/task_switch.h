// Bringing back the window that a task item names.
#pragma once

#include "windowlist/window_walk.h"

#include <string>

// Finds the top-level window with exactly this class name and title, restores it from
// minimised or maximised and makes it the foreground window. False when there is none.
bool SwitchToWindow(const std::string& className, const std::string& title);

// Brings back the window the walk met while its handle is still a window of that class in that
// process (whatever its title now); otherwise the window found by class name and title.
bool SwitchToWindow(const TaskWindow& task);
