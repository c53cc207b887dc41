// recorder: a window of another program for the end-to-end scenarios of the mouse chord. It
// prints every mouse button and wheel message it gets as "MESSAGE X Y" (the message number in
// hex, the screen point), one line each, flushed at once, and opens a context menu of its own
// on a right click, as most programs do.
//   recorder TITLE X Y WIDTH HEIGHT      (runs until its window is closed)
#include <windows.h>

#include <cstdio>
#include <cstdlib>

static LRESULT CALLBACK RecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    if (message == WM_CONTEXTMENU) {
        HMENU menu = CreatePopupMenu();
        AppendMenuA(menu, MF_STRING, 1, "recorder menu");
        SetForegroundWindow(window);
        TrackPopupMenu(menu, TPM_RIGHTBUTTON, static_cast<short>(LOWORD(lParam)),
                       static_cast<short>(HIWORD(lParam)), 0, window, nullptr);
        PostMessageA(window, WM_NULL, 0, 0);
        DestroyMenu(menu);
        return 0;
    }
    if (message >= WM_LBUTTONDOWN && message <= WM_MOUSEHWHEEL) {
        POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (message != WM_MOUSEWHEEL && message != WM_MOUSEHWHEEL) {
            ClientToScreen(window, &point);
        }
        std::printf("0x%x %ld %ld\n", message, point.x, point.y);
        std::fflush(stdout);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: recorder TITLE X Y WIDTH HEIGHT\n");
        return 2;
    }
    WNDCLASSA windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = RecorderProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "ChordRecorder";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "ChordRecorder", argv[1], WS_OVERLAPPEDWINDOW, std::atoi(argv[2]),
                                  std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    if (!window) {
        return 1;
    }
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
