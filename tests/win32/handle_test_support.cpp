#include "handle_test_support.h"

HandleCounts CountHandles()
{
    HandleCounts counts{};
    counts.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    counts.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (ULONG_PTR value = 1; value < 0x10000; ++value) {
        counts.gdiProbed += GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0;
    }
    for (ULONG_PTR index = 0; index < 0x7FF0; ++index) {
        ULONG_PTR value = (index << 1) + 0x20;
        counts.menusProbed += IsMenu(reinterpret_cast<HMENU>(value)) != 0;
        ICONINFO info{};
        if (GetIconInfo(reinterpret_cast<HICON>(value), &info)) {
            ++counts.iconsProbed;
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
        }
    }
    return counts;
}
