// A component with a window of a class of our own (the application window, forms, the tray
// icon's notify window): one static window procedure for all of them, `this` taken at
// WM_NCCREATE and kept in GWLP_USERDATA, messages to a virtual WndProc. Child controls of
// the system's classes are Controls; windowless ones are WindowlessControls.
#pragma once

#include "framework/component.h"

#include <windows.h>

class CustomWindow : public Component {
public:
    explicit CustomWindow(Component* owner) : Component(owner) {}
    ~CustomWindow() override;

    HWND Handle() const { return handle_; }
    bool HandleAllocated() const { return handle_ != nullptr; }

protected:
    // Registers a window class served by this layer's window procedure (once per name).
    static void RegisterWindowClass(const char* className, UINT style = 0, HBRUSH background = nullptr,
                                    HICON icon = nullptr);
    void CreateHandle(const char* className, const char* caption, DWORD style, DWORD exStyle, int left,
                      int top, int width, int height, HWND parent);
    // Destroys the window now (also done by the destructor).
    void DestroyHandle();

    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND handle_ = nullptr;   // owned
};
