#include "units/SpotReportLogDlg.h"

#include "platform/ui/CmdTarget.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Frame.h"
#include "shell/DrawService.h"
#include "shell/ReportService.h"
#include "units/SpotReportArray.h"

CSpotReportLogDlg::CSpotReportLogDlg(CSpotReportArray* pReports)
    : CDialog(IDD_SPOT_REPORT_LOG, nullptr), m_pReports(pReports)
{
    BindControl(IDC_SPOT_REPORT_LIST, m_list);
    m_bForwardAccelerators = true;
}

CSpotReportLogDlg::~CSpotReportLogDlg() = default;

void CSpotReportLogDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("Spot Report Log").Size(420, 180);
    t.ListBox(IDC_SPOT_REPORT_LIST, 0, 0, 420, 180, LBS_NOTIFY | WS_VSCROLL | WS_HSCROLL);
}

BOOL CSpotReportLogDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // At the left edge of the screen, level with the top of the map.
    const CDrawService* pDraw = GetDrawService();
    CWnd* pView = pDraw != nullptr ? pDraw->GetMapViewWnd() : nullptr;
    int nTop = 0;
    if (pView != nullptr && pView->IsWindow())
    {
        CRect rcView;
        pView->GetClientRect(&rcView);
        pView->ClientToScreen(&rcView);
        nTop = rcView.top;
    }
    SetWindowPos(&wndTopMost, 0, nTop, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

BOOL CSpotReportLogDlg::Open(CWnd* pParent)
{
    if (m_bShown)
        return TRUE;
    if (!Create(IDD_SPOT_REPORT_LOG, pParent))
        return FALSE;
    m_bShown = TRUE;
    Refill();
    return TRUE;
}

void CSpotReportLogDlg::CloseLog()
{
    if (!m_bShown)
        return;
    m_bShown = FALSE;
    if (IsWindow())
        DestroyWindow();
}

void CSpotReportLogDlg::Refill()
{
    if (!m_bShown || m_pReports == nullptr || !m_list.IsWindow())
        return;
    const BOOL bFocused = CWnd::GetFocus() == &m_list;
    const int nTop = bFocused ? m_list.GetTopIndex() : 0;
    m_list.ResetContent();
    for (int i = 0; i < m_pReports->GetSize(); ++i)
    {
        if (const CSpotReport* pReport = m_pReports->GetAt(i))
            m_list.AddString(CSpotReportArray::FormatLine(*pReport));
    }
    m_list.SetTopIndex(bFocused ? nTop : m_list.GetCount() - 1);
}

void CSpotReportLogDlg::OnDoubleClick()
{
    if (!m_bShown || m_pReports == nullptr)
        return;
    const int nSelected = m_list.GetCurSel();
    if (nSelected >= 0)
        m_pReports->ShowReportWithLine(m_list.GetText(nSelected));
}

BOOL CSpotReportLogDlg::OnCommand(UINT id, UINT code)
{
    if (id == IDC_SPOT_REPORT_LIST && code == LBN_DBLCLK)
    {
        OnDoubleClick();
        return TRUE;
    }
    return CDialog::OnCommand(id, code);
}

// Enter and Escape do not close a log; the close box does.
void CSpotReportLogDlg::OnOK() {}
void CSpotReportLogDlg::OnCancel() { OnClose(); }

void CSpotReportLogDlg::OnClose()
{
    if (CReportService* pReports = GetReportService())
        pReports->OnToolWindowClosed(SPOT_REPORT_LOG_TOOL_WINDOW);
    CloseLog();
}

void CSpotReportLogDlg::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const CDrawService* pDraw = GetDrawService();
    if (CWnd* pView = pDraw != nullptr ? pDraw->GetMapViewWnd() : nullptr)
        pView->OnKeyDown(nChar, nRepCnt, nFlags);
}

void CSpotReportLogDlg::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const CDrawService* pDraw = GetDrawService();
    if (CWnd* pView = pDraw != nullptr ? pDraw->GetMapViewWnd() : nullptr)
        pView->OnChar(nChar, nRepCnt, nFlags);
}
