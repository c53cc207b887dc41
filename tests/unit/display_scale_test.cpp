#include "base/display_scale.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const PixelRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) + "x" +
           std::to_string(r.height);
}

// One row per display scale from 100 % to 200 %: the launcher dialog's list beside its group of
// buttons (a gap of 7 at 96 DPI), its "決定" button, the form font's and the about box title's
// heights, the small and the large icon, and a figure the system gives at 144 DPI taken to
// this DPI (where Windows has no function that gives it for a DPI).
TEST(DisplayScaleTest, EdgesFontHeightsAndIconSizesFrom100To200Percent)
{
    const struct {
        int dpi;
        const char* tree;     // {8, 24, 401, 185}: right edge 409
        const char* group;    // {416, 32, 121, 177}
        const char* button;   // {232, 320, 75, 25}
        int font, title, smallIcon, icon, captionFrom144;
    } rows[] = {
        {96, "8,24 401x185", "416,32 121x177", "232,320 75x25", 12, 32, 16, 32, 22},
        {120, "10,30 501x231", "520,40 151x221", "290,400 94x31", 15, 40, 20, 40, 28},
        {144, "12,36 602x278", "624,48 182x266", "348,480 113x38", 18, 48, 24, 48, 33},
        {168, "14,42 702x324", "728,56 212x310", "406,560 131x44", 21, 56, 28, 56, 39},
        {192, "16,48 802x370", "832,64 242x354", "464,640 150x50", 24, 64, 32, 64, 44},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.dpi);
        const PixelRect tree = ScaleEdges({8, 24, 401, 185}, row.dpi);
        const PixelRect group = ScaleEdges({416, 32, 121, 177}, row.dpi);
        EXPECT_EQ(row.tree, Text(tree));
        EXPECT_EQ(row.group, Text(group));
        EXPECT_EQ(row.button, Text(ScaleEdges({232, 320, 75, 25}, row.dpi)));
        // Neighbours keep the gap scaled, and controls that touch at 96 DPI still touch.
        EXPECT_EQ(ScaleFromDesign(416, row.dpi) - ScaleFromDesign(409, row.dpi),
                  group.left - (tree.left + tree.width));
        const PixelRect upper = ScaleEdges({0, 0, 10, 13}, row.dpi),
                        lower = ScaleEdges({0, 13, 10, 13}, row.dpi);
        EXPECT_EQ(upper.top + upper.height, lower.top);
        EXPECT_EQ(row.font, ScaleFromDesign(12, row.dpi));
        EXPECT_EQ(row.title, ScaleFromDesign(32, row.dpi));
        EXPECT_EQ(row.smallIcon, ScaleFromDesign(16, row.dpi));
        EXPECT_EQ(row.icon, ScaleFromDesign(32, row.dpi));
        EXPECT_EQ(row.captionFrom144, ScaleDpi(33, 144, row.dpi));
    }
    // Halves round away from zero, negative lengths too; a DPI the system could not tell keeps
    // the length.
    EXPECT_EQ(3, ScaleDpi(1, 96, 240));
    EXPECT_EQ(-3, ScaleDpi(-1, 96, 240));
    EXPECT_EQ(17, ScaleDpi(17, 96, 0));
}

}   // namespace
