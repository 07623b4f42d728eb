#pragma once
// CReportDlg: the modeless report window that lists problems found while
// loading data, such as bitmaps or sounds a list names but the data
// directory lacks. It is made with its text and owner, shows itself at once
// and deletes itself when its window is destroyed (OK, Cancel or the close
// box). While it is open the application's idle step does not scroll the
// map.
//
// A report whose owner goes first loses its window with the owner; the
// object then waits for CloseAll, which the application runs when it ends.

#include "platform/ui/Dialog.h"

#include <vector>

constexpr UINT IDD_REPORT = 136;
constexpr UINT IDC_REPORT_TEXT = 1069;

class CReportDlg : public CDialog
{
public:
    // Creates and shows the window; the object owns itself from here on.
    CReportDlg(const CString& strText, CWnd* pOwner);
    ~CReportDlg() override;

    void BuildTemplate(CDialogTemplate& t) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    const CString& GetText() const { return m_strText; }

    // The reports that exist now, oldest first.
    static const std::vector<CReportDlg*>& GetOpenReports();
    // Closes and deletes every report.
    static void CloseAll();

protected:
    void PostNcDestroy() override;

private:
    CString m_strText;
    BOOL m_bHoldTaken = FALSE;
};
