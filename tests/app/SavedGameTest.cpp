// Saved games: the archive laid out by hand, the demo mission saved and
// opened again, saved games cut short or missing, a save that fails, and
// the ways the player saves and reopens a game.

#include "DocTestSupport.h"
#include "SeededPasses.h"

#include "app/GameClock.h"
#include "app/LoadGameDlg.h"
#include "app/SaveGameDlg.h"
#include "app/StartMenuDlg.h"
#include "battlefield/FireMissionArray.h"
#include "battlefield/Hole.h"
#include "battlefield/HoleArray.h"
#include "battlefield/KDREnvironment.h"
#include "battlefield/KDRHoles.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/Obstacle.h"
#include "battlefield/ObstacleArray.h"
#include "battlefield/SmokeArray.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"
#include "../../tools/demo_fire.h"

#include <QLineEdit>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
// The demo written into the shell's start directory; FALSE when the demo
// writer is not built.
bool WriteDemo(CDocShell& shell)
{
    const fs::path tool = fs::path(KDR_BINARY_DIR) / "kdrdemo";
    if (!fs::exists(tool))
        return false;
    const std::string command = "\"" + tool.string() + "\" \"" + shell.StartDir().string() + "\" >/dev/null";
    return std::system(command.c_str()) == 0;
}

fs::path SavegameDir(CDocShell& shell) { return fs::path(shell.App().m_strSavegameDir.GetString()); }

int* Block(std::initializer_list<int> values)
{
    int* pBlock = new int[values.size() * 2]();
    int i = 0;
    for (int v : values)
        pBlock[i++] = v;
    return pBlock;
}

// Gives the document force counts of its own, as if counted.
void SetCounts(CKDRDoc& doc, std::initializer_list<int> own, std::initializer_list<int> opposing)
{
    delete[] doc.m_pOwnCounts;
    delete[] doc.m_pOpposingCounts;
    delete[] doc.m_pThirdCounts;
    doc.m_pOwnCounts = Block(own);
    doc.m_pOpposingCounts = Block(opposing);
    doc.m_pThirdCounts = nullptr;
    doc.m_bOwnCounts = 1;
    doc.m_bOpposingCounts = 1;
    doc.m_bThirdCounts = 0;
    doc.m_nVehicleTypeCount = static_cast<int>(own.size());
}

std::vector<BYTE> SaveToBytes(CKDRDoc& doc)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    doc.SerializeSavedGame(ar);
    ar.Close();
    return file.GetData();
}

void LoadFromBytes(CKDRDoc& doc, const std::vector<BYTE>& bytes)
{
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    doc.SerializeSavedGame(ar);
}

// A saved game without components: its header, laid out by hand.
CScenarioBytes SmallSavedGame(const char* scenario, unsigned nTypes)
{
    CScenarioBytes b;
    b.Word(0).Word(0);  // no smoke, no fire missions
    b.Str(scenario);
    b.Word(0).Word(0).Word(0).Word(0);
    b.Str("Alt.unt").Str("").Str("").Str("Alt.fho").Str("").Str("");
    b.Word(40000).Word(3).Word(0).Word(0).Word(7).Word(0xFFFF);  // own, third, opposing
    b.DWord(600);
    b.Word(1).Word(1).Word(0);  // own and opposing counts
    b.Word(nTypes);
    return b;
}

// What a saved game must bring back of every unit: where it stands, where
// it heads, whether it lives and which dug position it holds.
struct UnitState
{
    std::string name;
    float x, y, heading;
    BOOL bDestroyed, bDugIn;
    int nDugPosition;
    bool operator==(const UnitState&) const = default;
};

void PrintTo(const UnitState& u, std::ostream* os)
{
    *os << u.name << " (" << u.x << ", " << u.y << ") heading " << u.heading << (u.bDestroyed ? " destroyed" : "")
        << (u.bDugIn ? " dug in " + std::to_string(u.nDugPosition) : std::string());
}

std::vector<UnitState> UnitStates(CKDRDoc& doc)
{
    std::vector<UnitState> states;
    for (int nKind : {0, 1})
        for (int i = 0; CUnit* pUnit = doc.GetUnits()->GetUnit(i, 0, nKind); ++i)
            states.push_back({pUnit->m_strName.GetString(), pUnit->m_fX, pUnit->m_fY, pUnit->m_fHeading,
                              pUnit->m_bDestroyed, pUnit->m_bDugIn, pUnit->m_nDugPosition});
    return states;
}

}  // namespace

TEST(SavedGame, ASmallSavedGamesBytesAreThoseOfItsLayout)
{
    CDocShell shell;
    CKDRDoc& doc = shell.Doc();
    doc.SetPathName((shell.DataDir() / "tiny.asc").string().c_str(), FALSE);
    doc.m_strVariantUnits1 = "Alt.unt";
    doc.m_strVariantHoles2 = "Alt.fho";
    doc.m_nOwnTotalA = 40000;
    doc.m_nOwnTotalB = 3;
    doc.m_nOpposingTotalA = 7;
    doc.m_nOpposingTotalB = -1;
    doc.m_tsElapsed = CTimeSpan(600);
    SetCounts(doc, {5, -1}, {2, 40000});

    CScenarioBytes expected = SmallSavedGame("tiny.asc", 2);
    expected.Word(5).Word(0xFFFF).Word(2).Word(40000);
    EXPECT_EQ(SaveToBytes(doc), expected.Get());

    // Read back: a bare scenario name is the data directory's, and the
    // words come back sign-extended.
    CDocShell other;
    CKDRDoc& read = other.Doc();
    LoadFromBytes(read, expected.Get());
    EXPECT_EQ(read.GetPathName(), other.App().m_strDataDir + "\\tiny.asc");
    EXPECT_EQ(read.m_nOwnTotalA, -25536);
    EXPECT_EQ(read.m_nOpposingTotalB, -1);
    EXPECT_EQ(read.m_tsElapsed.GetTotalSeconds(), 600);
    EXPECT_EQ(read.m_strVariantHoles2, "Alt.fho");
    ASSERT_TRUE(read.m_bOwnCounts && read.m_bOpposingCounts);
    EXPECT_FALSE(read.m_bThirdCounts);
    EXPECT_EQ(read.m_nVehicleTypeCount, 2);
    EXPECT_EQ(read.m_pOwnCounts[1], -1);
    EXPECT_EQ(read.m_pOpposingCounts[1], -25536);
    EXPECT_EQ(read.m_pOpposingCounts[3], 0);

    // A name with a directory in it stands as it is.
    CScenarioBytes elsewhere = SmallSavedGame("/elsewhere/x.asc", 0);
    LoadFromBytes(read, elsewhere.Get());
    EXPECT_EQ(read.GetPathName(), "/elsewhere/x.asc");
    EXPECT_EQ(read.m_nVehicleTypeCount, 0);

    // A negative type count, or one the file has no room for, is refused.
    for (unsigned nTypes : {0xFFFFu, 30000u})
    {
        CScenarioBytes bad = SmallSavedGame("tiny.asc", nTypes);
        bad.Word(1).Word(2);
        EXPECT_THROW(LoadFromBytes(read, bad.Get()), CArchiveException) << nTypes;
    }
}

TEST(SavedGame, TheDemoSavedInPlayReopensAndSavesAgainToTheSameBytes)
{
    CDocShell shell;
    if (!WriteDemo(shell))
        GTEST_SKIP() << "the demo writer is not built";
    ASSERT_TRUE(shell.Open("demo.asc"));
    CKDRDoc& doc = shell.Doc();
    ASSERT_NE(doc.GetHoles(), nullptr);
    ASSERT_NE(doc.GetObstacles(), nullptr);
    ASSERT_NE(doc.GetEnvironment(), nullptr);
    ASSERT_EQ(doc.MoveHole(0, 0, 900.0f, 1700.0f), 1);
    ASSERT_EQ(doc.MoveObstacle(1, 0, 1700.0f, 1100.0f), 1);
    // Ten minutes of battle: the advancing tanks drove off, the covering
    // ones took the positions they stand on (the first was moved away from
    // under its tank), and the forces fought.
    const std::vector<UnitState> before = UnitStates(doc);
    RunSeededPasses(shell.App(), doc, 2903, 4.0f, 150, 1000);
    ASSERT_EQ(shell.App().GetGameClock()->m_tsElapsed.GetTotalSeconds(), 600);
    const std::vector<UnitState> played = UnitStates(doc);
    ASSERT_NE(played, before);
    int nDugIn = 0;
    for (const UnitState& unit : played)
        nDugIn += unit.bDugIn ? 1 : 0;
    EXPECT_EQ(nDugIn, 3);
    const float fLight = doc.GetEnvironment()->GetLightFactor();
    doc.m_nOwnTotalA = 40000;
    SetCounts(doc, {1, 2, 3}, {4, 5, 6});
    doc.SetModifiedFlag(TRUE);

    ASSERT_TRUE(doc.OnSaveDocument("round.asg"));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(fs::exists(SavegameDir(shell) / "round.asg.part"));
    const std::vector<BYTE> first = ReadBytes(SavegameDir(shell) / "round.asg");
    ASSERT_FALSE(first.empty());

    // Opened again, the mission stands where it was saved.
    ASSERT_TRUE(doc.OpenSavedGame("round.asg"));
    EXPECT_TRUE(doc.m_bOpenedFromSavedGame);
    EXPECT_EQ(doc.GetTitle(), "Crossing at Kedravin");
    EXPECT_EQ(shell.App().GetGameClock()->m_tsElapsed.GetTotalSeconds(), 600);
    EXPECT_FALSE(shell.App().IsDeploymentPhase());
    ASSERT_NE(doc.GetGameMap(), nullptr);
    ASSERT_NE(doc.GetDatabase(), nullptr);
    ASSERT_NE(doc.GetMissions(), nullptr);
    const CHole* pHole = doc.GetHoles()->GetHole(0, 0);
    ASSERT_NE(pHole, nullptr);
    EXPECT_EQ(pHole->m_fX, 900.0f);
    EXPECT_EQ(doc.GetHoles()->GetSideArray(0)->GetSize(), 6);
    const CObstacle* pWire = doc.GetObstacles()->GetObstacle(1, 0);
    ASSERT_NE(pWire, nullptr);
    EXPECT_EQ(pWire->m_fY, 1100.0f);
    EXPECT_EQ(doc.m_nOwnTotalA, -25536);
    ASSERT_TRUE(doc.m_bOpposingCounts);
    EXPECT_EQ(doc.m_pOpposingCounts[2], 6);
    EXPECT_NE(doc.GetSmoke(), nullptr);
    EXPECT_NE(doc.GetFireMissions(), nullptr);
    EXPECT_EQ(UnitStates(doc), played);
    for (int i = 1; i < 4; ++i)
        EXPECT_TRUE(doc.GetHoles()->GetHole(i, 0)->m_bOccupied) << i;
    EXPECT_FALSE(pHole->m_bOccupied);
    EXPECT_EQ(doc.GetEnvironment()->GetLightFactor(), fLight);

    ASSERT_TRUE(doc.OnSaveDocument("again.asg"));
    EXPECT_EQ(ReadBytes(SavegameDir(shell) / "again.asg"), first);
}

TEST(SavedGame, ADeploymentSaveReopensInDeploymentWithItsCountsTakenAgain)
{
    CDocShell shell;
    if (!WriteDemo(shell))
        GTEST_SKIP() << "the demo writer is not built";
    ASSERT_TRUE(shell.Open("demo.asc"));
    CKDRDoc& doc = shell.Doc();
    SetCounts(doc, {9, 9, 9}, {4, 5, 6});
    ASSERT_TRUE(doc.OnSaveDocument("deploy.asg"));
    ASSERT_TRUE(doc.OpenSavedGame("deploy.asg"));
    EXPECT_TRUE(shell.App().IsDeploymentPhase());
    // The opposing side's counts stay as saved; the own side's are taken
    // again from the units as they stand.
    ASSERT_TRUE(doc.m_bOpposingCounts);
    EXPECT_EQ(doc.m_pOpposingCounts[0], 4);
    int nA = 0, nB = 0;
    int* pRecount = nullptr;
    const int bCounted = doc.GetUnits()->CountUnits(1, doc.GetDatabase(), nA, nB, pRecount);
    EXPECT_EQ(doc.m_bOwnCounts, bCounted);
    if (bCounted && doc.m_pOwnCounts != nullptr)
    {
        EXPECT_EQ(doc.m_pOwnCounts[0], pRecount[0]);
    }
    delete[] pRecount;
}

TEST(SavedGame, ASavedGameCutShortLeavesAnEmptyDocumentAndAMissingOneNothing)
{
    CDocShell shell;
    if (!WriteDemo(shell))
        GTEST_SKIP() << "the demo writer is not built";
    ASSERT_TRUE(shell.Open("demo.asc"));
    CKDRDoc& doc = shell.Doc();
    ASSERT_TRUE(doc.OnSaveDocument("whole.asg"));
    const std::vector<BYTE> whole = ReadBytes(SavegameDir(shell) / "whole.asg");

    // A file that is not there: 0 and the mission as it was.
    const CString strTitle = doc.GetTitle();
    const CString strPath = doc.GetPathName();
    EXPECT_FALSE(doc.OpenSavedGame("none.asg"));
    EXPECT_NE(doc.GetGameMap(), nullptr);
    EXPECT_EQ(doc.GetTitle(), strTitle);
    EXPECT_EQ(doc.GetPathName(), strPath);

    shell.CollectUnscripted();
    for (size_t cut : {size_t{1}, size_t{12}, whole.size() / 2, whole.size() - 1})
    {
        WriteBytes(SavegameDir(shell) / "cut.asg", std::vector<BYTE>(whole.begin(), whole.begin() + cut));
        EXPECT_FALSE(doc.OpenSavedGame("cut.asg")) << cut;
        ASSERT_FALSE(shell.Ui().GetShown().empty());
        const auto& shown = shell.Ui().GetShown().back();
        EXPECT_EQ(shown.caption, "Error") << cut;
        EXPECT_EQ(shown.text.Find("The saved game, cut.asg, could not be read."), 0) << shown.text.GetString();
        EXPECT_EQ(doc.GetGameMap(), nullptr) << cut;
        EXPECT_EQ(doc.GetUnits(), nullptr) << cut;
        EXPECT_EQ(doc.GetHoles(), nullptr) << cut;
        EXPECT_TRUE(doc.GetPathName().IsEmpty()) << cut;
        EXPECT_NE(doc.GetSmoke(), nullptr) << cut;
    }
}

TEST(SavedGame, AFailedSaveSaysSoAndKeepsTheGameSavedBefore)
{
    CDocShell shell;
    const fs::path dir = SavegameDir(shell);
    WriteBytes(dir / "kept.asg", {1, 2, 3});
    fs::create_directories(dir / "kept.asg.part");  // the new file cannot be made
    shell.CollectUnscripted();
    EXPECT_FALSE(shell.Doc().OnSaveDocument("kept.asg"));
    ASSERT_FALSE(shell.Ui().GetShown().empty());
    const auto& shown = shell.Ui().GetShown().back();
    EXPECT_EQ(shown.caption, "Error");
    EXPECT_EQ(shown.type, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(shown.text.Find("The game could not be saved.\n"), 0) << shown.text.GetString();
    EXPECT_EQ(ReadBytes(dir / "kept.asg"), (std::vector<BYTE>{1, 2, 3}));
}

// Save names are the game's code-page text and UTF-8 on disk; a name with a
// character the code page lacks is refused with that character shown.
TEST(SavedGame, AnAccentedSaveNameIsAUtf8FileAndAGreekOneIsRefusedByItsLetter)
{
    CDocShell shell;
    if (!WriteDemo(shell))
        GTEST_SKIP() << "the demo writer is not built";
    // Only this test's saves in the directory: the demo brings one of its own.
    for (const fs::directory_entry& entry : fs::directory_iterator(SavegameDir(shell)))
        fs::remove(entry.path());
    ASSERT_TRUE(shell.Open("demo.asc"));
    shell.App().GetGameClock()->m_tsElapsed = CTimeSpan(75);
    shell.Ui().ExpectDialog(IDD_SAVE_GAME, IDOK,
                            [](CDialog& d)
                            {
                                auto* pLine = qobject_cast<QLineEdit*>(d.GetDlgItem(IDC_SAVE_NAME)->GetWidget());
                                ASSERT_NE(pLine, nullptr);
                                pLine->setText(QString::fromUtf8("\xCE\xA9mega"));  // Omega
                                EXPECT_TRUE(d.PressButton(IDOK));
                                EXPECT_FALSE(d.IsModalEnded());
                                d.SetDlgItemText(IDC_SAVE_NAME, "caf\xE9");
                            });
    shell.Ui().ExpectMessage("Error", "This is not a valid save name\n The character '\xCE\xA9' is not allowed", IDOK);
    EXPECT_TRUE(shell.Doc().DoSave(nullptr, TRUE));
    EXPECT_EQ(shell.Ui().GetShown()[1].type, MB_OK | MB_ICONSTOP | MB_TEXT_UTF8);
    std::vector<std::string> onDisk;
    for (const fs::directory_entry& entry : fs::directory_iterator(SavegameDir(shell)))
        if (entry.path().extension() == ".asg" && entry.path().filename() != demo_fire::SAVED_GAME)
            onDisk.push_back(entry.path().filename().string());
    EXPECT_EQ(onDisk, std::vector<std::string>{"caf\xC3\xA9.asg"}) << "beside the demo's own saved game";

    shell.App().GetGameClock()->m_tsElapsed = CTimeSpan(0);
    shell.Ui().ExpectDialog(IDD_START_MENU, IDCANCEL, [](CDialog& d) { d.PressButton(IDC_START_LOAD_MISSION); });
    shell.Ui().ExpectDialog(IDD_LOAD_GAME, IDOK,
                            [](CDialog& d)
                            {
                                CListBox* pList = d.GetDlgControl<CListBox>(IDC_SAVED_GAME_LIST);
                                int nCafe = -1;
                                for (int i = 0; i < pList->GetCount(); ++i)
                                    nCafe = pList->GetText(i) == "caf\xE9" ? i : nCafe;
                                ASSERT_GE(nCafe, 0) << "listed under its code-page name";
                                pList->ClickItem(nCafe);
                            });
    ASSERT_EQ(RunStartMenu(shell.App()), 1);
    EXPECT_TRUE(shell.App().m_bDocumentOpened);
    EXPECT_EQ(shell.App().GetGameClock()->m_tsElapsed.GetTotalSeconds(), 75);
    EXPECT_EQ(shell.Doc().GetTitle(), "Crossing at Kedravin");
}

TEST(SavedGame, ThePlayerSavesFromTheMenuAndTheQuitQuestionAndReopensFromTheStartMenu)
{
    CDocShell shell;
    if (!WriteDemo(shell))
        GTEST_SKIP() << "the demo writer is not built";
    ASSERT_TRUE(shell.Open("demo.asc"));
    CKDRDoc& doc = shell.Doc();
    auto typeName = [](const char* name)
    { return [name](CDialog& d) { d.SetDlgItemText(IDC_SAVE_NAME, name); }; };

    // File/Save Game...: the save dialog names the game.
    shell.App().GetGameClock()->m_tsElapsed = CTimeSpan(125);
    shell.Ui().ExpectDialog(IDD_SAVE_GAME, IDOK, typeName("menu"));
    EXPECT_TRUE(doc.DoSave(nullptr, TRUE));
    EXPECT_TRUE(fs::exists(SavegameDir(shell) / "menu.asg"));

    // Yes to "Save Game?" saves too; Cancel in the dialog keeps the mission.
    doc.SetModifiedFlag(TRUE);
    shell.Ui().ExpectMessage("Save Game?", "Do you wish to save your game before exiting?", IDYES);
    shell.Ui().ExpectDialog(IDD_SAVE_GAME, IDOK, typeName("quit"));
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_TRUE(fs::exists(SavegameDir(shell) / "quit.asg"));
    doc.SetModifiedFlag(TRUE);
    shell.Ui().ExpectMessage("Save Game?", "Do you wish to save your game before exiting?", IDYES);
    shell.Ui().ExpectDialog(IDD_SAVE_GAME, IDCANCEL);
    EXPECT_FALSE(doc.SaveModified());

    // The start menu's saved mission lists the games and reopens one at
    // its time.
    shell.App().GetGameClock()->m_tsElapsed = CTimeSpan(0);
    shell.Ui().ExpectDialog(IDD_START_MENU, IDCANCEL, [](CDialog& d) { d.PressButton(IDC_START_LOAD_MISSION); });
    shell.Ui().ExpectDialog(IDD_LOAD_GAME, IDOK,
                            [](CDialog& d)
                            {
                                EXPECT_EQ(d.GetWindowText(), "Load Saved Game");
                                CListBox* pList = d.GetDlgControl<CListBox>(IDC_SAVED_GAME_LIST);
                                // The demo's own "Fire at dawn" stands first.
                                ASSERT_EQ(pList->GetCount(), 3);
                                EXPECT_EQ(pList->GetText(0), "Fire at dawn");
                                EXPECT_EQ(pList->GetText(1), "menu");
                                EXPECT_EQ(pList->GetText(2), "quit");
                                pList->ClickItem(1);
                            });
    ASSERT_EQ(RunStartMenu(shell.App()), 1);
    EXPECT_TRUE(shell.App().m_bDocumentOpened);
    EXPECT_EQ(shell.App().GetGameClock()->m_tsElapsed.GetTotalSeconds(), 125);
    EXPECT_EQ(doc.GetTitle(), "Crossing at Kedravin");
    EXPECT_EQ(GetCurrentDir(), shell.App().m_strDataDir);
}
