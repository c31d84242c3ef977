#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "monitor/number_format.h"

namespace {

TEST(FormatTwoDecimals, PatternAndRoundingEdges) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {5, "5.00"},           {12.3456, "12.35"},   {0.5, ".50"},         {0, ".00"},
        {100, "100.00"},       {0.45, ".45"},        {0.995, "1.00"},      {99.995, "100.00"},
        {0.005, ".01"},        {0.0049, ".00"},      {0.00049, ".00"},     {1e-300, ".00"},
        // halves that binary cannot hold exactly still round away from zero
        {1.005, "1.01"},       {2.675, "2.68"},      {0.125, ".13"},       {0.115, ".12"},
        {12.344999, "12.34"},  {100.0 / 3, "33.33"}, {200.0 / 3, "66.67"}, {1234.5, "1234.50"},
        {-0.5, "-.50"},        {-2.675, "-2.68"},    {-0.001, ".00"},      {1e6, "1000000.00"},
    };
    for (const Case& c : cases) EXPECT_EQ(monitor::FormatTwoDecimals(c.value), c.text) << c.value;
}

TEST(RoundFixedToInt32, NearestWholeTiesToEven) {
    struct Case {
        int64_t tenThousandths;
        std::optional<int32_t> whole;
    };
    const int64_t max = std::numeric_limits<int32_t>::max(), min = std::numeric_limits<int32_t>::min();
    const Case cases[] = {
        {0, 0},           {4999, 0},         {5000, 0},        {5001, 1},
        {14999, 1},       {15000, 2},        {25000, 2},       {35000, 4},
        {-5000, 0},       {-5001, -1},       {-15000, -2},     {-25000, -2},
        {-14999, -1},     {5'005'000, 500},  {10'015'000, 1002},
        {max * 10000, static_cast<int32_t>(max)},  {max * 10000 + 5000, std::nullopt},  // rounds to 2^31
        {min * 10000, static_cast<int32_t>(min)},  {min * 10000 - 5000, static_cast<int32_t>(min)},
        {min * 10000 - 5001, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(monitor::RoundFixedToInt32(c.tenThousandths), c.whole) << c.tenThousandths;
}

TEST(RoundToInt32, NearestWholeTiesToEven) {
    struct Case {
        double value;
        std::optional<int32_t> whole;
    };
    const Case cases[] = {
        {0.5, 0},    {1.5, 2},   {2.5, 2},    {0.4999, 0},          {0.5001, 1},
        {-0.5, 0},   {-1.5, -2}, {-2.5, -2},  {90061.5, 90062},     {90060.5, 90060},
        {2147483647.4, 2147483647},           {2147483647.5, std::nullopt},
        {std::nan(""), std::nullopt},         {std::numeric_limits<double>::infinity(), std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(monitor::RoundToInt32(c.value), c.whole) << c.value;
}

}  // namespace
