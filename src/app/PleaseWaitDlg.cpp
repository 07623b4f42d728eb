#include "app/PleaseWaitDlg.h"

CPleaseWaitDlg::CPleaseWaitDlg(CWnd* pOwner) : CDialog(IDD_PLEASE_WAIT, pOwner) { Create(IDD_PLEASE_WAIT, pOwner); }

CPleaseWaitDlg::~CPleaseWaitDlg()
{
    if (IsWindow())
        DestroyWindow();
}

void CPleaseWaitDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("Please Wait...").Size(240, 90);
    t.Static(IDC_PLEASE_WAIT_REASON, "Please Wait...", 10, 12, 220, 30, SS_CENTER);
    t.PushButton(IDCANCEL, "Cancel", 80, 52, 80, 26);
}

BOOL CPleaseWaitDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_PLEASE_WAIT_REASON, m_strReason);
    CenterWindow();
    ShowWindow(SW_SHOW);
    m_bCancelled = FALSE;
    return TRUE;
}

void CPleaseWaitDlg::OnCancel()
{
    DestroyWindow();
    m_bCancelled = TRUE;
}

void CPleaseWaitDlg::SetReason(const CString& strReason)
{
    m_strReason = strReason;
    if (IsWindow())
        SetDlgItemText(IDC_PLEASE_WAIT_REASON, m_strReason);
}
