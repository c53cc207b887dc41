#include "shell/program_windows.h"

#include "components/about_box.h"
#include "framework/application.h"
#include "framework/shell_open.h"
#include "launcher/TCONF.h"
#include "launcher/launch_list.h"
#include "shell/TTASKM.h"

TTASKM* CreateProgramWindows(Application& app, const std::string& settingsKey, const std::string& launchFile)
{
    // The first form made becomes the application's main window.
    auto* mainWindow = new TTASKM(&app, settingsKey);
    mainWindow->SetAboutBox(new TAboutBox(&app, &ShellOpen));
    // Made before the dialog, so that it goes after it: the dialog's tree shows its nodes.
    auto* list = new LaunchList(&app, mainWindow->Launch(), &ShellOpen, launchFile);
    mainWindow->SetLaunchList(list);
    mainWindow->SetLauncherDialog(new TCONF(&app, list));
    list->Watch(mainWindow->Handle(), TTASKM::kLaunchFileChangedMessage);
    return mainWindow;
}
