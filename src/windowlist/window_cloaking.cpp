#include "windowlist/window_cloaking.h"

#include <string>

namespace {

// DWMWA_CLOAKED, not in every SDK's headers.
constexpr DWORD kCloakedAttribute = 14;

}   // namespace

WindowAttributeQuery SystemWindowAttributeQuery()
{
    // The program does not import dwmapi.dll: loaded by its full path, never by its bare name,
    // which would load a DLL planted beside the program.
    static const WindowAttributeQuery query = []() -> WindowAttributeQuery {
        char system[MAX_PATH] = "";
        const UINT length = GetSystemDirectoryA(system, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) {
            return nullptr;
        }
        HMODULE dwm = LoadLibraryA((std::string(system) + "\\dwmapi.dll").c_str());   // kept for the run
        return dwm ? reinterpret_cast<WindowAttributeQuery>(
                         reinterpret_cast<void*>(GetProcAddress(dwm, "DwmGetWindowAttribute")))
                   : nullptr;
    }();
    return query;
}

Cloaking CloakingOf(HWND window, WindowAttributeQuery query)
{
    DWORD cloaked = 0;
    const HRESULT result = query ? query(window, kCloakedAttribute, &cloaked, sizeof cloaked) : E_NOTIMPL;
    if (result == E_INVALIDARG || result == E_NOTIMPL) {
        return Cloaking::Unknown;
    }
    return SUCCEEDED(result) && cloaked != 0 ? Cloaking::Cloaked : Cloaking::Shown;
}
