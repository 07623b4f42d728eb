// The application object's services, without and with its start-up.
#include "app/KDRApp.h"
#include "app/GameClock.h"
#include "platform/core/File.h"
#include "platform/core/Timer.h"
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"
#include "platform/ui/ScriptedUi.h"
#include "platform/ui/Wnd.h"
#include "units/SpotReport.h"
#include "units/SpotReportArray.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
class KDRAppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetManualTime(10000);
        m_ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
    }
    void TearDown() override
    {
        EXPECT_TRUE(m_ui.IsScriptDone()) << m_ui.DescribeRemaining().GetString();
        UseRealTime();
    }

    CSpotReport* Report(int code, LONG seconds, const char* text)
    {
        auto* p = new CSpotReport;
        p->m_nCode = code;
        p->m_time = CTimeSpan(seconds);
        p->m_strText = text;
        return p;
    }

    CScriptedUi m_ui;
    CUiServiceScope m_scope{&m_ui};
    CKDRApp m_app;
};
}  // namespace

TEST_F(KDRAppTest, DeploymentPhaseUntilTheClockHasRun)
{
    EXPECT_TRUE(m_app.IsDeploymentPhase());
    EXPECT_FALSE(m_app.IsClockRunning());

    // A stopped clock gives every consumer nothing, and says so in every output.
    CTimeSpan span(-7);
    int ms = 555, whole = 555, remainder = 123;
    DWORD stamp = 4;
    m_app.AdvanceClock(span, ms, remainder, stamp, whole);
    EXPECT_EQ(span.GetTotalSeconds(), 0);
    EXPECT_EQ(ms, 0);
    EXPECT_EQ(whole, 0);
    EXPECT_EQ(remainder, 123);
    EXPECT_EQ(stamp, 4u);

    stamp = m_app.StartClock();
    EXPECT_EQ(stamp, 10000u);
    EXPECT_TRUE(m_app.IsClockRunning());
    EXPECT_FALSE(m_app.IsDeploymentPhase());  // running
    remainder = 0;
    AdvanceManualTime(300);
    m_app.AdvanceClock(span, ms, remainder, stamp, whole);
    EXPECT_EQ(ms, 300);
    EXPECT_EQ(whole, 0);
    m_app.StopClock();

    // Less than a game second ran; the game loop then counts one second, so
    // the deployment phase does not come back.
    CGameClock* clock = m_app.GetGameClock();
    ASSERT_EQ(clock->m_tsElapsed.GetTotalSeconds(), 0);
    EXPECT_TRUE(m_app.IsDeploymentPhase());
    clock->m_tsElapsed = CTimeSpan(1);
    EXPECT_FALSE(m_app.IsDeploymentPhase());

    // A longer run makes whole seconds by itself.
    stamp = m_app.StartClock();
    AdvanceManualTime(1500);
    m_app.AdvanceClock(span, ms, remainder, stamp, whole);
    m_app.StopClock();
    EXPECT_EQ(span.GetTotalSeconds(), 2);
    EXPECT_FALSE(m_app.IsDeploymentPhase());
}

TEST_F(KDRAppTest, DirectionRadians)
{
    struct Case
    {
        int mils;
        double radians;
    };
    const Case cases[] = {
        {0, 0.0},
        {3200, -3.14159204},  // just above 3.14159, so folded down by 6.283185
        {4800, -1.57079556},
        {1600, 1.57079648},
        {-1600, -1.57079648},
        {6400, 0.00000092},
    };
    for (const Case& c : cases)
    {
        m_app.SetDirectionMils(1, c.mils);
        EXPECT_NEAR(m_app.GetDirectionRadians(1), c.radians, 1e-7) << c.mils;
    }
    m_app.SetDirectionMils(0, 800);
    m_app.SetDirectionMils(2, 2400);
    EXPECT_NEAR(m_app.GetDirectionRadians(0), 0.78539824, 1e-7);
    EXPECT_NEAR(m_app.GetDirectionRadians(2), 2.35619472, 1e-7);
    EXPECT_EQ(m_app.GetDirectionRadians(3), -99.0);
    EXPECT_EQ(m_app.GetDirectionRadians(-1), -99.0);
}

TEST_F(KDRAppTest, SpotReportsOfNoGreaterPriorityWithinASecondShowOnlyTheFirst)
{
    CGameClock* clock = m_app.GetGameClock();
    clock->m_tsElapsed = CTimeSpan(100);

    m_app.PostSpotReport(Report(256, 100, "first"));
    m_app.PostSpotReport(Report(256, 100, "second, same priority"));  // refused and freed
    m_app.PostSpotReport(nullptr);
    EXPECT_TRUE(m_app.m_bSpotReportPending);
    m_app.ShowPendingSpotReport();
    m_app.ShowPendingSpotReport();  // nothing pending any more
    ASSERT_EQ(m_app.m_pSpotReports->GetSize(), 1);
    EXPECT_STREQ(m_app.m_pSpotReports->GetAt(0)->m_strText, "first");
    EXPECT_FALSE(m_app.m_bSpotReportPending);

    clock->m_tsElapsed = CTimeSpan(101);
    m_app.PostSpotReport(Report(200, 101, "lower priority"));  // refused
    m_app.PostSpotReport(Report(512, 101, "kill"));            // more urgent: accepted
    m_app.ShowPendingSpotReport();
    clock->m_tsElapsed = CTimeSpan(103);
    m_app.PostSpotReport(Report(30, 103, "contact, two seconds later"));  // accepted
    m_app.ShowPendingSpotReport();

    ASSERT_EQ(m_app.m_pSpotReports->GetSize(), 3);
    EXPECT_STREQ(m_app.m_pSpotReports->GetAt(1)->m_strText, "kill");
    EXPECT_STREQ(m_app.m_pSpotReports->GetAt(2)->m_strText, "contact, two seconds later");
    // The log holds copies: the accepted report is still the application's own.
    ASSERT_NE(m_app.m_pShownSpotReport, nullptr);
    EXPECT_NE(m_app.m_pShownSpotReport, m_app.m_pSpotReports->GetAt(2));
}

TEST_F(KDRAppTest, SecondSurfaceDCWithoutReleaseReleasesTheFirst)
{
    EXPECT_EQ(m_app.GetSurfaceDC(), nullptr);  // no display yet
    EXPECT_FALSE(m_app.ReleaseSurfaceDC());

    ASSERT_TRUE(m_app.m_pDisplay->Init(nullptr, 64, 48));
    CSurface* back = m_app.m_pDisplay->GetBackSurface();
    CDC* first = m_app.GetSurfaceDC();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(m_app.m_bSurfaceDCLent);
    first->SetPixel(3, 4, RGB(255, 0, 0));

    CDC* second = m_app.GetSurfaceDC();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(back->GetLentDC(), second);
    EXPECT_EQ(m_app.m_pSurfaceDC, second);
    // What was drawn through the first context is on the surface.
    EXPECT_EQ(back->GetPixel(3, 4), RGB(255, 0, 0));

    EXPECT_TRUE(m_app.ReleaseSurfaceDC());
    EXPECT_EQ(back->GetLentDC(), nullptr);
    EXPECT_FALSE(m_app.m_bSurfaceDCLent);
    EXPECT_FALSE(m_app.ReleaseSurfaceDC());
}

TEST_F(KDRAppTest, ColourDepthAbove24BitsWarnsOnce)
{
    m_ui.ExpectMessage("Warning!",
                       "Kedravin is designed for use with displays set to 24-bit color\r\nor below.  Your display is "
                       "currently set to 32-bit color.  For best\r\ngame play, reduce your color depth before "
                       "playing Kedravin.\r\nTo do so, exit Kedravin, right-clicking on the Desktop, select\r\n"
                       "'Properties' and the 'Settings' tab, and change the setting in 'Color\r\nQuality' to 24-bit "
                       "or less.",
                       IDOK);
    for (int bits : {8, 16, 24, 32})
        m_app.WarnColorDepth(bits);
    ASSERT_EQ(m_ui.GetShown().size(), 1u);
    EXPECT_EQ(m_ui.GetShown()[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
}

TEST_F(KDRAppTest, ColourDepthIsReadFromTheMainWindowsScreen)
{
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, "Kedravin", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100), nullptr, 0));
    m_app.m_pMainWnd = &frame;
    // The offscreen screen of the tests shows 32 bits per pixel.
    const int depth = QGuiApplication::primaryScreen()->depth();
    ASSERT_EQ(depth, 32);
    CString text;
    text.Format("Kedravin is designed for use with displays set to 24-bit color\r\nor below.  Your display is "
                "currently set to %d-bit color.  For best\r\ngame play, reduce your color depth before playing "
                "Kedravin.\r\nTo do so, exit Kedravin, right-clicking on the Desktop, select\r\n'Properties' "
                "and the 'Settings' tab, and change the setting in 'Color\r\nQuality' to 24-bit or less.",
                depth);
    m_ui.ExpectMessage("Warning!", text, IDOK);
    m_app.CheckColorDepth();
    m_app.m_pMainWnd = nullptr;
    ASSERT_EQ(m_ui.GetShown().size(), 1u);
    EXPECT_GE(m_ui.GetShown()[0].text.Find("set to 32-bit color"), 0);
}

TEST_F(KDRAppTest, EnemySideAndSession)
{
    struct Case
    {
        BOOL chosen, inSession, multiplayer, playEnemy;
        BOOL expected;
    };
    const Case cases[] = {
        {0, 0, 0, 0, FALSE}, {1, 1, 0, 0, TRUE},  {1, 0, 0, 0, FALSE}, {0, 1, 0, 0, FALSE},
        {0, 0, 1, 1, TRUE},  {0, 0, 0, 1, FALSE}, {0, 0, 1, 0, FALSE}, {1, 0, 1, 1, TRUE},
    };
    for (const Case& c : cases)
    {
        m_app.m_bEnemySideChosen = c.chosen;
        m_app.m_bEnemySideInSession = c.inSession;
        m_app.m_bMultiplayer = c.multiplayer;
        m_app.m_bPlayEnemySide = c.playEnemy;
        EXPECT_EQ(m_app.IsPlayingEnemySide(), c.expected) << c.chosen << c.inSession << c.multiplayer << c.playEnemy;
    }
    m_app.m_bMultiplayer = FALSE;
    EXPECT_FALSE(m_app.IsSessionStarted());
}
