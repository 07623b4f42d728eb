// Mission and scenario files made to hurt the loader: an event list holding
// itself or naming a class that opens the audio device, and two task-
// organisation lists sharing one entry. Each gives the archive error naming
// the file, and what was loaded before stays.

#include "DocTestSupport.h"

#include "app/KDRMissions.h"
#include "app/KDRScenario.h"
#include "battlefield/KDREnvironment.h"
#include "mission/Mission.h"

namespace
{
// A mission file whose event list holds the given class-tagged bytes.
CScenarioBytes MissionWithEvents(const CScenarioBytes& events)
{
    CScenarioBytes b;
    for (int i = 0; i < 8; ++i)
        b.Word(0);
    b.Append(events);
    b.Str("").Str("Bad").Str("bad").Str("").Str("");
    b.Word(0).Word(0).Word(0).Word(0).Word(0).Word(0).Word(0);
    return b;
}

CScenarioBytes NewClass(const char* name)
{
    CScenarioBytes b;
    b.Word(0xFFFF).Word(1).Word(static_cast<unsigned>(std::strlen(name))).Chars(name);
    return b;
}

CString LoadError(const std::function<void()>& load)
{
    try
    {
        load();
    }
    catch (const CArchiveException& e)
    {
        return e.GetErrorText();
    }
    return CString();
}
}  // namespace

TEST(HostileFiles, EventListsTakeEventsOnlyAndTheMissionBeforeStays)
{
    CDocShell shell;
    shell.WriteData("a.msn", MissionFileBytes("A", "a"));
    // An event list inside itself (class CEventArray 1, the list 2) and an
    // event list naming the sound manager, whose making opens the device.
    shell.WriteData("self.msn",
                    MissionWithEvents(CScenarioBytes().Word(1).Append(NewClass("CEventArray")).Word(1).Word(2)));
    shell.WriteData("sound.msn", MissionWithEvents(CScenarioBytes().Word(1).Append(NewClass("CSoundManager"))));

    CKDRMissions missions;
    const CString dataDir = shell.DataDir().string().c_str();
    ASSERT_TRUE(missions.LoadMission(0, "a.msn", dataDir));
    for (const char* file : {"self.msn", "sound.msn"})
    {
        SCOPED_TRACE(file);
        const CString path = (shell.DataDir() / file).string().c_str();
        EXPECT_EQ(LoadError([&] { missions.LoadMission(0, file, dataDir); }),
                  "Unexpected object found while reading in '" + path + "'.");
        EXPECT_EQ(missions.GetMainMissionName(), "A");
        EXPECT_EQ(missions.m_strSlot0File, "a.msn");
    }

    // The light conditions carry an event list of the same kind.
    CScenarioBytes light = ScenarioHeader({0, 0, 0, 0, 0, 0, 1, 0}, 0);
    light.Word(1).Append(NewClass("CSoundManager"));
    CKDRScenario scenario;
    CMemFile file(light.Get());
    CArchive ar(&file, CArchive::load);
    EXPECT_EQ(LoadError([&] { scenario.SerializeScenario(ar); }), "Unexpected object found while reading.");
}

// Listing such a scenario in the start menu once freed the entry twice.
TEST(HostileFiles, TwoTaskOrganisationListsSharingAnEntryAreRefused)
{
    CDocShell shell;
    // Units part: two empty name lists, then two task-organisation lists;
    // indexes: class CTaskOrgArray 1, the first list 2, class CTaskOrg 3, its
    // entry 4, the second list 5, which names entry 4 again.
    CScenarioBytes b = ScenarioHeader({0, 0, 1, 0, 0, 0, 0, 0}, 0);
    b.Word(0).Word(0).Word(2);
    b.Append(NewClass("CTaskOrgArray")).Word(1).Append(NewClass("CTaskOrg")).Word(3).Word(4).Word(11);
    b.Word(0x8001).Word(1).Word(4).Word(11);
    b.Str("").Str("").Str("").Str("").Str("").Str("").Str("");
    shell.WriteData("shared.asc", b);

    CString name("kept"), text("kept");
    EXPECT_FALSE(CKDRDoc::ReadMissionInfo(shell.DataDir().string().c_str(),
                                          (shell.DataDir() / "shared.asc").string().c_str(), name, text));
    EXPECT_EQ(name, "kept");

    CKDRScenario scenario;
    CMemFile file(b.Get());
    CArchive ar(&file, CArchive::load);
    EXPECT_EQ(LoadError([&] { scenario.SerializeScenario(ar); }),
              "The file could not be read: it holds one object in two places.");
}
