#include "framework/custom_window.h"

#include "base/error.h"
#include "framework/application.h"

CustomWindow::~CustomWindow()
{
    DestroyHandle();
}

void CustomWindow::RegisterWindowClass(const char* className, UINT style, HBRUSH background, HICON icon)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing;
    if (GetClassInfoA(instance, className, &existing)) {
        return;
    }
    WNDCLASSA wc{};
    wc.style = style;
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    if (!RegisterClassA(&wc)) {
        throw Error(std::string("RegisterClass failed: ") + className);
    }
}

void CustomWindow::CreateHandle(const char* className, const char* caption, DWORD style, DWORD exStyle,
                                int left, int top, int width, int height, HWND parent)
{
    CreateWindowExA(exStyle, className, caption, style, left, top, width, height, parent, nullptr,
                    GetModuleHandleA(nullptr), this);
    if (!handle_) {
        throw Error(std::string("CreateWindowEx failed: ") + className);
    }
}

void CustomWindow::DestroyHandle()
{
    if (handle_) {
        DestroyWindow(handle_);   // WM_NCDESTROY clears handle_
    }
    handle_ = nullptr;
}

LRESULT CustomWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefaultHandler(message, wParam, lParam);
}

LRESULT CustomWindow::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(handle_, message, wParam, lParam);
}

LRESULT CALLBACK CustomWindow::StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<CustomWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->handle_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<CustomWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->handle_ = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return GuardCallback<LRESULT>(0, [&] { return self->WndProc(message, wParam, lParam); });
}
