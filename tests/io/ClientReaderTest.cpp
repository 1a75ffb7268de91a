#include "io/ClientReader.hpp"
#include "io/RecordLine.hpp"

#include "TestSupport.hpp"
#include "io/TextSource.hpp"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace {

const std::string r1 = "850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1";
const std::string r2 = "905520/1234,Eva,Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,95,2";
const std::string r3 = "140101/0001,Adam,Toth,Dlha 1,Zilina,student,0450,1,1500,-5,3";

std::string zle(int riadok) {
    return "Riadok " + std::to_string(riadok) +
           " v subore klienti.csv ma nespravny format, zaznam bol preskoceny.\n";
}

struct Vysledok {
    std::string hlasenia;
    std::vector<std::string> cisla; // birth numbers of the loaded records, in table order
};

Vysledok nacitaj(const std::string& obsah, int32_t max_zaznamov = INT32_MAX) {
    TextSource in(obsah);
    std::ostringstream hlasenia;
    LoadOptions options;
    options.max_records = max_zaznamov;
    LoadResult nacitanie = loadClients(in, hlasenia, options);
    EXPECT_EQ(nacitanie.read_error, 0);
    ClientStore& klienti = nacitanie.klienti;
    Vysledok v{hlasenia.str(), {}};
    for (const Klient* k : klienti.tabulka()) {
        v.cisla.push_back(k->rc.getCislo());
    }
    EXPECT_EQ(klienti.pocet(), static_cast<int32_t>(v.cisla.size()));
    return v;
}

using Cisla = std::vector<std::string>;

} // namespace

TEST(ClientReader, LineNumbersCountTheHeaderAsLineOne) {
    const Vysledok v = nacitaj(hlavicka + "\n\n" + r1 + "\nzle\n" + r2 + "\n\n\n");
    EXPECT_EQ(v.hlasenia, zle(2) + zle(4) + zle(6) + zle(7));
    EXPECT_EQ(v.cisla, (Cisla{"850312/0417", "905520/1234"}));
}

TEST(ClientReader, LastLineWithoutLineFeedIsCheckedToo) {
    const Vysledok v = nacitaj(hlavicka + "\n" + r1 + "\nzle");
    EXPECT_EQ(v.hlasenia, zle(3));
    EXPECT_EQ(v.cisla, (Cisla{"850312/0417"}));
}

TEST(ClientReader, FieldsAreConvertedAndKeptAsWritten) {
    TextSource in(hlavicka + "\n850312/0417, Jan ,Novak,Hlavna 12, Nitra,ucitel,0950,02,000800,-5,2");
    std::ostringstream hlasenia;
    ClientStore klienti = loadClients(in, hlasenia).klienti;
    ASSERT_EQ(klienti.pocet(), 1);
    const Klient& k = *klienti.tabulka()[0];
    EXPECT_EQ(k.rc.getCislo(), "850312/0417");
    EXPECT_EQ(k.getMeno(), " Jan ");
    EXPECT_EQ(k.getPriezvisko(), "Novak");
    EXPECT_EQ(k.getUlica(), "Hlavna 12");
    EXPECT_EQ(k.getMesto(), " Nitra");
    EXPECT_EQ(k.getPovolanie(), "ucitel");
    EXPECT_EQ(k.getPlat(), 950);
    EXPECT_EQ(k.getPocetUverov(), 2);
    EXPECT_EQ(k.getSumaUverov(), 800);
    EXPECT_EQ(k.getBonita(), -5);
    EXPECT_EQ(k.getSplacalNacas(), 2);
    EXPECT_EQ(k.rc.getMuz(), 1);
}

TEST(ClientReader, NonNumericNumbersConvertAsAtoiDoes) {
    TextSource in(hlavicka + "\n850312/0417,a,b,c,d,e,abc,x1,12ab, 7,z");
    std::ostringstream hlasenia;
    ClientStore klienti = loadClients(in, hlasenia).klienti;
    ASSERT_EQ(klienti.pocet(), 1);
    const Klient& k = *klienti.tabulka()[0];
    EXPECT_EQ(k.getPlat(), 0);
    EXPECT_EQ(k.getPocetUverov(), 0);
    EXPECT_EQ(k.getSumaUverov(), 12);
    EXPECT_EQ(k.getBonita(), 7);
    EXPECT_EQ(k.getSplacalNacas(), 0);
}

TEST(ClientReader, LinesAcrossReadsAndChunksLoadTheSame) {
    // A long header, an over-long line, CRLF and a last line without line
    // feed, read in every size of chunk and of read around the line lengths.
    const std::string obsah = std::string(300, 'h') + "\n" + r1 + "\r\n" + std::string(1000, 'x') + "\n" + r2 +
                              "\nzle\r\n" + r3 + "\r";
    for (const std::size_t chunk : {1u, 2u, 7u, 60u, 61u, 255u, 256u, 4096u}) {
        for (const std::size_t citanie : {1u, 5u, 100u, 100000u}) {
            TextSource in(obsah, citanie);
            std::ostringstream hlasenia;
            LoadOptions options;
            options.chunk_size = chunk;
            const LoadResult nacitanie = loadClients(in, hlasenia, options);
            ASSERT_EQ(hlasenia.str(), zle(3) + zle(5) + zle(6)) << chunk << ' ' << citanie;
            ASSERT_EQ(nacitanie.klienti.pocet(), 2) << chunk << ' ' << citanie;
        }
    }
}

TEST(ClientReader, ReadErrorEndsTheLoadAfterTheReportsSoFar) {
    const std::string obsah = hlavicka + "\nzle\n" + r1 + "\n" + r2 + "\nzle";
    TextSource in(obsah, 7, obsah.size() - 20);
    std::ostringstream hlasenia;
    LoadOptions options;
    options.chunk_size = 16;
    const LoadResult nacitanie = loadClients(in, hlasenia, options);
    EXPECT_EQ(nacitanie.read_error, EIO);
    EXPECT_EQ(hlasenia.str(), zle(2));
}

TEST(ClientReader, StopsAtTheLargestCount) {
    const Vysledok v = nacitaj(hlavicka + "\n" + r1 + "\nzle\n" + r2 + "\n" + r3 + "\n" + r1, 2);
    EXPECT_EQ(v.hlasenia, zle(3) + "Subor klienti.csv ma viac ako 2 zaznamov, dalsie zaznamy neboli nacitane.\n");
    EXPECT_EQ(v.cisla, (Cisla{"850312/0417", "905520/1234"}));
}

namespace {

// The split rules written plainly: ten commas close ten fields, the rest of
// the line is the eleventh, every field within its limit, no NUL anywhere.
std::optional<std::vector<std::string>> referenceSplit(const std::string& riadok) {
    if (riadok.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    std::vector<std::string> polia;
    std::size_t zaciatok = 0;
    for (int i = 0; i < 10; ++i) {
        const std::size_t ciarka = riadok.find(',', zaciatok);
        if (ciarka == std::string::npos) {
            return std::nullopt;
        }
        polia.push_back(riadok.substr(zaciatok, ciarka - zaciatok));
        zaciatok = ciarka + 1;
    }
    polia.push_back(riadok.substr(zaciatok));
    for (std::size_t i = 0; i < polia.size(); ++i) {
        if (polia[i].size() > max_dlzka_pola[i]) {
            return std::nullopt;
        }
    }
    return polia;
}

} // namespace

TEST(RecordLine, SplitsExactlyAsThePlainRules) {
    // Eleven fields of lengths around their limits, then now and then a comma
    // more or less or a NUL, so that fields and limits fall across every word
    // boundary on both the valid and the invalid side.
    std::mt19937 g(7);
    const auto z = [&](int od, int po) { return std::uniform_int_distribution<int>(od, po)(g); };
    const char znaky[] = {'a', 'b', ' ', '7', '-', '\xe9'};
    int platnych = 0;
    for (int kolo = 0; kolo < 20000; ++kolo) {
        std::string riadok;
        for (std::size_t pole = 0; pole < 11; ++pole) {
            const int limit = static_cast<int>(max_dlzka_pola[pole]);
            const int dlzka = z(0, 3) == 0 ? z(0, limit + 1) : z(std::max(0, limit - 1), limit);
            for (int i = 0; i < dlzka; ++i) {
                riadok += znaky[z(0, 5)];
            }
            if (pole < 10) {
                riadok += ',';
            }
        }
        switch (z(0, 5)) {
        case 0: riadok.insert(static_cast<std::size_t>(z(0, static_cast<int>(riadok.size()))), 1, ','); break;
        case 1: riadok.erase(riadok.find(','), 1); break;
        case 2: riadok[static_cast<std::size_t>(z(0, static_cast<int>(riadok.size()) - 1))] = '\0'; break;
        default: break;
        }
        const auto ocakavane = referenceSplit(riadok);
        const auto skutocne = splitRecordLine(riadok);
        ASSERT_EQ(skutocne.has_value(), ocakavane.has_value()) << '"' << riadok << '"';
        if (ocakavane) {
            ++platnych;
            for (std::size_t i = 0; i < 11; ++i) {
                ASSERT_EQ((*skutocne)[i], (*ocakavane)[i]) << '"' << riadok << '"';
            }
        }
    }
    EXPECT_GT(platnych, 2000); // the valid side is exercised too
    EXPECT_LT(platnych, 18000);
}
