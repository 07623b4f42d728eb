// The kept sight line (units/SightCache.h) against the sight line itself:
// whatever an entry held before, its answer is bit for bit the one the
// elevation map gives now, also after the ground or the woods on the line
// changed under an entry whose ends stood still.
#include "BattlefieldTestSupport.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/Terrain.h"
#include "battlefield/TerrainArray.h"
#include "units/SightCache.h"

#include "../../tools/demo_terrain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

using namespace bftest;

namespace
{
constexpr short kPlain = 1000;
// What the caller's outputs hold before the look; the sight line leaves
// some of them alone on some paths.
constexpr float kBefore = -7.0f;

struct Look
{
    float x1, y1;
    int ground1;
    float x2, y2;
    int ground2;
    float height1, height2;
};

struct Answer
{
    int visible = -1;
    float bearing = kBefore;
    float slant = kBefore;
    float visibility = kBefore;

    bool operator==(const Answer& other) const
    {
        return visible == other.visible && std::memcmp(&bearing, &other.bearing, sizeof(float)) == 0 &&
               std::memcmp(&slant, &other.slant, sizeof(float)) == 0 &&
               std::memcmp(&visibility, &other.visibility, sizeof(float)) == 0;
    }
};

Answer Direct(const CElevationMap& map, const Look& l)
{
    Answer a;
    a.visible = map.HasLineOfSightEx(l.x1, l.y1, l.ground1, l.x2, l.y2, l.ground2, l.height1, l.height2, &a.bearing,
                                     &a.slant, &a.visibility);
    return a;
}

Answer Kept(const CElevationMap& map, SSightEntry& entry, const Look& l)
{
    Answer a;
    a.visible = SightLineOf(map, &entry, l.x1, l.y1, l.ground1, l.x2, l.y2, l.ground2, l.height1, l.height2, &a.bearing,
                            &a.slant, &a.visibility);
    return a;
}
}  // namespace

TEST(SightMemo, AKeptAnswerGivesWayWhenTheGroundOrTheWoodsOnTheLineChange)
{
    CElevationMap map;
    MakeFlat(map, 2000, 1000, kPlain);
    const Look look{500.0f, 500.0f, kElevationLookUp, 1500.0f, 500.0f, kElevationLookUp, 20.0f, 20.0f};
    SSightEntry entry;
    const Answer open = Kept(map, entry, look);
    EXPECT_EQ(open.visible, 1);
    EXPECT_EQ(Kept(map, entry, look), open);

    // Each change leaves both ends where they were.
    const struct
    {
        const char* what;
        void (*change)(CElevationMap&);
    } changes[] = {
        {"a ridge between", [](CElevationMap& m) { m.SetElevation(100, 50, kPlain + 500); }},
        {"the ridge gone", [](CElevationMap& m) { m.SetElevation(100, 50, kPlain); }},
        {"woods on the line",
         [](CElevationMap& m)
         {
             const int type = m.GetTerrain()->AddType(MakeType("Woods", 0.5f, 150, 0.5f));
             m.GetTerrain()->AddFeature(new CTerrain(type, Box(795, 400, 825, 600)));
         }},
        {"the grid made again", [](CElevationMap& m) { MakeFlat(m, 2000, 1000, kPlain + 10); }},
    };
    for (const auto& c : changes)
    {
        SCOPED_TRACE(c.what);
        c.change(map);
        EXPECT_EQ(Kept(map, entry, look), Direct(map, look));
    }

    // The same look on another map of the same ground is worked out there.
    CElevationMap other;
    MakeFlat(other, 2000, 1000, kPlain);
    other.SetElevation(100, 50, kPlain + 500);
    EXPECT_EQ(Kept(other, entry, look), Direct(other, look));
    EXPECT_EQ(Kept(other, entry, look).visible, 0);
}

TEST(SightMemo, AgreesExactlyWithTheSightLineOverTheDemoGroundWhateverTheEntryHeld)
{
    std::unique_ptr<CElevationMap> map(demo_terrain::BuildDemoElevationMap());
    std::mt19937 rng(43);
    std::uniform_real_distribution<float> x(-50.0f, 4050.0f);
    std::uniform_real_distribution<float> y(-50.0f, 3050.0f);
    std::uniform_real_distribution<float> height(5.0f, 40.0f);
    std::uniform_int_distribution<int> slot(0, 15);
    std::uniform_int_distribution<int> kind(0, 3);
    // A few looks asked again and again, from a few slots, with now and
    // then a look from the air or a moved end.
    std::vector<Look> looks;
    for (int i = 0; i < 24; ++i)
    {
        const int k = kind(rng);
        looks.push_back({x(rng), y(rng), k == 1 ? 1500 : kElevationLookUp, x(rng), y(rng),
                         k == 2 ? 800 : kElevationLookUp, height(rng), height(rng)});
    }
    std::vector<SSightEntry> entries(16);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(looks.size()) - 1);
    int nDiffering = 0;
    for (int i = 0; i < 4000; ++i)
    {
        Look& l = looks[static_cast<size_t>(pick(rng))];
        if (kind(rng) == 0 && i % 7 == 0)
            l.x2 = std::nextafter(l.x2, 5000.0f);  // one end moved by the least step a float has
        if (i == 2000)
            map->SetElevation(200, 150, static_cast<short>(map->GetElevation(2000.0f, 1500.0f) + 400));
        const Answer kept = Kept(*map, entries[static_cast<size_t>(slot(rng))], l);
        const Answer direct = Direct(*map, l);
        if (!(kept == direct))
            ++nDiffering;
    }
    EXPECT_EQ(nDiffering, 0);
}
