// The chord's point in the record's lParam: packed by the hook library, split by the program.
#include "hook/chord_offset.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

std::pair<int, int> Split(std::int32_t v)
{
    ChordOffset offset = SplitChordOffset(v);
    return {offset.x, offset.y};
}

TEST(SplitChordOffset, SplitsBySignedTruncatingDivision)
{
    struct Case {
        std::int32_t v;
        int x, y;
    } cases[] = {
        {100 * 65536 + 50, 50, 100},   // low half 50, high half 100
        {0, 0, 0},
        {-1, -1, 0},   // all bits set: not (-1, -1)
        {-(3 * 65536 + 7), -7, -3},
        {65535, 65535, 0},
        {INT32_MIN, 0, -32768},
        {INT32_MAX, 65535, 32767},
    };
    for (const Case& c : cases) {
        ChordOffset offset = SplitChordOffset(c.v);
        EXPECT_EQ(c.x, offset.x) << c.v;
        EXPECT_EQ(c.y, offset.y) << c.v;
    }
}

TEST(ChordOffsetTest, SameSignOffsetsSurviveTheTruncatingSplit)
{
    const int values[] = {0, 1, 2, 50, 100, 255, 256, 1023, 32766, 32767};
    for (int ax : values) {
        for (int ay : values) {
            for (int sign : {1, -1}) {
                const int dx = sign * ax;
                const int dy = sign * ay;
                EXPECT_EQ(Split(PackChordOffset(dx, dy)), std::make_pair(dx, dy)) << dx << "," << dy;
            }
        }
    }
}

TEST(ChordOffsetTest, NonNegativeOffsetIsLowAndHighHalf)
{
    EXPECT_EQ(PackChordOffset(50, 100), 100 * 65536 + 50);
    EXPECT_EQ(PackChordOffset(0, 0), 0);
    EXPECT_EQ(PackChordOffset(65, 0), 65);
}

TEST(ChordOffsetTest, ClampsToSixteenBits)
{
    EXPECT_EQ(Split(PackChordOffset(40000, 5)), std::make_pair(32767, 5));
    EXPECT_EQ(Split(PackChordOffset(7, 1LL << 40)), std::make_pair(7, 32767));
    EXPECT_EQ(Split(PackChordOffset(-40000, -5)), std::make_pair(-32767, -5));
    EXPECT_EQ(Split(PackChordOffset(-(1LL << 40), -(1LL << 40))), std::make_pair(-32767, -32767));
    // Both at the negative end: -32768 would push y * 65536 + x below the int32 range.
    EXPECT_EQ(Split(PackChordOffset(-32768, -32768)), std::make_pair(-32767, -32767));
}

TEST(ChordOffsetTest, OppositeSignsMoveToTheNearestDecodablePoint)
{
    EXPECT_EQ(Split(PackChordOffset(-3, 200)), std::make_pair(0, 200));
    EXPECT_EQ(Split(PackChordOffset(-300, 200)), std::make_pair(-300, 0));
    EXPECT_EQ(Split(PackChordOffset(300, -2)), std::make_pair(300, 0));
    EXPECT_EQ(Split(PackChordOffset(3, -200)), std::make_pair(0, -200));
    EXPECT_EQ(Split(PackChordOffset(-5, 5)), std::make_pair(0, 5));
    EXPECT_EQ(Split(PackChordOffset(5, -5)), std::make_pair(5, 0));
    EXPECT_EQ(Split(PackChordOffset(-1, 1)), std::make_pair(0, 1));
    EXPECT_EQ(Split(PackChordOffset(-40000, 20)), std::make_pair(-32767, 0));

    // Whatever the pair, the split gives a point with no opposite signs that packs to itself.
    const int values[] = {-70000, -32768, -1000, -1, 0, 1, 999, 32767, 70000};
    for (int dx : values) {
        for (int dy : values) {
            const auto [x, y] = Split(PackChordOffset(dx, dy));
            EXPECT_FALSE((x < 0 && y > 0) || (x > 0 && y < 0)) << dx << "," << dy;
            EXPECT_EQ(Split(PackChordOffset(x, y)), std::make_pair(x, y)) << dx << "," << dy;
        }
    }
}

}   // namespace
