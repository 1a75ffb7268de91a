#include "query/ValueBands.hpp"

#include "app/ValuePicture.hpp"

#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <random>
#include <sstream>
#include <vector>

namespace {

const Datum dnes{2026, 12, 7};

// Records with these credit scores, and a table of them.
struct Scores {
    std::vector<Klient> records;
    std::vector<Klient*> tabulka;
    explicit Scores(const std::vector<int32_t>& values) : records(values.size()) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            records[i].setBonita(values[i]);
            tabulka.push_back(&records[i]);
        }
    }
    ValueBands count(ValueRange range) const {
        return countBands(tabulka.data(), static_cast<int32_t>(tabulka.size()), FilterCriterion::bonita, dnes, range);
    }
};

struct Expected {
    std::vector<int32_t> values;
    int64_t width;
    int64_t first_low;
    std::size_t bands;
};

} // namespace

TEST(ValueBands, RoundWidthsFromTheLowestBandToTheHighestWithEveryValueCountedOnce) {
    std::mt19937 random(7);
    std::vector<int32_t> salaries(5000);
    for (int32_t& plat : salaries) {
        plat = std::uniform_int_distribution<int32_t>(450, 6500)(random);
    }
    const Expected cases[] = {
        {{35, 80, 92}, 10, 30, 7},
        {{5}, 1, 5, 1},
        {{5, 5, 5}, 1, 5, 1},
        {{-15, -5, 4}, 2, -16, 11},
        {{0, 100}, 10, 0, 11},
        {{0, 50}, 5, 0, 11},       // tens would give six bands
        {{0, 25}, 5, 0, 6},        // twos give thirteen: the nearest to ten of at most twelve
        {{0, 4000000}, 500000, 0, 9},
        {{INT32_MAX - 3, INT32_MAX}, 1, INT32_MAX - 3, 4},
        {{INT32_MIN, INT32_MIN}, 1, INT32_MIN, 1},
        {{INT32_MIN, 0, INT32_MAX}, 500000000, -2500000000LL, 10},
        {salaries, 1000, 0, 7},
    };
    for (const Expected& c : cases) {
        const auto [lowest, highest] = std::minmax_element(c.values.begin(), c.values.end());
        const ValueBands result = Scores(c.values).count({*lowest, *highest});
        ASSERT_EQ(result.size, c.bands) << c.values.front();
        uint64_t counted = 0;
        for (std::size_t i = 0; i < result.size; ++i) {
            const ValueBands::Band& band = result.bands[i];
            // Round bounds inside; the edge bands end at the lowest and highest value.
            const int64_t round_low = c.first_low + static_cast<int64_t>(i) * c.width;
            EXPECT_EQ(band.low, i == 0 ? *lowest : round_low);
            EXPECT_EQ(band.high, i + 1 == result.size ? *highest : round_low + c.width - 1);
            const auto inside = std::count_if(c.values.begin(), c.values.end(),
                                              [&](int32_t v) { return v >= band.low && v <= band.high; });
            EXPECT_EQ(band.count, static_cast<uint64_t>(inside)) << "band " << i << " of " << c.values.front();
            counted += band.count;
        }
        EXPECT_EQ(counted, c.values.size());
    }
}

TEST(ValueBands, AValueOutsideTheRangeIsNotCounted) {
    const ValueBands result = Scores({9, 10, 19, 21, INT32_MIN, INT32_MAX}).count({10, 19});
    ASSERT_EQ(result.size, 10u);
    uint64_t counted = 0;
    for (const ValueBands::Band& band : result.bands) {
        counted += band.count;
    }
    EXPECT_EQ(counted, 2u);
}

TEST(ValuePicture, BarsScaledToTheFullestBandAndTheTerminalsWidth) {
    ValueBands bands;
    bands.bands[0] = {-10, -1, 80};
    bands.bands[1] = {0, 9, 0};
    bands.bands[2] = {10, 19, 1};
    bands.bands[3] = {20, 29, 57};
    bands.size = 4;
    const struct {
        std::size_t columns;
        std::size_t fullest, rounded; // 57 of 80 marks' share
    } cases[] = {{65, 40, 29}, {40, 15, 11}, {26, 1, 1}};
    for (const auto& c : cases) {
        std::ostringstream out;
        drawValuePicture(out, bands, c.columns);
        EXPECT_EQ(out.str().find('\n'), c.columns - 1) << c.columns; // the fullest line, a column short
        EXPECT_EQ(out.str(), "klienti: -10 -  -1 | " + std::string(c.fullest, '#') + " 80\n"
                             "klienti:   0 -   9 | 0\n"
                             "klienti:  10 -  19 | # 1\n"
                             "klienti:  20 -  29 | " + std::string(c.rounded, '#') + " 57\n")
            << c.columns;
    }
    // Where not even one mark fits, no picture rather than lines that wrap.
    std::ostringstream narrow;
    drawValuePicture(narrow, bands, 25);
    EXPECT_EQ(narrow.str(), "");
}

TEST(ValuePicture, TheTerminalsWidthFromTheTerminalElseColumnsElseEighty) {
    int master = -1;
    int slave = -1;
    const winsize size{24, 40, 0, 0};
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, &size), 0);
    EXPECT_EQ(terminalColumns(slave, "132"), 40u);
    ::close(master);
    ::close(slave);
    EXPECT_EQ(terminalColumns(-1, "132"), 132u);
    EXPECT_EQ(terminalColumns(-1, "2000000000"), 1000u);
    for (const char* columns : {"", "0", "12x", "-5", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(terminalColumns(-1, columns), 80u) << (columns ? columns : "unset");
    }
}
