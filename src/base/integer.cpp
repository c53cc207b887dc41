#include "base/integer.h"

#include <limits>

static bool IsDecimalDigit(char c)
{
    return c >= '0' && c <= '9';
}

// ASCII only: the <cctype> functions depend on the locale and take no plain char.
static int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

static std::optional<std::int32_t> ParseHex(std::string_view digits)
{
    constexpr std::uint32_t kLastShiftable = std::numeric_limits<std::uint32_t>::max() >> 4;
    std::uint32_t value = 0;
    for (const char c : digits) {
        const int digit = HexDigitValue(c);
        // Checking before the shift keeps any number of leading zeros legal while a
        // value of 2^32 or more is refused without ever wrapping around.
        if (digit < 0 || value > kLastShiftable) {
            return std::nullopt;
        }
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    // Two's complement, written out: the plain conversion is implementation-defined in C++17.
    const std::int64_t signedValue =
        value <= 0x7FFFFFFFu ? std::int64_t{value} : std::int64_t{value} - (std::int64_t{1} << 32);
    return static_cast<std::int32_t>(signedValue);
}

static std::optional<std::int32_t> ParseDecimal(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    // The magnitude of INT32_MIN is one more than INT32_MAX, so each sign has its own limit.
    const std::uint32_t limit = negative ? 2147483648u : 2147483647u;
    std::uint32_t magnitude = 0;
    for (const char c : text) {
        if (!IsDecimalDigit(c)) {
            return std::nullopt;
        }
        const auto digit = static_cast<std::uint32_t>(c - '0');
        if (magnitude > (limit - digit) / 10) {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + digit;
    }
    const std::int64_t value = negative ? -std::int64_t{magnitude} : std::int64_t{magnitude};
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParseInteger(std::string_view text)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return ParseHex(text.substr(2));
    }
    return ParseDecimal(text);
}

std::string IntegerText(std::int64_t value)
{
    return std::to_string(value);
}
