// The mount and dismount orders of a platoon: boarding at once in the
// deployment phase, and afterwards the passengers walked to their carriers
// and taken in pass after pass until the order ends.
#include "units/MountTestSupport.h"

#include "ai/UOrdAIOrderDataKinds.h"
#include "orders/UnitOrderArray.h"
#include "orders/UnitOrderKinds.h"

#include <gtest/gtest.h>

using namespace mounttest;

namespace
{
CHierarchyPlatoon* PlatoonOf(CHierarchyArray* pHierarchy) { return dynamic_cast<CHierarchyPlatoon*>(pHierarchy->GetChild(0)); }

int Execute(CUOrdMount& order, CHierarchyPlatoon* pPlatoon, CMountWorld& w)
{
    return order.Execute(nullptr, pPlatoon, pPlatoon, &w.Units(), nullptr, nullptr, w.Db(), w.Map());
}

int Update(CUnitOrder& order, CHierarchyPlatoon* pPlatoon, CMountWorld& w)
{
    return order.Update(pPlatoon, &w.Units(), w.Map(), w.Db(), nullptr, nullptr);
}

int MountOrdersOf(const CHierarchyPlatoon* pPlatoon)
{
    int n = 0;
    for (int i = 0; i < pPlatoon->m_pOrders->GetSize(); ++i)
        n += pPlatoon->m_pOrders->GetAt(i)->GetOrderType() == UORD_MOUNT ? 1 : 0;
    return n;
}
}  // namespace

TEST(MountOrder, InTheDeploymentPhaseExecuteBoardsAtOnceAndLeavesNoCopy)
{
    CMountWorld w;
    const int nCarrier = w.Add(kCarrier, 500.0f, 500.0f);
    const int nTeam = w.Add(kTeam, 900.0f, 900.0f);
    CHierarchyPlatoon* pPlatoon = PlatoonOf(w.MakeHierarchy());
    CUOrdMount order;
    EXPECT_EQ(Execute(order, pPlatoon, w), 1);
    EXPECT_TRUE(w.Unit(nTeam)->IsCarried());
    EXPECT_EQ(CarrierOfTeam(w, nTeam), nCarrier);
    EXPECT_EQ(MountOrdersOf(pPlatoon), 0);
}

TEST(MountOrder, APassengerWithinReachBoardsThatPassOneFartherOffIsRoutedOnce)
{
    CMountWorld w;
    const int nCarrier = w.Add(kCarrier, 500.0f, 500.0f);
    const int nNear = w.Add(kTeam, 560.0f, 500.0f);
    const int nFar = w.Add(kTeam, 500.0f, 580.0f);
    CHierarchyPlatoon* pPlatoon = PlatoonOf(w.MakeHierarchy());
    w.StartClock();
    CUOrdMount order;
    ASSERT_EQ(Execute(order, pPlatoon, w), 1);
    // The planned copy went to the platoon; this one does the walking here.
    EXPECT_EQ(MountOrdersOf(pPlatoon), 1);

    // Nobody boards while the carrier moves.
    w.Unit(nCarrier)->m_bStopped = FALSE;
    EXPECT_EQ(Update(order, pPlatoon, w), 1);
    EXPECT_FALSE(w.Unit(nNear)->IsMounting());
    EXPECT_EQ(w.Unit(nFar)->m_pPath->GetSize(), 1);
    w.Unit(nCarrier)->m_bStopped = TRUE;

    // The nearer passenger first: at 60.0 m it boards on this pass.
    EXPECT_EQ(Update(order, pPlatoon, w), 1);
    EXPECT_TRUE(w.Unit(nNear)->IsMounting());
    EXPECT_EQ(CarrierOfTeam(w, nNear), nCarrier);

    // Then, once the boarding team has left the plan, the one 80 m off
    // is sent to the point 30 m short of the carrier, once in ten passes.
    EXPECT_EQ(Update(order, pPlatoon, w), 1);
    EXPECT_EQ(Update(order, pPlatoon, w), 1);
    CUnit* pFar = w.Unit(nFar);
    ASSERT_EQ(pFar->m_pPath->GetSize(), 2);
    CNode* pEnd = pFar->m_pPath->GetAt(1);
    EXPECT_NEAR(pEnd->m_fX, 500.0f, 1e-3);
    EXPECT_NEAR(pEnd->m_fY, 530.0f, 1e-3);
    pEnd->m_fY += 0.5f;  // a second route would put it back
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(Update(order, pPlatoon, w), 1);
    ASSERT_EQ(pFar->m_pPath->GetSize(), 2);
    EXPECT_NEAR(pFar->m_pPath->GetAt(1)->m_fY, 530.5f, 1e-3);
}

TEST(MountOrder, ThePlatoonsOrderWalksItsPassengersInAndEnds)
{
    CMountWorld w;
    const int nCarrier = w.Add(kCarrier, 500.0f, 500.0f);
    const int nTeams[] = {w.Add(kTeam, 500.0f, 600.0f), w.Add(kTeam, 600.0f, 500.0f)};
    CHierarchyArray* pHierarchy = w.MakeHierarchy();
    CHierarchyPlatoon* pPlatoon = PlatoonOf(pHierarchy);
    w.StartClock();
    CUOrdMount order;
    ASSERT_EQ(Execute(order, pPlatoon, w), 1);
    int nPasses = 0;
    while (nPasses < 300 && !(w.Unit(nTeams[0])->IsCarried() && w.Unit(nTeams[1])->IsCarried()))
    {
        w.Pass();
        pHierarchy->UpdateOrders(&w.Units(), w.Map(), w.Db(), nullptr, nullptr);
        ++nPasses;
    }
    EXPECT_TRUE(w.Unit(nTeams[0])->IsCarried());
    EXPECT_TRUE(w.Unit(nTeams[1])->IsCarried());
    EXPECT_EQ(CarrierCap(w.Unit(nCarrier))->m_pPassengers->GetSize(), 2);
    pHierarchy->UpdateOrders(&w.Units(), w.Map(), w.Db(), nullptr, nullptr);
    EXPECT_EQ(MountOrdersOf(pPlatoon), 0);
}

TEST(MountOrder, AModeOfTravelThatMakesTheOrderNeedlessLeavesEverythingAsItIs)
{
    CMountWorld w;
    w.Add(kCarrier, 500.0f, 500.0f);
    const int nTeam = w.Add(kTeam, 520.0f, 500.0f);
    CHierarchyPlatoon* pPlatoon = PlatoonOf(w.MakeHierarchy());
    CUOrdAIOrderDataModeOfTravel onFoot;
    onFoot.m_nTravelMode = 2;
    CUOrdMount mount;
    EXPECT_EQ(mount.AddData(&onFoot, nullptr, pPlatoon, &w.Units(), w.Db(), w.Map()), 1);
    EXPECT_EQ(Execute(mount, pPlatoon, w), 1);
    EXPECT_FALSE(w.Unit(nTeam)->IsCarried());

    CUOrdAIOrderDataModeOfTravel mounted;
    mounted.m_nTravelMode = 1;
    CUOrdDismount dismount;
    dismount.AddData(&mounted, nullptr, pPlatoon, &w.Units(), w.Db(), w.Map());
    EXPECT_TRUE(dismount.m_bSkipByTravelMode);
    dismount.AddData(&onFoot, nullptr, pPlatoon, &w.Units(), w.Db(), w.Map());
    EXPECT_FALSE(dismount.m_bSkipByTravelMode);
}
