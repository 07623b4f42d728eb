// The map view on a real window (offscreen): what a paint puts on screen at
// two zoom levels and after scrolling, the centre kept by the zoom, the
// coalescing of redraws and the back surface following the window's size.
#include "ViewTestSupport.h"

#include "app/KDRCommandIds.h"
#include "app/KDROpord.h"
#include "battlefield/KDRHoles.h"
#include "battlefield/KDRObstacles.h"
#include "database/KDRDatabase.h"
#include "hierarchy/TaskOrg.h"
#include "units/KDRUnits.h"
#include "view/StartPicture.h"
#include "view/ViewProperties.h"

#include <QApplication>
#include <QMouseEvent>

#include <cmath>

namespace
{
using namespace test_map;

// Compares what the window shows with the map cell expected under each
// sampled client pixel. Pixels within two picture pixels of a tile edge are
// skipped: the scaled copy may round there.
void ExpectShows(const QImage& shown, CKDRView& view, const char* when)
{
    CMapPicture* pPicture = view.GetDocument()->GetGameMap()->GetMapPicture();
    ASSERT_NE(pPicture, nullptr);
    const double zoom = view.GetZoom();
    const int scrollX = pPicture->GetScrollX();
    const int scrollY = pPicture->GetScrollY();
    int checked = 0;
    for (int y = 5; y < shown.height(); y += 23)
    {
        for (int x = 7; x < shown.width(); x += 29)
        {
            const double px = scrollX + x / zoom;
            const double py = scrollY + y / zoom;
            const double ex = std::fmod(px, kTile);
            const double ey = std::fmod(py, kTile);
            if (ex < 2 || ex > kTile - 2 || ey < 2 || ey > kTile - 2)
                continue;
            const QRgb expected = ColorAt(static_cast<int>(px), static_cast<int>(py));
            ASSERT_EQ(shown.pixel(x, y) & 0xFFFFFF, expected & 0xFFFFFF)
                << when << ": client (" << x << ", " << y << "), picture (" << px << ", " << py << ")";
            ++checked;
        }
    }
    EXPECT_GT(checked, 50) << when;
}

// The picture point under the centre of the window.
QPointF CentrePoint(CKDRView& view)
{
    CMapPicture* pPicture = view.GetDocument()->GetGameMap()->GetMapPicture();
    CRect rc;
    view.GetClientRect(&rc);
    return QPointF(pPicture->GetScrollX() + rc.Width() / 2.0 / view.GetZoom(),
                   pPicture->GetScrollY() + rc.Height() / 2.0 / view.GetZoom());
}
}  // namespace

TEST(ViewPaint, ShowsTheMapAtTwoZoomLevelsAndAfterScrolling)
{
    CStartDir dir;
    CViewShell shell(dir.Path(), 640, 480);
    ASSERT_TRUE(shell.OpenTestMap());
    CKDRView& view = shell.View();
    CMapPicture* pPicture = shell.Doc().GetGameMap()->GetMapPicture();
    ASSERT_NE(pPicture, nullptr);
    ASSERT_EQ(view.GetZoom(), 1.0f);

    QImage shown = shell.Paint();
    ASSERT_EQ(shown.size(), QSize(640, 480));
    EXPECT_EQ(shown.pixel(16, 16) & 0xFFFFFF, TileColor(TileAt(0, 0)) & 0xFFFFFF);
    EXPECT_EQ(shown.pixel(16 + 32 * 5, 16 + 32 * 9) & 0xFFFFFF, TileColor(TileAt(5, 9)) & 0xFFFFFF);
    ExpectShows(shown, view, "zoom 1");

    // Zoom in: the centre of the window stays on the same map point.
    const QPointF centre = CentrePoint(view);
    ASSERT_TRUE(view.SetZoom(1, FALSE));
    EXPECT_EQ(view.GetZoom(), 2.0f);
    EXPECT_EQ(pPicture->GetScrollX(), 160);
    EXPECT_EQ(pPicture->GetScrollY(), 120);
    EXPECT_NEAR(CentrePoint(view).x(), centre.x(), 1.0);
    EXPECT_NEAR(CentrePoint(view).y(), centre.y(), 1.0);
    // The scroll bars stand where the picture is scrolled to.
    EXPECT_EQ(view.GetScrollPosition(), CPoint(320, 240));
    ExpectShows(shell.Paint(), view, "zoom 2");

    // Arrow key right: one line (the map's width / 100 / zoom^2 picture
    // pixels); Page Down: one page (height / 8 / zoom^2).
    view.OnKeyDown(VK_RIGHT, 1, 0);
    EXPECT_EQ(pPicture->GetScrollX(), 160 + 10);
    view.OnVScroll(SB_PAGEDOWN, 0, nullptr);
    EXPECT_EQ(pPicture->GetScrollY(), 120 + 80);
    EXPECT_EQ(view.GetScrollPosition(), CPoint(340, 400));
    ExpectShows(shell.Paint(), view, "zoom 2 after scrolling");

    // Out to the smallest scale: the whole map fits, the scroll goes back to
    // 0 and the ground beyond the map is black.
    ASSERT_TRUE(view.SetZoom(CKDRGameMap::kZoomToMinimum, FALSE));
    EXPECT_EQ(view.GetZoom(), 0.25f);
    EXPECT_TRUE(view.m_bAtMaxZoomOut);
    EXPECT_EQ(pPicture->GetScrollX(), 0);
    EXPECT_EQ(pPicture->GetScrollY(), 0);
    shown = shell.Paint();
    ExpectShows(shown, view, "zoom 0.25");
    EXPECT_EQ(shown.pixel(600, 400) & 0xFFFFFF, 0u);

    // Points left of or above the picture round to the nearest pixel too:
    // -3 picture pixels are -0.75 client pixels, which is -1, not 0.
    int x = 0;
    int y = 0;
    view.PictureToClient(-3, -2, &x, &y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, 0);
}

TEST(ViewPaint, ZoomStepsKeepTheirLimitsAndTheCentre)
{
    CStartDir dir;
    CViewShell shell(dir.Path(), 640, 480);
    ASSERT_TRUE(shell.OpenTestMap());
    CKDRView& view = shell.View();
    CMapPicture* pPicture = shell.Doc().GetGameMap()->GetMapPicture();

    // Centre somewhere inside, then walk every level in and out.
    ASSERT_TRUE(view.CenterOnMapPoint(1000, 700));
    EXPECT_EQ(pPicture->GetScrollX(), 1000 - (640 / 2 + 1));
    EXPECT_EQ(pPicture->GetScrollY(), 700 - (480 / 2 + 1));
    const struct
    {
        int code;
        float zoom;
        BOOL atMaxIn;
        BOOL atMaxOut;
    } steps[] = {
        {1, 2.0f, FALSE, FALSE},  {1, 4.0f, FALSE, FALSE},   {2, 8.0f, TRUE, FALSE},    {1, 8.0f, TRUE, FALSE},
        {-1, 4.0f, FALSE, FALSE}, {-88, 1.0f, FALSE, FALSE}, {-1, 0.5f, FALSE, FALSE},  {0, 0.25f, FALSE, TRUE},
        {-5, 0.25f, FALSE, TRUE}, {99, 8.0f, TRUE, FALSE},   {-99, 0.25f, FALSE, TRUE}, {-88, 1.0f, FALSE, FALSE},
    };
    for (const auto& step : steps)
    {
        const QPointF before = CentrePoint(view);
        ASSERT_TRUE(view.SetZoom(step.code, FALSE)) << step.code;
        EXPECT_EQ(view.GetZoom(), step.zoom) << step.code;
        EXPECT_EQ(view.m_bAtMaxZoomIn, step.atMaxIn) << step.code;
        EXPECT_EQ(view.m_bAtMaxZoomOut, step.atMaxOut) << step.code;
        // Where the map is wider than the window the centre is kept; where
        // it fits the scroll is 0.
        if (kWidth * step.zoom > 640)
        {
            EXPECT_NEAR(CentrePoint(view).x(), before.x(), 2.0 / step.zoom + 1.0) << step.code;
        }
        else
        {
            EXPECT_EQ(pPicture->GetScrollX(), 0) << step.code;
        }
        if (kHeight * step.zoom <= 480)
        {
            EXPECT_EQ(pPicture->GetScrollY(), 0) << step.code;
        }
    }
}

TEST(ViewPaint, ScrollBarCodesMoveThePictureAndTheBars)
{
    CStartDir dir;
    CViewShell shell(dir.Path(), 640, 480);
    ASSERT_TRUE(shell.OpenTestMap());
    CKDRView& view = shell.View();
    CMapPicture* pPicture = shell.Doc().GetGameMap()->GetMapPicture();
    // The largest scroll of the bars is the map less the window; the
    // picture's own clamp keeps one pixel more in view. Steps forward are
    // cut at the first and added; jumps and steps back go through the second.
    const int maxX = kWidth - 640;
    const int maxY = kHeight - 480;
    const int clampX = maxX - 1;
    const int clampY = maxY - 1;

    const struct
    {
        BOOL horizontal;
        UINT code;
        UINT pos;
        int expected;
    } table[] = {
        {TRUE, SB_LINELEFT, 0, 0},
        {TRUE, SB_LINERIGHT, 0, 19},  // 1920 / 100 = 19.2
        {TRUE, SB_PAGERIGHT, 0, 19 + 480},
        {TRUE, SB_THUMBTRACK, 700, 700},
        {TRUE, SB_THUMBPOSITION, 5000, clampX},
        {TRUE, SB_LEFT, 0, 0},
        {TRUE, SB_RIGHT, 0, clampX},
        {TRUE, SB_LINERIGHT, 0, maxX},
        {TRUE, SB_PAGELEFT, 0, maxX - 480},
        {TRUE, SB_ENDSCROLL, 0, maxX - 480},
        {FALSE, SB_LINEDOWN, 0, 13},
        {FALSE, SB_PAGEDOWN, 0, 13 + 160},  // 1280 / 100, 1280 / 8
        {FALSE, SB_BOTTOM, 0, clampY},
        {FALSE, SB_LINEUP, 0, clampY - 13},
        {FALSE, SB_TOP, 0, 0},
    };
    for (const auto& row : table)
    {
        if (row.horizontal)
            view.OnHScroll(row.code, row.pos, nullptr);
        else
            view.OnVScroll(row.code, row.pos, nullptr);
        const int scroll = row.horizontal ? pPicture->GetScrollX() : pPicture->GetScrollY();
        EXPECT_EQ(scroll, row.expected) << (row.horizontal ? "H" : "V") << " code " << row.code;
        EXPECT_EQ(view.GetScrollPosition(), CPoint(pPicture->GetScrollX(), pPicture->GetScrollY()));
    }
    ExpectShows(shell.Paint(), view, "after the scroll bars");

    // Home and End go to the corners; the mouse wheel scrolls by lines.
    view.OnKeyDown(VK_END, 1, 0);
    EXPECT_EQ(pPicture->GetScrollX(), clampX);
    EXPECT_EQ(pPicture->GetScrollY(), clampY);
    EXPECT_TRUE(view.OnMouseWheel(0, 120, CPoint()));
    EXPECT_EQ(pPicture->GetScrollY(), clampY - 13);
    view.HandleKeyDown(VK_HOME, 1, 0);
    EXPECT_EQ(pPicture->GetScrollX(), 0);
    EXPECT_EQ(pPicture->GetScrollY(), 0);
    ExpectShows(shell.Paint(), view, "at home");
}

TEST(ViewPaint, SeveralRedrawRequestsCostOnePaint)
{
    CStartDir dir;
    CViewShell shell(dir.Path(), 320, 240);
    ASSERT_TRUE(shell.OpenTestMap());
    CCountingView& view = shell.View();
    CViewShell::Spin();
    const int before = view.m_nPaints;
    for (int i = 0; i < 10; ++i)
        view.RedrawMap(i % 2);
    view.OnKeyDown(VK_RIGHT, 1, 0);
    CViewShell::Spin();
    EXPECT_EQ(view.m_nPaints, before + 1);
    CViewShell::Spin();
    EXPECT_EQ(view.m_nPaints, before + 1);
}

TEST(ViewPaint, AResizedWindowGetsABackSurfaceOfItsSize)
{
    CStartDir dir;
    CViewShell shell(dir.Path(), 400, 300);
    ASSERT_TRUE(shell.OpenTestMap());
    CKDRView& view = shell.View();
    ASSERT_EQ(shell.Display().GetWidth(), 400);
    ASSERT_TRUE(view.SetZoom(1, FALSE));

    shell.ResizeClient(720, 560);
    CRect rc;
    view.GetClientRect(&rc);
    ASSERT_EQ(rc.Width(), 720);
    EXPECT_EQ(shell.Display().GetWidth(), 720);
    EXPECT_EQ(shell.Display().GetHeight(), 560);
    EXPECT_EQ(shell.Display().GetBackSurface()->GetWidth(), 720);
    CMapPicture* pPicture = shell.Doc().GetGameMap()->GetMapPicture();
    EXPECT_EQ(pPicture->GetDisplayWidth(), 720);
    EXPECT_EQ(pPicture->GetDisplayHeight(), 560);
    // Client and back surface agree again: conversions are plain zoom.
    int px = 0;
    int py = 0;
    view.ClientToPicture(700, 500, &px, &py);
    EXPECT_EQ(px, 350);
    EXPECT_EQ(py, 250);
    const QImage shown = shell.Paint();
    ASSERT_EQ(shown.size(), QSize(720, 560));
    ExpectShows(shown, view, "after the resize");
}

TEST(ViewPaint, WithoutAMapNothingMoves)
{
    CStartDir dir;
    CViewShell shell(dir.Path(), 320, 240);
    CKDRView& view = shell.View();
    int px = 0;
    int py = 0;
    view.ClientToPicture(10, 10, &px, &py);
    EXPECT_EQ(px, -99);
    EXPECT_EQ(py, -99);
    int x = 5;
    int y = 6;
    view.PictureToClient(10, 10, &x, &y);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
    EXPECT_FALSE(view.SetZoom(1, FALSE));
    EXPECT_FALSE(view.CenterOnMapPoint(10, 10));
    EXPECT_EQ(view.GetZoom(), 1.0f);
    const QImage before = shell.Paint();
    view.OnHScroll(SB_LINERIGHT, 0, nullptr);
    view.OnKeyDown(VK_DOWN, 1, 0);
    const QImage shown = shell.Paint();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown, before);
}

// The start picture's place in a client rectangle: as large as fits, its
// proportions (4 : 3) kept, centred.
TEST(ViewPaint, TheStartPictureFitsTheWindowKeepingItsProportions)
{
    struct Case
    {
        CRect client;
        CRect expected;
    };
    const Case cases[] = {
        {CRect(0, 0, 800, 600), CRect(0, 0, 800, 600)},          // its own size
        {CRect(0, 0, 1600, 1000), CRect(133, 0, 1466, 1000)},    // wide: bars left and right
        {CRect(0, 0, 800, 1000), CRect(0, 200, 800, 800)},       // tall: bars above and below
        {CRect(0, 0, 400, 300), CRect(0, 0, 400, 300)},          // smaller than the picture
        {CRect(50, 20, 1050, 720), CRect(83, 20, 1016, 720)},    // scrolled client rectangle
        {CRect(0, 0, 0, 300), CRect(0, 0, 0, 0)},                // nothing to fit into
    };
    for (const Case& c : cases)
    {
        const CRect fit = FitStartPicture(c.client);
        EXPECT_EQ(fit, c.expected) << c.client.Width() << " x " << c.client.Height();
    }
}

// With no mission open the window shows the start picture centred and
// scaled to fit, black beside it, and fitted anew when the window changes
// size; the picture is the game's title, drawn the same on every run.
TEST(ViewPaint, WithoutAMissionTheStartPictureIsShown)
{
    CStartDir dir;
    CViewShell shell(dir.Path(), 1000, 700);
    CBitmap picture;
    QImage shown = shell.Paint();
    ASSERT_EQ(shown.size(), QSize(1000, 700));
    ASSERT_TRUE(picture.LoadBitmap(IDB_START_PICTURE)) << "the paint made the resource";
    const QImage& expected = *picture.GetImage();
    ASSERT_EQ(expected.size(), QSize(START_PICTURE_WIDTH, START_PICTURE_HEIGHT));

    // Each window size: the picture where FitStartPicture puts it, matching
    // the picture scaled smoothly to that size away from its fine lines
    // (mean difference per channel), and black beside it.
    for (const QSize& size : {QSize(1000, 700), QSize(1400, 600), QSize(700, 900)})
    {
        SCOPED_TRACE(testing::Message() << size.width() << " x " << size.height());
        shell.ResizeClient(size.width(), size.height());
        shown = shell.Paint();
        ASSERT_EQ(shown.size(), size);
        const CRect fit = FitStartPicture(CRect(0, 0, size.width(), size.height()));
        const QImage scaled = expected.scaled(fit.Width(), fit.Height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        long long nDifference = 0;
        int nSamples = 0;
        for (int y = 4; y < fit.Height() - 4; y += 13)
            for (int x = 4; x < fit.Width() - 4; x += 11)
            {
                const QRgb a = shown.pixel(fit.left + x, fit.top + y);
                const QRgb b = scaled.pixel(x, y);
                nDifference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
                nSamples += 3;
            }
        EXPECT_LT(static_cast<double>(nDifference) / nSamples, 12.0);
        const QPoint beside[] = {QPoint(fit.left - 1, size.height() / 2), QPoint(fit.right, size.height() / 2),
                                 QPoint(size.width() / 2, fit.top - 1), QPoint(size.width() / 2, fit.bottom)};
        for (const QPoint& p : beside)
        {
            if (QRect(QPoint(0, 0), size).contains(p))
            {
                EXPECT_EQ(shown.pixel(p) & 0xFFFFFF, 0u) << p.x() << ", " << p.y();
            }
        }
        // The picture's own frame lies on the fitted rectangle's edge, not black.
        EXPECT_NE(shown.pixel(fit.left + fit.Width() / 2, fit.top + fit.Height() / 2) & 0xFFFFFF, 0u);
    }

    // The title stands in light letters on the dark band across the middle.
    int nLetterPixels = 0;
    for (int y = 210; y < 330; ++y)
        for (int x = 0; x < START_PICTURE_WIDTH; ++x)
            if (qRed(expected.pixel(x, y)) > 200 && qGreen(expected.pixel(x, y)) > 180)
                ++nLetterPixels;
    EXPECT_GT(nLetterPixels, 3000);
    EXPECT_LT(qRed(expected.pixel(20, 215)), 60) << "the band under the title is dark";

    // Drawn again, it is the same picture.
    CBitmap again;
    ASSERT_TRUE(again.CreateBitmap(START_PICTURE_WIDTH, START_PICTURE_HEIGHT));
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap* pOld = dc.SelectObject(&again);
    DrawStartPicture(&dc);
    dc.SelectObject(pOld);
    EXPECT_EQ(*again.GetImage(), expected);
}

TEST(ViewPaint, TheRubberBandIsDrawnOverTheMap)
{
    CStartDir dir;
    CViewShell shell(dir.Path(), 320, 240);
    ASSERT_TRUE(shell.OpenTestMap());
    CKDRView& view = shell.View();
    view.m_bRubberBand = TRUE;
    view.m_ptRubberStart = CPoint(40, 40);
    view.m_ptRubberEnd = CPoint(200, 150);
    const QImage shown = shell.Paint();
    // On the band's edge the map's colour is changed; inside it is not.
    EXPECT_NE(shown.pixel(120, 40) & 0xFFFFFF, ColorAt(120, 40) & 0xFFFFFF);
    EXPECT_NE(shown.pixel(40, 100) & 0xFFFFFF, ColorAt(40, 100) & 0xFFFFFF);
    EXPECT_EQ(shown.pixel(110, 90) & 0xFFFFFF, ColorAt(110, 90) & 0xFFFFFF);
    // The lent context went back.
    EXPECT_FALSE(shell.App().m_bSurfaceDCLent);
}

TEST(ViewPaint, TheIdleStepScrollsWhileTheMouseRestsAtAnEdge)
{
    CStartDir dir;
    CViewShell shell(dir.Path(), 640, 480);
    ASSERT_TRUE(shell.OpenTestMap());
    CKDRView& view = shell.View();
    CMapPicture* pPicture = shell.Doc().GetGameMap()->GetMapPicture();
    QWidget* pFrame = shell.App().GetMainFrame()->GetWidget();
    QApplication::setActiveWindow(pFrame);
    CViewShell::Spin();
    if (CWnd::GetActiveWindow() == nullptr)
        GTEST_SKIP() << "the platform activates no window";
    ASSERT_TRUE(shell.App().m_bAutoScroll);

    // Points in the view's client coordinates: the map is (0, 0)-(640, 480),
    // its vertical scroll bar lies right of it and the horizontal one below.
    // The mouse moves there as the player's would: the idle step reads
    // where the last mouse event left the cursor.
    auto restAt = [&view](int x, int y)
    {
        QWidget* pWidget = view.GetWidget();
        const QPointF local(x, y);
        QMouseEvent event(QEvent::MouseMove, local, pWidget->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(pWidget, &event);
        CPoint pt(x, y);
        view.ClientToScreen(&pt);
        CPoint ptLast;
        return GetLastCursorPos(&ptLast) && ptLast == pt;
    };
    ASSERT_TRUE(restAt(640 - 2, 240));

    // On the map beside its right edge.
    EXPECT_TRUE(shell.App().IdleStep());
    EXPECT_EQ(shell.App().m_nHScrollDecision, static_cast<int>(SB_LINERIGHT));
    EXPECT_EQ(pPicture->GetScrollX(), 19);
    EXPECT_EQ(pPicture->GetScrollY(), 0);
    EXPECT_TRUE(shell.App().IdleStep());
    EXPECT_EQ(pPicture->GetScrollX(), 38);
    EXPECT_EQ(view.GetScrollPosition(), CPoint(38, 0));

    // On the map above its bottom edge.
    ASSERT_TRUE(restAt(320, 480 - 2));
    EXPECT_TRUE(shell.App().IdleStep());
    EXPECT_EQ(shell.App().m_nVScrollDecision, static_cast<int>(SB_LINEDOWN));
    EXPECT_EQ(pPicture->GetScrollY(), 13);  // one line: the map height / 100

    // Resting on a scroll bar scrolls nothing, wherever on the bar.
    const CPoint onBars[] = {CPoint(320, 480 + 4), CPoint(640 - 2, 480 + 4), CPoint(5, 480 + 4),
                             CPoint(640 + 4, 240), CPoint(640 + 4, 480 - 2), CPoint(640 + 4, 5)};
    for (const CPoint& pt : onBars)
    {
        ASSERT_TRUE(restAt(pt.x, pt.y));
        EXPECT_TRUE(shell.App().IdleStep());
        EXPECT_EQ(shell.App().m_nHScrollDecision, kUnset) << pt.x << ", " << pt.y;
        EXPECT_EQ(shell.App().m_nVScrollDecision, kUnset) << pt.x << ", " << pt.y;
    }
    EXPECT_EQ(pPicture->GetScrollX(), 38);
    EXPECT_EQ(pPicture->GetScrollY(), 13);

    // Without auto-scroll the mouse at the edge moves nothing.
    ASSERT_TRUE(restAt(640 - 2, 240));
    shell.App().m_bAutoScroll = FALSE;
    EXPECT_TRUE(shell.App().IdleStep());
    EXPECT_EQ(pPicture->GetScrollX(), 38);
}

TEST(ViewPaint, TheZoomCommandsReachTheViewFromTheMainWindow)
{
    CStartDir dir;
    CViewShell shell(dir.Path(), 320, 240);
    CFrameWnd* pFrame = shell.App().GetMainFrame();
    auto enabled = [pFrame](UINT id)
    {
        CCmdUI ui(id);
        ui.DoUpdate(pFrame, TRUE);
        return ui.m_bEnabled;
    };
    // Nothing to zoom without a map.
    EXPECT_FALSE(enabled(ID_VIEW_ZOOM_IN));
    EXPECT_FALSE(enabled(ID_VIEW_ZOOM_OUT));
    EXPECT_FALSE(enabled(ID_VIEW_ZOOM_NORMAL));

    ASSERT_TRUE(shell.OpenTestMap());
    CKDRView& view = shell.View();
    EXPECT_TRUE(enabled(ID_VIEW_ZOOM_IN));
    EXPECT_TRUE(enabled(ID_VIEW_ZOOM_OUT));
    EXPECT_FALSE(enabled(ID_VIEW_ZOOM_NORMAL));  // at exactly 1.0

    const struct
    {
        UINT id;
        float zoom;
        bool in;
        bool out;
    } table[] = {
        {ID_VIEW_ZOOM_IN, 2.0f, true, true},     {ID_VIEW_ZOOM_IN, 4.0f, true, true},
        {ID_VIEW_ZOOM_IN, 8.0f, false, true},    {ID_VIEW_ZOOM_NORMAL, 1.0f, true, true},
        {ID_VIEW_ZOOM_OUT, 0.5f, true, true},    {ID_VIEW_ZOOM_OUT, 0.25f, true, false},
        {ID_VIEW_ZOOM_NORMAL, 1.0f, true, true},
    };
    for (const auto& row : table)
    {
        EXPECT_TRUE(pFrame->SendCommand(row.id)) << row.id;
        EXPECT_EQ(view.GetZoom(), row.zoom) << row.id;
        EXPECT_EQ(enabled(ID_VIEW_ZOOM_IN), row.in) << row.id;
        EXPECT_EQ(enabled(ID_VIEW_ZOOM_OUT), row.out) << row.id;
        EXPECT_EQ(enabled(ID_VIEW_ZOOM_NORMAL), row.zoom != 1.0f) << row.id;
    }
}

// Every layer goes through the document; components that draw nothing yet
// leave the map as it is, whatever the view asks of them.
TEST(ViewPaint, LayersOfComponentsThatDrawNothingLeaveTheMap)
{
    CStartDir dir;
    CViewShell shell(dir.Path(), 320, 240);
    ASSERT_TRUE(shell.OpenTestMap());
    CKDRDoc& doc = shell.Doc();
    doc.SetDatabase(new CKDRDatabase);
    doc.SetUnits(new CKDRUnits);
    doc.SetObstacles(new CKDRObstacles);
    doc.SetHoles(new CKDRHoles);
    doc.SetOpord(new CKDROpord);
    CKDRView& view = shell.View();
    view.m_bEnemySitTemp = TRUE;
    view.m_bShowDestroyed = TRUE;
    view.m_bShowAllPaths = TRUE;
    view.m_bGroupLOS = TRUE;
    view.m_strElementPath = "1st Platoon";
    view.m_bSelectUnits = TRUE;
    view.m_pSelection = new CTaskOrgArray;
    view.m_bFireMissionPlanning = TRUE;
    view.m_bLOSFan = TRUE;
    view.m_fLOSX = 500.0f;
    view.m_nLOSKind = 0;
    view.m_bMaxRangeMode = TRUE;
    view.m_fMaxRangeX = 700.0f;
    view.m_nModeKind = 0;
    shell.App().m_bAIEditing = TRUE;
    for (BOOL vehicles : {TRUE, FALSE})
    {
        view.m_bShowVehicles = vehicles;
        ExpectShows(shell.Paint(), view, vehicles ? "vehicles shown" : "vehicles hidden");
    }
    // While a mission opens only the picture is drawn.
    view.m_bLoading = TRUE;
    ExpectShows(shell.Paint(), view, "loading");
    view.m_bLoading = FALSE;
    shell.App().m_bAIEditing = FALSE;
}

// While the back surface differs from the client area it is stretched over
// it, and the conversions carry the same factor: the map pixel a conversion
// names is the one shown there.
TEST(ViewPaint, ConversionsAgreeWithAStretchedBackSurface)
{
    CStartDir dir;
    CViewShell shell(dir.Path(), 640, 480);
    ASSERT_TRUE(shell.OpenTestMap());
    CKDRView& view = shell.View();
    ASSERT_TRUE(shell.Display().Init(&view, 320, 240));
    CMapPicture* pPicture = shell.Doc().GetGameMap()->GetMapPicture();
    pPicture->SetDisplaySize(320, 240);
    ASSERT_TRUE(view.SetZoom(1, FALSE));

    int px = 0;
    int py = 0;
    view.ClientToPicture(640, 480, &px, &py);
    EXPECT_EQ(px, 160);  // 640 client pixels are 320 back-surface pixels, 160 at zoom 2
    EXPECT_EQ(py, 120);
    int x = 0;
    int y = 0;
    view.PictureToClient(160, 120, &x, &y);
    EXPECT_EQ(x, 640);
    EXPECT_EQ(y, 480);

    const QImage shown = shell.Paint();
    ASSERT_EQ(shown.size(), QSize(640, 480));
    int checked = 0;
    for (int cy = 10; cy < 480; cy += 37)
    {
        for (int cx = 10; cx < 640; cx += 41)
        {
            view.ClientToPicture(cx, cy, &px, &py);
            const int mx = pPicture->GetScrollX() + px;
            const int my = pPicture->GetScrollY() + py;
            if (mx % kTile < 2 || mx % kTile > kTile - 3 || my % kTile < 2 || my % kTile > kTile - 3)
                continue;
            EXPECT_EQ(shown.pixel(cx, cy) & 0xFFFFFF, ColorAt(mx, my) & 0xFFFFFF) << cx << ", " << cy;
            ++checked;
        }
    }
    EXPECT_GT(checked, 50);
}
