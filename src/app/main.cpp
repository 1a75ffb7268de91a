#include "app/CommandLine.hpp"
#include "app/Dialogue.hpp"
#include "app/Signals.hpp"
#include "progress/Progress.hpp"

#include <cstdlib>
#include <iostream>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    installSignalHandlers();
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const CommandLine command = parseCommandLine(args);
    switch (command.action) {
    case CommandLine::Action::help:
        std::cout << usageText();
        return 0;
    case CommandLine::Action::version:
        std::cout << versionText();
        return 0;
    case CommandLine::Action::usage_error:
        std::cerr << "klienti: " << command.error << "\nklienti: viac v \"klienti --help\"\n";
        return 2;
    case CommandLine::Action::run:
        break;
    }
    Progress progress(STDERR_FILENO, &std::cout);
    const bool output_is_terminal = ::isatty(STDOUT_FILENO) == 1;
    Environment env{std::cin,
                    std::cout,
                    std::cerr,
                    systemLocalTime,
                    ".",
                    command.client_file,
                    output_is_terminal,
                    &progress,
                    choosePager(output_is_terminal, command.no_pager, std::getenv("PAGER"), std::getenv("LESS")),
                    ::isatty(STDERR_FILENO) == 1};
    return runKlienti(env);
}
