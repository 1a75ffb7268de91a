#include "model/RodneCislo.hpp"

#include "text/Decimal.hpp"
#include "text/FixedText.hpp"

// Month lengths January to December; February always has 28 days.
constexpr int32_t dni_v_mesiaci[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

void RodneCislo::setCislo(std::string_view text) noexcept {
    storeFixedText(cislo, text);
    muz = digitPair(2) <= 50 ? 1 : 0;
}

int32_t RodneCislo::digitPair(std::size_t p) const noexcept {
    // The text's length as far as the pair reaches: nothing behind the
    // terminator is read.
    std::size_t length = 0;
    while (length < p + 2 && cislo[length] != '\0') {
        ++length;
    }
    return p < length ? parseAtoi({cislo + p, length - p}) : 0;
}

int32_t RodneCislo::birthYear() const noexcept {
    const int32_t v = digitPair(0);
    return v >= 15 ? 1900 + v : 2000 + v;
}

int32_t RodneCislo::ageDays(const Datum& dnes) const noexcept {
    const int32_t rok_narodenia = birthYear();
    // The month digits, less 50 for a woman, are not checked to be a month.
    const int32_t mesiac_narodenia = muz == 1 ? digitPair(2) : digitPair(2) - 50;
    const int32_t den_narodenia = digitPair(4);
    const int32_t cele_roky = 365 * (dnes.rok - rok_narodenia);
    // A birth month outside 1 to 12 has no length to borrow: such a client is
    // aged by whole calendar years alone, 365 days each.
    if (mesiac_narodenia < 1 || mesiac_narodenia > 12) {
        return cele_roky;
    }
    auto [y, m, d] = dnes;
    // Day borrow: the length added is that of the birth month.
    if (den_narodenia > d) {
        d += dni_v_mesiaci[mesiac_narodenia - 1];
        m -= 1;
    }
    if (mesiac_narodenia > m) {
        y -= 1;
        m += 12;
    }
    const int32_t mesiace = m - mesiac_narodenia;
    // For a real current month the month count is 0 to 11; a current date
    // outside the calendar falls back to whole years as above.
    if (mesiace < 0 || mesiace > 11) {
        return cele_roky;
    }
    // The months term multiplies the count by the length of month number
    // mesiace + 1: an approximation kept on purpose, as the ordering defines it.
    return mesiace * dni_v_mesiaci[mesiace] + (d - den_narodenia) + 365 * (y - rok_narodenia);
}
