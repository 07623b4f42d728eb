// The map view's per-zoom-level settings: stored before a zoom change,
// applied after it, saved when the view closes and read back at the next
// start; a bad "view.vpl" falls back to the defaults.
#include "ViewTestSupport.h"

#include "app/ScenarioBytes.h"
#include "units/SpotReportArray.h"
#include "view/ViewProperties.h"

#include <cmath>
#include <limits>

namespace
{
// Closes the main window as the program's exit does: the view is destroyed
// while the application still lives.
void CloseMainWindow(CViewShell& shell)
{
    shell.App().GetMainFrame()->DestroyWindow();
    CViewShell::Spin();
}
}  // namespace

TEST(ViewSettings, EachLevelKeepsItsOwnEchelons)
{
    CStartDir dir;
    CViewShell shell(dir.Path(), 320, 240);
    ASSERT_TRUE(shell.OpenTestMap());
    CKDRView& view = shell.View();
    ASSERT_EQ(view.GetZoom(), 1.0f);
    // The defaults of level 2: platoons and companies, no vehicles.
    EXPECT_FALSE(view.m_bShowVehicles);
    EXPECT_TRUE(view.m_bShowPlatoons);
    EXPECT_TRUE(view.m_bDirectionArrows);
    EXPECT_EQ(view.m_nIconStyle, 1);
    EXPECT_EQ(view.m_fIconSize, 0.5f);

    view.m_bShowVehicles = TRUE;
    view.m_bShowPlatoons = FALSE;
    ASSERT_TRUE(view.SetZoom(1, FALSE));
    // Level 3 as it was; level 2 stored before the change.
    EXPECT_FALSE(view.m_bShowVehicles);
    EXPECT_TRUE(view.m_bShowPlatoons);
    EXPECT_FALSE(view.m_bDirectionArrows);
    EXPECT_EQ(view.m_nIconStyle, 0);
    EXPECT_EQ(view.m_fIconSize, 0.25f);
    const CViewProperties& props = *view.GetViewProperties();
    EXPECT_TRUE(props.m_abVehicles[2]);
    EXPECT_FALSE(props.m_abPlatoons[2]);
    EXPECT_EQ(props.m_nCurrentLevel, 2);

    view.m_bShowCompanies = FALSE;
    ASSERT_TRUE(view.SetZoom(-1, FALSE));
    EXPECT_TRUE(view.m_bShowVehicles);
    EXPECT_FALSE(view.m_bShowPlatoons);
    EXPECT_TRUE(view.m_bShowCompanies);
    EXPECT_FALSE(props.m_abCompanies[3]);
    EXPECT_EQ(props.m_nCurrentLevel, 3);

    // Keeping the properties stores nothing of the level left.
    view.m_bShowVehicles = FALSE;
    ASSERT_TRUE(view.SetZoom(1, TRUE));
    EXPECT_TRUE(props.m_abVehicles[2]);
}

TEST(ViewSettings, TheSettingsOfEachLevelComeBackAfterARestart)
{
    CStartDir dir;
    {
        CViewShell shell(dir.Path(), 320, 240);
        EXPECT_FALSE(std::filesystem::exists(shell.SavegameDir() / "view.vpl"));
        ASSERT_TRUE(shell.OpenTestMap());
        CKDRView& view = shell.View();
        view.m_bShowVehicles = TRUE;  // level 2
        ASSERT_TRUE(view.SetZoom(1, FALSE));
        view.m_bShowCompanies = FALSE;  // level 3
        ASSERT_TRUE(view.SetZoom(1, FALSE));
        view.m_bShowPlatoons = FALSE;  // level 4, the level the program ends at
        shell.App().m_bAutoScroll = FALSE;
        shell.App().m_strDisplayLabel = "QQ1234";
        shell.App().m_anDisplaySettings[6] = 90;  // the fire-order time span
        CloseMainWindow(shell);
        EXPECT_TRUE(std::filesystem::exists(shell.SavegameDir() / "view.vpl"));
    }
    CViewShell shell(dir.Path(), 320, 240);
    // The application's settings are back at start-up.
    EXPECT_FALSE(shell.App().m_bAutoScroll);
    EXPECT_STREQ(shell.App().m_strDisplayLabel, "QQ1234");
    EXPECT_EQ(shell.App().m_anDisplaySettings[6], 90);
    EXPECT_EQ(shell.App().m_anDisplaySettings[0], 1600);
    EXPECT_EQ(shell.App().m_anDisplaySettings[10], 1000);

    // The mission opens at the level the program ended at, with its echelons.
    ASSERT_TRUE(shell.OpenTestMap());
    CKDRView& view = shell.View();
    EXPECT_EQ(view.GetZoom(), 4.0f);
    EXPECT_FALSE(view.m_bShowPlatoons);
    EXPECT_TRUE(view.m_bShowCompanies);
    ASSERT_TRUE(view.SetZoom(-1, FALSE));
    EXPECT_FALSE(view.m_bShowCompanies);
    EXPECT_TRUE(view.m_bShowPlatoons);
    ASSERT_TRUE(view.SetZoom(-1, FALSE));
    EXPECT_TRUE(view.m_bShowVehicles);
    EXPECT_TRUE(view.m_bShowCompanies);
    ASSERT_TRUE(view.SetZoom(-1, FALSE));
    EXPECT_FALSE(view.m_bShowVehicles);  // level 1 untouched
}

// Values from a bad file never make the zoom restore loop or step off the
// six levels, and never give a symbol size of zero.
TEST(ViewSettings, ABadViewFileGivesTheDefaults)
{
    const struct
    {
        unsigned levelWord;
        float iconSize;
    } table[] = {{99, 0.0f}, {0xFF9D, -1.0f}, {6, std::numeric_limits<float>::quiet_NaN()}, {0xFFFF, 0.0f}};
    for (const auto& row : table)
    {
        CStartDir dir;
        std::filesystem::create_directories(dir.Path() / "Savegame");
        CScenarioBytes b;
        b.Word(1600).Word(0).Word(4).Word(0).Word(0).Word(1).DWord(0);
        b.Word(1).Word(0).Word(1600).Word(1000).Word(0).Word(0).Str("AA0000");
        b.Word(row.levelWord).Word(1).Word(1);
        for (int n = 0; n < 6; ++n)
        {
            b.Word(0).Word(1).Float(row.iconSize);
            for (int i = 0; i < 19; ++i)
                b.Word(1);
        }
        std::FILE* f = std::fopen((dir.Path() / "Savegame" / "view.vpl").string().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(b.Get().data(), 1, b.Size(), f);
        std::fclose(f);

        CViewShell shell(dir.Path(), 320, 240);
        ASSERT_TRUE(shell.OpenTestMap());
        CKDRView& view = shell.View();
        EXPECT_EQ(view.GetZoom(), 1.0f) << row.levelWord;
        EXPECT_EQ(view.GetViewProperties()->m_nCurrentLevel, CViewProperties::kDefaultLevel);
        EXPECT_EQ(view.m_fIconSize, 0.5f) << row.iconSize;
        EXPECT_TRUE(view.m_bShowVehicles);  // the flags of the file were read
    }
}

TEST(ViewSettings, AStoredZoomOffTheLevelsIsNotStepped)
{
    CStartDir dir;
    CViewShell shell(dir.Path(), 320, 240);
    ASSERT_TRUE(shell.OpenTestMap());
    CKDRView& view = shell.View();
    for (float stored : {3.0f, -99.0f, 0.0f, std::numeric_limits<float>::quiet_NaN(), 16.0f})
    {
        view.m_fStoredZoom = stored;
        view.ApplyStoredZoom();
        EXPECT_EQ(view.GetZoom(), 1.0f) << stored;
    }
    view.m_fStoredZoom = 0.25f;
    view.ApplyStoredZoom();
    EXPECT_EQ(view.GetZoom(), 0.25f);
    view.m_fStoredZoom = 8.0f;
    view.ApplyStoredZoom();
    EXPECT_EQ(view.GetZoom(), 8.0f);
}

TEST(ViewSettings, AMissingFileGivesTheDefaultsAndAScaleWithoutALevelChangesNothing)
{
    CStartDir dir;
    CViewShell shell(dir.Path(), 320, 240);
    CKDRView& view = shell.View();
    EXPECT_EQ(view.InitViewProperties(), 0);
    EXPECT_EQ(view.GetViewProperties()->m_nCurrentLevel, 2);
    EXPECT_EQ(view.m_fStoredZoom, 1.0f);
    ASSERT_TRUE(shell.OpenTestMap());

    // A scale that no zoom code produces has no level: storing and applying
    // leave the properties and the view's flags alone.
    shell.Doc().GetGameMap()->GetMapPicture()->SetZoom(3.0f);
    const CViewProperties before = *view.GetViewProperties();
    view.m_bShowVehicles = TRUE;
    view.StoreViewProperties(FALSE);
    view.ApplyViewProperties();
    EXPECT_TRUE(view.m_bShowVehicles);
    for (int n = 0; n < CViewProperties::kLevelCount; ++n)
        EXPECT_EQ(view.GetViewProperties()->m_abVehicles[n], before.m_abVehicles[n]) << n;
    EXPECT_EQ(view.GetViewProperties()->m_nCurrentLevel, before.m_nCurrentLevel);
}

TEST(ViewSettings, ASpotReportLogFollowsItsLevel)
{
    CStartDir dir;
    CViewShell shell(dir.Path(), 320, 240);
    ASSERT_TRUE(shell.OpenTestMap());
    CKDRView& view = shell.View();
    CViewProperties& props = *view.GetViewProperties();
    props.m_abSpotReportLog[3] = TRUE;
    ASSERT_FALSE(shell.App().m_pSpotReports->IsLogShown());
    ASSERT_TRUE(view.SetZoom(1, FALSE));
    EXPECT_TRUE(shell.App().m_pSpotReports->IsLogShown());
    EXPECT_TRUE(view.m_bSpotReportLog);
    ASSERT_TRUE(view.SetZoom(-1, FALSE));
    EXPECT_FALSE(shell.App().m_pSpotReports->IsLogShown());
    EXPECT_TRUE(props.m_abSpotReportLog[3]);
}
