#include "query/ValueBands.hpp"

#include <algorithm>
#include <cstdlib>

namespace {

// The next round width: 1, 2, 5, 10, 20, 50, ...
int64_t nextRound(int64_t width) noexcept {
    int64_t power = 1;
    while (power * 10 <= width) {
        power *= 10;
    }
    return width == power ? 2 * power : (width == 2 * power ? 5 * power : 10 * power);
}

// The largest multiple of width at most value.
int64_t floorTo(int64_t value, int64_t width) noexcept {
    const int64_t quotient = value / width;
    return (value % width != 0 && value < 0 ? quotient - 1 : quotient) * width;
}

bool counted(uint32_t count) noexcept { return count != 0; }

} // namespace

int64_t ValueHistogram::lowestCounted() const noexcept {
    const auto first = std::find_if(counts_->begin(), counts_->end(), counted) - counts_->begin();
    return (base_ + first) * (int64_t{1} << shift_);
}

int64_t ValueHistogram::highestCounted() const noexcept {
    const auto end = counts_->rend() - std::find_if(counts_->rbegin(), counts_->rend(), counted);
    return (base_ + end) * (int64_t{1} << shift_) - 1;
}

// Widens the window until the values counted and this one fill at most half of
// it, centred. A quarter stays free on either side, so the next refit at least
// doubles the span the values fill: a few dozen refits at the very most.
void ValueHistogram::refit(int32_t value) noexcept {
    if (empty_) {
        empty_ = false;
        base_ = int64_t{value} - static_cast<int64_t>(window / 2);
        add(value);
        return;
    }
    const int64_t lowest = std::min<int64_t>(lowestCounted(), value);
    const int64_t highest = std::max<int64_t>(highestCounted(), value);
    int shift = shift_;
    while ((highest >> shift) - (lowest >> shift) >= static_cast<int64_t>(window / 2)) {
        ++shift;
    }
    const int64_t base = ((lowest >> shift) + (highest >> shift)) / 2 - static_cast<int64_t>(window / 2);
    spare_->fill(0);
    for (std::size_t i = 0; i < window; ++i) {
        if ((*counts_)[i] != 0) {
            (*spare_)[static_cast<std::size_t>(((base_ + static_cast<int64_t>(i)) >> (shift - shift_)) - base)] +=
                (*counts_)[i];
        }
    }
    std::swap(counts_, spare_);
    shift_ = shift;
    base_ = base;
    add(value);
}

ValueBands ValueHistogram::bands() const noexcept {
    ValueBands result;
    if (empty_) {
        return result;
    }
    // With buckets wider than one value, the first and last counted bucket
    // stand in for the lowest and highest value: a width that is a multiple
    // of the buckets' puts each bucket, those two with it, in one band.
    const int64_t lowest = lowestCounted();
    const int64_t highest = highestCounted();
    const int64_t fine = int64_t{1} << shift_;
    const auto bandsOf = [&](int64_t width) { return (highest - floorTo(lowest, width)) / width + 1; };
    // The largest round width that gives seven to twelve bands, else the one
    // nearest to ten; widths beyond twice the span give one band or two.
    int64_t ample = 0;
    int64_t nearest = 0;
    for (int64_t round = 1; round <= 2 * (highest - lowest + 1); round = nextRound(round)) {
        const int64_t count = bandsOf(round);
        if (round % fine == 0 && count <= static_cast<int64_t>(ValueBands::most)) {
            ample = count >= 7 ? round : ample;
            if (nearest == 0 || std::abs(count - 10) < std::abs(bandsOf(nearest) - 10)) {
                nearest = round;
            }
        }
    }
    int64_t width = ample != 0 ? ample : nearest;
    if (width == 0 || (bandsOf(width) < 5 && highest - lowest + 1 >= 5 * fine)) {
        // No round width fits the buckets: ten bands of whole buckets.
        const int64_t tenth = (highest - lowest + 1 + 9) / 10;
        width = (tenth + fine - 1) / fine * fine;
    }
    const int64_t start = floorTo(lowest, width);
    result.size = static_cast<std::size_t>((highest - start) / width + 1);
    for (std::size_t b = 0; b < result.size; ++b) {
        ValueBands::Band& band = result.bands[b];
        band.low = start + static_cast<int64_t>(b) * width;
        band.high = band.low + width - 1;
        const int64_t from = std::max<int64_t>((band.low >> shift_) - base_, 0);
        const int64_t to = std::min<int64_t>((band.high >> shift_) - base_, static_cast<int64_t>(window) - 1);
        for (int64_t i = from; i <= to; ++i) {
            band.count += (*counts_)[static_cast<std::size_t>(i)];
        }
    }
    return result;
}
