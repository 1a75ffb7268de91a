#include "app/Dialogue.hpp"

#include "app/ConsoleListing.hpp"
#include "app/ValuePicture.hpp"
#include "io/InputFile.hpp"
#include "io/OutputFile.hpp"
#include "progress/Progress.hpp"
#include "query/Filter.hpp"
#include "query/Sort.hpp"
#include "query/ValueBands.hpp"
#include "sink/SinkStream.hpp"
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

// The dialogue's text, onto the environment's sinks. Standard output goes
// out before an answer is read and before anything reaches standard error, so
// that at a terminal all of it appears in the order written.
struct Console {
    Console(Environment& e, const Dialect& d)
        : env(e), dialect(d), out(e.output), err(e.diagnostics), tied(e.input.tie(&out)) {
        err.tie(&out);
    }
    ~Console() {
        out.flush();
        err.flush();
        env.input.tie(tied);
    }
    Environment& env;
    Dialect dialect; // of the client file: output files are written in it
    SinkStream out;
    SinkStream err;
    std::ostream* tied;
};

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

// At a terminal an answer is a line: what follows it there is dropped, not
// kept for the next question, and standard error says so where it is more
// than blanks (its first bytes, control characters shown as '?'). Through a
// pipe it stays, as scripts feed their answers.
void endAnswerLine(Console& c, bool noted) {
    if (!c.env.input_is_terminal) {
        return;
    }
    constexpr std::size_t shown = 40;
    char rest[shown];
    std::size_t size = 0;
    std::size_t blanks_from = 0; // where trailing blanks begin
    bool longer = false;
    for (int ch = c.env.input.get(); ch != std::char_traits<char>::eof() && ch != '\n'; ch = c.env.input.get()) {
        const bool blank = ch == ' ' || ch == '\t' || ch == '\r';
        if (size == 0 && blank) {
            continue;
        }
        if (size == shown) {
            longer = longer || !blank;
            continue;
        }
        rest[size++] = ch < 0x20 || ch == 0x7f ? '?' : static_cast<char>(ch);
        blanks_from = blank ? blanks_from : size;
    }
    if (noted && blanks_from > 0) {
        c.err << "klienti: zvysok riadku \"" << std::string_view(rest, blanks_from) << (longer ? "..." : "")
              << "\" bol ignorovany\n" << std::flush;
    }
}

// Reads answers, one character each, until one means something; each other
// gets the message (at a terminal once per line). Nothing at end of input.
template <typename Answer>
std::optional<Answer> readChoice(Console& c, std::optional<Answer> (*meaning)(char) noexcept,
                                 std::string_view chyba) {
    for (char answer; c.env.input >> answer;) {
        const std::optional<Answer> chosen = meaning(answer);
        endAnswerLine(c, chosen.has_value());
        if (chosen) {
            return chosen;
        }
        c.out << chyba;
    }
    return std::nullopt;
}

// Input that is no 32-bit integer gets the message, the rest of its line is
// dropped and both bounds are read again. False at end of input.
bool readBounds(Console& c, int32_t& min, int32_t& max) {
    for (;;) {
        if (c.env.input >> min >> max) {
            endAnswerLine(c, true);
            return true;
        }
        if (c.env.input.eof()) {
            return false;
        }
        c.out << chyba_hranic;
        c.env.input.clear();
        c.env.input.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
}

void noteFile(const OutputResult& result, int32_t pocet, Console& c) noexcept {
    if (!result.written) {
        c.err << "klienti: vystupny subor \"" << result.name.view()
              << "\" sa nepodarilo zapisat: " << std::strerror(result.error) << '\n' << std::flush;
        return;
    }
    c.err << "klienti: do suboru \"" << result.name.view() << "\" bolo zapisanych " << pocet << " zaznamov\n"
          << std::flush;
}

enum class OutputOrder { listing_first, file_first };

// What a cycle shows and writes, taken before it shows anything.
struct CycleOutput {
    CycleOutput(int32_t pocet, unsigned workers, const Environment& env, const Dialect& dialect)
        : listing(listingBuffers(pocet, workers)),
          file(env.directory, static_cast<std::size_t>(std::max(pocet, 0)), workers, dialect) {
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
void list(const Klient* const* tabulka, int32_t pocet, Console& c, CycleOutput& taken,
          const ProgressCallback& progress) noexcept {
    c.out.flush();
    if (taken.pager) {
        if (taken.pager->start()) {
            printClients(tabulka, pocet, taken.pager->input(), taken.listing);
            if (taken.pager->finish()) {
                return;
            }
            c.err << "klienti: strankovac \"" << taken.pager->command() << "\" sa nepodarilo spustit\n" << std::flush;
        } else {
            c.err << "klienti: strankovac \"" << taken.pager->command()
                  << "\" sa nepodarilo spustit: " << std::strerror(errno) << '\n' << std::flush;
        }
    }
    printClients(tabulka, pocet, c.env.output, taken.listing, c.env.output_is_terminal ? ProgressCallback{} : progress);
}

// Lists the table and writes the output file in the branch's order, then
// notes the file's fate. Everything is in hand: nothing here allocates or
// throws, so a cycle that has begun to show its result shows it whole.
void show(const Klient* const* tabulka, int32_t pocet, const std::tm& now, CycleOutput& taken, OutputOrder order,
          Console& c) noexcept {
    const auto count = static_cast<std::size_t>(std::max(pocet, 0));
    const bool file_first = order == OutputOrder::file_first;
    {
        // The listing first goes on this thread, the file beside it; the
        // file first is written alone, with its own progress.
        Progress::Step step(c.env.progress, file_first ? "zapis vystupneho suboru" : "vypis");
        runSideBySide(file_first ? 1 : 2, [&](std::size_t task) {
            if (task == 0 && !file_first) {
                list(tabulka, pocet, c, taken, step.callback());
            } else {
                taken.file.write(tabulka, count, file_first ? step.callback() : ProgressCallback{});
            }
        });
    }
    const OutputResult result = taken.file.publish(now);
    if (!result.written) {
        c.out << chyba_vystupu;
    }
    if (file_first) {
        Progress::Step step(c.env.progress, "vypis");
        list(tabulka, pocet, c, taken, step.callback());
    }
    noteFile(result, pocet, c);
}

// The order is built beside the table and everything the output needs is
// taken before the order enters the table: out of memory shows nothing of
// the cycle but the message, and the table keeps its previous order.
void orderAndShow(Klient** tabulka, int32_t pocet, SortCriterion kriterium, Console& c, OutputOrder order) {
    const std::tm now = c.env.calendar();
    const unsigned workers = workerCount();
    std::optional<CycleOutput> taken;
    try {
        HugeVector<Klient*> ordered;
        {
            Progress::Step step(c.env.progress, "usporiadanie");
            ordered = sortClients(tabulka, pocet, kriterium, toDatum(now), step.callback(), workers);
        }
        taken.emplace(pocet, workers, c.env, c.dialect);
        std::copy(ordered.begin(), ordered.end(), tabulka);
    } catch (const std::bad_alloc&) {
        c.out << nedostatok_pamate;
        return;
    }
    show(tabulka, pocet, now, *taken, order, c);
}

// The range sentence, and at a terminal the picture of the values on
// standard error, counted in a second pass over the table.
void showRange(const HugeVector<Klient*>& tabulka, FilterCriterion kriterium, const Datum& dnes, Console& c) {
    const auto pocet = static_cast<int32_t>(tabulka.size());
    const std::optional<ValueRange> range = printFilterRange(tabulka.data(), pocet, kriterium, dnes, c.out);
    if (range && c.env.diagnostics_is_terminal) {
        c.out.flush();
        drawValuePicture(c.err, countBands(tabulka.data(), pocet, kriterium, dnes, *range), c.env.columns());
        c.err.flush();
    }
}

// False when the input ended.
bool filterCycle(HugeVector<Klient*>& tabulka, Console& c) {
    const auto pocet = static_cast<int32_t>(tabulka.size());
    c.out << otazka_filtra;
    printMenu(c.out, filter_menu);
    c.out << ' ';
    const std::optional<FilterCriterion> kriterium = readChoice(c, filterCriterionFor, chyba_filtra);
    if (!kriterium) {
        return false;
    }
    // One date for the range report, the count and the copy, so that they
    // cannot disagree about an age even across midnight.
    const Datum dnes = toDatum(c.env.calendar());
    showRange(tabulka, *kriterium, dnes, c);
    c.out << vyzva_hranic;
    int32_t min = 0;
    int32_t max = 0;
    if (!readBounds(c, min, max)) {
        return false;
    }
    if (min > max) {
        c.err << "klienti: dolna hranica " << min << " je vacsia ako horna hranica " << max
              << ", preto nevyhovuje ziadny zaznam\n" << std::flush;
    }
    const HornaHranica horna{max};
    const DolnaHranica dolna{min};
    const int32_t vyhovuje = countMatching(tabulka.data(), horna, dolna, pocet, *kriterium, dnes);
    HugeVector<Klient*> filtrovana;
    try {
        filtrovana.resize(static_cast<std::size_t>(vyhovuje));
    } catch (const std::bad_alloc&) {
        c.out << nedostatok_pamate;
        return true;
    }
    c.out << "\nZadanemu kriteriu vyhovuje " << vyhovuje << " zaznamov.\n";
    if (vyhovuje == 0) {
        c.out << ziadne_zaznamy;
        return true;
    }
    copyMatching(tabulka.data(), horna, dolna, pocet, vyhovuje, filtrovana.data(), *kriterium, dnes);

    c.out << otazka_usporiadania << pre_vyber;
    printMenu(c.out, sort_menu);
    const std::optional<SortCriterion> usporiadanie = readChoice(c, sortCriterionFor, chyba_usporiadania);
    if (!usporiadanie) {
        return false;
    }
    orderAndShow(filtrovana.data(), vyhovuje, *usporiadanie, c, OutputOrder::listing_first);
    return true;
}

// The loaded table keeps its new order for later cycles. False when the
// input ended.
bool orderCycle(HugeVector<Klient*>& tabulka, Console& c) {
    c.out << otazka_usporiadania;
    printMenu(c.out, sort_menu);
    const std::optional<SortCriterion> usporiadanie = readChoice(c, sortCriterionFor, chyba_usporiadania);
    if (!usporiadanie) {
        return false;
    }
    orderAndShow(tabulka.data(), static_cast<int32_t>(tabulka.size()), *usporiadanie, c, OutputOrder::file_first);
    return true;
}

} // namespace

int runDialogue(ClientStore& klienti, Environment& env, const Dialect& dialect) {
    Console c(env, dialect);
    for (;;) {
        c.out << "\nBolo nacitanych " << klienti.pocet() << hlavne_menu;
        const std::optional<Volba> volba = readChoice(c, volbaFor, chyba_hlavneho_menu);
        if (volba == Volba::ukoncit) {
            return 0;
        }
        const bool input_left = volba && (*volba == Volba::filtrovat ? filterCycle(klienti.tabulka(), c)
                                                                      : orderCycle(klienti.tabulka(), c));
        if (!input_left) {
            // Else the shell's prompt would land behind the question.
            if (env.output_is_terminal) {
                c.out << '\n';
            }
            return 0;
        }
    }
}

int runKlienti(Environment& env) {
    LoadResult loaded;
    {
        Console c(env, {});
        const auto unreadable = [&](std::string_view what, int error) {
            c.out << "Subor sa nepodarilo otvorit";
            if (env.output_is_terminal) {
                c.out << '\n';
            }
            c.err << "klienti: subor \"" << env.client_file << "\" sa nepodarilo " << what << ": "
                  << std::strerror(error) << '\n';
            return 0;
        };
        std::optional<InputFile> file = InputFile::open(env.directory / env.client_file);
        if (!file) {
            return unreadable("otvorit", errno);
        }
        try {
            const std::string step_name = "nacitavanie " + env.client_file;
            Progress::Step step(env.progress, step_name);
            LoadOptions options;
            options.file_name = env.client_file;
            options.workers = workerCount();
            options.progress = step.callback();
            loaded = loadClients(*file, c.out, options);
        } catch (const std::bad_alloc&) {
            c.out << "Nedostatok pamate na nacitanie zaznamov.\n";
            return 1;
        }
        if (loaded.read_error != 0) {
            return unreadable("precitat", loaded.read_error);
        }
        if (const Dialect& d = loaded.dialect; d.separator != ',' || d.byte_order_mark) {
            c.err << "klienti: subor \"" << env.client_file << "\" je oddeleny "
                  << (d.separator == ',' ? "ciarkami" : d.separator == ';' ? "bodkociarkami" : "tabulatormi")
                  << (d.byte_order_mark ? " a zacina znackou poradia bajtov UTF-8" : "")
                  << "; vystupne subory budu zapisane rovnako\n";
        }
    }
    return runDialogue(loaded.klienti, env, loaded.dialect);
}
