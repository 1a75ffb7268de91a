#pragma once

#include <cstdint>
#include <string_view>

// Converts text as C's atoi does (white space, a sign, digits up to any other
// character; none gives 0), but a value beyond the 32-bit range is clamped,
// never overflows.
int32_t parseAtoi(std::string_view text) noexcept;
