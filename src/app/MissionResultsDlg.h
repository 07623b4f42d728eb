#pragma once
// CMissionResultsDlg: the modal "Mission Results" window that shows the
// results page ("results.htm") written into the saved-game directory when
// a mission ends, in a page view with Back and Forward buttons. The caption
// follows the page shown.

#include "platform/ui/Dialog.h"

class CPageView;

constexpr UINT IDD_MISSION_RESULTS = 283;
constexpr UINT IDC_RESULTS_BROWSER = 1255;
constexpr UINT IDC_RESULTS_BACK = 1055;
constexpr UINT IDC_RESULTS_FORWARD = 1257;

class CMissionResultsDlg : public CDialog
{
public:
    CMissionResultsDlg(const CString& strSavegameDir, const CString& strDataDir, CWnd* pParent = nullptr);

    void BuildTemplate(CDialogTemplate& t) override;
    BOOL OnInitDialog() override;

    CPageView* GetBrowser() const;

private:
    void OnBack();
    void OnForward();
    void OnCommandStateChange(long command, BOOL enable);
    void UpdateCaption();

    CString m_strSavegameDir;
    CString m_strDataDir;
};
