#pragma once

#include "model/Datum.hpp"
#include "model/Klient.hpp"
#include "model/ProgressCallback.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// Ordering by one attribute: always ascending and stable; texts in byte
// order, numbers from the smallest, the age from the youngest.

// The attributes of the ordering menu. Its digits differ from the filter
// menu's for the same attributes, so the two are distinct types.
enum class SortCriterion { meno, priezvisko, mesto, povolanie, plat, pocet_uverov, suma_uverov, bonita, vek };

// One line of the ordering menu: the digit typed, the label the menu shows,
// and the key of a record: a text field of 20 bytes, or a number (vek is the
// age in days against dnes).
struct SortMenuItem {
    using TextKey = const Klient::Field20& (*)(const Klient&);
    using NumberKey = int32_t (*)(const Klient&, const Datum&);
    char digit;
    std::string_view label;
    SortCriterion kriterium;
    TextKey text;     // null for a number
    NumberKey number; // null for a text
};

// The ordering menu, in its order.
inline constexpr std::array<SortMenuItem, 9> sort_menu = {{
    {'1', "meno", SortCriterion::meno, [](const Klient& k) -> const Klient::Field20& { return k.menoField(); }, nullptr},
    {'2', "priezvisko", SortCriterion::priezvisko,
     [](const Klient& k) -> const Klient::Field20& { return k.priezviskoField(); }, nullptr},
    {'3', "mesto", SortCriterion::mesto, [](const Klient& k) -> const Klient::Field20& { return k.mestoField(); },
     nullptr},
    {'4', "povolanie", SortCriterion::povolanie,
     [](const Klient& k) -> const Klient::Field20& { return k.povolanieField(); }, nullptr},
    {'5', "mesacny plat", SortCriterion::plat, nullptr, [](const Klient& k, const Datum&) { return k.getPlat(); }},
    {'6', "pocet uverov", SortCriterion::pocet_uverov, nullptr,
     [](const Klient& k, const Datum&) { return k.getPocetUverov(); }},
    {'7', "suma uverov", SortCriterion::suma_uverov, nullptr,
     [](const Klient& k, const Datum&) { return k.getSumaUverov(); }},
    {'8', "bonita", SortCriterion::bonita, nullptr, [](const Klient& k, const Datum&) { return k.getBonita(); }},
    {'9', "vek klienta", SortCriterion::vek, nullptr,
     [](const Klient& k, const Datum& dnes) { return k.rc.ageDays(dnes); }},
}};

// The criterion of a typed digit, if the menu has it.
std::optional<SortCriterion> sortCriterionFor(char digit) noexcept;
const SortMenuItem& menuItem(SortCriterion kriterium) noexcept;

// Three-way comparison of two records: the sign of the byte-wise text
// comparison for a text, exactly -1, 0 or 1 for a number.
int32_t compareClients(const Klient* a, const Klient* b, SortCriterion kriterium, const Datum& dnes) noexcept;

// Reorders the first pocet pointers of the table in place; the records
// themselves are neither copied nor changed. The result is exactly that of a
// stable insertion sort with compareClients, but each key is taken once per
// ordering (all ages against the one date dnes) and the work grows linearly
// but for runs of texts alike in their first eight bytes. Running out of
// memory throws std::bad_alloc and leaves the table as it was. progress is
// told how far the ordering got, a few times per million records.
void sortClients(Klient** tabulka, int32_t pocet, SortCriterion kriterium, const Datum& dnes,
                 const ProgressCallback& progress = {});
