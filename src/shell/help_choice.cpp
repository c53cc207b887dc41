#include "shell/help_choice.h"

#include "base/sjis.h"

HelpForm ChooseHelpForm(const HelpPlatform& platform)
{
    if (!platform.viewerProgram) {
        return HelpForm::Html;
    }
    if (platform.wine) {
        return HelpForm::Hlp;
    }
    // From Vista on, Windows ships a winhlp32.exe that only says that such help is not
    // supported. For Vista to 8.1 the real viewer is a separate download that replaces it and
    // brings its full-text search library along; for 10 and later there is no viewer to get.
    if (platform.windowsMajor >= 10) {
        return HelpForm::Html;
    }
    if (platform.windowsMajor >= 6) {
        return platform.fullTextSearch ? HelpForm::Hlp : HelpForm::Html;
    }
    return HelpForm::Hlp;
}

std::string HtmlCopyOf(const std::string& helpFile)
{
    // A '.' is never the second byte of a Shift-JIS character.
    const std::string::size_type dot = helpFile.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot >= FileNameStart(helpFile);
    return (hasExtension ? helpFile.substr(0, dot) : helpFile) + ".html";
}
