#include "query/Filter.hpp"

#include "model/Prefetch.hpp"

namespace {

const char* labelFor(char kriterium) noexcept {
    switch (kriterium) {
    case '1': return "bonita";
    case '2': return "pocet uverov";
    case '3': return "suma uverov";
    case '4': return "mesacna mzda";
    case '5': return "vek";
    default: return "";
    }
}

bool matches(int32_t v, HornaHranica max, DolnaHranica min) noexcept {
    return v >= min.hodnota && v <= max.hodnota;
}

} // namespace

int32_t filterValue(const Klient& klient, char kriterium, const Datum& dnes) noexcept {
    switch (kriterium) {
    case '1': return klient.getBonita();
    case '2': return klient.getPocetUverov();
    case '3': return klient.getSumaUverov();
    case '4': return klient.getPlat();
    case '5': return klient.rc.ageYears(dnes);
    default: return 0;
    }
}

void printFilterRange(Klient* const* tabulka, int32_t pocet, char kriterium, const Datum& dnes,
                      std::ostream& out) {
    const char* kriterium_nazov = labelFor(kriterium);
    if (pocet <= 0) {
        out << "\nPre kriterium \"" << kriterium_nazov << "\" sa v subore nenachadzaju ziadne hodnoty.\n";
        return;
    }
    int32_t najmensia = filterValue(*tabulka[0], kriterium, dnes);
    int32_t najvacsia = najmensia;
    for (int32_t i = 1; i < pocet; ++i) {
        prefetchAhead(tabulka, i, pocet);
        const int32_t v = filterValue(*tabulka[i], kriterium, dnes);
        if (v > najvacsia) {
            najvacsia = v;
        } else if (v < najmensia) {
            najmensia = v;
        }
    }
    out << "\nPre kriterium \"" << kriterium_nazov << "\" sa v subore nachadzaju hodnoty v intervale od "
        << najmensia << " do " << najvacsia << ".\n";
}

int32_t countMatching(Klient* const* tabulka, HornaHranica max, DolnaHranica min, int32_t pocet,
                      char kriterium, const Datum& dnes) noexcept {
    int32_t vyhovuje = 0;
    for (int32_t i = 0; i < pocet; ++i) {
        prefetchAhead(tabulka, i, pocet);
        if (matches(filterValue(*tabulka[i], kriterium, dnes), max, min)) {
            ++vyhovuje;
        }
    }
    return vyhovuje;
}

void copyMatching(Klient* const* tabulka, HornaHranica max, DolnaHranica min, int32_t pocet,
                  int32_t limit, Klient** ciel, char kriterium, const Datum& dnes) noexcept {
    int32_t k = 0;
    for (int32_t i = 0; i < pocet && k < limit; ++i) {
        prefetchAhead(tabulka, i, pocet);
        if (matches(filterValue(*tabulka[i], kriterium, dnes), max, min)) {
            ciel[k++] = tabulka[i];
        }
    }
}
