#include "app/Dialogue.hpp"

#include "app/ConsoleListing.hpp"
#include "app/Progress.hpp"
#include "io/InputFile.hpp"
#include "io/OutputFile.hpp"
#include "query/Filter.hpp"
#include "query/Sort.hpp"

#include <limits>
#include <new>
#include <system_error>
#include <vector>

namespace {

constexpr const char* hlavne_menu =
    " zaznamov o klientoch banky.\n\nZelate si tieto zaznamy filtrovat?\n"
    "Vyberte si jednu z moznosti a zadajte prislusny znak.\n"
    "A - ano\nN - nie\nU - ukoncit program\n";
constexpr const char* menu_filtra =
    "\nPodla akeho kriteria chcete zaznamy filtrovat?\nPre vyber zadajte cislo zelanej moznosti.\n"
    "1. bonita\n2. pocet uverov\n3. suma uverov\n4. mesacna mzda\n5. vek klienta\n ";
constexpr const char* kriteria_usporiadania =
    "1. meno\n2. priezvisko\n3. mesto\n4. povolanie\n5. mesacny plat\n6. pocet uverov\n"
    "7. suma uverov\n8. bonita\n9. vek klienta\n";
constexpr const char* vyzva_hranic =
    "Zadajte minimalnu a maximalnu hodnotu ako dve cele cisla oddelene medzerou (napr. 10 20): ";

constexpr const char* chyba_hlavneho_menu = "\nNeplatny vstup! Prosim zadajte A, N alebo U.\n";
constexpr const char* chyba_filtra = "\nNeplatny vstup! Prosim zadajte cislo v intervale 1 az 5.\n";
constexpr const char* chyba_usporiadania = "Neplatny vstup! Prosim zadajte cislo v intervale 1 az 9.\n";
constexpr const char* chyba_hranic = "\nNeplatny vstup! Prosim zadajte dve cele cisla.\n";
constexpr const char* chyba_vystupu = "Vystupny subor sa nepodarilo vytvorit. Vystup do suboru nebol vykonany.";
constexpr const char* nedostatok_pamate = "Nedostatok pamate, operacia nebola vykonana.\n";

// The writers assemble their text in pieces of about this size.
constexpr std::size_t buffer_size = std::size_t{1} << 20;

bool isMainChoice(char c) {
    return c == 'a' || c == 'A' || c == 'n' || c == 'N' || c == 'u' || c == 'U';
}
bool isFilterCriterion(char c) { return c >= '1' && c <= '5'; }
bool isSortCriterion(char c) { return c >= '1' && c <= '9'; }

// Reads one answer (white space skipped, one character taken) until it is
// accepted; each rejected answer gets the message. False at end of input.
bool readChoice(Prostredie& p, char& volba, bool (*platna)(char), const char* chyba) {
    while (p.vstup >> volba) {
        if (platna(volba)) {
            return true;
        }
        p.vystup << chyba;
    }
    return false;
}

// Reads the lower and then the upper bound. Input that is no 32-bit integer
// gets the message, the rest of its line is dropped and both bounds are read
// again. False at end of input.
bool readBounds(Prostredie& p, int32_t& min, int32_t& max) {
    for (;;) {
        if (p.vstup >> min >> max) {
            return true;
        }
        if (p.vstup.eof()) {
            return false;
        }
        p.vystup << chyba_hranic;
        p.vstup.clear();
        p.vstup.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
}

// Which of the two outputs a branch produces first.
enum class OutputOrder { listing_first, file_first };

Progress& progressOf(Prostredie& p) {
    static Progress none(-1);
    return p.postup != nullptr ? *p.postup : none;
}

std::string reason(int error) { return std::system_category().message(error); }

void writeFile(Klient* const* tabulka, int32_t pocet, Prostredie& p, TextBuffer& buffer) {
    OutputResult vysledok;
    {
        Progress::Step step(progressOf(p), "zapis vystupneho suboru");
        vysledok = writeOutputFile(tabulka, pocet, p.hodiny(), p.adresar, buffer, step.callback());
    }
    const std::string nazov = vysledok.name.filename().string();
    if (!vysledok.written) {
        p.vystup << chyba_vystupu;
        p.diagnostika << "klienti: vystupny subor \"" << nazov << "\" sa nepodarilo zapisat: " << reason(vysledok.error)
                      << '\n';
        return;
    }
    p.diagnostika << "klienti: do suboru \"" << nazov << "\" bolo zapisanych " << pocet << " zaznamov\n";
}

void list(Klient* const* tabulka, int32_t pocet, Prostredie& p, TextBuffer& buffer) {
    // On a terminal the listing shows its own progress.
    Progress::Step step(progressOf(p), "vypis");
    printClients(tabulka, pocet, p.vystup, buffer, p.vystup_je_terminal ? ProgressCallback{} : step.callback());
}

// Orders the table, then lists it and writes it to an output file in the
// branch's order. Everything the step needs is allocated before anything is
// shown, so that running out of memory shows nothing of the cycle but the
// message, and leaves the table in its previous order.
void orderAndShow(Klient** tabulka, int32_t pocet, char kriterium, Prostredie& p, OutputOrder order) {
    try {
        TextBuffer buffer(buffer_size);
        {
            Progress::Step step(progressOf(p), "usporiadanie");
            sortClients(tabulka, pocet, kriterium, datumZCasu(p.hodiny()), step.callback());
        }
        if (order == OutputOrder::listing_first) {
            list(tabulka, pocet, p, buffer);
            writeFile(tabulka, pocet, p, buffer);
        } else {
            writeFile(tabulka, pocet, p, buffer);
            list(tabulka, pocet, p, buffer);
        }
    } catch (const std::bad_alloc&) {
        p.vystup << nedostatok_pamate;
    }
}

// One cycle of the filter branch; false when the input ended.
bool filterCycle(std::vector<Klient*>& tabulka, Prostredie& p) {
    const auto pocet = static_cast<int32_t>(tabulka.size());
    p.vystup << menu_filtra;
    char kriterium = 0;
    if (!readChoice(p, kriterium, isFilterCriterion, chyba_filtra)) {
        return false;
    }
    // One date for the range report, the count and the copy, so that they
    // cannot disagree about an age even across midnight.
    const Datum dnes = datumZCasu(p.hodiny());
    printFilterRange(tabulka.data(), pocet, kriterium, dnes, p.vystup);
    p.vystup << vyzva_hranic;
    int32_t min = 0;
    int32_t max = 0;
    if (!readBounds(p, min, max)) {
        return false;
    }
    const HornaHranica horna{max};
    const DolnaHranica dolna{min};
    const int32_t vyhovuje = countMatching(tabulka.data(), horna, dolna, pocet, kriterium, dnes);
    std::vector<Klient*> filtrovana;
    try {
        filtrovana.resize(static_cast<std::size_t>(vyhovuje));
    } catch (const std::bad_alloc&) {
        p.vystup << nedostatok_pamate;
        return true;
    }
    p.vystup << "\nZadanemu kriteriu vyhovuje " << vyhovuje << " zaznamov.\n";
    if (vyhovuje == 0) {
        p.vystup << "\nProgram nema zaznamy na usporiadanie, preto sa vracia na zaciatok.\n\n";
        return true;
    }
    copyMatching(tabulka.data(), horna, dolna, pocet, vyhovuje, filtrovana.data(), kriterium, dnes);

    p.vystup << "\nZadajte kriterium pre usporiadanie zaznamov:\nPre vyber zadajte cislo zelanej moznosti.\n"
             << kriteria_usporiadania;
    char poradie = 0;
    if (!readChoice(p, poradie, isSortCriterion, chyba_usporiadania)) {
        return false;
    }
    orderAndShow(filtrovana.data(), vyhovuje, poradie, p, OutputOrder::listing_first);
    return true;
}

// One cycle of the branch without filter; the loaded table keeps its new
// order for later cycles. False when the input ended.
bool orderCycle(std::vector<Klient*>& tabulka, Prostredie& p) {
    const auto pocet = static_cast<int32_t>(tabulka.size());
    p.vystup << "\nZadajte kriterium pre usporiadanie zaznamov:\n" << kriteria_usporiadania;
    char poradie = 0;
    if (!readChoice(p, poradie, isSortCriterion, chyba_usporiadania)) {
        return false;
    }
    orderAndShow(tabulka.data(), pocet, poradie, p, OutputOrder::file_first);
    return true;
}

} // namespace

int runDialogue(ClientStore& klienti, Prostredie& p) {
    for (;;) {
        p.vystup << "\nBolo nacitanych " << klienti.pocet() << hlavne_menu;
        char volba = 0;
        bool dalej = readChoice(p, volba, isMainChoice, chyba_hlavneho_menu);
        if (dalej && (volba == 'u' || volba == 'U')) {
            return 0;
        }
        if (dalej) {
            dalej = (volba == 'a' || volba == 'A') ? filterCycle(klienti.tabulka(), p) : orderCycle(klienti.tabulka(), p);
        }
        if (!dalej) {
            // The input ended at a prompt: on a terminal the shell's prompt
            // would land behind the question.
            if (p.vystup_je_terminal) {
                p.vystup << '\n';
            }
            return 0;
        }
    }
}

int runKlienti(Prostredie& p) {
    const auto nedaSaCitat = [&](const char* co, int error) {
        p.vystup << "Subor sa nepodarilo otvorit";
        p.diagnostika << "klienti: subor \"" << p.subor << "\" sa nepodarilo " << co << ": " << reason(error) << '\n';
        return 0;
    };
    std::optional<InputFile> subor = InputFile::open(p.adresar / p.subor);
    if (!subor) {
        return nedaSaCitat("otvorit", errno);
    }
    LoadResult nacitanie;
    try {
        Progress::Step step(progressOf(p), "nacitavanie " + p.subor);
        LoadOptions options;
        options.nazov_suboru = p.subor;
        options.progress = step.callback();
        nacitanie = loadClients(*subor, p.vystup, options);
    } catch (const std::bad_alloc&) {
        p.vystup << "Nedostatok pamate na nacitanie zaznamov.\n";
        return 1;
    }
    if (nacitanie.read_error != 0) {
        return nedaSaCitat("precitat", nacitanie.read_error);
    }
    if (!nacitanie.header.comma && (nacitanie.header.semicolon || nacitanie.header.tab)) {
        p.diagnostika << "klienti: hlavicka suboru \"" << p.subor << "\" neobsahuje ciarku, ale "
                      << (nacitanie.header.semicolon ? "bodkociarku" : "tabulator")
                      << ": subor zrejme nie je oddeleny ciarkami\n";
    }
    return runDialogue(nacitanie.klienti, p);
}
