#include "base/menu_text.h"

#include <gtest/gtest.h>

TEST(MenuTextTest, AWindowTitleShowsAsTyped)
{
    EXPECT_EQ("Q&&A  notes", LiteralMenuText("Q&A\t notes"));
    // "表" ends in the byte 0x5C, which is no concern of menus; "&&" shows as two.
    EXPECT_EQ("\x95\x5C&&&&", LiteralMenuText("\x95\x5C&&"));
    EXPECT_EQ("", LiteralMenuText(""));
}
