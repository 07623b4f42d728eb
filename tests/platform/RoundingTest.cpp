#include "platform/core/Rounding.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

TEST(Rounding, EachRuleOnItsCases)
{
    struct Case
    {
        double value;
        int trunc;
        int halfUpTrunc;
        int halfUp;
    };
    const Case cases[] = {
        {0.0, 0, 0, 0},
        {0.49, 0, 0, 0},
        {0.5, 0, 1, 1},
        {1.5, 1, 2, 2},
        {2.7, 2, 3, 3},
        {-0.4, 0, 0, 0},
        {-0.5, 0, 0, 0},
        {-0.75, 0, 0, -1},
        {-1.5, -1, -1, -1},
        {-1.7, -1, -1, -2},
        {-2.5, -2, -2, -2},
        {1e12, INT_MAX, INT_MAX, 1000000000},
        {-1e12, INT_MIN, INT_MIN, -1000000000},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(TruncToInt(c.value), c.trunc) << c.value;
        EXPECT_EQ(RoundHalfUpTrunc(c.value), c.halfUpTrunc) << c.value;
        EXPECT_EQ(RoundHalfUp(c.value), c.halfUp) << c.value;
    }
    EXPECT_EQ(TruncToInt(std::nan("")), INT_MIN);
    EXPECT_EQ(RoundHalfUp(std::nan("")), -1000000000);
}
