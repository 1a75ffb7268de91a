#pragma once

#include <array>
#include <cstddef>
#include <ctime>
#include <string_view>

// "Tue 05. Mar. 2024, 14.05.csv" for a local time, in English whatever the
// locale; from number 2 on "Tue 05. Mar. 2024, 14.05 (2).csv". Formed in place,
// allocating nothing, so that it can be formed once output has begun.
class OutputFileName {
public:
    OutputFileName() noexcept = default;
    // local_time as localtime gives it: weekday 0 to 6, month 0 to 11.
    explicit OutputFileName(const std::tm& local_time, int number = 1) noexcept;

    std::string_view view() const noexcept { return {text_.data(), size_}; }
    const char* c_str() const noexcept { return text_.data(); }

private:
    std::array<char, 96> text_{};
    std::size_t size_ = 0;
};
