#include "app/Dialogue.hpp"

#include "app/RunJob.hpp"
#include "app/ValuePicture.hpp"
#include "query/Filter.hpp"
#include "query/Sort.hpp"
#include "query/ValueBands.hpp"

#include <limits>
#include <new>
#include <optional>

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

// What a cycle does once it knows its ordering: writes a file named after
// the time and lists the table, beside the file after a filter, after it when
// all clients are ordered.
void orderAndWriteCycle(Klient** tabulka, int32_t pocet, SortCriterion kriterium, bool file_first, Console& c) {
    Job job;
    job.list = true;
    job.file_first = file_first;
    job.dialogue = true;
    job.collation = c.collation;
    try {
        job.keys.push_back({kriterium});
    } catch (const std::bad_alloc&) {
        c.out << nedostatok_pamate;
        return;
    }
    orderAndWrite(tabulka, pocet, job, c.env.calendar(), c);
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
    const Filter filter = NumberFilter{*kriterium, {min, max}};
    const std::span<const Filter> filters(&filter, 1);
    const int32_t vyhovuje = countMatching(tabulka.data(), pocet, filters, dnes);
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
    copyMatching(tabulka.data(), pocet, filters, vyhovuje, filtrovana.data(), dnes);

    c.out << otazka_usporiadania << pre_vyber;
    printMenu(c.out, sort_menu);
    const std::optional<SortCriterion> usporiadanie = readChoice(c, sortCriterionFor, chyba_usporiadania);
    if (!usporiadanie) {
        return false;
    }
    orderAndWriteCycle(filtrovana.data(), vyhovuje, *usporiadanie, false, c);
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
    orderAndWriteCycle(tabulka.data(), static_cast<int32_t>(tabulka.size()), *usporiadanie, true, c);
    return true;
}

} // namespace

int runDialogue(ClientStore& klienti, Environment& env, const Dialect& dialect, Collation collation) {
    Console c(env, dialect);
    c.collation = collation;
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

