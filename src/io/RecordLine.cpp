#include "io/RecordLine.hpp"

#include "text/Decimal.hpp"

#include <algorithm>
#include <cstring>

std::optional<RecordFields> splitRecordLine(std::string_view line) noexcept {
    if (std::memchr(line.data(), '\0', line.size()) != nullptr) {
        return std::nullopt;
    }
    RecordFields fields;
    const char* field = line.data();
    const char* const end = line.data() + line.size();
    for (std::size_t i = 0; i + 1 < fields.size(); ++i) {
        // The comma must come within the field's limit; a search no longer
        // than that keeps a long line as cheap as a short one.
        const std::size_t reach = std::min(static_cast<std::size_t>(end - field), max_field_length[i] + 1);
        const auto* comma = static_cast<const char*>(std::memchr(field, ',', reach));
        if (comma == nullptr) {
            return std::nullopt;
        }
        fields[i] = std::string_view(field, static_cast<std::size_t>(comma - field));
        field = comma + 1;
    }
    // Commas after the tenth belong to the last field.
    if (static_cast<std::size_t>(end - field) > max_field_length.back()) {
        return std::nullopt;
    }
    fields.back() = std::string_view(field, static_cast<std::size_t>(end - field));
    return fields;
}

void fillKlient(const RecordFields& fields, Klient& klient) noexcept {
    klient.setMeno(fields[1]);
    klient.setPriezvisko(fields[2]);
    klient.setUlica(fields[3]);
    klient.setMesto(fields[4]);
    klient.setPovolanie(fields[5]);
    klient.setPlat(parseAtoi(fields[6]));
    klient.setPocetUverov(parseAtoi(fields[7]));
    klient.setSumaUverov(parseAtoi(fields[8]));
    klient.setBonita(parseAtoi(fields[9]));
    klient.setSplacalNacas(parseAtoi(fields[10]));
    klient.rc.setCislo(fields[0]);
}
