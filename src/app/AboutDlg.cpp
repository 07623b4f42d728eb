#include "app/AboutDlg.h"

#include "app/KDRApp.h"

CAboutDlg::CAboutDlg(CWnd* pParent) : CDialog(IDD_ABOUTBOX, pParent)
{
    BindControl(IDC_ABOUT_TEXT_LINK, m_textLink);
    BindControl(IDC_ABOUT_ICON_LINK, m_iconLink);
}

void CAboutDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("About Kedravin").Size(400, 160);
    t.Static(IDC_ABOUT_ICON_LINK, "KDR", 16, 16, 48, 48, SS_ICON | SS_NOTIFY);
    t.Static(IDC_STATIC, "Kedravin", 80, 16, 240, 18);
    t.Static(IDC_STATIC, "Tactical simulation of mechanised ground combat", 80, 38, 310, 18);
    t.Static(IDC_ABOUT_TEXT_LINK, "Kedravin on the web", 80, 66, 240, 18, SS_LEFT | SS_NOTIFY);
    t.DefPushButton(IDOK, "OK", 310, 116, 76, 26);
}

BOOL CAboutDlg::OnInitDialog()
{
    if (CKDRApp* pApp = GetKDRApp())
    {
        m_textLink.m_strLink = pApp->m_strAboutTextLink;
        m_iconLink.m_strLink = pApp->m_strAboutIconLink;
    }
    m_textLink.ApplyLinkLook();
    m_iconLink.ApplyLinkLook();
    CDialog::OnInitDialog();
    SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    CenterWindow();
    return TRUE;
}

void ShowAboutBox()
{
    CAboutDlg dialog(AfxGetMainWnd());
    dialog.DoModal();
}
