#include "model/Klient.hpp"

#include <gtest/gtest.h>

TEST(Klient, TextFieldsAtTheirLimitPassUnchanged) {
    Klient k{};
    const std::string meno(19, 'm');
    const std::string ulica(29, 'u');
    k.setMeno(meno);
    k.setPriezvisko(std::string(19, 'p'));
    k.setMesto(std::string(19, 'c'));
    k.setUlica(ulica);
    k.setPovolanie(std::string(19, 'o'));
    EXPECT_EQ(k.getMeno(), meno);
    EXPECT_EQ(k.getPriezvisko(), std::string(19, 'p'));
    EXPECT_EQ(k.getMesto(), std::string(19, 'c'));
    EXPECT_EQ(k.getUlica(), ulica);
    EXPECT_EQ(k.getPovolanie(), std::string(19, 'o'));
}

TEST(Klient, TooLongTextIsCutNeverWrittenPastTheField) {
    Klient k{};
    k.setMeno(std::string(100, 'x'));
    k.setPriezvisko("Novak");
    EXPECT_EQ(k.getMeno(), std::string(19, 'x'));
    EXPECT_EQ(k.getPriezvisko(), "Novak");
}

TEST(Klient, ShorterTextReplacesLongerCompletely) {
    Klient k{};
    k.setPriezvisko("Novakova");
    k.setPriezvisko("Nova");
    EXPECT_EQ(k.getPriezvisko(), "Nova");
    // The ordering reads the field's first bytes directly: nothing of the
    // longer text may stay behind the terminator.
    for (int i = 4; i < 20; ++i) {
        EXPECT_EQ(k.priezviskoPole()[i], '\0');
    }
}

TEST(RodneCisloSex, MonthDigitsUpToFiftyMeanAMan) {
    const struct {
        const char* cislo;
        int32_t muz;
    } pripady[] = {{"850312/0417", 1}, {"855312/0417", 0}, {"855012/0417", 1}, {"855112/0417", 0},
                   {"851212/0417", 1}, {"856212/0417", 0}, {"85ab12/0417", 1}, {"85", 1}, {"", 1}};
    for (const auto& p : pripady) {
        Klient k{};
        k.rc.setCislo(p.cislo);
        EXPECT_EQ(k.rc.getMuz(), p.muz) << p.cislo;
        EXPECT_EQ(k.rc.isMale(), p.muz) << p.cislo;
        EXPECT_EQ(k.rc.getCislo(), p.cislo);
    }
}

TEST(Klient, NulInTextEndsItAsInAZeroTerminatedCopy) {
    Klient k{};
    k.setMeno(std::string_view("Ja\0nko", 6));
    EXPECT_EQ(k.getMeno(), "Ja");
    for (int i = 2; i < 20; ++i) {
        EXPECT_EQ(k.menoPole()[i], '\0');
    }
}
