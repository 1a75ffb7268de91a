#include "app/Calendar.hpp"

std::tm systemLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&now, &local) == nullptr) {
        std::tm epoch{};
        epoch.tm_mday = 1;
        epoch.tm_year = 70;
        epoch.tm_wday = 4; // 1 January 1970 was a Thursday
        return epoch;
    }
    return local;
}
