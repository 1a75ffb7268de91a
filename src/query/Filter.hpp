#pragma once

#include "model/Datum.hpp"
#include "model/Klient.hpp"
#include "query/Menu.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <variant>

// Filtering: the records that pass every filter, in table order; the table is
// never changed. The caller reads dnes once, so that count and copy agree.

// The filter menu's attributes; its digits differ from the ordering menu's,
// hence a type of its own.
enum class FilterCriterion { bonita, pocet_uverov, suma_uverov, plat, vek };

// A menu line: its label, the label of the range report, the value of a record.
struct FilterMenuItem {
    std::string_view label;
    std::string_view range_label;
    FilterCriterion kriterium;
    int32_t (*value)(const Klient&, const Datum&);
};

inline constexpr std::array<FilterMenuItem, 5> filter_menu = {{
    {"bonita", "bonita", FilterCriterion::bonita,
     [](const Klient& k, const Datum&) { return k.getBonita(); }},
    {"pocet uverov", "pocet uverov", FilterCriterion::pocet_uverov,
     [](const Klient& k, const Datum&) { return k.getPocetUverov(); }},
    {"suma uverov", "suma uverov", FilterCriterion::suma_uverov,
     [](const Klient& k, const Datum&) { return k.getSumaUverov(); }},
    {"mesacna mzda", "mesacna mzda", FilterCriterion::plat,
     [](const Klient& k, const Datum&) { return k.getPlat(); }},
    {"vek klienta", "vek", FilterCriterion::vek,
     [](const Klient& k, const Datum& dnes) { return k.rc.ageYears(dnes); }},
}};
static_assert(listedInOrder(filter_menu));

inline std::optional<FilterCriterion> filterCriterionFor(char digit) noexcept { return criterionFor(filter_menu, digit); }
inline const FilterMenuItem& menuItem(FilterCriterion kriterium) noexcept {
    return filter_menu[static_cast<std::size_t>(kriterium)];
}

// Values from min to max, both included: a filter's bounds (min above max
// holds none), or the values a table holds.
struct ValueRange {
    int32_t min;
    int32_t max;
};

// A number within a range, or a text field equal to a text, byte for byte.
struct NumberFilter {
    FilterCriterion kriterium;
    ValueRange range;
};
struct TextFilter {
    TextKey field;
    std::string text;
};
using Filter = std::variant<NumberFilter, TextFilter>;

// Writes the sentence with the lowest and highest value over the table, or that
// there are none; returns that range, none for an empty table.
std::optional<ValueRange> printFilterRange(const Klient* const* tabulka, int32_t pocet, FilterCriterion kriterium,
                                           const Datum& dnes, std::ostream& out);

// How many of the first pocet records pass every filter.
int32_t countMatching(const Klient* const* tabulka, int32_t pocet, std::span<const Filter> filters,
                      const Datum& dnes) noexcept;

// Stores those records, in table order, into ciel; at most limit of them.
void copyMatching(Klient* const* tabulka, int32_t pocet, std::span<const Filter> filters, int32_t limit, Klient** ciel,
                  const Datum& dnes) noexcept;
