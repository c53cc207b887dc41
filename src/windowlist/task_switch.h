// Bringing back the window that a task item names.
#pragma once

#include <string>

// Finds the top-level window with exactly this class name and title, restores it from
// minimised or maximised and makes it the foreground window. False when there is none.
bool SwitchToWindow(const std::string& className, const std::string& title);
