#include "app/ValuePicture.hpp"

#include <algorithm>
#include <charconv>
#include <iomanip>

namespace {

// The longest bar, for the fullest band.
constexpr uint64_t longest_bar = 40;

std::size_t digitsOf(int64_t value) {
    char text[24];
    return static_cast<std::size_t>(std::to_chars(text, text + sizeof text, value).ptr - text);
}

} // namespace

void drawValuePicture(std::ostream& out, const ValueBands& bands) {
    uint64_t fullest = 0;
    std::size_t width = 0;
    for (std::size_t i = 0; i < bands.size; ++i) {
        fullest = std::max(fullest, bands.bands[i].count);
        width = std::max({width, digitsOf(bands.bands[i].low), digitsOf(bands.bands[i].high)});
    }
    for (std::size_t i = 0; i < bands.size; ++i) {
        const ValueBands::Band& band = bands.bands[i];
        // Every band that holds a value shows at least one mark.
        const uint64_t bar = band.count == 0 ? 0 : std::max<uint64_t>(1, (band.count * longest_bar + fullest / 2) / fullest);
        out << "klienti: " << std::setw(static_cast<int>(width)) << band.low << " - "
            << std::setw(static_cast<int>(width)) << band.high << " |";
        if (bar > 0) {
            out << ' ';
            for (uint64_t mark = 0; mark < bar; ++mark) {
                out.put('#');
            }
        }
        out << ' ' << band.count << '\n';
    }
}
