#include "triggers/drop_message_filter.h"

#include <initializer_list>

namespace {

constexpr DWORD kAllow = 1;                // MSGFLT_ALLOW
constexpr UINT kCopyGlobalData = 0x0049;   // WM_COPYGLOBALDATA, which no header names

ChangeWindowMessageFilterExFunction SystemFunction()
{
    // Looked up at run time in the user32 already loaded, so that Vista still starts the program.
    // (Through void*: a FARPROC takes no arguments, and a direct cast draws a warning.)
    return reinterpret_cast<ChangeWindowMessageFilterExFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilterEx")));
}

ChangeWindowMessageFilterExFunction g_filter = SystemFunction();

}   // namespace

bool AdmitDroppedFiles(HWND window)
{
    if (!g_filter) {
        return true;
    }
    bool admitted = true;
    for (UINT message : {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData}) {
        admitted = g_filter(window, message, kAllow, nullptr) && admitted;
    }
    return admitted;
}

ChangeWindowMessageFilterExFunction SetChangeWindowMessageFilterEx(ChangeWindowMessageFilterExFunction filter)
{
    const ChangeWindowMessageFilterExFunction previous = g_filter;
    g_filter = filter;
    return previous;
}
