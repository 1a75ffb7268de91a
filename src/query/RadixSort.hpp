#pragma once

#include <cstdint>
#include <vector>

// A key with the position of its record in the table being ordered.
struct KlucSPoradim {
    uint64_t kluc;
    uint32_t poradie;
};

// Orders the entries by key, ascending and stable (equal keys keep their
// order), by a least-significant-byte-first radix sort. A byte that is the
// same in every key costs no pass, so small numeric ranges take one or two
// passes. Linear in the number of entries; uses one scratch array as large.
void stableRadixSort(std::vector<KlucSPoradim>& polozky);
