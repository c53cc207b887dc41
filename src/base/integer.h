// Integer text as the settings and LAUNCH.INI store it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Hexadecimal when the text has more than two characters and starts with "0x" or "0X"
// (the rest hex digits, below 2^32, taken as 32-bit two's complement: "0xFFFFFFFF" is -1);
// otherwise decimal: an optional "+" or "-", one or more ASCII digits and nothing else,
// within the int32 range. Anything else (empty text, spaces, "1.0", "0x", "-0x1") is not
// a number.
std::optional<std::int32_t> ParseInteger(std::string_view text);

inline std::int32_t ParseIntegerOr(std::string_view text, std::int32_t fallback)
{
    return ParseInteger(text).value_or(fallback);
}

// Decimal text with a leading "-" when negative.
std::string IntegerText(std::int64_t value);
