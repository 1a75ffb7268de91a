// Writes a synthetic klienti.csv: invented clients with Slovak names written
// without diacritics, every field within its limit, no line feed after the
// last record. The same count and seed always give the same bytes.
//
//   generate_klienti COUNT [SEED] [FILE]     (FILE defaults to standard output)

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// splitmix64: small, fast and the same on every platform (the standard
// distributions are not).
struct Nahoda {
    uint64_t stav;
    uint64_t dalsie() {
        uint64_t z = (stav += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A whole number from od to po, both included.
    int medzi(int od, int po) { return od + static_cast<int>(dalsie() % static_cast<uint64_t>(po - od + 1)); }
    template <std::size_t N>
    const char* z(const char* const (&zoznam)[N]) {
        return zoznam[dalsie() % N];
    }
};

const char* const muzske_mena[] = {"Jan", "Peter", "Martin", "Michal", "Tomas", "Jozef", "Lukas", "Marek",
                                   "Juraj", "Stefan", "Milan", "Pavol", "Frantisek", "Ladislav", "Miroslav",
                                   "Andrej", "Matej", "Samuel", "Rastislav", "Vladimir", "Igor", "Roman"};
const char* const zenske_mena[] = {"Maria", "Anna", "Zuzana", "Katarina", "Eva", "Jana", "Lucia", "Monika",
                                   "Martina", "Veronika", "Simona", "Alena", "Helena", "Ivana", "Michaela",
                                   "Barbora", "Kristina", "Petra", "Dominika", "Lenka", "Natalia", "Silvia"};
// Surnames as pairs: the man's form and the woman's form.
const char* const priezviska[][2] = {
    {"Novak", "Novakova"},     {"Horvath", "Horvathova"},   {"Kovac", "Kovacova"},   {"Varga", "Vargova"},
    {"Toth", "Tothova"},       {"Nagy", "Nagyova"},         {"Balaz", "Balazova"},   {"Molnar", "Molnarova"},
    {"Szabo", "Szabova"},      {"Lukac", "Lukacova"},       {"Kral", "Kralova"},     {"Simko", "Simkova"},
    {"Polak", "Polakova"},     {"Marek", "Marekova"},       {"Hudak", "Hudakova"},   {"Gajdos", "Gajdosova"},
    {"Bartos", "Bartosova"},   {"Oravec", "Oravcova"},      {"Kollar", "Kollarova"}, {"Cerny", "Cerna"},
    {"Blaho", "Blahova"},      {"Michalik", "Michalikova"}, {"Urban", "Urbanova"},   {"Zelenak", "Zelenakova"},
    {"Krajcovic", "Krajcovicova"}, {"Vlcek", "Vlckova"},    {"Sedlak", "Sedlakova"}, {"Baran", "Baranova"}};
const char* const ulice[] = {"Hlavna", "Stefanikova", "Moyzesova", "Kollarova", "Safarikova", "Sturova",
                             "Hviezdoslavova", "Namestie SNP", "Zahradna", "Kvetna", "Lesna", "Polna",
                             "Dlha", "Kratka", "Mierova", "Jesenskeho", "Palarikova", "Bernolakova"};
const char* const mesta[] = {"Bratislava", "Kosice", "Presov", "Zilina", "Nitra", "Banska Bystrica",
                             "Trnava", "Martin", "Trencin", "Poprad", "Prievidza", "Zvolen",
                             "Povazska Bystrica", "Michalovce", "Spisska Nova Ves", "Komarno", "Levice",
                             "Humenne", "Bardejov", "Liptovsky Mikulas"};
const char* const povolania[] = {"ucitel", "programator", "lekar", "zdravotna sestra", "predavac", "vodic",
                                 "uctovnik", "elektrikar", "kuchar", "stavbar", "uradnik", "inzinier",
                                 "policajt", "zubar", "architekt", "dochodca", "student", "manazer",
                                 "skladnik", "pekar", "kadernik"};

constexpr int dni_v_mesiaci[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

void pridajDve(std::string& s, int v) {
    s += static_cast<char>('0' + v / 10);
    s += static_cast<char>('0' + v % 10);
}

void pridajKlienta(std::string& s, Nahoda& n) {
    const bool zena = n.dalsie() % 2 == 0;
    // Birth years 1935 to 2012: year digits on both sides of the 14/15 pivot.
    const int rok = n.medzi(1935, 2012);
    const int mesiac = n.medzi(1, 12);
    const int den = n.medzi(1, dni_v_mesiaci[mesiac - 1]);
    pridajDve(s, rok % 100);
    pridajDve(s, mesiac + (zena ? 50 : 0));
    pridajDve(s, den);
    s += '/';
    const int pripona = n.medzi(0, 9999);
    pridajDve(s, pripona / 100);
    pridajDve(s, pripona % 100);
    s += ',';
    s += zena ? n.z(zenske_mena) : n.z(muzske_mena);
    s += ',';
    s += priezviska[n.dalsie() % (sizeof priezviska / sizeof priezviska[0])][zena ? 1 : 0];
    s += ',';
    s += n.z(ulice);
    s += ' ';
    s += std::to_string(n.medzi(1, 199));
    s += ',';
    s += n.z(mesta);
    s += ',';
    s += n.z(povolania);
    s += ',';
    s += std::to_string(n.medzi(450, 6500));
    const int uvery = n.medzi(0, 9);
    s += ',';
    s += std::to_string(uvery);
    s += ',';
    s += std::to_string(uvery == 0 ? 0 : n.medzi(500, 999999));
    s += ',';
    s += std::to_string(n.medzi(0, 100));
    s += ',';
    s += std::to_string(n.medzi(1, 3));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: generate_klienti COUNT [SEED] [FILE]\n");
        return 2;
    }
    const long long pocet = std::atoll(argv[1]);
    Nahoda nahoda{argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1};
    std::FILE* vystup = argc > 3 ? std::fopen(argv[3], "wb") : stdout;
    if (vystup == nullptr || pocet < 0) {
        std::fprintf(stderr, "generate_klienti: cannot write %s\n", argc > 3 ? argv[3] : "output");
        return 1;
    }
    std::string text =
        "rodne cislo,meno,priezvisko,ulica a cislo,mesto,povolanie,mesacna mzda,pocet uverov,"
        "suma uverov,bonita,platobna disciplina";
    for (long long i = 0; i < pocet; ++i) {
        text += '\n';
        pridajKlienta(text, nahoda);
        if (text.size() >= (1u << 20)) {
            std::fwrite(text.data(), 1, text.size(), vystup);
            text.clear();
        }
    }
    std::fwrite(text.data(), 1, text.size(), vystup);
    const bool chyba = std::ferror(vystup) != 0;
    if (vystup != stdout) {
        std::fclose(vystup);
    }
    return chyba ? 1 : 0;
}
