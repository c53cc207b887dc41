#include "components/browse_options.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

TEST(BrowseOptionsTest, EachOptionIsOneBitAndOneShellFlag)
{
    const std::uint32_t flags[] = {0x1000, 0x2000, 0x2, 0x8, 0x1, 0x4};
    for (int value = biBrowseForComputer; value <= biStatusText; ++value) {
        BrowseOptions options{static_cast<BrowseOption>(value)};
        EXPECT_EQ(1u << value, options.Byte()) << value;
        EXPECT_EQ(flags[value], BrowseFlags(options)) << value;
    }
    EXPECT_EQ(0x1u, BrowseFlags(BrowseOptions{biReturnOnlyFSDirs}));
    EXPECT_EQ(0x0u, BrowseFlags(BrowseOptions{}));
}

TEST(BrowseOptionsTest, AllSixOptionsGive300F)
{
    BrowseOptions all{biBrowseForComputer, biBrowseForPrinter, biDontGoBelowDomain,
                      biReturnFSAncestors, biReturnOnlyFSDirs, biStatusText};
    EXPECT_EQ(0x3F, all.Byte());
    EXPECT_EQ(0x300Fu, BrowseFlags(all));
    // A stored byte with bits beyond the last option reads as the six options only.
    EXPECT_EQ(all, BrowseOptions::FromByte(0xFF));
}

struct SelectionCase {
    std::string directory;
    std::string selected;
};

TEST(BrowseOptionsTest, InitialSelectionDropsOneTrailingBackslashOfALongerPath)
{
    // "表" is 0x95 0x5C in code page 932: a path ending in it ends in a backslash byte that is
    // not a backslash. Spelled as bytes so the cases hold whatever the execution charset.
    const std::string hyou = "\x95\x5C";
    const std::vector<SelectionCase> cases = {
        {"", ""},
        {"C:\\", "C:\\"},
        {"C:\\DOCS\\", "C:\\DOCS"},
        {"C:\\DOCS", "C:\\DOCS"},
        {"\\\\", "\\\\"},
        {"ab\\", "ab\\"},
        {"abc\\", "abc"},
        {"C:\\DOCS\\\\", "C:\\DOCS\\"},
        {"C:\\" + hyou, "C:\\" + hyou},
        {"C:\\" + hyou + "\\", "C:\\" + hyou},
        {"C:\\DOCS\\" + hyou + hyou, "C:\\DOCS\\" + hyou + hyou},
        {hyou + "\\", hyou + "\\"},
        // 0x81 0x81 is one character, so the backslash after it is a real one.
        {"C:\\\x81\x81\\", "C:\\\x81\x81"},
    };
    for (const SelectionCase& c : cases) {
        EXPECT_EQ(c.selected, InitialSelection(c.directory)) << c.directory;
    }
}
