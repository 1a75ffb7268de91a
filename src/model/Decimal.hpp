#pragma once

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

// Appends the value in plain decimal: no fill, no grouping, a leading minus
// sign for a negative value.
void appendDecimal(std::string& out, int32_t value);
