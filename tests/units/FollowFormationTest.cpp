// A unit following its leader in formation on flat ground with a help-map
// region that stops vehicles: the follower's path is the leader's shifted by
// the follower's offset and then made drivable for the follower's own kind
// of mover, so a tank is led round the region that a team walks through;
// a shifted end inside the region moves sideways as far as the follower's
// spacing reaches; the follower halts where the leader does, with Do Not
// Emplace held until then.

#include "UnitMoveTestSupport.h"

#include "battlefield/AITerrain.h"
#include "battlefield/AITerrainArray.h"
#include "orders/NodeOrder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace movetest;

namespace
{
constexpr int kVehicles = 0x1;
constexpr int kTeams = 0x2;
constexpr float kLeaderX = 500.0f;
constexpr float kStartY = 300.0f;
constexpr float kEndY = 1500.0f;

std::vector<CPoint> Box(int left, int bottom, int right, int top)
{
    return {CPoint(left, bottom), CPoint(left, top), CPoint(right, top), CPoint(right, bottom)};
}

// The flat world with one vehicle-only region in its help map.
struct FollowWorld
{
    CMoveWorld world;
    CAITerrainRegion* pRegion = new CAITerrainRegion;

    explicit FollowWorld(const std::vector<CPoint>& region)
    {
        pRegion->SetFlags(kVehicles);
        pRegion->SetPoints(region);
        pRegion->Rebuild();
        auto* pHelpMap = new CAITerrainArray;
        pHelpMap->Add(pRegion);
        world.Map()->SetHelpMap(pHelpMap);
    }

    // Whether the path never stands in nor crosses ground that stops the
    // mover kinds.
    bool Drivable(const CNodeArray& path, int nKinds)
    {
        for (int i = 0; i < path.GetSize(); ++i)
        {
            const CNode* pNode = path.GetAt(i);
            if (world.Map()->IsPointBlocked(pNode->m_fX, pNode->m_fY, nullptr, nKinds, kUnset, kUnset))
                return false;
            if (i == 0)
                continue;
            const CNode* pFrom = path.GetAt(i - 1);
            if (world.Map()->FindSegmentBlock(nullptr, pFrom->m_fX, pFrom->m_fY, pNode->m_fX, pNode->m_fY, nullptr,
                                              nullptr, 0.0f, 0.0f, nKinds, kUnset, nullptr, nullptr, nullptr, nullptr,
                                              kUnset))
                return false;
        }
        return true;
    }
};

// The leader's path north, ending in a stop; node 0 holds one when the
// leader waits.
CNodeArray LeaderPath(float endY, bool bWaits = false)
{
    CNodeArray path;
    path.AddNode(kLeaderX, kStartY);
    path.AddNode(kLeaderX, endY);
    path.GetAt(1)->AddOrder(NORD_STOP);
    if (bWaits)
        path.GetAt(0)->AddOrder(NORD_STOP);
    return path;
}

const CNode* LastNode(const CUnit& unit) { return unit.m_pPath->GetAt(unit.m_pPath->GetSize() - 1); }

bool TurnsDoNotEmplaceOff(const CNode* pNode)
{
    const int nToggle = pNode->m_pOrders->FindToggle(UNIT_ORDER_DO_NOT_EMPLACE);
    if (nToggle == kUnset)
        return false;
    const auto* pToggle = static_cast<const CNOrdToggleOrder*>(pNode->m_pOrders->GetAt(nToggle));
    return !pToggle->m_bOn && pToggle->m_bOff;
}
}  // namespace

TEST(FollowFormation, EachMoverKindGetsAPathItCanDriveToTheShiftedEnd)
{
    // The region lies across the follower's shifted leg, 200 m east of the
    // leader's own, which is clear.
    struct Case
    {
        VehicleType type;
        int nKinds;
        bool bLedRound;
    } cases[] = {{kTank, kVehicles, true}, {kTeam, kTeams, false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.type == kTank ? "tank" : "team");
        FollowWorld w(Box(600, 800, 800, 1000));
        const CNodeArray leader = LeaderPath(kEndY);
        ASSERT_TRUE(w.Drivable(leader, kVehicles));
        std::unique_ptr<CUnit> pFollower = w.world.MakeUnit(c.type, 700.0f, kStartY);
        ASSERT_EQ(pFollower->FollowFormation(&leader, nullptr, w.world.Db(), w.world.Map(), FALSE, kUnsetFloat), 1);

        const CNodeArray& path = *pFollower->m_pPath;
        ASSERT_GE(path.GetSize(), 2);
        EXPECT_FLOAT_EQ(path.GetAt(0)->m_fX, 700.0f);
        EXPECT_FLOAT_EQ(path.GetAt(0)->m_fY, kStartY);
        EXPECT_FLOAT_EQ(LastNode(*pFollower)->m_fX, 700.0f);
        EXPECT_FLOAT_EQ(LastNode(*pFollower)->m_fY, kEndY);
        EXPECT_TRUE(w.Drivable(path, c.nKinds));
        if (c.bLedRound)
            EXPECT_GT(path.GetSize(), 2);
        else
            EXPECT_EQ(path.GetSize(), 2);

        // Only the last node halts it, and the order that ends Do Not
        // Emplace is there; the nodes the builder laid carry no orders.
        for (int i = 0; i + 1 < path.GetSize(); ++i)
        {
            EXPECT_FALSE(path.GetAt(i)->HasStop()) << i;
            EXPECT_FALSE(TurnsDoNotEmplaceOff(path.GetAt(i))) << i;
        }
        EXPECT_TRUE(LastNode(*pFollower)->HasStop());
        EXPECT_TRUE(TurnsDoNotEmplaceOff(LastNode(*pFollower)));
        // The leader is under way, so the follower is released.
        EXPECT_FALSE(pFollower->m_bStopped);
    }
}

TEST(FollowFormation, AShiftedEndInTheRegionMovesSidewaysAsFarAsTheSpacingReaches)
{
    // The follower's shifted end (700, 900) lies in a region whose east
    // edge is 745: the first free point right of the northward leg is 50 m
    // out, the fifth step of the sideways search, which a spacing of 60 m
    // reaches (and the default 100 m), 50 m does not.
    struct Case
    {
        float fSpacing;
        bool bMoved;
    } cases[] = {{60.0f, true}, {kUnsetFloat, true}, {50.0f, false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.fSpacing);
        FollowWorld w(Box(620, 850, 745, 950));
        const CNodeArray leader = LeaderPath(900.0f);
        std::unique_ptr<CUnit> pFollower = w.world.MakeUnit(kTank, 700.0f, kStartY);
        ASSERT_EQ(pFollower->FollowFormation(&leader, nullptr, w.world.Db(), w.world.Map(), FALSE, c.fSpacing), 1);
        const CNode* pLast = LastNode(*pFollower);
        EXPECT_TRUE(pLast->HasStop());
        if (c.bMoved)
        {
            EXPECT_FLOAT_EQ(pLast->m_fX, 750.0f);
            EXPECT_FLOAT_EQ(pLast->m_fY, 900.0f);
            EXPECT_TRUE(w.Drivable(*pFollower->m_pPath, kVehicles));
        }
        else
        {
            EXPECT_NE(pLast->m_fX, 750.0f);
        }
    }
}

TEST(FollowFormation, AWaitingLeaderKeepsTheFollowerHaltedAndNoLeaderPathChangesNothing)
{
    FollowWorld w(Box(600, 800, 800, 1000));
    std::unique_ptr<CUnit> pFollower = w.world.MakeUnit(kTank, 700.0f, kStartY);
    ASSERT_TRUE(pFollower->m_bStopped);

    // Neither a missing nor an empty leader path gives a follower path.
    const CNodeArray empty;
    EXPECT_EQ(pFollower->FollowFormation(nullptr, nullptr, w.world.Db(), w.world.Map(), FALSE, kUnsetFloat), 0);
    EXPECT_EQ(pFollower->FollowFormation(&empty, nullptr, w.world.Db(), w.world.Map(), FALSE, kUnsetFloat), 0);
    EXPECT_EQ(pFollower->m_pPath->GetSize(), 1);
    EXPECT_TRUE(pFollower->m_bStopped);

    // The leader waits at its first node: so does the follower.
    const CNodeArray waiting = LeaderPath(kEndY, true);
    ASSERT_EQ(pFollower->FollowFormation(&waiting, nullptr, w.world.Db(), w.world.Map(), FALSE, kUnsetFloat), 1);
    EXPECT_TRUE(pFollower->m_pPath->GetAt(0)->HasStop());
    EXPECT_TRUE(pFollower->m_bStopped);
    EXPECT_TRUE(w.Drivable(*pFollower->m_pPath, kVehicles));

    // Kept positions: the follower drives to the leader's own nodes.
    ASSERT_EQ(pFollower->FollowFormation(&waiting, nullptr, w.world.Db(), w.world.Map(), TRUE, kUnsetFloat), 1);
    EXPECT_FLOAT_EQ(LastNode(*pFollower)->m_fX, kLeaderX);
    EXPECT_FLOAT_EQ(LastNode(*pFollower)->m_fY, kEndY);
}
