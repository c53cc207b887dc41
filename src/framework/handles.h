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
        if (Traits::IsValid(handle_))
            Traits::Close(handle_);
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
