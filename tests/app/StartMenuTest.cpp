// The start menu, the mission selection and the About box, driven through
// the scripted UI service on real (offscreen) dialogs.

#include "DocTestSupport.h"

#include "app/AboutDlg.h"
#include "app/KDRMissions.h"
#include "app/MissionSelectDlg.h"
#include "app/LoadGameDlg.h"
#include "app/StartMenuDlg.h"
#include "mission/Mission.h"
#include "platform/ui/Command.h"

#include <sys/stat.h>

namespace
{
constexpr unsigned long kStart = 1010586600;

// A scenario holding only its missions part, naming one mission file.
CScenarioBytes ScenarioWithMission(const char* missionFile)
{
    CScenarioBytes b = ScenarioHeader({0, 0, 0, 0, 0, 0, 0, 1}, kStart);
    b.Append(MissionsPartNaming(missionFile));
    return b;
}

void WriteExecutable(const std::filesystem::path& path)
{
    std::FILE* f = std::fopen(path.string().c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("#!/bin/sh\nexit 0\n", f);
    std::fclose(f);
    chmod(path.string().c_str(), 0755);
}

// The data directory of the mission-list tests: two readable scenarios,
// one whose file is not a scenario, one without missions, and two whose
// missions share a name.
void WriteMissionList(CDocShell& shell)
{
    shell.WriteData("alpha.asc", ScenarioWithMission("alpha.msn"));
    shell.WriteData("alpha.msn", MissionFileBytes("Operation Alpha", "Take the hill."));
    shell.WriteData("broken.asc", CScenarioBytes().Word(1).Word(2));
    shell.WriteData("nomission.asc", ScenarioHeader({0, 0, 0, 0, 0, 0, 0, 0}, kStart));
    shell.WriteData("twin1.asc", ScenarioWithMission("twin1.msn"));
    shell.WriteData("twin1.msn", MissionFileBytes("Twins", "The first."));
    shell.WriteData("twin2.asc", ScenarioWithMission("twin2.msn"));
    shell.WriteData("twin2.msn", MissionFileBytes("Twins", "The second."));
    shell.WriteData("notes.txt", CScenarioBytes().Str("not a scenario"));
}

CListBox* MissionList(CDialog& dialog) { return dialog.GetDlgControl<CListBox>(IDC_MISSION_LIST); }
}  // namespace

TEST(StartMenuMissionSelect, ListsEveryScenarioWithItsMissionNameAndDescription)
{
    CDocShell shell;
    WriteMissionList(shell);
    bool inspected = false;
    shell.Ui().ExpectDialog(
        IDD_MISSION_SELECT, IDOK,
        [&](CDialog& d)
        {
            auto& dialog = dynamic_cast<CMissionSelectDlg&>(d);
            const char* const names[] = {"Operation Alpha", "broken.asc", "nomission.asc", "Twins", "Twins"};
            const char* const texts[] = {"Take the hill.", "No description Available.", "No description Available.",
                                         "The first.", "The second."};
            const char* const files[] = {"alpha.asc", "broken.asc", "nomission.asc", "twin1.asc", "twin2.asc"};
            ASSERT_EQ(dialog.m_astrFileNames.GetSize(), 5);
            CListBox* pList = MissionList(dialog);
            ASSERT_NE(pList, nullptr);
            ASSERT_EQ(pList->GetCount(), 5);
            for (int i = 0; i < 5; ++i)
            {
                EXPECT_EQ(dialog.m_astrFileNames[i], files[i]);
                EXPECT_EQ(dialog.m_astrMissionNames[i], names[i]);
                EXPECT_EQ(dialog.m_astrDescriptions[i], texts[i]);
                EXPECT_EQ(pList->GetText(i), names[i]);
            }

            pList->ClickItem(0);
            EXPECT_EQ(dialog.GetDlgItem(IDC_MISSION_NAME)->GetWindowText(), "Operation Alpha");
            EXPECT_EQ(dialog.GetDlgItem(IDC_MISSION_DESCRIPTION)->GetWindowText(), "Take the hill.");
            pList->ClickItem(1);
            EXPECT_EQ(dialog.GetDlgItem(IDC_MISSION_DESCRIPTION)->GetWindowText(), "No description Available.");
            // The second "Twins" shows and chooses the first scenario of that name.
            pList->ClickItem(4);
            EXPECT_EQ(dialog.m_strFileName, "twin1.asc");
            EXPECT_EQ(dialog.GetDlgItem(IDC_MISSION_DESCRIPTION)->GetWindowText(), "The first.");
            inspected = true;
        });

    CString strFile;
    EXPECT_TRUE(RunMissionSelect(shell.App().m_strDataDir, nullptr, strFile));
    EXPECT_TRUE(inspected);
    EXPECT_EQ(strFile, "twin1.asc");
}

TEST(StartMenuMissionSelect, EmptyDirectoryGivesAnEmptyListAndOkDoesNothing)
{
    CDocShell shell;
    shell.Ui().ExpectDialog(IDD_MISSION_SELECT, IDCANCEL,
                            [&](CDialog& dialog)
                            {
                                ASSERT_EQ(MissionList(dialog)->GetCount(), 0);
                                dialog.PressButton(IDOK);
                                EXPECT_FALSE(dialog.IsModalEnded());
                            });
    CString strFile("unchanged");
    EXPECT_FALSE(RunMissionSelect(shell.App().m_strDataDir, nullptr, strFile));
    EXPECT_EQ(strFile, "unchanged");
}

TEST(StartMenuMissionSelect, DoubleClickChoosesLikeOk)
{
    CDocShell shell;
    WriteMissionList(shell);
    shell.Ui().ExpectDialog(IDD_MISSION_SELECT, IDCANCEL,
                            [&](CDialog& dialog)
                            {
                                MissionList(dialog)->DoubleClickItem(0);
                                EXPECT_TRUE(dialog.IsModalEnded());
                            });
    CString strFile;
    EXPECT_TRUE(RunMissionSelect(shell.App().m_strDataDir, nullptr, strFile));
    EXPECT_EQ(strFile, "alpha.asc");
}

TEST(StartMenu, NewMissionListsTheScenariosAndOpensTheChosenOne)
{
    CDocShell shell;
    WriteMissionList(shell);
    shell.Ui().ExpectDialog(IDD_START_MENU, IDCANCEL,
                            [](CDialog& dialog) { dialog.PressButton(IDC_START_NEW_MISSION); });
    shell.Ui().ExpectDialog(IDD_MISSION_SELECT, IDOK, [](CDialog& dialog) { MissionList(dialog)->ClickItem(0); });

    EXPECT_EQ(RunStartMenu(shell.App()), 1);
    EXPECT_TRUE(shell.App().m_bDocumentOpened);
    EXPECT_FALSE(shell.App().m_bMultiplayer);
    CKDRDoc& doc = shell.Doc();
    ASSERT_TRUE(doc.IsPresent(KDR_MISSIONS));
    EXPECT_EQ(doc.GetMissions()->GetMainMissionName(), "Operation Alpha");
    EXPECT_EQ(doc.GetTitle(), "Operation Alpha");
    EXPECT_TRUE(shell.App().IsDeploymentPhase());
}

TEST(StartMenu, OnlyExitLeavesWithoutAMission)
{
    CDocShell shell;
    WriteMissionList(shell);
    // A scenario whose units have no database: it is listed but fails to open.
    CScenarioBytes noDatabase = ScenarioHeader({1, 0, 1, 0, 0, 0, 0, 0}, kStart);
    noDatabase.Word(1).Word(1).Word(1);
    for (int i = 0; i < 7; ++i)
        noDatabase.Str("");
    noDatabase.Word(0).Word(0).Word(0);
    for (int i = 0; i < 7; ++i)
        noDatabase.Str("");
    shell.WriteData("nodb.asc", noDatabase);
    // Closing the menu shows it again; a saved mission that is not chosen,
    // a multiplayer set-up given up and a scenario that fails to open all
    // come back to it.
    shell.Ui().ExpectDialog(IDD_START_MENU, IDCANCEL);
    shell.Ui().ExpectDialog(IDD_START_MENU, IDCANCEL,
                            [](CDialog& dialog) { dialog.PressButton(IDC_START_LOAD_MISSION); });
    shell.Ui().ExpectDialog(IDD_LOAD_GAME, IDCANCEL);
    shell.Ui().ExpectDialog(IDD_START_MENU, IDCANCEL,
                            [](CDialog& dialog) { dialog.PressButton(IDC_START_MULTIPLAYER); });
    shell.Ui().ExpectDialog(IDD_START_MENU, IDCANCEL,
                            [](CDialog& dialog) { dialog.PressButton(IDC_START_NEW_MISSION); });
    shell.Ui().ExpectDialog(IDD_MISSION_SELECT, IDOK,
                            [](CDialog& dialog)
                            {
                                ASSERT_EQ(MissionList(dialog)->GetText(2), "nodb.asc");
                                MissionList(dialog)->ClickItem(2);
                            });
    shell.Ui().ExpectDialog(IDD_START_MENU, IDCANCEL,
                            [](CDialog& dialog) { dialog.PressButton(IDC_START_NEW_MISSION); });
    shell.Ui().ExpectDialog(IDD_MISSION_SELECT, IDCANCEL);
    shell.Ui().ExpectDialog(IDD_START_MENU, IDCANCEL, [](CDialog& dialog) { dialog.PressButton(IDC_START_EXIT); });

    EXPECT_EQ(RunStartMenu(shell.App()), 0);
    EXPECT_FALSE(shell.App().m_bDocumentOpened);
    EXPECT_FALSE(shell.Doc().IsPresent(KDR_MISSIONS));
    EXPECT_EQ(shell.App().m_pSession, nullptr);
}

TEST(StartMenu, ScenarioBuilderThatIsNotInstalledLeavesTheMenuUp)
{
    CDocShell shell;
    int quits = 0;
    shell.App().MapCommand(ID_APP_EXIT, [&] { ++quits; });
    shell.Ui().ExpectDialog(IDD_START_MENU, IDCANCEL,
                            [](CDialog& dialog)
                            {
                                dialog.PressButton(IDC_START_BUILDER);
                                EXPECT_FALSE(dialog.IsModalEnded());
                                dialog.PressButton(IDC_START_EXIT);
                            });
    EXPECT_EQ(RunStartMenu(shell.App()), 0);
    EXPECT_EQ(quits, 0);
    // The failure is silent: no prompt beyond the menu itself.
    EXPECT_EQ(shell.Ui().GetShown().size(), 1u);
}

TEST(StartMenu, InstalledScenarioBuilderIsStartedAndTheMissionQuit)
{
    CDocShell shell;
    WriteExecutable(shell.DataDir() / "kdrbuild");
    int quits = 0;
    shell.App().MapCommand(ID_APP_EXIT, [&] { ++quits; });
    shell.Ui().ExpectDialog(IDD_START_MENU, IDCANCEL,
                            [](CDialog& dialog)
                            {
                                dialog.PressButton(IDC_START_BUILDER);
                                EXPECT_FALSE(dialog.IsModalEnded());
                                dialog.PressButton(IDC_START_EXIT);
                            });
    EXPECT_EQ(RunStartMenu(shell.App()), 0);
    EXPECT_EQ(quits, 1);
}

TEST(StartMenuAbout, LinksComeFromTheApplicationAndAnEmptyOneOpensItsOwnText)
{
    CDocShell shell;
    WriteExecutable(shell.StartDir() / "homepage");
    shell.App().m_strAboutIconLink = (shell.StartDir() / "homepage").string().c_str();
    shell.App().m_strAboutTextLink = "";
    bool inspected = false;
    shell.Ui().ExpectDialog(IDD_ABOUTBOX, IDOK,
                            [&](CDialog& d)
                            {
                                auto& about = dynamic_cast<CAboutDlg&>(d);
                                EXPECT_EQ(about.m_iconLink.m_strLink, shell.App().m_strAboutIconLink);
                                EXPECT_FALSE(about.m_iconLink.m_bVisited);
                                about.m_iconLink.Click();
                                EXPECT_TRUE(about.m_iconLink.m_bVisited);
                                EXPECT_EQ(shell.Ui().GetBeepCount(), 0);

                                // No address: the control's own text is opened, which no program
                                // opens here, so the link beeps and stays unvisited.
                                about.m_textLink.Click();
                                EXPECT_EQ(about.m_textLink.m_strLink, about.m_textLink.GetWindowText());
                                EXPECT_FALSE(about.m_textLink.m_bVisited);
                                EXPECT_EQ(shell.Ui().GetBeepCount(), 1);
                                inspected = true;
                            });
    ShowAboutBox();
    EXPECT_TRUE(inspected);
}

TEST(StartMenuAbout, HelpAboutCommandShowsTheBox)
{
    CDocShell shell;
    shell.Ui().ExpectDialog(IDD_ABOUTBOX, IDOK);
    EXPECT_TRUE(shell.App().ExecuteCommand(ID_APP_ABOUT));
    EXPECT_EQ(shell.Ui().GetShown().size(), 1u);
}
