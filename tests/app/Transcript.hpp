#pragma once

// Runs whole sessions in-process at a fixed date, and the texts to expect,
// written out here on their own so that a changed character in the program
// shows up as a failure.

#include "TestSupport.hpp"
#include "app/Dialogue.hpp"
#include "app/Program.hpp"

#include <sstream>
#include <string>
#include <vector>

inline std::string menu(int pocet) {
    return "\nBolo nacitanych " + std::to_string(pocet) +
           " zaznamov o klientoch banky.\n\nZelate si tieto zaznamy filtrovat?\n"
           "Vyberte si jednu z moznosti a zadajte prislusny znak.\nA - ano\nN - nie\nU - ukoncit program\n";
}
inline const std::string filter_menu_text =
    "\nPodla akeho kriteria chcete zaznamy filtrovat?\nPre vyber zadajte cislo zelanej moznosti.\n"
    "1. bonita\n2. pocet uverov\n3. suma uverov\n4. mesacna mzda\n5. vek klienta\n ";
inline const std::string sort_lines = "1. meno\n2. priezvisko\n3. mesto\n4. povolanie\n5. mesacny plat\n"
                                      "6. pocet uverov\n7. suma uverov\n8. bonita\n9. vek klienta\n";
inline const std::string sort_menu_after_filter =
    "\nZadajte kriterium pre usporiadanie zaznamov:\nPre vyber zadajte cislo zelanej moznosti.\n" + sort_lines;
inline const std::string sort_menu_text = "\nZadajte kriterium pre usporiadanie zaznamov:\n" + sort_lines;
inline const std::string bounds_prompt =
    "Zadajte minimalnu a maximalnu hodnotu ako dve cele cisla oddelene medzerou (napr. 10 20): ";
inline const std::string bad_main = "\nNeplatny vstup! Prosim zadajte A, N alebo U.\n";
inline const std::string bad_filter = "\nNeplatny vstup! Prosim zadajte cislo v intervale 1 az 5.\n";
inline const std::string bad_sort = "Neplatny vstup! Prosim zadajte cislo v intervale 1 az 9.\n";
inline const std::string bad_bounds = "\nNeplatny vstup! Prosim zadajte dve cele cisla.\n";
inline const std::string nothing_to_order =
    "\nProgram nema zaznamy na usporiadanie, preto sa vracia na zaciatok.\n\n";
inline const std::string output_failed = "Vystupny subor sa nepodarilo vytvorit. Vystup do suboru nebol vykonany.";
inline const std::string out_of_memory = "Nedostatok pamate, operacia nebola vykonana.\n";

// The labelled block of one client.
inline std::string block(int number, const std::string& meno, const std::string& priezvisko, const std::string& adresa,
                  const std::string& povolanie, int plat, int uvery, int suma, int bonita, const std::string& word) {
    return "Klient c. " + std::to_string(number) + "\nMeno: " + meno + "\nPriezvisko: " + priezvisko +
           "\nAdresa: " + adresa + "\nPovolanie: " + povolanie + "\nMesacna mzda: " + std::to_string(plat) +
           " eur\nPocet uverov: " + std::to_string(uvery) + "\nSuma uverov: " + std::to_string(suma) +
           " eur\nBonita: " + std::to_string(bonita) + " bodov (max. 100)\nPlatobna disciplina: " + word +
           "\n______________________________\n";
}

inline std::string matching(int n) { return "\nZadanemu kriteriu vyhovuje " + std::to_string(n) + " zaznamov.\n"; }
inline std::string range(const std::string& label, int low, int high) {
    return "\nPre kriterium \"" + label + "\" sa v subore nachadzaju hodnoty v intervale od " + std::to_string(low) +
           " do " + std::to_string(high) + ".\n";
}
inline std::string malformed(int line, const std::string& reason, const std::string& file = "klienti.csv") {
    return "Riadok " + std::to_string(line) + " v subore " + file + " ma nespravny format (" + reason +
           "), zaznam bol preskoceny.\n";
}

struct Session {
    std::string output;
    std::string diagnostics;
    int status;
    std::vector<std::string> files; // what the working directory holds besides the client file
};

// How a session differs from the plain one: the client file as named on the
// command line and whether the output, and the input, is a terminal.
struct Setting {
    std::string client_file = "klienti.csv";
    bool terminal = false;
    bool input_terminal = false;
};

// One run of the whole program on a client file with the given content.
inline Session run(const std::string& content, const std::string& input, const TempDir& dir,
                   const Calendar& calendar = fixedCalendar(2026, 12, 7, 14, 5), const Setting& setting = {}) {
    std::filesystem::create_directories((dir.path() / setting.client_file).parent_path());
    writeFile(dir.path() / setting.client_file, content);
    std::istringstream in(input);
    StringSink out;
    StringSink err;
    Environment env{in, out, err, calendar, dir.path(), setting.client_file, setting.terminal};
    env.input_is_terminal = setting.input_terminal;
    const int status = runKlienti(env);
    std::vector<std::string> files;
    const std::string top = std::filesystem::path(setting.client_file).begin()->string();
    for (const std::string& name : listDir(dir.path())) {
        if (name != top) {
            files.push_back(name);
        }
    }
    return {out.text(), err.text(), status, files};
}

inline Session run(const std::string& content, const std::string& input) {
    const TempDir dir;
    return run(content, input, dir);
}
