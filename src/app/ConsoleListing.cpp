#include "app/ConsoleListing.hpp"

#include "model/Prefetch.hpp"

namespace {

// The records formatted in one batch: about half a mebibyte of text, so that
// a million blocks cost a few hundred writes, not millions.
constexpr std::size_t batch_size = 8192;

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

} // namespace

void printClients(Klient* const* tabulka, int32_t pocet, std::ostream& out, FormatBuffers& buffers,
                  const ProgressCallback& progress) {
    if (pocet <= 0) {
        return;
    }
    const auto count = static_cast<std::size_t>(pocet);
    formatInOrder(
        count, batch_size, buffers,
        [tabulka](TextBuffer& buffer, std::size_t from, std::size_t to) {
            for (std::size_t i = from; i < to; ++i) {
                prefetchAhead(tabulka, i, to);
                appendClientBlock(buffer, *tabulka[i], static_cast<int32_t>(i + 1));
            }
        },
        [&out](std::string_view text) {
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
            return static_cast<bool>(out);
        },
        progress);
}
