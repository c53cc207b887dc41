// droptool CLASS X Y PATH...: drops the paths on the visible top-level window of that class, at
// the client point (X, Y), from this process, through the drop hook library beside it (see
// drop_hook.cpp). Prints "dropped N" and exits 0; 1 when the window or the hook fails; 2 for
// bad usage.
#include "drop_protocol.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

struct Found {
    const wchar_t* className;
    HWND window;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM data)
{
    auto* found = reinterpret_cast<Found*>(data);
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    if (IsWindowVisible(window) && std::wcscmp(name, found->className) == 0) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

int Fail(const char* what)
{
    std::fprintf(stderr, "droptool: %s (error %lu)\n", what, GetLastError());
    return 1;
}

}   // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: droptool CLASS X Y PATH...\n");
        return 2;
    }
    Found found{argv[1], nullptr};
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&found));
    if (!found.window) {
        return Fail("no visible window of that class");
    }

    std::wstring list;
    for (int i = 4; i < argc; ++i) {
        list += argv[i];
        list += L'\0';
    }
    list += L'\0';
    HANDLE mapping =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kDropMappingSize, kDropMapping);
    if (!mapping || sizeof(DropListHeader) + list.size() * sizeof(wchar_t) > kDropMappingSize) {
        return Fail("no room for the paths");
    }
    auto* header = static_cast<DropListHeader*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    header->point = {std::wcstol(argv[2], nullptr, 10), std::wcstol(argv[3], nullptr, 10)};
    header->characters = static_cast<DWORD>(list.size());
    std::memcpy(header + 1, list.data(), list.size() * sizeof(wchar_t));
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, kDropDoneEvent);

    wchar_t module[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring library = module;
    library = library.substr(0, library.find_last_of(L'\\') + 1) + L"drop_hook.dll";
    HMODULE hookModule = LoadLibraryW(library.c_str());
    auto* proc =
        hookModule
            ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hookModule, "DropHookProc")))
            : nullptr;
    if (!proc) {
        return Fail("cannot load drop_hook.dll");
    }
    const DWORD thread = GetWindowThreadProcessId(found.window, nullptr);
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, proc, hookModule, thread);
    if (!hook) {
        return Fail("SetWindowsHookEx failed");
    }
    PostMessageW(found.window, DropRequestMessage(), 0, 0);
    const bool posted = WaitForSingleObject(done, 10000) == WAIT_OBJECT_0;
    UnhookWindowsHookEx(hook);
    UnmapViewOfFile(header);
    CloseHandle(mapping);
    CloseHandle(done);
    if (!posted) {
        return Fail("the hook did not run in the target within 10 s");
    }
    std::printf("dropped %d\n", argc - 4);
    return 0;
}
