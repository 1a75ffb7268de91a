#include "app/Dialogue.hpp"

#include "ClientGenerator.hpp"
#include "app/Transcript.hpp"
#include "io/TextSource.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string novak = "850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1";
const std::string kovacova = "905520/1234,Eva,Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,35,2";
const std::string toth = "141231/0001,Adam,Toth,Dlha 1,Zilina,student,450,12,1500,92,3";
const std::string three = header + "\n" + novak + "\n" + kovacova + "\n" + toth;

std::string blockNovak(int n) { return block(n, "Jan", "Novak", "Hlavna 12, Nitra", "ucitel", 950, 2, 800, 80, "vyborna"); }
std::string blockKovacova(int n) {
    return block(n, "Eva", "Kovacova", "Lesna 3, Kosice", "lekarka", 2100, 0, 0, 35, "priemerna");
}
std::string blockToth(int n) { return block(n, "Adam", "Toth", "Dlha 1, Zilina", "student", 450, 12, 1500, 92, "slaba"); }

} // namespace

TEST(Dialogue, FilterBranchListsThenWritesTheMatches) {
    const TempDir dir;
    // "a1" answers the first two prompts at once; the bounds may take two lines.
    const Session s = run(three, "x a1\n40\n100\n2\nU\n", dir);
    EXPECT_EQ(s.output, menu(3) + bad_main + filter_menu_text + range("bonita", 35, 92) + bounds_prompt +
                            matching(2) + sort_menu_after_filter + blockNovak(1) + blockToth(2) + menu(3));
    EXPECT_EQ(s.status, 0);
    ASSERT_EQ(s.files, std::vector<std::string>{"Mon 07. Dec. 2026, 14.05.csv"});
    EXPECT_EQ(readFile(dir.path() / s.files[0]), header + "\n" + novak + "\n" + toth + "\n");
}

TEST(Dialogue, AtATerminalAnAnswerIsALineAndImpossibleBoundsAreNamed) {
    const std::string note = "klienti: do suboru \"Mon 07. Dec. 2026, 14.05.csv\" bolo zapisanych 3 zaznamov\n";
    const std::string impossible = "klienti: dolna hranica 80 je vacsia ako horna hranica 40, preto nevyhovuje ziadny "
                                   "zaznam\n";
    const std::string empty_filter =
        filter_menu_text + range("bonita", 35, 92) + bounds_prompt + matching(0) + nothing_to_order + menu(3);
    const struct {
        std::string input;
        bool terminal;
        std::string output;
        std::string diagnostics;
    } cases[] = {
        // An invalid line gets one message at a terminal, one a character through a pipe.
        {"xyz\nu\n", true, menu(3) + bad_main, ""},
        {"xyz\nu\n", false, menu(3) + bad_main + bad_main + bad_main, ""},
        // The rest of an answer's line is dropped and named, trailing blanks cut.
        {"n 2 \t\n3\nu\n", true,
         menu(3) + sort_menu_text + blockKovacova(1) + blockNovak(2) + blockToth(3) + menu(3),
         "klienti: zvysok riadku \"2\" bol ignorovany\n" + note},
        {std::string("n\x1b[2J") + std::string(50, 'z') + "\n3\nu\n", true,
         menu(3) + sort_menu_text + blockKovacova(1) + blockNovak(2) + blockToth(3) + menu(3),
         "klienti: zvysok riadku \"?[2J" + std::string(36, 'z') + "...\" bol ignorovany\n" + note},
        // Bounds the wrong way round are named; the rest of their line goes.
        {"a\n1\n80 40 90\nu\n", true, menu(3) + empty_filter,
         "klienti: zvysok riadku \"90\" bol ignorovany\n" + impossible},
        {"a1 80 40 u", false, menu(3) + empty_filter, impossible},
    };
    for (const auto& c : cases) {
        const TempDir dir;
        Setting setting;
        setting.input_terminal = c.terminal;
        const Session s = run(three, c.input, dir, fixedCalendar(2026, 12, 7, 14, 5), setting);
        EXPECT_EQ(s.output, c.output) << c.input;
        EXPECT_EQ(s.diagnostics, c.diagnostics) << c.input;
    }
}

TEST(Dialogue, OrderingWithoutFilterPersistsForLaterCycles) {
    const TempDir dir;
    const std::string baran = "850312/0417,Ivan,Baran,Dlha 5,Nitra,ucitel,950,2,800,80,1";
    const std::string blockBaran = block(1, "Ivan", "Baran", "Dlha 5, Nitra", "ucitel", 950, 2, 800, 80, "vyborna");
    // Order all by surname, then filter the two clients whose numbers are all
    // equal: they enter the filtered table, and stay after ordering by score,
    // in surname order, not in file order.
    const Session s = run(header + "\n" + novak + "\n" + baran + "\n" + kovacova, "n\n2\na\n1\n80 80\n0\n8\nu", dir);
    EXPECT_EQ(s.output, menu(3) + sort_menu_text + blockBaran + blockKovacova(2) + blockNovak(3) + menu(3) +
                            filter_menu_text + range("bonita", 35, 80) + bounds_prompt + matching(2) +
                            sort_menu_after_filter + bad_sort + blockBaran + blockNovak(2) + menu(3));
    // Two outputs in one minute: the second gets its own name.
    EXPECT_EQ(s.files, (std::vector<std::string>{"Mon 07. Dec. 2026, 14.05 (2).csv", "Mon 07. Dec. 2026, 14.05.csv"}));
    EXPECT_EQ(readFile(dir.path() / "Mon 07. Dec. 2026, 14.05.csv"),
              header + "\n" + baran + "\n" + kovacova + "\n" + novak + "\n");
    EXPECT_EQ(readFile(dir.path() / "Mon 07. Dec. 2026, 14.05 (2).csv"), header + "\n" + baran + "\n" + novak + "\n");
}

TEST(Dialogue, AgeFilterAndOrderUseTheInjectedDate) {
    // On 7 December 2026: Novak (1985) is 41, Kovacova (1990) 36, Toth (2014) 12.
    const Session s = run(three, "a5 30 50 9 u");
    EXPECT_EQ(s.output, menu(3) + filter_menu_text + range("vek", 12, 41) + bounds_prompt + matching(2) +
                            sort_menu_after_filter + blockKovacova(1) + blockNovak(2) + menu(3));
}

TEST(Dialogue, RejectedCriteriaAndBoundsAreAskedAgain) {
    const Session s = run(three, "a0\n6\n2\nabc\n99999999999 1\n+0 -1\nn\n0\n6\nu\n");
    EXPECT_EQ(s.output, menu(3) + filter_menu_text + bad_filter + bad_filter + range("pocet uverov", 0, 12) +
                            bounds_prompt + bad_bounds + bad_bounds + matching(0) + nothing_to_order + menu(3) +
                            sort_menu_text + bad_sort + blockKovacova(1) + blockNovak(2) + blockToth(3) + menu(3));
}

TEST(Dialogue, EndOfInputAtEveryPromptEndsQuietly) {
    const TempDir dir;
    const struct {
        std::string input;
        std::string output;
    } cases[] = {
        {"", menu(3)},
        {"x", menu(3) + bad_main},
        {"a", menu(3) + filter_menu_text},
        {"a9", menu(3) + filter_menu_text + bad_filter},
        {"a1 40", menu(3) + filter_menu_text + range("bonita", 35, 92) + bounds_prompt},
        {"a1 abc", menu(3) + filter_menu_text + range("bonita", 35, 92) + bounds_prompt + bad_bounds},
        {"a1 40 100", menu(3) + filter_menu_text + range("bonita", 35, 92) + bounds_prompt + matching(2) +
                          sort_menu_after_filter},
        {"n0", menu(3) + sort_menu_text + bad_sort},
    };
    for (const bool terminal : {false, true}) {
        for (const auto& c : cases) {
            const Session s = run(three, c.input, dir, fixedCalendar(2026, 12, 7), {"klienti.csv", terminal});
            // On a terminal the line is ended, so that the shell's prompt starts a line of its own.
            EXPECT_EQ(s.output, c.output + (terminal ? "\n" : "")) << '"' << c.input << '"';
            EXPECT_EQ(s.status, 0);
            EXPECT_TRUE(s.files.empty());
        }
    }
    // Quitting is no end of input.
    EXPECT_EQ(run(three, "u", dir, fixedCalendar(2026, 12, 7), {"klienti.csv", true}).output, menu(3));
}

TEST(Dialogue, EmptyTableInBothBranches) {
    const TempDir dir;
    const Session s = run(header, "a5 0 200 n 1 u", dir);
    EXPECT_EQ(s.output, menu(0) + filter_menu_text + "\nPre kriterium \"vek\" sa v subore nenachadzaju ziadne hodnoty.\n" +
                            bounds_prompt + matching(0) + nothing_to_order + menu(0) + sort_menu_text + menu(0));
    ASSERT_EQ(s.files, std::vector<std::string>{"Mon 07. Dec. 2026, 14.05.csv"});
    EXPECT_EQ(readFile(dir.path() / s.files[0]), header + "\n");
}

TEST(Dialogue, OutputFailureIsReportedWhereEachBranchWrites) {
    // The client file elsewhere, the working directory gone: no output can be made.
    const TempDir dir;
    writeFile(dir.path() / "klienti.csv", three);
    std::istringstream in("a1 90 100 1 n 6 u");
    StringSink out;
    StringSink err;
    Environment env{in, out, err, fixedCalendar(2026, 12, 7, 14, 5), dir.path() / "gone", (dir.path() / "klienti.csv").string()};
    EXPECT_EQ(runKlienti(env), 0);
    EXPECT_EQ(out.text(), menu(3) + filter_menu_text + range("bonita", 35, 92) + bounds_prompt + matching(1) +
                             sort_menu_after_filter + blockToth(1) + output_failed + menu(3) + sort_menu_text +
                             output_failed + blockKovacova(1) + blockNovak(2) + blockToth(3) + menu(3));
    const std::string reason =
        "klienti: vystupny subor \"Mon 07. Dec. 2026, 14.05.csv\" sa nepodarilo zapisat: No such file or directory\n";
    EXPECT_EQ(err.text(), reason + reason);
}

TEST(Dialogue, DiagnosticsNameTheFileAsGivenAndEachOutput) {
    // Lines of another separator under a comma header: twelve malformed lines.
    std::string content = header;
    for (int i = 0; i < 12; ++i) {
        content += "\n850312/0417;Jan;Novak";
    }
    const TempDir dir;
    const Session s = run(content + "\n" + novak, "n1u", dir, fixedCalendar(2026, 12, 7, 14, 5), {"data/export.csv"});
    std::string reports;
    for (int line = 2; line <= 11; ++line) {
        reports += malformed(line, "ma 1 poli, ocakava sa 11", "data/export.csv");
    }
    reports += "Dalsie riadky s nespravnym formatom v subore data/export.csv, ktore boli preskocene: 2\n";
    EXPECT_EQ(s.output, reports + menu(1) + sort_menu_text + blockNovak(1) + menu(1));
    EXPECT_EQ(s.diagnostics, "klienti: do suboru \"Mon 07. Dec. 2026, 14.05.csv\" bolo zapisanych 1 zaznamov\n");
    EXPECT_EQ(s.files, std::vector<std::string>{"Mon 07. Dec. 2026, 14.05.csv"});
}

// A file a spreadsheet saved loads whole; a dialect other than plain commas
// is named, and the output file speaks it: its separator, its byte order
// mark, quotes exactly where reading back needs them. Standard output is the
// same as for the plain file.
TEST(Dialogue, ASpreadsheetsFileIsReadAndWrittenInItsDialect) {
    const std::string bom = "\xEF\xBB\xBF";
    const auto separated = [](std::string line, char separator) {
        std::replace(line.begin(), line.end(), ',', separator);
        return line;
    };
    const std::string note = "klienti: subor \"klienti.csv\" je oddeleny ";
    const std::string same = "; vystupne subory budu zapisane rovnako\n";
    const struct {
        std::string content;
        std::string diagnostics;
        std::string file;
    } cases[] = {
        {three, "", header + "\n" + kovacova + "\n" + novak + "\n" + toth + "\n"},
        {bom + separated(three, ';'), note + "bodkociarkami a zacina znackou poradia bajtov UTF-8" + same,
         bom + separated(header + "\n" + kovacova + "\n" + novak + "\n" + toth + "\n", ';')},
        {separated(three, '\t'), note + "tabulatormi" + same,
         separated(header + "\n" + kovacova + "\n" + novak + "\n" + toth + "\n", '\t')},
        // Quoted where the input needed it or not: the output quotes only a
        // field that holds the separator, a quote or a line end.
        {header + "\n\"850312/0417\",Jan,Novak,\"Hlavna 12, byt 3\",Nitra,\"\"\"ucitel\"\"\",950,2,800,80,1\n" + kovacova +
             "\n" + toth,
         "", header + "\n" + kovacova + "\n850312/0417,Jan,Novak,\"Hlavna 12, byt 3\",Nitra,\"\"\"ucitel\"\"\",950,2,800,80,1\n" +
                 toth + "\n"},
        // A spreadsheet's CRLF, a quote within a field and a line end in a
        // cell, with an empty column after the last: written back as a strict
        // reader needs them, line ends mirrored.
        {separated(header, ';') + ";\r\n850312/0417;Jan;Novak;\"Hlavna 12\r\nbyt 3\";Nitra;riaditel \"IT\";950;2;800;80;1;\r\n" +
             separated(kovacova, ';') + ";\r\n" + separated(toth, ';'),
         note + "bodkociarkami" + same,
         separated(header, ';') + "\r\n" + separated(kovacova, ';') +
             "\r\n850312/0417;Jan;Novak;\"Hlavna 12\r\nbyt 3\";Nitra;\"riaditel \"\"IT\"\"\";950;2;800;80;1\r\n" +
             separated(toth, ';') + "\r\n"},
        // A plain comma file is written as it always was: LF, a quote within
        // a field left as it stands.
        {header + "\r\n850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel \"IT\",950,2,800,80,1\r\n" + kovacova + "\r\n" +
             toth + "\r\n",
         "",
         header + "\n" + kovacova + "\n850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel \"IT\",950,2,800,80,1\n" + toth + "\n"},
    };
    const TempDir plain_dir;
    const Session plain = run(three, "n3u", plain_dir);
    for (const auto& c : cases) {
        const TempDir dir;
        const Session s = run(c.content, "n3u", dir);
        const std::string written = "klienti: do suboru \"Mon 07. Dec. 2026, 14.05.csv\" bolo zapisanych 3 zaznamov\n";
        EXPECT_EQ(s.diagnostics, c.diagnostics + written) << c.content;
        ASSERT_EQ(s.files, std::vector<std::string>{"Mon 07. Dec. 2026, 14.05.csv"});
        EXPECT_EQ(readFile(dir.path() / s.files[0]), c.file) << c.content;
        if (c.content.find("byt 3") == std::string::npos && c.content.find("IT") == std::string::npos) {
            EXPECT_EQ(s.output, plain.output) << c.content;
        }
    }
}

TEST(Dialogue, MissingOrUnreadableClientFile) {
    const TempDir dir;
    std::istringstream in("a1\n");
    StringSink out;
    StringSink err;
    Environment missing{in, out, err, fixedCalendar(2026, 12, 7), dir.path(), "../nikde/export.csv"};
    EXPECT_EQ(runKlienti(missing), 0);
    EXPECT_EQ(out.text(), "Subor sa nepodarilo otvorit");
    EXPECT_EQ(err.text(), "klienti: subor \"../nikde/export.csv\" sa nepodarilo otvorit: No such file or directory\n");
    // A directory opens, but fails to be read.
    std::filesystem::create_directory(dir.path() / "klienti.csv");
    StringSink out2;
    StringSink err2;
    Environment directory{in, out2, err2, fixedCalendar(2026, 12, 7), dir.path()};
    EXPECT_EQ(runKlienti(directory), 0);
    EXPECT_EQ(out2.text(), "Subor sa nepodarilo otvorit");
    EXPECT_EQ(err2.text(), "klienti: subor \"klienti.csv\" sa nepodarilo precitat: Is a directory\n");
    // A spreadsheet's "Unicode text" is refused by name.
    std::filesystem::remove(dir.path() / "klienti.csv");
    const Session utf16 = run(std::string("\xFF\xFEr\0c\0\n\0", 8), "a1\n", dir);
    EXPECT_EQ(utf16.output, "Subor sa nepodarilo otvorit");
    EXPECT_EQ(utf16.diagnostics, "klienti: subor \"klienti.csv\" je v kodovani UTF-16, ktore program necita; ulozte "
                                 "ho ako CSV v kodovani UTF-8\n");
    EXPECT_TRUE(utf16.files.empty());
}

TEST(Dialogue, OutOfMemoryWhileLoadingEndsWithStatusOne) {
    const TempDir dir;
    const std::string content = generateClientFile(20000, 5); // its records need slabs of over a mebibyte
    Session s;
    {
        const AllocationLimit limit(std::size_t{1} << 20);
        s = run(content, "n1u", dir);
    }
    EXPECT_EQ(s.output, "Nedostatok pamate na nacitanie zaznamov.\n");
    EXPECT_EQ(s.status, 1);
    EXPECT_TRUE(s.files.empty());
}

// Each allocation of a cycle fails in turn, in both branches, on a table
// large enough for the ordering and both writers to share their work: the
// cycle shows the message and nothing else of itself, publishes no file and
// keeps the table's order, or the failure missed what it needs and it shows
// and writes its whole result. A thread that cannot be started leaves its
// work to the threads that run.
TEST(Dialogue, OutOfMemoryAtEachAllocationOfACycle) {
    TextSource source(generateClientFile(20000, 5));
    std::ostringstream reports;
    ClientStore klienti = loadClients(source, reports).klienti;
    const HugeVector<Klient*> original = klienti.tabulka();
    for (const std::string input : {"n2u", "a1 0 100 5u"}) {
        struct Result {
            std::string output, diagnostics;
            std::vector<std::string> files;
            HugeVector<Klient*> tabulka;
            bool failed;
        };
        const auto session = [&](long failing) {
            const TempDir dir;
            klienti.tabulka() = original;
            std::istringstream in(input);
            StringSink out(std::size_t{16} << 20);
            StringSink err(std::size_t{1} << 20);
            Environment env{in, out, err, fixedCalendar(2026, 12, 7), dir.path()};
            bool failed = false;
            {
                const NthAllocationFails limit(failing);
                runDialogue(klienti, env);
                failed = limit.happened();
            }
            return Result{out.text(), err.text(), listDir(dir.path()), klienti.tabulka(), failed};
        };
        const Result whole = session(-1);
        ASSERT_EQ(whole.files.size(), 1u);
        const std::string end_of_menu = "9. vek klienta\n";
        const std::string message = out_of_memory + menu(20000);
        const std::string at_ordering =
            whole.output.substr(0, whole.output.find(end_of_menu) + end_of_menu.size()) + message;
        const std::string at_matches =
            whole.output.substr(0, whole.output.find(bounds_prompt) + bounds_prompt.size()) + message + bad_main;
        long failing = 0;
        for (Result r = session(failing); r.failed; r = session(++failing)) {
            if (r.output == whole.output) {
                EXPECT_EQ(r.diagnostics, whole.diagnostics) << input << failing;
                EXPECT_EQ(r.files, whole.files) << input << failing;
                EXPECT_EQ(r.tabulka, whole.tabulka) << input << failing;
                continue;
            }
            EXPECT_TRUE(r.output == at_ordering || (input[0] == 'a' && r.output == at_matches)) << input << failing;
            EXPECT_EQ(r.diagnostics, "") << input << failing;
            EXPECT_TRUE(r.files.empty()) << input << failing;
            EXPECT_EQ(r.tabulka, original) << input << failing;
        }
        EXPECT_GT(failing, 8) << input;
    }
}
