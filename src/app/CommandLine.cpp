#include "app/CommandLine.hpp"

#include <array>
#include <charconv>
#include <climits>

namespace {

// The criteria of a job, by the columns' names without diacritics: the
// number ones (and the age) filter by a range, the texts by an exact text;
// every one orders as the dialogue's menu does.
struct Named {
    std::string_view name;
    std::optional<FilterCriterion> number; // none: a text
    SortCriterion order;
};
constexpr std::array<Named, 9> criteria = {{
    {"mzda", FilterCriterion::plat, SortCriterion::plat},
    {"pocet-uverov", FilterCriterion::pocet_uverov, SortCriterion::pocet_uverov},
    {"suma-uverov", FilterCriterion::suma_uverov, SortCriterion::suma_uverov},
    {"bonita", FilterCriterion::bonita, SortCriterion::bonita},
    {"vek", FilterCriterion::vek, SortCriterion::vek},
    {"meno", std::nullopt, SortCriterion::meno},
    {"priezvisko", std::nullopt, SortCriterion::priezvisko},
    {"mesto", std::nullopt, SortCriterion::mesto},
    {"povolanie", std::nullopt, SortCriterion::povolanie},
}};

// Thrown as a usage error's text.
struct Refusal {
    std::string text;
};

const Named& criterionNamed(std::string_view name) {
    for (const Named& c : criteria) {
        if (c.name == name) {
            return c;
        }
    }
    std::string known;
    for (const Named& c : criteria) {
        known += (known.empty() ? "" : ", ") + std::string(c.name);
    }
    throw Refusal{"nezname kriterium \"" + std::string(name) + "\"; kriteria su: " + known};
}

// A bound of OD..DO: empty for none, else a whole number within 32 bits.
std::optional<int32_t> bound(std::string_view text, int32_t none) {
    if (text.empty()) {
        return none;
    }
    // A plus sign may stand before the digits, not before a minus sign.
    text.remove_prefix(text.size() > 1 && text[0] == '+' && text[1] != '-' ? 1 : 0);
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? std::optional(value) : std::nullopt;
}

Filter filterOf(std::string_view arg) {
    const std::size_t equals = arg.find('=');
    if (equals == std::string_view::npos) {
        throw Refusal{"filter \"" + std::string(arg) + "\" nema tvar KRITERIUM=OD..DO alebo KRITERIUM=TEXT"};
    }
    const Named& named = criterionNamed(arg.substr(0, equals));
    const std::string_view value = arg.substr(equals + 1);
    if (!named.number) {
        return TextFilter{std::get<TextKey>(menuItem(named.order).key), std::string(value)};
    }
    const std::size_t dots = value.find("..");
    const std::optional<int32_t> min =
        dots == std::string_view::npos ? std::nullopt : bound(value.substr(0, dots), INT32_MIN);
    const std::optional<int32_t> max =
        dots == std::string_view::npos ? std::nullopt : bound(value.substr(dots + 2), INT32_MAX);
    if (!min || !max) {
        throw Refusal{"filter \"" + std::string(arg) + "\" nema tvar " + std::string(named.name) +
                      "=OD..DO s celymi cislami, napriklad " + std::string(named.name) + "=40..80"};
    }
    if (*min > *max) {
        throw Refusal{"vo filtri \"" + std::string(arg) + "\" je dolna hranica vacsia ako horna"};
    }
    return NumberFilter{*named.number, {*min, *max}};
}

void addKeys(std::string_view arg, std::vector<SortKey>& keys) {
    for (std::size_t from = 0;;) {
        const std::size_t comma = arg.find(',', from);
        std::string_view key = arg.substr(from, comma == std::string_view::npos ? std::string_view::npos : comma - from);
        const bool descending = key.starts_with('-');
        key.remove_prefix(descending ? 1 : 0);
        keys.push_back({criterionNamed(key).order, descending});
        if (comma == std::string_view::npos) {
            return;
        }
        from = comma + 1;
    }
}

CommandLine parse(std::span<const std::string_view> args) {
    CommandLine command;
    Job job;
    bool is_job = false;
    bool has_operand = false;
    bool output_given = false;
    bool options_ended = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (options_ended || !arg.starts_with('-')) {
            if (has_operand) {
                throw Refusal{"nadbytocny argument \"" + std::string(arg) + "\": program cita jediny subor"};
            }
            has_operand = true;
            command.client_file = arg;
            continue;
        }
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
        if (arg == "--list") {
            job.list = true;
            continue;
        }
        // The options with a value: "--order -mzda" or "--order=-mzda".
        const std::string_view name = arg.substr(0, arg.find('='));
        if (name != "--filter" && name != "--order" && name != "--output" && name != "--collation") {
            throw Refusal{arg == "-" ? "neznama volba \"-\": standardny vstup patri dialogu"
                                     : "neznama volba \"" + std::string(arg) + "\""};
        }
        std::string_view value;
        if (name.size() < arg.size()) {
            value = arg.substr(name.size() + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            throw Refusal{"volba \"" + std::string(name) + "\" potrebuje hodnotu"};
        }
        if (name == "--collation") {
            const std::optional<Collation> collation = collationFor(value);
            if (!collation) {
                throw Refusal{"nezname triedenie \"" + std::string(value) + "\"; mozne su: bytes, sk"};
            }
            command.collation = *collation;
            continue;
        }
        is_job = true;
        if (name == "--filter") {
            job.filters.push_back(filterOf(value));
        } else if (name == "--order") {
            addKeys(value, job.keys);
        } else {
            if (output_given) {
                throw Refusal{"volbu \"--output\" mozno zadat len raz"};
            }
            if (value.empty()) {
                throw Refusal{"volba \"--output\" potrebuje nazov suboru alebo \"-\""};
            }
            output_given = true;
            job.output = value == "-" ? Job::Output::standard_output : Job::Output::named_file;
            job.output_name = value;
        }
    }
    if (job.list && !is_job) {
        throw Refusal{"volba \"--list\" patri k ulohe: pridajte --filter, --order alebo --output"};
    }
    if (job.list && job.output == Job::Output::standard_output) {
        throw Refusal{"volbu \"--list\" nemozno spojit s \"--output -\": standardny vystup nesie CSV"};
    }
    if (is_job) {
        job.collation = command.collation;
        command.job = std::move(job);
    }
    return command;
}

} // namespace

CommandLine parseCommandLine(std::span<const std::string_view> args) {
    try {
        return parse(args);
    } catch (Refusal& refusal) {
        CommandLine command;
        command.action = CommandLine::Action::usage_error;
        command.error = std::move(refusal.text);
        return command;
    }
}

std::string usageText() {
    return "Pouzitie: klienti [--collation sk|bytes] [--no-pager] [SUBOR]\n"
           "         klienti [--filter KRITERIUM=OD..DO]...\n"
           "                 [--order [-]KRITERIUM[,[-]KRITERIUM]...]\n"
           "                 [--output SUBOR | --output -] [--list] [--collation sk|bytes]\n"
           "                 [--no-pager] [SUBOR]\n"
           "\n"
           "Nacita zaznamy o klientoch banky zo suboru SUBOR, bez neho zo suboru\n"
           "klienti.csv v pracovnom adresari. Bez volieb ulohy vedie dialog na\n"
           "standardnom vstupe a vystupe: zaznamy filtruje podla jedneho ciselneho\n"
           "udaja, usporiada ich, vypise ich a kazdy vypis zapise do noveho suboru CSV\n"
           "v pracovnom adresari, pomenovaneho podla miestneho datumu a casu, napriklad\n"
           "\"Tue 05. Mar. 2024, 14.05.csv\". Existujuci subor sa nikdy neprepise.\n"
           "Na terminali ukazuje vypisy cez strankovac: PAGER, inak less.\n"
           "\n"
           "S volbami --filter, --order alebo --output vykona ulohu bez dialogu: vyberie\n"
           "klientov, ktori prejdu vsetkymi filtrami, usporiada ich, zapise ich a skonci.\n"
           "Zo standardneho vstupu necita nic.\n"
           "\n"
           "Kriteria: mzda, pocet-uverov, suma-uverov, bonita, vek (cisla; vek v rokoch,\n"
           "pri usporiadani v dnoch) a meno, priezvisko, mesto, povolanie (texty).\n"
           "\n"
           "Volby:\n"
           "      --filter KRITERIUM=OD..DO  klienti s hodnotou od OD do DO vratane; jednu\n"
           "                       hranicu mozno vynechat (bonita=40.., vek=..30); text\n"
           "                       sa porovna presne (mesto=Nitra); plati kazdy filter\n"
           "      --order [-]KRITERIUM[,...]  usporiada podla kriterii v poradi dolezitosti,\n"
           "                       \"-\" zostupne; zhodni klienti ostanu v poradi suboru\n"
           "      --output SUBOR   zapise vysledok do noveho suboru SUBOR (existujuci sa\n"
           "                       neprepise); \"-\" na standardny vystup; bez volby do\n"
           "                       suboru pomenovaneho podla datumu a casu\n"
           "      --list           vypise klientov na standardny vystup ako v dialogu\n"
           "      --collation sk   texty usporiada podla slovenskej abecedy, ako ICU\n"
           "                       (... c, c s hackom ... h, ch, i ...), v dialogu aj\n"
           "                       v ulohe; bytes (predvolene): podla bajtov\n"
           "      --no-pager       vypise zaznamy priamo na terminal, bez strankovaca\n"
           "  -h, --help           vypise tuto napovedu a skonci\n"
           "      --version        vypise verziu programu a skonci\n"
           "  --                   ukonci volby: nasledujuci argument je SUBOR\n"
           "\n"
           "Priklady:\n"
           "  klienti --filter bonita=40..80 --order priezvisko --output report.csv\n"
           "  klienti --filter mesto=Nitra --filter vek=..30 --order -mzda,priezvisko --list\n"
           "  klienti --filter pocet-uverov=1.. --order -suma-uverov --output - | gzip >u.gz\n"
           "\n"
           "Navratovy kod: 0 hotovo, 1 subor sa nepodarilo nacitat alebo zapisat,\n"
           "2 chybne volby.\n"
           "\n"
           "Podrobny popis: man klienti\n";
}

std::string versionText() { return "klienti " KLIENTI_VERSION "\n"; }
