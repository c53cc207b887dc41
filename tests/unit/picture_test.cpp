#include "base/picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// A picture of `width` x 2 pixels from its rows; 0 is a transparent pixel without alpha.
Picture Rows(int width, std::vector<std::uint32_t> pixels)
{
    Picture picture{width, 2, std::move(pixels), {}};
    for (std::uint32_t pixel : picture.pixels) {
        picture.transparent.push_back(pixel == 0 ? 1 : 0);
    }
    return picture;
}

TEST(ScalePictureTest, HalvingAveragesByAlphaOrByTheVisiblePixels)
{
    // With alpha: half opaque blue, half clear, is blue at half alpha, not darker; a faint
    // red (alpha 0x40) among three opaque blues counts a quarter as much as each of them.
    const Picture alpha = ScalePicture(Rows(4, {0xFF0000FF, 0xFF0000FF, 0x40FF0000, 0xFF0000FF,   //
                                                0, 0, 0xFF0000FF, 0xFF0000FF}),
                                       2, 1);
    EXPECT_EQ((std::vector<std::uint32_t>{0x800000FF, 0xCF1400EB}), alpha.pixels);
    EXPECT_EQ((std::vector<std::uint8_t>{0, 0}), alpha.transparent);

    // Without alpha the mask decides: one visible pixel of four is not enough (and the colour
    // under the mask is black), two are.
    const Picture masked = ScalePicture(Rows(4, {0xFF, 0, 0x10, 0, 0, 0, 0, 0x30}), 2, 1);
    EXPECT_EQ((std::vector<std::uint32_t>{0, 0x20}), masked.pixels);
    EXPECT_EQ((std::vector<std::uint8_t>{1, 0}), masked.transparent);
    EXPECT_TRUE(ScalePicture(Picture{}, 16, 16).pixels.empty());
}

}   // namespace
