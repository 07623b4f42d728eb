#include "battlefield/HoleDlg.h"

#include "battlefield/Hole.h"
#include "platform/core/Rounding.h"

namespace
{
constexpr double kMilsPerRadian = 1018.5916;
constexpr double kRadiansPerMil = 0.0009817478;
constexpr int kMilsPerCircle = 6400;
const char* const kSeveralText = "********";
}  // namespace

CHoleDlg::CHoleDlg(CWnd* pParent) : CDialog(IDD_HOLE_PROPERTIES, pParent) {}

void CHoleDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("Hole Properties").Size(250, 150);
    t.GroupBox(IDC_STATIC, "Hole Type", 10, 8, 230, 46);
    t.Static(IDC_HOLE_TYPE, "", 20, 28, 200, 16);
    t.Static(IDC_STATIC, "Direction (mils)", 10, 70, 110, 16);
    t.Edit(IDC_HOLE_DIRECTION, 125, 68, 70, 20);
    t.DefPushButton(IDOK, "OK", 70, 110, 80, 26);
    t.PushButton(IDCANCEL, "Cancel", 160, 110, 80, 26);
}

void CHoleDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_HOLE_DIRECTION, m_nDirection);
    DDV_MinMaxInt(pDX, m_nDirection, 0, kMilsPerCircle);
}

BOOL CHoleDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_strType = m_nKind == CHole::kVehicle ? "Vehicle" : "Dismount";
    if (m_bSeveral)
    {
        m_strType = kSeveralText;
        if (CWnd* pType = GetDlgItem(IDC_HOLE_TYPE))
            pType->EnableWindow(FALSE);
    }
    SetDlgItemText(IDC_HOLE_TYPE, m_strType);
    m_nDirection = RoundHalfUpTrunc(m_fFacing * kMilsPerRadian);
    UpdateData(FALSE);
    CenterWindow();
    return TRUE;
}

void CHoleDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_fFacing = static_cast<float>(m_nDirection * kRadiansPerMil);
    EndDialog(IDOK);
}
