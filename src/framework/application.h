// The application object: the hidden application-level window that owns every form, the
// title of message boxes, the help file, the cursor table, and the message loop.
#pragma once

#include "framework/custom_window.h"

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>

class Form;

class Application : public CustomWindow {
public:
    // A hook sees every message of the application window first; returning true means
    // handled, with `result` as the answer.
    using WindowHook = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

    Application();
    ~Application() override;

    // Creates the hidden application window. Call once, before any form is made.
    void Initialize(HINSTANCE instance);
    HINSTANCE Instance() const { return instance_; }

    const std::string& Title() const { return title_; }
    void SetTitle(std::string title);
    const std::string& HelpFile() const { return helpFile_; }
    void SetHelpFile(std::string helpFile) { helpFile_ = std::move(helpFile); }

    // The first form created; closing it ends the program.
    Form* MainForm() const { return mainForm_; }
    void SetMainForm(Form* form) { mainForm_ = form; }
    // Whether the main form is shown when the message loop starts.
    bool ShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool show) { showMainForm_ = show; }

    HCURSOR Cursors(int index) const;
    void SetCursors(int index, HCURSOR cursor);   // not owned: resource cursors are shared

    int HookMainWindow(WindowHook hook);
    void UnhookMainWindow(int id);

    void Run();
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // A plain notice captioned with the title.
    int MessageBox(std::string_view text, UINT type = MB_OK);
    // Shows the error box of the exception being handled. Call only inside a catch block.
    void HandleException() noexcept;
    void ShowException(std::string_view message) noexcept;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool ProcessMessage(MSG& msg);

    HINSTANCE instance_ = nullptr;
    std::string title_;
    std::string helpFile_;
    Form* mainForm_ = nullptr;   // not owned: forms are owned by the application
    bool showMainForm_ = true;
    bool terminated_ = false;
    std::map<int, HCURSOR> cursors_;
    std::map<int, WindowHook> hooks_;
    int nextHookId_ = 1;
};

// The one application object of the process; set while it exists.
extern Application* application;

// For every Win32 callback: the body runs, and an exception it raises is shown by the
// application instead of crossing the callback frame. Returns `failed` after an exception.
template <typename Result, typename Body>
Result GuardCallback(Result failed, Body&& body) noexcept
{
    try {
        return body();
    } catch (...) {
        if (application) {
            application->HandleException();
        }
        return failed;
    }
}
