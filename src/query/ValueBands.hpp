#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

// How the values of an attribute spread: about ten bands of one width, each from
// a multiple of it, covering lowest to highest value, with the count in each.
struct ValueBands {
    struct Band {
        int64_t low; // both bounds included
        int64_t high;
        uint64_t count;
    };
    static constexpr std::size_t most = 12;
    std::array<Band, most> bands{};
    std::size_t size = 0;
};

// Counts values exactly, in the pass that finds their range, into buckets of a
// power-of-two width on a window that widens and moves as values fall outside
// it (a few times in all). Allocates nothing after construction.
class ValueHistogram {
public:
    void add(int32_t value) noexcept {
        const auto i = static_cast<uint64_t>((int64_t{value} >> shift_) - base_);
        if (i < window) [[likely]] {
            ++(*counts_)[i];
            return;
        }
        refit(value);
    }

    // Bands of a round width (1, 2 or 5 times a power of ten) made of whole
    // buckets; failing that, of a multiple of the bucket width.
    ValueBands bands() const noexcept;

private:
    static constexpr std::size_t window = std::size_t{1} << 16;
    using Counts = std::array<uint32_t, window>; // up to 2^31 values: a count fits
    void refit(int32_t value) noexcept;
    // The first and the last value of the buckets that hold values.
    int64_t lowestCounted() const noexcept;
    int64_t highestCounted() const noexcept;

    std::unique_ptr<Counts> counts_ = std::make_unique<Counts>();
    std::unique_ptr<Counts> spare_ = std::make_unique<Counts>();
    int shift_ = 0; // a fine bucket holds 2^shift_ values
    // The bucket number (value >> shift_) of counts_[0]; at first far from
    // every value, so that the first one fits the window to it.
    int64_t base_ = int64_t{1} << 40;
    bool empty_ = true;
};
