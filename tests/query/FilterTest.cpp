#include "query/Filter.hpp"

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

const Datum dnes{2026, 12, 7};
using F = FilterCriterion;

TestTable three() {
    TestTable t;
    t.add("850312/0417,Jan,Novak,a,a,a,950,2,800,60,1");
    t.add("905520/1234,Eva,Kovacova,a,a,a,2100,0,0,35,2");
    t.add("141231/0001,Adam,Toth,a,a,a,450,12,1500,92,3");
    return t;
}

std::string range(const TestTable& t, FilterCriterion kriterium) {
    std::ostringstream out;
    printFilterRange(t.tabulka.data(), t.pocet(), kriterium, dnes, out);
    return out.str();
}

std::vector<std::string> select(const TestTable& t, FilterCriterion kriterium, int32_t min, int32_t max) {
    const Filter filter = NumberFilter{kriterium, {min, max}};
    const int32_t n = countMatching(t.tabulka.data(), t.pocet(), std::span(&filter, 1), dnes);
    std::vector<Klient*> filtrovana(static_cast<std::size_t>(n));
    copyMatching(t.tabulka.data(), t.pocet(), std::span(&filter, 1), n, filtrovana.data(), dnes);
    std::vector<std::string> names;
    for (const Klient* k : filtrovana) {
        names.push_back(text(k->menoField()));
    }
    return names;
}

using Names = std::vector<std::string>;

} // namespace

TEST(FilterRange, NamesTheLowestAndHighestValue) {
    const TestTable t = three();
    const std::string from = "\" sa v subore nachadzaju hodnoty v intervale od ";
    EXPECT_EQ(range(t, F::bonita), "\nPre kriterium \"bonita" + from + "35 do 92.\n");
    EXPECT_EQ(range(t, F::pocet_uverov), "\nPre kriterium \"pocet uverov" + from + "0 do 12.\n");
    EXPECT_EQ(range(t, F::suma_uverov), "\nPre kriterium \"suma uverov" + from + "0 do 1500.\n");
    EXPECT_EQ(range(t, F::plat), "\nPre kriterium \"mesacna mzda" + from + "450 do 2100.\n");
    EXPECT_EQ(range(t, F::vek), "\nPre kriterium \"vek" + from + "12 do 41.\n");
    TestTable one;
    one.add("850312/0417,Jan,Novak,a,a,a,950,2,800,-5,1");
    EXPECT_EQ(range(one, F::bonita), "\nPre kriterium \"bonita" + from + "-5 do -5.\n");
    EXPECT_EQ(range(TestTable{}, F::vek), "\nPre kriterium \"vek\" sa v subore nenachadzaju ziadne hodnoty.\n");
}

TEST(FilterRange, ReturnsTheRangeItNamesAndNoneForAnEmptyTable) {
    const TestTable t = three();
    std::ostringstream out;
    const std::optional<ValueRange> r = printFilterRange(t.tabulka.data(), t.pocet(), F::suma_uverov, dnes, out);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->min, 0);
    EXPECT_EQ(r->max, 1500);
    EXPECT_FALSE(printFilterRange(nullptr, 0, F::vek, dnes, out));
}

TEST(Filter, SelectsWithinInclusiveBoundsInTableOrder) {
    const TestTable t = three();
    const struct {
        FilterCriterion kriterium;
        int32_t min, max;
        Names names;
    } cases[] = {
        {F::bonita, 35, 35, {"Eva"}},                // both bounds included
        {F::bonita, 35, 92, {"Jan", "Eva", "Adam"}}, // every record, in table order
        {F::bonita, 92, 35, {}},                     // min above max selects nothing
        {F::pocet_uverov, 10, 20, {"Adam"}},
        {F::suma_uverov, -100, 0, {"Eva"}},          // negative bounds are numbers too
        {F::plat, 450, 950, {"Jan", "Adam"}},
        {F::vek, 36, 41, {"Jan", "Eva"}},            // calendar years: 1985 is 41, 1990 is 36
        {F::vek, 12, 12, {"Adam"}},                  // born 31 December 2014
        {F::bonita, INT32_MIN, INT32_MAX, {"Jan", "Eva", "Adam"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(select(t, c.kriterium, c.min, c.max), c.names) << c.min << ' ' << c.max;
    }
}

TEST(Filter, CopyNeverExceedsItsLimit) {
    const TestTable t = three();
    std::vector<Klient*> target(3, nullptr);
    const Filter filter = NumberFilter{F::bonita, {0, 100}};
    copyMatching(t.tabulka.data(), t.pocet(), std::span(&filter, 1), 2, target.data(), dnes);
    EXPECT_EQ(target, (std::vector<Klient*>{t.tabulka[0], t.tabulka[1], nullptr}));
}
