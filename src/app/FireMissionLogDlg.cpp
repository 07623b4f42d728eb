#include "app/FireMissionLogDlg.h"

#include "app/KDRApp.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/DialogTemplate.h"
#include "view/KDRView.h"

namespace
{
const char* const kSideLabels[] = {"Friendly", "Enemy", "Neutral"};
}

CFireMissionLogDlg::CFireMissionLogDlg() : CDialog(IDD_FIRE_MISSION_LOG, nullptr)
{
    BindControl(IDC_FIRE_MISSION_LIST, m_list);
    m_bForwardAccelerators = true;
}

CFireMissionLogDlg::~CFireMissionLogDlg() = default;

CFireMissionLogWindow* CFireMissionLogDlg::Make() { return new CFireMissionLogDlg; }

void CFireMissionLogDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("Fire Mission Log").Size(460, 200);
    t.Static(IDC_STATIC, "Unit", 4, 2, 130, 16);
    t.Static(IDC_STATIC, "Grid", 140, 2, 90, 16);
    t.Static(IDC_STATIC, "##", 230, 2, 30, 16);
    t.Static(IDC_STATIC, "Ammo", 260, 2, 70, 16);
    t.Static(IDC_STATIC, "Time to Splash", 330, 2, 126, 16);
    t.ListBox(IDC_FIRE_MISSION_LIST, 0, 20, 460, 180, LBS_NOTIFY | LBS_USETABSTOPS | WS_VSCROLL | WS_HSCROLL);
}

BOOL CFireMissionLogDlg::Open()
{
    if (m_bOpen)
        return TRUE;
    CKDRApp* pApp = GetKDRApp();
    CKDRView* pView = pApp != nullptr ? pApp->GetActiveView() : nullptr;
    if (!Create(IDD_FIRE_MISSION_LOG, pView))
        return FALSE;
    m_bOpen = TRUE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

void CFireMissionLogDlg::CloseWindow()
{
    if (!m_bOpen)
        return;
    m_bOpen = FALSE;
    if (IsWindow())
        DestroyWindow();
}

void CFireMissionLogDlg::FillList(int nSide, const CStringList& lines, const std::vector<SFireLogRecord>& records)
{
    m_lines = lines;
    m_records = records;
    m_bListsMade = TRUE;
    m_nSide = nSide;
    if (!m_bOpen || !m_list.IsWindow())
        return;
    const int nKept = CWnd::GetFocus() == &m_list ? m_list.GetCurSel() : -1;
    m_list.ResetContent();
    for (const CString& line : m_lines)
        m_list.AddString(line);
    m_list.SetCurSel(nKept >= 0 && nKept < m_list.GetCount() ? nKept : 0);
    if (nSide >= 0 && nSide <= 2)
        SetWindowText(CString(kSideLabels[nSide]) + " Fire Mission Log");
}

void CFireMissionLogDlg::OnDoubleClick()
{
    if (!m_bOpen)
        return;
    const int nSelected = m_list.GetCurSel();
    if (nSelected < 0)
        return;
    const int nLine = m_lines.Find(m_list.GetText(nSelected));
    if (nLine < 0 || static_cast<size_t>(nLine) >= m_records.size())
        return;
    if (CKDRApp* pApp = GetKDRApp())
        pApp->SelectUnitInView(m_records[static_cast<size_t>(nLine)], m_nSide);
}

BOOL CFireMissionLogDlg::OnCommand(UINT id, UINT code)
{
    if (id == IDC_FIRE_MISSION_LIST && code == LBN_DBLCLK)
    {
        OnDoubleClick();
        return TRUE;
    }
    return CDialog::OnCommand(id, code);
}

// Enter and Escape do not close a log; the close box does.
void CFireMissionLogDlg::OnOK() {}
void CFireMissionLogDlg::OnCancel() { OnClose(); }

void CFireMissionLogDlg::OnClose()
{
    if (CKDRApp* pApp = GetKDRApp())
        pApp->OnToolWindowClosed(FIRE_MISSION_LOG_TOOL_WINDOW);
    CloseWindow();
}

void CFireMissionLogDlg::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CKDRApp* pApp = GetKDRApp();
    if (CKDRView* pView = pApp != nullptr ? pApp->GetActiveView() : nullptr)
        pView->OnKeyDown(nChar, nRepCnt, nFlags);
}

void CFireMissionLogDlg::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CKDRApp* pApp = GetKDRApp();
    if (CKDRView* pView = pApp != nullptr ? pApp->GetActiveView() : nullptr)
        pView->OnChar(nChar, nRepCnt, nFlags);
}
