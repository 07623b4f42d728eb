// The per-zoom-level view properties and their file "view.vpl". Fixtures are
// built by hand from the file layout.
#include "view/ViewProperties.h"
#include "app/ScenarioBytes.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ScriptedUi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
class ViewPropertiesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("kdr-vpl-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    CString Dir() const { return m_dir.string().c_str(); }
    fs::path File() const { return m_dir / "view.vpl"; }

    void Write(const std::vector<BYTE>& bytes) const
    {
        std::FILE* f = std::fopen(File().string().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        if (!bytes.empty())
            std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    std::vector<BYTE> Read() const
    {
        std::vector<BYTE> bytes;
        std::FILE* f = std::fopen(File().string().c_str(), "rb");
        if (f == nullptr)
            return bytes;
        int c;
        while ((c = std::fgetc(f)) != EOF)
            bytes.push_back(static_cast<BYTE>(c));
        std::fclose(f);
        return bytes;
    }

    fs::path m_dir;
};

// One level of the file: map style, icon style, icon size and the nineteen
// flag words in file order (rows 1, 2, reserved, 3..12, 14, 13, 18..21).
struct LevelBytes
{
    unsigned mapStyle;
    unsigned iconStyle;
    float iconSize;
    unsigned flags[19];
};

CScenarioBytes GlobalPart(const char* label, unsigned level, unsigned sound = 1, unsigned autoScroll = 1)
{
    CScenarioBytes b;
    b.Word(1600).Word(0).Word(4).Word(0).Word(0).Word(1);
    b.DWord(0);
    b.Word(1).Word(0).Word(1600).Word(1000).Word(0).Word(0);
    b.Str(label);
    b.Word(level).Word(sound).Word(autoScroll);
    return b;
}

void AppendLevel(CScenarioBytes& b, const LevelBytes& level)
{
    b.Word(level.mapStyle).Word(level.iconStyle).Float(level.iconSize);
    for (unsigned flag : level.flags)
        b.Word(flag);
}

// The defaults of level n in file form.
LevelBytes DefaultLevel(int n)
{
    const unsigned arrows = n < 3 ? 1 : 0;
    const unsigned mapStyle[6] = {0, 0, 2, 2, 2, 0};
    const float size[6] = {0.25f, 0.375f, 0.5f, 0.25f, 0.5f, 0.75f};
    //   destroyed, direction, reserved, FM log, SITTEMP, FC excl, grid, manoeuvre, overview, arcs,
    //   fire controls, spot log, tips, turret, all paths, vehicles, platoons, companies, tree
    return {mapStyle[n], arrows, size[n], {1, arrows, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0, 1, arrows, 0, 0, 1, 1, 1}};
}

CScenarioBytes DefaultFile()
{
    CScenarioBytes b = GlobalPart("AA0000", 2);
    for (int n = 0; n < 6; ++n)
        AppendLevel(b, DefaultLevel(n));
    return b;
}
}  // namespace

TEST_F(ViewPropertiesTest, ScalesAndLevelsMatchExactly)
{
    const struct
    {
        int level;
        float scale;
    } table[] = {{0, 0.25f}, {1, 0.5f}, {2, 1.0f}, {3, 2.0f}, {4, 4.0f}, {5, 8.0f}};
    for (const auto& row : table)
    {
        EXPECT_EQ(CViewProperties::GetZoomScale(row.level), row.scale);
        EXPECT_EQ(CViewProperties::GetZoomLevel(row.scale), row.level);
    }
    for (float scale : {3.0f, 0.0f, 0.2500001f, 16.0f, -99.0f})
        EXPECT_EQ(CViewProperties::GetZoomLevel(scale), kUnset) << scale;
    for (int level : {-1, 6, -99})
    {
        EXPECT_EQ(CViewProperties::GetZoomScale(level), -99.0f);
        EXPECT_STREQ(CViewProperties::GetLevelName(level), "");
    }
    EXPECT_STREQ(CViewProperties::GetLevelName(0), "Maximum Zoom Out (~1:200,000)");
    EXPECT_STREQ(CViewProperties::GetLevelName(2), "Normal (~1:50,000)");
    EXPECT_STREQ(CViewProperties::GetLevelName(5), "Maximum Zoom In (~1:6,250)");
}

TEST_F(ViewPropertiesTest, DefaultsAreWrittenInTheFileLayout)
{
    CViewProperties props;
    ASSERT_TRUE(props.Save(Dir()));
    const std::vector<BYTE> bytes = Read();
    EXPECT_EQ(bytes.size(), 311u + 6u);
    EXPECT_EQ(bytes, DefaultFile().Get());
}

TEST_F(ViewPropertiesTest, ReadsEveryFieldFromItsPlace)
{
    CScenarioBytes b;
    b.Word(1).Word(2).Word(3).Word(0xFFFF).Word(5).Word(6);  // a negative word reads back sign-extended
    b.DWord(3600);
    b.Word(7).Word(8).Word(9).Word(10).Word(11).Word(12);
    b.Str("BK1234");
    b.Word(4).Word(0).Word(7);  // level 4, sound off, auto-scroll word 7 reads as set
    for (int n = 0; n < 6; ++n)
    {
        LevelBytes level = DefaultLevel(n);
        if (n == 1)
        {
            level = {5, 0, 0.625f, {0, 0, 9, 1, 1, 1, 0, 0, 0, 0, 0, 1, 0, 1, 1, 7, 0, 0, 0}};
        }
        AppendLevel(b, level);
    }
    Write(b.Get());

    CViewProperties props;
    ASSERT_TRUE(props.Load(Dir()));
    const int words[12] = {1, 2, 3, -1, 5, 6, 7, 8, 9, 10, 11, 12};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(props.m_anAppWords[i], words[i]) << i;
    EXPECT_EQ(props.m_tsAppTime.GetTotalSeconds(), 3600);
    EXPECT_STREQ(props.m_strLabel, "BK1234");
    EXPECT_EQ(props.m_nCurrentLevel, 4);
    EXPECT_FALSE(props.m_bSoundOn);
    EXPECT_EQ(props.m_bAutoScroll, TRUE);

    // Level 1 as written; a map style of 5 stays 5, flag words read as 0 or 1.
    EXPECT_EQ(props.m_anMapStyle[1], 5);
    EXPECT_EQ(props.m_anIconStyle[1], 0);
    EXPECT_EQ(props.m_afIconSize[1], 0.625f);
    EXPECT_EQ(props.m_abDestroyedVehicles[1], FALSE);
    EXPECT_EQ(props.m_abDirectionArrows[1], FALSE);
    EXPECT_EQ(props.m_abFMLog[1], TRUE);
    EXPECT_EQ(props.m_abEnemySitTemp[1], TRUE);
    EXPECT_EQ(props.m_abFCExclude[1], TRUE);
    EXPECT_EQ(props.m_abGridLines[1], FALSE);
    EXPECT_EQ(props.m_abManeuverGraphics[1], FALSE);
    EXPECT_EQ(props.m_abOverviewMap[1], FALSE);
    EXPECT_EQ(props.m_abRangeArcs[1], FALSE);
    EXPECT_EQ(props.m_abShowFireControls[1], FALSE);
    EXPECT_EQ(props.m_abSpotReportLog[1], TRUE);
    EXPECT_EQ(props.m_abUnitToolTips[1], FALSE);
    EXPECT_EQ(props.m_abTurretArrows[1], TRUE);
    EXPECT_EQ(props.m_abShowAllPaths[1], TRUE);
    EXPECT_EQ(props.m_abVehicles[1], TRUE);  // written 7
    EXPECT_EQ(props.m_abPlatoons[1], FALSE);
    EXPECT_EQ(props.m_abCompanies[1], FALSE);
    EXPECT_EQ(props.m_abHierarchyTree[1], FALSE);
    // The other levels keep their defaults.
    EXPECT_EQ(props.m_anMapStyle[2], 2);
    EXPECT_EQ(props.m_afIconSize[5], 0.75f);

    // Written back, the normalised flags are 1 and the reserved word 0.
    ASSERT_TRUE(props.Save(Dir()));
    CViewProperties again;
    ASSERT_TRUE(again.Load(Dir()));
    EXPECT_EQ(again.m_abVehicles[1], TRUE);
    EXPECT_EQ(again.m_anMapStyle[1], 5);
    const std::vector<BYTE> saved = Read();
    const size_t level1 = 35 + 6 + 46 + 4 + 4;  // global part with "BK1234", level 0, level 1 styles and size
    EXPECT_EQ(saved[level1 + 2 * 2], 0);        // reserved
    EXPECT_EQ(saved[level1 + 2 * 15], 1);       // vehicles
}

TEST_F(ViewPropertiesTest, ALongLabelTakesTheWideLength)
{
    CViewProperties props;
    props.m_strLabel = CString(std::string(300, 'x').c_str());
    ASSERT_TRUE(props.Save(Dir()));
    const std::vector<BYTE> bytes = Read();
    ASSERT_EQ(bytes.size(), 310u + 3u + 300u);
    EXPECT_EQ(bytes[28], 0xFF);
    EXPECT_EQ(bytes[29], 300 & 0xFF);
    EXPECT_EQ(bytes[30], 300 >> 8);
    CViewProperties loaded;
    ASSERT_TRUE(loaded.Load(Dir()));
    EXPECT_EQ(loaded.m_strLabel, props.m_strLabel);
}

// A bad current level or icon size gives the defaults: the zoom restore
// steps towards the level and the symbols are scaled by the size.
TEST_F(ViewPropertiesTest, BadLevelsAndIconSizesFallBackToTheDefaults)
{
    const struct
    {
        unsigned levelWord;
        float size;
        int expectedLevel;
        float expectedSize;
    } table[] = {
        {0xFFFF, 0.0f, 2, 0.375f},                                     // level -1, size 0
        {6, -0.5f, 2, 0.375f},                                         // level 6, negative size
        {0xFF9D, std::numeric_limits<float>::quiet_NaN(), 2, 0.375f},  // level -99, not a number
        {99, std::numeric_limits<float>::infinity(), 2, 0.375f},
        {0, -std::numeric_limits<float>::infinity(), 0, 0.375f},
        {5, 1.5f, 5, 1.5f},  // good values stay
        {3, 0.01f, 3, 0.01f},
    };
    for (const auto& row : table)
    {
        CScenarioBytes b = GlobalPart("AA0000", row.levelWord);
        for (int n = 0; n < 6; ++n)
        {
            LevelBytes level = DefaultLevel(n);
            if (n == 1)
                level.iconSize = row.size;
            AppendLevel(b, level);
        }
        Write(b.Get());
        CViewProperties props;
        ASSERT_TRUE(props.Load(Dir()));
        EXPECT_EQ(props.m_nCurrentLevel, row.expectedLevel) << row.levelWord;
        EXPECT_EQ(props.m_afIconSize[1], row.expectedSize) << row.size;
        EXPECT_GT(CViewProperties::GetZoomScale(props.m_nCurrentLevel), 0.0f);
    }
}

TEST_F(ViewPropertiesTest, AMissingOrShortFileLeavesTheSettingsAsTheyWere)
{
    CViewProperties props;
    props.m_abVehicles[3] = TRUE;
    props.m_nCurrentLevel = 4;
    EXPECT_FALSE(props.Load(Dir()));  // no file

    for (size_t length : {size_t(0), size_t(20), DefaultFile().Size() - 1})
    {
        std::vector<BYTE> bytes = DefaultFile().Get();
        bytes.resize(length);
        Write(bytes);
        EXPECT_FALSE(props.Load(Dir())) << length;
        EXPECT_EQ(props.m_abVehicles[3], TRUE);
        EXPECT_EQ(props.m_nCurrentLevel, 4);
    }
    // A label length reaching past the end is refused before anything is read.
    CScenarioBytes b;
    for (int i = 0; i < 12; ++i)
        b.Word(0);
    b.DWord(0);
    b.Raw({0xFF, 0xFE, 0xFF});
    Write(b.Get());
    EXPECT_FALSE(props.Load(Dir()));
    EXPECT_FALSE(props.Save((m_dir / "no such folder").string().c_str()));
    EXPECT_FALSE(props.Load(CString()));
    EXPECT_FALSE(props.Save(CString()));
}

TEST_F(ViewPropertiesTest, PerScaleSettersAndResets)
{
    CViewProperties props;
    props.SetFMLogShown(TRUE, 2.0f);
    props.SetSpotReportLogShown(TRUE, 0.25f);
    props.SetHierarchyTreeShown(FALSE, 8.0f);
    props.SetMapStyle(1, 0.5f);
    EXPECT_EQ(props.m_abFMLog[3], TRUE);
    EXPECT_EQ(props.m_abSpotReportLog[0], TRUE);
    EXPECT_EQ(props.m_abHierarchyTree[5], FALSE);
    EXPECT_EQ(props.m_anMapStyle[1], 1);

    // A scale without a level changes nothing and has no grid.
    const CViewProperties before = props;
    props.SetFMLogShown(FALSE, 3.0f);
    props.SetMapStyle(0, 3.0f);
    EXPECT_EQ(props.m_abFMLog[3], TRUE);
    EXPECT_EQ(props.m_anMapStyle[1], 1);
    EXPECT_TRUE(props.IsGridShown(1.0f));
    EXPECT_FALSE(props.IsGridShown(3.0f));

    props.m_strLabel = "ZZ9999";
    props.m_abVehicles[3] = TRUE;
    props.m_afIconSize[3] = 0.9f;
    props.ResetLevel(3);
    EXPECT_EQ(props.m_abFMLog[3], FALSE);
    EXPECT_EQ(props.m_abVehicles[3], FALSE);
    EXPECT_EQ(props.m_afIconSize[3], 0.25f);
    EXPECT_EQ(props.m_anMapStyle[1], 1);  // other levels untouched
    EXPECT_STREQ(props.m_strLabel, "ZZ9999");
    props.ResetLevel(6);
    props.ResetLevel(-99);
    props.ResetAll();
    EXPECT_STREQ(props.m_strLabel, "AA0000");
    EXPECT_EQ(props.m_anMapStyle[1], 0);
    EXPECT_EQ(props.m_abSpotReportLog[0], FALSE);
}

namespace
{
// The check box of a row in the View Properties dialog.
UINT CheckOf(const char* label)
{
    for (int i = 0; i < CViewPropertiesDlg::kCheckCount; ++i)
        if (CString(CViewPropertiesDlg::kChecks[i].label) == label)
            return IDC_VP_FIRST_CHECK + i;
    ADD_FAILURE() << "no check box " << label;
    return 0;
}

class ViewPropertiesDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
    }
    void TearDown() override { EXPECT_TRUE(m_ui.IsScriptDone()) << m_ui.DescribeRemaining().GetString(); }

    CScriptedUi m_ui;
    CUiServiceScope m_scope{&m_ui};
};
}  // namespace

TEST_F(ViewPropertiesDialogTest, ShowsALevelAndStepsRoundTheSix)
{
    CViewProperties props;
    props.m_anMapStyle[0] = 5;
    m_ui.ExpectDialog(
        IDD_VIEW_PROPERTIES, IDOK,
        [](CDialog& dialog)
        {
            EXPECT_STREQ(dialog.GetWindowText(), "View Properties");
            EXPECT_STREQ(dialog.GetDlgItemText(IDC_VP_LEVEL_NAME), "Normal (~1:50,000)");
            EXPECT_EQ(dialog.GetDlgControl<CSliderCtrl>(IDC_VP_ICON_SIZE)->GetPos(), 100);
            EXPECT_STREQ(dialog.GetDlgItemText(IDC_VP_ICON_PERCENT), "100%");
            EXPECT_EQ(dialog.GetCheckedRadioButton(IDC_VP_COLOR, IDC_VP_CONTOUR_OVERLAY), IDC_VP_CONTOUR_OVERLAY);
            EXPECT_EQ(dialog.GetCheckedRadioButton(IDC_VP_PICTURE_ICONS, IDC_VP_NATO), IDC_VP_NATO);
            EXPECT_EQ(dialog.IsDlgButtonChecked(CheckOf("Grid Lines")), BST_CHECKED);
            EXPECT_EQ(dialog.IsDlgButtonChecked(CheckOf("Vehicles/Teams")), BST_UNCHECKED);
            dialog.GetDlgControl<CButton>(CheckOf("Vehicles/Teams"))->Click();

            dialog.PressButton(IDC_VP_NEXT);
            EXPECT_STREQ(dialog.GetDlgItemText(IDC_VP_LEVEL_NAME), "Zoom In 1 (~1:25,000)");
            EXPECT_EQ(dialog.GetDlgControl<CSliderCtrl>(IDC_VP_ICON_SIZE)->GetPos(), 50);
            EXPECT_EQ(dialog.IsDlgButtonChecked(CheckOf("Vehicles/Teams")), BST_UNCHECKED);
            dialog.GetDlgControl<CSliderCtrl>(IDC_VP_ICON_SIZE)->MoveTo(150);
            EXPECT_STREQ(dialog.GetDlgItemText(IDC_VP_ICON_PERCENT), "150%");
            dialog.GetDlgControl<CButton>(IDC_VP_COLOR)->Click();

            // Back twice from level 3, Back again wraps from 0 to 5.
            dialog.PressButton(IDC_VP_BACK);
            EXPECT_EQ(dialog.IsDlgButtonChecked(CheckOf("Vehicles/Teams")), BST_CHECKED);
            dialog.PressButton(IDC_VP_BACK);
            dialog.PressButton(IDC_VP_BACK);
            EXPECT_STREQ(dialog.GetDlgItemText(IDC_VP_LEVEL_NAME), "Maximum Zoom Out (~1:200,000)");
            // A style outside 0..2 shows as the overlay.
            EXPECT_EQ(dialog.GetCheckedRadioButton(IDC_VP_COLOR, IDC_VP_CONTOUR_OVERLAY), IDC_VP_CONTOUR_OVERLAY);
            dialog.PressButton(IDC_VP_BACK);
            EXPECT_STREQ(dialog.GetDlgItemText(IDC_VP_LEVEL_NAME), "Maximum Zoom In (~1:6,250)");
            dialog.PressButton(IDC_VP_NEXT);
            dialog.PressButton(IDC_VP_NEXT);
            EXPECT_STREQ(dialog.GetDlgItemText(IDC_VP_LEVEL_NAME), "Zoom Out 1 (~1:100,000)");
            EXPECT_EQ(dialog.GetDlgControl<CSliderCtrl>(IDC_VP_ICON_SIZE)->GetPos(), 75);  // 0.375
        });
    EXPECT_EQ(props.ShowDialog(1.0f), 1);
    EXPECT_TRUE(props.m_abVehicles[2]);
    EXPECT_FALSE(props.m_abVehicles[3]);
    EXPECT_EQ(props.m_afIconSize[3], 0.75f);
    EXPECT_EQ(props.m_anMapStyle[3], 0);
    EXPECT_EQ(props.m_anMapStyle[0], 2);  // shown as the overlay and read back so
    EXPECT_EQ(props.m_afIconSize[1], 0.375f);

    // Cancel changes nothing; a scale without a level edits the normal level.
    m_ui.ExpectDialog(IDD_VIEW_PROPERTIES, IDCANCEL,
                      [](CDialog& dialog)
                      {
                          EXPECT_STREQ(dialog.GetDlgItemText(IDC_VP_LEVEL_NAME), "Normal (~1:50,000)");
                          dialog.GetDlgControl<CButton>(CheckOf("Vehicles/Teams"))->Click();
                      });
    EXPECT_EQ(props.ShowDialog(3.0f), 0);
    EXPECT_TRUE(props.m_abVehicles[2]);
}

TEST_F(ViewPropertiesDialogTest, CopiesAndResetsAfterAsking)
{
    CViewProperties props;
    props.m_strLabel = "ZZ9999";
    m_ui.ExpectDialog(
        IDD_VIEW_PROPERTIES, IDOK,
        [this](CDialog& dialog)
        {
            // At level 5: platoons off, then copied to every level.
            dialog.GetDlgControl<CButton>(CheckOf("Platoons"))->Click();
            m_ui.ExpectMessage(
                "Warning!",
                "This will copy the current settings to all zoom levels.\nAre you sure you wish to continue?", IDNO);
            dialog.PressButton(IDC_VP_APPLY_ALL);
            dialog.PressButton(IDC_VP_BACK);
            EXPECT_EQ(dialog.IsDlgButtonChecked(CheckOf("Platoons")), BST_CHECKED);
            dialog.PressButton(IDC_VP_NEXT);
            m_ui.ExpectMessage(
                "Warning!",
                "This will copy the current settings to all zoom levels.\nAre you sure you wish to continue?", IDYES);
            dialog.PressButton(IDC_VP_APPLY_ALL);
            dialog.PressButton(IDC_VP_BACK);
            EXPECT_EQ(dialog.IsDlgButtonChecked(CheckOf("Platoons")), BST_UNCHECKED);
            EXPECT_EQ(dialog.GetDlgControl<CSliderCtrl>(IDC_VP_ICON_SIZE)->GetPos(), 150);  // level 5's size

            m_ui.ExpectMessage(
                "Question?", "Are you sure you want to restore the default\nview settings for this zoom level?", IDOK);
            dialog.PressButton(IDC_VP_RESET_LEVEL);
            EXPECT_EQ(dialog.IsDlgButtonChecked(CheckOf("Platoons")), BST_CHECKED);
            EXPECT_EQ(dialog.GetDlgControl<CSliderCtrl>(IDC_VP_ICON_SIZE)->GetPos(), 100);
        });
    EXPECT_EQ(props.ShowDialog(8.0f), 1);
    EXPECT_TRUE(props.m_abPlatoons[4]);  // reset
    for (int n : {0, 1, 2, 3, 5})
    {
        EXPECT_FALSE(props.m_abPlatoons[n]) << n;
        EXPECT_EQ(props.m_afIconSize[n], 0.75f) << n;
    }

    m_ui.ExpectDialog(
        IDD_VIEW_PROPERTIES, IDOK,
        [this](CDialog& dialog)
        {
            m_ui.ExpectMessage("Question?",
                               "Are you sure you want to restore the default\nview settings for EVERY zoom level?",
                               IDCANCEL);
            dialog.PressButton(IDC_VP_RESET_ALL);
            EXPECT_EQ(dialog.IsDlgButtonChecked(CheckOf("Platoons")), BST_UNCHECKED);
            m_ui.ExpectMessage(
                "Question?", "Are you sure you want to restore the default\nview settings for EVERY zoom level?", IDOK);
            dialog.PressButton(IDC_VP_RESET_ALL);
            EXPECT_EQ(dialog.IsDlgButtonChecked(CheckOf("Platoons")), BST_CHECKED);
        });
    EXPECT_EQ(props.ShowDialog(1.0f), 1);
    EXPECT_STREQ(props.m_strLabel, "AA0000");
    EXPECT_TRUE(props.m_abPlatoons[0]);
    EXPECT_EQ(props.m_afIconSize[0], 0.25f);
}
