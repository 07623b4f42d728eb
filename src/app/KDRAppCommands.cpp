// The application's mission commands (Quit Mission, the time compression)
// and the message service the game loop uses between its steps.

#include "app/KDRApp.h"

#include "app/GameClock.h"
#include "app/KDRCommandIds.h"
#include "app/KDRDoc.h"
#include "net/MultiplayerSession.h"
#include "platform/core/Memory.h"
#include "platform/core/Timer.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/Frame.h"
#include "platform/ui/UiService.h"
#include "view/KDRView.h"

namespace
{
// A screen shows a new picture about this often (60 a second).
constexpr DWORD SCREEN_REFRESH_MS = 16;

const char* const CLOCK_RUNNING_TEXT =
    "You must turn off the clock\r\n(with Stop from the Time Menu)\r\nbefore you can "
    "quit KDR.";

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
    MapCommand(ID_QUIT_MISSION, [this] { OnQuitMission(); });
    MapUpdate(ID_QUIT_MISSION, [this](CCmdUI* pCmdUI) { OnUpdateQuitMission(pCmdUI); });
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

    if (RunStartMenu() == 0 && m_pMainWnd != nullptr)
    {
        CWnd* pMain = m_pMainWnd;
        PostWork(this, [pMain] { pMain->OnClose(); });
    }
}

void CKDRApp::OnUpdateQuitMission(CCmdUI* pCmdUI) { pCmdUI->Enable(!IsClockRunning()); }

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
