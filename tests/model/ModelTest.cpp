#include "text/Decimal.hpp"
#include "model/Klient.hpp"

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <climits>

TEST(ParseAtoi, FollowsTheCLibraryRulesWithoutOverflow) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"0950", 950}, {"", 0}, {"abc", 0}, {"-5", -5}, {"+7", 7}, {"  42", 42}, {"\t\n3", 3}, {"\v\f\r7", 7}, {"12ab", 12},
        {"1 2", 1}, {"- 5", 0}, {"--5", 0}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
        {"99999999999999", INT32_MAX}, {"-99999999999999", INT32_MIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseAtoi(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(Klient, TextFieldsKeepTheirLimitAndNothingBehindTheTerminator) {
    Klient k;
    EXPECT_EQ(text(k.menoField()), "");
    EXPECT_EQ(k.getPlat(), 0);
    k.setUlica(std::string(29, 'u'));
    EXPECT_EQ(text(k.ulicaField()), std::string(29, 'u'));
    k.setMeno(std::string(100, 'x')); // cut, never written past the field
    EXPECT_EQ(text(k.menoField()), std::string(19, 'x'));
    k.setPriezvisko("Novakova");
    k.setPriezvisko("Nova");
    EXPECT_EQ(text(k.priezviskoField()), "Nova");
    // The ordering reads whole fields: nothing of a longer text stays behind.
    for (std::size_t i = 4; i < sizeof(Klient::Field20); ++i) {
        EXPECT_EQ(k.priezviskoField()[i], '\0');
    }
}

// The birth date and the sex come out of the digits only through the ages,
// the one use the program has for them.
TEST(RodneCislo, AgesAgainstAFixedDate) {
    const Datum december{2026, 12, 6};
    const struct {
        const char* cislo;
        Datum dnes;
        int32_t roky, dni;
    } cases[] = {
        {"900520/1234", december, 36, 13343},         // day borrow of the 31 days of May
        {"905520/1234", december, 36, 13343},         // a woman: month digits less 50
        {"855501/0000", december, 41, 41 * 365 + 7 * 31 + 5}, // 55: a woman born in May
        {"855001/0000", december, 41, 41 * 365},      // 50: a man with month 50, aged by whole years
        {"001206/0000", december, 26, 9490},          // born on the current day and month
        {"001231/0000", {2026, 1, 1}, 26, 9126},      // day and month borrow together
        {"141231/0000", december, 12, 4362},          // year digits 14: 2014
        {"150101/0000", december, 111, 111 * 365 + 11 * 31 + 5}, // 15: 1915
        {"990101/0000", december, 27, 27 * 365 + 11 * 31 + 5},
        {"900430/0000", december, 36, 36 * 365 + 7 * 31 + 6},    // the 30 days of April borrowed
        {"900228/0000", {2026, 3, 1}, 36, 36 * 365 + 1},         // the 28 days of February borrowed
        {"000731/0000", {2026, 8, 31}, 26, 9518},     // not monotonic: the older one
        {"000801/0000", {2026, 8, 31}, 26, 9520},     // gets fewer days here
        {"901206/0000", {2026, 1, 1}, 36, 12801},     // age in years ignores the birthday
        {"901320/0000", december, 36, 13140},         // month 13: whole years only
        {"900020/0000", december, 36, 13140},         // month 0: whole years only
        {"ab0101/0000", december, 26, 26 * 365 + 11 * 31 + 5},  // letters convert as atoi does: 00
        {"8a0101/0000", december, 18, 18 * 365 + 11 * 31 + 5},  // a digit and a letter: 8, so 2008
        {"9005", december, 36, 36 * 365 + 7 * 31 + 6}, // no day digits: day 0 borrows nothing
        {"", december, 26, 9490},                     // empty: year 2000, month 0
        {"900599/0000", december, 36, 6 * 31 + (37 - 99) + 36 * 365}, // day digits beyond the month
        {"9005-5/0000", december, 36, 7 * 31 + 11 + 36 * 365},         // negative day digits
    };
    for (const auto& c : cases) {
        RodneCislo r;
        r.setCislo(c.cislo);
        EXPECT_EQ(text(r.cisloField()), c.cislo);
        EXPECT_EQ(r.ageYears(c.dnes), c.roky) << c.cislo;
        EXPECT_EQ(r.ageDays(c.dnes), c.dni) << c.cislo;
    }
}
