// libFuzzer target: any bytes as a LAUNCH.INI, then reads, writes and erases driven by the same
// bytes. Checks that nothing is lost on a plain round trip, that a plain write reads back, and
// that the edited document always reads like a fresh parse of its own bytes.
#include "base/ini_document.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

static void Check(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

// Names that any file lets a write store and a read find again.
static const char* const kPlainNames[] = {"S",         "FOLDER", "folder",   "ITEM0",    "ITEM1",
                                          "ExecInfo0", "NAME",   "\x83\x41", "\x83\x61", "a"};

// Input bytes, used round and round as the source of every choice.
class Choices {
public:
    explicit Choices(std::string_view bytes) : bytes_(bytes) {}
    unsigned Next(unsigned range)
    {
        if (bytes_.empty() || range == 0) {
            return 0;
        }
        const unsigned value = static_cast<unsigned char>(bytes_[position_++ % bytes_.size()]) + 31 * round_;
        if (position_ % bytes_.size() == 0) {
            ++round_;
        }
        return value % range;
    }
    std::string_view Slice(std::size_t maxLength)
    {
        if (bytes_.empty()) {
            return {};
        }
        const std::size_t start = Next(256) * 257 % bytes_.size();
        return bytes_.substr(start, Next(static_cast<unsigned>(maxLength) + 1));
    }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
    unsigned round_ = 0;
};

// A value that survives the write and the read unchanged: no outer whitespace, no line break,
// no NUL, no quote pair.
static std::string PlainValue(Choices& choices)
{
    static const char* const kPieces[] = {"a",        "Z", "0", "-", "\\", "\x83\x5D",
                                          "\x95\x5C", "=", " ", ";", "[",  "]"};
    std::string value = "v";
    const unsigned count = choices.Next(12);
    for (unsigned i = 0; i < count; ++i) {
        value += kPieces[choices.Next(sizeof kPieces / sizeof kPieces[0])];
    }
    if (choices.Next(16) == 0) {
        value.append(3000, 'x');
    }
    return value + "v";
}

static void ExpectSameReads(const IniDocument& document, const std::vector<std::string>& names)
{
    const std::string bytes = document.Serialize();
    const IniDocument reparsed = IniDocument::Parse(bytes);
    Check(reparsed.Serialize() == bytes);
    for (const std::string& section : names) {
        for (const std::string& key : names) {
            const std::optional<std::string> value = document.Read(section, key);
            Check(value == reparsed.Read(section, key));
            Check(!value || value->size() <= IniDocument::kMaxValueLength);
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    IniDocument document = IniDocument::Parse(input);
    Check(document.Serialize() == input);

    Choices choices(input);
    std::vector<std::string> names(std::begin(kPlainNames), std::end(kPlainNames));
    for (int i = 0; i < 4; ++i) {
        names.emplace_back(choices.Slice(12));
    }
    for (const std::string& section : names) {
        for (const std::string& key : names) {
            document.ReadString(section, key, "x ");
            document.ReadInteger(section, key, -7);
        }
    }

    const unsigned steps = choices.Next(24);
    for (unsigned step = 0; step < steps; ++step) {
        const unsigned kind = choices.Next(4);
        const std::string& section = names[choices.Next(static_cast<unsigned>(names.size()))];
        const std::string& key = names[choices.Next(static_cast<unsigned>(names.size()))];
        if (kind == 0) {
            document.EraseSection(section);
        } else if (kind == 1) {
            document.Write(section, key, choices.Slice(40));
        } else {
            const std::string value = PlainValue(choices);
            const std::string& plainSection = names[choices.Next(std::size(kPlainNames))];
            const std::string& plainKey = names[choices.Next(std::size(kPlainNames))];
            document.Write(plainSection, plainKey, value);
            Check(document.Read(plainSection, plainKey) == value.substr(0, IniDocument::kMaxValueLength));
        }
    }
    ExpectSameReads(document, names);
    return 0;
}
