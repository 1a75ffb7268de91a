#pragma once

#include "model/Datum.hpp"
#include "model/Klient.hpp"
#include "progress/ProgressCallback.hpp"

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

// One line of the ordering menu: the label the menu shows, and the key of a record: a text field of 20 bytes, or a number (vek is the
// age in days against dnes).
struct SortMenuItem {
    using TextKey = const Klient::Field20& (*)(const Klient&);
    using NumberKey = int32_t (*)(const Klient&, const Datum&);
    std::string_view label;
    SortCriterion kriterium;
    std::variant<TextKey, NumberKey> key;
};

// The ordering menu, in its order.
inline constexpr std::array<SortMenuItem, 9> sort_menu = {{
    {"meno", SortCriterion::meno,
     SortMenuItem::TextKey{[](const Klient& k) -> const Klient::Field20& { return k.menoField(); }}},
    {"priezvisko", SortCriterion::priezvisko,
     SortMenuItem::TextKey{[](const Klient& k) -> const Klient::Field20& { return k.priezviskoField(); }}},
    {"mesto", SortCriterion::mesto,
     SortMenuItem::TextKey{[](const Klient& k) -> const Klient::Field20& { return k.mestoField(); }}},
    {"povolanie", SortCriterion::povolanie,
     SortMenuItem::TextKey{[](const Klient& k) -> const Klient::Field20& { return k.povolanieField(); }}},
    {"mesacny plat", SortCriterion::plat,
     SortMenuItem::NumberKey{[](const Klient& k, const Datum&) { return k.getPlat(); }}},
    {"pocet uverov", SortCriterion::pocet_uverov,
     SortMenuItem::NumberKey{[](const Klient& k, const Datum&) { return k.getPocetUverov(); }}},
    {"suma uverov", SortCriterion::suma_uverov,
     SortMenuItem::NumberKey{[](const Klient& k, const Datum&) { return k.getSumaUverov(); }}},
    {"bonita", SortCriterion::bonita,
     SortMenuItem::NumberKey{[](const Klient& k, const Datum&) { return k.getBonita(); }}},
    {"vek klienta", SortCriterion::vek,
     SortMenuItem::NumberKey{[](const Klient& k, const Datum& dnes) { return k.rc.ageDays(dnes); }}},
}};

// The criterion of a typed digit, if the menu has it.
std::optional<SortCriterion> sortCriterionFor(char digit) noexcept;
const SortMenuItem& menuItem(SortCriterion kriterium) noexcept;

// The first pocet entries of the table in the order of the criterion,
// ascending and stable (entries of equal keys keep their order), built beside
// the table, which stays as it is: the caller puts the new order in place
// once nothing can fail any more. Texts compare byte by byte as unsigned
// characters; all ages are taken against the one date dnes. Each key is taken
// once, by as many threads as workers, and the work grows linearly but for
// runs of texts alike in their first eight bytes. Running out of memory
// throws std::bad_alloc. progress is told how far the ordering got.
std::vector<Klient*> sortClients(Klient* const* tabulka, int32_t pocet, SortCriterion kriterium, const Datum& dnes,
                                 const ProgressCallback& progress = {}, unsigned workers = 1);
