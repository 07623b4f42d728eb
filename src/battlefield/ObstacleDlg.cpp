#include "battlefield/ObstacleDlg.h"

#include "battlefield/Obstacle.h"

namespace
{
constexpr int kSecondsPerDay = 86400;
constexpr int kSecondsPerHour = 3600;
constexpr int kSecondsPerMinute = 60;

const UINT kTimeControls[] = {IDC_OBSTACLE_DAYS_LABEL,    IDC_OBSTACLE_DAYS,          IDC_OBSTACLE_HOURS_LABEL,
                              IDC_OBSTACLE_HOURS,         IDC_OBSTACLE_MINUTES_LABEL, IDC_OBSTACLE_MINUTES,
                              IDC_OBSTACLE_SECONDS_LABEL, IDC_OBSTACLE_SECONDS};
}  // namespace

CObstacleDlg::CObstacleDlg(CWnd* pParent) : CDialog(IDD_OBSTACLE, pParent) {}

const char* CObstacleDlg::TypeName(int nType)
{
    switch (nType)
    {
    case CObstacle::kMineField: return "Mine Field";
    case CObstacle::kTankDitch: return "Tank Ditch";
    case CObstacle::kRoadCrater: return "Road Crater";
    case CObstacle::kWire: return "Wire";
    default: return nullptr;
    }
}

void CObstacleDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("Obstacle").Size(300, 250);
    t.GroupBox(IDC_STATIC, "Size", 10, 8, 180, 116);
    t.Static(IDC_STATIC, "Length", 20, 30, 60, 16);
    t.Edit(IDC_OBSTACLE_LENGTH, 85, 28, 50, 20, ES_AUTOHSCROLL | ES_READONLY);
    t.Static(IDC_STATIC, "Width", 20, 60, 60, 16);
    t.Edit(IDC_OBSTACLE_WIDTH, 85, 58, 50, 20, ES_AUTOHSCROLL | ES_READONLY);
    t.Static(IDC_STATIC, "(10's of m)", 140, 44, 46, 30);
    t.Static(IDC_STATIC, "Attitude", 20, 92, 60, 16);
    t.Edit(IDC_OBSTACLE_ATTITUDE, 85, 90, 50, 20);
    t.Static(IDC_STATIC, "Density", 200, 30, 50, 16);
    t.Edit(IDC_OBSTACLE_DENSITY, 250, 28, 40, 20, ES_AUTOHSCROLL | ES_READONLY);
    t.GroupBox(IDC_STATIC, "Obstacle Type", 200, 60, 90, 64);
    t.Static(IDC_OBSTACLE_TYPE, "", 210, 84, 75, 16);
    t.GroupBox(IDC_STATIC, "Time to Fire", 10, 132, 280, 62);
    t.Static(IDC_OBSTACLE_DAYS_LABEL, "DAY", 20, 152, 60, 16);
    t.Edit(IDC_OBSTACLE_DAYS, 20, 168, 55, 20);
    t.Static(IDC_OBSTACLE_HOURS_LABEL, "HR", 85, 152, 60, 16);
    t.Edit(IDC_OBSTACLE_HOURS, 85, 168, 55, 20);
    t.Static(IDC_OBSTACLE_MINUTES_LABEL, "MIN", 150, 152, 60, 16);
    t.Edit(IDC_OBSTACLE_MINUTES, 150, 168, 55, 20);
    t.Static(IDC_OBSTACLE_SECONDS_LABEL, "SEC", 215, 152, 60, 16);
    t.Edit(IDC_OBSTACLE_SECONDS, 215, 168, 55, 20);
    t.DefPushButton(IDOK, "OK", 120, 210, 80, 26);
    t.PushButton(IDCANCEL, "Cancel", 210, 210, 80, 26);
}

void CObstacleDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_OBSTACLE_LENGTH, m_nLength);
    DDV_MinMaxInt(pDX, m_nLength, 1, 32767);
    DDX_Text(pDX, IDC_OBSTACLE_WIDTH, m_nWidth);
    DDV_MinMaxInt(pDX, m_nWidth, 1, 32767);
    DDX_Text(pDX, IDC_OBSTACLE_ATTITUDE, m_nAttitude);
    DDV_MinMaxInt(pDX, m_nAttitude, 0, 6400);
    DDX_Text(pDX, IDC_OBSTACLE_DENSITY, m_nDensity);
    DDV_MinMaxInt(pDX, m_nDensity, 1, 100);
    DDX_Text(pDX, IDC_OBSTACLE_DAYS, m_nDays);
    DDV_MinMaxInt(pDX, m_nDays, 0, 100);
    DDX_Text(pDX, IDC_OBSTACLE_HOURS, m_nHours);
    DDV_MinMaxInt(pDX, m_nHours, 0, 23);
    DDX_Text(pDX, IDC_OBSTACLE_MINUTES, m_nMinutes);
    DDV_MinMaxInt(pDX, m_nMinutes, 0, 59);
    DDX_Text(pDX, IDC_OBSTACLE_SECONDS, m_nSeconds);
    DDV_MinMaxInt(pDX, m_nSeconds, 0, 59);
}

BOOL CObstacleDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    auto enable = [this](UINT id, BOOL bEnable)
    {
        if (CWnd* pControl = GetDlgItem(id))
            pControl->EnableWindow(bEnable);
    };
    for (UINT id : kTimeControls)
        enable(id, FALSE);
    if (m_bReadOnly)
    {
        for (UINT id : {IDC_OBSTACLE_TYPE, IDC_OBSTACLE_DENSITY, IDC_OBSTACLE_LENGTH, IDC_OBSTACLE_WIDTH})
            enable(id, FALSE);
    }
    else
    {
        if (const char* pszName = TypeName(m_nType))
        {
            m_strTypeName = pszName;
            SetDlgItemText(IDC_OBSTACLE_TYPE, m_strTypeName);
        }
        if (m_nType == CObstacle::kRoadCrater)
        {
            for (UINT id : kTimeControls)
                enable(id, TRUE);
        }
    }
    const int t = m_nTimeToFire;
    m_nDays = t / kSecondsPerDay;
    m_nHours = t / kSecondsPerHour - 24 * m_nDays;
    m_nMinutes = t / kSecondsPerMinute - 60 * (t / kSecondsPerHour);
    m_nSeconds = t - 60 * (t / kSecondsPerMinute);
    UpdateData(FALSE);
    return TRUE;
}

void CObstacleDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_nTimeToFire = ((m_nDays * 24 + m_nHours) * 60 + m_nMinutes) * 60 + m_nSeconds;
    EndDialog(IDOK);
}
