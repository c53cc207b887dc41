// Every message box of the program goes through here, so that tests can answer them.
#pragma once

#include <windows.h>

#include <string_view>

using MessageBoxFunction = int(WINAPI*)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type);

// Replaces the function that shows boxes (MessageBoxA by default); returns the previous one.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function);
