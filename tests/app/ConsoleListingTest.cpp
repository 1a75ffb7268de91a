#include "app/ConsoleListing.hpp"

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string listing(const TestTable& t) {
    std::ostringstream out;
    TextBuffer buffer(16);
    printClients(t.tabulka.data(), t.pocet(), out, buffer);
    return out.str();
}

} // namespace

TEST(ConsoleListing, BlockOfOneRecord) {
    TestTable t;
    t.pridaj("850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1");
    EXPECT_EQ(listing(t),
              "Klient c. 1\n"
              "Meno: Jan\n"
              "Priezvisko: Novak\n"
              "Adresa: Hlavna 12, Nitra\n"
              "Povolanie: ucitel\n"
              "Mesacna mzda: 950 eur\n"
              "Pocet uverov: 2\n"
              "Suma uverov: 800 eur\n"
              "Bonita: 80 bodov (max. 100)\n"
              "Platobna disciplina: vyborna\n"
              "______________________________\n");
}

TEST(ConsoleListing, BlocksAreNumberedInTableOrderWithoutGaps) {
    TestTable t;
    t.pridaj("850312/0417,A,a,u,m,p,1,1,1,1,2");
    t.pridaj("850312/0417,B,b,u, Nitra,p,1,1,1,-5,3");
    t.pridaj("850312/0417,,c,u,m,p,0,0,0,0,0");
    const std::string text = listing(t);
    EXPECT_EQ(text.substr(0, 12), "Klient c. 1\n");
    EXPECT_NE(text.find("______________________________\nKlient c. 2\nMeno: B\n"), std::string::npos);
    EXPECT_NE(text.find("Adresa: u,  Nitra\n"), std::string::npos);
    EXPECT_NE(text.find("Bonita: -5 bodov (max. 100)\n"), std::string::npos);
    EXPECT_NE(text.find("Klient c. 3\nMeno: \nPriezvisko: c\n"), std::string::npos);
    EXPECT_EQ(text.size() - text.rfind("______________________________\n"), 31u);
    // Calling it twice writes the same text twice.
    EXPECT_EQ(listing(t), text);
}

TEST(ConsoleListing, DisciplineWords) {
    const struct {
        int32_t kod;
        const char* slovo;
    } pripady[] = {{1, "vyborna"}, {2, "priemerna"}, {3, "slaba"}, {0, "slaba"}, {4, "slaba"}, {9, "slaba"}, {-1, "slaba"}};
    for (const auto& p : pripady) {
        EXPECT_EQ(disciplineWord(p.kod), p.slovo) << p.kod;
    }
}

TEST(ConsoleListing, EmptyTableWritesNothing) {
    const TestTable t;
    EXPECT_EQ(listing(t), "");
}

TEST(ConsoleListing, LargeTablesAreWrittenWhole) {
    // The listing is handed over in pieces: the pieces must join exactly.
    TestTable t;
    for (int i = 0; i < 6000; ++i) {
        t.pridaj("850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1");
    }
    std::string ocakavane;
    for (int i = 0; i < 6000; ++i) {
        ocakavane += "Klient c. " + std::to_string(i + 1) +
                     "\nMeno: Jan\nPriezvisko: Novak\nAdresa: Hlavna 12, Nitra\nPovolanie: ucitel\n"
                     "Mesacna mzda: 950 eur\nPocet uverov: 2\nSuma uverov: 800 eur\nBonita: 80 bodov (max. 100)\n"
                     "Platobna disciplina: vyborna\n______________________________\n";
    }
    EXPECT_EQ(listing(t), ocakavane);
    EXPECT_NE(ocakavane.find("Klient c. 6000\n"), std::string::npos);
}
