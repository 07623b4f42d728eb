// The demo mission's obstacles in the real program: both sides load from
// their files, every obstacle draws on the map, the crater's picture changes
// when it fires and the chemical area goes when it ends, a mover finds its
// way past the wire; and an obstacle file cut short fails the open with a
// message that names it.

#include "app/GameClock.h"
#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "battlefield/AITerrain.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/MapPicture.h"
#include "battlefield/MoverInfo.h"
#include "battlefield/Obstacle.h"
#include "battlefield/ObstacleArray.h"
#include "battlefield/ObstacleDlg.h"
#include "platform/core/File.h"
#include "platform/ui/Display.h"
#include "platform/ui/Profile.h"
#include "platform/ui/ScriptedUi.h"
#include "platform/ui/Wnd.h"

#include "DrawnAround.h"
#include "support/DemoInstall.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
// Writes the demo into a start directory of its own, runs the application
// there with a scripted UI and gives the body the application; everything
// is put back afterwards.
void WithDemo(const char* tag, const std::function<void(const fs::path&)>& prepare,
              const std::function<void(CKDRApp&, const fs::path&)>& body, CScriptedUi& ui)
{
    if (!CDemoInstall::WriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    const CDemoInstall demo(tag);
    ASSERT_TRUE(demo.Write());
    const fs::path& root = demo.Root();
    prepare(root);
    ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
    {
        CUiServiceScope scope(&ui);
        CKDRApp app;
        if (app.InitInstance())
            body(app, root);
        else
            ADD_FAILURE() << "the application did not start";
        app.m_pMainWnd->DestroyWindow();
        CWnd::FlushDeferredDeletes();
    }
    EXPECT_TRUE(ui.IsScriptDone()) << ui.DescribeRemaining().GetString();
}

// The pixels both sides' obstacles lay on the map around the point.
int DrawnAround(CKDRDoc& doc, float x, float y, int reach)
{
    return CountDrawnAround(doc, x, y, reach,
                       [&]
                       {
                           doc.UpdateOwnSideObstacles();
                           doc.UpdateOtherSideObstacles();
                       });
}
}  // namespace

TEST(ObstacleDemo, BothSidesLoadDrawAndChangeWithTime)
{
    CScriptedUi ui;
    WithDemo(
        "obstacle-demo", [](const fs::path&) {},
        [&ui](CKDRApp& app, const fs::path& root)
        {
            ASSERT_NE(app.OpenDocumentFile((root / "Data" / "demo.asc").string().c_str()), nullptr);
            CKDRDoc* pDoc = app.GetActiveDocument();
            CKDRObstacles* pObstacles = pDoc->GetObstacles();
            ASSERT_NE(pObstacles, nullptr);
            EXPECT_EQ(pObstacles->m_strSide0Name, "Demo.fob");
            EXPECT_EQ(pObstacles->m_strSide1Name, "Demo.eob");
            EXPECT_FALSE(pObstacles->IsSidePresent(2));

            const CObstacleArray* pOwn = pObstacles->GetSideArray(0);
            const CObstacleArray* pEnemy = pObstacles->GetSideArray(1);
            ASSERT_NE(pOwn, nullptr);
            ASSERT_NE(pEnemy, nullptr);
            ASSERT_EQ(pOwn->GetSize(), 2);
            ASSERT_EQ(pEnemy->GetSize(), 2);
            const CObstacle* pField = pOwn->GetAt(0);
            CObstacle* pWire = pOwn->GetAt(1);
            const CObstacle* pCrater = pEnemy->GetAt(0);
            const CObstacle* pChem = pEnemy->GetAt(1);
            EXPECT_EQ(pField->m_nType, CObstacle::kMineField);
            EXPECT_EQ(pField->m_lanes.GetSize(), 1);
            EXPECT_EQ(pWire->m_nType, CObstacle::kWire);
            EXPECT_EQ(pCrater->GetType(), CObstacle::kClassEnemyObstacle);
            EXPECT_EQ(pCrater->m_nType, CObstacle::kRoadCrater);
            EXPECT_EQ(pChem->GetType(), CObstacle::kClassEnemyChem);

            // The lane through the mine field is named; the enemy's crater not.
            EXPECT_EQ(pDoc->GetObstacleName(pField->m_fX, pField->m_fY), "Mine Field Breach Lane");
            EXPECT_EQ(pDoc->GetObstacleName(pWire->m_fX, pWire->m_fY), "Wire");
            EXPECT_EQ(pDoc->GetObstacleName(pCrater->m_fX, pCrater->m_fY), "");

            // All four draw where they lie.
            for (const CObstacle* pObstacle : {pField, static_cast<const CObstacle*>(pWire), pCrater, pChem})
                EXPECT_GT(DrawnAround(*pDoc, pObstacle->m_fX, pObstacle->m_fY, 4), 20)
                    << pObstacle->m_fX << ", " << pObstacle->m_fY;

            // The crater's picture changes when it fires at 1800 s.
            ASSERT_NE(pCrater->GetSprite(), nullptr);
            const int unfiredFrame = pCrater->GetSprite()->GetFrame();
            const int unfired = DrawnAround(*pDoc, pCrater->m_fX, pCrater->m_fY, 10);
            app.GetGameClock()->m_tsElapsed = CTimeSpan(1799);
            pDoc->StepSimulation(kUnset, kUnset, kUnset);
            EXPECT_FALSE(pCrater->m_bFired);
            app.GetGameClock()->m_tsElapsed = CTimeSpan(1800);
            pDoc->StepSimulation(kUnset, kUnset, kUnset);
            EXPECT_TRUE(pCrater->m_bFired);
            const int fired = DrawnAround(*pDoc, pCrater->m_fX, pCrater->m_fY, 10);
            EXPECT_NE(pCrater->GetSprite()->GetFrame(), unfiredFrame);
            EXPECT_GT(fired, unfired);

            // The chemical area lasts the first hour.
            EXPECT_GT(DrawnAround(*pDoc, pChem->m_fX, pChem->m_fY, 4), 20);
            app.GetGameClock()->m_tsElapsed = CTimeSpan(3600);
            pDoc->StepSimulation(kUnset, kUnset, kUnset);
            EXPECT_EQ(DrawnAround(*pDoc, pChem->m_fX, pChem->m_fY, 4), 0);

            // A tracked mover of the own side heading north into the wire is
            // led past its east end.
            MoverInfo mover;
            mover.x = pWire->m_fX;
            mover.y = pWire->m_fY - 100.0f;
            mover.nFlags = 0x1;
            mover.nSide = 0;
            mover.pObstacles = pObstacles;
            float x = 0, y = 0;
            CAITerrainRoute* pRoute = nullptr;
            ASSERT_EQ(pObstacles->FindCrossing(mover, pDoc->GetGameMap(), pWire, x, y, pRoute), 1);
            std::unique_ptr<CAITerrainRoute> route(pRoute);
            EXPECT_FLOAT_EQ(x, pWire->m_fX + pWire->m_nLength / 2.0f + 2.5f);
            EXPECT_FLOAT_EQ(y, pWire->m_fY - pWire->m_nWidth / 2.0f - 10.0f);
            ASSERT_NE(pRoute, nullptr);
            EXPECT_EQ(pRoute->GetPointCount(), 2);
            EXPECT_EQ(pRoute->GetRouteFlags(), 3);
            EXPECT_EQ(pRoute->GetDirection(), 0);

            // A new attitude for the wire: the document is modified and the
            // application keeps what was confirmed.
            pDoc->SetModifiedFlag(FALSE);
            ui.ExpectDialog(IDD_OBSTACLE, IDOK, [](CDialog& d) { d.SetDlgItemText(IDC_OBSTACLE_ATTITUDE, "800"); });
            EXPECT_EQ(pDoc->EditObstacle(1, 0), 1);
            EXPECT_EQ(pWire->m_nAttitude, 800);
            EXPECT_EQ(app.m_nObstacleAttitude, 800);
            EXPECT_EQ(app.m_tsObstacleTimeToFire.GetTotalSeconds(), 0);
            EXPECT_TRUE(pDoc->IsModified());
        },
        ui);
}

TEST(ObstacleDemo, AnObstacleFileCutShortFailsTheOpen)
{
    CScriptedUi ui;
    WithDemo(
        "obstacle-cut",
        [&](const fs::path& root)
        {
            const fs::path file = root / "Data" / "Demo.fob";
            fs::resize_file(file, fs::file_size(file) - 20);
            ui.ExpectMessage("Error",
                             CString("The obstacle array, Demo.fob, could not be read.\nReached the end of the file "
                                     "while reading an object in '") +
                                 (root / "Data" / "Demo.fob").string().c_str() + "'.",
                             IDOK);
        },
        [](CKDRApp& app, const fs::path& root)
        {
            EXPECT_EQ(app.OpenDocumentFile((root / "Data" / "demo.asc").string().c_str()), nullptr);
            CKDRDoc* pDoc = app.GetActiveDocument();
            ASSERT_NE(pDoc, nullptr);
            EXPECT_EQ(pDoc->GetObstacles(), nullptr);
        },
        ui);
}
