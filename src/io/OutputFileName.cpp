#include "io/OutputFileName.hpp"

#include <string_view>

namespace {

constexpr std::string_view weekdays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::string_view months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

template <std::size_t N>
std::string_view nameIn(const std::string_view (&names)[N], int index) {
    return index >= 0 && static_cast<std::size_t>(index) < N ? names[index] : "???";
}

void appendTwoDigits(std::string& name, int value) {
    if (value >= 0 && value < 10) {
        name += '0';
    }
    name += std::to_string(value);
}

} // namespace

std::string outputFileName(const std::tm& local_time, int number) {
    std::string name;
    name += nameIn(weekdays, local_time.tm_wday);
    name += ' ';
    appendTwoDigits(name, local_time.tm_mday);
    name += ". ";
    name += nameIn(months, local_time.tm_mon);
    name += ". ";
    name += std::to_string(local_time.tm_year + 1900);
    name += ", ";
    appendTwoDigits(name, local_time.tm_hour);
    name += '.';
    appendTwoDigits(name, local_time.tm_min);
    if (number > 1) {
        name += " (";
        name += std::to_string(number);
        name += ')';
    }
    name += ".csv";
    return name;
}
