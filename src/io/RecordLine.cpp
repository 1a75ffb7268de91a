#include "io/RecordLine.hpp"

#include "model/Decimal.hpp"

#include <cstring>

std::optional<RecordFields> splitRecordLine(std::string_view line) noexcept {
    if (std::memchr(line.data(), '\0', line.size()) != nullptr) {
        return std::nullopt;
    }
    RecordFields fields;
    std::size_t start = 0;
    for (std::size_t i = 0; i + 1 < fields.size(); ++i) {
        const std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos || comma - start > max_field_length[i]) {
            return std::nullopt;
        }
        fields[i] = line.substr(start, comma - start);
        start = comma + 1;
    }
    // Commas after the tenth belong to the last field.
    if (line.size() - start > max_field_length.back()) {
        return std::nullopt;
    }
    fields.back() = line.substr(start);
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
