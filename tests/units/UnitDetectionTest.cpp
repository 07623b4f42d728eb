#include "CombatTestSupport.h"

#include <gtest/gtest.h>

using namespace combat;

namespace
{
// The observer sits near the west edge; targets stand due east of it.
constexpr float kX = 200.0f;
constexpr float kY = 1500.0f;

struct CRangeCase
{
    const char* what;
    int nTargetType;
    float fLight;
    BOOL bObserverMoving;
    BOOL bTargetStopped;
    BOOL bTargetDefilade;
    double dFactor;  // expected E / d
};
}  // namespace

TEST(UnitDetection, TheEffectiveDistanceWeighsLightCoverMotionAndSize)
{
    const CRangeCase cases[] = {
        {"neutral daylight", kTank, 1.0f, FALSE, FALSE, FALSE, 0.75},
        {"light 0.5 adds 0.3 d", kTank, 0.5f, FALSE, FALSE, FALSE, 1.05},
        {"an observer on the move", kTank, 1.0f, TRUE, FALSE, FALSE, 0.875},
        {"a halted target", kTank, 1.0f, FALSE, TRUE, FALSE, 1.0},
        {"a target in defilade", kTank, 1.0f, FALSE, TRUE, TRUE, 1.25},
        // A 1.1 m team: size 0.25, size term 0.375.
        {"a team", kTeam, 1.0f, FALSE, FALSE, FALSE, 1.0 / 0.375 - 0.25},
    };
    CCombatWorld world;
    for (const CRangeCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::unique_ptr<CUnit> pObserver(world.NewUnit(kTank, 0, kX, kY));
        std::unique_ptr<CUnit> pTarget(world.NewUnit(c.nTargetType, 1, kX + 2000.0f, kY));
        pObserver->m_bStopped = !c.bObserverMoving;
        pTarget->m_bStopped = c.bTargetStopped;
        pTarget->m_bDefilade = c.bTargetDefilade;
        pTarget->m_nDefiladeTime = 0;
        const int nE = pObserver->GetEffectiveDetectionRange(pTarget.get(), world.Vehicle(c.nTargetType),
                                                             world.Vehicle(kTank), 2000.0f, c.fLight);
        EXPECT_NEAR(nE, 2000.0 * c.dFactor, 1.0);
    }
}

TEST(UnitDetection, BeyondTheViewRangeAContactIsUnidentifiedAndOneContactLearnsItsIdentity)
{
    // View range 200 (2000 m), neutral daylight: v = 0.75 d.
    CCombatWorld world;
    std::unique_ptr<CUnit> pObserver(world.NewUnit(kTank, 1, kX, kY, "Observer"));
    std::unique_ptr<CUnit> pTarget(world.NewUnit(kTank, 0, kX + 3000.0f, kY));
    pTarget->m_bStopped = FALSE;

    pObserver->DetectPair(pTarget.get(), world.Map(), world.Db(), nullptr, 1.0f, 4, 0, 0);
    ASSERT_EQ(pObserver->m_pContacts->GetSize(), 1);
    const CUnitRef* pRef = pObserver->m_pContacts->GetAt(0);
    EXPECT_TRUE(pRef->m_bUnidentified);  // 2250 m: within 4000, beyond 2000
    EXPECT_EQ(pRef->m_nTargetValue, 0);
    EXPECT_EQ(pRef->m_nUnit, 4);
    EXPECT_EQ(pRef->m_nRange, 300);
    EXPECT_NEAR(pRef->m_fBearing, kPi / 2, 1e-6);

    pTarget->m_fX = kX + 2600.0f;  // 1950 m
    pObserver->DetectPair(pTarget.get(), world.Map(), world.Db(), nullptr, 1.0f, 4, 0, 0);
    ASSERT_EQ(pObserver->m_pContacts->GetSize(), 1);
    EXPECT_FALSE(pObserver->m_pContacts->GetAt(0)->m_bUnidentified);
    EXPECT_EQ(pObserver->m_pContacts->GetAt(0)->m_nRange, 260);
}

TEST(UnitDetection, NightSightsLiftTheLightAndNothingIsSeenPastTwiceTheViewRange)
{
    CCombatWorld world;
    std::unique_ptr<CUnit> pTarget(world.NewUnit(kTank, 1, kX + 3000.0f, kY));
    pTarget->m_bStopped = FALSE;
    // At light 0.2, E = 1.5 d = 4500 m: beyond 4000 m.
    std::unique_ptr<CUnit> pObserver(world.NewUnit(kTank, 1, kX, kY));
    pObserver->DetectPair(pTarget.get(), world.Map(), world.Db(), nullptr, 0.2f, 0, 0, 1);
    EXPECT_EQ(pObserver->m_pContacts->GetSize(), 0);

    // Night sights of 60 make it 0.6: E = d, seen but unidentified.
    world.Vehicle(kTank)->GetChassisMounts()->GetAt(0)->m_nPercentNV = 60;
    pObserver->DetectPair(pTarget.get(), world.Map(), world.Db(), nullptr, 0.2f, 0, 0, 1);
    ASSERT_EQ(pObserver->m_pContacts->GetSize(), 1);
    EXPECT_TRUE(pObserver->m_pContacts->GetAt(0)->m_bUnidentified);

    // Nobody sees from or through a destroyed unit, nor a unit without a type.
    pObserver->m_pContacts->RemoveAll();
    pTarget->m_fX = kX + 500.0f;
    for (int nCase = 0; nCase < 3; ++nCase)
    {
        pObserver->m_bDestroyed = nCase == 0;
        pTarget->m_bDestroyed = nCase == 1;
        pTarget->m_nVehicle = nCase == 2 ? 7 : kTank;
        pObserver->DetectPair(pTarget.get(), world.Map(), world.Db(), nullptr, 1.0f, 0, 0, 1);
        EXPECT_EQ(pObserver->m_pContacts->GetSize(), 0) << nCase;
    }
}

TEST(UnitDetection, AHillBetweenHidesTheTarget)
{
    CCombatWorld world;
    CElevationMap* pElevation = world.Map()->GetElevationMap();
    for (int row = 0; row < pElevation->GetRows(); ++row)
        pElevation->SetElevation(200, row, 500);  // a 50 m wall at x = 2000
    std::unique_ptr<CUnit> pObserver(world.NewUnit(kTank, 0, 1500.0f, 1500.0f));
    std::unique_ptr<CUnit> pTarget(world.NewUnit(kTank, 1, 2500.0f, 1500.0f));
    pObserver->DetectPair(pTarget.get(), world.Map(), world.Db(), nullptr, 1.0f, 0, 0, 1);
    EXPECT_EQ(pObserver->m_pContacts->GetSize(), 0);
    pTarget->m_fX = 1800.0f;
    pObserver->DetectPair(pTarget.get(), world.Map(), world.Db(), nullptr, 1.0f, 0, 0, 1);
    EXPECT_EQ(pObserver->m_pContacts->GetSize(), 1);
}

TEST(UnitDetection, AnOwnObserverReportsAnUnknownContactWithCode30)
{
    CCombatWorld world;
    CTestShell& app = world.App();
    std::unique_ptr<CUnit> pObserver(world.NewUnit(kTank, 0, kX, kY, "Alpha 1"));
    std::unique_ptr<CUnit> pTarget(world.NewUnit(kTank, 1, kX + 3000.0f, kY + 10.0f));
    pTarget->m_bStopped = FALSE;
    pObserver->DetectPair(pTarget.get(), world.Map(), world.Db(), nullptr, 1.0f, 0, 0, 1);
    ASSERT_NE(app.m_pShownSpotReport, nullptr);
    EXPECT_STREQ(app.m_pShownSpotReport->m_strText.GetString(), "Alpha 1 has detected an unknown vehicle or team.");
    EXPECT_EQ(app.m_pShownSpotReport->m_nCode, 30);
    EXPECT_EQ(app.m_pShownSpotReport->m_nSide, -1);
    EXPECT_EQ(app.m_pShownSpotReport->m_nUnit, 3200);
    EXPECT_EQ(app.m_pShownSpotReport->m_nArray, 1510);

    // Identified within the same second, the less urgent report waits;
    // two game seconds later it is taken.
    pTarget->m_fX = kX + 1000.0f;
    pObserver->DetectPair(pTarget.get(), world.Map(), world.Db(), nullptr, 1.0f, 0, 0, 1);
    EXPECT_EQ(app.m_pShownSpotReport->m_nCode, 30);
    app.GetGameClock()->m_tsElapsed = CTimeSpan(2);
    pObserver->DetectPair(pTarget.get(), world.Map(), world.Db(), nullptr, 1.0f, 0, 0, 1);
    EXPECT_STREQ(app.m_pShownSpotReport->m_strText.GetString(), "Alpha 1 has detected an enemy Tank.");
    EXPECT_EQ(app.m_pShownSpotReport->m_nCode, 5);
    EXPECT_EQ(app.m_pShownSpotReport->m_time.GetTotalSeconds(), 2);
}
