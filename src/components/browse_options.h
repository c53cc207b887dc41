// The folder browse dialog's rules that need no window: its option set and the shell flags
// the set stands for, the OK-button request of its events, and the path it selects first.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

enum BrowseOption : std::uint8_t {
    biBrowseForComputer,
    biBrowseForPrinter,
    biDontGoBelowDomain,
    biReturnFSAncestors,
    biReturnOnlyFSDirs,
    biStatusText,
};

// A set of BrowseOption stored in one byte: bit n stands for value n.
class BrowseOptions {
public:
    constexpr BrowseOptions() = default;
    constexpr BrowseOptions(std::initializer_list<BrowseOption> options)
    {
        for (BrowseOption option : options) {
            bits_ |= Bit(option);
        }
    }
    // The bits above the last option mean nothing and are dropped.
    static constexpr BrowseOptions FromByte(std::uint8_t bits)
    {
        BrowseOptions options;
        options.bits_ = bits & kAllBits;
        return options;
    }

    constexpr std::uint8_t Byte() const { return bits_; }
    constexpr bool Contains(BrowseOption option) const { return (bits_ & Bit(option)) != 0; }

    friend constexpr bool operator==(BrowseOptions a, BrowseOptions b) { return a.bits_ == b.bits_; }
    friend constexpr bool operator!=(BrowseOptions a, BrowseOptions b) { return a.bits_ != b.bits_; }

private:
    static constexpr std::uint8_t kAllBits = (1u << (biStatusText + 1)) - 1;
    static constexpr std::uint8_t Bit(BrowseOption option)
    {
        return static_cast<std::uint8_t>((1u << option) & kAllBits);
    }

    std::uint8_t bits_ = 0;
};

// What an event asks of the dialog's OK button.
enum OkButtonState : std::uint8_t {
    obsUnchanged,   // leave it as it is
    obsEnabled,
    obsDisabled,
};

// The shell's flag for each option (BIF_*), indexed by the option's value.
inline constexpr std::uint32_t kBrowseOptionFlags[] = {0x1000, 0x2000, 0x2, 0x8, 0x1, 0x4};

// The OR of the flags of every option in the set (the ulFlags the shell is given).
std::uint32_t BrowseFlags(BrowseOptions options);

// The path the dialog selects when it opens: the directory without one trailing "\", unless
// the directory is three bytes or fewer (a drive root such as "C:\" keeps its backslash).
// A backslash that is the second byte of a two-byte character ("C:\表" ends in 0x95 0x5C) is
// part of that character and stays.
std::string_view InitialSelection(std::string_view directory);
