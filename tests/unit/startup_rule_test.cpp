#include "shell/startup_rule.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(StartupRuleTest, TheRunValueStartsThisProgramQuotedOrBareUnlessTaskManagerHoldsItBack)
{
    const std::wstring program = L"C:\\Program Files\\Mivtra\\Mivtra.exe";
    const std::tuple<const wchar_t*, std::vector<unsigned char>, bool> rows[] = {
        {L"  \"c:\\program files\\MIVTRA\\mivtra.EXE\" /min", {}, true},
        {L"C:\\Program Files\\Mivtra\\Mivtra.exe2 -x", {}, false},
        {L"\"C:\\Program Files\\Mivtra\\Mivtra.exe", {}, false},   // no closing quote
        {L"\"C:\\Program Files\\Mivtra\\Mivtra.exe\"", {0x03, 0, 0, 0, 9, 9, 9, 9}, false},
        {L"C:\\Program Files\\Mivtra\\Mivtra.exe -x", {0x02, 0, 0, 0}, true},
    };
    for (const auto& [run, approval, starts] : rows) {
        EXPECT_EQ(starts, StartsWithWindows(std::wstring(run), approval, program)) << run;
    }
}
