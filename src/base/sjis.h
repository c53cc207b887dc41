// Shift-JIS (code page 932) byte strings: character boundaries and path splitting.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The first byte of a two-byte character. Inline: the INI reader asks it of every byte.
constexpr bool IsLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// A byte that can follow a lead byte as the second of the pair (lead bytes and the backslash
// included).
constexpr bool IsTrailByte(unsigned char c)
{
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// ASCII letters folded to lower case, every other byte as it is: a trail byte that looks like
// a letter is never touched by callers that step by whole characters. The program imports no
// tolower, whose answer would follow the C locale.
constexpr char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Index just after the last "\" or ":" of the path that is not the second byte of a
// two-byte character; 0 when there is none. A lead byte as the very last byte (cut text)
// counts as a character of its own.
std::size_t FileNameStart(std::string_view path);

// "C:\DOCS\表" -> "C:\DOCS\" and "表".
std::string ExtractFilePath(std::string_view path);
std::string ExtractFileName(std::string_view path);

// The longest prefix of text of at most maxBytes bytes that does not end inside a
// two-byte character (a tip cut to fit its buffer never shows half a character). Text
// that already fits comes back whole, a lone lead byte at its end included.
std::string_view CutAtCharBoundary(std::string_view text, std::size_t maxBytes);
