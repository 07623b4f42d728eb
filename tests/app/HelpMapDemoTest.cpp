// The demo mission opens with its AI help map, and the route drawn across
// the lake shows the blocked-path marker of the symbol catalogue where it
// meets the water.

#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "battlefield/AITerrain.h"
#include "battlefield/AITerrainArray.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MapPicture.h"
#include "database/PieceArray.h"
#include "platform/core/File.h"
#include "platform/ui/Display.h"
#include "platform/ui/Profile.h"
#include "platform/ui/ScriptedUi.h"
#include "platform/ui/Wnd.h"

#include "support/DemoInstall.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(HelpMapDemo, TheDemoOpensWithItsHelpMapAndMarksTheLakeShore)
{
    if (!CDemoInstall::WriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    const CDemoInstall demo("helpmap-demo");
    ASSERT_TRUE(demo.Write());
    const fs::path& root = demo.Root();

    CScriptedUi ui;
    ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
    {
        CUiServiceScope scope(&ui);
        CKDRApp app;
        ASSERT_TRUE(app.InitInstance());
        ASSERT_NE(app.OpenDocumentFile((root / "Data" / "demo.asc").string().c_str()), nullptr);
        CKDRDoc* pDoc = app.GetActiveDocument();
        ASSERT_NE(pDoc, nullptr);
        CKDRGameMap* pMap = pDoc->GetGameMap();
        ASSERT_NE(pMap, nullptr);
        EXPECT_EQ(pMap->m_strHelpMap, "Demo.aim");

        // The lake region with its crossing, the road, the ridge positions,
        // the region round the ridge woods and the positions behind the
        // saddle's crest.
        const CAITerrainArray* pHelpMap = pMap->GetHelpMap();
        ASSERT_NE(pHelpMap, nullptr);
        EXPECT_EQ(pHelpMap->GetFileName(), "Demo.aim");
        ASSERT_EQ(pHelpMap->GetSize(), 5);
        auto* pWoods = dynamic_cast<CAITerrainRegion*>(pHelpMap->GetAt(3));
        auto* pSaddle = dynamic_cast<CAITerrainSBF*>(pHelpMap->GetAt(4));
        ASSERT_NE(pWoods, nullptr);
        ASSERT_NE(pSaddle, nullptr);
        EXPECT_EQ(pWoods->GetFlags(), 0x1);
        EXPECT_EQ(pSaddle->GetPositionCount(), 3);
        auto* pLake = dynamic_cast<CAITerrainRegion*>(pHelpMap->GetAt(0));
        auto* pRoad = dynamic_cast<CAITerrainRoute*>(pHelpMap->GetAt(1));
        auto* pRidge = dynamic_cast<CAITerrainSBF*>(pHelpMap->GetAt(2));
        ASSERT_NE(pLake, nullptr);
        ASSERT_NE(pRoad, nullptr);
        ASSERT_NE(pRidge, nullptr);
        EXPECT_EQ(pLake->GetFlags(), 0x3);
        EXPECT_EQ(pRoad->GetRouteFlags(), 0xF);
        EXPECT_EQ(pRidge->GetPositionCount(), 3);
        ASSERT_EQ(pLake->GetChildren()->GetSize(), 1);
        auto* pCrossing = dynamic_cast<CAITerrainRoute*>(pLake->GetChildren()->GetAt(0));
        ASSERT_NE(pCrossing, nullptr);

        // The region keeps wheeled and tracked movers off the lake's banks;
        // the road is open to everyone.
        const CElevationMap* pGround = pMap->GetElevationMap();
        ASSERT_NE(pGround, nullptr);
        const AIRoutePoint south = pCrossing->GetPoints().front();
        const AIRoutePoint north = pCrossing->GetPoints().back();
        const float bankY = static_cast<float>(south.y) + 70.0f;  // inside the region, short of the water
        EXPECT_EQ(pMap->IsPointBlocked(static_cast<float>(south.x), bankY, nullptr, 0x1, 0, 0), 1);
        EXPECT_EQ(pMap->IsPointBlocked(static_cast<float>(south.x), bankY, nullptr, 0x4, 0, 0), 0);
        const AIRoutePoint onRoad = pRoad->GetPoints()[3];
        EXPECT_EQ(pMap->IsPointBlocked(static_cast<float>(onRoad.x), static_cast<float>(onRoad.y), nullptr, 0xF, 0, 0),
                  0);

        // The crossing first meets ground it cannot cross at the south shore.
        int shoreX = 0, shoreY = 0;
        ASSERT_TRUE(pGround->FindBlockedPoint(south.x, south.y, north.x, north.y, &shoreX, &shoreY));
        EXPECT_GT(shoreY, south.y);
        EXPECT_LT(shoreY, (south.y + north.y) / 2);

        // Bring the shore into view and draw the crossing on a white surface.
        int px = 0, py = 0;
        pGround->MapToPixel(static_cast<float>(shoreX), static_cast<float>(shoreY), &px, &py);
        CMapPicture* pPicture = pMap->GetMapPicture();
        ASSERT_NE(pPicture, nullptr);
        pPicture->SetScroll(px - pPicture->GetDisplayWidth() / 2, py - pPicture->GetDisplayHeight() / 2);
        CDisplay* pDisplay = pMap->GetDisplay();
        ASSERT_NE(pDisplay, nullptr);
        CSurface* pBack = pDisplay->GetBackSurface();
        CDC* pDC = app.GetSurfaceDC();
        pDC->FillSolidRect(0, 0, pBack->GetWidth(), pBack->GetHeight(), RGB(255, 255, 255));
        app.ReleaseSurfaceDC();
        pCrossing->DrawOnMap(pMap);

        // The marker's own pixels lie there, centred on the shore point.
        int frame = 0;
        const CPiece* pPiece = app.m_pSymbolCatalogue->FindListFrame("Blocked Path Green", 0, &frame);
        ASSERT_NE(pPiece, nullptr);
        CFrameSurface* pSheet = pPiece->GetSurface();
        ASSERT_NE(pSheet, nullptr);
        CSprite marker(pSheet);
        marker.SetFrame(frame);
        int sx = px, sy = py;
        marker.SetMapPosition(sx, sy, pPicture);
        const CRect cell = pSheet->GetFrameRect(frame);
        ASSERT_FALSE(cell.IsRectEmpty());
        ASSERT_GE(sx, 0);
        ASSERT_GE(sy, 0);
        int compared = 0;
        for (int v = 0; v < cell.Height(); ++v)
        {
            for (int u = 0; u < cell.Width(); ++u)
            {
                const COLORREF colour = pSheet->GetPixel(cell.left + u, cell.top + v);
                if (colour == SPRITE_COLOR_KEY)
                    continue;
                EXPECT_EQ(pBack->GetPixel(sx + u, sy + v), colour) << u << ", " << v;
                ++compared;
            }
        }
        EXPECT_GT(compared, 10);

        app.m_pMainWnd->DestroyWindow();
        CWnd::FlushDeferredDeletes();
    }
    EXPECT_TRUE(ui.IsScriptDone()) << ui.DescribeRemaining().GetString();
}
