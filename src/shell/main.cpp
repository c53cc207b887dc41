// Program entry: one copy only, a hidden application window, the three windows, the loop.
#include "components/about_box.h"
#include "framework/application.h"
#include "framework/handles.h"
#include "framework/module_path.h"
#include "launcher/TCONF.h"
#include "shell/TTASKM.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // Creating and testing in one call: two copies started together cannot both win.
    UniqueKernelHandle mutex(CreateMutexA(nullptr, FALSE, "hMivtra"));
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS)
        return 0;

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    Application app;
    try {
        app.Initialize(instance);
        ShowWindow(app.Handle(), SW_HIDE);
        app.SetShowMainForm(false);
        app.SetTitle("Mivtra");
        // A full path to the help beside the program: the viewer looks a bare name up from the
        // current folder, which a shortcut or a Run key may set to anywhere.
        app.SetHelpFile(ModuleDirectory() + "Mivtra.hlp");
        auto* mainWindow = new TTASKM(&app);
        mainWindow->SetAboutBox(new TAboutBox(&app, &TTASKM::ShellExecute));
        auto* conf = new TCONF(&app, mainWindow->Launch(), &TTASKM::ShellExecute);
        mainWindow->SetLauncher(conf);
    } catch (...) {
        app.HandleException();
    }
    app.Run();
    return 0;
}
