// The chord's point as it travels in the record's lParam: an offset from the top-left corner of
// the foreground window, packed by the hook library into one signed 32-bit value that a
// reader splits again with SplitChordOffset. The program itself opens its menu at the record's
// point, which every chord's position survives; lParam is filled as the interface has it.
#pragma once

#include <algorithm>
#include <cstdint>

struct ChordOffset {
    int x;
    int y;
};

// x = v mod 65536 and y = v div 65536, both truncating toward zero: for a non-negative v
// the low and the high 16 bits; -1 gives x = -1 and y = 0.
inline ChordOffset SplitChordOffset(std::int32_t v)
{
    return {v % 65536, v / 65536};
}

// Packs an offset (dx, dy) as v = dy * 65536 + dx. SplitChordOffset returns the offset exactly
// only when dx and dy do not have opposite signs and both fit 16 bits: for (-1, 1),
// v = 65535 would come back as (65535, 0). So each coordinate is first clamped to +-32767 (the
// largest range where every same-signed pair stays inside int32), and a pair of opposite signs
// is moved to the nearest point that survives the split: the coordinate closer to zero becomes
// zero (the negative one on a tie). The menu then opens as near to the pointer as the encoding
// allows.
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
