#include "launcher/launch_paths.h"

#include <gtest/gtest.h>

#include <set>

TEST(LaunchPathsTest, EntriesAreReadAsExplorerReadsPaths)
{
    // "\x95\x5C" is "表", whose second byte is a backslash.
    const std::set<std::string> onDisk = {"C:\\Work\\app.exe",
                                          "D:\\Mivtra\\local.exe",
                                          "D:\\Mivtra\\dup.exe",
                                          "C:\\Work\\dup.exe",
                                          "D:\\Mivtra\\\x95\x5C\\\x95\x5C.exe",
                                          "C:\\\x95\x5C\\\x95\x5C.exe"};
    const PathLookups lookups{"D:\\Mivtra\\",
                              [](const std::string& name) -> std::optional<std::string> {
                                  if (name == "WINDIR") {
                                      return "C:\\Windows";
                                  }
                                  return name == "EMPTY" ? std::optional<std::string>("") : std::nullopt;
                              },
                              [&](const std::string& path) { return onDisk.count(path) > 0; }};
    const struct {
        const char *file, *option, *dir;
        LaunchTarget target;
    } cases[] = {
        // Variables in all three texts; a name that is not set stays, an empty one goes.
        {"%WINDIR%\\notepad.exe",
         "/x %WINDIR%",
         "%WINDIR%",
         {"C:\\Windows\\notepad.exe", "/x C:\\Windows", "C:\\Windows"}},
        {"%NOPE%\\a.exe",
         "50% %NOPE% 5%%EMPTY%",
         "",
         {"D:\\Mivtra\\%NOPE%\\a.exe", "50% %NOPE% 5%", "D:\\Mivtra\\"}},
        // Relative directories and files with a folder part, from the entry's folder or ours.
        {"C:\\Work\\app.exe", "", "work\\..\\bin", {"C:\\Work\\app.exe", "", "D:\\Mivtra\\bin"}},
        {"tools\\app.exe", "", "C:\\Work", {"C:\\Work\\tools\\app.exe", "", "C:\\Work"}},
        {".\\tools/app.exe", "", "", {"D:\\Mivtra\\tools\\app.exe", "", "D:\\Mivtra\\"}},
        {"..\\..\\..\\a.exe", "", "C:\\Work\\", {"C:\\a.exe", "", "C:\\Work\\"}},
        {"..\\b.exe", "", "\\\\srv\\share", {"\\\\srv\\share\\b.exe", "", "\\\\srv\\share"}},
        {"\"C:\\Program Files\\x.exe\"", "", "\"..\"", {"C:\\Program Files\\x.exe", "", "D:\\"}},
        // Bare names: the entry's folder, then ours, only where the file is; else the shell's search.
        {"app.exe", "", "C:\\Work", {"C:\\Work\\app.exe", "", "C:\\Work"}},
        {"dup.exe", "", "C:\\Work", {"C:\\Work\\dup.exe", "", "C:\\Work"}},
        {"local.exe", "", "C:\\Work", {"D:\\Mivtra\\local.exe", "", "C:\\Work"}},
        {"local.exe", "", "", {"D:\\Mivtra\\local.exe", "", "D:\\Mivtra\\"}},
        {"notepad.exe", "", "", {"notepad.exe", "", "D:\\Mivtra\\"}},
        // No directory: the folder of a file on disk, else ours.
        {"C:\\Work\\app.exe", "", "", {"C:\\Work\\app.exe", "", "C:\\Work\\"}},
        {"C:\\gone\\app.exe", "", "", {"C:\\gone\\app.exe", "", "D:\\Mivtra\\"}},
        {"", "", "", {"", "", "D:\\Mivtra\\"}},
        // Texts with a scheme are the shell's.
        {"https://example.com/a\\b", "", "", {"https://example.com/a\\b", "", "D:\\Mivtra\\"}},
        {"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}",
         "",
         "",
         {"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", "", "D:\\Mivtra\\"}},
        {"shell:startup", "", "", {"shell:startup", "", "D:\\Mivtra\\"}},
        // Two-byte names: "表" is no separator, and a folder ending in it still takes one.
        {"\x95\x5C\\\x95\x5C.exe",
         "",
         "",
         {"D:\\Mivtra\\\x95\x5C\\\x95\x5C.exe", "", "D:\\Mivtra\\\x95\x5C\\"}},
        {"\x95\x5C.exe", "", "C:\\\x95\x5C", {"C:\\\x95\x5C\\\x95\x5C.exe", "", "C:\\\x95\x5C"}},
    };
    for (const auto& c : cases) {
        LaunchEntry entry;
        entry.File = c.file;
        entry.Option = c.option;
        entry.Dir = c.dir;
        const LaunchTarget target = ResolveLaunch(entry, lookups);
        EXPECT_EQ(c.target.file, target.file) << c.file;
        EXPECT_EQ(c.target.parameters, target.parameters) << c.file;
        EXPECT_EQ(c.target.directory, target.directory) << c.file;
    }
}
