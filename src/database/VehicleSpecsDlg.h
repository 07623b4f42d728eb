#pragma once
// CVehicleSpecsDlg: the modeless "Vehicle Specs" window that shows the
// equipment pages the equipment database writes into the saved-game
// directory, in a page view with Back and Forward buttons. It is created on
// the first page shown and kept: later pages are navigated to, and a window
// the user closed comes back with the next page. While it exists the
// application's idle step does not scroll the map.

#include "platform/ui/Dialog.h"

class CPageView;

constexpr UINT IDD_VEHICLE_SPECS = 285;
constexpr UINT IDC_SPECS_BROWSER = 1255;
constexpr UINT IDC_SPECS_BACK = 1055;
constexpr UINT IDC_SPECS_FORWARD = 1257;

class CVehicleSpecsDlg : public CDialog
{
public:
    CVehicleSpecsDlg();
    ~CVehicleSpecsDlg() override;

    // Shows a written page ("index.htm", a record's page name) of the
    // saved-game directory, then makes the data directory current again.
    void ShowPage(const CString& pageName, const CString& strSavegameDir, const CString& strDataDir);

    void BuildTemplate(CDialogTemplate& t) override;
    BOOL OnInitDialog() override;

    // Browser events: command state change (CSC_NAVIGATEBACK,
    // CSC_NAVIGATEFORWARD) and title change.
    void OnCommandStateChange(long command, BOOL enable);
    void OnTitleChange();

    CPageView* GetBrowser() const;
    const CString& GetPageName() const { return m_strPageName; }
    BOOL IsCreated() const { return m_bCreated; }

private:
    void OnBack();
    void OnForward();
    // The caption is the page's file name without ".htm".
    void UpdateCaption();

    CString m_strPageName;
    BOOL m_bCreated = FALSE;
};
