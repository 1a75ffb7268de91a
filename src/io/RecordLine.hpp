#pragma once

#include "io/TextBuffer.hpp"
#include "model/Klient.hpp"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

// The header line of every output file, in the comma dialect.
inline constexpr std::string_view hlavicka_suboru =
    "rodne cislo,meno,priezvisko,ulica a cislo,mesto,povolanie,mesacna mzda,pocet uverov,"
    "suma uverov,bonita,platobna disciplina\n";

// How a client file is written, as its header shows it: the separator, a
// UTF-8 byte order mark before the header, and whether any field was quoted.
// Output files are written alike.
struct Dialect {
    char separator = ',';
    bool byte_order_mark = false;
    bool some_field_quoted = false; // then a field written is quoted wherever it must be
};
inline constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

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

// A record line's eleven fields, nothing trimmed. A field that begins with a
// quote is quoted: it ends at the next quote that is not doubled, "" within
// stands for one quote, and it may hold the separator; its text is kept in
// `unquoted`, which the fields then view.
struct RecordFields {
    std::array<std::string_view, 11> text;
    bool quoted = false; // some field was
    char unquoted[160];
};

// Splits a line without its end into fields. False when it has under ten
// separators, a field beyond its limit (counted after unquoting; surplus
// separators go to the last), an unclosed quote, anything but the separator
// after a closing quote, or a NUL byte, which no zero-terminated field could
// keep.
bool splitRecordLine(std::string_view line, char separator, RecordFields& fields) noexcept;

// Sets all eleven fields of the record; numbers are converted as atoi does.
void fillKlient(const RecordFields& fields, Klient& klient) noexcept;

// Appends a text field so that reading it back gives it unchanged: quoted,
// with its quotes doubled, where it holds the separator or begins with a
// quote; else as it is.
template <std::size_t N>
void appendQuotable(TextBuffer& out, const char (&field)[N], char separator) noexcept {
    const std::string_view text = viewFixedText(field);
    if (text.empty() || (text.front() != '"' && text.find(separator) == std::string_view::npos)) {
        out.appendField(field);
        return;
    }
    out.append('"');
    for (const char c : text) {
        if (c == '"') {
            out.append('"');
        }
        out.append(c);
    }
    out.append('"');
}
template <std::size_t N>
constexpr void appendQuotable(TextRoom& room, const char (&)[N], char) noexcept {
    for (std::size_t i = 0; i < 2 * N + 2; ++i) { // every byte a quote, doubled, and the two around
        room.append('"');
    }
}

// Appends a record as a record line of the dialect: the eleven fields in the
// file's order, the discipline as its code, then a line feed. Text is a
// TextBuffer, or a TextRoom that counts the room it needs.
template <typename Text>
constexpr void appendRecordLine(Text& out, const Klient& klient, const Dialect& dialect) {
    const auto texts = [&](const auto&... field) {
        ((dialect.some_field_quoted ? appendQuotable(out, field, dialect.separator) : out.appendField(field),
          out.append(dialect.separator)),
         ...);
    };
    texts(klient.rc.cisloField(), klient.menoField(), klient.priezviskoField(), klient.ulicaField(),
          klient.mestoField(), klient.povolanieField());
    out.appendNumber(klient.getPlat());
    out.append(dialect.separator);
    out.appendNumber(klient.getPocetUverov());
    out.append(dialect.separator);
    out.appendNumber(klient.getSumaUverov());
    out.append(dialect.separator);
    out.appendNumber(klient.getBonita());
    out.append(dialect.separator);
    out.appendNumber(klient.getSplacalNacas());
    out.append('\n');
}

// The most room one record line can take, with quotes where a field may need
// them or without.
constexpr std::size_t recordLineRoom(bool quotes) {
    TextRoom room;
    appendRecordLine(room, Klient{}, Dialect{',', false, quotes});
    return room.size();
}
