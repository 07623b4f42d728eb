// The game loop. The simulation has no timer: Time/Start runs the loop in
// place and returns only when the clock has stopped. Each pass advances the
// game clock and steps every component of the mission once in a fixed
// order (CGamePass, which calls back here for the selected path and the
// contact display), then redraws the map when the pass changed what it
// shows (the document collects what its components report), at most once
// a frame; a mission in which nothing moves is not painted again, and its
// passes give the processor away between them. Window messages are served
// inside the pass (after each unit's movement and each observer's
// detection, and once at the end of the pass), so menus, modeless dialogs,
// accelerators and Time/Stop keep working while the clock runs. Every
// handler that can run then must tolerate being called between two steps
// of a pass.

#include "view/KDRView.h"

#include "app/GameClock.h"
#include "app/GamePass.h"
#include "app/KDRApp.h"
#include "app/KDRCommandIds.h"
#include "app/KDRDoc.h"
#include "app/KDROpord.h"
#include "battlefield/KDRHoles.h"
#include "hierarchy/TaskOrg.h"
#include "net/MultiplayerSession.h"
#include "orders/NodeArray.h"
#include "platform/ui/UiService.h"
#include "units/Unit.h"
#include "view/Sound.h"

#include <chrono>
#include <thread>

namespace
{

const char* const DEPLOYMENT_WARNING =
    "Starting the clock will end\r\nthe deployment phase.\r\nYou will not be able to "
    "drag move\r\nunits, obstacles, or dug positions.\r\nDo you wish to continue?";
const char* const CONNECTION_BROKEN = "The connection with your opponent has been broken.";

// Game message to the other player: the clock was stopped.
constexpr DWORD GAME_MESSAGE_CLOCK_STOPPED = 16;

// A pass in which no real millisecond passed changes nothing; rather than
// spin through such passes, the loop gives the processor away this long.
constexpr std::chrono::milliseconds IDLE_PASS_PAUSE(1);

// A pass that changed nothing on the map, with no redraw waiting and no
// message to serve, gives the processor away this long: the clock counts
// the real milliseconds all the same, and the first pass that changes the
// map brings the loop back to its full pace. Window messages wait at most
// this long.
constexpr std::chrono::milliseconds QUIET_PASS_PAUSE(10);

// The loop redraws the map at most this often (25 frames a second): passes
// come far faster than a screen can show them.
constexpr DWORD LOOP_FRAME_MS = 40;

void PlayPickSound(CKDRApp* pApp)
{
    if (pApp != nullptr && pApp->m_pSoundManager != nullptr)
        pApp->m_pSoundManager->PlayPickSound();
}

// Clears the view's guard when Time/Start returns, however it returns.
class CTimeStartScope
{
public:
    explicit CTimeStartScope(BOOL& bFlag) : m_bFlag(bFlag) { m_bFlag = TRUE; }
    ~CTimeStartScope() { m_bFlag = FALSE; }
    CTimeStartScope(const CTimeStartScope&) = delete;
    CTimeStartScope& operator=(const CTimeStartScope&) = delete;

private:
    BOOL& m_bFlag;
};
}  // namespace

void CKDRView::RegisterLoopCommands()
{
    MapCommand(ID_TIME_START, [this] { OnTimeStart(); });
    MapUpdate(ID_TIME_START, [this](CCmdUI* pCmdUI) { OnUpdateTimeStart(pCmdUI); });
    MapCommand(ID_TIME_STOP, [this] { OnTimeStop(); });
    MapUpdate(ID_TIME_STOP, [this](CCmdUI* pCmdUI) { OnUpdateTimeStop(pCmdUI); });
}

void CKDRView::OnUpdateTimeStart(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsCommandAllowed(ID_TIME_START));
    CKDRApp* pApp = GetKDRApp();
    pCmdUI->SetCheck(pApp != nullptr && pApp->IsClockRunning() ? 1 : 0);
}

void CKDRView::OnUpdateTimeStop(CCmdUI* pCmdUI) { pCmdUI->Enable(IsCommandAllowed(ID_TIME_STOP)); }

void CKDRView::OnTimeStop()
{
    if (!IsCommandAllowed(ID_TIME_STOP))
        return;
    CKDRApp* pApp = GetKDRApp();
    if (pApp == nullptr)
        return;
    if (pApp->m_bMultiplayer && pApp->m_pSession != nullptr)
    {
        const CString strName = pApp->m_pSession->m_strScreenName;
        pApp->m_pSession->SendGameMessage(strName.GetString(), strName.GetLength() + 1, GAME_MESSAGE_CLOCK_STOPPED, 0,
                                          CString());
    }
    pApp->StopClock();
    PlayPickSound(pApp);
}

void CKDRView::OnTimeStart()
{
    if (!IsCommandAllowed(ID_TIME_START))
        return;
    CKDRApp* pApp = GetKDRApp();
    CKDRDoc* pDoc = GetDocument();
    // A Start chosen while the loop already runs (or waits for the other
    // player) would nest a second loop inside the first.
    if (pApp == nullptr || pDoc == nullptr || m_bInTimeStart || pApp->IsClockRunning())
        return;
    CTimeStartScope scope(m_bInTimeStart);

    if (CKDROpord* pOpord = pDoc->GetOpord(); pOpord != nullptr && pOpord->m_bOrder && pOpord->m_pOrder != nullptr)
        pOpord->CloseOrderWindow();

    if (pApp->IsDeploymentPhase())
    {
        const BOOL bOtherAskedFirst =
            pApp->m_bMultiplayer && pApp->m_pSession != nullptr && pApp->m_pSession->m_bOtherAskedFirst;
        if (!bOtherAskedFirst &&
            GetUiService().MessageBox(this, DEPLOYMENT_WARNING, "Warning!", MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return;
        pApp->m_bWithdrawArenaPost = TRUE;
        pApp->m_nWithdrawPasses = -1;
    }

    // What was in progress ends; a path edit goes on while the clock runs.
    ResetInteraction(TRUE);

    if (pDoc->GetHoles() != nullptr && pDoc->GetUnits() != nullptr)
        pDoc->GetHoles()->AssignOccupants(pDoc->GetUnits(), pDoc->GetGameMap());

    if (pApp->m_bMultiplayer)
    {
        pApp->GetGameClock()->SetRate(1.0f);
        if (!WaitForStartAnswers())
            return;
    }

    m_nEndTestCountdown = 0;
    const DWORD dwTick = pApp->StartClock();
    pDoc->PrepareRun(dwTick);
    m_dwLoopTick = dwTick;
    m_nLoopRemainder = 0;
    m_dwLoopLastRedraw = dwTick - LOOP_FRAME_MS;
    // The running clock itself changes the map: the impacts of fire
    // missions are shown only while it runs.
    m_bLoopRedrawDue = TRUE;
    PlayPickSound(pApp);

    while (pApp->IsClockRunning())
    {
        if (!RunGamePass())
            break;
    }

    FinishGameLoop();
}

BOOL CKDRView::WaitForStartAnswers()
{
    CKDRApp* pApp = GetKDRApp();
    CMultiplayerSession* pSession = pApp->m_pSession;
    if (pSession == nullptr)
        return TRUE;
    if (!pSession->m_bOtherAskedFirst)
    {
        pSession->BeginWaitForPlayers();
        while (!pSession->m_bAllAnswered)
        {
            if (pApp->IsQuitPosted())
                return FALSE;
            if (pApp->PumpWaitingMessage())
                continue;
            LONG lIdleCount = 0;
            while (pApp->OnIdle(lIdleCount++))
            {
            }
            if (!pSession->IsOpponentConnected() || !pApp->IdleStep())
            {
                GetUiService().MessageBox(this, CONNECTION_BROKEN, "Error!", MB_OK | MB_ICONSTOP);
                if (CKDRDoc* pDoc = GetDocument())
                    pDoc->SetModifiedFlag(FALSE);
                pApp->OnQuitMission();
                return FALSE;
            }
            if (!pSession->m_bAllAnswered)
                std::this_thread::sleep_for(IDLE_PASS_PAUSE);
        }
        if (!pSession->m_bAnswerAgreed)
            return FALSE;
    }
    pSession->m_bOtherAskedFirst = FALSE;
    return TRUE;
}

BOOL CKDRView::RunGamePass()
{
    CKDRApp* pApp = GetKDRApp();
    CKDRDoc* pDoc = GetDocument();
    if (pApp == nullptr || pDoc == nullptr)
    {
        if (pApp != nullptr)
            pApp->StopClock();
        return FALSE;
    }

    CGamePass pass(*pDoc, *pApp, this);
    if (!pass.Run(m_dwLoopTick, m_nLoopRemainder, m_nEndTestCountdown, m_bMissionOver))
        return FALSE;

    const BOOL bChanged = pDoc->TakeMapChanged();
    if (bChanged)
        m_bLoopRedrawDue = TRUE;
    const DWORD dwNow = timeGetTime();
    if (m_bLoopRedrawDue && dwNow - m_dwLoopLastRedraw >= LOOP_FRAME_MS)
    {
        m_dwLoopLastRedraw = dwNow;
        m_bLoopRedrawDue = FALSE;
        RedrawMap(FALSE);
    }

    // Without units nothing else serves the window messages of this pass.
    pApp->ServeWaitingMessage();
    if (pApp->IsQuitPosted())
    {
        pApp->StopClock();
        return FALSE;
    }
    if (!pApp->IsClockRunning())
        return TRUE;
    if (!bChanged && !m_bLoopRedrawDue && !pApp->IsMessageWaiting())
        std::this_thread::sleep_for(QUIET_PASS_PAUSE);
    else if (pass.GetGameMs() == kUnset)
        std::this_thread::sleep_for(IDLE_PASS_PAUSE);
    return TRUE;
}

// ---------------------------------------------------------------------------
// The view's part of a pass

void CKDRView::GetSelectedUnit(int& nUnit, int& nArray, int& nKind) const
{
    nUnit = m_nSelUnit;
    nArray = m_nSelArray;
    nKind = m_nSelKind;
}

void CKDRView::OnSimulationStepped(int nChanged) { RefreshSelectedPath(nChanged); }

void CKDRView::OnContactsUpdated(CUnitRefArray* pFirst, CUnitRefArray* pSecond)
{
    m_pContacts1 = pFirst;
    m_pContacts2 = pSecond;
}

void CKDRView::OnDirectFireDone()
{
    if (!m_bPathShown || m_nSelUnit == kUnset)
        return;
    CUnit* pUnit = GetDocument()->GetUnitForPopup(m_nSelUnit, m_nSelArray, m_nSelKind);
    if (pUnit != nullptr && (pUnit->m_bDestroyed || pUnit->IsCarried()))
        DiscardShownPath();
}

CWnd* CKDRView::GetPromptOwner() { return this; }

void CKDRView::RefreshSelectedPath(int nChanged)
{
    if (nChanged && ((m_bNodeMark1 && m_nNodeMark1 == 1) || (m_bNodeMark2 && m_nNodeMark2 == 1)))
    {
        m_bNodeMark1 = m_bNodeMark2 = FALSE;
        m_nNodeMark1 = m_nNodeMark2 = kUnset;
    }

    const BOOL bUnitPath = m_bPathShown && m_nSelUnit != kUnset;
    if (!bUnitPath && m_strElementPath.IsEmpty())
        return;
    CKDRDoc* pDoc = GetDocument();
    CNodeArray* pSource =
        bUnitPath ? pDoc->GetUnitPath(m_nSelUnit, m_nSelArray, m_nSelKind) : pDoc->ResetElementPath(m_strElementPath);
    if (pSource == nullptr)
    {
        DiscardShownPath();
        return;
    }

    const int nOldCount = m_pShownPath != nullptr ? m_pShownPath->GetSize() : -1;
    delete m_pShownPath;
    m_pShownPath = new CNodeArray(*pSource);
    const int nCount = m_pShownPath->GetSize();
    if (nOldCount < 0 || nCount == nOldCount)
        return;

    // The marks follow their nodes when nodes are passed or added at the
    // front; the first may mark the last node, the second may not.
    const int nShift = nCount - nOldCount;
    if (m_bNodeMark1)
    {
        m_nNodeMark1 += nShift;
        if (m_nNodeMark1 < 1 || m_nNodeMark1 > nCount)
        {
            m_bNodeMark1 = FALSE;
            m_nNodeMark1 = kUnset;
        }
    }
    if (m_bNodeMark2)
    {
        m_nNodeMark2 += nShift;
        if (m_nNodeMark2 < 1 || m_nNodeMark2 >= nCount)
        {
            m_bNodeMark2 = FALSE;
            m_nNodeMark2 = kUnset;
        }
    }
}

void CKDRView::DiscardShownPath()
{
    delete m_pShownPath;
    m_pShownPath = nullptr;
    m_bPathShown = FALSE;
    m_nSelUnit = kUnset;
    m_nSelArray = kUnset;
    m_nSelKind = kUnset;
    m_strElementPath.Empty();
}

void CKDRView::FinishGameLoop()
{
    CKDRApp* pApp = GetKDRApp();
    CGameClock* pClock = pApp->GetGameClock();
    // A mission whose clock has run never returns to the deployment phase,
    // even when less than a game second passed.
    if (pClock->m_tsElapsed.GetTotalSeconds() == 0)
        pClock->m_tsElapsed = CTimeSpan(1);
    pClock->Refresh();
    RedrawMap(FALSE);

    if (!m_bMissionOver)
        return;
    if (CKDRDoc* pDoc = GetDocument())
    {
        pDoc->SetModifiedFlag(FALSE);
        pDoc->OfferResults(pClock->m_tsElapsed, 1);
    }
    pApp->OnQuitMission();
}
