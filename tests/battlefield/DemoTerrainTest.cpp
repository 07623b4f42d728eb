// The demo mission's elevation map: written through the game's own file
// code, it reads back as the ground the demo is meant to have.
#include "BattlefieldTestSupport.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/TerrainArray.h"

#include "../../tools/demo_terrain.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(DemoTerrain, WrittenFileReadsBackAsTheDemoGround)
{
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("kdr_demo_terrain_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "Demo.emp").string();
    CString error;
    ASSERT_TRUE(demo_terrain::WriteDemoElevationMap(path.c_str(), error)) << error.GetString();

    CElevationMap map;
    ASSERT_TRUE(LoadObjectFromFile(path.c_str(), map, error)) << error.GetString();
    std::filesystem::remove_all(dir);

    EXPECT_STREQ(map.GetFileName(), "Demo.emp");
    EXPECT_EQ(map.GetWidth(), demo_terrain::kWidth);
    EXPECT_EQ(map.GetHeight(), demo_terrain::kHeight);
    EXPECT_STREQ(map.GetGridReference(0.0f, 0.0f), "NV20005000");
    EXPECT_LT(map.GetMinElevation(), map.GetMaxElevation());

    // The ridge stands above the plain west of it, the saddle below the
    // crest north of it, the valley floor below both.
    const float crestY = 2600.0f;
    const float crest = map.GetElevation(static_cast<float>(demo_terrain::RidgeCrestX(crestY)), crestY);
    const float west = map.GetElevation(1800.0f, crestY);
    const float saddle = map.GetElevation(static_cast<float>(demo_terrain::RidgeCrestX(1800.0)), 1800.0f);
    const float valley = map.GetElevation(2000.0f, static_cast<float>(demo_terrain::ValleyFloorY(2000.0)));
    EXPECT_GT(crest, west + 250.0f);
    EXPECT_LT(saddle, crest - 100.0f);
    EXPECT_LT(valley, west);

    // Woods, water and the road where the demo puts them.
    const CTerrainArray* terrain = map.GetTerrain();
    ASSERT_EQ(terrain->GetTypeCount(), 3);
    EXPECT_STREQ(terrain->GetTerrainNameAt(2600.0f, 2350.0f), "Woods");
    EXPECT_STREQ(terrain->GetTerrainNameAt(1250.0f, static_cast<float>(demo_terrain::ValleyFloorY(1250.0))), "Water");
    EXPECT_FLOAT_EQ(terrain->GetSpeedFactor(2000.0f, 1850.0f, 0), 1.5f);  // on the road
    EXPECT_EQ(map.IsImpassable(1250.0f, static_cast<float>(demo_terrain::ValleyFloorY(1250.0)), 0x1), 1);

    // Every slope of the demo ground can be driven: no step between
    // neighbouring cells is steeper than the slope limit.
    for (int c = 0; c + 1 < map.GetColumns(); ++c)
        for (int r = 0; r + 1 < map.GetRows(); ++r)
        {
            const int here = map.GetSamples()[static_cast<size_t>(c * map.GetRows() + r)];
            ASSERT_LT(std::abs(map.GetSamples()[static_cast<size_t>((c + 1) * map.GetRows() + r)] - here), 35);
            ASSERT_LT(std::abs(map.GetSamples()[static_cast<size_t>(c * map.GetRows() + r + 1)] - here), 35);
        }

    // The ridge hides the far side from the plain and not from its crest.
    float bearing = 0.0f, slant = 0.0f, visibility = 0.0f;
    EXPECT_EQ(map.HasLineOfSight(2000.0f, 1300.0f, 3700.0f, 1300.0f, 20.0f, 20.0f, &bearing, &slant, &visibility), 0);
    const float crestX = static_cast<float>(demo_terrain::RidgeCrestX(1300.0));
    EXPECT_EQ(map.HasLineOfSight(crestX, 1300.0f, 3700.0f, 1300.0f, 20.0f, 20.0f, &bearing, &slant, &visibility), 1);
}
