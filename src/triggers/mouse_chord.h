// The main window's handling of WM_MOUSECHORD: the pop-up menu opens where the chord was made.
#pragma once

#include "framework/display_dpi.h"

#include <windows.h>

#include <functional>

// Turns a point in the physical pixels of its monitor into the program's own (logical)
// coordinates, as seen from the window; false when it could not.
using PhysicalToLogicalPointFunction = BOOL(WINAPI*)(HWND window, POINT* point);

// PhysicalToLogicalPointForPerMonitorDPI of the user32 the program already has loaded, or
// null where Windows has none (before 8.1): there the hook's points are the program's own.
PhysicalToLogicalPointFunction SystemPhysicalToLogicalPoint();

// What the chord opens, and how.
struct ChordMenu {
    HWND owner;                        // the main window: brought to the front for the menu
    std::function<void(POINT)> open;   // opens the menu at a screen point; returns once it closed
    PhysicalToLogicalPointFunction toLogical = SystemPhysicalToLogicalPoint();
    // Aware of each monitor's DPI, the program counts in the physical pixels the hook reports,
    // and the point is taken as it is; aware of the system DPI only (Windows 7 and 8), it is
    // turned into the program's coordinates where the system can do that.
    bool perMonitorAware = ThreadDpiAwareness() >= DpiAwareness::PerMonitor;
};

// The main window's handler of WM_MOUSECHORD. Fetches the chord's record for wParam (always,
// first); then, when `ready` and wParam is not 0, opens the menu with its top-left corner at
// the chord's own screen point, with `ready` false until the menu has closed, however it closes.
void MouseChord(WPARAM wParam, bool& ready, const ChordMenu& menu);
