#include "app/Dialogue.hpp"

#include "app/ConsoleListing.hpp"
#include "app/ValuePicture.hpp"
#include "io/InputFile.hpp"
#include "io/OutputFile.hpp"
#include "progress/Progress.hpp"
#include "query/Filter.hpp"
#include "query/Sort.hpp"
#include "query/ValueBands.hpp"
#include "threads/SideBySide.hpp"

#include <cerrno>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <vector>

namespace {

constexpr std::string_view hlavne_menu =
    " zaznamov o klientoch banky.\n\nZelate si tieto zaznamy filtrovat?\n"
    "Vyberte si jednu z moznosti a zadajte prislusny znak.\n"
    "A - ano\nN - nie\nU - ukoncit program\n";
constexpr std::string_view otazka_filtra =
    "\nPodla akeho kriteria chcete zaznamy filtrovat?\nPre vyber zadajte cislo zelanej moznosti.\n";
constexpr std::string_view otazka_usporiadania = "\nZadajte kriterium pre usporiadanie zaznamov:\n";
constexpr std::string_view pre_vyber = "Pre vyber zadajte cislo zelanej moznosti.\n";
constexpr std::string_view vyzva_hranic =
    "Zadajte minimalnu a maximalnu hodnotu ako dve cele cisla oddelene medzerou (napr. 10 20): ";
constexpr std::string_view ziadne_zaznamy = "\nProgram nema zaznamy na usporiadanie, preto sa vracia na zaciatok.\n\n";

constexpr std::string_view chyba_hlavneho_menu = "\nNeplatny vstup! Prosim zadajte A, N alebo U.\n";
constexpr std::string_view chyba_filtra = "\nNeplatny vstup! Prosim zadajte cislo v intervale 1 az 5.\n";
constexpr std::string_view chyba_usporiadania = "Neplatny vstup! Prosim zadajte cislo v intervale 1 az 9.\n";
constexpr std::string_view chyba_hranic = "\nNeplatny vstup! Prosim zadajte dve cele cisla.\n";
constexpr std::string_view chyba_vystupu = "Vystupny subor sa nepodarilo vytvorit. Vystup do suboru nebol vykonany.";
constexpr std::string_view nedostatok_pamate = "Nedostatok pamate, operacia nebola vykonana.\n";

enum class Volba { filtrovat, usporiadat, ukoncit };

std::optional<Volba> volbaFor(char c) noexcept {
    switch (c | 0x20) { // either case
    case 'a': return Volba::filtrovat;
    case 'n': return Volba::usporiadat;
    case 'u': return Volba::ukoncit;
    default: return std::nullopt;
    }
}

// Straight to the stream: showing a menu allocates nothing.
template <typename Menu>
void printMenu(std::ostream& out, const Menu& menu) {
    for (std::size_t i = 0; i < menu.size(); ++i) {
        out << static_cast<char>('1' + i) << ". " << menu[i].label << '\n';
    }
}

// Reads answers, one character each, until one means something; each other
// gets the message. Nothing at end of input.
template <typename Answer>
std::optional<Answer> readChoice(Environment& env, std::optional<Answer> (*meaning)(char) noexcept,
                                 std::string_view chyba) {
    for (char c; env.input >> c;) {
        if (const std::optional<Answer> answer = meaning(c)) {
            return answer;
        }
        env.output << chyba;
    }
    return std::nullopt;
}

// Input that is no 32-bit integer gets the message, the rest of its line is
// dropped and both bounds are read again. False at end of input.
bool readBounds(Environment& env, int32_t& min, int32_t& max) {
    for (;;) {
        if (env.input >> min >> max) {
            return true;
        }
        if (env.input.eof()) {
            return false;
        }
        env.output << chyba_hranic;
        env.input.clear();
        env.input.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
}

Progress& progressOf(Environment& env) {
    static Progress none(-1);
    return env.progress != nullptr ? *env.progress : none;
}

void noteFile(const OutputResult& result, int32_t pocet, Environment& env) noexcept {
    if (!result.written) {
        env.diagnostics << "klienti: vystupny subor \"" << result.name.view()
                        << "\" sa nepodarilo zapisat: " << std::strerror(result.error) << '\n';
        return;
    }
    env.diagnostics << "klienti: do suboru \"" << result.name.view() << "\" bolo zapisanych " << pocet
                    << " zaznamov\n";
}

enum class OutputOrder { listing_first, file_first };

// What a cycle shows and writes, taken before it shows anything.
struct CycleOutput {
    CycleOutput(int32_t pocet, unsigned workers, const Environment& env)
        : listing(listingBuffers(pocet, workers)),
          file(env.directory, static_cast<std::size_t>(std::max(pocet, 0)), workers) {
        if (!env.pager.command.empty() && pocet > 0) {
            pager.emplace(env.pager);
        }
    }
    WriterBuffers listing;
    OutputFile file;
    std::optional<Pager> pager;
};

// Through the pager where there is one; straight to the output where there
// is none or it cannot be started.
void list(Klient* const* tabulka, int32_t pocet, Environment& env, CycleOutput& taken,
          const ProgressCallback& progress) noexcept {
    if (taken.pager) {
        env.output.flush();
        if (taken.pager->start()) {
            printClients(tabulka, pocet, taken.pager->stream(), taken.listing);
            if (taken.pager->finish()) {
                return;
            }
            env.diagnostics << "klienti: strankovac \"" << taken.pager->command() << "\" sa nepodarilo spustit\n";
        } else {
            env.diagnostics << "klienti: strankovac \"" << taken.pager->command()
                            << "\" sa nepodarilo spustit: " << std::strerror(errno) << '\n';
        }
    }
    printClients(tabulka, pocet, env.output, taken.listing, env.output_is_terminal ? ProgressCallback{} : progress);
}

// Lists the table and writes the output file in the branch's order, then
// notes the file's fate. Everything is in hand: nothing here allocates or
// throws, so a cycle that has begun to show its result shows it whole.
void show(Klient* const* tabulka, int32_t pocet, const std::tm& now, CycleOutput& taken, OutputOrder order,
          Environment& env, NameSeries& series) noexcept {
    const auto count = static_cast<std::size_t>(std::max(pocet, 0));
    OutputResult result;
    if (order == OutputOrder::file_first) {
        {
            Progress::Step step(progressOf(env), "zapis vystupneho suboru");
            taken.file.write(tabulka, count, step.callback());
        }
        result = taken.file.publish(now, series);
        if (!result.written) {
            env.output << chyba_vystupu;
        }
        Progress::Step step(progressOf(env), "vypis");
        list(tabulka, pocet, env, taken, step.callback());
    } else {
        // The file is written and published on this thread, where the
        // signal handler knows its temporary, the listing beside it.
        Progress::Step step(progressOf(env), "vypis");
        runSideBySide(2, [&](std::size_t task) {
            if (task == 0) {
                taken.file.write(tabulka, count);
                result = taken.file.publish(now, series);
            } else {
                list(tabulka, pocet, env, taken, step.callback());
            }
        });
        if (!result.written) {
            env.output << chyba_vystupu;
        }
    }
    noteFile(result, pocet, env);
}

// The order is built beside the table and everything the output needs is
// taken before the order enters the table: out of memory shows nothing of
// the cycle but the message, and the table keeps its previous order.
void orderAndShow(Klient** tabulka, int32_t pocet, SortCriterion kriterium, Environment& env, OutputOrder order,
                  NameSeries& series) {
    const std::tm now = env.calendar();
    const unsigned workers = workerCount();
    std::optional<CycleOutput> taken;
    try {
        std::vector<Klient*> ordered;
        {
            Progress::Step step(progressOf(env), "usporiadanie");
            ordered = sortClients(tabulka, pocet, kriterium, toDatum(now), step.callback(), workers);
        }
        taken.emplace(pocet, workers, env);
        std::copy(ordered.begin(), ordered.end(), tabulka);
    } catch (const std::bad_alloc&) {
        env.output << nedostatok_pamate;
        return;
    }
    show(tabulka, pocet, now, *taken, order, env, series);
}

// The range sentence, and at a terminal the picture of the values on
// standard error, counted in a second pass over the table.
void showRange(const std::vector<Klient*>& tabulka, FilterCriterion kriterium, const Datum& dnes, Environment& env) {
    const auto pocet = static_cast<int32_t>(tabulka.size());
    const std::optional<ValueRange> range = printFilterRange(tabulka.data(), pocet, kriterium, dnes, env.output);
    if (range && env.diagnostics_is_terminal) {
        env.output.flush();
        drawValuePicture(env.diagnostics, countBands(tabulka.data(), pocet, kriterium, dnes, *range));
    }
}

// False when the input ended.
bool filterCycle(std::vector<Klient*>& tabulka, Environment& env, NameSeries& series) {
    const auto pocet = static_cast<int32_t>(tabulka.size());
    env.output << otazka_filtra;
    printMenu(env.output, filter_menu);
    env.output << ' ';
    const std::optional<FilterCriterion> kriterium = readChoice(env, filterCriterionFor, chyba_filtra);
    if (!kriterium) {
        return false;
    }
    // One date for the range report, the count and the copy, so that they
    // cannot disagree about an age even across midnight.
    const Datum dnes = toDatum(env.calendar());
    showRange(tabulka, *kriterium, dnes, env);
    env.output << vyzva_hranic;
    int32_t min = 0;
    int32_t max = 0;
    if (!readBounds(env, min, max)) {
        return false;
    }
    const HornaHranica horna{max};
    const DolnaHranica dolna{min};
    const int32_t vyhovuje = countMatching(tabulka.data(), horna, dolna, pocet, *kriterium, dnes);
    std::vector<Klient*> filtrovana;
    try {
        filtrovana.resize(static_cast<std::size_t>(vyhovuje));
    } catch (const std::bad_alloc&) {
        env.output << nedostatok_pamate;
        return true;
    }
    env.output << "\nZadanemu kriteriu vyhovuje " << vyhovuje << " zaznamov.\n";
    if (vyhovuje == 0) {
        env.output << ziadne_zaznamy;
        return true;
    }
    copyMatching(tabulka.data(), horna, dolna, pocet, vyhovuje, filtrovana.data(), *kriterium, dnes);

    env.output << otazka_usporiadania << pre_vyber;
    printMenu(env.output, sort_menu);
    const std::optional<SortCriterion> usporiadanie = readChoice(env, sortCriterionFor, chyba_usporiadania);
    if (!usporiadanie) {
        return false;
    }
    orderAndShow(filtrovana.data(), vyhovuje, *usporiadanie, env, OutputOrder::listing_first, series);
    return true;
}

// The loaded table keeps its new order for later cycles. False when the
// input ended.
bool orderCycle(std::vector<Klient*>& tabulka, Environment& env, NameSeries& series) {
    env.output << otazka_usporiadania;
    printMenu(env.output, sort_menu);
    const std::optional<SortCriterion> usporiadanie = readChoice(env, sortCriterionFor, chyba_usporiadania);
    if (!usporiadanie) {
        return false;
    }
    orderAndShow(tabulka.data(), static_cast<int32_t>(tabulka.size()), *usporiadanie, env, OutputOrder::file_first,
                 series);
    return true;
}

} // namespace

int runDialogue(ClientStore& klienti, Environment& env) {
    NameSeries series;
    for (;;) {
        env.output << "\nBolo nacitanych " << klienti.pocet() << hlavne_menu;
        const std::optional<Volba> volba = readChoice(env, volbaFor, chyba_hlavneho_menu);
        if (volba == Volba::ukoncit) {
            return 0;
        }
        const bool input_left =
            volba && (*volba == Volba::filtrovat ? filterCycle(klienti.tabulka(), env, series)
                                                 : orderCycle(klienti.tabulka(), env, series));
        if (!input_left) {
            // Else the shell's prompt would land behind the question.
            if (env.output_is_terminal) {
                env.output << '\n';
            }
            return 0;
        }
    }
}

int runKlienti(Environment& env) {
    const auto unreadable = [&](std::string_view what, int error) {
        env.output << "Subor sa nepodarilo otvorit";
        if (env.output_is_terminal) {
            env.output << '\n';
        }
        env.diagnostics << "klienti: subor \"" << env.client_file << "\" sa nepodarilo " << what << ": "
                        << std::strerror(error) << '\n';
        return 0;
    };
    std::optional<InputFile> file = InputFile::open(env.directory / env.client_file);
    if (!file) {
        return unreadable("otvorit", errno);
    }
    LoadResult loaded;
    try {
        const std::string step_name = "nacitavanie " + env.client_file;
        Progress::Step step(progressOf(env), step_name);
        LoadOptions options;
        options.file_name = env.client_file;
        options.workers = workerCount();
        options.progress = step.callback();
        loaded = loadClients(*file, env.output, options);
    } catch (const std::bad_alloc&) {
        env.output << "Nedostatok pamate na nacitanie zaznamov.\n";
        return 1;
    }
    if (loaded.read_error != 0) {
        return unreadable("precitat", loaded.read_error);
    }
    if (!loaded.header.comma && (loaded.header.semicolon || loaded.header.tab)) {
        env.diagnostics << "klienti: hlavicka suboru \"" << env.client_file << "\" neobsahuje ciarku, ale "
                        << (loaded.header.semicolon ? "bodkociarku" : "tabulator")
                        << ": subor zrejme nie je oddeleny ciarkami\n";
    }
    return runDialogue(loaded.klienti, env);
}
