#pragma once

#include "model/Klient.hpp"

#include <cstddef>

// After an ordering the writers visit records in an order unrelated to memory and
// would wait at each; asking a few entries ahead overlaps the wait with formatting.
// The helpers must be inlined before the compiler judges them: a prefetch is no
// side effect to it, so a call left standing would count as removable.
#if defined(__GNUC__)
#define KLIENTI_ALWAYS_INLINE [[gnu::always_inline]] inline
#else
#define KLIENTI_ALWAYS_INLINE inline
#endif

KLIENTI_ALWAYS_INLINE void prefetchKlient([[maybe_unused]] const Klient* klient) noexcept {
#if defined(__GNUC__)
    for (std::size_t i = 0; i < sizeof(Klient); i += 64) {
        __builtin_prefetch(reinterpret_cast<const char*>(klient) + i);
    }
#endif
}

// How many entries ahead a writer asks for its records.
inline constexpr int prefetch_distance = 16;

// Asks for the record prefetch_distance entries after index i, if there is one.
template <typename Index>
KLIENTI_ALWAYS_INLINE void prefetchAhead(Klient* const* tabulka, Index i, Index pocet) noexcept {
    if (pocet - i > static_cast<Index>(prefetch_distance)) {
        prefetchKlient(tabulka[i + static_cast<Index>(prefetch_distance)]);
    }
}
