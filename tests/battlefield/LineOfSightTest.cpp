// Line of sight, slope and speed factors, the blocking walks and tests.
#include "BattlefieldTestSupport.h"

#include "battlefield/AITerrain.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/SightMarch.h"
#include "battlefield/TerrainArray.h"
#include "platform/core/Rounding.h"

#include "../../tools/demo_terrain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using namespace bftest;

namespace
{
constexpr float kNotWritten = -12345.0f;
constexpr short kPlain = 1000;  // 100 m

// Flat ground 2000 x 1000 m at 100 m with a ridge of the given height
// (tenths of a metre) running north to south over x = 945 .. 1055 m.
void MakeRidge(CElevationMap& map, short ridge)
{
    MakeFlat(map, 2000, 1000, kPlain);
    for (int c = 95; c <= 105; ++c)
        for (int r = 0; r < map.GetRows(); ++r)
            map.SetElevation(c, r, static_cast<short>(kPlain + ridge));
}

struct Sight
{
    int visible = -1;
    float bearing = kNotWritten;
    float slantRange = kNotWritten;
    float visibility = kNotWritten;
};

Sight Look(const CElevationMap& map, float x1, float y1, float x2, float y2, float observerHeight, float targetHeight)
{
    Sight s;
    s.visible =
        map.HasLineOfSight(x1, y1, x2, y2, observerHeight, targetHeight, &s.bearing, &s.slantRange, &s.visibility);
    return s;
}

int AddFeature(CElevationMap& map, CTerrainType* type, const std::vector<CPoint>& points)
{
    const int index = map.GetTerrain()->AddType(type);
    return map.GetTerrain()->AddFeature(new CTerrain(index, points));
}

const float kEast = static_cast<float>(std::atan2(1.0, 0.0));
}  // namespace

TEST(LineOfSight, AcrossTheRidge)
{
    CElevationMap map;
    MakeRidge(map, 50);  // 5 m above the plain

    // Eyes 2 m above the plain: the ridge masks the target 1 km away.
    Sight low = Look(map, 500.0f, 500.0f, 1500.0f, 500.0f, 20.0f, 20.0f);
    EXPECT_EQ(low.visible, 0);
    EXPECT_FLOAT_EQ(low.bearing, kEast);  // written before the walk
    EXPECT_EQ(low.visibility, 1.0f);      // nothing obscured before the ridge
    EXPECT_EQ(low.slantRange, kNotWritten);    // not written when masked

    // From a 10 m mast the same target shows over the ridge.
    Sight high = Look(map, 500.0f, 500.0f, 1500.0f, 500.0f, 100.0f, 20.0f);
    EXPECT_EQ(high.visible, 1);
    EXPECT_EQ(high.visibility, 1.0f);
    // In tenths of a metre: 10 000 across, 79 down (the target raised by one).
    EXPECT_FLOAT_EQ(high.slantRange, static_cast<float>(std::sqrt(10000.0 * 10000.0 + 79.0 * 79.0)));

    // Seen the other way round, the bearing is west.
    Sight back = Look(map, 1500.0f, 500.0f, 500.0f, 500.0f, 100.0f, 20.0f);
    EXPECT_EQ(back.visible, 1);
    EXPECT_FLOAT_EQ(back.bearing, -kEast);
}

TEST(LineOfSight, CasesFromTheRules)
{
    struct Case
    {
        const char* what;
        short sampleGround;  // the ground 100 m from the observer
        short targetGround;
        int visible;
    } cases[] = {
        // Eye at 1020 (tenths), target top at 1400, 200 m away: at 100 m the
        // straight line runs at 1210. Ground exactly on it does not mask.
        {"ground on the line", 1210, 1400, 1},
        {"ground 0.2 m above the line", 1212, 1400, 0},
        {"ground well below", 1100, 1400, 1},
        // An exact tie of the two slopes after the one-unit shifts: the
        // sample's angle equals the target's, which does not mask.
        {"equal slopes", 1121, 1219, 1},
    };
    for (const Case& c : cases)
    {
        CElevationMap map;
        MakeFlat(map, 2000, 1000, kPlain);
        map.SetElevation(60, 50, c.sampleGround);  // x = 600
        map.SetElevation(70, 50, c.targetGround);  // x = 700
        Sight s = Look(map, 500.0f, 500.0f, 700.0f, 500.0f, 20.0f, 0.0f);
        EXPECT_EQ(s.visible, c.visible) << c.what;
    }
}

TEST(LineOfSight, TargetsCloseByAreSeenWhateverLiesBetween)
{
    // 15 m apart: no sample in between, only the concealment at both ends.
    CElevationMap map;
    MakeFlat(map, 1000, 1000, kPlain);
    map.SetElevation(51, 50, 3000);  // a 200 m tower between them
    Sight s = Look(map, 500.0f, 500.0f, 515.0f, 500.0f, 20.0f, 20.0f);
    EXPECT_EQ(s.visible, 1);
    EXPECT_EQ(s.visibility, 1.0f);

    // An observer inside scrub at least as tall as his eye: (1 + 0.2) / 2.
    AddFeature(map, MakeType("Scrub", 1.0f, 30, 0.2f), Box(490, 490, 505, 510));
    s = Look(map, 500.0f, 500.0f, 515.0f, 500.0f, 20.0f, 20.0f);
    EXPECT_EQ(s.visible, 1);
    EXPECT_FLOAT_EQ(s.visibility, 0.6f);
    // With his eye above the scrub he is not concealed.
    s = Look(map, 500.0f, 500.0f, 515.0f, 500.0f, 40.0f, 20.0f);
    EXPECT_FLOAT_EQ(s.visibility, 1.0f);
    // A target inside it is concealed the same way.
    s = Look(map, 515.0f, 500.0f, 500.0f, 500.0f, 40.0f, 20.0f);
    EXPECT_FLOAT_EQ(s.visibility, 0.6f);
}

TEST(LineOfSight, WoodsAlongTheLineObscureEachSampleTheyRiseAbove)
{
    CElevationMap map;
    MakeFlat(map, 2000, 1000, kPlain);
    // 30 m deep: the samples at x = 800, 810 and 820 lie inside.
    AddFeature(map, MakeType("Woods", 0.5f, 150, 0.5f), Box(795, 400, 825, 600));

    Sight s = Look(map, 500.0f, 500.0f, 1500.0f, 500.0f, 20.0f, 20.0f);
    EXPECT_EQ(s.visible, 1);
    EXPECT_FLOAT_EQ(s.visibility, 0.125f);

    // From 500 m up the tree tops lie below the line to the target.
    s = Look(map, 500.0f, 500.0f, 1500.0f, 500.0f, 5000.0f, 20.0f);
    EXPECT_EQ(s.visible, 1);
    EXPECT_FLOAT_EQ(s.visibility, 1.0f);

    // Masked behind a ridge past the woods: the factors applied so far stay.
    map.SetElevation(100, 50, 1500);
    s = Look(map, 500.0f, 500.0f, 1500.0f, 500.0f, 20.0f, 20.0f);
    EXPECT_EQ(s.visible, 0);
    EXPECT_FLOAT_EQ(s.visibility, 0.125f);
}

TEST(LineOfSight, SamplesOffTheMapNeverMask)
{
    CElevationMap map;
    MakeFlat(map, 2000, 1000, 0);
    // A target beyond the east edge with its ground given: every sample past
    // the edge reads -99 and lies below the line.
    float bearing = 0.0f;
    float slant = 0.0f;
    float visibility = 0.0f;
    EXPECT_EQ(map.HasLineOfSightEx(1990.0f, 500.0f, kElevationLookUp, 2300.0f, 500.0f, 0, 20.0f, 200.0f, &bearing,
                                   &slant, &visibility),
              1);
    EXPECT_EQ(visibility, 1.0f);
}

TEST(LineOfSight, GivenGroundsReplaceTheLookUpAndItsConcealment)
{
    CElevationMap map;
    MakeRidge(map, 50);
    AddFeature(map, MakeType("Woods", 0.5f, 150, 0.5f), Box(495, 495, 505, 505));
    float bearing = 0.0f;
    float slant = 0.0f;
    float visibility = 0.0f;
    // Looked up: masked by the ridge.
    EXPECT_EQ(map.HasLineOfSightEx(500.0f, 500.0f, kElevationLookUp, 1500.0f, 500.0f, kElevationLookUp, 20.0f, 20.0f,
                                   &bearing, &slant, &visibility),
              0);
    // Standing on a 10 m platform instead: seen, and no concealment from the
    // woods below him because his ground was given.
    EXPECT_EQ(map.HasLineOfSightEx(500.0f, 500.0f, kPlain + 80, 1500.0f, 500.0f, kElevationLookUp, 20.0f, 20.0f,
                                   &bearing, &slant, &visibility),
              1);
    EXPECT_FLOAT_EQ(visibility, 1.0f);
    // Looked up from inside the woods but the target stands in the open:
    // concealment at his end only.
    EXPECT_EQ(map.HasLineOfSightEx(500.0f, 500.0f, kElevationLookUp, 515.0f, 500.0f, kElevationLookUp, 20.0f, 20.0f,
                                   &bearing, &slant, &visibility),
              1);
    EXPECT_FLOAT_EQ(visibility, 0.75f);
}

// ---------------------------------------------------------------------------
// Exactness and cost of the sight line

namespace
{
// The sight line computed plainly, an arc tangent for every comparison.
// The grounds are looked up where kElevationLookUp asks, and only then is
// the concealment at that end applied.
int PlainLineOfSight(const CElevationMap& map, float x1, float y1, int observerGround, float x2, float y2,
                     int targetGround, float oh, float th, float* bearing, float* slant, float* visibility)
{
    const CTerrainArray& terrain = *map.GetTerrain();
    const bool lookUpObserver = observerGround == kElevationLookUp;
    const bool lookUpTarget = targetGround == kElevationLookUp;
    float seen = 1.0f;
    *visibility = seen;
    const long long eye = (lookUpObserver ? map.GetElevation(x1, y1) : observerGround) + RoundHalfUpTrunc(oh);
    const long long dh = RoundHalfUpTrunc(th) + (lookUpTarget ? map.GetElevation(x2, y2) : targetGround) - eye + 1;
    const double dx = (static_cast<double>(x2) - x1) * 10.0;
    const double dy = (static_cast<double>(y2) - y1) * 10.0;
    const double b = std::atan2(dx, dy);
    *bearing = static_cast<float>(b);
    const double d = std::sqrt(dy * dy + dx * dx);
    const double a = std::atan2(static_cast<double>(dh), d);
    const int n = TruncToInt(d * 0.01);
    for (int i = 1; i < n; ++i)
    {
        const double r = i * 100.0;
        const float sx = static_cast<float>((std::sin(b) * r + 10.0 * x1) * 0.1);
        const float sy = static_cast<float>((std::cos(b) * r + 10.0 * y1) * 0.1);
        const long long e = map.GetElevation(sx, sy);
        if (std::atan2(static_cast<double>(e - eye - 1), r) > a)
        {
            *visibility = seen;
            return 0;
        }
        const int t = terrain.GetFeatureHeightAt(sx, sy);
        if (t != 0 && std::atan2(static_cast<double>(e + 2LL * t - eye), r) > a)
            seen *= terrain.GetObscurationAt(sx, sy);
    }
    float f = terrain.GetObscurationAt(x2, y2);
    if (lookUpTarget && terrain.GetFeatureHeightAt(x2, y2) >= th)
        seen = static_cast<float>(seen * ((1.0 - f) * 0.5 + f));
    f = terrain.GetObscurationAt(x1, y1);
    if (lookUpObserver && terrain.GetFeatureHeightAt(x1, y1) >= oh)
        seen = static_cast<float>(seen * ((1.0 - f) * 0.5 + f));
    *visibility = seen;
    *slant = static_cast<float>(std::sqrt(d * d + static_cast<double>(dh) * static_cast<double>(dh)));
    return 1;
}

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct SightQuery
{
    float x1, y1, x2, y2;
    float observerHeight, targetHeight;
    int observerGround = kElevationLookUp;
    int targetGround = kElevationLookUp;
};

// What a set of queries showed, both ways along each line.
struct SightTally
{
    int queries = 0;
    int seen = 0;
    int obscured = 0;  // seen, but through something
};

// Runs every query from each end and compares everything the query writes
// with the plain computation, bit for bit; nothing written is compared
// against nothing written.
SightTally ExpectSameAsPlain(const CElevationMap& map, const std::vector<SightQuery>& queries, const char* what)
{
    SightTally tally;
    for (size_t k = 0; k < queries.size(); ++k)
    {
        const SightQuery& q = queries[k];
        for (int way = 0; way < 2; ++way)
        {
            const SightQuery s = way == 0 ? q : SightQuery{q.x2,           q.y2,
                                                           q.x1,           q.y1,
                                                           q.targetHeight, q.observerHeight,
                                                           q.targetGround, q.observerGround};
            float b1 = kNotWritten, s1 = kNotWritten, v1 = kNotWritten;
            float b2 = kNotWritten, s2 = kNotWritten, v2 = kNotWritten;
            const int fast = map.HasLineOfSightEx(s.x1, s.y1, s.observerGround, s.x2, s.y2, s.targetGround,
                                                  s.observerHeight, s.targetHeight, &b1, &s1, &v1);
            const int plain = PlainLineOfSight(map, s.x1, s.y1, s.observerGround, s.x2, s.y2, s.targetGround,
                                               s.observerHeight, s.targetHeight, &b2, &s2, &v2);
            const auto where = [&]
            {
                return ::testing::Message() << what << " query " << k << (way == 0 ? " forward" : " backward") << ": ("
                                            << s.x1 << ", " << s.y1 << ") to (" << s.x2 << ", " << s.y2 << ")";
            };
            EXPECT_EQ(fast, plain) << where();
            EXPECT_TRUE(SameBits(b1, b2)) << where() << " bearing " << b1 << " / " << b2;
            EXPECT_TRUE(SameBits(v1, v2)) << where() << " visibility " << v1 << " / " << v2;
            EXPECT_TRUE(SameBits(s1, s2)) << where() << " slant range " << s1 << " / " << s2;
            if (fast != plain || !SameBits(v1, v2) || !SameBits(s1, s2))
                return tally;  // one report of a line is enough
            ++tally.queries;
            tally.seen += fast;
            tally.obscured += fast == 1 && v1 < 1.0f ? 1 : 0;
        }
    }
    return tally;
}

// Runs the sight line over the plain march, or over the one the processor
// is given, until the scope ends.
class ScopedSightKernel
{
public:
    explicit ScopedSightKernel(bool plain) { UsePlainSightMarch(plain); }
    ~ScopedSightKernel() { UsePlainSightMarch(false); }
    ScopedSightKernel(const ScopedSightKernel&) = delete;
    ScopedSightKernel& operator=(const ScopedSightKernel&) = delete;
};

float Uniform(std::mt19937& rng, float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); }
}  // namespace

TEST(LineOfSight, AgreesExactlyWithThePlainComputationOverTheDemoGround)
{
    const auto map = demo_terrain::BuildDemoElevationMap();
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<float> x(-50.0f, demo_terrain::kWidth + 50.0f);
    std::uniform_real_distribution<float> y(-50.0f, demo_terrain::kHeight + 50.0f);
    std::uniform_real_distribution<float> height(0.0f, 400.0f);
    int seenCount = 0;
    for (int q = 0; q < 1500; ++q)
    {
        const float x1 = x(rng), y1 = y(rng), x2 = x(rng), y2 = y(rng), oh = height(rng), th = height(rng);
        float b1 = kNotWritten, s1 = kNotWritten, v1 = kNotWritten;
        float b2 = kNotWritten, s2 = kNotWritten, v2 = kNotWritten;
        const int fast = map->HasLineOfSight(x1, y1, x2, y2, oh, th, &b1, &s1, &v1);
        const int plain =
            PlainLineOfSight(*map, x1, y1, kElevationLookUp, x2, y2, kElevationLookUp, oh, th, &b2, &s2, &v2);
        ASSERT_EQ(fast, plain) << q;
        ASSERT_TRUE(SameBits(b1, b2)) << q;
        ASSERT_TRUE(SameBits(v1, v2)) << q;
        ASSERT_TRUE(SameBits(s1, s2)) << q;
        seenCount += fast;
    }
    // Both outcomes occur often enough to mean something.
    EXPECT_GT(seenCount, 100);
    EXPECT_LT(seenCount, 1400);
}

// The same comparison over the lines that take the query's other paths:
// through and along woods, over and along the map's edges, along cell
// edges, grazing the ground, with given grounds, and long lines far from
// the origin. Every line is looked along from both ends.
TEST(LineOfSight, AgreesExactlyWithThePlainComputationThroughWoodsAtEdgesAndBothWays)
{
    const auto demo = demo_terrain::BuildDemoElevationMap();
    const float width = static_cast<float>(demo_terrain::kWidth);
    const float height = static_cast<float>(demo_terrain::kHeight);
    std::mt19937 rng(1414);
    auto eyes = [&] { return std::uniform_int_distribution<int>(0, 3)(rng) == 0 ? 0.0f : Uniform(rng, 0.0f, 300.0f); };

    // Within a kilometre of the demo's woods, often from inside them.
    std::vector<SightQuery> woods;
    const float woodsAt[][2] = {{2600.0f, 2350.0f}, {650.0f, 2300.0f}, {3450.0f, 950.0f}};
    for (int k = 0; k < 900; ++k)
    {
        const float* c = woodsAt[k % 3];
        const float reach = k % 2 == 0 ? 400.0f : 1000.0f;
        woods.push_back({c[0] + Uniform(rng, -reach, reach), c[1] + Uniform(rng, -reach, reach),
                         c[0] + Uniform(rng, -reach, reach), c[1] + Uniform(rng, -reach, reach), eyes(), eyes()});
    }
    // Ends near the edges and beyond them, lines along an edge and across a corner.
    std::vector<SightQuery> edges;
    for (int k = 0; k < 600; ++k)
    {
        const float e = Uniform(rng, -30.0f, 30.0f);
        const float f = Uniform(rng, -30.0f, 30.0f);
        const float along1 = Uniform(rng, -100.0f, width + 100.0f);
        const float along2 = Uniform(rng, -100.0f, width + 100.0f);
        switch (k % 4)
        {
        case 0: edges.push_back({along1, e, along2, f, eyes(), eyes()}); break;                    // south
        case 1: edges.push_back({along1, height + e, along2, height + f, eyes(), eyes()}); break;  // north
        case 2: edges.push_back({width + e, along1 * 0.75f, width + f, along2 * 0.75f, eyes(), eyes()}); break;
        default: edges.push_back({e, height + f, width + f, e, eyes(), eyes()}); break;  // corner to corner
        }
    }
    // Positions exactly on the cell edges (10c + 4.5 m) and on whole
    // metres, along the axes and the diagonals.
    std::vector<SightQuery> cellEdges;
    for (int k = 0; k < 400; ++k)
    {
        const float cx = 10.0f * std::uniform_int_distribution<int>(0, 399)(rng) + 4.5f;
        const float cy = 10.0f * std::uniform_int_distribution<int>(0, 299)(rng) + (k % 2 == 0 ? 4.5f : 0.0f);
        const float run = 10.0f * std::uniform_int_distribution<int>(-150, 150)(rng);
        switch (k % 3)
        {
        case 0: cellEdges.push_back({cx, cy, cx + run, cy, eyes(), eyes()}); break;
        case 1: cellEdges.push_back({cx, cy, cx, cy + run, eyes(), eyes()}); break;
        default: cellEdges.push_back({cx, cy, cx + run, cy + run, eyes(), eyes()}); break;
        }
    }
    // Lines that creep along a column's or a row's edge, a few units in the
    // last place of a float off it, where the float rounding of each
    // sample's position decides its cell.
    for (int k = 0; k < 300; ++k)
    {
        const bool column = k % 2 == 0;
        const int edges = column ? 398 : 298;
        float at = 10.0f * std::uniform_int_distribution<int>(1, edges)(rng) + 4.5f;
        const int units = std::uniform_int_distribution<int>(-4, 4)(rng);
        for (int u = 0; u < std::abs(units); ++u)
            at = std::nextafter(at, units > 0 ? 5000.0f : -5000.0f);
        const float drift = Uniform(rng, -0.01f, 0.01f);
        const float from = Uniform(rng, 0.0f, column ? height : width);
        const float to = Uniform(rng, 0.0f, column ? height : width);
        if (column)
            cellEdges.push_back({at, from, at + drift, to, eyes(), eyes()});
        else
            cellEdges.push_back({from, at, to, at + drift, eyes(), eyes()});
    }
    // Grounds given instead of looked up, some of them -99 (looked up).
    std::vector<SightQuery> given;
    for (int k = 0; k < 400; ++k)
    {
        SightQuery q{Uniform(rng, 0.0f, width),
                     Uniform(rng, 0.0f, height),
                     Uniform(rng, 0.0f, width),
                     Uniform(rng, 0.0f, height),
                     eyes(),
                     eyes()};
        const int choice = k % 4;
        q.observerGround = choice == 0 ? kElevationLookUp : std::uniform_int_distribution<int>(600, 1800)(rng);
        q.targetGround = choice == 1 ? kElevationLookUp : std::uniform_int_distribution<int>(600, 1800)(rng);
        given.push_back(q);
    }

    struct Case
    {
        const char* what;
        const std::vector<SightQuery>* queries;
        int leastObscured;  // lines seen through something
    } cases[] = {
        {"woods", &woods, 100},
        {"edges", &edges, 0},
        {"cell edges", &cellEdges, 0},
        {"given grounds", &given, 0},
    };
    for (const bool plain : {false, true})
    {
        const ScopedSightKernel kernel(plain);
        for (const Case& c : cases)
        {
            SCOPED_TRACE(plain ? "the plain march" : "the march this processor runs");
            const SightTally tally = ExpectSameAsPlain(*demo, *c.queries, c.what);
            EXPECT_EQ(tally.queries, static_cast<int>(2 * c.queries->size())) << c.what;
            // Both outcomes occur in every set.
            EXPECT_GT(tally.seen, tally.queries / 20) << c.what;
            EXPECT_LT(tally.seen, tally.queries - tally.queries / 20) << c.what;
            EXPECT_GE(tally.obscured, c.leastObscured) << c.what;
        }
    }
}

TEST(LineOfSight, AgreesExactlyWithThePlainComputationOnOddMapsGrazingLinesAndMapsBuiltAnyWay)
{
    std::mt19937 rng(77);
    // A map whose size is not a whole number of cells, so positions up to
    // 9 m past the last column and row round into it, with a wood over
    // its north-east corner reaching past both edges.
    CElevationMap odd;
    odd.SetGeometry(2009, 1007, 0, 0, 1);
    for (int c = 0; c < odd.GetColumns(); ++c)
        for (int r = 0; r < odd.GetRows(); ++r)
            odd.SetElevation(c, r,
                             static_cast<short>(1000 + std::lround(80.0 * std::sin(c / 23.0) * std::cos(r / 17.0))));
    AddFeature(odd, MakeType("Woods", 0.5f, 150, 0.5f), Box(1850, 900, 2100, 1100));
    std::vector<SightQuery> oddLines;
    for (int k = 0; k < 600; ++k)
        oddLines.push_back({Uniform(rng, 1700.0f, 2030.0f), Uniform(rng, 0.0f, 1030.0f), Uniform(rng, -20.0f, 2030.0f),
                            Uniform(rng, 800.0f, 1030.0f), Uniform(rng, 0.0f, 100.0f), Uniform(rng, 0.0f, 100.0f)});

    // Ground rising evenly 0.1 m every 10 m, and eyes on the ground: the
    // line to a target on the ground runs within a unit of every sample.
    CElevationMap slope;
    slope.SetGeometry(3000, 500, 0, 0, 1);
    for (int c = 0; c < slope.GetColumns(); ++c)
        for (int r = 0; r < slope.GetRows(); ++r)
            slope.SetElevation(c, r, static_cast<short>(500 + c));
    std::vector<SightQuery> grazing;
    for (int k = 0; k < 400; ++k)
        grazing.push_back({Uniform(rng, 0.0f, 3000.0f), Uniform(rng, 0.0f, 500.0f), Uniform(rng, 0.0f, 3000.0f),
                           Uniform(rng, 0.0f, 500.0f), static_cast<float>(k % 3), static_cast<float>(k % 2)});

    // A strip 32 km long, the longest lines at the positions where a float
    // keeps the fewest fractional bits.
    CElevationMap strip;
    strip.SetGeometry(32760, 400, 0, 0, 1);
    for (int c = 0; c < strip.GetColumns(); ++c)
        for (int r = 0; r < strip.GetRows(); ++r)
            strip.SetElevation(c, r, static_cast<short>(1000 + std::lround(60.0 * std::sin(c / 41.0 + r / 13.0))));
    AddFeature(strip, MakeType("Woods", 0.5f, 150, 0.5f), Box(30000, 100, 30400, 300));
    std::vector<SightQuery> far;
    for (int k = 0; k < 120; ++k)
        far.push_back({Uniform(rng, 0.0f, 4000.0f), Uniform(rng, 0.0f, 400.0f), Uniform(rng, 28000.0f, 32760.0f),
                       Uniform(rng, 0.0f, 400.0f),
                       k % 2 == 0 ? Uniform(rng, 100.0f, 3000.0f) : Uniform(rng, 0.0f, 50.0f),
                       k % 2 == 0 ? Uniform(rng, 100.0f, 3000.0f) : Uniform(rng, 0.0f, 50.0f)});

    // The demo map read back from its file, and a map whose woods came
    // before its ground: the copies the query keeps follow both.
    const auto demo = demo_terrain::BuildDemoElevationMap();
    CElevationMap loaded;
    LoadFromBytes(loaded, StoreToBytes(*demo));
    CElevationMap woodsFirst;
    woodsFirst.SetGeometry(demo_terrain::kWidth, demo_terrain::kHeight, 0, 0, 1);
    demo_terrain::AddDemoTerrain(*woodsFirst.GetTerrain());
    for (int c = 0; c < woodsFirst.GetColumns(); ++c)
        for (int r = 0; r < woodsFirst.GetRows(); ++r)
            woodsFirst.SetElevation(c, r, demo_terrain::GroundAt(10.0 * c, 10.0 * r));
    std::vector<SightQuery> acrossWoods;
    for (int k = 0; k < 300; ++k)
        acrossWoods.push_back({Uniform(rng, 300.0f, 1000.0f), Uniform(rng, 1900.0f, 2700.0f),
                               Uniform(rng, 2200.0f, 3900.0f), Uniform(rng, 700.0f, 2800.0f), Uniform(rng, 0.0f, 30.0f),
                               Uniform(rng, 0.0f, 300.0f)});

    struct Case
    {
        const char* what;
        const CElevationMap* map;
        const std::vector<SightQuery>* queries;
    } cases[] = {
        {"a map of odd size", &odd, &oddLines},
        {"grazing lines", &slope, &grazing},
        {"far along a strip", &strip, &far},
        {"the demo map read back", &loaded, &acrossWoods},
        {"woods laid before the ground", &woodsFirst, &acrossWoods},
    };
    for (const bool plain : {false, true})
    {
        const ScopedSightKernel kernel(plain);
        for (const Case& c : cases)
        {
            SCOPED_TRACE(plain ? "the plain march" : "the march this processor runs");
            const SightTally tally = ExpectSameAsPlain(*c.map, *c.queries, c.what);
            EXPECT_EQ(tally.queries, static_cast<int>(2 * c.queries->size())) << c.what;
            EXPECT_GT(tally.seen, 0) << c.what;
            EXPECT_LT(tally.seen, tally.queries) << c.what;
        }
    }
}

// Eyes and targets at about the height of the trees over a wood on ground
// that rises a unit every 20 m, with woods of two heights and
// obscurations side by side and a smaller wood inside the first, and an
// odd-shaped wood whose border cells answer per metre: the line runs
// within a unit of the tree tops, where a sample's tops are neither
// clearly above nor clearly below it, and the product of many woods'
// obscurations must come out the same to the last bit.
TEST(LineOfSight, AgreesExactlyWithThePlainComputationWhereTheLineSkimsTheTreeTops)
{
    std::mt19937 rng(91);
    CElevationMap map;
    map.SetGeometry(3000, 600, 0, 0, 1);
    for (int c = 0; c < map.GetColumns(); ++c)
        for (int r = 0; r < map.GetRows(); ++r)
            map.SetElevation(c, r, static_cast<short>(500 + c / 2));
    AddFeature(map, MakeType("Woods", 0.5f, 150, 0.5f), Box(100, 50, 1500, 550));
    AddFeature(map, MakeType("Pines", 0.5f, 120, 0.7f), Box(1500, 50, 2900, 550));
    AddFeature(map, MakeType("Scrub", 1.0f, 40, 0.9f), Box(600, 200, 800, 400));
    AddFeature(map, MakeType("Copse", 0.5f, 150, 0.5f),
               {CPoint(2000, 100), CPoint(2600, 180), CPoint(2450, 520), CPoint(2100, 430)});
    std::vector<SightQuery> skimming;
    for (int k = 0; k < 800; ++k)
    {
        // The tops stand 2 x the height over the ground, in tenths.
        const float tops = k % 2 == 0 ? 300.0f : 240.0f;
        skimming.push_back({Uniform(rng, 100.0f, 2900.0f), Uniform(rng, 50.0f, 550.0f), Uniform(rng, 100.0f, 2900.0f),
                            Uniform(rng, 50.0f, 550.0f), tops + Uniform(rng, -12.0f, 12.0f),
                            tops + Uniform(rng, -12.0f, 12.0f)});
    }
    for (const bool plain : {false, true})
    {
        const ScopedSightKernel kernel(plain);
        SCOPED_TRACE(plain ? "the plain march" : "the march this processor runs");
        const SightTally tally = ExpectSameAsPlain(map, skimming, "skimming the tree tops");
        EXPECT_EQ(tally.queries, static_cast<int>(2 * skimming.size()));
        EXPECT_GT(tally.obscured, tally.queries / 4);
        EXPECT_LT(tally.obscured, tally.seen);
    }
}

// The bearing is the arc tangent's, rounded to a float, in every
// direction: along and across the axes, with either zero, at every
// eighth of a turn, at random, over lengths from a hair to a kilometre,
// and for the directions whose angle lies so near the edge
// between two floats that only the arc tangent itself can tell.
TEST(LineOfSight, TheBearingIsTheArcTangentsToTheLastBitInEveryDirection)
{
    CElevationMap map;
    MakeFlat(map, 1000, 1000, kPlain);
    const auto expectBearing = [&](float x1, float y1, float x2, float y2)
    {
        const double dx = (static_cast<double>(x2) - static_cast<double>(x1)) * 10.0;
        const double dy = (static_cast<double>(y2) - static_cast<double>(y1)) * 10.0;
        const float want = static_cast<float>(std::atan2(dx, dy));
        float bearing = kNotWritten, slant = kNotWritten, visibility = kNotWritten;
        map.HasLineOfSight(x1, y1, x2, y2, 20.0f, 20.0f, &bearing, &slant, &visibility);
        EXPECT_TRUE(SameBits(bearing, want))
            << "(" << x1 << ", " << y1 << ") to (" << x2 << ", " << y2 << "): " << bearing << " / " << want;
    };
    for (const float ex : {-1.0f, -0.0f, 0.0f, 1.0f})
        for (const float ey : {-1.0f, -0.0f, 0.0f, 1.0f})
            for (const float size : {1e-30f, 0.001f, 3.0f, 500.0f})
            {
                expectBearing(0.0f, 0.0f, ex * size, ey * size);
                expectBearing(-0.0f, 500.0f, ex * size, 500.0f + ey * size);
            }
    expectBearing(0.0f, 0.0f, 1e-30f, 900.0f);
    expectBearing(0.0f, 0.0f, -900.0f, 1e-30f);
    std::mt19937 rng(1414);
    for (int k = 0; k < 3000; ++k)
    {
        const float x1 = Uniform(rng, -100.0f, 1100.0f), y1 = Uniform(rng, -100.0f, 1100.0f);
        const float scale = k % 3 == 0 ? 0.01f : (k % 3 == 1 ? 30.0f : 600.0f);
        expectBearing(x1, y1, x1 + Uniform(rng, -scale, scale), y1 + Uniform(rng, -scale, scale));
    }
    // Targets one float apart along a line from the origin: those whose
    // angle lies within 2^-41 of the half-way point between two floats,
    // where the arc tangent itself must decide.
    int nearEdge = 0;
    for (int turn = 0; turn < 16; ++turn)
    {
        const double angle = 0.39 * turn - 3.1;
        float x2 = static_cast<float>(600.0 * std::sin(angle));
        const float y2 = static_cast<float>(600.0 * std::cos(angle));
        for (int k = 0; k < 150000; ++k, x2 = std::nextafter(x2, 1e9f))
        {
            const double exact = std::atan2(static_cast<double>(x2) * 10.0, static_cast<double>(y2) * 10.0);
            const float rounded = static_cast<float>(exact);
            const float beyond = std::nextafter(rounded, exact > rounded ? 10.0f : -10.0f);
            const double halfway = 0.5 * (static_cast<double>(rounded) + static_cast<double>(beyond));
            if (std::fabs(exact - halfway) < std::fabs(exact) * 0x1p-41)
            {
                expectBearing(0.0f, 0.0f, x2, y2);
                ++nearEdge;
            }
        }
    }
    EXPECT_GT(nearEdge, 10);
}

// A target at no finite place (a bad coordinate) is answered at once, as
// the rule answers it: no sample of the line lies on the map to mask it.
TEST(LineOfSight, ALineToNoFinitePlaceIsAnsweredAtOnce)
{
    CElevationMap map;
    MakeFlat(map, 1000, 1000, kPlain);
    for (const float far : {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN()})
    {
        float bearing = kNotWritten, slant = kNotWritten, visibility = kNotWritten;
        EXPECT_EQ(map.HasLineOfSight(10.0f, 10.0f, far, 500.0f, 20.0f, 20.0f, &bearing, &slant, &visibility), 1) << far;
        EXPECT_EQ(visibility, 1.0f) << far;
        EXPECT_EQ(map.HasLineOfSight(10.0f, far, 300.0f, 500.0f, 20.0f, 20.0f, &bearing, &slant, &visibility), 1) << far;
    }
}

TEST(LineOfSight, AllocatesNothing)
{
    if (!AllocationCounter::Available())
        GTEST_SKIP() << "allocation hooks exist only in the sanitizer build";
    const auto map = demo_terrain::BuildDemoElevationMap();
    float bearing = 0.0f, slant = 0.0f, visibility = 0.0f;
    AllocationCounter allocations;
    // The counter itself sees an allocation.
    allocations.Start();
    delete new int(1);
    allocations.Stop();
    ASSERT_EQ(allocations.Count(), 1u);

    allocations.Start();
    // Through the woods on the ridge, across it, along the road.
    map->HasLineOfSight(1500.0f, 2350.0f, 3500.0f, 2350.0f, 20.0f, 20.0f, &bearing, &slant, &visibility);
    map->HasLineOfSight(200.0f, 1620.0f, 3900.0f, 2090.0f, 20.0f, 20.0f, &bearing, &slant, &visibility);
    map->HasLineOfSightEx(2600.0f, 2350.0f, 1200, 600.0f, 2300.0f, kElevationLookUp, 20.0f, 20.0f, &bearing, &slant,
                          &visibility);
    allocations.Stop();
    EXPECT_EQ(allocations.Count(), 0u);
}

// ---------------------------------------------------------------------------
// Slope and speed factors

TEST(SlopeFactor, ByGradientAndTerrain)
{
    struct Case
    {
        const char* what;
        short rise;                  // sample difference, tenths of a metre over 10 m
        std::vector<float> terrain;  // speed factors of the features at the destination
        int ignoreTerrain;
        float expected;
        int terrainZero;
    } cases[] = {
        {"flat", 0, {}, 0, 1.0f, 0},
        {"rise 13 (s = 0.13)", 13, {}, 0, 1.0f, 0},
        {"rise 14", 14, {}, 0, 0.5f, 0},
        {"rise 20 (s = 0.2)", 20, {}, 0, 0.5f, 0},
        {"rise 21", 21, {}, 0, 0.25f, 0},
        {"rise 34", 34, {}, 0, 0.25f, 0},
        {"rise 35 (s = 0.35)", 35, {}, 0, 0.0f, 0},
        {"fall 19", -19, {}, 0, 1.0f, 0},
        {"fall 20", -20, {}, 0, 1.25f, 0},
        {"fall 34", -34, {}, 0, 1.25f, 0},
        {"fall 35", -35, {}, 0, 0.0f, 0},
        {"woods then road", 0, {0.5f, 1.5f}, 0, 1.5f, 0},
        {"woods and mud", 0, {0.5f, 0.6f}, 0, 0.3f, 0},
        {"woods and mud uphill", 20, {0.5f, 0.6f}, 0, 0.15f, 0},
        {"woods, terrain ignored", 20, {0.5f}, 1, 0.5f, 0},
        {"ground of factor 0", 0, {0.0f}, 0, 0.0f, 1},
        {"ground of factor 0, too steep", 40, {0.0f}, 0, 0.0f, 0},
        {"water", 0, {-1.0f}, 0, -1.0f, 0},
        {"water downhill", -20, {-1.0f}, 0, -1.25f, 0},
    };
    for (const Case& c : cases)
    {
        CElevationMap map;
        MakeFlat(map, 1000, 1000, kPlain);
        map.SetElevation(11, 10, static_cast<short>(kPlain + c.rise));
        for (float f : c.terrain)
            AddFeature(map, MakeType("t", f), Box(105, 95, 115, 105));
        int zero = -1;
        EXPECT_FLOAT_EQ(map.GetSlopeFactor(100.0f, 100.0f, 110.0f, 100.0f, &zero, c.ignoreTerrain), c.expected)
            << c.what;
        EXPECT_EQ(zero, c.terrainZero) << c.what;
    }
}

// ---------------------------------------------------------------------------
// Walks and point tests

namespace
{
// A corridor 1 km long running north at x = 100 m on flat ground, with a
// 10 m cliff across it from y = 495 m on, a pond (water) east of it over
// y = 200 .. 300 and a patch of factor-0 ground west of it.
void MakeCorridor(CElevationMap& map)
{
    MakeFlat(map, 1000, 1000, kPlain);
    for (int c = 0; c < map.GetColumns(); ++c)
        for (int r = 50; r < map.GetRows(); ++r)
            map.SetElevation(c, r, kPlain + 100);
    AddFeature(map, MakeType("Water", -1.0f), Box(195, 200, 300, 300));
    AddFeature(map, MakeType("Bog", 0.0f), Box(0, 200, 45, 300));
}
}  // namespace

TEST(FindBlockedPoint, AlongTheCorridor)
{
    CElevationMap map;
    MakeCorridor(map);
    struct Case
    {
        const char* what;
        int x1, y1, x2, y2;
        int blocked;
        int bx, by;
    } cases[] = {
        {"up to the cliff: stops at the last point before it", 100, 0, 100, 1000, 1, 100, 490},
        {"short of the cliff", 100, 0, 100, 485, 0, 0, 0},
        {"the last step passes the end by up to 10 m", 100, 0, 100, 491, 1, 100, 490},
        {"down the cliff", 100, 900, 100, 0, 1, 100, 500},
        {"into the pond", 100, 250, 300, 250, 1, 190, 250},
        {"through ground of factor 0", 100, 250, 10, 250, 0, 0, 0},
        {"the step past the west edge drops off the map", 100, 250, 0, 250, 1, 0, 250},
        {"9 m on both axes: not walked", 100, 485, 109, 494, 0, 0, 0},
        {"10 m: two steps, the first already blocked", 100, 485, 100, 495, 1, 100, 485},
    };
    for (const Case& c : cases)
    {
        int bx = 0;
        int by = 0;
        EXPECT_EQ(map.FindBlockedPoint(c.x1, c.y1, c.x2, c.y2, &bx, &by), c.blocked) << c.what;
        if (c.blocked)
        {
            EXPECT_EQ(bx, c.bx) << c.what;
            EXPECT_EQ(by, c.by) << c.what;
        }
    }
}

TEST(FindSegmentBlock, ByMoverClass)
{
    CElevationMap map;
    MakeCorridor(map);
    CTerrain* water = map.GetTerrain()->GetFeature(0);
    CTerrain* bog = map.GetTerrain()->GetFeature(1);
    struct Case
    {
        const char* what;
        float x1, y1, x2, y2;
        int flags;
        int blocked;
        float bx, by;
        CTerrain* feature;
    } cases[] = {
        {"wheels up the cliff", 100, 0, 100, 1000, 0x1, 1, 100, 500, nullptr},
        {"no class bits up the cliff", 100, 0, 100, 1000, 0x0, 1, 100, 500, nullptr},
        {"a climber up the cliff", 100, 0, 100, 1000, 0x2, 0, 0, 0, nullptr},
        {"class 0x4 up the cliff", 100, 0, 100, 1000, 0x4, 0, 0, 0, nullptr},
        {"class 0x8 into the pond", 100, 250, 300, 250, 0x8, 0, 0, 0, nullptr},
        {"wheels into the pond", 100, 250, 300, 250, 0x1, 1, 200, 250, water},
        {"a climber into the pond", 100, 250, 300, 250, 0x2, 1, 200, 250, water},
        {"wheels into the bog", 100, 250, 0, 250, 0x1, 1, 40, 250, bog},
        {"a climber through the bog", 100, 250, 0, 250, 0x2, 0, 0, 0, nullptr},
        {"no class bits through the bog", 100, 250, 0, 250, 0x0, 0, 0, 0, nullptr},
        // 25 m in 3 steps, ending 5 m beyond the end point.
        {"25 m ends 5 m past", 100, 465, 100, 490, 0x1, 1, 100, 495, nullptr},
        {"24 m in 3 steps", 100, 455, 100, 479, 0x1, 0, 0, 0, nullptr},
        {"9 m on both axes", 100, 489, 109, 498, 0x1, 0, 0, 0, nullptr},
    };
    for (const Case& c : cases)
    {
        float bx = kNotWritten;
        float by = kNotWritten;
        CTerrain dummy;
        CTerrain* feature = &dummy;
        EXPECT_EQ(map.FindSegmentBlock(c.x1, c.y1, c.x2, c.y2, &bx, &by, &feature, c.flags), c.blocked) << c.what;
        if (c.blocked)
        {
            EXPECT_NEAR(bx, c.bx, 1e-3) << c.what;
            EXPECT_NEAR(by, c.by, 1e-3) << c.what;
            EXPECT_EQ(feature, c.feature) << c.what;
        }
    }
}

TEST(IsImpassable, ByMoverClassAndSpeedFactor)
{
    CElevationMap map;
    MakeCorridor(map);
    struct Case
    {
        float x, y;
        int flags;
        int impassable;
    } cases[] = {
        {250, 250, 0x0, 1}, {250, 250, 0x1, 1}, {250, 250, 0x2, 1},                                        // water
        {250, 250, 0x4, 0}, {250, 250, 0x8, 0}, {20, 250, 0x0, 1},  {20, 250, 0x1, 1}, {20, 250, 0x2, 0},  // factor 0
        {100, 250, 0x0, 0},  // open ground
        {100, 700, 0x0, 0},  // steepness is not asked here
    };
    for (const Case& c : cases)
        EXPECT_EQ(map.IsImpassable(c.x, c.y, c.flags), c.impassable) << c.x << ", " << c.y << " flags " << c.flags;
}

TEST(GameMapMovement, PointTestCorridorWalkAndDistance)
{
    CKDRGameMap gameMap;
    EXPECT_EQ(gameMap.IsPointBlocked(10.0f, 10.0f, nullptr, 0x1, 0, 0), 0);  // no elevation map: nothing blocks
    float bx = 0.0f, by = 0.0f;
    EXPECT_EQ(
        gameMap.FindSegmentBlock(0, 0, 0, 100, 100, &bx, &by, 30, 0, 0x1, 0, nullptr, nullptr, nullptr, nullptr, 0), 0);

    auto* map = new CElevationMap;
    MakeFlat(*map, 1000, 1000, kPlain);
    // Ponds 20 m either side of a route running north along x = 500.
    AddFeature(*map, MakeType("West pond", -1.0f), Box(475, 200, 485, 300));
    AddFeature(*map, MakeType("East pond", -1.0f), Box(515, 250, 525, 350));
    gameMap.SetElevationMap(map);

    struct PointCase
    {
        float x, y;
        int flags;
        int blocked;
    } points[] = {
        {500, 250, 0x1, 0},     {480, 250, 0x1, 1},
        {480, 250, 0x4, 0},     {1000, 500, 0x4, 0},  // the upper edge is still on the map
        {1000.5f, 500, 0x4, 1}, {-0.5f, 500, 0x4, 1},
    };
    for (const PointCase& c : points)
        EXPECT_EQ(gameMap.IsPointBlocked(c.x, c.y, nullptr, c.flags, 0, 0), c.blocked) << c.x << ", " << c.y;

    struct CorridorCase
    {
        const char* what;
        float width;
        int blocked;
        float bx, by;
    } corridors[] = {
        {"20 m: centre and 10 m either side", 20.0f, 0, -99.0f, -99.0f},
        // Five lines: centre, +10, -10, +20, -20. The east line (+20) is
        // walked before the west one although its pond comes later.
        {"30 m: the east pond first", 30.0f, 1, 520.0f, 250.0f},
    };
    for (const CorridorCase& c : corridors)
    {
        CAITerrainRegion stale;
        CAITerrainRegion* region = &stale;  // the walk clears what it is handed
        CObstacle* obstacle = nullptr;
        int marker = -1;
        CTerrain* feature = nullptr;
        EXPECT_EQ(gameMap.FindSegmentBlock(0, 500.0f, 100.0f, 500.0f, 400.0f, &bx, &by, c.width, 0.0f, 0x1, 0, &region,
                                           &feature, &obstacle, &marker, 0),
                  c.blocked)
            << c.what;
        EXPECT_NEAR(bx, c.bx, 1e-3) << c.what;
        EXPECT_NEAR(by, c.by, 1e-3) << c.what;
        EXPECT_EQ(feature, c.blocked ? map->GetTerrain()->GetFeature(1) : nullptr) << c.what;
        EXPECT_EQ(region, nullptr);
        EXPECT_EQ(obstacle, nullptr);
        EXPECT_EQ(marker, 0);
    }
    // The extra length carries the walk past the end point.
    EXPECT_EQ(gameMap.FindSegmentBlock(0, 480.0f, 100.0f, 480.0f, 180.0f, &bx, &by, 0.0f, 0.0f, 0x1, 0, nullptr,
                                       nullptr, nullptr, nullptr, 0),
              0);
    EXPECT_EQ(gameMap.FindSegmentBlock(0, 480.0f, 100.0f, 480.0f, 180.0f, &bx, &by, 0.0f, 30.0f, 0x1, 0, nullptr,
                                       nullptr, nullptr, nullptr, 0),
              1);
    EXPECT_NEAR(by, 200.0f, 1e-3);
    // The same start and end point walks nothing.
    EXPECT_EQ(gameMap.FindSegmentBlock(0, 480.0f, 250.0f, 480.0f, 250.0f, &bx, &by, 30.0f, 100.0f, 0x1, 0, nullptr,
                                       nullptr, nullptr, nullptr, 0),
              0);

    EXPECT_FLOAT_EQ(CKDRGameMap::Distance(0.0f, 0.0f, 3.0f, 4.0f), 5.0f);
    EXPECT_FLOAT_EQ(CKDRGameMap::Distance(10.0f, 10.0f, 10.0f, 10.0f), 0.0f);
}
