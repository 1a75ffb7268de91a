#include "model/Decimal.hpp"

#include <cstddef>
#include <cstring>

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

namespace {

// "00" to "99": two digits per step halve the divisions.
constexpr char dvojice[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

std::size_t digitCount(uint32_t v) noexcept {
    std::size_t n = 1;
    for (uint32_t hranica = 10; n < 10 && v >= hranica; hranica *= 10) {
        ++n;
    }
    return n;
}

} // namespace

std::size_t formatDecimal(char* cifry, int32_t value) noexcept {
    // The magnitude as unsigned, so that INT32_MIN has one too.
    const bool zaporne = value < 0;
    uint32_t zvysok = zaporne ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    std::size_t n = zaporne ? 1 : 0;
    if (zaporne) {
        cifry[0] = '-';
    }
    n += digitCount(zvysok);
    char* koniec = cifry + n;
    while (zvysok >= 100) {
        const uint32_t dve = zvysok % 100;
        zvysok /= 100;
        koniec -= 2;
        std::memcpy(koniec, dvojice + 2 * dve, 2);
    }
    if (zvysok >= 10) {
        koniec -= 2;
        std::memcpy(koniec, dvojice + 2 * zvysok, 2);
    } else {
        *--koniec = static_cast<char>('0' + zvysok);
    }
    return n;
}

void appendDecimal(std::string& out, int32_t value) {
    char cifry[max_dlzka_cisla];
    out.append(cifry, formatDecimal(cifry, value));
}
