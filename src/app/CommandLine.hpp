#pragma once

#include <span>
#include <string>
#include <string_view>

// What the command line asks for: klienti [--no-pager] [SUBOR], -h/--help,
// --version.
struct CommandLine {
    enum class Action { run, help, version, usage_error };
    Action action = Action::run;
    std::string client_file = "klienti.csv"; // as given
    bool no_pager = false;                   // --no-pager: listings go straight to the terminal
    std::string error;                       // for a usage error: what is wrong, without the program's prefix
};

// Reads the arguments after the program's name. The options act in the order
// given; "--" ends them. "-" is refused like an unknown option, since
// standard input carries the dialogue.
CommandLine parseCommandLine(std::span<const std::string_view> args);

// The text of --help, and of --version.
std::string usageText();
std::string versionText();
