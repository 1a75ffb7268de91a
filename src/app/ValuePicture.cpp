#include "app/ValuePicture.hpp"

#include <algorithm>
#include <charconv>
#include <iomanip>
#include <string_view>
#include <sys/ioctl.h>

namespace {
std::size_t digitsOf(int64_t value) {
    char text[24];
    return static_cast<std::size_t>(std::to_chars(text, text + sizeof text, value).ptr - text);
}
} // namespace

void drawValuePicture(std::ostream& out, const ValueBands& bands, std::size_t columns) {
    uint64_t fullest = 0;
    std::size_t width = 0;
    for (std::size_t i = 0; i < bands.size; ++i) {
        fullest = std::max(fullest, bands.bands[i].count);
        width = std::max({width, digitsOf(bands.bands[i].low), digitsOf(bands.bands[i].high)});
    }
    // "klienti: ", the bounds, " | ", the bar, a blank and the count, short
    // of the last column, where a terminal may wrap.
    const std::size_t fixed = 9 + 2 * width + 6 + digitsOf(static_cast<int64_t>(fullest)) + 1;
    if (columns < fixed + 2) {
        return; // not even one mark fits
    }
    const uint64_t longest_bar = columns - fixed - 1;
    for (std::size_t i = 0; i < bands.size; ++i) {
        const ValueBands::Band& band = bands.bands[i];
        // Every band that holds a value shows at least one mark.
        const uint64_t bar =
            band.count == 0 ? 0 : std::max<uint64_t>(1, (band.count * longest_bar + fullest / 2) / fullest);
        out << "klienti: " << std::setw(static_cast<int>(width)) << band.low << " - "
            << std::setw(static_cast<int>(width)) << band.high << " |";
        for (uint64_t mark = 0; mark < bar; ++mark) {
            out << (mark == 0 ? " #" : "#");
        }
        out << ' ' << band.count << '\n';
    }
}

std::size_t terminalColumns(int fd, const char* columns) noexcept {
    constexpr std::size_t widest = 1000; // no bar runs to megabytes on a junk width
    winsize size{};
    if (::ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return std::min<std::size_t>(size.ws_col, widest);
    }
    std::size_t given = 0;
    const std::string_view text = columns != nullptr ? columns : "";
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), given);
    return error == std::errc() && end == text.data() + text.size() && given > 0 ? std::min(given, widest) : 80;
}
