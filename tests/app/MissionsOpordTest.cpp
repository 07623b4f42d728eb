// The missions and operations-order components: loading their files into
// slots and layers, the replacement questions, and turning the overlays
// round for the enemy side.

#include "DocTestSupport.h"

#include "app/KDRMissions.h"
#include "app/KDROpord.h"
#include "mission/Mission.h"
#include "orders/Order.h"
#include "view/GraphicArray.h"

namespace
{
const char* const kOrderQuestion = "This operation will erase the currently loaded Order.\nDo you wish to continue?";
const char* const kGraphicsQuestion =
    "This operation will erase the currently loaded Graphics.\nDo you wish to continue?";
}  // namespace

TEST(Missions, EmptyComponentLoadsAndHoldsNoMission)
{
    CDocShell shell;
    CKDRMissions missions;
    EXPECT_TRUE(missions.LoadMissionFiles(shell.Doc().GetDataDir()));
    for (int slot = 0; slot < CKDRMissions::kSlotCount; ++slot)
        EXPECT_EQ(missions.GetMission(slot), nullptr);
    int bWon = 7;
    const int anTotals[6] = {};
    EXPECT_EQ(missions.TestMissionEnd(nullptr, anTotals, CTimeSpan(0), bWon), 0);
    EXPECT_EQ(missions.GetMainMissionName(), "");
    CString units("u"), holes("h"), obstacles("o"), hierarchy("keep");
    missions.GetForceVariant(1, units, holes, obstacles, hierarchy);
    EXPECT_EQ(units, "");
    EXPECT_EQ(holes, "");
    EXPECT_EQ(obstacles, "");
    EXPECT_EQ(hierarchy, "keep");
}

TEST(Missions, SlotsLoadInOrderAndTheFirstFailureStopsTheRest)
{
    CDocShell shell;
    shell.WriteData("main.msn", MissionFileBytes("Main", "First.", 100));
    shell.WriteData("third.msn", MissionFileBytes("Third", "Last.", 300));
    CKDRMissions missions;
    missions.m_strSlot0File = "main.msn";
    missions.m_strSlot1File = "gone.msn";
    missions.m_strSlot2File = "third.msn";
    // The second slot's file is missing: its file dialog is cancelled.
    shell.Ui().ExpectFileDialog(TRUE, "");

    EXPECT_FALSE(missions.LoadMissionFiles(shell.Doc().GetDataDir()));
    ASSERT_NE(missions.GetMission(0), nullptr);
    EXPECT_EQ(missions.GetMission(1), nullptr);
    EXPECT_EQ(missions.GetMission(2), nullptr);
    EXPECT_EQ(missions.m_strSlot1File, "gone.msn");
    EXPECT_EQ(missions.GetMainMissionName(), "Main");
    EXPECT_EQ(shell.App().m_anDirection[0], 100);
    ASSERT_EQ(shell.Ui().GetShown().size(), 1u);
    EXPECT_EQ(shell.Ui().GetShown()[0].file.defaultExt, "msn");
    EXPECT_EQ(shell.Ui().GetShown()[0].file.fileName, "*.msn");
}

TEST(Missions, EachSlotTakesTheNameItWasReallyLoadedFromAndItsDirection)
{
    CDocShell shell;
    shell.WriteData("main.msn", MissionFileBytes("Main", "First.", 100));
    shell.WriteData("second.msn", MissionFileBytes("Second", "Next.", 200));
    shell.WriteData("other.msn", MissionFileBytes("Other", "Chosen instead.", 4800));
    CKDRMissions missions;
    missions.m_strSlot0File = "main.msn";
    missions.m_strSlot1File = "second.msn";
    missions.m_strSlot2File = "renamed.msn";
    shell.Ui().ExpectFileDialog(TRUE, (shell.DataDir() / "other.msn").string().c_str());

    EXPECT_TRUE(missions.LoadMissionFiles(shell.Doc().GetDataDir()));
    EXPECT_EQ(missions.m_strSlot2File, "other.msn");
    EXPECT_EQ(missions.GetMission(2)->m_strName, "Other");
    EXPECT_EQ(missions.GetMission(1)->m_strDescription, "Next.");
    EXPECT_EQ(shell.App().m_anDirection[0], 100);
    EXPECT_EQ(shell.App().m_anDirection[1], 200);
    EXPECT_EQ(shell.App().m_anDirection[2], 4800);
}

TEST(Missions, LoadingASlotReplacesItsMissionAndOtherSlotsAreRefused)
{
    CDocShell shell;
    shell.WriteData("a.msn", MissionFileBytes("A", "a"));
    shell.WriteData("b.msn", MissionFileBytes("B", "b"));
    CKDRMissions missions;
    ASSERT_TRUE(missions.LoadMission(0, "a.msn", shell.Doc().GetDataDir()));
    ASSERT_TRUE(missions.LoadMission(0, "b.msn", shell.Doc().GetDataDir()));
    EXPECT_EQ(missions.GetMainMissionName(), "B");
    EXPECT_EQ(missions.m_strSlot0File, "b.msn");
    // A slot outside the three asks nothing, even for a missing file.
    EXPECT_FALSE(missions.LoadMission(3, "gone.msn", shell.Doc().GetDataDir()));
    EXPECT_FALSE(missions.LoadMission(-1, "a.msn", shell.Doc().GetDataDir()));
    EXPECT_EQ(missions.GetMainMissionName(), "B");
}

TEST(Missions, MalformedMissionFileRaisesAndKeepsTheSlot)
{
    CDocShell shell;
    shell.WriteData("a.msn", MissionFileBytes("A", "a"));
    CScenarioBytes cut = MissionFileBytes("Cut", "cut");
    std::vector<BYTE> bytes = cut.Get();
    bytes.resize(bytes.size() - 3);
    WriteBytes(shell.DataDir() / "cut.msn", bytes);
    // A pair list that claims more pairs than the file holds.
    CScenarioBytes huge;
    for (int i = 0; i < 9; ++i)
        huge.Word(0);
    huge.Str("").Str("H").Str("").Str("").Str("").Word(0).Word(0).Word(0).Word(0).Word(0x7FFF);
    shell.WriteData("huge.msn", huge);

    CKDRMissions missions;
    ASSERT_TRUE(missions.LoadMission(0, "a.msn", shell.Doc().GetDataDir()));
    EXPECT_THROW(missions.LoadMission(0, "cut.msn", shell.Doc().GetDataDir()), CArchiveException);
    EXPECT_THROW(missions.LoadMission(0, "huge.msn", shell.Doc().GetDataDir()), CArchiveException);
    EXPECT_EQ(missions.GetMainMissionName(), "A");
    EXPECT_EQ(missions.m_strSlot0File, "a.msn");
}

TEST(Opord, LoadsTheOrderAndBothLayersUnderTheirLoadedNames)
{
    CDocShell shell;
    CKDROpord opord;
    opord.m_strOrderFile = "attack.ord";
    opord.m_strGraphicsFile0 = "blue.gra";
    opord.m_strGraphicsFile1 = "red.gra";
    EXPECT_TRUE(opord.LoadFiles());
    ASSERT_TRUE(opord.m_bOrder && opord.m_bGraphics0 && opord.m_bGraphics1);
    EXPECT_EQ(opord.m_strOrderFile, opord.m_pOrder->m_strName);
    EXPECT_EQ(opord.m_pGraphics0->m_strFileName, "blue.gra");
    EXPECT_EQ(opord.m_pGraphics1->m_strFileName, "red.gra");

    CKDROpord empty;
    EXPECT_TRUE(empty.LoadFiles());
    EXPECT_FALSE(empty.m_bOrder || empty.m_bGraphics0 || empty.m_bGraphics1);
}

TEST(Opord, ReplacingALoadedOrderOrLayerAsksFirst)
{
    CDocShell shell;
    CKDROpord opord;
    ASSERT_TRUE(opord.LoadOrder("first.ord"));
    COrder* pFirst = opord.m_pOrder;

    shell.Ui().ExpectMessage("Warning!", kOrderQuestion, IDNO);
    EXPECT_FALSE(opord.LoadOrder("second.ord"));
    EXPECT_EQ(opord.m_pOrder, pFirst);
    EXPECT_EQ(opord.m_strOrderFile, "first.ord");

    shell.Ui().ExpectMessage("Warning!", kOrderQuestion, IDYES);
    EXPECT_TRUE(opord.LoadOrder("second.ord"));
    EXPECT_EQ(opord.m_strOrderFile, "second.ord");

    // Any layer other than 0 is layer 1.
    ASSERT_TRUE(opord.LoadGraphics(5, "red.gra"));
    EXPECT_TRUE(opord.m_bGraphics1);
    EXPECT_FALSE(opord.m_bGraphics0);
    EXPECT_EQ(opord.m_strGraphicsFile1, "red.gra");
    shell.Ui().ExpectMessage("Warning!", kGraphicsQuestion, IDNO);
    EXPECT_FALSE(opord.LoadGraphics(1, "other.gra"));
    EXPECT_EQ(opord.m_pGraphics1->m_strFileName, "red.gra");
    ASSERT_EQ(shell.Ui().GetShown().size(), 3u);
    EXPECT_EQ(shell.Ui().GetShown()[0].type, MB_YESNO | MB_ICONEXCLAMATION);
}

TEST(Opord, OverlaysTurnRoundOnlyForTheEnemySide)
{
    CDocShell shell;
    CKDROpord opord;
    opord.m_strGraphicsFile0 = "blue.gra";
    ASSERT_TRUE(opord.LoadFiles());

    opord.SwapSidesForPlayer();
    EXPECT_TRUE(opord.m_bGraphics0);
    EXPECT_FALSE(opord.m_bGraphics1);

    shell.App().m_bMultiplayer = TRUE;
    shell.App().m_bPlayEnemySide = TRUE;
    opord.SwapSidesForPlayer();
    EXPECT_FALSE(opord.m_bGraphics0);
    ASSERT_TRUE(opord.m_bGraphics1);
    EXPECT_EQ(opord.m_pGraphics1->m_strFileName, "blue.gra");
    EXPECT_EQ(opord.m_strGraphicsFile0, "blue.gra");
    EXPECT_EQ(opord.m_strGraphicsFile1, "");
    shell.App().m_bMultiplayer = FALSE;
}
