#pragma once

#include "model/Datum.hpp"

#include <cstdint>
#include <string_view>

// The birth number of a client, YYMMDD/XXXX. Only positions 0 to 5 carry
// meaning: the year, the month (raised by 50 for a woman) and the day. Ages are
// derived, never stored; the sex flag once, when the text is set.
class RodneCislo {
public:
    static constexpr std::size_t capacity = 12; // 11 characters and the terminator

    // At most 11 characters (the reader guarantees that); month digits up to 50 mean a man.
    void setCislo(std::string_view text) noexcept;
    // The text field itself, zero behind the terminator, for the writers.
    constexpr const char (&cisloField() const noexcept)[capacity] { return cislo; }

    // The year of dnes less the birth year, whose digits 15 to 99 mean 1915 to
    // 1999 and 00 to 14 mean 2000 to 2014.
    int32_t ageYears(const Datum& dnes) const noexcept { return dnes.rok - birthYear(); }
    // Approximate age in days, the key of the ordering by age; see the definition.
    int32_t ageDays(const Datum& dnes) const noexcept;

private:
    // The digit pair at positions p and p + 1 as atoi converts it: a shorter
    // text gives the characters it has, and nothing behind the terminator is read.
    int32_t digitPair(std::size_t p) const noexcept;
    int32_t birthYear() const noexcept;

    char cislo[capacity] = {};
    int32_t muz = 1; // 1 for a man, 0 for a woman
};
