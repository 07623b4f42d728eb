// The end of a mission inside the game loop, in single play and in a
// multiplayer game, the results offer and Quit Mission back to the start
// menu.

#include "GameLoopTestSupport.h"

#include "app/StartMenuDlg.h"

#include <algorithm>

namespace
{
const char* const OVER_WON = "The mission is over.\r\nAll mission objectives successfully completed.\r\n";
const char* const OVER_LOST = "The mission is over.\r\nMission objectives not met.\r\n";
const char* const NOT_COMPLETE = "This mission is not complete\nDo you want to view the results?";

void ExpectStartMenuExit(CScriptedUi& ui)
{
    ui.ExpectDialog(IDD_START_MENU, IDCANCEL, [](CDialog& menu) { menu.PressButton(IDC_START_EXIT); });
}

BOOL Logged(const StepLog& log, const char* step) { return std::find(log.begin(), log.end(), step) != log.end(); }
}  // namespace

TEST(MissionEnd, YesSuspendsTheTestFor300GameSecondsAndNoOffersTheResultsAndQuits)
{
    CLoopShell shell;
    shell.Clock().m_tsElapsed = CTimeSpan(100);
    shell.Doc().m_nOwnTotalA = 12;
    shell.m_mission.bEnds = 1;
    shell.m_mission.bWon = 1;
    std::vector<int> countdowns;
    shell.m_pUnits->m_onMove = [&](int nPass)
    {
        countdowns.push_back(shell.View().m_nEndTestCountdown);
        // Ten game seconds a pass, but none in the pass after pass 5.
        if (nPass != 5)
            AdvanceManualTime(10000);
    };
    const CString question = CString(OVER_WON) + "Do you wish to continue?";
    shell.Ui().ExpectMessage("Attention", question, IDYES);
    shell.Ui().ExpectMessage("Attention", question, IDNO);
    ExpectStartMenuExit(shell.Ui());
    shell.View().OnTimeStart();

    // Tested at once, then again 300 game seconds later.
    EXPECT_EQ(shell.m_mission.tests, (std::vector<LONG>{100, 400}));
    EXPECT_EQ(shell.Ui().GetShown()[0].type, MB_YESNO | MB_ICONQUESTION);
    // The countdown runs by the whole game seconds of each pass; the pass
    // in which no real millisecond passed left it as it was.
    ASSERT_GE(countdowns.size(), 7u);
    EXPECT_EQ(countdowns[1], 300);
    EXPECT_EQ(countdowns[2], 290);
    EXPECT_EQ(countdowns[5], 260);
    EXPECT_EQ(countdowns[6], 260);
    EXPECT_EQ(countdowns.back(), 10);

    // The finished mission's results without a question, with the clock's
    // elapsed span, the start time and the counted forces.
    EXPECT_EQ(shell.m_mission.results, (std::vector<LONG>{400}));
    EXPECT_EQ(shell.m_mission.anTotals[0], 12);
    EXPECT_EQ(shell.m_mission.anTestTotals[0], 12);
    EXPECT_FALSE(shell.App().IsClockRunning());
    EXPECT_TRUE(shell.View().m_bMissionOver);
    // Quit Mission: an empty document and the start menu again.
    EXPECT_EQ(shell.Doc().GetMissions(), nullptr);
    EXPECT_EQ(shell.Doc().GetUnits(), nullptr);
    EXPECT_FALSE(shell.Doc().IsModified());
    const auto& shown = shell.Ui().GetShown();
    EXPECT_EQ(shown.back().dialogId, IDD_START_MENU);
}

TEST(MissionEnd, MultiplayerEndTellsTheOtherPlayerAndQuits)
{
    struct Case
    {
        BOOL bWon;
        const char* text;
        std::vector<BYTE> payload;
    };
    const Case cases[] = {
        {TRUE, OVER_WON, {'w', 'o', 'n', ' ', 0}},
        {FALSE, OVER_LOST, {'l', 'o', 's', 't', 0}},
    };
    for (const Case& c : cases)
    {
        CLoopShell shell;
        CRecordingSession& session = shell.StartMultiplayer();
        session.m_bOtherAskedFirst = TRUE;
        shell.Clock().m_tsElapsed = CTimeSpan(50);
        shell.m_mission.bEnds = 1;
        shell.m_mission.bWon = c.bWon;
        shell.App().m_bMultiplayerWon = c.bWon;
        int nPasses = 0;
        shell.m_pUnits->m_onMove = [&](int nPass)
        {
            nPasses = nPass;
            AdvanceManualTime(1000);
        };
        shell.Ui().ExpectMessage("Attention", c.text, IDOK);
        ExpectStartMenuExit(shell.Ui());
        shell.View().OnTimeStart();

        EXPECT_EQ(nPasses, 1);
        EXPECT_EQ(shell.Ui().GetShown()[0].type, MB_OK | MB_ICONINFORMATION);
        EXPECT_TRUE(session.m_bGameOver);
        ASSERT_EQ(session.m_sent.size(), 1u);
        EXPECT_EQ(session.m_sent[0].dwType, 0x4000u);
        EXPECT_EQ(session.m_sent[0].payload, c.payload);
        // The loop was left before the connection check and the redraw.
        const StepLog log = shell.TakeLog();
        const auto end = std::find(log.begin(), log.end(), "end test");
        ASSERT_NE(end, log.end());
        EXPECT_EQ(*(end + 1), "redraw");  // the redraw after the loop
        EXPECT_EQ(*(end + 2), "results");
        EXPECT_TRUE(Logged(log, "leave game"));
        EXPECT_EQ(shell.m_mission.results, (std::vector<LONG>{50}));
    }
}

TEST(MissionEnd, LostConnectionEndsTheMissionWithoutAMessage)
{
    CLoopShell shell;
    CRecordingSession& session = shell.StartMultiplayer();
    session.m_bOtherAskedFirst = TRUE;
    shell.Clock().m_tsElapsed = CTimeSpan(50);
    int nPasses = 0;
    shell.m_pUnits->m_onMove = [&](int nPass)
    {
        nPasses = nPass;
        AdvanceManualTime(1000);
        if (nPass == 2)
            session.m_bConnected = FALSE;
    };
    ExpectStartMenuExit(shell.Ui());
    shell.View().OnTimeStart();

    EXPECT_EQ(nPasses, 2);
    EXPECT_TRUE(session.m_bConnectionBroken);
    EXPECT_FALSE(shell.App().IsClockRunning());
    // The results of the broken-off mission, then the start menu.
    EXPECT_EQ(shell.m_mission.results, (std::vector<LONG>{51}));
    EXPECT_EQ(shell.Doc().GetMissions(), nullptr);
    EXPECT_EQ(shell.Ui().GetShown().size(), 1u);
}

TEST(MissionEnd, OfferResultsOnlyOutsideTheDeploymentPhaseWithMissionsUnitsAndDatabase)
{
    CLoopShell shell;
    // The deployment phase: nothing, not even a question.
    EXPECT_EQ(shell.Doc().OfferResults(CTimeSpan(0), 0), 0);
    EXPECT_EQ(shell.Doc().OfferResults(CTimeSpan(0), 1), 0);

    shell.Clock().m_tsElapsed = CTimeSpan(75);
    // An unfinished mission asks first.
    shell.Ui().ExpectMessage("Question", NOT_COMPLETE, IDNO);
    EXPECT_EQ(shell.Doc().OfferResults(CTimeSpan(75), 0), 0);
    shell.Ui().ExpectMessage("Question", NOT_COMPLETE, IDYES);
    EXPECT_EQ(shell.Doc().OfferResults(CTimeSpan(75), 0), 1);
    EXPECT_EQ(shell.Ui().GetShown().back().type, MB_YESNO | MB_ICONQUESTION);
    // A finished one does not.
    EXPECT_EQ(shell.Doc().OfferResults(CTimeSpan(80), 1), 1);
    EXPECT_EQ(shell.m_mission.results, (std::vector<LONG>{75, 80}));

    // Without a database there are no results.
    shell.Doc().m_bDatabase = 0;
    EXPECT_EQ(shell.Doc().OfferResults(CTimeSpan(80), 1), 0);
    shell.Doc().m_bDatabase = 1;
    shell.Doc().SetMissions(nullptr);
    EXPECT_EQ(shell.Doc().OfferResults(CTimeSpan(80), 1), 0);
}

TEST(MissionEnd, QuitMissionAsksToSaveAndOffersTheResultsOfAnUnfinishedMission)
{
    CLoopShell shell;
    shell.Clock().m_tsElapsed = CTimeSpan(90);
    shell.Doc().SetModifiedFlag(TRUE);
    shell.Ui().ExpectMessage("Save Game?", "Do you wish to save your game before exiting?", IDNO);
    shell.Ui().ExpectMessage("Question", NOT_COMPLETE, IDNO);
    ExpectStartMenuExit(shell.Ui());
    shell.App().OnQuitMission();
    EXPECT_TRUE(shell.m_mission.results.empty());
    EXPECT_EQ(shell.Doc().GetMissions(), nullptr);
    EXPECT_EQ(shell.Ui().GetShown().size(), 3u);
}

TEST(MissionEnd, CancellingTheSaveQuestionKeepsTheMission)
{
    CLoopShell shell;
    shell.Clock().m_tsElapsed = CTimeSpan(90);
    shell.Doc().SetModifiedFlag(TRUE);
    shell.Ui().ExpectMessage("Save Game?", "Do you wish to save your game before exiting?", IDCANCEL);
    shell.App().OnQuitMission();
    EXPECT_NE(shell.Doc().GetMissions(), nullptr);
    EXPECT_TRUE(shell.Doc().IsModified());
}
