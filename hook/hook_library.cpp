// HOOK.DLL: a low-level mouse hook, on a thread of its own, that turns a right+left button chord
// into one posted WM_MOUSECHORD, and the record the program fetches for that message.
#include "hook/hook_library.h"

#include "hook/chord_log.h"
#include "hook/chord_offset.h"
#include "hook/hook_thread.h"

#include <cstdint>

namespace {

HINSTANCE dllInstance;

// Shared between the hook thread, which records chords, and the program's thread, which
// fetches them and installs and removes the hook. Held only for a copy.
SRWLOCK lock = SRWLOCK_INIT;
HWND targetWindow;
ChordLog chords;

class LockGuard {
public:
    LockGuard() { AcquireSRWLockExclusive(&lock); }
    ~LockGuard() { ReleaseSRWLockExclusive(&lock); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;
};

void SetTarget(HWND window)
{
    LockGuard guard;
    targetWindow = window;
}

// On the hook thread, once the chord's buttons are up.
void DeliverChord(const ChordPoint& chord)
{
    HWND target;
    std::uint32_t serial;
    {
        LockGuard guard;
        serial = chords.Add(chord.x, chord.y, chord.time);
        target = targetWindow;
    }
    // Posting can fail (window gone, queue full); the chord is then simply lost.
    PostMessageA(target, WM_MOUSECHORD, serial, 0);
}

}   // namespace

// Nothing to undo at unloading: while the hook runs, its thread holds a reference on this
// library, so a FreeLibrary before RemoveHook leaves it loaded rather than pulling the code
// from under the hook (and waiting here for the thread would deadlock on the loader lock).
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        dllInstance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

// Installing again keeps the running hook, with its idea of which buttons are down, and only
// changes the window the chords go to. A failure leaves an earlier installation untouched.
BOOLEAN WINAPI InstallHook(HWND mainWindow)
{
    if (mainWindow == nullptr || !IsWindow(mainWindow)) {
        return FALSE;
    }
    if (HookThreadRunning()) {
        SetTarget(mainWindow);
        return TRUE;
    }
    SetTarget(mainWindow);
    if (!StartHookThread(dllInstance, DeliverChord)) {
        SetTarget(nullptr);
        return FALSE;
    }
    return TRUE;
}

void WINAPI RemoveHook()
{
    StopHookThread();
    SetTarget(nullptr);
}

// A wParam that names no recent chord (0, or one made long before) still gets a complete
// record: the pointer's position and the time now, as if the chord were made at this moment.
// The program shows no menu for 0, and for any other value the pointer is where the user
// is looking.
void WINAPI GetHookMessage(MSG* record, WPARAM wParam)
{
    if (record == nullptr) {
        return;
    }
    bool known = false;
    ChordRecord chord;
    HWND target;
    {
        LockGuard guard;
        if (const ChordRecord* found = chords.Find(static_cast<std::uint32_t>(wParam))) {
            chord = *found;
            known = true;
        }
        target = targetWindow;
    }
    POINT point{0, 0};
    DWORD time;
    if (known) {
        point = POINT{chord.x, chord.y};
        time = chord.time;
    } else {
        GetCursorPos(&point);
        time = GetTickCount();
    }
    // The window the user is working in now; without one the offset is from the screen's
    // origin, which the program then takes as screen coordinates.
    RECT frame{0, 0, 0, 0};
    const HWND foreground = GetForegroundWindow();
    if (foreground == nullptr || !GetWindowRect(foreground, &frame)) {
        frame = RECT{0, 0, 0, 0};
    }
    record->hwnd = target;
    record->message = WM_MOUSECHORD;
    record->wParam = wParam;
    record->lParam = PackChordOffset(static_cast<long long>(point.x) - frame.left,
                                     static_cast<long long>(point.y) - frame.top);
    record->time = time;
    record->pt = point;
}
