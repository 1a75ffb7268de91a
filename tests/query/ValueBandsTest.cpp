#include "query/ValueBands.hpp"

#include "app/ValuePicture.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <sstream>
#include <vector>

namespace {

struct Expected {
    std::vector<int32_t> values;
    int64_t width;
    int64_t first_low;
    std::size_t bands;
};

} // namespace

TEST(ValueBands, RoundWidthsFromTheLowestBandToTheHighestWithEveryValueCounted) {
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
        {{0, 50}, 5, 0, 11},
        {{0, 4000000}, 400128, 0, 10}, // buckets of 128: no round width gives enough bands
        {{INT32_MIN, 0, INT32_MAX}, 429522944, -2147614720LL, 10}, // no round width: whole fine buckets
        {salaries, 1000, 0, 7},
    };
    for (const Expected& c : cases) {
        ValueHistogram histogram;
        for (const int32_t v : c.values) {
            histogram.add(v);
        }
        const ValueBands result = histogram.bands();
        ASSERT_EQ(result.size, c.bands) << c.values.front();
        EXPECT_EQ(result.bands[0].low, c.first_low);
        for (std::size_t i = 0; i < result.size; ++i) {
            const ValueBands::Band& band = result.bands[i];
            EXPECT_EQ(band.high - band.low + 1, c.width);
            uint64_t inside = 0;
            for (const int32_t v : c.values) {
                inside += v >= band.low && v <= band.high ? 1 : 0;
            }
            EXPECT_EQ(band.count, inside) << "band " << i << " of " << c.values.front();
        }
        EXPECT_LE(result.bands[result.size - 1].low, *std::max_element(c.values.begin(), c.values.end()));
    }
    EXPECT_EQ(ValueHistogram().bands().size, 0u);
}

TEST(ValuePicture, BarsScaledToTheFullestBandAndAMarkForEveryBandThatHoldsAValue) {
    ValueBands bands;
    bands.bands[0] = {-10, -1, 80};
    bands.bands[1] = {0, 9, 0};
    bands.bands[2] = {10, 19, 1};
    bands.bands[3] = {20, 29, 57}; // 28.5 marks, rounded
    bands.size = 4;
    std::ostringstream out;
    drawValuePicture(out, bands);
    EXPECT_EQ(out.str(), "klienti: -10 -  -1 | " + std::string(40, '#') + " 80\n"
                         "klienti:   0 -   9 | 0\n"
                         "klienti:  10 -  19 | # 1\n"
                         "klienti:  20 -  29 | " + std::string(29, '#') + " 57\n");
}
