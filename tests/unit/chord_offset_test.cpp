#include "triggers/chord_offset.h"

#include <gtest/gtest.h>

namespace {

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

}   // namespace
