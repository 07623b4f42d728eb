// The elevation grid, the coordinate conversions, the grid references and
// lines, and the "*.emp" file.
#include "BattlefieldTestSupport.h"

#include "battlefield/Breach.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/TerrainArray.h"
#include "platform/ui/DC.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

using namespace bftest;

namespace
{
// Each cell of the test grid holds a value that names it.
short CellCode(int c, int r) { return static_cast<short>((c % 100) * 100 + r % 100); }

void FillWithCellCodes(CElevationMap& map)
{
    for (int c = 0; c < map.GetColumns(); ++c)
        for (int r = 0; r < map.GetRows(); ++r)
            map.SetElevation(c, r, CellCode(c, r));
}

struct TempDir
{
    TempDir()
    {
        path = std::filesystem::temp_directory_path() /
               ("kdr_emp_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string File(const char* name) const { return (path / name).string(); }
    std::filesystem::path path;
};

std::vector<BYTE> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteToFile(CObject& object, const std::string& path)
{
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    CArchive ar(&file, CArchive::store);
    object.Serialize(ar);
    ar.Close();
    file.Close();
}
}  // namespace

TEST(ElevationMap, ConstructedEmpty)
{
    CElevationMap map;
    EXPECT_STREQ(map.GetFileName(), "*.emp");
    ASSERT_NE(map.GetTerrain(), nullptr);
    EXPECT_EQ(map.GetTerrain()->GetFeatureCount(), 0);
    EXPECT_EQ(map.GetElevation(0.0f, 0.0f), kUnset);
    const COLORREF colours[] = {RGB(255, 255, 0), RGB(128, 0, 128), RGB(255, 0, 255), RGB(255, 128, 255)};
    const int widths[] = {3, 5, 3, 1};
    for (int i = 0; i < CElevationMap::kPenCount; ++i)
    {
        ASSERT_NE(map.GetPen(i), nullptr);
        EXPECT_EQ(map.GetPen(i)->GetColor(), colours[i]);
        EXPECT_EQ(map.GetPen(i)->GetWidth(), widths[i]);
    }
}

TEST(ElevationMap, LookUpRoundsIntoCellsAndReadsEdgeCellsAtTheUpperEdges)
{
    // 5000 x 4000 m: 500 columns of 400 samples.
    CElevationMap map;
    map.SetGeometry(5000, 4000, 0, 0, 1);
    ASSERT_EQ(map.GetColumns(), 500);
    ASSERT_EQ(map.GetRows(), 400);
    FillWithCellCodes(map);

    struct Case
    {
        float x, y;
        short expected;
    } cases[] = {
        {12.4f, 7.6f, CellCode(1, 1)},  // rounds to (12, 8)
        {0.0f, 0.0f, CellCode(0, 0)},
        {4.4f, 0.0f, CellCode(0, 0)},   // 4 m: still cell 0
        {4.5f, 0.0f, CellCode(1, 0)},   // 5 m: the next cell
        {-0.6f, 0.0f, CellCode(0, 0)},  // rounds to 0 toward zero
        {-1.5f, 0.0f, kUnset},          // rounds to -1
        {4984.4f, 0.0f, CellCode(498, 0)},
        {4994.9f, 0.0f, CellCode(499, 0)},  // 4995: one past the grid, kept on its edge
        {4999.4f, 3999.4f, CellCode(499, 399)},
        {0.0f, 3996.0f, CellCode(0, 399)},
        {4999.6f, 0.0f, kUnset},    // rounds to W
        {5000.0f, 100.0f, kUnset},  // (W, y) is off for the look-up
        {100.0f, 4000.0f, kUnset},
        {-100.0f, -100.0f, kUnset},
        {1e30f, 5.0f, kUnset},
        {std::numeric_limits<float>::quiet_NaN(), 5.0f, kUnset},
    };
    for (const Case& c : cases)
        EXPECT_EQ(map.GetElevation(c.x, c.y), c.expected) << "at (" << c.x << ", " << c.y << ")";
}

TEST(ElevationMap, PointsNearTheEastAndNorthEdgeNeverReadPastTheGrid)
{
    // A size that is not a whole number of cells: the last 15 m round past
    // the last column and row. The sanitizer build catches any read outside.
    CElevationMap map;
    map.SetGeometry(5005, 4005, 0, 0, 1);
    FillWithCellCodes(map);
    for (int x = 4985; x < 5005; ++x)
        EXPECT_EQ(map.GetElevation(static_cast<float>(x), 0.0f), CellCode(499, 0)) << x;
    EXPECT_EQ(map.GetElevation(5004.0f, 4004.0f), CellCode(499, 399));
    EXPECT_EQ(map.GetElevation(0.0f, 4004.4f), CellCode(0, 399));
    EXPECT_EQ(map.GetElevation(5005.0f, 0.0f), kUnset);
}

TEST(ElevationMap, PixelConversionsAtTheCorners)
{
    CElevationMap map;
    map.SetGeometry(5000, 4000, 0, 0, 1);

    struct ToPixel
    {
        float x, y;
        int px, py, onPicture;
    } toPixel[] = {
        {0.0f, 4000.0f, 0, 0, 1},        // upper-left corner
        {5000.0f, 4000.0f, 2500, 0, 1},  // upper-right
        // The bottom edge lands on the last whole pixel row: y is rounded
        // half up before it is taken from H / 2.
        {0.0f, 0.0f, 0, 1999, 1},
        {5000.0f, 0.0f, 2500, 1999, 1},  // lower-right
        {2.9f, 4000.0f, 1, 0, 1},
        {5002.0f, 0.0f, 2501, 1999, 0},  // off: the pixel is still written
        {0.0f, 4001.0f, 0, -1, 0},
        {-2.0f, 0.0f, 0, 1999, 1},  // -0.5 truncates toward zero
        {-4.0f, 0.0f, -1, 1999, 0},
    };
    for (const ToPixel& c : toPixel)
    {
        int px = 12345;
        int py = 12345;
        EXPECT_EQ(map.MapToPixel(c.x, c.y, &px, &py), c.onPicture) << c.x << ", " << c.y;
        EXPECT_EQ(px, c.px) << c.x << ", " << c.y;
        EXPECT_EQ(py, c.py) << c.x << ", " << c.y;
    }

    struct ToMap
    {
        int px, py;
        float x, y;
        int onMap;
    } toMap[] = {
        {0, 0, 0.0f, 4000.0f, 1},       {2500, 2000, 5000.0f, 0.0f, 1}, {2500, 0, 5000.0f, 4000.0f, 1},
        {2501, 0, 5002.0f, 4000.0f, 0}, {0, 2001, 0.0f, -2.0f, 0},      {-1, 0, -2.0f, 4000.0f, 0},
    };
    for (const ToMap& c : toMap)
    {
        float x = -1.0f;
        float y = -1.0f;
        EXPECT_EQ(map.PixelToMap(c.px, c.py, &x, &y), c.onMap) << c.px << ", " << c.py;
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
    }
}

TEST(ElevationMap, GridReferences)
{
    struct Case
    {
        int eastingOffset, northingOffset;
        float x, y;
        const char* expected;
    } cases[] = {
        {400, 1200, 73.0f, 85.0f, "AB04731285"},      // easting 473, northing 1285
        {0, 0, 7.0f, 0.0f, "AB00070000"},             // easting 7 is 0007
        {0, 0, 12.4f, 7.6f, "AB00120008"},            // rounded to whole metres
        {9500, 0, 600.0f, 0.0f, "EB01000000"},        // 10100 wraps to 0100
        {9000, 0, 999.0f, 0.0f, "AB99990000"},        // 9999 does not wrap
        {9000, 0, 1000.0f, 0.0f, "EB00000000"},       // 10000 does
        {0, 9000, 7.0f, 1500.0f, "AN00070500"},       // northing wrapped
        {9500, 9000, 600.0f, 1500.0f, "EN01000500"},  // both wrapped
        {0, 0, 5000.0f, 4000.0f, "AB50004000"},       // the upper edges are on the map here
        {0, 0, -0.6f, 0.0f, "AB00000000"},
        {0, 0, 5000.6f, 0.0f, "Off of map"},
        {0, 0, 0.0f, 4000.6f, "Off of map"},
        {0, 0, -1.5f, 0.0f, "Off of map"},
        {0, 0, 0.0f, -1.5f, "Off of map"},
    };
    for (const Case& c : cases)
    {
        CElevationMap map;
        map.SetGeometry(5000, 4000, c.eastingOffset, c.northingOffset, 1);
        map.SetSquareDesignators("AB", "AN", "EB", "EN");
        EXPECT_STREQ(map.GetGridReference(c.x, c.y), c.expected)
            << "offsets " << c.eastingOffset << "/" << c.northingOffset << " at " << c.x << ", " << c.y;
    }
}

TEST(ElevationMap, GridLines)
{
    struct Case
    {
        int offset;
        float firstLine;
        int kmLineIndex;
    } cases[] = {
        {0, 100.0f, 9},                                         // a whole 100 m gives 100, not 0
        {300, 100.0f, 6}, {350, 50.0f, 6},   {1250, 50.0f, 7},  // lines at 1300 ... 2000 is the eighth
        {9999, 1.0f, 0},  {1000, 100.0f, 9},
    };
    for (const Case& c : cases)
    {
        CElevationMap map;
        map.SetGeometry(5000, 4000, c.offset, c.offset + 100, 1);
        EXPECT_EQ(map.GetFirstLineOffsetX(), c.firstLine) << c.offset;
        EXPECT_EQ(map.GetKmLineIndexX(), c.kmLineIndex) << c.offset;
        CElevationMap other;
        other.SetGeometry(5000, 4000, 0, c.offset, 1);
        EXPECT_EQ(other.GetFirstLineOffsetY(), c.firstLine) << c.offset;
        EXPECT_EQ(other.GetKmLineIndexY(), c.kmLineIndex) << c.offset;
    }
}

// ---------------------------------------------------------------------------
// The file

namespace
{
// A 20 x 30 m map (2 columns of 3 samples) with one type of woods and one
// triangle of it, laid out by hand from the file layout.
struct TinyFile
{
    Bytes bytes;
    size_t width, height, typeIndex, pointCount, firstSample;

    TinyFile()
    {
        bytes.str("Tiny.emp").str("NB").str("NA").str("PB").str("PA");
        bytes.w16(400).w16(1200);  // easting and northing offsets
        bytes.w16(95).w16(130);    // lowest, highest
        width = bytes.mark();
        bytes.w16(20);
        height = bytes.mark();
        bytes.w16(30).w16(2);  // map type
        firstSample = bytes.mark();
        bytes.w16(100).w16(110).w16(120);  // column 0
        bytes.w16(95).w16(105).w16(130);   // column 1
        // Terrain: one type ...
        bytes.w16(1).newClass("CTerrainType");
        bytes.w16(0);                                // no capabilities
        bytes.w16(-99).w16(150);                     // aux code, height
        bytes.f32(0.7f).f32(0.5f);                   // obscuration, speed factor
        bytes.w16(0).w16(110).w16(0).w16(5).w16(0);  // set 1: diagonal cross
        bytes.w16(0).w16(80).w16(0).w16(2).w16(1);   // set 2: hidden outline
        bytes.str("Woods");
        // ... and one feature.
        bytes.w16(1).newClass("CTerrain");
        bytes.w16(0).w16(0);  // no lanes, no capabilities
        typeIndex = bytes.mark();
        bytes.w16(0);
        pointCount = bytes.mark();
        bytes.w16(3).w16(0).w16(0).w16(20).w16(0).w16(-5).w16(30);
    }
};
}  // namespace

TEST(ElevationMapFile, HandMadeFileReadsFieldByFieldAndWritesBackTheSameBytes)
{
    TinyFile tiny;
    CElevationMap map;
    LoadFromBytes(map, tiny.bytes.data());

    EXPECT_STREQ(map.GetFileName(), "Tiny.emp");
    EXPECT_EQ(map.GetEastingOffset(), 400);
    EXPECT_EQ(map.GetNorthingOffset(), 1200);
    EXPECT_EQ(map.GetMinElevation(), 95);
    EXPECT_EQ(map.GetMaxElevation(), 130);
    EXPECT_EQ(map.GetWidth(), 20);
    EXPECT_EQ(map.GetHeight(), 30);
    EXPECT_EQ(map.GetMapType(), 2);
    EXPECT_EQ(map.GetElevation(0.0f, 10.0f), 110);
    EXPECT_EQ(map.GetElevation(10.0f, 20.0f), 130);
    EXPECT_EQ(map.GetFirstLineOffsetX(), 100.0f);
    EXPECT_EQ(map.GetKmLineIndexY(), 7);
    // Designators in file order: northing wrapped, base, both, easting wrapped.
    EXPECT_STREQ(map.GetGridReference(1.0f, 2.0f), "NA04011202");

    const CTerrainArray* terrain = map.GetTerrain();
    ASSERT_EQ(terrain->GetTypeCount(), 1);
    ASSERT_EQ(terrain->GetFeatureCount(), 1);
    const CTerrainType* woods = terrain->GetType(0);
    EXPECT_STREQ(woods->GetName(), "Woods");
    EXPECT_EQ(woods->GetAuxCode(), -99);
    EXPECT_EQ(woods->GetHeight(), 150);
    EXPECT_FLOAT_EQ(woods->GetObscuration(), 0.7f);
    EXPECT_FLOAT_EQ(woods->GetSpeedFactor(), 0.5f);
    EXPECT_EQ(woods->GetColourSet(1).fillStyle, 5);
    EXPECT_FALSE(woods->GetColourSet(1).hideOutline);
    EXPECT_EQ(woods->GetColourSet(2).green, 80);
    EXPECT_TRUE(woods->GetColourSet(2).hideOutline);
    EXPECT_TRUE(woods->IsSet1Active());
    EXPECT_EQ(woods->GetColour(), RGB(0, 110, 0));
    const CTerrain* feature = terrain->GetFeature(0);
    ASSERT_EQ(feature->GetPointCount(), 3);
    EXPECT_EQ(feature->GetPoints()[2], CPoint(-5, 30));

    EXPECT_EQ(StoreToBytes(map), tiny.bytes.data());
}

TEST(ElevationMapFile, BadCountsAndTypeIndexesRaiseTheArchiveErrorAndKeepTheMap)
{
    struct Case
    {
        const char* what;
        size_t TinyFile::*field;
        int value;
        size_t TinyFile::*field2 = nullptr;
        int value2 = 0;
    } cases[] = {
        {"width 0", &TinyFile::width, 0},
        {"width negative", &TinyFile::width, -20},
        {"width under one cell", &TinyFile::width, 9},
        {"height 0", &TinyFile::height, 0},
        {"height negative", &TinyFile::height, -30},
        {"more samples than bytes", &TinyFile::width, 32760, &TinyFile::height, 32760},
        {"no points", &TinyFile::pointCount, 0},
        {"negative points", &TinyFile::pointCount, -3},
        {"more points than bytes", &TinyFile::pointCount, 4},
        {"type index past the list", &TinyFile::typeIndex, 1},
        {"negative type index", &TinyFile::typeIndex, -1},
    };
    for (const Case& c : cases)
    {
        TinyFile tiny;
        std::vector<BYTE> bytes = tiny.bytes.data();
        auto patch = [&bytes](size_t at, int value)
        {
            bytes[at] = static_cast<BYTE>(value & 0xFF);
            bytes[at + 1] = static_cast<BYTE>((value >> 8) & 0xFF);
        };
        patch(tiny.*(c.field), c.value);
        if (c.field2 != nullptr)
            patch(tiny.*(c.field2), c.value2);

        CElevationMap map;
        MakeFlat(map, 100, 100, 42);
        AllocationCounter allocations;
        allocations.Start();
        EXPECT_THROW(LoadFromBytes(map, bytes), CArchiveException) << c.what;
        allocations.Stop();
        if (AllocationCounter::Available())
        {
            EXPECT_LT(allocations.Bytes(), 64u * 1024u) << c.what << ": allocated before checking";
        }
        EXPECT_EQ(map.GetWidth(), 100) << c.what;
        EXPECT_EQ(map.GetElevation(50.0f, 50.0f), 42) << c.what;
        EXPECT_EQ(map.GetTerrain()->GetFeatureCount(), 0) << c.what;
    }
}

TEST(ElevationMapFile, EveryTruncationRaisesTheArchiveError)
{
    const std::vector<BYTE> whole = TinyFile().bytes.data();
    for (size_t length = 0; length < whole.size(); ++length)
    {
        const std::vector<BYTE> cut(whole.begin(), whole.begin() + static_cast<long>(length));
        CElevationMap map;
        EXPECT_THROW(LoadFromBytes(map, cut), CArchiveException) << "cut at " << length;
        EXPECT_EQ(map.GetWidth(), 0) << "cut at " << length;
    }
}

TEST(ElevationMapFile, MapOf5000By4000WithTerrainLoadsAndWritesBackByteForByte)
{
    CElevationMap map;
    map.SetFileName("Range.emp");
    map.SetSquareDesignators("NV", "NA", "PV", "PA");
    map.SetGeometry(5000, 4000, 9500, 8700, 3);
    for (int c = 0; c < map.GetColumns(); ++c)
        for (int r = 0; r < map.GetRows(); ++r)
            map.SetElevation(c, r,
                             static_cast<short>(std::lround(800.0 * std::sin(c * 0.031) * std::cos(r * 0.017)) - 120));
    map.UpdateElevationRange();

    CTerrainArray* terrain = map.GetTerrain();
    CTerrainType* woods =
        new CTerrainType("Woods", 0.6f, kUnset, 150, 0.5f, Colours(0, 110, 0, 5), Colours(0, 80, 0, 2, TRUE));
    woods->GetCapabilities().Add(new CTerrainTypeCapability);
    terrain->AddType(woods);
    terrain->AddType(new CTerrainType("Water", 1.0f, 7, 0, -1.0f, Colours(40, 90, 210, kTerrainFillSolid),
                                      Colours(40, 90, 210, kUnset)));
    terrain->AddType(
        new CTerrainType("Road", 1.0f, kUnset, 0, 1.5f, Colours(150, 90, 40), Colours(110, 60, 20, 0, TRUE)));
    CTerrain* forest = new CTerrain(0, {CPoint(100, 100), CPoint(900, 150), CPoint(800, 1200), CPoint(50, 900)});
    forest->GetBreaches().Add(new CBreach(120.0f, 130.0f, 0.0f, 0.0f, 8.0f, 1600.0f, TRUE));
    forest->GetCapabilities().Add(new CTerrainCapability);
    terrain->AddFeature(forest);
    terrain->AddFeature(new CTerrain(1, Box(2000, 300, 2600, 700)));
    terrain->AddFeature(
        new CTerrain(2, {CPoint(-10, 1995), CPoint(5010, 1995), CPoint(5010, 2005), CPoint(-10, 2005)}));
    terrain->AddFeature(new CTerrain(0, Box(4500, 3500, 4999, 3999)));

    TempDir dir;
    const std::string first = dir.File("range.emp");
    const std::string second = dir.File("again.emp");
    WriteToFile(map, first);
    const std::vector<BYTE> written = ReadFileBytes(first);
    // Five short strings, seven words, 500 x 400 samples, then the terrain.
    EXPECT_GT(written.size(), 9u + 3u * 3u + 14u + 500u * 400u * 2u);

    CElevationMap loaded;
    CString error;
    ASSERT_TRUE(LoadObjectFromFile(first.c_str(), loaded, error)) << error.GetString();
    EXPECT_EQ(loaded.GetWidth(), 5000);
    EXPECT_EQ(loaded.GetHeight(), 4000);
    EXPECT_EQ(loaded.GetEastingOffset(), 9500);
    EXPECT_EQ(loaded.GetMapType(), 3);
    EXPECT_EQ(loaded.GetSamples(), map.GetSamples());
    EXPECT_EQ(loaded.GetMinElevation(), map.GetMinElevation());
    EXPECT_EQ(loaded.GetMaxElevation(), map.GetMaxElevation());
    ASSERT_EQ(loaded.GetTerrain()->GetFeatureCount(), 4);
    EXPECT_EQ(loaded.GetTerrain()->GetFeature(0)->GetBreaches().GetSize(), 1);
    EXPECT_STREQ(loaded.GetTerrain()->GetTerrainNameAt(2300.0f, 500.0f), "Water");
    EXPECT_FLOAT_EQ(loaded.GetTerrain()->GetSpeedFactor(2500.0f, 2000.0f, 0), 1.5f);

    WriteToFile(loaded, second);
    EXPECT_EQ(ReadFileBytes(second), written);
}
