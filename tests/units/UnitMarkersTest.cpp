// The three scale rules of the markers, which differ on purpose, and the
// frame a level marker shows.
#include "units/UnitMarkers.h"

#include <gtest/gtest.h>

using namespace unit_markers;

TEST(UnitMarkers, EachScaleRuleKeepsItsOwnLimits)
{
    const struct
    {
        float in, marker, disk, function;
    } cases[] = {
        {1.3f, 0.25f, 1.25f, 0.25f},  // above the range: markers fall back, the disk is limited
        {0.3f, 0.3f, 0.3f, 0.5f},     // inside the range stays, but for the function circle
        {0.2f, 0.25f, 0.25f, 0.5f},
        {1.25f, 1.25f, 1.25f, 1.25f},
        {0.25f, 0.25f, 0.25f, 0.5f},
        {0.8f, 0.8f, 0.8f, 0.8f},
    };
    for (const auto& c : cases)
    {
        EXPECT_FLOAT_EQ(MarkerScale(c.in), c.marker) << c.in;
        EXPECT_FLOAT_EQ(DiskScale(c.in), c.disk) << c.in;
        EXPECT_FLOAT_EQ(FunctionCircleScale(c.in), c.function) << c.in;
    }
    // A piece 150 pixels wide keeps the picture's scale.
    EXPECT_NEAR(150 * PIECE_WIDTH_SCALE, 1.0f, 1e-6);
}

TEST(UnitMarkers, TheLevelFrameIsTheNearestFrameLessOne)
{
    const struct
    {
        int frames;
        double level;
        int frame;
    } cases[] = {
        {4, 0.25, 0}, {4, 0.5, 1},  {4, 0.01, 0}, {4, 1.0, 3}, {4, 2.5, 3},  // capped at 1.0
        {10, 0.5, 4}, {10, 0.0, 0}, {10, 0.26, 2}, {1, 0.5, 0}, {0, 0.5, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LevelFrame(c.frames, c.level), c.frame) << c.frames << " " << c.level;
}
