// Whether a window is cloaked: there but not shown (Windows 8 and later: an app suspended in
// the background, a window on another virtual desktop). Alt+Tab leaves such windows out.
#pragma once

#include <windows.h>

// DwmGetWindowAttribute's signature: asks the desktop window manager one thing about a window.
using WindowAttributeQuery = HRESULT(WINAPI*)(HWND window, DWORD attribute, void* value, DWORD size);

// DwmGetWindowAttribute from dwmapi.dll of the system folder, loaded at the first call and
// kept; null where the system has none.
WindowAttributeQuery SystemWindowAttributeQuery();

// A query that fails (no such attribute before Windows 8; Wine does not answer it) counts as
// not cloaked. A null query too.
bool IsCloaked(HWND window, WindowAttributeQuery query);
