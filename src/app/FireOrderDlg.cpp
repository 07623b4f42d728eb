#include "app/FireOrderDlg.h"

#include "app/KDRApp.h"
#include "battlefield/FireMission.h"
#include "database/IFAmmo.h"
#include "view/KDRView.h"

#include <climits>

namespace
{
constexpr long long kSecondsPerDay = 86400;
constexpr long long kSecondsPerHour = 3600;
constexpr long long kSecondsPerMinute = 60;

// Munitions in the order of their radio buttons; the index is the bit's shift.
constexpr int kMunitionCount = 10;
const std::initializer_list<UINT> kMunitionButtons = {IDC_FIRE_HE,       IDC_FIRE_HERAP,    IDC_FIRE_DPICM,
                                                      IDC_FIRE_BBDPICM,  IDC_FIRE_SMOKE,    IDC_FIRE_CHEMICAL,
                                                      IDC_FIRE_NUCLEAR,  IDC_FIRE_ILLUM,    IDC_FIRE_FASCAM,
                                                      IDC_FIRE_PGM};
const std::initializer_list<UINT> kSheafButtons = {IDC_FIRE_CONVERGED, IDC_FIRE_LINEAR, IDC_FIRE_OPEN};
const std::initializer_list<UINT> kMethodButtons = {IDC_FIRE_IMMEDIATE, IDC_FIRE_WHEN_READY, IDC_FIRE_AMC,
                                                    IDC_FIRE_TOT};
// The methods of control of the method buttons, in their order.
constexpr int kMethodOfIndex[] = {FIRE_IMMEDIATE, FIRE_WHEN_READY, FIRE_AMC, FIRE_TOT};
constexpr int kSheafConverged = 0;
constexpr int kSheafLinear = 1;
constexpr int kSheafOpen = 2;
constexpr int kMethodIndexImmediate = 0;
constexpr int kMethodIndexWhenReady = 1;
constexpr int kMethodIndexAMC = 2;
constexpr int kMethodIndexTOT = 3;
// The option values of the option index.
constexpr int kOptionOfIndex[] = {1, 2, 4};

const std::initializer_list<UINT> kTimeControls = {IDC_FIRE_DAY_LABEL,    IDC_FIRE_HOUR_LABEL, IDC_FIRE_MINUTE_LABEL,
                                                   IDC_FIRE_SECOND_LABEL, IDC_FIRE_DAY,        IDC_FIRE_HOUR,
                                                   IDC_FIRE_MINUTE,       IDC_FIRE_SECOND};
const char* const kLatestTimeMessage =
    "Please enter a time on target no later than day 24855, 03:14:07.";
}  // namespace

CFireOrderDlg::CFireOrderDlg() : CDialog(IDD_FIRE_ORDER, nullptr) { m_bForwardAccelerators = true; }

int CFireOrderDlg::MunitionOfIndex(int nIndex)
{
    return nIndex >= 0 && nIndex < kMunitionCount ? 1 << nIndex : MUNITION_HE;
}

int CFireOrderDlg::IndexOfMunition(int nMunition)
{
    for (int i = 0; i < kMunitionCount; ++i)
    {
        if (nMunition == 1 << i)
            return i;
    }
    return 0;
}

void CFireOrderDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("Fire Order").Size(430, 330);
    t.GroupBox(IDC_STATIC, "Munition Type", 10, 8, 130, 270);
    const char* const munitionNames[] = {"HE",      "HERAP",   "DPICM",        "BBDPICM", "Smoke",
                                         "Chemical", "Nuclear", "Illumination", "FASCAM",  "PGM"};
    int i = 0;
    for (UINT id : kMunitionButtons)
    {
        t.RadioButton(id, munitionNames[i], 20, 28 + 24 * i, 110, 20, i == 0 ? WS_GROUP : 0);
        ++i;
    }
    t.GroupBox(IDC_STATIC, "Sheaf", 150, 8, 130, 96);
    t.RadioButton(IDC_FIRE_CONVERGED, "Converged", 160, 28, 110, 20, WS_GROUP);
    t.RadioButton(IDC_FIRE_LINEAR, "Linear", 160, 52, 110, 20);
    t.RadioButton(IDC_FIRE_OPEN, "Open", 160, 76, 110, 20);
    t.Static(IDC_FIRE_ATTITUDE_LABEL, "Attitude (mils)", 150, 114, 90, 16);
    t.Edit(IDC_FIRE_ATTITUDE, 240, 112, 40, 20);
    t.Static(IDC_FIRE_LENGTH_LABEL, "Length (m)", 150, 140, 90, 16);
    t.Edit(IDC_FIRE_LENGTH, 240, 138, 40, 20);
    t.Static(IDC_STATIC, "Number Of Volleys", 150, 170, 100, 16);
    t.Edit(IDC_FIRE_VOLLEYS, 250, 168, 30, 20);
    t.GroupBox(IDC_STATIC, "Method Of Control", 290, 8, 130, 120);
    t.RadioButton(IDC_FIRE_IMMEDIATE, "Immediate", 300, 28, 110, 20, WS_GROUP);
    t.RadioButton(IDC_FIRE_WHEN_READY, "WR", 300, 52, 110, 20);
    t.RadioButton(IDC_FIRE_AMC, "AMC", 300, 76, 110, 20);
    t.RadioButton(IDC_FIRE_TOT, "TOT", 300, 100, 110, 20);
    t.Static(IDC_FIRE_DAY_LABEL, "DAY", 150, 204, 60, 16);
    t.Edit(IDC_FIRE_DAY, 150, 222, 60, 20);
    t.Static(IDC_FIRE_HOUR_LABEL, "HR", 220, 204, 60, 16);
    t.Edit(IDC_FIRE_HOUR, 220, 222, 60, 20);
    t.Static(IDC_FIRE_MINUTE_LABEL, "MIN", 290, 204, 60, 16);
    t.Edit(IDC_FIRE_MINUTE, 290, 222, 60, 20);
    t.Static(IDC_FIRE_SECOND_LABEL, "SEC", 360, 204, 60, 16);
    t.Edit(IDC_FIRE_SECOND, 360, 222, 60, 20);
    t.DefPushButton(IDOK, "OK", 250, 290, 80, 26);
    t.PushButton(IDCANCEL, "Cancel", 340, 290, 80, 26);
}

void CFireOrderDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_FIRE_ATTITUDE, m_nAttitude);
    DDX_Radio(pDX, IDC_FIRE_CONVERGED, m_nSheafIndex);
    DDX_Text(pDX, IDC_FIRE_DAY, m_nDay);
    DDV_MinMaxInt(pDX, m_nDay, 0, 32767);
    DDX_Radio(pDX, IDC_FIRE_HE, m_nMunitionIndex);
    DDX_Text(pDX, IDC_FIRE_HOUR, m_nHour);
    DDV_MinMaxInt(pDX, m_nHour, 0, 23);
    DDX_Radio(pDX, IDC_FIRE_IMMEDIATE, m_nMethodIndex);
    DDX_Text(pDX, IDC_FIRE_MINUTE, m_nMinute);
    DDV_MinMaxInt(pDX, m_nMinute, 0, 60);
    DDX_Text(pDX, IDC_FIRE_SECOND, m_nSecond);
    DDV_MinMaxInt(pDX, m_nSecond, 0, 60);
    DDX_Text(pDX, IDC_FIRE_VOLLEYS, m_nVolleys);
    DDV_MinMaxInt(pDX, m_nVolleys, 0, 100);
    DDX_Text(pDX, IDC_FIRE_LENGTH, m_nLength);
    DDV_MinMaxInt(pDX, m_nLength, 1, 1000);
}

BOOL CFireOrderDlg::CreateModeless(CWnd* pParent)
{
    if (m_bOpen)
        return TRUE;
    if (!Create(IDD_FIRE_ORDER, pParent))
        return FALSE;
    m_bOpen = TRUE;
    if (CKDRApp* pApp = GetKDRApp())
        ++pApp->m_nAutoScrollHold;
    return TRUE;
}

BOOL CFireOrderDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    BringWindowToTop();
    if (const CKDRApp* pApp = GetKDRApp())
    {
        const int* settings = pApp->m_anDisplaySettings;
        m_nAttitude = settings[APP_FIRE_ATTITUDE];
        m_nLength = settings[APP_FIRE_LENGTH];
        m_nTOT = settings[APP_FIRE_TOT];
        m_nMunition = settings[APP_FIRE_MUNITION];
        m_nSheaf = settings[APP_FIRE_SHEAF];
        m_nMethod = settings[APP_FIRE_METHOD];
        m_nVolleys = settings[APP_FIRE_VOLLEYS];
        m_nOption = settings[APP_FIRE_OPTION];
        m_strLabel = pApp->m_strDisplayLabel;
    }
    // The day counts days since 1 January 1970, as the log shows them.
    const long long t = m_nTOT;
    m_nDay = static_cast<int>(t / kSecondsPerDay);
    m_nHour = static_cast<int>(t / kSecondsPerHour - m_nDay * 24LL);
    m_nMinute = static_cast<int>(t / kSecondsPerMinute - (t / kSecondsPerHour) * 60);
    m_nSecond = static_cast<int>(t - (t / kSecondsPerMinute) * 60);
    m_nSheafIndex = m_nSheaf;
    UpdateData(FALSE);
    ShowSettings();
    UpdateData(FALSE);
    return TRUE;
}

void CFireOrderDlg::Enable(UINT id, BOOL bEnable)
{
    if (CWnd* pControl = GetDlgItem(id))
        pControl->EnableWindow(bEnable);
}

void CFireOrderDlg::CheckOnly(UINT idChecked, std::initializer_list<UINT> group)
{
    for (UINT id : group)
    {
        if (auto* pButton = dynamic_cast<CButton*>(GetDlgItem(id)))
            pButton->SetCheck(id == idChecked ? 1 : 0);
    }
}

int CFireOrderDlg::CheckedIndex(std::initializer_list<UINT> group, int nCurrent)
{
    int i = 0;
    for (UINT id : group)
    {
        const auto* pButton = dynamic_cast<CButton*>(GetDlgItem(id));
        if (pButton != nullptr && pButton->GetCheck() != 0)
            return i;
        ++i;
    }
    return nCurrent;
}

void CFireOrderDlg::ResetControls()
{
    for (UINT id : kTimeControls)
        Enable(id, FALSE);
    for (UINT id : {IDC_FIRE_ATTITUDE_LABEL, IDC_FIRE_ATTITUDE, IDC_FIRE_LENGTH_LABEL, IDC_FIRE_LENGTH})
        Enable(id, FALSE);
    for (UINT id : kSheafButtons)
        Enable(id, TRUE);
}

void CFireOrderDlg::ShowSettings()
{
    ResetControls();
    if (m_nMunition == MUNITION_CHEMICAL || m_nMunition == MUNITION_PGM)
    {
        Enable(IDC_FIRE_LINEAR, FALSE);
        Enable(IDC_FIRE_OPEN, FALSE);
    }
    else if (m_nMunition == MUNITION_FASCAM)
    {
        Enable(IDC_FIRE_CONVERGED, FALSE);
        Enable(IDC_FIRE_OPEN, FALSE);
    }
    m_nMunitionIndex = IndexOfMunition(m_nMunition);

    if (m_nSheaf == kSheafLinear)
    {
        for (UINT id : {IDC_FIRE_ATTITUDE_LABEL, IDC_FIRE_ATTITUDE, IDC_FIRE_LENGTH_LABEL, IDC_FIRE_LENGTH})
            Enable(id, TRUE);
    }
    else if (m_nSheaf == kSheafOpen)
    {
        Enable(IDC_FIRE_LENGTH_LABEL, TRUE);
        Enable(IDC_FIRE_LENGTH, TRUE);
    }

    switch (m_nMethod)
    {
    case FIRE_WHEN_READY: m_nMethodIndex = kMethodIndexWhenReady; break;
    case FIRE_AMC: m_nMethodIndex = kMethodIndexAMC; break;
    case FIRE_TOT:
        m_nMethodIndex = kMethodIndexTOT;
        for (UINT id : kTimeControls)
            Enable(id, TRUE);
        break;
    default: m_nMethodIndex = kMethodIndexImmediate; break;
    }

    m_bOption = m_nOption != 0;
    m_nOptionIndex = m_nOption == 2 ? 1 : m_nOption == 4 ? 2 : 0;
}

void CFireOrderDlg::CollectSettings()
{
    ResetControls();
    m_nMunitionIndex = CheckedIndex(kMunitionButtons, m_nMunitionIndex);
    m_nSheafIndex = CheckedIndex(kSheafButtons, m_nSheafIndex);
    m_nMethodIndex = CheckedIndex(kMethodButtons, m_nMethodIndex);

    m_nMunition = MunitionOfIndex(m_nMunitionIndex);
    if (m_nMunition == MUNITION_CHEMICAL || m_nMunition == MUNITION_PGM)
    {
        Enable(IDC_FIRE_LINEAR, FALSE);
        Enable(IDC_FIRE_OPEN, FALSE);
        CheckOnly(IDC_FIRE_CONVERGED, kSheafButtons);
        m_nSheafIndex = kSheafConverged;
    }
    else if (m_nMunition == MUNITION_FASCAM)
    {
        Enable(IDC_FIRE_CONVERGED, FALSE);
        Enable(IDC_FIRE_OPEN, FALSE);
        CheckOnly(IDC_FIRE_LINEAR, kSheafButtons);
        m_nSheafIndex = kSheafLinear;
    }

    m_nSheaf = m_nSheafIndex;
    if (m_nSheaf == kSheafLinear)
    {
        Enable(IDC_FIRE_ATTITUDE_LABEL, TRUE);
        Enable(IDC_FIRE_ATTITUDE, TRUE);
        // A scatterable minefield's length is the munition's own.
        if (m_nMunition != MUNITION_FASCAM)
        {
            Enable(IDC_FIRE_LENGTH_LABEL, TRUE);
            Enable(IDC_FIRE_LENGTH, TRUE);
        }
    }
    else if (m_nSheaf == kSheafOpen)
    {
        Enable(IDC_FIRE_LENGTH_LABEL, TRUE);
        Enable(IDC_FIRE_LENGTH, TRUE);
    }

    m_nMethod = m_nMethodIndex >= 0 && m_nMethodIndex <= kMethodIndexTOT ? kMethodOfIndex[m_nMethodIndex]
                                                                         : FIRE_IMMEDIATE;
    if (m_nMethod == FIRE_TOT)
    {
        for (UINT id : kTimeControls)
            Enable(id, TRUE);
    }

    m_nOption = !m_bOption ? 0 : m_nOptionIndex >= 0 && m_nOptionIndex <= 2 ? kOptionOfIndex[m_nOptionIndex] : 0;
    // Whole seconds in 64 bits: 32767 days overflow 32 bits.
    m_nTOT = m_nSecond + kSecondsPerMinute * (m_nMinute + 60LL * (m_nHour + 24LL * m_nDay));
}

BOOL CFireOrderDlg::OnCommand(UINT id, UINT code)
{
    const auto isRadio = [id](std::initializer_list<UINT> group)
    {
        for (UINT member : group)
        {
            if (member == id)
                return true;
        }
        return false;
    };
    if (code == BN_CLICKED && (isRadio(kMunitionButtons) || isRadio(kSheafButtons) || isRadio(kMethodButtons)))
    {
        CollectSettings();
        return TRUE;
    }
    return CDialog::OnCommand(id, code);
}

void CFireOrderDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    CollectSettings();
    if (!UpdateData(TRUE))
        return;
    // Calendar times are stored in 32 bits.
    if (m_nTOT > INT_MAX)
    {
        AfxMessageBox(kLatestTimeMessage, MB_ICONEXCLAMATION);
        return;
    }
    CKDRApp* pApp = GetKDRApp();
    if (pApp != nullptr)
    {
        int* settings = pApp->m_anDisplaySettings;
        settings[APP_FIRE_ATTITUDE] = m_nAttitude;
        settings[APP_FIRE_LENGTH] = m_nLength;
        settings[APP_FIRE_TOT] = static_cast<int>(m_nTOT);
        settings[APP_FIRE_MUNITION] = m_nMunition;
        settings[APP_FIRE_SHEAF] = m_nSheaf;
        settings[APP_FIRE_METHOD] = m_nMethod;
        settings[APP_FIRE_VOLLEYS] = m_nVolleys;
        settings[APP_FIRE_OPTION] = m_nOption;
        pApp->m_strDisplayLabel = m_strLabel;
        if (CKDRView* pView = pApp->GetActiveView())
            pView->StoreViewProperties(FALSE);
    }
    Finish();
    if (CKDRView* pView = pApp != nullptr ? pApp->GetActiveView() : nullptr)
        pView->RedrawMap(FALSE);
}

void CFireOrderDlg::OnCancel() { Finish(); }

void CFireOrderDlg::OnClose() { Finish(); }

void CFireOrderDlg::Finish()
{
    if (!m_bOpen)
        return;
    m_bOpen = FALSE;
    if (CKDRApp* pApp = GetKDRApp(); pApp != nullptr && pApp->m_nAutoScrollHold > 0)
        --pApp->m_nAutoScrollHold;
    if (IsWindow())
        DestroyWindow();
}
