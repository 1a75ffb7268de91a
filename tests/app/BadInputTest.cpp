// The bad-input matrix: files and keyboard input as a careless world makes
// them, each through the real reader and the real dialogue, with the exact
// messages and the records that load.

#include "app/DialogueHarness.hpp"

#include <gtest/gtest.h>

namespace {

const std::string dobry = "850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1";
const std::string plny = "12345678901,mmmmmmmmmmmmmmmmmmm,ppppppppppppppppppp,uuuuuuuuuuuuuuuuuuuuuuuuuuuuu,"
                         "ccccccccccccccccccc,ooooooooooooooooooo,9999,99,999999,100,3";

std::string zly(int riadok) {
    return "Riadok " + std::to_string(riadok) + " v subore klienti.csv ma nespravny format, zaznam bol preskoceny.\n";
}

// The full line with field i (0 to 10) one character longer than allowed.
std::string jedenNavyse(std::size_t pole) {
    std::string riadok;
    std::size_t cislo_pola = 0;
    for (const char c : plny) {
        if (c == ',') {
            if (cislo_pola == pole) {
                riadok += 'x';
            }
            ++cislo_pola;
        }
        riadok += c;
    }
    return pole == 10 ? riadok + "x" : riadok;
}

} // namespace

TEST(BadInput, FilesLoadWhatIsValidAndReportTheRest) {
    const struct {
        const char* nazov;
        std::string subor;
        std::string hlasenia;
        int nacitanych;
    } pripady[] = {
        {"empty file", "", "", 0},
        {"header only", hlavicka, "", 0},
        {"header only with line end", hlavicka + "\n", "", 0},
        {"every field at its limit", hlavicka + "\n" + plny, "", 1},
        {"birth number one past", hlavicka + "\n" + jedenNavyse(0), zly(2), 0},
        {"first name one past", hlavicka + "\n" + jedenNavyse(1), zly(2), 0},
        {"surname one past", hlavicka + "\n" + jedenNavyse(2), zly(2), 0},
        {"street one past", hlavicka + "\n" + jedenNavyse(3), zly(2), 0},
        {"city one past", hlavicka + "\n" + jedenNavyse(4), zly(2), 0},
        {"occupation one past", hlavicka + "\n" + jedenNavyse(5), zly(2), 0},
        {"salary one past", hlavicka + "\n" + jedenNavyse(6), zly(2), 0},
        {"loan count one past", hlavicka + "\n" + jedenNavyse(7), zly(2), 0},
        {"loan total one past", hlavicka + "\n" + jedenNavyse(8), zly(2), 0},
        {"score one past", hlavicka + "\n" + jedenNavyse(9), zly(2), 0},
        {"discipline one past", hlavicka + "\n" + jedenNavyse(10), zly(2), 0},
        {"too few commas", hlavicka + "\n" + dobry.substr(0, dobry.rfind(',')) + "\n" + dobry, zly(2), 1},
        {"too many commas", hlavicka + "\n" + dobry + ",1\n" + dobry, zly(2), 1},
        {"empty fields", hlavicka + "\n,,,,,,,,,,", "", 1},
        {"CRLF", hlavicka + "\r\n" + dobry + "\r\n" + dobry + "\r\n", "", 2},
        {"CRLF without final line end", hlavicka + "\r\n" + dobry + "\r\n" + dobry, "", 2},
        {"carriage return not before a line feed", hlavicka + "\n" + dobry + "\r\r\n" + dobry, zly(2), 1},
        {"header that is a record", dobry + "\n" + dobry, "", 1},
        {"blank line", hlavicka + "\n   \n" + dobry, zly(2), 1},
        {"500 characters with commas", hlavicka + "\n" + std::string(490, 'x') + ",,,,,,,,,,\n" + dobry, zly(2), 1},
        {"trailing line feed", hlavicka + "\n" + dobry + "\n", "", 1},
        {"empty line in the middle", hlavicka + "\n" + dobry + "\n\n" + dobry, zly(3), 2},
        {"line of 500 characters", hlavicka + "\n" + std::string(500, 'a') + "\n" + dobry, zly(2), 1},
        {"header of 10000 characters", std::string(10000, 'h') + "\n" + dobry, "", 1},
        {"NUL byte", hlavicka + "\n" + std::string("850312/0417,J\0n,a,b,c,d,1,1,1,1,1\n", 34) + dobry, zly(2), 1},
        {"bytes above 127", hlavicka + "\n850312/0417,\xc5\xa0imon,\xff,\x80,c,d,1,1,1,1,1", "", 1},
        {"short birth number", hlavicka + "\n85,a,b,c,d,e,1,1,1,1,1\n,a,b,c,d,e,1,1,1,1,1", "", 2},
        {"birth number with letters", hlavicka + "\nab12cd/efgh,a,b,c,d,e,1,1,1,1,1", "", 1},
        {"non-numeric numbers", hlavicka + "\n850312/0417,a,b,c,d,e,abc,x,-,+,?", "", 1},
    };
    for (const auto& p : pripady) {
        const Beh b = spusti(p.subor, "u");
        EXPECT_EQ(b.vystup, p.hlasenia + menu(p.nacitanych)) << p.nazov;
        EXPECT_EQ(b.status, 0) << p.nazov;
    }
}

TEST(BadInput, OddRecordsGoThroughEveryOrderingAndFilter) {
    // Birth numbers too short, with letters or impossible months, and odd
    // numbers: every criterion must handle them (sanitizers watch the reads).
    const std::string subor = hlavicka + "\n85,a,b,c,d,e,1,1,1,1,1\n,b,c,d,e,f,-5,0,0,0,0\n"
                                         "ab12cd/efgh,c,d,e,f,g,abc,x,-,+,?\n859912/0000,d,e,f,g,h,1,1,1,1,9\n" +
                              dobry;
    std::string vstup;
    for (char k = '1'; k <= '9'; ++k) {
        vstup += std::string("n") + k + " ";
    }
    for (char k = '1'; k <= '5'; ++k) {
        vstup += std::string("a") + k + " -2147483648 2147483647 9 ";
    }
    const Beh b = spusti(subor, vstup + "u");
    EXPECT_EQ(b.status, 0);
    EXPECT_EQ(b.subory.size(), 14u);
    // Every filter over the whole range keeps all five records.
    std::size_t vsetkych = 0;
    for (std::size_t i = b.vystup.find(vyhovuje(5)); i != std::string::npos; i = b.vystup.find(vyhovuje(5), i + 1)) {
        ++vsetkych;
    }
    EXPECT_EQ(vsetkych, 5u);
}

TEST(BadInput, KeyboardInputOfEveryKind) {
    const std::string subor = hlavicka + "\n" + dobry;
    const std::string blok = "Klient c. 1\nMeno: Jan\nPriezvisko: Novak\nAdresa: Hlavna 12, Nitra\nPovolanie: ucitel\n"
                             "Mesacna mzda: 950 eur\nPocet uverov: 2\nSuma uverov: 800 eur\n"
                             "Bonita: 80 bodov (max. 100)\nPlatobna disciplina: vyborna\n"
                             "______________________________\n";
    const std::string rozsah_bonity = rozsah("bonita", 80, 80);
    std::string dlhe_zle;
    for (int i = 0; i < 100000; ++i) {
        dlhe_zle += zle_hlavne;
    }
    const struct {
        const char* nazov;
        std::string vstup;
        std::string vystup;
    } pripady[] = {
        {"a very long line of answers", std::string(100000, 'x') + "u", menu(1) + dlhe_zle},
        {"bounds as letters, then end", "a1 abc def", menu(1) + menu_filtra + rozsah_bonity + vyzva_hranic + zle_hranice},
        {"bounds too large", "a1 2147483648 1\n80 80 1 u",
         menu(1) + menu_filtra + rozsah_bonity + vyzva_hranic + zle_hranice + vyhovuje(1) + menu_po_filtri + blok + menu(1)},
        {"bounds too small", "a1 -2147483649 1\n-2147483648 2147483647 1 u",
         menu(1) + menu_filtra + rozsah_bonity + vyzva_hranic + zle_hranice + vyhovuje(1) + menu_po_filtri + blok + menu(1)},
        {"bounds with signs", "a1 +79 +81 1 u",
         menu(1) + menu_filtra + rozsah_bonity + vyzva_hranic + vyhovuje(1) + menu_po_filtri + blok + menu(1)},
        {"a sign alone", "a1 - 5\n+80 80 1 u",
         menu(1) + menu_filtra + rozsah_bonity + vyzva_hranic + zle_hranice + vyhovuje(1) + menu_po_filtri + blok + menu(1)},
        {"a fraction", "a1 79.5 81\n79 81 1 u",
         menu(1) + menu_filtra + rozsah_bonity + vyzva_hranic + zle_hranice + vyhovuje(1) + menu_po_filtri + blok + menu(1)},
        {"tabs and blank lines", "\t\n\n  n \t 1\n\n\nU",
         menu(1) + menu_bez_filtra + blok + menu(1)},
        {"bytes above 127 and NUL", std::string("\xff\0u", 3), menu(1) + zle_hlavne + zle_hlavne},
    };
    for (const auto& p : pripady) {
        const Beh b = spusti(subor, p.vstup);
        EXPECT_EQ(b.vystup, p.vystup) << p.nazov;
        EXPECT_EQ(b.status, 0) << p.nazov;
    }
}
