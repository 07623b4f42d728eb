#include "CombatTestSupport.h"

#include "units/UCapTurret.h"

#include <gtest/gtest.h>

using namespace combat;

namespace
{
// The shooter at the south, its target 1000 m due north (range 100).
constexpr float kX = 2000.0f;
constexpr float kY = 500.0f;
constexpr float kNorth = 0.0f;
constexpr float kEast = static_cast<float>(kPi / 2);

struct CDuel
{
    explicit CDuel(CCombatWorld& world, int nShooterType = kTank)
        : pShooter(world.NewUnit(nShooterType, 0, kX, kY, "Alpha 1")),
          pTarget(world.NewUnit(kTank, 1, kX, kY + 1000.0f, "Enemy 1"))
    {
        // Facing the shooter.
        pTarget->m_fHeading = static_cast<float>(kPi);
    }
    int Fire(CCombatWorld& world, int nWholeSeconds, float fBearing = kNorth)
    {
        return pShooter->FireAt(0, 0, pTarget.get(), Contact(0, 0, 1, fBearing, 100), world.Db(), &world.Units(),
                                nWholeSeconds);
    }
    int RoundsLeft() const { return pShooter->m_pWeapons->GetAt(0)->m_nRounds; }

    std::unique_ptr<CUnit> pShooter;
    std::unique_ptr<CUnit> pTarget;
};
}  // namespace

TEST(UnitFire, TheHitChanceFallsWithRangeAndNeverDividesByZero)
{
    struct CCase
    {
        int nRange;
        float fShooterSpeed;
        double dExpected;
    } cases[] = {
        {100, 0.0f, 20.0},
        {200, 0.0f, 10.0},
        // 3 m away the range is 0 and counts as 1: finite, not infinite.
        {0, 0.0f, 2000.0},
        // Moving along the line of fire costs nothing.
        {100, 10.0f, 20.0},
    };
    CCombatWorld world;
    CDuel duel(world);
    CWeapon* pGun = world.Db()->GetWeapon(kGun);
    for (const CCase& c : cases)
    {
        duel.pShooter->m_fSpeed = c.fShooterSpeed;
        const float fHit = duel.pShooter->GetHitChance(duel.pTarget.get(), world.Vehicle(kTank), world.Vehicle(kTank),
                                                       pGun, world.Vehicle(kTank)->GetChassisMounts()->GetAt(0),
                                                       c.nRange, kNorth, FALSE, world.Db());
        EXPECT_TRUE(std::isfinite(fHit)) << c.nRange;
        EXPECT_NEAR(fHit, c.dExpected, c.dExpected * 0.001) << c.nRange;
    }
    // Across the line of fire at range 0 the motion term is finite too.
    duel.pShooter->m_fSpeed = 10.0f;
    duel.pShooter->m_fHeading = kEast;
    const float fCrossing = duel.pShooter->GetHitChance(duel.pTarget.get(), world.Vehicle(kTank),
                                                        world.Vehicle(kTank), pGun, nullptr, 0, kNorth, FALSE,
                                                        world.Db());
    EXPECT_NEAR(fCrossing, 2000.0 - 2.0 * 10.0 * 15.6, 0.5);
    // An unidentified contact can never be hit.
    EXPECT_EQ(duel.pShooter->GetHitChance(duel.pTarget.get(), world.Vehicle(kTank), world.Vehicle(kTank), pGun,
                                          nullptr, 100, kNorth, TRUE, world.Db()),
              -1.0f);
}

TEST(UnitFire, ARollEqualToThePercentageSucceeds)
{
    for (const int nPercent : {0, 20, 57, 100})
    {
        const unsigned seed = SeedForRolls(nPercent, -1);
        SRand(seed);
        EXPECT_TRUE(RollPercentile(nPercent)) << nPercent;
        SRand(seed);
        EXPECT_FALSE(RollPercentile(nPercent - 1)) << nPercent;
    }
}

TEST(UnitFire, ARoundHitsOnARollUpToTheHitChanceAndKillsOnOneUpToTheKill)
{
    // Range 100: H = 20; the target faces the shooter: the front's 40.
    struct CCase
    {
        int nHitRoll;
        int nKillRoll;
        BOOL bDestroyed;
        int nSuppression;
    } cases[] = {
        {20, kFront, TRUE, 0},
        {20, kFront + 1, FALSE, kFront},
        {21, 0, FALSE, 0},
    };
    for (const CCase& c : cases)
    {
        SCOPED_TRACE(c.nHitRoll * 1000 + c.nKillRoll);
        CCombatWorld world;
        CDuel duel(world);
        SRand(SeedForRolls(c.nHitRoll, c.nKillRoll));
        EXPECT_EQ(duel.Fire(world, 0), 1);
        EXPECT_EQ(duel.pTarget->m_bDestroyed, c.bDestroyed);
        EXPECT_EQ(duel.pTarget->m_nSuppression, c.nSuppression);
        EXPECT_EQ(duel.RoundsLeft(), 39);
        // The shot line names the target for two game seconds.
        EXPECT_EQ(duel.pShooter->m_nShotUnit, 0);
        EXPECT_EQ(duel.pShooter->m_nShotKind, 1);
        EXPECT_EQ(duel.pShooter->m_nShotLineTime, 2);
    }
}

TEST(UnitFire, TheRoundsFollowTheSecondsSinceTheLastEngagement)
{
    // Time to fire 3: n / 3 rounds, at least 1 and at most 10.
    const int cases[][2] = {{0, 1}, {2, 1}, {6, 2}, {29, 9}, {35, 10}, {600, 10}};
    for (const auto& c : cases)
    {
        CCombatWorld world;
        world.Db()->GetWeapon(kGun)->m_nMagnification = 0;  // H 0: no roll, no kill
        CDuel duel(world);
        EXPECT_EQ(duel.Fire(world, c[0]), 1);
        EXPECT_EQ(40 - duel.RoundsLeft(), c[1]) << c[0];
        EXPECT_FALSE(duel.pTarget->m_bDestroyed);
    }
}

TEST(UnitFire, TheAspectIsSeenFromTheTarget)
{
    // The shooter is due south of the target: the bearing to it is north.
    struct CCase
    {
        double dTargetHeading;
        int nAspect;
        int nKill;
    } cases[] = {
        {kPi, CUnit::ASPECT_FRONT, kFront},      // facing the shooter
        {0.0, CUnit::ASPECT_BACK, kBack},        // driving straight away
        {kPi / 2, CUnit::ASPECT_RIGHT, kRight},  // heading east: its right side faces south
        {-kPi / 2, CUnit::ASPECT_LEFT, kLeft},
        {kPi - 0.5235, CUnit::ASPECT_FRONT, kFront},  // just inside 30 degrees
        {kPi - 0.5237, CUnit::ASPECT_RIGHT, kRight},
        {kPi - 2.6179, CUnit::ASPECT_RIGHT, kRight},  // just inside 150 degrees
        {kPi - 2.6181, CUnit::ASPECT_BACK, kBack},
        {kPi + 2.6181, CUnit::ASPECT_BACK, kBack},
    };
    CCombatWorld world;
    CDuel duel(world);
    for (const CCase& c : cases)
    {
        duel.pTarget->m_fHeading = static_cast<float>(c.dTargetHeading);
        const int nAspect = CUnit::GetAspectOf(*duel.pTarget, kNorth);
        EXPECT_EQ(nAspect, c.nAspect) << c.dTargetHeading;
        CUnitWeaponArray list;
        duel.pShooter->BuildWeaponList(world.Db(), list);
        CWeapon* pWeapon = nullptr;
        EXPECT_EQ(duel.pShooter->SelectWeapon(list.GetAt(0), world.Vehicle(kTank), world.Db(), nAspect, 100, kNorth,
                                              pWeapon),
                  c.nKill);
        EXPECT_EQ(pWeapon, world.Db()->GetWeapon(kGun));
        list.RemoveAllNoDelete();
    }
}

TEST(UnitFire, AFieldOfFireAcrossNorthEngagesNorthNotEast)
{
    struct CCase
    {
        int nFrom;
        int nTo;
        float fBearing;
        int nResult;
    } cases[] = {
        {5600, 800, kNorth, 1},
        {5600, 800, kEast, 0},
        {5600, 800, static_cast<float>(-0.7), 1},  // about 5687 mils
        {1200, 2000, kEast, 1},
        {1200, 2000, kNorth, 0},
    };
    for (const CCase& c : cases)
    {
        CCombatWorld world;
        CDuel duel(world);
        duel.pShooter->m_bFieldOfFire = TRUE;
        duel.pShooter->m_nFieldOfFireFrom = c.nFrom;
        duel.pShooter->m_nFieldOfFireTo = c.nTo;
        EXPECT_EQ(duel.Fire(world, 0, c.fBearing), c.nResult) << c.nFrom << " " << c.fBearing;
    }
}

TEST(UnitFire, OrdersThatForbidFireStopTheScanAndRangesAreTensOfMetres)
{
    CCombatWorld world;
    CDuel duel(world);
    duel.pShooter->m_bHoldFire = TRUE;
    EXPECT_EQ(duel.Fire(world, 0), 1);
    EXPECT_EQ(duel.RoundsLeft(), 40);
    duel.pShooter->m_bHoldFire = FALSE;
    duel.pShooter->m_bMaxRange = TRUE;
    duel.pShooter->m_nMaxRange = 99;  // tens of metres: 990 m < 1000 m
    EXPECT_EQ(duel.Fire(world, 0), 1);
    EXPECT_EQ(duel.RoundsLeft(), 40);
    // The target could fire back from 1000 m (range 100 within 300), but
    // not from 4000 m.
    EXPECT_TRUE(duel.pTarget->CanEngageVehicle(world.Vehicle(kTank), world.Db(), 100, FALSE));
    EXPECT_FALSE(duel.pTarget->CanEngageVehicle(world.Vehicle(kTank), world.Db(), 400, FALSE));
}

TEST(UnitFire, FriendlySidesNeverFireOnAnIdentifiedFriend)
{
    CCombatWorld world;
    world.Db()->GetWeapon(kGun)->m_nMagnification = 0;
    CUnitArray* pOwn = world.AddArray(0);
    CUnitArray* pNeutral = world.AddArray(2);
    CUnitArray* pOpposing = world.AddArray(1);
    CUnit* pShooter = world.NewUnit(kTank, 0, kX, kY);
    pOwn->Add(pShooter);
    pNeutral->Add(world.NewUnit(kTank, 2, kX, kY + 800.0f));
    pOpposing->Add(world.NewUnit(kTank, 1, kX, kY + 1000.0f));

    pShooter->m_pContacts->InsertSorted(Contact(0, 0, 2, kNorth, 80));
    pShooter->Engage(0, 0, &world.Units(), world.Db());
    EXPECT_EQ(pShooter->m_pWeapons->GetAt(0)->m_nRounds, 40);
    // Unidentified, a neutral unit is fired on only with a suppress area.
    pShooter->m_pContacts->RemoveAll();
    pShooter->m_pContacts->InsertSorted(Contact(0, 0, 2, kNorth, 80, TRUE));
    pShooter->Engage(0, 0, &world.Units(), world.Db());
    EXPECT_EQ(pShooter->m_pWeapons->GetAt(0)->m_nRounds, 40);

    pShooter->m_pContacts->InsertSorted(Contact(0, 0, 1, kNorth, 100));
    pShooter->Engage(0, 0, &world.Units(), world.Db());
    EXPECT_EQ(pShooter->m_pWeapons->GetAt(0)->m_nRounds, 39);
    EXPECT_EQ(pShooter->m_nShotKind, 1);
}

TEST(UnitFire, AnAreaRoundSuppressesEvenWhenItCannotHit)
{
    CCombatWorld world;
    world.Db()->GetWeapon(kGun)->m_nMagnification = 0;
    CDuel duel(world);
    duel.pShooter->m_fSuppressX = kX;
    duel.pShooter->m_fSuppressY = kY + 1000.0f;
    duel.pShooter->m_fSuppressRadius = 50.0f;
    EXPECT_EQ(duel.pShooter->FireAt(0, 0, duel.pTarget.get(), Contact(0, 0, 1, kNorth, 100, TRUE), world.Db(),
                                    &world.Units(), 0),
              1);
    EXPECT_EQ(duel.pTarget->m_nSuppression, kFront);
    // Outside the area, or suppressed to 110 already, the target is left.
    duel.pTarget->m_nSuppression = 110;
    EXPECT_EQ(duel.Fire(world, 0), 0);
    duel.pTarget->m_nSuppression = 0;
    duel.pTarget->m_fX = kX + 100.0f;
    EXPECT_EQ(duel.Fire(world, 0), 0);
}

TEST(UnitTurret, TheTurretLiesWithinItsLimits)
{
    struct CCase
    {
        int nLeftLimit;
        float fHull;
        int nWantedMils;  // right of north, negative left
        int nOffsetMils;
    } cases[] = {
        {kTurretLimit, 0.0f, 1600, 800},  // 1600 right: held at 800
        {kTurretLimit, 0.0f, 400, 400},
        {kTurretLimit, 0.0f, -1600, -800},
        {-99, 0.0f, -1600, -1600},  // no left limit
        {kTurretLimit, 1.0f, 1600 + 1019, 800},
    };
    CCombatWorld world;
    for (const CCase& c : cases)
    {
        SCOPED_TRACE(c.nWantedMils);
        auto* pTurretType = static_cast<CVCapTurret*>(world.Vehicle(kTurretTank)->FindCapability(VCAP_TURRET));
        pTurretType->m_nLeftLimit = c.nLeftLimit;
        std::unique_ptr<CUnit> pUnit(world.NewUnit(kTurretTank, 0, kX, kY));
        auto* pTurret = dynamic_cast<CUCapTurret*>(pUnit->FindCapability(VCAP_TURRET));
        ASSERT_NE(pTurret, nullptr);
        pTurret->AimAt(world.Vehicle(kTurretTank), c.fHull, static_cast<float>(c.nWantedMils * 0.0009817478), FALSE);
        EXPECT_NEAR(pTurret->m_fOffset, c.nOffsetMils * 0.0009817478, 1e-3);
        EXPECT_NEAR(pTurret->m_fDirection, c.fHull + c.nOffsetMils * 0.0009817478, 1e-3);
    }
}

TEST(UnitTurret, AFieldOfFireAcrossNorthLaysTheTurretOnNorthUnlessItHasATarget)
{
    CCombatWorld world;
    std::unique_ptr<CUnit> pUnit(world.NewUnit(kTurretTank, 0, kX, kY));
    auto* pTurret = dynamic_cast<CUCapTurret*>(pUnit->FindCapability(VCAP_TURRET));
    ASSERT_NE(pTurret, nullptr);
    pTurret->OnHeadingChanged(world.Vehicle(kTurretTank), 0.3f, world.Db(), 6000, 400);
    EXPECT_NEAR(pTurret->m_fDirection, 0.0f, 1e-6f);
    // Without an arc it keeps its offset from the hull.
    pTurret->OnHeadingChanged(world.Vehicle(kTurretTank), 0.5f, world.Db(), -99, -99);
    EXPECT_NEAR(pTurret->m_fDirection, 0.5f - 0.3f, 1e-5f);
    // Laid on a target it stays.
    pTurret->m_nTargetUnit = 3;
    pTurret->OnHeadingChanged(world.Vehicle(kTurretTank), 1.0f, world.Db(), -99, -99);
    EXPECT_NEAR(pTurret->m_fDirection, 0.2f, 1e-5f);
    // A new path frees it.
    pTurret->OnPathAssigned(kX, kY, world.Db(), world.Map(), 0);
    EXPECT_EQ(pTurret->m_nTargetUnit, -99);
}

TEST(UnitTurret, TheTurretGunFiresAndTurnsTheTurretToItsTarget)
{
    CCombatWorld world;
    world.Db()->GetWeapon(kGun)->m_nMagnification = 0;
    CDuel duel(world, kTurretTank);
    auto* pTurret = dynamic_cast<CUCapTurret*>(duel.pShooter->FindCapability(VCAP_TURRET));
    ASSERT_NE(pTurret, nullptr);
    const float fBearing = 0.4f;  // 407 mils right of the hull
    EXPECT_EQ(duel.Fire(world, 0, fBearing), 1);
    EXPECT_EQ(pTurret->GetWeapons()->GetAt(0)->m_nRounds, 39);
    EXPECT_NEAR(pTurret->m_fDirection, fBearing, 1e-5f);
    // Beyond the turret's traverse the gun cannot bear.
    CDuel wide(world, kTurretTank);
    EXPECT_EQ(wide.Fire(world, 0, 1.0f), 0);
    // The turret's weapons count down with it.
    pTurret->Update(kTurretTank, 1, CTimeSpan(0), world.Map(), world.Db(), 0, 0, duel.pShooter.get(), 0, 0, 0);
    EXPECT_EQ(pTurret->GetWeapons()->GetAt(0)->m_nFireCountdown, 2);
}

TEST(UnitFire, ATargetFiredOnHidesEngagesOrHaltsAsItsOrdersSay)
{
    struct CCase
    {
        const char* what;
        int nSide;
        BOOL bHide;
        BOOL bEngage;
        int nRange;
        BOOL bDefilade;
        BOOL bHoldFire;
        BOOL bHalted;
    } cases[] = {
        {"an own unit hides", 0, TRUE, FALSE, 100, TRUE, TRUE, FALSE},
        {"an own unit engages", 0, FALSE, TRUE, 100, TRUE, FALSE, TRUE},
        {"an own unit out of its range hides only", 0, TRUE, TRUE, 400, TRUE, TRUE, FALSE},
        {"an enemy that can answer halts", 1, FALSE, FALSE, 100, FALSE, FALSE, TRUE},
        {"an enemy that cannot answer drives on", 1, FALSE, FALSE, 400, FALSE, FALSE, FALSE},
    };
    for (const CCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        CCombatWorld world;
        world.Vehicle(kTank)->m_nTimeToDefilade = 7;
        std::unique_ptr<CUnit> pUnit(world.NewUnit(kTank, c.nSide, kX, kY));
        // On the move along a path of two nodes, sprinting.
        pUnit->m_pPath->ResetToPoint(kX, kY, FALSE);
        pUnit->m_pPath->GetAt(0)->ClearStopAndStartTime();
        pUnit->m_pPath->Add(new CNode(kX, kY + 500.0f));
        pUnit->m_bStopped = FALSE;
        pUnit->m_bSprint = TRUE;
        pUnit->m_bHideOnContact = c.bHide;
        pUnit->m_bEngageOnContact = c.bEngage;
        pUnit->ReactToFire(world.Vehicle(kTank), world.Vehicle(kTank), world.Db(), kFront, c.nRange);
        EXPECT_EQ(pUnit->m_bDefilade, c.bDefilade);
        EXPECT_EQ(pUnit->m_bHoldFire, c.bHoldFire);
        EXPECT_EQ(pUnit->m_bSprint, !(c.bHide || (c.bEngage && c.nRange <= 300)));
        if (c.bDefilade)
        {
            EXPECT_EQ(pUnit->m_nDefiladeTime, 7);
        }
        EXPECT_EQ(pUnit->m_bStopped, c.bHalted);
        // A halted enemy waits five minutes at the node.
        EXPECT_EQ(pUnit->m_pPath->GetAt(0)->HasStop(), c.bHalted && c.nSide != 0);
    }
}
