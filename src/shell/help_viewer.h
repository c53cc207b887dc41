// The help command: the help's contents in the WinHelp viewer where one that reads Mivtra.hlp
// is installed, and its HTML copy in the user's browser where none is.
#pragma once

#include "shell/help_choice.h"

#include <windows.h>

#include <string>

// What this platform says about its help viewer.
HelpPlatform CurrentHelpPlatform();

// Opens the help file's contents in the given form, owned by the window.
void ShowHelpContents(HWND owner, const std::string& helpFile, HelpForm form);
