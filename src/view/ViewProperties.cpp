#include "view/ViewProperties.h"

#include "app/KDRApp.h"

#include <cmath>

IMPLEMENT_SERIAL(CViewProperties, CObject, 1)

namespace
{
constexpr float kScales[CViewProperties::kLevelCount] = {0.25f, 0.5f, 1.0f, 2.0f, 4.0f, 8.0f};
const char* const kLevelNames[CViewProperties::kLevelCount] = {
    "Maximum Zoom Out (~1:200,000)", "Zoom Out 1 (~1:100,000)", "Normal (~1:50,000)",
    "Zoom In 1 (~1:25,000)",         "Zoom In 2 (~1:12,500)",   "Maximum Zoom In (~1:6,250)"};

// Defaults of the global part.
constexpr int kAppWordDefaults[CViewProperties::kAppWordCount] = {1600, 0, 4, 0, 0, 1, 1, 0, 1600, 1000, 0, 0};
const char* const kDefaultLabel = "AA0000";

// Defaults of the rows that differ between levels.
constexpr BOOL kArrowDefaults[CViewProperties::kLevelCount] = {1, 1, 1, 0, 0, 0};
constexpr int kMapStyleDefaults[CViewProperties::kLevelCount] = {0, 0, 2, 2, 2, 0};
constexpr int kIconStyleDefaults[CViewProperties::kLevelCount] = {1, 1, 1, 0, 0, 0};
constexpr float kIconSizeDefaults[CViewProperties::kLevelCount] = {0.25f, 0.375f, 0.5f, 0.25f, 0.5f, 0.75f};

// The word written where a flag of an earlier layout used to be.
constexpr WORD kReservedWord = 0;

BOOL IsUsableIconSize(float fSize) { return std::isfinite(fSize) && fSize > 0.0f; }

WORD FlagWord(BOOL bFlag) { return bFlag ? 1 : 0; }

BOOL ReadFlag(CArchive& ar)
{
    short nWord = 0;
    ar >> nWord;
    return nWord != 0 ? TRUE : FALSE;
}

// Empty without an application: the file is then neither read nor written.
CString SavegameDirectory()
{
    const CKDRApp* pApp = GetKDRApp();
    return pApp != nullptr ? pApp->m_strSavegameDir : CString();
}
}  // namespace

CViewProperties::CViewProperties() { ResetAll(); }

CViewProperties::~CViewProperties() = default;

void CViewProperties::ResetAll()
{
    m_nCurrentLevel = kDefaultLevel;
    m_bSoundOn = TRUE;
    m_bAutoScroll = TRUE;
    for (int i = 0; i < kAppWordCount; ++i)
        m_anAppWords[i] = kAppWordDefaults[i];
    m_tsAppTime = CTimeSpan(0);
    m_strLabel = kDefaultLabel;
    for (int nLevel = 0; nLevel < kLevelCount; ++nLevel)
        ResetLevel(nLevel);
}

void CViewProperties::ResetLevel(int nLevel)
{
    if (nLevel < 0 || nLevel >= kLevelCount)
        return;
    m_abDestroyedVehicles[nLevel] = TRUE;
    m_abDirectionArrows[nLevel] = kArrowDefaults[nLevel];
    m_abFMLog[nLevel] = FALSE;
    m_abEnemySitTemp[nLevel] = FALSE;
    m_abFCExclude[nLevel] = FALSE;
    m_abGridLines[nLevel] = TRUE;
    m_abManeuverGraphics[nLevel] = TRUE;
    m_abOverviewMap[nLevel] = TRUE;
    m_abRangeArcs[nLevel] = TRUE;
    m_abShowFireControls[nLevel] = TRUE;
    m_abSpotReportLog[nLevel] = FALSE;
    m_abUnitToolTips[nLevel] = TRUE;
    m_abShowAllPaths[nLevel] = FALSE;
    m_abTurretArrows[nLevel] = kArrowDefaults[nLevel];
    m_anMapStyle[nLevel] = kMapStyleDefaults[nLevel];
    m_anIconStyle[nLevel] = kIconStyleDefaults[nLevel];
    m_afIconSize[nLevel] = kIconSizeDefaults[nLevel];
    m_abVehicles[nLevel] = FALSE;
    m_abPlatoons[nLevel] = TRUE;
    m_abCompanies[nLevel] = TRUE;
    m_abHierarchyTree[nLevel] = TRUE;
}

float CViewProperties::GetZoomScale(int nLevel)
{
    if (nLevel < 0 || nLevel >= kLevelCount)
        return kUnsetFloat;
    return kScales[nLevel];
}

int CViewProperties::GetZoomLevel(float fScale)
{
    for (int nLevel = 0; nLevel < kLevelCount; ++nLevel)
        if (fScale == kScales[nLevel])
            return nLevel;
    return kUnset;
}

const char* CViewProperties::GetLevelName(int nLevel)
{
    if (nLevel < 0 || nLevel >= kLevelCount)
        return "";
    return kLevelNames[nLevel];
}

void CViewProperties::SetFMLogShown(BOOL bShown, float fScale)
{
    const int nLevel = GetZoomLevel(fScale);
    if (nLevel != kUnset)
        m_abFMLog[nLevel] = bShown;
}

void CViewProperties::SetSpotReportLogShown(BOOL bShown, float fScale)
{
    const int nLevel = GetZoomLevel(fScale);
    if (nLevel != kUnset)
        m_abSpotReportLog[nLevel] = bShown;
}

void CViewProperties::SetHierarchyTreeShown(BOOL bShown, float fScale)
{
    const int nLevel = GetZoomLevel(fScale);
    if (nLevel != kUnset)
        m_abHierarchyTree[nLevel] = bShown;
}

void CViewProperties::SetMapStyle(int nStyle, float fScale)
{
    const int nLevel = GetZoomLevel(fScale);
    if (nLevel != kUnset)
        m_anMapStyle[nLevel] = nStyle;
}

BOOL CViewProperties::IsGridShown(float fScale) const
{
    const int nLevel = GetZoomLevel(fScale);
    return nLevel != kUnset && m_abGridLines[nLevel];
}

void CViewProperties::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        for (int i = 0; i < 6; ++i)
            ar << static_cast<WORD>(m_anAppWords[i]);
        ar << m_tsAppTime;
        for (int i = 6; i < kAppWordCount; ++i)
            ar << static_cast<WORD>(m_anAppWords[i]);
        ar << m_strLabel;
        ar << static_cast<WORD>(m_nCurrentLevel);
        ar << FlagWord(m_bSoundOn);
        ar << FlagWord(m_bAutoScroll);
        for (int n = 0; n < kLevelCount; ++n)
        {
            ar << static_cast<WORD>(m_anMapStyle[n]);
            ar << static_cast<WORD>(m_anIconStyle[n]);
            ar << m_afIconSize[n];
            ar << FlagWord(m_abDestroyedVehicles[n]);
            ar << FlagWord(m_abDirectionArrows[n]);
            ar << kReservedWord;
            ar << FlagWord(m_abFMLog[n]);
            ar << FlagWord(m_abEnemySitTemp[n]);
            ar << FlagWord(m_abFCExclude[n]);
            ar << FlagWord(m_abGridLines[n]);
            ar << FlagWord(m_abManeuverGraphics[n]);
            ar << FlagWord(m_abOverviewMap[n]);
            ar << FlagWord(m_abRangeArcs[n]);
            ar << FlagWord(m_abShowFireControls[n]);
            ar << FlagWord(m_abSpotReportLog[n]);
            ar << FlagWord(m_abUnitToolTips[n]);
            ar << FlagWord(m_abTurretArrows[n]);
            ar << FlagWord(m_abShowAllPaths[n]);
            ar << FlagWord(m_abVehicles[n]);
            ar << FlagWord(m_abPlatoons[n]);
            ar << FlagWord(m_abCompanies[n]);
            ar << FlagWord(m_abHierarchyTree[n]);
        }
    }
    else
    {
        short nWord = 0;
        for (int i = 0; i < 6; ++i)
        {
            ar >> nWord;
            m_anAppWords[i] = nWord;
        }
        ar >> m_tsAppTime;
        for (int i = 6; i < kAppWordCount; ++i)
        {
            ar >> nWord;
            m_anAppWords[i] = nWord;
        }
        ar >> m_strLabel;
        ar >> nWord;
        m_nCurrentLevel = nWord >= 0 && nWord < kLevelCount ? nWord : kDefaultLevel;
        m_bSoundOn = ReadFlag(ar);
        m_bAutoScroll = ReadFlag(ar);
        for (int n = 0; n < kLevelCount; ++n)
        {
            ar >> nWord;
            m_anMapStyle[n] = nWord;
            ar >> nWord;
            m_anIconStyle[n] = nWord;
            float fSize = 0.0f;
            ar >> fSize;
            m_afIconSize[n] = IsUsableIconSize(fSize) ? fSize : kIconSizeDefaults[n];
            m_abDestroyedVehicles[n] = ReadFlag(ar);
            m_abDirectionArrows[n] = ReadFlag(ar);
            ReadFlag(ar);  // reserved
            m_abFMLog[n] = ReadFlag(ar);
            m_abEnemySitTemp[n] = ReadFlag(ar);
            m_abFCExclude[n] = ReadFlag(ar);
            m_abGridLines[n] = ReadFlag(ar);
            m_abManeuverGraphics[n] = ReadFlag(ar);
            m_abOverviewMap[n] = ReadFlag(ar);
            m_abRangeArcs[n] = ReadFlag(ar);
            m_abShowFireControls[n] = ReadFlag(ar);
            m_abSpotReportLog[n] = ReadFlag(ar);
            m_abUnitToolTips[n] = ReadFlag(ar);
            m_abTurretArrows[n] = ReadFlag(ar);
            m_abShowAllPaths[n] = ReadFlag(ar);
            m_abVehicles[n] = ReadFlag(ar);
            m_abPlatoons[n] = ReadFlag(ar);
            m_abCompanies[n] = ReadFlag(ar);
            m_abHierarchyTree[n] = ReadFlag(ar);
        }
    }
}

BOOL CViewProperties::Load(const CString& strDirectory)
{
    CFile file;
    if (strDirectory.IsEmpty() || !file.Open(JoinPath(strDirectory, kFileName), CFile::modeRead | CFile::typeBinary))
        return FALSE;
    // Read into a copy, so that a file cut short leaves these settings whole.
    CViewProperties loaded;
    try
    {
        CArchive ar(&file, CArchive::load, 4096);
        loaded.Serialize(ar);
        ar.Close();
    }
    catch (const CException&)
    {
        file.Abort();
        return FALSE;
    }
    file.Abort();
    *this = loaded;
    return TRUE;
}

BOOL CViewProperties::Load() { return Load(SavegameDirectory()); }

BOOL CViewProperties::Save(const CString& strDirectory)
{
    CFile file;
    if (strDirectory.IsEmpty() ||
        !file.Open(JoinPath(strDirectory, kFileName), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary))
        return FALSE;
    try
    {
        CArchive ar(&file, CArchive::store, 4096);
        Serialize(ar);
        ar.Close();
        file.Close();
    }
    catch (const CException&)
    {
        file.Abort();
        return FALSE;
    }
    return TRUE;
}

BOOL CViewProperties::Save() { return Save(SavegameDirectory()); }

// ---------------------------------------------------------------------------
// View Properties dialog

namespace
{
// The slider shows the icon size in percent of half the full size; its
// least position keeps the size above zero.
constexpr double kSliderPerSize = 200.0;
constexpr double kSizePerSliderStep = 0.005;
constexpr int kSliderMin = 10;
constexpr int kSliderMax = 200;

const char* const kApplyAllText =
    "This will copy the current settings to all zoom levels.\nAre you sure you wish to continue?";
const char* const kResetLevelText = "Are you sure you want to restore the default\nview settings for this zoom level?";
const char* const kResetAllText = "Are you sure you want to restore the default\nview settings for EVERY zoom level?";
}  // namespace

const CViewPropertiesDlg::CheckRow CViewPropertiesDlg::kChecks[] = {
    {"Destroyed Vehicles", &CViewProperties::m_abDestroyedVehicles},
    {"Direction Arrows", &CViewProperties::m_abDirectionArrows},
    {"FM Log", &CViewProperties::m_abFMLog},
    {"Enemy SITTEMP", &CViewProperties::m_abEnemySitTemp},
    {"FC Exclude", &CViewProperties::m_abFCExclude},
    {"Grid Lines", &CViewProperties::m_abGridLines},
    {"Maneuver Graphics", &CViewProperties::m_abManeuverGraphics},
    {"Overview Map", &CViewProperties::m_abOverviewMap},
    {"Range Arcs", &CViewProperties::m_abRangeArcs},
    {"Show Fire Controls", &CViewProperties::m_abShowFireControls},
    {"Spot Report Log", &CViewProperties::m_abSpotReportLog},
    {"Unit Tool Tips", &CViewProperties::m_abUnitToolTips},
    {"Show All Paths", &CViewProperties::m_abShowAllPaths},
    {"Turret Arrows", &CViewProperties::m_abTurretArrows},
    {"Hierarchy Tree", &CViewProperties::m_abHierarchyTree},
    {"Vehicles/Teams", &CViewProperties::m_abVehicles},
    {"Platoons", &CViewProperties::m_abPlatoons},
    {"Companies", &CViewProperties::m_abCompanies},
};
const int CViewPropertiesDlg::kCheckCount = static_cast<int>(sizeof(kChecks) / sizeof(kChecks[0]));

int CViewProperties::ShowDialog(float fScale, CWnd* pParent)
{
    int nLevel = GetZoomLevel(fScale);
    if (nLevel == kUnset)
        nLevel = kDefaultLevel;
    CViewPropertiesDlg dialog(*this, nLevel, pParent);
    if (dialog.DoModal() != IDOK)
        return 0;
    *this = dialog.m_props;
    return 1;
}

CViewPropertiesDlg::CViewPropertiesDlg(const CViewProperties& props, int nLevel, CWnd* pParent)
    : CDialog(IDD_VIEW_PROPERTIES, pParent), m_props(props), m_nLevel(nLevel)
{
    MapCommand(IDC_VP_BACK, [this] { OnStep(-1); });
    MapCommand(IDC_VP_NEXT, [this] { OnStep(1); });
    MapCommand(IDC_VP_APPLY_ALL, [this] { OnApplyToAll(); });
    MapCommand(IDC_VP_RESET_LEVEL, [this] { OnResetLevel(); });
    MapCommand(IDC_VP_RESET_ALL, [this] { OnResetAll(); });
}

void CViewPropertiesDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("View Properties").Size(470, 430);
    t.Static(IDC_STATIC, "Current View", 20, 14, 100, 18);
    t.Static(IDC_VP_LEVEL_NAME, "", 120, 14, 250, 18);
    t.PushButton(IDC_VP_BACK, "<== Back", 20, 40, 100, 26);
    t.PushButton(IDC_VP_NEXT, "Next ==>", 130, 40, 100, 26);

    // Rows 1 to 14 and the hierarchy tree in two columns.
    constexpr int kOverlayChecks = 15;
    for (int i = 0; i < kOverlayChecks; ++i)
        t.CheckBox(IDC_VP_FIRST_CHECK + i, kChecks[i].label, 20 + (i / 8) * 160, 80 + (i % 8) * 24, 150, 20);
    t.GroupBox(IDC_STATIC, "Display Icons", 340, 80, 120, 96);
    for (int i = kOverlayChecks; i < kCheckCount; ++i)
        t.CheckBox(IDC_VP_FIRST_CHECK + i, kChecks[i].label, 350, 100 + (i - kOverlayChecks) * 24, 105, 20);

    t.GroupBox(IDC_STATIC, "Map", 20, 280, 150, 96);
    t.RadioButton(IDC_VP_COLOR, "Color", 30, 300, 130, 20, WS_GROUP);
    t.RadioButton(IDC_VP_CONTOUR, "Contour", 30, 324, 130, 20);
    t.RadioButton(IDC_VP_CONTOUR_OVERLAY, "Contour Overlay", 30, 348, 130, 20);
    t.GroupBox(IDC_STATIC, "Vehicle Markers", 180, 280, 150, 72);
    t.RadioButton(IDC_VP_PICTURE_ICONS, "Picture Icons", 190, 300, 130, 20, WS_GROUP);
    t.RadioButton(IDC_VP_NATO, "NATO", 190, 324, 130, 20);
    t.Slider(IDC_VP_ICON_SIZE, 340, 200, 90, 26);
    t.Static(IDC_VP_ICON_PERCENT, "", 432, 204, 36, 18);

    t.PushButton(IDC_VP_APPLY_ALL, "Apply Current to All Views", 240, 40, 220, 26);
    t.PushButton(IDC_VP_RESET_LEVEL, "Set Current Back to Default", 20, 390, 180, 26);
    t.PushButton(IDC_VP_RESET_ALL, "Set All Back to Default", 210, 390, 150, 26);
    t.DefPushButton(IDOK, "OK", 340, 240, 120, 26);
    t.PushButton(IDCANCEL, "Cancel", 340, 272, 120, 26);
}

BOOL CViewPropertiesDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CSliderCtrl* pSlider = GetDlgControl<CSliderCtrl>(IDC_VP_ICON_SIZE))
        pSlider->SetRange(kSliderMin, kSliderMax);
    ShowLevel();
    return TRUE;
}

void CViewPropertiesDlg::ShowLevel()
{
    const int n = m_nLevel;
    SetDlgItemText(IDC_VP_LEVEL_NAME, CViewProperties::GetLevelName(n));
    if (CSliderCtrl* pSlider = GetDlgControl<CSliderCtrl>(IDC_VP_ICON_SIZE))
        pSlider->SetPos(static_cast<int>(m_props.m_afIconSize[n] * kSliderPerSize + 0.5));
    ShowPercent();
    const int nStyle = m_props.m_anMapStyle[n];
    const UINT nStyleId = nStyle == CViewProperties::styleColor     ? IDC_VP_COLOR
                          : nStyle == CViewProperties::styleContour ? IDC_VP_CONTOUR
                                                                    : IDC_VP_CONTOUR_OVERLAY;
    CheckRadioButton(IDC_VP_COLOR, IDC_VP_CONTOUR_OVERLAY, nStyleId);
    CheckRadioButton(IDC_VP_PICTURE_ICONS, IDC_VP_NATO,
                     m_props.m_anIconStyle[n] == CViewProperties::iconPicture ? IDC_VP_PICTURE_ICONS : IDC_VP_NATO);
    for (int i = 0; i < kCheckCount; ++i)
        CheckDlgButton(IDC_VP_FIRST_CHECK + i, (m_props.*kChecks[i].row)[n] ? BST_CHECKED : BST_UNCHECKED);
}

void CViewPropertiesDlg::ReadLevelInto(int n)
{
    if (CSliderCtrl* pSlider = GetDlgControl<CSliderCtrl>(IDC_VP_ICON_SIZE))
        m_props.m_afIconSize[n] = static_cast<float>(pSlider->GetPos() * kSizePerSliderStep);
    const UINT nStyleId = GetCheckedRadioButton(IDC_VP_COLOR, IDC_VP_CONTOUR_OVERLAY);
    m_props.m_anMapStyle[n] = nStyleId == IDC_VP_COLOR     ? CViewProperties::styleColor
                              : nStyleId == IDC_VP_CONTOUR ? CViewProperties::styleContour
                                                           : CViewProperties::styleContourOverlay;
    m_props.m_anIconStyle[n] = GetCheckedRadioButton(IDC_VP_PICTURE_ICONS, IDC_VP_NATO) == IDC_VP_PICTURE_ICONS
                                   ? CViewProperties::iconPicture
                                   : CViewProperties::iconNato;
    for (int i = 0; i < kCheckCount; ++i)
        (m_props.*kChecks[i].row)[n] = IsDlgButtonChecked(IDC_VP_FIRST_CHECK + i) == BST_CHECKED;
}

void CViewPropertiesDlg::ReadLevel() { ReadLevelInto(m_nLevel); }

void CViewPropertiesDlg::ShowPercent()
{
    CSliderCtrl* pSlider = GetDlgControl<CSliderCtrl>(IDC_VP_ICON_SIZE);
    CString strPercent;
    strPercent.Format("%d%%", pSlider != nullptr ? pSlider->GetPos() : 0);
    SetDlgItemText(IDC_VP_ICON_PERCENT, strPercent);
}

void CViewPropertiesDlg::OnHScroll(UINT, UINT, CWnd* pScrollBar)
{
    if (pScrollBar != nullptr && pScrollBar->GetDlgCtrlID() == IDC_VP_ICON_SIZE)
        ShowPercent();
}

void CViewPropertiesDlg::OnStep(int nStep)
{
    ReadLevel();
    m_nLevel = (m_nLevel + nStep + CViewProperties::kLevelCount) % CViewProperties::kLevelCount;
    ShowLevel();
}

void CViewPropertiesDlg::OnApplyToAll()
{
    if (MessageBox(kApplyAllText, "Warning!", MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    for (int n = 0; n < CViewProperties::kLevelCount; ++n)
        ReadLevelInto(n);
    ShowLevel();
}

void CViewPropertiesDlg::OnResetLevel()
{
    if (MessageBox(kResetLevelText, "Question?", MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    m_props.ResetLevel(m_nLevel);
    ShowLevel();
}

void CViewPropertiesDlg::OnResetAll()
{
    if (MessageBox(kResetAllText, "Question?", MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    m_props.ResetAll();
    ShowLevel();
}

void CViewPropertiesDlg::OnOK()
{
    ReadLevel();
    CDialog::OnOK();
}
