#pragma once

#include "model/Datum.hpp"
#include "model/Klient.hpp"
#include "model/ProgressCallback.hpp"

#include <cstdint>

// Ordering by the ordering menu's character: '1' meno, '2' priezvisko,
// '3' mesto, '4' povolanie (texts in byte order), '5' monthly salary,
// '6' pocet uverov, '7' suma uverov, '8' bonita, '9' age in days against
// dnes (numbers from the smallest, age from the youngest). Always ascending
// and stable.

// Three-way comparison of two records: the sign of the byte-wise text
// comparison for '1' to '4', exactly -1, 0 or 1 for '5' to '9', and 0 for
// any other character.
int32_t compareClients(const Klient* a, const Klient* b, char kriterium, const Datum& dnes) noexcept;

// Reorders the first pocet pointers of the table in place; the records
// themselves are neither copied nor changed. The result is exactly that of a
// stable insertion sort with compareClients, but each key is taken once per
// ordering (all ages against the one date dnes) and the work grows as
// n log n at most. A criterion outside '1' to '9' leaves the table as it is.
// progress is told how far the ordering got, a few times per million records.
void sortClients(Klient** tabulka, int32_t pocet, char kriterium, const Datum& dnes,
                 const ProgressCallback& progress = {});
