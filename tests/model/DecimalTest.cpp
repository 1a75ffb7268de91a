#include "model/Decimal.hpp"

#include <gtest/gtest.h>

#include <climits>

TEST(ParseAtoi, FollowsTheCLibraryRules) {
    const struct {
        const char* text;
        int32_t hodnota;
    } pripady[] = {
        {"0950", 950}, {"", 0},       {"abc", 0},     {"-5", -5},        {"+7", 7},
        {"  42", 42},  {"\t\n3", 3},  {"12ab", 12},   {"1 2", 1},        {"- 5", 0},
        {"--5", 0},    {"999999", 999999}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
        {"99999999999999", INT32_MAX}, {"-99999999999999", INT32_MIN},
    };
    for (const auto& p : pripady) {
        EXPECT_EQ(parseAtoi(p.text), p.hodnota) << '"' << p.text << '"';
    }
}

TEST(AppendDecimal, WritesPlainDecimal) {
    const struct {
        int32_t hodnota;
        const char* text;
    } pripady[] = {{0, "0"}, {7, "7"}, {-5, "-5"}, {950, "950"}, {1000000, "1000000"},
                   {INT32_MAX, "2147483647"}, {INT32_MIN, "-2147483648"}};
    for (const auto& p : pripady) {
        std::string out = "x";
        appendDecimal(out, p.hodnota);
        EXPECT_EQ(out, std::string("x") + p.text);
    }
}
