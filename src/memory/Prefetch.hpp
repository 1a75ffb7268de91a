#pragma once

#include "model/Klient.hpp"

#include <cstddef>

// After an ordering the writers visit records in an order unrelated to memory and
// would wait at each; asking a few entries ahead overlaps the wait with formatting.
// The helper must be inlined before the compiler judges it: a prefetch is no
// side effect to it, so a call left standing would count as removable.

// How many entries ahead a writer asks for its records.
inline constexpr std::size_t prefetch_distance = 16;

// Asks for the whole record prefetch_distance entries after index i, if it is
// before the end.
[[gnu::always_inline]] inline void prefetchAhead(const Klient* const* tabulka, std::size_t i,
                                                 std::size_t end) noexcept {
    if (end - i > prefetch_distance) {
        const auto* klient = reinterpret_cast<const char*>(tabulka[i + prefetch_distance]);
        for (std::size_t b = 0; b < sizeof(Klient); b += 64) {
            __builtin_prefetch(klient + b);
        }
    }
}
