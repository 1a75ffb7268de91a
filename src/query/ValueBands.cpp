#include "query/ValueBands.hpp"

#include <algorithm>

namespace {

// The smallest of 1, 2 and 5 times a power of ten that is at least least.
int64_t roundWidth(int64_t least) noexcept {
    for (int64_t power = 1;; power *= 10) {
        for (const int64_t step : {1, 2, 5}) {
            if (step * power >= least) {
                return step * power;
            }
        }
    }
}

// The largest multiple of width at most value.
int64_t floorTo(int64_t value, int64_t width) noexcept {
    const int64_t quotient = value / width;
    return (value % width != 0 && value < 0 ? quotient - 1 : quotient) * width;
}

} // namespace

ValueBands valueBands(std::span<const int32_t> values) noexcept {
    ValueBands result;
    if (values.empty()) {
        return result;
    }
    const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
    const int64_t span = int64_t{*highest} - *lowest + 1;
    const int64_t width = roundWidth((span + 9) / 10);
    const int64_t start = floorTo(*lowest, width);
    result.size = static_cast<std::size_t>((*highest - start) / width + 1);
    // At most ten widths hold the span, and the first band starts less than a
    // width below the lowest value: twelve bands always suffice.
    std::array<int64_t, ValueBands::most> upper{}; // the first value of each next band
    for (std::size_t i = 0; i < result.size; ++i) {
        result.bands[i] = {start + static_cast<int64_t>(i) * width, start + static_cast<int64_t>(i + 1) * width - 1, 0};
        upper[i] = result.bands[i].high + 1;
    }
    // A value's band is the number of bands it lies beyond: compares, which
    // cost less than a division.
    for (const int32_t value : values) {
        std::size_t band = 0;
        for (std::size_t i = 0; i + 1 < result.size; ++i) {
            band += value >= upper[i] ? 1u : 0u;
        }
        ++result.bands[band].count;
    }
    return result;
}
