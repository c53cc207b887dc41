#include "shell/program_windows.h"

#include "framework/application.h"
#include "launcher/TCONF.h"
#include "shell/TTASKM.h"
#include "shell/about_box.h"

TTASKM* CreateProgramWindows(Application& app, const std::string& settingsKey, const std::string& launchFile)
{
    // The first form made becomes the application's main window.
    auto* mainWindow = new TTASKM(&app, settingsKey);
    try {
        mainWindow->SetAboutBox(new TAboutBox(&app, &TTASKM::ShellExecute));
        mainWindow->SetLauncher(new TCONF(&app, mainWindow->Launch(), &TTASKM::ShellExecute, launchFile));
    } catch (...) {
        delete mainWindow->AboutBox();
        delete mainWindow;
        throw;
    }
    return mainWindow;
}

int RunProgram(Application& app, const std::string& settingsKey, const std::string& launchFile)
{
    try {
        CreateProgramWindows(app, settingsKey, launchFile);
    } catch (...) {
        app.HandleException();
        return 1;
    }
    app.Run();
    return 0;
}
