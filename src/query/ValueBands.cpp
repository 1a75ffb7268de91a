#include "query/ValueBands.hpp"

namespace {

// The number of the band of width that holds v, counted from the band at 0.
int64_t bandOf(int64_t v, int64_t width) noexcept { return v / width - (v % width < 0 ? 1 : 0); }

int64_t bandCount(ValueRange range, int64_t width) noexcept {
    return bandOf(range.max, width) - bandOf(range.min, width) + 1;
}

// The largest round width that gives seven to twelve bands. Where none does,
// every width that gives twelve or fewer gives six at most, and the one with
// the most bands (the finest of equals) is nearest to ten. Widths end at
// 5 * 10^8, which puts any two 32-bit values in ten bands at most.
int64_t roundWidth(ValueRange range) noexcept {
    int64_t chosen = 0;
    int64_t chosen_count = 0;
    for (int64_t power = 1; power <= 100'000'000; power *= 10) {
        for (const int64_t width : {power, 2 * power, 5 * power}) {
            const int64_t count = bandCount(range, width);
            if (count <= static_cast<int64_t>(ValueBands::most) && (count >= 7 || count > chosen_count)) {
                chosen = width;
                chosen_count = count;
            }
        }
    }
    return chosen;
}

} // namespace

ValueBands countBands(const Klient* const* tabulka, int32_t pocet, FilterCriterion kriterium, const Datum& dnes,
                      ValueRange range) noexcept {
    const int64_t width = roundWidth(range);
    const int64_t start = bandOf(range.min, width) * width;
    ValueBands result;
    result.size = static_cast<std::size_t>(bandCount(range, width));
    for (std::size_t b = 0; b < result.size; ++b) {
        result.bands[b].low = start + static_cast<int64_t>(b) * width;
        result.bands[b].high = result.bands[b].low + width - 1;
    }
    // The edge bands end where the values do: no band runs past them and
    // looks like a dip.
    result.bands[0].low = range.min;
    result.bands[result.size - 1].high = range.max;
    const auto value = menuItem(kriterium).value;
    for (int32_t i = 0; i < pocet; ++i) {
        // Below start the difference wraps to a huge band number: neither is counted.
        const auto band = static_cast<uint64_t>(value(*tabulka[i], dnes) - start) / static_cast<uint64_t>(width);
        if (band < result.size) {
            ++result.bands[band].count;
        }
    }
    return result;
}
