// The game loop inside Time/Start, driven by a hand-driven millisecond
// counter through recording stand-ins of the stepped components: the order
// of a pass, game time at each compression, the deployment phase, the
// multiplayer start and the commands that keep working while it runs.

#include "GameLoopTestSupport.h"

#include "app/StartMenuDlg.h"
#include "battlefield/ElevationMap.h"
#include "platform/ui/Frame.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace
{
// Milliseconds the clock advanced by, in game milliseconds (whole seconds
// and the clock's own carry).
long long GameMilliseconds(CGameClock& clock)
{
    return static_cast<long long>(clock.m_tsElapsed.GetTotalSeconds()) * 1000 + clock.m_nRemainder;
}

// Offers a report more urgent than the last, so that it is always taken.
void PostUrgentSpotReport(CKDRApp& app, int nPriority)
{
    auto* pReport = new CSpotReport;
    pReport->m_nCode = nPriority;
    app.PostSpotReport(pReport);
}

const char* const DEPLOYMENT_WARNING =
    "Starting the clock will end\r\nthe deployment phase.\r\nYou will not be able to "
    "drag move\r\nunits, obstacles, or dug positions.\r\nDo you wish to continue?";
}  // namespace

TEST(GameLoop, OnePassStepsEveryComponentInItsFixedOrder)
{
    CLoopShell shell;
    CRecordingSession& session = shell.StartMultiplayer();
    session.m_bOtherAskedFirst = TRUE;  // no warning, no wait for answers
    session.m_bStarted = TRUE;
    shell.Doc().GetGameMap()->SetElevationMap(new CElevationMap);
    shell.Clock().SetRate(8.0f);

    // A selected unit whose path is shown.
    CUnit unit;
    CNodeArray path;
    path.AddNode(10, 10);
    path.AddNode(20, 20);
    shell.m_pUnits->m_pUnit = &unit;
    shell.m_pUnits->m_pPath = &path;
    CRecordingView& view = shell.View();
    view.m_nSelUnit = view.m_nSelArray = view.m_nSelKind = 0;
    view.m_bPathShown = TRUE;

    shell.m_pUnits->m_onMove = [&](int nPass)
    {
        PostUrgentSpotReport(shell.App(), nPass);
        if (nPass == 1)
        {
            AdvanceManualTime(3000);
        }
        else
        {
            // A frame's worth, and a unit changed the map: this pass redraws too.
            AdvanceManualTime(40);
            shell.m_pUnits->m_bMapChanged = TRUE;
            shell.App().PostCommand(&view, ID_TIME_STOP);
        }
    };
    view.OnTimeStart();

    const StepLog pass = {"request flags", "arena post",  "light",         "obstacles",     "units",
                          "rounds",        "smoke",       "occupants",     "path",          "contacts",
                          "detection",     "direct fire", "selected unit", "indirect fire", "spot report",
                          "end test",      "connection",  "messages",      "redraw"};
    StepLog expected = {"occupants", "occupants"};  // the start: the positions take their occupants
    expected.insert(expected.end(), pass.begin(), pass.end());
    expected.insert(expected.end(), pass.begin(), pass.end());
    expected.push_back("redraw");  // after the loop
    EXPECT_EQ(shell.TakeLog(), expected);

    // The clock is the first step: the second pass's light step already
    // saw the three real seconds, at compression 1 forced by the game.
    EXPECT_EQ(shell.m_pEnvironment->m_elapsedAtLight, (std::vector<LONG>{0, 3}));
    EXPECT_EQ(shell.Clock().m_fRate, 1.0f);
    EXPECT_EQ(shell.Clock().GetClockDlg()->m_strCompression, "");
    EXPECT_EQ(shell.Clock().m_tsElapsed.GetTotalSeconds(), 3);
    EXPECT_FALSE(shell.App().IsClockRunning());
    // Day light without light conditions of its own; the wind of the
    // environment reached the smoke.
    EXPECT_FLOAT_EQ(shell.m_pUnits->m_fLight, 1.0f);
    // The arena post is withdrawn on the first two passes only.
    EXPECT_TRUE(shell.App().m_bWithdrawArenaPost);
    EXPECT_EQ(shell.App().m_nWithdrawPasses, 1);
    // Time/Stop told the other player, with the screen name.
    ASSERT_EQ(session.m_sent.size(), 1u);
    EXPECT_EQ(session.m_sent[0].dwType, 16u);
    EXPECT_EQ(session.m_sent[0].payload, (std::vector<BYTE>{'U', 'l', 'a', 'n', 0}));
    // The shown path is a copy of the unit's path.
    ASSERT_NE(view.m_pShownPath, nullptr);
    EXPECT_NE(view.m_pShownPath, &path);
    EXPECT_EQ(view.m_pShownPath->GetSize(), 2);
}

TEST(GameLoop, PassesWithinOneFrameRedrawTheMapOnce)
{
    CLoopShell shell;
    shell.Clock().m_tsElapsed = CTimeSpan(100);
    // Ten passes 5 ms apart span 45 ms, each moving a unit: the first pass
    // and the one a frame (40 ms) after it redraw, then the loop's end
    // redraws once more.
    shell.m_pUnits->m_nMoveResult = 1;
    shell.m_pUnits->m_onMove = [&](int nPass)
    {
        AdvanceManualTime(5);
        if (nPass == 10)
            shell.App().StopClock();
    };
    shell.View().OnTimeStart();
    const StepLog log = shell.TakeLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), std::string("redraw")), 3);
}

TEST(GameLoop, OnlyPassesThatChangeTheMapRedrawIt)
{
    // Passes 50 ms apart, each a frame after the one before: the loop's
    // start shows the running clock (pass 1) and the end redraws; between
    // them only the passes in which a component reported a change redraw,
    // whichever component it was.
    // The units' movement runs the test's hook; the obstacles step before
    // it, so their answer is set one pass ahead.
    struct Case
    {
        const char* what;
        int nAhead;
        std::function<void(CLoopShell&, BOOL)> report;
    } cases[] = {
        {"a unit moved", 0, [](CLoopShell& s, BOOL b) { s.m_pUnits->m_nMoveResult = b; }},
        {"a unit fired or was seen", 0, [](CLoopShell& s, BOOL b) { s.m_pUnits->m_bMapChanged = b; }},
        {"an obstacle changed", 1, [](CLoopShell& s, BOOL b) { s.m_pObstacles->m_bChanged = b; }},
        {"a round flew", 0, [](CLoopShell& s, BOOL b) { s.m_pRounds->m_nResult = b; }},
        {"a cloud drifted", 0, [](CLoopShell& s, BOOL b) { s.m_pSmoke->m_bChanged = b; }},
    };
    for (const Case& c : cases)
    {
        CLoopShell shell;
        shell.Clock().m_tsElapsed = CTimeSpan(100);
        std::vector<int> redrawnAfter;  // the passes a redraw followed
        shell.m_pUnits->m_onMove = [&](int nPass)
        {
            const StepLog log = shell.TakeLog();
            if (std::count(log.begin(), log.end(), std::string("redraw")) > 0)
                redrawnAfter.push_back(nPass - 1);
            AdvanceManualTime(50);
            const int nReported = nPass + c.nAhead;
            c.report(shell, nReported == 4 || nReported == 7);
            if (nPass == 10)
                shell.App().StopClock();
        };
        shell.View().OnTimeStart();
        const StepLog log = shell.TakeLog();
        EXPECT_EQ(redrawnAfter, (std::vector<int>{1, 4, 7})) << c.what;
        EXPECT_EQ(std::count(log.begin(), log.end(), std::string("redraw")), 1) << c.what << ": the loop's end";
    }
}

TEST(GameLoop, AChangeWithinAFrameIsDrawnWhenTheFrameIsDue)
{
    CLoopShell shell;
    shell.Clock().m_tsElapsed = CTimeSpan(100);
    // Passes 10 ms apart; a unit moves in pass 2 only, 10 ms after the
    // start's redraw: the redraw waits for its frame and comes after pass 5,
    // with nothing changed since.
    std::vector<int> redrawnAfter;
    shell.m_pUnits->m_onMove = [&](int nPass)
    {
        const StepLog log = shell.TakeLog();
        if (std::count(log.begin(), log.end(), std::string("redraw")) > 0)
            redrawnAfter.push_back(nPass - 1);
        AdvanceManualTime(10);
        shell.m_pUnits->m_nMoveResult = nPass == 2;
        if (nPass == 8)
            shell.App().StopClock();
    };
    shell.View().OnTimeStart();
    EXPECT_EQ(redrawnAfter, (std::vector<int>{1, 5}));
}

TEST(GameLoop, WithoutComponentsTheClockStillRuns)
{
    CDocShell shell;
    CManualClock time;
    shell.App().GetGameClock()->m_tsElapsed = CTimeSpan(60);
    CKDRView& view = *shell.App().GetActiveView();
    // Each posted item is served by one pass.
    shell.App().PostWork(&shell.App(), [] { AdvanceManualTime(2000); });
    shell.App().PostWork(&shell.App(), [] {});
    shell.App().PostCommand(&view, ID_TIME_STOP);
    view.OnTimeStart();
    EXPECT_EQ(shell.App().GetGameClock()->m_tsElapsed.GetTotalSeconds(), 62);
    EXPECT_FALSE(shell.App().IsClockRunning());
}

TEST(GameLoop, CompressionFourGivesFourTimesTheGameTimeOfCompressionOne)
{
    auto run = [](float fRate)
    {
        CLoopShell shell;
        shell.Clock().m_tsElapsed = CTimeSpan(100);  // past the deployment phase
        shell.Clock().SetRate(fRate);
        shell.m_pUnits->m_onMove = [&](int nPass)
        {
            AdvanceManualTime(333);
            if (nPass == 9)
                shell.App().StopClock();
        };
        shell.View().OnTimeStart();
        // The last pass's milliseconds are never counted: the clock stopped.
        return GameMilliseconds(shell.Clock()) - 100 * 1000;
    };
    const long long one = run(1.0f);
    const long long four = run(4.0f);
    EXPECT_EQ(one, 8 * 333);
    EXPECT_EQ(four, 4 * one);
}

TEST(GameLoop, StartThenStopLeavesOneGameSecondAndEndsTheDeploymentPhase)
{
    CLoopShell shell;
    ASSERT_TRUE(shell.App().IsDeploymentPhase());
    shell.Ui().ExpectMessage("Warning!", DEPLOYMENT_WARNING, IDYES);
    shell.App().PostCommand(&shell.View(), ID_TIME_STOP);
    shell.View().OnTimeStart();

    EXPECT_FALSE(shell.App().IsClockRunning());
    EXPECT_EQ(shell.Clock().m_tsElapsed.GetTotalSeconds(), 1);
    EXPECT_FALSE(shell.App().IsDeploymentPhase());
    EXPECT_EQ(shell.Ui().GetShown().back().type, MB_YESNO | MB_ICONEXCLAMATION);
    // The run was prepared at the tick the clock started at.
    EXPECT_EQ(shell.m_pUnits->m_nPrepared, 1);
    EXPECT_EQ(shell.m_pUnits->m_dwPrepared, 50000u);
    EXPECT_EQ(shell.m_pRounds->m_dwStamp, 50000u);
    EXPECT_EQ(shell.m_pSmoke->m_dwStamp, 50000u);
    EXPECT_TRUE(shell.Doc().IsModified());
    EXPECT_TRUE(shell.App().m_bWithdrawArenaPost);
    EXPECT_EQ(shell.App().m_nWithdrawPasses, 0);

    // The clock has run: the next start asks nothing.
    shell.App().PostCommand(&shell.View(), ID_TIME_STOP);
    shell.View().OnTimeStart();
    EXPECT_EQ(shell.Clock().m_tsElapsed.GetTotalSeconds(), 1);
}

TEST(GameLoop, AnythingButYesToTheWarningKeepsTheDeploymentPhase)
{
    for (int answer : {IDNO, IDCANCEL})
    {
        CLoopShell shell;
        shell.Ui().ExpectMessage("Warning!", DEPLOYMENT_WARNING, answer);
        shell.View().OnTimeStart();
        EXPECT_FALSE(shell.App().IsClockRunning());
        EXPECT_TRUE(shell.App().IsDeploymentPhase());
        EXPECT_EQ(shell.m_pUnits->m_nPrepared, 0);
        EXPECT_EQ(shell.m_pUnits->m_nPasses, 0);
        EXPECT_FALSE(shell.App().m_bWithdrawArenaPost);
        EXPECT_FALSE(shell.Doc().IsModified());
    }
}

TEST(GameLoop, MenusAndCommandsWorkBetweenTheSteps)
{
    CLoopShell shell;
    shell.Clock().m_tsElapsed = CTimeSpan(10);
    CFrameWnd* pFrame = shell.App().GetMainFrame();
    ASSERT_NE(pFrame->GetMenu(), nullptr);
    UINT startState = 0, stopState = 0, quitState = 0, fourState = 0;
    shell.m_pUnits->m_onMove = [&](int nPass)
    {
        AdvanceManualTime(1000);
        if (nPass == 1)
        {
            // Quit Mission is refused while the clock runs; a second Start
            // does not nest another loop.
            shell.App().PostCommand(&shell.App(), ID_QUIT_MISSION);
        }
        else if (nPass == 2)
        {
            shell.App().PostCommand(&shell.View(), ID_TIME_START);
        }
        else if (nPass == 3)
        {
            shell.App().PostCommand(pFrame, ID_TIME_COMPRESSION_4);
        }
        else if (nPass == 4)
        {
            CMenu* pMenu = pFrame->GetMenu();
            pMenu->UpdateCommandStates(pFrame);
            startState = pMenu->GetMenuState(ID_TIME_START, MF_BYCOMMAND);
            stopState = pMenu->GetMenuState(ID_TIME_STOP, MF_BYCOMMAND);
            quitState = pMenu->GetMenuState(ID_QUIT_MISSION, MF_BYCOMMAND);
            fourState = pMenu->GetMenuState(ID_TIME_COMPRESSION_4, MF_BYCOMMAND);
            shell.App().PostCommand(pFrame, ID_TIME_STOP);
        }
    };
    shell.Ui().ExpectMessage(
        "Error!", "You must turn off the clock\r\n(with Stop from the Time Menu)\r\nbefore you can quit KDR.", IDOK);
    shell.View().OnTimeStart();

    EXPECT_EQ(shell.m_pUnits->m_nPasses, 4);
    EXPECT_EQ(shell.m_pUnits->m_nPrepared, 1);
    // Passes 2 and 3 at compression 1, pass 4 at compression 4.
    EXPECT_EQ(shell.Clock().m_tsElapsed.GetTotalSeconds(), 10 + 1 + 1 + 4);
    // Start is checked while the clock runs, and refused: it runs already.
    EXPECT_EQ(startState & (MF_GRAYED | MF_CHECKED), MF_GRAYED | MF_CHECKED);
    EXPECT_EQ(stopState & MF_GRAYED, 0u);
    EXPECT_EQ(quitState & MF_GRAYED, MF_GRAYED);
    EXPECT_EQ(fourState & MF_CHECKED, MF_CHECKED);
    // Once stopped the mission is still there and Quit Mission is enabled.
    EXPECT_NE(shell.Doc().GetMissions(), nullptr);
    CMenu* pMenu = pFrame->GetMenu();
    pMenu->UpdateCommandStates(pFrame);
    EXPECT_EQ(pMenu->GetMenuState(ID_TIME_START, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED), 0u);
    EXPECT_EQ(pMenu->GetMenuState(ID_QUIT_MISSION, MF_BYCOMMAND) & MF_GRAYED, 0u);
}

TEST(GameLoop, SelectedPathFollowsTheUnitAndIsDroppedWhenTheUnitRidesOrIsGone)
{
    CLoopShell shell;
    shell.Clock().m_tsElapsed = CTimeSpan(10);
    CUnit unit;
    CNodeArray path;
    for (int i = 0; i < 5; ++i)
        path.AddNode(static_cast<float>(i), 0);
    shell.m_pUnits->m_pUnit = &unit;
    shell.m_pUnits->m_pPath = &path;
    CRecordingView& view = shell.View();
    view.m_nSelUnit = view.m_nSelArray = view.m_nSelKind = 0;
    view.m_bPathShown = TRUE;
    view.m_bNodeMark1 = TRUE;
    view.m_nNodeMark1 = 2;
    view.m_bNodeMark2 = TRUE;
    view.m_nNodeMark2 = 4;

    std::vector<int> marks;
    int nCopied = 0;
    shell.m_pUnits->m_onMove = [&](int nPass)
    {
        AdvanceManualTime(1000);
        if (nPass == 2)
        {
            // The unit passed two nodes: both marks follow their nodes.
            nCopied = view.m_pShownPath != nullptr ? view.m_pShownPath->GetSize() : -1;
            path.RemoveAll();
            for (int i = 0; i < 3; ++i)
                path.AddNode(static_cast<float>(i), 0);
        }
        else if (nPass == 3)
        {
            marks = {view.m_bNodeMark1, view.m_nNodeMark1, view.m_bNodeMark2, view.m_nNodeMark2};
            unit.m_bDestroyed = TRUE;
        }
        else if (nPass == 4)
        {
            shell.App().StopClock();
        }
    };
    view.OnTimeStart();

    // Pass 1 copied five nodes, pass 2 found three: a shift of -2 moves the
    // first mark off the path and the second from node 4 to node 2.
    EXPECT_EQ(nCopied, 5);
    EXPECT_EQ(marks, (std::vector<int>{FALSE, -99, TRUE, 2}));
    // The destroyed unit's path was dropped with the selection.
    EXPECT_EQ(view.m_pShownPath, nullptr);
    EXPECT_FALSE(view.m_bPathShown);
    EXPECT_EQ(view.m_nSelUnit, -99);
}

TEST(GameLoopMultiplayer, StartWaitsForEveryAnswerServingMessages)
{
    CLoopShell shell;
    CRecordingSession& session = shell.StartMultiplayer();
    shell.Clock().m_tsElapsed = CTimeSpan(30);
    shell.Clock().SetRate(4.0f);
    session.m_bOtherAskedFirst = FALSE;
    session.m_onBeginWait = [&]
    {
        // The answers arrive as messages served while Time/Start waits.
        shell.App().PostWork(&shell.App(), [&] {});
        shell.App().PostWork(&shell.App(),
                             [&]
                             {
                                 session.m_bAllAnswered = TRUE;
                                 session.m_bAnswerAgreed = TRUE;
                             });
    };
    shell.m_pUnits->m_onMove = [&](int) { shell.App().StopClock(); };
    shell.View().OnTimeStart();

    EXPECT_EQ(shell.m_pUnits->m_nPasses, 1);
    EXPECT_EQ(shell.Clock().m_fRate, 1.0f);
    // The positions take their occupants, then the request goes out.
    const StepLog log = shell.TakeLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "occupants");
    EXPECT_EQ(log[1], "start request");
}

TEST(GameLoopMultiplayer, ARefusedStartLeavesTheClockStopped)
{
    CLoopShell shell;
    CRecordingSession& session = shell.StartMultiplayer();
    shell.Clock().m_tsElapsed = CTimeSpan(30);
    session.m_onBeginWait = [&]
    {
        session.m_bAllAnswered = TRUE;
        session.m_bAnswerAgreed = FALSE;
    };
    shell.View().OnTimeStart();
    EXPECT_FALSE(shell.App().IsClockRunning());
    EXPECT_EQ(shell.m_pUnits->m_nPasses, 0);
    EXPECT_EQ(shell.Clock().m_tsElapsed.GetTotalSeconds(), 30);
}

TEST(GameLoopMultiplayer, ABrokenConnectionWhileWaitingQuitsTheMission)
{
    CLoopShell shell;
    CRecordingSession& session = shell.StartMultiplayer();
    session.m_onBeginWait = [&] { session.m_bConnected = FALSE; };
    // The other player has not asked yet: the warning, then the request.
    shell.Ui().ExpectMessage("Warning!", DEPLOYMENT_WARNING, IDYES);
    shell.Ui().ExpectMessage("Error!", "The connection with your opponent has been broken.", IDOK);
    shell.Ui().ExpectDialog(IDD_START_MENU, IDCANCEL, [](CDialog& menu) { menu.PressButton(IDC_START_EXIT); });
    shell.Doc().SetModifiedFlag(TRUE);
    shell.View().OnTimeStart();

    EXPECT_FALSE(shell.App().IsClockRunning());
    EXPECT_TRUE(shell.App().IsDeploymentPhase());
    EXPECT_EQ(shell.Ui().GetShown()[1].type, MB_OK | MB_ICONSTOP);
    // Quit Mission: no save question, no results before the clock ran, the
    // session is left and an empty document remains.
    const StepLog log = shell.TakeLog();
    EXPECT_NE(std::find(log.begin(), log.end(), "leave game"), log.end());
    EXPECT_EQ(std::find(log.begin(), log.end(), "results"), log.end());
    EXPECT_EQ(shell.Doc().GetUnits(), nullptr);
    EXPECT_FALSE(shell.Doc().IsModified());
}
