// Riding in carriers on the unit's side: letting teams out and placing
// them on the ring, the tests of the menus and orders, the carrier's ramp
// cycle and its information-sheet lines, and the passengers' fate.
#include "MountTestSupport.h"

#include "platform/ui/Command.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace mounttest;

namespace
{
constexpr float kStep = 6.281385f / 3.0f;

struct SPlaced
{
    float x;
    float y;
};

SPlaced Ring(float cx, float cy, float fAngle)
{
    return {cx + 30.0f * std::sin(fAngle), cy + 30.0f * std::cos(fAngle)};
}

std::string Status(CUnit* pCarrier, CMountWorld& w)
{
    return pCarrier->GetCarrierStatusText(w.Db(), &w.Units()).GetString();
}
}  // namespace

TEST(UnitCarried, InTheDeploymentPhaseEveryTeamLeavesAtOnceOntoTheRingFromNorth)
{
    CMountWorld w;
    const int nCarrier = w.Add(kCarrier, 1000.0f, 1000.0f);
    const int nTeams[] = {w.Add(kTeam, 1000.0f, 1000.0f), w.Add(kTeam, 1000.0f, 1000.0f),
                          w.Add(kTeam, 1000.0f, 1000.0f)};
    for (int nTeam : nTeams)
        w.Aboard(nTeam, nCarrier);
    CUnit* pCarrier = w.Unit(nCarrier);
    EXPECT_TRUE(w.Unit(nTeams[0])->IsCarried());
    EXPECT_EQ(Status(pCarrier, w), "- Carrier full\r\n- Carrier is closed\r\n");

    ASSERT_TRUE(w.Units().DismountUnits(nCarrier, 0, 0, w.Db(), w.Map(), FALSE));
    EXPECT_FALSE(pCarrier->HasPassengers());
    EXPECT_FALSE(CarrierCap(pCarrier)->m_bOpen);
    const float angles[] = {0.0f, 2.093795f, 4.18759f};
    for (int i = 0; i < 3; ++i)
    {
        CUnit* pTeam = w.Unit(nTeams[i]);
        const SPlaced expected = Ring(1000.0f, 1000.0f, angles[i]);
        EXPECT_FALSE(pTeam->IsCarried()) << i;
        EXPECT_EQ(TeamCap(pTeam)->m_nCarrierUnit, -99) << i;
        EXPECT_NEAR(pTeam->m_fX, expected.x, 1e-3) << i;
        EXPECT_NEAR(pTeam->m_fY, expected.y, 1e-3) << i;
    }
    EXPECT_EQ(Status(pCarrier, w), "- Carrier empty\r\n- Carrier is closed\r\n");
}

TEST(UnitCarried, UnloadingEdgeCases)
{
    // An empty carrier answers 1 and lets nobody out.
    {
        CMountWorld w;
        CUnit* pCarrier = w.Unit(w.Add(kCarrier, 500.0f, 500.0f));
        TypedObArray<CCarriedUnit> released;
        EXPECT_TRUE(pCarrier->UnloadPassengers(w.Db(), &released, FALSE));
        EXPECT_EQ(released.GetSize(), 0);
        // Not a carrier at all: refused.
        EXPECT_FALSE(w.Unit(w.Add(kTank, 500.0f, 500.0f))->UnloadPassengers(w.Db(), &released, FALSE));
    }
    // A carrier 10 m from the east edge puts its teams on the edge, not
    // beyond it.
    {
        CMountWorld w;
        const float fEdge = static_cast<float>(kMapSize);
        const int nCarrier = w.Add(kCarrier, fEdge - 10.0f, 1000.0f);
        const int nTeams[] = {w.Add(kTeam, 1.0f, 1.0f), w.Add(kTeam, 1.0f, 1.0f), w.Add(kTeam, 1.0f, 1.0f)};
        for (int nTeam : nTeams)
            w.Aboard(nTeam, nCarrier);
        ASSERT_TRUE(w.Units().DismountUnits(nCarrier, 0, 0, w.Db(), w.Map(), FALSE));
        EXPECT_NEAR(w.Unit(nTeams[0])->m_fX, fEdge - 10.0f, 1e-3);
        EXPECT_FLOAT_EQ(w.Unit(nTeams[1])->m_fX, fEdge);
        EXPECT_NEAR(w.Unit(nTeams[2])->m_fX, Ring(fEdge - 10.0f, 1000.0f, 2 * kStep).x, 1e-3);
    }
    // After the deployment phase, oneOnly lets out the team that boarded
    // last.
    {
        CMountWorld w;
        const int nCarrier = w.Add(kCarrier, 500.0f, 500.0f);
        const int nTeams[] = {w.Add(kTeam, 1.0f, 1.0f), w.Add(kTeam, 1.0f, 1.0f), w.Add(kTeam, 1.0f, 1.0f)};
        for (int nTeam : nTeams)
            w.Aboard(nTeam, nCarrier);
        w.StartClock();
        TypedObArray<CCarriedUnit> released;
        ASSERT_TRUE(w.Unit(nCarrier)->UnloadPassengers(w.Db(), &released, TRUE));
        ASSERT_EQ(released.GetSize(), 1);
        EXPECT_EQ(released.GetAt(0)->m_nUnit, nTeams[2]);
        EXPECT_EQ(CarrierCap(w.Unit(nCarrier))->m_pPassengers->GetSize(), 2);
    }
}

TEST(UnitCarried, TheTestsOfTheCommandsFollowTheRidingStates)
{
    CMountWorld w;
    const int nCarrier = w.Add(kPairCarrier, 500.0f, 500.0f);
    const int nFirst = w.Add(kTeam, 500.0f, 520.0f);
    const int nSecond = w.Add(kTeam, 500.0f, 540.0f);
    CUnit* pCarrier = w.Unit(nCarrier);
    CUnit* pFirst = w.Unit(nFirst);
    CUnit* pSecond = w.Unit(nSecond);
    w.StartClock();

    EXPECT_TRUE(pCarrier->CanMountOrDismount(w.Db(), 1, FALSE));
    EXPECT_FALSE(pCarrier->CanMountOrDismount(w.Db(), 0, FALSE));
    EXPECT_TRUE(pFirst->CanBoard(FALSE));
    EXPECT_TRUE(pFirst->IsAvailableToMount());
    EXPECT_EQ(pCarrier->GetRoomInCarrier(w.Db()), 2);

    // The first team is on its way in: mounting, not carried, and counted
    // as aboard.
    ASSERT_TRUE(pFirst->AssignToCarrier(nCarrier, 0, 0, FALSE));
    ASSERT_TRUE(pCarrier->LoadPassenger(nFirst, 0, 0, w.Db(), FALSE));
    EXPECT_FALSE(pFirst->IsCarried());
    EXPECT_TRUE(pFirst->IsMounting());
    EXPECT_TRUE(pCarrier->IsMounting());
    EXPECT_TRUE(pFirst->HasDismounted());
    EXPECT_FALSE(pFirst->IsAvailableToMount());
    EXPECT_EQ(pCarrier->GetRoomInCarrier(w.Db()), 1);
    EXPECT_FALSE(pCarrier->CanMountOrDismount(w.Db(), 1, FALSE));  // busy
    EXPECT_TRUE(pCarrier->CanMountOrDismount(w.Db(), 1, TRUE));
    EXPECT_EQ(Status(pCarrier, w), "- Carrier empty\r\n- Carrier is opening to mount personnel\r\n");

    // In, and the ramp starts closing.
    ASSERT_TRUE(pFirst->AssignToCarrier(nCarrier, 0, 0, TRUE));
    ASSERT_TRUE(pCarrier->LoadPassenger(nFirst, 0, 0, w.Db(), TRUE));
    EXPECT_TRUE(pFirst->IsCarried());
    EXPECT_FALSE(pFirst->CanBoard(TRUE));
    EXPECT_EQ(CarrierCap(pCarrier)->m_nRampLeft, kTimeToClose);
    EXPECT_EQ(Status(pCarrier, w), "- Carrier contains personnel\r\n- Carrier is closing\r\n");

    // The second at once fills it.
    ASSERT_TRUE(pSecond->AssignToCarrier(nCarrier, 0, 0, TRUE));
    CarrierCap(pCarrier)->m_bOpen = FALSE;
    ASSERT_TRUE(pCarrier->LoadPassenger(nSecond, 0, 0, w.Db(), FALSE));
    ASSERT_TRUE(pCarrier->LoadPassenger(nSecond, 0, 0, w.Db(), TRUE));
    CarrierCap(pCarrier)->m_bOpen = FALSE;
    EXPECT_FALSE(pCarrier->CanMountOrDismount(w.Db(), 1, TRUE));
    EXPECT_FALSE(pCarrier->CanCarry(w.Db(), FALSE));
    EXPECT_TRUE(pCarrier->CanMountOrDismount(w.Db(), 0, FALSE));
    EXPECT_EQ(pCarrier->GetRoomInCarrier(w.Db()), 0);

    // A carrier on the move takes no command.
    pCarrier->m_bStopped = FALSE;
    EXPECT_FALSE(pCarrier->CanMountOrDismount(w.Db(), 0, TRUE));
}

TEST(UnitCarried, TheRampCycleRaisesItsEventsAndShowsItsStepsInOrder)
{
    CMountWorld w;
    const int nCarrier = w.Add(kCarrier, 500.0f, 500.0f);
    const int nTeam = w.Add(kTeam, 500.0f, 500.0f, 0, "Rifle Team");
    w.Aboard(nTeam, nCarrier);
    CUnit* pCarrier = w.Unit(nCarrier);
    CUCapPersonnelCarrier* pCap = CarrierCap(pCarrier);
    w.StartClock();
    ASSERT_TRUE(pCarrier->UnloadPassengers(w.Db(), nullptr, FALSE));

    struct Second
    {
        int t;
        DWORD dwEvent;
        const char* text;
    };
    // One second at a time: the ramp opens for 5 s, the team is out 15 s
    // later, and the ramp closes 5 s after that.
    const Second expected[] = {
        {1, 0, "- Carrier contains personnel\r\n- Carrier is opening to allow personnel to disembark\r\n"},
        {5, 0, "- Carrier contains personnel\r\n- All personnel are dismembarking from this carrier\r\n"},
        {19, 0, "- Carrier contains personnel\r\n- All personnel are dismembarking from this carrier\r\n"},
        {20, UCAP_EVENT_PASSENGER_OUT, "- Carrier empty\r\n- Carrier is closing\r\n"},
        {24, 0, "- Carrier empty\r\n- Carrier is closing\r\n"},
        {25, 0, "- Carrier empty\r\n- Carrier is closed\r\n"},
    };
    int t = 0;
    for (const Second& s : expected)
    {
        DWORD dwEvents = 0;
        while (t < s.t)
        {
            ++t;
            dwEvents = pCap->Update(pCarrier->m_nVehicle, 1, CTimeSpan(t), w.Map(), w.Db(), 0, 0, pCarrier, 0, 0, 0);
            if (dwEvents & UCAP_EVENT_PASSENGER_OUT)
                w.Units().HandleMoveEvents(dwEvents, nCarrier, 0, 0, w.Map(), w.Db());
        }
        EXPECT_EQ(dwEvents, s.dwEvent) << "second " << s.t;
        EXPECT_EQ(Status(pCarrier, w), s.text) << "second " << s.t;
    }
    EXPECT_FALSE(w.Unit(nTeam)->IsCarried());

    // A carrier that is not halted freezes its timers.
    ASSERT_TRUE(w.Unit(nTeam)->AssignToCarrier(nCarrier, 0, 0, FALSE));
    ASSERT_TRUE(pCarrier->LoadPassenger(nTeam, 0, 0, w.Db(), FALSE));
    pCarrier->m_bStopped = FALSE;
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(pCap->Update(pCarrier->m_nVehicle, 1, CTimeSpan(100 + i), w.Map(), w.Db(), 0, 0, pCarrier, 0, 0, 0),
                  0u);
    EXPECT_EQ(pCap->m_nRampLeft, kTimeToOpen);
    pCarrier->m_bStopped = TRUE;
    DWORD dwLast = 0;
    for (int i = 0; i < kTimeToOpen + kTimeToMount; ++i)
        dwLast = pCap->Update(pCarrier->m_nVehicle, 1, CTimeSpan(200 + i), w.Map(), w.Db(), 0, 0, pCarrier, 0, 0, 0);
    EXPECT_EQ(dwLast, UCAP_EVENT_TEAM_IN);
}

TEST(UnitCarried, ADestroyedCarrierTakesItsTeamsWithItEachUnderItsOwnAddress)
{
    CMountWorld w;
    const int nCarrier = w.Add(kCarrier, 500.0f, 500.0f);
    const int nTeams[] = {w.Add(kTeam, 1.0f, 1.0f), w.Add(kTeam, 1.0f, 1.0f)};
    const int nOther = w.Add(kCarrier, 900.0f, 900.0f);
    for (int nTeam : nTeams)
        w.Aboard(nTeam, nCarrier);
    CHierarchyArray* pHierarchy = w.MakeHierarchy();
    // A crafted file in which two carriers list each other.
    CarrierCap(w.Unit(nCarrier))->m_pPassengers->Add(new CCarriedUnit(nOther, 0, 0));
    CarrierCap(w.Unit(nOther))->m_pPassengers->Add(new CCarriedUnit(nCarrier, 0, 0));

    w.Unit(nCarrier)->Destroy(nCarrier, 0, &w.Units(), w.Db());
    for (int nUnit : {nCarrier, nTeams[0], nTeams[1], nOther})
    {
        EXPECT_TRUE(w.Unit(nUnit)->m_bDestroyed) << nUnit;
        int nLevel = 0;
        CHierarchyElement* pElement = pHierarchy->FindElementOfUnit(nUnit, 0, 0, nLevel);
        ASSERT_NE(pElement, nullptr) << nUnit;
        EXPECT_TRUE(pElement->m_bDestroyed) << nUnit;
    }
}

TEST(UnitCarried, TheCarrierOffersItsCommandsInTheActionsAndSOPSubmenus)
{
    CMenu menu;
    CMenu* pPopup = menu.AppendPopup("Unit");
    for (int i = 0; i < 9; ++i)
    {
        if (i == UNIT_MENU_ACTIONS || i == UNIT_MENU_SOP || i == UNIT_MENU_ORDERS)
            pPopup->AppendPopup("Sub");
        else
            pPopup->AppendMenu(MF_STRING, 100 + i, "Item");
    }
    CUCapPersonnelCarrier carrier;
    carrier.AddMenuItems(&menu);
    CMenu* pActions = pPopup->GetSubMenu(UNIT_MENU_ACTIONS);
    CMenu* pSOP = pPopup->GetSubMenu(UNIT_MENU_SOP);
    ASSERT_EQ(pActions->GetMenuItemCount(), 2u);
    EXPECT_EQ(pActions->GetMenuItemID(0), ID_UNIT_MOUNT);
    EXPECT_EQ(pActions->GetMenuItemID(1), ID_UNIT_DISMOUNT);
    ASSERT_EQ(pSOP->GetMenuItemCount(), 1u);
    EXPECT_EQ(pSOP->GetMenuItemID(0), ID_UNIT_DISMOUNT_ON_CONTACT);
}
