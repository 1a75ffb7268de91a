#include "ClientGenerator.hpp"

#include <string>

namespace {


const char* const male_names[] = {"Jan", "Peter", "Martin", "Michal", "Tomas", "Jozef", "Lukas", "Marek",
                                   "Juraj", "Stefan", "Milan", "Pavol", "Frantisek", "Ladislav", "Miroslav",
                                   "Andrej", "Matej", "Samuel", "Rastislav", "Vladimir", "Igor", "Roman"};
const char* const female_names[] = {"Maria", "Anna", "Zuzana", "Katarina", "Eva", "Jana", "Lucia", "Monika",
                                   "Martina", "Veronika", "Simona", "Alena", "Helena", "Ivana", "Michaela",
                                   "Barbora", "Kristina", "Petra", "Dominika", "Lenka", "Natalia", "Silvia"};
// Surnames as pairs: the man's form and the woman's form.
const char* const surnames[][2] = {
    {"Novak", "Novakova"},     {"Horvath", "Horvathova"},   {"Kovac", "Kovacova"},   {"Varga", "Vargova"},
    {"Toth", "Tothova"},       {"Nagy", "Nagyova"},         {"Balaz", "Balazova"},   {"Molnar", "Molnarova"},
    {"Szabo", "Szabova"},      {"Lukac", "Lukacova"},       {"Kral", "Kralova"},     {"Simko", "Simkova"},
    {"Polak", "Polakova"},     {"Marek", "Marekova"},       {"Hudak", "Hudakova"},   {"Gajdos", "Gajdosova"},
    {"Bartos", "Bartosova"},   {"Oravec", "Oravcova"},      {"Kollar", "Kollarova"}, {"Cerny", "Cerna"},
    {"Blaho", "Blahova"},      {"Michalik", "Michalikova"}, {"Urban", "Urbanova"},   {"Zelenak", "Zelenakova"},
    {"Krajcovic", "Krajcovicova"}, {"Vlcek", "Vlckova"},    {"Sedlak", "Sedlakova"}, {"Baran", "Baranova"}};
const char* const streets[] = {"Hlavna", "Stefanikova", "Moyzesova", "Kollarova", "Safarikova", "Sturova",
                             "Hviezdoslavova", "Namestie SNP", "Zahradna", "Kvetna", "Lesna", "Polna",
                             "Dlha", "Kratka", "Mierova", "Jesenskeho", "Palarikova", "Bernolakova"};
const char* const cities[] = {"Bratislava", "Kosice", "Presov", "Zilina", "Nitra", "Banska Bystrica",
                             "Trnava", "Martin", "Trencin", "Poprad", "Prievidza", "Zvolen",
                             "Povazska Bystrica", "Michalovce", "Spisska Nova Ves", "Komarno", "Levice",
                             "Humenne", "Bardejov", "Liptovsky Mikulas"};
const char* const occupations[] = {"ucitel", "programator", "lekar", "zdravotna sestra", "predavac", "vodic",
                                 "uctovnik", "elektrikar", "kuchar", "stavbar", "uradnik", "inzinier",
                                 "policajt", "zubar", "architekt", "dochodca", "student", "manazer",
                                 "skladnik", "pekar", "kadernik"};

constexpr int month_lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

void appendTwoDigits(std::string& s, int v) {
    s += static_cast<char>('0' + v / 10);
    s += static_cast<char>('0' + v % 10);
}

} // namespace

void appendClientLine(std::string& s, Random& n) {
    const bool woman = n.next() % 2 == 0;
    // Birth years 1935 to 2012: year digits on both sides of the 14/15 pivot.
    const int year = n.between(1935, 2012);
    const int month = n.between(1, 12);
    const int day = n.between(1, month_lengths[month - 1]);
    appendTwoDigits(s, year % 100);
    appendTwoDigits(s, month + (woman ? 50 : 0));
    appendTwoDigits(s, day);
    s += '/';
    const int suffix = n.between(0, 9999);
    appendTwoDigits(s, suffix / 100);
    appendTwoDigits(s, suffix % 100);
    s += ',';
    s += woman ? n.pick(female_names) : n.pick(male_names);
    s += ',';
    s += surnames[n.next() % (sizeof surnames / sizeof surnames[0])][woman ? 1 : 0];
    s += ',';
    s += n.pick(streets);
    s += ' ';
    s += std::to_string(n.between(1, 199));
    s += ',';
    s += n.pick(cities);
    s += ',';
    s += n.pick(occupations);
    s += ',';
    s += std::to_string(n.between(450, 6500));
    const int loans = n.between(0, 9);
    s += ',';
    s += std::to_string(loans);
    s += ',';
    s += std::to_string(loans == 0 ? 0 : n.between(500, 999999));
    s += ',';
    s += std::to_string(n.between(0, 100));
    s += ',';
    s += std::to_string(n.between(1, 3));
}


void appendGeneratedClients(std::string& text, Random& random, long long count) {
    for (long long i = 0; i < count; ++i) {
        text += '\n';
        appendClientLine(text, random);
    }
}

std::string generateClientFile(long long count, uint64_t seed) {
    std::string text(generated_header);
    Random random{seed};
    appendGeneratedClients(text, random, count);
    return text;
}
