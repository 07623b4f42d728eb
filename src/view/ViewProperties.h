#pragma once
// CViewProperties: what the map shows at each of the six zoom levels (the
// overlays, the echelons, the symbol style and size, the map style and the
// companion windows), with the application's current display settings and
// fire-order label carried alongside. One object lives in the map view for
// the whole run; it is read from "view.vpl" in the saved-game directory at
// start-up and written back there when the view closes.
//
// The view copies the entry of the current zoom level into its own flags at
// every zoom change and copies its flags back before the level changes, so
// each level keeps its own choices.
//
// "view.vpl" is an archive without header or version word (little-endian):
//   six words (application settings 3 to 8), the time span as 4 bytes, six
//   words (settings 10 to 15), the label as an archive string, the current
//   level word, the sound word, the auto-scroll word; then for each level
//   0 to 5: the map-style word, the icon-style word, the icon size as a
//   4-byte float and nineteen flag words (rows 1, 2, a reserved word, 3 to
//   12, 14, 13, 18 to 21 of the table below).
// Words are read back sign-extended and flags as 1 for any non-zero word.
// A reader never trusts the file: a current level outside 0 to 5 becomes the
// default level and an icon size that is zero, negative, infinite or not a
// number becomes its level's default, because the zoom restore steps
// towards the stored level and the symbols are scaled by the icon size.
//
// Level index and scale: 0 = 0.25, 1 = 0.5, 2 = 1.0, 3 = 2.0, 4 = 4.0,
// 5 = 8.0, matched exactly; any other scale has no level, and the per-scale
// setters and queries do nothing for it.

#include "platform/core/Core.h"
#include "platform/ui/Dialog.h"

class CViewProperties : public CObject
{
    DECLARE_SERIAL(CViewProperties)
public:
    static constexpr int kLevelCount = 6;
    static constexpr int kDefaultLevel = 2;
    // The application settings held as words: settings 3 to 8 and 10 to 15
    // of the global part (setting 9 is the time span).
    static constexpr int kAppWordCount = 12;
    static constexpr const char* kFileName = "view.vpl";

    // Map styles of row 15.
    enum
    {
        styleColor = 0,
        styleContour = 1,
        styleContourOverlay = 2
    };
    // Icon styles of row 16.
    enum
    {
        iconPicture = 0,
        iconNato = 1
    };

    CViewProperties();
    ~CViewProperties() override;
    CViewProperties(const CViewProperties&) = default;
    CViewProperties& operator=(const CViewProperties&) = default;

    void Serialize(CArchive& ar) override;

    // Reads "view.vpl" of the directory; 0 when it does not open or cannot
    // be read, and this object is then left as it was. The forms without a
    // directory use the application's saved-game directory; an empty
    // directory (no application) reads and writes nothing.
    BOOL Load(const CString& strDirectory);
    BOOL Load();
    // Writes "view.vpl" into the directory; 0 when it cannot be created.
    BOOL Save(const CString& strDirectory);
    BOOL Save();

    // The scale of a level, kUnsetFloat outside 0 to 5; the level of a scale,
    // kUnset for a scale that is not exactly one of the six.
    static float GetZoomScale(int nLevel);
    static int GetZoomLevel(float fScale);
    // "Normal (~1:50,000)" and the others; empty outside 0 to 5.
    static const char* GetLevelName(int nLevel);

    // Rows 3, 11, 21 and 15 at the level of the scale.
    void SetFMLogShown(BOOL bShown, float fScale);
    void SetSpotReportLogShown(BOOL bShown, float fScale);
    void SetHierarchyTreeShown(BOOL bShown, float fScale);
    void SetMapStyle(int nStyle, float fScale);
    // Row 6 at the level of the scale; FALSE for a scale without a level.
    BOOL IsGridShown(float fScale) const;

    // Rows 1 to 21 of one level take their defaults (nothing outside 0..5).
    void ResetLevel(int nLevel);
    // Every field takes the constructor's value.
    void ResetAll();

    // View/Options: the View Properties dialog edits a copy, starting at the
    // level of the scale (the normal level for a scale without one). OK
    // replaces every field with the copy's and answers 1; Cancel answers 0
    // and changes nothing. The caller applies and redraws.
    int ShowDialog(float fScale, CWnd* pParent = nullptr);

    // ---- Global part ----
    int m_nCurrentLevel;              // the level the settings were last stored at
    BOOL m_bSoundOn;                  // the sound manager's switch
    BOOL m_bAutoScroll;               // the application's edge auto-scroll
    int m_anAppWords[kAppWordCount];  // settings 3..8, then 10..15
    CTimeSpan m_tsAppTime;            // setting 9
    CString m_strLabel;               // the fire-order label

    // ---- One value per level (rows of the table) ----
    BOOL m_abDestroyedVehicles[kLevelCount];  // 1 "Destroyed Vehicles"
    BOOL m_abDirectionArrows[kLevelCount];    // 2 "Direction Arrows"
    BOOL m_abFMLog[kLevelCount];              // 3 "FM Log" window open
    BOOL m_abEnemySitTemp[kLevelCount];       // 4 "Enemy SITTEMP"
    BOOL m_abFCExclude[kLevelCount];          // 5 "FC Exclude"
    BOOL m_abGridLines[kLevelCount];          // 6 "Grid Lines"
    BOOL m_abManeuverGraphics[kLevelCount];   // 7 "Maneuver Graphics"
    BOOL m_abOverviewMap[kLevelCount];        // 8 "Overview Map" window open
    BOOL m_abRangeArcs[kLevelCount];          // 9 "Range Arcs"
    BOOL m_abShowFireControls[kLevelCount];   // 10 "Show Fire Controls"
    BOOL m_abSpotReportLog[kLevelCount];      // 11 "Spot Report Log" window open
    BOOL m_abUnitToolTips[kLevelCount];       // 12 "Unit Tool Tips"
    BOOL m_abShowAllPaths[kLevelCount];       // 13 "Show All Paths"
    BOOL m_abTurretArrows[kLevelCount];       // 14 "Turret Arrows"
    int m_anMapStyle[kLevelCount];            // 15 styleColor .. styleContourOverlay
    int m_anIconStyle[kLevelCount];           // 16 iconPicture or iconNato
    float m_afIconSize[kLevelCount];          // 17 fraction of the full symbol size
    BOOL m_abVehicles[kLevelCount];           // 18 "Vehicles/Teams" shown
    BOOL m_abPlatoons[kLevelCount];           // 19 "Platoons" shown
    BOOL m_abCompanies[kLevelCount];          // 20 "Companies" shown
    BOOL m_abHierarchyTree[kLevelCount];      // 21 "Hierarchy Tree" window open
};

// The View Properties dialog: one level of a working copy at a time, with
// Back and Next wrapping round the six levels.
constexpr UINT IDD_VIEW_PROPERTIES = 141;
constexpr UINT IDC_VP_BACK = 1301;
constexpr UINT IDC_VP_NEXT = 1302;
constexpr UINT IDC_VP_LEVEL_NAME = 1303;
constexpr UINT IDC_VP_APPLY_ALL = 1304;
constexpr UINT IDC_VP_RESET_LEVEL = 1305;
constexpr UINT IDC_VP_RESET_ALL = 1306;
constexpr UINT IDC_VP_ICON_SIZE = 1307;
constexpr UINT IDC_VP_ICON_PERCENT = 1308;
constexpr UINT IDC_VP_COLOR = 1310;  // the three map styles, in order
constexpr UINT IDC_VP_CONTOUR = 1311;
constexpr UINT IDC_VP_CONTOUR_OVERLAY = 1312;
constexpr UINT IDC_VP_PICTURE_ICONS = 1313;  // the two icon styles, in order
constexpr UINT IDC_VP_NATO = 1314;
// Check boxes: "Destroyed Vehicles" ... "Hierarchy Tree", in the order of
// CViewPropertiesDlg::kChecks.
constexpr UINT IDC_VP_FIRST_CHECK = 1320;

class CViewPropertiesDlg : public CDialog
{
public:
    CViewPropertiesDlg(const CViewProperties& props, int nLevel, CWnd* pParent = nullptr);

    void BuildTemplate(CDialogTemplate& t) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar) override;

    // One check box: its label and the row it shows.
    struct CheckRow
    {
        const char* label;
        BOOL (CViewProperties::*row)[CViewProperties::kLevelCount];
    };
    static const CheckRow kChecks[];
    static const int kCheckCount;

    CViewProperties m_props;  // the working copy
    int m_nLevel;             // the level shown

private:
    void ShowLevel();
    void ReadLevel();
    // Reads the dialog's values into one level of the copy.
    void ReadLevelInto(int nLevel);
    void ShowPercent();
    void OnStep(int nStep);
    void OnApplyToAll();
    void OnResetLevel();
    void OnResetAll();
};
