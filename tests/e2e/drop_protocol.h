// What droptool and the drop hook library share: the request message and where the paths wait.
#pragma once

#include <windows.h>

// Posted by droptool to the target window; the hook sees it in the target's own thread.
inline UINT DropRequestMessage()
{
    static const UINT message = RegisterWindowMessageW(L"MivtraTestDropFiles");
    return message;
}

// A named mapping: the drop point in client coordinates, then the paths, each ended by a zero
// character, the list ended by one more.
inline constexpr wchar_t kDropMapping[] = L"MivtraTestDropList";
inline constexpr DWORD kDropMappingSize = 64 * 1024;
// Set by the hook once the drop message is posted.
inline constexpr wchar_t kDropDoneEvent[] = L"MivtraTestDropDone";

struct DropListHeader {
    POINT point;
    DWORD characters;   // of the path list, its final zero included
};
