// Which form of the help the help command opens: the WinHelp file in the platform's viewer, or
// its HTML copy in the user's browser. Decided from facts about the platform that the caller
// gathers, so that every kind of platform can be tried without it.
#pragma once

#include <string>

struct HelpPlatform {
    // The version Windows reports to a program whose manifest names every version up to 10.
    unsigned windowsMajor = 0;
    unsigned windowsMinor = 0;
    bool wine = false;             // Wine, whose own viewer reads WinHelp files
    bool viewerProgram = false;    // winhlp32.exe in the Windows folder
    bool fullTextSearch = false;   // ftsrch.dll, the viewer's full-text search, in the system folder
};

enum class HelpForm { Hlp, Html };

HelpForm ChooseHelpForm(const HelpPlatform& platform);

// The HTML copy that ships beside the help file: "C:\x\Mivtra.hlp" -> "C:\x\Mivtra.html".
std::string HtmlCopyOf(const std::string& helpFile);
