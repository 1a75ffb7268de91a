#include "model/RodneCislo.hpp"

#include <gtest/gtest.h>

namespace {

RodneCislo rc(const char* text) {
    RodneCislo r{};
    r.setCislo(text);
    return r;
}

} // namespace

TEST(RodneCislo, BirthDateFromTheDigits) {
    const struct {
        const char* cislo;
        int32_t rok, mesiac, den;
    } pripady[] = {
        {"900520/1234", 1990, 5, 20}, {"905520/1234", 1990, 5, 20},  // man and woman alike
        {"000101/0000", 2000, 1, 1},  {"140101/0000", 2014, 1, 1},   // below the pivot
        {"150101/0000", 1915, 1, 1},  {"990101/0000", 1999, 1, 1},   // from the pivot on
        {"855001/0000", 1985, 50, 1}, {"855101/0000", 1985, 1, 1},   // 50 a man, 51 a woman
        {"856212/0000", 1985, 12, 12}, {"859912/0000", 1985, 49, 12},
        {"ab0101/0000", 2000, 1, 1},  {"8a0101/0000", 2008, 1, 1},   // as atoi converts
        {"85ab01", 1985, 0, 1},       {"9005", 1990, 5, 0},          // short texts
        {"9", 2009, 0, 0},            {"", 2000, 0, 0},
    };
    for (const auto& p : pripady) {
        const RodneCislo r = rc(p.cislo);
        EXPECT_EQ(r.birthYear(), p.rok) << p.cislo;
        EXPECT_EQ(r.birthMonth(), p.mesiac) << p.cislo;
        EXPECT_EQ(r.birthDay(), p.den) << p.cislo;
    }
}

TEST(RodneCislo, AgesAgainstAFixedDate) {
    const struct {
        const char* cislo;
        Datum dnes;
        int32_t roky, dni;
    } pripady[] = {
        {"900520/1234", {2026, 12, 6}, 36, 13343},  // day borrow of the 31 days of May
        {"905520/1234", {2026, 12, 6}, 36, 13343},
        {"001206/0000", {2026, 12, 6}, 26, 9490},   // born on the current day and month
        {"001231/0000", {2026, 1, 1}, 26, 9126},    // day and month borrow together
        {"141231/0000", {2026, 12, 6}, 12, 4362},
        {"000731/0000", {2026, 8, 31}, 26, 9518},   // not monotonic: the older one
        {"000801/0000", {2026, 8, 31}, 26, 9520},   // gets fewer days here
        {"901206/0000", {2026, 1, 1}, 36, 12801},   // age in years ignores the birthday
        {"901320/0000", {2026, 12, 6}, 36, 13140},  // month 13: whole years only
        {"900020/0000", {2026, 12, 6}, 36, 13140},  // month 0: whole years only
        {"906320/0000", {2026, 12, 6}, 36, 13140},  // woman's month 13
        {"", {2026, 12, 6}, 26, 9490},              // empty: year 2000, month 0
    };
    for (const auto& p : pripady) {
        const RodneCislo r = rc(p.cislo);
        EXPECT_EQ(r.ageYears(p.dnes), p.roky) << p.cislo;
        EXPECT_EQ(r.ageDays(p.dnes), p.dni) << p.cislo;
    }
}

TEST(RodneCislo, AgeDaysStaysDefinedForAnyDayDigits) {
    // Day digits beyond the month, negative or missing must not disturb the
    // month arithmetic: the result is the formula's, with months 0 to 11.
    EXPECT_EQ(rc("900599/0000").ageDays({2026, 12, 6}), 6 * 31 + (37 - 99) + 36 * 365);
    EXPECT_EQ(rc("9005-5/0000").ageDays({2026, 12, 6}), 7 * 31 + 11 + 36 * 365);
    EXPECT_EQ(rc("9005").ageDays({2026, 12, 6}), 7 * 31 + 6 + 36 * 365);
}
