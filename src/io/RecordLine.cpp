#include "io/RecordLine.hpp"

#include "text/Decimal.hpp"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>

// The longest unquoted text of all fields fits the buffer they share.
static_assert(std::accumulate(max_field_length.begin(), max_field_length.end(), std::size_t{0}) <=
              sizeof(RecordFields::unquoted));

namespace {

bool isNumber(std::size_t field) noexcept { return field >= first_number; }

// An optional sign, then digits, of a value within 32 bits.
bool plainInteger(std::string_view text) noexcept {
    const bool sign = !text.empty() && (text[0] == '+' || text[0] == '-');
    const int64_t most = sign && text[0] == '-' ? int64_t{INT32_MAX} + 1 : INT32_MAX;
    int64_t value = 0;
    for (std::size_t i = sign ? 1 : 0; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9' || (value = value * 10 + (text[i] - '0')) > most) {
            return false;
        }
    }
    return text.size() > (sign ? 1u : 0u);
}

// A text within its limit; a number within its width (atoi takes it as it
// is), or else a plain integer.
bool fits(std::size_t field, std::string_view text) noexcept {
    return text.size() <= max_field_length[field] || (isNumber(field) && plainInteger(text));
}

// Where the text of a line ends: before a CR that precedes its line feed.
// from lies within the line, so a CR before it is no concern of this line's end.
const char* textEnd(const char* from, const char* line_end, const char* data_end) noexcept {
    return line_end < data_end && line_end > from && line_end[-1] == '\r' ? line_end - 1 : line_end;
}

const char* find(const char* from, char c, std::size_t size) noexcept {
    return static_cast<const char*>(std::memchr(from, c, size));
}

} // namespace

Split splitRecord(const char* begin, const char* line_end, const char* data_end, bool at_end, char separator,
                  RecordFields& fields, const char*& end, uint64_t& lines) noexcept {
    const auto length = [begin](const char* at) { return static_cast<std::size_t>(at - begin); };
    const char* text_end = textEnd(begin, line_end, data_end);
    if (length(text_end) > max_record_length || find(begin, '\0', length(line_end)) != nullptr) {
        return Split::malformed;
    }
    fields.quoted = false;
    bool crossed = false;
    char* unquoted = fields.unquoted;
    const char* p = begin;
    for (std::size_t i = 0; i < fields.text.size(); ++i) {
        const bool last = i + 1 == fields.text.size();
        if (p < text_end && *p == '"') {
            // The closing quote, searched no further than the field could
            // reach: a text's quotes hold at most each of its bytes doubled.
            const char* const from = p + 1;
            const std::size_t own = std::min(isNumber(i) ? max_record_length : 2 * max_field_length[i] + 1,
                                             max_record_length - length(from));
            const auto there = static_cast<std::size_t>(data_end - from);
            const char* const stop = from + std::min(own, there);
            const bool more_may_come = there < own && !at_end;
            bool doubled = false;
            const char* close = from;
            for (;;) {
                close = close < stop ? find(close, '"', static_cast<std::size_t>(stop - close)) : nullptr;
                if (close == nullptr) {
                    return more_may_come ? Split::incomplete : Split::malformed;
                }
                if (close + 1 == data_end && !at_end) {
                    return Split::incomplete; // perhaps the first of a doubled quote
                }
                if (close + 1 == data_end || close[1] != '"') {
                    break;
                }
                doubled = true;
                close += 2;
            }
            std::string_view text(from, static_cast<std::size_t>(close - from));
            if (doubled) {
                // Unquoted no further than the limit: a longer text is too
                // long, and no number holds a quote.
                char* const start = unquoted;
                for (const char* at = from; at < close; ++at) {
                    if (static_cast<std::size_t>(unquoted - start) == max_field_length[i]) {
                        return Split::malformed;
                    }
                    at += *at == '"' ? 1 : 0;
                    *unquoted++ = *at;
                }
                text = std::string_view(start, static_cast<std::size_t>(unquoted - start));
            }
            if (!fits(i, text)) {
                return Split::malformed;
            }
            if (close > line_end) {
                // The field held line ends: the record goes on to the end of
                // the line where the field closes.
                crossed = true;
                const std::size_t reach = std::min(max_record_length + 2 - length(close), 
                                                   static_cast<std::size_t>(data_end - close));
                const char* const lf = find(close, '\n', reach);
                if (lf == nullptr && close + reach < data_end) {
                    return Split::malformed;
                }
                const char* const next_end = lf != nullptr ? lf : data_end;
                if (find(line_end, '\0', static_cast<std::size_t>(next_end - line_end)) != nullptr) {
                    return Split::malformed;
                }
                line_end = next_end;
                text_end = textEnd(close + 1, line_end, data_end);
                if (length(text_end) > max_record_length) {
                    return Split::malformed;
                }
            }
            fields.text[i] = text;
            fields.quoted = true;
            p = close + 1;
            if (!last) {
                if (p == text_end || *p != separator) {
                    return Split::malformed;
                }
                ++p;
            }
            continue;
        }
        const auto room = static_cast<std::size_t>(text_end - p);
        // A text's separator must come within its limit; a search no longer
        // than that keeps a long line as cheap as a short one.
        const char* const found = find(p, separator, isNumber(i) ? room : std::min(room, max_field_length[i] + 1));
        if (found == nullptr && !last) {
            return Split::malformed;
        }
        const char* const field_end = found != nullptr ? found : text_end;
        fields.text[i] = std::string_view(p, static_cast<std::size_t>(field_end - p));
        if (isNumber(i) && !fits(i, fields.text[i])) {
            return Split::malformed;
        }
        p = last ? field_end : field_end + 1;
    }
    // Fields after the eleventh may only be empty, as spreadsheets write
    // empty columns.
    while (p < text_end) {
        if (*p != separator) {
            return Split::malformed; // text after the last field's closing quote
        }
        const char* const from = p + 1;
        const char* const found = find(from, separator, static_cast<std::size_t>(text_end - from));
        p = found != nullptr ? found : text_end;
        const std::string_view empty(from, static_cast<std::size_t>(p - from));
        if (!empty.empty() && empty != "\"\"") {
            return Split::malformed;
        }
    }
    if (line_end == data_end && !at_end) {
        return Split::incomplete; // the line may go on
    }
    end = line_end;
    lines = crossed ? 1 + static_cast<uint64_t>(std::count(begin, line_end, '\n')) : 1;
    return Split::record;
}

LineFault diagnoseLine(std::string_view line, char separator) {
    using Kind = LineFault::Kind;
    if (line.empty()) {
        return {Kind::empty};
    }
    if (line.size() > max_record_length) {
        return {Kind::long_line};
    }
    if (line.find('\0') != std::string_view::npos) {
        return {Kind::nul};
    }
    LineFault first; // the first field's fault from the left
    const auto note = [&first](LineFault fault) {
        if (first.kind == Kind::none) {
            first = fault;
        }
    };
    std::size_t count = 0;
    bool rest_empty = true; // the fields after the eleventh
    for (std::size_t p = 0;;) {
        const std::size_t i = count++;
        const auto field = static_cast<uint8_t>(std::min<std::size_t>(i, 10));
        std::string text;
        const bool quoted = p < line.size() && line[p] == '"';
        bool after_quote = false;
        if (quoted) {
            std::size_t q = p + 1;
            for (; q < line.size() && !(line[q] == '"' && (q + 1 == line.size() || line[q + 1] != '"')); ++q) {
                q += line[q] == '"' ? 1u : 0u;
                text += line[q];
            }
            if (q == line.size()) {
                // Open to the end: the fields after it cannot be counted.
                if (i >= 11) {
                    return {Kind::field_count, 0, static_cast<uint32_t>(count)};
                }
                note({Kind::unclosed_quote, field});
                return first;
            }
            p = q + 1;
            after_quote = p < line.size() && line[p] != separator;
        }
        const std::size_t found = line.find(separator, p);
        if (!quoted) {
            text = line.substr(p, (found == std::string_view::npos ? line.size() : found) - p);
        }
        if (i >= 11) {
            rest_empty = rest_empty && !after_quote && text.empty();
        } else if (after_quote) {
            note({Kind::text_after_quote, field});
        } else if (!fits(i, text)) {
            note(isNumber(i) ? LineFault{Kind::not_integer, field}
                             : LineFault{Kind::field_too_long, field, static_cast<uint32_t>(text.size())});
        }
        if (found == std::string_view::npos) {
            break;
        }
        p = found + 1;
    }
    if (count != 11 && !(count > 11 && rest_empty)) {
        return {Kind::field_count, 0, static_cast<uint32_t>(count)};
    }
    return first;
}

std::ostream& operator<<(std::ostream& out, const LineFault& fault) {
    using Kind = LineFault::Kind;
    const std::string_view name = column_names[fault.field];
    switch (fault.kind) {
    case Kind::none: break;
    case Kind::empty: out << "prazdny riadok"; break;
    case Kind::long_line: out << "riadok ma viac ako " << max_record_length << " bajtov"; break;
    case Kind::nul: out << "obsahuje bajt NUL"; break;
    case Kind::field_count: out << "ma " << fault.count << " poli, ocakava sa 11"; break;
    case Kind::unclosed_quote: out << "neukoncene uvodzovky v poli \"" << name << '"'; break;
    case Kind::text_after_quote: out << "za uvodzovkami v poli \"" << name << "\" nasleduje iny text"; break;
    case Kind::field_too_long:
        out << "pole \"" << name << "\" ma " << fault.count << " bajtov, najviac " << max_field_length[fault.field];
        break;
    case Kind::not_integer: out << "pole \"" << name << "\" nie je cele cislo"; break;
    }
    return out;
}

void fillKlient(const RecordFields& fields, Klient& klient) noexcept {
    klient.setMeno(fields.text[1]);
    klient.setPriezvisko(fields.text[2]);
    klient.setUlica(fields.text[3]);
    klient.setMesto(fields.text[4]);
    klient.setPovolanie(fields.text[5]);
    klient.setPlat(parseAtoi(fields.text[6]));
    klient.setPocetUverov(parseAtoi(fields.text[7]));
    klient.setSumaUverov(parseAtoi(fields.text[8]));
    klient.setBonita(parseAtoi(fields.text[9]));
    klient.setSplacalNacas(parseAtoi(fields.text[10]));
    klient.rc.setCislo(fields.text[0]);
}
