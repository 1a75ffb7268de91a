#include "io/Dialect.hpp"

namespace {
constexpr std::size_t columns = 11;

// The fields the separator splits the header into, outside quotes, less the
// empty ones at its end.
std::size_t fieldsSplitBy(std::string_view header, char separator) noexcept {
    std::size_t fields = 0;
    std::size_t filled = 0; // fields up to the last that is not empty
    bool in_quotes = false;
    bool empty = true;
    for (const char c : header) {
        if (c == '"') {
            in_quotes = !in_quotes; // a doubled quote leaves and enters again
        }
        if (c == separator && !in_quotes) {
            filled = empty ? filled : fields + 1;
            ++fields;
            empty = true;
        } else {
            empty = false;
        }
    }
    return empty ? filled : fields + 1;
}
} // namespace

char separatorOf(std::string_view header) noexcept {
    constexpr char candidates[] = {',', ';', '\t'};
    for (const char c : candidates) {
        if (fieldsSplitBy(header, c) == columns) {
            return c;
        }
    }
    for (const char c : candidates) {
        if (header.find(c) != std::string_view::npos) {
            return c;
        }
    }
    return ',';
}
