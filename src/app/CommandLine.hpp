#pragma once

#include "app/Job.hpp"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// What the command line asks for:
//   klienti [--filter KRITERIUM=OD..DO]... [--order [-]KRITERIUM[,[-]KRITERIUM]...]
//           [--output SUBOR | --output -] [--list] [--collation sk|bytes]
//           [--no-pager] [SUBOR]
// and -h/--help, --version. Any of --filter, --order and --output makes a job;
// without them the dialogue runs.
struct CommandLine {
    enum class Action { run, help, version, usage_error };
    Action action = Action::run;
    std::string client_file = "klienti.csv"; // as given
    bool no_pager = false;                   // --no-pager: listings go straight to the terminal
    Collation collation = Collation::bytes;  // --collation: how texts order, in the dialogue and a job
    std::optional<Job> job;                  // none: the dialogue
    std::string error;                       // for a usage error: what is wrong, without the program's prefix
};

// Reads the arguments after the program's name. The options act in the order
// given; "--" ends them; an option's value is the next argument or follows
// "=". "-" is refused like an unknown option, since standard input carries
// the dialogue and no job reads it.
CommandLine parseCommandLine(std::span<const std::string_view> args);

// The text of --help, and of --version.
std::string usageText();
std::string versionText();
