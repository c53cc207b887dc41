#include "base/integer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

struct NumberCase {
    std::string text;
    std::int32_t value;
};

TEST(IntegerTest, ParsesDecimalAndHexNumbers)
{
    const std::vector<NumberCase> cases = {
        {"0", 0},
        {"1", 1},
        {"+1", 1},
        {"-1", -1},
        {"007", 7},
        {"-0", 0},
        {"+0", 0},
        {"00", 0},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"0x1", 1},
        {"0x0", 0},
        {"0X1F", 31},
        {"0xabcDEF", 0xABCDEF},
        {"0x7FFFFFFF", 2147483647},
        {"0x80000000", std::numeric_limits<std::int32_t>::min()},
        {"0xFFFFFFFE", -2},
        {"0xFFFFFFFF", -1},
        {"0x00000000FFFFFFFF", -1},
        {"0x000000001", 1},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<std::int32_t> parsed = ParseInteger(c.text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(*parsed, c.value);
    }
}

TEST(IntegerTest, RejectsEverythingElse)
{
    const std::vector<std::string> cases = {
        "",
        "0x",
        "0X",
        "0xg",
        "0x 1",
        "0x1 ",
        "0x-1",
        "0x+1",
        "-0x1",
        "+0x1",
        "$1",
        "x1",
        "0b1",
        "1e3",
        "1.0",
        "1 2",
        " 1",
        "1 ",
        "\"1\"",
        "+",
        "-",
        "+-1",
        "--1",
        "12abc",
        "１２",   // full-width digits
        "2147483648",
        "-2147483649",
        "4294967297",
        "99999999999999999999",
        "0x100000000",
        "0xFFFFFFFF0",
        std::string("1\0", 2),   // nothing may follow the digits, not even a NUL
        std::string("0x1\0", 4),
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(testing::PrintToString(text));
        EXPECT_FALSE(ParseInteger(text).has_value());
    }
}

TEST(IntegerTest, LongDigitStrings)
{
    const std::string zeros(100000, '0');
    EXPECT_EQ(ParseInteger(zeros), 0);
    EXPECT_EQ(ParseInteger("-" + zeros + "7"), -7);
    EXPECT_EQ(ParseInteger("0x" + zeros + "FFFFFFFF"), -1);
    EXPECT_FALSE(ParseInteger(std::string(100000, '9')).has_value());
    EXPECT_FALSE(ParseInteger("-" + std::string(100000, '9')).has_value());
    EXPECT_FALSE(ParseInteger("0x" + std::string(100000, 'F')).has_value());
    EXPECT_FALSE(ParseInteger("0x1" + zeros).has_value());
}

TEST(IntegerTest, ParseIntegerOrFallsBackOnlyForNonNumbers)
{
    EXPECT_EQ(ParseIntegerOr("abc", -2), -2);
    EXPECT_EQ(ParseIntegerOr("", -1), -1);
    EXPECT_EQ(ParseIntegerOr("0", -1), 0);
    EXPECT_EQ(ParseIntegerOr("0xFFFFFFFF", 5), -1);
}

TEST(IntegerTest, TextOfExtremes)
{
    EXPECT_EQ(IntegerText(0), "0");
    EXPECT_EQ(IntegerText(42), "42");
    EXPECT_EQ(IntegerText(-1), "-1");
    EXPECT_EQ(IntegerText(std::numeric_limits<std::int64_t>::max()), "9223372036854775807");
    EXPECT_EQ(IntegerText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    // What is written reads back as the same number.
    EXPECT_EQ(ParseInteger(IntegerText(std::numeric_limits<std::int32_t>::min())),
              std::numeric_limits<std::int32_t>::min());
}
