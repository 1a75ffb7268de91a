#include "io/RecordLine.hpp"

#include "text/Decimal.hpp"

#include <algorithm>
#include <numeric>
#include <cstring>

// The longest unquoted text of all fields fits the buffer they share.
static_assert(std::accumulate(max_field_length.begin(), max_field_length.end(), std::size_t{0}) <=
              sizeof(RecordFields::unquoted));

bool splitRecordLine(std::string_view line, char separator, RecordFields& fields) noexcept {
    if (std::memchr(line.data(), '\0', line.size()) != nullptr) {
        return false;
    }
    fields.quoted = false;
    char* unquoted = fields.unquoted;
    const char* field = line.data();
    const char* const end = line.data() + line.size();
    for (std::size_t i = 0; i < fields.text.size(); ++i) {
        const bool last = i + 1 == fields.text.size();
        const std::size_t limit = max_field_length[i];
        if (field < end && *field == '"') {
            // Unquoted into the shared buffer, no further than the limit allows.
            const char* const start = unquoted;
            const char* at = field + 1;
            for (;; ++at) {
                if (at == end) {
                    return false; // unclosed
                }
                if (*at == '"' && (at + 1 == end || at[1] != '"')) {
                    break;
                }
                if (static_cast<std::size_t>(unquoted - start) == limit) {
                    return false;
                }
                at += *at == '"' ? 1 : 0;
                *unquoted++ = *at;
            }
            fields.text[i] = std::string_view(start, static_cast<std::size_t>(unquoted - start));
            fields.quoted = true;
            field = at + 1;
            if (last ? field != end : field == end || *field != separator) {
                return false;
            }
            field += last ? 0 : 1; // past the separator, never past the line's end
            continue;
        }
        if (last) {
            // Separators after the tenth belong to the last field.
            if (static_cast<std::size_t>(end - field) > limit) {
                return false;
            }
            fields.text[i] = std::string_view(field, static_cast<std::size_t>(end - field));
            break;
        }
        // The separator must come within the field's limit; a search no
        // longer than that keeps a long line as cheap as a short one.
        const std::size_t reach = std::min(static_cast<std::size_t>(end - field), limit + 1);
        const auto* found = static_cast<const char*>(std::memchr(field, separator, reach));
        if (found == nullptr) {
            return false;
        }
        fields.text[i] = std::string_view(field, static_cast<std::size_t>(found - field));
        field = found + 1;
    }
    return true;
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
