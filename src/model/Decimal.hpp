#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Decimal conversion in both directions, shared by the reader, the birth
// number and both writers.

// Converts text the way the C library's atoi does: leading white space is
// skipped, an optional sign is taken, then decimal digits up to the first
// other character; no digit gives 0. Unlike atoi it never overflows: a value
// beyond the 32-bit range is clamped to it.
int32_t parseAtoi(std::string_view text) noexcept;

// Longest decimal form of a 32-bit value: a sign and ten digits.
inline constexpr std::size_t max_dlzka_cisla = 11;

// Writes the value in plain decimal into cifry (room for max_dlzka_cisla
// characters) and gives the number of characters written.
std::size_t formatDecimal(char* cifry, int32_t value) noexcept;

// Appends the value in plain decimal: no fill, no grouping, a leading minus
// sign for a negative value.
void appendDecimal(std::string& out, int32_t value);
