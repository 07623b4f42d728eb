// Indirect-fire missions on the demo's mortar carrier: the queue, the
// battery's step through its volleys, times on target, the traverse shifts,
// the spread and splash of a round, the log lines and the stored form laid
// out by hand. The battery's own cycle (its timers counting down) is run
// by hand here, as it would run between the steps.
#include "BattlefieldTestSupport.h"
#include "FireTestHost.h"
#include "units/UnitTestSupport.h"

#include "battlefield/FireMission.h"
#include "battlefield/FireMissionArray.h"
#include "database/IFAmmo.h"
#include "database/VCapIndirectFire.h"
#include "database/Vehicle.h"
#include "orders/NodeArray.h"
#include "platform/core/Random.h"
#include "platform/core/Unset.h"
#include "platform/ui/Display.h"
#include "units/KDRUnits.h"
#include "units/UCapIndirectFire.h"
#include "units/Unit.h"
#include "units/UnitCapability.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

using bftest::Bytes;
using bftest::StoreToBytes;

namespace
{
using demo_equipment::kMortarCarrier;
constexpr int kHE = demo_equipment::kMortarHE;
constexpr int kSmoke = demo_equipment::kMortarSmoke;
constexpr int kChemical = demo_equipment::kMortarChemical;
constexpr int kHERange = 7000;

CFireMission* Mission(float x, float y, int nMunitionIndex, int nMethod, int nVolleys = 1, CTime tImpact = CTime(0))
{
    static const int types[] = {MUNITION_HE, MUNITION_SMOKE, MUNITION_ILLUM, MUNITION_FASCAM, MUNITION_CHEMICAL};
    return new CFireMission(x, y, types[nMunitionIndex], nMunitionIndex, CTime(0), tImpact, nVolleys, 0, 1600,
                            nMethod, 0, "AA0000");
}

// The demo mortar carrier standing at a point, heading north.
class Battery
{
public:
    Battery(CKDRDatabase* pDatabase, float x, float y) : m_pDatabase(pDatabase)
    {
        m_unit.m_nVehicle = kMortarCarrier;
        m_unit.m_pCapabilities->BuildFromVehicle(pDatabase->GetVehicle(kMortarCarrier), pDatabase);
        m_unit.m_fX = x;
        m_unit.m_fY = y;
        // Halted at its stop: a battery fires only from one.
        m_unit.m_pPath->ResetToPoint(x, y, FALSE);
        m_unit.m_bStopped = TRUE;
        m_pCap = dynamic_cast<CUCapIndirectFire*>(m_unit.FindCapability(VCAP_INDIRECT_FIRE));
        m_pVehicleCap = dynamic_cast<CVCapIndirectFire*>(
            pDatabase->GetVehicle(kMortarCarrier)->FindCapability(VCAP_INDIRECT_FIRE));
    }

    int Process(CTime tNow, BOOL bReady = TRUE)
    {
        return m_pCap->m_pMissions->ProcessFirst(1, tNow, m_unit.m_fHeading, m_unit.m_fX, m_unit.m_fY, m_pCap,
                                                 m_pVehicleCap, m_pDatabase, bReady, m_fAzimuth, 0, &m_unit, 0, 0, 0);
    }
    // The phases run out and the round is up the tube: the next step fires.
    void RunCycle()
    {
        m_pCap->ClearCycle();
        m_pCap->m_bShot = TRUE;
        m_pCap->m_nShotStage = 1;
    }

    CFireMissionArray& Queue() { return *m_pCap->m_pMissions; }
    CUCapIndirectFire& Cap() { return *m_pCap; }
    CVCapIndirectFire& VehicleCap() { return *m_pVehicleCap; }
    CUnit& Unit() { return m_unit; }
    float m_fAzimuth = 0.0f;

private:
    CKDRDatabase* m_pDatabase;
    CUnit m_unit;
    CUCapIndirectFire* m_pCap = nullptr;
    CVCapIndirectFire* m_pVehicleCap = nullptr;
};

class FireMissions : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_db.LoadDemo();
        m_pHost = std::make_unique<CFireTestHost>();
    }
    void TearDown() override { m_pHost.reset(); }

    CKDRDatabase* Db() { return m_db.Db(); }
    CFireTestHost& Host() { return *m_pHost; }

    CUnitTestDatabase m_db;
    std::unique_ptr<CFireTestHost> m_pHost;
};

int CountTabs(const CString& line)
{
    const std::string text = line.GetString();
    return static_cast<int>(std::count(text.begin(), text.end(), '\t'));
}
}  // namespace

TEST_F(FireMissions, ImmediateGoesBeforeAMissionBeingLaid)
{
    Battery battery(Db(), 1000, 1000);
    EXPECT_EQ(battery.Queue().AddMission(Mission(1000, 3000, kHE, FIRE_WHEN_READY)), 0);
    EXPECT_EQ(battery.Queue().AddMission(Mission(1100, 3000, kHE, FIRE_AMC)), 1);
    EXPECT_EQ(battery.Process(Host().m_tNow), FIRE_STEP_AZIMUTH | FIRE_STEP_LAID);
    ASSERT_TRUE(battery.Cap().m_bComputing);
    EXPECT_EQ(battery.Queue().AddMission(Mission(1200, 3000, kHE, FIRE_IMMEDIATE)), 0);
    ASSERT_EQ(battery.Queue().GetSize(), 3);
    EXPECT_EQ(battery.Queue().GetAt(0)->m_fX, 1200.0f);
    EXPECT_EQ(battery.Queue().GetAt(1)->m_fX, 1000.0f);
    EXPECT_EQ(battery.Queue().GetAt(2)->m_fX, 1100.0f);
}

TEST_F(FireMissions, ATargetExactlyAtRangeIsOutOfRangeForTheQueueButFiredByTheStep)
{
    Battery battery(Db(), 0, 0);
    EXPECT_EQ(battery.Queue().IsFirstOutOfRange(0, 0, Db()), 0);  // empty
    battery.Queue().AddMission(Mission(0, kHERange, kHE, FIRE_WHEN_READY));
    EXPECT_EQ(battery.Queue().IsFirstOutOfRange(0, 0, Db()), 1);
    EXPECT_EQ(battery.Queue().IsFirstOutOfRange(0, 0.5f, Db()), 0);
    EXPECT_EQ(battery.Process(Host().m_tNow), FIRE_STEP_AZIMUTH | FIRE_STEP_LAID);
    EXPECT_EQ(battery.Queue().GetSize(), 1);

    // One metre further is beyond the step too: the mission ends.
    Battery far(Db(), 0, 0);
    far.Queue().AddMission(Mission(0, kHERange + 1.0f, kHE, FIRE_WHEN_READY));
    EXPECT_EQ(far.Process(Host().m_tNow), FIRE_STEP_LAID | FIRE_STEP_QUEUE_EMPTY);
    EXPECT_EQ(far.Queue().GetSize(), 0);

    // An unknown munition is out of range of nothing and ends at once.
    Battery unknown(Db(), 0, 0);
    unknown.Queue().AddMission(Mission(0, 100, kHE, FIRE_WHEN_READY));
    unknown.Queue().GetAt(0)->m_nMunitionIndex = 99;
    EXPECT_EQ(unknown.Queue().IsFirstOutOfRange(0, 0, Db()), 0);
    EXPECT_EQ(unknown.Process(Host().m_tNow), FIRE_STEP_LAID | FIRE_STEP_QUEUE_EMPTY);
}

TEST_F(FireMissions, AMunitionWithNoRangeEndsItsMissionBeforeTheFlightIsTimed)
{
    CIFAmmo* pAmmo = Db()->GetIFAmmo(kHE);
    ASSERT_NE(pAmmo, nullptr);
    for (int range : {0, -5})
    {
        pAmmo->m_nRange = range;
        Battery battery(Db(), 0, 0);
        battery.Queue().AddMission(Mission(0, 0, kHE, FIRE_WHEN_READY));
        battery.Cap().m_bComputing = TRUE;
        EXPECT_EQ(battery.Process(Host().m_tNow), FIRE_STEP_LAID | FIRE_STEP_QUEUE_EMPTY) << range;
        EXPECT_FALSE(battery.Cap().m_bComputing) << range;
    }
}

TEST_F(FireMissions, ATimeOnTargetTooNearIsDroppedAndOneInReachWaitsForItsTime)
{
    // 3500 m north: 19 s of flight, inside the arc; 5 + 30 + 19 s of lead.
    const int lead = 5 + 30 + 19;
    const CTime now = Host().m_tNow;
    Battery late(Db(), 1000, 1000);
    late.Queue().AddMission(Mission(1000, 4500, kHE, FIRE_TOT, 1, now + CTimeSpan(lead - 1)));
    EXPECT_EQ(late.Process(now), FIRE_STEP_LAID | FIRE_STEP_QUEUE_EMPTY);

    Battery timely(Db(), 1000, 1000);
    timely.Queue().AddMission(Mission(1000, 4500, kHE, FIRE_TOT, 1, now + CTimeSpan(lead + 10)));
    EXPECT_EQ(timely.Process(now), FIRE_STEP_WAITING);
    EXPECT_EQ(timely.Queue().GetAt(0)->m_tFireTime, now + CTimeSpan(10));
    EXPECT_EQ(timely.Process(now + CTimeSpan(9)), FIRE_STEP_WAITING);
    EXPECT_EQ(timely.Process(now + CTimeSpan(10)), FIRE_STEP_AZIMUTH | FIRE_STEP_LAID);
    EXPECT_EQ(timely.Queue().GetAt(0)->m_tImpactTime, now + CTimeSpan(10 + lead));
}

TEST_F(FireMissions, ThreeVolleysTraverseOnceThenFireOnTheShotPhaseAlone)
{
    // Due east of a battery facing north: outside the arc by 800 mils, so
    // three shifts of 6 s; 3500 m gives 19 s of flight.
    Battery battery(Db(), 1000, 1000);
    battery.Queue().AddMission(Mission(4500, 1000, kHE, FIRE_AMC, 3));
    battery.Queue().AddMission(Mission(1000, 2000, kHE, FIRE_WHEN_READY));
    const int heBefore = battery.Cap().GetRoundsAt(0);
    CTime now = Host().m_tNow;

    EXPECT_EQ(battery.Process(now), FIRE_STEP_AZIMUTH | FIRE_STEP_LAID);
    EXPECT_NEAR(battery.m_fAzimuth, 1.5708f, 1e-3);
    EXPECT_TRUE(battery.Cap().m_bTraversing);
    EXPECT_EQ(battery.Cap().m_nTraverseLeft, 18);
    EXPECT_FALSE(battery.Cap().m_bComputing);
    EXPECT_EQ(battery.Cap().m_nComputeLeft, 30);
    EXPECT_FALSE(battery.Cap().m_bLoading);
    EXPECT_EQ(battery.Cap().m_nLoadLeft, 5);
    EXPECT_EQ(battery.Queue().GetAt(0)->m_tImpactTime, now + CTimeSpan(19 + 6 + 30 + 5));
    EXPECT_EQ(battery.Process(now), FIRE_STEP_BUSY);

    for (int volley = 1; volley <= 3; ++volley)
    {
        now += CTimeSpan(20);
        battery.RunCycle();
        const int result = battery.Process(now);
        EXPECT_EQ(static_cast<int>(Host().m_rounds.GetSize()), volley);
        EXPECT_EQ(Host().m_rounds.GetAt(volley - 1)->m_tImpactTime, now + CTimeSpan(19)) << volley;
        if (volley < 3)
        {
            // The following volleys go through the shot phase only.
            EXPECT_EQ(result, FIRE_STEP_LAID) << volley;
            EXPECT_FALSE(battery.Cap().m_bTraversing);
            EXPECT_FALSE(battery.Cap().m_bComputing);
            EXPECT_TRUE(battery.Cap().m_bLoading);
            EXPECT_EQ(battery.Queue().GetAt(0)->m_nMethod, FIRE_WHEN_READY);
            battery.Cap().m_nShotStage = 2;
            EXPECT_EQ(battery.Process(now), FIRE_STEP_BUSY);
        }
        else
        {
            EXPECT_EQ(result, FIRE_STEP_LAID);
            EXPECT_EQ(battery.Queue().GetSize(), 1);
            // The laying is over; the last shot's flash still runs out.
            EXPECT_FALSE(battery.Cap().m_bLoading);
            EXPECT_TRUE(battery.Cap().m_bShot);
        }
    }
    EXPECT_EQ(battery.Cap().GetRoundsAt(0), heBefore - 3);

    // The next mission lies inside the arc: it computes at once.
    battery.Cap().m_bShot = FALSE;
    EXPECT_EQ(battery.Process(now), FIRE_STEP_AZIMUTH | FIRE_STEP_LAID);
    EXPECT_FALSE(battery.Cap().m_bTraversing);
    EXPECT_TRUE(battery.Cap().m_bComputing);
}

TEST_F(FireMissions, AUnitNotReadyWaitsAndOneWithoutRoundsEndsTheMission)
{
    Battery battery(Db(), 1000, 1000);
    battery.Queue().AddMission(Mission(1000, 2000, kSmoke, FIRE_WHEN_READY));
    EXPECT_EQ(battery.Process(Host().m_tNow, FALSE), FIRE_STEP_WAITING);
    battery.Cap().m_ammo[1].m_nNumber = 0;
    EXPECT_EQ(battery.Process(Host().m_tNow), FIRE_STEP_LAID | FIRE_STEP_QUEUE_EMPTY);

    // A destroyed unit may not start firing.
    Battery wreck(Db(), 1000, 1000);
    wreck.Unit().m_bDestroyed = TRUE;
    wreck.Queue().AddMission(Mission(1000, 2000, kHE, FIRE_WHEN_READY));
    EXPECT_FALSE(wreck.Unit().CanFireMunition(0, 0, 0, MUNITION_HE, Db(), nullptr));
    EXPECT_EQ(wreck.Process(Host().m_tNow), FIRE_STEP_LAID | FIRE_STEP_QUEUE_EMPTY);
}

TEST(FireMissionShifts, AnArcAcrossNorthHoldsItsAzimuthsAndOthersCountTheShorterWay)
{
    CVCapIndirectFire gun;
    gun.m_nLeftLimit = -800;
    gun.m_nRightLimit = 800;
    const struct
    {
        float heading;
        int azimuth;
        int shifts;
    } cases[] = {
        {0.0f, 100, 0},  {0.0f, 6300, 0},  {0.0f, 0, 0},      {0.0f, 6400, 0},   {0.0f, 800, 0},
        {0.0f, 1000, 1}, {0.0f, 1199, 1},  {0.0f, 1200, 2},   {0.0f, 5000, 2},   {0.0f, 3200, 7},
        {3.14159265f, 3200, 0}, {3.14159265f, 100, 6}, {3.14159265f, 6300, 6}, {3.14159265f, 2100, 1}, {3.14159265f, 2000, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gun.GetShiftCount(c.heading, c.azimuth), c.shifts) << c.heading << " " << c.azimuth;
    gun.m_bAllRound = TRUE;
    EXPECT_EQ(gun.GetShiftCount(0.0f, 3200), 0);
    gun.m_bAllRound = FALSE;
    gun.m_nRightLimit = kUnset;
    EXPECT_EQ(gun.GetShiftCount(0.0f, 3200), 0);
}

TEST(FireMissionRounds, ARoundLandsUpToFiveMetresEastAndNoneOrFiveNorth)
{
    bool sawNorth = false;
    bool sawNone = false;
    for (unsigned seed = 1; seed <= 40; ++seed)
    {
        SRand(seed);
        const int east = Rand();
        const int north = Rand();
        SRand(seed);
        std::unique_ptr<CFireMission> round(
            CFireMission::NewInFlight(100.0f, 200.0f, 1600, 0, MUNITION_HE, CTime(50), 1));
        EXPECT_FLOAT_EQ(round->m_fX, static_cast<float>(100.0 + east / 32767.0 * 5.0)) << seed;
        EXPECT_GE(round->m_fX, 100.0f);
        EXPECT_LE(round->m_fX, 105.0f);
        const float expectedY = north * 2 >= 32767 ? 205.0f : 200.0f;
        EXPECT_EQ(round->m_fY, expectedY) << seed;
        sawNorth |= round->m_fY == 205.0f;
        sawNone |= round->m_fY == 200.0f;
        EXPECT_EQ(round->GetSide(), 1);
        EXPECT_EQ(round->GetSplashCounter(), 0);
        EXPECT_EQ(round->m_tImpactTime, CTime(50));
    }
    EXPECT_TRUE(sawNorth);
    EXPECT_TRUE(sawNone);
}

TEST_F(FireMissions, ASplashMakesEachEffectOnceInOrderAndTheRoundGoesAfterThreeFrames)
{
    CKDRUnits units;
    auto* pRound = CFireMission::NewInFlight(500, 500, 1600, kHE, MUNITION_HE, Host().m_tNow + CTimeSpan(2), 0);
    pRound->m_nMunitionType =
        MUNITION_CHEMICAL | MUNITION_FASCAM | MUNITION_ILLUM | MUNITION_SMOKE | MUNITION_HE | MUNITION_PGM;
    Host().m_rounds.AddRoundInFlight(pRound, Db());
    Db()->GetIFAmmo(kHE)->m_strSplashSound = "Mortar Splash";

    // No whole second: nothing moves.
    Host().NextStep(400, 0);
    EXPECT_EQ(Host().m_rounds.StepRoundsInFlight(0, 0, 0, Db(), &units), 0);
    Host().NextStep(1000, 1);
    EXPECT_EQ(Host().m_rounds.StepRoundsInFlight(0, 0, 0, Db(), &units), 0);
    EXPECT_TRUE(Host().m_events.empty());

    EXPECT_EQ(Host().m_rounds.StepRoundsInFlight(0, 0, 0, Db(), &units), 1);
    const std::vector<std::string> expected = {"sound Mortar Splash", "smoke", "illum", "fascam", "chemical"};
    EXPECT_EQ(Host().m_events, expected);
    for (int frame = 2; frame <= 3; ++frame)
    {
        EXPECT_EQ(Host().m_rounds.StepRoundsInFlight(0, 0, 0, Db(), &units), 0) << frame;
        ASSERT_EQ(Host().m_rounds.GetSize(), 1);
        EXPECT_EQ(Host().m_rounds.GetAt(0)->GetSplashCounter(), frame);
    }
    EXPECT_EQ(Host().m_rounds.StepRoundsInFlight(0, 0, 0, Db(), &units), 1);
    EXPECT_EQ(Host().m_rounds.GetSize(), 0);
    EXPECT_EQ(Host().m_events, expected);

    // Without the units a round goes with no effect at all.
    Host().m_rounds.AddRoundInFlight(
        CFireMission::NewInFlight(500, 500, 1600, kSmoke, MUNITION_SMOKE, Host().m_tNow, 0), Db());
    EXPECT_EQ(Host().m_rounds.StepRoundsInFlight(0, 0, 0, Db(), nullptr), 0);
    EXPECT_EQ(Host().m_rounds.GetSize(), 0);
    EXPECT_EQ(Host().m_events, expected);
}

TEST_F(FireMissions, LogLinesShowTheStateGridAmmoAndTime)
{
    CFireMissionArray rounds;
    rounds.Add(CFireMission::NewInFlight(500, 500, 1600, kHE, MUNITION_HE, CTime(1024050600), 0));
    rounds.Add(CFireMission::NewInFlight(500, 500, 1600, kSmoke, MUNITION_SMOKE, CTime(1024050660), 0));
    rounds.Add(CFireMission::NewInFlight(500, 500, 1600, kChemical, MUNITION_CHEMICAL, CTime(1024050600), 1));
    rounds.GetAt(1)->m_nVolleys = 1;
    CStringList lines;
    std::vector<SFireLogRecord> records;
    rounds.FormatLog(0, nullptr, lines, records);
    ASSERT_EQ(lines.GetCount(), 2);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(lines.GetAt(0), "In the air...       \t\tHE      \t\t11852, 10:30:00");
    EXPECT_EQ(lines.GetAt(1), "Splash!             \t\tSmoke   \t11852, 10:31:00");
    EXPECT_EQ(CountTabs(lines.GetAt(0)), CountTabs(lines.GetAt(1)) + 1);
    EXPECT_EQ(records[0].nX, static_cast<int>(rounds.GetAt(0)->m_fX + 0.5f));
    EXPECT_EQ(records[0].nUnit, -1);
    EXPECT_EQ(records[0].nArray, -1);
    EXPECT_EQ(CFireMission::GetMunitionName(0x30), "");
    EXPECT_EQ(CFireMission::GetMunitionName(MUNITION_BBDPICM), "BBDPICM ");
}

TEST(FireMissionFile, AMissionIsReadAndWrittenByteForByte)
{
    Bytes bytes;
    bytes.f32(1234.5f).f32(-20.25f).w16(MUNITION_FASCAM).w16(3);
    bytes.w16(0x0064).w16(0x3D0A);  // fire time 0x3D0A0064
    bytes.w16(0x00C8).w16(0x3D0A);  // impact time
    bytes.w16(3).w16(1).w16(0xFFFF).w16(4).w16(FIRE_TOT).str("AB1234");
    CFireMission mission;
    LoadFromBytes(mission, bytes.data());
    EXPECT_EQ(mission.m_fX, 1234.5f);
    EXPECT_EQ(mission.m_fY, -20.25f);
    EXPECT_EQ(mission.m_nMunitionType, MUNITION_FASCAM);
    EXPECT_EQ(mission.m_nMunitionIndex, 3);
    EXPECT_EQ(mission.m_tFireTime.GetTime(), 0x3D0A0064);
    EXPECT_EQ(mission.m_tImpactTime.GetTime(), 0x3D0A00C8);
    EXPECT_EQ(mission.m_nVolleys, 3);
    EXPECT_EQ(mission.m_nSheaf, 1);
    EXPECT_EQ(mission.m_nAttitude, -1);
    EXPECT_EQ(mission.m_nOption, 4);
    EXPECT_EQ(mission.m_nMethod, FIRE_TOT);
    EXPECT_EQ(mission.m_strLabel, "AB1234");
    EXPECT_EQ(StoreToBytes(mission), bytes.data());

    Bytes bad;
    bad.f32(std::nanf("")).f32(0.0f).w16(1).w16(0).w16(0).w16(0).w16(0).w16(0);
    bad.w16(0).w16(0).w16(0).w16(0).w16(0).str("");
    CFireMission refused;
    EXPECT_THROW(LoadFromBytes(refused, bad.data()), CArchiveException);
}

TEST(FireMissionPictures, TheImpactShowsThreeFramesAndNoneBeyondTheSheet)
{
    CUnitTestDatabase db;
    db.LoadDemo(true);
    CFireMission round;
    round.m_nMunitionIndex = kHE;
    round.m_nVolleys = 0;
    EXPECT_EQ(round.PrepareSprite(db.Db(), nullptr, FIRE_SPRITE_IMPACT), 0);
    int firstFrame = -1;
    for (int counter = 1; counter <= 3; ++counter)
    {
        round.m_nVolleys = counter;
        ASSERT_EQ(round.PrepareSprite(db.Db(), nullptr, FIRE_SPRITE_IMPACT), 1) << counter;
        if (counter == 1)
            firstFrame = round.GetSprite()->GetFrame();
        EXPECT_EQ(round.GetSprite()->GetFrame(), firstFrame + counter - 1);
    }
    // The last munition's pictures end the sheet: a fourth frame is none.
    round.m_nMunitionIndex = demo_equipment::kMunitionCount - 1;
    round.m_nVolleys = 3;
    ASSERT_EQ(round.PrepareSprite(db.Db(), nullptr, FIRE_SPRITE_IMPACT), 1);
    const CFrameSurface* pSheet = round.GetSprite()->GetSheet();
    ASSERT_NE(pSheet, nullptr);
    round.m_nVolleys = 4;
    EXPECT_EQ(round.PrepareSprite(db.Db(), nullptr, FIRE_SPRITE_IMPACT), 0);
    EXPECT_EQ(round.GetSprite(), nullptr);
}
