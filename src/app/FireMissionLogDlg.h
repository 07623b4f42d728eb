#pragma once
// CFireMissionLogDlg: the modeless "Fire Mission Log" window, one list box
// of one side's fire-mission lines: its rounds in flight ("In the air..."
// until the splash, then "Splash!"), then its batteries' queued missions.
// The units component owns it through CFireMissionLogWindow and refills it
// as rounds fly and missions change. A refill keeps the selected line only
// while the list has the focus. A double click moves the map to the line's
// point or unit; keys typed in it go to the map view; closing it tells the
// application (tool window 32).

#include "platform/core/Collections.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ExtentListBox.h"
#include "units/FireMissionLogWindow.h"

#include <vector>

constexpr UINT IDD_FIRE_MISSION_LOG = 205;
constexpr UINT IDC_FIRE_MISSION_LIST = 1026;
// The tool-window bit the log reports when it closes.
constexpr int FIRE_MISSION_LOG_TOOL_WINDOW = 32;

class CFireMissionLogDlg : public CDialog, public CFireMissionLogWindow
{
public:
    CFireMissionLogDlg();
    ~CFireMissionLogDlg() override;

    void BuildTemplate(CDialogTemplate& t) override;
    BOOL OnCommand(UINT id, UINT code) override;
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;

    // CFireMissionLogWindow
    BOOL Open() override;
    void CloseWindow() override;
    BOOL IsOpen() const override { return m_bOpen; }
    void FillList(int nSide, const CStringList& lines, const std::vector<SFireLogRecord>& records) override;
    int GetSide() const override { return m_nSide; }
    const CStringList& GetLines() const override { return m_lines; }

    // The selected line's record goes to the application's select-in-view.
    void OnDoubleClick();
    CExtentListBox& GetList() { return m_list; }
    const std::vector<SFireLogRecord>& GetRecords() const { return m_records; }

    // Makes the shell's window for the units component.
    static CFireMissionLogWindow* Make();

private:
    CExtentListBox m_list;
    BOOL m_bOpen = FALSE;
    BOOL m_bListsMade = FALSE;
    int m_nSide = 0;
    CStringList m_lines;
    std::vector<SFireLogRecord> m_records;
};
