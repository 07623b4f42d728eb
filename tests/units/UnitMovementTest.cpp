// A unit's move step on its own clock under the hand-driven counter: the
// step's length, arrival at a node, halting at stops and on ground that
// stops it, the once-a-second countdowns, and steps that find no game time.
#include "UnitMoveTestSupport.h"

#include "battlefield/KDRObstacles.h"
#include "battlefield/Obstacle.h"
#include "battlefield/ObstacleArray.h"
#include "platform/core/Random.h"
#include "units/UCapKinds.h"
#include "units/KDRUnits.h"
#include "units/UnitArray.h"
#include "units/UnitCapability.h"
#include "units/UnitWeapon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace movetest;

namespace
{
constexpr float kStartX = 1000.0f;
constexpr float kStartY = 500.0f;
constexpr float kFarNorth = 1500.0f;  // a node far ahead, due north
}  // namespace

TEST(UnitMoveStep, StepIsFactorTimesSpeedTimesATenthOfTheGameTime)
{
    struct Case
    {
        const char* what;
        float fRate;
        DWORD dwMs;
        BOOL bSprint;
        float fMarchSpeed;  // < 0: none
        float fMoved;
        float fSpeed;
    } cases[] = {
        {"one second at speed 40", 1.0f, 1000, FALSE, -1.0f, 4.0f, 40.0f},
        {"a quarter second", 1.0f, 250, FALSE, -1.0f, 1.0f, 40.0f},
        {"one real second at compression 4", 4.0f, 1000, FALSE, -1.0f, 16.0f, 40.0f},
        {"sprinting at 60", 1.0f, 1000, TRUE, -1.0f, 6.0f, 60.0f},
        {"march speed 20 wins over sprint", 1.0f, 1000, TRUE, 20.0f, 2.0f, 20.0f},
    };
    for (const Case& c : cases)
    {
        CMoveWorld w;
        auto pUnit = w.MakeUnit(kTank, kStartX, kStartY);
        const DWORD dwTick = w.StartClock(c.fRate);
        w.GiveRoute(*pUnit, {{kStartX, kFarNorth}}, dwTick);
        pUnit->m_bSprint = c.bSprint;
        if (c.fMarchSpeed >= 0.0f)
        {
            ASSERT_TRUE(pUnit->SetMarchSpeed(c.fMarchSpeed, w.Db())) << c.what;
        }

        w.Step(*pUnit, c.dwMs);
        EXPECT_NEAR(pUnit->m_fY - kStartY, c.fMoved, 1e-3) << c.what;
        EXPECT_FLOAT_EQ(pUnit->m_fX, kStartX) << c.what;
        EXPECT_NEAR(pUnit->m_fSpeed, c.fSpeed, 1e-3) << c.what;
        EXPECT_FLOAT_EQ(pUnit->m_fPrevY, kStartY) << c.what;
        // Node 0 goes with the unit.
        EXPECT_FLOAT_EQ(pUnit->m_pPath->GetAt(0)->m_fY, pUnit->m_fY) << c.what;
        EXPECT_EQ(pUnit->m_pPath->GetSize(), 2) << c.what;
    }
}

TEST(UnitMoveStep, AStepPastTheNextNodeLandsOnItAndAStopNodeHaltsTheUnit)
{
    CMoveWorld w;
    auto pUnit = w.MakeUnit(kTank, kStartX, kStartY);
    const DWORD dwTick = w.StartClock();
    // Node 1 lies 3 m north, node 2 (the stop) 10 m east of it.
    w.GiveRoute(*pUnit, {{kStartX, kStartY + 3.0f}, {kStartX + 10.0f, kStartY + 3.0f}}, dwTick);
    DWORD dwEvents = 0xFFFF;
    BOOL bArrived = FALSE;

    w.Step(*pUnit, 1000, &dwEvents, TRUE, &bArrived);
    EXPECT_FLOAT_EQ(pUnit->m_fX, kStartX);
    EXPECT_FLOAT_EQ(pUnit->m_fY, kStartY + 3.0f);
    EXPECT_NEAR(pUnit->m_fSpeed, 30.0f, 1e-3);  // 3 m in one second, not the 4 it could have gone
    EXPECT_EQ(pUnit->m_pPath->GetSize(), 2);
    EXPECT_NEAR(pUnit->m_fHeading, std::atan2(1.0, 0.0), 1e-6);  // now east along the next leg
    EXPECT_EQ(dwEvents, 0u);
    EXPECT_TRUE(bArrived);
    EXPECT_FALSE(pUnit->m_bStopped);

    // Two and a half seconds reach the stop node 10 m on.
    w.Step(*pUnit, 2500, &dwEvents);
    EXPECT_FLOAT_EQ(pUnit->m_fX, kStartX + 10.0f);
    EXPECT_EQ(dwEvents, UNIT_EVENT_STOP_NODE);
    EXPECT_EQ(pUnit->m_pPath->GetSize(), 1);
    EXPECT_TRUE(pUnit->m_bStopped);
    EXPECT_TRUE(pUnit->HasOrder(UNIT_ORDER_STOP));

    // Halted, it stays.
    w.Step(*pUnit, 1000, &dwEvents);
    EXPECT_FLOAT_EQ(pUnit->m_fX, kStartX + 10.0f);
    EXPECT_EQ(dwEvents, 0u);
}

TEST(UnitMoveStep, GroundAheadSetsTheFactorAndATeamGetsThroughWhereVehiclesStop)
{
    struct Case
    {
        const char* what;
        VehicleType type;
        float fGround;
        float fMoved;
        BOOL bHalted;
    } cases[] = {
        {"vehicle in the open", kTank, 1.0f, 4.0f, FALSE},
        {"vehicle in woods", kTank, 0.4f, 1.6f, FALSE},
        {"vehicle on a road", kTank, 1.5f, 6.0f, FALSE},
        {"vehicle facing impassable ground", kTank, 0.0f, 0.0f, TRUE},
        {"team in the open", kTeam, 1.0f, 4.0f, FALSE},
        {"team in woods goes twice as well", kTeam, 0.4f, 3.2f, FALSE},
        {"team through ground that stops vehicles", kTeam, 0.0f, 1.2f, FALSE},
        {"team on a road", kTeam, 1.5f, 6.0f, FALSE},
    };
    for (const Case& c : cases)
    {
        CMoveWorld w;
        // The ground begins 5 m north of the unit: the probe 10 m ahead is on it.
        w.AddGround(c.fGround, 950, 505, 1050, 600);
        auto pUnit = w.MakeUnit(c.type, kStartX, kStartY);
        const DWORD dwTick = w.StartClock();
        w.GiveRoute(*pUnit, {{kStartX, kFarNorth}}, dwTick);
        DWORD dwEvents = 0;
        w.Step(*pUnit, 1000, &dwEvents);
        EXPECT_NEAR(pUnit->m_fY - kStartY, c.fMoved, 1e-4) << c.what;
        EXPECT_EQ(pUnit->m_bStopped, c.bHalted) << c.what;
        EXPECT_EQ(pUnit->HasOrder(UNIT_ORDER_STOP), c.bHalted) << c.what;
        EXPECT_EQ(dwEvents, 0u) << c.what;
    }
}

TEST(UnitMoveStep, ASlopeTooSteepHaltsTheUnitAsBlocked)
{
    CMoveWorld w;
    // A cliff rises across the way 10 m north.
    for (int c = 0; c < w.Elevation()->GetColumns(); ++c)
        for (int r = 51; r < w.Elevation()->GetRows(); ++r)
            w.Elevation()->SetElevation(c, r, kGround + 400);
    auto pUnit = w.MakeUnit(kTank, kStartX, kStartY);
    const DWORD dwTick = w.StartClock();
    w.GiveRoute(*pUnit, {{kStartX, kFarNorth}}, dwTick);
    DWORD dwEvents = 0;
    w.Step(*pUnit, 1000, &dwEvents);
    EXPECT_FLOAT_EQ(pUnit->m_fY, kStartY);
    EXPECT_TRUE(pUnit->m_bStopped);
    EXPECT_EQ(dwEvents, UNIT_EVENT_BLOCKED);
}

TEST(UnitMoveStep, ReleasedUnitWaitsItsMoveDelay)
{
    CMoveWorld w;
    auto pUnit = w.MakeUnit(kTank, kStartX, kStartY);
    const DWORD dwTick = w.StartClock();
    w.GiveRoute(*pUnit, {{kStartX, kFarNorth}}, dwTick);
    pUnit->Stop(w.Db());
    ASSERT_TRUE(pUnit->m_bStopped);
    ASSERT_EQ(pUnit->m_nMoveDelay, kTimeToMove);
    pUnit->ClearStop(w.Db(), FALSE);
    EXPECT_TRUE(pUnit->m_bStopped);  // the halt is lifted, the wait is not
    EXPECT_FALSE(pUnit->HasOrder(UNIT_ORDER_STOP));

    // Two seconds a step: 5 -> 3 -> 1 -> 0, moving in the third step.
    const std::vector<int> delays = {3, 1, 0};
    for (size_t i = 0; i < delays.size(); ++i)
    {
        w.Step(*pUnit, 2000);
        EXPECT_EQ(pUnit->m_nMoveDelay, delays[i]) << "step " << i + 1;
        EXPECT_EQ(pUnit->m_bStopped, i + 1 < delays.size()) << "step " << i + 1;
        EXPECT_EQ(pUnit->m_fY > kStartY, i + 1 == delays.size()) << "step " << i + 1;
    }
    EXPECT_NEAR(pUnit->m_fY - kStartY, 8.0f, 1e-3);
}

TEST(UnitMoveStep, OnceASecondCountdowns)
{
    CMoveWorld w;
    auto pUnit = w.MakeUnit(kTank, kStartX, kStartY);  // halted at its stop node
    const DWORD dwTick = w.StartClock();
    pUnit->StartClock(dwTick, w.Db());
    pUnit->m_nSuppression = 35;
    pUnit->m_nShotLineTime = 3;
    pUnit->m_nShotUnit = 4;
    pUnit->m_bMOPP4 = TRUE;
    ASSERT_EQ(pUnit->m_nDefiladeTime, kTimeToDefilade);

    struct Expect
    {
        int nSuppression;
        int nShotLineTime;
        int nShotUnit;
        BOOL bDefilade;
    } steps[] = {
        {15, 1, 4, FALSE},      // 2 s
        {0, 0, kUnset, TRUE},   // 4 s: defilade time 3 is below 0 after 4
        {0, 0, kUnset, TRUE},   // 6 s
    };
    for (size_t i = 0; i < std::size(steps); ++i)
    {
        EXPECT_EQ(w.Step(*pUnit, 2000), 0u);
        EXPECT_EQ(pUnit->m_nSuppression, steps[i].nSuppression) << "step " << i + 1;
        EXPECT_EQ(pUnit->m_nShotLineTime, steps[i].nShotLineTime) << "step " << i + 1;
        EXPECT_EQ(pUnit->m_nShotUnit, steps[i].nShotUnit) << "step " << i + 1;
        EXPECT_EQ(pUnit->m_bDefilade, steps[i].bDefilade) << "step " << i + 1;
    }
    // Six seconds in protection at chemical value 50.
    EXPECT_NEAR(pUnit->m_fMOPPDegradation, 6 * 50 * 0.00055555 * 0.01, 1e-7);
}

TEST(UnitMoveStep, ProtectionDegradesWithTheChemicalValueUpToOne)
{
    CMoveWorld w;
    auto pUnit = w.MakeUnit(kTank, kStartX, kStartY);
    const DWORD dwTick = w.StartClock();
    pUnit->StartClock(dwTick, w.Db());
    pUnit->m_bMOPP4 = TRUE;
    w.Step(*pUnit, 100000);
    EXPECT_NEAR(pUnit->m_fMOPPDegradation, 0.0277775, 1e-6);
    // A very long time in protection ends at 1.
    w.Step(*pUnit, 4000000);
    EXPECT_FLOAT_EQ(pUnit->m_fMOPPDegradation, 1.0f);
    // Out of protection there is none.
    pUnit->m_bMOPP4 = FALSE;
    w.Step(*pUnit, 1000);
    EXPECT_FLOAT_EQ(pUnit->m_fMOPPDegradation, 0.0f);
}

TEST(UnitMoveStep, AStepWithoutGameTimeMovesNothingButServesAMessage)
{
    CMoveWorld w;
    auto pUnit = w.MakeUnit(kTank, kStartX, kStartY);
    const DWORD dwTick = w.StartClock();
    w.GiveRoute(*pUnit, {{kStartX, kFarNorth}}, dwTick);
    w.Step(*pUnit, 1000);
    const float fY = pUnit->m_fY;
    ASSERT_FLOAT_EQ(pUnit->m_fSpeed, 40.0f);

    int nServed = 0;
    w.App().PostWork(&w.App(), [&nServed] { ++nServed; });
    w.Step(*pUnit, 0);  // no real millisecond since the last step
    EXPECT_EQ(nServed, 1);
    EXPECT_FLOAT_EQ(pUnit->m_fY, fY);
    EXPECT_FLOAT_EQ(pUnit->m_fSpeed, 40.0f);

    // The clock stopped (Time/Stop): game time stands still, and a speed
    // worked out over it would not be a number.
    w.App().StopClock();
    w.App().PostWork(&w.App(), [&nServed] { ++nServed; });
    w.Step(*pUnit, 1000);
    EXPECT_EQ(nServed, 2);
    EXPECT_FLOAT_EQ(pUnit->m_fY, fY);
    EXPECT_FLOAT_EQ(pUnit->m_fSpeed, 40.0f);

    // Started again, it carries on from where it stood.
    pUnit->StartClock(w.StartClock(), w.Db());
    w.Step(*pUnit, 1000);
    EXPECT_NEAR(pUnit->m_fY - fY, 4.0f, 1e-3);
}

TEST(UnitMoveStep, DestroyedAndRidingUnitsDoNotMove)
{
    CMoveWorld w;
    auto pDestroyed = w.MakeUnit(kTank, kStartX, kStartY);
    auto pRiding = w.MakeUnit(kTeam, kStartX, kStartY);
    const DWORD dwTick = w.StartClock();
    w.GiveRoute(*pDestroyed, {{kStartX, kFarNorth}}, dwTick);
    w.GiveRoute(*pRiding, {{kStartX, kFarNorth}}, dwTick);
    pDestroyed->m_bDestroyed = TRUE;
    auto* pDismount = dynamic_cast<CUCapDismount*>(pRiding->FindCapability(VCAP_DISMOUNT));
    ASSERT_NE(pDismount, nullptr);
    pDismount->m_nCarrierUnit = 3;
    pDismount->m_bDismounted = FALSE;
    for (CUnit* pUnit : {pDestroyed.get(), pRiding.get()})
    {
        w.Step(*pUnit, 1000);
        EXPECT_FLOAT_EQ(pUnit->m_fY, kStartY);
    }
    // Got out, the team walks.
    pDismount->m_bDismounted = TRUE;
    w.Step(*pRiding, 1000);
    EXPECT_NEAR(pRiding->m_fY - kStartY, 4.0f, 1e-3);
}

TEST(UnitMoveStep, ChemicalAreaDropsProtectionOutsideIt)
{
    CMoveWorld w;
    CKDRObstacles obstacles;
    CObstacleArray* pArray = obstacles.CreateSideArray(0);
    ASSERT_NE(pArray, nullptr);
    auto pUnit = w.MakeUnit(kTank, kStartX, kStartY);
    const DWORD dwTick = w.StartClock();
    pUnit->StartClock(dwTick, w.Db());
    pUnit->m_bMOPP4 = TRUE;
    pUnit->m_fMOPPDegradation = 0.5f;
    // No chemical area where it stands: the crew takes its protection off.
    AdvanceManualTime(1000);
    BOOL bArrived = FALSE;
    DWORD dwEvents = 0;
    pUnit->MoveStep(w.Map(), w.Db(), &obstacles, nullptr, FALSE, bArrived, dwEvents, 0, 0, 0);
    EXPECT_FALSE(pUnit->m_bMOPP4);
    EXPECT_FLOAT_EQ(pUnit->m_fMOPPDegradation, 0.0f);
}

TEST(UnitStartClock, BeforeTheBattleUnitsLeaveTheirPositionsAndReload)
{
    CMoveWorld w;
    auto pUnit = w.MakeUnit(kTank, kStartX, kStartY);
    pUnit->ClaimDugPosition(2);
    pUnit->m_bMOPP4 = TRUE;
    pUnit->m_fMOPPDegradation = 0.3f;
    ASSERT_GT(pUnit->m_pWeapons->GetSize(), 0);
    pUnit->m_pWeapons->GetAt(0)->m_nRounds = 0;
    pUnit->StartClock(4321, w.Db());
    EXPECT_EQ(pUnit->m_moveLastTick, 4321);
    EXPECT_FALSE(pUnit->m_bDugIn);
    EXPECT_EQ(pUnit->m_nDugPosition, kUnset);
    EXPECT_FALSE(pUnit->m_bMOPP4);
    EXPECT_FLOAT_EQ(pUnit->m_fMOPPDegradation, 0.0f);
    EXPECT_GT(pUnit->m_pWeapons->GetAt(0)->m_nRounds, 0);

    // Once the battle has begun a new start keeps them.
    const DWORD dwTick = w.StartClock();
    w.GiveRoute(*pUnit, {{kStartX, kFarNorth}}, dwTick);
    w.Step(*pUnit, 2000);
    ASSERT_GT(w.App().GetGameClock()->m_tsElapsed.GetTotalSeconds(), 0);
    pUnit->ClaimDugPosition(2);
    pUnit->StartClock(dwTick + 2000, w.Db());
    EXPECT_TRUE(pUnit->m_bDugIn);
    EXPECT_FLOAT_EQ(pUnit->m_fSpeed, kSpeed);
}

TEST(UnitStartClock, OnlyBeforeTheBattleIsAUnitWithoutALegReaimed)
{
    CMoveWorld w;
    auto pUnit = w.MakeUnit(kTank, kStartX, kStartY);
    // Being deployed, a unit with no leg ahead and no field of fire faces
    // north when the clock starts.
    pUnit->SetHeading(1.0f, w.Db());
    pUnit->StartClock(w.StartClock(), w.Db());
    EXPECT_FLOAT_EQ(pUnit->m_fHeading, 0.0f);

    // In the battle it drives east to its stop and halts there facing east;
    // the clock stopped and started again, it still does, and stays.
    w.GiveRoute(*pUnit, {{kStartX + 10.0f, kStartY}}, timeGetTime());
    w.Step(*pUnit, 3000);
    ASSERT_TRUE(pUnit->IsStoppedAtStopNode());
    ASSERT_EQ(pUnit->m_pPath->GetSize(), 1);
    ASSERT_GT(w.App().GetGameClock()->m_tsElapsed.GetTotalSeconds(), 0);
    const float fEast = static_cast<float>(std::atan2(1.0, 0.0));
    EXPECT_FLOAT_EQ(pUnit->m_fHeading, fEast);
    w.App().StopClock();
    pUnit->StartClock(w.StartClock(), w.Db());
    EXPECT_FLOAT_EQ(pUnit->m_fHeading, fEast);
    w.Step(*pUnit, 2000);
    EXPECT_FLOAT_EQ(pUnit->m_fHeading, fEast);
    EXPECT_FLOAT_EQ(pUnit->m_fX, kStartX + 10.0f);
}

TEST(UnitsMovePass, ATimeStopServedMidPassLeavesTheLaterUnitsInPlace)
{
    CMoveWorld w;
    CUnitArray array;
    CKDRUnits units;
    const DWORD dwTick = w.StartClock();
    for (int i = 0; i < 3; ++i)
    {
        const float x = 500.0f + 100.0f * static_cast<float>(i);
        auto pUnit = w.MakeUnit(kTank, x, kStartY);
        w.GiveRoute(*pUnit, {{x, kFarNorth}}, dwTick);
        array.Add(pUnit.release());
    }
    AdvanceManualTime(1000);
    BOOL bChanged = FALSE;
    units.MoveUnitArray(0, 0, &array, w.Map(), w.Db(), nullptr, nullptr, kUnset, bChanged);
    EXPECT_TRUE(bChanged);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(array.GetAt(i)->m_fY - kStartY, 4.0f, 1e-3) << "unit " << i;

    // The player's Time/Stop waits in the queue; the first unit's step serves it.
    w.App().PostWork(&w.App(), [&w] { w.App().StopClock(); });
    AdvanceManualTime(1000);
    units.MoveUnitArray(0, 0, &array, w.Map(), w.Db(), nullptr, nullptr, kUnset, bChanged);
    const float expected[] = {8.0f, 4.0f, 4.0f};
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_NEAR(array.GetAt(i)->m_fY - kStartY, expected[i], 1e-3) << "unit " << i;
        EXPECT_TRUE(std::isfinite(array.GetAt(i)->m_fSpeed)) << "unit " << i;
        EXPECT_FLOAT_EQ(array.GetAt(i)->m_fSpeed, kSpeed) << "unit " << i;
    }

    // Nothing moves while the clock stands.
    bChanged = FALSE;
    AdvanceManualTime(1000);
    units.MoveUnitArray(0, 0, &array, w.Map(), w.Db(), nullptr, nullptr, kUnset, bChanged);
    EXPECT_FALSE(bChanged);
}

TEST(UnitMoveStep, ACrewInProtectionKeepsItInsideAChemicalArea)
{
    CMoveWorld w;
    CKDRObstacles obstacles;
    CObstacleArray* pArray = obstacles.CreateSideArray(1);
    ASSERT_NE(pArray, nullptr);
    auto* pArea = new CEnemyChem;
    pArea->m_fX = kStartX;
    pArea->m_fY = kStartY;
    pArea->m_nWidth = 100;  // the radius
    pArea->m_nDensity = 500;
    pArea->m_tsTime = CTimeSpan(3600);
    pArray->Add(pArea);
    auto pUnit = w.MakeUnit(kTank, kStartX, kStartY);
    const DWORD dwTick = w.StartClock();
    w.GiveRoute(*pUnit, {{kStartX, kFarNorth}}, dwTick);
    pUnit->m_bMOPP4 = TRUE;
    w.Step(*pUnit, 2000, nullptr, FALSE, nullptr, &obstacles);
    EXPECT_TRUE(pUnit->m_bMOPP4);
    EXPECT_NEAR(pUnit->m_fMOPPDegradation, 2 * 50 * 0.00055555 * 0.01, 1e-7);
    EXPECT_NEAR(pUnit->m_fY - kStartY, 8.0f, 1e-3);
    // Out of the area the crew takes the protection off.
    pUnit->m_fY = kStartY + 300.0f;
    w.Step(*pUnit, 1000, nullptr, FALSE, nullptr, &obstacles);
    EXPECT_FALSE(pUnit->m_bMOPP4);
}

TEST(ChemicalArea, ACrewNoticesItBySecondlyRollsAgainstItsDetectionValue)
{
    CChem area;
    struct Case
    {
        int nSeconds;
        float fDetect;
        BOOL bNoticed;
    } cases[] = {
        {1, 1.0f, TRUE},
        {5, 2.0f, TRUE},
        {0, 1.0f, FALSE},
        {-3, 1.0f, FALSE},
        {1000, 0.0f, FALSE},
        {1000, -1.0f, FALSE},
        {1000, std::numeric_limits<float>::quiet_NaN(), FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(area.DetectionRoll(c.nSeconds, c.fDetect), c.bNoticed) << c.nSeconds << " s at " << c.fDetect;
    // A low value is noticed now and then: about one second in ten at 0.1.
    SRand(7);
    int nNoticed = 0;
    for (int i = 0; i < 200; ++i)
        nNoticed += area.DetectionRoll(1, 0.1f) ? 1 : 0;
    EXPECT_GT(nNoticed, 5);
    EXPECT_LT(nNoticed, 50);
}
