#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Orders entries by a 64-bit key, ascending and stable (equal keys keep their
// order), by a least-significant-byte-first radix sort over the key bytes
// from lowest to highest (0 is the lowest byte). A byte that is the same in
// every key costs no pass, so small numeric ranges take one or two passes.
// Linear in the number of entries; uses one scratch array as large.
// passDone(pass, passes) is told after each pass made.
template <typename Entry, typename Key, typename PassDone>
void stableRadixSort(std::vector<Entry>& entries, Key key, unsigned lowest, unsigned highest, PassDone passDone) {
    const std::size_t n = entries.size();
    if (n < 2) {
        return;
    }
    const unsigned byte_count = highest - lowest + 1;
    // One counting pass gives the histograms of all the bytes.
    std::vector<std::array<std::size_t, 256>> counts(byte_count);
    for (const Entry& e : entries) {
        const uint64_t k = key(e);
        for (unsigned b = 0; b < byte_count; ++b) {
            ++counts[b][(k >> (8 * (lowest + b))) & 0xFF];
        }
    }
    const uint64_t first = key(entries[0]);
    std::vector<unsigned> passes;
    for (unsigned b = 0; b < byte_count; ++b) {
        if (counts[b][(first >> (8 * (lowest + b))) & 0xFF] != n) {
            passes.push_back(b); // not every key has this byte in common
        }
    }
    std::vector<Entry> scratch;
    for (std::size_t pass = 0; pass < passes.size(); ++pass) {
        const unsigned b = passes[pass];
        const unsigned shift = 8 * (lowest + b);
        if (scratch.empty()) {
            scratch.resize(n);
        }
        std::size_t position = 0;
        for (std::size_t& c : counts[b]) {
            const std::size_t here = c;
            c = position;
            position += here;
        }
        for (const Entry& e : entries) {
            scratch[counts[b][(key(e) >> shift) & 0xFF]++] = e;
        }
        entries.swap(scratch);
        passDone(static_cast<unsigned>(pass), static_cast<unsigned>(passes.size()));
    }
}
