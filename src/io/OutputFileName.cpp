#include "io/OutputFileName.hpp"

#include <algorithm>
#include <cstdio>

constexpr const char* weekdays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// What does not fit (never for a real time) is cut, never written past the array.
OutputFileName::OutputFileName(const std::tm& local_time, int number) noexcept {
    char numbered[16] = "";
    if (number > 1) {
        std::snprintf(numbered, sizeof numbered, " (%d)", number);
    }
    const int n = std::snprintf(text_.data(), text_.size(), "%s %02d. %s. %lld, %02d.%02d%s.csv",
                                weekdays[local_time.tm_wday], local_time.tm_mday, months[local_time.tm_mon],
                                local_time.tm_year + 1900LL, local_time.tm_hour, local_time.tm_min, numbered);
    size_ = std::min(static_cast<std::size_t>(std::max(n, 0)), text_.size() - 1);
}
