// The unit's path operations: new routes and paths, the halt kept in step
// with node 0, the orders of a node reached, routing to a point, toggles a
// standing order clears, and obstacles along the first leg.
#include "UnitMoveTestSupport.h"

#include "battlefield/KDRObstacles.h"
#include "battlefield/Obstacle.h"
#include "battlefield/ObstacleArray.h"
#include "orders/NodeOrder.h"
#include "orders/UnitOrder.h"
#include "orders/UnitOrderArray.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>
#include <vector>

using namespace movetest;

namespace
{
constexpr float kX = 1000.0f;
constexpr float kY = 500.0f;

std::vector<std::pair<float, float>> Points(const CNodeArray& path)
{
    std::vector<std::pair<float, float>> points;
    for (int i = 0; i < path.GetSize(); ++i)
        points.emplace_back(path.GetAt(i)->m_fX, path.GetAt(i)->m_fY);
    return points;
}

// A node with one toggle order for the bit, naming a state or none.
CNode* ToggleNode(DWORD dwBit, BOOL bOn, BOOL bOff)
{
    auto* pNode = new CNode(kX, kY);
    auto* pToggle = new CNOrdToggleOrder;
    pToggle->m_dwToggle = dwBit;
    pToggle->m_bOn = bOn;
    pToggle->m_bOff = bOff;
    pNode->m_pOrders->Add(pToggle);
    pNode->SetFormationOrder("Wedge", "");
    return pNode;
}
}  // namespace

TEST(UnitPath, SetPathAndSetRouteKeepTheHaltWithNodeZero)
{
    CMoveWorld w;
    auto pUnit = w.MakeUnit(kTank, kX, kY);
    pUnit->StartClock(w.StartClock(), w.Db());
    ASSERT_TRUE(pUnit->IsStoppedAtStopNode());

    // Nothing to go by: nothing changes.
    CNodeArray empty;
    EXPECT_EQ(pUnit->SetPath(&empty, w.Db()), kUnset);
    EXPECT_EQ(pUnit->SetPath(nullptr, w.Db()), kUnset);
    EXPECT_FALSE(pUnit->SetRoute(&empty, w.Db(), w.Map(), FALSE));
    EXPECT_EQ(Points(*pUnit->m_pPath), (std::vector<std::pair<float, float>>{{kX, kY}}));
    EXPECT_TRUE(pUnit->IsStoppedAtStopNode());

    // A route drawn elsewhere: moved onto the unit, or with the unit put in
    // as its first node and the others where they lie.
    CNodeArray route;
    route.AddNode(100.0f, 100.0f);
    route.AddNode(200.0f, 100.0f);
    route.AddNode(200.0f, 300.0f);
    route.GetAt(2)->AddOrder(NORD_STOP);
    ASSERT_TRUE(pUnit->SetRoute(&route, w.Db(), w.Map(), FALSE));
    EXPECT_EQ(Points(*pUnit->m_pPath),
              (std::vector<std::pair<float, float>>{{kX, kY}, {kX + 100.0f, kY}, {kX + 100.0f, kY + 200.0f}}));
    EXPECT_TRUE(pUnit->m_pPath->GetAt(2)->HasStop());
    EXPECT_NEAR(pUnit->m_fHeading, std::atan2(1.0, 0.0), 1e-6);
    // Node 0 has no stop now: outside the deployment phase the halt is
    // lifted but the unit waits its move delay.
    EXPECT_FALSE(pUnit->HasOrder(UNIT_ORDER_STOP));
    EXPECT_TRUE(pUnit->m_bStopped);

    ASSERT_TRUE(pUnit->SetRoute(&route, w.Db(), w.Map(), TRUE));
    EXPECT_EQ(Points(*pUnit->m_pPath),
              (std::vector<std::pair<float, float>>{{kX, kY}, {200.0f, 100.0f}, {200.0f, 300.0f}}));

    // A path whose first node holds a stop halts a moving unit.
    pUnit->m_bStopped = FALSE;
    CNodeArray halt;
    halt.AddNode(kX, kY);
    halt.AddNode(kX, kY + 50.0f);
    halt.GetAt(0)->AddOrder(NORD_STOP);
    EXPECT_EQ(pUnit->SetPath(&halt, w.Db()), 0);
    EXPECT_TRUE(pUnit->IsStoppedAtStopNode());
    EXPECT_EQ(pUnit->m_nMoveDelay, kTimeToMove);
    // The path is the unit's own copy.
    EXPECT_NE(pUnit->m_pPath, &halt);
    EXPECT_EQ(pUnit->SetPath(pUnit->m_pPath, w.Db()), 0);
    EXPECT_EQ(pUnit->m_pPath->GetSize(), 2);
}

TEST(UnitPath, LosingTheStopReleasesAtOnceOnlyInTheDeploymentPhase)
{
    for (BOOL bDeployment : {TRUE, FALSE})
    {
        CMoveWorld w;
        auto pUnit = w.MakeUnit(kTank, kX, kY);
        if (!bDeployment)
            pUnit->StartClock(w.StartClock(), w.Db());
        pUnit->m_pPath->AddNode(kX, kY + 100.0f);
        pUnit->m_pPath->GetAt(0)->RemoveOrdersOfType(NORD_STOP);
        pUnit->SyncStopWithPath(w.Db());
        EXPECT_EQ(pUnit->m_bStopped, !bDeployment);
        EXPECT_FALSE(pUnit->HasOrder(UNIT_ORDER_STOP));
        EXPECT_DOUBLE_EQ(pUnit->m_fHeading, 0.0);
    }
}

TEST(UnitPath, ToggleNodeOrdersActOnceAndGo)
{
    struct Case
    {
        const char* what;
        BOOL bOn, bOff;
        BOOL bBefore;
        BOOL bAfter;
    } cases[] = {
        {"no state named: flips on", FALSE, FALSE, FALSE, TRUE},
        {"no state named: flips off", FALSE, FALSE, TRUE, FALSE},
        {"on, when off", TRUE, FALSE, FALSE, TRUE},
        {"on, when on", TRUE, FALSE, TRUE, TRUE},
        {"off, when on", FALSE, TRUE, TRUE, FALSE},
        {"off, when off", FALSE, TRUE, FALSE, FALSE},
    };
    for (const Case& c : cases)
    {
        CMoveWorld w;
        auto pUnit = w.MakeUnit(kTank, kX, kY);
        pUnit->m_bHoldFire = c.bBefore;
        std::unique_ptr<CNode> pNode(ToggleNode(UNIT_ORDER_HOLD_FIRE, c.bOn, c.bOff));
        pUnit->ApplyNodeOrders(pNode.get(), w.Db());
        EXPECT_EQ(pUnit->m_bHoldFire, c.bAfter) << c.what;
        // The toggle is gone; the formation order stays.
        EXPECT_EQ(pNode->m_pOrders->GetTypes(), NORD_FORMATION) << c.what;
        pUnit->ApplyNodeOrders(pNode.get(), w.Db());
        EXPECT_EQ(pUnit->m_bHoldFire, c.bAfter) << c.what;
    }
}

TEST(UnitPath, AStopNodeReachedHaltsAndStandingToggleOrdersAreCleared)
{
    CMoveWorld w;
    auto pUnit = w.MakeUnit(kTank, kX, kY);
    pUnit->StartClock(w.StartClock(), w.Db());
    pUnit->ClearStop(w.Db(), TRUE);
    ASSERT_FALSE(pUnit->m_bStopped);
    CNode stop(kX, kY);
    stop.AddOrder(NORD_STOP);
    pUnit->ApplyNodeOrders(&stop, w.Db());
    EXPECT_TRUE(pUnit->IsStoppedAtStopNode());
    // Without a database nothing is applied.
    std::unique_ptr<CNode> pNode(ToggleNode(UNIT_ORDER_SPRINT, FALSE, FALSE));
    pUnit->ApplyNodeOrders(pNode.get(), nullptr);
    pUnit->ApplyNodeOrders(nullptr, w.Db());
    EXPECT_FALSE(pUnit->m_bSprint);

    pUnit->m_bSprint = TRUE;
    pUnit->m_bHoldFire = TRUE;
    pUnit->m_bBypassObstacles = TRUE;
    CUnitOrderArray orders;
    orders.Add(new CUOrdToggleOrder(UNIT_ORDER_SPRINT | UNIT_ORDER_HOLD_FIRE));
    pUnit->ClearToggledOrders(&orders, w.Db());
    EXPECT_FALSE(pUnit->m_bSprint);
    EXPECT_FALSE(pUnit->m_bHoldFire);
    EXPECT_TRUE(pUnit->m_bBypassObstacles);
}

TEST(UnitPath, RouteToAPointStopsAtTheMapsEdge)
{
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    struct Case
    {
        const char* what;
        float x, y;
        float fEndX, fEndY;
    } cases[] = {
        {"on the map", 1500.0f, 900.0f, 1500.0f, 900.0f},
        {"beyond the east and north edges", 5000.0f, 2500.0f, kMapSize, kMapSize},
        {"below the west and south edges", -30.0f, -1.0f, 0.0f, 0.0f},
        {"not a number", kNaN, 700.0f, 0.0f, 700.0f},
    };
    for (const Case& c : cases)
    {
        CMoveWorld w;
        auto pUnit = w.MakeUnit(kTank, kX, kY);
        ASSERT_TRUE(pUnit->RouteTo(c.x, c.y, w.Db(), w.Map(), TRUE, TRUE)) << c.what;
        // A point on the map's edge is where no mover may stand: the route
        // builder walks the leg up to it in strides; open ground leaves the
        // straight leg.
        const int nLast = pUnit->m_pPath->GetSize() - 1;
        if (c.fEndX == c.x && c.fEndY == c.y)
        {
            ASSERT_EQ(nLast, 1) << c.what;
        }
        ASSERT_GE(nLast, 1) << c.what;
        EXPECT_FLOAT_EQ(pUnit->m_pPath->GetAt(nLast)->m_fX, c.fEndX) << c.what;
        EXPECT_FLOAT_EQ(pUnit->m_pPath->GetAt(nLast)->m_fY, c.fEndY) << c.what;
        // It leaves at once and will wait at the end for its next order.
        EXPECT_FALSE(pUnit->HasOrder(UNIT_ORDER_STOP)) << c.what;
        EXPECT_TRUE(pUnit->m_pPath->GetAt(nLast)->HasStop()) << c.what;
        EXPECT_TRUE(pUnit->m_bBypassObstacles) << c.what;
    }
    CMoveWorld w;
    auto pUnit = w.MakeUnit(kTank, kX, kY, 1);
    EXPECT_FALSE(pUnit->RouteTo(1500.0f, 900.0f, nullptr, w.Map(), FALSE, FALSE));
    EXPECT_FALSE(pUnit->RouteTo(1500.0f, 900.0f, w.Db(), nullptr, FALSE, FALSE));
    // Kept halted, the opposing side's unit waits at both ends.
    ASSERT_TRUE(pUnit->RouteTo(1500.0f, 900.0f, w.Db(), w.Map(), FALSE, FALSE));
    EXPECT_TRUE(pUnit->IsStoppedAtStopNode());
    EXPECT_FALSE(pUnit->m_bBypassObstacles);
    const auto* pWait = dynamic_cast<const CNOrdStartTime*>(pUnit->m_pPath->GetAt(1)->m_pOrders->FindOfType(NORD_START_TIME));
    ASSERT_NE(pWait, nullptr);
    EXPECT_EQ(pWait->m_tsStart.GetTotalSeconds(), START_TIME_HOLD);
}

TEST(UnitPath, AnObstacleOnTheFirstLegIsFoundUpToItsEnd)
{
    struct Case
    {
        const char* what;
        float fObstacleY;  // a band 10 m deep across the way, centred here
        BOOL bFound;
    } cases[] = {
        {"its near edge exactly at the leg's end", 605.0f, TRUE},
        {"a metre beyond the leg's end", 606.0f, FALSE},
        {"half way", 550.0f, TRUE},
        {"behind the unit", 480.0f, FALSE},
    };
    for (const Case& c : cases)
    {
        for (BOOL bUseNextNode : {FALSE, TRUE})
        {
            CMoveWorld w;
            CKDRObstacles obstacles;
            CObstacleArray* pArray = obstacles.CreateSideArray(1);
            ASSERT_NE(pArray, nullptr);
            auto* pObstacle = new CEnemyObstacle;
            pObstacle->m_fX = kX;
            pObstacle->m_fY = c.fObstacleY;
            pObstacle->m_nAttitude = 0;
            pObstacle->m_nLength = 10;
            pObstacle->m_nWidth = 40;
            pArray->Add(new CEnemyObstacle);  // an obstacle elsewhere, index 0
            pArray->Add(pObstacle);

            auto pUnit = w.MakeUnit(kTank, kX, kY);
            pUnit->m_pPath->AddNode(kX, 600.0f);
            int nIndex = kUnset;
            int nSide = kUnset;
            const float fEndY = bUseNextNode ? 1900.0f : 600.0f;  // ignored when node 1 is used
            EXPECT_EQ(pUnit->IsObstacleOnFirstLeg(kX, fEndY, &obstacles, nIndex, nSide, bUseNextNode, w.Map()),
                      c.bFound)
                << c.what << (bUseNextNode ? " (node 1)" : "");
            EXPECT_EQ(nIndex, c.bFound ? 1 : kUnset) << c.what;
            if (c.bFound)
            {
                EXPECT_EQ(nSide, 1) << c.what;
            }
            // Aircraft fly over obstacles.
            auto pJet = w.MakeUnit(kJet, kX, kY);
            pJet->m_pPath->AddNode(kX, 600.0f);
            EXPECT_FALSE(pJet->IsObstacleOnFirstLeg(kX, 600.0f, &obstacles, nIndex, nSide, bUseNextNode, w.Map()));
        }
    }
}
