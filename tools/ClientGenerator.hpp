#pragma once

// Synthetic client files: invented clients with Slovak names written without
// diacritics, every field within its limit. The same count and seed always
// give the same bytes.

#include <cstdint>
#include <string>

// splitmix64: small, fast and the same on every platform (the standard
// distributions are not).
struct Nahoda {
    uint64_t stav;
    uint64_t dalsie() {
        uint64_t z = (stav += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A whole number from od to po, both included.
    int medzi(int od, int po) { return od + static_cast<int>(dalsie() % static_cast<uint64_t>(po - od + 1)); }
    template <std::size_t N>
    const char* z(const char* const (&zoznam)[N]) {
        return zoznam[dalsie() % N];
    }
};


inline constexpr const char* hlavicka_generatora =
    "rodne cislo,meno,priezvisko,ulica a cislo,mesto,povolanie,mesacna mzda,pocet uverov,"
    "suma uverov,bonita,platobna disciplina";

// Appends one client line (without its line end).
void pridajKlienta(std::string& s, Nahoda& n);
// Appends pocet clients, each after a line feed.
void appendGeneratedClients(std::string& text, Nahoda& nahoda, long long pocet);
// A whole file: the header and pocet clients, no line feed after the last.
std::string generateClientFile(long long pocet, uint64_t seed);
