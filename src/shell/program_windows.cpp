#include "shell/program_windows.h"

#include "framework/application.h"
#include "launcher/TCONF.h"
#include "shell/TTASKM.h"
#include "shell/about_box.h"

TTASKM* CreateProgramWindows(Application& app, const std::string& settingsKey, const std::string& launchFile)
{
    // The first form made becomes the application's main window.
    auto* mainWindow = new TTASKM(&app, settingsKey);
    mainWindow->SetAboutBox(new TAboutBox(&app, &TTASKM::ShellExecute));
    mainWindow->SetLauncher(new TCONF(&app, mainWindow->Launch(), &TTASKM::ShellExecute, launchFile));
    return mainWindow;
}
