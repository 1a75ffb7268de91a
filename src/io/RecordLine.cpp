#include "io/RecordLine.hpp"

#include "model/Decimal.hpp"
#include "model/FixedText.hpp"

#include <bit>
#include <cstdint>
#include <cstring>

std::optional<PoliaZaznamu> splitRecordLine(std::string_view riadok) noexcept {
    PoliaZaznamu polia;
    const char* const text = riadok.data();
    const std::size_t n = riadok.size();
    std::size_t pole = 0;     // the field being gathered
    std::size_t zaciatok = 0; // where it starts
    // Closes the field at the comma at position ciarka; false if too long.
    const auto uzavri = [&](std::size_t ciarka) {
        if (ciarka - zaciatok > max_dlzka_pola[pole]) {
            return false;
        }
        polia[pole++] = std::string_view(text + zaciatok, ciarka - zaciatok);
        zaciatok = ciarka + 1;
        return true;
    };
    const auto otvorenePole = [&] { return pole + 1 < polia.size(); };

    std::size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // Eight bytes at a time: find the commas and any NUL of a whole word at
        // once. A field that has outgrown its limit ends the check early, so a
        // long line costs no more than its first invalid field.
        for (; i + 8 <= n && otvorenePole(); i += 8) {
            uint64_t slovo;
            std::memcpy(&slovo, text + i, 8);
            if (zeroBytes(slovo) != 0) {
                return std::nullopt;
            }
            for (uint64_t ciarky = zeroBytes(slovo ^ everyByte(',')); ciarky != 0 && otvorenePole(); ciarky &= ciarky - 1) {
                if (!uzavri(i + static_cast<std::size_t>(std::countr_zero(ciarky)) / 8)) {
                    return std::nullopt;
                }
            }
            if (otvorenePole() && i + 8 - zaciatok > max_dlzka_pola[pole]) {
                return std::nullopt;
            }
        }
    }
    for (; i < n; ++i) {
        if (text[i] == '\0') {
            return std::nullopt;
        }
        // Commas after the tenth belong to the last field.
        if (text[i] == ',' && otvorenePole() && !uzavri(i)) {
            return std::nullopt;
        }
    }
    if (otvorenePole() || n - zaciatok > max_dlzka_pola[pole]) {
        return std::nullopt;
    }
    polia[pole] = std::string_view(text + zaciatok, n - zaciatok);
    return polia;
}

void fillKlient(const PoliaZaznamu& polia, Klient& klient) noexcept {
    klient.setMeno(polia[1]);
    klient.setPriezvisko(polia[2]);
    klient.setUlica(polia[3]);
    klient.setMesto(polia[4]);
    klient.setPovolanie(polia[5]);
    klient.setPlat(parseAtoi(polia[6]));
    klient.setPocetUverov(parseAtoi(polia[7]));
    klient.setSumaUverov(parseAtoi(polia[8]));
    klient.setBonita(parseAtoi(polia[9]));
    klient.setSplacalNacas(parseAtoi(polia[10]));
    klient.rc.setCislo(polia[0]);
}
