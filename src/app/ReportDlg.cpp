#include "app/ReportDlg.h"

#include "app/KDRApp.h"

#include <algorithm>

namespace
{
std::vector<CReportDlg*>& OpenReports()
{
    static std::vector<CReportDlg*> reports;
    return reports;
}
}  // namespace

CReportDlg::CReportDlg(const CString& strText, CWnd* pOwner) : CDialog(IDD_REPORT, pOwner), m_strText(strText)
{
    OpenReports().push_back(this);
    Create(IDD_REPORT, pOwner);
    if (CKDRApp* pApp = GetKDRApp())
    {
        ++pApp->m_nAutoScrollHold;
        m_bHoldTaken = TRUE;
    }
}

CReportDlg::~CReportDlg()
{
    std::vector<CReportDlg*>& reports = OpenReports();
    reports.erase(std::remove(reports.begin(), reports.end(), this), reports.end());
    if (m_bHoldTaken)
    {
        if (CKDRApp* pApp = GetKDRApp())
            --pApp->m_nAutoScrollHold;
    }
}

void CReportDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("KDR Builder").Size(460, 300);
    t.Edit(IDC_REPORT_TEXT, 10, 10, 440, 240, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL);
    t.DefPushButton(IDOK, "OK", 192, 262, 76, 26);
}

BOOL CReportDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_REPORT_TEXT, m_strText);
    return TRUE;
}

void CReportDlg::OnOK() { DestroyWindow(); }

void CReportDlg::OnCancel() { DestroyWindow(); }

void CReportDlg::PostNcDestroy() { delete this; }

const std::vector<CReportDlg*>& CReportDlg::GetOpenReports() { return OpenReports(); }

void CReportDlg::CloseAll()
{
    const std::vector<CReportDlg*> reports = OpenReports();
    for (CReportDlg* pReport : reports)
    {
        if (pReport->IsWindow())
            pReport->DestroyWindow();
        else
            delete pReport;
    }
}
