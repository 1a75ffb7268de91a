// The two writers: the console listing and the output file's record line.

#include "app/ConsoleListing.hpp"
#include "io/RecordFormat.hpp"

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string listing(const TestTable& t, std::size_t buffer_size = 16) {
    std::ostringstream out;
    TextBuffer buffer(buffer_size);
    printClients(t.tabulka.data(), t.pocet(), out, buffer);
    return out.str();
}

std::string block(int number, const std::string& discipline) {
    return "Klient c. " + std::to_string(number) +
           "\nMeno: Jan\nPriezvisko: Novak\nAdresa: Hlavna 12, Nitra\nPovolanie: ucitel\nMesacna mzda: 950 eur\n"
           "Pocet uverov: 2\nSuma uverov: 800 eur\nBonita: 80 bodov (max. 100)\nPlatobna disciplina: " +
           discipline + "\n______________________________\n";
}

} // namespace

TEST(ConsoleListing, BlocksNumberedInTableOrderWithTheDisciplineAsAWord) {
    TestTable t;
    for (const char* code : {"1", "2", "3", "0", "9"}) {
        t.add(std::string("850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,") + code);
    }
    EXPECT_EQ(listing(t), block(1, "vyborna") + block(2, "priemerna") + block(3, "slaba") + block(4, "slaba") +
                              block(5, "slaba"));
    EXPECT_EQ(listing(TestTable{}), "");
}

TEST(ConsoleListing, LargeTablesAreWrittenWhole) {
    // The listing is handed on in pieces of a mebibyte: they must join exactly.
    TestTable t;
    std::string expected;
    for (int i = 1; i <= 6000; ++i) {
        t.add("850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1");
        expected += block(i, "vyborna");
    }
    EXPECT_EQ(listing(t, std::size_t{1} << 20), expected);
}

TEST(Writers, TheLargestRecordGoesWholeThroughBoth) {
    // Every text at its limit, every number at its most negative: more than
    // either writer's pieces usually hold, in buffers far too small.
    Klient k;
    k.rc.setCislo(std::string(11, 'r'));
    k.setMeno(std::string(19, 'm'));
    k.setPriezvisko(std::string(19, 'p'));
    k.setUlica(std::string(29, 'u'));
    k.setMesto(std::string(19, 'c'));
    k.setPovolanie(std::string(19, 'o'));
    for (void (Klient::*set)(int32_t) : {&Klient::setPlat, &Klient::setPocetUverov, &Klient::setSumaUverov,
                                         &Klient::setBonita, &Klient::setSplacalNacas}) {
        (k.*set)(INT32_MIN);
    }
    const std::string n = "-2147483648";
    for (const std::size_t size : {1u, 7u, 64u}) {
        TextBuffer line(size);
        appendRecordLine(line, k);
        EXPECT_EQ(line.text(), std::string(11, 'r') + "," + std::string(19, 'm') + "," + std::string(19, 'p') + "," +
                                   std::string(29, 'u') + "," + std::string(19, 'c') + "," + std::string(19, 'o') +
                                   "," + n + "," + n + "," + n + "," + n + "," + n + "\n");
        Klient* tabulka[] = {&k};
        std::ostringstream out;
        TextBuffer buffer(size);
        printClients(tabulka, 1, out, buffer);
        EXPECT_EQ(out.str(), "Klient c. 1\nMeno: " + std::string(19, 'm') + "\nPriezvisko: " + std::string(19, 'p') +
                                 "\nAdresa: " + std::string(29, 'u') + ", " + std::string(19, 'c') +
                                 "\nPovolanie: " + std::string(19, 'o') + "\nMesacna mzda: " + n +
                                 " eur\nPocet uverov: " + n + "\nSuma uverov: " + n + " eur\nBonita: " + n +
                                 " bodov (max. 100)\nPlatobna disciplina: slaba\n______________________________\n");
    }
}
