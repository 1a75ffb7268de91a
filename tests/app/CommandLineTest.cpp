#include "app/CommandLine.hpp"

#include <gtest/gtest.h>

#include <vector>

TEST(CommandLine, OptionsAndTheOperand) {
    using A = CommandLine::Action;
    const struct {
        std::vector<std::string_view> args;
        A action;
        std::string subor;
        std::string chyba;
    } pripady[] = {
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
        {{"a.csv", "b.csv"}, A::usage_error, "a.csv", "nadbytocny argument \"b.csv\": program cita jediny subor"},
    };
    for (const auto& p : pripady) {
        const CommandLine prikaz = parseCommandLine(p.args);
        EXPECT_EQ(prikaz.action, p.action) << testing::PrintToString(p.args);
        EXPECT_EQ(prikaz.subor, p.subor) << testing::PrintToString(p.args);
        EXPECT_EQ(prikaz.chyba, p.chyba) << testing::PrintToString(p.args);
    }
}
