#include "io/RecordLine.hpp"

#include "model/Decimal.hpp"

std::optional<PoliaZaznamu> splitRecordLine(std::string_view riadok) noexcept {
    if (riadok.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    PoliaZaznamu polia;
    std::size_t zaciatok = 0;
    for (std::size_t i = 0; i + 1 < polia.size(); ++i) {
        const std::size_t ciarka = riadok.find(',', zaciatok);
        if (ciarka == std::string_view::npos) {
            return std::nullopt;
        }
        polia[i] = riadok.substr(zaciatok, ciarka - zaciatok);
        zaciatok = ciarka + 1;
    }
    polia.back() = riadok.substr(zaciatok);
    for (std::size_t i = 0; i < polia.size(); ++i) {
        if (polia[i].size() > max_dlzka_pola[i]) {
            return std::nullopt;
        }
    }
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
