// HOOK.DLL as the program sees it: three functions imported by ordinal (2, 3, 4) and the
// message the library posts when the user presses the right and the left mouse button together.
#pragma once

#include <windows.h>

extern "C" {
// Starts watching the mouse on the whole desktop, on a thread of the library's own; chords are
// posted to mainWindow once both their buttons are up. A right press is held back for a
// moment and replayed when no left press joins it, so a chord never reaches the window under
// the pointer. Non-zero when the hook is in place. A second call keeps the hook and only
// changes the window. A hook the system removes (a call that overran its timeout) goes in again
// by itself once the pointer moves.
BOOLEAN WINAPI InstallHook(HWND mainWindow);

// Stops watching, waits for the hook's thread to end and forgets the window. Harmless when
// no hook is installed. Not from DllMain.
void WINAPI RemoveHook();

// Fills record as the WM_MOUSECHORD message carrying wParam: its pt is the chord's screen point
// as the low-level hook saw it (physical pixels), its lParam that point relative to the
// top-left corner of the current foreground window, packed for the truncating split (see
// chord_offset.h).
void WINAPI GetHookMessage(MSG* record, WPARAM wParam);
}

// wParam: the chord's serial number, never 0. lParam: 0. Posted, never sent.
constexpr UINT WM_MOUSECHORD = 0x46F;

// GetHookMessage's caller hands over a record of exactly seven 32-bit fields.
static_assert(sizeof(MSG) == 28, "MSG must be the 28-byte window-message record");
