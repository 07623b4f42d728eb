// The demo mission played to its end in the real program, with the demo's
// events: the enemy worn down to two vehicles or teams wins it, an hour of
// game time without that loses it. Units are destroyed by hand here rather
// than by fire. After the end the results page shows the outcome, the
// objectives, their status and the unit counts, and the player goes back to
// the start menu.

#include "app/GameClock.h"
#include "app/KDRApp.h"
#include "app/KDRCommandIds.h"
#include "app/KDRDoc.h"
#include "app/MissionResultsDlg.h"
#include "app/StartMenuDlg.h"
#include "database/HTMLPage.h"
#include "mission/Mission.h"
#include "platform/core/Core.h"
#include "platform/core/Timer.h"
#include "platform/ui/Frame.h"
#include "platform/ui/ScriptedUi.h"
#include "platform/ui/Wnd.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"

#include "support/DemoInstall.h"

#include "../../tools/demo_mission.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace
{
// Writes the demo and gives its mission the demo's events; false when the
// scenario's units component loads no units (every count would be 0).
bool WriteDemoWithEvents(const CDemoInstall& demo)
{
    if (!demo.Write())
        return false;
    fs::create_directories(demo.Root() / "Savegame");
    const CString path = (demo.Root() / "Data" / "demo.msn").string().c_str();
    CMission mission;
    {
        CFile file(path, CFile::modeRead | CFile::typeBinary);
        CArchive ar(&file, CArchive::load);
        mission.Serialize(ar);
    }
    demo_mission::BuildEvents(mission);
    CFile file(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
    CArchive ar(&file, CArchive::store);
    mission.Serialize(ar);
    ar.Close();
    return true;
}

// Whether the demo's enemy units load: the tests need them to count.
bool DemoUnitsLoad(const CDemoInstall& demo)
{
    // Opening moves into the data directory; the game that follows starts
    // from the install's root, as the player's would.
    struct RestoreDir
    {
        CString dir = GetCurrentDir();
        ~RestoreDir() { SetCurrentDir(dir); }
    } restore;
    CScriptedUi ui;
    CUiServiceScope scope(&ui);
    CKDRApp app;
    CKDRDoc doc;
    doc.SetDirectories((demo.Root() / "Data").string().c_str(), (demo.Root() / "Savegame").string().c_str());
    if (!doc.OnOpenDocument(demo.Scenario().string().c_str()))
        return false;
    const CKDRUnits* pUnits = doc.GetUnits();
    return pUnits != nullptr && pUnits->GetUnit(0, 0, 1) != nullptr;
}

const char* const START_WARNING = "Starting the clock will end\r\nthe deployment phase.\r\nYou will not be able to drag "
                                  "move\r\nunits, obstacles, or dug positions.\r\nDo you wish to continue?";
const char* const OVER_WON = "The mission is over.\r\nAll mission objectives successfully completed.\r\n"
                             "Do you wish to continue?";
const char* const kTankType = "Tarn main battle tank";
const char* const kEnemyTankType = "Drask main battle tank";
const char* const OVER_LOST = "The mission is over.\r\nMission objectives not met.\r\nDo you wish to continue?";

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Played
{
    size_t nPromptsBeforeEnd = 0;  // prompts shown when the last step before the end ran
    std::string page;              // results.htm while its window was open
    LONG nElapsed = 0;             // game seconds when the results were shown
};

// Opens the demo, starts the clock and serves the steps one pass each; the
// mission's end is answered No (leave it), the results window OK and the
// start menu Exit.
Played Play(const CDemoInstall& demo, const char* endText, const std::vector<std::function<void(CKDRDoc&)>>& steps)
{
    Played played;
    CScriptedUi ui;
    ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
    {
        CUiServiceScope scope(&ui);
        CKDRApp app;
        EXPECT_TRUE(app.InitInstance());
        if (app.OpenDocumentFile(demo.Scenario().string().c_str()) == nullptr)
        {
            ADD_FAILURE() << "the demo did not open";
            return played;
        }
        CKDRDoc* pDoc = app.GetActiveDocument();
        SetManualTime(1000000);
        CFrameWnd* pFrame = app.GetMainFrame();
        app.PostCommand(pFrame, ID_TIME_START);
        for (const auto& step : steps)
        {
            app.PostWork(&app,
                         [&, step]
                         {
                             played.nPromptsBeforeEnd = ui.GetShown().size();
                             step(*pDoc);
                         });
        }
        ui.ExpectMessage("Warning!", START_WARNING, IDYES);
        ui.ExpectMessage("Attention", endText, IDNO);
        const fs::path page = demo.Root() / "Savegame" / "results.htm";
        ui.ExpectDialog(IDD_MISSION_RESULTS, IDOK,
                        [&](CDialog&)
                        {
                            played.page = ReadText(page);
                            played.nElapsed = app.GetGameClock()->m_tsElapsed.GetTotalSeconds();
                        });
        ui.ExpectDialog(IDD_START_MENU, IDCANCEL, [](CDialog& menu) { menu.PressButton(IDC_START_EXIT); });
        app.PumpWaitingMessage();
        EXPECT_FALSE(fs::exists(page));
        UseRealTime();
        if (app.m_pMainWnd != nullptr)
            app.m_pMainWnd->DestroyWindow();
        CWnd::FlushDeferredDeletes();
    }
    EXPECT_TRUE(ui.IsScriptDone()) << ui.DescribeRemaining().GetString();
    return played;
}

void Contains(const std::string& page, const std::string& text) { EXPECT_NE(page.find(text), std::string::npos) << text; }

// A counts row's name cell and its two numbers; without the live number
// when nLive is negative.
std::string CountsRow(const char* type, int nStart, int nLive = -1)
{
    const std::string cell = "<TD WIDTH=\"14%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n"
                             "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">";
    const std::string end = "</FONT></FONT></TD>\r\n";
    return std::string(CHTMLPage::MakePageName(type).GetString()) + "\"><FONT FACE=\"Arial,Helvetica,Monaco\">" +
           "<FONT SIZE=\"2\">" + type + "</FONT></FONT></A></TD>\r\n" + cell + std::to_string(nStart) + end + cell +
           (nLive < 0 ? std::string() : std::to_string(nLive) + end);
}
}  // namespace

TEST(MissionDemo, WearingTheEnemyDownToTwoWinsTheMission)
{
    if (!CDemoInstall::WriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    const CDemoInstall demo("mission-won");
    ASSERT_TRUE(WriteDemoWithEvents(demo));
    ASSERT_TRUE(DemoUnitsLoad(demo)) << "the demo's units did not load";

    const Played played = Play(demo, OVER_WON,
                               {[](CKDRDoc& doc)
                                {
                                    // The company team holds its fire, so that only the hand wears
                                    // the enemy down: its covering tanks would reach the two spared.
                                    for (int i = 0; CUnit* pUnit = doc.GetUnits()->GetUnit(i, 0, 0); ++i)
                                        pUnit->m_bHoldFire = TRUE;
                                    AdvanceManualTime(60000);
                                },
                                [](CKDRDoc& doc)
                                {
                                    // All the enemy but the first two are destroyed.
                                    CKDRUnits* pUnits = doc.GetUnits();
                                    ASSERT_NE(pUnits, nullptr);
                                    for (int i = 2; CUnit* pUnit = pUnits->GetUnit(i, 0, 1); ++i)
                                        pUnit->m_bDestroyed = TRUE;
                                    AdvanceManualTime(1000);
                                }});
    // The mission went on until the enemy was worn down.
    EXPECT_EQ(played.nPromptsBeforeEnd, 1u);
    EXPECT_EQ(played.nElapsed, 61);
    Contains(played.page, "<FONT COLOR=\"BLUE\">MISSION COMPLETE</FONT>");
    Contains(played.page, "All mission objectives completed.");
    Contains(played.page, "The crossing is ours.");
    Contains(played.page, "1.  Attrit the enemy to 2 enemy vehicles or teams.\r\n");
    Contains(played.page, "2.  Maintain at least " + std::to_string(demo_mission::kFriendlyLeftForLoss) +
                              " friendly vehicles or teams in tact.\r\n");
    Contains(played.page, "3.  Achieve mission objectives no later than 140630JUN02.\r\n");
    Contains(played.page, "1.  The enemy has 2 vehicles or teams remaining.\r\n");
    Contains(played.page, "3.  The 'No Later Than' time of 140630JUN02 has not yet elapsed.\r\n");
    // The enemy's four tanks, two left; the company team's nine, less what
    // the enemy's fire took in the minute.
    Contains(played.page, CountsRow(kEnemyTankType, 4, 2));
    Contains(played.page, CountsRow(kTankType, 9));
}

TEST(MissionDemo, AnHourWithoutVictoryLosesTheMission)
{
    if (!CDemoInstall::WriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    const CDemoInstall demo("mission-lost");
    ASSERT_TRUE(WriteDemoWithEvents(demo));
    ASSERT_TRUE(DemoUnitsLoad(demo)) << "the demo's units did not load";

    // Ten game minutes a pass: at 3600 s the hour has not passed, a second later it has.
    std::vector<std::function<void(CKDRDoc&)>> steps;
    for (int i = 0; i < 6; ++i)
        steps.push_back([](CKDRDoc&) { AdvanceManualTime(600000); });
    steps.push_back([](CKDRDoc&) { AdvanceManualTime(1000); });
    const Played played = Play(demo, OVER_LOST, steps);
    EXPECT_EQ(played.nPromptsBeforeEnd, 1u);
    EXPECT_EQ(played.nElapsed, 3601);
    Contains(played.page, "<FONT COLOR=\"RED\">MISSION FAILED</FONT>");
    Contains(played.page, "The crossing was not taken.");
    Contains(played.page, "The 'No Later Than' time of 140630JUN02 elapsed without mission objectives having been "
                          "achieved.\r\n");
    Contains(played.page, "1.  The enemy has ");
}
