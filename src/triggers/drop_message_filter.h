// Lets the shell's drops through to the drop window when Mivtra runs elevated: Windows then
// keeps the messages of an Explorer running without elevation away from its windows.
#pragma once

#include <windows.h>

// The user32 function that admits a message to one window (Windows 7 and later).
using ChangeWindowMessageFilterExFunction = BOOL(WINAPI*)(HWND window, UINT message, DWORD action,
                                                          void* status);

// Admits WM_DROPFILES, WM_COPYDATA and 0x0049 (WM_COPYGLOBALDATA, with which the shell hands
// over the drop's data) to the window from processes of any level. Where Windows has no such
// function nothing is done: there, no level keeps them out. False when the function refused one.
bool AdmitDroppedFiles(HWND window);

// The function AdmitDroppedFiles calls: user32's by default (null where it has none), another
// one in tests. Returns the one it replaces.
ChangeWindowMessageFilterExFunction
SetChangeWindowMessageFilterEx(ChangeWindowMessageFilterExFunction filter);
