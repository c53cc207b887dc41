// The chord's point as the hook library reports it: an offset from the top-left corner of
// the foreground window, packed into one signed 32-bit value.
#pragma once

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
