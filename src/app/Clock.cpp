#include "app/Clock.hpp"

std::tm systemLocalTime() {
    const std::time_t t = std::time(nullptr);
    const std::tm* lokalny = std::localtime(&t);
    if (lokalny == nullptr) {
        std::tm zaciatok{};
        zaciatok.tm_mday = 1;
        zaciatok.tm_year = 70;
        zaciatok.tm_wday = 4; // 1 January 1970 was a Thursday
        return zaciatok;
    }
    return *lokalny;
}
