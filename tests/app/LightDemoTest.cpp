// The demo mission's light: it opens at 05:30 in morning twilight, which
// the Clock window names "BMNT", and from 06:00 game time the day has come
// and the window shows no light text. The real program runs the clock
// through its menu commands with the millisecond counter driven by hand.

#include "ClockWindowInk.h"

#include "app/ClockDlg.h"
#include "app/GameClock.h"
#include "app/KDRApp.h"
#include "app/KDRCommandIds.h"
#include "app/KDRDoc.h"
#include "battlefield/KDREnvironment.h"
#include "platform/core/File.h"
#include "platform/core/Timer.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Profile.h"
#include "platform/ui/ScriptedUi.h"
#include "platform/ui/Wnd.h"

#include "support/DemoInstall.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{
struct LightShown
{
    CString strGameTime;
    CString strLight;
    int nInk = -1;
    float fFactor = -1.0f;
};

// The painted window is read only outside the game loop: painting turns
// the event loop, which would serve the loop's next posted steps early.
LightShown ReadLight(CKDRApp& app, bool bPainted)
{
    // The units' steps serve window messages within a pass, after the pass
    // has named the light and while each step moves the clock on: a read
    // stands where the next pass would begin and names it afresh.
    app.GetActiveDocument()->UpdateLightCondition();
    LightShown shown;
    CClockDlg* pClock = app.GetGameClock()->GetClockDlg();
    shown.strGameTime = pClock->m_strGameTime;
    shown.strLight = pClock->m_strLight;
    if (bPainted && pClock->IsCreated())
        shown.nInk = LightTextInk(*pClock);
    if (CKDREnvironment* pEnvironment = app.GetActiveDocument()->GetEnvironment())
        shown.fFactor = pEnvironment->GetLightFactor();
    return shown;
}
}  // namespace

TEST(LightDemo, TheDemoDawnShowsBMNTUntilSixAndThenNothing)
{
    if (!CDemoInstall::WriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    const CDemoInstall demo("light-demo");
    ASSERT_TRUE(demo.Write());
    const fs::path& root = demo.Root();

    CScriptedUi ui;
    ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
    std::vector<LightShown> seen;
    {
        CUiServiceScope scope(&ui);
        CKDRApp app;
        ASSERT_TRUE(app.InitInstance());
        ASSERT_NE(app.OpenDocumentFile((root / "Data" / "demo.asc").string().c_str()), nullptr);
        CKDRDoc* pDoc = app.GetActiveDocument();
        ASSERT_NE(pDoc, nullptr);
        CKDREnvironment* pEnvironment = pDoc->GetEnvironment();
        ASSERT_NE(pEnvironment, nullptr);
        EXPECT_EQ(pEnvironment->m_strFileName, "Demo.env");
        EXPECT_EQ(pEnvironment->m_nBMNTHour * 60 + pEnvironment->m_nBMNTMinute, 5 * 60);
        EXPECT_EQ(pEnvironment->m_nSunriseHour * 60 + pEnvironment->m_nSunriseMinute, 6 * 60);
        ASSERT_TRUE(app.GetGameClock()->IsClockWindowShown());
        seen.push_back(ReadLight(app, true));

        // At 8 times: 222.5 real seconds are 29 min 40 s of game time, to
        // 05:59:40; 2.5 more reach 06:00:00.
        SetManualTime(1000000);
        CFrameWnd* pFrame = app.GetMainFrame();
        app.PostCommand(pFrame, ID_TIME_START);
        app.PostCommand(pFrame, ID_TIME_COMPRESSION_8);
        app.PostWork(&app, [] { AdvanceManualTime(222500); });
        app.PostWork(&app, [&] { seen.push_back(ReadLight(app, false)); });
        app.PostWork(&app, [] { AdvanceManualTime(2500); });
        app.PostWork(&app, [&] { seen.push_back(ReadLight(app, false)); });
        app.PostCommand(pFrame, ID_TIME_STOP);
        ui.ExpectMessage("Warning!",
                         "Starting the clock will end\r\nthe deployment phase.\r\nYou will not be able to drag "
                         "move\r\nunits, obstacles, or dug positions.\r\nDo you wish to continue?",
                         IDYES);
        EXPECT_TRUE(app.PumpWaitingMessage());
        EXPECT_FALSE(app.IsClockRunning());
        seen.push_back(ReadLight(app, true));

        UseRealTime();
        app.m_pMainWnd->DestroyWindow();
        CWnd::FlushDeferredDeletes();
    }
    EXPECT_TRUE(ui.IsScriptDone()) << ui.DescribeRemaining().GetString();

    ASSERT_EQ(seen.size(), 4u);
    // Opened at 05:30: twilight, named on the window.
    EXPECT_EQ(seen[0].strGameTime, "140530JUN02");
    EXPECT_EQ(seen[0].strLight, "BMNT");
    EXPECT_GT(seen[0].nInk, 0);
    EXPECT_FLOAT_EQ(seen[0].fFactor, 0.5f);
    // Twenty seconds before six: still twilight.
    EXPECT_EQ(seen[1].strGameTime, "140559JUN02");
    EXPECT_EQ(seen[1].strLight, "BMNT");
    EXPECT_FLOAT_EQ(seen[1].fFactor, 0.5f);
    // Six o'clock: day, and the window shows no light text.
    EXPECT_EQ(seen[2].strGameTime, "140600JUN02");
    EXPECT_EQ(seen[2].strLight, "");
    EXPECT_FLOAT_EQ(seen[2].fFactor, 1.0f);
    // Stopped there, the window shows no light text at all.
    EXPECT_EQ(seen[3].strGameTime, "140600JUN02");
    EXPECT_EQ(seen[3].strLight, "");
    EXPECT_EQ(seen[3].nInk, 0);
}
