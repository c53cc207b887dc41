#include "launcher/launch_paths.h"

#include <gtest/gtest.h>

#include <set>

TEST(LaunchPathsTest, EntriesAreReadAsExplorerReadsPaths)
{
    // The program lives in D:\M\. "\x95\x5C" is "表", whose second byte is a backslash.
    const std::set<std::string> onDisk = {"C:\\W\\a.exe", "D:\\M\\a.exe", "D:\\M\\b.exe",
                                          "C:\\\x95\x5C\\\x95\x5C.exe", "D:\\M\\\x95\x5C\\\x95\x5C.exe"};
    const PathLookups lookups{"D:\\M\\",
                              [](const std::string& name) {
                                  return name == "WINDIR" ? std::optional<std::string>("C:\\Win")
                                                          : std::nullopt;
                              },
                              [&](const std::string& path) { return onDisk.count(path) > 0; }};
    const char* const cases[][4] = {
        // File, Option, Dir as stored, and what the shell is given. A variable not set stays.
        {"%WINDIR%\\n.exe", "/x %WINDIR% 50% %NOPE% 5%", "%WINDIR%",
         "C:\\Win\\n.exe|/x C:\\Win 50% %NOPE% 5%|C:\\Win"},
        {"tools\\a.exe", "", "w\\..\\bin", "D:\\M\\bin\\tools\\a.exe||D:\\M\\bin"},
        {".\\tools/a.exe", "", "", "D:\\M\\tools\\a.exe||D:\\M\\"},
        {"..\\..\\..\\a.exe", "", "C:\\W\\", "C:\\a.exe||C:\\W\\"},
        {"..\\a.exe", "", "\\\\srv\\share", "\\\\srv\\share\\a.exe||\\\\srv\\share"},
        {"\"C:\\Program Files\\a.exe\"", "", "\"..\"", "C:\\Program Files\\a.exe||D:\\"},
        // A bare name from the entry's folder, then the program's, where it is there.
        {"a.exe", "", "C:\\W", "C:\\W\\a.exe||C:\\W"},
        {"b.exe", "", "C:\\W", "D:\\M\\b.exe||C:\\W"},
        {"notepad.exe", "", "", "notepad.exe||D:\\M\\"},
        {"C:\\W\\a.exe", "", "", "C:\\W\\a.exe||C:\\W\\"},
        {"C:\\gone\\a.exe", "", "", "C:\\gone\\a.exe||D:\\M\\"},
        {"https://example.com/a\\b", "", "", "https://example.com/a\\b||D:\\M\\"},
        {"::{20D04FE0-3AEA}", "", "", "::{20D04FE0-3AEA}||D:\\M\\"},
        // "表" is no separator, and a folder that ends in it still takes one.
        {"\x95\x5C\\\x95\x5C.exe", "", "", "D:\\M\\\x95\x5C\\\x95\x5C.exe||D:\\M\\\x95\x5C\\"},
        {"\x95\x5C.exe", "", "C:\\\x95\x5C", "C:\\\x95\x5C\\\x95\x5C.exe||C:\\\x95\x5C"},
    };
    for (const auto& c : cases) {
        LaunchEntry entry;
        entry.File = c[0], entry.Option = c[1], entry.Dir = c[2];
        const LaunchTarget target = ResolveLaunch(entry, lookups);
        EXPECT_EQ(c[3], target.file + "|" + target.parameters + "|" + target.directory) << c[0];
    }
}
