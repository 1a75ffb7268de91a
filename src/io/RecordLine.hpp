#pragma once

#include "io/Dialect.hpp"
#include "io/TextBuffer.hpp"
#include "model/Klient.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string_view>

// The header line of every output file, in the comma dialect, and its columns.
inline constexpr std::string_view hlavicka_suboru =
    "rodne cislo,meno,priezvisko,ulica a cislo,mesto,povolanie,mesacna mzda,pocet uverov,"
    "suma uverov,bonita,platobna disciplina\n";
inline constexpr std::array<std::string_view, 11> column_names = {
    "rodne cislo", "meno",         "priezvisko",   "ulica a cislo", "mesto",  "povolanie",
    "mesacna mzda", "pocet uverov", "suma uverov", "bonita",        "platobna disciplina"};

// Longest content of each field: birth number, first name, surname, street,
// city, occupation (texts, in bytes after unquoting), then the widths of the
// numbers: salary, loans, total of loans, score, discipline code. A number
// longer than its width is taken only as a plain integer.
inline constexpr std::array<std::size_t, 11> max_field_length = {11, 19, 19, 29, 19, 19, 4, 2, 6, 3, 1};
inline constexpr std::size_t first_number = 6;

// The most bytes a record may take, from its first byte to the end of its
// last line (its line end not counted): a longer line is no record.
inline constexpr std::size_t max_record_length = 4096;

// Each text field of the record holds exactly its longest content and a
// terminator, so the limits and the record cannot drift apart.
static_assert(sizeof(Klient().rc.cisloField()) == max_field_length[0] + 1 &&
              sizeof(Klient().menoField()) == max_field_length[1] + 1 &&
              sizeof(Klient().priezviskoField()) == max_field_length[2] + 1 &&
              sizeof(Klient().ulicaField()) == max_field_length[3] + 1 &&
              sizeof(Klient().mestoField()) == max_field_length[4] + 1 &&
              sizeof(Klient().povolanieField()) == max_field_length[5] + 1);

// A record's eleven fields, nothing trimmed. A field that begins with a quote
// is quoted: it ends at the next quote that is not doubled, "" within stands
// for one quote, and it may hold the separator and line ends; a text with
// doubled quotes is kept unquoted in `unquoted`, which the fields then view.
struct RecordFields {
    std::array<std::string_view, 11> text;
    bool quoted = false; // some field was
    char unquoted[160];
};

enum class Split { record, malformed, incomplete };

// Splits the record that begins at `begin`, whose first line ends at line_end
// (its line feed, or data_end); a quoted field may go on over line feeds up to
// data_end. A record has eleven fields (empty ones after them are ignored),
// each within its limit, no NUL byte, and at most max_record_length bytes; a
// CR before the line feed that ends it is no part of it. On success `end` is
// that line feed (or data_end) and `lines` the lines it spans. Incomplete: a
// quoted field is still open where the data ends, and more data might make a
// record of it (never when at_end: the data is all there).
Split splitRecord(const char* begin, const char* line_end, const char* data_end, bool at_end, char separator,
                  RecordFields& fields, const char*& end, uint64_t& lines) noexcept;

// Why a line is no record: the first fault from the left, a wrong number of
// fields before any; where a quote is left open the fields after it are not
// counted.
struct LineFault {
    enum class Kind : uint8_t {
        none, empty, long_line, nul, field_count, unclosed_quote, text_after_quote, field_too_long, not_integer
    };
    Kind kind = Kind::none;
    uint8_t field = 0;  // 0 to 10
    uint32_t count = 0; // the fields of field_count, the bytes of field_too_long
};

// The fault of a line on its own: its text without its line end.
LineFault diagnoseLine(std::string_view line, char separator);

// The reason for a skipped line's report, "ma 9 poli, ocakava sa 11".
std::ostream& operator<<(std::ostream& out, const LineFault& fault);

// Sets all eleven fields of the record; numbers are converted as atoi does.
void fillKlient(const RecordFields& fields, Klient& klient) noexcept;

// Appends a text field so that reading it back gives it unchanged: quoted,
// with its quotes doubled, where it holds the separator, a quote or a line
// end; else as it is.
template <std::size_t N>
void appendQuotable(TextBuffer& out, const char (&field)[N], char separator) noexcept {
    const std::string_view text = viewFixedText(field);
    const char special[] = {separator, '"', '\r', '\n'};
    if (text.find_first_of(std::string_view(special, sizeof special)) == std::string_view::npos) {
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
// file's order, the discipline as its code, then the line end. Text is a
// TextBuffer, or a TextRoom that counts the room it needs.
template <typename Text>
constexpr void appendRecordLine(Text& out, const Klient& klient, const Dialect& dialect) {
    const bool quotable = dialect.spreadsheet();
    const auto texts = [&](const auto&... field) {
        ((quotable ? appendQuotable(out, field, dialect.separator) : out.appendField(field),
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
    out.append(dialect.lineEnd());
}

// The most room one record line of the dialect can take.
constexpr std::size_t recordLineRoom(const Dialect& dialect) {
    TextRoom room;
    appendRecordLine(room, Klient{}, dialect);
    return room.size();
}
