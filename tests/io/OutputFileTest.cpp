#include "io/OutputFile.hpp"

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <sstream>

namespace {

const char* const chyba = "Vystupny subor sa nepodarilo vytvorit. Vystup do suboru nebol vykonany.";
const std::string jan = "850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1";

} // namespace

TEST(OutputFileName, IsTheLocalMinuteInEnglish) {
    const struct {
        std::tm cas;
        const char* nazov;
    } pripady[] = {
        {fixedTime(2024, 3, 5, 14, 5), "Tue 05. Mar. 2024, 14.05.csv"},
        {fixedTime(2025, 1, 1, 0, 0), "Wed 01. Jan. 2025, 00.00.csv"},
        {fixedTime(2026, 12, 31, 23, 59), "Thu 31. Dec. 2026, 23.59.csv"},
        {fixedTime(2026, 8, 9, 9, 30), "Sun 09. Aug. 2026, 09.30.csv"},
    };
    for (const auto& p : pripady) {
        EXPECT_EQ(outputFileName(p.cas), p.nazov);
        EXPECT_EQ(outputFileName(p.cas).size(), 28u);
    }
    EXPECT_EQ(outputFileName(fixedTime(2024, 3, 5, 14, 5), 2), "Tue 05. Mar. 2024, 14.05 (2).csv");
    EXPECT_EQ(outputFileName(fixedTime(2024, 3, 5, 14, 5), 17), "Tue 05. Mar. 2024, 14.05 (17).csv");
}

TEST(OutputFileName, IgnoresTheUserLocale) {
    for (const char* lokalizacia : {"sk_SK.UTF-8", "de_DE.UTF-8", "C.UTF-8"}) {
        if (std::setlocale(LC_ALL, lokalizacia) == nullptr) {
            continue;
        }
        EXPECT_EQ(outputFileName(fixedTime(2024, 3, 5, 14, 5)), "Tue 05. Mar. 2024, 14.05.csv") << lokalizacia;
    }
    std::setlocale(LC_ALL, "C");
}

TEST(OutputFile, HoldsTheHeaderAndOneLinePerRecordInTableOrder) {
    TempDir dir;
    TestTable t;
    t.pridaj(jan);
    t.pridaj("905520/1234,Eva, Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,-5,3");
    t.pridaj("140101/0001,,Toth,Dlha 1,Zilina,student,0450,01,1500,100,2");
    std::ostringstream hlasenia;
    const auto cesta = writeOutputFile(t.tabulka.data(), t.pocet(), fixedTime(2024, 3, 5, 14, 5), hlasenia, dir.path());
    ASSERT_TRUE(cesta.has_value());
    EXPECT_EQ(hlasenia.str(), "");
    EXPECT_EQ(cesta->filename(), "Tue 05. Mar. 2024, 14.05.csv");
    EXPECT_EQ(readFile(*cesta), hlavicka + "\n" + jan + "\n" +
                                    "905520/1234,Eva, Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,-5,3\n"
                                    "140101/0001,,Toth,Dlha 1,Zilina,student,450,1,1500,100,2\n");
}

TEST(OutputFile, EmptyTableGivesTheHeaderAlone) {
    TempDir dir;
    std::ostringstream hlasenia;
    const auto cesta = writeOutputFile(nullptr, 0, fixedTime(2025, 1, 1, 0, 0), hlasenia, dir.path());
    ASSERT_TRUE(cesta.has_value());
    EXPECT_EQ(readFile(*cesta), hlavicka + "\n");
    EXPECT_EQ(hlasenia.str(), "");
}

TEST(OutputFile, NeverReplacesAnExistingEntry) {
    TempDir dir;
    TestTable prva;
    prva.pridaj(jan);
    TestTable druha;
    druha.pridaj("905520/1234,Eva,Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,95,2");
    const std::tm cas = fixedTime(2024, 3, 5, 14, 5);
    // A directory of the second name is an entry too and is passed over.
    std::filesystem::create_directory(dir.path() / "Tue 05. Mar. 2024, 14.05 (2).csv");
    std::ostringstream hlasenia;
    ASSERT_TRUE(writeOutputFile(prva.tabulka.data(), 1, cas, hlasenia, dir.path()));
    ASSERT_TRUE(writeOutputFile(druha.tabulka.data(), 1, cas, hlasenia, dir.path()));
    ASSERT_TRUE(writeOutputFile(nullptr, 0, cas, hlasenia, dir.path()));
    EXPECT_EQ(hlasenia.str(), "");
    EXPECT_EQ(listDir(dir.path()), (std::vector<std::string>{
                                       "Tue 05. Mar. 2024, 14.05 (2).csv",
                                       "Tue 05. Mar. 2024, 14.05 (3).csv",
                                       "Tue 05. Mar. 2024, 14.05 (4).csv",
                                       "Tue 05. Mar. 2024, 14.05.csv",
                                   }));
    EXPECT_EQ(readFile(dir.path() / "Tue 05. Mar. 2024, 14.05.csv"), hlavicka + "\n" + jan + "\n");
    EXPECT_EQ(readFile(dir.path() / "Tue 05. Mar. 2024, 14.05 (3).csv"),
              hlavicka + "\n905520/1234,Eva,Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,95,2\n");
    EXPECT_EQ(readFile(dir.path() / "Tue 05. Mar. 2024, 14.05 (4).csv"), hlavicka + "\n");
}

TEST(OutputFile, FailureIsReportedWithoutLineEndAndLeavesNothing) {
    TempDir dir;
    TestTable t;
    t.pridaj(jan);
    // A regular file where the directory should be stops even root.
    writeFile(dir.path() / "subor", "x");
    std::ostringstream hlasenia;
    EXPECT_FALSE(writeOutputFile(t.tabulka.data(), 1, fixedTime(2024, 3, 5, 14, 5), hlasenia, dir.path() / "subor"));
    EXPECT_FALSE(writeOutputFile(t.tabulka.data(), 1, fixedTime(2024, 3, 5, 14, 5), hlasenia, dir.path() / "chyba"));
    EXPECT_EQ(hlasenia.str(), std::string(chyba) + chyba);
    EXPECT_EQ(listDir(dir.path()), std::vector<std::string>{"subor"});
}
