#include "query/Sort.hpp"

#include "model/Prefetch.hpp"
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

// Eight bytes of a text field from position od as a number that orders as
// the bytes do (unsigned, first byte most significant).
uint64_t bigEndian(const char* pole, std::size_t od, std::size_t pocet) noexcept {
    uint64_t kluc = 0;
    for (std::size_t i = 0; i < pocet; ++i) {
        kluc = (kluc << 8) | static_cast<unsigned char>(pole[od + i]);
    }
    return kluc;
}

// A text field of 20 bytes, zero behind its terminator and free of NUL bytes
// before it, is taken as three numbers: bytes 0 to 7, 8 to 15 and 16 to 19.
// Compared one after the other they order exactly as the byte-wise
// comparison of the texts: a shorter text has zero bytes where the longer
// one goes on, and zero orders before any character. The first number goes
// with the entry through the radix passes; the other two wait in a table by
// position and are read only where first numbers tie. Both are kept to
// twelve bytes an entry, since a million entries live beside the records.
struct TextovyKluc {
    uint32_t hore; // bytes 0 to 3
    uint32_t dole; // bytes 4 to 7
    uint32_t poradie;
    uint64_t prvych8() const noexcept { return uint64_t{hore} << 32 | dole; }
};
struct ZvysokTextu {
    uint32_t b8;  // bytes 8 to 11
    uint32_t b12; // bytes 12 to 15
    uint32_t b16; // bytes 16 to 19
};
static_assert(sizeof(TextovyKluc) == 12 && sizeof(ZvysokTextu) == 12);
static_assert(Klient::max_meno + 1 == 20 && Klient::max_priezvisko + 1 == 20 && Klient::max_mesto + 1 == 20 &&
              Klient::max_povolanie + 1 == 20);

// A signed number as an unsigned one of the same order.
uint64_t orderedNumber(int32_t x) noexcept { return static_cast<uint32_t>(x) ^ 0x80000000u; }

// Tells how many keys are taken, every so many, as the first half of the work.
void reportKeys(const ProgressCallback& progress, std::size_t i, std::size_t n) {
    if (progress && i % (std::size_t{1} << 18) == 0) {
        progress(i, 2 * n);
    }
}

void sortByText(Klient** tabulka, std::size_t n, char kriterium, std::vector<Klient*>& usporiadane,
                const ProgressCallback& progress) {
    std::vector<TextovyKluc> polozky(n);
    std::vector<ZvysokTextu> zvysky(n);
    const auto slovo = [](const char* pole, std::size_t od) { return static_cast<uint32_t>(bigEndian(pole, od, 4)); };
    for (std::size_t i = 0; i < n; ++i) {
        prefetchAhead(tabulka, i, n);
        reportKeys(progress, i, n);
        const char* pole = textKey(*tabulka[i], kriterium);
        polozky[i] = {slovo(pole, 0), slovo(pole, 4), static_cast<uint32_t>(i)};
        zvysky[i] = {slovo(pole, 8), slovo(pole, 12), slovo(pole, 16)};
    }
    stableRadixSort(polozky, [](const TextovyKluc& p) { return p.prvych8(); });
    // Texts alike in their first eight bytes are ordered by the rest. Only a
    // prefix whose last byte is a character can go on; the position keeps
    // equal texts in their order.
    const auto podlaZvysku = [&zvysky](const TextovyKluc& x, const TextovyKluc& y) {
        const ZvysokTextu& a = zvysky[x.poradie];
        const ZvysokTextu& b = zvysky[y.poradie];
        if (a.b8 != b.b8) {
            return a.b8 < b.b8;
        }
        if (a.b12 != b.b12) {
            return a.b12 < b.b12;
        }
        if (a.b16 != b.b16) {
            return a.b16 < b.b16;
        }
        return x.poradie < y.poradie;
    };
    for (std::size_t od = 0; od < n;) {
        std::size_t po = od + 1;
        while (po < n && polozky[po].prvych8() == polozky[od].prvych8()) {
            ++po;
        }
        if (po - od > 1 && (polozky[od].dole & 0xFF) != 0) {
            std::sort(polozky.begin() + static_cast<std::ptrdiff_t>(od), polozky.begin() + static_cast<std::ptrdiff_t>(po),
                      podlaZvysku);
        }
        od = po;
    }
    zvysky = {};
    usporiadane.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        usporiadane[i] = tabulka[polozky[i].poradie];
    }
}

void sortByNumber(Klient** tabulka, std::size_t n, char kriterium, const Datum& dnes,
                  std::vector<Klient*>& usporiadane, const ProgressCallback& progress) {
    // The key in the upper half, the position in the lower: one word per entry.
    std::vector<uint64_t> polozky(n);
    for (std::size_t i = 0; i < n; ++i) {
        prefetchAhead(tabulka, i, n);
        reportKeys(progress, i, n);
        polozky[i] = orderedNumber(numericKey(*tabulka[i], kriterium, dnes)) << 32 | i;
    }
    stableRadixSort(polozky, [](uint64_t p) { return p; }, 4, 7);
    usporiadane.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        usporiadane[i] = tabulka[static_cast<uint32_t>(polozky[i])];
    }
}

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

void sortClients(Klient** tabulka, int32_t pocet, char kriterium, const Datum& dnes,
                 const ProgressCallback& progress) {
    if (pocet < 2 || kriterium < '1' || kriterium > '9') {
        return;
    }
    const auto n = static_cast<std::size_t>(pocet);
    std::vector<Klient*> usporiadane;
    if (isTextCriterion(kriterium)) {
        sortByText(tabulka, n, kriterium, usporiadane, progress);
    } else {
        sortByNumber(tabulka, n, kriterium, dnes, usporiadane, progress);
    }
    std::copy(usporiadane.begin(), usporiadane.end(), tabulka);
}
