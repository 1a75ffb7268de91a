#pragma once

#include "io/TextBuffer.hpp"
#include "io/WriteInOrder.hpp"
#include "model/Klient.hpp"
#include "progress/ProgressCallback.hpp"
#include "sink/ByteSink.hpp"

#include <cstdint>

// Appends the labelled block of one client, number being its place in the
// listing; Text is a TextBuffer, or a TextRoom that counts the room it needs.
// The payment discipline is a word: 1 "vyborna", 2 "priemerna", else "slaba".
template <typename Text>
constexpr void appendClientBlock(Text& out, const Klient& klient, int32_t number) {
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
    const int32_t discipline = klient.getSplacalNacas();
    out.append(discipline == 1 ? "vyborna" : discipline == 2 ? "priemerna" : "slaba");
    out.append("\n______________________________\n");
}

// The most room one block can take: every field and number at its longest,
// with the longest of the discipline words.
inline constexpr std::size_t client_block_room = [] {
    std::size_t most = 0;
    for (const int32_t code : {1, 2, 3}) {
        Klient klient;
        klient.setSplacalNacas(code);
        TextRoom room;
        appendClientBlock(room, klient, 0);
        most = most > room.size() ? most : room.size();
    }
    return most;
}();

// The listing's buffers for a table of pocet records. Throws std::bad_alloc.
WriterBuffers listingBuffers(int32_t pocet, unsigned workers);

// Lists the first pocet records of the table as labelled blocks numbered
// from 1 in table order, formatted in buffers taken for at least pocet
// records; nothing for an empty table. A sink that fails (a closed console,
// a pager that was quit) ends the listing early: false then, with errno set.
// Allocates nothing.
bool printClients(const Klient* const* tabulka, int32_t pocet, ByteSink& out, WriterBuffers& buffers,
                  const ProgressCallback& progress = {}) noexcept;
