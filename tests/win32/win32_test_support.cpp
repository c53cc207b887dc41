#include "win32_test_support.h"

#include "components/task_tray.h"
#include "framework/display_dpi.h"
#include "framework/form.h"
#include "framework/handles.h"
#include "framework/label.h"
#include "framework/message_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

std::vector<ShownBox> g_boxes;
std::function<int(const ShownBox&)> g_answer;

int WINAPI RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    const ShownBox box{text, caption, type, owner};
    g_boxes.push_back(box);
    return g_answer ? g_answer(box) : IDOK;
}

std::vector<ShellRequest> g_shellRequests;
std::set<DWORD> g_refusedRequests;
TaskTray::ShellNotifyIconFunction g_realShell = nullptr;

// The first form of the record, which the program sends, ends with a tip of 64 bytes.
constexpr std::size_t kFirstFormTip = 64;

BOOL WINAPI RecordShellRequest(DWORD message, PNOTIFYICONDATAA data)
{
    g_shellRequests.push_back({message, data->uID, data->uFlags, data->hWnd, data->hIcon,
                               std::string(data->szTip, strnlen(data->szTip, kFirstFormTip)), data->cbSize,
                               data->uCallbackMessage});
    return g_refusedRequests.count(message) ? FALSE : TRUE;
}

}   // namespace

void RecordMessageBoxes()
{
    SetMessageBoxFunction(RecordMessageBox);
}

std::vector<ShownBox> TakeShownBoxes()
{
    return std::exchange(g_boxes, {});
}

void AnswerBoxes(std::function<int(const ShownBox& box)> answer)
{
    g_answer = std::move(answer);
}

void DrainQuitMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
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
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
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
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

std::string ScratchKey::Stored(const char* section, const char* name) const
{
    DWORD type = 0;
    std::string data;
    if (!Get(section, name, type, data)) {
        return "(missing)";
    }
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type) << name;
    EXPECT_FALSE(data.empty() || data.back() != '\0') << name << " is stored without its NUL";
    return data.empty() ? data : data.substr(0, data.size() - 1);
}

FakeShell::FakeShell()
{
    g_realShell = TaskTray::SetShellNotifyIcon(RecordShellRequest);
    g_shellRequests.clear();
    g_refusedRequests.clear();
}

FakeShell::~FakeShell()
{
    TaskTray::SetShellNotifyIcon(g_realShell);
    g_refusedRequests.clear();
}

int FakeShell::Count(DWORD message) const
{
    int n = 0;
    for (const ShellRequest& request : g_shellRequests) {
        n += request.message == message;
    }
    return n;
}

std::vector<ShellRequest>& FakeShell::Requests()
{
    return g_shellRequests;
}

void FakeShell::Clear()
{
    g_shellRequests.clear();
}

void FakeShell::Refuse(std::set<DWORD> messages)
{
    g_refusedRequests = std::move(messages);
}

int TextWidth(HWND window, const std::string& text)
{
    const WindowDC dc(window);
    const SelectedObject font(dc.Get(), reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
    RECT r{};
    DrawTextA(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return r.right - r.left;
}

void ChangeDpi(Form& form, int dpi)
{
    if (form.Dpi() == dpi) {
        return;
    }
    RECT suggested = form.BoundsRect();   // the form makes its own size of it
    SendMessageA(form.Handle(), kDpiChangedMessage, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
}

void ExpectPlaced(const Control& control, const RectDef& table, int dpi)
{
    SCOPED_TRACE(control.Name() + " at " + std::to_string(dpi) + " DPI");
    const RectDef want = ScaleEdges(table, dpi);
    const RECT r = control.BoundsRect();
    const int slack = dpi == kDesignDpi ? 0 : 1;
    EXPECT_NEAR(want.left, r.left, slack);
    EXPECT_NEAR(want.top, r.top, slack);
    EXPECT_NEAR(want.top + want.height, r.bottom, slack);
    const LONG right = want.left + want.width;   // a label's may be further right
    EXPECT_NEAR(right, dynamic_cast<const Label*>(&control) ? std::min(r.right, right + slack) : r.right,
                slack);
    EXPECT_LE(TextWidth(control.Handle(), control.Caption()), r.right - r.left) << control.Caption();
}
