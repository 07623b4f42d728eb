#include "app/MessageBoxDlg.h"

#include "app/KDRApp.h"

#include <algorithm>

CMessageBoxDlg::CMessageBoxDlg(CWnd* pOwner, CMessageBoxDlg** ppHolder)
    : CDialog(IDD_MESSAGE_BOX, pOwner), m_pOwner(pOwner), m_ppHolder(ppHolder)
{
}

CMessageBoxDlg::~CMessageBoxDlg()
{
    if (m_bHoldTaken)
    {
        if (CKDRApp* pApp = GetKDRApp())
            --pApp->m_nAutoScrollHold;
    }
    if (m_ppHolder != nullptr && *m_ppHolder == this)
        *m_ppHolder = nullptr;
}

BOOL CMessageBoxDlg::CreateBox()
{
    if (m_bCreated)
        return TRUE;
    m_bCreated = Create(IDD_MESSAGE_BOX, m_pOwner);
    return m_bCreated;
}

void CMessageBoxDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("Message Box").Size(260, 130);
    t.Static(IDC_MESSAGE_BOX_TEXT, "", 10, 10, 240, 70);
    t.DefPushButton(IDOK, "OK", 50, 92, 76, 26);
    t.PushButton(IDCANCEL, "Cancel", 134, 92, 76, 26);
}

BOOL CMessageBoxDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_MESSAGE_BOX_TEXT, m_strText);
    if (m_pOwner == nullptr)
        return TRUE;
    ShowWindow(SW_SHOW);
    CRect rcBox;
    GetWindowRect(&rcBox);
    const int nWidth = rcBox.Width();
    const int nHeight = rcBox.Height();
    if (m_nX < 1 || m_nY <= 0)
    {
        CenterWindow();
    }
    else
    {
        CPoint point(m_nX, m_nY);
        m_pOwner->ClientToScreen(&point);
        const int nScreenWidth = GetSystemMetrics(SM_CXSCREEN);
        const int nScreenHeight = GetSystemMetrics(SM_CYSCREEN);
        if (point.x + nWidth > nScreenWidth)
            point.x -= nWidth;
        if (point.y + nHeight > nScreenHeight)
            point.y = nScreenHeight - nHeight;
        point.x = std::max(point.x, 0);
        point.y = std::max(point.y, 0);
        SetWindowPos(&wndTop, point.x, point.y, 0, 0, SWP_NOSIZE);
    }
    SetWindowText(m_strCaption);
    if (CKDRApp* pApp = GetKDRApp())
    {
        ++pApp->m_nAutoScrollHold;
        m_bHoldTaken = TRUE;
    }
    return TRUE;
}

void CMessageBoxDlg::OnOK()
{
    if (m_bReportBack)
        m_nResult = 1;
    Close();
}

void CMessageBoxDlg::OnCancel() { Close(); }

void CMessageBoxDlg::Close()
{
    if (!m_bCreated)
        return;
    CKDRApp* pApp = GetKDRApp();
    if (pApp != nullptr && m_bHoldTaken)
    {
        --pApp->m_nAutoScrollHold;
        m_bHoldTaken = FALSE;
    }
    if (pApp != nullptr && m_bReportBack && m_nResult != 1)
    {
        pApp->m_bAIEditing = FALSE;
        pApp->m_bAIUnitPicked = FALSE;
        pApp->m_bAIRectPicked = FALSE;
    }
    DestroyWindow();
}

void CMessageBoxDlg::PostNcDestroy() { delete this; }
