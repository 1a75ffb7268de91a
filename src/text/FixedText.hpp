#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

// The records' zero-terminated fixed-width text fields. storeFixedText keeps
// every byte behind the terminator zero, so that a field can be copied or
// compared in whole words.

// The number of characters before the terminator (N if there is none).
template <std::size_t N>
std::size_t fixedTextLength(const char (&field)[N]) noexcept {
    const void* terminator = std::memchr(field, '\0', N);
    return terminator != nullptr ? static_cast<std::size_t>(static_cast<const char*>(terminator) - field) : N;
}

template <std::size_t N>
std::string_view viewFixedText(const char (&field)[N]) noexcept {
    return {field, fixedTextLength(field)};
}

// Copies at most N - 1 characters and zero-fills the rest. The text holds no
// NUL: the reader lets no line with one through, so the zeros behind the
// terminator that the ordering reads hold by construction. The reader checks
// limits first; the cut only keeps every write inside the field.
template <std::size_t N>
void storeFixedText(char (&field)[N], std::string_view text) noexcept {
    const std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, N - n);
}
