// Loading "*.msn" missions into the missions component: a mission of every
// condition kind loads whole; a file cut short or naming an unknown class
// fails with the archive's message naming the file and the slot keeps its
// mission; Cancel in the file dialog fails the load, also after a chosen
// file did not open.
#include "DocTestSupport.h"

#include "app/KDRMissions.h"
#include "mission/EventArray.h"
#include "mission/Mission.h"
#include "mission/MissionBytes.h"

namespace
{
CString LoadError(CKDRMissions& missions, const char* file, const CString& dataDir)
{
    try
    {
        missions.LoadMission(0, file, dataDir);
    }
    catch (const CArchiveException& e)
    {
        return e.GetErrorText();
    }
    return "loaded";
}
}  // namespace

TEST(MissionFile, BrokenMissionsFailWithTheArchivesMessageAndTheSlotKeepsItsMission)
{
    CDocShell shell;
    shell.WriteData("ridge.msn", mission_bytes::Build());
    std::vector<BYTE> cut = mission_bytes::Build().Get();
    cut.resize(cut.size() - 5);  // into the third pair list
    WriteBytes(shell.DataDir() / "cut.msn", cut);
    mission_bytes::Names misspelt;
    misspelt.enemyNumbers = "CConditionEnemyNumberz";
    shell.WriteData("unknown.msn", mission_bytes::Build(misspelt));

    CKDRMissions missions;
    const CString dataDir = shell.DataDir().string().c_str();
    ASSERT_TRUE(missions.LoadMission(0, "ridge.msn", dataDir));
    CMission* pLoaded = missions.GetMission(0);
    ASSERT_EQ(pLoaded->m_pEvents->GetSize(), 2);
    EXPECT_EQ(pLoaded->m_strFileName, "ridge.msn");
    EXPECT_EQ(shell.App().m_anDirection[0], 4800);

    const struct
    {
        const char* file;
        const char* message;
    } cases[] = {
        {"cut.msn", "Reached the end of the file while reading an object in '"},
        {"unknown.msn", "Unexpected object found while reading in '"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(LoadError(missions, c.file, dataDir),
                  CString(c.message) + (shell.DataDir() / c.file).string().c_str() + "'.");
        EXPECT_EQ(missions.GetMission(0), pLoaded);
        EXPECT_EQ(missions.m_strSlot0File, "ridge.msn");
        EXPECT_EQ(pLoaded->m_strName, "Ridge");
    }
}

TEST(MissionFile, CancelFailsTheLoadEvenAfterAChosenFileDidNotOpen)
{
    CDocShell shell;
    shell.WriteData("ridge.msn", mission_bytes::Build());
    CKDRMissions missions;
    const CString dataDir = shell.DataDir().string().c_str();
    ASSERT_TRUE(missions.LoadMission(0, "ridge.msn", dataDir));
    shell.Ui().ExpectFileDialog(TRUE, (shell.DataDir() / "also gone.msn").string().c_str());
    shell.Ui().ExpectFileDialog(TRUE, "");
    EXPECT_FALSE(missions.LoadMission(0, "gone.msn", dataDir));
    EXPECT_EQ(missions.GetMainMissionName(), "Ridge");
    EXPECT_EQ(missions.m_strSlot0File, "ridge.msn");
}
