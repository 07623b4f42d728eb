// The units component's mounting and dismounting: the pairing of teams
// with carriers, the unloading walk and its mends, the events of the ramp
// cycle after a move step, and the demo's carriers through a whole cycle
// that a save interrupts.
#include "MountTestSupport.h"

#include "../../tools/demo_units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace mounttest;

namespace
{
constexpr float kStep = 6.281385f / 3.0f;
}  // namespace

TEST(KDRUnitsMount, PairingTable)
{
    // After the deployment phase a carrier takes a team within 60 m: the
    // team is on its way in, the carrier opening for it.
    for (const auto& [fDistance, bBoards] : {std::pair{60.0f, true}, std::pair{61.0f, false}})
    {
        CMountWorld w;
        const int nCarrier = w.Add(kCarrier, 500.0f, 500.0f);
        const int nTeam = w.Add(kTeam, 500.0f + fDistance, 500.0f);
        w.StartClock();
        EXPECT_TRUE(w.Units().MountUnits(Selection({nTeam}).get(), Selection({nCarrier}).get(), w.Map(), w.Db()));
        EXPECT_EQ(w.Unit(nTeam)->IsMounting(), bBoards) << fDistance;
        EXPECT_EQ(w.Unit(nCarrier)->IsMounting(), bBoards) << fDistance;
        EXPECT_EQ(CarrierOfTeam(w, nTeam), bBoards ? nCarrier : -99) << fDistance;
    }
    // Two equal carriers take three teams in turn: first, second, first.
    {
        CMountWorld w;
        const int nFirst = w.Add(kCarrier, 500.0f, 500.0f);
        const int nSecond = w.Add(kCarrier, 520.0f, 500.0f);
        const int nTeams[] = {w.Add(kTeam, 510.0f, 510.0f), w.Add(kTeam, 510.0f, 520.0f), w.Add(kTeam, 510.0f, 530.0f)};
        w.Units().MountUnits(Selection({nTeams[0], nTeams[1], nTeams[2]}).get(), Selection({nFirst, nSecond}).get(),
                             w.Map(), w.Db());
        EXPECT_EQ(CarrierOfTeam(w, nTeams[0]), nFirst);
        EXPECT_EQ(CarrierOfTeam(w, nTeams[1]), nSecond);
        EXPECT_EQ(CarrierOfTeam(w, nTeams[2]), nFirst);
        EXPECT_TRUE(w.Unit(nTeams[2])->IsCarried());
    }
    // Protections 30 then 50: the 50 is offered first.
    {
        CMountWorld w;
        const int nThin = w.Add(kCarrier, 500.0f, 500.0f);
        const int nThick = w.Add(kArmoured, 520.0f, 500.0f);
        const int nTeam = w.Add(kTeam, 510.0f, 510.0f);
        w.Units().MountUnits(Selection({nTeam}).get(), Selection({nThin, nThick}).get(), w.Map(), w.Db());
        EXPECT_EQ(CarrierOfTeam(w, nTeam), nThick);
    }
    // A given carrier with room for two takes the two most valuable of
    // three; named entries of either selection are passed over.
    {
        CMountWorld w;
        const int nCarrier = w.Add(kPairCarrier, 500.0f, 500.0f);
        const int nCheap = w.Add(kCheapTeam, 510.0f, 500.0f);
        const int nValuable = w.Add(kValuableTeam, 520.0f, 500.0f);
        const int nPlain = w.Add(kTeam, 530.0f, 500.0f);
        auto pTeams = Selection({nCheap, nValuable, nPlain});
        auto* pNamed = new CHierarchyTaskOrg;
        pNamed->m_strName = "1st Platoon";
        pNamed->m_nUnit = nCheap;
        pTeams->InsertAt(0, pNamed);
        EXPECT_TRUE(w.Units().MountUnits(kUnset, kUnset, pTeams.get(), nCarrier, 0, 0, nullptr, FALSE, w.Db(), w.Map(),
                                         nullptr, nullptr, FALSE));
        EXPECT_TRUE(w.Unit(nValuable)->IsCarried());
        EXPECT_TRUE(w.Unit(nPlain)->IsCarried());
        EXPECT_FALSE(w.Unit(nCheap)->IsCarried());
        EXPECT_EQ(CarrierCap(w.Unit(nCarrier))->m_pPassengers->GetAt(0)->m_nUnit, nValuable);
    }
    // In the deployment phase a moving carrier 500 m off takes a team.
    {
        CMountWorld w;
        const int nCarrier = w.Add(kCarrier, 500.0f, 500.0f);
        const int nTeam = w.Add(kTeam, 1000.0f, 500.0f);
        w.Unit(nCarrier)->m_bStopped = FALSE;
        w.Unit(nCarrier)->m_pPath->AddNode(500.0f, 900.0f);
        w.Units().MountUnits(Selection({nTeam}).get(), Selection({nCarrier}).get(), w.Map(), w.Db());
        EXPECT_TRUE(w.Unit(nTeam)->IsCarried());
    }
    // Later, a carrier letting teams out takes none, even at once.
    {
        CMountWorld w;
        const int nCarrier = w.Add(kCarrier, 500.0f, 500.0f);
        const int nAboard = w.Add(kTeam, 500.0f, 500.0f);
        const int nTeam = w.Add(kTeam, 510.0f, 500.0f);
        w.Aboard(nAboard, nCarrier);
        w.StartClock();
        ASSERT_TRUE(w.Unit(nCarrier)->UnloadPassengers(w.Db(), nullptr, FALSE));
        EXPECT_TRUE(w.Units().MountUnits(nTeam, 0, nullptr, nCarrier, 0, 0, nullptr, FALSE, w.Db(), w.Map(), nullptr,
                                         nullptr, TRUE));
        EXPECT_EQ(CarrierOfTeam(w, nTeam), -99);
        // Without either selection there is nothing to pair.
        EXPECT_FALSE(w.Units().MountUnits(nTeam, 0, nullptr, kUnset, kUnset, 0, nullptr, TRUE, w.Db(), w.Map(),
                                          nullptr, nullptr, FALSE));
    }
}

TEST(KDRUnitsMount, BoardingMarksTheElementAndDismountingClearsIt)
{
    CMountWorld w;
    const int nCarrier = w.Add(kCarrier, 500.0f, 500.0f);
    const int nTeam = w.Add(kTeam, 510.0f, 500.0f);
    CHierarchyArray* pHierarchy = w.MakeHierarchy();
    int nLevel = 0;
    CHierarchyElement* pElement = pHierarchy->FindElementOfUnit(nTeam, 0, 0, nLevel);
    ASSERT_NE(pElement, nullptr);
    w.Units().MountUnits(Selection({nTeam}).get(), Selection({nCarrier}).get(), w.Map(), w.Db());
    EXPECT_TRUE(pElement->m_bMounted);
    EXPECT_TRUE(w.Units().DismountUnits(Selection({nCarrier}).get(), w.Map(), w.Db()));
    EXPECT_FALSE(pElement->m_bMounted);
    EXPECT_FALSE(w.Unit(nTeam)->IsCarried());
}

TEST(KDRUnitsMount, ATeamThatIsGoneNoLongerStrandsTheTeamsAfterIt)
{
    CMountWorld w;
    const int nCarrier = w.Add(kCarrier, 1000.0f, 1000.0f);
    const int nFirst = w.Add(kTeam, 1.0f, 1.0f);
    const int nThird = w.Add(kTeam, 1.0f, 1.0f);
    w.Aboard(nFirst, nCarrier);
    // The second record names a team no array holds any more.
    CarrierCap(w.Unit(nCarrier))->m_pPassengers->Add(new CCarriedUnit(42, 0, 0));
    w.Aboard(nThird, nCarrier);

    EXPECT_FALSE(w.Units().DismountUnits(nCarrier, 0, 0, w.Db(), w.Map(), FALSE));
    for (const auto& [nTeam, fAngle] : {std::pair{nFirst, 0.0f}, std::pair{nThird, kStep}})
    {
        CUnit* pTeam = w.Unit(nTeam);
        EXPECT_FALSE(pTeam->IsCarried()) << nTeam;
        EXPECT_NEAR(pTeam->m_fX, 1000.0f + 30.0f * std::sin(fAngle), 1e-3) << nTeam;
        EXPECT_NEAR(pTeam->m_fY, 1000.0f + 30.0f * std::cos(fAngle), 1e-3) << nTeam;
    }
    EXPECT_EQ(CarrierCap(w.Unit(nCarrier))->m_pPassengers->GetSize(), 0);
}

TEST(KDRUnitsMount, AComputerSideTeamGetsOutAtItsMountTimeButOneThatBoardsStaysAboard)
{
    CMountWorld w;
    const int nCarrier = w.Add(kCarrier, 500.0f, 500.0f, 1);
    const int nRider = w.Add(kTeam, 500.0f, 500.0f, 1);
    const int nWalker = w.Add(kTeam, 530.0f, 500.0f, 1);
    w.Aboard(nRider, nCarrier, 1);
    TeamCap(w.Unit(nRider, 1))->m_timeMount = CTimeSpan(10);
    w.StartClock();

    // The rider's time comes after ten seconds: the ramp opens, and it is
    // out 20 s later.
    for (int i = 0; i < 10; ++i)
        w.Pass();
    EXPECT_TRUE(w.Unit(nRider, 1)->IsCarried());
    w.Pass();
    EXPECT_TRUE(w.Unit(nCarrier, 1)->IsDisembarking());
    for (int i = 0; i < kTimeToOpen + kTimeToDismount; ++i)
        w.Pass();
    EXPECT_FALSE(w.Unit(nRider, 1)->IsCarried());
    for (int i = 0; i < kTimeToClose; ++i)
        w.Pass();
    EXPECT_FALSE(CarrierCap(w.Unit(nCarrier, 1))->m_bOpen);

    // The walker, whose mount time (0) is long gone, boards and stays.
    EXPECT_TRUE(w.Units().MountUnits(Selection({nWalker}, 1).get(), Selection({nCarrier}, 1).get(), w.Map(),
                                     w.Db()));
    for (int i = 0; i < kTimeToOpen + kTimeToMount; ++i)
        w.Pass();
    EXPECT_TRUE(w.Unit(nWalker, 1)->IsCarried());
    for (int i = 0; i < 30; ++i)
        w.Pass();
    EXPECT_TRUE(w.Unit(nWalker, 1)->IsCarried());
    EXPECT_FALSE(w.Unit(nCarrier, 1)->IsDisembarking());
    EXPECT_EQ(TeamCap(w.Unit(nWalker, 1))->m_timeMount.GetTotalSeconds(), 86313600);
}

TEST(KDRUnitsMount, ACarrierGivenANewPathFreesTheTeamOnItsWayIn)
{
    CMountWorld w;
    const int nCarrier = w.Add(kCarrier, 500.0f, 500.0f);
    const int nTeam = w.Add(kTeam, 530.0f, 500.0f);
    w.StartClock();
    w.Units().MountUnits(Selection({nTeam}).get(), Selection({nCarrier}).get(), w.Map(), w.Db());
    ASSERT_TRUE(w.Unit(nTeam)->IsMounting());
    w.Unit(nCarrier)->AssignPath(600.0f, 600.0f, w.Db(), w.Map(), FALSE, 0);
    w.Pass();
    EXPECT_FALSE(w.Unit(nTeam)->IsMounting());
    EXPECT_EQ(CarrierOfTeam(w, nTeam), -99);
    EXPECT_FALSE(w.Unit(nCarrier)->IsMounting());
}

TEST(KDRUnitsMount, ADemoCarrierRunsItsCycleAcrossASavedGame)
{
    CUnitTestDatabase db;
    db.LoadDemo(true);
    CKDRGameMap map;
    demo_units::LoadDemoGround(map);
    CString errorText;
    CKDRUnits units;
    units.m_pOwnUnits = new CUnitArray;
    units.m_bOwnUnits = TRUE;
    ASSERT_TRUE(demo_units::BuildFriendlyUnits(*units.m_pOwnUnits, *db.Db(), map, errorText)) << errorText.GetString();
    int nCarrier = kUnset;
    for (int i = 0; i < units.m_pOwnUnits->GetSize(); ++i)
    {
        if (units.m_pOwnUnits->GetAt(i)->m_strName == "Carrier 31")
            nCarrier = i;
    }
    ASSERT_NE(nCarrier, kUnset);
    CTestShell& app = db.App().App();
    SetManualTime(500000);
    units.PrepareUnits(app.StartClock(), &map, db.Db());

    std::vector<std::string> seen;
    auto pass = [&]
    {
        AdvanceManualTime(1000);
        BOOL bChanged = FALSE;
        units.MoveUnitArray(0, 0, units.m_pOwnUnits, &map, db.Db(), nullptr, nullptr, kUnset, bChanged);
        const std::string text = units.GetUnit(nCarrier, 0, 0)->GetCarrierStatusText(db.Db(), &units).GetString();
        if (seen.empty() || seen.back() != text)
            seen.push_back(text);
    };
    auto carried = [&]
    {
        int n = 0;
        for (int i = 0; i < units.m_pOwnUnits->GetSize(); ++i)
            n += units.m_pOwnUnits->GetAt(i)->IsCarried() ? 1 : 0;
        return n;
    };
    const int nAboardAtStart = carried();
    ASSERT_TRUE(units.DismountUnits(Selection({nCarrier}).get(), &map, db.Db()));
    for (int i = 0; i < 25; ++i)
        pass();
    EXPECT_EQ(carried(), nAboardAtStart - 1);

    // Saved between its two teams, and opened again: the clock stops and
    // starts again after the load.
    app.StopClock();
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        units.m_pOwnUnits->Serialize(ar);
        ar.Close();
    }
    file.SeekToBegin();
    auto* pReopened = new CUnitArray;
    {
        CArchive ar(&file, CArchive::load);
        pReopened->Serialize(ar);
        ar.Close();
    }
    delete units.m_pOwnUnits;
    units.m_pOwnUnits = pReopened;
    pReopened->AttachVehicles(db.Db());
    pReopened->PrepareUnits(app.StartClock(), &map, db.Db());
    for (int i = 0; i < 25; ++i)
        pass();
    EXPECT_EQ(carried(), nAboardAtStart - 2);
    const std::vector<std::string> expected = {
        "- Carrier contains personnel\r\n- Carrier is opening to allow personnel to disembark\r\n",
        "- Carrier contains personnel\r\n- All personnel are dismembarking from this carrier\r\n",
        "- Carrier empty\r\n- Carrier is closing\r\n",
        "- Carrier empty\r\n- Carrier is closed\r\n",
    };
    EXPECT_EQ(seen, expected);
}

TEST(KDRUnitsMount, ACarrierToldToDismountOnContactLetsItsTeamsOutWhenFiredOn)
{
    for (BOOL bOnContact : {TRUE, FALSE})
    {
        CMountWorld w;
        const int nCarrier = w.Add(kCarrier, 500.0f, 500.0f);
        const int nTeam = w.Add(kTeam, 1.0f, 1.0f);
        w.Aboard(nTeam, nCarrier);
        CUnit* pCarrier = w.Unit(nCarrier);
        w.StartClock();
        // On the move when the fire comes.
        pCarrier->m_pPath->AddNode(500.0f, 900.0f);
        pCarrier->ClearStop(w.Db(), TRUE);
        ASSERT_TRUE(pCarrier->SetOrderState(UNIT_ORDER_DISMOUNT_ON_CONTACT, w.Db(), bOnContact, !bOnContact));
        EXPECT_EQ(pCarrier->IsDismountOnContact(), bOnContact);
        CVehicle* pShooter = w.Db()->GetVehicle(kTank);
        pCarrier->ReactToFire(pShooter, w.Db()->GetVehicle(kCarrier), w.Db(), 0, 100);
        EXPECT_EQ(pCarrier->IsDisembarking(), bOnContact);
        EXPECT_EQ(pCarrier->m_bStopped, bOnContact);
        if (!bOnContact)
            continue;
        // Fired on again while they get out: the unload goes on as it was.
        for (int i = 0; i < 3; ++i)
            w.Pass();
        const int nLeft = CarrierCap(pCarrier)->m_nRampLeft;
        pCarrier->ReactToFire(pShooter, w.Db()->GetVehicle(kCarrier), w.Db(), 0, 100);
        EXPECT_EQ(CarrierCap(pCarrier)->m_nRampLeft, nLeft);
        int nSeconds = 3;
        while (nSeconds < 60 && w.Unit(nTeam)->IsCarried())
        {
            w.Pass();
            ++nSeconds;
        }
        EXPECT_EQ(nSeconds, kTimeToOpen + kTimeToDismount);
        EXPECT_NEAR(std::hypot(w.Unit(nTeam)->m_fX - pCarrier->m_fX, w.Unit(nTeam)->m_fY - pCarrier->m_fY), 30.0f,
                    1e-3);
    }
}
