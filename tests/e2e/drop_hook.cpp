// The drop hook library of the end-to-end tests. Wine's drag and drop delivers nothing to a
// window that only accepts files (no OLE drop target), so a test drops files the way the
// shell of Windows does for such a window: droptool hooks the target's thread with this
// library, which then builds the drop handle inside the target's process and posts it
// WM_DROPFILES with the paths droptool left in a shared mapping.
#include "drop_protocol.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

namespace {

void PostDrop(HWND target)
{
    HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, kDropMapping);
    if (!mapping) {
        return;
    }
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    if (view) {
        const auto* header = static_cast<const DropListHeader*>(view);
        const size_t bytes = header->characters * sizeof(wchar_t);
        // Owned by the receiver, which releases it with DragFinish.
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + bytes);
        if (auto* drop = static_cast<DROPFILES*>(GlobalLock(memory))) {
            drop->pFiles = sizeof(DROPFILES);
            drop->pt = header->point;
            drop->fNC = FALSE;
            drop->fWide = TRUE;
            std::memcpy(drop + 1, header + 1, bytes);
            GlobalUnlock(memory);
            PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
        }
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    if (HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, kDropDoneEvent)) {
        SetEvent(done);
        CloseHandle(done);
    }
}

}   // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK DropHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == DropRequestMessage()) {
        PostDrop(msg->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
