#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

// Converts text as C's atoi does (white space, a sign, digits up to any other
// character; none gives 0), but a value beyond the 32-bit range is clamped,
// never overflows.
inline int32_t parseAtoi(std::string_view text) noexcept {
    std::size_t i = 0;
    // C's white space: ' ' and the consecutive '\t', '\n', '\v', '\f', '\r'.
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    constexpr int64_t ceiling = int64_t{INT32_MAX} + 1;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min(value * 10 + (text[i] - '0'), ceiling);
    }
    return static_cast<int32_t>(negative ? -value : std::min<int64_t>(value, INT32_MAX));
}
