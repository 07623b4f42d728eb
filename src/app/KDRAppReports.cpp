// The application's side of the spot reports (the report operations and
// the posting rule are CSpotReporter's): the view's focus on a report, the
// report windows and the View/Spot Reports commands.

#include "app/KDRApp.h"

#include "app/FireMissionLogDlg.h"
#include "app/KDRCommandIds.h"
#include "app/KDRDoc.h"
#include "app/MissionResultsDlg.h"
#include "app/ReportDlg.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/FireMission.h"
#include "battlefield/KDRGameMap.h"
#include "platform/ui/CmdTarget.h"
#include "units/KDRUnits.h"
#include "units/SpotReport.h"
#include "units/SpotReportArray.h"
#include "units/SpotReportLogDlg.h"
#include "units/Unit.h"
#include "view/KDRView.h"

void CKDRApp::ShowSpotReportInView(const CSpotReport* pReport)
{
    // The map view moves to the report's unit or position once it can
    // show a spot report; until then the log only keeps it.
    (void)pReport;
}

CFireMissionLogWindow* CKDRApp::NewFireMissionLogWindow() { return CFireMissionLogDlg::Make(); }

void CKDRApp::ShowReport(const CString& strReport)
{
    new CReportDlg(strReport, AfxGetMainWnd());  // the window owns itself
}

void CKDRApp::ShowMissionResults(const CString& strSavegameDir, const CString& strDataDir)
{
    CMissionResultsDlg dialog(strSavegameDir, strDataDir);
    dialog.DoModal();
}

void CKDRApp::OnToolWindowClosed(int nKind)
{
    CKDRView* pView = GetActiveView();
    if (pView != nullptr && nKind == SPOT_REPORT_LOG_TOOL_WINDOW)
        pView->SetSpotReportLogShown(FALSE);
    if (pView != nullptr && nKind == FIRE_MISSION_LOG_TOOL_WINDOW)
        pView->SetFMLogShown(FALSE);
}

void CKDRApp::SelectUnitInView(const SFireLogRecord& record, int nSide)
{
    CKDRView* pView = GetActiveView();
    CKDRDoc* pDoc = GetActiveDocument();
    CKDRGameMap* pMap = pDoc != nullptr ? pDoc->GetGameMap() : nullptr;
    const CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
    if (pView == nullptr || pElevation == nullptr)
        return;
    pView->CancelInteraction();
    float fX = static_cast<float>(record.nX);
    float fY = static_cast<float>(record.nY);
    if (record.nUnit >= 0)
    {
        CKDRUnits* pUnits = pDoc->GetUnits();
        const CUnit* pUnit = pUnits != nullptr ? pUnits->GetUnit(record.nUnit, record.nArray, nSide) : nullptr;
        if (pUnit == nullptr || pUnit->IsCarried())
            return;
        fX = pUnit->m_fX;
        fY = pUnit->m_fY;
    }
    int nPX = 0, nPY = 0;
    pElevation->MapToPixel(fX, fY, &nPX, &nPY);
    pView->CenterOnMapPoint(nPX, nPY);
}

// ---------------------------------------------------------------------------
// View/Spot Reports

void CKDRApp::RegisterSpotReportCommands()
{
    MapCommand(ID_VIEW_LAST_SPOT_REPORT, [this] { ShowSpotReportInView(m_pShownSpotReport); });
    MapUpdate(ID_VIEW_LAST_SPOT_REPORT, [this](CCmdUI* pCmdUI) { pCmdUI->Enable(m_pShownSpotReport != nullptr); });
    MapCommand(ID_VIEW_SPOT_REPORT_LOG, [this] { OnSpotReportLog(); });
    MapUpdate(ID_VIEW_SPOT_REPORT_LOG, [this](CCmdUI* pCmdUI) {
        CKDRView* pView = GetActiveView();
        pCmdUI->Enable(pView != nullptr && pView->IsCommandAllowed(ID_VIEW_SPOT_REPORT_LOG));
        pCmdUI->SetCheck(m_pSpotReports != nullptr && m_pSpotReports->IsLogShown());
    });
}

void CKDRApp::OnSpotReportLog()
{
    CKDRView* pView = GetActiveView();
    if (pView == nullptr || !pView->IsCommandAllowed(ID_VIEW_SPOT_REPORT_LOG) || m_pSpotReports == nullptr)
        return;
    m_pSpotReports->ToggleLog();
    pView->SetSpotReportLogShown(m_pSpotReports->IsLogShown());
}
