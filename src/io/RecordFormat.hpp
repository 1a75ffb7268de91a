#pragma once

#include "io/TextBuffer.hpp"
#include "model/Klient.hpp"

#include <string_view>

// The header line of klienti.csv and of every output file.
inline constexpr std::string_view hlavicka_suboru =
    "rodne cislo,meno,priezvisko,ulica a cislo,mesto,povolanie,mesacna mzda,pocet uverov,"
    "suma uverov,bonita,platobna disciplina\n";

// Appends a record as an input line: the eleven fields in the file's order,
// comma-separated, the discipline as its code, then a line feed. Text is a
// TextBuffer, or a TextRoom that counts the room it needs.
template <typename Text>
constexpr void appendRecordLine(Text& out, const Klient& klient) {
    const auto texts = [&out](const auto&... field) { ((out.appendField(field), out.append(',')), ...); };
    texts(klient.rc.cisloField(), klient.menoField(), klient.priezviskoField(), klient.ulicaField(),
          klient.mestoField(), klient.povolanieField());
    out.appendNumber(klient.getPlat());
    out.append(',');
    out.appendNumber(klient.getPocetUverov());
    out.append(',');
    out.appendNumber(klient.getSumaUverov());
    out.append(',');
    out.appendNumber(klient.getBonita());
    out.append(',');
    out.appendNumber(klient.getSplacalNacas());
    out.append('\n');
}

// The most room one record line can take.
inline constexpr std::size_t record_line_room = [] {
    TextRoom room;
    appendRecordLine(room, Klient{});
    return room.size();
}();
