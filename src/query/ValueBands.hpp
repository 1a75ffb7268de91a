#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// How the values of an attribute spread: about ten bands of one round width
// (1, 2 or 5 times a power of ten), each starting at a multiple of it, from
// the band of the lowest value to that of the highest, with the count of the
// values in each. Taken in one pass over the values, allocating nothing.
struct ValueBands {
    struct Band {
        int64_t low;  // both bounds included
        int64_t high;
        uint64_t count;
    };
    static constexpr std::size_t most = 12;
    std::array<Band, most> bands{};
    std::size_t size = 0;
};

ValueBands valueBands(std::span<const int32_t> values) noexcept;
