#pragma once
// CFireOrderDlg: the modeless "Fire Order" window. It edits the current
// fire order that every fire mission ordered afterwards on the map takes:
// munition, sheaf with its attitude and length, method of control with
// the time on target (day since 1 January 1970, hour, minute, second) and
// the number of volleys. The view owns one and opens it from
// Actions/Fire Order; it may stay open while the clock runs, and while it
// is open the application's count of modeless windows is raised.
//
// Every radio click greys out what the choice rules out (Chemical and PGM
// fire Converged only, FASCAM Linear only with its length fixed); OK
// checks each field against its range, refuses a time on target past the
// last calendar second a saved game can hold, and stores the order in the
// application and the view's settings.

#include "platform/ui/Dialog.h"

class CKDRApp;

constexpr UINT IDD_FIRE_ORDER = 278;
// Munition radio buttons, in their group's order: HE ... PGM.
constexpr UINT IDC_FIRE_HE = 1026;
constexpr UINT IDC_FIRE_HERAP = 1027;
constexpr UINT IDC_FIRE_DPICM = 1038;
constexpr UINT IDC_FIRE_BBDPICM = 1042;
constexpr UINT IDC_FIRE_SMOKE = 1044;
constexpr UINT IDC_FIRE_CHEMICAL = 1051;
constexpr UINT IDC_FIRE_NUCLEAR = 1046;
constexpr UINT IDC_FIRE_ILLUM = 1048;
constexpr UINT IDC_FIRE_FASCAM = 1049;
constexpr UINT IDC_FIRE_PGM = 1050;
constexpr UINT IDC_FIRE_CONVERGED = 1060;
constexpr UINT IDC_FIRE_LINEAR = 1061;
constexpr UINT IDC_FIRE_OPEN = 1072;
constexpr UINT IDC_FIRE_ATTITUDE_LABEL = 1071;
constexpr UINT IDC_FIRE_ATTITUDE = 1070;
constexpr UINT IDC_FIRE_LENGTH_LABEL = 1078;
constexpr UINT IDC_FIRE_LENGTH = 1077;
constexpr UINT IDC_FIRE_IMMEDIATE = 1073;
constexpr UINT IDC_FIRE_WHEN_READY = 1058;
constexpr UINT IDC_FIRE_AMC = 1165;
constexpr UINT IDC_FIRE_TOT = 1059;
constexpr UINT IDC_FIRE_DAY_LABEL = 1062;
constexpr UINT IDC_FIRE_HOUR_LABEL = 1063;
constexpr UINT IDC_FIRE_MINUTE_LABEL = 1064;
constexpr UINT IDC_FIRE_SECOND_LABEL = 1065;
constexpr UINT IDC_FIRE_DAY = 1087;
constexpr UINT IDC_FIRE_HOUR = 1088;
constexpr UINT IDC_FIRE_MINUTE = 1089;
constexpr UINT IDC_FIRE_SECOND = 1090;
constexpr UINT IDC_FIRE_VOLLEYS = 1074;

class CFireOrderDlg : public CDialog
{
public:
    CFireOrderDlg();

    void BuildTemplate(CDialogTemplate& t) override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(UINT id, UINT code) override;
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;

    // Makes the window once (nothing while it is open).
    BOOL CreateModeless(CWnd* pParent);
    BOOL IsOpen() const { return m_bOpen; }

    // The munition bit of a radio index and back (an unknown bit gives 0, HE).
    static int MunitionOfIndex(int nIndex);
    static int IndexOfMunition(int nMunition);

    // Dialog values.
    int m_nAttitude = 0;
    int m_nSheafIndex = 0;
    int m_nDay = 0;
    int m_nMunitionIndex = 0;
    int m_nHour = 0;
    int m_nMethodIndex = 0;
    int m_nMinute = 0;
    BOOL m_bOption = FALSE;
    int m_nOptionIndex = 0;
    int m_nSecond = 0;
    CString m_strLabel;
    int m_nVolleys = 1;
    int m_nLength = 1000;
    // Converted values.
    int m_nMunition = 0;
    long long m_nTOT = 0;
    int m_nSheaf = 0;
    int m_nOption = 0;
    int m_nMethod = 0;

private:
    void ResetControls();
    void ShowSettings();
    void CollectSettings();
    void Enable(UINT id, BOOL bEnable);
    void CheckOnly(UINT idChecked, std::initializer_list<UINT> group);
    // The checked button's index in a group, or the value it had.
    int CheckedIndex(std::initializer_list<UINT> group, int nCurrent);
    void Finish();

    BOOL m_bOpen = FALSE;
};
