#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

// Helpers for the zero-terminated fixed-width text fields of the records.
// Invariant kept by storeFixedText: every byte behind the terminator is zero,
// so a field can be read in whole machine words (the ordering relies on it).

// Copies at most N - 1 characters of text into the field and zero-fills the
// rest. The reader checks the limits before it stores; the cut here only
// guarantees that nothing is ever written past the field.
template <std::size_t N>
void storeFixedText(char (&pole)[N], std::string_view text) noexcept {
    const std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(pole, text.data(), n);
    std::memset(pole + n, 0, N - n);
}

// The characters of the field up to its terminator.
// A plain loop: the fields are short, and a library call per field costs
// more than the scan itself.
template <std::size_t N>
std::string_view viewFixedText(const char (&pole)[N]) noexcept {
    std::size_t n = 0;
    while (n < N && pole[n] != '\0') {
        ++n;
    }
    return {pole, n};
}
