// The application's commands of the whole run: File (New, Open..., Open
// Saved Game..., Quit Mission), View (Auto Scroll, Sound), Time/Compression
// and Multiplayer (Chat Log, Surrender...), and the message service the
// game loop uses between its steps.

#include "app/KDRApp.h"

#include "app/GameClock.h"
#include "app/KDRCommandIds.h"
#include "app/KDRDoc.h"
#include "app/MissionSelectDlg.h"
#include "net/MultiplayerSession.h"
#include "platform/core/Memory.h"
#include "platform/core/Timer.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/Frame.h"
#include "platform/ui/UiService.h"
#include "units/KDRUnits.h"
#include "view/KDRView.h"
#include "view/Sound.h"

namespace
{
// A screen shows a new picture about this often (60 a second).
constexpr DWORD SCREEN_REFRESH_MS = 16;

const char* const CLOCK_RUNNING_TEXT =
    "You must turn off the clock\r\n(with Stop from the Time Menu)\r\nbefore you can "
    "quit KDR.";
const char* const SURRENDER_QUESTION =
    "Are you sure you want to surrender?\r\nThis mission will be recorded as a loss.";

// The messages of an agreed surrender to the other players: the surrender
// is over (the session's four surrender flags reset), then the game ends.
constexpr DWORD MESSAGE_SURRENDER_RESET = 14;
constexpr DWORD MESSAGE_SURRENDER_AGREED = 13;

// While the surrender waits for the answer, the longest sleep between two
// idle rounds: the answer comes over the link, which wakes nothing.
constexpr DWORD SURRENDER_IDLE_WAIT_MS = 10;

// The units' kind argument that asks for any kind.
constexpr int ANY_KIND = -1;

// The compression factor of each Time/Compression item.
float CompressionOf(UINT nId)
{
    switch (nId)
    {
    case ID_TIME_COMPRESSION_2: return 2.0f;
    case ID_TIME_COMPRESSION_4: return 4.0f;
    case ID_TIME_COMPRESSION_8: return 8.0f;
    default: return 1.0f;
    }
}
}  // namespace

void CKDRApp::RegisterMissionCommands()
{
    MapCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    MapUpdate(ID_FILE_NEW, [this](CCmdUI* pCmdUI) { OnUpdateFileNew(pCmdUI); });
    MapCommand(ID_FILE_OPEN_SCENARIO, [this] { OnFileOpen(); });
    MapUpdate(ID_FILE_OPEN_SCENARIO, [this](CCmdUI* pCmdUI) { OnUpdateFileOpen(pCmdUI); });
    MapCommand(ID_FILE_OPEN_SAVED_GAME, [this] { OnFileOpenSavedGame(); });
    MapUpdate(ID_FILE_OPEN_SAVED_GAME, [this](CCmdUI* pCmdUI) { OnUpdateFileOpenSavedGame(pCmdUI); });
    MapCommand(ID_QUIT_MISSION, [this] { OnQuitMission(); });
    MapUpdate(ID_QUIT_MISSION, [this](CCmdUI* pCmdUI) { OnUpdateQuitMission(pCmdUI); });
    MapCommand(ID_VIEW_AUTO_SCROLL, [this] { OnViewAutoScroll(); });
    MapUpdate(ID_VIEW_AUTO_SCROLL, [this](CCmdUI* pCmdUI) { OnUpdateViewAutoScroll(pCmdUI); });
    MapCommand(ID_VIEW_SOUND, [this] { OnViewSound(); });
    MapUpdate(ID_VIEW_SOUND, [this](CCmdUI* pCmdUI) { OnUpdateViewSound(pCmdUI); });
    MapCommand(ID_MULTIPLAYER_CHAT_LOG, [this] { OnChatLog(); });
    MapUpdate(ID_MULTIPLAYER_CHAT_LOG, [this](CCmdUI* pCmdUI) { OnUpdateChatLog(pCmdUI); });
    MapCommand(ID_MULTIPLAYER_SURRENDER, [this] { OnSurrender(); });
    MapUpdate(ID_MULTIPLAYER_SURRENDER, [this](CCmdUI* pCmdUI) { OnUpdateSurrender(pCmdUI); });
    MapCommandRange(ID_TIME_COMPRESSION_1, ID_TIME_COMPRESSION_8, [this](UINT nId) { OnTimeCompression(nId); });
    MapUpdateRange(ID_TIME_COMPRESSION_1, ID_TIME_COMPRESSION_8,
                   [this](CCmdUI* pCmdUI) { OnUpdateTimeCompression(pCmdUI); });
}

void CKDRApp::OnQuitMission()
{
    CKDRView* pView = GetActiveView();
    if (IsClockRunning())
    {
        GetUiService().MessageBox(pView, CLOCK_RUNNING_TEXT, "Error!", MB_OK | MB_ICONSTOP);
        return;
    }

    CKDRDoc* pDoc = GetActiveDocument();
    if (pDoc != nullptr && pDoc->IsModified() && !m_bMultiplayer && !pDoc->SaveModified())
        return;
    if (pDoc != nullptr && (pView == nullptr || !pView->m_bMissionOver))
        pDoc->OfferResults(m_pGameClock->m_tsElapsed, 0);
    if (pView != nullptr)
        pView->StoreViewProperties(TRUE);
    if (m_bMultiplayer && m_pSession != nullptr)
        m_pSession->LeaveGame();

    OnFileNew();
    // The mission is gone; the start menu should not hold its memory.
    ReleaseFreeMemory();

    ReturnToStartMenu();
}

void CKDRApp::OnUpdateQuitMission(CCmdUI* pCmdUI) { pCmdUI->Enable(!IsClockRunning()); }

void CKDRApp::ReturnToStartMenu()
{
    if (RunStartMenu() == 0 && m_pMainWnd != nullptr)
    {
        CWnd* pMain = m_pMainWnd;
        PostWork(this, [pMain] { pMain->OnClose(); });
        return;
    }
    FocusMapView();
}

void CKDRApp::FocusMapView()
{
    CKDRView* pView = GetActiveView();
    if (pView != nullptr && pView->IsWindow())
        pView->SetFocus();
}

// ---------------------------------------------------------------------------
// File

void CKDRApp::OnFileNew()
{
    if (IsClockRunning())
        return;
    CWinApp::OnFileNew();
}

void CKDRApp::OnUpdateFileNew(CCmdUI* pCmdUI) { pCmdUI->Enable(!IsClockRunning()); }

BOOL CKDRApp::OpenScenarioFile(const CString& strFile)
{
    CKDRDoc* pDoc = dynamic_cast<CKDRDoc*>(OpenDocumentFile(strFile));
    if (pDoc == nullptr)
        return FALSE;
    m_bDocumentOpened = TRUE;
    pDoc->SetTitle(pDoc->GetMissionTitle());
    return TRUE;
}

void CKDRApp::RefreshPiecesShown()
{
    CKDRDoc* pDoc = GetActiveDocument();
    if (pDoc == nullptr || pDoc->GetUnits() == nullptr || pDoc->GetDatabase() == nullptr)
        return;
    m_bPiecesShown = pDoc->GetUnits()->OwnUnitsHavePieces(pDoc->GetDatabase());
    if (m_bPiecesShown)
    {
        if (CKDRView* pView = GetActiveView())
            pView->RefreshOverviewMap();
    }
}

void CKDRApp::OnFileOpen()
{
    if (IsClockRunning())
        return;
    m_bDocumentOpened = FALSE;
    CString strFile;
    if (ShowMissionList(strFile) && OpenScenarioFile(strFile))
        RefreshPiecesShown();
    FocusMapView();
}

void CKDRApp::OnUpdateFileOpen(CCmdUI* pCmdUI) { pCmdUI->Enable(!IsClockRunning()); }

void CKDRApp::OnFileOpenSavedGame()
{
    if (IsClockRunning())
        return;
    CKDRDoc* pDoc = GetActiveDocument();
    m_bDocumentOpened = FALSE;
    CString strName;
    // The game being played is offered for saving first: the saved game
    // takes its place.
    if (pDoc != nullptr && ChooseSavedGame(strName, 1) && pDoc->SaveModified() && pDoc->OpenSavedGame(strName))
    {
        m_bDocumentOpened = TRUE;
        RefreshPiecesShown();
    }
    FocusMapView();
}

void CKDRApp::OnUpdateFileOpenSavedGame(CCmdUI* pCmdUI)
{
    BOOL bEnable = !IsClockRunning() && m_pGameClock->IsClockWindowShown();
    if (bEnable && IsNetworkGame() && m_pSession->IsOpponentConnected())
    {
        // With the opponent there, only a set-up replaces the mission: a
        // game both have started cannot be swapped for another.
        CKDRDoc* pDoc = GetActiveDocument();
        CKDRView* pView = GetActiveView();
        bEnable = IsDeploymentPhase() && pDoc != nullptr && pDoc->HasUnitsOfKind(ANY_KIND) && pView != nullptr &&
                  pView->HasMapPictures();
    }
    pCmdUI->Enable(bEnable);
}

// ---------------------------------------------------------------------------
// View

void CKDRApp::OnViewAutoScroll()
{
    m_bAutoScroll = !m_bAutoScroll;
    if (CKDRView* pView = GetActiveView())
        pView->StoreViewProperties(FALSE);
}

void CKDRApp::OnUpdateViewAutoScroll(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bAutoScroll ? 1 : 0); }

void CKDRApp::OnViewSound()
{
    if (m_pSoundManager != nullptr)
        m_pSoundManager->SetSoundOn(!m_pSoundManager->IsSoundOn());
}

void CKDRApp::OnUpdateViewSound(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pSoundManager != nullptr);
    pCmdUI->SetCheck(m_pSoundManager != nullptr && m_pSoundManager->IsSoundOn() ? 1 : 0);
}

// ---------------------------------------------------------------------------
// Multiplayer

void CKDRApp::OnChatLog()
{
    if (!IsNetworkGame())
        return;
    m_pSession->ShowChatWindow(!m_pSession->IsChatWindowShown());
}

void CKDRApp::OnUpdateChatLog(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bMultiplayer);
    pCmdUI->SetCheck(IsNetworkGame() && m_pSession->IsChatWindowShown() ? 1 : 0);
}

void CKDRApp::OnSurrender()
{
    if (!IsNetworkGame())
        return;
    CKDRView* pView = GetActiveView();
    if (GetUiService().MessageBox(m_pMainWnd, SURRENDER_QUESTION, "Warning!", MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
    {
        FocusMapView();
        return;
    }
    CString strText = "The mission is over.\r\n";
    strText += "Your team has surrendered";
    strText += ".\r\n";

    CMultiplayerSession* pSession = m_pSession;
    pSession->m_bSurrendered = TRUE;
    if (pView != nullptr)
        pView->m_bMissionOver = TRUE;
    m_bMultiplayerWon = FALSE;
    pSession->m_bSurrenderReply = FALSE;
    pSession->m_bSurrenderWait = TRUE;
    pSession->RequestSurrender();

    // The session clears the wait flag when the answer has come; the agreed
    // answer sets the reply flag, which must not keep the wait going.
    while (m_pSession == pSession && pSession->m_bSurrenderWait && !IsQuitPosted())
    {
        if (PumpWaitingMessage())
            continue;
        LONG lIdleCount = 0;
        while (OnIdle(lIdleCount++))
        {
        }
        if (!pSession->IsOpponentConnected() || !IdleStep())
        {
            pSession->m_bSurrenderWait = FALSE;
            break;
        }
        if (pSession->m_bSurrenderWait)
            WaitForEvents(SURRENDER_IDLE_WAIT_MS);
    }
    if (m_pSession != pSession)
        return;

    if (pSession->m_bSurrenderReply)
    {
        pSession->SendGameMessage(nullptr, 0, MESSAGE_SURRENDER_RESET, 0, CString());
        PostArenaResults(m_bMultiplayerWon);
        pSession->SendGameMessage(nullptr, 0, MESSAGE_SURRENDER_AGREED, 0, CString());
        pSession->m_bEnded = TRUE;
        pSession->m_bStarted = FALSE;
    }
    GetUiService().MessageBox(m_pMainWnd, strText, "Attention", MB_OK | MB_ICONINFORMATION);

    CKDRDoc* pDoc = GetActiveDocument();
    if (!IsClockRunning() && pView != nullptr && pView->m_bMissionOver)
    {
        if (pDoc != nullptr)
        {
            pDoc->SetModifiedFlag(FALSE);
            pDoc->OfferResults(m_pGameClock->m_tsElapsed, 1);
        }
        OnQuitMission();
    }
    StopClock();
    FocusMapView();
}

void CKDRApp::OnUpdateSurrender(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bMultiplayer); }

void CKDRApp::OnTimeCompression(UINT nId)
{
    if (m_bMultiplayer)
        return;
    m_pGameClock->SetRate(CompressionOf(nId));
}

void CKDRApp::OnUpdateTimeCompression(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_bMultiplayer);
    pCmdUI->SetCheck(m_pGameClock->m_fRate == CompressionOf(pCmdUI->m_nID) ? 1 : 0);
}

void CKDRApp::PostArenaResults(BOOL)
{
    // The player record and the arena post come with the multiplayer
    // results; until then a finished game is recorded nowhere.
}

BOOL CKDRApp::ServeWaitingMessage()
{
    if (PumpWaitingMessage())
        return TRUE;
    // While the clock runs this is called after every unit's step and every
    // observer's look; the command states and the edge scroll show nothing
    // new more often than the screen is refreshed. With the clock stopped
    // the idle step also serves the session, so it runs every time.
    const DWORD dwNow = timeGetTime();
    if (IsClockRunning() && m_bIdleRefreshed && dwNow - m_dwIdleRefreshTick < SCREEN_REFRESH_MS)
        return TRUE;
    m_bIdleRefreshed = TRUE;
    m_dwIdleRefreshTick = dwNow;
    LONG lIdleCount = 0;
    while (OnIdle(lIdleCount++))
    {
    }
    return IdleStep();
}
