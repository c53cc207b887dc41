// The hook library's record of recent chords, kept under the serial number each message carries.
#include "hook/chord_log.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

TEST(ChordLogTest, KeepsTheRecentChordsUnderTheirSerials)
{
    ChordLog log;
    std::vector<std::uint32_t> serials;
    for (int i = 0; i < 12; ++i) {
        serials.push_back(log.Add(i, -i, 1000u + i));
    }
    EXPECT_EQ(serials.front(), 1u);
    EXPECT_EQ(std::set<std::uint32_t>(serials.begin(), serials.end()).size(), serials.size());
    for (int i = 4; i < 12; ++i) {
        const ChordRecord* chord = log.Find(serials[i]);
        ASSERT_NE(chord, nullptr) << i;
        EXPECT_EQ(chord->x, i);
        EXPECT_EQ(chord->y, -i);
        EXPECT_EQ(chord->time, 1000u + i);
    }
    EXPECT_EQ(log.Find(serials[0]), nullptr) << "overwritten long ago";
    EXPECT_EQ(log.Find(0), nullptr);
    EXPECT_EQ(log.Find(999), nullptr);
}

TEST(ChordLogTest, SerialSkipsZeroWhenItWraps)
{
    ChordLog log(0xFFFFFFFEu);
    EXPECT_EQ(log.Add(1, 1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(log.Add(2, 2, 0), 1u);
    EXPECT_EQ(log.Find(0), nullptr);
}

}   // namespace
