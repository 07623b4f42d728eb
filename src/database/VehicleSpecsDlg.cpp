#include "database/VehicleSpecsDlg.h"

#include "platform/core/File.h"
#include "platform/ui/App.h"
#include "platform/ui/PageView.h"
#include "shell/DrawService.h"

CVehicleSpecsDlg::CVehicleSpecsDlg() : CDialog(IDD_VEHICLE_SPECS)
{
    MapCommand(IDC_SPECS_BACK, [this] { OnBack(); });
    MapCommand(IDC_SPECS_FORWARD, [this] { OnForward(); });
}

CVehicleSpecsDlg::~CVehicleSpecsDlg()
{
    if (!m_bCreated)
        return;
    if (CDrawService* pDraw = GetDrawService())
        pDraw->HoldAutoScroll(-1);
    DestroyWindow();
    m_bCreated = FALSE;
}

void CVehicleSpecsDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("Vehicle Specs").Size(640, 520);
    t.PageView(IDC_SPECS_BROWSER, 8, 8, 624, 462);
    t.PushButton(IDC_SPECS_BACK, "<<== BACK", 8, 482, 120, 28);
    t.PushButton(IDC_SPECS_FORWARD, "FORWARD ==>>", 512, 482, 120, 28);
}

BOOL CVehicleSpecsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CPageView* pBrowser = GetBrowser())
    {
        pBrowser->m_onCommandStateChange = [this](long command, BOOL enable) { OnCommandStateChange(command, enable); };
        pBrowser->m_onTitleChange = [this](const CString&) { OnTitleChange(); };
    }
    CenterWindow();
    BringWindowToTop();
    ShowWindow(SW_SHOW);
    GetDlgItem(IDC_SPECS_BACK)->EnableWindow(FALSE);
    GetDlgItem(IDC_SPECS_FORWARD)->EnableWindow(FALSE);
    return TRUE;
}

CPageView* CVehicleSpecsDlg::GetBrowser() const { return GetDlgControl<CPageView>(IDC_SPECS_BROWSER); }

void CVehicleSpecsDlg::ShowPage(const CString& pageName, const CString& strSavegameDir, const CString& strDataDir)
{
    CDrawService* pDraw = GetDrawService();
    if (!m_bCreated)
    {
        if (pDraw != nullptr)
            pDraw->HoldAutoScroll(1);
        Create(IDD_VEHICLE_SPECS, AfxGetMainWnd());
        m_bCreated = TRUE;
    }
    else if (IsWindow() && !IsWindowVisible())
    {
        // Closed by the user: the window comes back with the next page.
        m_bEnded = false;
        ShowWindow(SW_SHOW);
        BringWindowToTop();
    }
    m_strPageName = pageName;

    CPageView* pBrowser = GetBrowser();
    if (pBrowser == nullptr)
        return;
    const CString strPageDir = strSavegameDir.IsEmpty() ? GetCurrentDir() : strSavegameDir;
    CString strAddress = "file:\\\\" + strPageDir + "\\" + pageName;
    SetCurrentDir(strPageDir);
    pBrowser->Navigate(strAddress);
    SetCurrentDir(strDataDir);

    // The page view tells of history changes as they happen, before this
    // point; the buttons follow the history as it now stands.
    UpdateCaption();
    GetDlgItem(IDC_SPECS_BACK)->EnableWindow(pBrowser->CanGoBack());
    GetDlgItem(IDC_SPECS_FORWARD)->EnableWindow(pBrowser->CanGoForward());
}

void CVehicleSpecsDlg::OnBack()
{
    if (CPageView* pBrowser = GetBrowser())
        pBrowser->GoBack();
    UpdateCaption();
}

void CVehicleSpecsDlg::OnForward()
{
    if (CPageView* pBrowser = GetBrowser())
        pBrowser->GoForward();
    UpdateCaption();
}

void CVehicleSpecsDlg::OnCommandStateChange(long command, BOOL enable)
{
    UINT id = 0;
    if (command == CSC_NAVIGATEBACK)
        id = IDC_SPECS_BACK;
    else if (command == CSC_NAVIGATEFORWARD)
        id = IDC_SPECS_FORWARD;
    else
        return;
    if (CWnd* pButton = GetDlgItem(id))
        pButton->EnableWindow(enable);
}

void CVehicleSpecsDlg::OnTitleChange() { UpdateCaption(); }

void CVehicleSpecsDlg::UpdateCaption()
{
    if (!m_bCreated || !IsWindow())
        return;
    CPageView* pBrowser = GetBrowser();
    if (pBrowser == nullptr)
        return;
    const CString strLocation = pBrowser->GetLocationName();
    SetWindowText(strLocation.Left(strLocation.GetLength() - 4));
}
