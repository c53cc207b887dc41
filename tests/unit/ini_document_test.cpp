#include "base/ini_document.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace std::string_literals;

struct ReadCase {
    std::string file;
    std::string section;
    std::string key;
    std::optional<std::string> expected;
};

static void ExpectReads(const std::vector<ReadCase>& cases)
{
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.file) + " " + c.section + "/" + c.key);
        EXPECT_EQ(IniDocument::Parse(c.file).Read(c.section, c.key), c.expected);
    }
}

TEST(IniDocumentReadTest, LinesWhitespaceAndHeaders)
{
    ExpectReads({
        {"[S]\r\nK=v", "S", "K", "v"},
        {"[S]\r\n  K  =  v w  \r\n", "S", "K", "v w"},
        {"[S]\r\n\tK\v=\f v\x1a\r\n", "S", "K", "v"},
        // The ideographic space and A0 are not whitespace.
        {"[S]\r\nK=\x81\x40v\x81\x40\xA0\r\n", "S", "K", "\x81\x40v\x81\x40\xA0"},
        {"[S]\rA=1\rK=2\r", "S", "K", "2"},
        {"[S]\nK=2", "S", "K", "2"},
        {"[S]\n\r\r\nK=2\n\r", "S", "K", "2"},
        {"[ section1 ]\r\nK=1", "section1", "K", "1"},
        {"[FOLDER] x\r\nK=1", "FOLDER", "K", "1"},
        {"[a]b]\r\nK=1", "a]b", "K", "1"},
        {"[S]\r\n[abc\r\nK=1", "S", "K", "1"},
        {"[S]\r\n[abc\r\nK=1", "abc", "K", std::nullopt},
        // A second byte 5D is not a bracket: "ゾ" after a header, and in an unclosed one.
        {"[ExecInfo0]\x83\x5D\r\nK=1", "ExecInfo0", "K", "1"},
        {"[S]\r\n[ExecInfo1\x83\x5D\r\nK=2", "S", "K", "2"},
        {"[S]\r\n[ExecInfo1\x83\x5D\r\nK=2", "ExecInfo1", "K", std::nullopt},
        {"K=1\r\n[S]\r\n", "", "K", std::nullopt},
        {"[]\r\nK=1\r\n", "", "K", "1"},
        // The UTF-8 byte order mark is text of line 1, so that header is lost.
        {"\xEF\xBB\xBF[S]\r\nK=1\r\n[T]\r\nK=2", "S", "K", std::nullopt},
        {"\xEF\xBB\xBF[S]\r\nK=1\r\n[T]\r\nK=2", "T", "K", "2"},
    });
}

// A section long enough to have its keys hashed rather than searched line by line.
static std::string LongSection(const std::string& tail)
{
    std::string file = "[S]\r\n";
    for (int i = 0; i < 20; ++i) {
        file += "X" + std::to_string(i) + "=" + std::to_string(i) + "\r\n\r\n";
    }
    return file + tail;
}

TEST(IniDocumentReadTest, KeysAndNames)
{
    ExpectReads({
        {LongSection("A\r\nA=1\r\na=2\r\nB=3\r\nb=4"), "S", "A", std::nullopt},
        {LongSection("A\r\nA=1\r\na=2\r\nB=3\r\nb=4"), "s", "b", "3"},
        {LongSection("[S]\r\nX3=new"), "S", "x3", "3"},
        {"[S]\r\nK\r\n", "S", "K", std::nullopt},
        {"[S]\r\nK\r\nK=1\r\n", "S", "K", std::nullopt},
        {"[S]\r\nK=\r\n", "S", "K", ""},
        {"[S]\r\n=v\r\n", "S", "", "v"},
        {"[S]\r\nNAME = a=b ;c\r\n", "S", "NAME", "a=b ;c"},
        {"[S]\r\n;K=1\r\n#K=2\r\n", "S", "K", std::nullopt},
        {"[S]\r\n;K=1\r\n", "S", ";K", "1"},
        {"[folder]\r\nitem1=1", "FOLDER", "ITEM1", "1"},
        {"[S]\r\nITEM10=1\r\nITEM01=2\r\nITEM 0=3", "S", "ITEM1", std::nullopt},
        {"[S]\r\nITEM 0=3", "S", "ITEM0", std::nullopt},
        {"[S]\r\nK=1", " S\t", " K ", "1"},
        {"[S]\r\nA=1\r\n[S]\r\nA=2\r\nB=3", "S", "A", "1"},
        {"[S]\r\nA=1\r\n[S]\r\nA=2\r\nB=3", "S", "B", std::nullopt},
        {"[S]\r\nA=1\r\na=2", "S", "A", "1"},
        // Case folds on whole characters only: "ア" (83 41) is not "ヂ" (83 61).
        {"[S]\r\nア=1", "S", "ヂ", std::nullopt},
        {"[S]\r\nアB=1", "s", "アb", "1"},
    });
}

TEST(IniDocumentReadTest, NulBytesEndNamesAndValues)
{
    ExpectReads({
        {"[S]\r\nITEM1\0x=0"s, "S", "ITEM1", "0"},
        {"[S]\r\nNAME=ab\0cd"s, "S", "NAME", "ab"},
        {"[S]\r\nNAME=\"ab\"\0cd\""s, "S", "NAME", "ab"},
        {"[ExecInfo0\0z]\r\nK=1"s, "ExecInfo0", "K", "1"},
        {"[S]\r\n\0K=1"s, "S", "K", std::nullopt},
        {"[S]\r\nK=1"s, "S", "K\0zz"s, "1"},
    });
}

TEST(IniDocumentReadTest, QuotesAndLength)
{
    const std::string longAscii(3000, 'a');
    const std::string quoted2047 = "\"" + std::string(2047, 'b') + "\"";
    ExpectReads({
        {"[S]\r\nK=\"v\"", "S", "K", "v"},
        {"[S]\r\nK='v'", "S", "K", "v"},
        {"[S]\r\nK=\" a \"", "S", "K", " a "},
        {"[S]\r\nK=\"\"", "S", "K", ""},
        {"[S]\r\nK=\"", "S", "K", "\""},
        {"[S]\r\nK=\"abc'", "S", "K", "\"abc'"},
        {"[S]\r\nK=\"abc", "S", "K", "\"abc"},
        {"[S]\r\nK=\"\"x\"\"", "S", "K", "\"x\""},
        {"[S]\r\nK=" + longAscii, "S", "K", longAscii.substr(0, 2047)},
        {"[S]\r\nK=" + quoted2047, "S", "K", std::string(2047, 'b')},
        // The cut may split a double-byte character: its lead byte stays last.
        {"[S]\r\nK=" + std::string(2046, 'a') + "\x83\x41", "S", "K", std::string(2046, 'a') + "\x83"},
        {"[S]\r\nK=a\x83", "S", "K", "a\x83"},
        // A lead byte before a line end stands alone: the next line is still a line.
        {"[S]\nK=a\x83\nL=1", "S", "L", "1"},
    });
}

TEST(IniDocumentReadTest, ReadStringAndReadInteger)
{
    const IniDocument document = IniDocument::Parse("[S]\r\nEMPTY=\r\nHEX=0x1F\r\nNEG=-1\r\nQUOTED='7'"
                                                    "\r\nSPACED=\" 1\"\r\nWORD=abc\r\nBIG=2147483648\r\n");
    EXPECT_EQ(document.ReadString("S", "EMPTY", "新規項目"), "");
    EXPECT_EQ(document.ReadString("S", "MISSING", "新規項目  "), "新規項目");
    EXPECT_EQ(document.ReadInteger("S", "HEX", -9), 31);
    EXPECT_EQ(document.ReadInteger("S", "NEG", -9), -1);
    EXPECT_EQ(document.ReadInteger("S", "QUOTED", -9), 7);
    for (const char* key : {"EMPTY", "SPACED", "WORD", "BIG", "MISSING"}) {
        EXPECT_EQ(document.ReadInteger("S", key, -9), -9) << key;
    }
}

struct Step {
    std::string section;
    std::optional<std::string> key;   // none: erase the section
    std::string value;
};

struct WriteCase {
    std::string before;
    std::vector<Step> steps;
    std::string after;
};

TEST(IniDocumentWriteTest, EditsInPlaceAndAppends)
{
    const std::vector<WriteCase> cases = {
        {"", {{"S", "K", "v"}}, "[S]\r\nK=v\r\n"},
        {"[S]\r\nkey = old ;x\r\nL=1\r\n", {{"S", "KEY", "new"}}, "[S]\r\nkey = new\r\nL=1\r\n"},
        {"[S]\r\nK = v  \r\n", {{"S", "K", "v"}}, "[S]\r\nK = v  \r\n"},
        {"[S]\r\nK\r\n", {{"S", "K", "v"}}, "[S]\r\nK=v\r\n"},
        {"[FOLDER]\r\nITEM0=0", {{"folder", "item0", "1"}}, "[FOLDER]\r\nITEM0=1"},
        // A new key follows the last non-blank line of its section.
        {"[A]\r\nX=1\r\n\r\n; c\r\n\r\n[B]\r\nY=2\r\n",
         {{"A", "Z", "3"}},
         "[A]\r\nX=1\r\n\r\n; c\r\nZ=3\r\n\r\n[B]\r\nY=2\r\n"},
        {"[A]\r\n\r\n[B]\r\n", {{"A", "K", "v"}}, "[A]\r\nK=v\r\n\r\n[B]\r\n"},
        {"[A]\nX=1\n", {{"A", "K", "v"}}, "[A]\nX=1\nK=v\r\n"},
        {"[A]\r\nX=1", {{"A", "K", "v"}}, "[A]\r\nX=1\r\nK=v\r\n"},
        {"[A]\r\nX=1", {{"B", "K", "v"}}, "[A]\r\nX=1\r\n[B]\r\nK=v\r\n"},
        {"[A]\r\nX=1\r\n\r\n", {{"B", "K", "v"}}, "[A]\r\nX=1\r\n\r\n[B]\r\nK=v\r\n"},
        {"[S]\r\nA=1\r\n[S]\r\nB=2\r\n", {{"S", "B", "3"}}, "[S]\r\nA=1\r\nB=3\r\n[S]\r\nB=2\r\n"},
        {"[S]\r\nA=1\r\nA=2\r\n", {{"S", "a", "3"}}, "[S]\r\nA=3\r\nA=2\r\n"},
        {LongSection("K=1\r\nK=2\r\n"),
         {{"S", "k", "3"}, {"S", "Y", "4"}},
         LongSection("K=3\r\nK=2\r\nY=4\r\n")},
        {"", {{" S ", "\tK ", "  v "}}, "[S]\r\nK=v \r\n"},
        {"\0\0\r\n[S]\r\nK=1\r\n"s, {{"S", "K", "2"}}, "\0\0\r\n[S]\r\nK=2\r\n"s},
        // A line break ends the value: it never splits the line into stray keys.
        {"", {{"S", "K", "a\r\nb=c"}}, "[S]\r\nK=a\r\n"},
        {"[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n", {{"A", std::nullopt, ""}}, "[B]\r\nY=2\r\n"},
        {"[A]\r\nX=1\r\n[abc\r\n[B]\r\nY=2\r\n", {{"a", std::nullopt, ""}}, "[B]\r\nY=2\r\n"},
        {"[A]\r\nX=1\r\n", {{"B", std::nullopt, ""}, {"abc", std::nullopt, ""}}, "[A]\r\nX=1\r\n"},
        {"[A]\r\nX=1\r\n[B]\r\nY=2\r\n",
         {{"A", std::nullopt, ""}, {"A", "X", "1"}},
         "[B]\r\nY=2\r\n[A]\r\nX=1\r\n"},
        {"[A]\r\nX=1\r\n[A]\r\nX=2\r\n", {{"A", std::nullopt, ""}, {"A", "Y", "3"}}, "[A]\r\nX=2\r\nY=3\r\n"},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.before));
        IniDocument document = IniDocument::Parse(c.before);
        for (const Step& step : c.steps) {
            if (step.key) {
                document.Write(step.section, *step.key, step.value);
            } else {
                document.EraseSection(step.section);
            }
        }
        EXPECT_EQ(document.Serialize(), c.after);
    }
}

// Every read of the edited document must match a fresh parse of its bytes.
static void ExpectSameReads(const IniDocument& document, const std::vector<std::string>& names)
{
    const IniDocument reparsed = IniDocument::Parse(document.Serialize());
    for (const std::string& section : names) {
        for (const std::string& key : names) {
            ASSERT_EQ(document.Read(section, key), reparsed.Read(section, key)) << section << "/" << key;
        }
    }
}

TEST(IniDocumentRobustnessTest, KeepsEveryByteOfOddFiles)
{
    const std::vector<std::string> files = {
        "",
        "\r\n\r\n",
        "\n\r\r",
        "[",
        "]",
        "=",
        "[S]",
        "[S]\r\nK=\x83",
        "\x83",
        "\0\xFF\xFE\x81"s,
        "[S]\r\n" + std::string(100000, 'x') + "=" + std::string(100000, '\x83'),
        "\xEF\xBB\xBF[S]\r\nK=1\r\n",
        "[S]\r\n\0\0\0=\0\r[\0]\n=\r\n"s,
    };
    for (const std::string& file : files) {
        const IniDocument document = IniDocument::Parse(file);
        EXPECT_EQ(document.Serialize(), file);
        ExpectSameReads(document, {"S", "K", "", "\0"s});
    }
}

TEST(IniDocumentRobustnessTest, EditsStayConsistentWithTheirBytes)
{
    // Names the format cannot hold: a key that starts with '[' and turns into a header, a
    // section name ending in a lead byte that swallows its ']', a key with an '='.
    IniDocument document = IniDocument::Parse("[S]\r\nA=1\r\n[abc\r\n[T]\r\nB=2");
    document.Write("S", "[X", "a]");
    document.Write("S", "Z", "1");
    document.Write("S", "[abc", "x]");
    document.Write("S", "Y", "2");
    document.Write("U\x83", "K", "1");
    document.Write("T", "q=v", "w");
    document.Write("abc", "B", "3");
    EXPECT_EQ(document.Serialize(), "[S]\r\nA=1\r\nY=2\r\n[abc=x]\r\nZ=1\r\n[X=a]\r\n[T]\r\nB=2\r\n"
                                    "[U\x83]\r\nK=1\r\nq=v=w\r\n[abc]\r\nB=3\r\n");
    ExpectSameReads(document,
                    {"S", "T", "U\x83", "X=a", "abc=x", "abc", "A", "B", "K", "q", "Y", "Z", "[abc"});

    // Many sections of one name, erased one after another: each erase uncovers the next, and
    // the erased lines are reclaimed along the way.
    std::string many;
    for (int i = 0; i < 3000; ++i) {
        many += "[A]\r\nK=" + std::to_string(i) + "\r\n";
    }
    IniDocument stack = IniDocument::Parse(many);
    for (int i = 0; i < 2999; ++i) {
        stack.EraseSection("a");
        stack.Write("B", "K" + std::to_string(i), "x");
    }
    EXPECT_EQ(stack.Read("A", "K"), "2999");
    EXPECT_EQ(stack.Read("B", "K2998"), "x");
    ExpectSameReads(stack, {"A", "B", "K", "K0", "K1500"});

    // A value rewritten over and over leaves its old bytes behind until the text is rebuilt.
    IniDocument rewritten = IniDocument::Parse("[S]\r\nK=0\r\nL=1");
    for (int i = 0; i < 200; ++i) {
        rewritten.Write("S", "K", std::string(1000, static_cast<char>('a' + i % 26)));
    }
    rewritten.Write("S", "M", "2");
    EXPECT_EQ(rewritten.Serialize(), "[S]\r\nK=" + std::string(1000, 'r') + "\r\nL=1\r\nM=2\r\n");
}
