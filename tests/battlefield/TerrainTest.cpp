// Terrain types and features: containment, the feature search and the
// point queries built on it, colour sets.
#include "BattlefieldTestSupport.h"

#include "battlefield/TerrainArray.h"
#include "platform/ui/DC.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using namespace bftest;

TEST(TerrainFeature, ContainsThePointsOfItsPolygonByTheEvenOddRule)
{
    const CTerrain box(0, Box(0, 0, 10, 10));
    // A five-pointed star drawn in one stroke: its middle is crossed twice.
    const CTerrain star(0, {CPoint(200, 300), CPoint(259, 119), CPoint(105, 231), CPoint(295, 231), CPoint(141, 119)});
    // A U: the notch between the arms is outside.
    const CTerrain cup(0, {CPoint(0, 0), CPoint(30, 0), CPoint(30, 30), CPoint(20, 30), CPoint(20, 10), CPoint(10, 10),
                           CPoint(10, 30), CPoint(0, 30)});
    const CTerrain sliver(0, {CPoint(5, 5), CPoint(50, 5)});

    struct Case
    {
        const CTerrain* feature;
        float x, y;
        BOOL inside;
    } cases[] = {
        {&box, 0.0f, 0.0f, TRUE},
        {&box, 9.0f, 9.0f, TRUE},
        {&box, 9.4f, 0.0f, TRUE},
        {&box, 9.5f, 0.0f, FALSE},  // rounds to 10: the east and north edges belong to the neighbour
        {&box, 10.0f, 5.0f, FALSE},
        {&box, 5.0f, 10.0f, FALSE},
        {&box, -1.5f, 5.0f, FALSE},
        {&box, -0.4f, 5.0f, TRUE},
        {&box, 5.0f, -30.0f, FALSE},
        {&star, 200.0f, 200.0f, FALSE},  // the middle pentagon
        {&star, 200.0f, 280.0f, TRUE},   // the top point
        {&star, 120.0f, 227.0f, TRUE},   // the west point
        {&star, 100.0f, 100.0f, FALSE},
        {&cup, 15.0f, 20.0f, FALSE},
        {&cup, 5.0f, 20.0f, TRUE},
        {&cup, 15.0f, 5.0f, TRUE},
        {&cup, 25.0f, 29.0f, TRUE},
        {&sliver, 20.0f, 5.0f, FALSE},  // two points hold no area
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.feature->ContainsPoint(c.x, c.y), c.inside) << "at (" << c.x << ", " << c.y << ")";
}

namespace
{
// Terrain in which every listed type has one feature over the square
// (0, 0)-(100, 100), in list order.
struct Stack
{
    CTerrainArray terrain;

    explicit Stack(const std::vector<CTerrainType*>& types)
    {
        for (CTerrainType* type : types)
        {
            const int index = terrain.AddType(type);
            terrain.AddFeature(new CTerrain(index, Box(0, 0, 100, 100)));
        }
    }
};
}  // namespace

TEST(TerrainQueries, SpeedFactorOfOverlappingFeatures)
{
    struct Case
    {
        const char* what;
        std::vector<float> speeds;
        float expected;
    } cases[] = {
        {"open ground", {}, 1.0f},
        {"woods then road", {0.5f, 1.5f}, 1.5f},
        {"road then woods", {1.5f, 0.5f}, 1.5f},  // the first road wins at once
        {"woods and mud", {0.5f, 0.6f}, 0.3f},
        {"woods, road, mud", {0.5f, 1.5f, 0.6f}, 1.5f},
        {"woods and plain grass", {0.5f, 1.0f}, 0.5f},
        {"water", {-1.0f}, -1.0f},
        {"impassable", {0.0f}, 0.0f},
    };
    for (const Case& c : cases)
    {
        std::vector<CTerrainType*> types;
        for (float speed : c.speeds)
            types.push_back(MakeType("t", speed));
        Stack stack(types);
        EXPECT_FLOAT_EQ(stack.terrain.GetSpeedFactor(50.0f, 50.0f, 0), c.expected) << c.what;
        EXPECT_FLOAT_EQ(stack.terrain.GetSpeedFactor(150.0f, 50.0f, 0), 1.0f) << c.what << " (outside)";
    }
}

TEST(TerrainQueries, FiltersChooseWhichFeaturesTheSearchSees)
{
    struct Case
    {
        const char* what;
        CTerrainType* type;
        int filter;
        bool found;
    } cases[] = {
        {"height 0, filter 2", MakeType("t", 1.0f, 0), kTerrainFilterHeight, false},
        {"height 5, filter 2", MakeType("t", 1.0f, 5), kTerrainFilterHeight, true},
        {"aux unset, filter 4", MakeType("t", 1.0f, 0, 1.0f, kUnset), kTerrainFilterAuxCode, false},
        {"aux 3, filter 4", MakeType("t", 1.0f, 0, 1.0f, 3), kTerrainFilterAuxCode, true},
        {"obscuring but flat, filter 8", MakeType("t", 1.0f, 0, 0.7f), kTerrainFilterObscuring, false},
        {"obscuring and tall, filter 8", MakeType("t", 1.0f, 5, 0.7f), kTerrainFilterObscuring, true},
        {"tall but clear, filter 8", MakeType("t", 1.0f, 5, 1.0f), kTerrainFilterObscuring, false},
        {"speed 1.0, filter 16", MakeType("t", 1.0f), kTerrainFilterSpeed, false},
        {"speed 0.5, filter 16", MakeType("t", 0.5f), kTerrainFilterSpeed, true},
        {"anything, filter 1", MakeType("t", 1.0f), kTerrainFilterAll, true},
        {"anything, filter 3", MakeType("t", 1.0f), 3, true},
    };
    for (const Case& c : cases)
    {
        Stack stack({c.type});
        EXPECT_EQ(stack.terrain.FindFeatureAt(50.0f, 50.0f, c.filter), c.found ? 0 : kUnset) << c.what;
    }

    Stack flatWoods({MakeType("t", 1.0f, 0, 0.7f)});
    EXPECT_FLOAT_EQ(flatWoods.terrain.GetObscurationAt(50.0f, 50.0f), 1.0f);
}

TEST(TerrainQueries, FindFeatureAtWalksEveryMatchThenStartsAgain)
{
    Stack stack({MakeType("a", 1.0f), MakeType("b", 0.5f), MakeType("c", 1.0f)});
    EXPECT_EQ(stack.terrain.FindFeatureAt(50.0f, 50.0f, kTerrainFilterAll), 0);
    EXPECT_EQ(stack.terrain.FindFeatureAt(50.0f, 50.0f, kTerrainFilterAll), 1);
    EXPECT_EQ(stack.terrain.FindFeatureAt(50.0f, 50.0f, kTerrainFilterAll), 2);
    EXPECT_EQ(stack.terrain.FindFeatureAt(50.0f, 50.0f, kTerrainFilterAll), kUnset);
    EXPECT_EQ(stack.terrain.GetSearchCursor(), -1);
    EXPECT_EQ(stack.terrain.FindFeatureAt(50.0f, 50.0f, kTerrainFilterSpeed), 1);
    EXPECT_EQ(stack.terrain.FindFeatureAt(50.0f, 50.0f, kTerrainFilterSpeed), kUnset);
}

TEST(TerrainQueries, EveryQueryStartsFromTheFirstFeatureWhateverTheSearchBeforeLeft)
{
    // A caller that takes only the first feature leaves the cursor on it.
    Stack woodsAndMud({MakeType("Woods", 0.5f, 150, 0.5f), MakeType("Mud", 0.6f)});
    EXPECT_EQ(woodsAndMud.terrain.FindFeatureAt(50.0f, 50.0f, kTerrainFilterAll), 0);
    EXPECT_FLOAT_EQ(woodsAndMud.terrain.GetSpeedFactor(50.0f, 50.0f, 0), 0.3f);
    EXPECT_EQ(woodsAndMud.terrain.FindFeatureAt(50.0f, 50.0f, kTerrainFilterAll), 0);
    EXPECT_EQ(woodsAndMud.terrain.GetFeatureHeightAt(50.0f, 50.0f), 150);
    EXPECT_STREQ(woodsAndMud.terrain.GetTerrainNameAt(50.0f, 50.0f), "Woods");

    // A speed query stops at the road; the queries after it still see the
    // woods before it, and so does the movement code's search right after.
    Stack woodsThenRoad({MakeType("Woods", 0.5f, 150, 0.5f), MakeType("Road", 1.5f)});
    EXPECT_FLOAT_EQ(woodsThenRoad.terrain.GetSpeedFactor(50.0f, 50.0f, 0), 1.5f);
    EXPECT_EQ(woodsThenRoad.terrain.FindFeatureAt(50.0f, 50.0f, kTerrainFilterSpeed), 0);
    EXPECT_FLOAT_EQ(woodsThenRoad.terrain.GetSpeedFactor(50.0f, 50.0f, 0), 1.5f);
    EXPECT_EQ(woodsThenRoad.terrain.GetFeatureHeightAt(50.0f, 50.0f), 150);
    EXPECT_FLOAT_EQ(woodsThenRoad.terrain.GetObscurationAt(50.0f, 50.0f), 0.5f);
}

TEST(TerrainQueries, HeightObscurationAndName)
{
    struct Case
    {
        const char* what;
        std::vector<CTerrainType*> types;
        int height;
        float obscuration;
        const char* name;
    } cases[] = {
        {"nothing", {}, 0, 1.0f, ""},
        {"heights 5 and 12",
         {MakeType("Scrub", 1.0f, 5, 0.8f), MakeType("Forest", 1.0f, 12, 0.5f)},
         12,
         0.4f,
         "Forest"},
        {"heights 12 and 5",
         {MakeType("Forest", 1.0f, 12, 0.5f), MakeType("Scrub", 1.0f, 5, 0.8f)},
         12,
         0.4f,
         "Forest"},
        {"equal heights", {MakeType("First", 1.0f, 7, 0.5f), MakeType("Second", 1.0f, 7, 0.5f)}, 7, 0.25f, "First"},
        {"flat ground still has a name", {MakeType("Field", 0.9f)}, 0, 1.0f, "Field"},
        {"flat obscuring ground does not obscure", {MakeType("Haze", 1.0f, 0, 0.3f)}, 0, 1.0f, "Haze"},
    };
    for (const Case& c : cases)
    {
        Stack stack(c.types);
        EXPECT_EQ(stack.terrain.GetFeatureHeightAt(50.0f, 50.0f), c.height) << c.what;
        EXPECT_FLOAT_EQ(stack.terrain.GetObscurationAt(50.0f, 50.0f), c.obscuration) << c.what;
        EXPECT_STREQ(stack.terrain.GetTerrainNameAt(50.0f, 50.0f), c.name) << c.what;
    }
}

TEST(TerrainQueries, BlockingFeatureByMoverClass)
{
    struct Case
    {
        float speed;
        int moverFlags;
        bool blocked;
    } cases[] = {
        {-1.0f, 0x2, true},    {0.0f, 0x2, false},  // a climber is held only by a negative factor
        {0.0f, 0x1, true},     {-1.0f, 0x1, true},  {0.5f, 0x1, false},
        {0.0f, 0x3, true},     {-1.0f, 0x0, false},                        // no class bits: nothing blocks
        {-1.0f, 0x4, false},   {-1.0f, 0x8, false}, {-1.0f, 0x101, true},  // only the low byte counts
        {-1.0f, 0x100, false},
    };
    for (const Case& c : cases)
    {
        Stack stack({MakeType("open", 1.0f), MakeType("t", c.speed)});
        CTerrain* feature = nullptr;
        EXPECT_EQ(stack.terrain.FindBlockingFeature(50.0f, 50.0f, &feature, c.moverFlags), c.blocked ? 1 : 0)
            << "speed " << c.speed << " flags " << c.moverFlags;
        EXPECT_EQ(feature, c.blocked ? stack.terrain.GetFeature(1) : nullptr);
        EXPECT_EQ(stack.terrain.FindBlockingFeature(150.0f, 50.0f, &feature, c.moverFlags), 0);
    }
}

TEST(TerrainArray, AddFeatureRefusesATypeIndexOutsideTheList)
{
    CTerrainArray terrain;
    terrain.AddType(MakeType("t", 1.0f));
    EXPECT_EQ(terrain.AddFeature(new CTerrain(1, Box(0, 0, 10, 10))), -1);
    EXPECT_EQ(terrain.AddFeature(new CTerrain(-1, Box(0, 0, 10, 10))), -1);
    EXPECT_EQ(terrain.AddFeature(new CTerrain(0, Box(0, 0, 10, 10))), 0);
    EXPECT_EQ(terrain.GetFeatureCount(), 1);
}

TEST(TerrainType, ColourSetsChoosePenAndBrush)
{
    CTerrainType woods("Woods", 0.5f, kUnset, 150, 0.5f, Colours(0, 110, 0, HS_DIAGCROSS),
                       Colours(0, 80, 0, kUnset, TRUE));
    EXPECT_TRUE(woods.IsSet1Active());
    ASSERT_NE(woods.GetPen(), nullptr);
    EXPECT_EQ(woods.GetPen()->GetColor(), RGB(0, 110, 0));
    EXPECT_EQ(woods.GetPen()->GetWidth(), 1);
    ASSERT_NE(woods.GetBrush(), nullptr);
    EXPECT_EQ(woods.GetBrush()->GetStyle(), BS_HATCHED);
    EXPECT_EQ(woods.GetBrush()->GetHatch(), HS_DIAGCROSS);

    woods.SetColourSet(0);
    EXPECT_FALSE(woods.IsSet1Active());
    EXPECT_EQ(woods.GetColour(), RGB(0, 80, 0));
    EXPECT_EQ(woods.GetPen()->GetColor(), RGB(0, 80, 0));
    EXPECT_EQ(woods.GetBrush(), nullptr);  // fill style -99

    CTerrainType water("Water", 1.0f, kUnset, 0, -1.0f, Colours(40, 90, 210, kTerrainFillSolid),
                       Colours(40, 90, 210, 99));
    EXPECT_EQ(water.GetBrush()->GetStyle(), BS_SOLID);
    water.SetColourSet(0);
    EXPECT_EQ(water.GetBrush(), nullptr);  // an unknown style fills nothing

    // The map's display mode: 0 the colour map (set 1), anything else set 2.
    CTerrainArray terrain;
    terrain.AddType(MakeType("a", 1.0f));
    terrain.AddType(MakeType("b", 1.0f));
    terrain.SetColourSet(2);
    EXPECT_FALSE(terrain.GetType(0)->IsSet1Active());
    EXPECT_FALSE(terrain.GetType(1)->IsSet1Active());
    terrain.SetColourSet(0);
    EXPECT_TRUE(terrain.GetType(1)->IsSet1Active());
}

TEST(TerrainQueries, HeightAndObscurationAgreeWithAWalkOverEveryFeature)
{
    // Many overlapping features of mixed kinds; the point queries look only
    // at the features listed for the point's square and must answer exactly
    // what a walk over the whole list with the search gives.
    CTerrainArray terrain;
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> at(-200, 3000);
    std::uniform_int_distribution<int> size(5, 600);
    std::uniform_int_distribution<int> height(0, 3);
    const float obscurations[] = {1.0f, 0.9f, 0.7f, 0.55f, 0.3f};
    for (int t = 0; t < 12; ++t)
        terrain.AddType(MakeType("t", 1.0f, height(rng) * 50, obscurations[t % 5]));
    for (int i = 0; i < 150; ++i)
    {
        const int x = at(rng), y = at(rng), w = size(rng), h = size(rng);
        terrain.AddFeature(new CTerrain(i % 12, {CPoint(x, y), CPoint(x + w, y + h / 3), CPoint(x + w / 2, y + h)}));
    }
    std::uniform_real_distribution<float> point(-300.0f, 3700.0f);
    int withHeight = 0;
    for (int k = 0; k < 4000; ++k)
    {
        const float x = point(rng), y = point(rng);
        int expectedHeight = 0;
        for (int i = terrain.FindFeatureAt(x, y, kTerrainFilterHeight); i != kUnset;
             i = terrain.FindFeatureAt(x, y, kTerrainFilterHeight))
            expectedHeight =
                std::max(expectedHeight, terrain.GetType(terrain.GetFeature(i)->GetTypeIndex())->GetHeight());
        float expectedObscuration = 1.0f;
        for (int i = terrain.FindFeatureAt(x, y, kTerrainFilterObscuring); i != kUnset;
             i = terrain.FindFeatureAt(x, y, kTerrainFilterObscuring))
            expectedObscuration *= terrain.GetType(terrain.GetFeature(i)->GetTypeIndex())->GetObscuration();
        ASSERT_EQ(terrain.GetFeatureHeightAt(x, y), expectedHeight) << x << ", " << y;
        ASSERT_EQ(terrain.GetObscurationAt(x, y), expectedObscuration) << x << ", " << y;
        if (expectedHeight > 0)
        {
            ++withHeight;
            EXPECT_TRUE(terrain.MayHaveFeatureHeightAt(x, y));
        }
    }
    EXPECT_GT(withHeight, 400);
}

TEST(TerrainQueries, HeightAndObscurationTogetherAgreeWithEachAloneOverAGrid)
{
    // Over a grid the index takes back the marks of cells no feature
    // reaches and answers cells wholly inside one feature without a
    // search; the answers stay those of the walk. Big round woods (whole
    // cells inside), thin triangles (cells their edges cross), overlaps,
    // and features past the grid's edges.
    CTerrainArray terrain;
    terrain.SetGrid(300, 250);  // 3000 x 2500 m
    std::mt19937 rng(5);
    terrain.AddType(MakeType("Woods", 0.5f, 150, 0.5f));
    terrain.AddType(MakeType("Scrub", 1.0f, 30, 0.8f));
    terrain.AddType(MakeType("Hedge", 1.0f, 20, 1.0f));
    terrain.AddType(MakeType("Water", -1.0f));
    std::uniform_int_distribution<int> at(-100, 3100);
    std::uniform_int_distribution<int> size(20, 400);
    for (int i = 0; i < 40; ++i)
    {
        const int cx = at(rng), cy = at(rng), rx = size(rng), ry = size(rng);
        std::vector<CPoint> ring;
        for (int k = 0; k < 12; ++k)
        {
            const double a = 6.283185307179586 * k / 12;
            ring.emplace_back(cx + static_cast<int>(rx * std::cos(a)), cy + static_cast<int>(ry * std::sin(a)));
        }
        terrain.AddFeature(new CTerrain(i % 4, ring));
        const int x = at(rng), y = at(rng);
        terrain.AddFeature(new CTerrain(i % 3, {CPoint(x, y), CPoint(x + rx, y + 7), CPoint(x + 3, y + ry)}));
    }
    std::uniform_real_distribution<float> point(-150.0f, 3150.0f);
    std::uniform_int_distribution<int> fraction(0, 3);
    int withHeight = 0;
    for (int k = 0; k < 40000; ++k)
    {
        // Whole metres, halves and points between.
        const float x = std::floor(point(rng)) + 0.25f * fraction(rng);
        const float y = std::floor(point(rng)) + 0.25f * fraction(rng);
        int height = -1;
        float obscuration = -1.0f;
        terrain.GetFeatureHeightAndObscurationAt(x, y, &height, &obscuration);
        ASSERT_EQ(height, terrain.GetFeatureHeightAt(x, y)) << x << ", " << y;
        ASSERT_EQ(obscuration, terrain.GetObscurationAt(x, y)) << x << ", " << y;
        if (height > 0)
        {
            ++withHeight;
            ASSERT_TRUE(terrain.MayHaveFeatureHeightAt(x, y)) << x << ", " << y;
        }
    }
    EXPECT_GT(withHeight, 4000);
}
