#include "app/GamePass.h"

#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "net/MultiplayerSession.h"
#include "platform/ui/UiService.h"

namespace
{
// Game messages to the other player.
constexpr DWORD GAME_MESSAGE_RESULT = 0x4000;
// Both results are four characters and their terminating zero.
const char RESULT_WON[5] = "won ";
const char RESULT_LOST[5] = "lost";

// The arena post is withdrawn on the first two passes after the deployment
// phase; the pass count starts at -1.
constexpr int WITHDRAW_PASSES = 2;
}  // namespace

CGamePass::CGamePass(CKDRDoc& doc, CKDRApp& app, CGamePassObserver* pObserver)
    : m_doc(doc), m_play(app), m_reports(app), m_pApp(&app), m_pObserver(pObserver)
{
}

CGamePass::CGamePass(CKDRDoc& doc, CPlayService& play, CReportService& reports, CGamePassObserver* pObserver)
    : m_doc(doc), m_play(play), m_reports(reports), m_pApp(dynamic_cast<CKDRApp*>(&play)), m_pObserver(pObserver)
{
}

BOOL CGamePass::Run(DWORD& dwLoopTick, int& nLoopRemainder, int& nEndTestCountdown, BOOL& bMissionOver)
{
    CTimeSpan tsElapsed;
    m_nGameMs = 0;
    m_nWholeSeconds = 0;
    m_play.AdvanceClock(tsElapsed, m_nGameMs, nLoopRemainder, dwLoopTick, m_nWholeSeconds);

    CMultiplayerSession* pSession = m_play.IsMultiplayer() ? m_play.GetSession() : nullptr;
    if (pSession != nullptr)
        pSession->ClearRequestFlags();
    WithdrawArenaPost();

    m_doc.UpdateLightCondition();
    int nUnit = kUnset;
    int nArray = kUnset;
    int nKind = kUnset;
    if (m_pObserver != nullptr)
        m_pObserver->GetSelectedUnit(nUnit, nArray, nKind);
    const int nChanged = m_doc.StepSimulation(nUnit, nArray, nKind);
    if (m_pObserver != nullptr)
        m_pObserver->OnSimulationStepped(nChanged);

    CUnitRefArray* pContacts1 = nullptr;
    CUnitRefArray* pContacts2 = nullptr;
    m_doc.UpdateContacts(pContacts1, pContacts2);
    if (m_pObserver != nullptr)
        m_pObserver->OnContactsUpdated(pContacts1, pContacts2);

    m_doc.DetectAll();
    m_doc.DirectFire();
    if (m_pObserver != nullptr)
        m_pObserver->OnDirectFireDone();

    m_doc.ProcessIndirectFire();
    m_reports.ShowPendingSpotReport();

    if (nEndTestCountdown != 0)
        nEndTestCountdown = nEndTestCountdown > m_nWholeSeconds ? nEndTestCountdown - m_nWholeSeconds : 0;

    // While the end test is suspended (single play only) the pass goes
    // straight to the redraw.
    if (nEndTestCountdown != 0)
        return TRUE;
    if (!TestMissionEnd(tsElapsed, nEndTestCountdown, bMissionOver))
        return FALSE;
    if (pSession != nullptr)
    {
        if (!pSession->IsOpponentConnected())
        {
            m_play.StopClock();
            pSession->m_bConnectionBroken = TRUE;
            bMissionOver = TRUE;
            return FALSE;
        }
        pSession->ProcessMessages();
    }
    return TRUE;
}

void CGamePass::WithdrawArenaPost()
{
    if (m_pApp == nullptr || !m_pApp->m_bWithdrawArenaPost)
        return;
    if (++m_pApp->m_nWithdrawPasses == WITHDRAW_PASSES)
    {
        m_pApp->m_bWithdrawArenaPost = FALSE;
        m_pApp->m_nWithdrawPasses = 0;
        return;
    }
    CMultiplayerSession* pSession = m_play.IsMultiplayer() ? m_play.GetSession() : nullptr;
    if (pSession != nullptr && pSession->m_bStarted && !m_pApp->m_bPlayEnemySide)
        pSession->DeleteArenaPost();
}

BOOL CGamePass::TestMissionEnd(const CTimeSpan& tsElapsed, int& nEndTestCountdown, BOOL& bMissionOver)
{
    int bWon = 0;
    if (!m_doc.TestMissionEnd(tsElapsed, bWon))
        return TRUE;

    CString strText = "The mission is over.\r\n";
    strText += bWon ? "All mission objectives successfully completed.\r\n" : "Mission objectives not met.\r\n";
    CWnd* pOwner = m_pObserver != nullptr ? m_pObserver->GetPromptOwner() : nullptr;

    if (!m_play.IsMultiplayer())
    {
        strText += "Do you wish to continue?";
        if (GetUiService().MessageBox(pOwner, strText, "Attention", MB_YESNO | MB_ICONQUESTION) == IDYES)
        {
            nEndTestCountdown = kEndTestPauseSeconds;
        }
        else
        {
            bMissionOver = TRUE;
            m_play.StopClock();
        }
        return TRUE;
    }

    CMultiplayerSession* pSession = m_play.GetSession();
    if (pSession != nullptr)
        pSession->m_bGameOver = TRUE;
    bMissionOver = TRUE;
    if (pSession != nullptr)
    {
        const char* pResult = m_play.IsMultiplayerWon() ? RESULT_WON : RESULT_LOST;
        pSession->SendGameMessage(pResult, sizeof RESULT_WON, GAME_MESSAGE_RESULT, 0, CString());
    }
    GetUiService().MessageBox(pOwner, strText, "Attention", MB_OK | MB_ICONINFORMATION);
    if (m_pApp != nullptr)
        m_pApp->PostArenaResults(m_play.IsMultiplayerWon());
    m_play.StopClock();
    return FALSE;
}
