#include "shell/settings.h"

#include "base/error.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsKey, MissingKeySectionOrValueGivesTheFallbackAndCreatesOnlyTheKey)
{
    ScratchKey scratch;
    SettingsKey settings(scratch.Path());
    EXPECT_TRUE(scratch.Exists());
    EXPECT_FALSE(scratch.Exists("General"));
    EXPECT_EQ(76, settings.ReadInteger("General", "Top", 76));
    EXPECT_TRUE(settings.ReadBool("General", "HOOK", true));
    EXPECT_FALSE(settings.ReadBool("General", "DragDrop", false));
    EXPECT_FALSE(scratch.Exists("General"));

    scratch.SetString("General", "Other", "1");
    EXPECT_EQ(130, settings.ReadInteger("General", "Left", 130));
}

TEST(SettingsKey, TextValuesConvertAsIntegersAndNonNumbersGiveTheFallback)
{
    ScratchKey scratch;
    scratch.SetString("General", "HOOK", "7");
    scratch.SetString("General", "Zero", "0");
    scratch.SetString("General", "Top", "abc");
    scratch.SetString("General", "Empty", "");
    scratch.SetString("General", "Negative", "-20");
    scratch.Set("General", "Expand", REG_EXPAND_SZ, "12", 3);
    scratch.Set("General", "Unterminated", REG_SZ, "345", 3);   // stored without its NUL
    SettingsKey settings(scratch.Path());

    EXPECT_TRUE(settings.ReadBool("General", "HOOK", false));
    EXPECT_FALSE(settings.ReadBool("General", "Zero", true));
    EXPECT_EQ(76, settings.ReadInteger("General", "Top", 76));
    EXPECT_EQ(5, settings.ReadInteger("General", "Empty", 5));
    EXPECT_EQ(-20, settings.ReadInteger("General", "Negative", 0));
    EXPECT_EQ(12, settings.ReadInteger("General", "Expand", 0));
    EXPECT_EQ(345, settings.ReadInteger("General", "Unterminated", 0));
}

TEST(SettingsKey, AValueOfAnotherTypeIsAnErrorNamingIt)
{
    ScratchKey scratch;
    DWORD one = 1;
    scratch.Set("General", "DispIcon", REG_DWORD, &one, sizeof one);
    SettingsKey settings(scratch.Path());
    try {
        settings.ReadBool("General", "DispIcon", true);
        FAIL() << "no error for a REG_DWORD value";
    } catch (const Error& e) {
        EXPECT_STREQ("'DispIcon' のデータ型が不正です", e.what());
    }
}

TEST(SettingsKey, WritesAreTextWithTheirNulAndMatchNamesWithoutCase)
{
    ScratchKey scratch;
    SettingsKey settings(scratch.Path());
    settings.WriteBool("General", "HOOK", true);
    settings.WriteBool("General", "DragDrop", false);
    settings.WriteInteger("General", "TOP", -12);

    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(scratch.Get("General", "HOOK", type, data));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(std::string("1\0", 2), data);
    ASSERT_TRUE(scratch.Get("General", "DragDrop", type, data));
    EXPECT_EQ(std::string("0\0", 2), data);
    ASSERT_TRUE(scratch.Get("General", "TOP", type, data));
    EXPECT_EQ(std::string("-12\0", 4), data);
    // Written as "TOP", read back under "Top".
    EXPECT_EQ(-12, settings.ReadInteger("General", "Top", 0));
}

}   // namespace
