// Icons of one opaque colour, for telling pictures apart by colour in tests and benchmarks.
#pragma once

#include "framework/handles.h"

#include <windows.h>

// A new icon of size x size pixels; the caller destroys it.
inline HICON SolidIcon(COLORREF color, int size = 16)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    UniqueBitmap colorBits(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    DWORD pixel = 0xFF000000u | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    for (int i = 0; i < size * size; ++i) {
        static_cast<DWORD*>(bits)[i] = pixel;
    }
    UniqueBitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
    ICONINFO icon{TRUE, 0, 0, mask.Get(), colorBits.Get()};
    return CreateIconIndirect(&icon);
}
