#pragma once

#include <cstdint>
#include <string_view>

// Converts text the way the C library's atoi does: leading white space is
// skipped, an optional sign is taken, then decimal digits up to the first
// other character; no digit gives 0. Unlike atoi it never overflows: a value
// beyond the 32-bit range is clamped to it. The reader and the birth number
// read their numbers with it.
int32_t parseAtoi(std::string_view text) noexcept;
