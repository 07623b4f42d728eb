// The AI help map's "*.aim" form, laid out by hand from the file layout:
// what reads, what writes back, and what a bad file does.
#include "BattlefieldTestSupport.h"

#include "battlefield/AITerrain.h"
#include "battlefield/AITerrainArray.h"
#include "battlefield/AITerrainInternal.h"
#include "battlefield/KDRGameMap.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace bftest;
namespace fs = std::filesystem;

namespace
{
// Class and object indexes of the fixture, in order of writing: classes and
// objects share one counter from 1.
constexpr int kRegionClass = 1;
constexpr int kRouteClass = 3;

Bytes& RoutePoint(Bytes& b, int x, int y, int value, int extra) { return b.w16(x).w16(y).w16(value).w16(extra); }

// A help map of four items: a region holding a nested route and a nested
// region, a route, a support-by-fire item and a null item.
Bytes Fixture(size_t* nestedRouteCountAt = nullptr)
{
    Bytes b;
    b.w16(4);
    b.newClass("CAITerrainRegion");  // class 1, object 2
    {
        b.w16(2);                       // nested items
        b.newClass("CAITerrainRoute");  // class 3, object 4
        b.w16(0x3);                     // flags
        if (nestedRouteCountAt != nullptr)
            *nestedRouteCountAt = b.mark();
        b.w16(2).w16(1);  // points, marked
        RoutePoint(b, -5, -7, 12, 9);
        RoutePoint(b, 100, 20, 12, 0);
        b.w16(0x8000 | kRegionClass);  // object 5
        b.w16(0).str("");              // no nested items of its own
        b.w16(0x10).w16(3).w16(0);
        b.w16(0).w16(0).w16(10).w16(0).w16(0).w16(10);
        b.str("inner");
    }
    b.w16(0x6).w16(4).w16(0);
    b.w16(-100).w16(-50).w16(200).w16(-50).w16(200).w16(150).w16(-100).w16(150);
    b.w16(0x8000 | kRouteClass);  // object 6
    b.w16(0xF).w16(3).w16(0);
    RoutePoint(b, 0, 0, 12, 0);
    RoutePoint(b, 500, 0, 12, 0);
    RoutePoint(b, 1000, 300, 8, 0);
    b.newClass("CAITerrainSBF");  // class 7, object 8
    b.w16(2);
    b.f32(1000.5f).f32(2000.25f).f32(0.0f).w16(0x10);
    b.f32(1010.5f).f32(2000.25f).f32(1.5707964f).w16(-1);
    b.w16(0);  // a null item
    b.str("original.aim");
    return b;
}

std::vector<BYTE> WithByte(std::vector<BYTE> bytes, size_t at, int word)
{
    bytes[at] = static_cast<BYTE>(word & 0xFF);
    bytes[at + 1] = static_cast<BYTE>((word >> 8) & 0xFF);
    return bytes;
}

// A region holding a region holding ... `depth` regions in all.
Bytes NestedRegions(int depth)
{
    Bytes b;
    b.w16(1);
    for (int i = 0; i < depth; ++i)
    {
        if (i == 0)
            b.newClass("CAITerrainRegion");
        else
            b.w16(0x8000 | kRegionClass);
        b.w16(i + 1 < depth ? 1 : 0);  // its nested items
    }
    for (int i = 0; i < depth; ++i)
        b.str("").w16(0).w16(0).w16(0);  // nested name, flags, no vertices, marked
    b.str("");
    return b;
}

class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "kdr-helpmap-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
        m_oldDir = GetCurrentDir();
        SetCurrentDir(m_path.string().c_str());
    }
    ~TempFolder()
    {
        SetCurrentDir(m_oldDir);
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    void Write(const char* name, const std::vector<BYTE>& bytes) const
    {
        std::FILE* f = std::fopen((m_path / name).string().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    std::string Path(const char* name) const { return (m_path / name).string(); }

private:
    fs::path m_path;
    CString m_oldDir;
};
}  // namespace

TEST(HelpMapFile, ReadsAndWritesBackTheSameBytes)
{
    const std::vector<BYTE> bytes = Fixture().data();
    CAITerrainArray helpMap;
    LoadFromBytes(helpMap, bytes);
    EXPECT_EQ(StoreToBytes(helpMap), bytes);

    ASSERT_EQ(helpMap.GetSize(), 4);
    EXPECT_EQ(helpMap.GetFileName(), "original.aim");
    EXPECT_EQ(helpMap.GetAt(3), nullptr);

    auto* pRegion = dynamic_cast<CAITerrainRegion*>(helpMap.GetAt(0));
    ASSERT_NE(pRegion, nullptr);
    EXPECT_EQ(pRegion->GetFlags(), 0x6);
    EXPECT_EQ(pRegion->GetPoints(), (std::vector<CPoint>{{-100, -50}, {200, -50}, {200, 150}, {-100, 150}}));
    EXPECT_EQ(pRegion->GetBounds(), CRect(-100, 150, 200, -50));
    ASSERT_EQ(pRegion->GetChildren()->GetSize(), 2);
    EXPECT_EQ(pRegion->GetChildren()->GetFileName(), "inner");
    auto* pNestedRoute = dynamic_cast<CAITerrainRoute*>(pRegion->GetChildren()->GetAt(0));
    ASSERT_NE(pNestedRoute, nullptr);
    EXPECT_TRUE(pNestedRoute->IsMarked());
    // Negative coordinates survive as signed words; the fourth value is kept.
    EXPECT_EQ(pNestedRoute->GetPoints()[0].x, -5);
    EXPECT_EQ(pNestedRoute->GetPoints()[0].y, -7);
    EXPECT_EQ(pNestedRoute->GetPoints()[0].extra, 9);
    auto* pNestedRegion = dynamic_cast<CAITerrainRegion*>(pRegion->GetChildren()->GetAt(1));
    ASSERT_NE(pNestedRegion, nullptr);
    EXPECT_EQ(pNestedRegion->GetFlags(), 0x10);

    auto* pRoute = dynamic_cast<CAITerrainRoute*>(helpMap.GetAt(1));
    ASSERT_NE(pRoute, nullptr);
    EXPECT_EQ(pRoute->GetRouteFlags(), 0xF);
    EXPECT_EQ(pRoute->GetDirection(), 1303);  // derived after reading: atan2(1000, 300) in mils

    auto* pSBF = dynamic_cast<CAITerrainSBF*>(helpMap.GetAt(2));
    ASSERT_NE(pSBF, nullptr);
    EXPECT_EQ(pSBF->GetPositions()[1].flags, -1);
    EXPECT_FLOAT_EQ(pSBF->GetCenterX(), 1005.5f);

    // Names are never stored, so every loaded item has none.
    for (const CAITerrain* pItem :
         {static_cast<CAITerrain*>(pRegion), static_cast<CAITerrain*>(pNestedRoute),
          static_cast<CAITerrain*>(pNestedRegion), static_cast<CAITerrain*>(pRoute), static_cast<CAITerrain*>(pSBF)})
        EXPECT_EQ(pItem->GetName(), "");
}

TEST(HelpMapFile, CoordinatesBeyondAWordKeepTheirLow16Bits)
{
    CAITerrainArray helpMap;
    auto* pRoute = new CAITerrainRoute;
    pRoute->SetName("not stored");
    pRoute->SetPoints({{40000, -32768, 0, 0}, {-1, 32767, 0, 0}});
    helpMap.Add(pRoute);
    CAITerrainArray loaded;
    LoadFromBytes(loaded, StoreToBytes(helpMap));
    const auto* pLoaded = dynamic_cast<CAITerrainRoute*>(loaded.GetAt(0));
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->GetName(), "");
    EXPECT_EQ(pLoaded->GetPoints()[0].x, 40000 - 65536);
    EXPECT_EQ(pLoaded->GetPoints()[0].y, -32768);
    EXPECT_EQ(pLoaded->GetPoints()[1].x, -1);
    EXPECT_EQ(pLoaded->GetPoints()[1].y, 32767);
}

// A region as large as the file's words allow: a triangle over the whole
// coordinate range, its long side on the line x + y = -1 running from
// corner to corner. It reads at once (making its region used to take
// seconds per region), and its point tests hold to the last metre: the
// long side is the region's right edge, which it does not include.
TEST(HelpMapFile, ARegionOverTheWholeCoordinateRangeReadsAndAnswers)
{
    const std::vector<BYTE> bytes = Bytes()
                                        .w16(1)
                                        .newClass("CAITerrainRegion")
                                        .w16(0)
                                        .str("")  // no nested items
                                        .w16(0x1)
                                        .w16(3)
                                        .w16(0)
                                        .w16(-32768)
                                        .w16(-32768)
                                        .w16(32767)
                                        .w16(-32768)
                                        .w16(-32768)
                                        .w16(32767)
                                        .str("whole.aim")
                                        .data();
    CAITerrainArray helpMap;
    LoadFromBytes(helpMap, bytes);
    EXPECT_EQ(StoreToBytes(helpMap), bytes);
    const auto* pRegion = dynamic_cast<const CAITerrainRegion*>(helpMap.GetAt(0));
    ASSERT_NE(pRegion, nullptr);
    EXPECT_EQ(pRegion->GetBounds(), CRect(-32768, 32767, 32767, -32768));

    // The test takes x + 0.5 truncated toward zero: -1000 m is the metre -999.
    struct Case
    {
        float x, y;
        BOOL hit;
    } cases[] = {
        {-32768, -32768, TRUE}, {-1000, -1000, TRUE},  {0, -3, TRUE},         {1, -4, TRUE},
        {32765, -32768, TRUE},  {-32769, 32766, TRUE}, {0, -2, FALSE},        {1, -3, FALSE},
        {32766, -32768, FALSE}, {0, 0, FALSE},         {30000, 30000, FALSE}, {-32769, 32767, FALSE},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(pRegion->HitTest(c.x, c.y), c.hit) << c.x << ", " << c.y;
        EXPECT_EQ(helpMap.IsBlockedAt(c.x, c.y, nullptr, 0x1), c.hit) << c.x << ", " << c.y;
    }
}

// Writing a region or route of more points than the word of its count can
// hold fails with an error that names the file and the cause, and writes no
// file that could not be read back.
TEST(HelpMapFile, TooManyPointsToWriteNameTheFileAndTheCause)
{
    TempFolder folder;
    CAITerrainArray helpMap;
    auto* pRoute = new CAITerrainRoute;
    pRoute->SetPoints(std::vector<AIRoutePoint>(kMaxStoredPoints + 1));
    helpMap.Add(pRoute);

    CFile file;
    ASSERT_TRUE(file.Open("big.aim", CFile::modeCreate | CFile::modeWrite));
    try
    {
        CArchive ar(&file, CArchive::store);
        helpMap.Serialize(ar);
        ar.Close();
        ADD_FAILURE() << "a route of 32768 points was written";
    }
    catch (const CArchiveException& e)
    {
        EXPECT_EQ(e.GetErrorText(), CString("'") + file.GetFilePath() +
                                        "' could not be written: an item has 32768 points, more than the 32767 a "
                                        "help-map file can hold.");
    }
    file.Abort();
}

TEST(HelpMapFile, EveryCutShortFileFailsAndLeavesTheHelpMapAsItWas)
{
    const std::vector<BYTE> bytes = Fixture().data();
    CAITerrainArray helpMap;
    helpMap.SetFileName("kept.aim");
    auto* pKept = new CAITerrainSBF;
    helpMap.Add(pKept);
    for (size_t length = 0; length < bytes.size(); ++length)
    {
        const std::vector<BYTE> cut(bytes.begin(), bytes.begin() + static_cast<long>(length));
        EXPECT_THROW(LoadFromBytes(helpMap, cut), CArchiveException) << length << " bytes";
        ASSERT_EQ(helpMap.GetSize(), 1);
        EXPECT_EQ(helpMap.GetAt(0), pKept);
        EXPECT_EQ(helpMap.GetFileName(), "kept.aim");
    }
}

TEST(HelpMapFile, BadCountsRaiseTheArchiveErrorAndZeroCountsRead)
{
    size_t kNestedRouteCount = 0;
    const Bytes fixture = Fixture(&kNestedRouteCount);

    // What a throwing case's error says is wrong, when the help map itself
    // finds the fault (a cut-short file is the archive's own finding).
    const char* const kNegative = "an item has a negative number of points";
    const char* const kTwice = "it holds one object in two places";
    struct Case
    {
        const char* what;
        std::vector<BYTE> bytes;
        bool throws;
        const char* reason = nullptr;  // any
    } cases[] = {
        {"point count -1", WithByte(fixture.data(), kNestedRouteCount, -1), true, kNegative},
        {"point count -32768", WithByte(fixture.data(), kNestedRouteCount, -32768), true, kNegative},
        {"point count past the end", WithByte(fixture.data(), kNestedRouteCount, 30000), true},
        {"item count -1", Bytes().w16(0xFFFF).w16(0xFFFF).w16(0xFFFF).data(), true},
        {"a vertex count of -1",
         Bytes().w16(1).newClass("CAITerrainRegion").w16(0).str("").w16(1).w16(-1).w16(0).str("").data(), true,
         kNegative},
        {"a position count of -1", Bytes().w16(1).newClass("CAITerrainSBF").w16(-1).str("").data(), true, kNegative},
        {"positions past the end",
         Bytes().w16(1).newClass("CAITerrainSBF").w16(2).f32(1).f32(1).f32(1).w16(0).str("").data(), true},
        {"zero vertices",
         Bytes().w16(1).newClass("CAITerrainRegion").w16(0).str("").w16(1).w16(0).w16(0).str("").data(), false},
        {"zero route points", Bytes().w16(1).newClass("CAITerrainRoute").w16(0).w16(0).w16(0).str("").data(), false},
        {"zero positions", Bytes().w16(1).newClass("CAITerrainSBF").w16(0).str("").data(), false},
        {"a plain item with its name", Bytes().w16(1).newClass("CAITerrain").str("named").str("").data(), false},
        {"an item stored twice", Bytes().w16(2).newClass("CAITerrainSBF").w16(0).w16(2).str("").data(), true, kTwice},
        {"a region holding itself",
         Bytes().w16(1).newClass("CAITerrainRegion").w16(1).w16(2).str("").w16(0).w16(0).w16(0).str("").data(), true,
         kTwice},
        {"an array in place of an item", Bytes().w16(1).newClass("CAITerrainArray").w16(0).str("").str("").data(),
         true},
        {"a region nested 16 deep", NestedRegions(17).data(), false},
        {"a region nested 17 deep", NestedRegions(18).data(), true, "its regions nest more than 16 deep"},
    };
    for (const Case& c : cases)
    {
        CAITerrainArray helpMap;
        if (c.throws)
        {
            try
            {
                LoadFromBytes(helpMap, c.bytes);
                ADD_FAILURE() << c.what << " read";
            }
            catch (const CArchiveException& e)
            {
                if (c.reason != nullptr)
                {
                    EXPECT_EQ(e.GetErrorText(), CString("The file could not be read: ") + c.reason + ".") << c.what;
                }
            }
            EXPECT_EQ(helpMap.GetSize(), 0) << c.what;
        }
        else
        {
            EXPECT_NO_THROW(LoadFromBytes(helpMap, c.bytes)) << c.what;
            EXPECT_EQ(helpMap.GetSize(), 1) << c.what;
            EXPECT_EQ(StoreToBytes(helpMap), c.bytes) << c.what;
        }
    }
}

TEST(HelpMapFile, CopiesAreDeepAndKeepNoFileName)
{
    CAITerrainArray helpMap;
    LoadFromBytes(helpMap, Fixture().data());
    const CAITerrainArray copy(helpMap);
    EXPECT_EQ(copy.GetFileName(), "");
    ASSERT_EQ(copy.GetSize(), helpMap.GetSize());
    for (int i = 0; i < copy.GetSize(); ++i)
    {
        if (helpMap.GetAt(i) == nullptr)
        {
            EXPECT_EQ(copy.GetAt(i), nullptr);
            continue;
        }
        EXPECT_NE(copy.GetAt(i), helpMap.GetAt(i));
        EXPECT_EQ(copy.GetAt(i)->GetRuntimeClass(), helpMap.GetAt(i)->GetRuntimeClass());
    }
    const auto* pRegion = static_cast<const CAITerrainRegion*>(copy.GetAt(0));
    EXPECT_NE(pRegion->GetChildren(), static_cast<const CAITerrainRegion*>(helpMap.GetAt(0))->GetChildren());
    EXPECT_EQ(pRegion->GetBounds(), CRect(-100, 150, 200, -50));
    // The copy writes the same items; no array name comes along, nested
    // arrays' included.
    EXPECT_EQ(pRegion->GetChildren()->GetFileName(), "");
    static_cast<CAITerrainRegion*>(helpMap.GetAt(0))->GetChildren()->SetFileName("");
    helpMap.SetFileName("");
    CAITerrainArray copied(copy);
    EXPECT_EQ(StoreToBytes(copied), StoreToBytes(helpMap));
}

TEST(HelpMapFile, LoadFromFileTakesTheNameItOpenedAndCancelFails)
{
    TempFolder folder;
    folder.Write("found.aim", Fixture().data());
    ScopedScriptedUi ui;

    CAITerrainArray helpMap;
    ASSERT_TRUE(helpMap.LoadFromFile("found.aim", GetCurrentDir()));
    EXPECT_EQ(helpMap.GetFileName(), "found.aim");
    EXPECT_EQ(helpMap.GetSize(), 4);

    // A missing file: the dialog offers another, whose name is kept.
    ui->ExpectFileDialog(TRUE, folder.Path("found.aim").c_str());
    CAITerrainArray chosen;
    ASSERT_TRUE(chosen.LoadFromFile("missing.aim", GetCurrentDir()));
    EXPECT_EQ(chosen.GetFileName(), folder.Path("found.aim").c_str());
    EXPECT_EQ(ui->GetShown().back().file.defaultExt, "aim");
    EXPECT_EQ(ui->GetShown().back().file.fileName, "*.aim");

    // Cancel fails at once, even after a choice that did not open.
    ui->ExpectFileDialog(TRUE, folder.Path("also-missing.aim").c_str());
    ui->ExpectFileDialog(TRUE, "");
    EXPECT_FALSE(helpMap.LoadFromFile("missing.aim", GetCurrentDir()));
    EXPECT_EQ(helpMap.GetFileName(), "found.aim");
    EXPECT_EQ(helpMap.GetSize(), 4);
}

TEST(HelpMapFile, TheGameMapReportsABadHelpMapAndFailsItsLoad)
{
    TempFolder folder;
    std::vector<BYTE> cut = Fixture().data();
    cut.resize(cut.size() - 5);
    folder.Write("cut.aim", cut);
    folder.Write("minus.aim", Bytes().w16(1).newClass("CAITerrainRoute").w16(0).w16(-1).w16(0).str("").data());
    folder.Write("good.aim", Fixture().data());

    struct Case
    {
        const char* name;
        int cause;
        const char* reason;
    } cases[] = {{"cut.aim", CArchiveException::endOfFile, ""},
                 {"minus.aim", CArchiveException::badIndex, "an item has a negative number of points"}};
    for (const Case& c : cases)
    {
        CFile file;
        ASSERT_TRUE(file.Open(c.name, CFile::modeRead));
        const CString expected = CString("The AI Help Map, ") + c.name + ", could not be read.\n" +
                                 CArchiveException(c.cause, file.GetFilePath(), c.reason).GetErrorText();
        file.Close();
        ScopedScriptedUi ui;
        CKDRGameMap map;
        map.m_strHelpMap = c.name;
        ui->ExpectMessage("Error", expected, IDOK);
        EXPECT_FALSE(map.LoadMapFiles(nullptr, GetCurrentDir())) << c.name;
        EXPECT_FALSE(map.HasHelpMap());
        EXPECT_EQ(map.m_strHelpMap, c.name);
    }

    // A good one installs; a second asks before it erases the first.
    ScopedScriptedUi ui;
    CKDRGameMap map;
    map.m_strHelpMap = "good.aim";
    ASSERT_TRUE(map.LoadMapFiles(nullptr, GetCurrentDir()));
    ASSERT_TRUE(map.HasHelpMap());
    CAITerrainArray* pFirst = map.GetHelpMap();
    EXPECT_EQ(pFirst->GetFileName(), "good.aim");

    const char* const kErase = "This operation will erase the currently loaded AI Help Map.\nDo you wish to continue?";
    ui->ExpectMessage("Warning!", kErase, IDNO);
    EXPECT_FALSE(map.LoadHelpMap("good.aim", GetCurrentDir()));
    EXPECT_EQ(map.GetHelpMap(), pFirst);
    EXPECT_EQ(ui->GetShown().back().type, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));

    ui->ExpectMessage("Warning!", kErase, IDYES);
    folder.Write("other.aim", Bytes().w16(0).str("").data());
    EXPECT_TRUE(map.LoadHelpMap("other.aim", GetCurrentDir()));
    EXPECT_EQ(map.GetHelpMap()->GetSize(), 0);
    EXPECT_EQ(map.m_strHelpMap, "other.aim");
}
