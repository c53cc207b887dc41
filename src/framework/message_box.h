// Every message box of the program goes through here, so that tests can answer them.
#pragma once

#include <windows.h>

#include <string_view>

using MessageBoxFunction = int(WINAPI*)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type);
// The same for a box owned by a window that is not on screen (the application's): every
// visible, enabled top-level window of the thread is disabled while it shows, so that the
// user answers it before anything else, and the window that was active is activated again.
int ShowTaskModalMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type);

// Replaces the function that shows boxes (MessageBoxA by default); returns the previous one.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function);
