#include "model/Decimal.hpp"

#include <cstddef>

namespace {

bool isCSpace(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

int32_t parseAtoi(std::string_view text) noexcept {
    std::size_t i = 0;
    while (i < text.size() && isCSpace(text[i])) {
        ++i;
    }
    bool zaporne = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        zaporne = text[i] == '-';
        ++i;
    }
    constexpr int64_t strop = int64_t{INT32_MAX} + 1;
    int64_t hodnota = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        hodnota = hodnota * 10 + (text[i] - '0');
        if (hodnota > strop) {
            hodnota = strop;
        }
    }
    if (zaporne) {
        return static_cast<int32_t>(-hodnota);
    }
    return hodnota > INT32_MAX ? INT32_MAX : static_cast<int32_t>(hodnota);
}

std::size_t formatDecimal(char* cifry, int32_t value) noexcept {
    std::size_t n = 0;
    // Work on the magnitude in 64 bits so that INT32_MIN has a magnitude too.
    int64_t zvysok = value;
    const bool zaporne = zvysok < 0;
    if (zaporne) {
        zvysok = -zvysok;
    }
    do {
        cifry[n++] = static_cast<char>('0' + zvysok % 10);
        zvysok /= 10;
    } while (zvysok != 0);
    if (zaporne) {
        cifry[n++] = '-';
    }
    // The digits were produced from the last; turn them around in place.
    for (std::size_t i = 0; i < n / 2; ++i) {
        const char c = cifry[i];
        cifry[i] = cifry[n - 1 - i];
        cifry[n - 1 - i] = c;
    }
    return n;
}

void appendDecimal(std::string& out, int32_t value) {
    char cifry[max_dlzka_cisla];
    out.append(cifry, formatDecimal(cifry, value));
}
