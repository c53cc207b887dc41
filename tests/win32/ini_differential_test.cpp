// The in-memory document against GetPrivateProfileStringA and WritePrivateProfileStringA on the
// same bytes: seeded files of tricky but valid Shift-JIS text, every name looked up both ways.
#include "file_test_support.h"

#include "base/sjis.h"
#include "launcher/ini_file.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace std::string_literals;

// No generated value is ever this, so it marks the default.
static const char kMissing[] = "\x01missing";

static std::optional<std::string> PlatformRead(const std::string& path, const std::string& section,
                                               const std::string& key, DWORD bufferSize)
{
    std::string buffer(bufferSize, '\0');
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), kMissing, &buffer[0],
                                                  bufferSize, path.c_str());
    buffer.resize(length);
    if (buffer == kMissing) {
        return std::nullopt;
    }
    return buffer;
}

// The unlimited read of the document: a buffer larger than any generated value, cut at 2047.
static std::optional<std::string> PlatformReadCut(const std::string& path, const std::string& section,
                                                  const std::string& key)
{
    constexpr DWORD kBuffer = 4096;
    std::optional<std::string> value = PlatformRead(path, section, key, kBuffer);
    // A full buffer means the platform cut the value itself: the comparison would be void.
    EXPECT_LT(value.value_or("").size(), kBuffer - 2u) << "a value longer than the test's buffer";
    if (value) {
        value->resize(std::min(value->size(), IniDocument::kMaxValueLength));
    }
    return value;
}

static bool HasDoubleByteText(const std::string& text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return true;
        }
    }
    return false;
}

static const char* const kSections[] = {"FOLDER", "PARENT", "ExecInfo0", "ExecInfo1", "ExecInfo10", "S", "ア",
                                        "ヂ",     "表示",   "a]b",       "x y",       "ExecInfo0ゾ"};
static const char* const kKeys[] = {"ITEM0",  "ITEM1", "ITEM10", "ITEM01", "ITEM 0", "NAME", "FILE",
                                    "OPTION", "DIR",   "ア",     "ヂ",     "表",     "ソ",   ""};
static const char* const kAbsentKeys[] = {"ITEM2", "NAM", "NAMEX", ";ITEM0", "#NAME", "[abc"};
static const char* const kValues[] = {"",
                                      "1",
                                      "-2",
                                      "0x1F",
                                      "C:\\WINDOWS\\NOTEPAD.EXE",
                                      "新規フォルダ",
                                      "C:\\表\\能\\ソ",
                                      "a=b ;c",
                                      "\"x y\"",
                                      "'v'",
                                      "\"abc'",
                                      "\"",
                                      "\"\"",
                                      "\"\"x\"\"",
                                      "'",
                                      "\" 1\"",
                                      "\x81\x40v\x81\x40",
                                      "\xA0v\xA0",
                                      "x]y",
                                      "[z]"};

// Random but reproducible INI text and names.
class IniGenerator {
public:
    // Each file uses a few of the names, so that most lookups find something.
    explicit IniGenerator(unsigned seed) : random_(seed)
    {
        sections_.assign(std::begin(kSections), std::end(kSections));
        keys_.assign(std::begin(kKeys), std::end(kKeys));
        std::shuffle(sections_.begin(), sections_.end(), random_);
        std::shuffle(keys_.begin(), keys_.end(), random_);
        sections_.resize(4);
        keys_.resize(6);
    }

    // forWrites leaves out "[]" headers: Wine's rewrite of the file drops them and moves their
    // keys into the section above, which Windows does not.
    std::string File(bool forWrites)
    {
        std::string file;
        if (Chance(20)) {
            file += "; before any section" + LineEnd();
        }
        const std::size_t lines = 5 + Pick(50);
        for (std::size_t i = 0; i < lines; ++i) {
            file += Line(forWrites);
            if (i + 1 < lines || Chance(70)) {
                file += LineEnd();
            }
        }
        return file;
    }

    // The file's names as written and in another spelling, and two names it hardly uses.
    std::vector<std::string> SectionLookups()
    {
        std::vector<std::string> names = Spellings(sections_);
        names.emplace_back(PickOf(kSections));
        names.emplace_back(PickOf(kSections));
        return names;
    }

    std::vector<std::string> KeyLookups()
    {
        std::vector<std::string> names = Spellings(keys_);
        names.emplace_back(PickOf(kKeys));
        names.emplace_back(PickOf(kAbsentKeys));
        names.emplace_back(PickOf(kAbsentKeys));
        return names;
    }

    std::string WrittenSection() { return CaseVariant(Chance(90) ? SectionName() : "新セクション"); }
    std::string WrittenKey() { return CaseVariant(Chance(90) ? KeyName() : "NEWKEY"); }
    // Trailing whitespace is left out: Wine keeps it in its cached copy of the file.
    std::string WrittenValue() { return (Chance(30) ? Space() : "") + Value(false); }

    std::size_t Pick(std::size_t count)
    {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random_);
    }
    bool Chance(std::size_t percent) { return Pick(100) < percent; }

private:
    template <std::size_t N>
    const char* PickOf(const char* const (&items)[N])
    {
        return items[Pick(N)];
    }

    const char* SectionName() { return Chance(90) ? sections_[Pick(sections_.size())] : PickOf(kSections); }
    const char* KeyName() { return Chance(90) ? keys_[Pick(keys_.size())] : PickOf(kKeys); }

    std::vector<std::string> Spellings(const std::vector<const char*>& used)
    {
        std::vector<std::string> names;
        for (const char* name : used) {
            names.emplace_back(name);
            names.push_back(Chance(50) ? CaseVariant(name) : Space() + name + Space());
        }
        return names;
    }

    // Flips the case of single-byte letters only: a second byte must keep its character.
    std::string CaseVariant(std::string name)
    {
        for (std::size_t i = 0; i < name.size(); ++i) {
            if (IsLeadByte(static_cast<unsigned char>(name[i]))) {
                ++i;
            } else if (std::isalpha(static_cast<unsigned char>(name[i])) && Chance(50)) {
                name[i] = static_cast<char>(name[i] ^ 0x20);
            }
        }
        return name;
    }

    std::string Space()
    {
        static const char* const kSpaces[] = {"", "", " ", "\t", "  \t", "\v", "\f", "\x1a"};
        return PickOf(kSpaces);
    }

    std::string LineEnd()
    {
        static const char* const kEnds[] = {"\r\n", "\r\n", "\r\n", "\n", "\r", "\n\r", "\r\r\n", "\r\n\r\n"};
        return PickOf(kEnds);
    }

    std::string Letters(std::size_t count)
    {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) {
            text += static_cast<char>('a' + Pick(26));
        }
        return text;
    }

    std::string Value(bool withNul)
    {
        const std::size_t kind = Pick(100);
        if (kind < 6) {
            return Letters(2040 + Pick(960));
        }
        if (kind < 9) {
            return "\"" + std::string(2047, 'b') + "\"";
        }
        if (kind < 12) {
            return Letters(2043 + Pick(6)) + "新規";
        }
        if (kind < 15 && withNul) {
            return "ab\0cd"s;
        }
        return PickOf(kValues);
    }

    std::string Line(bool forWrites)
    {
        const std::size_t kind = Pick(100);
        if (kind < 15) {
            static const std::string kAfter[] = {" x", "ゾ", "]", "\0z"s};
            std::string line = Space() + "[" + Space() + CaseVariant(SectionName());
            if (Chance(5)) {
                line += "\0z"s;
            }
            line += Space() + "]";
            if (Chance(20)) {
                line += kAfter[Pick(4)];
            }
            return line + Space();
        }
        if (kind < 72) {
            std::string key = CaseVariant(KeyName());
            if (Chance(4)) {
                key += "\0x"s;
            }
            return Space() + key + Space() + "=" + Space() + Value(true) + Space();
        }
        if (kind < 76) {
            return Space() + CaseVariant(KeyName()) + Space();
        }
        if (kind < 80) {
            return Space();
        }
        if (kind < 83) {
            return "[abc" + Space();
        }
        if (kind < 88) {
            return (Chance(50) ? ";" : "#") + CaseVariant(KeyName()) + "=" + Value(false);
        }
        if (kind < 91) {
            return "\0"s + KeyName() + "=1";
        }
        if (kind < 94 && !forWrites) {
            return "[" + Space() + "]";
        }
        return "[" + Letters(1 + Pick(3)) + "]";
    }

    std::mt19937 random_;
    std::vector<const char*> sections_;
    std::vector<const char*> keys_;
};

class IniDifferentialTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetACP(), 932u) << "the tests must run with the Japanese ANSI code page";
    }

    ScratchFolder folder_;
};

TEST_F(IniDifferentialTest, ReadsMatchGetPrivateProfileString)
{
    for (unsigned seed = 1; seed <= 100; ++seed) {
        IniGenerator generator(seed);
        const std::string path = folder_.Path() + "read" + std::to_string(seed) + ".ini";
        ASSERT_TRUE(WriteWholeFile(path, generator.File(false)));
        const IniDocument document = LoadIniFile(path);
        for (const std::string& section : generator.SectionLookups()) {
            for (const std::string& key : generator.KeyLookups()) {
                SCOPED_TRACE("seed " + std::to_string(seed) + " [" + section + "] " + key);
                const std::optional<std::string> expected = PlatformRead(path, section, key, 4096);
                const std::optional<std::string> actual = document.Read(section, key);
                ASSERT_EQ(actual, PlatformReadCut(path, section, key));
                // The real 2,048-byte call agrees too, apart from Wine's two documented slips with
                // a cut value: long double-byte text and a quoted value of exactly 2,047 inside.
                if (expected && expected->size() >= IniDocument::kMaxValueLength &&
                    !HasDoubleByteText(*expected) && expected->size() != IniDocument::kMaxValueLength) {
                    ASSERT_EQ(actual, PlatformRead(path, section, key, 2048));
                }
            }
        }
    }
}

TEST_F(IniDifferentialTest, WritesReadBackLikeWritePrivateProfileString)
{
    for (unsigned seed = 1001; seed <= 1050; ++seed) {
        IniGenerator generator(seed);
        const std::string original = generator.File(true);
        const std::string platformPath = folder_.Path() + "platform" + std::to_string(seed) + ".ini";
        const std::string ourPath = folder_.Path() + "ours" + std::to_string(seed) + ".ini";
        ASSERT_TRUE(WriteWholeFile(platformPath, original));
        ASSERT_TRUE(WriteWholeFile(ourPath, original));
        IniDocument document = LoadIniFile(ourPath);

        // The file's names in every combination, and then each key written, and the keys of
        // each section erased, as spelled in the write.
        std::vector<std::pair<std::string, std::string>> lookups;
        for (const std::string& section : generator.SectionLookups()) {
            for (const std::string& key : generator.KeyLookups()) {
                lookups.emplace_back(section, key);
            }
        }
        const std::size_t steps = 5 + generator.Pick(20);
        for (std::size_t step = 0; step < steps; ++step) {
            const std::string section = generator.WrittenSection();
            if (generator.Chance(15)) {
                document.EraseSection(section);
                ASSERT_TRUE(
                    WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, platformPath.c_str()))
                    << "erasing [" << section << "]: error " << GetLastError();
                for (const std::string& key : generator.KeyLookups()) {
                    lookups.emplace_back(section, key);
                }
            } else {
                const std::string key = generator.WrittenKey();
                const std::string value = generator.WrittenValue();
                document.Write(section, key, value);
                ASSERT_TRUE(WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                                       platformPath.c_str()))
                    << "writing [" << section << "] " << key << ": error " << GetLastError();
                lookups.emplace_back(section, key);
            }
        }
        SaveIniFile(ourPath, document);
        ASSERT_NE(ReadWholeFile(platformPath), "(missing)");

        for (const auto& [section, key] : lookups) {
            SCOPED_TRACE("seed " + std::to_string(seed) + " [" + section + "] " + key);
            const std::optional<std::string> expected = PlatformReadCut(platformPath, section, key);
            ASSERT_EQ(document.Read(section, key), expected);
            ASSERT_EQ(PlatformReadCut(ourPath, section, key), expected);
        }
    }
}

TEST_F(IniDifferentialTest, TextsWrittenToLoadAsTypedReadBackSoThroughGetPrivateProfileString)
{
    // Blanks around a text and a pair of matching quotes, which a read would take off.
    const std::string texts[] = {"\"C:\\My Docs\\memo.txt\"",
                                 " lead",
                                 "trail\t",
                                 "'single'",
                                 "\"\"",
                                 " ",
                                 "\"\"x\"\"",
                                 "\"open",
                                 "a \"b\" c",
                                 "\x81\x40全角\x81\x40",
                                 "表\\"};
    IniDocument document;
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        document.Write("S", "K" + std::to_string(i), IniDocument::LiteralValue(texts[i]));
    }
    const std::string path = folder_.Path() + "literal.ini";
    SaveIniFile(path, document);
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        EXPECT_EQ(texts[i], PlatformRead(path, "S", "K" + std::to_string(i), 2048)) << i;
    }
}
