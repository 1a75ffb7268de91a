#include "io/ClientReader.hpp"

#include "TestSupport.hpp"
#include "io/TextSource.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

const std::string r1 = "850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1";
const std::string r2 = "905520/1234,Eva,Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,95,2";
const std::string r3 = "140101/0001,Adam,Toth,Dlha 1,Zilina,student,0450,1,1500,-5,3";

std::string malformed(int line) {
    return "Riadok " + std::to_string(line) + " v subore klienti.csv ma nespravny format, zaznam bol preskoceny.\n";
}

struct Loaded {
    std::string reports;
    std::vector<std::string> cisla; // birth numbers of the loaded records, in table order
    int read_error;
};

Loaded load(TextSource source, LoadOptions options = {}) {
    std::ostringstream reports;
    const LoadResult result = loadClients(source, reports, options);
    Loaded loaded{reports.str(), {}, result.read_error};
    for (const Klient* k : result.klienti.tabulka()) {
        loaded.cisla.push_back(k->rc.getCislo());
    }
    return loaded;
}

using Cisla = std::vector<std::string>;

} // namespace

TEST(ClientReader, FieldsAreConvertedAndKeptAsWritten) {
    TextSource source(header + "\n850312/0417, Jan ,Novak,Hlavna 12, Nitra,ucitel,0950,02,12ab,-5,z");
    std::ostringstream reports;
    const LoadResult result = loadClients(source, reports);
    ASSERT_EQ(result.klienti.pocet(), 1);
    const Klient& k = *result.klienti.tabulka()[0];
    EXPECT_EQ(k.rc.getCislo(), "850312/0417");
    EXPECT_EQ(k.getMeno(), " Jan ");
    EXPECT_EQ(k.getPriezvisko(), "Novak");
    EXPECT_EQ(k.getUlica(), "Hlavna 12");
    EXPECT_EQ(k.getMesto(), " Nitra");
    EXPECT_EQ(k.getPovolanie(), "ucitel");
    EXPECT_EQ(k.getPlat(), 950);
    EXPECT_EQ(k.getPocetUverov(), 2);
    EXPECT_EQ(k.getSumaUverov(), 12);
    EXPECT_EQ(k.getBonita(), -5);
    EXPECT_EQ(k.getSplacalNacas(), 0);
}

TEST(ClientReader, LinesAcrossReadsAndChunksLoadTheSame) {
    // A long header, an over-long line, CRLF and a last line without line
    // feed, read in every size of chunk and of read around the line lengths.
    const std::string content = std::string(300, 'h') + "\n" + r1 + "\r\n" + std::string(1000, 'x') + "\n" + r2 +
                                "\nzle\r\n" + r3 + "\r";
    for (const std::size_t chunk : {1u, 2u, 7u, 60u, 61u, 255u, 256u, 4096u}) {
        for (const std::size_t read : {1u, 5u, 100u, 100000u}) {
            LoadOptions options;
            options.chunk_size = chunk;
            const Loaded loaded = load(TextSource(content, read), options);
            ASSERT_EQ(loaded.reports, malformed(3) + malformed(5) + malformed(6)) << chunk << ' ' << read;
            ASSERT_EQ(loaded.cisla, (Cisla{"850312/0417", "905520/1234"})) << chunk << ' ' << read;
        }
    }
}

TEST(ClientReader, ReadErrorEndsTheLoadAfterTheReportsSoFar) {
    const std::string content = header + "\nzle\n" + r1 + "\n" + r2 + "\nzle";
    LoadOptions options;
    options.chunk_size = 16;
    const Loaded loaded = load(TextSource(content, 7, content.size() - 20), options);
    EXPECT_EQ(loaded.read_error, EIO);
    EXPECT_EQ(loaded.reports, malformed(2));
}

TEST(ClientReader, StopsAtTheLargestCount) {
    LoadOptions options;
    options.max_records = 2;
    const Loaded loaded = load(TextSource(header + "\n" + r1 + "\nzle\n" + r2 + "\n" + r3 + "\nzle"), options);
    EXPECT_EQ(loaded.reports,
              malformed(3) + "Subor klienti.csv ma viac ako 2 zaznamov, dalsie zaznamy neboli nacitane.\n");
    EXPECT_EQ(loaded.cisla, (Cisla{"850312/0417", "905520/1234"}));
}
