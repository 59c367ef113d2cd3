#include "widgets/core/Dpi.h"

#include <gtest/gtest.h>

using tv::Dpi;

TEST(Dpi, ScalesToTheNearestPixelWithHalvesAwayFromZero) {
    struct Case {
        int dpi, in, out;
    };
    const Case cases[] = {
        {96, 105, 105}, {96, -2, -2},   {144, 105, 158}, {144, 370, 555}, {144, 5, 8},    {144, 11, 17},
        {144, -2, -3},  {144, 0, 0},    {120, 5, 6},     {120, 2, 3},     {120, -2, -3},  {192, 586, 1172},
        {168, 7, 12},   {144, 1, 2},    {72, 3, 2},      {72, -3, -2},    {120, 19, 24},  {144, 19, 29},
    };
    for (const Case& c : cases) EXPECT_EQ(Dpi{c.dpi}.scale(c.in), c.out) << c.dpi << " dpi, " << c.in;
}

TEST(Dpi, BaseDensityAndUnknownDensityLeaveValuesAsDesigned) {
    for (int v : {-40, -1, 0, 1, 2, 5, 11, 586, 1 << 20}) {
        EXPECT_EQ(Dpi{96}.scale(v), v);
        EXPECT_EQ(Dpi{96}.unscale(v), v);
        EXPECT_EQ(Dpi{0}.scale(v), v);
    }
}

TEST(Dpi, UnscaleReturnsTheDesignedValueOfEveryScaledOne) {
    for (int dpi : {120, 144, 168, 192, 240, 288})
        for (int v = -50; v <= 700; ++v) EXPECT_EQ(Dpi{dpi}.unscale(Dpi{dpi}.scale(v)), v) << dpi << " dpi, " << v;
}

TEST(Dpi, LargeValuesDoNotOverflow) {
    EXPECT_EQ(Dpi{288}.scale(700000000), 2100000000);
    EXPECT_EQ(Dpi{288}.scale(-700000000), -2100000000);
}
