#include "query/Sort.hpp"

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <random>

namespace {

const Datum dnes{2026, 8, 31};

// The ordering rules written out plainly, independent of the product code.
int referenceCompare(const Klient& a, const Klient& b, SortCriterion kriterium) {
    const auto bytes = [](const std::string& x, const std::string& y) {
        const auto ux = std::basic_string<unsigned char>(x.begin(), x.end());
        const auto uy = std::basic_string<unsigned char>(y.begin(), y.end());
        return ux < uy ? -1 : (uy < ux ? 1 : 0);
    };
    const auto number = [](int32_t x, int32_t y) { return x < y ? -1 : (x > y ? 1 : 0); };
    switch (kriterium) {
    case SortCriterion::meno: return bytes(text(a.menoField()), text(b.menoField()));
    case SortCriterion::priezvisko: return bytes(text(a.priezviskoField()), text(b.priezviskoField()));
    case SortCriterion::mesto: return bytes(text(a.mestoField()), text(b.mestoField()));
    case SortCriterion::povolanie: return bytes(text(a.povolanieField()), text(b.povolanieField()));
    case SortCriterion::plat: return number(a.getPlat(), b.getPlat());
    case SortCriterion::pocet_uverov: return number(a.getPocetUverov(), b.getPocetUverov());
    case SortCriterion::suma_uverov: return number(a.getSumaUverov(), b.getSumaUverov());
    case SortCriterion::bonita: return number(a.getBonita(), b.getBonita());
    case SortCriterion::vek: return number(a.rc.ageDays(dnes), b.rc.ageDays(dnes));
    }
    return 0;
}

// The stable insertion sort: only a strictly positive comparison moves a record.
void referenceSort(HugeVector<Klient*>& t, SortCriterion kriterium) {
    for (std::size_t i = 1; i < t.size(); ++i) {
        Klient* key = t[i];
        std::size_t j = i;
        while (j > 0 && referenceCompare(*t[j - 1], *key, kriterium) > 0) {
            t[j] = t[j - 1];
            --j;
        }
        t[j] = key;
    }
}

// Texts with duplicates, capitals and small letters, leading blanks, common
// prefixes of eight bytes and more, bytes above 127 and empty texts.
const char* const texts[] = {"Jan", "jan", " Jan", "Ja", "Janko", "Z", "a", "", "Novakova", "Novakov",
                             "Novakova1", "Novakovaa", "NovakovaZ", "Novakova Horvathova", "\xe1no",
                             "Horvathova", "Horvath", "  ", "Kovacovaxyzw1234567", "Novakova Horvatho",
                             "Novakova Horvathov", "Novakova HorvathovZ", "Novakova Horvat", "Sa\xc5\xa1" "a", "Sb",
                             "Novakova Horv\xe1th", "Novakova Horvb"};

std::string randomLine(std::mt19937& random) {
    const auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const auto text = [&] { return std::string(texts[between(0, std::size(texts) - 1)]); };
    // Birth dates around the fixed current date, with a few impossible months.
    const int year = between(0, 3) == 0 ? 0 : between(98, 102) % 100;
    const int month = between(0, 9) == 0 ? between(0, 99) : between(7, 9) + (between(0, 1) ? 50 : 0);
    const int day = between(0, 9) == 0 ? between(0, 99) : between(29, 31) % 31 + 1;
    char cislo[16];
    std::snprintf(cislo, sizeof cislo, "%02d%02d%02d/%04d", year, month, day, between(0, 9999));
    return std::string(cislo) + "," + text() + "," + text() + ",ulica," + text() + "," + text() + "," +
           std::to_string(between(-3, 3)) + "," + std::to_string(between(-2, 2)) + "," +
           std::to_string(between(-100, 1000) * 997) + "," + std::to_string(between(-5, 100) / 20) + "," +
           std::to_string(between(1, 3));
}

} // namespace

TEST(SortClients, EqualsTheStableInsertionSortForEveryCriterion) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 60; ++round) {
        TestTable t;
        const int n = std::uniform_int_distribution<int>(0, round < 40 ? 40 : 400)(random);
        for (int i = 0; i < n; ++i) {
            t.add(randomLine(random));
        }
        for (const SortMenuItem& item : sort_menu) {
            HugeVector<Klient*> expected(t.tabulka.begin(), t.tabulka.end());
            referenceSort(expected, item.kriterium);
            const std::vector<Klient*> before = t.tabulka;
            ASSERT_EQ(sortClients(t.tabulka.data(), t.pocet(), item.kriterium, dnes), expected)
                << "round " << round << ", " << item.label;
            ASSERT_EQ(t.tabulka, before); // built beside the table
        }
    }
}

TEST(SortMenu, DigitsArePlacesInTheMenu) {
    EXPECT_EQ(sortCriterionFor('1'), SortCriterion::meno);
    EXPECT_EQ(sortCriterionFor('5'), SortCriterion::plat); // the filter menu's 5 is the age
    EXPECT_EQ(sortCriterionFor('9'), SortCriterion::vek);
    EXPECT_FALSE(sortCriterionFor('0'));
    EXPECT_FALSE(sortCriterionFor(':'));
}

TEST(SortClients, EveryNumberOfWorkersOrdersAsOne) {
    // Large enough to be cut into parts, with many equal keys across them.
    std::mt19937 random(2026);
    TestTable t;
    for (int i = 0; i < 20000; ++i) {
        t.add(randomLine(random));
    }
    for (const SortMenuItem& item : sort_menu) {
        const HugeVector<Klient*> alone = sortClients(t.tabulka.data(), t.pocet(), item.kriterium, dnes, {}, 1);
        for (std::size_t i = 1; i < alone.size(); ++i) {
            ASSERT_LE(referenceCompare(*alone[i - 1], *alone[i], item.kriterium), 0);
        }
        for (const unsigned workers : {2u, 3u, 4u, 5u}) {
            EXPECT_EQ(sortClients(t.tabulka.data(), t.pocet(), item.kriterium, dnes, {}, workers), alone)
                << item.label << ", " << workers << " workers";
        }
    }
}

// One key or several, ascending and descending, on texts few and many (a line's
// texts drawn from the list above, or made up at random): one stable order,
// key after key.
TEST(SortClients, SeveralKeysOrderAsTheRulesKeyAfterKey) {
    std::mt19937 random(8);
    const auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (int round = 0; round < 40; ++round) {
        TestTable t;
        for (int i = between(0, 600); i > 0; --i) {
            std::string line = randomLine(random);
            if (round % 2 == 1) { // a surname and a first name of their own
                // Long common beginnings, so that texts tie far into their bytes.
                const char* const beginnings[] = {"", "Novakova Horvat", "Kovacova"};
                std::string made = beginnings[between(0, 2)];
                for (int c = between(0, 19 - static_cast<int>(made.size())); c > 0; --c) {
                    made += static_cast<char>(between('A', 'z'));
                }
                const std::size_t meno = line.find(',') + 1;
                line.replace(meno, line.find(',', meno) - meno, made.substr(0, made.size() / 2));
                const std::size_t priezvisko = line.find(',', meno) + 1;
                line.replace(priezvisko, line.find(',', priezvisko) - priezvisko, made);
            }
            t.add(line);
        }
        std::vector<SortKey> keys;
        for (int k = between(1, 4); k > 0; --k) {
            keys.push_back({static_cast<SortCriterion>(between(0, 8)), between(0, 1) == 1});
        }
        HugeVector<Klient*> expected(t.tabulka.begin(), t.tabulka.end());
        std::stable_sort(expected.begin(), expected.end(), [&](const Klient* a, const Klient* b) {
            for (const SortKey& key : keys) {
                if (const int c = referenceCompare(*a, *b, key.kriterium); c != 0) {
                    return key.descending ? c > 0 : c < 0;
                }
            }
            return false;
        });
        ASSERT_EQ(sortClients(t.tabulka.data(), t.pocet(), keys, dnes), expected) << "round " << round;
    }
}
