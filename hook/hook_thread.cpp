#include "hook/hook_thread.h"

#include "hook/replay_input.h"

#include <utility>

namespace {

// Closes a kernel handle when it goes.
class KernelHandle {
public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE handle) : handle_(handle) {}
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    KernelHandle& operator=(KernelHandle&& other) noexcept
    {
        Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    ~KernelHandle() { Reset(nullptr); }

    HANDLE Get() const { return handle_; }
    void Reset(HANDLE handle)
    {
        if (handle_ != nullptr) {
            CloseHandle(handle_);
        }
        handle_ = handle;
    }

private:
    HANDLE handle_ = nullptr;   // owned
};

// How a right press is held back; the drag distance is the user's own setting.
ChordFilterSettings SystemSettings()
{
    ChordFilterSettings settings;
    settings.dragWidth = GetSystemMetrics(SM_CXDRAG);
    settings.dragHeight = GetSystemMetrics(SM_CYDRAG);
    return settings;
}

// Handed from StartHookThread to the thread; it lives on the starter's stack until `ready`.
struct Startup {
    HINSTANCE library;
    ChordSink sink;
    HANDLE stop;
    HANDLE ready;
    bool hooked;
};

// The running thread's own state: touched only by the hook thread.
ChordFilter* filter;
ChordSink sink;
HINSTANCE hookLibrary;
HHOOK hook;
unsigned hookCalls;   // every call of MouseProc, the pointer watch's sign of life

// How often the hook thread checks that the system still calls the hook.
constexpr DWORD kWatchMilliseconds = 1500;

// The control side's state: touched only by the thread that starts and stops the hook.
KernelHandle thread;
KernelHandle stopEvent;

// Runs for every mouse event on the desktop while the system holds it, so it only asks the
// filter; the loop does the rest once it has returned. Nothing in it can throw.
LRESULT CALLBACK MouseProc(int code, WPARAM message, LPARAM lParam) noexcept
{
    ++hookCalls;
    if (code != HC_ACTION || filter == nullptr) {
        return CallNextHookEx(nullptr, code, message, lParam);
    }
    const auto& info = *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    if (IsReplay(info)) {
        filter->ReplayArrived(GetTickCount());
    } else if (filter->Handle(EventFromHook(message, info), GetTickCount())) {
        return 1;
    }
    return CallNextHookEx(nullptr, code, message, lParam);
}

// Replays and reports what the filter asks for. Injecting may run the hook again for input
// that was already queued (Wine calls it before SendInput returns), which can ask for more.
void CarryOut()
{
    filter->Tick(GetTickCount());
    for (;;) {
        const ReplayList replays = filter->TakeReplays();
        const ChordList chords = filter->TakeChords();
        if (replays.empty() && chords.empty()) {
            return;
        }
        const UINT injected = InjectReplays(replays);
        if (injected < replays.size()) {
            filter->ReplaysRefused(static_cast<unsigned>(replays.size() - injected));
        }
        for (const ChordPoint& chord : chords) {
            sink(chord);
        }
    }
}

// The system removes a low-level hook without a word when one call of it runs past its
// timeout, which a loaded machine can make even a quick hook do. The pointer tells: when it
// has moved and the hook was not called since the last look, the hook is gone and goes in
// again. (A program that moves the pointer itself makes the hook go in again needlessly; that
// does no harm.)
class PointerWatch {
public:
    PointerWatch() { Look(); }

    DWORD MillisecondsToLook() const
    {
        const DWORD passed = GetTickCount() - lookedAt_;
        return passed >= kWatchMilliseconds ? 0 : kWatchMilliseconds - passed;
    }

    // True when the hook has to go in again.
    bool HookLost()
    {
        if (MillisecondsToLook() > 0) {
            return false;
        }
        const POINT before = pointer_;
        const unsigned callsBefore = calls_;
        Look();
        return (pointer_.x != before.x || pointer_.y != before.y) && calls_ == callsBefore;
    }

private:
    void Look()
    {
        lookedAt_ = GetTickCount();
        calls_ = hookCalls;
        if (!GetCursorPos(&pointer_)) {
            pointer_ = POINT{0, 0};
        }
    }

    DWORD lookedAt_ = 0;
    unsigned calls_ = 0;
    POINT pointer_{0, 0};
};

// Tests remove the hook the way the system does, behind the thread's back, by posting this to
// the hook thread. (Asked for each time: a function's static would bring the C++ library's
// guard for it, and its exception support, into the library.)
UINT DropHookMessage()
{
    return RegisterWindowMessageA("HOOK.DLL drops its hook as the system would");
}

// Waits for mouse events (the hook is called from PeekMessage), for the filter's next
// deadline, for the pointer watch and for the stop event.
void RunLoop(HANDLE stop)
{
    PointerWatch watch;
    for (;;) {
        const std::uint32_t deadline = filter->MillisecondsToDeadline(GetTickCount());
        const DWORD look = watch.MillisecondsToLook();
        const DWORD woke = MsgWaitForMultipleObjectsEx(1, &stop, deadline < look ? deadline : look,
                                                       QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) {
            return;
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.hwnd == nullptr && msg.message >= 0xC000 && msg.message == DropHookMessage()) {
                UnhookWindowsHookEx(hook);   // the handle stays, as it does for a hook the system removed
                continue;
            }
            DispatchMessageA(&msg);
        }
        CarryOut();
        if (watch.HookLost()) {
            // Unhooking what the system removed already fails harmlessly.
            UnhookWindowsHookEx(hook);
            if (HHOOK again = SetWindowsHookExA(WH_MOUSE_LL, MouseProc, hookLibrary, 0)) {
                hook = again;
            }
        }
    }
}

// A low-level hook reports points in physical pixels, also to a program that is not aware of
// display scaling. Aware of each monitor's scale, this thread measures the screen (where the
// replayed moves go, the drag distance) in the same pixels. Windows before 10 has no such
// setting, and there the scale is the same for all monitors and programs alike.
void MeasureInPhysicalPixels()
{
    using SetContext = HANDLE(WINAPI*)(HANDLE context);
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    const auto set = user32 ? reinterpret_cast<SetContext>(reinterpret_cast<void*>(
                                  GetProcAddress(user32, "SetThreadDpiAwarenessContext")))
                            : nullptr;
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, or before Windows 10 1703 its first version.
    if (set && !set(reinterpret_cast<HANDLE>(-4))) {
        set(reinterpret_cast<HANDLE>(-3));
    }
}

DWORD WINAPI HookThreadMain(void* parameter)
{
    auto* startup = static_cast<Startup*>(parameter);
    const HINSTANCE library = startup->library;
    const HANDLE stop = startup->stop;
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);   // the thread's message queue, before the hook

    MeasureInPhysicalPixels();
    ChordFilter threadFilter(SystemSettings());
    filter = &threadFilter;
    sink = startup->sink;
    hookLibrary = library;
    hook = SetWindowsHookExA(WH_MOUSE_LL, MouseProc, library, 0);
    startup->hooked = hook != nullptr;
    SetEvent(startup->ready);   // from here on the starter's stack is not ours to touch
    if (hook != nullptr) {
        RunLoop(stop);
        UnhookWindowsHookEx(hook);
        // Unhooked, the replay goes straight to the system: a press held at this moment is
        // not lost.
        threadFilter.ReleaseAll();
        InjectReplays(threadFilter.TakeReplays());
    }
    filter = nullptr;
    // The thread holds a reference on the library (taken by StartHookThread), so that the
    // program cannot unload the code under the running hook; it drops it as it ends.
    FreeLibraryAndExitThread(library, 0);
}

}   // namespace

bool StartHookThread(HINSTANCE library, ChordSink chordSink)
{
    if (thread.Get() != nullptr) {
        return true;
    }
    HMODULE reference = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&HookThreadMain),
                            &reference)) {
        return false;
    }
    KernelHandle stop(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    KernelHandle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    Startup startup{library, chordSink, stop.Get(), ready.Get(), false};
    KernelHandle started;
    if (stop.Get() != nullptr && ready.Get() != nullptr) {
        started.Reset(CreateThread(nullptr, 0, HookThreadMain, &startup, 0, nullptr));
    }
    if (started.Get() == nullptr) {
        FreeLibrary(reference);
        return false;
    }
    WaitForSingleObject(ready.Get(), INFINITE);
    if (!startup.hooked) {
        WaitForSingleObject(started.Get(), INFINITE);
        return false;
    }
    thread = std::move(started);
    stopEvent = std::move(stop);
    return true;
}

void StopHookThread()
{
    if (thread.Get() == nullptr) {
        return;
    }
    SetEvent(stopEvent.Get());
    WaitForSingleObject(thread.Get(), INFINITE);
    thread.Reset(nullptr);
    stopEvent.Reset(nullptr);
}

bool HookThreadRunning()
{
    return thread.Get() != nullptr;
}
