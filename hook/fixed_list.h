// A list of fixed capacity. The hook library allocates nothing while the system holds the
// mouse for it, and keeps the C++ library's exception machinery (which a growing container
// brings along) out of the DLL.
#pragma once

#include <cstddef>

template <typename T, std::size_t Capacity>
class FixedList {
public:
    static constexpr std::size_t kCapacity = Capacity;

    // False, and nothing added, when the list is full.
    bool Add(const T& item)
    {
        if (size_ == Capacity) {
            return false;
        }
        items_[size_++] = item;
        return true;
    }
    void Clear() { size_ = 0; }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const T& operator[](std::size_t i) const { return items_[i]; }
    const T* begin() const { return items_; }
    const T* end() const { return items_ + size_; }

private:
    T items_[Capacity] = {};
    std::size_t size_ = 0;
};
