// The program's three windows, made at start-up in their order.
#pragma once

#include <string>

class Application;
class TTASKM;

// Makes the main window, the about box and the launcher settings dialog (which loads the
// launcher list from `launchFile`), all owned by `app`, joins them up and returns the main
// window. An error that keeps one of them from being made is raised: a program without its
// windows could not be reached.
TTASKM* CreateProgramWindows(Application& app, const std::string& settingsKey, const std::string& launchFile);
