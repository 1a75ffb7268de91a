#include "app/CommandLine.hpp"

#include <gtest/gtest.h>

#include <vector>

TEST(CommandLine, OptionsAndTheOperand) {
    using A = CommandLine::Action;
    const struct {
        std::vector<std::string_view> args;
        A action;
        std::string client_file;
        std::string error;
    } cases[] = {
        {{}, A::run, "klienti.csv", ""},
        {{"../data/export.csv"}, A::run, "../data/export.csv", ""},
        {{"-h"}, A::help, "klienti.csv", ""},
        {{"export.csv", "--help"}, A::help, "export.csv", ""},
        {{"--version", "--nie"}, A::version, "klienti.csv", ""},
        {{"--", "-h"}, A::run, "-h", ""},
        {{"--", "-"}, A::run, "-", ""},
        {{"--nie"}, A::usage_error, "klienti.csv", "neznama volba \"--nie\""},
        {{"-hx"}, A::usage_error, "klienti.csv", "neznama volba \"-hx\""},
        {{"-"}, A::usage_error, "klienti.csv", "neznama volba \"-\": standardny vstup patri dialogu"},
        {{"a.csv", "b.csv"}, A::usage_error, "klienti.csv", "nadbytocny argument \"b.csv\": program cita jediny subor"},
    };
    for (const auto& c : cases) {
        const CommandLine command = parseCommandLine(c.args);
        EXPECT_EQ(command.action, c.action) << testing::PrintToString(c.args);
        EXPECT_EQ(command.client_file, c.client_file) << testing::PrintToString(c.args);
        EXPECT_EQ(command.error, c.error) << testing::PrintToString(c.args);
        EXPECT_FALSE(command.no_pager);
    }
    const CommandLine no_pager = parseCommandLine(std::vector<std::string_view>{"--no-pager", "export.csv"});
    EXPECT_EQ(no_pager.action, CommandLine::Action::run);
    EXPECT_TRUE(no_pager.no_pager);
    EXPECT_EQ(no_pager.client_file, "export.csv");
}

// What makes a job, what it holds, and what is refused before anything is read.
TEST(CommandLine, JobsAndTheirRefusals) {
    const CommandLine report =
        parseCommandLine(std::vector<std::string_view>{"--filter", "bonita=40..80", "--filter=vek=..30",
                                                       "--filter", "mesto=Nitra..", "--order", "mesto,-mzda",
                                                       "--order=vek", "--output", "r.csv", "--list", "e.csv"});
    ASSERT_EQ(report.action, CommandLine::Action::run) << report.error;
    ASSERT_TRUE(report.job);
    EXPECT_EQ(report.client_file, "e.csv");
    const Job& job = *report.job;
    ASSERT_EQ(job.filters.size(), 3u);
    const auto& bonita = std::get<NumberFilter>(job.filters[0]);
    EXPECT_TRUE(bonita.kriterium == FilterCriterion::bonita && bonita.range.min == 40 && bonita.range.max == 80);
    const auto& vek = std::get<NumberFilter>(job.filters[1]);
    EXPECT_TRUE(vek.kriterium == FilterCriterion::vek && vek.range.min == INT32_MIN && vek.range.max == 30);
    EXPECT_EQ(std::get<TextFilter>(job.filters[2]).text, "Nitra..");
    ASSERT_EQ(job.keys.size(), 3u);
    EXPECT_TRUE(job.keys[0].kriterium == SortCriterion::mesto && !job.keys[0].descending);
    EXPECT_TRUE(job.keys[1].kriterium == SortCriterion::plat && job.keys[1].descending);
    EXPECT_TRUE(job.keys[2].kriterium == SortCriterion::vek);
    EXPECT_TRUE(job.output == Job::Output::named_file && job.output_name == "r.csv" && job.list && !job.dialogue);
    EXPECT_FALSE(parseCommandLine(std::vector<std::string_view>{"--no-pager"}).job);

    const std::string names = "kriteria su: mzda, pocet-uverov, suma-uverov, bonita, vek, meno, priezvisko, mesto, "
                              "povolanie";
    const struct {
        std::vector<std::string_view> args;
        std::string error;
    } refused[] = {
        {{"--filter", "plat=1..2"}, "nezname kriterium \"plat\"; " + names},
        {{"--order", "mzda,-"}, "nezname kriterium \"\"; " + names},
        {{"--filter", "bonita=40"}, "filter \"bonita=40\" nema tvar bonita=OD..DO s celymi cislami, napriklad bonita=40..80"},
        {{"--filter", "bonita=4x..5"}, "filter \"bonita=4x..5\" nema tvar bonita=OD..DO s celymi cislami, napriklad bonita=40..80"},
        {{"--filter", "bonita=+-5..10"}, "filter \"bonita=+-5..10\" nema tvar bonita=OD..DO s celymi cislami, napriklad bonita=40..80"},
        {{"--filter", "mzda=0..2147483648"}, "filter \"mzda=0..2147483648\" nema tvar mzda=OD..DO s celymi cislami, napriklad mzda=40..80"},
        {{"--filter", "bonita=80..40"}, "vo filtri \"bonita=80..40\" je dolna hranica vacsia ako horna"},
        {{"--filter", "bonita"}, "filter \"bonita\" nema tvar KRITERIUM=OD..DO alebo KRITERIUM=TEXT"},
        {{"--order"}, "volba \"--order\" potrebuje hodnotu"},
        {{"--output", "a", "--output", "b"}, "volbu \"--output\" mozno zadat len raz"},
        {{"--list", "--output", "-"}, "volbu \"--list\" nemozno spojit s \"--output -\": standardny vystup nesie CSV"},
        {{"--list"}, "volba \"--list\" patri k ulohe: pridajte --filter, --order alebo --output"},
    };
    for (const auto& c : refused) {
        const CommandLine command = parseCommandLine(c.args);
        EXPECT_EQ(command.action, CommandLine::Action::usage_error) << testing::PrintToString(c.args);
        EXPECT_EQ(command.error, c.error) << testing::PrintToString(c.args);
    }
    // A bound at either end of the 32-bit range, and a plus sign, are bounds.
    const CommandLine ends = parseCommandLine(std::vector<std::string_view>{"--filter=mzda=-2147483648..+2147483647"});
    ASSERT_EQ(ends.action, CommandLine::Action::run) << ends.error;
    EXPECT_EQ(std::get<NumberFilter>(ends.job->filters[0]).range.max, INT32_MAX);
}
