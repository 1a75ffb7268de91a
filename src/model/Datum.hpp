#pragma once

#include <cstdint>
#include <ctime>

// A calendar date in the local time zone: year, month 1 to 12, day 1 to 31.
// Ages are always measured against one such date that the caller read once,
// so that every record of one operation is judged on the same day.
struct Datum {
    int32_t rok = 0;
    int32_t mesiac = 1;
    int32_t den = 1;
};

inline Datum toDatum(const std::tm& time) noexcept { return Datum{time.tm_year + 1900, time.tm_mon + 1, time.tm_mday}; }
