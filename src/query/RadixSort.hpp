#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>


// Orders entries by a 64-bit key, ascending and stable (equal keys keep their
// order), by a least-significant-byte-first radix sort over the key bytes
// from lowest to highest (0 is the lowest byte). Linear in the number of
// entries; scratch, as large as entries, is where the passes move the
// entries to and fro.
template <typename Entry, typename Key>
void stableRadixSort(std::span<Entry> entries, std::span<Entry> scratch, Key key, unsigned lowest, unsigned highest) {
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
    std::span<Entry> from = entries;
    for (unsigned b = 0; b < byte_count; ++b) {
        const unsigned shift = 8 * (lowest + b);
        const std::span<Entry> to = from.data() == entries.data() ? std::span<Entry>(scratch) : entries;
        std::size_t position = 0;
        for (std::size_t& c : counts[b]) {
            const std::size_t here = c;
            c = position;
            position += here;
        }
        for (const Entry& e : from) {
            to[counts[b][(key(e) >> shift) & 0xFF]++] = e;
        }
        from = to;
    }
    if (from.data() != entries.data()) {
        std::copy(from.begin(), from.end(), entries.begin());
    }
}
