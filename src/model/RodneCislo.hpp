#pragma once

#include "model/Datum.hpp"

#include <cstdint>
#include <string_view>

// The birth number of a client in the form YYMMDD/XXXX. Only positions 0 to 5
// carry meaning: the year, the month (raised by 50 for a woman) and the day.
// Birth date and ages are derived from them, never stored; the sex flag is
// derived once, when the text is set.
class RodneCislo {
public:
    static constexpr std::size_t capacity = 12; // 11 characters and the terminator

    // Stores the text (at most 11 characters; the reader guarantees that)
    // and derives the sex flag from it: month digits up to 50 count as a man.
    void setCislo(std::string_view text) noexcept;
    // The text field itself, zero behind the terminator, for the writers.
    constexpr const char (&cisloField() const noexcept)[capacity] { return cislo; }

    // Age in calendar years: the year of dnes minus the birth year, whose
    // digits 15 to 99 mean 1915 to 1999 and 00 to 14 mean 2000 to 2014.
    int32_t ageYears(const Datum& dnes) const noexcept;
    // Approximate age in days, the key of the ordering by age. See the
    // definition for the approximation and for birth months outside 1 to 12.
    int32_t ageDays(const Datum& dnes) const noexcept;

private:
    // The digit pair at positions p and p + 1 converted as atoi converts it.
    // A text shorter than p + 2 characters gives only the characters it has
    // (so a pair wholly behind the end of the text is 0); nothing behind the
    // terminator is read.
    int32_t digitPair(std::size_t p) const noexcept;
    int32_t birthYear() const noexcept;
    // The month digits, less 50 for a woman; not checked to be a real month.
    int32_t birthMonth() const noexcept;
    int32_t birthDay() const noexcept;

    char cislo[capacity] = {};
    int32_t muz = 1; // 1 for a man, 0 for a woman
};
