// The real program on the demo mission: the application started in a start
// directory of its own (offscreen windows), the demo mission opened, and
// Time/Start run through the main window's commands with the millisecond
// counter driven by hand. The Clock window shows game time advancing at the
// chosen compression while the menus keep working.

#include "app/ClockDlg.h"
#include "app/GameClock.h"
#include "app/KDRApp.h"
#include "app/KDRCommandIds.h"
#include "app/KDRDoc.h"
#include "platform/core/File.h"
#include "platform/core/Timer.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Profile.h"
#include "platform/ui/ScriptedUi.h"
#include "platform/ui/Wnd.h"
#include "view/KDRView.h"

#include "support/DemoInstall.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
struct ClockShown
{
    BOOL bWindow = FALSE;
    CString strGameTime;
    CString strElapsed;
    CString strCompression;
    UINT nStartState = 0;
    UINT nQuitState = 0;
    UINT nFourState = 0;
};

ClockShown ReadClock(CKDRApp& app)
{
    ClockShown shown;
    CClockDlg* pClock = app.GetGameClock()->GetClockDlg();
    shown.bWindow = pClock->IsCreated() && pClock->IsWindowVisible();
    shown.strGameTime = pClock->m_strGameTime;
    shown.strElapsed = pClock->m_strElapsed;
    shown.strCompression = pClock->m_strCompression;
    CFrameWnd* pFrame = app.GetMainFrame();
    CMenu* pMenu = pFrame->GetMenu();
    pMenu->UpdateCommandStates(pFrame);
    shown.nStartState = pMenu->GetMenuState(ID_TIME_START, MF_BYCOMMAND);
    shown.nQuitState = pMenu->GetMenuState(ID_QUIT_MISSION, MF_BYCOMMAND);
    shown.nFourState = pMenu->GetMenuState(ID_TIME_COMPRESSION_4, MF_BYCOMMAND);
    return shown;
}
}  // namespace

TEST(GameLoopDemo, TimeStartAdvancesTheClockWindowAtTheChosenCompression)
{
    if (!CDemoInstall::WriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    const CDemoInstall demo("loop-demo");
    ASSERT_TRUE(demo.Write());
    const fs::path& root = demo.Root();

    CScriptedUi ui;
    ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
    std::vector<ClockShown> seen;
    {
        CUiServiceScope scope(&ui);
        CKDRApp app;
        ASSERT_TRUE(app.InitInstance());
        ASSERT_NE(app.OpenDocumentFile((root / "Data" / "demo.asc").string().c_str()), nullptr);
        CKDRDoc* pDoc = app.GetActiveDocument();
        ASSERT_NE(pDoc, nullptr);
        EXPECT_EQ(pDoc->GetMainMissionName(), "Crossing at Kedravin");
        ASSERT_TRUE(app.IsDeploymentPhase());
        ASSERT_TRUE(app.GetGameClock()->IsClockWindowShown());
        const CString strStart = app.GetGameClock()->GetClockDlg()->m_strGameTime;

        SetManualTime(1000000);
        CFrameWnd* pFrame = app.GetMainFrame();
        // Time/Start as the menu or the G key posts it; every later item is
        // served by one pass of the loop that Time/Start runs.
        app.PostCommand(pFrame, ID_TIME_START);
        app.PostCommand(pFrame, ID_TIME_COMPRESSION_4);
        app.PostWork(&app, [] { AdvanceManualTime(30000); });
        app.PostWork(&app, [&] { seen.push_back(ReadClock(app)); });
        app.PostWork(&app, [] { AdvanceManualTime(15000); });
        app.PostWork(&app, [&] { seen.push_back(ReadClock(app)); });
        app.PostCommand(pFrame, ID_TIME_STOP);
        ui.ExpectMessage("Warning!",
                         "Starting the clock will end\r\nthe deployment phase.\r\nYou will not be able to drag "
                         "move\r\nunits, obstacles, or dug positions.\r\nDo you wish to continue?",
                         IDYES);
        EXPECT_TRUE(app.PumpWaitingMessage());

        EXPECT_FALSE(app.IsClockRunning());
        EXPECT_EQ(app.GetPostedCount(), 0u);
        EXPECT_EQ(app.GetGameClock()->m_tsElapsed.GetTotalSeconds(), 180);
        EXPECT_FALSE(app.IsDeploymentPhase());
        ClockShown after = ReadClock(app);
        EXPECT_EQ(after.strElapsed, "Day 0, 00:03:00");
        EXPECT_EQ(after.nStartState & (MF_CHECKED | MF_GRAYED), 0u);
        EXPECT_EQ(after.nQuitState & MF_GRAYED, 0u);
        EXPECT_EQ(strStart, "140530JUN02");
        UseRealTime();
        app.m_pMainWnd->DestroyWindow();
        CWnd::FlushDeferredDeletes();
    }
    EXPECT_TRUE(ui.IsScriptDone()) << ui.DescribeRemaining().GetString();

    // 30 and 15 real seconds at 4/1: two and three game minutes.
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].bWindow);
    EXPECT_EQ(seen[0].strCompression, "4X");
    EXPECT_EQ(seen[0].strElapsed, "Day 0, 00:02:00");
    EXPECT_EQ(seen[0].strGameTime, "140532JUN02");
    EXPECT_EQ(seen[1].strElapsed, "Day 0, 00:03:00");
    EXPECT_EQ(seen[1].strGameTime, "140533JUN02");
    // While the clock runs Start is checked (and refused: the clock runs
    // already), Quit Mission is refused and the compression item of the
    // chosen rate is checked.
    EXPECT_EQ(seen[0].nStartState & (MF_CHECKED | MF_GRAYED), MF_CHECKED | MF_GRAYED);
    EXPECT_EQ(seen[0].nQuitState & MF_GRAYED, MF_GRAYED);
    EXPECT_EQ(seen[0].nFourState & MF_CHECKED, MF_CHECKED);
}
