#include "hook/replay_input.h"

namespace {

// dwExtraInfo of every injected replay. Other programs' injected input (automation tools,
// remote desktops, test drivers) is the user's input as far as the chord goes.
constexpr ULONG_PTR kReplayMarker = 0x4D69764Cu;

MouseEventKind KindOf(WPARAM message)
{
    switch (message) {
    case WM_MOUSEMOVE:
        return MouseEventKind::kMove;
    case WM_LBUTTONDOWN:
        return MouseEventKind::kLeftDown;
    case WM_LBUTTONUP:
        return MouseEventKind::kLeftUp;
    case WM_RBUTTONDOWN:
        return MouseEventKind::kRightDown;
    case WM_RBUTTONUP:
        return MouseEventKind::kRightUp;
    default:
        return MouseEventKind::kOther;
    }
}

// The input flags that make the event again, and its mouseData.
DWORD ButtonFlags(UINT message, DWORD hookData, DWORD& mouseData)
{
    mouseData = 0;
    switch (message) {
    case WM_LBUTTONDOWN:
        return MOUSEEVENTF_LEFTDOWN;
    case WM_LBUTTONUP:
        return MOUSEEVENTF_LEFTUP;
    case WM_RBUTTONDOWN:
        return MOUSEEVENTF_RIGHTDOWN;
    case WM_RBUTTONUP:
        return MOUSEEVENTF_RIGHTUP;
    case WM_MBUTTONDOWN:
        return MOUSEEVENTF_MIDDLEDOWN;
    case WM_MBUTTONUP:
        return MOUSEEVENTF_MIDDLEUP;
    case WM_XBUTTONDOWN:
        mouseData = HIWORD(hookData);
        return MOUSEEVENTF_XDOWN;
    case WM_XBUTTONUP:
        mouseData = HIWORD(hookData);
        return MOUSEEVENTF_XUP;
    case WM_MOUSEWHEEL:
        mouseData = static_cast<DWORD>(static_cast<LONG>(static_cast<SHORT>(HIWORD(hookData))));
        return MOUSEEVENTF_WHEEL;
    case WM_MOUSEHWHEEL:
        mouseData = static_cast<DWORD>(static_cast<LONG>(static_cast<SHORT>(HIWORD(hookData))));
        return MOUSEEVENTF_HWHEEL;
    default:
        return 0;
    }
}

// Absolute input coordinates run from 0 to 65535 across the virtual screen, and the system
// turns them back into pixels by truncating value * size / 65536. The smallest value that
// lands on the pixel is the one to send.
LONG Normalize(LONG pixel, int origin, int size)
{
    if (size <= 0) {
        return 0;
    }
    long long offset = static_cast<long long>(pixel) - origin;
    offset = offset < 0 ? 0 : (offset >= size ? size - 1 : offset);
    return static_cast<LONG>((offset * 65536 + size - 1) / size);
}

}   // namespace

bool IsReplay(const MSLLHOOKSTRUCT& info)
{
    return (info.flags & LLMHF_INJECTED) != 0 && info.dwExtraInfo == kReplayMarker;
}

MouseEvent EventFromHook(WPARAM message, const MSLLHOOKSTRUCT& info)
{
    MouseEvent event;
    event.kind = KindOf(message);
    event.x = info.pt.x;
    event.y = info.pt.y;
    event.time = info.time;
    event.message = static_cast<std::uint32_t>(message);
    event.data = info.mouseData;
    return event;
}

UINT InjectReplays(const ReplayList& events)
{
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT inputs[ReplayList::kCapacity] = {};
    for (size_t i = 0; i < events.size(); ++i) {
        const MouseEvent& event = events[i];
        MOUSEINPUT& mouse = inputs[i].mi;
        inputs[i].type = INPUT_MOUSE;
        // Only a move takes the pointer somewhere. A button or the wheel happens where the
        // moves before it left the pointer: its own point is where the pointer stood when it
        // reached the hook, which leaves out the moves withheld ahead of it, so sending it
        // there would pull the pointer back and end a drag where it began.
        if (event.message == WM_MOUSEMOVE) {
            mouse.dx = Normalize(event.x, left, width);
            mouse.dy = Normalize(event.y, top, height);
            mouse.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
        } else {
            mouse.dwFlags = ButtonFlags(event.message, event.data, mouse.mouseData);
        }
        mouse.dwExtraInfo = kReplayMarker;
    }
    if (events.empty()) {
        return 0;
    }
    return SendInput(static_cast<UINT>(events.size()), inputs, sizeof(INPUT));
}
