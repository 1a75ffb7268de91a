#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// Helpers for the zero-terminated fixed-width text fields of the records.
// Invariant kept by storeFixedText: every byte behind the terminator is zero,
// so a field can be read in whole machine words (the ordering relies on it).

// Eight copies of a byte in one word.
constexpr uint64_t everyByte(unsigned char bajt) noexcept { return 0x0101010101010101ull * bajt; }

// The high bit of each byte of v that is zero, and no other bit: finds a
// terminator (or, on v ^ everyByte(c), a character c) in eight bytes at once.
constexpr uint64_t zeroBytes(uint64_t v) noexcept {
    const uint64_t t = (v & everyByte(0x7F)) + everyByte(0x7F);
    return ~(t | v | everyByte(0x7F));
}

// The number of characters before the terminator, read eight at a time: the
// fields are short, and a library call per field costs more than the scan.
template <std::size_t N>
std::size_t fixedTextLength(const char (&pole)[N]) noexcept {
    std::size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= N; i += 8) {
            uint64_t slovo;
            std::memcpy(&slovo, pole + i, 8);
            if (const uint64_t nuly = zeroBytes(slovo); nuly != 0) {
                return i + static_cast<std::size_t>(std::countr_zero(nuly)) / 8;
            }
        }
    }
    while (i < N && pole[i] != '\0') {
        ++i;
    }
    return i;
}

// The characters of the field up to its terminator.
template <std::size_t N>
std::string_view viewFixedText(const char (&pole)[N]) noexcept {
    return {pole, fixedTextLength(pole)};
}

// Copies at most N - 1 characters of text into the field and zero-fills the
// rest; a NUL in the text ends it there, as in any zero-terminated copy. The
// reader checks the limits before it stores; the cut here only guarantees
// that nothing is ever written past the field and that the invariant holds.
template <std::size_t N>
void storeFixedText(char (&pole)[N], std::string_view text) noexcept {
    const std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    // Assembled in a zeroed copy, so that the field itself is written in one
    // move of constant size.
    char kopia[N] = {};
    std::memcpy(kopia, text.data(), n);
    if (const std::size_t dlzka = fixedTextLength(kopia); dlzka < n) {
        std::memset(kopia + dlzka, 0, N - dlzka);
    }
    std::memcpy(pole, kopia, N);
}
