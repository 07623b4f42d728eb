// The demo mission's forces: what each unit file holds, where it stands on
// the demo ground, teams and carriers naming each other; and the files the
// demo writer leaves, opened with the game as a player opens the mission,
// read back and written byte for byte, and fitting the database they are
// opened with.
#include "units/UnitCapTestSupport.h"

#include "../../../tools/demo_units.h"
#include "support/ScriptedUi.h"
#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "battlefield/KDRGameMap.h"
#include "orders/NodeArray.h"
#include "platform/core/File.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Profile.h"
#include "platform/ui/Wnd.h"
#include "units/CarriedUnit.h"
#include "units/KDRUnits.h"
#include "units/UCapKinds.h"
#include "units/Unit.h"
#include "units/UnitArray.h"

#include "support/DemoInstall.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{
using namespace demo_equipment;

std::map<int, int> CountByType(const CUnitArray& array)
{
    std::map<int, int> counts;
    for (int i = 0; i < array.GetSize(); ++i)
        ++counts[array.GetAt(i)->m_nVehicle];
    return counts;
}

// Every unit: a name of its own, on ground a mover can stand on, a path of
// one node at its place holding a stop, halted; or, for a unit with a
// route, released on a path from its place through the route's two points,
// stopping at the last; teams aboard the carrier they name, which names
// them, with the given mount time.
void ExpectPlacedAndAboard(const CUnitArray& array, int nSide, CKDRGameMap& map, LONG nMountTime)
{
    std::set<std::string> names;
    int nTeams = 0;
    for (int i = 0; i < array.GetSize(); ++i)
    {
        const CUnit* pUnit = array.GetAt(i);
        ASSERT_NE(pUnit, nullptr);
        SCOPED_TRACE(pUnit->m_strName.GetString());
        EXPECT_TRUE(names.insert(pUnit->m_strName.GetString()).second);
        EXPECT_EQ(pUnit->m_nSide, nSide);
        EXPECT_EQ(map.IsPointBlocked(pUnit->m_fX, pUnit->m_fY, nullptr, demo_units::kGroundMoverFlags, nSide, 0), 0);
        const demo_units::Route* pRoute =
            nSide == demo_units::kFriendlySide ? demo_units::FindRoute(pUnit->m_strName) : nullptr;
        EXPECT_EQ(pUnit->m_bStopped, pRoute == nullptr);
        ASSERT_EQ(pUnit->m_pPath->GetSize(), pRoute == nullptr ? 1 : 3);
        const CNode* pNode = pUnit->m_pPath->GetAt(0);
        EXPECT_EQ(pNode->HasStop(), pRoute == nullptr);
        EXPECT_FLOAT_EQ(pNode->m_fX, pUnit->m_fX);
        EXPECT_FLOAT_EQ(pNode->m_fY, pUnit->m_fY);
        if (pRoute != nullptr)
        {
            const CNode* pEnd = pUnit->m_pPath->GetAt(2);
            EXPECT_FLOAT_EQ(pUnit->m_pPath->GetAt(1)->m_fX, pRoute->x1);
            EXPECT_FLOAT_EQ(pUnit->m_pPath->GetAt(1)->m_fY, pRoute->y1);
            EXPECT_FALSE(pUnit->m_pPath->GetAt(1)->HasStop());
            EXPECT_FLOAT_EQ(pEnd->m_fX, pRoute->x2);
            EXPECT_FLOAT_EQ(pEnd->m_fY, pRoute->y2);
            EXPECT_TRUE(pEnd->HasStop());
            EXPECT_EQ(pUnit->m_nMoveDelay, 0);
            // A carrier is told at its first node to dismount on contact.
            const BOOL bCarrier = (pUnit->GetCapabilityMask() & VCAP_PERSONNEL_CARRIER) != 0;
            EXPECT_EQ(pUnit->m_pPath->GetAt(1)->m_pOrders->FindToggle(UNIT_ORDER_DISMOUNT_ON_CONTACT) != kUnset,
                      bCarrier);
        }

        auto* pTeam = dynamic_cast<CUCapDismount*>(pUnit->FindCapability(VCAP_DISMOUNT));
        if (pTeam == nullptr)
            continue;
        ++nTeams;
        EXPECT_FALSE(pTeam->m_bDismounted);
        EXPECT_EQ(pTeam->m_nCarrierArray, demo_units::kArrayIndex);
        EXPECT_EQ(pTeam->m_nCarrierKind, nSide);
        const CUnit* pCarrierUnit = array.GetAt(pTeam->m_nCarrierUnit);
        ASSERT_NE(pCarrierUnit, nullptr);
        // The enemy's first two carriers let their teams out early.
        LONG nExpected = nMountTime;
        for (const char* carrier : demo_units::kEarlyDismountCarriers)
            nExpected = nSide != demo_units::kFriendlySide && pCarrierUnit->m_strName == carrier
                            ? demo_units::kEnemyDismountSeconds
                            : nExpected;
        EXPECT_EQ(pTeam->m_timeMount.GetTotalSeconds(), nExpected);
        // A carrier of the side's own type, the enemy's a twin of the own.
        EXPECT_EQ(pCarrierUnit->m_nVehicle, nSide == demo_units::kFriendlySide ? kInfantryCarrier : kEnemyCarrier);
        EXPECT_FLOAT_EQ(pCarrierUnit->m_fX, pUnit->m_fX);
        auto* pCarrier = dynamic_cast<CUCapPersonnelCarrier*>(pCarrierUnit->FindCapability(VCAP_PERSONNEL_CARRIER));
        ASSERT_NE(pCarrier, nullptr);
        int nNamed = 0;
        for (int k = 0; k < pCarrier->m_pPassengers->GetSize(); ++k)
        {
            const CCarriedUnit* pRecord = pCarrier->m_pPassengers->GetAt(k);
            if (pRecord->m_nUnit == i && pRecord->m_nArray == demo_units::kArrayIndex && pRecord->m_nKind == nSide)
                ++nNamed;
        }
        EXPECT_EQ(nNamed, 1);
    }
    EXPECT_EQ(nTeams, 8);
}
}  // namespace

TEST(UnitDemo, TheCompanyTeamInTheWestAndTheEnemyOnTheSaddleAreBuiltAsTheFilesSay)
{
    CUnitTestDatabase db;
    db.LoadDemo(true);
    CKDRGameMap map;
    demo_units::LoadDemoGround(map);
    CString errorText;
    CUnitArray friendly;
    CUnitArray enemy;
    ASSERT_TRUE(demo_units::BuildFriendlyUnits(friendly, *db.Db(), map, errorText)) << errorText.GetString();
    ASSERT_TRUE(demo_units::BuildEnemyUnits(enemy, *db.Db(), map, errorText)) << errorText.GetString();

    EXPECT_EQ(CountByType(friendly), (std::map<int, int>{{kTank, 9},
                                                         {kInfantryCarrier, 4},
                                                         {kRifleTeam, 4},
                                                         {kAntiTankTeam, 4},
                                                         {kMortarCarrier, 2},
                                                         {kObserverVehicle, 1},
                                                         {kAmmunitionCarrier, 1},
                                                         {kEngineerVehicle, 1},
                                                         {kSmokeGenerator, 1},
                                                         {kMineLayer, 1},
                                                         {kScoutHelicopter, 1}}));
    EXPECT_EQ(CountByType(enemy), (std::map<int, int>{{kEnemyTank, 4},
                                                      {kEnemyCarrier, 4},
                                                      {kEnemyRifleTeam, 4},
                                                      {kEnemyAntiTankTeam, 4},
                                                      {kEnemyMineLayer, 1},
                                                      {kEnemyMortarCarrier, 2}}));
    EXPECT_EQ(friendly.m_nSide, 0);
    EXPECT_EQ(enemy.m_nSide, 1);
    EXPECT_EQ(friendly.m_strFileName, "Friendly.unt");
    EXPECT_EQ(enemy.m_strFileName, "Enemy.unt");

    ExpectPlacedAndAboard(friendly, 0, map, 0);
    ExpectPlacedAndAboard(enemy, 1, map, START_TIME_NEVER);
    // The company team in the west (the engineer south of the obstacles
    // it breaches); the enemy astride the road on the ridge's saddle, its
    // mine layer behind it, their stops held until the player moves them.
    for (int i = 0; i < friendly.GetSize(); ++i)
    {
        if (friendly.GetAt(i)->m_nVehicle != kEngineerVehicle)
        {
            EXPECT_LT(friendly.GetAt(i)->m_fX, 1000.0f);
        }
    }
    for (int i = 0; i < enemy.GetSize(); ++i)
    {
        const CUnit* pUnit = enemy.GetAt(i);
        // The mine layer and the mortars stand behind the saddle.
        const bool bBehind = pUnit->m_nVehicle == kEnemyMineLayer || pUnit->m_nVehicle == kEnemyMortarCarrier;
        const double dReach = bBehind ? 300.0 : 150.0;
        EXPECT_LT(std::fabs(pUnit->m_fX - demo_terrain::RidgeCrestX(pUnit->m_fY)), dReach);
        EXPECT_LT(std::fabs(pUnit->m_fY - demo_terrain::kSaddleY), 200.0);
        const auto* pStart =
            static_cast<const CNOrdStartTime*>(pUnit->m_pPath->GetAt(0)->m_pOrders->FindOfType(NORD_START_TIME));
        ASSERT_NE(pStart, nullptr);
        EXPECT_EQ(pStart->m_tsStart.GetTotalSeconds(), START_TIME_NEVER);
    }

    // Every unit fits the database it was built from.
    CString report;
    friendly.RebuildFromDatabase(db.Db(), report);
    enemy.RebuildFromDatabase(db.Db(), report);
    EXPECT_TRUE(report.IsEmpty()) << report.GetString();
}

TEST(UnitDemo, TheGameOpensTheDemoWithItsUnitFilesWhichReadBackByteForByte)
{
    if (!CDemoInstall::WriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    const CDemoInstall demo("unit-demo");
    ASSERT_TRUE(demo.Write());
    const fs::path& root = demo.Root();
    {
        // No prompt of any kind: no report, no error.
        ScopedScriptedUi ui;
        CKDRApp app;
        ASSERT_TRUE(app.InitInstance());
        ASSERT_NE(app.OpenDocumentFile((root / "Data" / "demo.asc").string().c_str()), nullptr);
        CKDRDoc* pDoc = app.GetActiveDocument();
        ASSERT_NE(pDoc, nullptr);
        CKDRUnits* pUnits = pDoc->GetUnits();
        ASSERT_NE(pUnits, nullptr);
        EXPECT_EQ(pUnits->m_strUnitFile, "Friendly.unt");
        ASSERT_EQ(pUnits->m_pOpposingFileNames->GetCount(), 1);
        EXPECT_EQ(pUnits->m_pOpposingFileNames->GetAt(0), "Enemy.unt");

        const CString dataDir = (root / "Data").string().c_str();
        for (const char* name : {"Friendly.unt", "Enemy.unt"})
        {
            SCOPED_TRACE(name);
            CUnitArray array;
            ASSERT_TRUE(array.LoadUnitFile(name, dataDir));
            EXPECT_EQ(array.m_strFileName, name);
            const std::string file = CDatabaseTestApp::ReadText(root / "Data" / name);
            EXPECT_EQ(StoreBytes(array), std::vector<BYTE>(file.begin(), file.end()));
            array.AttachVehicles(pDoc->GetDatabase());
            CString report;
            array.RebuildFromDatabase(pDoc->GetDatabase(), report);
            EXPECT_TRUE(report.IsEmpty()) << report.GetString();
        }
        app.m_pMainWnd->DestroyWindow();
        CWnd::FlushDeferredDeletes();
    }
}
