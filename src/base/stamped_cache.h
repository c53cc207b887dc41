// Values kept from one round of use to the next, each under a key together with the stamp of
// the source it was made from. A look-up with another stamp finds nothing, so a value whose
// source changed is made anew; a round ends with Sweep, which lets go of every value the round
// did not use, so that the cache holds no more than one round needs.
#pragma once

#include <cstddef>
#include <functional>
#include <unordered_map>
#include <utility>

// The stamp of values whose key alone names their source for as long as it exists.
struct Unstamped {
    bool operator==(const Unstamped&) const { return true; }
};

template <typename Key, typename Stamp, typename Value, typename Hash = std::hash<Key>>
class StampedCache {
public:
    // The value kept under `key` for that stamp, or null. Valid until the next Store under the
    // same key, or the Sweep of a round that did not use it.
    const Value* Find(const Key& key, const Stamp& stamp)
    {
        auto found = entries_.find(key);
        if (found == entries_.end() || !(found->second.stamp == stamp)) {
            return nullptr;
        }
        found->second.used = true;
        return &found->second.value;
    }

    // Keeps `value` under `key`, in place of whatever was kept there.
    const Value& Store(const Key& key, Stamp stamp, Value value)
    {
        Entry& entry = entries_[key];
        entry.stamp = std::move(stamp);
        entry.value = std::move(value);
        entry.used = true;
        return entry.value;
    }

    // Ends a round: the values it did not find or store are dropped.
    void Sweep()
    {
        for (auto it = entries_.begin(); it != entries_.end();) {
            if (it->second.used) {
                it->second.used = false;
                ++it;
            } else {
                it = entries_.erase(it);
            }
        }
    }

    std::size_t Size() const { return entries_.size(); }

private:
    struct Entry {
        Stamp stamp{};
        Value value{};
        bool used = false;
    };
    std::unordered_map<Key, Entry, Hash> entries_;
};
