#include "app/Dialogue.hpp"

#include "TestSupport.hpp"
#include "app/DialogueHarness.hpp"
#include "ClientGenerator.hpp"
#include "io/OutputFileName.hpp"
#include "io/TextSource.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

const std::string novak = "850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1";
const std::string kovacova = "905520/1234,Eva,Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,35,2";
const std::string toth = "141231/0001,Adam,Toth,Dlha 1,Zilina,student,450,12,1500,92,3";
const std::string subor_troch = hlavicka + "\n" + novak + "\n" + kovacova + "\n" + toth;

std::string blok(int cislo, const std::string& meno, const std::string& priezvisko, const std::string& adresa,
                 const std::string& povolanie, int plat, int uvery, int suma, int bonita, const std::string& disc) {
    return "Klient c. " + std::to_string(cislo) + "\nMeno: " + meno + "\nPriezvisko: " + priezvisko +
           "\nAdresa: " + adresa + "\nPovolanie: " + povolanie + "\nMesacna mzda: " + std::to_string(plat) +
           " eur\nPocet uverov: " + std::to_string(uvery) + "\nSuma uverov: " + std::to_string(suma) +
           " eur\nBonita: " + std::to_string(bonita) + " bodov (max. 100)\nPlatobna disciplina: " + disc +
           "\n______________________________\n";
}
std::string blokNovak(int c) { return blok(c, "Jan", "Novak", "Hlavna 12, Nitra", "ucitel", 950, 2, 800, 80, "vyborna"); }
std::string blokKovacova(int c) { return blok(c, "Eva", "Kovacova", "Lesna 3, Kosice", "lekarka", 2100, 0, 0, 35, "priemerna"); }
std::string blokToth(int c) { return blok(c, "Adam", "Toth", "Dlha 1, Zilina", "student", 450, 12, 1500, 92, "slaba"); }

} // namespace

TEST(Dialogue, InvalidAnswerThenQuit) {
    const Beh b = spusti(subor_troch, "x\nu\n");
    EXPECT_EQ(b.vystup, menu(3) + zle_hlavne);
    EXPECT_EQ(b.status, 0);
    EXPECT_TRUE(b.subory.empty());
}

TEST(Dialogue, FilterBranchFromEndToEnd) {
    const TempDir dir;
    // "a1" answers the first two prompts at once.
    const Beh b = spusti(subor_troch, "a1\n40 100\n2\nU\n", dir);
    EXPECT_EQ(b.vystup, menu(3) + menu_filtra + rozsah("bonita", 35, 92) + vyzva_hranic + vyhovuje(2) +
                            menu_po_filtri + blokNovak(1) + blokToth(2) + menu(3));
    EXPECT_EQ(b.status, 0);
    ASSERT_EQ(b.subory, std::vector<std::string>{"Mon 07. Dec. 2026, 14.05.csv"});
    EXPECT_EQ(readFile(dir.path() / b.subory[0]), hlavicka + "\n" + novak + "\n" + toth + "\n");
}

TEST(Dialogue, OrderingWithoutFilterPersistsForLaterCycles) {
    const TempDir dir;
    const std::string baran = "850312/0417,Ivan,Baran,Dlha 5,Nitra,ucitel,950,2,800,80,1";
    const std::string blokBaran = blok(1, "Ivan", "Baran", "Dlha 5, Nitra", "ucitel", 950, 2, 800, 80, "vyborna");
    // Order all by surname, then filter the two clients whose numbers are all
    // equal: they enter the filtered table, and stay after ordering by score,
    // in surname order, not in file order.
    const Beh b = spusti(hlavicka + "\n" + novak + "\n" + baran + "\n" + kovacova, "n\n2\na\n1\n80 80\n0\n8\nu", dir);
    EXPECT_EQ(b.vystup, menu(3) + menu_bez_filtra + blokBaran + blokKovacova(2) + blokNovak(3) + menu(3) +
                            menu_filtra + rozsah("bonita", 35, 80) + vyzva_hranic + vyhovuje(2) + menu_po_filtri +
                            zle_poradie + blokBaran + blokNovak(2) + menu(3));
    // Two outputs in one minute: the second gets its own name.
    EXPECT_EQ(b.subory, (std::vector<std::string>{"Mon 07. Dec. 2026, 14.05 (2).csv", "Mon 07. Dec. 2026, 14.05.csv"}));
    EXPECT_EQ(readFile(dir.path() / "Mon 07. Dec. 2026, 14.05.csv"),
              hlavicka + "\n" + baran + "\n" + kovacova + "\n" + novak + "\n");
    EXPECT_EQ(readFile(dir.path() / "Mon 07. Dec. 2026, 14.05 (2).csv"), hlavicka + "\n" + baran + "\n" + novak + "\n");
}

TEST(Dialogue, AgeFilterAndOrderUseTheInjectedDate) {
    // On 7 December 2026: Novak (1985) is 41, Kovacova (1990) 36, Toth (2014) 12.
    const Beh b = spusti(subor_troch, "a5 30 50 9 u");
    EXPECT_EQ(b.vystup, menu(3) + menu_filtra + rozsah("vek", 12, 41) + vyzva_hranic + vyhovuje(2) +
                            menu_po_filtri + blokKovacova(1) + blokNovak(2) + menu(3));
}

TEST(Dialogue, RejectedCriteriaAndBoundsAreAskedAgain) {
    const Beh b = spusti(subor_troch, "a0\n6\n2\nabc\n99999999999 1\n+0 -1\nn\n0\n6\nu\n");
    EXPECT_EQ(b.vystup, menu(3) + menu_filtra + zle_filter + zle_filter + rozsah("pocet uverov", 0, 12) +
                            vyzva_hranic + zle_hranice + zle_hranice + vyhovuje(0) + navrat + menu(3) +
                            menu_bez_filtra + zle_poradie + blokKovacova(1) + blokNovak(2) + blokToth(3) + menu(3));
}

TEST(Dialogue, BoundsOnOneLineOrTwoAreTheSame) {
    const Beh jeden = spusti(subor_troch, "a1\n40 100\n8\nu\n");
    const Beh dva = spusti(subor_troch, "a1\n40\n100\n8\nu\n");
    EXPECT_EQ(jeden.vystup, dva.vystup);
    EXPECT_NE(jeden.vystup.find(blokNovak(1) + blokToth(2)), std::string::npos);
}

TEST(Dialogue, EndOfInputAtEveryPromptEndsQuietly) {
    const struct {
        std::string vstup;
        std::string vystup;
    } pripady[] = {
        {"", menu(3)},
        {"x", menu(3) + zle_hlavne},
        {"a", menu(3) + menu_filtra},
        {"a9", menu(3) + menu_filtra + zle_filter},
        {"a1", menu(3) + menu_filtra + rozsah("bonita", 35, 92) + vyzva_hranic},
        {"a1 40", menu(3) + menu_filtra + rozsah("bonita", 35, 92) + vyzva_hranic},
        {"a1 abc", menu(3) + menu_filtra + rozsah("bonita", 35, 92) + vyzva_hranic + zle_hranice},
        {"a1 40 100", menu(3) + menu_filtra + rozsah("bonita", 35, 92) + vyzva_hranic + vyhovuje(2) + menu_po_filtri},
        {"n", menu(3) + menu_bez_filtra},
        {"n0", menu(3) + menu_bez_filtra + zle_poradie},
    };
    for (const auto& p : pripady) {
        const Beh b = spusti(subor_troch, p.vstup);
        EXPECT_EQ(b.vystup, p.vystup) << '"' << p.vstup << '"';
        EXPECT_EQ(b.status, 0);
        EXPECT_TRUE(b.subory.empty());
    }
}

TEST(Dialogue, EmptyTableInBothBranches) {
    const TempDir dir;
    const Beh b = spusti(hlavicka, "a5 0 200 n 1 u", dir);
    EXPECT_EQ(b.vystup, menu(0) + menu_filtra + "\nPre kriterium \"vek\" sa v subore nenachadzaju ziadne hodnoty.\n" +
                            vyzva_hranic + vyhovuje(0) + navrat + menu(0) + menu_bez_filtra + menu(0));
    ASSERT_EQ(b.subory, std::vector<std::string>{"Mon 07. Dec. 2026, 14.05.csv"});
    EXPECT_EQ(readFile(dir.path() / b.subory[0]), hlavicka + "\n");
}

TEST(Dialogue, MalformedLinesAreReportedBeforeTheFirstMenu) {
    const Beh b = spusti(hlavicka + "\n" + novak + "\n\n" + toth + ",x\n" + kovacova + "\n", "u");
    EXPECT_EQ(b.vystup,
              "Riadok 3 v subore klienti.csv ma nespravny format, zaznam bol preskoceny.\n"
              "Riadok 4 v subore klienti.csv ma nespravny format, zaznam bol preskoceny.\n" + menu(2));
}

TEST(Dialogue, OutputFailureIsReportedWhereEachBranchWrites) {
    // The client file elsewhere, the working directory gone: no output can be made.
    const TempDir dir;
    writeFile(dir.path() / "klienti.csv", subor_troch);
    std::istringstream in("a1 90 100 1 n 6 u");
    std::ostringstream out;
    std::ostringstream err;
    Prostredie p{in, out, err, fixedClock(2026, 12, 7, 14, 5), dir.path() / "zmazany", (dir.path() / "klienti.csv").string()};
    EXPECT_EQ(runKlienti(p), 0);
    EXPECT_EQ(out.str(), menu(3) + menu_filtra + rozsah("bonita", 35, 92) + vyzva_hranic + vyhovuje(1) +
                             menu_po_filtri + blokToth(1) + chyba_suboru + menu(3) + menu_bez_filtra + chyba_suboru +
                             blokKovacova(1) + blokNovak(2) + blokToth(3) + menu(3));
    const std::string dovod =
        "klienti: vystupny subor \"Mon 07. Dec. 2026, 14.05.csv\" sa nepodarilo zapisat: No such file or directory\n";
    EXPECT_EQ(err.str(), dovod + dovod);
}

TEST(Dialogue, DiagnosticsNameTheFileAsGivenAndEachOutput) {
    // A semicolon-separated export under another name: twelve malformed lines.
    std::string subor = "rodne cislo;meno;priezvisko";
    for (int i = 0; i < 12; ++i) {
        subor += "\n850312/0417;Jan;Novak";
    }
    const TempDir dir;
    const Beh b = spusti(subor + "\n" + novak, "n1u", dir, fixedClock(2026, 12, 7, 14, 5), {"data/export.csv"});
    std::string hlasenia;
    for (int riadok = 2; riadok <= 11; ++riadok) {
        hlasenia += "Riadok " + std::to_string(riadok) +
                    " v subore data/export.csv ma nespravny format, zaznam bol preskoceny.\n";
    }
    hlasenia += "Dalsie riadky s nespravnym formatom v subore data/export.csv, ktore boli preskocene: 2\n";
    EXPECT_EQ(b.vystup, hlasenia + menu(1) + menu_bez_filtra + blokNovak(1) + menu(1));
    EXPECT_EQ(b.diagnostika,
              "klienti: hlavicka suboru \"data/export.csv\" neobsahuje ciarku, ale bodkociarku: subor zrejme nie je "
              "oddeleny ciarkami\n"
              "klienti: do suboru \"Mon 07. Dec. 2026, 14.05.csv\" bolo zapisanych 1 zaznamov\n");
    EXPECT_EQ(b.subory, std::vector<std::string>{"Mon 07. Dec. 2026, 14.05.csv"});
}

TEST(Dialogue, EndOfInputOnATerminalEndsTheLine) {
    const TempDir dir;
    Nastavenie terminal;
    terminal.terminal = true;
    EXPECT_EQ(spusti(subor_troch, "a", dir, fixedClock(2026, 12, 7), terminal).vystup, menu(3) + menu_filtra + "\n");
    EXPECT_EQ(spusti(subor_troch, "u", dir, fixedClock(2026, 12, 7), terminal).vystup, menu(3));
}

TEST(Dialogue, MissingOrUnreadableInputFile) {
    const TempDir dir;
    std::istringstream in("a1\n");
    std::ostringstream out;
    std::ostringstream err;
    Prostredie p{in, out, err, fixedClock(2026, 12, 7), dir.path(), "../nikde/export.csv"};
    EXPECT_EQ(runKlienti(p), 0);
    EXPECT_EQ(out.str(), "Subor sa nepodarilo otvorit");
    EXPECT_EQ(err.str(), "klienti: subor \"../nikde/export.csv\" sa nepodarilo otvorit: No such file or directory\n");
    // A directory opens, but fails to be read.
    std::filesystem::create_directory(dir.path() / "klienti.csv");
    std::ostringstream out2;
    std::ostringstream err2;
    Prostredie p2{in, out2, err2, fixedClock(2026, 12, 7), dir.path()};
    EXPECT_EQ(runKlienti(p2), 0);
    EXPECT_EQ(out2.str(), "Subor sa nepodarilo otvorit");
    EXPECT_EQ(err2.str(), "klienti: subor \"klienti.csv\" sa nepodarilo precitat: Is a directory\n");
}

TEST(Dialogue, OutOfMemoryWhileLoadingEndsWithStatusOne) {
    const TempDir dir;
    Beh b;
    {
        const AllocationLimit limit(std::size_t{1} << 20);
        b = spusti(subor_troch, "n1u", dir);
    }
    EXPECT_EQ(b.vystup, "Nedostatok pamate na nacitanie zaznamov.\n");
    EXPECT_EQ(b.status, 1);
    EXPECT_TRUE(b.subory.empty());
}

TEST(Dialogue, OutOfMemoryInACycleShowsNothingOfItAndKeepsTheOrder) {
    const TempDir dir;
    TextSource subor(generateClientFile(20000, 5));
    std::ostringstream hlasenia;
    ClientStore klienti = loadClients(subor, hlasenia).klienti;
    const std::vector<Klient*> povodne = klienti.tabulka();
    std::istringstream in("a1 -1000 1000 n2 u");
    std::ostringstream out;
    std::ostringstream err;
    Prostredie p{in, out, err, fixedClock(2026, 12, 7), dir.path()};
    {
        const AllocationLimit limit(100000);
        EXPECT_EQ(runDialogue(klienti, p), 0);
    }
    const std::string nedostatok = "Nedostatok pamate, operacia nebola vykonana.\n";
    EXPECT_EQ(out.str(), menu(20000) + menu_filtra + rozsah("bonita", 0, 100) + vyzva_hranic + nedostatok +
                             menu(20000) + menu_bez_filtra + nedostatok + menu(20000));
    EXPECT_EQ(klienti.tabulka(), povodne);
    EXPECT_TRUE(listDir(dir.path()).empty());
}
