#include "shell/startup_rule.h"

#include <gtest/gtest.h>

TEST(StartupRuleTest, TheRunValueStartsThisProgramQuotedOrBareUnlessTaskManagerHoldsItBack)
{
    const std::wstring program = L"C:\\Program Files\\Mivtra\\Mivtra.exe";
    const struct {
        const wchar_t* run;
        std::vector<unsigned char> approval;
        bool starts;
    } rows[] = {
        {L"  \"c:\\program files\\MIVTRA\\mivtra.EXE\" /min", {}, true},
        {L"C:\\Program Files\\Mivtra\\Mivtra.exe2 -x", {}, false},
        {L"\"C:\\Program Files\\Mivtra\\Mivtra.exe", {}, false},   // no closing quote
        {L"\"C:\\Program Files\\Mivtra\\Mivtra.exe\"", {0x03, 0, 0, 0, 9, 9, 9, 9}, false},
        {L"C:\\Program Files\\Mivtra\\Mivtra.exe -x", {0x02, 0, 0, 0}, true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.starts, StartsWithWindows(std::wstring(row.run), row.approval, program)) << &row - rows;
    }
}
