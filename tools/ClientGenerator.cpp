#include "ClientGenerator.hpp"

#include <string>

namespace {


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

} // namespace

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


void appendGeneratedClients(std::string& text, Nahoda& nahoda, long long pocet) {
    for (long long i = 0; i < pocet; ++i) {
        text += '\n';
        pridajKlienta(text, nahoda);
    }
}

std::string generateClientFile(long long pocet, uint64_t seed) {
    std::string text(hlavicka_generatora);
    Nahoda nahoda{seed};
    appendGeneratedClients(text, nahoda, pocet);
    return text;
}
