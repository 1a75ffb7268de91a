#pragma once

#include "query/Filter.hpp"

#include <array>
#include <cstddef>
#include <cstdint>

// How the values of an attribute spread: bands of one round width (1, 2 or 5 times
// a power of ten), each from a multiple of it, with the count in each; the first
// band starts at the lowest value and the last ends at the highest.
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

// The bands over range (min at most max) with the values of the table
// counted into them, in a pass of its own: of the largest round width that
// gives seven to twelve bands, else of the one whose count, twelve at most, is
// nearest to ten. A value outside range is not counted.
ValueBands countBands(const Klient* const* tabulka, int32_t pocet, FilterCriterion kriterium, const Datum& dnes,
                      ValueRange range) noexcept;
