#include "query/Filter.hpp"

#include "threads/SideBySide.hpp"

#include <algorithm>
#include <array>
#include <utility>

namespace {

bool matches(int32_t v, HornaHranica max, DolnaHranica min) noexcept { return v >= min.hodnota && v <= max.hodnota; }

// Fewer records than this are not worth a thread.
constexpr std::size_t min_part = std::size_t{1} << 16;

// Calls pass(value) with the criterion's value function as a type of its
// own, so that every pass inlines it: a call a record through a pointer would
// cost more than reading the value.
template <typename Pass>
decltype(auto) withValue(FilterCriterion kriterium, Pass&& pass) {
    const auto with = [&]<std::size_t I>(std::integral_constant<std::size_t, I>) -> decltype(auto) {
        return pass([](const Klient& k, const Datum& dnes) { return filter_menu[I].value(k, dnes); });
    };
    switch (static_cast<std::size_t>(kriterium)) {
    case 0: return with(std::integral_constant<std::size_t, 0>{});
    case 1: return with(std::integral_constant<std::size_t, 1>{});
    case 2: return with(std::integral_constant<std::size_t, 2>{});
    case 3: return with(std::integral_constant<std::size_t, 3>{});
    default: return with(std::integral_constant<std::size_t, 4>{});
    }
}
static_assert(filter_menu.size() == 5);

// Runs each(part, from, to) over the parts of [0, pocet), one a worker, side by side.
template <typename Each>
void inParts(int32_t pocet, std::size_t parts, Each each) noexcept {
    const auto n = static_cast<std::size_t>(std::max(pocet, 0));
    runSideBySide(parts, [&](std::size_t part) { each(part, n * part / parts, n * (part + 1) / parts); });
}

constexpr std::size_t most_parts = 4;

std::size_t partsFor(int32_t pocet) noexcept {
    return static_cast<std::size_t>(pocet) < 2 * min_part ? 1 : std::min<std::size_t>(workerCount(), most_parts);
}

} // namespace

std::optional<ValueRange> printFilterRange(const Klient* const* tabulka, int32_t pocet, FilterCriterion kriterium,
                                           const Datum& dnes, std::ostream& out) {
    const FilterMenuItem& item = menuItem(kriterium);
    if (pocet <= 0) {
        out << "\nPre kriterium \"" << item.range_label << "\" sa v subore nenachadzaju ziadne hodnoty.\n";
        return std::nullopt;
    }
    const std::size_t parts = partsFor(pocet);
    std::array<ValueRange, most_parts> ranges;
    withValue(kriterium, [&](auto value) {
        inParts(pocet, parts, [&](std::size_t part, std::size_t from, std::size_t to) {
            ValueRange range{value(*tabulka[from], dnes), value(*tabulka[from], dnes)};
            for (std::size_t i = from + 1; i < to; ++i) {
                const int32_t v = value(*tabulka[i], dnes);
                range.lowest = std::min(range.lowest, v);
                range.highest = std::max(range.highest, v);
            }
            ranges[part] = range;
        });
    });
    ValueRange range = ranges[0];
    for (std::size_t part = 1; part < parts; ++part) {
        range.lowest = std::min(range.lowest, ranges[part].lowest);
        range.highest = std::max(range.highest, ranges[part].highest);
    }
    out << "\nPre kriterium \"" << item.range_label << "\" sa v subore nachadzaju hodnoty v intervale od "
        << range.lowest << " do " << range.highest << ".\n";
    return range;
}

int32_t countMatching(const Klient* const* tabulka, HornaHranica max, DolnaHranica min, int32_t pocet,
                      FilterCriterion kriterium, const Datum& dnes) noexcept {
    const std::size_t parts = partsFor(pocet);
    std::array<int32_t, most_parts> counts{};
    withValue(kriterium, [&](auto value) {
        inParts(pocet, parts, [&](std::size_t part, std::size_t from, std::size_t to) {
            int32_t vyhovuje = 0;
            for (std::size_t i = from; i < to; ++i) {
                vyhovuje += matches(value(*tabulka[i], dnes), max, min) ? 1 : 0;
            }
            counts[part] = vyhovuje;
        });
    });
    int32_t vyhovuje = 0;
    for (std::size_t part = 0; part < parts; ++part) {
        vyhovuje += counts[part];
    }
    return vyhovuje;
}

void copyMatching(Klient* const* tabulka, HornaHranica max, DolnaHranica min, int32_t pocet, int32_t limit,
                  Klient** ciel, FilterCriterion kriterium, const Datum& dnes) noexcept {
    withValue(kriterium, [&](auto value) {
        for (int32_t i = 0, k = 0; i < pocet && k < limit; ++i) {
            if (matches(value(*tabulka[i], dnes), max, min)) {
                ciel[k++] = tabulka[i];
            }
        }
    });
}
