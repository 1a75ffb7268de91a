#pragma once

#include "model/Datum.hpp"
#include "model/Klient.hpp"
#include "query/ValueBands.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string_view>

// Filtering by one numeric attribute within an inclusive range. The table is
// never reordered or changed; dnes is read once by the caller for the whole
// filter cycle, so that the count and the copy always agree.

// The attributes of the filter menu. Its digits differ from the ordering
// menu's for the same attributes, so the two are distinct types.
enum class FilterCriterion { bonita, pocet_uverov, suma_uverov, plat, vek };

// One line of the filter menu: the label the menu shows, the label of the
// range report, and the value of a record.
struct FilterMenuItem {
    std::string_view label;
    std::string_view range_label;
    FilterCriterion kriterium;
    int32_t (*value)(const Klient&, const Datum&);
};

// The filter menu, in its order; vek is the age in calendar years.
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

// The criterion of a typed digit, if the menu has it.
std::optional<FilterCriterion> filterCriterionFor(char digit) noexcept;
const FilterMenuItem& menuItem(FilterCriterion kriterium) noexcept;

// The bounds are distinct types because the count and the copy take the
// upper bound first: a call site cannot swap them unnoticed.
struct DolnaHranica {
    int32_t hodnota;
};
struct HornaHranica {
    int32_t hodnota;
};

// Writes the sentence with the lowest and the highest value of the attribute
// over the table, or, for an empty table, that there are no values. The
// same pass counts every value into the histogram, if one is given.
void printFilterRange(Klient* const* tabulka, int32_t pocet, FilterCriterion kriterium, const Datum& dnes,
                      std::ostream& out, ValueHistogram* histogram = nullptr);

// How many of the first pocet records have a value within min..max, both included.
int32_t countMatching(Klient* const* tabulka, HornaHranica max, DolnaHranica min, int32_t pocet,
                      FilterCriterion kriterium, const Datum& dnes) noexcept;

// Stores pointers to the matching records, in table order, into ciel from its
// first entry on, never more than limit of them.
void copyMatching(Klient* const* tabulka, HornaHranica max, DolnaHranica min, int32_t pocet, int32_t limit,
                  Klient** ciel, FilterCriterion kriterium, const Datum& dnes) noexcept;
