// The chord point as the program reads it from the record's lParam.
#pragma once

#include <algorithm>
#include <cstdint>

// Packs an offset (dx, dy) from a window's top-left corner as v = dy * 65536 + dx. The program
// splits v back with truncating signed division (x = v % 65536, y = v / 65536), which returns
// the offset exactly only when dx and dy do not have opposite signs and both fit 16 bits:
// for (-1, 1), v = 65535 would come back as (65535, 0). So each coordinate is first clamped to
// +-32767 (the largest range where every same-signed pair stays inside int32), and a pair of
// opposite signs is moved to the nearest point that survives the split: the coordinate
// closer to zero becomes zero (the negative one on a tie). The menu then opens as near to the
// pointer as the encoding allows.
inline std::int32_t PackChordOffset(long long dx, long long dy)
{
    constexpr long long kLimit = 32767;
    long long x = std::clamp(dx, -kLimit, kLimit);
    long long y = std::clamp(dy, -kLimit, kLimit);
    if ((x < 0 && y > 0) || (x > 0 && y < 0)) {
        const long long ax = x < 0 ? -x : x;
        const long long ay = y < 0 ? -y : y;
        if (ax < ay || (ax == ay && x < 0)) {
            x = 0;
        } else {
            y = 0;
        }
    }
    return static_cast<std::int32_t>(y * 65536 + x);
}
