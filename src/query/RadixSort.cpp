#include "query/RadixSort.hpp"

#include <array>
#include <cstddef>

void stableRadixSort(std::vector<KlucSPoradim>& polozky) {
    const std::size_t n = polozky.size();
    if (n < 2) {
        return;
    }
    // One counting pass gives the histograms of all eight bytes.
    std::array<std::array<std::size_t, 256>, 8> pocty{};
    for (const KlucSPoradim& p : polozky) {
        for (std::size_t bajt = 0; bajt < 8; ++bajt) {
            ++pocty[bajt][(p.kluc >> (8 * bajt)) & 0xFF];
        }
    }
    std::vector<KlucSPoradim> pomocne;
    for (std::size_t bajt = 0; bajt < 8; ++bajt) {
        auto& pocet = pocty[bajt];
        const std::size_t prvy = (polozky[0].kluc >> (8 * bajt)) & 0xFF;
        if (pocet[prvy] == n) {
            continue; // every key has this byte in common
        }
        if (pomocne.empty()) {
            pomocne.resize(n);
        }
        std::size_t poloha = 0;
        for (std::size_t& c : pocet) {
            const std::size_t tento = c;
            c = poloha;
            poloha += tento;
        }
        for (const KlucSPoradim& p : polozky) {
            pomocne[pocet[(p.kluc >> (8 * bajt)) & 0xFF]++] = p;
        }
        polozky.swap(pomocne);
    }
}
