#include "shell/startup_rule.h"

#include <gtest/gtest.h>

TEST(StartupRuleTest, WhatCountsAsStartingThisProgram)
{
    const std::wstring program = L"C:\\Program Files\\Mivtra\\Mivtra.exe";
    const struct {
        const wchar_t* run;   // null: no Run value
        std::vector<unsigned char> approval;
        bool starts;
    } rows[] = {
        {nullptr, {}, false},
        {L"\"C:\\Program Files\\Mivtra\\Mivtra.exe\"", {}, true},
        {L"  \"c:\\program files\\MIVTRA\\mivtra.EXE\" /min", {}, true},
        {L"C:\\Program Files\\Mivtra\\Mivtra.exe", {}, true},
        {L"C:\\Program Files\\Mivtra\\Mivtra.exe\t-x", {}, true},
        {L"\"C:\\Tools\\Mivtra.exe\"", {}, false},
        {L"C:\\Program Files\\Mivtra\\Mivtra.exe2", {}, false},
        {L"\"C:\\Program Files\\Mivtra\\Mivtra.exe", {}, false},   // no closing quote
        {L"\"C:\\Program Files\\Mivtra\\Mivtra.exe\"x", {}, false},
        {L"", {}, false},
        {L"\"C:\\Program Files\\Mivtra\\Mivtra.exe\"", {0x03, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}, false},
        {L"\"C:\\Program Files\\Mivtra\\Mivtra.exe\"", {0x02, 0, 0, 0}, true},
        {L"\"C:\\Program Files\\Mivtra\\Mivtra.exe\"", {0x06}, true},
    };
    for (const auto& row : rows) {
        const auto run = row.run ? std::optional<std::wstring>(row.run) : std::nullopt;
        EXPECT_EQ(row.starts, StartsWithWindows(run, row.approval, program))
            << (row.run ? std::string(row.run, row.run + wcslen(row.run)) : "(none)") << " "
            << (row.approval.empty() ? -1 : row.approval[0]);
    }
    EXPECT_EQ(L"\"" + program + L"\"", RunValueFor(program));
    EXPECT_TRUE(RunValueStarts(RunValueFor(program), program));
}
