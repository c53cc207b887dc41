// An open-addressing hash index of numbers whose hash and equality the owner supplies. The INI
// document keeps each name in its line already, so its index stores only line and section
// numbers: no key strings, no allocation per entry.
#pragma once

#include <cstddef>
#include <vector>

class HashIndex {
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // The value stored under `hash` for which equal(value) holds; kNone when there is none.
    template <typename Equal>
    std::size_t Find(std::size_t hash, Equal&& equal) const
    {
        if (slots_.empty()) {
            return kNone;
        }
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = slots_[i];
            if (slot.value == kNone) {
                return kNone;
            }
            if (slot.hash == hash && equal(slot.value)) {
                return slot.value;
            }
        }
    }

    // The caller makes sure an equal value is not stored yet.
    void Insert(std::size_t hash, std::size_t value)
    {
        // At most half full, so that probe runs stay short.
        if ((count_ + 1) * 2 > slots_.size()) {
            Grow();
        }
        Place(hash, value);
        ++count_;
    }

    // Removes the entry of `value`, stored under `hash`, if there is one.
    void Erase(std::size_t hash, std::size_t value)
    {
        const std::size_t found = SlotOf(hash, value);
        if (found == kNone) {
            return;
        }
        // Backward-shift deletion: pull later entries of the run into the hole wherever their
        // home slot allows, so that no tombstones slow the probes down.
        const std::size_t mask = slots_.size() - 1;
        std::size_t hole = found;
        for (std::size_t i = (hole + 1) & mask; slots_[i].value != kNone; i = (i + 1) & mask) {
            const std::size_t home = slots_[i].hash & mask;
            if (((i - home) & mask) >= ((i - hole) & mask)) {
                slots_[hole] = slots_[i];
                hole = i;
            }
        }
        slots_[hole].value = kNone;
        --count_;
    }

    // The entry of `oldValue`, stored under `hash`, now holds `newValue`.
    void Replace(std::size_t hash, std::size_t oldValue, std::size_t newValue)
    {
        const std::size_t found = SlotOf(hash, oldValue);
        if (found != kNone) {
            slots_[found].value = newValue;
        }
    }

    // Room for `count` entries without growing on the way.
    void Reserve(std::size_t count)
    {
        std::size_t size = slots_.empty() ? 16 : slots_.size();
        while (count * 2 > size) {
            size *= 2;
        }
        if (size > slots_.size()) {
            Rehash(size);
        }
    }

    void Clear()
    {
        slots_.clear();
        count_ = 0;
    }

private:
    struct Slot {
        std::size_t hash = 0;
        std::size_t value = kNone;
    };

    std::size_t SlotOf(std::size_t hash, std::size_t value) const
    {
        if (slots_.empty()) {
            return kNone;
        }
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask; slots_[i].value != kNone; i = (i + 1) & mask) {
            if (slots_[i].value == value) {
                return i;
            }
        }
        return kNone;
    }

    void Place(std::size_t hash, std::size_t value)
    {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = hash & mask;
        while (slots_[i].value != kNone) {
            i = (i + 1) & mask;
        }
        slots_[i].hash = hash;
        slots_[i].value = value;
    }

    void Grow() { Rehash(slots_.empty() ? 16 : slots_.size() * 2); }

    void Rehash(std::size_t size)
    {
        std::vector<Slot> old(size);
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (slot.value != kNone) {
                Place(slot.hash, slot.value);
            }
        }
    }

    std::vector<Slot> slots_;
    std::size_t count_ = 0;
};
