#include "query/Filter.hpp"

#include "text/FixedText.hpp"
#include "threads/SideBySide.hpp"

#include <algorithm>
#include <array>
#include <utility>

namespace {

bool within(int32_t v, ValueRange range) noexcept { return v >= range.min && v <= range.max; }

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

bool passes(const Klient& k, const Filter& filter, const Datum& dnes) noexcept {
    if (const auto* number = std::get_if<NumberFilter>(&filter)) {
        return within(menuItem(number->kriterium).value(k, dnes), number->range);
    }
    const auto& text = std::get<TextFilter>(filter);
    return viewFixedText(text.field(k)) == text.text;
}

// Calls pass(passing) with a test of a record against every filter. A first
// number filter (the dialogue's one) is inlined whole, and the others are
// asked only of the records it passes.
template <typename Pass>
void withTest(std::span<const Filter> filters, const Datum& dnes, Pass&& pass) {
    const auto rest = [&](const Klient& k, std::size_t from) {
        return std::all_of(filters.begin() + static_cast<std::ptrdiff_t>(from), filters.end(),
                           [&](const Filter& f) { return passes(k, f, dnes); });
    };
    if (!filters.empty() && std::holds_alternative<NumberFilter>(filters[0])) {
        const NumberFilter first = std::get<NumberFilter>(filters[0]);
        withValue(first.kriterium, [&](auto value) {
            pass([&](const Klient& k) { return within(value(k, dnes), first.range) && rest(k, 1); });
        });
        return;
    }
    pass([&](const Klient& k) { return rest(k, 0); });
}

constexpr std::size_t most_parts = 4;

} // namespace

std::optional<ValueRange> printFilterRange(const Klient* const* tabulka, int32_t pocet, FilterCriterion kriterium,
                                           const Datum& dnes, std::ostream& out) {
    const FilterMenuItem& item = menuItem(kriterium);
    if (pocet <= 0) {
        out << "\nPre kriterium \"" << item.range_label << "\" sa v subore nenachadzaju ziadne hodnoty.\n";
        return std::nullopt;
    }
    const auto n = static_cast<std::size_t>(pocet);
    const unsigned workers = workerCount();
    std::array<ValueRange, most_parts> ranges;
    withValue(kriterium, [&](auto value) {
        forEachPart(n, workers, [&](std::size_t part, std::size_t from, std::size_t to) {
            ValueRange range{value(*tabulka[from], dnes), value(*tabulka[from], dnes)};
            for (std::size_t i = from + 1; i < to; ++i) {
                const int32_t v = value(*tabulka[i], dnes);
                range.min = std::min(range.min, v);
                range.max = std::max(range.max, v);
            }
            ranges[part] = range;
        });
    });
    ValueRange range = ranges[0];
    for (std::size_t part = 1; part < partCount(n, workers); ++part) {
        range.min = std::min(range.min, ranges[part].min);
        range.max = std::max(range.max, ranges[part].max);
    }
    out << "\nPre kriterium \"" << item.range_label << "\" sa v subore nachadzaju hodnoty v intervale od "
        << range.min << " do " << range.max << ".\n";
    return range;
}

int32_t countMatching(const Klient* const* tabulka, int32_t pocet, std::span<const Filter> filters,
                      const Datum& dnes) noexcept {
    const auto n = static_cast<std::size_t>(std::max(pocet, 0));
    const unsigned workers = workerCount();
    std::array<int32_t, most_parts> counts{};
    withTest(filters, dnes, [&](auto test) {
        forEachPart(n, workers, [&](std::size_t part, std::size_t from, std::size_t to) {
            int32_t vyhovuje = 0;
            for (std::size_t i = from; i < to; ++i) {
                vyhovuje += test(*tabulka[i]) ? 1 : 0;
            }
            counts[part] = vyhovuje;
        });
    });
    int32_t vyhovuje = 0;
    for (const int32_t count : counts) {
        vyhovuje += count;
    }
    return vyhovuje;
}

void copyMatching(Klient* const* tabulka, int32_t pocet, std::span<const Filter> filters, int32_t limit, Klient** ciel,
                  const Datum& dnes) noexcept {
    withTest(filters, dnes, [&](auto test) {
        for (int32_t i = 0, k = 0; i < pocet && k < limit; ++i) {
            if (test(*tabulka[i])) {
                ciel[k++] = tabulka[i];
            }
        }
    });
}
