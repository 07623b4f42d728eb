// The application's side of the spot reports (the report operations and
// the posting rule are CSpotReporter's): the view's focus on a report, the
// report windows and the View/Spot Reports commands.

#include "app/KDRApp.h"

#include "app/KDRCommandIds.h"
#include "app/MissionResultsDlg.h"
#include "app/ReportDlg.h"
#include "platform/ui/CmdTarget.h"
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
