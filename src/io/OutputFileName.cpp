#include "io/OutputFileName.hpp"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::string_view weekdays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::string_view months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

template <std::size_t N>
std::string_view nameIn(const std::string_view (&names)[N], int index) noexcept {
    return index >= 0 && static_cast<std::size_t>(index) < N ? names[index] : "???";
}

} // namespace

OutputFileName::OutputFileName(const std::tm& local_time, int number) noexcept {
    put(nameIn(weekdays, local_time.tm_wday));
    put(" ");
    putNumber(local_time.tm_mday, true);
    put(". ");
    put(nameIn(months, local_time.tm_mon));
    put(". ");
    putNumber(local_time.tm_year + 1900LL);
    put(", ");
    putNumber(local_time.tm_hour, true);
    put(".");
    putNumber(local_time.tm_min, true);
    if (number > 1) {
        put(" (");
        putNumber(number);
        put(")");
    }
    put(".csv");
}

// Keeps the terminator: what does not fit (it never does for a real
// time) is cut, never written past the array.
void OutputFileName::put(std::string_view piece) noexcept {
    const std::size_t n = std::min(piece.size(), text_.size() - 1 - size_);
    std::copy_n(piece.data(), n, text_.data() + size_);
    size_ += n;
    text_[size_] = '\0';
}

void OutputFileName::putNumber(long long value, bool two_digits) noexcept {
    if (two_digits && value >= 0 && value < 10) {
        put("0");
    }
    char digits[24];
    put(std::string_view(digits, static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits)));
}
