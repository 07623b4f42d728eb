// Start-up of the application in a start directory of its own, with real
// windows on the offscreen platform.
#include "app/AboutDlg.h"
#include "app/KDRApp.h"
#include "app/ReportDlg.h"
#include "app/StartMenuDlg.h"
#include "platform/core/File.h"
#include "platform/ui/Display.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Profile.h"
#include "platform/ui/ScriptedUi.h"
#include "platform/ui/View.h"
#include "platform/ui/Wnd.h"
#include "view/KDRView.h"

#include "StartDirTestSupport.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
const char* const WARNING_32 =
    "Kedravin is designed for use with displays set to 24-bit color\r\nor below.  Your display is currently set to "
    "32-bit color.  For best\r\ngame play, reduce your color depth before playing Kedravin.\r\nTo do so, exit "
    "Kedravin, right-clicking on the Desktop, select\r\n'Properties' and the 'Settings' tab, and change the setting "
    "in 'Color\r\nQuality' to 24-bit or less.";

class KDRAppStartupTest : public StartDirTest
{
protected:
    KDRAppStartupTest() : StartDirTest("kdr-start-") {}
};
}  // namespace

TEST_F(KDRAppStartupTest, StartsInTheCurrentDirectoryWithSavegameBesideData)
{
    {
        std::ofstream link(m_root / "link.txt", std::ios::binary);
        link << "[about text link]http://kedravin.example/\r\n[version message]1.0\r\n";
    }
    CKDRApp app;
    ASSERT_TRUE(app.InitInstance());

    // The main window, maximised, with the map view the display lives on.
    ASSERT_NE(app.m_pMainWnd, nullptr);
    EXPECT_TRUE(app.m_pMainWnd->IsWindowVisible());
    EXPECT_TRUE(app.m_pMainWnd->IsZoomed());
    CKDRView* view = app.GetActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(app.m_bDisplayReady);
    CRect rc;
    view->GetClientRect(&rc);
    EXPECT_EQ(app.m_pDisplay->GetWidth(), rc.Width());
    EXPECT_EQ(app.m_pDisplay->GetHeight(), rc.Height());
    EXPECT_EQ(app.m_pDisplay->GetWindow(), view);
    EXPECT_NE(app.GetActiveDocument(), nullptr);

    // "Savegame" beside "Data" in the start directory; "Data" is current.
    EXPECT_TRUE(fs::is_directory(m_root / "Savegame"));
    EXPECT_EQ(fs::path(app.m_strDataDir.GetString()), m_root / "Data");
    EXPECT_EQ(fs::path(app.m_strSavegameDir.GetString()), m_root / "Savegame");
    EXPECT_EQ(fs::path(GetCurrentDir().GetString()), m_root / "Data");

    EXPECT_STREQ(app.m_strAboutTextLink, "http://kedravin.example/");
    EXPECT_STREQ(app.m_strVersionMessage, "1.0");
    EXPECT_STREQ(app.m_strAboutIconLink, "");

    EXPECT_EQ(app.m_anDisplaySettings[0], 1600);
    EXPECT_EQ(app.m_anDisplaySettings[2], 4);
    EXPECT_EQ(app.m_anDisplaySettings[10], 1000);
    EXPECT_STREQ(app.m_strDisplayLabel, "AA0000");
    EXPECT_NE(app.m_pSoundManager, nullptr);
    EXPECT_TRUE(app.IsDeploymentPhase());

    // Run warns of the 32-bit screen before anything else and ends on quit.
    // Then the About box as a splash and the start menu, left with Exit.
    m_ui.ExpectMessage("Warning!", WARNING_32, IDOK);
    m_ui.ExpectDialog(IDD_ABOUTBOX, IDOK);
    m_ui.ExpectDialog(IDD_START_MENU, IDCANCEL, [](CDialog& menu) { menu.PressButton(IDC_START_EXIT); });
    app.PostQuitMessage(0);
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(m_ui.GetShown().size(), 3u);
}

namespace
{
// The application as it runs once the player has chosen a mission: no
// splash and no start menu before its message loop.
class CLoopOnlyApp : public CKDRApp
{
protected:
    void ShowSplash() override {}
    int RunStartMenu() override { return 1; }
};
}  // namespace

TEST_F(KDRAppStartupTest, ADisplayErrorEndsTheProgramAtTheNextTurnOfItsLoop)
{
    CLoopOnlyApp app;
    ASSERT_TRUE(app.InitInstance());
    m_ui.ExpectMessage("Warning!", WARNING_32, IDOK);
    m_ui.ExpectMessage("Error", "DirectDraw Error DDERR_SURFACELOST", IDOK);
    // Something the running program does meets the display's error.
    app.PostWork(&app, [&app] { ReportDDError(DDERR_SURFACELOST, app.GetActiveView()); });
    // A loop that does not end is ended here, so the test fails, not hangs.
    bool bStillRunning = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout,
                     [&]
                     {
                         bStillRunning = true;
                         app.PostQuitMessage(0);
                     });
    watchdog.start(20000);
    EXPECT_EQ(app.Run(), 1) << "a program ended by a display error reports a failure";
    EXPECT_FALSE(bStillRunning) << "the program went on after the display error";
    EXPECT_EQ(m_ui.GetShown().size(), 2u);
}

TEST_F(KDRAppStartupTest, AnExistingSavegameIsNoError)
{
    fs::create_directories(m_root / "Savegame");
    CKDRApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_TRUE(fs::is_directory(m_root / "Savegame"));
    EXPECT_STREQ(app.m_strArenaGetListLink, "");
}

TEST_F(KDRAppStartupTest, IdleStepWantsMoreTimeAndScrollsNothingWithoutAMap)
{
    CKDRApp app;
    ASSERT_TRUE(app.InitInstance());
    app.m_nAutoScrollHold = -3;
    EXPECT_TRUE(app.IdleStep());
    EXPECT_EQ(app.m_nAutoScrollHold, 0);
    EXPECT_EQ(app.m_nHScrollDecision, kUnset);
    EXPECT_EQ(app.m_nVScrollDecision, kUnset);
}

TEST_F(KDRAppStartupTest, MissingAdministrativeSoundsAreReportedInAWindowAndStartUpGoesOn)
{
    CKDRApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_NE(app.m_pSoundManager, nullptr);

    // The data directory has neither sound: one report names both.
    bool found = false;
    for (CReportDlg* pReport : CReportDlg::GetOpenReports())
    {
        const CString& text = pReport->GetText();
        if (text.Find("'pick.wav' was not found") >= 0 && text.Find("'notify.wav' was not found") >= 0)
            found = true;
    }
    EXPECT_TRUE(found);
}
