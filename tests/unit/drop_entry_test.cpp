#include "triggers/drop_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Case {
    std::string path;
    std::string storedName;
    std::string name, dir;
};

// "表" in code page 932 is 0x95 0x5C: its second byte is a backslash.
const std::string kHyou = "\x95\x5C";

}   // namespace

TEST(DropEntryTest, NamesTheNodeAfterTheStoredEntryOrElseThePathsLastComponent)
{
    const std::vector<Case> cases = {
        // The entry's own spelling wins over the dropped one.
        {"C:\\tools\\BIN", "Bin", "Bin", "C:\\tools\\"},
        {"C:\\Tools\\Bin", "", "Bin", "C:\\Tools\\"},
        {"C:\\Links\\メモ帳.lnk", "メモ帳.lnk", "メモ帳.lnk", "C:\\Links\\"},
        // A name ending in the trail byte 0x5C is no directory.
        {"C:\\" + kHyou + "\\予定" + kHyou, "", "予定" + kHyou, "C:\\" + kHyou + "\\"},
        // Roots have no entry: the whole path names them.
        {"C:\\", "", "C:\\", "C:\\"},
        {"D:", "", "D:", "D:"},
        {"\\\\server\\share", "", "share", "\\\\server\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const DropEntry entry = MakeDropEntry(c.path, c.storedName);
        EXPECT_EQ(c.name, entry.name);
        EXPECT_EQ(c.path, entry.file);
        EXPECT_EQ(c.dir, entry.dir);
    }
}

TEST(DropEntryTest, TextWithWildcardsNamesNoFile)
{
    EXPECT_TRUE(CanNameFile("C:\\" + kHyou + "\\a.txt"));
    EXPECT_FALSE(CanNameFile("C:\\a\\??.txt"));
    EXPECT_FALSE(CanNameFile("C:\\*.txt"));
    EXPECT_FALSE(CanNameFile(""));
}
