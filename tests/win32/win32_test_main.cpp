// The main of every Win32 test program: an application object as the program has one, and
// message boxes answered by the test instead of waiting for a user.
#include "win32_test_support.h"

#include "components/task_tray.h"
#include "framework/application.h"
#include "framework/message_box.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

std::vector<ShownBox> g_boxes;
std::vector<DWORD> g_shellRequests;
TTaskTray::ShellNotifyIconFunction g_realShell = nullptr;

BOOL WINAPI RecordShellRequest(DWORD message, PNOTIFYICONDATAA)
{
    g_shellRequests.push_back(message);
    return TRUE;
}

int WINAPI RecordMessageBox(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    g_boxes.push_back({text, caption, type});
    return IDOK;
}

}   // namespace

std::vector<ShownBox> TakeShownBoxes()
{
    return std::exchange(g_boxes, {});
}

void DrainQuitMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    Application app;
    app.Initialize(GetModuleHandleA(nullptr));
    app.SetTitle("Mivtra");
    SetMessageBoxFunction(RecordMessageBox);
    return RUN_ALL_TESTS();
}

ScratchKey::ScratchKey()
{
    static int counter = 0;
    path_ =
        "Software\\MivtraTests\\" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
}

ScratchKey::~ScratchKey()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
}

void ScratchKey::Set(const char* section, const char* name, DWORD type, const void* data, DWORD size) const
{
    HKEY key = nullptr;
    std::string path = path_ + "\\" + section;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                             nullptr, &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
}

void ScratchKey::SetString(const char* section, const char* name, const std::string& text) const
{
    Set(section, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

bool ScratchKey::Get(const char* section, const char* name, DWORD& type, std::string& data) const
{
    HKEY key = nullptr;
    std::string path = path_ + "\\" + section;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    bool found = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    if (found) {
        data.assign(size, '\0');
        found = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
                ERROR_SUCCESS;
        data.resize(size);
    }
    RegCloseKey(key);
    return found;
}

bool ScratchKey::Exists(const char* section) const
{
    std::string path = section ? path_ + "\\" + section : path_;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

FakeShell::FakeShell()
{
    g_realShell = TTaskTray::SetShellNotifyIcon(RecordShellRequest);
    g_shellRequests.clear();
}

FakeShell::~FakeShell()
{
    TTaskTray::SetShellNotifyIcon(g_realShell);
}

int FakeShell::Count(DWORD message) const
{
    int n = 0;
    for (DWORD m : g_shellRequests)
        n += m == message;
    return n;
}

void FakeShell::Clear()
{
    g_shellRequests.clear();
}
