#pragma once

// Runs whole dialogues in-process at a fixed date, and the texts to expect.

#include "TestSupport.hpp"
#include "app/Dialogue.hpp"

#include <sstream>
#include <string>
#include <vector>

// The dialogue's texts, written out here on their own so that a changed
// character in the program shows up as a failure.
inline std::string menu(int pocet) {
    return "\nBolo nacitanych " + std::to_string(pocet) +
           " zaznamov o klientoch banky.\n\nZelate si tieto zaznamy filtrovat?\n"
           "Vyberte si jednu z moznosti a zadajte prislusny znak.\nA - ano\nN - nie\nU - ukoncit program\n";
}
inline const std::string menu_filtra =
    "\nPodla akeho kriteria chcete zaznamy filtrovat?\nPre vyber zadajte cislo zelanej moznosti.\n"
    "1. bonita\n2. pocet uverov\n3. suma uverov\n4. mesacna mzda\n5. vek klienta\n ";
inline const std::string zoznam_kriterii =
    "1. meno\n2. priezvisko\n3. mesto\n4. povolanie\n5. mesacny plat\n6. pocet uverov\n7. suma uverov\n"
    "8. bonita\n9. vek klienta\n";
inline const std::string menu_po_filtri =
    "\nZadajte kriterium pre usporiadanie zaznamov:\nPre vyber zadajte cislo zelanej moznosti.\n" + zoznam_kriterii;
inline const std::string menu_bez_filtra = "\nZadajte kriterium pre usporiadanie zaznamov:\n" + zoznam_kriterii;
inline const std::string vyzva_hranic =
    "Zadajte minimalnu a maximalnu hodnotu ako dve cele cisla oddelene medzerou (napr. 10 20): ";
inline const std::string zle_hlavne = "\nNeplatny vstup! Prosim zadajte A, N alebo U.\n";
inline const std::string zle_filter = "\nNeplatny vstup! Prosim zadajte cislo v intervale 1 az 5.\n";
inline const std::string zle_poradie = "Neplatny vstup! Prosim zadajte cislo v intervale 1 az 9.\n";
inline const std::string zle_hranice = "\nNeplatny vstup! Prosim zadajte dve cele cisla.\n";
inline const std::string navrat = "\nProgram nema zaznamy na usporiadanie, preto sa vracia na zaciatok.\n\n";
inline const std::string chyba_suboru = "Vystupny subor sa nepodarilo vytvorit. Vystup do suboru nebol vykonany.";


// One run of the whole program on a klienti.csv with the given content.
inline std::string vyhovuje(int n) { return "\nZadanemu kriteriu vyhovuje " + std::to_string(n) + " zaznamov.\n"; }
inline std::string rozsah(const std::string& nazov, int od, int po) {
    return "\nPre kriterium \"" + nazov + "\" sa v subore nachadzaju hodnoty v intervale od " +
           std::to_string(od) + " do " + std::to_string(po) + ".\n";
}

struct Beh {
    std::string vystup;
    std::string diagnostika;
    int status;
    std::vector<std::string> subory; // entries of the working directory besides the client file
};

// How a run differs from the plain one: the file as named on the command
// line and whether the output is a terminal.
struct Nastavenie {
    std::string subor = "klienti.csv";
    bool terminal = false;
};

inline Beh spusti(const std::string& subor, const std::string& vstup, const TempDir& dir,
                  const Clock& hodiny = fixedClock(2026, 12, 7, 14, 5), const Nastavenie& n = {}) {
    std::filesystem::create_directories((dir.path() / n.subor).parent_path());
    writeFile(dir.path() / n.subor, subor);
    std::istringstream in(vstup);
    std::ostringstream out;
    std::ostringstream err;
    Prostredie p{in, out, err, hodiny, dir.path(), n.subor, n.terminal};
    const int status = runKlienti(p);
    std::vector<std::string> subory;
    for (const std::string& meno : listDir(dir.path())) {
        if (meno != n.subor && meno != std::filesystem::path(n.subor).begin()->string()) {
            subory.push_back(meno);
        }
    }
    return {out.str(), err.str(), status, subory};
}

inline Beh spusti(const std::string& subor, const std::string& vstup) {
    const TempDir dir;
    return spusti(subor, vstup, dir);
}
