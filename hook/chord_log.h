// The last few chords, each under the serial number that its message carries.
#pragma once

#include <cstddef>
#include <cstdint>

struct ChordRecord {
    std::uint32_t serial = 0;   // 0: an empty slot; no chord ever gets 0
    int x = 0;                  // screen point of the press that completed the chord
    int y = 0;
    std::uint32_t time = 0;   // that press's time stamp, in milliseconds
};

// Several chords can be made before the first one's message is handled (the hook runs
// whenever the thread waits for messages, ahead of posted ones), so the record filled for
// a message must come from that message's own chord, not merely the latest. A few slots
// are plenty: the program handles chord messages as fast as a person can make chords.
class ChordLog {
public:
    ChordLog() = default;
    explicit ChordLog(std::uint32_t lastSerial) : lastSerial_(lastSerial) {}

    // Records a chord and returns its serial: never 0, so it always reads as "a chord
    // happened" in the message's wParam, even after the counter wraps.
    std::uint32_t Add(int x, int y, std::uint32_t time) noexcept
    {
        ++lastSerial_;
        if (lastSerial_ == 0) {
            lastSerial_ = 1;
        }
        slots_[next_] = ChordRecord{lastSerial_, x, y, time};
        next_ = (next_ + 1) % kSlots;
        return lastSerial_;
    }

    // The chord sent with this serial, or nullptr when it is unknown or has been overwritten.
    const ChordRecord* Find(std::uint32_t serial) const noexcept
    {
        if (serial == 0) {
            return nullptr;
        }
        for (const ChordRecord& slot : slots_) {
            if (slot.serial == serial) {
                return &slot;
            }
        }
        return nullptr;
    }

private:
    static constexpr std::size_t kSlots = 8;

    ChordRecord slots_[kSlots];
    std::size_t next_ = 0;
    std::uint32_t lastSerial_ = 0;
};
