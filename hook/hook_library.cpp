// HOOK.DLL: a low-level mouse hook that turns a right+left button chord into one posted
// WM_MOUSECHORD, and the record the program fetches for that message.
#include "hook/hook_library.h"

#include "hook/chord_detector.h"
#include "hook/chord_log.h"
#include "hook/chord_offset.h"

#include <cstdint>

// A low-level hook is not injected into other processes: the system calls it in the thread
// that installed it, through that thread's message loop. So the state below lives in the
// program's own process and is only touched by its user-interface thread (which installs
// the hook, removes it and handles WM_MOUSECHORD); plain globals need no locking or shared
// section, and the hook procedure never waits for anything.
static HINSTANCE dllInstance;
static HHOOK hook;
static HWND targetWindow;
static ChordDetector detector;
static ChordLog chords;

// Runs for every mouse event on the desktop, within the system's low-level hook timeout, so
// it only does bookkeeping and at most one PostMessage. Nothing in it can throw.
static LRESULT CALLBACK MouseProc(int code, WPARAM message, LPARAM lParam) noexcept
{
    if (code != HC_ACTION) {
        return CallNextHookEx(nullptr, code, message, lParam);
    }
    ChordStep step;
    switch (message) {
    case WM_LBUTTONDOWN:
        step = detector.Press(MouseButton::kLeft);
        break;
    case WM_RBUTTONDOWN:
        step = detector.Press(MouseButton::kRight);
        break;
    case WM_LBUTTONUP:
        step = detector.Release(MouseButton::kLeft);
        break;
    case WM_RBUTTONUP:
        step = detector.Release(MouseButton::kRight);
        break;
    default:
        return CallNextHookEx(nullptr, code, message, lParam);
    }
    if (step.chord) {
        const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        const std::uint32_t serial = chords.Add(event->pt.x, event->pt.y, event->time);
        // Posting can fail (window gone, queue full); the chord is then simply lost.
        PostMessageA(targetWindow, WM_MOUSECHORD, serial, 0);
    }
    if (step.swallow) {
        return 1;
    }
    return CallNextHookEx(nullptr, code, message, lParam);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        dllInstance = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr && hook != nullptr) {
        // Unloaded by FreeLibrary with the hook still in place: the system would go on
        // calling into unmapped code. (At process exit the system drops the hook itself.)
        UnhookWindowsHookEx(hook);
        hook = nullptr;
    }
    return TRUE;
}

// Installing again replaces the hook rather than failing or adding a second one: a single
// hook can only ever post one message per chord, and it ends up on the calling thread with
// the latest window. The new hook is in place before the old one goes, so a failure leaves
// the old installation untouched. A fresh install forgets button states from before, when
// no hook watched; a replacement keeps them, since the old hook saw every event until now.
BOOLEAN WINAPI InstallHook(HWND mainWindow)
{
    if (mainWindow == nullptr || !IsWindow(mainWindow)) {
        return FALSE;
    }
    HHOOK installed = SetWindowsHookExA(WH_MOUSE_LL, MouseProc, dllInstance, 0);
    if (installed == nullptr) {
        return FALSE;
    }
    if (hook != nullptr) {
        UnhookWindowsHookEx(hook);
    } else {
        detector = ChordDetector{};
    }
    hook = installed;
    targetWindow = mainWindow;
    return TRUE;
}

void WINAPI RemoveHook()
{
    if (hook != nullptr) {
        UnhookWindowsHookEx(hook);
        hook = nullptr;
    }
    targetWindow = nullptr;
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
    POINT point{0, 0};
    DWORD time;
    if (const ChordRecord* chord = chords.Find(static_cast<std::uint32_t>(wParam))) {
        point = POINT{chord->x, chord->y};
        time = chord->time;
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
    record->hwnd = targetWindow;
    record->message = WM_MOUSECHORD;
    record->wParam = wParam;
    record->lParam = PackChordOffset(static_cast<long long>(point.x) - frame.left,
                                     static_cast<long long>(point.y) - frame.top);
    record->time = time;
    record->pt = point;
}
