#include "framework/application.h"

#include "base/error.h"
#include "framework/form.h"
#include "framework/message_box.h"

#include <vector>

Application* application = nullptr;

namespace {
constexpr char kWindowClass[] = "TApplication";
}

Application::Application() : CustomWindow(nullptr)
{
    application = this;
}

Application::~Application()
{
    DestroyComponents();   // the forms, while the application window still owns them
    DestroyHandle();
    if (application == this) {
        application = nullptr;
    }
}

void Application::Initialize(HINSTANCE instance)
{
    instance_ = instance;
    RegisterWindowClass(kWindowClass, 0, nullptr, LoadIconA(instance, "MAINICON"));
    // Top-level, so it receives broadcasts (the shell's "TaskbarCreated"), and never shown.
    CreateHandle(kWindowClass, title_.c_str(),
                 WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0,
                 GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr);
}

void Application::SetTitle(std::string title)
{
    title_ = std::move(title);
    if (HandleAllocated()) {
        SetWindowTextA(Handle(), title_.c_str());
    }
}

HCURSOR Application::Cursors(int index) const
{
    auto it = cursors_.find(index);
    return it == cursors_.end() ? LoadCursorA(nullptr, IDC_ARROW) : it->second;
}

void Application::SetCursors(int index, HCURSOR cursor)
{
    cursors_[index] = cursor;
}

int Application::HookMainWindow(WindowHook hook)
{
    int id = nextHookId_++;
    hooks_.emplace(id, std::move(hook));
    return id;
}

void Application::UnhookMainWindow(int id)
{
    hooks_.erase(id);
}

bool Application::ProcessMessage(MSG& msg)
{
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        return false;
    }
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void Application::ProcessMessages()
{
    MSG msg;
    while (!terminated_ && ProcessMessage(msg)) {
    }
}

void Application::Run()
{
    if (mainForm_ && showMainForm_ && !terminated_) {
        mainForm_->Show();
    }
    MSG msg;
    while (!terminated_) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            terminated_ = true;
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void Application::Terminate()
{
    PostQuitMessage(0);
}

int Application::MessageBox(std::string_view text, UINT type)
{
    return ShowMessageBox(Handle(), text, title_, type);
}

void Application::HandleException() noexcept
{
    try {
        throw;
    } catch (const std::exception& e) {
        ShowException(e.what());
    } catch (...) {
        ShowException("Unknown error");
    }
}

void Application::ShowException(std::string_view message) noexcept
{
    try {
        ShowMessageBox(Handle(), WithFullStop(message), title_, MB_OK | MB_ICONSTOP);
    } catch (...) {
        // Nothing sensible is left to do when even the error box fails (out of memory).
    }
}

LRESULT Application::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Hooks may remove themselves while they run: iterate over a copy of the ids.
    std::vector<int> ids;
    for (const auto& entry : hooks_) {
        ids.push_back(entry.first);
    }
    for (int id : ids) {
        auto it = hooks_.find(id);
        LRESULT result = 0;
        if (it != hooks_.end() && it->second(message, wParam, lParam, result)) {
            return result;
        }
    }
    switch (message) {
    case WM_CLOSE:
        // A close request to the application closes the main form, which ends the program.
        if (mainForm_) {
            mainForm_->Close();
        }
        return 0;
    }
    return CustomWindow::WndProc(message, wParam, lParam);
}
