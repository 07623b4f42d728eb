// The path builders on a flat 2 km map whose help map holds the blocking
// regions of each case: leg ends moved sideways, formations dropped and
// restored round narrow places, the fan's turn limit, walks that run over
// their budget and are led round the polygon, polygon detours, help-map
// route following, and walks that must end on input that once kept them
// going for ever.

#include "battlefield/AITerrain.h"
#include "battlefield/AITerrainArray.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MoverInfo.h"
#include "hierarchy/TaskOrg.h"
#include "orders/NodeArray.h"
#include "orders/RouteBuildSupport.h"
#include "orders/RouteQueries.h"
#include "units/KDRUnits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace
{
constexpr double kPi = 3.14159265358979;
constexpr int kGround = 0x1;

std::vector<CPoint> Box(int left, int bottom, int right, int top)
{
    return {CPoint(left, bottom), CPoint(left, top), CPoint(right, top), CPoint(right, bottom)};
}

CAITerrainRegion* MakeRegion(const std::vector<CPoint>& points, int flags = kGround)
{
    auto* pRegion = new CAITerrainRegion;
    pRegion->SetFlags(flags);
    pRegion->SetPoints(points);
    pRegion->Rebuild();
    return pRegion;
}

// A flat 2000 x 2000 m map; regions go into its help map.
struct RouteScene
{
    CKDRGameMap map;
    CAITerrainArray* pHelpMap = new CAITerrainArray;

    RouteScene()
    {
        auto* pGround = new CElevationMap;
        pGround->SetGeometry(2000, 2000, 0, 0, 1);
        for (int c = 0; c < pGround->GetColumns(); ++c)
            for (int r = 0; r < pGround->GetRows(); ++r)
                pGround->SetElevation(c, r, 1000);
        pGround->UpdateElevationRange();
        map.SetElevationMap(pGround);
        map.SetHelpMap(pHelpMap);
    }
    CAITerrainRegion* Add(CAITerrainRegion* pRegion)
    {
        pHelpMap->Add(pRegion);
        return pRegion;
    }
};

int Build(CNodeArray& path, CKDRGameMap& map, CTaskOrgArray* pElement = nullptr, float fFrontage = 0.0f,
          const CStringArray* pNames = nullptr, CKDRUnits* pUnits = nullptr, const CRouteQueries* pQueries = nullptr,
          float fSpacing = kUnsetFloat)
{
    float x = 0.0f;
    float y = 0.0f;
    return path.BuildRoute(kUnset, fFrontage, 0.0f, &x, &y, pUnits, nullptr, pElement, nullptr, &map, pNames,
                           CString(), kGround, kUnset, FALSE, fSpacing, FALSE, pQueries);
}

const CNOrdFormationOrder* FormationOf(const CNode* pNode)
{
    return pNode != nullptr ? static_cast<const CNOrdFormationOrder*>(pNode->m_pOrders->FindOfType(NORD_FORMATION))
                            : nullptr;
}

bool AllOutside(const CNodeArray& path, const CAITerrainRegion& region)
{
    for (int i = 0; i < path.GetSize(); ++i)
    {
        if (region.HitTest(path.GetAt(i)->m_fX, path.GetAt(i)->m_fY))
            return false;
    }
    return true;
}
}  // namespace

TEST(BuildRoute, OneNodePathGetsAStopAndTheSidesStartTime)
{
    RouteScene scene;
    struct Case
    {
        int side;  // kUnset: no element
        bool startTime;
    } cases[] = {{kUnset, true}, {0, false}, {1, true}};
    for (const Case& c : cases)
    {
        CTaskOrgArray element;
        element.m_nSide = c.side;
        CNodeArray path;
        path.AddNode(500.0f, 500.0f);
        EXPECT_EQ(Build(path, scene.map, c.side == kUnset ? nullptr : &element), 1);
        ASSERT_EQ(path.GetSize(), 1);
        EXPECT_TRUE(path.GetAt(0)->HasStop()) << c.side;
        const auto* pStart = static_cast<const CNOrdStartTime*>(path.GetAt(0)->m_pOrders->FindOfType(NORD_START_TIME));
        EXPECT_EQ(pStart != nullptr, c.startTime) << c.side;
        if (pStart != nullptr)
        {
            EXPECT_EQ(pStart->m_tsStart.GetTotalSeconds(), 86346549);
        }
    }

    // An empty path gets a node at the origin first.
    CNodeArray empty;
    float x = 1.0f;
    float y = 1.0f;
    EXPECT_EQ(empty.BuildRoute(kUnset, 0, 0, &x, &y, nullptr, nullptr, nullptr, nullptr, &scene.map, nullptr,
                               CString(), kGround, kUnset, FALSE, kUnsetFloat, FALSE),
              1);
    ASSERT_EQ(empty.GetSize(), 1);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(y, 0.0f);
}

TEST(BuildRoute, ABlockedLegEndMovesToTheFirstFreePointRightBeforeLeft)
{
    // The leg runs north, so the right is east. The region round the end
    // reaches 35 m east, 85 m east, or further than the search on both sides.
    struct Case
    {
        std::vector<CPoint> region;
        float endX;
        const char* what;
    } cases[] = {
        {Box(960, 960, 1035, 1040), 1040.0f, "free 40 m to the right"},
        {Box(950, 960, 1100, 1040), 940.0f, "right shut to 90 m: 60 m to the left"},
        {Box(800, 960, 1200, 1040), 1000.0f, "nothing free within 90 m: the end stays"},
    };
    for (const Case& c : cases)
    {
        RouteScene scene;
        scene.Add(MakeRegion(c.region));
        CNodeArray path;
        path.AddNode(1000.0f, 200.0f);
        path.AddNode(1000.0f, 1000.0f);
        Build(path, scene.map, nullptr, 0.0f, nullptr, nullptr, nullptr, 100.0f);
        const CNode* pLast = path.GetAt(path.GetSize() - 1);
        EXPECT_FLOAT_EQ(pLast->m_fX, c.endX) << c.what;
        EXPECT_FLOAT_EQ(pLast->m_fY, 1000.0f) << c.what;
    }
}

TEST(BuildRoute, AFrontageOnlyBlockDropsTheFormationUntilTheNextFreeLeg)
{
    RouteScene scene;
    // A strip 15 m east of the first leg: a 40 m frontage touches it, the
    // centre line does not.
    scene.Add(MakeRegion(Box(1015, 400, 1060, 700)));
    CNodeArray path;
    path.AddNode(1000.0f, 200.0f);
    path.AddNode(1000.0f, 900.0f);
    path.AddNode(600.0f, 900.0f);
    CStringArray names;
    names.Add(".SBF/Defense.");
    CKDRUnits units;
    Build(path, scene.map, nullptr, 40.0f, &names, &units);

    ASSERT_EQ(path.GetSize(), 3);
    const CNOrdFormationOrder* pDropped = FormationOf(path.GetAt(0));
    ASSERT_NE(pDropped, nullptr);
    EXPECT_TRUE(pDropped->m_strFormation.IsEmpty());
    const CNOrdFormationOrder* pRestored = FormationOf(path.GetAt(1));
    ASSERT_NE(pRestored, nullptr);
    EXPECT_EQ(pRestored->m_strFormation, CString(".SBF/Defense."));
    EXPECT_EQ(pRestored->m_strIcon, CString("Formation Support By Fire Red"));
    EXPECT_EQ(FormationOf(path.GetAt(2)), nullptr);
}

TEST(BuildRoute, AFanCandidateTurningMoreThan120DegreesIsRefused)
{
    const double deg = kPi / 180.0;
    struct Case
    {
        double previous;
        double candidate;
        bool refused;
    } cases[] = {
        {0.0, 130.0 * deg, true},   {0.0, -130.0 * deg, true}, {0.0, 110.0 * deg, false},
        {kUnsetFloat, kPi, false},  // no leg before
        {170.0 * deg, -170.0 * deg, false},  // 20 degrees across south
        {90.0 * deg, -45.0 * deg, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(route_build::IsTurnRefused(c.previous, c.candidate), c.refused) << c.previous << " " << c.candidate;
}

TEST(BuildRoute, AWalkOverItsBudgetIsUndoneAndLedRoundThePolygon)
{
    RouteScene scene;
    // A long wall across a 100 m leg: creeping along it in 20 m strides
    // takes far more than the leg's 10 nodes.
    CAITerrainRegion* pWall = scene.Add(MakeRegion(Box(200, 1040, 1800, 1060)));
    CNodeArray path;
    path.AddNode(1000.0f, 1000.0f);
    path.AddNode(1000.0f, 1100.0f);
    Build(path, scene.map);

    ASSERT_GT(path.GetSize(), 2);
    EXPECT_LE(path.GetSize(), 2 + 4);  // at most one node per wall corner
    EXPECT_TRUE(AllOutside(path, *pWall));
    // The nodes are the detour's: 50 m out from a corner of the wall.
    const CNode* pFirst = path.GetAt(1);
    double nearest = 1e9;
    for (const CPoint& v : pWall->GetPoints())
        nearest = std::min(nearest, std::hypot(static_cast<double>(pFirst->m_fX) - v.x, static_cast<double>(pFirst->m_fY) - v.y));
    EXPECT_NEAR(nearest, 50.0, 0.01);
    EXPECT_FLOAT_EQ(path.GetAt(path.GetSize() - 1)->m_fY, 1100.0f);
}

namespace
{
// A decagon of radius 200 m round (1000, 1000); vertex i at 36 i degrees.
std::vector<CPoint> Decagon()
{
    std::vector<CPoint> points;
    for (int i = 0; i < 10; ++i)
    {
        const double a = i * 36.0 * kPi / 180.0;
        points.emplace_back(static_cast<int>(std::lround(1000.0 + 200.0 * std::sin(a))),
                            static_cast<int>(std::lround(1000.0 + 200.0 * std::cos(a))));
    }
    return points;
}

std::pair<float, float> OutAt(double degrees, double radius)
{
    const double a = degrees * kPi / 180.0;
    return {static_cast<float>(1000.0 + radius * std::sin(a)), static_cast<float>(1000.0 + radius * std::cos(a))};
}

double BearingFromCentre(const CNode* pNode)
{
    double d = std::atan2(pNode->m_fX - 1000.0, pNode->m_fY - 1000.0) * 180.0 / kPi;
    return d < 0.0 ? d + 360.0 : d;
}
}  // namespace

TEST(PolygonDetour, TakesTheShorterWayRoundFrontagePlus50MetresOut)
{
    struct Case
    {
        double startAt;
        std::vector<double> bearings;  // of nodes 1 onward
        const char* what;
    } cases[] = {
        {288.0, {288.0, 324.0, 0.0}, "vertices 8 to 2: forward, 4 steps against 6"},
        {252.0, {252.0, 216.0, 180.0, 144.0}, "vertices 7 to 2: 5 steps each way, backward"},
    };
    for (const Case& c : cases)
    {
        RouteScene scene;
        CAITerrainRegion* pPolygon = scene.Add(MakeRegion(Decagon()));
        const auto start = OutAt(c.startAt, 320.0);
        const auto end = OutAt(72.0, 320.0);
        CNodeArray detour;
        ASSERT_EQ(detour.BuildPolygonDetour(pPolygon, nullptr, 20.0f, 0.0f, start.first, start.second, end.first,
                                            end.second, 0, nullptr, nullptr, nullptr, nullptr, &scene.map, "Wedge",
                                            CString(), kGround, kUnset),
                  1)
            << c.what;
        ASSERT_EQ(detour.GetSize(), static_cast<int>(c.bearings.size()) + 1) << c.what;
        EXPECT_FLOAT_EQ(detour.GetAt(0)->m_fX, start.first);
        for (size_t i = 0; i < c.bearings.size(); ++i)
        {
            const CNode* pNode = detour.GetAt(static_cast<int>(i) + 1);
            EXPECT_NEAR(BearingFromCentre(pNode), c.bearings[i], 1.0) << c.what << " node " << i + 1;
            // 70 m (frontage 20 + 50) out from its vertex.
            const CPoint& v = pPolygon->GetPoints()[static_cast<size_t>(std::lround(c.bearings[i] / 36.0)) % 10];
            EXPECT_NEAR(std::hypot(pNode->m_fX - v.x, pNode->m_fY - v.y), 70.0, 1.0) << c.what;
        }
    }
}

TEST(PolygonDetour, AnUnusablePolygonGivesNoNodes)
{
    RouteScene scene;
    CAITerrainRegion* pPolygon = scene.Add(MakeRegion(Decagon()));
    CAITerrainRegion* pBelowOrigin = scene.Add(MakeRegion(Box(-300, -300, -100, -100)));
    CAITerrainRegion* pEmpty = scene.Add(MakeRegion({}));
    const auto far = OutAt(0.0, 320.0);
    struct Case
    {
        CAITerrainRegion* pRegion;
        CKDRGameMap* pMap;
        std::pair<float, float> start;
        const char* what;
    } cases[] = {
        {nullptr, &scene.map, OutAt(180.0, 320.0), "no polygon"},
        {pPolygon, nullptr, OutAt(180.0, 320.0), "no map"},
        {pEmpty, &scene.map, OutAt(180.0, 320.0), "no vertices"},
        {pBelowOrigin, &scene.map, OutAt(180.0, 320.0), "centroid below the origin"},
        {pPolygon, &scene.map, OutAt(5.0, 320.0), "start and end nearest one vertex"},
    };
    for (const Case& c : cases)
    {
        CNodeArray detour;
        EXPECT_EQ(detour.BuildPolygonDetour(c.pRegion, nullptr, 0.0f, 0.0f, c.start.first, c.start.second, far.first,
                                            far.second, 0, nullptr, nullptr, nullptr, nullptr, c.pMap, CString(),
                                            CString(), kGround, kUnset),
                  0)
            << c.what;
        EXPECT_EQ(detour.GetSize(), 0) << c.what;
    }
}

TEST(InsertAIRoute, NarrowsTheFormationWhereTheRouteIsNarrowerThanTheFrontage)
{
    CStringArray names;
    names.Add("Wedge");
    names.Add("Column");
    CKDRUnits units;
    struct Case
    {
        std::vector<int> widths;
        int frontage;
        std::vector<const char*> formations;  // per inserted node; "-" none
        const char* what;
    } cases[] = {
        {{50, 50, 50}, 20, {"-", "-", "-"}, "all wide"},
        {{50, 10, 50}, 20, {"-", "Column", "Wedge"}, "one narrow, then wide"},
        {{50, 50, 50}, 0, {"Column", "-", "Wedge"}, "frontage under 1 m"},
    };
    for (const Case& c : cases)
    {
        CAITerrainRoute route;
        std::vector<AIRoutePoint> points;
        for (size_t i = 0; i < c.widths.size(); ++i)
            points.push_back({100, 200 + 100 * static_cast<int>(i), c.widths[i], 0});
        route.SetPoints(points);
        CNodeArray path;
        path.AddNode(100.0f, 100.0f);
        path.AddNode(100.0f, 1000.0f);
        float x = 0.0f;
        float y = 0.0f;
        int nIndex = 0;
        int nCount = 0;
        path.InsertAIRoute(&names, &units, c.frontage, FALSE, 0, &route, nullptr, kGround, &x, &y, 0, 2, &nIndex,
                           &nCount);
        ASSERT_EQ(nCount, 5) << c.what;
        EXPECT_EQ(nIndex, 3) << c.what;
        EXPECT_EQ(path.GetSize(), 5);
        EXPECT_EQ(y, 400.0f);
        for (size_t i = 0; i < c.formations.size(); ++i)
        {
            const CNOrdFormationOrder* pOrder = FormationOf(path.GetAt(static_cast<int>(i) + 1));
            EXPECT_EQ(pOrder == nullptr ? CString("-") : pOrder->m_strFormation, CString(c.formations[i]))
                << c.what << " node " << i + 1;
        }
    }
}

TEST(InsertAIRoute, FollowsBackwardAndThinsNodesLeadingAway)
{
    CAITerrainRoute route;
    route.SetPoints({{100, 200, 50, 0}, {100, 300, 50, 0}, {100, 400, 50, 0}});
    CNodeArray path;
    path.AddNode(100.0f, 100.0f);
    path.AddNode(100.0f, 50.0f);  // behind the route's end as seen from the last node
    path.AddNode(100.0f, 20.0f);
    int nIndex = 0;
    int nCount = 0;
    path.InsertAIRoute(nullptr, nullptr, 20, TRUE, 5, &route, nullptr, kGround, nullptr, nullptr, 0, 3, &nIndex,
                       &nCount);
    // Backward from the last vertex; the node at 50 is nearer the end than
    // the route's last vertex and stays.
    ASSERT_EQ(path.GetSize(), 6);
    EXPECT_EQ(path.GetAt(1)->m_fY, 400.0f);
    EXPECT_EQ(path.GetAt(3)->m_fY, 200.0f);
    EXPECT_EQ(nIndex, 3);

    // A route of one vertex, and a null route, insert nothing.
    CAITerrainRoute single;
    single.SetPoints({{100, 200, 50, 0}});
    for (const CAITerrainRoute* pRoute : {&single, static_cast<CAITerrainRoute*>(nullptr)})
    {
        path.InsertAIRoute(nullptr, nullptr, 20, FALSE, 0, pRoute, nullptr, kGround, nullptr, nullptr, 0, 6, &nIndex,
                           &nCount);
        EXPECT_EQ(nIndex, 0);
        EXPECT_EQ(nCount, 6);
    }
}

namespace
{
// The map's questions, except that every movement test offers a crossing
// at a fixed point whose route lays no node (its entry lies past its last
// vertex).
class CEmptyCrossingQueries : public CRouteQueries
{
public:
    explicit CEmptyCrossingQueries(CKDRGameMap* pMap) : CRouteQueries(pMap)
    {
        m_route.SetPoints({{900, 900, 50, 0}, {1100, 900, 50, 0}});
    }
    int TestMoveBlocked(const MoverInfo&, CObstacle*, float* crossX, float* crossY, CAITerrainRoute** ppRoute,
                        int* pRouteCreated, int* pReverse, int* pEntryIndex) const override
    {
        ++m_nAsked;
        *crossX = 1000.0f;
        *crossY = 950.0f;
        *ppRoute = &m_route;
        *pRouteCreated = 0;
        *pReverse = 0;
        *pEntryIndex = m_route.GetPointCount();
        return 1;
    }
    mutable int m_nAsked = 0;
    mutable CAITerrainRoute m_route;
};
}  // namespace

TEST(BuildRoute, TheWalkEndsOnACrossingThatInsertsNothing)
{
    RouteScene scene;
    scene.Add(MakeRegion(Box(200, 1000, 1800, 1060)));
    CEmptyCrossingQueries queries(&scene.map);
    CNodeArray path;
    path.AddNode(1000.0f, 900.0f);
    path.AddNode(1000.0f, 1200.0f);
    Build(path, scene.map, nullptr, 0.0f, nullptr, nullptr, &queries);
    // The crossing is steered for once and then left for the rest of the
    // leg: the walk ends within its 30-node budget.
    EXPECT_GE(queries.m_nAsked, 1);
    EXPECT_LE(queries.m_nAsked, 200);
    EXPECT_LE(path.GetSize(), 2 + 30 + 4);
    for (int i = 0; i < path.GetSize(); ++i)
        EXPECT_TRUE(std::isfinite(path.GetAt(i)->m_fX) && std::isfinite(path.GetAt(i)->m_fY));
}

TEST(BuildRoute, NodesAtNoFinitePlaceLeaveTheirLegsUnchanged)
{
    RouteScene scene;
    scene.Add(MakeRegion(Box(200, 1000, 1800, 1060)));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float huge = 2147483648.0f;
    struct Case
    {
        std::vector<std::pair<float, float>> nodes;
        const char* what;
    } cases[] = {
        {{{1000.0f, 900.0f}, {nan, 1200.0f}, {1000.0f, 1200.0f}}, "NaN"},
        {{{1000.0f, 900.0f}, {huge, huge}, {1000.0f, 1200.0f}}, "2^31"},
        {{{1000.0f, 900.0f}, {1000.0f, huge}}, "2^31 north, through the wall"},
        {{{huge, 900.0f}, {1000.0f, 1200.0f}}, "2^31 at the start"},
    };
    for (const Case& c : cases)
    {
        CNodeArray path;
        for (const auto& p : c.nodes)
            path.AddNode(p.first, p.second);
        EXPECT_EQ(Build(path, scene.map), 1) << c.what;
        ASSERT_EQ(path.GetSize(), static_cast<int>(c.nodes.size())) << c.what;
        for (size_t i = 0; i < c.nodes.size(); ++i)
        {
            const CNode* pNode = path.GetAt(static_cast<int>(i));
            if (std::isnan(c.nodes[i].first))
                EXPECT_TRUE(std::isnan(pNode->m_fX)) << c.what;
            else
                EXPECT_EQ(pNode->m_fX, c.nodes[i].first) << c.what;
        }
    }
}

TEST(BuildRouteTo, BuildsAPathRoundAWallFacingTheFacePoint)
{
    RouteScene scene;
    CAITerrainRegion* pWall = scene.Add(MakeRegion(Box(700, 1000, 1300, 1060)));
    CTaskOrgArray element;
    element.m_nSide = 1;
    CNodeArray path;
    path.AddNode(5.0f, 5.0f);  // cleared first
    path.BuildRouteTo(2, 0.0f, 0.0f, 1000.0f, 800.0f, 1000.0f, 1300.0f, 1000.0f, 1500.0f, &scene.map, nullptr,
                      nullptr, &element, nullptr, CString(), kGround);
    ASSERT_GE(path.GetSize(), 3);
    EXPECT_EQ(path.GetAt(0)->m_fY, 800.0f);
    EXPECT_TRUE(AllOutside(path, *pWall));
    for (int i = 1; i < path.GetSize(); ++i)
    {
        const CNode* pA = path.GetAt(i - 1);
        const CNode* pB = path.GetAt(i);
        EXPECT_EQ(scene.map.FindSegmentBlock(nullptr, pA->m_fX, pA->m_fY, pB->m_fX, pB->m_fY, nullptr, nullptr, 0, 0,
                                             kGround, 1, nullptr, nullptr, nullptr, nullptr, kUnset),
                  0)
            << "leg " << i;
    }

    // Start on the end: a stop with the side's start time, and the face point.
    CNodeArray still;
    still.BuildRouteTo(2, 0.0f, 0.0f, 400.0f, 400.0f, 400.0f, 400.0f, 400.0f, 600.0f, &scene.map, nullptr, nullptr,
                       &element, nullptr, CString(), kGround);
    ASSERT_EQ(still.GetSize(), 2);
    EXPECT_TRUE(still.GetAt(0)->HasStop());
    EXPECT_EQ(still.GetAt(1)->m_fY, 600.0f);

    // Without an element nothing happens.
    CNodeArray untouched;
    untouched.AddNode(1.0f, 1.0f);
    untouched.BuildRouteTo(2, 0, 0, 400, 400, 500, 500, kUnsetFloat, kUnsetFloat, &scene.map, nullptr, nullptr,
                           nullptr, nullptr, CString(), kGround);
    EXPECT_EQ(untouched.GetSize(), 1);
}
