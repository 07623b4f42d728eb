// The load and save dialogs of saved games and set-ups, the positioned
// message box, the please-wait window, worked through the scripted UI.

#include "DocTestSupport.h"

#include "app/LoadGameDlg.h"
#include "app/MessageBoxDlg.h"
#include "app/MissionResultsDlg.h"
#include "app/PleaseWaitDlg.h"
#include "app/SaveGameDlg.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/PageView.h"

namespace fs = std::filesystem;

namespace
{
fs::path SavegameDir(CDocShell& shell) { return fs::path(shell.App().m_strSavegameDir.GetString()); }

// The document names a scenario "demo.asc" of the data directory.
void NameScenario(CDocShell& shell)
{
    shell.Doc().SetPathName((shell.DataDir() / "demo.asc").string().c_str(), FALSE);
}

// Friendly (enemy FALSE) or enemy set-ups outside a multiplayer game.
void ChooseSetUps(CKDRApp& app, BOOL bEnemy)
{
    app.m_bEnemySideChosen = TRUE;
    app.m_bEnemySideInSession = bEnemy;
}

auto Type(const char* name)
{
    return [name](CDialog& d) { d.SetDlgItemText(IDC_SAVE_NAME, name); };
}
}  // namespace

TEST(SaveGameDialog, BadNamesAreRefusedNamingTheCharacter)
{
    CDocShell shell;
    const struct
    {
        const char* name;
        const char* character;
    } refused[] = {{"a.b", "."}, {"a/b", "/"}, {"a\\b", "\\"}, {"x?", "?"}, {"*", "*"}, {"c:d", ":"}};
    shell.Ui().ExpectDialog(IDD_SAVE_GAME, IDOK,
                            [&](CDialog& d)
                            {
                                EXPECT_EQ(d.GetWindowText(), "Save Game");
                                for (const auto& r : refused)
                                {
                                    d.SetDlgItemText(IDC_SAVE_NAME, r.name);
                                    EXPECT_TRUE(d.PressButton(IDOK));
                                    EXPECT_FALSE(d.IsModalEnded()) << r.name;
                                    EXPECT_EQ(d.GetDlgItemText(IDC_SAVE_NAME), r.name);
                                }
                                // An empty name stays too.
                                d.SetDlgItemText(IDC_SAVE_NAME, "");
                                EXPECT_TRUE(d.PressButton(IDOK));
                                EXPECT_FALSE(d.IsModalEnded());
                                d.SetDlgItemText(IDC_SAVE_NAME, "Good Game");
                            });
    for (const auto& r : refused)
        shell.Ui().ExpectMessage(
            "Error", CString("This is not a valid save name\n The character '") + r.character + "' is not allowed",
            IDOK);
    CString strName;
    ASSERT_TRUE(shell.App().ChooseSavedGame(strName, 0));
    EXPECT_EQ(strName, "Good Game.asg");
    EXPECT_EQ(shell.Ui().GetShown()[1].type, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(GetCurrentDir(), shell.App().m_strDataDir);
}

TEST(SaveGameDialog, ANameListedInAnotherCaseIsReplacedOnlyWhenConfirmed)
{
    CDocShell shell;
    WriteBytes(SavegameDir(shell) / "alpha.asg", {0});
    WriteBytes(SavegameDir(shell) / "beta.asg", {0});
    shell.Ui().ExpectDialog(IDD_SAVE_GAME, IDOK,
                            [](CDialog& d)
                            {
                                CListBox* pList = d.GetDlgControl<CListBox>(IDC_SAVED_GAME_LIST);
                                ASSERT_EQ(pList->GetCount(), 2);
                                // Picking from the list fills the name.
                                pList->ClickItem(1);
                                EXPECT_EQ(d.GetDlgItemText(IDC_SAVE_NAME), "beta");
                                d.SetDlgItemText(IDC_SAVE_NAME, "ALPHA");
                                EXPECT_TRUE(d.PressButton(IDOK));
                                EXPECT_FALSE(d.IsModalEnded());
                            });
    const CString question = "The file 'ALPHA' already exists.\nDo you want to replace it?";
    shell.Ui().ExpectMessage("Warning", question, IDNO);
    shell.Ui().ExpectMessage("Warning", question, IDYES);
    CString strName;
    ASSERT_TRUE(shell.App().ChooseSavedGame(strName, 0));
    EXPECT_EQ(strName, "ALPHA.asg");
    EXPECT_EQ(shell.Ui().GetShown()[1].type, MB_YESNO | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
}

TEST(SaveGameDialog, ASetUpFolderMadeForACancelledSaveGoesAgain)
{
    CDocShell shell;
    NameScenario(shell);
    ChooseSetUps(shell.App(), FALSE);
    const fs::path folder = SavegameDir(shell) / "demo";

    shell.Ui().ExpectDialog(IDD_SAVE_GAME, IDCANCEL, [&](CDialog&) { EXPECT_TRUE(fs::is_directory(folder)); });
    CString strName;
    EXPECT_FALSE(shell.App().ChooseSavedGame(strName, 0));
    EXPECT_FALSE(fs::exists(folder));

    // Chosen, the set-up is named within its folder, which stays.
    shell.Ui().ExpectDialog(IDD_SAVE_GAME, IDOK, Type("Line"));
    ASSERT_TRUE(shell.App().ChooseSavedGame(strName, 0));
    EXPECT_EQ(strName, "demo\\Line.set");
    EXPECT_TRUE(fs::is_directory(folder));

    // A folder that was there before is never removed.
    shell.Ui().ExpectDialog(IDD_SAVE_GAME, IDCANCEL);
    EXPECT_FALSE(shell.App().ChooseSavedGame(strName, 0));
    EXPECT_TRUE(fs::is_directory(folder));

    // Enemy set-ups in a multiplayer game as the enemy side.
    shell.App().m_bEnemySideChosen = FALSE;
    shell.App().m_bMultiplayer = TRUE;
    shell.App().m_bPlayEnemySide = TRUE;
    shell.Ui().ExpectDialog(IDD_SAVE_GAME, IDOK, Type("Screen"));
    ASSERT_TRUE(shell.App().ChooseSavedGame(strName, 0));
    EXPECT_EQ(strName, "demo\\Screen.est");
    shell.App().m_bMultiplayer = FALSE;
}

TEST(LoadGameDialog, ListsTheGamesOfItsKindAndWarnsOfMissingSetUps)
{
    CDocShell shell;
    NameScenario(shell);
    WriteBytes(SavegameDir(shell) / "b.asg", {0});
    WriteBytes(SavegameDir(shell) / "a.asg", {0});
    WriteBytes(SavegameDir(shell) / "notes.txt", {0});

    // Nothing chosen: OK does nothing.
    shell.Ui().ExpectDialog(IDD_LOAD_GAME, IDCANCEL,
                            [](CDialog& d)
                            {
                                EXPECT_TRUE(d.PressButton(IDOK));
                                EXPECT_FALSE(d.IsModalEnded());
                            });
    CString strName;
    EXPECT_FALSE(shell.App().ChooseSavedGame(strName, 1));
    shell.Ui().ExpectDialog(IDD_LOAD_GAME, IDOK,
                            [](CDialog& d)
                            {
                                CListBox* pList = d.GetDlgControl<CListBox>(IDC_SAVED_GAME_LIST);
                                ASSERT_EQ(pList->GetCount(), 2);
                                EXPECT_EQ(pList->GetText(0), "a");
                                pList->DoubleClickItem(1);
                                EXPECT_TRUE(d.IsModalEnded());
                            });
    ASSERT_TRUE(shell.App().ChooseSavedGame(strName, 1));
    EXPECT_EQ(strName, "b.asg");

    // Set-ups without a folder of the scenario are not offered.
    ChooseSetUps(shell.App(), TRUE);
    shell.Ui().ExpectMessage("Error", "There are no saved enemy setups\r\navailable for this scenario.", IDOK);
    EXPECT_FALSE(shell.App().ChooseSavedGame(strName, 1));
    ChooseSetUps(shell.App(), FALSE);
    shell.Ui().ExpectMessage("Error", "There are no saved setups\r\navailable for this scenario.", IDOK);
    EXPECT_FALSE(shell.App().ChooseSavedGame(strName, 1));

    // With the folder, its friendly set-ups are listed.
    fs::create_directories(SavegameDir(shell) / "demo");
    WriteBytes(SavegameDir(shell) / "demo" / "Ridge.set", {0});
    WriteBytes(SavegameDir(shell) / "demo" / "Other.est", {0});
    shell.Ui().ExpectDialog(IDD_LOAD_GAME, IDOK,
                            [](CDialog& d)
                            {
                                CListBox* pList = d.GetDlgControl<CListBox>(IDC_SAVED_GAME_LIST);
                                ASSERT_EQ(pList->GetCount(), 1);
                                pList->ClickItem(0);
                            });
    ASSERT_TRUE(shell.App().ChooseSavedGame(strName, 1));
    EXPECT_EQ(strName, "demo\\Ridge.set");
    EXPECT_EQ(GetCurrentDir(), shell.App().m_strDataDir);
}

TEST(MessageBoxDialog, StaysOnTheScreenNearItsEdgesAndClearsItsHolder)
{
    CDocShell shell;
    CWnd* pOwner = shell.App().m_pMainWnd;
    CPoint origin(0, 0);
    pOwner->ClientToScreen(&origin);
    const int nScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int nScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    const struct
    {
        const char* what;
        int x, y;  // screen points
    } places[] = {{"near the right and bottom edges", nScreenWidth - 5, nScreenHeight - 5},
                  {"in the open", 40, 40},
                  {"without a point", kUnset, kUnset}};
    for (const auto& place : places)
    {
        CMessageBoxDlg* pHolder = nullptr;
        auto* pBox = new CMessageBoxDlg(pOwner, &pHolder);
        pHolder = pBox;
        pBox->m_strCaption = "Holes Received";
        pBox->m_strText = "A message";
        pBox->m_nX = place.x == kUnset ? kUnset : place.x - origin.x;
        pBox->m_nY = place.y == kUnset ? kUnset : place.y - origin.y;
        ASSERT_TRUE(pBox->CreateBox()) << place.what;
        EXPECT_TRUE(pBox->CreateBox()) << place.what;  // a second create does nothing
        EXPECT_EQ(shell.App().m_nAutoScrollHold, 1) << place.what;
        EXPECT_EQ(pBox->GetWindowText(), "Holes Received");
        EXPECT_EQ(pBox->GetDlgItemText(IDC_MESSAGE_BOX_TEXT), "A message");
        CRect rc;
        pBox->GetWindowRect(&rc);
        EXPECT_GE(rc.left, 0) << place.what;
        EXPECT_GE(rc.top, 0) << place.what;
        EXPECT_LE(rc.right, nScreenWidth) << place.what;
        EXPECT_LE(rc.bottom, nScreenHeight) << place.what;
        if (place.x == 40 && origin.x >= 0 && origin.y >= 0)
        {
            EXPECT_EQ(rc.left, 40);
            EXPECT_EQ(rc.top, 40);
        }
        EXPECT_TRUE(pBox->PressButton(IDOK));
        CWnd::FlushDeferredDeletes();
        EXPECT_EQ(pHolder, nullptr) << place.what;
        EXPECT_EQ(shell.App().m_nAutoScrollHold, 0) << place.what;
    }
}

TEST(PleaseWaitDialog, ShowsItsReasonAndCanBeCancelled)
{
    CDocShell shell;
    CPleaseWaitDlg wait(shell.App().m_pMainWnd);
    ASSERT_TRUE(wait.IsWindow());
    EXPECT_EQ(wait.GetDlgItemText(IDC_PLEASE_WAIT_REASON), "Please Wait...");
    wait.SetReason("Loading the map");
    EXPECT_EQ(wait.GetDlgItemText(IDC_PLEASE_WAIT_REASON), "Loading the map");
    EXPECT_FALSE(wait.IsCancelled());
    EXPECT_TRUE(wait.PressButton(IDCANCEL));
    CWnd::FlushDeferredDeletes();
    EXPECT_TRUE(wait.IsCancelled());
}

TEST(MissionResultsDialog, ShowsTheResultsPageOfTheSavedGameDirectory)
{
    CDocShell shell;
    const std::string page = "<html><head><title>results</title></head><body>Victory</body></html>";
    WriteBytes(SavegameDir(shell) / "results.htm", std::vector<BYTE>(page.begin(), page.end()));
    CMissionResultsDlg dialog(shell.App().m_strSavegameDir, shell.App().m_strDataDir, shell.App().m_pMainWnd);
    shell.Ui().ExpectDialog(IDD_MISSION_RESULTS, IDOK,
                            [](CDialog& d)
                            {
                                auto& results = dynamic_cast<CMissionResultsDlg&>(d);
                                ASSERT_NE(results.GetBrowser(), nullptr);
                                EXPECT_EQ(results.GetBrowser()->GetLocationName(), "results.htm");
                                EXPECT_EQ(d.GetWindowText(), "results");
                                EXPECT_FALSE(d.GetDlgItem(IDC_RESULTS_BACK)->IsWindowEnabled());
                                EXPECT_FALSE(d.GetDlgItem(IDC_RESULTS_FORWARD)->IsWindowEnabled());
                            });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(GetCurrentDir(), shell.App().m_strDataDir);
}
