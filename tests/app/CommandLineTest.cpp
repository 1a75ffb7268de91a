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
