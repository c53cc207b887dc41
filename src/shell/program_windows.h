// The program's three windows, made at start-up in their order.
#pragma once

#include <string>

class Application;
class MainWindow;

// Makes the main window, the about box and the launcher settings dialog (which loads the
// launcher list from `launchFile`), all owned by `app`, joins them up and returns the main
// window. An error that keeps one of them from being made is raised: a program without its
// windows could not be reached.
// What was made before the error is gone again.
MainWindow* CreateProgramWindows(Application& app, const std::string& settingsKey,
                                 const std::string& launchFile);

// Makes the program's windows and runs the message loop to its end: 0 then. A program whose
// windows cannot be made could not be reached, yet would hold its mutex and turn every later
// start away: after the error box it ends at once with 1.
int RunProgram(Application& app, const std::string& settingsKey, const std::string& launchFile);
