// The results offer at the end of a mission, or when the player leaves one:
// the main mission writes "results.htm" from the force counts the document
// took when the mission opened and shows it.

#include "app/KDRDoc.h"

#include "app/GameClock.h"
#include "app/KDRApp.h"
#include "app/KDRMissions.h"
#include "platform/ui/UiService.h"
#include "platform/ui/Wnd.h"

#include <algorithm>
#include <iterator>

int CKDRDoc::OfferResults(CTimeSpan tsElapsed, int bFinished)
{
    CKDRApp* pApp = GetKDRApp();
    CKDRMissions* pMissions = GetMissions();
    CKDRUnits* pUnits = GetUnits();
    CKDRDatabase* pDatabase = GetDatabase();
    // Before the clock has run there is nothing to report.
    if (pApp == nullptr || pMissions == nullptr || pUnits == nullptr || pDatabase == nullptr ||
        pApp->IsDeploymentPhase())
        return 0;

    if (!bFinished)
    {
        const int nAnswer =
            GetUiService().MessageBox(AfxGetMainWnd(), "This mission is not complete\nDo you want to view the results?",
                                      "Question", MB_YESNO | MB_ICONQUESTION);
        if (nAnswer != IDYES)
            return 0;
    }

    int anTotals[6];
    GetForceTotals(anTotals);
    const int* apCounts[3] = {m_bOwnCounts ? m_pOwnCounts : nullptr, m_bOpposingCounts ? m_pOpposingCounts : nullptr,
                              m_bThirdCounts ? m_pThirdCounts : nullptr};
    CGameClock* pClock = pApp->GetGameClock();
    const CTime tStart = pClock != nullptr ? pClock->m_tStart : GetMissionStartTime();
    pMissions->ShowResults(pUnits, pDatabase, anTotals, apCounts, tStart, tsElapsed);
    return 1;
}

void CKDRDoc::GetForceTotals(int anTotals[6]) const
{
    const int anWords[6] = {m_nOwnTotalA,   m_nOwnTotalB,      m_nThirdTotalA,
                            m_nThirdTotalB, m_nOpposingTotalA, m_nOpposingTotalB};
    std::copy(std::begin(anWords), std::end(anWords), anTotals);
}
