#include "query/Sort.hpp"

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <random>

namespace {

const Datum dnes{2026, 8, 31};

// The ordering rules written out plainly, independent of the product code.
int referenceCompare(const Klient& a, const Klient& b, char k) {
    const auto text = [](const std::string& x, const std::string& y) {
        for (std::size_t i = 0;; ++i) {
            const int cx = i < x.size() ? static_cast<unsigned char>(x[i]) : -1;
            const int cy = i < y.size() ? static_cast<unsigned char>(y[i]) : -1;
            if (cx != cy) {
                return cx < cy ? -1 : 1;
            }
            if (cx == -1) {
                return 0;
            }
        }
    };
    const auto cislo = [](int32_t x, int32_t y) { return x < y ? -1 : (x > y ? 1 : 0); };
    switch (k) {
    case '1': return text(a.getMeno(), b.getMeno());
    case '2': return text(a.getPriezvisko(), b.getPriezvisko());
    case '3': return text(a.getMesto(), b.getMesto());
    case '4': return text(a.getPovolanie(), b.getPovolanie());
    case '5': return cislo(a.getPlat(), b.getPlat());
    case '6': return cislo(a.getPocetUverov(), b.getPocetUverov());
    case '7': return cislo(a.getSumaUverov(), b.getSumaUverov());
    case '8': return cislo(a.getBonita(), b.getBonita());
    case '9': return cislo(a.rc.ageDays(dnes), b.rc.ageDays(dnes));
    default: return 0;
    }
}

// The stable insertion sort: only a strictly positive comparison moves a record.
void referenceSort(std::vector<Klient*>& t, char k) {
    for (std::size_t i = 1; i < t.size(); ++i) {
        Klient* kluc = t[i];
        std::size_t j = i;
        while (j > 0 && referenceCompare(*t[j - 1], *kluc, k) > 0) {
            t[j] = t[j - 1];
            --j;
        }
        t[j] = kluc;
    }
}

// Texts with duplicates, capitals and small letters, leading blanks, common
// prefixes of eight bytes and more, bytes above 127 and empty texts.
const char* const texty[] = {"Jan", "jan", " Jan", "Ja", "Janko", "Z", "a", "", "Novakova", "Novakov",
                             "Novakova1", "Novakovaa", "NovakovaZ", "Novakova Horvathova", "\xe1no",
                             "Horvathova", "Horvath", "Horvathov", "  ", "Kovacovaxyzw1234567",
                             "Novakova Horvatho", "Novakova Horvathov", "Novakova HorvathovZ", "Novakova Horvat"};

std::string nahodnyRiadok(std::mt19937& g) {
    const auto z = [&](int od, int po) { return std::uniform_int_distribution<int>(od, po)(g); };
    const auto text = [&] { return std::string(texty[z(0, std::size(texty) - 1)]); };
    // Birth dates around the fixed current date, with a few impossible months.
    const int rok = z(0, 3) == 0 ? 0 : z(98, 102) % 100;
    const int mesiac = z(0, 9) == 0 ? z(0, 99) : z(7, 9) + (z(0, 1) ? 50 : 0);
    const int den = z(0, 9) == 0 ? z(0, 99) : z(29, 31) % 31 + 1;
    char rc[16];
    std::snprintf(rc, sizeof rc, "%02d%02d%02d/%04d", rok, mesiac, den, z(0, 9999));
    return std::string(rc) + "," + text() + "," + text() + ",ulica," + text() + "," + text() + "," +
           std::to_string(z(-3, 3)) + "," + std::to_string(z(-2, 2)) + "," + std::to_string(z(-100, 1000) * 997) +
           "," + std::to_string(z(-5, 100) / 20) + "," + std::to_string(z(1, 3));
}

} // namespace

TEST(SortClients, EqualsTheStableInsertionSortForEveryCriterion) {
    std::mt19937 g(20261207);
    for (int kolo = 0; kolo < 150; ++kolo) {
        TestTable t;
        const int n = std::uniform_int_distribution<int>(0, kolo < 100 ? 40 : 600)(g);
        for (int i = 0; i < n; ++i) {
            t.pridaj(nahodnyRiadok(g));
        }
        for (char k = '0'; k <= ':'; ++k) {
            std::vector<Klient*> ocakavane = t.tabulka;
            referenceSort(ocakavane, k);
            std::vector<Klient*> skutocne = t.tabulka;
            sortClients(skutocne.data(), t.pocet(), k, dnes);
            ASSERT_EQ(skutocne, ocakavane) << "round " << kolo << ", criterion " << k;
        }
    }
}

TEST(CompareClients, KeepsItsContract) {
    TestTable t;
    t.pridaj("850312/0417,Nova,Zeman,a,a,a,-5,1,1,80,1");
    t.pridaj("900312/0417,Novak,adam,a,a,a,0,1,1,80,1");
    const Klient* a = t.tabulka[0];
    const Klient* b = t.tabulka[1];
    EXPECT_LT(compareClients(a, b, '1', dnes), 0);  // a beginning orders first
    EXPECT_LT(compareClients(a, b, '2', dnes), 0);  // capital Z before small a
    EXPECT_EQ(compareClients(a, b, '3', dnes), 0);
    EXPECT_EQ(compareClients(a, b, '5', dnes), -1); // exactly -1, 0 or 1
    EXPECT_EQ(compareClients(b, a, '5', dnes), 1);
    EXPECT_EQ(compareClients(a, b, '8', dnes), 0);
    EXPECT_EQ(compareClients(a, b, '9', dnes), 1);  // a is older
    EXPECT_EQ(compareClients(a, b, '0', dnes), 0);
    EXPECT_EQ(compareClients(a, b, 'x', dnes), 0);
}
