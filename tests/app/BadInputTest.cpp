// The bad-input matrix: files and keyboard input as a careless world makes
// them, each through the real reader and the real dialogue, with the exact
// messages and the records that load.

#include "app/Transcript.hpp"

#include <gtest/gtest.h>

namespace {

const std::string good = "850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1";
const std::string full = "12345678901,mmmmmmmmmmmmmmmmmmm,ppppppppppppppppppp,uuuuuuuuuuuuuuuuuuuuuuuuuuuuu,"
                         "ccccccccccccccccccc,ooooooooooooooooooo,9999,99,999999,100,3";

// The full line with field i (0 to 10) one character longer than allowed.
std::string onePast(std::size_t field) {
    std::string line;
    std::size_t index = 0;
    for (const char c : full) {
        if (c == ',') {
            if (index == field) {
                line += 'x';
            }
            ++index;
        }
        line += c;
    }
    return field == 10 ? line + "x" : line;
}

} // namespace

TEST(BadInput, FilesLoadWhatIsValidAndReportTheRest) {
    const struct {
        const char* name;
        std::string content;
        std::string reports;
        int loaded;
    } cases[] = {
        {"empty file", "", "", 0},
        {"header only", header, "", 0},
        {"header only with line end", header + "\n", "", 0},
        {"every field at its limit", header + "\n" + full, "", 1},
        {"birth number one past", header + "\n" + onePast(0), malformed(2, "pole \"rodne cislo\" ma 12 bajtov, najviac 11"), 0},
        {"first name one past", header + "\n" + onePast(1), malformed(2, "pole \"meno\" ma 20 bajtov, najviac 19"), 0},
        {"surname one past", header + "\n" + onePast(2), malformed(2, "pole \"priezvisko\" ma 20 bajtov, najviac 19"), 0},
        {"street one past", header + "\n" + onePast(3), malformed(2, "pole \"ulica a cislo\" ma 30 bajtov, najviac 29"), 0},
        {"city one past", header + "\n" + onePast(4), malformed(2, "pole \"mesto\" ma 20 bajtov, najviac 19"), 0},
        {"occupation one past", header + "\n" + onePast(5), malformed(2, "pole \"povolanie\" ma 20 bajtov, najviac 19"), 0},
        {"salary one past", header + "\n" + onePast(6), malformed(2, "pole \"mesacna mzda\" nie je cele cislo"), 0},
        {"loan count one past", header + "\n" + onePast(7), malformed(2, "pole \"pocet uverov\" nie je cele cislo"), 0},
        {"loan total one past", header + "\n" + onePast(8), malformed(2, "pole \"suma uverov\" nie je cele cislo"), 0},
        {"score one past", header + "\n" + onePast(9), malformed(2, "pole \"bonita\" nie je cele cislo"), 0},
        {"discipline one past", header + "\n" + onePast(10), malformed(2, "pole \"platobna disciplina\" nie je cele cislo"), 0},
        {"too few commas", header + "\n" + good.substr(0, good.rfind(',')) + "\n" + good, malformed(2, "ma 10 poli, ocakava sa 11"), 1},
        {"too many commas", header + "\n" + good + ",1\n" + good, malformed(2, "ma 12 poli, ocakava sa 11"), 1},
        {"empty fields", header + "\n,,,,,,,,,,", "", 1},
        {"CRLF", header + "\r\n" + good + "\r\n" + good + "\r\n", "", 2},
        {"CRLF without final line end", header + "\r\n" + good + "\r\n" + good, "", 2},
        {"carriage return not before a line feed", header + "\n" + good + "\r\r\n" + good, malformed(2, "pole \"platobna disciplina\" nie je cele cislo"), 1},
        {"header that is a record", good + "\n" + good, "", 1},
        {"blank line", header + "\n   \n" + good, malformed(2, "ma 1 poli, ocakava sa 11"), 1},
        {"500 characters with commas", header + "\n" + std::string(490, 'x') + ",,,,,,,,,,\n" + good, malformed(2, "pole \"rodne cislo\" ma 490 bajtov, najviac 11"), 1},
        {"trailing line feed", header + "\n" + good + "\n", "", 1},
        {"last line of one byte", header + "\n" + good + "\nx", malformed(3, "ma 1 poli, ocakava sa 11"), 1},
        {"empty line in the middle", header + "\n" + good + "\n\n" + good, malformed(3, "prazdny riadok"), 2},
        {"line of 500 characters", header + "\n" + std::string(500, 'a') + "\n" + good, malformed(2, "ma 1 poli, ocakava sa 11"), 1},
        {"header of 10000 characters", std::string(10000, 'h') + "\n" + good, "", 1},
        {"NUL byte", header + "\n" + std::string("850312/0417,J\0n,a,b,c,d,1,1,1,1,1\n", 34) + good, malformed(2, "obsahuje bajt NUL"), 1},
        {"bytes above 127", header + "\n850312/0417,\xc5\xa0imon,\xff,\x80,c,d,1,1,1,1,1", "", 1},
        {"short birth number", header + "\n85,a,b,c,d,e,1,1,1,1,1\n,a,b,c,d,e,1,1,1,1,1", "", 2},
        {"birth number with letters", header + "\nab12cd/efgh,a,b,c,d,e,1,1,1,1,1", "", 1},
        {"non-numeric numbers", header + "\n850312/0417,a,b,c,d,e,abc,x,-,+,?", "", 1},
    };
    for (const auto& c : cases) {
        const Session s = run(c.content, "u");
        EXPECT_EQ(s.output, c.reports + menu(c.loaded)) << c.name;
        EXPECT_EQ(s.status, 0) << c.name;
    }
}

TEST(BadInput, OddRecordsGoThroughEveryOrderingAndFilter) {
    // Birth numbers too short, with letters or impossible months, and odd
    // numbers: every criterion must handle them (sanitizers watch the reads).
    const std::string content = header + "\n85,a,b,c,d,e,1,1,1,1,1\n,b,c,d,e,f,-5,0,0,0,0\n"
                                         "ab12cd/efgh,c,d,e,f,g,abc,x,-,+,?\n859912/0000,d,e,f,g,h,1,1,1,1,9\n" +
                              good;
    std::string input;
    for (char k = '1'; k <= '9'; ++k) {
        input += std::string("n") + k + " ";
    }
    for (char k = '1'; k <= '5'; ++k) {
        input += std::string("a") + k + " -2147483648 2147483647 9 ";
    }
    const Session s = run(content, input + "u");
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.files.size(), 14u);
    // Every filter over the whole range keeps all five records.
    std::size_t all = 0;
    for (std::size_t i = s.output.find(matching(5)); i != std::string::npos; i = s.output.find(matching(5), i + 1)) {
        ++all;
    }
    EXPECT_EQ(all, 5u);
}

TEST(BadInput, KeyboardInputOfEveryKind) {
    const std::string content = header + "\n" + good;
    const std::string block = "Klient c. 1\nMeno: Jan\nPriezvisko: Novak\nAdresa: Hlavna 12, Nitra\nPovolanie: ucitel\n"
                             "Mesacna mzda: 950 eur\nPocet uverov: 2\nSuma uverov: 800 eur\n"
                             "Bonita: 80 bodov (max. 100)\nPlatobna disciplina: vyborna\n"
                             "______________________________\n";
    const std::string score_range = range("bonita", 80, 80);
    std::string many_bad;
    for (int i = 0; i < 100000; ++i) {
        many_bad += bad_main;
    }
    const struct {
        const char* name;
        std::string input;
        std::string output;
    } cases[] = {
        {"a very long line of answers", std::string(100000, 'x') + "u", menu(1) + many_bad},
        {"bounds as letters, then end", "a1 abc def", menu(1) + filter_menu_text + score_range + bounds_prompt + bad_bounds},
        {"bounds too large", "a1 2147483648 1\n80 80 1 u",
         menu(1) + filter_menu_text + score_range + bounds_prompt + bad_bounds + matching(1) + sort_menu_after_filter + block + menu(1)},
        {"bounds too small", "a1 -2147483649 1\n-2147483648 2147483647 1 u",
         menu(1) + filter_menu_text + score_range + bounds_prompt + bad_bounds + matching(1) + sort_menu_after_filter + block + menu(1)},
        {"bounds with signs", "a1 +79 +81 1 u",
         menu(1) + filter_menu_text + score_range + bounds_prompt + matching(1) + sort_menu_after_filter + block + menu(1)},
        {"a sign alone", "a1 - 5\n+80 80 1 u",
         menu(1) + filter_menu_text + score_range + bounds_prompt + bad_bounds + matching(1) + sort_menu_after_filter + block + menu(1)},
        {"a fraction", "a1 79.5 81\n79 81 1 u",
         menu(1) + filter_menu_text + score_range + bounds_prompt + bad_bounds + matching(1) + sort_menu_after_filter + block + menu(1)},
        {"tabs and blank lines", "\t\n\n  n \t 1\n\n\nU",
         menu(1) + sort_menu_text + block + menu(1)},
        {"bytes above 127 and NUL", std::string("\xff\0u", 3), menu(1) + bad_main + bad_main},
    };
    for (const auto& c : cases) {
        const Session s = run(content, c.input);
        EXPECT_EQ(s.output, c.output) << c.name;
        EXPECT_EQ(s.status, 0) << c.name;
    }
}
