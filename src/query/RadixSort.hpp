#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Orders entries by a 64-bit key, ascending and stable (equal keys keep their
// order), by a least-significant-byte-first radix sort over the key bytes
// from najnizsi to najvyssi (0 is the lowest byte). A byte that is the same
// in every key costs no pass, so small numeric ranges take one or two passes.
// Linear in the number of entries; uses one scratch array as large.
template <typename Polozka, typename Kluc>
void stableRadixSort(std::vector<Polozka>& polozky, Kluc kluc, unsigned najnizsi = 0, unsigned najvyssi = 7) {
    const std::size_t n = polozky.size();
    if (n < 2) {
        return;
    }
    const unsigned pocet_bajtov = najvyssi - najnizsi + 1;
    // One counting pass gives the histograms of all the bytes.
    std::vector<std::array<std::size_t, 256>> pocty(pocet_bajtov);
    for (const Polozka& p : polozky) {
        const uint64_t k = kluc(p);
        for (unsigned b = 0; b < pocet_bajtov; ++b) {
            ++pocty[b][(k >> (8 * (najnizsi + b))) & 0xFF];
        }
    }
    std::vector<Polozka> pomocne;
    for (unsigned b = 0; b < pocet_bajtov; ++b) {
        const unsigned posun = 8 * (najnizsi + b);
        auto& pocet = pocty[b];
        if (pocet[(kluc(polozky[0]) >> posun) & 0xFF] == n) {
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
        for (const Polozka& p : polozky) {
            pomocne[pocet[(kluc(p) >> posun) & 0xFF]++] = p;
        }
        polozky.swap(pomocne);
    }
}
