// A read-only view of an array, for definition tables (C++17 has no std::span).
#pragma once

#include <cstddef>

template <typename T>
class Span {
public:
    constexpr Span() = default;
    constexpr Span(const T* data, std::size_t size) : data_(data), size_(size) {}
    template <std::size_t N>
    constexpr Span(const T (&array)[N]) : data_(array), size_(N)
    {
    }

    constexpr const T* begin() const { return data_; }
    constexpr const T* end() const { return data_ + size_; }
    constexpr std::size_t size() const { return size_; }
    constexpr bool empty() const { return size_ == 0; }
    constexpr const T& operator[](std::size_t i) const { return data_[i]; }

private:
    const T* data_ = nullptr;
    std::size_t size_ = 0;
};
