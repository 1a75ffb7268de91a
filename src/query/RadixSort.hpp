#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <span>
#include <utility>
#include <vector>

// Orders entries ascending and stable by the bytes lowest..highest (0 is the
// lowest) of a 64-bit key: a least-significant-byte-first radix sort, linear in
// the entries. scratch, as large as entries, is where the passes move them to and fro.
template <typename Entry, typename Key>
void stableRadixSort(std::span<Entry> entries, std::span<Entry> scratch, Key key, unsigned lowest, unsigned highest) {
    const unsigned byte_count = highest - lowest + 1;
    // One counting pass gives the histograms of all the bytes.
    std::vector<std::array<std::size_t, 256>> counts(byte_count);
    for (const Entry& e : entries) {
        const uint64_t k = key(e);
        for (unsigned b = 0; b < byte_count; ++b) {
            ++counts[b][(k >> (8 * (lowest + b))) & 0xFF];
        }
    }
    std::span<Entry> from = entries;
    std::span<Entry> to = scratch;
    for (unsigned b = 0; b < byte_count; ++b) {
        // A byte that every entry shares orders nothing: its pass is skipped.
        if (std::find(counts[b].begin(), counts[b].end(), entries.size()) != counts[b].end()) {
            continue;
        }
        const unsigned shift = 8 * (lowest + b);
        std::exclusive_scan(counts[b].begin(), counts[b].end(), counts[b].begin(), std::size_t{0});
        for (const Entry& e : from) {
            to[counts[b][(key(e) >> shift) & 0xFF]++] = e;
        }
        std::swap(from, to);
    }
    if (from.data() != entries.data()) {
        std::copy(from.begin(), from.end(), entries.begin());
    }
}
