// The demo mission's equipment in the running game: Help/Vehicle Specs...
// shows the index of its vehicles, rounds and weapons, a vehicle's page its
// weapon and kill tables and its capabilities, Back and Forward move through what was shown, and
// leaving the mission takes the pages out of the saved-game directory.

#include "../../../tools/demo_equipment.h"
#include "app/DocTestSupport.h"

#include "app/KDRCommandIds.h"
#include "app/StartMenuDlg.h"
#include "database/KDRDatabase.h"
#include "database/KillPercentage.h"
#include "database/Vehicle.h"
#include "database/VehicleArray.h"
#include "database/VehicleSpecsDlg.h"
#include "database/Weapon.h"
#include "platform/ui/Frame.h"
#include "platform/ui/PageView.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace
{
std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

UINT MenuState(CKDRApp& app, UINT id)
{
    CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(app.m_pMainWnd);
    CMenu* pMenu = pFrame->GetMenu();
    pMenu->UpdateCommandStates(pFrame);
    return pMenu->GetMenuState(id, MF_BYCOMMAND);
}
}  // namespace

TEST(DatabaseDemo, VehicleSpecsShowsTheDemoEquipmentAndLeavesNoPageBehind)
{
    const std::filesystem::path tool = std::filesystem::path(KDR_BINARY_DIR) / "kdrdemo";
    if (!std::filesystem::exists(tool))
        GTEST_SKIP() << "the demo writer is not built";
    CDocShell shell;
    const std::string command = "\"" + tool.string() + "\" \"" + shell.StartDir().string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::filesystem::path savegame = shell.StartDir() / "Savegame";

    // Without a mission the item is greyed.
    EXPECT_EQ(MenuState(shell.App(), ID_HELP_VEHICLE_SPECS) & MF_GRAYED, MF_GRAYED);

    ASSERT_TRUE(shell.Open("demo.asc"));
    CKDRDatabase* pDatabase = shell.Doc().GetDatabase();
    ASSERT_NE(pDatabase, nullptr);
    EXPECT_EQ(pDatabase->m_strWeaponList, "demo.wep");
    EXPECT_EQ(pDatabase->m_strVehicleList, "demo.veh");
    EXPECT_EQ(pDatabase->m_strPieceList, "Demo.pca");
    EXPECT_EQ(pDatabase->m_strSoundList, "Demo.smg");
    ASSERT_GE(pDatabase->GetVehicleCount(), 7);
    const int nWeapons = pDatabase->GetWeaponArray()->GetSize();
    for (int i = 0; i < pDatabase->GetVehicleCount(); ++i)
        EXPECT_EQ(pDatabase->GetVehicle(i)->GetKillPercentages()->GetSize(), nWeapons);
    ASSERT_TRUE(pDatabase->ArePagesWritten());
    EXPECT_TRUE(std::filesystem::exists(savegame / "index.htm"));
    EXPECT_TRUE(std::filesystem::exists(shell.DataDir() / "kdr_logo.jpg"));
    EXPECT_EQ(MenuState(shell.App(), ID_HELP_VEHICLE_SPECS) & (MF_GRAYED | MF_CHECKED), 0u);

    // Help/Vehicle Specs...: the index, checked in the menu while it is open.
    shell.App().m_pMainWnd->ExecuteCommand(ID_HELP_VEHICLE_SPECS);
    ASSERT_TRUE(pDatabase->IsSpecsWindowOpen());
    EXPECT_EQ(MenuState(shell.App(), ID_HELP_VEHICLE_SPECS) & MF_CHECKED, MF_CHECKED);
    CVehicleSpecsDlg* pWindow = pDatabase->GetSpecsWindow();
    CPageView* pBrowser = pWindow->GetBrowser();
    EXPECT_EQ(pBrowser->GetLocationName(), "index.htm");
    const CString index = pBrowser->GetPlainText();
    for (const char* name : {"Tarn main battle tank", "Rifle team", "Vigil observer vehicle", "120mm smooth bore gun",
                             "5.56mm rifle", "84mm recoilless rifle"})
        EXPECT_NE(index.Find(name), -1) << name << " in " << index.GetString();
    // The rounds stand under the ammunition heading, before the weapons.
    const int ammoHeading = index.Find("Ammunition");
    const int weaponHeading = index.Find("Weapons");
    for (const char* round : {"HE (120mm mortar)", "Smoke (120mm mortar)", "Illumination (120mm mortar)",
                              "Scatterable mines (120mm mortar)", "Chemical (120mm mortar)"})
    {
        const int at = index.Find(round);
        EXPECT_TRUE(ammoHeading >= 0 && ammoHeading < at && at < weaponHeading) << round << " in " << index.GetString();
    }

    // A unit's vehicle page: its weapons by penetration and its kill table.
    ASSERT_TRUE(shell.Doc().ShowVehicleSpecs(0));
    EXPECT_EQ(pBrowser->GetLocationName(), "Tarn main battle tank.htm");
    EXPECT_EQ(pWindow->GetWindowText(), "Tarn main battle tank");
    const CString tank = pBrowser->GetPlainText();
    EXPECT_NE(tank.Find("View range (m)"), -1);
    EXPECT_NE(tank.Find("3000"), -1) << tank.GetString();
    const int gun = tank.Find("120mm smooth bore gun");
    const int heavy = tank.Find("12.7mm heavy machine gun");
    const int light = tank.Find("7.62mm machine gun");
    EXPECT_TRUE(gun >= 0 && gun < heavy && heavy < light) << tank.GetString();
    const int kills = tank.Find("Kill Percentages");
    ASSERT_GE(kills, 0);
    const CString killTable = tank.Mid(kills);
    EXPECT_NE(killTable.Find("130mm anti-tank missile"), -1);
    EXPECT_EQ(killTable.Find("5.56mm rifle"), -1);  // it cannot kill a tank
    EXPECT_NE(killTable.Find("95"), -1);
    // The turret's section: its guns and its own kill table.
    const int turret = tank.Find("Turret Weapons");
    ASSERT_GT(turret, kills) << tank.GetString();
    const CString turretSection = tank.Mid(turret);
    EXPECT_NE(turretSection.Find("120mm smooth bore gun"), -1);
    const int turretKills = turretSection.Find("Turret Kill Percentages");
    ASSERT_GE(turretKills, 0);
    EXPECT_NE(turretSection.Mid(turretKills).Find("130mm anti-tank missile"), -1);
    EXPECT_NE(turretSection.Mid(turretKills).Find("55"), -1);

    // Back and Forward move through what was shown.
    EXPECT_TRUE(pWindow->GetDlgItem(IDC_SPECS_BACK)->IsWindowEnabled());
    ASSERT_TRUE(pWindow->PressButton(IDC_SPECS_BACK));
    EXPECT_EQ(pBrowser->GetLocationName(), "index.htm");
    EXPECT_TRUE(pWindow->GetDlgItem(IDC_SPECS_FORWARD)->IsWindowEnabled());
    ASSERT_TRUE(pWindow->PressButton(IDC_SPECS_FORWARD));
    EXPECT_EQ(pBrowser->GetLocationName(), "Tarn main battle tank.htm");

    // The mortar carrier's rounds, each row linking to its munition's page.
    ASSERT_TRUE(shell.Doc().ShowVehicleSpecs(4));
    EXPECT_EQ(pBrowser->GetLocationName(), "Mosk mortar carrier.htm");
    const CString mortar = pBrowser->GetPlainText();
    EXPECT_NE(mortar.Find("Indirect Fire"), -1);
    EXPECT_NE(mortar.Find("Scatterable mines (120mm mortar)"), -1) << mortar.GetString();
    const std::string mortarPage = ReadFile(savegame / "Mosk mortar carrier.htm");
    for (const char* page : {"HE (120mm mortar).htm", "Chemical (120mm mortar).htm"})
    {
        EXPECT_NE(mortarPage.find(std::string("<A HREF=\"") + page + "\">"), std::string::npos) << page;
        EXPECT_TRUE(std::filesystem::exists(savegame / page)) << page;
    }

    // Quit Mission: the pages go with the mission; the start menu follows.
    std::vector<std::string> pages;
    for (const auto& entry : std::filesystem::directory_iterator(savegame))
    {
        if (entry.path().extension() == ".htm")
            pages.push_back(entry.path().filename().string());
    }
    // The index, the vehicles (11 own, 6 enemy), the munitions, the weapons.
    EXPECT_EQ(pages.size(), 1u + demo_equipment::kVehicleCount + demo_equipment::kMunitionCount + 7u);
    EXPECT_EQ(demo_equipment::kVehicleCount, 17);
    EXPECT_EQ(demo_equipment::kMunitionCount, 6);
    shell.Ui().ExpectDialog(IDD_START_MENU, IDCANCEL, [](CDialog& menu) { menu.PressButton(IDC_START_EXIT); });
    shell.App().ExecuteCommand(ID_QUIT_MISSION);
    for (const std::string& page : pages)
        EXPECT_FALSE(std::filesystem::exists(savegame / page)) << page;
    EXPECT_EQ(shell.App().m_nAutoScrollHold, 0);
}
