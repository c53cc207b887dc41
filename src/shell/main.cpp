// Program entry: one copy only, a hidden application window, the three windows, the loop.
#include "framework/application.h"
#include "framework/handles.h"
#include "framework/module_path.h"
#include "launcher/launch_list.h"
#include "shell/main_window.h"
#include "shell/program_windows.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

namespace {

// COM on this thread for the program's whole run.
class OleSession {
public:
    OleSession() : initialized_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession()
    {
        if (initialized_) {
            OleUninitialize();
        }
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool initialized_;
};

}   // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // Creating and testing in one call: two copies started together cannot both win.
    UniqueKernelHandle mutex(CreateMutexA(nullptr, FALSE, "hMivtra"));
    if (!mutex) {
        return 0;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // Silent here; the running copy decides whether it must come back into view.
        PostMessageA(HWND_BROADCAST, RegisterWindowMessageA(kSecondStartMessage), 0, 0);
        return 0;
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // The shell's icons and the verbs that shell extensions serve come from COM objects.
    const OleSession ole;

    Application app;
    try {
        app.Initialize(instance);
        ShowWindow(app.Handle(), SW_HIDE);
        app.SetShowMainForm(false);
        app.SetTitle("Mivtra");
        // A full path to the help beside the program: the viewer looks a bare name up from the
        // current folder, which a shortcut or a Run key may set to anywhere.
        app.SetHelpFile(ModuleDirectory() + "Mivtra.hlp");
    } catch (...) {
        // Without its windows nothing could reach the program, yet it would hold the mutex
        // and turn every later start away.
        app.HandleException();
        return 1;
    }
    return RunProgram(app, kSettingsKey, LaunchFilePath());
}
