#include "shell/program_windows.h"

#include "framework/application.h"
#include "framework/shell_open.h"
#include "launcher/launch_list.h"
#include "launcher/launcher_dialog.h"
#include "shell/about_box.h"
#include "shell/main_window.h"

MainWindow* CreateProgramWindows(Application& app, const std::string& settingsKey,
                                 const std::string& launchFile)
{
    // The first form made becomes the application's main window.
    auto* mainWindow = new MainWindow(&app, settingsKey);
    try {
        mainWindow->SetAboutBox(new AboutBox(&app, &ShellOpen));
        // Made before the dialog, so that it goes after it: the dialog's tree shows its nodes.
        auto* list = new LaunchList(&app, mainWindow->LauncherSubmenu(), &ShellOpen, launchFile);
        mainWindow->SetLaunchList(list);
        mainWindow->SetLauncherDialog(new LauncherDialog(&app, list));
        list->Watch(mainWindow->Handle(), MainWindow::kLaunchFileChangedMessage);
    } catch (...) {
        delete mainWindow->LauncherDialog();
        delete mainWindow->LaunchList();
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
