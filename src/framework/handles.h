// RAII owners for Win32 handles: one template, one deleter per handle family.
#pragma once

#include <windows.h>

#include <utility>

template <typename Handle, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        Reset(other.Release());
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return Traits::IsValid(handle_); }
    Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(Handle handle = Traits::Invalid())
    {
        if (Traits::IsValid(handle_)) {
            Traits::Close(handle_);
        }
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::Invalid();
};

template <typename Handle, auto CloseFunction>
struct NullInvalidTraits {
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { CloseFunction(h); }
};

using UniqueKernelHandle = UniqueHandle<HANDLE, NullInvalidTraits<HANDLE, ::CloseHandle>>;
using UniqueIcon = UniqueHandle<HICON, NullInvalidTraits<HICON, ::DestroyIcon>>;
using UniqueMenu = UniqueHandle<HMENU, NullInvalidTraits<HMENU, ::DestroyMenu>>;
using UniqueKey = UniqueHandle<HKEY, NullInvalidTraits<HKEY, ::RegCloseKey>>;
using UniqueFont = UniqueHandle<HFONT, NullInvalidTraits<HFONT, ::DeleteObject>>;
using UniqueBitmap = UniqueHandle<HBITMAP, NullInvalidTraits<HBITMAP, ::DeleteObject>>;
using UniqueBrush = UniqueHandle<HBRUSH, NullInvalidTraits<HBRUSH, ::DeleteObject>>;
using UniqueDC = UniqueHandle<HDC, NullInvalidTraits<HDC, ::DeleteDC>>;
using UniqueWindow = UniqueHandle<HWND, NullInvalidTraits<HWND, ::DestroyWindow>>;

// A window's device context, released when it goes.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC()
    {
        if (dc_) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;   // not owned
    HDC dc_;        // owned: released to the window
};

// An object selected into a device context while this lives; the object it replaced is
// selected again afterwards, so that the caller may delete its own.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject()
    {
        if (previous_ && previous_ != HGDI_ERROR) {
            SelectObject(dc_, previous_);
        }
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;             // not owned
    HGDIOBJ previous_;   // not owned: the DC's own
};
