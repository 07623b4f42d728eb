// What the move step does at an obstacle: the density roll, the halt and
// the 70 m detour, the marker an own unit leaves on an enemy field, a
// breaching unit led into a lane, a plough driving its lane through, an
// engineer's timed breach, and chemical exposure.
#include "UnitMoveTestSupport.h"

#include "battlefield/Breach.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/Obstacle.h"
#include "battlefield/ObstacleArray.h"
#include "orders/NodeOrder.h"
#include "platform/core/Random.h"
#include "shell/SoundService.h"
#include "units/UCapKinds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace movetest;

namespace
{
constexpr float kX = 1000.0f;
constexpr float kY = 500.0f;

// A field across the way north of the unit: 200 m east-west, 40 m deep,
// from y 510 to 550.
template <class T = CObstacle> T* AddField(CKDRObstacles& obstacles, int nSide, int nDensity, int nType = 1)
{
    CObstacleArray* pArray = obstacles.GetSideArray(nSide);
    if (pArray == nullptr)
        pArray = obstacles.CreateSideArray(nSide);
    auto* pField = new T;
    pField->m_fX = kX;
    pField->m_fY = 530.0f;
    pField->m_nAttitude = 1600;
    pField->m_nLength = 200;
    pField->m_nWidth = 40;
    pField->m_nDensity = nDensity;
    pField->m_nType = nType;
    pArray->Add(pField);
    return pField;
}

CUCapBreacher* BreacherOf(CUnit& unit, DWORD dwType)
{
    return dynamic_cast<CUCapBreacher*>(unit.FindCapability(dwType));
}

// Records the vehicle sounds asked for, in place of the headless shell's
// silence, while it lives.
class CSoundLog : public CSoundService
{
public:
    CSoundLog() : m_pPrevious(SetSoundService(this)) {}
    ~CSoundLog() override { SetSoundService(m_pPrevious); }
    CSoundLog(const CSoundLog&) = delete;
    CSoundLog& operator=(const CSoundLog&) = delete;
    BOOL IsSoundDefined(int, const CString&) const override { return TRUE; }
    void PlayWeaponSound(const CString&) override {}
    void PlayVehicleSound(const CString& strName) override { m_played.push_back(strName); }
    void PlayArtillerySound(const CString&) override {}
    BOOL LoadSoundList(const CString&, CString&) override { return FALSE; }

    std::vector<CString> m_played;

private:
    CSoundService* m_pPrevious;
};
}  // namespace

TEST(UnitObstacles, AMineFieldStopsAUnitByItsDensity)
{
    for (const int nDensity : {0, 100})
    {
        for (unsigned int nSeed = 1; nSeed <= 10; ++nSeed)
        {
            SRand(nSeed);
            CMoveWorld w;
            CKDRObstacles obstacles;
            AddField(obstacles, 0, nDensity);
            auto pUnit = w.MakeUnit(kTank, kX, 508.0f);
            const DWORD dwTick = w.StartClock();
            w.GiveRoute(*pUnit, {{kX, 900.0f}}, dwTick);
            DWORD dwEvents = 0;
            w.Step(*pUnit, 1000, &dwEvents, FALSE, nullptr, &obstacles);
            if (nDensity == 0)
            {
                EXPECT_NEAR(pUnit->m_fY, 512.0f, 1e-3) << nSeed;
                EXPECT_FALSE(pUnit->m_bStopped) << nSeed;
            }
            else
            {
                EXPECT_FLOAT_EQ(pUnit->m_fY, 508.0f) << nSeed;
                EXPECT_TRUE(pUnit->m_bStopped) << nSeed;
                EXPECT_EQ(dwEvents & UNIT_EVENT_OBSTACLE, UNIT_EVENT_OBSTACLE) << nSeed;
                EXPECT_FLOAT_EQ(pUnit->m_fSpeed, 0.0f) << nSeed;
            }
        }
    }
}

TEST(UnitObstacles, ABlockedUnitOfAnotherSideDetoursSeventyMetresEastOrNorth)
{
    struct Case
    {
        const char* what;
        float x;
        float toX, toY;  // the goal, setting the heading
        float goalX, goalY;
    } cases[] = {
        {"heading north goes east", kX, kX, 900.0f, kX + 70.0f, kY},
        {"heading east goes north", kX, 1400.0f, kY, kX, kY + 70.0f},
        {"exactly 0.785398 goes north", kX, kX + 100.0f, kY + 100.0f, kX, kY + 70.0f},
        {"heading south goes east", kX, kX, 100.0f, kX + 70.0f, kY},
        {"east of 1930 the map's edge holds", 1990.0f, 1990.0f, 900.0f, 2000.0f, kY},
    };
    for (const Case& c : cases)
    {
        CMoveWorld w;
        CKDRObstacles obstacles;
        auto pUnit = w.MakeUnit(kTank, c.x, kY, 1);
        const DWORD dwTick = w.StartClock();
        w.GiveRoute(*pUnit, {{c.toX, c.toY}}, dwTick);
        ASSERT_EQ(pUnit->Blocked(w.Map(), c.x, kY, &obstacles, w.Db(), nullptr, FALSE), TRUE) << c.what;
        ASSERT_GE(pUnit->m_pPath->GetSize(), 3) << c.what;
        EXPECT_FLOAT_EQ(pUnit->m_pPath->GetAt(1)->m_fX, c.goalX) << c.what;
        EXPECT_FLOAT_EQ(pUnit->m_pPath->GetAt(1)->m_fY, c.goalY) << c.what;
        // The old goal follows the detour.
        EXPECT_FLOAT_EQ(pUnit->m_pPath->GetAt(2)->m_fX, c.toX) << c.what;
        // Side 1 waits at its halt until game time 60.
        const CNode* pFirst = pUnit->m_pPath->GetAt(0);
        EXPECT_TRUE(pFirst->HasStop()) << c.what;
        const auto* pStart = dynamic_cast<const CNOrdStartTime*>(pFirst->m_pOrders->FindOfType(NORD_START_TIME));
        ASSERT_NE(pStart, nullptr) << c.what;
        EXPECT_EQ(pStart->m_tsStart.GetTotalSeconds(), 60) << c.what;
    }
}

TEST(UnitObstacles, AnOwnUnitStaysHaltedUnlessItBypassesObstacles)
{
    for (const BOOL bBypass : {FALSE, TRUE})
    {
        CMoveWorld w;
        CKDRObstacles obstacles;
        auto pUnit = w.MakeUnit(kTank, kX, kY);
        const DWORD dwTick = w.StartClock();
        w.GiveRoute(*pUnit, {{kX, 900.0f}}, dwTick);
        pUnit->m_bBypassObstacles = bBypass;
        EXPECT_TRUE(pUnit->Blocked(w.Map(), kX, kY, &obstacles, w.Db(), nullptr, FALSE));
        EXPECT_TRUE(pUnit->m_bStopped);
        if (!bBypass)
        {
            EXPECT_EQ(pUnit->m_pPath->GetSize(), 2);
            EXPECT_TRUE(pUnit->m_pPath->GetAt(0)->HasStop());
            EXPECT_FLOAT_EQ(pUnit->m_pPath->GetAt(1)->m_fY, 900.0f);
            continue;
        }
        // Released at once: the halt ends with the move delay.
        EXPECT_FALSE(pUnit->m_pPath->GetAt(0)->HasStop());
        EXPECT_FLOAT_EQ(pUnit->m_pPath->GetAt(1)->m_fX, kX + 70.0f);
    }
}

TEST(UnitObstacles, AUnitOnAOneNodePathIsHaltedWhereItStands)
{
    CMoveWorld w;
    CKDRObstacles obstacles;
    auto pUnit = w.MakeUnit(kTank, kX, kY, 1);
    ASSERT_EQ(pUnit->m_pPath->GetSize(), 1);
    // The node laid at the unit before the halt is the one the halt's
    // re-aiming drops again: the unit stands on one stopped node.
    EXPECT_TRUE(pUnit->Blocked(w.Map(), kX, kY, &obstacles, w.Db(), nullptr, FALSE));
    ASSERT_EQ(pUnit->m_pPath->GetSize(), 1);
    EXPECT_TRUE(pUnit->m_pPath->GetAt(0)->HasStop());
    EXPECT_TRUE(pUnit->m_bStopped);
    EXPECT_FLOAT_EQ(pUnit->m_pPath->GetAt(0)->m_fX, kX);
    // Aircraft never meet obstacles.
    auto pJet = w.MakeUnit(kJet, kX, kY);
    EXPECT_FALSE(pJet->Blocked(w.Map(), kX, kY, &obstacles, w.Db(), nullptr, FALSE));
}

TEST(UnitObstacles, AnOwnUnitMarksTheEnemyFieldItRunsInto)
{
    SRand(1);
    CMoveWorld w;
    CKDRObstacles obstacles;
    auto* pField = AddField<CEnemyObstacle>(obstacles, 1, 100);
    auto pUnit = w.MakeUnit(kTank, kX, 508.0f);
    const DWORD dwTick = w.StartClock();
    w.GiveRoute(*pUnit, {{kX + 0.2f, 900.0f}}, dwTick);
    w.Step(*pUnit, 1000, nullptr, FALSE, nullptr, &obstacles);
    ASSERT_EQ(pField->m_contacts.GetSize(), 1);
    // Rounded to whole metres.
    EXPECT_FLOAT_EQ(pField->m_contacts.GetAt(0)->m_fX, kX);
    EXPECT_FLOAT_EQ(pField->m_contacts.GetAt(0)->m_fY, 512.0f);
    EXPECT_TRUE(pUnit->m_bStopped);
}

TEST(UnitObstacles, ALaneGoalGoesBeforeTheOldGoalOrInPlaceOfNodeOne)
{
    for (const int nNodes : {2, 3})
    {
        CMoveWorld w;
        CKDRObstacles obstacles;
        AddField(obstacles, 0, 100);
        auto pUnit = w.MakeUnit(kBreacher, kX, 508.0f);
        const DWORD dwTick = w.StartClock();
        if (nNodes == 2)
            w.GiveRoute(*pUnit, {{kX, 900.0f}}, dwTick);
        else
            w.GiveRoute(*pUnit, {{kX, 900.0f}, {kX + 200.0f, 900.0f}}, dwTick);
        DWORD dwEvents = 0;
        w.Step(*pUnit, 1000, &dwEvents, FALSE, nullptr, &obstacles);
        EXPECT_EQ(dwEvents & UNIT_EVENT_BREACH, UNIT_EVENT_BREACH) << nNodes;
        ASSERT_EQ(pUnit->m_pPath->GetSize(), 3) << nNodes;
        // The lane's goal: 5 m ahead of where the unit was.
        EXPECT_NEAR(pUnit->m_pPath->GetAt(1)->m_fY, 513.0f, 1e-3) << nNodes;
        EXPECT_FLOAT_EQ(pUnit->m_pPath->GetAt(2)->m_fY, 900.0f) << nNodes;
        if (nNodes == 3)
        {
            EXPECT_FLOAT_EQ(pUnit->m_pPath->GetAt(2)->m_fX, kX + 200.0f);
        }
    }
}

TEST(UnitObstacles, ABreacherJumpsOnAtBreachSpeedAndAnEngineerHalts)
{
    CMoveWorld w;
    CKDRObstacles obstacles;
    CObstacle* pField = AddField(obstacles, 0, 100);
    auto pPlough = w.MakeUnit(kBreacher, kX, 508.0f);
    // The engineer meets a field of its own: the plough's lane would let
    // it through.
    CKDRObstacles engineerObstacles;
    AddField(engineerObstacles, 0, 100);
    auto pEngineer = w.MakeUnit(kEngineer, kX, 508.0f);
    const DWORD dwTick = w.StartClock();
    w.GiveRoute(*pPlough, {{kX, 900.0f}}, dwTick);
    w.GiveRoute(*pEngineer, {{kX, 900.0f}}, dwTick);
    w.Step(*pPlough, 1000, nullptr, FALSE, nullptr, &obstacles);
    // The plough moved one second at breach speed 20 from where it stood.
    EXPECT_NEAR(pPlough->m_fY, 510.0f, 1e-3);
    EXPECT_FLOAT_EQ(pPlough->m_fSpeed, 20.0f);
    EXPECT_FALSE(pPlough->m_bStopped);
    EXPECT_TRUE(BreacherOf(*pPlough, VCAP_BREACHER)->m_bBreaching);
    ASSERT_EQ(pField->m_lanes.GetSize(), 1);

    w.Step(*pEngineer, 1000, nullptr, FALSE, nullptr, &engineerObstacles);
    EXPECT_FLOAT_EQ(pEngineer->m_fY, 508.0f);
    EXPECT_TRUE(pEngineer->m_bStopped);
    const auto* pEngineering = dynamic_cast<CUCapEngineer*>(BreacherOf(*pEngineer, VCAP_ENGINEER));
    EXPECT_TRUE(pEngineering->m_bBreaching);
    EXPECT_TRUE(pEngineering->m_bWholeObstacle);
    EXPECT_EQ(pEngineering->m_nBreachLeft, 60);
}

TEST(UnitObstacles, APloughDrivesItsLaneThroughAndComesOutOfTheFarSide)
{
    CMoveWorld w;
    CKDRObstacles obstacles;
    CObstacle* pField = AddField(obstacles, 0, 100);
    auto pPlough = w.MakeUnit(kBreacher, kX, 508.0f);
    const DWORD dwTick = w.StartClock();
    w.GiveRoute(*pPlough, {{kX, 900.0f}}, dwTick);
    CUCapBreacher* pBreach = BreacherOf(*pPlough, VCAP_BREACHER);
    int nPasses = 0;
    do
    {
        w.Step(*pPlough, 500, nullptr, FALSE, nullptr, &obstacles);
        ASSERT_EQ(pField->m_lanes.GetSize(), 1);
        const CBreach* pLane = pField->m_lanes.GetAt(0);
        // The far end keeps 4 m ahead of the plough, the lane 8 m wide.
        EXPECT_NEAR(pLane->m_fY2, pPlough->m_fY + 4.0f, 1e-3) << nPasses;
        EXPECT_FLOAT_EQ(pLane->m_fWidth, 8.0f);
        EXPECT_NEAR(pLane->m_fY1, 504.0f, 1e-3);
    } while (pBreach->m_bBreaching && ++nPasses < 100);
    EXPECT_FALSE(pBreach->m_bBreaching);
    EXPECT_GT(pPlough->m_fY, 550.0f);
    EXPECT_LT(pPlough->m_fY, 552.0f);
    // The lane now lets a plain unit through.
    auto pTank = w.MakeUnit(kTank, kX, 508.0f);
    w.GiveRoute(*pTank, {{kX, 900.0f}}, dwTick);
    for (int i = 0; i < 15; ++i)
        w.Step(*pTank, 1000, nullptr, FALSE, nullptr, &obstacles);
    EXPECT_GT(pTank->m_fY, 555.0f);
    EXPECT_FALSE(pTank->m_bStopped);
}

TEST(UnitObstacles, ATurnOfMoreThanFortyFiveDegreesOffTheLaneEndsTheBreach)
{
    struct Case
    {
        const char* what;
        double direction;  // degrees
        double heading;
        bool kept;
    } cases[] = {
        {"44 degrees off", 0.0, 44.0, true},
        {"50 degrees off", 0.0, 50.0, false},
        {"50 degrees the other way", 0.0, -50.0, false},
        {"due south, the heading flipped to -180", 180.0, -180.0, true},
        {"just across the flip", 179.0, -179.0, true},
        {"across the flip and 50 off", 160.0, -150.0, false},
    };
    for (const Case& c : cases)
    {
        CUCapBreacher breacher;
        breacher.m_bBreaching = TRUE;
        breacher.m_nObstacle = 0;
        breacher.m_nObstacleSide = 1;
        breacher.m_fBreachDirection = static_cast<float>(c.direction * std::numbers::pi / 180.0);
        breacher.OnHeadingChanged(nullptr, static_cast<float>(c.heading * std::numbers::pi / 180.0), nullptr, kUnset,
                                  kUnset);
        EXPECT_EQ(breacher.m_bBreaching != FALSE, c.kept) << c.what;
    }
}

TEST(UnitObstacles, DeletingAnObstacleBeforeTheOneBreachedShiftsItsIndex)
{
    CUCapBreacher breacher;
    breacher.m_bBreaching = TRUE;
    breacher.m_nObstacle = 3;
    breacher.m_nObstacleSide = 1;
    breacher.OnObstacleDeleted(0, 1);  // another side's
    EXPECT_EQ(breacher.m_nObstacle, 3);
    breacher.OnObstacleDeleted(1, 5);  // a later one
    EXPECT_EQ(breacher.m_nObstacle, 3);
    breacher.OnObstacleDeleted(1, 1);
    EXPECT_EQ(breacher.m_nObstacle, 2);
    EXPECT_TRUE(breacher.m_bBreaching);
    breacher.OnObstacleDeleted(1, 2);
    EXPECT_FALSE(breacher.m_bBreaching);
    EXPECT_EQ(breacher.m_nObstacle, kUnset);
    EXPECT_EQ(breacher.m_nLane, kUnset);
}

TEST(UnitObstacles, AnEngineerMakesItsLaneAfterItsTimeAndDrivesOn)
{
    CMoveWorld w;
    CSoundLog sounds;  // after the world: its shell installs a silent one
    CKDRObstacles obstacles;
    CObstacle* pField = AddField(obstacles, 0, 100);
    CObstacle* pWire = AddField(obstacles, 0, 100, CObstacle::kWire);
    pWire->m_fY = 700.0f;
    CTestMission mission(&obstacles, w.Map());
    auto pEngineer = w.MakeUnit(kEngineer, kX, 508.0f);
    const DWORD dwTick = w.StartClock();
    w.GiveRoute(*pEngineer, {{kX, 900.0f}}, dwTick);
    auto* pCap = dynamic_cast<CUCapEngineer*>(BreacherOf(*pEngineer, VCAP_ENGINEER));
    CString strText;

    w.Step(*pEngineer, 1000, nullptr, FALSE, nullptr, &obstacles);
    ASSERT_TRUE(pCap->m_bBreaching);
    w.Step(*pEngineer, 30000, nullptr, FALSE, nullptr, &obstacles);
    pCap->GetStatusText(strText);
    EXPECT_EQ(strText, "- Breaching\r\n- Time to breach: 30 s\r\n");
    EXPECT_EQ(pField->m_lanes.GetSize(), 0);

    w.Step(*pEngineer, 30000, nullptr, FALSE, nullptr, &obstacles);
    ASSERT_EQ(pField->m_lanes.GetSize(), 1);
    const CBreach* pLane = pField->m_lanes.GetAt(0);
    EXPECT_NEAR(pLane->m_fY1, 504.0f, 1e-3);
    EXPECT_NEAR(pLane->m_fY2, 588.0f, 1e-3);  // the breach length ahead
    EXPECT_FLOAT_EQ(pLane->m_fWidth, 8.0f);
    EXPECT_NEAR(pEngineer->m_pPath->GetAt(1)->m_fY, 589.0f, 1e-3);
    EXPECT_EQ(pCap->m_nBreachesLeft, 1);
    ASSERT_EQ(sounds.m_played.size(), 1u);
    EXPECT_EQ(sounds.m_played[0], "Breach");
    EXPECT_FALSE(pEngineer->m_pPath->GetAt(0)->HasStop());

    // Released, it drives through its lane, and halts again at the wire.
    for (int i = 0; i < 80 && !(pCap->m_bBreaching && pEngineer->m_fY > 600.0f); ++i)
        w.Step(*pEngineer, 1000, nullptr, FALSE, nullptr, &obstacles);
    EXPECT_TRUE(pCap->m_bBreaching);
    EXPECT_GT(pEngineer->m_fY, 670.0f);
    EXPECT_LT(pEngineer->m_fY, 690.0f);
    EXPECT_EQ(pField->m_lanes.GetSize(), 1);  // its own lane cost no second breach
    w.Step(*pEngineer, 60000, nullptr, FALSE, nullptr, &obstacles);
    EXPECT_EQ(pCap->m_nBreachesLeft, 0);
    EXPECT_EQ(pWire->m_lanes.GetSize(), 1);
    // None left: the next obstacle cannot be breached.
    w.Step(*pEngineer, 10000, nullptr, FALSE, nullptr, &obstacles);
    pCap->GetStatusText(strText);
    EXPECT_EQ(strText, "- Cannot breach.  No breaches remaining\r\n");
}

TEST(ChemicalExposure, TheFirstExposureKillsOrPutsTheCrewInProtection)
{
    // A seed whose first percentile roll is the one asked for.
    auto seedFor = [](int nRoll) {
        for (unsigned int nSeed = 1;; ++nSeed)
        {
            SRand(nSeed);
            if (PercentileRoll() == nRoll)
                return nSeed;
        }
    };
    struct Case
    {
        const char* what;
        int nDensity;  // the area's field: percent x 100
        int nChemicalValue;
        int nRoll;  // -1: no roll may be made
        int nSide;
        bool killed;
    } cases[] = {
        {"chemical value 0: never dies", 5000, 0, -1, 0, false},
        {"50 % x 30, roll 15 kills", 5000, 30, 15, 0, true},
        {"50 % x 30, roll 16 protects", 5000, 30, 16, 0, false},
        {"1 % x 99 is lethality 0", 100, 99, -1, 0, false},
        {"a side 1 kill", 5000, 30, 15, 1, true},
    };
    for (const Case& c : cases)
    {
        CMoveWorld w;
        CChem area;
        area.m_nDensity = c.nDensity;
        auto pUnit = w.MakeUnit(kTank, kX, kY, c.nSide);
        const unsigned int nSeed = seedFor(c.nRoll < 0 ? 50 : c.nRoll);
        SRand(nSeed);
        pUnit->ChemicalExposure(&area, w.Db(), nullptr, c.nChemicalValue);
        EXPECT_EQ(pUnit->m_bDestroyed != FALSE, c.killed) << c.what;
        EXPECT_EQ(pUnit->m_bMOPP4 != FALSE, !c.killed) << c.what;
        if (!c.killed)
        {
            EXPECT_FLOAT_EQ(pUnit->m_fMOPPDegradation, 0.25f) << c.what;
        }
        // The own side's kill is reported, the other side's not.
        EXPECT_EQ(w.App().m_bSpotReportPending != FALSE, c.killed && c.nSide == 0) << c.what;
        if (c.nRoll < 0)
        {
            // No roll was drawn: the sequence stands where the seed left it.
            SRand(nSeed);
            const int nFirst = Rand();
            SRand(nSeed);
            pUnit->m_bMOPP4 = FALSE;
            pUnit->ChemicalExposure(&area, w.Db(), nullptr, c.nChemicalValue);
            EXPECT_EQ(Rand(), nFirst) << c.what;
        }
    }
    // A crew in MOPP 4 is never rolled for again.
    CMoveWorld w;
    CChem area;
    area.m_nDensity = 10000;
    auto pUnit = w.MakeUnit(kTank, kX, kY);
    pUnit->m_bMOPP4 = TRUE;
    pUnit->m_fMOPPDegradation = 0.5f;
    SRand(7);
    const int nFirst = Rand();
    SRand(7);
    pUnit->ChemicalExposure(&area, w.Db(), nullptr, 100);
    EXPECT_EQ(Rand(), nFirst);
    EXPECT_FALSE(pUnit->m_bDestroyed);
    EXPECT_FLOAT_EQ(pUnit->m_fMOPPDegradation, 0.5f);
}
