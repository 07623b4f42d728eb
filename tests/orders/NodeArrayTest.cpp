// Paths and their node orders: the replace rules of a node's order list,
// start times and their release, editing, the hit test and the follower path.
#include "orders/NodeArray.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "units/Unit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
CNOrdToggleOrder* Toggle(DWORD dwCode, BOOL bOn)
{
    auto* pToggle = new CNOrdToggleOrder;
    pToggle->SetToggle(dwCode, bOn);
    return pToggle;
}

LONG StartTimeOf(const CNode& node)
{
    const auto* pStart = static_cast<const CNOrdStartTime*>(node.m_pOrders->FindOfType(NORD_START_TIME));
    return pStart != nullptr ? pStart->m_tsStart.GetTotalSeconds() : -1;
}

// A game map whose elevation map is width x height metres.
struct SizedMap
{
    CKDRGameMap map;
    explicit SizedMap(int width, int height)
    {
        auto* pElevation = new CElevationMap;
        pElevation->SetGeometry(width, height, 0, 0, 1);
        map.SetElevationMap(pElevation);
    }
};
}  // namespace

TEST(NodeOrderArray, AddReplacesOrdersOfTheSameKindAndToggle)
{
    CNodeOrderArray orders;
    orders.Add(new CNOrdStop);
    orders.Add(new CNOrdStop);
    EXPECT_EQ(orders.GetSize(), 1);

    orders.Add(Toggle(8, TRUE));   // Sprint
    orders.Add(Toggle(2, TRUE));   // Hold Fire
    orders.Add(Toggle(8, FALSE));  // Sprint again, now off
    ASSERT_EQ(orders.GetSize(), 3);
    EXPECT_EQ(orders.FindToggle(2), 1);
    const int nSprint = orders.FindToggle(8);
    ASSERT_EQ(nSprint, 2);
    EXPECT_FALSE(static_cast<CNOrdToggleOrder*>(orders.GetAt(nSprint))->m_bOn);
    EXPECT_TRUE(static_cast<CNOrdToggleOrder*>(orders.GetAt(nSprint))->m_bOff);
    EXPECT_EQ(orders.FindToggle(4), kUnset);
    EXPECT_EQ(orders.GetTypes(), NORD_STOP | NORD_TOGGLE);

    // Only stops, start times and formation orders have defaults.
    orders.AddOrderOfType(NORD_TOGGLE);
    orders.AddOrderOfType(NORD_STOP);
    EXPECT_EQ(orders.GetSize(), 3);
    orders.AddOrderOfType(NORD_FORMATION);
    EXPECT_EQ(orders.GetTypes(), NORD_STOP | NORD_TOGGLE | NORD_FORMATION);

    // The deep copy keeps every order and its values.
    const CNodeOrderArray copy(orders);
    ASSERT_EQ(copy.GetSize(), orders.GetSize());
    for (int i = 0; i < copy.GetSize(); ++i)
    {
        EXPECT_NE(copy.GetAt(i), orders.GetAt(i));
        EXPECT_EQ(copy.GetAt(i)->GetType(), orders.GetAt(i)->GetType());
    }
    EXPECT_TRUE(static_cast<CNOrdToggleOrder*>(copy.GetAt(copy.FindToggle(8)))->m_bOff);
}

TEST(Node, SetStartTimeStoresTheHoldSentinelForNineNineNine)
{
    struct Case
    {
        BOOL bWithStartTime;
        LONG nSeconds;
        LONG nStored;  // -1: no start-time order
    };
    const Case cases[] = {{TRUE, 999, START_TIME_HOLD}, {TRUE, 600, 600}, {FALSE, 600, -1}, {FALSE, 999, -1}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.nSeconds);
        CNode node(5.0f, 5.0f);
        node.SetStartTime(c.bWithStartTime, CTimeSpan(c.nSeconds));
        EXPECT_TRUE(node.HasStop());
        EXPECT_EQ(StartTimeOf(node), c.nStored);
    }
    EXPECT_EQ(START_TIME_HOLD, ((999 * 24 + 9) * 60 + 9) * 60 + 9);
}

TEST(NodeArray, StartTimeHoldsUntilReachedThenReleasesNodeZero)
{
    CNodeArray path;
    path.AddNode(0, 0);
    path.AddNode(100, 0);
    path.GetAt(0)->SetStartTime(TRUE, CTimeSpan(600));

    EXPECT_FALSE(path.ApplyNodeOrders(CTimeSpan(599), nullptr));
    EXPECT_TRUE(path.GetAt(0)->HasStop());
    EXPECT_EQ(StartTimeOf(*path.GetAt(0)), 600);

    EXPECT_TRUE(path.ApplyNodeOrders(CTimeSpan(600), nullptr));
    EXPECT_EQ(path.GetAt(0)->m_pOrders->GetSize(), 0);

    // A toggle order carries a time but never releases a stop.
    path.GetAt(0)->AddOrder(NORD_STOP);
    path.GetAt(0)->m_pOrders->Add(Toggle(2, TRUE));
    EXPECT_FALSE(path.ApplyNodeOrders(CTimeSpan(100000), nullptr));
    EXPECT_TRUE(path.GetAt(0)->HasStop());
}

TEST(NodeArray, RemovingNodesKeepsTheLastWithAStopThatNeverStarts)
{
    CNodeArray path;
    path.AddNode(0, 0);
    path.AddNode(50, 50);
    EXPECT_FALSE(path.RemoveNode(2));
    EXPECT_FALSE(path.RemoveNode(-1));

    EXPECT_TRUE(path.RemoveFirstNode(TRUE));
    ASSERT_EQ(path.GetSize(), 1);
    EXPECT_TRUE(path.GetAt(0)->HasStop());
    EXPECT_EQ(StartTimeOf(*path.GetAt(0)), START_TIME_NEVER);
    EXPECT_FALSE(path.RemoveNode(0));
    EXPECT_EQ(path.GetSize(), 1);

    EXPECT_FALSE(path.RemoveFirstNode(TRUE));
    EXPECT_EQ(path.GetSize(), 0);
}

TEST(NodeArray, HitTestFindsTheHighestNodeAtAPoint)
{
    CNodeArray path;
    path.AddNode(10, 10);
    path.AddNode(200, 200);
    path.AddNode(10, 10);
    EXPECT_EQ(path.HitTest(12, 8, nullptr), 2);
    EXPECT_EQ(path.HitTest(205, 195, nullptr), 1);
    EXPECT_EQ(path.HitTest(100, 100, nullptr), kUnset);
    EXPECT_EQ(CNodeArray().HitTest(10, 10, nullptr), kUnset);
}

TEST(NodeArray, CopyOffsetMovesNodeZeroOntoThePointAndClampsIntoTheMap)
{
    SizedMap sized(1000, 800);
    CNodeArray source;
    source.AddNode(100, 100);
    source.AddNode(400, 500);
    source.GetAt(1)->AddOrder(NORD_STOP);

    CNodeArray path;
    EXPECT_FALSE(path.CopyOffset(CNodeArray(), 0, 0, &sized.map));
    ASSERT_TRUE(path.CopyOffset(source, 900, 50, &sized.map));
    ASSERT_EQ(path.GetSize(), 2);
    EXPECT_FLOAT_EQ(path.GetAt(0)->m_fX, 900.0f);
    EXPECT_FLOAT_EQ(path.GetAt(0)->m_fY, 50.0f);
    EXPECT_FLOAT_EQ(path.GetAt(1)->m_fX, 1000.0f);  // past the right edge
    EXPECT_FLOAT_EQ(path.GetAt(1)->m_fY, 450.0f);
    EXPECT_TRUE(path.GetAt(1)->HasStop());

    ASSERT_TRUE(path.CopyOffset(source, 10, 10, &sized.map));
    path.Offset(-100, 0, &sized.map);
    EXPECT_FLOAT_EQ(path.GetAt(0)->m_fX, 0.0f);  // a negative result becomes 0
    EXPECT_FLOAT_EQ(path.GetAt(1)->m_fX, 210.0f);
}

TEST(NodeArray, EditingOperations)
{
    CNodeArray path;
    path.AddNode(0, 0);
    path.AddNode(0, 100);
    path.AddNode(100, 100);
    EXPECT_DOUBLE_EQ(path.GetFirstLegHeading(), 0.0);
    EXPECT_FLOAT_EQ(path.GetFirstLegLength(), 100.0f);

    // Start times switched off and on again come back.
    path.GetAt(1)->SetStartTime(TRUE, CTimeSpan(300));
    path.EnableStartTimes(FALSE);
    EXPECT_EQ(StartTimeOf(*path.GetAt(1)), -1);
    path.EnableStartTimes(TRUE);
    EXPECT_EQ(StartTimeOf(*path.GetAt(1)), 300);
    path.ShiftStartTimesEarlier(500);
    EXPECT_EQ(StartTimeOf(*path.GetAt(1)), 0);
    path.ShiftStartTimesLater(60);
    EXPECT_EQ(StartTimeOf(*path.GetAt(1)), 60);

    // Orienting at the first stop inserts a node 10 m along the heading,
    // unless the next leg points there already.
    SizedMap sized(1000, 1000);
    ASSERT_TRUE(path.OrientAtStop(std::atan2(100.0, 0.0), &sized.map, TRUE));
    EXPECT_EQ(path.GetSize(), 3);
    ASSERT_TRUE(path.OrientAtStop(0.0, &sized.map, TRUE));
    ASSERT_EQ(path.GetSize(), 4);
    EXPECT_NEAR(path.GetAt(2)->m_fX, 0.0f, 1e-4);
    EXPECT_NEAR(path.GetAt(2)->m_fY, 110.0f, 1e-4);
    EXPECT_FALSE(path.OrientAtStop(0.0, nullptr, TRUE));

    float x = -1.0f;
    float y = -1.0f;
    path.TruncateAtNearest(0, 90, x, y);
    EXPECT_EQ(path.GetSize(), 2);
    EXPECT_FLOAT_EQ(x, 0.0f);
    EXPECT_FLOAT_EQ(y, 100.0f);
}

TEST(NodeArray, FollowerPathShiftsTheLeadersNodesAndHoldsDoNotEmplaceUntilTheLastStop)
{
    SizedMap sized(1000, 1000);
    CNodeArray leader;
    leader.AddNode(100, 100);
    leader.AddNode(100, 300);
    leader.AddNode(990, 500);
    leader.GetAt(2)->AddOrder(NORD_STOP);
    leader.GetAt(1)->m_pOrders->Add(Toggle(2, TRUE));

    CUnit follower;
    follower.m_fX = 150.0f;
    follower.m_fY = 80.0f;
    CNodeArray path;
    EXPECT_EQ(path.BuildFormationPath(nullptr, &follower, nullptr, nullptr, &sized.map, FALSE), 0);
    ASSERT_EQ(path.BuildFormationPath(&leader, &follower, nullptr, nullptr, &sized.map, FALSE), 1);
    ASSERT_EQ(path.GetSize(), 3);
    EXPECT_FLOAT_EQ(path.GetAt(0)->m_fX, 150.0f);
    EXPECT_FLOAT_EQ(path.GetAt(1)->m_fX, 150.0f);
    EXPECT_FLOAT_EQ(path.GetAt(1)->m_fY, 280.0f);
    EXPECT_FLOAT_EQ(path.GetAt(2)->m_fX, 1000.0f);  // clamped
    EXPECT_NE(path.GetAt(1)->m_pOrders->FindToggle(2), kUnset);
    // The leader's only stop is its last: Do Not Emplace goes off there.
    const int nToggle = path.GetAt(2)->m_pOrders->FindToggle(16384);
    ASSERT_NE(nToggle, kUnset);
    const auto* pOff = static_cast<CNOrdToggleOrder*>(path.GetAt(2)->m_pOrders->GetAt(nToggle));
    EXPECT_FALSE(pOff->m_bOn);
    EXPECT_TRUE(pOff->m_bOff);
}

TEST(NodeOrders, ToggleIconsAndToggleBits)
{
    EXPECT_EQ(IsToggleBit(2), 2);
    EXPECT_EQ(IsToggleBit(16384), 16384);
    EXPECT_EQ(IsToggleBit(1), -1);
    EXPECT_EQ(IsToggleBit(6), -1);
    EXPECT_EQ(IsToggleBit(32768), -1);
    EXPECT_EQ(GetToggleIconName(4096), "Node Bypass Obastacles Green");
    EXPECT_EQ(GetToggleIconName(16384), "Node Do Not Emplace Blue");
    EXPECT_EQ(GetToggleIconName(3), "");
}
