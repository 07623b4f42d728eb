// The running game asks the window system nothing per unit, per observer
// or per pass: the real program on the demo battle (offscreen windows, the
// main window active, edge scrolling on and the mouse resting at the map's
// right edge) runs 100 passes of its game loop, and the platform's count of
// window-system queries grows by at most one a pass. The edge scroll still
// follows the mouse: it reads where the last mouse event left the cursor.

#include "app/GameClock.h"
#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "platform/core/Random.h"
#include "platform/core/Timer.h"
#include "platform/ui/Frame.h"
#include "platform/ui/ScriptedUi.h"
#include "platform/ui/Wnd.h"
#include "view/KDRView.h"

#include "support/DemoInstall.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace
{
constexpr int kPasses = 100;
constexpr DWORD kPassMs = 250;
// The loop's redraw interval, so the first pass may redraw.
constexpr DWORD kLoopFrameMs = 40;

// The player's mouse moving to a point of the view's client area.
void MoveMouseTo(CKDRView& view, CPoint pt)
{
    QWidget* pWidget = view.GetWidget();
    const QPointF local(pt.x, pt.y);
    QMouseEvent event(QEvent::MouseMove, local, pWidget->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(pWidget, &event);
}
}  // namespace

TEST(WindowSystemQueries, AHundredPassesOfTheDemoBattleAskTheWindowSystemAtMostOnceEach)
{
    if (!CDemoInstall::WriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    const CDemoInstall demo("wsq-demo");
    ASSERT_TRUE(demo.Write());

    CScriptedUi ui;
    ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
    CUiServiceScope scope(&ui);
    CKDRApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_NE(app.OpenDocumentFile(demo.Scenario().string().c_str()), nullptr);
    CKDRDoc* pDoc = app.GetActiveDocument();
    CKDRView* pView = app.GetActiveView();
    ASSERT_NE(pDoc, nullptr);
    ASSERT_NE(pView, nullptr);
    QApplication::setActiveWindow(app.GetMainFrame()->GetWidget());
    app.PumpWaitingMessage();
    if (CWnd::GetActiveWindow() == nullptr)
        GTEST_SKIP() << "the platform activates no window";
    ASSERT_TRUE(app.m_bAutoScroll);

    // The mouse rests on the map beside its right edge.
    CRect rcMap;
    pView->GetClientRect(&rcMap);
    ASSERT_FALSE(rcMap.IsRectEmpty());
    MoveMouseTo(*pView, CPoint(rcMap.right - 2, rcMap.Height() / 2));
    const CPoint ptScrollBefore = pView->GetScrollPosition();
    const BOOL bCanScroll = pView->GetScrollLimit(SB_HORZ) > ptScrollBefore.x;

    // The passes as Time/Start runs them, at 8/1 under the hand-driven
    // counter.
    SRand(2604);
    SetManualTime(1000000);
    app.GetGameClock()->SetRate(8.0f);
    const DWORD dwTick = app.StartClock();
    pDoc->PrepareRun(dwTick);
    pView->m_dwLoopTick = dwTick;
    pView->m_nLoopRemainder = 0;
    pView->m_nEndTestCountdown = 0;
    pView->m_bMissionOver = FALSE;
    pView->m_dwLoopLastRedraw = dwTick - kLoopFrameMs;
    const unsigned long nQueriesBefore = WindowSystemQueryCount();
    int nPasses = 0;
    for (; nPasses < kPasses && app.IsClockRunning(); ++nPasses)
    {
        AdvanceManualTime(kPassMs);
        if (!pView->RunGamePass())
            break;
    }
    const unsigned long nQueries = WindowSystemQueryCount() - nQueriesBefore;
    app.StopClock();
    UseRealTime();

    EXPECT_EQ(nPasses, kPasses);
    EXPECT_LE(nQueries, static_cast<unsigned long>(kPasses));
    // The battle ran: game time passed and units moved.
    EXPECT_GE(app.GetGameClock()->m_tsElapsed.GetTotalSeconds(), 190);
    if (bCanScroll)
    {
        EXPECT_GT(pView->GetScrollPosition().x, ptScrollBefore.x) << "the edge scroll did not follow the mouse";
    }

    app.m_pMainWnd->DestroyWindow();
    CWnd::FlushDeferredDeletes();
}
