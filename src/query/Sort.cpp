#include "query/Sort.hpp"

#include "query/RadixSort.hpp"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

bool isTextCriterion(char kriterium) noexcept { return kriterium >= '1' && kriterium <= '4'; }

const char* textKey(const Klient& klient, char kriterium) noexcept {
    switch (kriterium) {
    case '1': return klient.menoPole();
    case '2': return klient.priezviskoPole();
    case '3': return klient.mestoPole();
    default: return klient.povolaniePole();
    }
}

int32_t numericKey(const Klient& klient, char kriterium, const Datum& dnes) noexcept {
    switch (kriterium) {
    case '5': return klient.getPlat();
    case '6': return klient.getPocetUverov();
    case '7': return klient.getSumaUverov();
    case '8': return klient.getBonita();
    default: return klient.rc.ageDays(dnes);
    }
}

// The first eight bytes of a text field as a number that orders as the bytes
// do (unsigned, first byte most significant). Every text field has at least
// eight bytes and is zero behind its terminator, so a shorter text gets zero
// bytes, which order before any character, as its end does in a comparison.
uint64_t textPrefix(const char* pole) noexcept {
    uint64_t kluc = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        kluc = (kluc << 8) | static_cast<unsigned char>(pole[i]);
    }
    return kluc;
}

// A signed number as an unsigned one of the same order.
uint64_t orderedNumber(int32_t x) noexcept { return static_cast<uint32_t>(x) ^ 0x80000000u; }

} // namespace

int32_t compareClients(const Klient* a, const Klient* b, char kriterium, const Datum& dnes) noexcept {
    if (isTextCriterion(kriterium)) {
        return std::strcmp(textKey(*a, kriterium), textKey(*b, kriterium));
    }
    if (kriterium < '5' || kriterium > '9') {
        return 0;
    }
    const int32_t x = numericKey(*a, kriterium, dnes);
    const int32_t y = numericKey(*b, kriterium, dnes);
    if (x < y) {
        return -1;
    }
    return x > y ? 1 : 0;
}

void sortClients(Klient** tabulka, int32_t pocet, char kriterium, const Datum& dnes) {
    if (pocet < 2 || kriterium < '1' || kriterium > '9') {
        return;
    }
    const auto n = static_cast<std::size_t>(pocet);
    const bool text = isTextCriterion(kriterium);
    std::vector<KlucSPoradim> polozky(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Klient& klient = *tabulka[i];
        polozky[i].kluc = text ? textPrefix(textKey(klient, kriterium)) : orderedNumber(numericKey(klient, kriterium, dnes));
        polozky[i].poradie = static_cast<uint32_t>(i);
    }
    stableRadixSort(polozky);

    if (text) {
        // Entries with equal first eight bytes are ordered by the rest of the
        // text. Only a prefix whose last byte is a character can continue.
        const auto zvysokTextu = [&](const KlucSPoradim& p) { return textKey(*tabulka[p.poradie], kriterium) + 8; };
        for (std::size_t od = 0; od < n;) {
            std::size_t po = od + 1;
            while (po < n && polozky[po].kluc == polozky[od].kluc) {
                ++po;
            }
            if (po - od > 1 && (polozky[od].kluc & 0xFF) != 0) {
                std::stable_sort(polozky.begin() + static_cast<std::ptrdiff_t>(od),
                                 polozky.begin() + static_cast<std::ptrdiff_t>(po),
                                 [&](const KlucSPoradim& x, const KlucSPoradim& y) {
                                     return std::strcmp(zvysokTextu(x), zvysokTextu(y)) < 0;
                                 });
            }
            od = po;
        }
    }

    std::vector<Klient*> usporiadane(n);
    for (std::size_t i = 0; i < n; ++i) {
        usporiadane[i] = tabulka[polozky[i].poradie];
    }
    polozky = {};
    std::copy(usporiadane.begin(), usporiadane.end(), tabulka);
}
