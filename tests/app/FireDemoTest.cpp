// The demo's saved game "Fire at dawn" in the running shell: it opens in
// deployment with the mortars' rounds in the air, a smoke screen across
// the road and a flare over the ridge; started, the rounds splash and the
// log says so, the smoke round leaves a cloud, the screen hides the enemy
// on the saddle until the breeze and time have cleared it; and the game
// with its clouds, rounds and a queued mission saves to the same bytes.
#include "DocTestSupport.h"
#include "SeededPasses.h"

#include "../../tools/demo_fire.h"
#include "../../tools/demo_light.h"
#include "battlefield/FireMission.h"
#include "battlefield/FireMissionArray.h"
#include "battlefield/KDREnvironment.h"
#include "battlefield/SmokeArray.h"
#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "units/FireMissionLogWindow.h"
#include "units/KDRUnits.h"
#include "units/UCapIndirectFire.h"
#include "units/Unit.h"
#include "units/UnitArray.h"
#include "units/UnitRefArray.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace
{
bool WriteDemo(CDocShell& shell)
{
    const fs::path tool = fs::path(KDR_BINARY_DIR) / "kdrdemo";
    if (!fs::exists(tool))
        return false;
    const std::string command = "\"" + tool.string() + "\" \"" + shell.StartDir().string() + "\" >/dev/null";
    return std::system(command.c_str()) == 0;
}

fs::path SavegameDir(CDocShell& shell) { return fs::path(shell.App().m_strSavegameDir.GetString()); }

// The enemy units the friendly side sees after one detection sweep with
// the clouds given.
int EnemiesSeen(CKDRDoc& doc, CSmokeArray* pSmoke)
{
    CKDRUnits* pUnits = doc.GetUnits();
    CUnitRefArray* pFirst = nullptr;
    CUnitRefArray* pSecond = nullptr;
    pUnits->ResetContactLists(pFirst, pSecond);
    pUnits->DetectAll(doc.GetGameMap(), doc.GetDatabase(), pSmoke, doc.GetEnvironment()->GetLightFactor());
    std::set<int> seen;
    for (int i = 0; pFirst != nullptr && i < pFirst->GetSize(); ++i)
        seen.insert(pFirst->GetAt(i)->m_nUnit);
    return static_cast<int>(seen.size());
}
}  // namespace

TEST(FireAtDawn, TheRoundsSplashTheScreenDriftsOffAndTheEnemyShowsAgain)
{
    CDocShell shell;
    if (!WriteDemo(shell))
        GTEST_SKIP() << "the demo writer is not built";
    CKDRDoc& doc = shell.Doc();
    ASSERT_TRUE(fs::exists(SavegameDir(shell) / demo_fire::SAVED_GAME));
    ASSERT_TRUE(doc.OpenSavedGame(demo_fire::SAVED_GAME));
    EXPECT_TRUE(shell.App().IsDeploymentPhase());
    ASSERT_NE(doc.GetEnvironment(), nullptr);
    EXPECT_EQ(doc.GetEnvironment()->m_fWindSpeed, demo_light::WIND_SPEED);
    CFireMissionArray* pRounds = doc.GetFireMissions();
    CSmokeArray* pSmoke = doc.GetSmoke();
    ASSERT_NE(pRounds, nullptr);
    ASSERT_NE(pSmoke, nullptr);
    ASSERT_EQ(pRounds->GetSize(), 3);
    ASSERT_EQ(pSmoke->GetSize(), 14);
    EXPECT_EQ(pSmoke->GetAt(13)->GetKind(), CLOUD_KIND_ILLUM);
    int nQueued = 0;
    for (int i = 0; i < doc.GetUnits()->m_pOwnUnits->GetSize(); ++i)
    {
        if (auto* pBattery =
                dynamic_cast<CUCapIndirectFire*>(doc.GetUnits()->m_pOwnUnits->GetAt(i)->FindCapability(VCAP_INDIRECT_FIRE)))
            nQueued += pBattery->m_pMissions->GetSize();
    }
    EXPECT_EQ(nQueued, 1);

    // The smoke is thicker than the tanks' thermal sights: behind the
    // screen the enemy on the saddle is hidden.
    const CVehicle* pTank = doc.GetDatabase()->GetVehicle(demo_equipment::kTank);
    ASSERT_NE(pTank, nullptr);
    EXPECT_LT(const_cast<CVehicle*>(pTank)->GetMaxSightPercent(true), demo_fire::kScreenStrength);
    CSmokeArray none;
    const int nClear = EnemiesSeen(doc, &none);
    const int nScreened = EnemiesSeen(doc, pSmoke);
    EXPECT_GT(nClear, 0);
    EXPECT_LT(nScreened, nClear);

    // The log shows the side's rounds in the air, then the mortar's queued
    // mission.
    ASSERT_TRUE(doc.ToggleFireMissionLog());
    ASSERT_TRUE(doc.IsFireMissionLogOpen());
    const CFireMissionLogWindow* pLog = doc.GetUnits()->GetFireMissionLog();
    ASSERT_EQ(pLog->GetLines().GetCount(), 4);
    EXPECT_EQ(pLog->GetLines().GetAt(3).Left(6), "AA0000");
    EXPECT_EQ(pLog->GetLines().GetAt(0).Left(13), "In the air...");

    // Started: a pass a game second. The rounds splash, the log follows,
    // the smoke round leaves a cloud of its own.
    SRand(38);
    SetManualTime(1000000);
    shell.App().GetGameClock()->SetRate(1.0f);
    DWORD dwTick = shell.App().StartClock();
    doc.PrepareRun(dwTick);
    CGamePass pass(doc, shell.App());
    int nRemainder = 0;
    int nCountdown = 0;
    BOOL bMissionOver = FALSE;
    bool bSawSplash = false;
    bool bSmokeRoundCloud = false;
    for (int second = 1; second <= 20; ++second)
    {
        AdvanceManualTime(1000);
        ASSERT_TRUE(pass.Run(dwTick, nRemainder, nCountdown, bMissionOver)) << second;
        for (const CString& line : doc.GetUnits()->GetFireMissionLog()->GetLines())
            bSawSplash |= line.Left(7) == "Splash!";
        bSmokeRoundCloud |= doc.GetSmoke()->GetSize() == 15;
    }
    EXPECT_TRUE(bSawSplash);
    EXPECT_TRUE(bSmokeRoundCloud);
    EXPECT_EQ(doc.GetFireMissions()->GetSize(), 0);
    // The rounds have gone from the log; the mortar still lays its mission.
    EXPECT_EQ(doc.GetUnits()->GetFireMissionLog()->GetLines().GetCount(), 1);

    // The breeze carries the screen east-north-east, 2 m a second.
    const CSmoke* pFirst = doc.GetSmoke()->GetAt(0);
    EXPECT_NEAR(pFirst->m_fX, demo_fire::kScreenX + 20 * 2.0f * std::sin(demo_light::WIND_DIRECTION), 0.5f);
    EXPECT_EQ(pFirst->m_nTimeLeft, demo_fire::kScreenSeconds - 20);

    // Once the screen has gone the enemy shows again.
    for (int second = 21; second <= demo_fire::kScreenSeconds; ++second)
    {
        AdvanceManualTime(1000);
        ASSERT_TRUE(pass.Run(dwTick, nRemainder, nCountdown, bMissionOver)) << second;
    }
    shell.App().StopClock();
    UseRealTime();
    for (int i = 0; i < doc.GetSmoke()->GetSize(); ++i)
        EXPECT_NE(doc.GetSmoke()->GetAt(i)->m_fX, demo_fire::kScreenX) << i;
    EXPECT_LE(doc.GetSmoke()->GetSize(), 1);  // only the smoke round's cloud may stand
}

TEST(FireAtDawn, CloudsRoundsAndAQueuedMissionSaveToTheSameBytes)
{
    CDocShell shell;
    if (!WriteDemo(shell))
        GTEST_SKIP() << "the demo writer is not built";
    CKDRDoc& doc = shell.Doc();
    ASSERT_TRUE(doc.OpenSavedGame(demo_fire::SAVED_GAME));
    // A mission queued with the first mortar.
    CUnitArray* pOwn = doc.GetUnits()->m_pOwnUnits;
    CUCapIndirectFire* pBattery = nullptr;
    for (int i = 0; pOwn != nullptr && i < pOwn->GetSize() && pBattery == nullptr; ++i)
        pBattery = dynamic_cast<CUCapIndirectFire*>(pOwn->GetAt(i)->FindCapability(VCAP_INDIRECT_FIRE));
    ASSERT_NE(pBattery, nullptr);
    pBattery->m_pMissions->AddMission(new CFireMission(2950.0f, 1800.0f, MUNITION_HE, demo_equipment::kMortarHE,
                                                       CTime(0), CTime(0), 3, 1, 1600, FIRE_AMC, 2, "AB0001"));
    ASSERT_TRUE(doc.OnSaveDocument("queued.asg"));
    const std::vector<BYTE> first = ReadBytes(SavegameDir(shell) / "queued.asg");
    ASSERT_FALSE(first.empty());

    ASSERT_TRUE(doc.OpenSavedGame("queued.asg"));
    EXPECT_EQ(doc.GetSmoke()->GetSize(), 14);
    EXPECT_EQ(doc.GetFireMissions()->GetSize(), 3);
    ASSERT_TRUE(doc.OnSaveDocument("again.asg"));
    EXPECT_EQ(ReadBytes(SavegameDir(shell) / "again.asg"), first);
}
