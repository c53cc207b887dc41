// Whether a window is cloaked: there but not shown (Windows 8 and later: an app suspended in
// the background, a window on another virtual desktop). Alt+Tab leaves such windows out.
#pragma once

#include <windows.h>

// DwmGetWindowAttribute's signature: asks the desktop window manager one thing about a window.
using WindowAttributeQuery = HRESULT(WINAPI*)(HWND window, DWORD attribute, void* value, DWORD size);

// DwmGetWindowAttribute from dwmapi.dll of the system folder, loaded at the first call and
// kept; null where the system has none.
WindowAttributeQuery SystemWindowAttributeQuery();

enum class Cloaking {
    Shown,
    Cloaked,
    // The system does not know the attribute (Windows 7) or does not answer it (Wine, a null
    // query): no window is cloaked, and there is no use in asking about the others.
    Unknown,
};

// A query that fails for this window alone (one that has just gone) counts as shown.
Cloaking CloakingOf(HWND window, WindowAttributeQuery query);
