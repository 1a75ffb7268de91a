// Jobs from the command line, in-process: the command line parsed as main
// parses it, run on a client file in a directory of their own.

#include "app/CommandLine.hpp"
#include "app/Transcript.hpp"
#include "io/RecordLine.hpp"
#include "io/TextSource.hpp"

#include "ClientGenerator.hpp"

#include <gtest/gtest.h>

#include <unicode/ucnv.h>
#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <memory>
#include <random>

namespace {

const std::string novak = "850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1";
const std::string kovacova = "905520/1234,Eva,Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,35,2";
const std::string toth = "141231/0001,Adam,Toth,Dlha 1,Nitra,student,450,12,1500,92,3";
const std::string three = header + "\n" + novak + "\n" + kovacova + "\n" + toth;

// Runs `klienti ARGS` on the content; an argument that names an existing
// file is never the client file here.
Session job(const std::string& content, std::vector<std::string_view> args, const TempDir& dir) {
    writeFile(dir.path() / "klienti.csv", content);
    const CommandLine command = parseCommandLine(args);
    EXPECT_EQ(command.action, CommandLine::Action::run) << command.error;
    std::istringstream in("ignored");
    StringSink out;
    StringSink err;
    Environment env{in, out, err, fixedCalendar(2026, 12, 7, 14, 5), dir.path(), command.client_file};
    const int status = runKlienti(env, command.job);
    std::vector<std::string> files;
    for (const std::string& name : listDir(dir.path())) {
        if (name != "klienti.csv") {
            files.push_back(name);
        }
    }
    EXPECT_EQ(in.tellg(), 0) << "a job reads no standard input";
    return {out.text(), err.text(), status, files};
}

const std::string dated = "Mon 07. Dec. 2026, 14.05.csv";

} // namespace

TEST(Job, TheMonthlyReportIntoANamedFile) {
    const TempDir dir;
    const Session s = job(three, {"--filter", "bonita=40..100", "--order", "priezvisko", "--output", "report.csv"}, dir);
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.output, "");
    EXPECT_EQ(s.diagnostics, "klienti: do suboru \"report.csv\" bolo zapisanych 2 zaznamov\n");
    EXPECT_EQ(s.files, std::vector<std::string>{"report.csv"});
    EXPECT_EQ(readFile(dir.path() / "report.csv"), header + "\n" + novak + "\n" + toth + "\n");
}

TEST(Job, OutputsListingsAndStatuses) {
    const std::string long_name(300, 'a');
    const struct {
        std::vector<std::string_view> args;
        int status;
        std::string output;
        std::string diagnostics;
        std::vector<std::string> files;
    } cases[] = {
        // No --output: the dialogue's name; no client passes: the header alone.
        {{"--filter", "vek=..10"}, 0, "", "klienti: do suboru \"" + dated + "\" bolo zapisanych 0 zaznamov\n", {dated}},
        // Standard output carries the CSV alone.
        {{"--order=-mzda", "--output", "-"},
         0,
         header + "\n" + kovacova + "\n" + novak + "\n" + toth + "\n",
         "klienti: na standardny vystup bolo zapisanych 3 zaznamov\n",
         {}},
        // A text equal byte for byte; open bounds; keys in order of importance.
        {{"--filter=mesto=Nitra", "--filter", "mzda=400..", "--order", "mesto,-bonita", "--list", "--output", "x.csv"},
         0,
         block(1, "Adam", "Toth", "Dlha 1, Nitra", "student", 450, 12, 1500, 92, "slaba") +
             block(2, "Jan", "Novak", "Hlavna 12, Nitra", "ucitel", 950, 2, 800, 80, "vyborna"),
         "klienti: do suboru \"x.csv\" bolo zapisanych 2 zaznamov\n",
         {"x.csv"}},
        {{"--filter", "mesto=nitra", "--output", "-"}, 0, header + "\n",
         "klienti: na standardny vystup bolo zapisanych 0 zaznamov\n", {}},
        // Failures: the input, the output, each with status 1 and no file.
        {{"--order", "meno", "chyba.csv"},
         1,
         "",
         "klienti: subor \"chyba.csv\" sa nepodarilo otvorit: No such file or directory\n",
         {}},
        {{"--output", "nikde/x.csv"},
         1,
         "",
         "klienti: vystupny subor \"nikde/x.csv\" sa nepodarilo zapisat: No such file or directory\n",
         {}},
        // A name that cannot be looked up is no name taken: the reason, before anything is read.
        {{"--output", long_name},
         1,
         "",
         "klienti: vystupny subor \"" + long_name + "\" sa nepodarilo zapisat: File name too long\n",
         {}},
    };
    for (const auto& c : cases) {
        const TempDir dir;
        const Session s = job(three, c.args, dir);
        EXPECT_EQ(s.status, c.status) << testing::PrintToString(c.args);
        EXPECT_EQ(s.output, c.output) << testing::PrintToString(c.args);
        EXPECT_EQ(s.diagnostics, c.diagnostics) << testing::PrintToString(c.args);
        EXPECT_EQ(s.files, c.files) << testing::PrintToString(c.args);
    }
}

TEST(Job, AnExistingOutputIsNeverTouchedAndSkippedLinesAreToldOnStandardError) {
    const TempDir dir;
    writeFile(dir.path() / "report.csv", "mine");
    const Session taken = job(three, {"--output", "report.csv"}, dir);
    EXPECT_EQ(taken.status, 1);
    EXPECT_EQ(taken.diagnostics,
              "klienti: vystupny subor \"report.csv\" uz existuje; existujuci subor sa neprepisuje\n");
    EXPECT_EQ(readFile(dir.path() / "report.csv"), "mine");
    const Session skipped = job(three + "\nzle\n" + std::string("\xFF\xFE", 2), {"--output", "-"}, dir);
    EXPECT_EQ(skipped.status, 0);
    EXPECT_EQ(skipped.diagnostics,
              "klienti: Riadok 5 v subore klienti.csv ma nespravny format (ma 1 poli, ocakava sa 11), zaznam bol "
              "preskoceny.\nklienti: Riadok 6 v subore klienti.csv ma nespravny format (ma 1 poli, ocakava sa 11), "
              "zaznam bol preskoceny.\nklienti: na standardny vystup bolo zapisanych 3 zaznamov\n");
    const Session utf16 = job(std::string("\xFF\xFEr\0\n\0", 6), {"--output", "-"}, dir);
    EXPECT_EQ(utf16.status, 1);
    EXPECT_EQ(utf16.output, "");
}

namespace {

// The rules of a job, written plainly: every filter passes, then a stable
// ordering by the keys, the first the most important.
std::vector<const Klient*> model(const std::vector<const Klient*>& all, const Job& job, const Datum& dnes) {
    std::vector<const Klient*> kept;
    for (const Klient* k : all) {
        bool passes = true;
        for (const Filter& f : job.filters) {
            if (const auto* number = std::get_if<NumberFilter>(&f)) {
                const int32_t v = filter_menu[static_cast<std::size_t>(number->kriterium)].value(*k, dnes);
                passes = passes && v >= number->range.min && v <= number->range.max;
            } else {
                const auto& text = std::get<TextFilter>(f);
                passes = passes && std::string_view(text.field(*k)) == text.text;
            }
        }
        if (passes) {
            kept.push_back(k);
        }
    }
    const auto compare = [&](const Klient* a, const Klient* b, const SortKey& key) {
        const auto& item = menuItem(key.kriterium).key;
        int c = 0;
        if (const auto* text = std::get_if<TextKey>(&item)) {
            c = std::string_view((*text)(*a)).compare(std::string_view((*text)(*b)));
        } else {
            const auto number = std::get<SortMenuItem::NumberKey>(item);
            const int32_t x = number(*a, dnes);
            const int32_t y = number(*b, dnes);
            c = x < y ? -1 : x > y ? 1 : 0;
        }
        return key.descending ? -c : c;
    };
    std::stable_sort(kept.begin(), kept.end(), [&](const Klient* a, const Klient* b) {
        for (const SortKey& key : job.keys) {
            if (const int c = compare(a, b, key); c != 0) {
                return c < 0;
            }
        }
        return false;
    });
    return kept;
}

} // namespace

// Random jobs on random files against the plain rules above: the file
// written holds exactly what they give.
TEST(Job, RandomJobsWriteWhatTheRulesGive) {
    std::mt19937 random(29);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const char* const numbers[] = {"mzda", "pocet-uverov", "suma-uverov", "bonita", "vek"};
    const char* const texts[] = {"meno", "priezvisko", "mesto", "povolanie"};
    const char* const values[] = {"Nitra", "Jan", "Novak", "ucitel", "Eva", "Zilina"};
    for (int round = 0; round < 60; ++round) {
        const std::string content = generateClientFile(pick(3000), static_cast<uint64_t>(round));
        std::vector<std::string> words;
        for (int f = pick(3); f > 0; --f) {
            if (pick(3) == 0) {
                words.push_back("--filter=" + std::string(texts[pick(4)]) + "=" + values[pick(6)]);
            } else {
                const int low = pick(100) - 10;
                words.push_back("--filter=" + std::string(numbers[pick(5)]) + "=" +
                                (pick(4) == 0 ? "" : std::to_string(low)) + ".." +
                                (pick(4) == 0 ? "" : std::to_string(low + pick(600000))));
            }
        }
        std::string keys;
        for (int k = pick(4); k > 0; --k) {
            keys += (keys.empty() ? "" : ",") + std::string(pick(2) ? "-" : "") +
                    (pick(2) ? numbers[pick(5)] : texts[pick(4)]);
        }
        if (!keys.empty()) {
            words.push_back("--order=" + keys);
        }
        words.push_back("--output=out.csv");
        const std::vector<std::string_view> args(words.begin(), words.end());
        const TempDir dir;
        const Session s = job(content, args, dir);
        ASSERT_EQ(s.status, 0) << testing::PrintToString(args) << s.diagnostics;

        TextSource source(content);
        std::ostringstream reports;
        const LoadResult loaded = loadClients(source, reports);
        const std::vector<const Klient*> all(loaded.klienti.tabulka().begin(), loaded.klienti.tabulka().end());
        const std::vector<const Klient*> expected = model(all, *parseCommandLine(args).job, Datum{2026, 12, 7});
        TextBuffer text(expected.size() * recordLineRoom(Dialect{}) + 1);
        for (const Klient* k : expected) {
            appendRecordLine(text, *k, Dialect{});
        }
        ASSERT_EQ(readFile(dir.path() / "out.csv"), std::string(hlavicka_suboru) + std::string(text.text()))
            << testing::PrintToString(args);
    }
}

namespace {

// A text as the Slovak collation reads it, in UTF-8: as it is where it is
// valid UTF-8, else from windows-1250, by ICU's converters.
std::string asUtf8(std::string_view bytes) {
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8(nullptr, 0, nullptr, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    if (status != U_INVALID_CHAR_FOUND) {
        return std::string(bytes);
    }
    std::string converted(4 * bytes.size() + 4, '\0');
    status = U_ZERO_ERROR;
    converted.resize(static_cast<std::size_t>(ucnv_convert("UTF-8", "windows-1250", converted.data(),
                                                           static_cast<int32_t>(converted.size()), bytes.data(),
                                                           static_cast<int32_t>(bytes.size()), &status)));
    return converted;
}

} // namespace

// Slovak surnames in UTF-8 and windows-1250, with ties: --collation sk
// orders them exactly as ICU's own Slovak comparison, ascending and
// descending, ties in the file's order, in a job and in the dialogue alike.
TEST(Job, TheSlovakCollationOrdersAsIcuDoes) {
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UCollator, void (*)(UCollator*)> sk(ucol_open("sk", &status), ucol_close);
    ASSERT_TRUE(U_SUCCESS(status));
    const char* const names[] = {"Ábel", "Abel", "abel", "Zelená", "Žiak", "Chovanec", "Cibulková", "Čierny",
                                 "Hruška", "Ďurica", "Dzurilla", "Džurinda", "Šťastný", "Sedlák", "Ôsma"};
    std::mt19937 random(31);
    std::string content = header;
    for (int i = 0; i < 400; ++i) {
        std::string surname = names[std::uniform_int_distribution<std::size_t>(0, std::size(names) - 1)(random)];
        if (random() % 3 == 0) {
            std::string cp1250(2 * surname.size(), '\0');
            UErrorCode error = U_ZERO_ERROR;
            cp1250.resize(static_cast<std::size_t>(ucnv_convert("windows-1250", "UTF-8", cp1250.data(),
                                                                static_cast<int32_t>(cp1250.size()), surname.data(),
                                                                static_cast<int32_t>(surname.size()), &error)));
            surname = cp1250;
        }
        content += "\n" + std::to_string(100000 + i).substr(1) + "0/0000,Jan," + surname + ",a 1,Nitra,x,1,1,1,1,1";
    }
    const auto surnames = [](const std::string& file) {
        std::vector<std::string> lines;
        std::istringstream in(file);
        std::string line;
        std::getline(in, line);
        while (std::getline(in, line)) {
            lines.push_back(line);
        }
        return lines;
    };
    const auto surnameOf = [](const std::string& line) {
        const std::size_t from = line.find(',', line.find(',') + 1) + 1;
        return line.substr(from, line.find(',', from) - from);
    };
    const auto collate = [&](const std::string& a, const std::string& b) {
        UErrorCode error = U_ZERO_ERROR;
        const std::string x = asUtf8(surnameOf(a));
        const std::string y = asUtf8(surnameOf(b));
        return ucol_strcollUTF8(sk.get(), x.data(), static_cast<int32_t>(x.size()), y.data(),
                                static_cast<int32_t>(y.size()), &error);
    };
    std::vector<std::string> expected = surnames(content);
    std::stable_sort(expected.begin(), expected.end(),
                     [&](const std::string& a, const std::string& b) { return collate(a, b) == UCOL_LESS; });
    std::vector<std::string> descending = surnames(content);
    std::stable_sort(descending.begin(), descending.end(),
                     [&](const std::string& a, const std::string& b) { return collate(a, b) == UCOL_GREATER; });
    const TempDir dir;
    const Session ascending = job(content, {"--collation", "sk", "--order", "priezvisko", "--output", "a.csv"}, dir);
    EXPECT_EQ(surnames(readFile(dir.path() / "a.csv")), expected);
    job(content, {"--order=-priezvisko", "--collation=sk", "--output", "d.csv"}, dir);
    EXPECT_EQ(surnames(readFile(dir.path() / "d.csv")), descending);
    job(content, {"--order=mesto,-priezvisko", "--collation=sk", "--output", "m.csv"}, dir); // one city
    EXPECT_EQ(surnames(readFile(dir.path() / "m.csv")), descending);
    // The dialogue: the same order, the listing unchanged byte for byte.
    const TempDir dialogue_dir;
    writeFile(dialogue_dir.path() / "klienti.csv", content);
    std::istringstream in("n2u");
    StringSink out;
    StringSink err;
    Environment env{in, out, err, fixedCalendar(2026, 12, 7, 14, 5), dialogue_dir.path()};
    EXPECT_EQ(runKlienti(env, std::nullopt, Collation::sk), 0);
    EXPECT_EQ(surnames(readFile(dialogue_dir.path() / dated)), expected);
}
