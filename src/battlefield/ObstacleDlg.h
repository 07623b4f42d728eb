#pragma once
// CObstacleDlg: the modal "Obstacle" dialog. It shows one obstacle's
// length, width, density and type and lets the player change its attitude
// and, for a road crater, its time to fire (days, hours, minutes and
// seconds). For a selection of obstacles (read-only flag set) only the
// attitude can be changed; the sizes and the type are then greyed out.
//
// The caller fills the members and runs the dialog; on OK it reads back
// the attitude and the time to fire in seconds. Every value is checked on
// OK against its range with the framework's message, and the dialog stays
// open on a value out of range. Length and width are shown as stored
// (metres), whatever their label says.

#include "platform/ui/Dialog.h"

constexpr UINT IDD_OBSTACLE = 155;
constexpr UINT IDC_OBSTACLE_LENGTH = 1000;
constexpr UINT IDC_OBSTACLE_WIDTH = 1001;
constexpr UINT IDC_OBSTACLE_ATTITUDE = 1002;
constexpr UINT IDC_OBSTACLE_DENSITY = 1003;
constexpr UINT IDC_OBSTACLE_DAYS = 1004;
constexpr UINT IDC_OBSTACLE_HOURS = 1005;
constexpr UINT IDC_OBSTACLE_MINUTES = 1006;
constexpr UINT IDC_OBSTACLE_SECONDS = 1007;
constexpr UINT IDC_OBSTACLE_TYPE = 1008;
constexpr UINT IDC_OBSTACLE_DAYS_LABEL = 1009;
constexpr UINT IDC_OBSTACLE_HOURS_LABEL = 1010;
constexpr UINT IDC_OBSTACLE_MINUTES_LABEL = 1011;
constexpr UINT IDC_OBSTACLE_SECONDS_LABEL = 1012;

class CObstacleDlg : public CDialog
{
public:
    explicit CObstacleDlg(CWnd* pParent = nullptr);

    void BuildTemplate(CDialogTemplate& t) override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    // "Mine Field", "Tank Ditch", "Road Crater", "Wire"; null for any other.
    static const char* TypeName(int nType);

    BOOL m_bReadOnly = FALSE;
    int m_nAttitude = 1600;
    int m_nDays = 0;
    int m_nHours = 4;
    int m_nMinutes = 0;
    int m_nSeconds = 0;
    int m_nLength = 40;
    int m_nWidth = 10;
    int m_nDensity = 100;
    CString m_strTypeName;
    int m_nType = 1;
    int m_nTimeToFire = 14400;  // seconds
};
