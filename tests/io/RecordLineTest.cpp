#include "io/RecordLine.hpp"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace {

std::string reason(std::string_view line, char separator = ',') {
    std::ostringstream out;
    out << diagnoseLine(line, separator);
    return out.str();
}

bool isRecord(std::string_view line, char separator = ',') {
    RecordFields fields;
    const char* end = nullptr;
    uint64_t lines = 0;
    const char* const data_end = line.data() + line.size();
    return splitRecord(line.data(), data_end, data_end, true, separator, fields, end, lines) == Split::record;
}

} // namespace

// A line that is no record is told why: the first fault from the left, a
// wrong number of fields before any.
TEST(RecordLine, EveryFaultIsNamed) {
    const struct {
        std::string line;
        std::string reason;
    } cases[] = {
        {"", "prazdny riadok"},
        {"a,b,c,d,e,f,1,2,3", "ma 9 poli, ocakava sa 11"},
        {"a,b,c,d,e,f,1,2,3,4,5,x", "ma 12 poli, ocakava sa 11"},
        {"a,b,c," + std::string(32, 'u') + ",e,f,1,2,3,4,5", "pole \"ulica a cislo\" ma 32 bajtov, najviac 29"},
        {"a,\"" + std::string(20, 'm') + "\",c,d,e,f,1,2,3,4,5", "pole \"meno\" ma 20 bajtov, najviac 19"},
        {"a,\"m\"\"" + std::string(18, 'm') + "\",c,d,e,f,1,2,3,4,5", "pole \"meno\" ma 20 bajtov, najviac 19"},
        {"a,b,c,d,e,f,12a45,2,3,4,5", "pole \"mesacna mzda\" nie je cele cislo"},
        {"a,b,c,d,e,f,1,2,2147483648,4,5", "pole \"suma uverov\" nie je cele cislo"},
        {"a,b,c,d,e,f,1,2,3,4, 12", "pole \"platobna disciplina\" nie je cele cislo"},
        {"a,\"Jan,b,c,d,e,f,1,2,3,4,5", "neukoncene uvodzovky v poli \"meno\""},
        {"a,\"Jan\"x,c,d,e,f,1,2,3,4,5", "za uvodzovkami v poli \"meno\" nasleduje iny text"},
        {std::string("a,J\0n,c,d,e,f,1,2,3,4,5", 23), "obsahuje bajt NUL"},
        {std::string(5000, 'x'), "riadok ma viac ako 4096 bajtov"},
        // Several faults: the first from the left; the count before any.
        {"a,\"Jan\"x,c," + std::string(32, 'u') + ",e,f,1,2,3,4,5", "za uvodzovkami v poli \"meno\" nasleduje iny text"},
        {"a," + std::string(20, 'm') + ",c,d,e,f,1,2,3,4,5,6", "ma 12 poli, ocakava sa 11"},
        {std::string(12, 'r') + ",\"Jan,c", "pole \"rodne cislo\" ma 12 bajtov, najviac 11"},
        {"a,b,c,d,e,f,1,2,3,4,5,,\"x", "ma 13 poli, ocakava sa 11"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(reason(c.line), c.reason) << c.line;
        EXPECT_FALSE(isRecord(c.line)) << c.line;
    }
}

// What loads: numbers past their width as plain integers, empty fields after
// the eleventh, a quoted field holding the separator; atoi within the width.
TEST(RecordLine, RecordsPastTheWidthsAndWithEmptyColumnsLoad) {
    const struct {
        std::string line;
        char separator;
        int32_t plat, suma_uverov;
    } cases[] = {
        {"a,b,c,d,e,f,12500,2,1500000,4,5", ',', 12500, 1500000},
        {"a,b,c,d,e,f,+0012500,2,-2147483648,4,5", ',', 12500, INT32_MIN},
        {"a;b;c;d;e;f;9x;2;\"1500000\";4;1;;", ';', 9, 1500000},
        {"a;b;c;d;e;f;1;2;3;4;1;\"\";", ';', 1, 3},
        {"a\tb\tc\td\te\tf\t 12\t2\t3\t4\t1", '\t', 12, 3},
    };
    for (const auto& c : cases) {
        RecordFields fields;
        const char* end = nullptr;
        uint64_t lines = 0;
        const char* const data_end = c.line.data() + c.line.size();
        ASSERT_EQ(splitRecord(c.line.data(), data_end, data_end, true, c.separator, fields, end, lines), Split::record)
            << c.line;
        Klient k;
        fillKlient(fields, k);
        EXPECT_EQ(k.getPlat(), c.plat) << c.line;
        EXPECT_EQ(k.getSumaUverov(), c.suma_uverov) << c.line;
        EXPECT_EQ(reason(c.line, c.separator), "") << c.line;
    }
}

// The split and the reason agree on every line: a line is a record exactly
// when no fault is found in it.
TEST(RecordLine, SplitAndReasonAgree) {
    std::mt19937 random(5);
    const std::string alphabet = "a1-+,\"\r ;";
    for (int round = 0; round < 200000; ++round) {
        std::string line = "8503120417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1";
        const int edits = std::uniform_int_distribution<int>(1, 4)(random);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = std::uniform_int_distribution<std::size_t>(0, line.size())(random);
            const char c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
            switch (std::uniform_int_distribution<int>(0, 2)(random)) {
            case 0: line.insert(at, 1, c); break;
            case 1: line.erase(at, 1); break;
            default: line.insert(at, std::string(std::uniform_int_distribution<std::size_t>(1, 12)(random), c));
            }
        }
        ASSERT_EQ(isRecord(line), reason(line).empty()) << line << " / " << reason(line);
    }
}

TEST(RecordLine, TheHeaderChoosesTheSeparatorThatGivesElevenColumns) {
    const std::string names[] = {"rodne cislo", "meno",        "priezvisko", "ulica, cislo", "mesto", "povolanie",
                                 "mzda, EUR",   "pocet uverov", "suma",      "bonita",       "platobna"};
    const auto joined = [&](char separator, bool quoted) {
        std::string header;
        for (const std::string& name : names) {
            const bool comma = name.find(',') != std::string::npos;
            header += (header.empty() ? "" : std::string(1, separator)) + (quoted && comma ? "\"" + name + "\"" : name);
        }
        return header;
    };
    const struct {
        std::string header;
        char separator;
    } cases[] = {
        {joined(';', false), ';'},
        {joined(';', true), ';'},
        {joined(';', true) + ";;;", ';'},
        {joined('\t', false), '\t'},
        {joined(',', true), ','},
        {"a;b,c", ','},    // none gives eleven: the first present
        {"a;b\tc", ';'},
        {"a\tb", '\t'},
        {"abc", ','},
        {"", ','},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(separatorOf(c.header), c.separator) << c.header;
    }
}
