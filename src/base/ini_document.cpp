#include "base/ini_document.h"

#include "base/integer.h"
#include "base/sjis.h"

#include <algorithm>
#include <utility>

static constexpr std::size_t kNotFound = std::string_view::npos;

// A section of at most this many lines is searched line by line: its lines sit next to its
// header in memory, which beats a hash probe. Longer ones get their keys hashed.
static constexpr std::size_t kScannedSectionLines = 8;

// What the profile functions trim from lines, names and values. All of these bytes are below
// 0x40, so none of them can be the second byte of a two-byte character.
static bool IsIniSpace(char c)
{
    switch (c) {
    case '\t':
    case '\n':
    case '\v':
    case '\f':
    case '\r':
    case '\x1a':
    case ' ':
        return true;
    default:
        return false;
    }
}

// Length of the character at index i. A lead byte takes the next byte only when that byte can
// end a character, so broken text (a lead byte before a line end, a space, an '=', a quote or
// a NUL, or at the very end) never hides one of the bytes the syntax is made of.
static std::size_t CharLength(std::string_view text, std::size_t i)
{
    return i + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[i])) &&
                   IsTrailByte(static_cast<unsigned char>(text[i + 1]))
               ? 2
               : 1;
}

static std::string_view TrimEnd(std::string_view text)
{
    while (!text.empty() && IsIniSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

static std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsIniSpace(text.front())) {
        text.remove_prefix(1);
    }
    return TrimEnd(text);
}

// Stored names and values end at their first NUL: the platform hands them on as C strings.
static std::string_view CutAtNul(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

static std::string_view CutAtLineBreak(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            return text.substr(0, i);
        }
    }
    return text;
}

// A caller's name as the platform sees it: a C string, trimmed.
static std::string_view CallerName(std::string_view name)
{
    return Trim(CutAtNul(name));
}

// A line break would split the written line into stray keys or sections, so a name ends there.
static std::string_view WrittenName(std::string_view callerName)
{
    return TrimEnd(CutAtLineBreak(callerName));
}

// Names compare with ASCII case folding on whole characters: "ア" (83 41) and "ヂ" (83 61)
// differ only in what would be the case of their second byte, and must stay different names.
// Folding keeps every character's length, so equal names walk in step.
static bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t length = CharLength(a, i);
        if (CharLength(b, i) != length) {
            return false;
        }
        if (length == 2 ? a[i] != b[i] || a[i + 1] != b[i + 1] : FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
        i += length;
    }
    return true;
}

// FNV-1a over the folded name, then a final mix so that the low bits the index uses are good.
static std::size_t NameHash(std::string_view name, std::size_t seed)
{
    std::uint64_t hash = 14695981039346656037ull ^ (seed * 0x9E3779B97F4A7C15ull);
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t length = CharLength(name, i);
        const char first = length == 1 ? FoldAscii(name[i]) : name[i];
        hash = (hash ^ static_cast<unsigned char>(first)) * 1099511628211ull;
        if (length == 2) {
            hash = (hash ^ static_cast<unsigned char>(name[i + 1])) * 1099511628211ull;
        }
        i += length;
    }
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDull;
    hash ^= hash >> 33;
    return static_cast<std::size_t>(hash);
}

// What GetPrivateProfileStringA returns for a stored value: up to a NUL, without one pair of
// matching outer quotes, at most kMaxValueLength bytes even if that splits a character.
static std::string ValueText(std::string_view stored)
{
    std::string_view value = CutAtNul(stored);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, IniDocument::kMaxValueLength));
}

void IniDocument::ParseLine(std::string_view text, Line& line)
{
    line.kind = LineKind::Blank;
    line.nameStart = 0;
    line.nameLength = 0;
    line.valueStart = kNone;
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsIniSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && IsIniSpace(text[end - 1])) {
        --end;
    }
    line.contentEnd = end;
    if (begin == end) {
        return;
    }
    std::string_view name;
    if (text[begin] == '[') {
        // The name runs to the last ']', so "[a]b]" is "a]b"; a ']' that is the second byte of
        // a character ("ゾ" is 83 5D) does not count.
        std::size_t close = kNotFound;
        for (std::size_t i = begin + 1; i < end; i += CharLength(text, i)) {
            if (text[i] == ']') {
                close = i;
            }
        }
        if (close != kNotFound) {
            line.kind = LineKind::Header;
            name = CutAtNul(Trim(text.substr(begin + 1, close - begin - 1)));
        }
    }
    // An unclosed "[abc" is an ordinary line of the section above. '=' cannot be a second byte.
    if (line.kind != LineKind::Header) {
        line.kind = LineKind::Key;
        const std::size_t equals = text.find('=', begin);
        if (equals == kNotFound) {
            name = CutAtNul(text.substr(begin, end - begin));
        } else {
            name = CutAtNul(TrimEnd(text.substr(begin, equals - begin)));
            std::size_t valueStart = equals + 1;
            while (valueStart < end && IsIniSpace(text[valueStart])) {
                ++valueStart;
            }
            line.valueStart = valueStart;
        }
    }
    line.nameStart = static_cast<std::size_t>(name.data() - text.data());
    line.nameLength = name.size();
}

IniDocument::IniDocument() = default;

IniDocument IniDocument::Parse(std::string_view bytes)
{
    IniDocument document;
    document.text_.assign(bytes.data(), bytes.size());
    // Sized up front: most files are CRLF or LF text, and nearly every line is a key.
    const std::size_t lineBreaks = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
    document.lines_.reserve(lineBreaks + 1);
    document.keyIndex_.Reserve(lineBreaks + 1);
    std::size_t current = kNone;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t stop = pos;
        while (stop < bytes.size() && bytes[stop] != '\r' && bytes[stop] != '\n') {
            ++stop;
        }
        LineEnd end = LineEnd::None;
        std::size_t next = stop;
        if (stop < bytes.size()) {
            if (bytes[stop] == '\r' && stop + 1 < bytes.size() && bytes[stop + 1] == '\n') {
                end = LineEnd::CrLf;
                next = stop + 2;
            } else {
                // Any other run of CR and LF is one line end per byte and blank lines after it,
                // which read the same and keep every byte.
                end = bytes[stop] == '\r' ? LineEnd::Cr : LineEnd::Lf;
                next = stop + 1;
            }
        }
        const std::size_t id = document.lines_.size();
        document.lines_.emplace_back();
        document.lines_[id].end = end;
        document.lines_[id].prev = document.tail_;
        (document.tail_ == kNone ? document.head_ : document.lines_[document.tail_].next) = id;
        document.tail_ = id;
        ++document.liveLines_;
        document.SetText(id, pos, stop - pos);
        document.AddToIndex(current, id);
        pos = next;
    }
    return document;
}

std::string_view IniDocument::LineText(std::size_t line) const
{
    return std::string_view(text_).substr(lines_[line].offset, lines_[line].length);
}

std::string_view IniDocument::LineName(std::size_t line) const
{
    return std::string_view(text_).substr(lines_[line].offset + lines_[line].nameStart,
                                          lines_[line].nameLength);
}

std::string_view IniDocument::LineValue(std::size_t line) const
{
    const Line& l = lines_[line];
    return std::string_view(text_).substr(l.offset + l.valueStart, l.contentEnd - l.valueStart);
}

void IniDocument::SetText(std::size_t line, std::size_t offset, std::size_t length)
{
    Line& target = lines_[line];
    liveBytes_ = liveBytes_ - target.length + length;
    target.offset = offset;
    target.length = length;
    ParseLine(std::string_view(text_).substr(offset, length), target);
}

std::size_t IniDocument::FindSection(std::string_view name) const
{
    return sectionIndex_.Find(NameHash(name, 0), [&](std::size_t section) {
        return SameName(LineName(sections_[section].header), name);
    });
}

std::size_t IniDocument::FindKeyLine(std::size_t section, std::string_view key) const
{
    const Section& target = sections_[section];
    if (!target.keysIndexed) {
        for (std::size_t line = target.header; line != target.last;) {
            line = lines_[line].next;
            if (lines_[line].kind == LineKind::Key && SameName(LineName(line), key)) {
                return line;
            }
        }
        return kNone;
    }
    return keyIndex_.Find(NameHash(key, section + 1), [&](std::size_t line) {
        return lines_[line].section == section && SameName(LineName(line), key);
    });
}

bool IniDocument::HasSection(std::string_view section) const
{
    return FindSection(CallerName(section)) != kNone;
}

std::optional<std::string> IniDocument::Read(std::string_view section, std::string_view key) const
{
    const std::size_t found = FindSection(CallerName(section));
    if (found == kNone) {
        return std::nullopt;
    }
    const std::size_t line = FindKeyLine(found, CallerName(key));
    if (line == kNone || lines_[line].valueStart == kNone) {
        return std::nullopt;
    }
    return ValueText(LineValue(line));
}

std::string IniDocument::ReadString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const
{
    if (std::optional<std::string> value = Read(section, key)) {
        return std::move(*value);
    }
    std::string_view text = CutAtNul(fallback);
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return std::string(text.substr(0, kMaxValueLength));
}

std::int32_t IniDocument::ReadInteger(std::string_view section, std::string_view key,
                                      std::int32_t fallback) const
{
    const std::optional<std::string> text = Read(section, key);
    return text ? ParseIntegerOr(*text, fallback) : fallback;
}

void IniDocument::EraseSection(std::string_view section)
{
    const std::string_view name = CallerName(section);
    const std::size_t erased = FindSection(name);
    if (erased == kNone) {
        return;
    }
    // The next section of that name, if any, becomes the one lookups find.
    const std::size_t nameHash = NameHash(name, 0);
    const Section doomed = sections_[erased];
    if (doomed.nextSameName == kNone) {
        sectionIndex_.Erase(nameHash, erased);
    } else {
        sectionIndex_.Replace(nameHash, erased, doomed.nextSameName);
        sections_[doomed.nextSameName].lastSameName = doomed.lastSameName;
    }
    for (std::size_t line = doomed.header; doomed.keysIndexed && line != doomed.last;) {
        line = lines_[line].next;
        if (lines_[line].kind == LineKind::Key) {
            keyIndex_.Erase(NameHash(LineName(line), erased + 1), line);
        }
    }
    UnlinkLines(doomed.header, doomed.last);
    CompactIfWasteful();
}

void IniDocument::Write(std::string_view section, std::string_view key, std::string_view value)
{
    std::string_view text = CutAtNul(value);
    while (!text.empty() && IsIniSpace(text.front())) {
        text.remove_prefix(1);
    }
    text = CutAtLineBreak(text);
    const std::string_view sectionName = CallerName(section);
    const std::string_view keyName = CallerName(key);

    const std::size_t found = FindSection(sectionName);
    if (found == kNone) {
        const std::size_t header = InsertLine({"[", WrittenName(sectionName), "]"}, EndWithLineBreak(tail_));
        const std::size_t line = InsertLine({WrittenName(keyName), "=", text}, header);
        // A name the format cannot hold (it ends in a lead byte that swallows the ']', or a key
        // that starts with '[' and makes a header) changes the layout: index it from scratch.
        if (lines_[header].kind != LineKind::Header || lines_[line].kind == LineKind::Header) {
            Reindex();
            return;
        }
        std::size_t current = kNone;
        AddToIndex(current, header);
        AddToIndex(current, line);
        return;
    }

    const std::size_t existing = FindKeyLine(found, keyName);
    if (existing != kNone) {
        const Line& old = lines_[existing];
        if (old.valueStart != kNone && CutAtNul(LineValue(existing)) == text) {
            return;
        }
        // The key keeps its spelling and whatever stands before its value.
        if (old.valueStart != kNone) {
            SetLineText(existing, old.valueStart, text);
        } else {
            SetLineText(existing, old.contentEnd, "=" + std::string(text));
        }
        if (lines_[existing].kind == LineKind::Header) {
            Reindex();
        }
        CompactIfWasteful();
        return;
    }

    const std::size_t after = EndWithLineBreak(sections_[found].lastContent);
    const std::size_t line = InsertLine({WrittenName(keyName), "=", text}, after);
    if (lines_[line].kind == LineKind::Header) {
        Reindex();
        return;
    }
    Section& target = sections_[found];
    if (target.last == after) {
        target.last = line;
    }
    target.lastContent = line;
    lines_[line].section = found;
    CountLine(found, line);
}

std::string IniDocument::LiteralValue(std::string_view text)
{
    const std::string_view kept = CutAtLineBreak(CutAtNul(text));
    if (kept.empty()) {
        return std::string();
    }
    const bool trimmed = IsIniSpace(kept.front()) || IsIniSpace(kept.back());
    const bool unquoted =
        kept.size() >= 2 && (kept.front() == '"' || kept.front() == '\'') && kept.back() == kept.front();
    if (!trimmed && !unquoted) {
        return std::string(kept);
    }
    return "\"" + std::string(kept) + "\"";
}

std::string IniDocument::Serialize() const
{
    std::size_t size = 0;
    for (std::size_t line = head_; line != kNone; line = lines_[line].next) {
        size += lines_[line].length + 2;
    }
    std::string bytes;
    bytes.reserve(size);
    for (std::size_t line = head_; line != kNone; line = lines_[line].next) {
        bytes.append(text_, lines_[line].offset, lines_[line].length);
        switch (lines_[line].end) {
        case LineEnd::None:
            break;
        case LineEnd::CrLf:
            bytes += "\r\n";
            break;
        case LineEnd::Cr:
            bytes += '\r';
            break;
        case LineEnd::Lf:
            bytes += '\n';
            break;
        }
    }
    return bytes;
}

// A new line ending in CRLF after `after` (at the start when kNone), its text the parts joined.
std::size_t IniDocument::InsertLine(std::initializer_list<std::string_view> parts, std::size_t after)
{
    const std::size_t offset = text_.size();
    for (const std::string_view part : parts) {
        text_.append(part.data(), part.size());
    }
    const std::size_t id = lines_.size();
    lines_.emplace_back();
    Line& line = lines_[id];
    line.end = LineEnd::CrLf;
    line.prev = after;
    line.next = after == kNone ? head_ : lines_[after].next;
    (line.next == kNone ? tail_ : lines_[line.next].prev) = id;
    (after == kNone ? head_ : lines_[after].next) = id;
    ++liveLines_;
    SetText(id, offset, text_.size() - offset);
    return id;
}

// The line's text becomes its first keptLength bytes followed by `added`.
void IniDocument::SetLineText(std::size_t line, std::size_t keptLength, std::string_view added)
{
    const std::size_t offset = text_.size();
    // Reserved first, so that copying the kept bytes from text_ into itself cannot move them.
    text_.reserve(offset + keptLength + added.size());
    text_.append(text_, lines_[line].offset, keptLength);
    text_.append(added.data(), added.size());
    SetText(line, offset, keptLength + added.size());
}

// Only the last line of the file can lack a line end; anything put after it needs one.
std::size_t IniDocument::EndWithLineBreak(std::size_t line)
{
    if (line != kNone && lines_[line].end == LineEnd::None) {
        lines_[line].end = LineEnd::CrLf;
    }
    return line;
}

void IniDocument::UnlinkLines(std::size_t first, std::size_t last)
{
    const std::size_t before = lines_[first].prev;
    const std::size_t after = lines_[last].next;
    (before == kNone ? head_ : lines_[before].next) = after;
    (after == kNone ? tail_ : lines_[after].prev) = before;
    for (std::size_t line = first;;) {
        Line& gone = lines_[line];
        const std::size_t next = gone.next;
        --liveLines_;
        liveBytes_ -= gone.length;
        gone = Line{};
        if (line == last) {
            break;
        }
        line = next;
    }
}

void IniDocument::AddToIndex(std::size_t& currentSection, std::size_t line)
{
    if (lines_[line].kind == LineKind::Header) {
        const std::size_t id = sections_.size();
        Section section;
        section.header = line;
        section.last = line;
        section.lastContent = line;
        section.lastSameName = id;
        sections_.push_back(section);
        lines_[line].section = id;
        currentSection = id;
        const std::string_view name = LineName(line);
        const std::size_t first = FindSection(name);
        if (first == kNone) {
            sectionIndex_.Insert(NameHash(name, 0), id);
        } else {
            sections_[sections_[first].lastSameName].nextSameName = id;
            sections_[first].lastSameName = id;
        }
        return;
    }
    // Lines before the first header belong to no section that a lookup can reach.
    lines_[line].section = currentSection;
    if (currentSection == kNone) {
        return;
    }
    Section& section = sections_[currentSection];
    section.last = line;
    if (lines_[line].kind != LineKind::Blank) {
        section.lastContent = line;
    }
    CountLine(currentSection, line);
}

// A line has joined the section, after every key already in it.
void IniDocument::CountLine(std::size_t section, std::size_t line)
{
    Section& target = sections_[section];
    ++target.lineCount;
    if (target.keysIndexed) {
        if (lines_[line].kind == LineKind::Key) {
            IndexKey(section, line);
        }
    } else if (target.lineCount > kScannedSectionLines) {
        target.keysIndexed = true;
        for (std::size_t member = target.header; member != target.last;) {
            member = lines_[member].next;
            if (lines_[member].kind == LineKind::Key) {
                IndexKey(section, member);
            }
        }
    }
}

// The first key of a name in a section wins; later ones stay out of the index.
void IniDocument::IndexKey(std::size_t section, std::size_t line)
{
    const std::string_view name = LineName(line);
    if (FindKeyLine(section, name) == kNone) {
        keyIndex_.Insert(NameHash(name, section + 1), line);
    }
}

void IniDocument::Reindex()
{
    sections_.clear();
    sectionIndex_.Clear();
    keyIndex_.Clear();
    std::size_t current = kNone;
    for (std::size_t line = head_; line != kNone; line = lines_[line].next) {
        AddToIndex(current, line);
    }
}

// Erased lines leave holes in lines_ and replaced values leave bytes behind in text_; once
// either is more waste than use, both are rebuilt. Each rebuild is paid for by at least as
// much erasing or writing as it keeps, so editing stays linear.
void IniDocument::CompactIfWasteful()
{
    const bool sparseLines = lines_.size() >= 1024 && liveLines_ * 2 < lines_.size();
    const bool sparseText = text_.size() >= 65536 && liveBytes_ * 2 < text_.size();
    if (!sparseLines && !sparseText) {
        return;
    }
    std::string text;
    text.reserve(liveBytes_);
    std::vector<Line> lines;
    lines.reserve(liveLines_);
    for (std::size_t id = head_; id != kNone; id = lines_[id].next) {
        Line line = lines_[id];
        line.offset = text.size();
        line.prev = lines.empty() ? kNone : lines.size() - 1;
        line.next = kNone;
        text.append(text_, lines_[id].offset, lines_[id].length);
        if (!lines.empty()) {
            lines.back().next = lines.size();
        }
        lines.push_back(line);
    }
    text_ = std::move(text);
    lines_ = std::move(lines);
    head_ = lines_.empty() ? kNone : 0;
    tail_ = lines_.empty() ? kNone : lines_.size() - 1;
    Reindex();
}
