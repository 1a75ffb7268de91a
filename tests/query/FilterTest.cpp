#include "query/Filter.hpp"

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

const Datum dnes{2026, 12, 7};

TestTable trojica() {
    TestTable t;
    t.pridaj("850312/0417,Jan,Novak,a,a,a,950,2,800,60,1");
    t.pridaj("905520/1234,Eva,Kovacova,a,a,a,2100,0,0,35,2");
    t.pridaj("141231/0001,Adam,Toth,a,a,a,450,12,1500,92,3");
    return t;
}

std::string range(const TestTable& t, char kriterium) {
    std::ostringstream out;
    printFilterRange(t.tabulka.data(), t.pocet(), kriterium, dnes, out);
    return out.str();
}

std::vector<std::string> vyber(const TestTable& t, char kriterium, int32_t min, int32_t max) {
    const int32_t n = countMatching(t.tabulka.data(), HornaHranica{max}, DolnaHranica{min}, t.pocet(), kriterium, dnes);
    std::vector<Klient*> ciel(static_cast<std::size_t>(n));
    copyMatching(t.tabulka.data(), HornaHranica{max}, DolnaHranica{min}, t.pocet(), n, ciel.data(), kriterium, dnes);
    std::vector<std::string> mena;
    for (const Klient* k : ciel) {
        mena.push_back(k->getMeno());
    }
    return mena;
}

using Mena = std::vector<std::string>;

} // namespace

TEST(FilterRange, NamesTheLowestAndHighestValue) {
    const TestTable t = trojica();
    EXPECT_EQ(range(t, '1'), "\nPre kriterium \"bonita\" sa v subore nachadzaju hodnoty v intervale od 35 do 92.\n");
    EXPECT_EQ(range(t, '2'), "\nPre kriterium \"pocet uverov\" sa v subore nachadzaju hodnoty v intervale od 0 do 12.\n");
    EXPECT_EQ(range(t, '3'), "\nPre kriterium \"suma uverov\" sa v subore nachadzaju hodnoty v intervale od 0 do 1500.\n");
    EXPECT_EQ(range(t, '4'), "\nPre kriterium \"mesacna mzda\" sa v subore nachadzaju hodnoty v intervale od 450 do 2100.\n");
    EXPECT_EQ(range(t, '5'), "\nPre kriterium \"vek\" sa v subore nachadzaju hodnoty v intervale od 12 do 41.\n");
}

TEST(FilterRange, OneRecordAndNegativeValuesAndTheEmptyTable) {
    TestTable jeden;
    jeden.pridaj("850312/0417,Jan,Novak,a,a,a,950,2,800,-5,1");
    EXPECT_EQ(range(jeden, '1'), "\nPre kriterium \"bonita\" sa v subore nachadzaju hodnoty v intervale od -5 do -5.\n");
    const TestTable prazdna;
    EXPECT_EQ(range(prazdna, '5'), "\nPre kriterium \"vek\" sa v subore nenachadzaju ziadne hodnoty.\n");
}

TEST(Filter, SelectsWithinInclusiveBoundsInTableOrder) {
    const TestTable t = trojica();
    const struct {
        char kriterium;
        int32_t min, max;
        Mena mena;
    } pripady[] = {
        {'1', 35, 35, {"Eva"}},                 // both bounds included
        {'1', 35, 92, {"Jan", "Eva", "Adam"}},  // every record, in table order
        {'1', 36, 91, {"Jan"}},
        {'1', 92, 35, {}},                      // min above max selects nothing
        {'2', 10, 20, {"Adam"}},
        {'2', 20, 10, {}},
        {'3', -100, 0, {"Eva"}},                // negative bounds are numbers too
        {'4', 450, 950, {"Jan", "Adam"}},
        {'5', 36, 41, {"Jan", "Eva"}},          // calendar years: 1985 is 41, 1990 is 36
        {'5', 12, 12, {"Adam"}},                // born 31 December 2014
        {'1', INT32_MIN, INT32_MAX, {"Jan", "Eva", "Adam"}},
    };
    for (const auto& p : pripady) {
        EXPECT_EQ(vyber(t, p.kriterium, p.min, p.max), p.mena) << p.kriterium << ' ' << p.min << ' ' << p.max;
    }
}

TEST(Filter, CopyNeverExceedsItsLimit) {
    const TestTable t = trojica();
    std::vector<Klient*> ciel(3, nullptr);
    copyMatching(t.tabulka.data(), HornaHranica{100}, DolnaHranica{0}, t.pocet(), 2, ciel.data(), '1', dnes);
    EXPECT_EQ(ciel[0], t.tabulka[0]);
    EXPECT_EQ(ciel[1], t.tabulka[1]);
    EXPECT_EQ(ciel[2], nullptr);
}
