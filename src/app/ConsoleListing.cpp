#include "app/ConsoleListing.hpp"

#include "model/Decimal.hpp"
#include "model/Prefetch.hpp"

#include "io/TextBuffer.hpp"

namespace {

// The listing is built in memory and handed to the stream in large pieces,
// so that a million blocks cost a few hundred writes, not millions.
constexpr std::size_t davka = std::size_t{1} << 20;

// The most one block can take: its fixed text, six numbers, the five text
// fields copied whole and the longest discipline word.
constexpr std::size_t max_dlzka_bloku =
    sizeof("Klient c. \nMeno: \nPriezvisko: \nAdresa: , \nPovolanie: \nMesacna mzda:  eur\n"
           "Pocet uverov: \nSuma uverov:  eur\nBonita:  bodov (max. 100)\nPlatobna disciplina: \n"
           "______________________________\n") +
    6 * max_dlzka_cisla + sizeof(Klient::Pole20) * 4 + sizeof(Klient::Pole30) + sizeof("priemerna");

void appendClientBlock(TextBuffer& out, const Klient& klient, int32_t cislo) {
    out.text("Klient c. ");
    out.cislo(cislo);
    out.text("\nMeno: ");
    out.pole(klient.menoPole());
    out.text("\nPriezvisko: ");
    out.pole(klient.priezviskoPole());
    out.text("\nAdresa: ");
    out.pole(klient.ulicaPole());
    out.text(", ");
    out.pole(klient.mestoPole());
    out.text("\nPovolanie: ");
    out.pole(klient.povolaniePole());
    out.text("\nMesacna mzda: ");
    out.cislo(klient.getPlat());
    out.text(" eur\nPocet uverov: ");
    out.cislo(klient.getPocetUverov());
    out.text("\nSuma uverov: ");
    out.cislo(klient.getSumaUverov());
    out.text(" eur\nBonita: ");
    out.cislo(klient.getBonita());
    out.text(" bodov (max. 100)\nPlatobna disciplina: ");
    out.text(disciplineWord(klient.getSplacalNacas()));
    out.text("\n______________________________\n");
}

void flush(TextBuffer& text, std::ostream& out) {
    const std::string_view obsah = text.obsah();
    out.write(obsah.data(), static_cast<std::streamsize>(obsah.size()));
    text.vyprazdni();
}

} // namespace

std::string clientBlock(const Klient& klient, int32_t cislo) {
    TextBuffer text(max_dlzka_bloku);
    appendClientBlock(text, klient, cislo);
    return std::string(text.obsah());
}

void printClients(Klient* const* tabulka, int32_t pocet, std::ostream& out) {
    TextBuffer text(davka);
    for (int32_t i = 0; i < pocet; ++i) {
        prefetchAhead(tabulka, i, pocet);
        if (!text.hasRoom(max_dlzka_bloku)) {
            flush(text, out);
        }
        appendClientBlock(text, *tabulka[i], i + 1);
    }
    flush(text, out);
}
