#include "app/ConsoleListing.hpp"

#include "model/Prefetch.hpp"

namespace {

// The listing is handed to the stream in pieces of about this size, so that
// a million blocks cost a few hundred writes, not millions.
constexpr std::size_t piece_size = std::size_t{1} << 20;

void appendClientBlock(TextBuffer& out, const Klient& klient, int32_t number) {
    out.append("Klient c. ");
    out.appendNumber(number);
    out.append("\nMeno: ");
    out.appendField(klient.menoField());
    out.append("\nPriezvisko: ");
    out.appendField(klient.priezviskoField());
    out.append("\nAdresa: ");
    out.appendField(klient.ulicaField());
    out.append(", ");
    out.appendField(klient.mestoField());
    out.append("\nPovolanie: ");
    out.appendField(klient.povolanieField());
    out.append("\nMesacna mzda: ");
    out.appendNumber(klient.getPlat());
    out.append(" eur\nPocet uverov: ");
    out.appendNumber(klient.getPocetUverov());
    out.append("\nSuma uverov: ");
    out.appendNumber(klient.getSumaUverov());
    out.append(" eur\nBonita: ");
    out.appendNumber(klient.getBonita());
    out.append(" bodov (max. 100)\nPlatobna disciplina: ");
    out.append(disciplineWord(klient.getSplacalNacas()));
    out.append("\n______________________________\n");
}

bool handOn(TextBuffer& buffer, std::ostream& out) {
    const std::string_view text = buffer.text();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    buffer.clear();
    return static_cast<bool>(out);
}

} // namespace

void printClients(Klient* const* tabulka, int32_t pocet, std::ostream& out, TextBuffer& buffer,
                  const ProgressCallback& progress) {
    buffer.clear();
    for (int32_t i = 0; i < pocet; ++i) {
        prefetchAhead(tabulka, i, pocet);
        if (buffer.size() >= piece_size) {
            if (!handOn(buffer, out)) {
                return;
            }
            if (progress) {
                progress(static_cast<uint64_t>(i), static_cast<uint64_t>(pocet));
            }
        }
        appendClientBlock(buffer, *tabulka[i], i + 1);
    }
    handOn(buffer, out);
}
