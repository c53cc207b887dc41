#include "base/sjis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct PathCase {
    std::string path;
    std::string directory;
    std::string name;
};

// "表" in code page 932 is 0x95 0x5C: its second byte is a backslash. Spelled as bytes so
// the case holds whatever the compiler's execution charset.
static const std::string kHyou = "\x95\x5C";

TEST(SjisTest, SplitsPathAtLastDelimiterOutsideTwoByteCharacters)
{
    const std::vector<PathCase> cases = {
        {"C:\\Tools\\Bin", "C:\\Tools\\", "Bin"},
        {"C:\\DOCS\\" + kHyou, "C:\\DOCS\\", kHyou},
        {"C:\\DOCS\\表", "C:\\DOCS\\", "表"},
        {"C:\\" + kHyou + "\\a.txt", "C:\\" + kHyou + "\\", "a.txt"},
        {kHyou + kHyou, "", kHyou + kHyou},
        {"C:\\dir\\", "C:\\dir\\", ""},
        {"C:", "C:", ""},
        {"C:name", "C:", "name"},
        {"name", "", "name"},
        {"", "", ""},
        {"\\\\server\\share\\f", "\\\\server\\share\\", "f"},
        // 0x81 0x81 is one character, so the backslash after it is a real delimiter: only a
        // walk from the start tells the second 0x81 is a trail byte and not a lead byte.
        {"\x81\x81\\x", "\x81\x81\\", "x"},
        // A colon as the second byte of a pair is no drive separator.
        {"ab\x81:c", "", "ab\x81:c"},
        // Cut text: the lone lead byte at the end is a character of its own.
        {"C:\\ab\x81", "C:\\", "ab\x81"},
        {"C:\\\x81", "C:\\", "\x81"},
        // A lead byte just before the end swallows the final backslash.
        {"C:\\a\x81\\", "C:\\", "a\x81\\"},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        EXPECT_EQ(FileNameStart(c.path), c.directory.size());
        EXPECT_EQ(ExtractFilePath(c.path), c.directory);
        EXPECT_EQ(ExtractFileName(c.path), c.name);
    }
}

TEST(SjisTest, TrailingLeadByteNeverReadsPastTheEnd)
{
    // An exact-size heap buffer without a terminator, so a read past the end is caught.
    const std::vector<char> bytes = {'C', ':', '\\', 'a', '\x95'};
    const std::string_view path(bytes.data(), bytes.size());
    EXPECT_EQ(FileNameStart(path), 3u);
    EXPECT_EQ(ExtractFileName(path), std::string("a\x95"));
    EXPECT_EQ(CutAtCharBoundary(path, 4), "C:\\a");
    EXPECT_EQ(CutAtCharBoundary(path, 5), path);
}

TEST(SjisTest, LeadByteRanges)
{
    EXPECT_FALSE(IsLeadByte(0x80));
    EXPECT_TRUE(IsLeadByte(0x81));
    EXPECT_TRUE(IsLeadByte(0x9F));
    EXPECT_FALSE(IsLeadByte(0xA0));   // half-width katakana are single bytes
    EXPECT_FALSE(IsLeadByte(0xDF));
    EXPECT_TRUE(IsLeadByte(0xE0));
    EXPECT_TRUE(IsLeadByte(0xFC));
    EXPECT_FALSE(IsLeadByte(0xFD));
    EXPECT_FALSE(IsLeadByte('\\'));
}

TEST(SjisTest, TrailByteRanges)
{
    EXPECT_FALSE(IsTrailByte(0x3F));
    EXPECT_TRUE(IsTrailByte(0x40));
    EXPECT_TRUE(IsTrailByte('\\'));   // the second byte of "表"
    EXPECT_TRUE(IsTrailByte(0x7E));
    EXPECT_FALSE(IsTrailByte(0x7F));
    EXPECT_TRUE(IsTrailByte(0x80));
    EXPECT_TRUE(IsTrailByte(0xA0));
    EXPECT_TRUE(IsTrailByte(0xFC));
    EXPECT_FALSE(IsTrailByte(0xFD));
    EXPECT_FALSE(IsTrailByte('='));
}

struct CutCase {
    std::string text;
    std::size_t maxBytes;
    std::string expected;
};

TEST(SjisTest, CutsWithoutSplittingATwoByteCharacter)
{
    const std::vector<CutCase> cases = {
        {"abcdef", 3, "abc"},
        {"abc", 3, "abc"},
        {"abc", 10, "abc"},
        {"abc", 0, ""},
        {"", 5, ""},
        {"ab" + kHyou, 3, "ab"},   // the character straddles the limit
        {"ab" + kHyou, 4, "ab" + kHyou},
        {"a" + kHyou + "b", 2, "a"},
        {kHyou, 1, ""},
        // Bytes that look like lead bytes but are trail bytes of the pair before them.
        {"\x81\x81\x81\x81", 3, "\x81\x81"},
        {"\x81\x81\x81\x81", 4, "\x81\x81\x81\x81"},
        // Half-width katakana (0xB1) are one byte each.
        {"\xB1\xB1\xB1", 2, "\xB1\xB1"},
        {"あいう", 5, "あい"},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text) + " max " + std::to_string(c.maxBytes));
        EXPECT_EQ(CutAtCharBoundary(c.text, c.maxBytes), c.expected);
    }
}

TEST(SjisTest, CutsATrayTipToSixtyThreeBytes)
{
    std::string evenTip;
    for (int i = 0; i < 32; ++i) {
        evenTip += kHyou;
    }
    // 64 bytes of two-byte characters: the 32nd would end at byte 64, so it goes whole.
    EXPECT_EQ(CutAtCharBoundary(evenTip, 63).size(), 62u);
    // Shifted by one ASCII byte, the 31st character ends exactly at byte 63.
    EXPECT_EQ(CutAtCharBoundary("a" + evenTip, 63).size(), 63u);
}
