#include "app/MissionResultsDlg.h"

#include "platform/core/File.h"
#include "platform/ui/PageView.h"

CMissionResultsDlg::CMissionResultsDlg(const CString& strSavegameDir, const CString& strDataDir, CWnd* pParent)
    : CDialog(IDD_MISSION_RESULTS, pParent), m_strSavegameDir(strSavegameDir), m_strDataDir(strDataDir)
{
    MapCommand(IDC_RESULTS_BACK, [this] { OnBack(); });
    MapCommand(IDC_RESULTS_FORWARD, [this] { OnForward(); });
}

void CMissionResultsDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("Mission Results").Size(640, 520);
    t.PageView(IDC_RESULTS_BROWSER, 8, 8, 624, 462);
    t.PushButton(IDC_RESULTS_BACK, "<<== BACK", 8, 482, 120, 28);
    t.DefPushButton(IDOK, "OK", 280, 482, 80, 28);
    t.PushButton(IDC_RESULTS_FORWARD, "FORWARD ==>>", 512, 482, 120, 28);
}

BOOL CMissionResultsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    BringWindowToTop();
    SetCurrentDir(m_strDataDir);
    GetDlgItem(IDC_RESULTS_BACK)->EnableWindow(FALSE);
    GetDlgItem(IDC_RESULTS_FORWARD)->EnableWindow(FALSE);
    if (CPageView* pBrowser = GetBrowser())
    {
        pBrowser->m_onCommandStateChange = [this](long command, BOOL enable) { OnCommandStateChange(command, enable); };
        pBrowser->m_onTitleChange = [this](const CString&) { UpdateCaption(); };
        pBrowser->Navigate("file:\\\\" + m_strSavegameDir + "\\results.htm");
        UpdateCaption();
    }
    return TRUE;
}

CPageView* CMissionResultsDlg::GetBrowser() const { return GetDlgControl<CPageView>(IDC_RESULTS_BROWSER); }

void CMissionResultsDlg::OnBack()
{
    if (CPageView* pBrowser = GetBrowser())
        pBrowser->GoBack();
    UpdateCaption();
}

void CMissionResultsDlg::OnForward()
{
    if (CPageView* pBrowser = GetBrowser())
        pBrowser->GoForward();
    UpdateCaption();
}

void CMissionResultsDlg::OnCommandStateChange(long command, BOOL enable)
{
    const UINT id = command == CSC_NAVIGATEBACK ? IDC_RESULTS_BACK : command == CSC_NAVIGATEFORWARD ? IDC_RESULTS_FORWARD : 0;
    if (CWnd* pButton = id != 0 ? GetDlgItem(id) : nullptr)
        pButton->EnableWindow(enable);
}

void CMissionResultsDlg::UpdateCaption()
{
    CPageView* pBrowser = GetBrowser();
    if (pBrowser == nullptr || !IsWindow())
        return;
    const CString strLocation = pBrowser->GetLocationName();
    if (strLocation.GetLength() > 4)
        SetWindowText(strLocation.Left(strLocation.GetLength() - 4));
}
