#include "launcher/folder_watch.h"

#include <algorithm>

namespace {

struct ChangeNotificationTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(HANDLE h) { FindCloseChangeNotification(h); }
};
using UniqueChangeNotification = UniqueHandle<HANDLE, ChangeNotificationTraits>;

constexpr DWORD kWatchedChanges =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

}   // namespace

FolderWatch::FolderWatch(const std::string& folder, HWND window, UINT message)
    : stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    UniqueChangeNotification change(FindFirstChangeNotificationA(folder.c_str(), FALSE, kWatchedChanges));
    if (!stop_ || !change) {
        return;
    }
    thread_ =
        std::thread([this, handle = change.Release(), window, message] { Run(handle, window, message); });
}

FolderWatch::~FolderWatch()
{
    if (thread_.joinable()) {
        SetEvent(stop_.Get());
        thread_.join();
    }
}

void FolderWatch::Run(HANDLE handle, HWND window, UINT message)
{
    const UniqueChangeNotification change(handle);
    const HANDLE waits[] = {stop_.Get(), change.Get()};
    for (;;) {
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1 ||
            !FindNextChangeNotification(change.Get())) {
            return;
        }
        // Let the writer finish: an editor or a sync tool often writes a file in steps.
        const DWORD first = GetTickCount();
        for (;;) {
            const DWORD waited = GetTickCount() - first;
            if (waited >= kLongestWaitMilliseconds) {
                break;
            }
            const DWORD result = WaitForMultipleObjects(
                2, waits, FALSE, std::min<DWORD>(kQuietMilliseconds, kLongestWaitMilliseconds - waited));
            if (result == WAIT_OBJECT_0) {
                return;
            }
            if (result != WAIT_OBJECT_0 + 1 || !FindNextChangeNotification(change.Get())) {
                break;
            }
        }
        PostMessageA(window, message, 0, 0);
    }
}
