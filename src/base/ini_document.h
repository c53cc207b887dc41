// A profile (INI) file held in memory: parsed once, looked up and edited the way
// GetPrivateProfileStringA and WritePrivateProfileStringA treat the same bytes, written once.
#pragma once

#include "base/hash_index.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Text is Shift-JIS bytes, handled double-byte aware: the second byte of a two-byte character
// is never a bracket and is never case-folded. Section and key names given by the caller are
// cut at a NUL (they are C strings to the platform), trimmed, and compared whole with ASCII
// case folding; the first section of a name and the first key of a name in it win.
class IniDocument {
public:
    // The longest value a read returns; the launcher's profile calls use a 2,048-byte buffer.
    static constexpr std::size_t kMaxValueLength = 2047;

    IniDocument();   // an empty (missing) file
    static IniDocument Parse(std::string_view bytes);

    // GetPrivateProfileStringA's result with an unlimited buffer, cut to its first 2047 bytes
    // (a cut may split a double-byte character); nullopt when the section or key is missing or the
    // key line has no '='.
    std::optional<std::string> Read(std::string_view section, std::string_view key) const;
    // Read, or the fallback with its trailing spaces removed (as the platform treats a default).
    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
    // Decimal, or hexadecimal after "0x"/"0X" (ParseInteger); fallback when missing or not a number.
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const;
    // Whether a section of that name stands in the file, with keys or without.
    bool HasSection(std::string_view section) const;

    // WritePrivateProfileStringA(section, NULL, NULL): the first section of that name goes with all
    // its lines (up to the next header); erasing a missing section changes nothing.
    void EraseSection(std::string_view section);
    // WritePrivateProfileStringA(section, key, value): the first matching key of the first matching
    // section gets the value in place, keeping its spelling; a missing key is added after the last
    // non-blank line of its section, a missing section at the end of the file; new lines end in
    // CRLF and everything else keeps its bytes. The value loses its leading whitespace. A line
    // break ends a name or value here (the platform would write it raw and split the line into
    // stray keys or sections), so a write never adds more than the one line it means to.
    void Write(std::string_view section, std::string_view key, std::string_view value);
    // What to write so that a read gives `text` back exactly, as far as a line can hold it:
    // reading trims blanks around a value and takes off one pair of matching outer quotes, so
    // a text that either would change goes inside one more pair of double quotes. The text
    // ends at a NUL or a line break, as a written value does.
    static std::string LiteralValue(std::string_view text);

    // The file's bytes: the parsed bytes unchanged where nothing was written.
    std::string Serialize() const;

private:
    static constexpr std::size_t kNone = HashIndex::kNone;

    enum class LineEnd : std::uint8_t { None, CrLf, Cr, Lf };
    enum class LineKind : std::uint8_t { Blank, Header, Key };

    // Lines form a list threaded through lines_, so that inserting and erasing keep the numbers
    // of the other lines; their bytes stand in text_. Erased lines and replaced bytes stay
    // behind until a compaction. What a line says is worked out once, when its text is set.
    struct Line {
        std::size_t offset = 0;   // of the text in text_; a text never holds CR or LF
        std::size_t length = 0;
        std::size_t prev = kNone;
        std::size_t next = kNone;
        std::size_t section = kNone;   // none before the first header, and once erased
        // Within the text: the section or key name (trimmed, cut at a NUL), the value (after
        // the '=' and the whitespace after it; kNone without an '=') and the end of the
        // trimmed text.
        std::size_t nameStart = 0;
        std::size_t nameLength = 0;
        std::size_t valueStart = kNone;
        std::size_t contentEnd = 0;
        LineKind kind = LineKind::Blank;
        LineEnd end = LineEnd::None;
    };

    // A header and the lines up to the next header.
    struct Section {
        std::size_t header = kNone;
        std::size_t last = kNone;           // the section's last line
        std::size_t lastContent = kNone;    // its last non-blank line, where a new key goes after
        std::size_t nextSameName = kNone;   // the next section of that name in the file
        std::size_t lastSameName = kNone;   // the last one of that name, kept on the first
        std::size_t lineCount = 0;          // after the header, blank ones included
        bool keysIndexed = false;           // in keyIndex_, once too long to search line by line
    };

    std::string_view LineText(std::size_t line) const;
    std::string_view LineName(std::size_t line) const;
    std::string_view LineValue(std::size_t line) const;
    static void ParseLine(std::string_view text, Line& line);
    void SetText(std::size_t line, std::size_t offset, std::size_t length);
    std::size_t FindSection(std::string_view name) const;
    std::size_t FindKeyLine(std::size_t section, std::string_view key) const;
    std::size_t InsertLine(std::initializer_list<std::string_view> parts, std::size_t after);
    void SetLineText(std::size_t line, std::size_t keptLength, std::string_view added);
    std::size_t EndWithLineBreak(std::size_t line);
    void UnlinkLines(std::size_t first, std::size_t last);
    void AddToIndex(std::size_t& currentSection, std::size_t line);
    void CountLine(std::size_t section, std::size_t line);
    void IndexKey(std::size_t section, std::size_t line);
    void Reindex();
    void CompactIfWasteful();

    std::string text_;
    std::size_t liveBytes_ = 0;
    std::vector<Line> lines_;
    std::size_t liveLines_ = 0;
    std::size_t head_ = kNone;
    std::size_t tail_ = kNone;
    std::vector<Section> sections_;
    HashIndex sectionIndex_;   // the first live section of each name
    HashIndex keyIndex_;       // the first line of each key name in each long section
};
