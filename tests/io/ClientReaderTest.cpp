#include "io/ClientReader.hpp"

#include "ClientGenerator.hpp"
#include "TestSupport.hpp"
#include "io/RecordLine.hpp"
#include "io/TextSource.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <fstream>
#include <sstream>

namespace {

const std::string r1 = "850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1";
const std::string r2 = "905520/1234,Eva,Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,95,2";
const std::string r3 = "140101/0001,Adam,Toth,Dlha 1,Zilina,student,0450,1,1500,-5,3";

std::string malformed(int line, const std::string& reason = "ma 1 poli, ocakava sa 11") {
    return "Riadok " + std::to_string(line) + " v subore klienti.csv ma nespravny format (" + reason +
           "), zaznam bol preskoceny.\n";
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
        loaded.cisla.push_back(text(k->rc.cisloField()));
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
    EXPECT_EQ(text(k.rc.cisloField()), "850312/0417");
    EXPECT_EQ(text(k.menoField()), " Jan ");
    EXPECT_EQ(text(k.priezviskoField()), "Novak");
    EXPECT_EQ(text(k.ulicaField()), "Hlavna 12");
    EXPECT_EQ(text(k.mestoField()), " Nitra");
    EXPECT_EQ(text(k.povolanieField()), "ucitel");
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
            ASSERT_EQ(loaded.reports, malformed(3) + malformed(5) + malformed(6, "pole \"platobna disciplina\" nie je cele cislo")) << chunk << ' ' << read;
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

TEST(ClientReader, LinesThatAreNoRecordsCostNoMemory) {
    // A megabyte of line feeds and malformed lines: no allocation may grow with them.
    std::string junk = header + "\n" + r1 + "\n";
    for (int i = 0; i < 500000; ++i) {
        junk += i % 2 == 0 ? "\n" : "x\n";
    }
    LoadOptions options;
    options.chunk_size = 64 << 10;
    options.workers = 2;
    std::ostringstream reports;
    TextSource source(junk + r2);
    LoadResult result;
    {
        const AllocationLimit limit(256 << 10);
        result = loadClients(source, reports, options);
    }
    EXPECT_EQ(result.klienti.pocet(), 2);
    EXPECT_NE(reports.str().find("ktore boli preskocene: 499990\n"), std::string::npos);
}

TEST(ClientReader, KeepsTheFirstRecordsUpToTheLargestCount) {
    const std::string content = header + "\n" + r1 + "\nzle\n" + r2 + "\n" + r3 + "\nzle";
    const struct {
        std::size_t largest;
        std::string reports;
        Cisla cisla;
    } cases[] = {
        {2, malformed(3) + malformed(6) + "Subor klienti.csv ma viac ako 2 zaznamov, dalsie zaznamy neboli nacitane.\n",
         {"850312/0417", "905520/1234"}},
        {3, malformed(3) + malformed(6), {"850312/0417", "905520/1234", "140101/0001"}},
    };
    for (const auto& c : cases) {
        LoadOptions options;
        options.max_records = c.largest;
        const Loaded loaded = load(TextSource(content), options);
        EXPECT_EQ(loaded.reports, c.reports) << c.largest;
        EXPECT_EQ(loaded.cisla, c.cisla) << c.largest;
    }
}

namespace {

// A generated client file spoiled here and there: malformed and empty lines,
// CRLF, over-long lines, NUL bytes, and sometimes no line feed at the end.
std::string spoiledFile(std::mt19937& random, int lines) {
    const auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    Random generator{static_cast<uint64_t>(between(1, 1000))};
    std::string content = header;
    for (int i = 0; i < lines; ++i) {
        std::string line;
        appendClientLine(line, generator);
        const auto at = [&] { return static_cast<std::size_t>(between(0, static_cast<int>(line.size()) - 1)); };
        switch (between(0, 16)) {
        case 0: line = "zly riadok"; break;
        case 1: line.clear(); break;
        case 2: line += "\r"; break;
        case 3: line += std::string(static_cast<std::size_t>(between(100, 5000)), 'x'); break;
        case 4: line[at()] = '\0'; break;
        case 5: line.insert(at(), "\""); break; // a stray quote
        case 6: // the street quoted, over two lines: a record when it stays within its limit
            line.replace(line.find(',', line.find(',', line.find(',') + 1) + 1) + 1, 0, "\"Ulica\r\n");
            line.insert(line.find(',', line.find("\r\n")), "\"");
            break;
        case 7: line = "\"" + line + "\n" + line + "\""; break;
        default: break;
        }
        content += "\n" + line;
    }
    return between(0, 1) ? content + "\n" : content;
}

// Everything a load gives: the reports, the read error and every record.
std::string loadedText(const std::string& content, const LoadOptions& options, std::size_t read_size,
                       std::optional<std::size_t> fail_after = std::nullopt) {
    TextSource source(content, read_size, fail_after);
    std::ostringstream out;
    const LoadResult result = loadClients(source, out, options);
    TextBuffer records(result.klienti.tabulka().size() * recordLineRoom(Dialect{}));
    for (const Klient* k : result.klienti.tabulka()) {
        appendRecordLine(records, *k, Dialect{});
    }
    return out.str() + "error " + std::to_string(result.read_error) + "\n" + std::string(records.text());
}

} // namespace

TEST(ClientReader, EveryNumberOfWorkersLoadsAsOne) {
    // Chunks and pieces of every size cut the lines, and the records that span
    // lines, at every kind of place, and a chunk may hold fewer lines than
    // there are workers: every way loads as the whole file read at once.
    std::mt19937 random(13);
    for (int round = 0; round < 40; ++round) {
        const std::string content = spoiledFile(random, std::uniform_int_distribution<int>(0, 400)(random));
        LoadOptions options;
        options.chunk_size = std::uniform_int_distribution<std::size_t>(1, 20000)(random);
        options.max_records = round % 4 == 0 ? std::uniform_int_distribution<std::size_t>(0, 300)(random) : INT32_MAX;
        const std::size_t read_size = std::uniform_int_distribution<std::size_t>(1, 30000)(random);
        const std::optional<std::size_t> fail_after =
            round % 5 == 0 ? std::optional<std::size_t>(content.size() / 2) : std::nullopt;
        LoadOptions whole = options;
        whole.chunk_size = content.size() + 1;
        const std::string alone = fail_after ? loadedText(content, options, read_size, fail_after)
                                             : loadedText(content, whole, content.size() + 1);
        for (const unsigned workers : {1u, 2u, 3u, 4u}) {
            options.workers = workers;
            options.min_shared_chunk = 1;
            ASSERT_EQ(loadedText(content, options, read_size, fail_after), alone)
                << "round " << round << ", " << workers << " workers";
        }
    }
}

// Files a spreadsheet saves: the header decides the separator, a byte order
// mark before it is no part of it, a quoted field may hold the separator and
// doubled quotes, and its limit counts the unquoted bytes.
TEST(ClientReader, ReadsTheDialectOfTheHeader) {
    const std::string bom = "\xEF\xBB\xBF";
    const std::string semicolons = "rodne cislo;meno;priezvisko;ulica a cislo;mesto;povolanie;mesacna mzda;pocet "
                                   "uverov;suma uverov;bonita;platobna disciplina";
    const struct {
        std::string content;
        char separator;
        bool mark, quotes;
        std::string ulica; // of the one record expected, or none
        std::string meno;
    } cases[] = {
        {header + "\n" + r1, ',', false, false, "Hlavna 12", "Jan"},
        {semicolons + "\n850312/0417;Jan;Novak;Hlavna 12, byt 3;Nitra;ucitel;950;2;800;80;1", ';', false, false,
         "Hlavna 12, byt 3", "Jan"},
        {"a\tb,c\n850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1", ',', false, false, "Hlavna 12", "Jan"},
        {"a\tb;c\n850312/0417;Jan;Novak;Hlavna 12;Nitra;ucitel;950;2;800;80;1", ';', false, false, "Hlavna 12", "Jan"},
        {"a\tb\n850312/0417\tJan\tNovak\tHlavna 12\tNitra\tucitel\t950\t2\t800\t80\t1", '\t', false, false,
         "Hlavna 12", "Jan"},
        {bom + header + "\n" + r1, ',', true, false, "Hlavna 12", "Jan"},
        {bom + "ab\n" + r1, ',', true, false, "Hlavna 12", "Jan"}, // no separator: commas
        {"\xEF\xBB" + header + "\n" + r1, ',', false, false, "Hlavna 12", "Jan"},
        {header + "\n850312/0417,\"Jan\",Novak,\"Hlavna 5, byt 3\",Nitra,ucitel,950,2,800,80,\"1\"", ',', false, true,
         "Hlavna 5, byt 3", "Jan"},
        {header + "\n850312/0417,\"\"\"Jano\"\"\",Novak,\"a\"\"b\",Nitra,ucitel,950,2,800,80,1", ',', false, true,
         "a\"b", "\"Jano\""},
        {header + "\n850312/0417,\"" + std::string(19, 'm') + "\",Novak,x,Nitra,ucitel,950,2,800,80,1", ',', false,
         true, "x", std::string(19, 'm')},
        {header + "\n850312/0417,Ja\"n,Novak,x\"\",Nitra,ucitel,950,2,800,80,1", ',', false, false, "x\"\"", "Ja\"n"},
        // Malformed quoting: unclosed, text after the closing quote, beyond the
        // limit once unquoted, a quote spanning lines.
        {header + "\n850312/0417,\"Jan,Novak,x,Nitra,ucitel,950,2,800,80,1", ',', false, false, "", ""},
        {header + "\n850312/0417,\"Jan\"x,Novak,x,Nitra,ucitel,950,2,800,80,1", ',', false, false, "", ""},
        {header + "\n850312/0417,\"" + std::string(20, 'm') + "\",Novak,x,Nitra,ucitel,950,2,800,80,1", ',', false,
         false, "", ""},
        {header + "\n850312/0417,Jan,Novak,x,Nitra,ucitel,950,2,800,80,\"1\"2", ',', false, false, "", ""},
        {header + "\n850312/0417,\"Jan\nNovak\",x,Nitra,ucitel,950,2,800,80,1", ',', false, false, "", ""},
    };
    for (const auto& c : cases) {
        for (const std::size_t read : {1u, 2u, 100000u}) {
            TextSource source(c.content, read);
            std::ostringstream reports;
            const LoadResult result = loadClients(source, reports);
            EXPECT_EQ(result.dialect.separator, c.separator) << c.content;
            EXPECT_EQ(result.dialect.byte_order_mark, c.mark) << c.content;
            EXPECT_EQ(result.dialect.some_field_quoted, c.quotes) << c.content;
            if (c.ulica.empty()) {
                EXPECT_EQ(result.klienti.pocet(), 0) << c.content;
                EXPECT_NE(reports.str(), "") << c.content;
                continue;
            }
            ASSERT_EQ(result.klienti.pocet(), 1) << c.content;
            EXPECT_EQ(text(result.klienti.tabulka()[0]->ulicaField()), c.ulica) << c.content;
            EXPECT_EQ(text(result.klienti.tabulka()[0]->menoField()), c.meno) << c.content;
            EXPECT_EQ(result.klienti.tabulka()[0]->getSplacalNacas(), 1) << c.content;
        }
    }
}

// More records than a worker's slabs of a huge page each hold, with one
// worker and with several: every record comes back, in file order, as written.
TEST(ClientReader, ManyRecordsLoadWholeAndInOrder) {
    const std::string content = generateClientFile(40000, 3);
    const std::string body = content.substr(content.find('\n') + 1) + "\n"; // the last line has no end
    for (const unsigned workers : {1u, 3u}) {
        LoadOptions options;
        options.workers = workers;
        options.chunk_size = 1 << 20;
        options.min_shared_chunk = 1;
        TextSource source(content);
        std::ostringstream reports;
        const LoadResult result = loadClients(source, reports, options);
        ASSERT_EQ(result.klienti.pocet(), 40000);
        TextBuffer written(40000 * recordLineRoom(Dialect{}));
        for (const Klient* k : result.klienti.tabulka()) {
            appendRecordLine(written, *k, Dialect{});
        }
        EXPECT_TRUE(written.text() == body) << workers;
    }
}

TEST(ClientReader, AHeaderWithoutALineEndStillGivesTheDialect) {
    for (const std::size_t read : {1u, 100000u}) {
        TextSource source("\xEF\xBB\xBFrodne cislo;meno", read);
        std::ostringstream reports;
        const LoadResult result = loadClients(source, reports);
        EXPECT_EQ(result.dialect.separator, ';');
        EXPECT_TRUE(result.dialect.byte_order_mark);
        EXPECT_EQ(result.klienti.pocet(), 0);
        EXPECT_EQ(reports.str(), "");
    }
}

// What is written in a dialect reads back as the same records, whatever the
// texts hold: separators, quotes at either end or within, blanks.
TEST(ClientReader, RecordsWrittenInADialectReadBackTheSame) {
    std::mt19937 random(21);
    const std::string alphabet = "ab ,;\t\"x";
    const auto texts = [&](std::size_t most) {
        std::string t(std::uniform_int_distribution<std::size_t>(0, most)(random), ' ');
        for (char& ch : t) {
            ch = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
        }
        return t;
    };
    for (const char separator : {',', ';', '\t'}) {
        for (const bool mark : {false, true}) {
            std::vector<Klient> records(200);
            for (Klient& k : records) {
                k.rc.setCislo(texts(11));
                k.setMeno(texts(19));
                k.setPriezvisko(texts(19));
                k.setUlica(texts(29));
                k.setMesto(texts(19));
                k.setPovolanie(texts(19));
                k.setPlat(std::uniform_int_distribution<int32_t>(-999, 9999)(random));
                k.setSplacalNacas(std::uniform_int_distribution<int32_t>(0, 9)(random));
            }
            const Dialect dialect{separator, mark, true};
            TextBuffer written(records.size() * recordLineRoom(dialect));
            for (const Klient& k : records) {
                appendRecordLine(written, k, dialect);
            }
            std::string header_line(hlavicka_suboru);
            std::replace(header_line.begin(), header_line.end(), ',', separator);
            TextSource source((mark ? "\xEF\xBB\xBF" : "") + header_line + std::string(written.text()));
            std::ostringstream reports;
            const LoadResult result = loadClients(source, reports);
            EXPECT_EQ(reports.str(), "");
            EXPECT_EQ(result.dialect.separator, separator);
            EXPECT_EQ(result.dialect.byte_order_mark, mark);
            ASSERT_EQ(result.klienti.pocet(), 200) << separator;
            for (std::size_t i = 0; i < records.size(); ++i) {
                const Klient& read = *result.klienti.tabulka()[i];
                const Klient& k = records[i];
                ASSERT_EQ(text(read.rc.cisloField()), text(k.rc.cisloField()));
                ASSERT_EQ(text(read.menoField()), text(k.menoField()));
                ASSERT_EQ(text(read.priezviskoField()), text(k.priezviskoField()));
                ASSERT_EQ(text(read.ulicaField()), text(k.ulicaField()));
                ASSERT_EQ(text(read.mestoField()), text(k.mestoField()));
                ASSERT_EQ(text(read.povolanieField()), text(k.povolanieField()));
                ASSERT_EQ(read.getPlat(), k.getPlat());
                ASSERT_EQ(read.getSplacalNacas(), k.getSplacalNacas());
            }
        }
    }
}

// A record whose texts are all quotes, each at its limit, is longer than any
// plain record line: every quote is doubled. It loads whole wherever a read
// or a chunk cuts it, and as the last line, without a line feed.
TEST(ClientReader, RecordsOfDoubledQuotesAtTheirLimitsLoadWhereverTheyAreCut) {
    const auto quoted = [](std::size_t quotes) { return "\"" + std::string(2 * quotes, '"') + "\""; };
    std::string line = quoted(11);
    for (const std::size_t limit : {19u, 19u, 29u, 19u}) {
        line += "," + quoted(limit);
    }
    line += "," + quoted(18) + ",9999,9,123456,100,1";
    ASSERT_GT(line.size(), 260u);
    const std::string content = header + "\n" + line + "\r\n" + line + "\n" + line;
    for (std::size_t chunk = 1; chunk <= content.size() + 1; chunk += chunk < 600 ? 1 : 97) {
        for (const std::size_t read : {1u, 3u, 100000u}) {
            LoadOptions options;
            options.chunk_size = chunk;
            TextSource source(content, read);
            std::ostringstream reports;
            const LoadResult result = loadClients(source, reports, options);
            ASSERT_EQ(reports.str(), "") << chunk << ' ' << read;
            ASSERT_EQ(result.klienti.pocet(), 3) << chunk << ' ' << read;
            for (const Klient* k : result.klienti.tabulka()) {
                ASSERT_EQ(text(k->rc.cisloField()), std::string(11, '"')) << chunk << ' ' << read;
                ASSERT_EQ(text(k->ulicaField()), std::string(29, '"')) << chunk << ' ' << read;
                ASSERT_EQ(text(k->povolanieField()), std::string(18, '"')) << chunk << ' ' << read;
                ASSERT_EQ(k->getSumaUverov(), 123456) << chunk << ' ' << read;
                ASSERT_EQ(k->getBonita(), 100) << chunk << ' ' << read;
            }
        }
    }
}

// A quoted field may hold line ends (a cell's Alt+Enter): the record then
// spans lines, when it is a record whole. Else its first line is skipped
// with its own reason and the next line is read as a line of its own; line
// numbers count the lines of the file.
TEST(ClientReader, ARecordSpansLinesOnlyWhenItIsWhole) {
    const std::string spanning = "850312/0417,Jan,Novak,\"Hlavna 5\r\nbyt 3\",Nitra,ucitel,950,2,800,80,1";
    const std::string open = "850312/0418,\"Jan,Novak,x,Nitra,ucitel,950,2,800,80,1";
    const std::string content = header + "\r\n" + spanning + "\r\n" + open + "\r\n" + r2 + "\r\nzle\r\n" + r3;
    for (const std::size_t chunk : {3u, 40u, 100u, 4096u}) {
        for (const unsigned workers : {1u, 2u, 3u}) {
            LoadOptions options;
            options.chunk_size = chunk;
            options.workers = workers;
            options.min_shared_chunk = 1;
            TextSource source(content, 7);
            std::ostringstream reports;
            const LoadResult result = loadClients(source, reports, options);
            ASSERT_EQ(reports.str(), malformed(4, "neukoncene uvodzovky v poli \"meno\"") + malformed(6))
                << chunk << ' ' << workers;
            ASSERT_EQ(result.klienti.pocet(), 3) << chunk << ' ' << workers;
            EXPECT_EQ(text(result.klienti.tabulka()[0]->ulicaField()), "Hlavna 5\r\nbyt 3");
            EXPECT_EQ(text(result.klienti.tabulka()[1]->rc.cisloField()), "905520/1234");
            EXPECT_TRUE(result.dialect.some_field_quoted && result.dialect.crlf);
        }
    }
}

TEST(ClientReader, AUtf16FileIsRefusedUnread) {
    for (const std::string mark : {"\xFF\xFE", "\xFE\xFF"}) {
        TextSource source(mark + std::string("r\0o\0d\0n\0e\0\n\0", 12) + r1);
        std::ostringstream reports;
        const LoadResult result = loadClients(source, reports);
        EXPECT_TRUE(result.utf16);
        EXPECT_EQ(result.klienti.pocet(), 0);
        EXPECT_EQ(reports.str(), "");
    }
}

namespace {
std::size_t mappings() {
    std::ifstream maps("/proc/self/maps");
    std::size_t lines = 0;
    for (std::string line; std::getline(maps, line);) {
        ++lines;
    }
    return lines;
}
} // namespace

// Each slab is a mapping of its own, and the kernel allows a process some
// 65,530: slabs grow with what a worker holds, so that the most records the
// program counts fit in a few hundred mappings, and a load of a few hundred
// thousand in a few dozen.
TEST(ClientReader, SlabsGrowSoThatMappingsStayFew) {
    std::size_t slabs = 0;
    for (std::size_t held = 0; held < std::size_t{INT32_MAX}; held += slabBytes(held) / sizeof(Klient)) {
        ++slabs;
    }
    EXPECT_LT(slabs, 150u);
    const std::string content = generateClientFile(300000, 5);
    LoadOptions options;
    options.chunk_size = 1 << 20;
    TextSource source(content);
    std::ostringstream reports;
    const std::size_t before = mappings();
    const LoadResult result = loadClients(source, reports, options);
    ASSERT_EQ(result.klienti.pocet(), 300000);
#if defined(__SANITIZE_THREAD__) // whose runtime maps shadow memory beside each mapping
    static_cast<void>(before);
#else
    EXPECT_LT(mappings() - before, 30u); // slabs of one huge page each: 31 and more
#endif
}

// Where a cut between pieces falls between the lines of a record, the next
// piece may have read those lines another way (here its first line opens a
// quote that its next line closes): the reading from the file's start holds.
TEST(ClientReader, ARecordRunningOverACutIsReadAsFromTheStart) {
    const std::string two_readings = "r,m,p,\"u1\na,\",c,o,1,2,3,4,5\nx\",p,u,m,po,1,2,3,4,5\n";
    for (int before = 0; before < 30; ++before) {
        std::string content = header + "\n";
        for (int i = 0; i < before; ++i) {
            content += r1 + "\n";
        }
        content += two_readings;
        for (int i = 0; i < 10; ++i) {
            content += r2 + "\n";
        }
        LoadOptions options;
        options.chunk_size = content.size() + 1;
        const std::string whole = loadedText(content, options, content.size());
        ASSERT_NE(whole.find(malformed(before + 4, "ma 10 poli, ocakava sa 11")), std::string::npos) << whole;
        for (const unsigned workers : {2u, 3u}) {
            options.workers = workers;
            options.min_shared_chunk = 1;
            ASSERT_EQ(loadedText(content, options, content.size()), whole) << before << ' ' << workers;
        }
    }
}
