#pragma once

#include <cstdint>
#include <ctime>

// A local calendar date: month 1 to 12, day 1 to 31. Ages are measured against
// one read once per operation, so that all its records are judged on one day.
struct Datum {
    int32_t rok = 0;
    int32_t mesiac = 1;
    int32_t den = 1;
};

inline Datum toDatum(const std::tm& time) noexcept { return Datum{time.tm_year + 1900, time.tm_mon + 1, time.tm_mday}; }
