#include "shell/help_choice.h"

#include <gtest/gtest.h>

#include <string>

TEST(HelpChoiceTest, TheWinHelpFileOnlyWhereAViewerThatReadsItIsInstalled)
{
    struct Case {
        const char* platform;
        HelpPlatform facts;   // major, minor, wine, viewer program, full-text search
        HelpForm form;
    };
    const Case cases[] = {
        {"XP", {5, 1, false, true, true}, HelpForm::Hlp},
        {"7 with the downloaded viewer", {6, 1, false, true, true}, HelpForm::Hlp},
        {"7 with only the stub", {6, 1, false, true, false}, HelpForm::Html},
        {"10", {10, 0, false, true, false}, HelpForm::Html},
        {"11 with a viewer copied in by hand", {10, 0, false, true, true}, HelpForm::Html},
        {"no winhlp32.exe at all", {6, 1, false, false, true}, HelpForm::Html},
        {"Wine", {6, 1, true, true, false}, HelpForm::Hlp},
        {"Wine reporting 10", {10, 0, true, true, false}, HelpForm::Hlp},
        {"Wine without its viewer", {6, 1, true, false, false}, HelpForm::Html},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.form, ChooseHelpForm(c.facts)) << c.platform;
    }
}

TEST(HelpChoiceTest, TheHtmlCopyIsBesideTheHelpFile)
{
    EXPECT_EQ("C:\\Mivtra\\Mivtra.html", HtmlCopyOf("C:\\Mivtra\\Mivtra.hlp"));
    // "表" is 0x95 0x5C: its second byte is no folder separator.
    EXPECT_EQ("C:\\x\\a.html", HtmlCopyOf("C:\\x\\a.\x95\x5C"));
}
