// The map's static layers (picture, terrain, contour overlay, grid lines)
// kept from one paint to the next: a paint that copies them, and one that
// draws them again, show exactly the pixels of the plain paint (every layer
// drawn, every copy and line in its plain per-pixel form) at all six zoom
// levels and in all three map styles; the kept layers are drawn again when
// anything they show changes, and only then.
#include "ViewTestSupport.h"

#include "app/GameClock.h"
#include "platform/core/File.h"
#include "platform/ui/Profile.h"
#include "support/DemoInstall.h"
#include "view/ViewProperties.h"

#include <QCoreApplication>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
// What the window shows after a paint now.
QImage PaintNow(CKDRView& view)
{
    view.RedrawMap(FALSE);
    view.UpdateWindow();
    QCoreApplication::processEvents();
    const QImage* image = view.GetBackImage();
    return image != nullptr ? image->copy() : QImage();
}

// The plain paint: every layer drawn, every copy and line in its plain form.
QImage PlainPaint(CKDRView& view)
{
    SetPlainDrawing(TRUE);
    view.DropStaticLayers();
    const QImage shown = PaintNow(view);
    SetPlainDrawing(FALSE);
    view.DropStaticLayers();
    return shown;
}
}  // namespace

// The demo mission has all the static layers: colour and contour tiles,
// terrain features (woods, a road, water) and the grid of the elevation map.
TEST(ViewStaticLayers, PaintsAtAllSixZoomLevelsKeepThePixelsOfThePlainPaint)
{
    if (!CDemoInstall::WriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    const CDemoInstall demo("static-layers");
    ASSERT_TRUE(demo.Write());
    const fs::path& root = demo.Root();

    CScriptedUi ui;
    ui.SetFailureHandler([](const CString&) {});  // sound may be missing here
    {
        CUiServiceScope scope(&ui);
        CKDRApp app;
        ASSERT_TRUE(app.InitInstance());
        ASSERT_NE(app.OpenDocumentFile((root / "Data" / "demo.asc").string().c_str()), nullptr);
        CKDRView& view = *app.GetActiveView();
        CKDRGameMap* pMap = app.GetActiveDocument()->GetGameMap();
        ASSERT_NE(pMap->GetMapPicture(), nullptr);
        ASSERT_NE(pMap->GetElevationMap(), nullptr);
        CViewProperties& props = *view.GetViewProperties();
        // Two overlays drawn over the static layers: a line-of-sight fan
        // (rays and circles) and a rubber band in a mix mode.
        view.m_bLOSFan = TRUE;
        view.m_fLOSX = 1800.0f;
        view.m_fLOSY = 1500.0f;
        view.m_bRubberBand = TRUE;
        view.m_ptRubberStart = CPoint(40, 30);
        view.m_ptRubberEnd = CPoint(300, 200);

        int nCompared = 0;
        for (int nMode = CKDRGameMap::kModeColor; nMode <= CKDRGameMap::kModeContourOverColor; ++nMode)
        {
            pMap->SetMapDisplayMode(nMode, app.m_pDisplay);
            ASSERT_EQ(pMap->GetMapDisplayMode(), nMode);
            for (int nLevel = 0; nLevel < CViewProperties::kLevelCount; ++nLevel)
                props.m_abGridLines[nLevel] = nMode != CKDRGameMap::kModeContour;
            view.SetZoom(CKDRGameMap::kZoomToMinimum, TRUE);
            for (int nLevel = 0; nLevel < CViewProperties::kLevelCount; ++nLevel)
            {
                if (nLevel > 0)
                {
                    ASSERT_TRUE(view.SetZoom(1, TRUE));
                }
                ASSERT_EQ(CViewProperties::GetZoomLevel(view.GetZoom()), nLevel);
                view.CenterOnMapPoint(900, 700);
                const std::string where = "mode " + std::to_string(nMode) + ", zoom " + std::to_string(view.GetZoom());

                const QImage plain = PlainPaint(view);
                view.DropStaticLayers();
                ASSERT_EQ(PaintNow(view), plain) << where << ": the static layers drawn again";
                ASSERT_EQ(PaintNow(view), plain) << where << ": the static layers copied";
                // Only the overlay moves: the kept layers are copied under it.
                view.m_fLOSX = 2100.0f;
                const QImage moved = PaintNow(view);
                EXPECT_NE(moved, plain) << where;
                ASSERT_EQ(moved, PlainPaint(view)) << where << ": the overlay moved over the kept layers";
                view.m_fLOSX = 1800.0f;
                ++nCompared;
            }
        }
        EXPECT_EQ(nCompared, 18);
        view.m_bLOSFan = FALSE;
        view.m_bRubberBand = FALSE;
        app.m_pMainWnd->DestroyWindow();
        CWnd::FlushDeferredDeletes();
    }
}

TEST(ViewStaticLayers, KeptLayersAreDrawnAgainWhenWhatTheyShowChanges)
{
    CStartDir dir;
    CViewShell shell(dir.Path());
    ASSERT_TRUE(shell.OpenTestMap());
    CKDRView& view = shell.View();
    CKDRGameMap* pMap = shell.Doc().GetGameMap();
    CFrameSurface* pSheet = pMap->GetTileSurface();
    ASSERT_NE(pSheet, nullptr);
    constexpr QRgb kFirst = 0xFF204060;
    constexpr QRgb kSecond = 0xFF60A020;

    // Each change, after which the picture must come from the sheet again.
    const struct
    {
        const char* what;
        std::function<void()> change;
    } changes[] = {
        {"a scroll", [&] { view.CenterOnMapPoint(700 + 32 * static_cast<int>(view.GetZoom()), 500); }},
        {"a zoom", [&] { view.SetZoom(view.GetZoom() < 2.0f ? 1 : -1, FALSE); }},
        {"a resize", [&] { shell.ResizeClient(shell.Display().GetWidth() + 16, shell.Display().GetHeight()); }},
        {"grid lines",
         [&]
         {
             const int nLevel = CViewProperties::GetZoomLevel(view.GetZoom());
             view.GetViewProperties()->m_abGridLines[nLevel] = !view.GetViewProperties()->m_abGridLines[nLevel];
         }},
        {"a change of the map's look", [&] { pMap->NoteLookChanged(); }},
        {"received state", [&] { shell.Doc().UpdateAllViews(nullptr, KDR_HINT_STATE_RECEIVED); }},
    };
    const CPoint probe(100, 100);
    for (const auto& c : changes)
    {
        pSheet->GetImage().fill(kFirst);
        view.DropStaticLayers();
        ASSERT_EQ(PaintNow(view).pixel(probe.x, probe.y), kFirst) << c.what;
        // Behind the map's back: a repaint copies what was kept.
        pSheet->GetImage().fill(kSecond);
        ASSERT_EQ(PaintNow(view).pixel(probe.x, probe.y), kFirst) << c.what;
        c.change();
        CViewShell::Spin();
        ASSERT_EQ(PaintNow(view).pixel(probe.x, probe.y), kSecond) << "after " << c.what;
    }
}

TEST(ViewStaticLayers, LostSurfacesAreDrawnAgainAndNotKeptHalfDrawn)
{
    CStartDir dir;
    CViewShell shell(dir.Path());
    ASSERT_TRUE(shell.OpenTestMap());
    CKDRView& view = shell.View();
    const QImage before = PaintNow(view);
    // The tile sheet comes back from its file as the first copy from it
    // fails: that paint may miss a tile, the next ones may not.
    shell.Display().LoseSurfaces();
    PaintNow(view);
    EXPECT_EQ(PaintNow(view), before);
    EXPECT_EQ(PaintNow(view), before);
}
