#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

// Helpers for the zero-terminated fixed-width text fields of the records.
// Invariant kept by storeFixedText: every byte behind the terminator is zero,
// so that a field can be copied or compared in whole words.

// The number of characters before the terminator (N if there is none).
template <std::size_t N>
std::size_t fixedTextLength(const char (&field)[N]) noexcept {
    const void* terminator = std::memchr(field, '\0', N);
    return terminator != nullptr ? static_cast<std::size_t>(static_cast<const char*>(terminator) - field) : N;
}

// The characters of the field up to its terminator.
template <std::size_t N>
std::string_view viewFixedText(const char (&field)[N]) noexcept {
    return {field, fixedTextLength(field)};
}

// Copies at most N - 1 characters of text into the field and zero-fills the
// rest; a NUL in the text ends it there, as in any zero-terminated copy. The
// reader checks the limits before it stores; the cut here only guarantees
// that nothing is ever written past the field and that the invariant holds.
template <std::size_t N>
void storeFixedText(char (&field)[N], std::string_view text) noexcept {
    std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    if (const void* nul = std::memchr(text.data(), '\0', n)) {
        n = static_cast<std::size_t>(static_cast<const char*>(nul) - text.data());
    }
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, N - n);
}
