#include "app/ConsoleListing.hpp"

#include "model/Decimal.hpp"

namespace {

// The listing is built in memory and handed to the stream in large pieces,
// so that a million blocks cost a few hundred writes, not millions.
constexpr std::size_t davka = std::size_t{1} << 20;

} // namespace

const char* disciplineWord(int32_t splacal_nacas) noexcept {
    if (splacal_nacas == 1) {
        return "vyborna";
    }
    if (splacal_nacas == 2) {
        return "priemerna";
    }
    return "slaba";
}

void appendClientBlock(std::string& out, const Klient& klient, int32_t cislo) {
    out += "Klient c. ";
    appendDecimal(out, cislo);
    out += "\nMeno: ";
    out += klient.getMenoView();
    out += "\nPriezvisko: ";
    out += klient.getPriezviskoView();
    out += "\nAdresa: ";
    out += klient.getUlicaView();
    out += ", ";
    out += klient.getMestoView();
    out += "\nPovolanie: ";
    out += klient.getPovolanieView();
    out += "\nMesacna mzda: ";
    appendDecimal(out, klient.getPlat());
    out += " eur\nPocet uverov: ";
    appendDecimal(out, klient.getPocetUverov());
    out += "\nSuma uverov: ";
    appendDecimal(out, klient.getSumaUverov());
    out += " eur\nBonita: ";
    appendDecimal(out, klient.getBonita());
    out += " bodov (max. 100)\nPlatobna disciplina: ";
    out += disciplineWord(klient.getSplacalNacas());
    out += "\n______________________________\n";
}

void printClients(Klient* const* tabulka, int32_t pocet, std::ostream& out) {
    std::string text;
    text.reserve(davka + 512);
    for (int32_t i = 0; i < pocet; ++i) {
        appendClientBlock(text, *tabulka[i], i + 1);
        if (text.size() >= davka) {
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
            text.clear();
        }
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}
