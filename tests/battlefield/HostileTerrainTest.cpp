// Elevation files made to hurt the loader: a lane that two features share,
// a size that holds no cell, and tens of thousands of tall features. Each
// gives the archive error (naming the file) or loads within bounds the grid
// sets, and a map loaded before stays.

#include "BattlefieldTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <stdlib.h>

using namespace bftest;

namespace
{
// The header of a map width x height with every sample 0.
Bytes FlatHeader(int width, int height)
{
    Bytes b;
    b.str("Hostile.emp").str("").str("").str("").str("");
    b.w16(0).w16(0).w16(0).w16(0);
    b.w16(width).w16(height).w16(1);
    for (long long i = 0; i < static_cast<long long>(width / 10) * (height / 10); ++i)
        b.w16(0);
    return b;
}

// One terrain type: woods 15 m high letting half the light through.
void AddWoodsType(Bytes& b)
{
    b.w16(1).newClass("CTerrainType");
    b.w16(0).w16(-99).w16(150).f32(0.5f).f32(0.5f);
    b.w16(0).w16(110).w16(0).w16(1).w16(0).w16(0).w16(110).w16(0).w16(1).w16(0);
    b.str("Woods");
}

void AddTriangle(Bytes& b, int x0, int y0, int x1, int y1, int x2, int y2)
{
    b.w16(0).w16(3).w16(x0).w16(y0).w16(x1).w16(y1).w16(x2).w16(y2);
}

CString ErrorText(CObject& object, const std::vector<BYTE>& bytes)
{
    try
    {
        LoadFromBytes(object, bytes);
    }
    catch (const CArchiveException& e)
    {
        return e.GetErrorText();
    }
    return CString();
}
}  // namespace

TEST(HostileTerrain, ALaneSharedByTwoFeaturesIsRefusedAndTheMapStays)
{
    // Indexes: class CTerrainType 1, the type 2, class CTerrain 3, the first
    // feature 4, class CBreach 5, its lane 6; the second feature names
    // lane 6 again as its own.
    Bytes b = FlatHeader(20, 20);
    AddWoodsType(b);
    b.w16(2).newClass("CTerrain");
    b.w16(1).newClass("CBreach").f32(1).f32(1).f32(9).f32(9).f32(4).f32(0).w16(0);
    b.w16(0);
    AddTriangle(b, 0, 0, 10, 0, 0, 10);
    b.w16(0x8003).w16(1).w16(6).w16(0);
    AddTriangle(b, 0, 0, 10, 0, 0, 10);

    CElevationMap map;
    MakeFlat(map, 100, 100, 42);
    EXPECT_EQ(ErrorText(map, b.data()), "The file could not be read: it holds one object in two places.");
    EXPECT_EQ(map.GetWidth(), 100);
    EXPECT_EQ(map.GetElevation(50.0f, 50.0f), 42);
    EXPECT_EQ(map.GetTerrain()->GetFeatureCount(), 0);
}

TEST(HostileTerrain, ASizeWithoutCellsNamesTheFileAndTheReason)
{
    char dirTemplate[] = "/tmp/kdr_hostileXXXXXX";
    ASSERT_NE(mkdtemp(dirTemplate), nullptr);
    const CString path = JoinPath(dirTemplate, "Flat.emp");
    Bytes b = FlatHeader(5, 30);
    b.w16(0).w16(0);
    std::FILE* f = std::fopen(path, "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(b.data().data(), 1, b.data().size(), f);
    std::fclose(f);

    CElevationMap map;
    CString errorText;
    try
    {
        LoadObjectFromFile(path, map, errorText);
        ADD_FAILURE() << "a map without cells loaded";
    }
    catch (const CArchiveException& e)
    {
        EXPECT_EQ(e.GetErrorText(),
                  "'" + path + "' could not be read: its map of 5 x 30 m holds no 10 m elevation cell.");
    }
    DeleteFile(path);
    std::remove(dirTemplate);
}

// 65,636 tall features each covering the whole of a 1000 x 1000 grid: the
// index stays within a few bytes per cell (the features beyond its budget
// go to the wide list) and answers as a walk over every feature does.
TEST(HostileTerrain, TensOfThousandsOfTallFeaturesCostTheIndexAFewBytesPerCell)
{
    constexpr int kFeatures = 65636;
    constexpr int kSide = 10000;  // 1000 cells each way
    Bytes b = FlatHeader(kSide, kSide);
    AddWoodsType(b);
    b.w16(0xFFFF).w16(kFeatures & 0xFFFF).w16(kFeatures >> 16);  // the long count form
    b.newClass("CTerrain").w16(0).w16(0);
    AddTriangle(b, -100, -100, 12000, -100, -100, 12000);
    for (int i = 1; i < kFeatures; ++i)
    {
        b.w16(0x8003).w16(0).w16(0);
        AddTriangle(b, -100, -100, 12000, -100, -100, 12000);
    }

    CElevationMap map;
    LoadFromBytes(map, b.data());
    const CTerrainArray* terrain = map.GetTerrain();
    ASSERT_EQ(terrain->GetFeatureCount(), kFeatures);
    const size_t cells = 1000u * 1000u;
    EXPECT_LE(terrain->GetTallIndexBytes(), 9 * cells + 4 * static_cast<size_t>(kFeatures) + 64 * 1024);
    EXPECT_LT(terrain->GetTallIndexBytes(), 50u * 1024u * 1024u);
    EXPECT_EQ(terrain->GetWideTallCount(), kFeatures - 1);
    EXPECT_EQ(terrain->GetFeatureHeightAt(5000.0f, 5000.0f), 150);
    EXPECT_EQ(terrain->GetFeatureHeightAt(11000.0f, 11000.0f), 0);
}

// The index against the plain walk over every feature, in list order, on a
// small map whose features reach past its edges and overrun the index's
// budget: the same heights and, bit for bit, the same obscurations, on and
// off the map.
TEST(HostileTerrain, TheIndexAnswersAsThePlainWalkOnAndOffTheMap)
{
    CElevationMap map;
    MakeFlat(map, 200, 150, 0);
    CTerrainArray* terrain = map.GetTerrain();
    terrain->AddType(MakeType("Scrub", 1.0f, 30, 0.8f));
    terrain->AddType(MakeType("Woods", 0.5f, 150, 0.35f));
    terrain->AddType(MakeType("Road", 1.5f));
    std::mt19937 rng(15);
    std::uniform_int_distribution<int> corner(-150, 300);
    std::uniform_int_distribution<int> size(1, 400);
    std::uniform_int_distribution<int> type(0, 2);
    for (int i = 0; i < 1200; ++i)
    {
        const int x = corner(rng), y = corner(rng), w = size(rng) / (i % 10 == 0 ? 1 : 20) + 1,
                  h = size(rng) / (i % 10 == 0 ? 1 : 20) + 1;
        terrain->AddFeature(new CTerrain(type(rng), {CPoint(x, y), CPoint(x + w, y), CPoint(x + w / 2, y + h)}));
    }
    ASSERT_GT(terrain->GetWideTallCount(), 0) << "the budget is overrun";

    std::uniform_real_distribution<float> at(-200.0f, 350.0f);
    for (int k = 0; k < 1500; ++k)
    {
        const float x = at(rng), y = at(rng);
        int height = 0;
        bool found = false;
        float obscuration = 1.0f;
        for (int i = 0; i < terrain->GetFeatureCount(); ++i)
        {
            const CTerrain* feature = terrain->GetFeature(i);
            const CTerrainType* t = terrain->GetType(feature->GetTypeIndex());
            if (t->GetHeight() == 0 || !feature->ContainsPoint(x, y))
                continue;
            if (!found || t->GetHeight() > height)
                height = t->GetHeight();
            found = true;
            if (t->GetObscuration() != 1.0f)
                obscuration *= t->GetObscuration();
        }
        ASSERT_EQ(terrain->GetFeatureHeightAt(x, y), height) << x << "," << y;
        ASSERT_EQ(terrain->GetObscurationAt(x, y), obscuration) << x << "," << y;
        if (found)
        {
            ASSERT_TRUE(terrain->MayHaveFeatureHeightAt(x, y)) << x << "," << y;
        }
    }
}
