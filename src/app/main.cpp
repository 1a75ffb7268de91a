#include "app/CommandLine.hpp"
#include "app/Dialogue.hpp"
#include "app/Progress.hpp"
#include "app/Signals.hpp"

#include <iostream>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    installSignalHandlers();
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const CommandLine prikaz = parseCommandLine(args);
    switch (prikaz.action) {
    case CommandLine::Action::help:
        std::cout << usageText();
        return 0;
    case CommandLine::Action::version:
        std::cout << versionText();
        return 0;
    case CommandLine::Action::usage_error:
        std::cerr << "klienti: " << prikaz.chyba << "\nklienti: viac v \"klienti --help\"\n";
        return 2;
    case CommandLine::Action::run:
        break;
    }
    Progress postup(STDERR_FILENO, &std::cout);
    Prostredie prostredie{std::cin, std::cout, std::cerr, systemLocalTime, ".", prikaz.subor,
                          ::isatty(STDOUT_FILENO) == 1, &postup};
    return runKlienti(prostredie);
}
