#include "model/Decimal.hpp"
#include "model/Klient.hpp"

#include <gtest/gtest.h>

#include <climits>

TEST(ParseAtoi, FollowsTheCLibraryRulesWithoutOverflow) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"0950", 950}, {"", 0}, {"abc", 0}, {"-5", -5}, {"+7", 7}, {"  42", 42}, {"\t\n3", 3}, {"12ab", 12},
        {"1 2", 1}, {"- 5", 0}, {"--5", 0}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
        {"99999999999999", INT32_MAX}, {"-99999999999999", INT32_MIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseAtoi(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(Klient, TextFieldsKeepTheirLimitAndNothingBehindTheTerminator) {
    Klient k;
    EXPECT_EQ(k.getMeno(), "");
    EXPECT_EQ(k.getPlat(), 0);
    k.setUlica(std::string(29, 'u'));
    EXPECT_EQ(k.getUlica(), std::string(29, 'u'));
    k.setMeno(std::string(100, 'x')); // cut, never written past the field
    EXPECT_EQ(k.getMeno(), std::string(19, 'x'));
    k.setPriezvisko("Novakova");
    k.setPriezvisko("Nova");
    EXPECT_EQ(k.getPriezvisko(), "Nova");
    k.setMesto(std::string_view("Ni\0tra", 6)); // a NUL ends the text
    EXPECT_EQ(k.getMesto(), "Ni");
    // The ordering reads whole fields: nothing of a longer text stays behind.
    for (std::size_t i = 4; i < sizeof(Klient::Field20); ++i) {
        EXPECT_EQ(k.priezviskoField()[i], '\0');
        EXPECT_EQ(k.mestoField()[i - 2], '\0');
    }
}

TEST(RodneCislo, SexAndBirthDateFromTheDigits) {
    const struct {
        const char* cislo;
        int32_t muz, rok, mesiac, den;
    } cases[] = {
        {"900520/1234", 1, 1990, 5, 20}, {"905520/1234", 0, 1990, 5, 20},  // man and woman alike
        {"000101/0000", 1, 2000, 1, 1},  {"140101/0000", 1, 2014, 1, 1},   // below the pivot
        {"150101/0000", 1, 1915, 1, 1},  {"990101/0000", 1, 1999, 1, 1},   // from the pivot on
        {"855001/0000", 1, 1985, 50, 1}, {"855101/0000", 0, 1985, 1, 1},   // 50 a man, 51 a woman
        {"859912/0000", 0, 1985, 49, 12}, {"ab0101/0000", 1, 2000, 1, 1},  // as atoi converts
        {"8a0101/0000", 1, 2008, 1, 1},  {"85ab01", 1, 1985, 0, 1},        // short texts
        {"9005", 1, 1990, 5, 0},         {"", 1, 2000, 0, 0},
    };
    for (const auto& c : cases) {
        RodneCislo r;
        r.setCislo(c.cislo);
        EXPECT_EQ(r.getCislo(), c.cislo);
        EXPECT_EQ(r.isMale(), c.muz) << c.cislo;
        EXPECT_EQ(r.birthYear(), c.rok) << c.cislo;
        EXPECT_EQ(r.birthMonth(), c.mesiac) << c.cislo;
        EXPECT_EQ(r.birthDay(), c.den) << c.cislo;
    }
}

TEST(RodneCislo, AgesAgainstAFixedDate) {
    const struct {
        const char* cislo;
        Datum dnes;
        int32_t roky, dni;
    } cases[] = {
        {"900520/1234", {2026, 12, 6}, 36, 13343}, // day borrow of the 31 days of May
        {"905520/1234", {2026, 12, 6}, 36, 13343},
        {"001206/0000", {2026, 12, 6}, 26, 9490},  // born on the current day and month
        {"001231/0000", {2026, 1, 1}, 26, 9126},   // day and month borrow together
        {"141231/0000", {2026, 12, 6}, 12, 4362},
        {"000731/0000", {2026, 8, 31}, 26, 9518},  // not monotonic: the older one
        {"000801/0000", {2026, 8, 31}, 26, 9520},  // gets fewer days here
        {"901206/0000", {2026, 1, 1}, 36, 12801},  // age in years ignores the birthday
        {"901320/0000", {2026, 12, 6}, 36, 13140}, // month 13: whole years only
        {"900020/0000", {2026, 12, 6}, 36, 13140}, // month 0: whole years only
        {"", {2026, 12, 6}, 26, 9490},             // empty: year 2000, month 0
        {"900599/0000", {2026, 12, 6}, 36, 6 * 31 + (37 - 99) + 36 * 365}, // day digits beyond the month
        {"9005-5/0000", {2026, 12, 6}, 36, 7 * 31 + 11 + 36 * 365},         // negative day digits
    };
    for (const auto& c : cases) {
        RodneCislo r;
        r.setCislo(c.cislo);
        EXPECT_EQ(r.ageYears(c.dnes), c.roky) << c.cislo;
        EXPECT_EQ(r.ageDays(c.dnes), c.dni) << c.cislo;
    }
}
