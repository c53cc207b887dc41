#include "base/display_scale.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The launcher dialog's list and "決定", a small rectangle at odd places whose edges round apart
// from its size (each left, top, width, height), the form font's height, the small icon's size,
// and a figure the system gives at 144 DPI, at the DPI.
std::vector<int> Scaled(int dpi)
{
    std::vector<int> all;
    for (const PixelRect& rect :
         {PixelRect{8, 24, 401, 185}, PixelRect{232, 320, 75, 25}, PixelRect{3, 2, 3, 2}}) {
        const PixelRect scaled = ScaleEdges(rect, dpi);
        all.insert(all.end(), {scaled.left, scaled.top, scaled.width, scaled.height});
    }
    all.insert(all.end(), {ScaleFromDesign(12, dpi), ScaleFromDesign(16, dpi), ScaleDpi(33, 144, dpi)});
    return all;
}

TEST(DisplayScaleTest, EdgesFontHeightsAndIconSizesFrom100To200Percent)
{
    const std::pair<int, std::vector<int>> rows[] = {
        {96, {8, 24, 401, 185, 232, 320, 75, 25, 3, 2, 3, 2, 12, 16, 22}},
        {120, {10, 30, 501, 231, 290, 400, 94, 31, 4, 3, 4, 2, 15, 20, 28}},
        {144, {12, 36, 602, 278, 348, 480, 113, 38, 5, 3, 4, 3, 18, 24, 33}},
        {168, {14, 42, 702, 324, 406, 560, 131, 44, 5, 4, 6, 3, 21, 28, 39}},
        {192, {16, 48, 802, 370, 464, 640, 150, 50, 6, 4, 6, 4, 24, 32, 44}},
    };
    for (const auto& [dpi, expected] : rows) {
        EXPECT_EQ(expected, Scaled(dpi)) << dpi;
    }
    // Halves round away from zero, negative lengths too; no DPI keeps the length.
    EXPECT_EQ((std::vector<int>{3, -3, 17}),
              (std::vector<int>{ScaleDpi(1, 96, 240), ScaleDpi(-1, 96, 240), ScaleDpi(17, 96, 0)}));
}

}   // namespace
