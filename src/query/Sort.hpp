#pragma once

#include "model/Datum.hpp"
#include "model/Klient.hpp"
#include "memory/MemoryBlock.hpp"
#include "progress/ProgressCallback.hpp"
#include "query/Collation.hpp"
#include "query/Menu.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

// Ordering by one attribute, ascending and stable: texts in byte order,
// numbers from the smallest, the age from the youngest.

// Its digits differ from the filter menu's, hence a type of its own.
enum class SortCriterion { meno, priezvisko, mesto, povolanie, plat, pocet_uverov, suma_uverov, bonita, vek };

// A menu line: its label and the key of a record, a text field or a number
// (vek is the age in days against dnes).
struct SortMenuItem {
    using NumberKey = int32_t (*)(const Klient&, const Datum&);
    std::string_view label;
    SortCriterion kriterium;
    std::variant<TextKey, NumberKey> key;
};

inline constexpr std::array<SortMenuItem, 9> sort_menu = {{
    {"meno", SortCriterion::meno, [](const Klient& k) -> auto& { return k.menoField(); }},
    {"priezvisko", SortCriterion::priezvisko, [](const Klient& k) -> auto& { return k.priezviskoField(); }},
    {"mesto", SortCriterion::mesto, [](const Klient& k) -> auto& { return k.mestoField(); }},
    {"povolanie", SortCriterion::povolanie, [](const Klient& k) -> auto& { return k.povolanieField(); }},
    {"mesacny plat", SortCriterion::plat, [](const Klient& k, const Datum&) { return k.getPlat(); }},
    {"pocet uverov", SortCriterion::pocet_uverov, [](const Klient& k, const Datum&) { return k.getPocetUverov(); }},
    {"suma uverov", SortCriterion::suma_uverov, [](const Klient& k, const Datum&) { return k.getSumaUverov(); }},
    {"bonita", SortCriterion::bonita, [](const Klient& k, const Datum&) { return k.getBonita(); }},
    {"vek klienta", SortCriterion::vek, [](const Klient& k, const Datum& dnes) { return k.rc.ageDays(dnes); }},
}};
static_assert(listedInOrder(sort_menu));

inline std::optional<SortCriterion> sortCriterionFor(char digit) noexcept { return criterionFor(sort_menu, digit); }
inline const SortMenuItem& menuItem(SortCriterion kriterium) noexcept {
    return sort_menu[static_cast<std::size_t>(kriterium)];
}

// One key of an ordering: a criterion, from the least or from the greatest.
struct SortKey {
    SortCriterion kriterium;
    bool descending = false;
};

// The first pocet entries of the table ordered by the keys, the first the most
// important; texts by their bytes (unsigned) or by the Slovak collation;
// entries equal on every key keep their order. Built beside the table, which
// the caller rearranges once nothing can fail. Each key is taken once, by
// workers threads; the work is linear but for runs of texts alike in their
// first eight bytes, and for the collation a key per distinct text. Throws
// std::bad_alloc, CollationError.
HugeVector<Klient*> sortClients(Klient* const* tabulka, int32_t pocet, std::span<const SortKey> keys,
                                 const Datum& dnes, Collation collation = Collation::bytes,
                                 const ProgressCallback& progress = {}, unsigned workers = 1);
inline HugeVector<Klient*> sortClients(Klient* const* tabulka, int32_t pocet, SortCriterion kriterium,
                                        const Datum& dnes, const ProgressCallback& progress = {},
                                        unsigned workers = 1) {
    const SortKey key{kriterium};
    return sortClients(tabulka, pocet, std::span(&key, 1), dnes, Collation::bytes, progress, workers);
}
