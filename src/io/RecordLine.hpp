#pragma once

#include "io/TextBuffer.hpp"
#include "model/Klient.hpp"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

// The header line of klienti.csv and of every output file.
inline constexpr std::string_view hlavicka_suboru =
    "rodne cislo,meno,priezvisko,ulica a cislo,mesto,povolanie,mesacna mzda,pocet uverov,"
    "suma uverov,bonita,platobna disciplina\n";

// A record line's eleven fields, separated by ten commas; no quoting, nothing
// trimmed.
using RecordFields = std::array<std::string_view, 11>;

// Longest content of each field: birth number, first name, surname, street,
// city, occupation, salary, loans, total of loans, score, discipline code.
inline constexpr std::array<std::size_t, 11> max_field_length = {11, 19, 19, 29, 19, 19, 4, 2, 6, 3, 1};

// Each text field of the record holds exactly its longest content and a
// terminator, so the limits and the record cannot drift apart.
static_assert(sizeof(Klient().rc.cisloField()) == max_field_length[0] + 1 &&
              sizeof(Klient().menoField()) == max_field_length[1] + 1 &&
              sizeof(Klient().priezviskoField()) == max_field_length[2] + 1 &&
              sizeof(Klient().ulicaField()) == max_field_length[3] + 1 &&
              sizeof(Klient().mestoField()) == max_field_length[4] + 1 &&
              sizeof(Klient().povolanieField()) == max_field_length[5] + 1);

// Splits a line without its end. Nothing when it has under ten commas, a field
// beyond its limit (surplus commas go to the last), or a NUL byte, which no
// zero-terminated field could keep.
std::optional<RecordFields> splitRecordLine(std::string_view line) noexcept;

// Sets all eleven fields of the record; numbers are converted as atoi does.
void fillKlient(const RecordFields& fields, Klient& klient) noexcept;

// Appends a record as a record line: the eleven fields in the file's order,
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
