#include "base/error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct FullStopCase {
    std::string message;
    std::string expected;
};

TEST(ErrorTest, FullStopOnlyAfterBytesAboveTheFullStop)
{
    const std::vector<FullStopCase> cases = {
        {"", ""},
        {"Done.", "Done."},
        {"Done!", "Done!"},   // '!' (0x21) sorts before '.'
        {"(x)", "(x)"},       // ')' 0x29
        {"a-", "a-"},         // '-' 0x2D, just below
        {"a/", "a/."},        // '/' 0x2F, just above
        {"abc", "abc."},
        {"Error 5", "Error 5."},
        {"ファイルがありません", "ファイルがありません."},
        // Explicit CP932: "あ" is 0x82 0xA0, "表" is 0x95 0x5C. A last byte above 0x7F is
        // negative as a plain char and must still count as above '.'.
        {"\x82\xA0", "\x82\xA0."},
        {"\x95\x5C", "\x95\x5C."},
    };
    for (const FullStopCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.message));
        EXPECT_EQ(WithFullStop(c.message), c.expected);
    }
}

TEST(ErrorTest, FormatReplacesFirstPlaceholderOnly)
{
    EXPECT_EQ(FormatMessageText("%s に書き込めません", "C:\\a.ini"), "C:\\a.ini に書き込めません");
    EXPECT_EQ(FormatMessageText("open %s", "x"), "open x");
    EXPECT_EQ(FormatMessageText("%s and %s", "a"), "a and %s");
    EXPECT_EQ(FormatMessageText("no placeholder", "x"), "no placeholder");
    EXPECT_EQ(FormatMessageText("100% %d", "x"), "100% %d");
    EXPECT_EQ(FormatMessageText("[%s]", ""), "[]");
    EXPECT_EQ(FormatMessageText("", "x"), "");
    // The argument goes in verbatim, never re-scanned for placeholders.
    EXPECT_EQ(FormatMessageText("<%s>", "%s%s"), "<%s%s>");
    EXPECT_EQ(FormatMessageText("%s!", "50%"), "50%!");
}
