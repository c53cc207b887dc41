// A drop as the shell hands it over with WM_DROPFILES: a DROPFILES block and its paths, in the
// UTF-16 form the shell uses today or the ANSI form of older shells.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

inline std::wstring WideText(const std::string& ansi)
{
    std::wstring wide(ansi.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                                        wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

// What the ANSI code page makes of the text, "?" for what it lacks.
inline std::string AnsiText(const std::wstring& wide)
{
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), length, nullptr,
                        nullptr);
    return ansi;
}

// The drop handle for the paths, in this order; whoever receives it releases it.
inline HDROP MakeDrop(const std::vector<std::wstring>& paths, bool wide)
{
    std::wstring wideList;
    std::string ansiList;
    for (const std::wstring& path : paths) {
        wideList += path + L'\0';
        ansiList += AnsiText(path) + '\0';
    }
    wideList += L'\0';
    ansiList += '\0';
    const size_t bytes = wide ? wideList.size() * sizeof(wchar_t) : ansiList.size();
    // One more zero character: a reader steps over the first path before it looks for the
    // end of the list, even when that path is empty.
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + bytes + sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->pt = {20, 20};
    header->fWide = wide;
    std::memcpy(header + 1, wide ? static_cast<const void*>(wideList.data()) : ansiList.data(), bytes);
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// Whether the receiver released the drop handle (DragFinish frees its memory).
inline bool Released(HDROP drop)
{
    return GlobalSize(drop) == 0;
}
