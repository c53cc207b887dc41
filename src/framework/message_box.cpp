#include "framework/message_box.h"

#include "framework/thread_windows.h"

#include <string>

namespace {

MessageBoxFunction g_messageBox = ::MessageBoxA;

}   // namespace

int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type)
{
    return g_messageBox(owner, std::string(text).c_str(), std::string(caption).c_str(), type);
}

int ShowTaskModalMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type)
{
    DisabledThreadWindows disabled;
    return ShowMessageBox(owner, text, caption, type);
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function)
{
    MessageBoxFunction previous = g_messageBox;
    g_messageBox = function ? function : ::MessageBoxA;
    return previous;
}
