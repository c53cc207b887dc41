// The DPI of the system, of monitors and of windows, and the system's figures at a DPI. The
// functions that tell them came with Windows 8.1 and 10 and are looked up at run time; where
// they are missing, the system's own figures are scaled by DPI / system DPI.
#pragma once

#include <windows.h>

// WM_DPICHANGED (Windows 8.1): wParam holds the new DPI, lParam points at the window rectangle
// the system suggests for it.
inline constexpr UINT kDpiChangedMessage = 0x02E0;

// How the calling thread sees the display.
enum class DpiAwareness {
    Unaware,        // the system stretches everything it draws
    System,         // the DPI of the primary display at log-on, on every monitor
    PerMonitor,     // each monitor's DPI; the system scales neither menus nor title bars
    PerMonitorV2,   // each monitor's DPI, and the system scales menus and title bars too
};
DpiAwareness ThreadDpiAwareness();

// The DPI of the primary display when the session started: what the system's own figures
// (GetSystemMetrics, the system font) are measured at.
int SystemDpi();
// The monitor's DPI; the system DPI where the system knows of no other.
int MonitorDpi(HMONITOR monitor);
// The DPI the window is drawn at: its monitor's for a per-monitor aware window.
int WindowDpi(HWND window);
// The DPI the system draws a pop-up menu at that opens at the screen point: the monitor's
// where it scales menus per monitor, else the system DPI.
int MenuDpiAt(POINT point);
// The DPI of the taskbar's notification area, on the primary monitor.
int TrayDpi();

// GetSystemMetrics(index) as it is at `dpi`.
int SystemMetricForDpi(int index, int dpi);
// The size of small icons at `dpi` (16 at 96 DPI): menu pictures, tree pictures, the tray icon.
int SmallIconSize(int dpi);
// The frame a window of these styles draws around its client area at `dpi`: the widths of its
// left, top (caption included), right and bottom parts.
RECT FrameForDpi(DWORD style, DWORD exStyle, int dpi);
// Asks the system to scale the title bar and frame of a top-level window being created (at its
// WM_NCCREATE). Only per-monitor v1 on Windows 10 1607 needs and has it; elsewhere it does
// nothing.
void ScaleFrameWithDpi(HWND window);
