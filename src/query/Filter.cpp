#include "query/Filter.hpp"

#include <algorithm>

namespace {

bool matches(int32_t v, HornaHranica max, DolnaHranica min) noexcept { return v >= min.hodnota && v <= max.hodnota; }

} // namespace

std::optional<ValueRange> printFilterRange(const Klient* const* tabulka, int32_t pocet, FilterCriterion kriterium,
                                           const Datum& dnes, std::ostream& out) {
    const FilterMenuItem& item = menuItem(kriterium);
    if (pocet <= 0) {
        out << "\nPre kriterium \"" << item.range_label << "\" sa v subore nenachadzaju ziadne hodnoty.\n";
        return std::nullopt;
    }
    int32_t najmensia = item.value(*tabulka[0], dnes);
    int32_t najvacsia = najmensia;
    for (int32_t i = 1; i < pocet; ++i) {
        const int32_t v = item.value(*tabulka[i], dnes);
        najmensia = std::min(najmensia, v);
        najvacsia = std::max(najvacsia, v);
    }
    out << "\nPre kriterium \"" << item.range_label << "\" sa v subore nachadzaju hodnoty v intervale od "
        << najmensia << " do " << najvacsia << ".\n";
    return ValueRange{najmensia, najvacsia};
}

int32_t countMatching(const Klient* const* tabulka, HornaHranica max, DolnaHranica min, int32_t pocet,
                      FilterCriterion kriterium, const Datum& dnes) noexcept {
    const auto value = menuItem(kriterium).value;
    int32_t vyhovuje = 0;
    for (int32_t i = 0; i < pocet; ++i) {
        if (matches(value(*tabulka[i], dnes), max, min)) {
            ++vyhovuje;
        }
    }
    return vyhovuje;
}

void copyMatching(Klient* const* tabulka, HornaHranica max, DolnaHranica min, int32_t pocet, int32_t limit,
                  Klient** ciel, FilterCriterion kriterium, const Datum& dnes) noexcept {
    const auto value = menuItem(kriterium).value;
    for (int32_t i = 0, k = 0; i < pocet && k < limit; ++i) {
        if (matches(value(*tabulka[i], dnes), max, min)) {
            ciel[k++] = tabulka[i];
        }
    }
}
