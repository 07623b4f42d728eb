#include "app/MissionResultsDlg.h"

#include "platform/core/File.h"
#include "platform/ui/PageView.h"

CMissionResultsDlg::CMissionResultsDlg(const CString& strSavegameDir, const CString& strDataDir, CWnd* pParent)
    : CDialog(IDD_MISSION_RESULTS, pParent), m_strSavegameDir(strSavegameDir), m_strDataDir(strDataDir)
{
}

void CMissionResultsDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("Mission Results").Size(640, 520);
    t.PageView(IDC_RESULTS_BROWSER, 8, 8, 624, 462);
    t.DefPushButton(IDOK, "OK", 556, 480, 76, 26);
}

CPageView* CMissionResultsDlg::GetBrowser() const { return GetDlgControl<CPageView>(IDC_RESULTS_BROWSER); }

BOOL CMissionResultsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetCurrentDir(m_strDataDir);
    if (CPageView* pBrowser = GetBrowser())
        pBrowser->Navigate("file:\\\\" + m_strSavegameDir + "\\results.htm");
    return TRUE;
}
