#pragma once

#include <array>
#include <cstddef>
#include <ctime>
#include <string_view>

// The name of an output file for a local time, as "%a %d. %b. %Y, %H.%M."
// followed by "csv" with English day and month abbreviations whatever the
// user's locale, for example "Tue 05. Mar. 2024, 14.05.csv". From number 2 on
// of a minute's series the number goes before ".csv":
// "Tue 05. Mar. 2024, 14.05 (2).csv". Formed in place: it allocates nothing,
// so that a name can be formed after a cycle has started to show its result.
class OutputFileName {
public:
    OutputFileName() noexcept = default;
    explicit OutputFileName(const std::tm& local_time, int number = 1) noexcept;

    std::string_view view() const noexcept { return {text_.data(), size_}; }
    const char* c_str() const noexcept { return text_.data(); }

private:
    std::array<char, 96> text_{};
    std::size_t size_ = 0;
};
