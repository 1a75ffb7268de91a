#include "app/CommandLine.hpp"

CommandLine parseCommandLine(std::span<const std::string_view> args) {
    CommandLine command;
    const auto refuse = [&](std::string text) {
        command.action = CommandLine::Action::usage_error;
        command.error = std::move(text);
        return command;
    };
    bool options_ended = false;
    bool has_operand = false;
    for (const std::string_view arg : args) {
        if (!options_ended && arg.starts_with('-')) {
            if (arg == "--") {
                options_ended = true;
                continue;
            }
            if (arg == "-h" || arg == "--help") {
                command.action = CommandLine::Action::help;
                return command;
            }
            if (arg == "--version") {
                command.action = CommandLine::Action::version;
                return command;
            }
            if (arg == "--no-pager") {
                command.no_pager = true;
                continue;
            }
            return refuse(arg == "-" ? "neznama volba \"-\": standardny vstup patri dialogu"
                                     : "neznama volba \"" + std::string(arg) + "\"");
        }
        if (has_operand) {
            return refuse("nadbytocny argument \"" + std::string(arg) + "\": program cita jediny subor");
        }
        has_operand = true;
        command.client_file = arg;
    }
    return command;
}

std::string usageText() {
    return "Pouzitie: klienti [--no-pager] [SUBOR]\n"
           "\n"
           "Nacita zaznamy o klientoch banky zo suboru SUBOR, bez neho zo suboru\n"
           "klienti.csv v pracovnom adresari, a vedie dialog na standardnom vstupe\n"
           "a vystupe: zaznamy filtruje podla jedneho ciselneho udaja, usporiada ich,\n"
           "vypise ich a kazdy vypis zapise do noveho suboru CSV v pracovnom adresari,\n"
           "pomenovaneho podla miestneho datumu a casu, napriklad\n"
           "\"Tue 05. Mar. 2024, 14.05.csv\". Existujuci subor sa nikdy neprepise.\n"
           "Na terminali ukazuje vypisy cez strankovac: PAGER, inak less.\n"
           "\n"
           "Volby:\n"
           "      --no-pager  vypise zaznamy priamo na terminal, bez strankovaca\n"
           "  -h, --help      vypise tuto napovedu a skonci\n"
           "      --version   vypise verziu programu a skonci\n"
           "  --              ukonci volby: nasledujuci argument je SUBOR\n"
           "\n"
           "Podrobny popis: man klienti\n";
}

std::string versionText() { return "klienti " KLIENTI_VERSION "\n"; }
