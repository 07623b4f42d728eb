// The capabilities that work on the ground or the unit's height: digging
// in and out, smoke, the helicopter and the jet, and the mine layer.
#include "UnitMoveTestSupport.h"

#include "battlefield/KDRObstacles.h"
#include "battlefield/Obstacle.h"
#include "battlefield/ObstacleArray.h"
#include "hierarchy/TaskOrg.h"
#include "units/KDRUnits.h"
#include "units/UCapKinds.h"
#include "units/UnitArray.h"

#include <gtest/gtest.h>

using namespace movetest;

namespace
{
constexpr float kX = 1000.0f;
constexpr float kY = 500.0f;

template <class T> T* Cap(CUnit& unit, DWORD dwType) { return dynamic_cast<T*>(unit.FindCapability(dwType)); }
}  // namespace

TEST(UCapEmplace, DigsInAndOutByTheVehiclesTimesAndAtOnceInDeployment)
{
    CMoveWorld w;
    auto pUnit = w.MakeUnit(kEmplacer, kX, kY);
    auto* pEmplace = Cap<CUCapEmplace>(*pUnit, VCAP_EMPLACE);
    ASSERT_NE(pEmplace, nullptr);
    // Before the clock runs the game is in deployment: at once.
    pEmplace->Reset(0.0f, 0, 0);
    pEmplace->OnMove(w.Db(), kEmplacer);
    EXPECT_FALSE(pEmplace->m_bEmplaced);
    EXPECT_FALSE(pEmplace->m_bDisplacing);
    pEmplace->OnStop(w.Db(), kEmplacer);
    EXPECT_TRUE(pEmplace->m_bEmplaced);
    EXPECT_FALSE(pEmplace->m_bEmplacing);

    // In the battle: 30 s to dig in, 20 s to come out.
    w.StartClock();
    pEmplace->SetEmplaced(FALSE);
    pEmplace->OnStop(w.Db(), kEmplacer);
    EXPECT_TRUE(pEmplace->m_bEmplacing);
    EXPECT_EQ(pEmplace->m_nEmplaceLeft, 30);
    pEmplace->Update(kEmplacer, 29, CTimeSpan(0), nullptr, w.Db(), 0, 0, pUnit.get(), 0, 0, 0);
    EXPECT_FALSE(pEmplace->m_bEmplaced);
    pEmplace->Update(kEmplacer, 1, CTimeSpan(0), nullptr, w.Db(), 0, 0, pUnit.get(), 0, 0, 0);
    EXPECT_TRUE(pEmplace->m_bEmplaced);
    EXPECT_FALSE(pEmplace->m_bEmplacing);
    pEmplace->OnMove(w.Db(), kEmplacer);
    EXPECT_FALSE(pEmplace->m_bEmplaced);
    EXPECT_TRUE(pEmplace->m_bDisplacing);
    EXPECT_EQ(pEmplace->m_nDisplaceLeft, 20);
    pEmplace->Update(kEmplacer, 25, CTimeSpan(0), nullptr, w.Db(), 0, 0, pUnit.get(), 0, 0, 0);
    EXPECT_FALSE(pEmplace->m_bDisplacing);
    EXPECT_EQ(pEmplace->m_nDisplaceLeft, 0);

    // Do Not Emplace: never in the ground, until Reset clears it.
    pEmplace->m_bDoNotEmplace = TRUE;
    pEmplace->OnStop(w.Db(), kEmplacer);
    pEmplace->Update(kEmplacer, 100, CTimeSpan(0), nullptr, w.Db(), 0, 0, pUnit.get(), 0, 0, 0);
    EXPECT_FALSE(pEmplace->m_bEmplaced);
    pEmplace->SetEmplaced(TRUE);
    EXPECT_FALSE(pEmplace->m_bEmplaced);
    pEmplace->Reset(0.0f, 0, 0);
    EXPECT_FALSE(pEmplace->m_bDoNotEmplace);
    EXPECT_TRUE(pEmplace->m_bEmplaced);
}

TEST(UCapSmoker, BurstsMakeOneCloudEachUntilNoneRemain)
{
    CMoveWorld w;
    CTestMission mission(nullptr);
    auto pUnit = w.MakeUnit(kBurstSmoker, kX, kY);
    auto* pSmoker = Cap<CUCapSmoker>(*pUnit, VCAP_SMOKER);
    ASSERT_NE(pSmoker, nullptr);
    for (int i = 0; i < 4; ++i)
    {
        pUnit->SetOrderState(UNIT_ORDER_SMOKE, w.Db(), FALSE, FALSE);
        pSmoker->Update(kBurstSmoker, 1, CTimeSpan(0), w.Map(), w.Db(), 0, 0, pUnit.get(), 0, 0, 0);
        EXPECT_FALSE(pSmoker->m_bSmoking);
        EXPECT_EQ(mission.m_clouds.size(), static_cast<size_t>(i < 3 ? i + 1 : 3)) << i;
    }
    ASSERT_EQ(mission.m_clouds.size(), 3u);
    EXPECT_FLOAT_EQ(mission.m_clouds[0].x, kX);
    EXPECT_FLOAT_EQ(mission.m_clouds[0].fRadius, 60.0f);
    EXPECT_EQ(mission.m_clouds[0].nDuration, 240);
    EXPECT_EQ(mission.m_clouds[0].nStrength, 70);
    CString strText;
    pSmoker->GetStatusText(strText, w.Db(), kBurstSmoker);
    EXPECT_EQ(strText, "Smoke bursts remaining: 0");
}

TEST(UCapSmoker, AStreamReleasesEachTimeToReleaseAndCountsAPassThatOvershoots)
{
    CMoveWorld w;
    CTestMission mission(nullptr);
    auto pUnit = w.MakeUnit(kStreamSmoker, kX, kY);
    auto* pSmoker = Cap<CUCapSmoker>(*pUnit, VCAP_SMOKER);
    ASSERT_NE(pSmoker, nullptr);
    CString strText;
    pSmoker->GetStatusText(strText, w.Db(), kStreamSmoker);
    EXPECT_EQ(strText, "Smoke remaining: 5 min");  // 30 s x 10 smokes

    pSmoker->SetSmoke(TRUE, dynamic_cast<CVCapSmoker*>(w.Vehicle(kStreamSmoker)->FindCapability(VCAP_SMOKER)));
    EXPECT_EQ(pSmoker->m_nReleaseLeft, 30);
    pSmoker->Update(kStreamSmoker, 29, CTimeSpan(0), w.Map(), w.Db(), 0, 0, pUnit.get(), 0, 0, 0);
    EXPECT_TRUE(mission.m_clouds.empty());
    pSmoker->Update(kStreamSmoker, 1, CTimeSpan(0), w.Map(), w.Db(), 0, 0, pUnit.get(), 0, 0, 0);
    EXPECT_EQ(mission.m_clouds.size(), 1u);
    EXPECT_EQ(pSmoker->m_nReleaseLeft, 30);
    // 35 s: the timer runs 5 s past 0, which counts a second release.
    pSmoker->Update(kStreamSmoker, 35, CTimeSpan(0), w.Map(), w.Db(), 0, 0, pUnit.get(), 0, 0, 0);
    EXPECT_EQ(mission.m_clouds.size(), 3u);
    EXPECT_EQ(pSmoker->m_nSmokeLeft, 7);

    struct Case
    {
        int nRemainder, nPeriod, nCap, nCount;
    } cases[] = {
        {0, 30, 10, 1},   {-5, 30, 10, 2},  {-7, 30, 10, 3}, {-7, 30, 2, 2},
        {-15, 30, 10, 2}, {-100, 0, 10, 1}, {-3, -5, 10, 1}, {-5, 30, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CUCapSmoker::CountReleases(c.nRemainder, c.nPeriod, c.nCap), c.nCount)
            << c.nRemainder << " " << c.nPeriod << " " << c.nCap;

    // A time to release of 0 releases once a pass.
    auto* pKit = dynamic_cast<CVCapSmoker*>(w.Vehicle(kStreamSmoker)->FindCapability(VCAP_SMOKER));
    pKit->m_nTimeToRelease = 0;
    pSmoker->SetSmoke(TRUE, pKit);
    pSmoker->Update(kStreamSmoker, 5, CTimeSpan(0), w.Map(), w.Db(), 0, 0, pUnit.get(), 0, 0, 0);
    EXPECT_EQ(mission.m_clouds.size(), 4u);
}

TEST(UCapRotaryWing, AHelicopterStoppedLandsOnTheNextPassItsAltitudeAPassLater)
{
    CMoveWorld w;
    auto pUnit = w.MakeUnit(kHelicopter, kX, kY);
    auto* pRotor = Cap<CUCapRotaryWing>(*pUnit, VCAP_ROTARY_WING);
    ASSERT_NE(pRotor, nullptr);
    const DWORD dwTick = w.StartClock();
    w.GiveRoute(*pUnit, {{kX, 900.0f}}, dwTick);
    auto pass = [&] { pRotor->Update(kHelicopter, 1, CTimeSpan(0), w.Map(), w.Db(), 0, 0, pUnit.get(), 0, 0, 0); };
    pass();
    pass();
    EXPECT_EQ(pRotor->m_nHeight, 60);
    EXPECT_EQ(pRotor->m_nAltitude, 160);  // 100 m of ground
    pUnit->m_bSprint = TRUE;
    pass();
    EXPECT_EQ(pRotor->m_nHeight, 90);
    pUnit->m_bSprint = FALSE;
    pUnit->Stop(w.Db());
    ASSERT_TRUE(pUnit->IsStoppedAtStopNode());
    pass();
    EXPECT_EQ(pRotor->m_nHeight, 0);
    EXPECT_EQ(pRotor->m_nAltitude, 190);
    pass();
    EXPECT_EQ(pRotor->m_nAltitude, 100);
}

TEST(UCapFixedWing, AJetAwayFromItsStationIsSentBackAndNeverLeftHalted)
{
    CMoveWorld w;
    auto pUnit = w.MakeUnit(kJet, kX, kY);
    auto* pWing = Cap<CUCapFixedWing>(*pUnit, VCAP_FIXED_WING);
    ASSERT_NE(pWing, nullptr);
    w.StartClock();
    pWing->m_fStationX = 1200.0f;
    pWing->m_fStationY = 800.0f;
    pUnit->m_bStopped = TRUE;
    pWing->Update(kJet, 1, CTimeSpan(1), w.Map(), w.Db(), 0, 0, pUnit.get(), 0, 0, 0);
    ASSERT_EQ(pUnit->m_pPath->GetSize(), 2);
    EXPECT_FLOAT_EQ(pUnit->m_pPath->GetAt(1)->m_fX, 1200.0f);
    EXPECT_FLOAT_EQ(pUnit->m_pPath->GetAt(1)->m_fY, 800.0f);
    EXPECT_FALSE(pUnit->m_bStopped);
    // At its station and halted there, it stands on the ground.
    pUnit->m_fX = 1200.0f;
    pUnit->m_fY = 800.0f;
    pUnit->m_pPath->ResetToPoint(1200.0f, 800.0f, FALSE);
    pUnit->m_bStopped = TRUE;
    pWing->Update(kJet, 1, CTimeSpan(2), w.Map(), w.Db(), 0, 0, pUnit.get(), 0, 0, 0);
    EXPECT_EQ(pWing->m_nHeight, 0);
    EXPECT_TRUE(pUnit->m_bStopped);
}

TEST(UCapMineLayer, LaysEveryFieldAtTheTargetWithinItsRanges)
{
    CMoveWorld w;
    CKDRObstacles obstacles;
    CTestMission mission(&obstacles, w.Map());
    auto pUnit = w.MakeUnit(kMineLayer, kX, kY);
    auto* pLayer = Cap<CUCapMineLayer>(*pUnit, VCAP_MINE_LAYER);
    ASSERT_NE(pLayer, nullptr);
    // 50 m is under the 100 m minimum, 600 m beyond the 500 m maximum.
    EXPECT_FALSE(pLayer->SetTarget(w.Db(), pUnit.get(), TRUE, kX, kY + 50.0f));
    EXPECT_FALSE(pLayer->SetTarget(w.Db(), pUnit.get(), TRUE, kX, kY + 600.0f));
    EXPECT_FALSE(pLayer->m_bDeploying);
    EXPECT_FLOAT_EQ(pLayer->m_fTargetY, 0.0f);

    ASSERT_TRUE(pUnit->DeployMinesAt(kX, kY + 300.0f, w.Db()));
    EXPECT_TRUE(pLayer->m_bDeploying);
    EXPECT_EQ(pLayer->m_nDeployLeft, 90);
    CString strText;
    pLayer->GetStatusText(strText);
    EXPECT_EQ(strText, "- Deploying mines\r\n- Time to deploy: 90 s\r\n");
    pLayer->Update(kMineLayer, 89, CTimeSpan(89), w.Map(), w.Db(), 0, 0, pUnit.get(), 0, 0, 0);
    EXPECT_EQ(obstacles.GetSideArray(0), nullptr);
    pLayer->Update(kMineLayer, 1, CTimeSpan(90), w.Map(), w.Db(), 0, 0, pUnit.get(), 0, 0, 0);
    EXPECT_FALSE(pLayer->m_bDeploying);
    EXPECT_EQ(pLayer->m_nMinefieldsLeft, 0);
    CObstacleArray* pOwn = obstacles.GetSideArray(0);
    ASSERT_NE(pOwn, nullptr);
    // Both fields: the first laid, the second strengthening it.
    ASSERT_GE(pOwn->GetSize(), 1);
    const CObstacle* pField = pOwn->GetObstacle(0);
    EXPECT_FLOAT_EQ(pField->m_fY, kY + 300.0f);
    EXPECT_EQ(pField->m_nAttitude, 1600);  // across the line to the point
    EXPECT_EQ(pField->m_nLength, 200);
    EXPECT_EQ(pField->m_nWidth, 40);
    pLayer->GetStatusText(strText);
    EXPECT_EQ(strText, "- Cannot deploy.  No minefields remaining\r\n");
}

TEST(UCapMineLayer, AnEnemyLayerLaysAtItsTimeThenNever)
{
    CMoveWorld w;
    CKDRObstacles obstacles;
    CTestMission mission(&obstacles, w.Map());
    auto pUnit = w.MakeUnit(kMineLayer, kX, kY, 1);
    auto* pLayer = Cap<CUCapMineLayer>(*pUnit, VCAP_MINE_LAYER);
    pLayer->m_fTargetX = kX + 200.0f;
    pLayer->m_fTargetY = kY;
    pLayer->m_timeDeploy = CTimeSpan(600);
    pLayer->m_nMinefieldsLeft = 1;
    pLayer->Update(kMineLayer, 1, CTimeSpan(599), w.Map(), w.Db(), 0, 0, pUnit.get(), 0, 0, 0);
    EXPECT_FALSE(pLayer->m_bDeploying);
    pLayer->Update(kMineLayer, 1, CTimeSpan(600), w.Map(), w.Db(), 0, 0, pUnit.get(), 0, 0, 0);
    EXPECT_TRUE(pLayer->m_bDeploying);
    pLayer->Update(kMineLayer, 90, CTimeSpan(690), w.Map(), w.Db(), 0, 0, pUnit.get(), 0, 0, 0);
    ASSERT_NE(obstacles.GetSideArray(1), nullptr);
    EXPECT_EQ(obstacles.GetSideArray(1)->GetSize(), 1);
    EXPECT_EQ(pLayer->m_timeDeploy.GetTotalSeconds(), START_TIME_NEVER);
    // The point lies east: the field runs north-south across the line.
    EXPECT_EQ(obstacles.GetSideArray(1)->GetObstacle(0)->m_nAttitude, 3200);
    pLayer->m_nMinefieldsLeft = 1;
    pLayer->Update(kMineLayer, 1, CTimeSpan(5000), w.Map(), w.Db(), 0, 0, pUnit.get(), 0, 0, 0);
    EXPECT_FALSE(pLayer->m_bDeploying);
}

TEST(UCapMineLayer, DeployMinesAtPointTakesTheFirstLayerOfTheSelection)
{
    CMoveWorld w;
    CKDRUnits units;
    units.m_pOwnUnits = new CUnitArray;
    units.m_bOwnUnits = TRUE;
    CUnitArray* pArray = units.m_pOwnUnits;
    pArray->Add(w.MakeUnit(kTank, kX, kY).release());
    pArray->Add(w.MakeUnit(kMineLayer, kX, kY).release());
    CTaskOrgArray selection;
    selection.AddUnique(new CTaskOrg(0, 0));
    selection.AddUnique(new CTaskOrg(1, 0));
    EXPECT_EQ(units.DeployMinesAtPoint(&selection, kX, kY + 50.0f, w.Map(), w.Db()), 0);  // too near
    EXPECT_EQ(units.DeployMinesAtPoint(&selection, kX, kY + 200.0f, w.Map(), w.Db()), 1);
    EXPECT_TRUE(pArray->GetAt(1)->IsLayingMines());
}
