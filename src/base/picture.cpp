#include "base/picture.h"

#include <algorithm>
#include <cstddef>

namespace {

std::uint32_t Channel(std::uint32_t pixel, int shift)
{
    return (pixel >> shift) & 0xFFu;
}

// The source range [first, last) that new pixel `index` of `to` covers among `from`: never
// empty, so that a picture made larger repeats its pixels.
void Covered(int index, int from, int to, int& first, int& last)
{
    first = static_cast<int>(static_cast<long long>(index) * from / to);
    last = static_cast<int>((static_cast<long long>(index) + 1) * from / to);
    if (last <= first) {
        last = first + 1;
    }
}

}   // namespace

bool HasAlpha(const Picture& picture)
{
    return std::any_of(picture.pixels.begin(), picture.pixels.end(),
                       [](std::uint32_t pixel) { return (pixel >> 24) != 0; });
}

Picture ScalePicture(const Picture& source, int width, int height)
{
    Picture scaled{width, height, {}, {}};
    const std::size_t sourceCount = static_cast<std::size_t>(source.width) * source.height;
    if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0 ||
        source.pixels.size() != sourceCount || source.transparent.size() != sourceCount) {
        return Picture{};
    }
    const bool alpha = HasAlpha(source);
    scaled.pixels.reserve(static_cast<std::size_t>(width) * height);
    scaled.transparent.reserve(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        int top = 0;
        int bottom = 0;
        Covered(y, source.height, height, top, bottom);
        for (int x = 0; x < width; ++x) {
            int left = 0;
            int right = 0;
            Covered(x, source.width, width, left, right);
            // Sums of blue, green, red (each weighted) and of the weights.
            std::uint64_t sum[3] = {0, 0, 0};
            std::uint64_t weights = 0;
            std::uint64_t alphas = 0;
            int shown = 0;
            const int covered = (bottom - top) * (right - left);
            for (int sy = top; sy < bottom; ++sy) {
                for (int sx = left; sx < right; ++sx) {
                    const std::size_t i = static_cast<std::size_t>(sy) * source.width + sx;
                    const std::uint32_t pixel = source.pixels[i];
                    const std::uint32_t weight =
                        alpha ? Channel(pixel, 24) : (source.transparent[i] ? 0u : 1u);
                    for (int c = 0; c < 3; ++c) {
                        sum[c] += std::uint64_t{Channel(pixel, 8 * c)} * weight;
                    }
                    weights += weight;
                    alphas += Channel(pixel, 24);
                    shown += source.transparent[i] ? 0 : 1;
                }
            }
            std::uint32_t pixel = 0;
            for (int c = 0; c < 3; ++c) {
                pixel |= static_cast<std::uint32_t>(weights ? (sum[c] + weights / 2) / weights : 0)
                         << (8 * c);
            }
            bool transparent = false;
            if (alpha) {
                const std::uint32_t meanAlpha = static_cast<std::uint32_t>((alphas + covered / 2) / covered);
                pixel |= meanAlpha << 24;
                transparent = meanAlpha == 0;
            } else {
                // Black under the mask: the platform draws such a picture by masking the
                // background and then adding the picture's colours to it.
                transparent = shown * 2 < covered;
                if (transparent) {
                    pixel = 0;
                }
            }
            scaled.pixels.push_back(pixel);
            scaled.transparent.push_back(transparent ? 1 : 0);
        }
    }
    return scaled;
}

PictureStrip ComposeStrip(const std::vector<const Picture*>& pictures, int width, int height)
{
    PictureStrip strip;
    strip.width = width * static_cast<int>(pictures.size());
    strip.height = height;
    const std::size_t stripWidth = static_cast<std::size_t>(strip.width);
    strip.pixels.assign(stripWidth * height, 0);
    // All transparent, so that a picture of the wrong size leaves a hole and nothing else.
    strip.mask.assign(static_cast<std::size_t>(strip.MaskRowBytes()) * height, 0xFF);
    for (std::size_t n = 0; n < pictures.size(); ++n) {
        const Picture& picture = *pictures[n];
        const std::size_t count = static_cast<std::size_t>(width) * height;
        if (picture.width != width || picture.height != height || picture.pixels.size() != count ||
            picture.transparent.size() != count) {
            continue;
        }
        const std::size_t left = n * width;
        for (int y = 0; y < height; ++y) {
            const std::size_t from = static_cast<std::size_t>(y) * width;
            std::copy_n(picture.pixels.begin() + from, width, strip.pixels.begin() + y * stripWidth + left);
            std::uint8_t* row = strip.mask.data() + static_cast<std::size_t>(y) * strip.MaskRowBytes();
            for (int x = 0; x < width; ++x) {
                if (!picture.transparent[from + x]) {
                    const std::size_t column = left + x;
                    row[column / 8] &= static_cast<std::uint8_t>(~(0x80u >> (column % 8)));
                }
            }
        }
    }
    return strip;
}
