// The questions asked of the AI help map: blocking, the segment walk, route
// entries and the support-by-fire searches, alone and through the game map.
#include "BattlefieldTestSupport.h"

#include "battlefield/AITerrain.h"
#include "battlefield/AITerrainArray.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace bftest;

namespace
{
constexpr float kPi = 3.14159265f;

float Radians(float degrees) { return degrees * kPi / 180.0f; }

CAITerrainRegion* Region(int flags, std::vector<CPoint> points, BOOL marked = FALSE)
{
    auto* pRegion = new CAITerrainRegion;
    pRegion->SetFlags(flags);
    pRegion->SetPoints(points);
    pRegion->SetMarked(marked);
    pRegion->Rebuild();
    return pRegion;
}

CAITerrainRoute* Route(int flags, std::vector<CPoint> points, BOOL marked = FALSE)
{
    std::vector<AIRoutePoint> line;
    for (const CPoint& p : points)
        line.push_back(AIRoutePoint{p.x, p.y, 10, 0});
    auto* pRoute = new CAITerrainRoute;
    pRoute->SetRouteFlags(flags);
    pRoute->SetPoints(line);
    pRoute->SetMarked(marked);
    pRoute->Rebuild();
    return pRoute;
}

// Two positions 10 m apart north to south, both facing `facing`.
CAITerrainSBF* SBF(float x, float y, float facing, int flags = 0)
{
    auto* pSBF = new CAITerrainSBF;
    pSBF->SetPositions({{x, y - 5.0f, facing, flags}, {x, y + 5.0f, facing, flags}});
    pSBF->Rebuild();
    return pSBF;
}

std::vector<CPoint> Square(int left, int bottom, int right, int top) { return Box(left, bottom, right, top); }
}  // namespace

TEST(HelpMapQueries, RegionsBlockByMoverClass)
{
    struct Case
    {
        int regionFlags;
        int moverFlags;
        BOOL blocked;
    } cases[] = {
        {0x10, 0x1, TRUE}, {0x10, 0x2, FALSE}, {0x10, 0x4, FALSE}, {0x10, 0x8, FALSE},
        {0x6, 0x1, FALSE}, {0x6, 0x2, TRUE},   {0x6, 0x4, TRUE},   {0x6, 0x8, FALSE},
        {0x1, 0x1, TRUE},  {0x8, 0x8, TRUE},   {0x0, 0xF, FALSE},
    };
    for (const Case& c : cases)
    {
        CAITerrainArray helpMap;
        CAITerrainRegion* pRegion = Region(c.regionFlags, Square(0, 0, 100, 100));
        helpMap.Add(pRegion);
        CAITerrainRegion* pFound = pRegion;
        EXPECT_EQ(helpMap.IsBlockedAt(50.0f, 50.0f, &pFound, c.moverFlags), c.blocked)
            << std::hex << c.regionFlags << " against " << c.moverFlags;
        EXPECT_EQ(pFound, c.blocked ? pRegion : nullptr);
    }
}

TEST(HelpMapQueries, ARouteForEveryMoverClearsEveryRegion)
{
    for (bool routeFirst : {true, false})
    {
        CAITerrainArray helpMap;
        CAITerrainRoute* pRoad = Route(0xF, {{-50, 50}, {150, 50}});
        if (routeFirst)
            helpMap.Add(pRoad);
        helpMap.Add(Region(0xF, Square(0, 0, 100, 100)));
        CAITerrainRegion* pLast = Region(0x1, Square(20, 20, 80, 80));
        helpMap.Add(pLast);
        if (!routeFirst)
            helpMap.Add(pRoad);
        CAITerrainRegion* pFound = nullptr;
        EXPECT_FALSE(helpMap.IsBlockedAt(50.0f, 50.0f, &pFound, 0xF)) << routeFirst;
        EXPECT_EQ(pFound, nullptr);
        // A mover without all four bits gets no such pass; the last
        // blocking region is the one named.
        EXPECT_TRUE(helpMap.IsBlockedAt(50.0f, 50.0f, &pFound, 0x3)) << routeFirst;
        EXPECT_EQ(pFound, pLast);
        // Off the road the regions block every mover.
        EXPECT_TRUE(helpMap.IsBlockedAt(50.0f, 60.0f, &pFound, 0xF));
    }
    // A route missing a bit clears nothing.
    CAITerrainArray helpMap;
    helpMap.Add(Region(0x1, Square(0, 0, 100, 100)));
    helpMap.Add(Route(0x7, {{-50, 50}, {150, 50}}));
    EXPECT_TRUE(helpMap.IsBlockedAt(50.0f, 50.0f, nullptr, 0xF));
}

TEST(HelpMapQueries, PointTestsOfEachKind)
{
    std::unique_ptr<CAITerrainRegion> region(Region(0x1, Square(0, 0, 100, 100)));
    std::unique_ptr<CAITerrainRoute> route(Route(0, {{0, 0}, {100, 0}, {100, 100}}));
    std::unique_ptr<CAITerrainSBF> sbf(SBF(500.0f, 500.0f, 0.0f));
    struct Case
    {
        const char* what;
        const CAITerrain* item;
        float x, y;
        BOOL hit;
    } cases[] = {
        {"inside", region.get(), 50, 50, TRUE},
        {"on the left edge", region.get(), 0, 50, TRUE},
        {"on the bottom edge", region.get(), 50, 0, TRUE},
        {"on the largest x edge", region.get(), 100, 50, FALSE},
        {"on the largest y edge", region.get(), 50, 100, FALSE},
        {"rounded down to the inside", region.get(), 99.4f, 50, TRUE},
        {"rounded up onto the edge", region.get(), 99.5f, 50, FALSE},
        {"2 m beside a route", route.get(), 50, 2.0f, TRUE},
        {"2 m on the other side", route.get(), 50, -2.0f, TRUE},
        {"2.01 m beside a route", route.get(), 50, 2.01f, FALSE},
        {"2 m before its start, on its line", route.get(), -2.0f, 0, TRUE},
        {"2.01 m before its start", route.get(), -2.01f, 0, FALSE},
        {"2 m beyond an upright segment's end", route.get(), 100, 102.0f, TRUE},
        {"2 m beside an upright segment", route.get(), 98.0f, 50, TRUE},
        {"2.5 m beside an upright segment", route.get(), 97.5f, 50, FALSE},
        {"on the line of positions", sbf.get(), 501.5f, 500, TRUE},
        {"beside the line of positions", sbf.get(), 502.5f, 500, FALSE},
        {"past the last position", sbf.get(), 500, 507.0f, TRUE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.item->HitTest(c.x, c.y), c.hit) << c.what;

    std::unique_ptr<CAITerrainRoute> single(Route(0, {{0, 0}}));
    EXPECT_FALSE(single->HitTest(0.0f, 0.0f));
}

TEST(HelpMapQueries, SegmentWalkStepsTenMetresAtATime)
{
    CAITerrainArray helpMap;
    CAITerrainRegion* pWall = Region(0x3, Square(28, -50, 35, 50), TRUE);
    helpMap.Add(pWall);
    helpMap.Add(Region(0x3, Square(200, -50, 300, 50)));

    struct Case
    {
        const char* what;
        float x1, y1, x2, y2;
        int mover;
        BOOL blocked;
        float hitX;
    } cases[] = {
        // 9 by 9 m is never walked, whatever lies there.
        {"9 by 9 m", 25.0f, -4.0f, 34.0f, 5.0f, 0x1, FALSE, 123.0f},
        // 10 m: one step (1.75 truncated), to 10 m only.
        {"10 m", 15.0f, 0.0f, 25.0f, 0.0f, 0x1, FALSE, -99.0f},
        {"10 m onto the wall", 20.0f, 0.0f, 30.0f, 0.0f, 0x1, TRUE, 30.0f},
        // 25 m: three steps, the last 5 m past the end point.
        {"25 m", 0.0f, 0.0f, 25.0f, 0.0f, 0x1, TRUE, 30.0f},
        {"14 m: two steps, short of the wall", 0.0f, 0.0f, 14.0f, 0.0f, 0x2, FALSE, -99.0f},
        {"class 0x4", 0.0f, 0.0f, 250.0f, 0.0f, 0x4, FALSE, 123.0f},
        {"class 0x8", 0.0f, 0.0f, 250.0f, 0.0f, 0x9, FALSE, 123.0f},
        {"class 0x2 into the far region", 100.0f, 0.0f, 250.0f, 0.0f, 0x2, TRUE, 200.0f},
    };
    for (const Case& c : cases)
    {
        float hitX = 123.0f;
        float hitY = 123.0f;
        CAITerrainRegion* pItem = pWall;
        int marker = 77;
        EXPECT_EQ(helpMap.FindSegmentBlock(c.x1, c.y1, c.x2, c.y2, &hitX, &hitY, nullptr, nullptr, c.mover, 0, &pItem,
                                           nullptr, &marker, 0),
                  c.blocked)
            << c.what;
        EXPECT_NEAR(hitX, c.hitX, 1e-3) << c.what;
        if (c.hitX == 123.0f)  // untouched
        {
            EXPECT_EQ(pItem, pWall) << c.what;
            EXPECT_EQ(marker, 77) << c.what;
        }
        else if (c.blocked)
        {
            EXPECT_NEAR(hitY, 0.0f, 1e-3) << c.what;
            EXPECT_EQ(pItem, c.hitX == 30.0f ? pWall : helpMap.GetAt(1)) << c.what;
            EXPECT_EQ(marker, c.hitX == 30.0f ? 1 : 0) << c.what;
        }
        else
        {
            EXPECT_EQ(pItem, nullptr) << c.what;
            EXPECT_EQ(marker, 0) << c.what;
        }
    }
}

TEST(HelpMapQueries, RouteEntriesByHeadingAndDistance)
{
    // A route running north from (500, 100) to (500, 300).
    struct Case
    {
        const char* what;
        float x, y, headingDegrees;
        BOOL marked;
        BOOL wide;
        BOOL found;
        int index;
        int reverse;
    } cases[] = {
        {"along it", 550, 200, 0, FALSE, FALSE, TRUE, 0, 0},
        {"45 degrees off", 550, 200, 45, FALSE, FALSE, TRUE, 0, 0},
        {"50 degrees off", 550, 200, 50, FALSE, FALSE, FALSE, -1, 0},
        {"50 degrees off, marked", 550, 200, -50, TRUE, FALSE, TRUE, 0, 0},
        {"130 degrees off", 550, 200, 130, FALSE, FALSE, FALSE, -1, 0},
        {"130 degrees off, marked", 550, 200, 130, TRUE, FALSE, TRUE, 1, 1},
        {"against it", 550, 200, 180, FALSE, FALSE, TRUE, 1, 1},
        {"90 degrees off", 550, 200, 90, TRUE, FALSE, FALSE, -1, 0},
        {"90 degrees off, wide", 550, 200, 90, TRUE, TRUE, FALSE, -1, 0},
        {"wide tries both ways", 500, 330, 0, FALSE, TRUE, TRUE, 1, 1},
        {"heading a whole turn on", 550, 200, 360 + 10, FALSE, FALSE, TRUE, 0, 0},
        {"an entry 200.0 m away", 700, 100, 0, FALSE, FALSE, TRUE, 0, 0},
        {"an entry 200.5 m away", 700.5f, 100, 0, FALSE, FALSE, FALSE, -1, 0},
        {"200.5 m, wide", 700.5f, 100, 0, FALSE, TRUE, TRUE, 0, 0},
    };
    for (const Case& c : cases)
    {
        CAITerrainArray helpMap;
        CAITerrainRoute* pRoute = Route(0x3, {{500, 100}, {500, 300}}, c.marked);
        helpMap.Add(Region(0x3, Square(0, 0, 50, 50)));  // not a route: never an entry
        helpMap.Add(pRoute);
        float ex = 0.0f, ey = 0.0f;
        int reverse = -1, index = -2;
        CAITerrainRoute* pFound = nullptr;
        EXPECT_EQ(helpMap.FindRouteEntry(c.x, c.y, Radians(c.headingDegrees), 0x1, 0, nullptr, nullptr, &ex, &ey,
                                         &reverse, &index, &pFound, c.wide),
                  c.found)
            << c.what;
        EXPECT_EQ(index, c.index) << c.what;
        EXPECT_EQ(pFound, c.found ? pRoute : nullptr) << c.what;
        if (c.found)
        {
            EXPECT_EQ(reverse, c.reverse) << c.what;
            EXPECT_EQ(ex, 500.0f) << c.what;
            EXPECT_EQ(ey, c.index == 0 ? 100.0f : 300.0f) << c.what;
        }
        else
        {
            EXPECT_EQ(ex, -99.0f) << c.what;
            EXPECT_EQ(ey, -99.0f) << c.what;
        }
    }
}

TEST(HelpMapQueries, RouteEntriesNeedTheEntryAndTheFarEndFree)
{
    CKDRGameMap gameMap;
    auto* pGround = new CElevationMap;
    MakeFlat(*pGround, 1000, 1000, 1000);
    gameMap.SetElevationMap(pGround);
    auto* pHelpMap = new CAITerrainArray;
    CAITerrainRoute* pOffMap = Route(0x3, {{500, 100}, {500, 1200}});  // its far end is off the map
    CAITerrainRoute* pBlocked = Route(0x3, {{560, 100}, {560, 400}});  // its far end lies in the lake
    CAITerrainRoute* pFree = Route(0x3, {{600, 100}, {600, 300}});
    pHelpMap->Add(pOffMap);
    pHelpMap->Add(pBlocked);
    pHelpMap->Add(pFree);
    pHelpMap->Add(Region(0x1, Square(540, 350, 580, 450)));
    gameMap.SetHelpMap(pHelpMap);

    float ex = 0.0f, ey = 0.0f;
    int reverse = 0, index = 0;
    CAITerrainRoute* pFound = nullptr;
    ASSERT_TRUE(pHelpMap->FindRouteEntry(510.0f, 100.0f, 0.0f, 0x1, 0, &gameMap, nullptr, &ex, &ey, &reverse, &index,
                                         &pFound, FALSE));
    EXPECT_EQ(pFound, pFree);
    EXPECT_EQ(ex, 600.0f);
    // Without the map's point test the nearest route is taken.
    ASSERT_TRUE(pHelpMap->FindRouteEntry(510.0f, 100.0f, 0.0f, 0x1, 0, nullptr, nullptr, &ex, &ey, &reverse, &index,
                                         &pFound, FALSE));
    EXPECT_EQ(pFound, pOffMap);
    // A mover the region does not block may take the second route.
    ASSERT_TRUE(pHelpMap->FindRouteEntry(510.0f, 100.0f, 0.0f, 0x2, 0, &gameMap, nullptr, &ex, &ey, &reverse, &index,
                                         &pFound, FALSE));
    EXPECT_EQ(pFound, pBlocked);
}

TEST(HelpMapQueries, SupportByFireTowardATarget)
{
    CAITerrainArray helpMap;
    CAITerrainSBF* pEast = SBF(100.0f, 100.0f, kPi / 2.0f);
    helpMap.Add(pEast);
    helpMap.Add(Route(0, {{0, 0}, {10, 0}}));
    struct Case
    {
        const char* what;
        float offDegrees;
        float range;
        BOOL found;
    } cases[] = {
        {"due east", 0, 0, TRUE},
        {"59 degrees north of east", -59, 0, TRUE},
        {"59 degrees south", 59, 0, TRUE},
        {"61 degrees off", 61, 0, FALSE},
        {"61 degrees the other way", -61, 0, FALSE},
        {"out of range", 0, 300, FALSE},  // 0.75 x 500 m = 375 m
        {"in range", 0, 380, TRUE},
    };
    for (const Case& c : cases)
    {
        pEast->SetRange(c.range);
        const float bearing = kPi / 2.0f + Radians(c.offDegrees);
        const float tx = 100.0f + 500.0f * std::sin(bearing);
        const float ty = 100.0f + 500.0f * std::cos(bearing);
        CAITerrainArray result;
        helpMap.FindSBFPositionsNear(&result, 110.0f, 100.0f, 10.0f, tx, ty);
        EXPECT_EQ(result.GetSize(), c.found ? 1 : 0) << c.what;
        EXPECT_TRUE(result.BorrowsItems());
    }
    // Only items within the largest distance of the firing element.
    CAITerrainArray result;
    pEast->SetRange(0.0f);
    helpMap.FindSBFPositionsNear(&result, 110.1f, 100.0f, 10.0f, 600.0f, 100.0f);
    EXPECT_EQ(result.GetSize(), 0);
    helpMap.FindSBFPositionsNear(nullptr, 100.0f, 100.0f, 10.0f, 600.0f, 100.0f);  // no result: nothing
}

TEST(HelpMapQueries, SupportByFireByFacingNearestFirstAndOnce)
{
    CAITerrainArray helpMap;
    CAITerrainSBF* p300 = SBF(0.0f, 300.0f, 0.1f, 0x1);
    CAITerrainSBF* p100 = SBF(0.0f, 100.0f, -0.1f, 0x4);
    CAITerrainSBF* p200 = SBF(0.0f, 200.0f, 0.0f, 0x0);
    helpMap.Add(p300);
    helpMap.Add(nullptr);
    helpMap.Add(p100);
    helpMap.Add(p200);
    helpMap.Add(SBF(0.0f, 150.0f, kPi, 0x1));  // faces away

    CAITerrainArray result;
    helpMap.FindSBFPositionsFacing(&result, 0.0f, 0.0f, 1000.0f, 0.0f, 0);
    helpMap.FindSBFPositionsFacing(&result, 0.0f, 0.0f, 1000.0f, 0.0f, 0);
    ASSERT_EQ(result.GetSize(), 3);
    EXPECT_EQ(result.GetAt(0), p100);
    EXPECT_EQ(result.GetAt(1), p200);
    EXPECT_EQ(result.GetAt(2), p300);

    // The mask keeps items sharing a bit with it, and those without flags.
    CAITerrainArray masked;
    helpMap.FindSBFPositionsFacing(&masked, 0.0f, 0.0f, 250.0f, 0.0f, 0x1);
    ASSERT_EQ(masked.GetSize(), 1);
    EXPECT_EQ(masked.GetAt(0), p200);
    // The results borrow the items: the help map still owns them here.
    EXPECT_EQ(helpMap.GetAt(0), p300);
}

TEST(HelpMapQueries, PositionFilter)
{
    CAITerrainSBF sbf;
    EXPECT_TRUE(sbf.HasNoPositionFor(0x1));
    EXPECT_EQ(sbf.GetCombinedFlags(), 0);
    sbf.SetPositions({{0.0f, 50.0f, 0.0f, 0x1}, {10.0f, 0.0f, 0.0f, 0x1}, {10.0f, 50.0f, 0.0f, 0x2}});
    struct Case
    {
        int mask;
        BOOL none;
    } cases[] = {{0x1, TRUE}, {0x2, FALSE}, {0x3, FALSE}, {0x4, TRUE}, {0, FALSE}};
    for (const Case& c : cases)
        EXPECT_EQ(sbf.HasNoPositionFor(c.mask), c.none) << c.mask;
    // A position without flags serves every mask.
    sbf.SetPositions({{10.0f, 50.0f, 0.0f, 0}});
    EXPECT_FALSE(sbf.HasNoPositionFor(0x4));
}

TEST(HelpMapQueries, TheGameMapAsksItsHelpMap)
{
    CKDRGameMap gameMap;
    auto* pGround = new CElevationMap;
    MakeFlat(*pGround, 1000, 1000, 1000);
    gameMap.SetElevationMap(pGround);

    // Without a help map the searches answer empty arrays.
    std::unique_ptr<CAITerrainArray> none(gameMap.FindSBFPositionsFacing(0.0f, 0.0f, 1000.0f, 0.0f, 0));
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->GetSize(), 0);

    auto* pHelpMap = new CAITerrainArray;
    CAITerrainRegion* pPond = Region(0x1, Square(475, 295, 540, 340), TRUE);
    pHelpMap->Add(pPond);
    CAITerrainSBF* pIndirect = SBF(500.0f, 800.0f, 0.0f, 0x2);
    pHelpMap->Add(pIndirect);
    pHelpMap->Add(SBF(800.0f, 500.0f, 0.0f, 0x1));
    gameMap.SetHelpMap(pHelpMap);
    ASSERT_TRUE(gameMap.HasHelpMap());

    EXPECT_EQ(gameMap.IsPointBlocked(500.0f, 320.0f, nullptr, 0x1, 0, 0), 1);
    EXPECT_EQ(gameMap.IsPointBlocked(500.0f, 320.0f, nullptr, 0x2, 0, 0), 0);

    // Every line of the corridor asks the help map: the pond lies only
    // under the line 20 m east of the centre.
    struct Corridor
    {
        float width;
        BOOL blocked;
    } corridors[] = {{20.0f, FALSE}, {40.0f, TRUE}};
    for (const Corridor& c : corridors)
    {
        float bx = 0.0f, by = 0.0f;
        CAITerrainRegion* pRegion = nullptr;
        CTerrain* pFeature = nullptr;
        CObstacle* pObstacle = nullptr;
        int marker = -1;
        EXPECT_EQ(gameMap.FindSegmentBlock(nullptr, 460.0f, 100.0f, 460.0f, 600.0f, &bx, &by, c.width, 0.0f, 0x1, 0,
                                           &pRegion, &pFeature, &pObstacle, &marker, 0),
                  c.blocked)
            << c.width;
        EXPECT_EQ(pRegion, c.blocked ? pPond : nullptr);
        EXPECT_EQ(marker, c.blocked ? 1 : 0);
        EXPECT_EQ(pFeature, nullptr);
        if (c.blocked)
        {
            EXPECT_NEAR(bx, 480.0f, 1e-3);
            EXPECT_NEAR(by, 300.0f, 1e-3);
        }
    }

    // The searches borrow the help map's items: deleting a result leaves
    // them in place (the sanitizer build would catch a second delete).
    {
        std::unique_ptr<CAITerrainArray> near(gameMap.FindSBFPositionsNear(500.0f, 800.0f, 50.0f, 500.0f, 1500.0f));
        ASSERT_EQ(near->GetSize(), 1);
        EXPECT_EQ(near->GetAt(0), pIndirect);
        EXPECT_TRUE(near->BorrowsItems());
    }
    EXPECT_EQ(pHelpMap->GetAt(1), pIndirect);

    // Indirect-fire positions in a ring and a bearing window from (500, 500).
    struct Sector
    {
        const char* what;
        float lo, hi, nearDistance, farDistance;
        int found;
    } sectors[] = {
        {"north", -0.5f, 0.5f, 100.0f, 400.0f, 1},
        {"ring edge inclusive", -0.5f, 0.5f, 300.0f, 300.0f, 1},
        {"too near", -0.5f, 0.5f, 301.0f, 400.0f, 0},
        {"east only", 1.0f, 2.0f, 0.0f, 1000.0f, 0},  // the east item has no indirect-fire position
        {"through south", 3.0f, -2.5f, 0.0f, 1000.0f, 0},
        {"round through south to north", 2.0f, 0.5f, 0.0f, 1000.0f, 1},
        {"folded", -0.5f + 2.0f * kPi, 0.5f, 0.0f, 1000.0f, 1},
    };
    for (const Sector& s : sectors)
    {
        std::unique_ptr<CAITerrainArray> found(
            gameMap.FindIFPositions(500.0f, 500.0f, s.lo, s.hi, s.nearDistance, s.farDistance));
        EXPECT_EQ(found->GetSize(), s.found) << s.what;
    }
}
