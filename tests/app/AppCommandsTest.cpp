// The commands of the File, View and Multiplayer menus that the application
// and the document serve, asked through the main frame's command route as
// the menus ask them: the update rules of each, File/Open, Restart Mission
// on the demo mission, the hierarchy tree's element commands and the
// surrender of a multiplayer game.
#include "DocTestSupport.h"

#include "app/GameClock.h"
#include "app/KDRCommandIds.h"
#include "app/KDROpord.h"
#include "app/MissionSelectDlg.h"
#include "app/StartMenuDlg.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRHoles.h"
#include "database/KDRDatabase.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchyDlg.h"
#include "net/MultiplayerSession.h"
#include "orders/Order.h"
#include "platform/core/File.h"
#include "platform/ui/Frame.h"
#include "platform/ui/UiService.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace
{
struct CommandState
{
    bool enabled;
    int check;
};

// The state a menu would show for the command, asked through the frame.
CommandState Ask(CKDRApp& app, UINT nId)
{
    CCmdUI ui(nId);
    ui.DoUpdate(app.GetMainFrame(), TRUE);
    return {ui.m_bEnabled, ui.m_nCheck};
}

bool Enabled(CKDRApp& app, UINT nId) { return Ask(app, nId).enabled; }

// A session of one or two players that records what the application sends
// and can answer a surrender request.
class CStandInSession : public CMultiplayerSession
{
public:
    BOOL IsOpponentConnected() const override { return m_bTwoPlayers; }
    BOOL ProcessMessages() override { return TRUE; }
    // The mission's end clears the game's flags (a new document): they are
    // kept as they stood when the game was left.
    void LeaveGame() override
    {
        m_log.push_back("leave game");
        m_bSurrenderedAtLeave = m_bSurrendered;
        m_bEndedAtLeave = m_bEnded;
        m_bStartedAtLeave = m_bStarted;
    }
    void RequestSurrender() override
    {
        m_log.push_back("surrender request");
        if (m_onRequest)
            m_onRequest();
    }
    BOOL IsChatWindowShown() const override { return m_bChatShown; }
    void ShowChatWindow(BOOL bShow) override { m_bChatShown = bShow; }
    int SendGameMessage(const void*, int nLength, DWORD dwType, DWORD, const CString& strText) override
    {
        m_log.push_back("send " + std::to_string(dwType) + (nLength == 0 && strText.IsEmpty() ? "" : " with text"));
        return 1;
    }

    BOOL m_bTwoPlayers = TRUE;
    BOOL m_bChatShown = FALSE;
    BOOL m_bSurrenderedAtLeave = FALSE;
    BOOL m_bEndedAtLeave = FALSE;
    BOOL m_bStartedAtLeave = FALSE;
    std::function<void()> m_onRequest;
    std::vector<std::string> m_log;
};

// The demo mission, written by the demo writer into the shell's start
// directory and opened as the framework opens a scenario.
bool OpenDemo(CDocShell& shell)
{
    const std::filesystem::path tool = std::filesystem::path(KDR_BINARY_DIR) / "kdrdemo";
    const std::string command = "\"" + tool.string() + "\" \"" + shell.StartDir().string() + "\" >/dev/null";
    if (std::system(command.c_str()) != 0 || !shell.App().OpenScenarioFile(JoinPath(shell.App().m_strDataDir, "demo.asc")))
        return false;
    shell.App().GetGameClock()->ShowClockWindow();
    return true;
}

bool DemoWriterBuilt() { return std::filesystem::exists(std::filesystem::path(KDR_BINARY_DIR) / "kdrdemo"); }

CStandInSession& StartSession(CKDRApp& app, BOOL bTwoPlayers)
{
    auto* pSession = new CStandInSession;
    pSession->m_bTwoPlayers = bTwoPlayers;
    delete app.m_pSession;
    app.m_pSession = pSession;
    app.m_bMultiplayer = TRUE;
    return *pSession;
}

void EndSession(CKDRApp& app)
{
    delete app.m_pSession;
    app.m_pSession = nullptr;
    app.m_bMultiplayer = FALSE;
}
}  // namespace

TEST(AppCommands, UpdateRulesOfTheFileViewTimeAndMultiplayerCommands)
{
    if (!DemoWriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    CDocShell shell;
    ASSERT_TRUE(OpenDemo(shell));
    CKDRApp& app = shell.App();
    CKDRDoc& doc = shell.Doc();
    CGameClock& clock = *app.GetGameClock();
    CKDRGameMap* pMap = doc.GetGameMap();
    ASSERT_TRUE(app.GetActiveView()->HasMapPictures());

    // Each case changes one condition of the mission as opened (deployment,
    // clock stopped with its window open, not modified, single play) and
    // puts it back afterwards.
    struct Case
    {
        const char* what;
        std::function<void()> set;
        std::function<void()> reset;
        // Restart, Open Saved Game, Open, New, Quit, Save Game, 1/1, Chat Log, Surrender.
        const char* expected;
    };
    const UINT ids[] = {ID_FILE_RESTART_MISSION, ID_FILE_OPEN_SAVED_GAME, ID_FILE_OPEN_SCENARIO,
                        ID_FILE_NEW,             ID_QUIT_MISSION,         ID_FILE_SAVE_GAME,
                        ID_TIME_COMPRESSION_1,   ID_MULTIPLAYER_CHAT_LOG, ID_MULTIPLAYER_SURRENDER};
    auto modified = [&] { doc.SetModifiedFlag(TRUE); };
    auto unmodified = [&] { doc.SetModifiedFlag(FALSE); };
    CString strColorTiles;
    CString strContourTiles;
    const std::vector<Case> cases = {
        {"as opened", [] {}, [] {}, "-++++-+--"},
        {"modified", modified, unmodified, "+++++++--"},
        {"modified, clock running",
         [&]
         {
             modified();
             app.StartClock();
         },
         [&]
         {
             app.StopClock();
             clock.m_tsElapsed = CTimeSpan(0);
             unmodified();
         },
         "------+--"},
        {"modified, clock window closed",
         [&]
         {
             modified();
             clock.HideClockWindow();
         },
         [&]
         {
             clock.ShowClockWindow();
             unmodified();
         },
         "+-+++-+--"},
        {"modified, enemy side chosen",
         [&]
         {
             modified();
             app.m_bEnemySideChosen = TRUE;
         },
         [&]
         {
             app.m_bEnemySideChosen = FALSE;
             unmodified();
         },
         "-++++++--"},
        {"opened from a saved game", [&] { doc.m_bOpenedFromSavedGame = 1; },
         [&] { doc.m_bOpenedFromSavedGame = 0; }, "+++++-+--"},
        {"modified, multiplayer of one player",
         [&]
         {
             modified();
             StartSession(app, FALSE);
         },
         [&]
         {
             EndSession(app);
             unmodified();
         },
         "-++++--++"},
        {"multiplayer of two, deployment", [&] { StartSession(app, TRUE); }, [&] { EndSession(app); }, "-++++--++"},
        {"multiplayer of two, after deployment",
         [&]
         {
             StartSession(app, TRUE);
             clock.m_tsElapsed = CTimeSpan(1);
         },
         [&]
         {
             clock.m_tsElapsed = CTimeSpan(0);
             EndSession(app);
         },
         "--+++--++"},
        {"multiplayer of two, no units",
         [&]
         {
             StartSession(app, TRUE);
             doc.m_bUnits = 0;
         },
         [&]
         {
             doc.m_bUnits = 1;
             EndSession(app);
         },
         "--+++--++"},
        {"multiplayer of two, no map pictures",
         [&]
         {
             StartSession(app, TRUE);
             strColorTiles = pMap->m_strColorTiles;
             strContourTiles = pMap->m_strContourTiles;
             pMap->m_strColorTiles.Empty();
             pMap->m_strContourTiles.Empty();
         },
         [&]
         {
             pMap->m_strColorTiles = strColorTiles;
             pMap->m_strContourTiles = strContourTiles;
             EndSession(app);
         },
         "--+++--++"},
    };
    for (const Case& c : cases)
    {
        c.set();
        std::string seen;
        for (UINT nId : ids)
            seen += Enabled(app, nId) ? '+' : '-';
        c.reset();
        EXPECT_EQ(seen, c.expected) << c.what;
    }

    // The switches and the chat window's tick.
    const BOOL bAutoScroll = app.m_bAutoScroll;
    EXPECT_EQ(Ask(app, ID_VIEW_AUTO_SCROLL).check, bAutoScroll ? 1 : 0);
    app.GetMainFrame()->ExecuteCommand(ID_VIEW_AUTO_SCROLL);
    EXPECT_EQ(app.m_bAutoScroll, !bAutoScroll);
    EXPECT_EQ(Ask(app, ID_VIEW_AUTO_SCROLL).check, bAutoScroll ? 0 : 1);
    app.GetMainFrame()->ExecuteCommand(ID_VIEW_AUTO_SCROLL);
    EXPECT_EQ(app.m_bAutoScroll, bAutoScroll);

    CStandInSession& session = StartSession(app, TRUE);
    EXPECT_EQ(Ask(app, ID_MULTIPLAYER_CHAT_LOG).check, 0);
    app.GetMainFrame()->ExecuteCommand(ID_MULTIPLAYER_CHAT_LOG);
    EXPECT_TRUE(session.m_bChatShown);
    EXPECT_EQ(Ask(app, ID_MULTIPLAYER_CHAT_LOG).check, 1);
    app.GetMainFrame()->ExecuteCommand(ID_MULTIPLAYER_CHAT_LOG);
    EXPECT_FALSE(session.m_bChatShown);
    EndSession(app);
}

TEST(AppCommands, NewAndOpenAreRefusedWhileTheClockRuns)
{
    CDocShell shell;
    CKDRApp& app = shell.App();
    shell.Doc().SetTitle("Kept");
    app.StartClock();
    // Neither asks anything nor replaces the document under the game loop.
    app.GetMainFrame()->ExecuteCommand(ID_FILE_NEW);
    app.GetMainFrame()->ExecuteCommand(ID_FILE_OPEN_SCENARIO);
    EXPECT_EQ(shell.Doc().GetTitle(), "Kept");
    EXPECT_TRUE(shell.Ui().GetShown().empty());
    app.StopClock();
}

TEST(AppCommands, FileOpenOpensTheChosenMissionAndCancelKeepsTheOneThere)
{
    if (!DemoWriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    CDocShell shell;
    ASSERT_TRUE(OpenDemo(shell));
    CKDRApp& app = shell.App();
    const CKDRUnits* pUnits = shell.Doc().GetUnits();
    ASSERT_NE(pUnits, nullptr);

    // Cancel: nothing changes, not even the opened flag of the mission there.
    shell.Ui().ExpectDialog(IDD_MISSION_SELECT, IDCANCEL);
    app.GetMainFrame()->ExecuteCommand(ID_FILE_OPEN_SCENARIO);
    EXPECT_EQ(shell.Doc().GetUnits(), pUnits);
    EXPECT_FALSE(app.m_bDocumentOpened) << "cleared before the choice, set only by an open";

    shell.Doc().SetTitle("Untitled");
    shell.Ui().ExpectDialog(IDD_MISSION_SELECT, IDOK,
                            [](CDialog& d)
                            {
                                auto& dialog = dynamic_cast<CMissionSelectDlg&>(d);
                                dialog.GetDlgControl<CListBox>(IDC_MISSION_LIST)->ClickItem(0);
                            });
    app.GetMainFrame()->ExecuteCommand(ID_FILE_OPEN_SCENARIO);
    EXPECT_TRUE(app.m_bDocumentOpened);
    EXPECT_EQ(shell.Doc().GetTitle(), "Crossing at Kedravin");
    EXPECT_NE(shell.Doc().GetUnits(), nullptr);
    EXPECT_TRUE(app.IsDeploymentPhase());
}

TEST(AppCommands, RestartMissionReopensTheScenarioAsItBegan)
{
    if (!DemoWriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    CDocShell shell;
    ASSERT_TRUE(OpenDemo(shell));
    CKDRApp& app = shell.App();
    CKDRDoc& doc = shell.Doc();

    struct Place
    {
        float fX, fY;
    };
    auto places = [&]
    {
        std::vector<Place> all;
        for (int i = 0; doc.GetUnits() != nullptr && doc.GetUnits()->GetUnit(i, 0, 0) != nullptr; ++i)
            all.push_back({doc.GetUnits()->GetUnit(i, 0, 0)->m_fX, doc.GetUnits()->GetUnit(i, 0, 0)->m_fY});
        return all;
    };
    const std::vector<Place> atStart = places();
    ASSERT_GE(atStart.size(), 2u);
    EXPECT_FALSE(Enabled(app, ID_FILE_RESTART_MISSION)) << "nothing to restart yet";

    // Deployment: the player drags two units.
    ASSERT_TRUE(doc.DragUnit(0, 0, 0, atStart[0].fX + 120.0f, atStart[0].fY + 80.0f, FALSE));
    ASSERT_TRUE(doc.DragUnit(1, 0, 0, atStart[1].fX - 60.0f, atStart[1].fY + 40.0f, FALSE));
    ASSERT_TRUE(doc.IsModified());
    ASSERT_TRUE(Enabled(app, ID_FILE_RESTART_MISSION));

    // Cancel changes nothing.
    shell.Ui().ExpectMessage("Save Game?", "Do you wish to save your game before exiting?", IDCANCEL);
    app.GetMainFrame()->ExecuteCommand(ID_FILE_RESTART_MISSION);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(places()[0].fX, atStart[0].fX + 120.0f);

    // No: the scenario again, every unit where the scenario puts it.
    shell.Ui().ExpectMessage("Save Game?", "Do you wish to save your game before exiting?", IDNO);
    app.GetMainFrame()->ExecuteCommand(ID_FILE_RESTART_MISSION);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "Crossing at Kedravin");
    EXPECT_TRUE(app.IsDeploymentPhase());
    const std::vector<Place> after = places();
    ASSERT_EQ(after.size(), atStart.size());
    for (size_t i = 0; i < after.size(); ++i)
    {
        EXPECT_EQ(after[i].fX, atStart[i].fX) << i;
        EXPECT_EQ(after[i].fY, atStart[i].fY) << i;
    }
    EXPECT_FALSE(Enabled(app, ID_FILE_RESTART_MISSION));

    // A scenario removed since the open: an empty document and the start menu.
    ASSERT_TRUE(doc.DragUnit(0, 0, 0, atStart[0].fX + 10.0f, atStart[0].fY, FALSE));
    const CString strScenario = doc.GetPathName();
    std::filesystem::remove(shell.DataDir() / "demo.asc");
    CFile missing;
    CFileException error;
    ASSERT_FALSE(missing.Open(strScenario, CFile::modeRead | CFile::typeBinary, &error));
    shell.Ui().ExpectMessage("Save Game?", "Do you wish to save your game before exiting?", IDNO);
    shell.Ui().ExpectMessage(GetMessageBoxCaption(),
                             CString("Cannot open the file ") + strScenario + ".\r\n" + error.GetErrorText(), IDOK);
    shell.Ui().ExpectDialog(IDD_START_MENU, IDCANCEL, [](CDialog& menu) { menu.PressButton(IDC_START_EXIT); });
    app.GetMainFrame()->ExecuteCommand(ID_FILE_RESTART_MISSION);
    EXPECT_EQ(doc.GetUnits(), nullptr);
    EXPECT_FALSE(doc.IsModified());
}

TEST(AppCommands, RestartIsRefusedWhileTheClockRunsAndInAMultiplayerGame)
{
    CDocShell shell;
    CKDRApp& app = shell.App();
    shell.Doc().SetModifiedFlag(TRUE);
    for (int nCase = 0; nCase < 2; ++nCase)
    {
        if (nCase == 0)
            app.StartClock();
        else
            StartSession(app, TRUE);
        // No "Save Game?" question: the command does nothing at all.
        app.GetMainFrame()->ExecuteCommand(ID_FILE_RESTART_MISSION);
        EXPECT_TRUE(shell.Doc().IsModified()) << nCase;
        if (nCase == 0)
            app.StopClock();
        else
            EndSession(app);
    }
    EXPECT_TRUE(shell.Ui().GetShown().empty());
}

namespace
{
// Units whose hierarchy tree has a selected element, as the tree window
// would give it: Detach and Recall answer as told and count the calls;
// each TACSOP item has the value the test gives.
class CTreeSelectionUnits : public CKDRUnits
{
public:
    BOOL CanDetachElement() const override { return m_bCanDetach; }
    BOOL CanRecallDetached() const override { return m_bCanRecall; }
    BOOL DetachElement(CKDRDatabase*, CKDRGameMap*, CKDRObstacles*, CKDRHoles*) override
    {
        ++m_nDetached;
        return m_bCanDetach;
    }
    BOOL RecallDetached(CKDRDatabase*, CKDRGameMap*, CKDRObstacles*, CKDRHoles*) override
    {
        ++m_nRecalled;
        return m_bCanRecall;
    }
    int IsOrderItemChecked(int nItem, int& nValue) const override
    {
        nValue = nItem >= 0 && nItem < 20 ? m_anItems[nItem] : 0;
        return 1;
    }
    BOOL m_bCanDetach = FALSE;
    BOOL m_bCanRecall = FALSE;
    int m_nDetached = 0;
    int m_nRecalled = 0;
    int m_anItems[20] = {};
};

class CCountingHoles : public CKDRHoles
{
public:
    explicit CCountingHoles(int& nCount) : m_nCount(nCount) {}
    void AssignOccupants(CKDRUnits*, CKDRGameMap*) override { ++m_nCount; }
    int& m_nCount;
};
}  // namespace

TEST(AppCommands, DetachRecallAndTacSopFollowTheTreeSelection)
{
    CDocShell shell;
    CKDRApp& app = shell.App();
    CKDRDoc& doc = shell.Doc();
    auto* pUnits = new CTreeSelectionUnits;
    int nOccupantRounds = 0;
    doc.SetGameMap(new CKDRGameMap);
    doc.SetDatabase(new CKDRDatabase);
    doc.SetUnits(pUnits);
    doc.SetHoles(new CCountingHoles(nOccupantRounds));

    struct Case
    {
        UINT nId;
        BOOL CTreeSelectionUnits::*pCan;
        int CTreeSelectionUnits::*pCount;
    };
    for (const Case& c : {Case{ID_HIERARCHY_DETACH, &CTreeSelectionUnits::m_bCanDetach, &CTreeSelectionUnits::m_nDetached},
                          Case{ID_HIERARCHY_RECALL_DETACHED, &CTreeSelectionUnits::m_bCanRecall,
                               &CTreeSelectionUnits::m_nRecalled}})
    {
        doc.SetModifiedFlag(FALSE);
        nOccupantRounds = 0;
        pUnits->*c.pCan = FALSE;
        EXPECT_FALSE(Enabled(app, c.nId)) << c.nId;
        // Refused by the units: nothing follows.
        app.GetMainFrame()->ExecuteCommand(c.nId);
        EXPECT_EQ(pUnits->*c.pCount, 1);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(nOccupantRounds, 0);

        pUnits->*c.pCan = TRUE;
        EXPECT_TRUE(Enabled(app, c.nId)) << c.nId;
        app.GetMainFrame()->ExecuteCommand(c.nId);
        EXPECT_EQ(pUnits->*c.pCount, 2);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(nOccupantRounds, 1) << "the dug positions take their occupants again";
        pUnits->*c.pCan = FALSE;
    }

    // TACSOP k is enabled exactly when item k-1 is non-zero.
    pUnits->m_anItems[0] = 1;
    pUnits->m_anItems[6] = -3;
    pUnits->m_anItems[19] = 2;
    for (UINT nId = ID_TACSOP_FIRST; nId <= ID_TACSOP_LAST; ++nId)
    {
        const int nItem = static_cast<int>(nId - ID_TACSOP_FIRST);
        EXPECT_EQ(Enabled(app, nId), pUnits->m_anItems[nItem] != 0) << "TACSOP" << nItem + 1;
    }
    // Without units nothing is enabled.
    doc.m_bUnits = 0;
    EXPECT_FALSE(Enabled(app, ID_TACSOP_FIRST));
    EXPECT_FALSE(Enabled(app, ID_HIERARCHY_DETACH));
    doc.m_bUnits = 1;
}

namespace
{
// An order whose window opens and closes.
class CShowableOrder : public COrder
{
public:
    void ApplyToDialog() override { m_bOpen = TRUE; }
    void CloseOrderWindow() override { m_bOpen = FALSE; }
    BOOL IsWindowOpen() const override { return m_bOpen; }
    BOOL CanShowWindow() const override { return m_bCanShow; }
    BOOL m_bOpen = FALSE;
    BOOL m_bCanShow = TRUE;
};

class CShowableTreeDlg : public CHierarchyDlg
{
public:
    using CHierarchyDlg::CHierarchyDlg;
    BOOL CanShowWindow() const override { return TRUE; }
};
}  // namespace

TEST(AppCommands, OrderAndHierarchyTreeShowTheirWindowsOnlyWhenOneCanAppear)
{
    if (!DemoWriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    CDocShell shell;
    ASSERT_TRUE(OpenDemo(shell));
    CKDRApp& app = shell.App();
    CKDRDoc& doc = shell.Doc();

    // The operations order: its window object cannot show a window.
    if (doc.GetOpord() == nullptr)
        doc.SetOpord(new CKDROpord);
    CKDROpord* pOpord = doc.GetOpord();
    if (pOpord->m_bOrder)
        delete pOpord->m_pOrder;
    pOpord->m_pOrder = new COrder;
    pOpord->m_bOrder = 1;
    EXPECT_FALSE(Enabled(app, ID_VIEW_ORDER));

    auto* pOrder = new CShowableOrder;
    delete pOpord->m_pOrder;
    pOpord->m_pOrder = pOrder;
    const int nHold = app.m_nAutoScrollHold;
    EXPECT_TRUE(Enabled(app, ID_VIEW_ORDER));
    app.GetMainFrame()->ExecuteCommand(ID_VIEW_ORDER);
    EXPECT_TRUE(pOrder->m_bOpen);
    EXPECT_EQ(Ask(app, ID_VIEW_ORDER).check, 1);
    EXPECT_EQ(app.m_nAutoScrollHold, nHold + 1) << "the open window holds the auto scroll";
    app.GetMainFrame()->ExecuteCommand(ID_VIEW_ORDER);
    EXPECT_FALSE(pOrder->m_bOpen);
    EXPECT_EQ(app.m_nAutoScrollHold, nHold);
    // The enemy side does not read the player's order.
    app.m_bEnemySideChosen = TRUE;
    app.m_bEnemySideInSession = TRUE;
    EXPECT_FALSE(Enabled(app, ID_VIEW_ORDER));
    app.m_bEnemySideChosen = FALSE;
    app.m_bEnemySideInSession = FALSE;

    // The hierarchy tree: the least form of its window cannot appear.
    CKDRUnits* pUnits = doc.GetUnits();
    ASSERT_NE(pUnits, nullptr);
    CHierarchyArray* pOwn = pUnits->m_pHierarchy[UNIT_KIND_OWN];
    ASSERT_NE(pOwn, nullptr);
    ASSERT_NE(pOwn->m_pDialog, nullptr);
    EXPECT_FALSE(Enabled(app, ID_VIEW_HIERARCHY_TREE));
    app.GetMainFrame()->ExecuteCommand(ID_VIEW_HIERARCHY_TREE);
    EXPECT_FALSE(doc.IsHierarchyTreeOpen()) << "nothing ticked with no window behind it";

    delete pOwn->m_pDialog;
    pOwn->m_pDialog = new CShowableTreeDlg(pOwn);
    EXPECT_TRUE(Enabled(app, ID_VIEW_HIERARCHY_TREE));
    EXPECT_EQ(Ask(app, ID_VIEW_HIERARCHY_TREE).check, 0);
    app.GetMainFrame()->ExecuteCommand(ID_VIEW_HIERARCHY_TREE);
    EXPECT_TRUE(doc.IsHierarchyTreeOpen());
    EXPECT_EQ(Ask(app, ID_VIEW_HIERARCHY_TREE).check, 1);
    app.GetMainFrame()->ExecuteCommand(ID_VIEW_HIERARCHY_TREE);
    EXPECT_FALSE(doc.IsHierarchyTreeOpen());
}

TEST(AppCommands, SurrenderAskedAgreedAndLost)
{
    struct Case
    {
        const char* what;
        int answer;
        // What the stand-in does with the request: agree, or lose the
        // opponent while the answer is awaited.
        std::function<void(CKDRApp&, CStandInSession&)> onRequest;
        std::vector<std::string> log;
        bool missionOver;
    };
    const std::vector<Case> cases = {
        {"No", IDNO, {}, {}, false},
        {"Yes, agreed",
         IDYES,
         [](CKDRApp& app, CStandInSession& session)
         {
             // The answer comes over the link while the surrender waits.
             app.PostWork(&app,
                          [&session]
                          {
                              session.m_bSurrenderReply = TRUE;
                              session.m_bSurrenderWait = FALSE;
                          });
         },
         {"surrender request", "send 14", "send 13", "leave game"},
         true},
        {"Yes, opponent lost while waiting",
         IDYES,
         [](CKDRApp& app, CStandInSession& session)
         { app.PostWork(&app, [&session] { session.m_bTwoPlayers = FALSE; }); },
         {"surrender request", "leave game"},
         true},
    };
    for (const Case& c : cases)
    {
        CDocShell shell;
        CKDRApp& app = shell.App();
        CStandInSession& session = StartSession(app, TRUE);
        session.m_bStarted = TRUE;
        app.m_bMultiplayerWon = TRUE;
        shell.Doc().SetTitle("At war");
        if (c.onRequest)
            session.m_onRequest = [&app, &session, &c] { c.onRequest(app, session); };
        shell.Ui().ExpectMessage("Warning!",
                                 "Are you sure you want to surrender?\r\nThis mission will be recorded as a loss.",
                                 c.answer);
        if (c.missionOver)
        {
            shell.Ui().ExpectMessage("Attention", "The mission is over.\r\nYour team has surrendered.\r\n", IDOK);
            shell.Ui().ExpectDialog(IDD_START_MENU, IDCANCEL,
                                    [](CDialog& menu) { menu.PressButton(IDC_START_EXIT); });
        }
        ASSERT_TRUE(Enabled(app, ID_MULTIPLAYER_SURRENDER)) << c.what;
        app.GetMainFrame()->ExecuteCommand(ID_MULTIPLAYER_SURRENDER);
        EXPECT_EQ(session.m_log, c.log) << c.what;
        EXPECT_EQ(app.GetActiveView()->m_bMissionOver, c.missionOver) << c.what;
        EXPECT_FALSE(session.m_bSurrenderWait) << c.what;
        EXPECT_EQ(app.m_bMultiplayerWon, c.missionOver ? FALSE : TRUE) << c.what << ": recorded as a loss";
        if (c.missionOver)
        {
            // The mission was quit: an empty document, the session left.
            EXPECT_NE(shell.Doc().GetTitle(), "At war") << c.what;
            EXPECT_TRUE(session.m_bSurrenderedAtLeave) << c.what;
            const bool bAgreed = c.log.size() > 2;
            EXPECT_EQ(session.m_bEndedAtLeave, bAgreed) << c.what;
            EXPECT_EQ(session.m_bStartedAtLeave, !bAgreed) << c.what;
        }
        if (c.missionOver)
        {
            EXPECT_EQ(shell.Ui().GetShown()[1].type, MB_OK | MB_ICONINFORMATION);
        }
        EndSession(app);
    }
}
