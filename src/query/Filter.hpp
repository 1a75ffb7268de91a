#pragma once

#include "model/Datum.hpp"
#include "model/Klient.hpp"

#include <cstdint>
#include <ostream>

// Filtering by one numeric attribute within an inclusive range. The criterion
// is the filter menu's character: '1' bonita, '2' pocet uverov, '3' suma
// uverov, '4' mesacna mzda, '5' vek (age in calendar years against dnes).
// The table is never reordered or changed; dnes is read once by the caller
// for the whole filter cycle, so that the count and the copy always agree.

// The bounds are distinct types because the count and the copy take the
// upper bound first: a call site cannot swap them unnoticed.
struct DolnaHranica {
    int32_t hodnota;
};
struct HornaHranica {
    int32_t hodnota;
};

// The value of a record under the criterion (0 for any other character).
int32_t filterValue(const Klient& klient, char kriterium, const Datum& dnes) noexcept;

// Writes the sentence with the lowest and the highest value of the attribute
// over the table, or, for an empty table, that there are no values.
void printFilterRange(Klient* const* tabulka, int32_t pocet, char kriterium, const Datum& dnes,
                      std::ostream& out);

// How many of the first pocet records have a value within min..max, both included.
int32_t countMatching(Klient* const* tabulka, HornaHranica max, DolnaHranica min, int32_t pocet,
                      char kriterium, const Datum& dnes) noexcept;

// Stores pointers to the matching records, in table order, into ciel from its
// first entry on, never more than limit of them.
void copyMatching(Klient* const* tabulka, HornaHranica max, DolnaHranica min, int32_t pocet,
                  int32_t limit, Klient** ciel, char kriterium, const Datum& dnes) noexcept;
