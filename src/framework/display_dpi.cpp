#include "framework/display_dpi.h"

#include "base/display_scale.h"

#include <string>

namespace {

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, which the headers name only for Windows 10.
const HANDLE kPerMonitorV2Context = reinterpret_cast<HANDLE>(-4);

// The functions newer than Windows 7, from the user32 the program has loaded and from shcore
// (Windows 8.1), which nothing loads before: from the system folder by its full path, never
// by its bare name, which would find a library planted beside the program.
struct DpiFunctions {
    HANDLE(WINAPI* threadContext)() = nullptr;
    int(WINAPI* awarenessOf)(HANDLE context) = nullptr;
    BOOL(WINAPI* contextsEqual)(HANDLE a, HANDLE b) = nullptr;
    UINT(WINAPI* windowDpi)(HWND window) = nullptr;
    int(WINAPI* metricForDpi)(int index, UINT dpi) = nullptr;
    BOOL(WINAPI* frameForDpi)(RECT* rect, DWORD style, BOOL menu, DWORD exStyle, UINT dpi) = nullptr;
    BOOL(WINAPI* scaleFrame)(HWND window) = nullptr;
    HRESULT(WINAPI* monitorDpi)(HMONITOR monitor, int kind, UINT* x, UINT* y) = nullptr;
    HRESULT(WINAPI* processAwareness)(HANDLE process, int* awareness) = nullptr;
};

template <typename Function>
void Find(HMODULE module, const char* name, Function& function)
{
    // Through void*: a FARPROC takes no arguments, and a direct cast draws a warning.
    function =
        module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

HMODULE SystemLibrary(const char* name)
{
    char folder[MAX_PATH] = "";
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    // Kept loaded for the rest of the run: its functions are called from then on.
    return LoadLibraryExA((std::string(folder) + "\\" + name).c_str(), nullptr, 0);
}

const DpiFunctions& Functions()
{
    static const DpiFunctions functions = [] {
        DpiFunctions f;
        const HMODULE user32 = GetModuleHandleA("user32.dll");
        Find(user32, "GetThreadDpiAwarenessContext", f.threadContext);
        Find(user32, "GetAwarenessFromDpiAwarenessContext", f.awarenessOf);
        Find(user32, "AreDpiAwarenessContextsEqual", f.contextsEqual);
        Find(user32, "GetDpiForWindow", f.windowDpi);
        Find(user32, "GetSystemMetricsForDpi", f.metricForDpi);
        Find(user32, "AdjustWindowRectExForDpi", f.frameForDpi);
        Find(user32, "EnableNonClientDpiScaling", f.scaleFrame);
        const HMODULE shcore = SystemLibrary("shcore.dll");
        Find(shcore, "GetDpiForMonitor", f.monitorDpi);
        Find(shcore, "GetProcessDpiAwareness", f.processAwareness);
        return f;
    }();
    return functions;
}

}   // namespace

DpiAwareness ThreadDpiAwareness()
{
    const DpiFunctions& f = Functions();
    if (f.threadContext && f.awarenessOf && f.contextsEqual) {
        const HANDLE context = f.threadContext();
        if (f.contextsEqual(context, kPerMonitorV2Context)) {
            return DpiAwareness::PerMonitorV2;
        }
        const int awareness = f.awarenessOf(context);
        return awareness == 2   ? DpiAwareness::PerMonitor
               : awareness == 1 ? DpiAwareness::System
                                : DpiAwareness::Unaware;
    }
    int awareness = 0;
    if (f.processAwareness && SUCCEEDED(f.processAwareness(nullptr, &awareness))) {
        return awareness == 2   ? DpiAwareness::PerMonitor
               : awareness == 1 ? DpiAwareness::System
                                : DpiAwareness::Unaware;
    }
    return IsProcessDPIAware() ? DpiAwareness::System : DpiAwareness::Unaware;
}

int SystemDpi()
{
    // Fixed for the whole run: the system measures its figures at the DPI of the log-on.
    static const int dpi = [] {
        const HDC screen = GetDC(nullptr);
        const int logPixels = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen) {
            ReleaseDC(nullptr, screen);
        }
        return logPixels > 0 ? logPixels : kDesignDpi;
    }();
    return dpi;
}

int MonitorDpi(HMONITOR monitor)
{
    UINT x = 0, y = 0;
    const auto getDpi = Functions().monitorDpi;
    if (monitor && getDpi && SUCCEEDED(getDpi(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y)) && y > 0) {
        return static_cast<int>(y);
    }
    return SystemDpi();
}

int WindowDpi(HWND window)
{
    if (const auto getDpi = Functions().windowDpi) {
        if (const UINT dpi = window ? getDpi(window) : 0) {
            return static_cast<int>(dpi);
        }
    }
    return MonitorDpi(window ? MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST) : nullptr);
}

int MenuDpiAt(POINT point)
{
    return ThreadDpiAwareness() == DpiAwareness::PerMonitorV2
               ? MonitorDpi(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST))
               : SystemDpi();
}

int TrayDpi()
{
    return MonitorDpi(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

int SystemMetricForDpi(int index, int dpi)
{
    if (const auto metric = Functions().metricForDpi) {
        return metric(index, static_cast<UINT>(dpi));
    }
    return ScaleDpi(GetSystemMetrics(index), SystemDpi(), dpi);
}

int SmallIconSize(int dpi)
{
    return SystemMetricForDpi(SM_CXSMICON, dpi);
}

RECT FrameForDpi(DWORD style, DWORD exStyle, int dpi)
{
    RECT outer{0, 0, 0, 0};
    if (const auto frame = Functions().frameForDpi) {
        frame(&outer, style, FALSE, exStyle, static_cast<UINT>(dpi));
        return {-outer.left, -outer.top, outer.right, outer.bottom};
    }
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    const int systemDpi = SystemDpi();
    return {ScaleDpi(-outer.left, systemDpi, dpi), ScaleDpi(-outer.top, systemDpi, dpi),
            ScaleDpi(outer.right, systemDpi, dpi), ScaleDpi(outer.bottom, systemDpi, dpi)};
}

void ScaleFrameWithDpi(HWND window)
{
    const auto scaleFrame = Functions().scaleFrame;
    if (scaleFrame && ThreadDpiAwareness() == DpiAwareness::PerMonitor) {
        scaleFrame(window);
    }
}
