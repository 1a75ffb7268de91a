#pragma once

// Synthetic client files: invented clients with Slovak names written without
// diacritics, every field within its limit. The same count and seed always
// give the same bytes.

#include <cstdint>
#include <string>

// splitmix64: small, fast and the same on every platform (the standard
// distributions are not).
struct Random {
    uint64_t state;
    uint64_t next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A whole number from low to high, both included.
    int between(int low, int high) { return low + static_cast<int>(next() % static_cast<uint64_t>(high - low + 1)); }
    template <std::size_t N>
    const char* pick(const char* const (&list)[N]) {
        return list[next() % N];
    }
};


inline constexpr const char* generated_header =
    "rodne cislo,meno,priezvisko,ulica a cislo,mesto,povolanie,mesacna mzda,pocet uverov,"
    "suma uverov,bonita,platobna disciplina";

// Appends one client line (without its line end).
void appendClientLine(std::string& text, Random& random);
// Appends count clients, each after a line feed.
void appendGeneratedClients(std::string& text, Random& random, long long count);
// A whole file: the header and count clients, no line feed after the last.
std::string generateClientFile(long long count, uint64_t seed);
