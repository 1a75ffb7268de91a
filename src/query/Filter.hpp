#pragma once

#include "model/Datum.hpp"
#include "model/Klient.hpp"
#include "query/Menu.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string_view>

// Filtering by one numeric attribute within an inclusive range; the table is never
// changed. The caller reads dnes once per cycle, so that count and copy agree.

// Its digits differ from the ordering menu's, hence a type of its own.
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

// Distinct types, because the count and the copy take the upper bound first:
// a call site cannot swap them unnoticed.
struct DolnaHranica { int32_t hodnota; };
struct HornaHranica { int32_t hodnota; };

// The lowest and the highest value of an attribute over a table.
struct ValueRange { int32_t lowest; int32_t highest; };

// Writes the sentence with the lowest and highest value over the table, or that
// there are none; returns that range, none for an empty table.
std::optional<ValueRange> printFilterRange(const Klient* const* tabulka, int32_t pocet, FilterCriterion kriterium,
                                           const Datum& dnes, std::ostream& out);

// How many of the first pocet records have a value within min..max, both included.
int32_t countMatching(const Klient* const* tabulka, HornaHranica max, DolnaHranica min, int32_t pocet,
                      FilterCriterion kriterium, const Datum& dnes) noexcept;

// Stores the matching records, in table order, into ciel; at most limit of them.
void copyMatching(Klient* const* tabulka, HornaHranica max, DolnaHranica min, int32_t pocet, int32_t limit,
                  Klient** ciel, FilterCriterion kriterium, const Datum& dnes) noexcept;
