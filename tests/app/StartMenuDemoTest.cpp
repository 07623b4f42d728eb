// The demo mission that the build writes: the start menu lists it with its
// description and opens it.

#include "DocTestSupport.h"

#include "app/MissionSelectDlg.h"
#include "app/StartMenuDlg.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "orders/FormationTemplateArray.h"
#include "orders/UnitOrderArray.h"
#include "units/KDRUnits.h"

#include <cstdlib>

TEST(StartMenuDemo, NewMissionListsTheDemoMissionAndOpensIt)
{
    const std::filesystem::path tool = std::filesystem::path(KDR_BINARY_DIR) / "kdrdemo";
    if (!std::filesystem::exists(tool))
        GTEST_SKIP() << "the demo writer is not built";
    CDocShell shell;
    const std::string command = "\"" + tool.string() + "\" \"" + shell.StartDir().string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);

    shell.Ui().ExpectDialog(IDD_START_MENU, IDCANCEL,
                            [](CDialog& dialog) { dialog.PressButton(IDC_START_NEW_MISSION); });
    shell.Ui().ExpectDialog(IDD_MISSION_SELECT, IDOK,
                            [](CDialog& d)
                            {
                                auto& dialog = dynamic_cast<CMissionSelectDlg&>(d);
                                CListBox* pList = dialog.GetDlgControl<CListBox>(IDC_MISSION_LIST);
                                ASSERT_EQ(pList->GetCount(), 1);
                                EXPECT_EQ(pList->GetText(0), "Crossing at Kedravin");
                                pList->ClickItem(0);
                                const CString description = dialog.GetDlgItem(IDC_MISSION_DESCRIPTION)->GetWindowText();
                                EXPECT_NE(description.Find("river crossing"), -1) << description.GetString();
                            });

    ASSERT_EQ(RunStartMenu(shell.App()), 1);
    EXPECT_TRUE(shell.App().m_bDocumentOpened);
    EXPECT_EQ(shell.Doc().GetTitle(), "Crossing at Kedravin");
    EXPECT_TRUE(shell.App().IsDeploymentPhase());
    // The game map names the demo ground, which reads back as an elevation map.
    ASSERT_TRUE(shell.Doc().IsPresent(KDR_GAME_MAP));
    const CString elevation = shell.Doc().GetGameMap()->m_strElevation;
    CElevationMap map;
    CString errorText;
    EXPECT_TRUE(LoadObjectFromFile(JoinPath(shell.App().m_strDataDir, elevation), map, errorText))
        << errorText.GetString();

    // The units part names the demo's formation templates and standing
    // orders, which load with it.
    ASSERT_TRUE(shell.Doc().IsPresent(KDR_UNITS));
    const CKDRUnits* pUnits = shell.Doc().GetUnits();
    ASSERT_NE(pUnits->m_pFormations, nullptr);
    EXPECT_EQ(pUnits->m_pFormations->GetSize(), 6);
    ASSERT_NE(pUnits->m_pSOP, nullptr);
    EXPECT_TRUE(pUnits->m_pSOP->HasAIOrderNamed("Seize the Crossing"));

    // The About box's two links are in "link.txt" beside "Data".
    shell.App().ReadLinkFile();
    EXPECT_FALSE(shell.App().m_strAboutTextLink.IsEmpty());
    EXPECT_FALSE(shell.App().m_strAboutIconLink.IsEmpty());
}
