// The battery's firing cycle driven pass by pass on a hand-driven clock,
// its missions and texts, the computer's choice of targets, bursts on
// units, guided rounds and their observers, and the ammunition carriers,
// on the demo's vehicle list.
#include "UnitTestSupport.h"
#include "battlefield/FireTestHost.h"

#include "battlefield/FireMission.h"
#include "battlefield/FireMissionArray.h"
#include "database/IFAmmo.h"
#include "database/IFAmmoCapability.h"
#include "database/VCapIndirectFire.h"
#include "database/VCapKinds.h"
#include "database/Vehicle.h"
#include "orders/NodeArray.h"
#include "hierarchy/TaskOrg.h"
#include "orders/NodeOrder.h"
#include "platform/core/Random.h"
#include "units/KDRUnits.h"
#include "units/SpotReport.h"
#include "units/SpotReportArray.h"
#include "units/UCapIndirectFire.h"
#include "units/UCapKinds.h"
#include "units/Unit.h"
#include "units/UnitArray.h"
#include "units/UnitRefArray.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace demo_equipment;

namespace
{
constexpr float kPi = 3.14159265f;

// The demo's list with a units component and a hand-driven fire host.
class CFireWorld
{
public:
    CFireWorld()
    {
        m_db.LoadDemo();
        m_pHost = std::make_unique<CFireTestHost>();
        m_pHost->m_pDatabase = Db();
    }

    CKDRDatabase* Db() { return m_db.Db(); }
    CFireTestHost& Host() { return *m_pHost; }
    CKDRUnits& Units() { return m_units; }
    CVehicle* Vehicle(int nType) { return Db()->GetVehicle(nType); }

    // The battle has begun: no longer the deployment phase.
    void BeginBattle() { Host().GetGameClock()->m_tsElapsed = CTimeSpan(1); }

    // A unit of the type halted at a stop at the point, its capabilities
    // built from the type (full loads, dug in where it digs in).
    CUnit* NewUnit(int nType, int nSide, float x, float y, const char* name = "Unit")
    {
        auto* pUnit = new CUnit;
        pUnit->m_nVehicle = nType;
        pUnit->m_pCapabilities->BuildFromVehicle(Vehicle(nType), Db());
        pUnit->m_strName = name;
        pUnit->SetSide(nSide);
        pUnit->m_fX = x;
        pUnit->m_fY = y;
        pUnit->m_pPath->ResetToPoint(x, y, nSide != 0);
        pUnit->m_bStopped = TRUE;
        if (auto* pEmplace = dynamic_cast<CUCapEmplace*>(pUnit->FindCapability(VCAP_EMPLACE)))
            pEmplace->m_bEmplaced = TRUE;
        return pUnit;
    }

    CUnitArray* AddArray(int nKind)
    {
        auto* pArray = new CUnitArray;
        pArray->SetSide(nKind);
        if (nKind == 0)
        {
            delete m_units.m_pOwnUnits;
            m_units.m_pOwnUnits = pArray;
            m_units.m_bOwnUnits = TRUE;
            return pArray;
        }
        auto*& pList = nKind == 1 ? m_units.m_pOpposingArrays : m_units.m_pNeutralArrays;
        if (pList == nullptr)
            pList = new TypedObArray<CUnitArray>;
        pList->Add(pArray);
        (nKind == 1 ? m_units.m_bOpposingUnits : m_units.m_bNeutralUnits) = TRUE;
        return pArray;
    }

    // The reports filed so far, oldest first.
    std::vector<std::string> Reports()
    {
        std::vector<std::string> texts;
        for (int i = 0; i < Host().m_pSpotReports->GetSize(); ++i)
            texts.emplace_back(Host().m_pSpotReports->GetAt(i)->m_strText.GetString());
        return texts;
    }

private:
    CUnitTestDatabase m_db;
    std::unique_ptr<CFireTestHost> m_pHost;
    CKDRUnits m_units;
};

CUCapIndirectFire& Battery(CUnit& unit) { return *dynamic_cast<CUCapIndirectFire*>(unit.FindCapability(VCAP_INDIRECT_FIRE)); }

DWORD Update(CFireWorld& world, CUnit& unit, int dt)
{
    return Battery(unit).Update(unit.m_nVehicle, dt, world.Host().GetGameClock()->m_tsElapsed, nullptr, world.Db(),
                                0, 0, &unit, 0, 0, 0);
}

void OrderFire(CFireWorld& world, int nMunition, int nVolleys, int nMethod, const char* label = "Alpha")
{
    SFireOrder& order = world.Host().m_fireOrder;
    order.nMunition = nMunition;
    order.nVolleys = nVolleys;
    order.nMethod = nMethod;
    order.strLabel = label;
}

CUnitRef ContactOf(int nUnit, int nArray, int nKind, int nRange, int nValue = 90)
{
    CUnitRef ref;
    ref.m_nUnit = nUnit;
    ref.m_nArray = nArray;
    ref.m_nSide = nKind;
    ref.m_nVehicle = kTank;
    ref.m_nTargetValue = nValue;
    ref.m_nRange = nRange;
    return ref;
}

// A seed whose first percentile roll is the one asked for.
unsigned SeedForRoll(int nRoll)
{
    for (unsigned seed = 1; seed < 2000000; ++seed)
    {
        SRand(seed);
        if (PercentileRoll() == nRoll)
        {
            SRand(seed);
            return seed;
        }
    }
    ADD_FAILURE() << "no seed rolls " << nRoll;
    return 1;
}
}  // namespace

// ---------------------------------------------------------------------------
// The cycle

TEST(IndirectFire, ThreeVolleysTraverseComputeLoadThenFireAndLoadAlone)
{
    CFireWorld world;
    world.BeginBattle();
    std::unique_ptr<CUnit> pUnit(world.NewUnit(kMortarCarrier, 0, 1000, 1000, "Mortar 1"));
    CUCapIndirectFire& gun = Battery(*pUnit);
    const int heBefore = gun.GetRoundsOfType(MUNITION_HE, world.Db());
    // Due east of a battery facing north: three traverse shifts of 6 s.
    OrderFire(world, MUNITION_HE, 3, FIRE_AMC);
    ASSERT_TRUE(pUnit->AssignFireMissionTarget(4500, 1000, world.Db()));

    EXPECT_EQ(Update(world, *pUnit, 1), UCAP_EVENT_FIRING_DIRECTION | UCAP_EVENT_VOLLEY_LAID);
    EXPECT_NEAR(gun.m_fAzimuth, kPi / 2, 1e-3);
    EXPECT_TRUE(gun.m_bTraversing);
    EXPECT_EQ(gun.m_nTraverseLeft, 17);
    Update(world, *pUnit, 17);
    EXPECT_FALSE(gun.m_bTraversing);
    EXPECT_TRUE(gun.m_bComputing);
    Update(world, *pUnit, 30);
    EXPECT_TRUE(gun.m_bLoading);
    Update(world, *pUnit, 5);
    // The round is up: the shot shows at stage 1, and the next pass fires.
    EXPECT_TRUE(gun.m_bShot);
    EXPECT_EQ(gun.m_nShotStage, 1);
    EXPECT_EQ(world.Host().m_rounds.GetSize(), 0);
    for (int volley = 1; volley <= 2; ++volley)
    {
        EXPECT_EQ(Update(world, *pUnit, 1) & UCAP_EVENT_VOLLEY_LAID, UCAP_EVENT_VOLLEY_LAID) << volley;
        EXPECT_EQ(world.Host().m_rounds.GetSize(), volley);
        // The next volley loads only.
        EXPECT_FALSE(gun.m_bTraversing);
        EXPECT_FALSE(gun.m_bComputing);
        EXPECT_TRUE(gun.m_bLoading);
        EXPECT_EQ(gun.m_nLoadLeft, 4);
        Update(world, *pUnit, 4);
        EXPECT_EQ(gun.m_nShotStage, 1);
    }
    EXPECT_EQ(Update(world, *pUnit, 1) & UCAP_EVENT_VOLLEY_LAID, UCAP_EVENT_VOLLEY_LAID);
    EXPECT_EQ(world.Host().m_rounds.GetSize(), 3);
    EXPECT_EQ(gun.m_pMissions->GetSize(), 0);
    EXPECT_EQ(gun.GetRoundsOfType(MUNITION_HE, world.Db()), heBefore - 3);
    // The flash runs out over the passes that follow; an idle battery
    // turns back to its route.
    EXPECT_EQ(Update(world, *pUnit, 1), UCAP_EVENT_REAIM);
    Update(world, *pUnit, 1);
    EXPECT_FALSE(gun.m_bShot);
}

TEST(IndirectFire, ASuppressedBatteryFreezesAndAReportedVolleyAnswersAlone)
{
    CFireWorld world;
    world.BeginBattle();
    std::unique_ptr<CUnit> pUnit(world.NewUnit(kMortarCarrier, 0, 1000, 1000));
    CUCapIndirectFire& gun = Battery(*pUnit);
    gun.m_bComputing = TRUE;
    gun.m_nComputeLeft = 12;
    gun.m_bShot = TRUE;
    gun.m_nShotStage = 2;
    pUnit->m_nSuppression = 1;
    EXPECT_EQ(Update(world, *pUnit, 5), 0u);
    EXPECT_EQ(gun.m_nComputeLeft, 12);
    EXPECT_EQ(gun.m_nShotStage, 2);

    // The third round of a reported volley of 3: exactly 0x20, the empty
    // queue's re-aim dropped.
    pUnit->m_nSuppression = 0;
    gun.ClearCycle();
    gun.m_bShot = FALSE;
    gun.m_bLoading = TRUE;
    gun.m_nLoadLeft = 1;
    gun.m_bVolleyReport = TRUE;
    gun.m_nVolleySize = 3;
    gun.m_nVolleyCount = 2;
    EXPECT_EQ(Update(world, *pUnit, 1), UCAP_EVENT_VOLLEY_DONE);
    EXPECT_EQ(gun.m_nVolleyCount, 0);
    // Without the report flag the flags stand.
    gun.m_bVolleyReport = FALSE;
    gun.m_bLoading = TRUE;
    gun.m_nLoadLeft = 1;
    gun.m_nVolleyCount = 2;
    EXPECT_EQ(Update(world, *pUnit, 1), UCAP_EVENT_REAIM);
}

TEST(IndirectFire, CancellingTheCurrentMissionWhileLoadingUnloadsOutsideDeploymentOnly)
{
    for (const bool bDeployment : {false, true})
    {
        CFireWorld world;
        if (!bDeployment)
            world.BeginBattle();
        std::unique_ptr<CUnit> pUnit(world.NewUnit(kMortarCarrier, 0, 1000, 1000));
        CUCapIndirectFire& gun = Battery(*pUnit);
        OrderFire(world, MUNITION_HE, 1, FIRE_WHEN_READY);
        ASSERT_TRUE(pUnit->AssignFireMissionTarget(1000, 3000, world.Db()));
        ASSERT_TRUE(pUnit->AssignFireMissionTarget(1000, 3500, world.Db()));
        gun.m_bLoading = TRUE;
        gun.m_nLoadLeft = 3;
        // A mission behind the current one goes without touching the cycle.
        EXPECT_TRUE(pUnit->CancelFireMission(1000, 3500, nullptr, world.Db()));
        EXPECT_TRUE(gun.m_bLoading);
        EXPECT_FALSE(pUnit->CancelFireMission(2000, 2000, nullptr, world.Db()));
        EXPECT_TRUE(pUnit->CancelFireMission(1000, 3000, nullptr, world.Db()));
        EXPECT_FALSE(gun.m_bLoading) << bDeployment;
        EXPECT_EQ(gun.m_bUnloading, !bDeployment);
        EXPECT_EQ(gun.m_nLoadLeft, bDeployment ? 0 : 10);
        EXPECT_FALSE(gun.IsIdle() && !bDeployment);
    }
}

TEST(IndirectFire, TheStatusTextCountsPendingMissionsAndTheRowsCutLongNames)
{
    CFireWorld world;
    world.BeginBattle();
    std::unique_ptr<CUnit> pUnit(world.NewUnit(kMortarCarrier, 0, 1000, 1000, "Mortar 1"));
    CUCapIndirectFire& gun = Battery(*pUnit);
    CString text;
    gun.GetStatusText(text, pUnit.get(), world.Db());
    EXPECT_STREQ(text.GetString(), "- Unit has no fire missions pending");

    OrderFire(world, MUNITION_HE, 2, FIRE_WHEN_READY, "ABCDEFGHIJKLMNOPQRSTU");
    for (float y : {2000.0f, 2500.0f, 3000.0f})
        ASSERT_TRUE(pUnit->AssignFireMissionTarget(1000, y, world.Db()));
    gun.m_bComputing = TRUE;
    gun.GetStatusText(text, pUnit.get(), world.Db());
    EXPECT_STREQ(text.GetString(), "- Unit is computing data to fire next mission\r\n"
                                   "- Unit is processing a fire mission\r\n"
                                   "- Unit has 2 pending fire missions queued");
    pUnit->CancelFireMission(1000, 3000, nullptr, world.Db());
    gun.GetStatusText(text, pUnit.get(), world.Db());
    EXPECT_STREQ(text.GetString(), "- Unit is computing data to fire next mission\r\n"
                                   "- Unit is processing a fire mission\r\n"
                                   "- Unit has  1 pending fire mission queued");
    pUnit->m_bStopped = FALSE;
    gun.GetStatusText(text, pUnit.get(), world.Db());
    EXPECT_STREQ(text.GetString(), "- Unit unable to fire missions due to current unit status\r\n"
                                   "- Unit has 2 pending fire missions queued");

    CStringList rows;
    pUnit->GetFireMissionRows(rows, 0, nullptr);
    ASSERT_EQ(rows.GetCount(), 2);
    EXPECT_STREQ(rows.GetHead().GetString(), "ABCDEFGHIJKLMNOPQ...\t\t 2 HE      \tWhen Ready");
    // The computer's missions have no name: the unit's shows.
    gun.m_pMissions->GetAt(1)->m_strLabel.Empty();
    gun.m_pMissions->GetAt(1)->m_nMethod = FIRE_IMMEDIATE;
    rows.RemoveAll();
    pUnit->GetFireMissionRows(rows, 0, nullptr);
    EXPECT_STREQ(rows.GetTail().GetString(), "Mortar 1            \t\t 2 HE      \tImmediate");
}

TEST(IndirectFire, AMovingBatteryRefusesAndOneDiggingInFiresOnceDugIn)
{
    CFireWorld world;
    world.BeginBattle();
    OrderFire(world, MUNITION_HE, 1, FIRE_WHEN_READY);
    std::unique_ptr<CUnit> pMoving(world.NewUnit(kMortarCarrier, 0, 1000, 1000));
    pMoving->m_pPath->GetAt(0)->RemoveOrdersOfType(NORD_STOP);
    pMoving->m_bStopped = FALSE;
    auto* pEmplace = dynamic_cast<CUCapEmplace*>(pMoving->FindCapability(VCAP_EMPLACE));
    pEmplace->m_bEmplaced = FALSE;
    EXPECT_FALSE(pMoving->AssignFireMissionTarget(1000, 3000, world.Db()));
    // Beyond the munition's range, or without rounds of it: refused too.
    std::unique_ptr<CUnit> pBattery(world.NewUnit(kMortarCarrier, 0, 1000, 1000));
    EXPECT_FALSE(pBattery->AssignFireMissionTarget(1000, 9000, world.Db()));
    OrderFire(world, MUNITION_NUCLEAR, 1, FIRE_WHEN_READY);
    EXPECT_FALSE(pBattery->AssignFireMissionTarget(1000, 3000, world.Db()));

    OrderFire(world, MUNITION_HE, 1, FIRE_WHEN_READY);
    std::unique_ptr<CUnit> pDigging(world.NewUnit(kMortarCarrier, 0, 1000, 1000));
    auto* pDig = dynamic_cast<CUCapEmplace*>(pDigging->FindCapability(VCAP_EMPLACE));
    pDig->m_bEmplaced = FALSE;
    pDig->m_bEmplacing = TRUE;
    pDig->m_nEmplaceLeft = 30;
    ASSERT_TRUE(pDigging->AssignFireMissionTarget(1000, 3000, world.Db()));
    EXPECT_EQ(Update(world, *pDigging, 1), UCAP_EVENT_REAIM);  // waiting, not ready
    EXPECT_TRUE(Battery(*pDigging).IsIdle());
    EXPECT_EQ(Battery(*pDigging).m_pMissions->GetSize(), 1);
    pDig->SetEmplaced(TRUE);
    EXPECT_EQ(Update(world, *pDigging, 1), UCAP_EVENT_FIRING_DIRECTION | UCAP_EVENT_VOLLEY_LAID);
    EXPECT_TRUE(Battery(*pDigging).m_bComputing);
}

// ---------------------------------------------------------------------------
// The computer's targets

TEST(IndirectFire, TheComputersBatteryTakesCloseStillValuableTargetsInReach)
{
    CFireWorld world;
    world.BeginBattle();
    CUnitArray* pOwn = world.AddArray(0);
    CUnitArray* pEnemy = world.AddArray(1);
    pEnemy->Add(world.NewUnit(kMortarCarrier, 1, 1000, 1000));
    CUnit& mortar = *pEnemy->GetAt(0);
    pOwn->Add(world.NewUnit(kTank, 0, 1000, 1290));   // 290 m
    pOwn->Add(world.NewUnit(kTank, 0, 1000, 1300));   // 300 m
    pOwn->Add(world.NewUnit(kTank, 0, 1000, 3000));   // moving
    pOwn->GetAt(2)->m_bStopped = FALSE;
    pOwn->GetAt(2)->m_nMoveDelay = 0;
    pOwn->Add(world.NewUnit(kTank, 0, 1000, 9500));   // beyond every munition
    CUnitRefArray& seen = *world.Units().m_pContacts[2];

    struct Case
    {
        const char* what;
        int nUnit, nRange, nValue, nAnswer;
        bool bQueued;
    } cases[] = {
        {"worth less than 55", 1, 30, 54, 0, false},
        {"290 m", 0, 29, 90, 1, false},
        {"300 m", 1, 30, 90, 0, true},
        {"moving", 2, 200, 90, 1, false},
        {"out of reach", 3, 850, 90, 1, false},
    };
    for (const Case& c : cases)
    {
        Battery(mortar).Reset(0, 0, 0);
        world.Vehicle(kTank)->m_nTargetValue = c.nValue;
        const CUnitRef ref = ContactOf(c.nUnit, 0, 0, c.nRange, c.nValue);
        EXPECT_EQ(mortar.PickIndirectFireTarget(ref, pOwn->GetAt(c.nUnit), world.Db(), &world.Units(), 1), c.nAnswer)
            << c.what;
        EXPECT_EQ(Battery(mortar).m_pMissions->GetSize(), c.bQueued ? 1 : 0) << c.what;
    }
    world.Vehicle(kTank)->m_nTargetValue = 90;

    // The pass: best first, the first worth less than 55 ends the list.
    Battery(mortar).Reset(0, 0, 0);
    seen.InsertSorted(ContactOf(0, 0, 0, 29));
    seen.InsertSorted(ContactOf(1, 0, 0, 30));
    world.Units().ProcessIndirectFire(world.Db());
    ASSERT_EQ(Battery(mortar).m_pMissions->GetSize(), 1);
    EXPECT_EQ(Battery(mortar).m_pMissions->GetAt(0)->m_fY, 1300.0f);
    EXPECT_EQ(Battery(mortar).m_pMissions->GetAt(0)->m_nMunitionType, MUNITION_HE);
}

TEST(IndirectFire, ABatteryOutOfHEFiresItsGuidedRounds)
{
    // With "rounds not negative" an empty HE entry would win every time.
    CFireWorld world;
    std::unique_ptr<CUnit> pMortar(world.NewUnit(kMortarCarrier, 1, 1000, 1000));
    CUCapIndirectFire& gun = Battery(*pMortar);
    for (CAmmoEntry& entry : gun.m_ammo)
        entry.m_nNumber = entry.m_nIndex == kMortarHE ? 0 : entry.m_nIndex == kMortarPGM ? 5 : 0;
    ASSERT_TRUE(gun.AddAIFireMission(1000, 1000, 1000, 3000, world.Vehicle(kTank), world.Db()));
    EXPECT_EQ(gun.m_pMissions->GetAt(0)->m_nMunitionType, MUNITION_PGM);
    EXPECT_EQ(gun.m_pMissions->GetAt(0)->m_nVolleys, 1);
    // Only with an empty queue.
    EXPECT_FALSE(gun.AddAIFireMission(1000, 1000, 1000, 3000, world.Vehicle(kTank), world.Db()));
}

// ---------------------------------------------------------------------------
// Bursts on units

TEST(IndirectFire, ABurstSuppressesByProtectionAndKillsByTheRoll)
{
    CFireWorld world;
    world.BeginBattle();
    CIFAmmo* pHE = world.Db()->GetIFAmmo(kMortarHE);
    CFireMission burst(1000, 1000, MUNITION_HE, kMortarHE, CTime(0), CTime(0), 0, 1, 0, 0, 0, "");
    CVehicle* pTank = world.Vehicle(kTank);

    for (const auto& [protection, gained] : {std::pair{150, 0}, std::pair{200, 0}, std::pair{100, 50}})
    {
        pTank->m_nProtectionValue = protection;
        pTank->m_nHEValue = 0;
        std::unique_ptr<CUnit> pUnit(world.NewUnit(kTank, 0, 1010, 1000));
        EXPECT_TRUE(pUnit->TakeArtilleryHit(&burst, world.Db(), &world.Units(), 0, 0, CTimeSpan(1)));
        EXPECT_EQ(pUnit->m_nSuppression, gained) << protection;
    }
    // Outside the blast radius nothing happens.
    std::unique_ptr<CUnit> pFar(world.NewUnit(kTank, 0, 1000 + pHE->m_nBlastRadius + 1.0f, 1000));
    EXPECT_FALSE(pFar->TakeArtilleryHit(&burst, world.Db(), &world.Units(), 0, 0, CTimeSpan(1)));

    // Dug in, value 40, lethality 1.0: 20 percent.
    pTank->m_nHEValue = 40;
    pHE->m_fLethality = 1.0f;
    for (const auto& [roll, killed] : {std::pair{20, true}, std::pair{21, false}})
    {
        CUnitArray* pOwn = world.AddArray(0);
        pOwn->Add(world.NewUnit(kTank, 0, 1000, 1000, "Tank 1"));
        CUnit* pUnit = pOwn->GetAt(0);
        pUnit->m_bDugIn = TRUE;
        SeedForRoll(roll);
        EXPECT_TRUE(pUnit->TakeArtilleryHit(&burst, world.Db(), &world.Units(), 0, 0, CTimeSpan(1)));
        EXPECT_EQ(pUnit->m_bDestroyed, killed) << roll;
    }
}

TEST(IndirectFire, ALandedTroopHelicopterCanDieAndAFlyingOneCannot)
{
    CFireWorld world;
    world.BeginBattle();
    CVehicle* pHelicopter = world.Vehicle(kScoutHelicopter);
    pHelicopter->GetCapabilities()->Add(new CVCapPersonnelCarrier);
    pHelicopter->m_nHEValue = 100;
    world.Db()->GetIFAmmo(kMortarHE)->m_fLethality = 1.0f;
    CFireMission burst(1000, 1000, MUNITION_HE, kMortarHE, CTime(0), CTime(0), 0, 1, 0, 0, 0, "");
    CUnitArray* pOwn = world.AddArray(0);
    pOwn->Add(world.NewUnit(kScoutHelicopter, 0, 1000, 1000));
    pOwn->Add(world.NewUnit(kScoutHelicopter, 0, 1000, 1000));
    pOwn->GetAt(1)->m_bStopped = FALSE;
    EXPECT_TRUE(pOwn->GetAt(0)->TakeArtilleryHit(&burst, world.Db(), &world.Units(), 0, 0, CTimeSpan(1)));
    EXPECT_TRUE(pOwn->GetAt(0)->m_bDestroyed);
    EXPECT_FALSE(pOwn->GetAt(1)->TakeArtilleryHit(&burst, world.Db(), &world.Units(), 1, 0, CTimeSpan(1)));
    EXPECT_FALSE(pOwn->GetAt(1)->m_bDestroyed);
}

TEST(IndirectFire, AShelledEnemyLeavesItsPositionOnlyWithMoreThanTenMinutesToWait)
{
    CFireWorld world;
    world.BeginBattle();
    world.Vehicle(kEnemyTank)->m_nHEValue = 0;
    CFireMission burst(1000, 1000, MUNITION_HE, kMortarHE, CTime(0), CTime(0), 0, 0, 0, 0, 0, "");
    for (const auto& [minutes, moves] : {std::pair{10, false}, std::pair{11, true}})
    {
        // Waiting at its stop for the start time, a route ahead of it.
        std::unique_ptr<CUnit> pUnit(world.NewUnit(kEnemyTank, 1, 1000, 1000));
        pUnit->m_pPath->GetAt(0)->SetStartTimeValue(CTimeSpan(100 + 60 * minutes));
        pUnit->m_pPath->AddNode(1000, 1800);
        pUnit->m_bDefilade = TRUE;
        EXPECT_TRUE(pUnit->TakeArtilleryHit(&burst, world.Db(), &world.Units(), 0, 0, CTimeSpan(100)));
        EXPECT_EQ(pUnit->m_bDefilade, !moves) << minutes;
        // Either way it waits at the same spot for the same time, halted.
        ASSERT_EQ(pUnit->m_pPath->GetSize(), 2);
        const CNode* pNode = pUnit->m_pPath->GetAt(0);
        EXPECT_EQ(pNode->m_fY, 1000.0f);
        EXPECT_TRUE(pNode->HasStop());
        const auto* pStart = dynamic_cast<const CNOrdStartTime*>(pNode->m_pOrders->FindOfType(NORD_START_TIME));
        ASSERT_NE(pStart, nullptr);
        EXPECT_EQ(pStart->m_tsStart.GetTotalSeconds(), 100 + 60 * minutes);
    }
}

// ---------------------------------------------------------------------------
// Guided rounds

class GuidedRounds : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_world.BeginBattle();
        m_pOwn = m_world.AddArray(0);
        m_pEnemy = m_world.AddArray(1);
        m_world.AddArray(2);
        // The observer 1,000 m south of an enemy tank.
        m_pOwn->Add(m_world.NewUnit(kObserverVehicle, 0, 2000, 1000, "Observer 19"));
        m_pEnemy->Add(m_world.NewUnit(kEnemyTank, 1, 2000, 2000, "T1"));
        m_world.Units().m_pContacts[0]->InsertSorted(ContactOf(0, 0, 1, 100));
        m_pObserver = m_pOwn->GetAt(0);
        m_pObserver->m_pContacts->InsertSorted(ContactOf(0, 0, 1, 100));
        CVCapObserver* pLaser = Laser();
        pLaser->m_nRange = 1200;
        pLaser->m_nMovingRange = 800;
        m_world.Vehicle(kEnemyTank)->m_nPGMValue = 80;
    }

    CVCapObserver* Laser()
    {
        return dynamic_cast<CVCapObserver*>(m_world.Vehicle(kObserverVehicle)->FindCapability(VCAP_OBSERVER));
    }
    CUnit* Target() { return m_pEnemy->GetAt(0); }
    // A round of the side aimed 100 m west of the target.
    std::unique_ptr<CFireMission> Round(int nMunition, int nSide)
    {
        const int nType = m_world.Db()->GetIFAmmo(nMunition)->m_nMunitionType;
        return std::make_unique<CFireMission>(1900, 2000, nType, nMunition, CTime(0), CTime(0), 0, nSide, 0, 0, 0,
                                              "");
    }
    void Apply(CFireMission& round)
    {
        m_world.Units().ApplyFireMissionToUnits(&round, m_world.Db(), 0, 0, 0, CTimeSpan(1));
        m_world.Host().ShowPendingSpotReport();
    }

    CFireWorld m_world;
    CUnitArray* m_pOwn = nullptr;
    CUnitArray* m_pEnemy = nullptr;
    CUnit* m_pObserver = nullptr;
};

TEST_F(GuidedRounds, AMovingTargetIsDesignatedAndAHaltedOneOnlyWithinTheMovingRange)
{
    // Halted, 1,000 m: beyond the moving range of 800.
    std::unique_ptr<CFireMission> pRound = Round(kMortarPGM, 0);
    Apply(*pRound);
    EXPECT_EQ(pRound->m_fX, 1900.0f);
    EXPECT_EQ(Target()->m_nSuppression, 0);
    // The player's own round is no enemy impact.
    EXPECT_TRUE(m_world.Reports().empty());
    // Its laser lies on what it holds.
    auto* pLaser = dynamic_cast<CUCapObserver*>(m_pObserver->FindCapability(VCAP_OBSERVER));
    EXPECT_EQ(pLaser->m_nTargetUnit, 0);
    EXPECT_EQ(pLaser->m_nTargetKind, 1);
    EXPECT_TRUE(pLaser->m_bObserving);

    // Moving: within the range of 1,200.
    Target()->m_bStopped = FALSE;
    Target()->m_nMoveDelay = 0;
    Apply(*pRound);
    EXPECT_EQ(pRound->m_fX, 2000.0f);
    EXPECT_EQ(pRound->m_fY, 2000.0f);
    EXPECT_GT(Target()->m_nSuppression, 0);
}

TEST_F(GuidedRounds, NoGuidanceNoValueOrNoObserverLeavesTheImpactWhereItWasAimed)
{
    Target()->m_bStopped = FALSE;
    // An HE round has no guidance: nothing moves, nothing is reported.
    std::unique_ptr<CFireMission> pHE = Round(kMortarHE, 1);
    Apply(*pHE);
    EXPECT_EQ(pHE->m_fX, 1900.0f);
    EXPECT_TRUE(m_world.Reports().empty());

    // A target type of PGM value 0 is never designated.
    m_world.Vehicle(kEnemyTank)->m_nPGMValue = 0;
    std::unique_ptr<CFireMission> pGuided = Round(kMortarPGM, 0);
    Apply(*pGuided);
    EXPECT_EQ(pGuided->m_fX, 1900.0f);

    // An enemy round whose side's observers hold nothing: reported where
    // it was aimed. Side 1 searches lists 2 and 3.
    m_world.Vehicle(kEnemyTank)->m_nPGMValue = 80;
    m_world.Vehicle(kTank)->m_nPGMValue = 80;
    m_pOwn->Add(m_world.NewUnit(kTank, 0, 1950, 2000, "Tank 1"));
    m_pEnemy->Add(m_world.NewUnit(kObserverVehicle, 1, 1950, 1500, "Enemy observer"));
    m_world.Units().m_pContacts[3]->InsertSorted(ContactOf(1, 0, 0, 10));
    std::unique_ptr<CFireMission> pEnemyRound = Round(kMortarPGM, 1);
    Apply(*pEnemyRound);
    EXPECT_EQ(pEnemyRound->m_fX, 1900.0f);
    EXPECT_EQ(m_world.Reports(), std::vector<std::string>({"Enemy artillery impact detected."}));
    // Once the enemy observer holds the tank, the round strikes it.
    m_pEnemy->GetAt(1)->m_pContacts->InsertSorted(ContactOf(1, 0, 0, 50));
    Apply(*pEnemyRound);
    EXPECT_EQ(pEnemyRound->m_fX, 1950.0f);
}

// ---------------------------------------------------------------------------
// Carriers and observers

TEST(IndirectFire, CarriersOfferAndGiveOnlyWhatTheyHoldOfTheirOwnKind)
{
    CFireWorld world;
    world.BeginBattle();
    std::unique_ptr<CUnit> pCarrier(world.NewUnit(kAmmunitionCarrier, 0, 1000, 1000));
    auto* pIF = dynamic_cast<CUCapIFAmmoCarrier*>(pCarrier->FindCapability(VCAP_IF_AMMO_CARRIER));
    auto* pDF = dynamic_cast<CUCapDFAmmoCarrier*>(pCarrier->FindCapability(VCAP_DF_AMMO_CARRIER));
    ASSERT_NE(pIF, nullptr);
    ASSERT_NE(pDF, nullptr);
    EXPECT_TRUE(pIF->HasAmmunition());
    CAmmoEntryList empty = pIF->m_load;
    for (CAmmoEntry& entry : empty)
        entry.m_nNumber = 0;
    CUCapIFAmmoCarrier spent;
    spent.m_load = empty;
    EXPECT_FALSE(spent.HasAmmunition());

    // A DF carrier takes nothing from an IF carrier; an IF carrier tops up
    // another to its full load.
    CUCapDFAmmoCarrier dfSpent;
    dfSpent.m_load = pDF->m_load;
    dfSpent.m_load[0].m_nNumber = 0;
    EXPECT_FALSE(dfSpent.ReceiveAmmunition(pIF, world.Vehicle(kAmmunitionCarrier), world.Db()));
    const int heHeld = pIF->m_load[0].m_nNumber;
    spent.m_load[0].m_nNumber = heHeld - 7;
    pIF->m_load[0].m_nNumber = 5;
    EXPECT_TRUE(spent.ReceiveAmmunition(pIF, world.Vehicle(kAmmunitionCarrier), world.Db()));
    EXPECT_EQ(spent.m_load[0].m_nNumber, heHeld - 2);
    EXPECT_EQ(pIF->m_load[0].m_nNumber, 0);

    // A load whose length differs from the vehicle's takes nothing until
    // it is validated.
    pIF->m_load[0].m_nNumber = 50;
    spent.m_load.pop_back();
    EXPECT_FALSE(spent.ReceiveAmmunition(pIF, world.Vehicle(kAmmunitionCarrier), world.Db()));
    CString report;
    auto* pFull = world.Vehicle(kAmmunitionCarrier)->FindCapability(VCAP_IF_AMMO_CARRIER);
    spent.Validate(world.Vehicle(kAmmunitionCarrier), pFull, world.Db(), report);
    EXPECT_EQ(spent.m_load.size(), pIF->m_load.size());
}

TEST(IndirectFire, AGameReopenedMidBattleKeepsTheLoadsSpent)
{
    CFireWorld world;
    std::unique_ptr<CUnit> pCarrier(world.NewUnit(kAmmunitionCarrier, 0, 1000, 1000));
    std::unique_ptr<CUnit> pMortar(world.NewUnit(kMortarCarrier, 0, 1000, 1000));
    auto* pIF = dynamic_cast<CUCapIFAmmoCarrier*>(pCarrier->FindCapability(VCAP_IF_AMMO_CARRIER));
    pIF->m_load[0].m_nNumber = 3;
    Battery(*pMortar).m_ammo[0].m_nNumber = 1;
    CString report;
    world.BeginBattle();
    for (CUnit* pUnit : {pCarrier.get(), pMortar.get()})
    {
        CVehicle* pVehicle = world.Vehicle(pUnit->m_nVehicle);
        EXPECT_FALSE(pUnit->m_pCapabilities->CheckAlignment(pVehicle, pVehicle->GetCapabilities(), world.Db(), report));
    }
    EXPECT_EQ(pIF->m_load[0].m_nNumber, 3);
    EXPECT_EQ(Battery(*pMortar).m_ammo[0].m_nNumber, 1);
    // In the deployment phase every load is full again.
    world.Host().GetGameClock()->m_tsElapsed = CTimeSpan(0);
    pCarrier->m_pCapabilities->CheckAlignment(world.Vehicle(kAmmunitionCarrier),
                                              world.Vehicle(kAmmunitionCarrier)->GetCapabilities(), world.Db(), report);
    EXPECT_GT(pIF->m_load[0].m_nNumber, 3);
}

TEST(IndirectFire, UploadAtAPointTopsUpTheBatteryStandingThereWithinReach)
{
    CFireWorld world;
    world.BeginBattle();
    CUnitArray* pOwn = world.AddArray(0);
    pOwn->Add(world.NewUnit(kAmmunitionCarrier, 0, 1000, 1000, "Carrier"));
    pOwn->Add(world.NewUnit(kMortarCarrier, 0, 1040, 1030, "Mortar 1"));  // 50 m
    pOwn->Add(world.NewUnit(kMortarCarrier, 0, 1100, 1000, "Mortar 2"));  // 100 m
    for (int i : {1, 2})
        Battery(*pOwn->GetAt(i)).m_ammo[0].m_nNumber = 0;
    CTaskOrgArray carrier;
    carrier.m_nSide = 0;
    carrier.Add(new CTaskOrg(0, 0));
    ASSERT_TRUE(pOwn->GetAt(0)->CanUpload());
    EXPECT_EQ(world.Units().UploadAtPoint(&carrier, 1100, 1000, nullptr, world.Db()), 0);
    EXPECT_EQ(world.Units().UploadAtPoint(&carrier, 1040, 1030, nullptr, world.Db()), 1);
    const int full =
        dynamic_cast<CVCapIndirectFire*>(world.Vehicle(kMortarCarrier)->FindCapability(VCAP_INDIRECT_FIRE))
            ->m_ammo[0]
            .m_nNumber;
    EXPECT_EQ(Battery(*pOwn->GetAt(1)).m_ammo[0].m_nNumber, full);
    EXPECT_EQ(Battery(*pOwn->GetAt(2)).m_ammo[0].m_nNumber, 0);
}

TEST(IndirectFire, TheObserverDropsADeletedTargetAndFollowsALowerDeletion)
{
    CUCapObserver laser;
    laser.Observe(4, 1, 1);
    laser.OnUnitDeleted(0, 1, 0, 2);  // another array
    EXPECT_EQ(laser.m_nTargetUnit, 4);
    laser.OnUnitDeleted(0, 1, 1, 2);
    EXPECT_EQ(laser.m_nTargetUnit, 3);
    laser.OnUnitDeleted(0, 1, 1, 5);
    EXPECT_EQ(laser.m_nTargetUnit, 3);
    laser.OnUnitDeleted(0, 1, 1, 3);
    EXPECT_EQ(laser.m_nTargetUnit, -99);
    EXPECT_EQ(laser.m_nTargetKind, -99);
    EXPECT_FALSE(laser.m_bObserving);
    laser.Observe(4, 1, 1);
    laser.OnUnitDeleted(0, 1, 1, -99);  // the whole array
    EXPECT_EQ(laser.m_nTargetUnit, -99);
    laser.Observe(4, 1, 1);
    laser.OnSideChanged(1);
    EXPECT_EQ(laser.m_nTargetUnit, -99);
}

// ---------------------------------------------------------------------------
// Drawings

TEST(IndirectFire, TheFanMiddleFoldsOnlyAboveACircleAndRangesDrawInMetres)
{
    EXPECT_EQ(CUnit::GetFanMiddle(6000, 1000), 300);
    EXPECT_EQ(CUnit::GetFanMiddle(6000, 400), 6400);
    EXPECT_EQ(CUnit::GetFanMiddle(1000, 2000), 1500);

    CFireWorld world;
    std::unique_ptr<CUnit> pUnit(world.NewUnit(kTank, 0, 1000, 1000));
    pUnit->m_bMaxRange = TRUE;
    pUnit->m_nMaxRange = 100;
    EXPECT_FLOAT_EQ(pUnit->GetFanRadius(world.Db()), 1000.0f);
    pUnit->m_bMaxRange = FALSE;
    EXPECT_FLOAT_EQ(pUnit->GetFanRadius(world.Db()), 2.0f * world.Vehicle(kTank)->m_nViewRange * 10.0f);
}
