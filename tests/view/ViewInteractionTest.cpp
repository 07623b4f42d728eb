// The map view's commands and mouse on the demo mission, driven through the
// real windows by scripted events: the pending order modes and the toolbar
// that follows them, the command gate, the Escape key, the rubber band and
// the deployment drags of obstacles (a dragged selection stays exactly
// under the cursor), the number keys' groups, the status text, and the
// handlers doing nothing without a map, outside the client area or without
// a map picture.
#include "ViewTestSupport.h"

#include "app/GameClock.h"
#include "app/KDRCommandIds.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/Obstacle.h"
#include "battlefield/ObstacleArray.h"
#include "battlefield/ObstacleDlg.h"
#include "hierarchy/TaskOrg.h"
#include "support/DemoInstall.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace
{
// The demo's own wire obstacle (own side, index 1) and the enemy's crater.
constexpr float kWireX = 1800.0f;
constexpr float kWireY = 1150.0f;
constexpr int kWireIndex = 1;

// The running application on the demo mission, with a scripted UI.
class CDemoMap
{
public:
    explicit CDemoMap(const char* tag) : m_demo(tag)
    {
        m_ui.SetFailureHandler([](const CString&) {});  // sound may be missing here
        m_pScope = std::make_unique<CUiServiceScope>(&m_ui);
        m_pApp = std::make_unique<CKDRApp>();
    }
    ~CDemoMap()
    {
        if (m_pApp != nullptr && m_pApp->m_pMainWnd != nullptr)
            m_pApp->m_pMainWnd->DestroyWindow();
        CWnd::FlushDeferredDeletes();
        m_pApp.reset();
        m_pScope.reset();
    }
    // Starts the program; with bOpen the demo mission is opened.
    bool Start(bool bOpen)
    {
        if (!m_demo.Write() || !m_pApp->InitInstance())
            return false;
        return !bOpen || m_pApp->OpenDocumentFile(m_demo.Scenario().string().c_str()) != nullptr;
    }

    CKDRApp& App() { return *m_pApp; }
    CKDRDoc& Doc() { return *m_pApp->GetActiveDocument(); }
    CKDRView& View() { return *m_pApp->GetActiveView(); }
    CMainFrame& Frame() { return *dynamic_cast<CMainFrame*>(m_pApp->GetMainFrame()); }
    QWidget* Widget() { return View().GetWidget(); }

    // The client point of a map point (the back surface is the client
    // area's size; two metres to a picture pixel).
    QPointF ClientOf(float fX, float fY)
    {
        CMapPicture* pPicture = Doc().GetGameMap()->GetMapPicture();
        CElevationMap* pElevation = Doc().GetGameMap()->GetElevationMap();
        const double zoom = View().GetZoom();
        const double px = fX / 2.0 - pPicture->GetScrollX();
        const double py = (pElevation->GetHeight() - fY) / 2.0 - pPicture->GetScrollY();
        return QPointF(px * zoom, py * zoom);
    }
    // Scrolls so that the map point lies near the window's middle.
    void CentreOn(float fX, float fY)
    {
        int px = 0, py = 0;
        Doc().GetGameMap()->GetElevationMap()->MapToPixel(fX, fY, &px, &py);
        View().CenterOnMapPoint(px, py);
    }

    void Mouse(QEvent::Type type, QPointF pt, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, pt, Widget()->mapToGlobal(pt), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                          mods);
        QCoreApplication::sendEvent(Widget(), &event);
    }
    void Press(QPointF pt, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        Mouse(QEvent::MouseButtonPress, pt, Qt::LeftButton, mods);
    }
    void MoveTo(QPointF pt) { Mouse(QEvent::MouseMove, pt); }
    void Release(QPointF pt) { Mouse(QEvent::MouseButtonRelease, pt); }
    void Key(Qt::Key key, QEvent::Type type, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QKeyEvent event(type, key, mods);
        QCoreApplication::sendEvent(Widget(), &event);
    }
    void Click(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        Key(key, QEvent::KeyPress, mods);
        Key(key, QEvent::KeyRelease, mods);
        CViewShell::Spin();  // commands of accelerators arrive as posted messages
    }
    void Command(UINT nId)
    {
        Frame().SendCommand(nId);
        CViewShell::Spin();
    }
    // The update handler's answer for a command, as the menu shows it.
    CCmdUI Update(UINT nId)
    {
        CCmdUI ui(nId);
        ui.DoUpdate(&Frame(), TRUE);
        return ui;
    }

    CObstacle* OwnObstacle(int nIndex)
    {
        CObstacleArray* pArray = Doc().GetObstacles()->GetSideArray(0);
        return pArray != nullptr ? pArray->GetAt(nIndex) : nullptr;
    }

    CScriptedUi m_ui;

private:
    CDemoInstall m_demo;
    std::unique_ptr<CUiServiceScope> m_pScope;
    std::unique_ptr<CKDRApp> m_pApp;
};

#define START_DEMO(map, open)                                                                                          \
    if (!CDemoInstall::WriterBuilt())                                                                                  \
        GTEST_SKIP() << "the demo writer is not built";                                                                \
    ASSERT_TRUE(map.Start(open))
}  // namespace

TEST(ViewInteraction, EachOrderCommandLeavesItsModePendingAndTheSecondChoiceLeavesIt)
{
    CDemoMap map("view-modes");
    START_DEMO(map, true);
    CKDRView& view = map.View();
    const struct
    {
        UINT nId;
        DWORD dwBit;
    } modes[] = {
        {ID_ORDERS_STOP, 0x1},
        {ID_ORDERS_HOLD_FIRE, 0x2},
        {ID_ORDERS_DEFILADE, 0x4},
        {ID_ORDERS_SPRINT, 0x8},
        {ID_ORDERS_SMOKE, 0x20},
        {ID_SOP_MAX_RANGE, 0x80},
        {ID_SOP_FIELD_OF_FIRE, 0x100},
        {ID_SOP_MARCH_SPEED, 0x200},
        {ID_SOP_HIDE_ON_CONTACT, 0x400},
        {ID_SOP_ENGAGE_ON_CONTACT, 0x800},
        {ID_SOP_BYPASS_OBSTACLES, 0x1000},
        {ID_SOP_DISMOUNT_ON_CONTACT, 0x2000},
        {ID_SOP_DO_NOT_EMPLACE, 0x4000},
        {ID_ACTIONS_DISMOUNT, 0x8000},
        {ID_SOP_SUPPRESS, 0x10000},
    };
    for (const auto& m : modes)
    {
        SCOPED_TRACE(m.nId);
        map.Command(m.nId);
        EXPECT_EQ(view.GetInteractionMode(), m.dwBit);
        EXPECT_EQ(map.Update(m.nId).m_nCheck, 1);
        // The toolbar shows the orders' buttons while a mode is pending.
        EXPECT_EQ(map.Frame().GetToolbarMode(), CKDRView::kToolbarOrders);
        EXPECT_GE(map.Frame().GetToolBar()->CommandToIndex(ID_SOP_MARCH_SPEED), 0);
        map.Command(m.nId);
        EXPECT_EQ(view.GetInteractionMode(), 0u);
        EXPECT_EQ(map.Update(m.nId).m_nCheck, 0);
        EXPECT_EQ(map.Frame().GetToolbarMode(), CKDRView::kToolbarNormal);
        EXPECT_LT(map.Frame().GetToolBar()->CommandToIndex(ID_SOP_MARCH_SPEED), 0);
    }

    // Stop, then Sprint: only Sprint stays.
    map.Command(ID_ORDERS_STOP);
    map.Command(ID_ORDERS_SPRINT);
    EXPECT_EQ(view.GetInteractionMode(), 0x8u);
    EXPECT_EQ(map.Update(ID_ORDERS_STOP).m_nCheck, 0);
    // Creep is shown but never enabled.
    EXPECT_FALSE(map.Update(ID_ORDERS_CREEP).m_bEnabled);
}

TEST(ViewInteraction, TheToolbarsOfTheFourModesHaveTheirButtonsAndImages)
{
    CDemoMap map("view-toolbar");
    START_DEMO(map, false);
    const struct
    {
        int nMode;
        int nButtons;
        UINT nBitmap;
        UINT nOwnButton;  // a button only this mode's bar has
    } bars[] = {
        {CKDRView::kToolbarPathEdit, 40, 134, ID_EDIT_CUT},
        {CKDRView::kToolbarFireMission, 37, 147, ID_ACTIONS_FM_LOG},
        {CKDRView::kToolbarOrders, 43, 148, ID_SOP_BYPASS_OBSTACLES},
        {CKDRView::kToolbarNormal, 35, 150, 0},
    };
    CToolBar* pBar = map.Frame().GetToolBar();
    ASSERT_NE(pBar, nullptr);
    for (const auto& b : bars)
    {
        SCOPED_TRACE(b.nMode);
        ASSERT_TRUE(map.Frame().SetToolbarForMode(b.nMode));
        EXPECT_EQ(pBar->GetCount(), b.nButtons);
        EXPECT_EQ(pBar->GetItemID(0), ID_FILE_RESTART_MISSION);
        EXPECT_EQ(pBar->GetItemID(b.nButtons - 1), ID_CONTEXT_HELP);
        if (b.nOwnButton != 0)
        {
            EXPECT_GE(pBar->CommandToIndex(b.nOwnButton), 0);
        }
        // One image for every button but the separators.
        int nImages = 0;
        for (int i = 0; i < pBar->GetCount(); ++i)
            nImages += pBar->GetItemID(i) != ID_SEPARATOR ? 1 : 0;
        CBitmap strip;
        ASSERT_TRUE(strip.LoadBitmap(b.nBitmap));
        EXPECT_EQ(strip.GetBitmapDimension().cx, nImages * 16);
    }
    // The status bar: the message pane and the three lock indicators.
    CStatusBar* pStatus = map.Frame().GetStatusBar();
    ASSERT_NE(pStatus, nullptr);
    EXPECT_EQ(pStatus->GetCount(), 4);
    EXPECT_EQ(pStatus->GetItemID(1), ID_INDICATOR_CAPS);
}

TEST(ViewInteraction, TheGateAllowsEachCommandOnlyWhenItMayRun)
{
    CDemoMap map("view-gate");
    START_DEMO(map, true);
    CKDRView& view = map.View();
    map.CentreOn(kWireX, kWireY + 300.0f);
    const QPointF empty = map.ClientOf(kWireX, kWireY + 300.0f);

    // A rubber band in progress: Zoom In stays allowed, the commands that
    // must not run during a drag are refused.
    map.Press(empty);
    ASSERT_TRUE(view.m_bRubberBand);
    view.m_bPathShown = TRUE;  // a unit's path is selected
    view.m_nSelUnit = 0;
    view.m_nSelArray = 0;
    view.m_nSelKind = 0;
    const struct
    {
        UINT nId;
        BOOL bDuringBand;
        BOOL bAfter;
    } rows[] = {
        {ID_VIEW_ZOOM_IN, TRUE, TRUE},         {ID_VIEW_ZOOM_OUT, TRUE, TRUE},
        {ID_EDIT_COPY, FALSE, TRUE},           {ID_EDIT_CUT, FALSE, TRUE},
        {ID_TIME_START, FALSE, TRUE},   // also in the deployment phase
        {ID_TIME_STOP, FALSE, FALSE},   // the clock is not running
        {ID_VIEW_OPTIONS, TRUE, TRUE},  // the clock is not running
        {ID_EDIT_PASTE, FALSE, FALSE},  // nothing was copied
        {ID_VIEW_OVERVIEW_MAP, TRUE, TRUE},    {ID_CANCEL_INTERACTION, TRUE, TRUE},
        {ID_HELP_VEHICLE_SPECS, FALSE, FALSE},  // not the view's
    };
    for (const auto& r : rows)
        EXPECT_EQ(view.IsCommandAllowed(r.nId), r.bDuringBand) << r.nId << " during the band";
    map.Release(empty);
    ASSERT_FALSE(view.m_bRubberBand);
    for (const auto& r : rows)
        EXPECT_EQ(view.IsCommandAllowed(r.nId), r.bAfter) << r.nId << " after the band";

    // Copy, then Paste is allowed for the selected unit.
    map.Command(ID_EDIT_COPY);
    EXPECT_FALSE(view.m_bPathCopied) << "no edited path to copy";
    view.DiscardShownPath();

    // While the clock runs View/Options is refused and Time/Stop allowed.
    map.App().GetGameClock()->Start();
    EXPECT_FALSE(view.IsCommandAllowed(ID_VIEW_OPTIONS));
    EXPECT_FALSE(view.IsCommandAllowed(ID_TIME_START));
    EXPECT_TRUE(view.IsCommandAllowed(ID_TIME_STOP));
    map.App().GetGameClock()->Stop();
    EXPECT_TRUE(view.IsCommandAllowed(ID_VIEW_OPTIONS));

    // Zoom 1:1 is disabled at exactly 1.0 and enabled at any other scale,
    // on the menu and on the toolbar alike.
    ASSERT_TRUE(view.SetZoom(CKDRGameMap::kZoomToNormal, FALSE));
    ASSERT_EQ(view.GetZoom(), 1.0f);
    map.Frame().OnIdleUpdateCmdUI();
    EXPECT_FALSE(map.Update(ID_VIEW_ZOOM_NORMAL).m_bEnabled);
    EXPECT_FALSE(map.Frame().GetToolBar()->IsButtonEnabled(ID_VIEW_ZOOM_NORMAL));
    for (int nCode : {1, -1})
    {
        ASSERT_TRUE(view.SetZoom(CKDRGameMap::kZoomToNormal, FALSE));
        ASSERT_TRUE(view.SetZoom(nCode, FALSE));
        map.Frame().OnIdleUpdateCmdUI();
        EXPECT_TRUE(map.Update(ID_VIEW_ZOOM_NORMAL).m_bEnabled) << view.GetZoom();
        EXPECT_TRUE(map.Frame().GetToolBar()->IsButtonEnabled(ID_VIEW_ZOOM_NORMAL)) << view.GetZoom();
    }
    // At the greatest zoom Zoom In is refused, at the least Zoom Out.
    ASSERT_TRUE(view.SetZoom(CKDRGameMap::kZoomToMaximum, FALSE));
    EXPECT_FALSE(view.IsCommandAllowed(ID_VIEW_ZOOM_IN));
    EXPECT_TRUE(view.IsCommandAllowed(ID_VIEW_ZOOM_OUT));
    ASSERT_TRUE(view.SetZoom(CKDRGameMap::kZoomToMinimum, FALSE));
    EXPECT_TRUE(view.IsCommandAllowed(ID_VIEW_ZOOM_IN));
    EXPECT_FALSE(view.IsCommandAllowed(ID_VIEW_ZOOM_OUT));
}

TEST(ViewInteraction, WithoutAMissionTheMapCommandsAreRefused)
{
    CDemoMap map("view-gate-empty");
    START_DEMO(map, false);
    CKDRView& view = map.View();
    for (UINT nId : {ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT, ID_VIEW_OVERVIEW_MAP, ID_CANCEL_INTERACTION,
                     ID_ACTIONS_FIRE_MISSION, ID_EDIT_SHOW_PATH, ID_EDIT_COPY, ID_VIEW_HIERARCHY_TREE})
        EXPECT_FALSE(view.IsCommandAllowed(nId)) << nId;
    // The handlers do nothing either.
    map.Command(ID_VIEW_ZOOM_IN);
    map.Command(ID_CANCEL_INTERACTION);
    EXPECT_EQ(view.GetZoom(), 1.0f);
}

TEST(ViewInteraction, TheRubberBandSelectsTheOwnObstaclesAndEscapeEndsModeAndSelection)
{
    CDemoMap map("view-band");
    START_DEMO(map, true);
    CKDRView& view = map.View();
    map.CentreOn(kWireX, kWireY);
    CObstacle* pWire = map.OwnObstacle(kWireIndex);
    ASSERT_NE(pWire, nullptr);

    // A Shift click on empty map starts no band.
    const QPointF corner1 = map.ClientOf(kWireX - 200.0f, kWireY + 60.0f);
    const QPointF corner2 = map.ClientOf(kWireX + 200.0f, kWireY - 60.0f);
    map.Press(corner1, Qt::ShiftModifier);
    EXPECT_FALSE(view.m_bRubberBand);
    map.Release(corner1);

    // Stop pending; a band round the wire selects it (no unit is inside).
    map.Command(ID_ORDERS_STOP);
    map.Press(corner1);
    ASSERT_TRUE(view.m_bRubberBand);
    map.MoveTo(QPointF((corner1.x() + corner2.x()) / 2, corner2.y()));
    map.MoveTo(corner2);
    map.Release(corner2);
    EXPECT_FALSE(view.m_bRubberBand);
    ASSERT_TRUE(view.m_bSelectObstacles);
    ASSERT_NE(view.m_pSelection, nullptr);
    EXPECT_EQ(view.m_pSelection->GetSize(), 1);
    EXPECT_NE(view.m_pSelection->FindTaskOrg(kWireIndex, 0), kUnset);
    EXPECT_TRUE(pWire->m_bHighlight);
    EXPECT_EQ(view.GetInteractionMode(), 0x1u);

    // Escape leaves neither the mode nor the selection (nor its highlight).
    map.Click(Qt::Key_Escape);
    EXPECT_EQ(view.GetInteractionMode(), 0u);
    EXPECT_EQ(view.m_pSelection, nullptr);
    EXPECT_FALSE(view.m_bSelectObstacles);
    EXPECT_FALSE(pWire->m_bHighlight);
    EXPECT_EQ(map.Frame().GetToolbarMode(), CKDRView::kToolbarNormal);
}

// Zoomed in, every mouse move is half a metre; a selection dragged a
// hundred times ends exactly the cursor's offset away, in x and in y.
TEST(ViewInteraction, ADraggedObstacleSelectionStaysUnderTheCursor)
{
    CDemoMap map("view-drag");
    START_DEMO(map, true);
    CKDRView& view = map.View();
    CObstacle* pWire = map.OwnObstacle(kWireIndex);
    ASSERT_NE(pWire, nullptr);
    ASSERT_TRUE(view.SetZoom(CKDRGameMap::kZoomToNormal, FALSE));
    ASSERT_TRUE(view.SetZoom(1, FALSE));
    ASSERT_TRUE(view.SetZoom(1, FALSE));
    ASSERT_EQ(view.GetZoom(), 4.0f);
    map.CentreOn(kWireX, kWireY);

    // Select the wire with a band.
    map.Press(map.ClientOf(kWireX - 60.0f, kWireY + 20.0f));
    map.Release(map.ClientOf(kWireX + 60.0f, kWireY - 20.0f));
    ASSERT_TRUE(view.m_bSelectObstacles);

    // Press on it half a metre off its centre: it jumps under the cursor.
    const float fPressX = kWireX + 10.5f;
    const float fPressY = kWireY + 0.5f;
    map.Press(map.ClientOf(fPressX, fPressY));
    ASSERT_TRUE(view.m_bDragObstacles);
    EXPECT_FLOAT_EQ(pWire->m_fX, fPressX);
    EXPECT_FLOAT_EQ(pWire->m_fY, fPressY);
    float fX = fPressX;
    float fY = fPressY;
    for (int i = 0; i < 100; ++i)
    {
        fX += 0.5f;
        fY -= 0.5f;
        map.MoveTo(map.ClientOf(fX, fY));
    }
    map.Release(map.ClientOf(fX, fY));
    EXPECT_FALSE(view.m_bDragObstacles);
    EXPECT_FLOAT_EQ(pWire->m_fX, fX);
    EXPECT_FLOAT_EQ(pWire->m_fY, fY);
    EXPECT_TRUE(map.Doc().IsModified());
}

TEST(ViewInteraction, ASingleObstacleFollowsTheCursorAndEscapeBringsItBack)
{
    CDemoMap map("view-drag-one");
    START_DEMO(map, true);
    CKDRView& view = map.View();
    CObstacle* pWire = map.OwnObstacle(kWireIndex);
    ASSERT_NE(pWire, nullptr);
    map.CentreOn(kWireX, kWireY);

    // Not selected: pressing on it drags it alone to the release point.
    map.Press(map.ClientOf(kWireX, kWireY));
    ASSERT_TRUE(view.m_bDragObstacle);
    map.MoveTo(map.ClientOf(kWireX + 40.0f, kWireY + 20.0f));
    EXPECT_FLOAT_EQ(pWire->m_fX, kWireX + 40.0f);
    map.Release(map.ClientOf(kWireX + 60.0f, kWireY + 30.0f));
    EXPECT_FLOAT_EQ(pWire->m_fX, kWireX + 60.0f);
    EXPECT_FLOAT_EQ(pWire->m_fY, kWireY + 30.0f);
    EXPECT_FALSE(view.m_bDragObstacle);

    // Escape during a drag puts it back where the drag began.
    map.Press(map.ClientOf(kWireX + 60.0f, kWireY + 30.0f));
    map.MoveTo(map.ClientOf(kWireX + 100.0f, kWireY + 50.0f));
    EXPECT_FLOAT_EQ(pWire->m_fX, kWireX + 100.0f);
    map.Click(Qt::Key_Escape);
    EXPECT_FALSE(view.m_bDragObstacle);
    EXPECT_FLOAT_EQ(pWire->m_fX, kWireX + 60.0f);
    EXPECT_FLOAT_EQ(pWire->m_fY, kWireY + 30.0f);
    map.Release(map.ClientOf(kWireX + 100.0f, kWireY + 50.0f));
    EXPECT_FLOAT_EQ(pWire->m_fX, kWireX + 60.0f) << "the release after Escape moves nothing";

    // Once the clock has run, nothing is dragged any more.
    map.App().GetGameClock()->m_tsElapsed = CTimeSpan(1);
    map.Press(map.ClientOf(kWireX + 60.0f, kWireY + 30.0f));
    EXPECT_FALSE(view.m_bDragObstacle);
    map.Release(map.ClientOf(kWireX + 90.0f, kWireY + 30.0f));
    EXPECT_FLOAT_EQ(pWire->m_fX, kWireX + 60.0f);
}

TEST(ViewInteraction, NumberKeysStoreAndRecallTheSelectionAsGroups)
{
    CDemoMap map("view-groups");
    START_DEMO(map, true);
    CKDRView& view = map.View();
    auto* pList = new CTaskOrgArray;
    pList->m_nSide = 0;
    pList->Add(new CTaskOrg(0, 0));
    pList->Add(new CTaskOrg(1, 0));
    DWORD dwMode = 99;
    ASSERT_EQ(view.IssueOrderToSelection(nullptr, pList, dwMode, FALSE, FALSE), 1);
    EXPECT_EQ(dwMode, 0u);

    // Shift+4 stores the selection as group 4.
    map.Key(Qt::Key_Shift, QEvent::KeyPress, Qt::ShiftModifier);
    map.Click(Qt::Key_4, Qt::ShiftModifier);
    map.Key(Qt::Key_Shift, QEvent::KeyRelease);
    EXPECT_EQ(view.m_pSelection, pList) << "storing keeps the selection";

    // 4 recalls it, on the main keyboard and on the keypad alike.
    for (Qt::KeyboardModifiers mods :
         {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::KeypadModifier)})
    {
        map.Click(Qt::Key_Escape);
        ASSERT_EQ(view.m_pSelection, nullptr);
        map.Click(Qt::Key_4, mods);
        ASSERT_NE(view.m_pSelection, nullptr);
        EXPECT_TRUE(view.m_bSelectUnits);
        EXPECT_EQ(view.m_pSelection->GetSize(), 2);
        EXPECT_NE(view.m_pSelection->FindTaskOrg(1, 0), kUnset);
    }
    // A digit without a group drops the selection and recalls nothing.
    map.Click(Qt::Key_7);
    EXPECT_EQ(view.m_pSelection, nullptr);
    // Shift with no selection stores nothing.
    map.Key(Qt::Key_Shift, QEvent::KeyPress, Qt::ShiftModifier);
    map.Click(Qt::Key_5, Qt::ShiftModifier);
    map.Key(Qt::Key_Shift, QEvent::KeyRelease);
    CTaskOrgArray* pRecalled = nullptr;
    EXPECT_EQ(map.Doc().RecallTaskOrgGroup(5, pRecalled), 0);
    delete pRecalled;
}

TEST(ViewInteraction, TheStatusBarShowsWhatLiesUnderTheCursor)
{
    CDemoMap map("view-status");
    START_DEMO(map, true);
    map.CentreOn(kWireX, kWireY);
    CStatusBar* pStatus = map.Frame().GetStatusBar();
    ASSERT_NE(pStatus, nullptr);

    map.MoveTo(map.ClientOf(kWireX, kWireY));
    EXPECT_EQ(pStatus->GetPaneText(0), "Wire");

    // A map point on a whole picture pixel, away from the obstacles.
    int px = 0, py = 0;
    CElevationMap* pElevation = map.Doc().GetGameMap()->GetElevationMap();
    pElevation->MapToPixel(kWireX, kWireY + 400.0f, &px, &py);
    float fX = 0.0f, fY = 0.0f;
    pElevation->PixelToMap(px, py, &fX, &fY);
    map.MoveTo(map.ClientOf(fX, fY));
    const CString strPosition = map.Doc().GetGameMap()->GetPositionText(px, py);
    EXPECT_FALSE(strPosition.IsEmpty());
    EXPECT_EQ(pStatus->GetPaneText(0), strPosition);
}

// Without a map, outside the client area, or on a map without a picture,
// every handler does nothing.
TEST(ViewInteraction, TheHandlersDoNothingWithoutAMapPictureOrOutsideTheWindow)
{
    const struct
    {
        const char* what;
        bool bOpen;
        bool bDropPicture;
        QPointF point;
    } cases[] = {
        {"no map", false, false, QPointF(100, 100)},
        {"outside the client area", true, false, QPointF(-5, 100)},
        {"beyond the client area", true, false, QPointF(100, 5000)},
        {"a map without a picture", true, true, QPointF(100, 100)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        CDemoMap map("view-nothing");
        START_DEMO(map, c.bOpen);
        CKDRView& view = map.View();
        if (c.bDropPicture)
        {
            map.Doc().GetGameMap()->m_strColorTiles.Empty();
            map.Doc().GetGameMap()->m_strContourTiles.Empty();
        }
        const CString strBefore = map.Frame().GetStatusBar()->GetPaneText(0);
        map.Press(c.point);
        // Moves stay on the same side of the client area.
        map.MoveTo(c.point + QPointF(0, 30));
        map.Mouse(QEvent::MouseButtonDblClick, c.point);
        map.Release(c.point + QPointF(0, 30));
        map.Mouse(QEvent::MouseButtonPress, c.point, Qt::RightButton);
        map.Mouse(QEvent::MouseButtonRelease, c.point, Qt::RightButton);
        EXPECT_FALSE(view.m_bRubberBand);
        EXPECT_EQ(view.m_pSelection, nullptr);
        EXPECT_FALSE(view.m_bRightConsumed);
        EXPECT_EQ(map.Frame().GetStatusBar()->GetPaneText(0), strBefore);
        if (c.bOpen)
        {
            EXPECT_FALSE(map.Doc().IsModified());
        }
    }
}

TEST(ViewInteraction, RightClicksEndModesShowALookDuringADragAndEditObstacles)
{
    CDemoMap map("view-right");
    START_DEMO(map, true);
    CKDRView& view = map.View();
    map.CentreOn(kWireX, kWireY);
    CObstacle* pWire = map.OwnObstacle(kWireIndex);
    ASSERT_NE(pWire, nullptr);
    const QPointF empty = map.ClientOf(kWireX, kWireY + 200.0f);
    auto rightClick = [&](QPointF pt)
    {
        map.Mouse(QEvent::MouseButtonPress, pt, Qt::RightButton);
        map.Mouse(QEvent::MouseButtonRelease, pt, Qt::RightButton);
    };

    // LOS Fan: a click on the map is its origin, a right click ends it.
    map.Command(ID_VIEW_LOS_FAN);
    ASSERT_TRUE(view.m_bLOSFan);
    map.Press(empty);
    map.Release(empty);
    EXPECT_FALSE(view.m_bRubberBand);
    EXPECT_NEAR(view.m_fLOSX, kWireX, 0.5f);
    EXPECT_NEAR(view.m_fLOSY, kWireY + 200.0f, 0.5f);
    rightClick(empty);
    EXPECT_FALSE(view.m_bLOSFan);
    EXPECT_EQ(view.m_fLOSX, kUnsetFloat);
    EXPECT_FALSE(view.m_bRightConsumed) << "the button-up took the consumed click";

    // A pending order: a right click leaves it.
    map.Command(ID_SOP_HIDE_ON_CONTACT);
    ASSERT_EQ(view.GetInteractionMode(), 0x400u);
    rightClick(empty);
    EXPECT_EQ(view.GetInteractionMode(), 0u);

    // During a drag a right click shows a line-of-sight fan from the
    // cursor; it goes when the drag ends.
    map.Press(map.ClientOf(kWireX, kWireY));
    ASSERT_TRUE(view.m_bDragObstacle);
    map.MoveTo(map.ClientOf(kWireX + 20.0f, kWireY));
    rightClick(map.ClientOf(kWireX + 20.0f, kWireY));
    EXPECT_TRUE(view.m_bLOSFan);
    EXPECT_NEAR(view.m_fLOSX, kWireX + 20.0f, 0.5f);
    EXPECT_TRUE(view.m_bDragObstacle) << "the look changes nothing of the drag";
    map.Release(map.ClientOf(kWireX + 20.0f, kWireY));
    EXPECT_FALSE(view.m_bLOSFan);
    EXPECT_FLOAT_EQ(pWire->m_fX, kWireX + 20.0f);

    // In the deployment phase a right click on an obstacle edits it.
    map.m_ui.ExpectDialog(IDD_OBSTACLE, IDCANCEL);
    rightClick(map.ClientOf(kWireX + 20.0f, kWireY));
    EXPECT_TRUE(map.m_ui.IsScriptDone()) << map.m_ui.DescribeRemaining().GetString();

    // A right double click never leaves a menu to open.
    map.Mouse(QEvent::MouseButtonDblClick, empty, Qt::RightButton);
    EXPECT_TRUE(view.m_bRightConsumed);
    map.Mouse(QEvent::MouseButtonRelease, empty, Qt::RightButton);
    EXPECT_FALSE(view.m_bRightConsumed);
}
