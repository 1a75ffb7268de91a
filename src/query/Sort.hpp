#pragma once

#include "model/Datum.hpp"
#include "model/Klient.hpp"
#include "model/ProgressCallback.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

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
    std::variant<TextKey, NumberKey> key;
};

// The ordering menu, in its order.
inline constexpr std::array<SortMenuItem, 9> sort_menu = {{
    {'1', "meno", SortCriterion::meno,
     SortMenuItem::TextKey{[](const Klient& k) -> const Klient::Field20& { return k.menoField(); }}},
    {'2', "priezvisko", SortCriterion::priezvisko,
     SortMenuItem::TextKey{[](const Klient& k) -> const Klient::Field20& { return k.priezviskoField(); }}},
    {'3', "mesto", SortCriterion::mesto,
     SortMenuItem::TextKey{[](const Klient& k) -> const Klient::Field20& { return k.mestoField(); }}},
    {'4', "povolanie", SortCriterion::povolanie,
     SortMenuItem::TextKey{[](const Klient& k) -> const Klient::Field20& { return k.povolanieField(); }}},
    {'5', "mesacny plat", SortCriterion::plat,
     SortMenuItem::NumberKey{[](const Klient& k, const Datum&) { return k.getPlat(); }}},
    {'6', "pocet uverov", SortCriterion::pocet_uverov,
     SortMenuItem::NumberKey{[](const Klient& k, const Datum&) { return k.getPocetUverov(); }}},
    {'7', "suma uverov", SortCriterion::suma_uverov,
     SortMenuItem::NumberKey{[](const Klient& k, const Datum&) { return k.getSumaUverov(); }}},
    {'8', "bonita", SortCriterion::bonita,
     SortMenuItem::NumberKey{[](const Klient& k, const Datum&) { return k.getBonita(); }}},
    {'9', "vek klienta", SortCriterion::vek,
     SortMenuItem::NumberKey{[](const Klient& k, const Datum& dnes) { return k.rc.ageDays(dnes); }}},
}};

// The criterion of a typed digit, if the menu has it.
std::optional<SortCriterion> sortCriterionFor(char digit) noexcept;
const SortMenuItem& menuItem(SortCriterion kriterium) noexcept;

// Three-way comparison of two records: the sign of the byte-wise text
// comparison for a text, exactly -1, 0 or 1 for a number.
int32_t compareClients(const Klient* a, const Klient* b, SortCriterion kriterium, const Datum& dnes) noexcept;

// The first pocet entries of the table in the order of the criterion, built
// beside the table, which stays as it is. The result is exactly that of a
// stable insertion sort with compareClients, but each key is taken once per
// ordering (all ages against the one date dnes), by as many threads as
// workers, and the work grows linearly but for runs of texts alike in their
// first eight bytes. Running out of memory throws std::bad_alloc. progress
// is told how far the ordering got, a few times over.
std::vector<Klient*> orderedTable(Klient* const* tabulka, int32_t pocet, SortCriterion kriterium, const Datum& dnes,
                                  const ProgressCallback& progress = {}, unsigned workers = 1);

// Reorders the first pocet pointers of the table in place, as orderedTable
// orders them; the records themselves are neither copied nor changed.
// Running out of memory leaves the table as it was.
void sortClients(Klient** tabulka, int32_t pocet, SortCriterion kriterium, const Datum& dnes,
                 const ProgressCallback& progress = {}, unsigned workers = 1);
