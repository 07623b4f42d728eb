#pragma once
// CSpotReportLogDlg: the modeless "Spot Report Log" window, one list box
// of the log's lines, oldest first. It is made once with its report array
// and shown and closed many times. While the list has the focus, a refill
// keeps the line the player scrolled to at the top; otherwise the newest
// line is shown. Keys typed in it go to the map view, so the view's keys
// keep working; closing it tells the application (tool window 16).

#include "platform/ui/Dialog.h"
#include "platform/ui/ExtentListBox.h"

class CSpotReportArray;

constexpr UINT IDD_SPOT_REPORT_LOG = 160;
constexpr UINT IDC_SPOT_REPORT_LIST = 1160;
// The tool-window bit the log reports when it closes.
constexpr int SPOT_REPORT_LOG_TOOL_WINDOW = 16;

class CSpotReportLogDlg : public CDialog
{
public:
    explicit CSpotReportLogDlg(CSpotReportArray* pReports);
    ~CSpotReportLogDlg() override;

    void BuildTemplate(CDialogTemplate& t) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(UINT id, UINT code) override;
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;

    // Makes the window and fills it; FALSE when it could not be made.
    BOOL Open(CWnd* pParent);
    // Closes the window (the object stays for the next time).
    void CloseLog();
    // The list again from the report array (only while shown).
    void Refill();
    // The selected line goes to the report array's ShowReportWithLine.
    void OnDoubleClick();

    BOOL IsShown() const { return m_bShown; }
    CExtentListBox& GetList() { return m_list; }

private:
    CSpotReportArray* m_pReports;
    CExtentListBox m_list;
    BOOL m_bShown = FALSE;
};
