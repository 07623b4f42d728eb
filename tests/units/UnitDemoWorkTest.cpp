// The demo's working vehicles at work, moved pass after pass over the demo
// ground among the demo's obstacles: the engineer breaches the wire and the
// mine field on its way north and halts at its last node, the helicopter
// lands at its stop, the second mortar digs in at its new position,
// Carrier 33 dons protection in the chemical area, and the enemy mine
// layer lays its field across the road ten minutes in, and never again.
#include "UnitMoveTestSupport.h"

#include "../../tools/demo_obstacles.h"
#include "../../tools/demo_units.h"
#include "battlefield/ObstacleArray.h"
#include "platform/core/Random.h"
#include "units/KDRUnits.h"
#include "units/UnitArray.h"

#include <gtest/gtest.h>

namespace
{
CUnit* Named(CUnitArray& array, const char* name)
{
    for (int i = 0; i < array.GetSize(); ++i)
    {
        if (array.GetAt(i)->m_strName == name)
            return array.GetAt(i);
    }
    return nullptr;
}

// A side's obstacles as the game holds them after opening: copies of the
// file's, the enemy's as enemy objects.
void TakeObstacles(CKDRObstacles& obstacles, int nSide, const CObstacleArray& from)
{
    CObstacleArray* pArray = obstacles.CreateSideArray(nSide);
    for (int i = 0; i < from.GetSize(); ++i)
    {
        CObstacle* pCopy = from.GetAt(i)->CopyAs(nSide != 0);
        for (int k = 0; k < from.GetAt(i)->m_lanes.GetSize(); ++k)
        {
            const CBreach* pLane = from.GetAt(i)->m_lanes.GetAt(k);
            pCopy->m_lanes.Add(new CBreach(pLane->m_fX1, pLane->m_fY1, pLane->m_fX2, pLane->m_fY2, pLane->m_fWidth,
                                           pLane->m_fDirection, pLane->m_bFlag));
        }
        pArray->Add(pCopy);
    }
}
}  // namespace

TEST(UnitDemoWork, TheWorkingVehiclesDoTheirWorkOnTheDemoGround)
{
    SRand(40);
    CUnitTestDatabase db;
    db.LoadDemo(true);
    CKDRGameMap map;
    demo_units::LoadDemoGround(map);
    CString errorText;
    CUnitArray friendly;
    CUnitArray enemy;
    ASSERT_TRUE(demo_units::BuildFriendlyUnits(friendly, *db.Db(), map, errorText)) << errorText.GetString();
    ASSERT_TRUE(demo_units::BuildEnemyUnits(enemy, *db.Db(), map, errorText)) << errorText.GetString();
    CKDRObstacles obstacles;
    TakeObstacles(obstacles, 0, *demo_obstacles::BuildFriendlyObstacles());
    TakeObstacles(obstacles, 1, *demo_obstacles::BuildEnemyObstacles());
    movetest::CTestMission mission(&obstacles, &map);
    const CObstacle* pMineField = obstacles.GetObstacle(0, 0);
    const CObstacle* pWire = obstacles.GetObstacle(1, 0);
    ASSERT_EQ(pMineField->m_lanes.GetSize(), 1);  // the field's own lane
    ASSERT_EQ(pWire->m_lanes.GetSize(), 0);

    CTestShell& app = db.App().App();
    SetManualTime(500000);
    const DWORD dwTick = app.StartClock();
    friendly.PrepareUnits(dwTick, &map, db.Db());
    enemy.PrepareUnits(dwTick, &map, db.Db());
    CKDRUnits units;
    BOOL bChanged = FALSE;
    auto pass = [&] {
        AdvanceManualTime(1000);
        units.MoveUnitArray(0, 0, &friendly, &map, db.Db(), &obstacles, nullptr, kUnset, bChanged);
        units.MoveUnitArray(0, 1, &enemy, &map, db.Db(), &obstacles, nullptr, kUnset, bChanged);
    };
    for (int i = 0; i < 300; ++i)
        pass();

    CUnit* pEngineer = Named(friendly, "Engineer 51");
    ASSERT_NE(pEngineer, nullptr);
    EXPECT_EQ(pWire->m_lanes.GetSize(), 1);
    EXPECT_EQ(pMineField->m_lanes.GetSize(), 2);
    const auto* pEngineering = dynamic_cast<CUCapEngineer*>(pEngineer->FindCapability(VCAP_ENGINEER));
    EXPECT_EQ(pEngineering->m_nBreachesLeft, 0);
    const demo_units::Route* pRoute = demo_units::FindRoute("Engineer 51");
    EXPECT_FLOAT_EQ(pEngineer->m_fY, pRoute->y2);
    EXPECT_TRUE(pEngineer->IsStoppedAtStopNode());

    CUnit* pKite = Named(friendly, "Kite 81");
    const auto* pRotor = dynamic_cast<CUCapRotaryWing*>(pKite->FindCapability(VCAP_ROTARY_WING));
    EXPECT_FLOAT_EQ(pKite->m_fX, demo_units::FindRoute("Kite 81")->x2);
    EXPECT_EQ(pRotor->m_nHeight, 0);

    CUnit* pMortar = Named(friendly, "Mortar 42");
    EXPECT_FLOAT_EQ(pMortar->m_fX, demo_units::FindRoute("Mortar 42")->x2);
    EXPECT_TRUE(pMortar->IsEmplaced(FALSE));

    CUnit* pCarrier = Named(friendly, "Carrier 33");
    EXPECT_TRUE(pCarrier->m_bDestroyed || pCarrier->m_bMOPP4);

    // Ten minutes in the enemy's field lies across the road; the layer is
    // spent and stays so.
    CUnit* pLayer = Named(enemy, "Enemy Mine Layer");
    ASSERT_NE(pLayer, nullptr);
    const int nBefore = obstacles.GetSideArray(1)->GetSize();
    for (int i = 300; i < 700; ++i)
        pass();
    EXPECT_EQ(obstacles.GetSideArray(1)->GetSize(), nBefore + 1);
    const auto* pLaying = dynamic_cast<CUCapMineLayer*>(pLayer->FindCapability(VCAP_MINE_LAYER));
    EXPECT_EQ(pLaying->m_nMinefieldsLeft, 0);
    EXPECT_EQ(pLaying->m_timeDeploy.GetTotalSeconds(), START_TIME_NEVER);
    const CObstacle* pLaid = obstacles.GetObstacle(nBefore, 1);
    ASSERT_NE(pLaid, nullptr);
    EXPECT_FLOAT_EQ(pLaid->m_fX, demo_units::kEnemyMinesX);
    EXPECT_FLOAT_EQ(pLaid->m_fY, demo_units::kEnemyMinesY);
    UseRealTime();
}
