#pragma once
// CMissionResultsDlg: the modal "Mission Results" window. It shows the
// results page "results.htm" that the mission has just written into the
// saved-game directory, in a page view, until the player presses OK; the
// mission deletes the page once the window is closed.

#include "platform/ui/Dialog.h"

class CPageView;

constexpr UINT IDD_MISSION_RESULTS = 283;
constexpr UINT IDC_RESULTS_BROWSER = 1255;

class CMissionResultsDlg : public CDialog
{
public:
    CMissionResultsDlg(const CString& strSavegameDir, const CString& strDataDir, CWnd* pParent = nullptr);

    void BuildTemplate(CDialogTemplate& t) override;
    // Shows the page, with the data directory current.
    BOOL OnInitDialog() override;

    CPageView* GetBrowser() const;

private:
    CString m_strSavegameDir;
    CString m_strDataDir;
};
