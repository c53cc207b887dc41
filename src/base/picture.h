// Small images as an image list keeps them, and many of them side by side in one strip, the
// form in which an image list takes any number of images in one step.
#pragma once

#include <cstdint>
#include <vector>

// One image: 32-bit pixels (blue, green, red, alpha from the lowest byte up) row by row from
// the top, and one transparency flag per pixel in the same order.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::vector<std::uint8_t> transparent;   // 1: the pixel lets the background show
};

// Whether any pixel carries alpha: then alpha, not the transparency flags, says how much of
// each pixel shows, as for a 32-bit icon.
bool HasAlpha(const Picture& picture);

// The picture drawn at another size. Each new pixel takes the mean of the pixels it covers:
// weighted by their alpha when the picture has alpha; otherwise of its visible ones, showing
// where at least half of them show. A picture without pixels stays without.
Picture ScalePicture(const Picture& source, int width, int height);

// Pictures of one size next to each other, the first at the left.
struct PictureStrip {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;   // rows of `width` pixels from the top
    // One bit per pixel, set where transparent, the leftmost pixel in the highest bit of its
    // byte, each row padded to a multiple of 16 bits: a monochrome bitmap's bits.
    std::vector<std::uint8_t> mask;

    int MaskRowBytes() const { return (width + 15) / 16 * 2; }
};

// The strip of the pictures in their order; every picture must be `width` x `height` (one
// that is not is an error of the caller, and its place stays transparent).
PictureStrip ComposeStrip(const std::vector<const Picture*>& pictures, int width, int height);
