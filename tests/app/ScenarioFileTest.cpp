// The scenario file: eight presence words, the start time and the parts of
// the present components, read from bytes assembled by hand and written
// back byte for byte.

#include "ScenarioBytes.h"

#include "app/KDRMissions.h"
#include "app/KDROpord.h"
#include "app/KDRScenario.h"
#include "battlefield/KDREnvironment.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRHoles.h"
#include "battlefield/KDRObstacles.h"
#include "database/KDRDatabase.h"
#include "units/KDRUnits.h"

#include <gtest/gtest.h>

namespace
{
// 14:30 on 9 January 2002, UTC.
constexpr unsigned long kStart = 1010586600;

CScenarioBytes GameMapPart()
{
    CScenarioBytes b;
    b.Word(4).Word(3).Word(0xFFF4);  // tile count -12 reads back sign-extended
    b.Str("tiles.bmp").Str("demo.map").Str("demo.emp").Str("contour.bmp").Str("").Str("demo.aim").Str("demo.gmp");
    return b;
}

CScenarioBytes DatabasePart()
{
    CScenarioBytes b;
    b.Str("demo.wep").Str("demo.veh").Str("demo.pca").Str("demo.smg").Str("spare");
    return b;
}

CScenarioBytes ObstaclesPart()
{
    CScenarioBytes b;
    b.Str("*.obs").Str("neutral.eob").Str("enemy.eob").Str("friendly.fob");
    return b;
}

CScenarioBytes HolesPart()
{
    CScenarioBytes b;
    b.Str("*.hol").Str("").Str("enemy.fho").Str("friendly.fho");
    return b;
}

CScenarioBytes OpordPart()
{
    CScenarioBytes b;
    b.Str("*.opd").Str("attack.ord").Str("blue.gra").Str("red.gra");
    return b;
}

CScenarioBytes EnvironmentPart()
{
    CScenarioBytes b;
    b.Word(0);  // empty event list
    b.Str("demo.env").Str("dry");
    b.Word(1).Word(70).Word(0xFFCE);       // night, setting 1, setting 2 = -50
    b.Float(3.5f).Float(1.25f);            // wind speed, direction
    b.Word(0).Word(200);                   // flag, twilight marker
    b.Word(5).Word(6).Word(18).Word(19);   // hours: BMNT, sunrise, sunset, EENT
    b.Word(30).Word(15).Word(0).Word(45);  // minutes in the same order
    return b;
}

CScenarioBytes MissionsPart()
{
    CScenarioBytes b;
    b.Str("demo.msn").Str("main.msn").Str("third.msn").Str("second.msn");
    return b;
}

// Every component but the units, each with its part.
CScenarioBytes FullScenario()
{
    CScenarioBytes b;
    b.Word(1).Word(1).Word(0).Word(1).Word(1).Word(1).Word(1).Word(1);
    b.DWord(kStart);
    b.Append(GameMapPart()).Append(DatabasePart()).Append(ObstaclesPart()).Append(HolesPart());
    b.Append(OpordPart()).Append(EnvironmentPart()).Append(MissionsPart());
    return b;
}

void Read(CKDRScenario& scenario, const std::vector<BYTE>& bytes)
{
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    scenario.SerializeScenario(ar);
    EXPECT_EQ(ar.GetBytesLeft(), 0u) << "every byte of the file belongs to a part";
}

std::vector<BYTE> Write(CKDRScenario& scenario)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        scenario.SerializeScenario(ar);
        ar.Close();
    }
    return file.GetData();
}
}  // namespace

TEST(ScenarioFile, HandBuiltFileReadsIntoEveryComponentAndWritesBackTheSameBytes)
{
    const CScenarioBytes bytes = FullScenario();
    CKDRScenario scenario;
    Read(scenario, bytes.Get());

    EXPECT_EQ(scenario.GetMissionStartTime().GetTime(), static_cast<LONG>(kStart));
    EXPECT_FALSE(scenario.IsPresent(KDR_UNITS));
    EXPECT_EQ(scenario.m_bUnits, 0);

    CKDRGameMap* pMap = scenario.GetGameMap();
    ASSERT_NE(pMap, nullptr);
    EXPECT_EQ(scenario.m_bGameMap, 1);
    EXPECT_EQ(pMap->m_nTileColumns, 4);
    EXPECT_EQ(pMap->m_nTileRows, 3);
    EXPECT_EQ(pMap->m_nTileCount, -12);
    EXPECT_EQ(pMap->m_strColorTiles, "tiles.bmp");
    EXPECT_EQ(pMap->m_strTileGrid, "demo.map");
    EXPECT_EQ(pMap->m_strElevation, "demo.emp");
    EXPECT_EQ(pMap->m_strContourTiles, "contour.bmp");
    EXPECT_EQ(pMap->m_strSpare, "");
    EXPECT_EQ(pMap->m_strHelpMap, "demo.aim");
    EXPECT_EQ(pMap->m_strFileName, "demo.gmp");

    CKDRDatabase* pDb = scenario.GetDatabase();
    ASSERT_NE(pDb, nullptr);
    EXPECT_EQ(pDb->m_strWeaponList, "demo.wep");
    EXPECT_EQ(pDb->m_strVehicleList, "demo.veh");
    EXPECT_EQ(pDb->m_strPieceList, "demo.pca");
    EXPECT_EQ(pDb->m_strSoundList, "demo.smg");
    EXPECT_EQ(pDb->m_strSpare, "spare");

    CKDRObstacles* pObs = scenario.GetObstacles();
    ASSERT_NE(pObs, nullptr);
    EXPECT_EQ(pObs->m_strFilter, "*.obs");
    EXPECT_EQ(pObs->m_strSide2Name, "neutral.eob");
    EXPECT_EQ(pObs->m_strSide1Name, "enemy.eob");
    EXPECT_EQ(pObs->m_strSide0Name, "friendly.fob");

    CKDRHoles* pHoles = scenario.GetHoles();
    ASSERT_NE(pHoles, nullptr);
    EXPECT_EQ(pHoles->m_strFilter, "*.hol");
    EXPECT_EQ(pHoles->m_strSide2Name, "");
    EXPECT_EQ(pHoles->m_strSide1Name, "enemy.fho");
    EXPECT_EQ(pHoles->m_strSide0Name, "friendly.fho");

    CKDROpord* pOpord = scenario.GetOpord();
    ASSERT_NE(pOpord, nullptr);
    EXPECT_EQ(pOpord->m_strFilePattern, "*.opd");
    EXPECT_EQ(pOpord->m_strOrderFile, "attack.ord");
    EXPECT_EQ(pOpord->m_strGraphicsFile0, "blue.gra");
    EXPECT_EQ(pOpord->m_strGraphicsFile1, "red.gra");

    CKDREnvironment* pEnv = scenario.GetEnvironment();
    ASSERT_NE(pEnv, nullptr);
    EXPECT_EQ(pEnv->m_strFileName, "demo.env");
    EXPECT_EQ(pEnv->m_strNote, "dry");
    EXPECT_EQ(pEnv->m_bNight, 1);
    EXPECT_EQ(pEnv->m_nSetting1, 70);
    EXPECT_EQ(pEnv->m_nSetting2, -50);
    EXPECT_FLOAT_EQ(pEnv->m_fWindSpeed, 3.5f);
    EXPECT_FLOAT_EQ(pEnv->m_fWindDirection, 1.25f);
    EXPECT_EQ(pEnv->m_bFlag, 0);
    EXPECT_EQ(pEnv->m_nTwilight, 200);
    EXPECT_EQ(pEnv->m_nBMNTHour, 5);
    EXPECT_EQ(pEnv->m_nBMNTMinute, 30);
    EXPECT_EQ(pEnv->m_nSunriseHour, 6);
    EXPECT_EQ(pEnv->m_nSunriseMinute, 15);
    EXPECT_EQ(pEnv->m_nSunsetHour, 18);
    EXPECT_EQ(pEnv->m_nSunsetMinute, 0);
    EXPECT_EQ(pEnv->m_nEENTHour, 19);
    EXPECT_EQ(pEnv->m_nEENTMinute, 45);

    CKDRMissions* pMissions = scenario.GetMissions();
    ASSERT_NE(pMissions, nullptr);
    EXPECT_EQ(pMissions->m_strFileName, "demo.msn");
    EXPECT_EQ(pMissions->m_strSlot0File, "main.msn");
    EXPECT_EQ(pMissions->m_strSlot2File, "third.msn");
    EXPECT_EQ(pMissions->m_strSlot1File, "second.msn");
    // Only names are read: no mission is loaded by reading the scenario.
    EXPECT_EQ(pMissions->GetMission(0), nullptr);

    EXPECT_EQ(Write(scenario), bytes.Get());
}

TEST(ScenarioFile, EightZeroWordsHoldOnlyTheStartTime)
{
    CScenarioBytes bytes;
    for (int i = 0; i < 8; ++i)
        bytes.Word(0);
    bytes.DWord(kStart);

    CKDRScenario scenario;
    Read(scenario, bytes.Get());
    for (int i = 0; i < KDR_COMPONENT_COUNT; ++i)
        EXPECT_FALSE(scenario.IsPresent(i)) << "component " << i;
    EXPECT_EQ(scenario.GetMissionStartTime().GetTime(), static_cast<LONG>(kStart));
    EXPECT_EQ(Write(scenario), bytes.Get());
}

TEST(ScenarioFile, AnyNonZeroWordCountsAsPresentAndIsWrittenAsOne)
{
    struct Case
    {
        WORD word;
        bool present;
    };
    const Case cases[] = {{0, false}, {1, true}, {2, true}, {0x8000, true}, {0xFFFF, true}};
    for (const Case& c : cases)
    {
        CScenarioBytes bytes;
        for (int i = 0; i < 7; ++i)
            bytes.Word(0);
        bytes.Word(c.word);  // missions
        bytes.DWord(kStart);
        if (c.present)
            bytes.Append(MissionsPart());

        CKDRScenario scenario;
        Read(scenario, bytes.Get());
        EXPECT_EQ(scenario.IsPresent(KDR_MISSIONS), c.present) << "word " << c.word;
        EXPECT_EQ(scenario.m_bMissions, c.present ? 1 : 0) << "word " << c.word;

        CScenarioBytes expected;
        for (int i = 0; i < 7; ++i)
            expected.Word(0);
        expected.Word(c.present ? 1 : 0);
        expected.DWord(kStart);
        if (c.present)
            expected.Append(MissionsPart());
        EXPECT_EQ(Write(scenario), expected.Get()) << "word " << c.word;
    }
}

TEST(ScenarioFile, EveryTruncationRaisesTheArchiveExceptionAndLeavesNothingBehind)
{
    const std::vector<BYTE> full = FullScenario().Get();
    for (size_t n = 0; n < full.size(); ++n)
    {
        std::vector<BYTE> cut(full.begin(), full.begin() + static_cast<long>(n));
        CKDRScenario scenario;
        CMemFile file(cut);
        CArchive ar(&file, CArchive::load);
        EXPECT_THROW(scenario.SerializeScenario(ar), CArchiveException) << "length " << n;
        scenario.DeleteComponents();
        for (int i = 0; i < KDR_COMPONENT_COUNT; ++i)
            EXPECT_FALSE(scenario.IsPresent(i));
    }
}

TEST(ScenarioFile, StringLengthPastTheEndIsRefused)
{
    // A missions part whose first string claims 200 bytes but holds 3.
    CScenarioBytes bytes;
    for (int i = 0; i < 7; ++i)
        bytes.Word(0);
    bytes.Word(1).DWord(kStart);
    std::vector<BYTE> raw = bytes.Get();
    raw.push_back(200);
    raw.insert(raw.end(), {'a', 'b', 'c'});

    CKDRScenario scenario;
    CMemFile file(raw);
    CArchive ar(&file, CArchive::load);
    EXPECT_THROW(scenario.SerializeScenario(ar), CArchiveException);
}

TEST(ScenarioFile, NewComponentsHoldTheirDefaultPatterns)
{
    CKDRGameMap map;
    CKDRObstacles obstacles;
    CKDRHoles holes;
    CKDROpord opord;
    CKDRMissions missions;
    CKDREnvironment environment;
    EXPECT_EQ(map.m_strFileName, "*.gmp");
    EXPECT_EQ(obstacles.m_strFilter, "*.obs");
    EXPECT_EQ(holes.m_strFilter, "*.hol");
    EXPECT_EQ(opord.m_strFilePattern, "*.opd");
    EXPECT_EQ(opord.m_strOrderFile, "");
    EXPECT_EQ(missions.m_strSlot0File, "");
    EXPECT_EQ(environment.m_nSetting1, 70);
    EXPECT_EQ(environment.m_nSetting2, 50);
    EXPECT_EQ(environment.m_nBMNTHour, 6);
    EXPECT_EQ(environment.m_nSunriseHour, 7);
    EXPECT_EQ(environment.m_nSunsetHour, 18);
    EXPECT_EQ(environment.m_nEENTHour, 19);
}
