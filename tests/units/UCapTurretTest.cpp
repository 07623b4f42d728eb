// The turret kind: built from a vehicle turret with full loads on its own
// mounts and its mounted capabilities one for one; the unit finds, counts
// and names what the turret carries; its stored form reads and writes back
// byte for byte, and a nest of turrets deeper than eight is refused.
#include "UnitCapTestSupport.h"

#include "database/Damage.h"
#include "database/VehicleArray.h"
#include "database/Weapon.h"
#include "platform/ui/Command.h"
#include "units/UCapIndirectFire.h"
#include "units/UCapKinds.h"
#include "units/UCapTurret.h"
#include "units/UnitWeapon.h"

#include <gtest/gtest.h>

namespace
{
// Weapons 0 and 1 (rounds to reload 3 and 5); vehicle 0 has a smoker and a
// turret with mounts of both weapons, a turret of its own and an observer;
// vehicle 1 is a team with an observer sight.
void LoadTurretVehicles(CUnitTestDatabase& db)
{
    auto* pWeapons = new CWeaponArray;
    CWeapon* pGun = MakeWeapon("Gun", 9);
    pGun->m_nRoundsToReload = 3;
    pWeapons->Add(pGun);
    CWeapon* pMg = MakeWeapon("MG", 1);
    pMg->m_nRoundsToReload = 5;
    pWeapons->Add(pMg);

    auto* pVehicles = new CVehicleArray;
    CVCapTurret* pTurret = MakeTurretWith({MakeTurretWith({}), new CVCapObserver});
    pTurret->GetMounts()->Add(MakeMount(0, 40));
    pTurret->GetMounts()->Add(MakeMount(1, 900));
    CVehicle* pTank = MakeVehicle("Tank", {1}, {});
    pTank->GetCapabilities()->Add(new CVCapSmoker);
    pTank->GetCapabilities()->Add(pTurret);
    pVehicles->Add(pTank);
    CVehicle* pTeam = MakeVehicle("Team", {}, {});
    pTeam->GetCapabilities()->Add(new CVCapDismount);
    pTeam->GetCapabilities()->Add(MakeTurretWith({new CVCapObserver}));
    pVehicles->Add(pTeam);
    db.Load(pWeapons, pVehicles);
}

// A capability list holding one turret nested depth deep, each turret
// with no weapons and no damage, the innermost with no capabilities.
CScenarioBytes NestedTurrets(int depth)
{
    CScenarioBytes b;
    CTagWriter tag(b);
    b.Word(1);
    for (int i = 0; i < depth; ++i)
    {
        tag.Object("CUCapTurret");
        b.Word(0).Word(i + 1 < depth ? 1 : 0);
    }
    for (int i = 0; i < depth; ++i)
        b.Word(0).Float(0.0f).Word(UNSET_WORD).Word(UNSET_WORD).Word(UNSET_WORD).Word(0).Float(-99.0f);
    return b;
}
}  // namespace

TEST(UCapTurret, IsBuiltWithFullLoadsAndItsMountedCapabilities)
{
    CUnitTestDatabase db;
    LoadTurretVehicles(db);
    CUnitCapArray caps(db.Vehicle(0)->GetCapabilities(), db.Db());
    ASSERT_EQ(caps.GetSize(), 2);
    auto* pTurret = dynamic_cast<CUCapTurret*>(caps[1]);
    ASSERT_NE(pTurret, nullptr);
    EXPECT_EQ(pTurret->GetName(), "Turret");

    CUnitWeaponArray* pWeapons = pTurret->GetWeapons();
    ASSERT_EQ(pWeapons->GetSize(), 2);
    EXPECT_EQ(pWeapons->GetAt(0)->m_nRounds, 40);
    EXPECT_EQ(pWeapons->GetAt(0)->m_nRoundsBeforeReload, 3);
    EXPECT_EQ(pWeapons->GetAt(1)->m_nRounds, 900);
    EXPECT_EQ(pWeapons->GetAt(1)->m_nRoundsBeforeReload, 5);

    CUnitCapArray* pMounted = pTurret->GetSubCapabilities();
    ASSERT_EQ(pMounted->GetSize(), 2);
    EXPECT_NE(dynamic_cast<CUCapTurret*>(pMounted->GetAt(0)), nullptr);
    EXPECT_NE(dynamic_cast<CUCapObserver*>(pMounted->GetAt(1)), nullptr);
    EXPECT_EQ(pTurret->GetDamage()->GetSize(), 0);

    EXPECT_EQ(pTurret->m_fDirection, 0.0f);
    EXPECT_EQ(pTurret->m_nTargetUnit, -99);
    EXPECT_EQ(pTurret->m_nTargetArray, -99);
    EXPECT_EQ(pTurret->m_nTargetKind, -99);
    EXPECT_EQ(pTurret->m_nStoredValue, 0);
    EXPECT_EQ(pTurret->m_fOffset, -99.0f);
    EXPECT_EQ(pTurret->m_pSprite, nullptr);
    EXPECT_FALSE(pTurret->m_bSpriteLoaded);

    CString report;
    EXPECT_FALSE(caps.CheckAlignment(db.Vehicle(0), db.Vehicle(0)->GetCapabilities(), db.Db(), report));
    EXPECT_EQ(report, "");
}

TEST(UCapTurret, TheUnitFindsCountsAndNamesWhatTheTurretCarries)
{
    CUnitTestDatabase db;
    LoadTurretVehicles(db);
    CUnitCapArray tank(db.Vehicle(0)->GetCapabilities(), db.Db());
    CUnitCapability* pSight = tank.FindCapability(VCAP_OBSERVER);
    ASSERT_NE(pSight, nullptr);
    EXPECT_EQ(pSight, static_cast<CUCapTurret*>(tank[1])->GetSubCapabilities()->GetAt(1));
    EXPECT_EQ(tank.FindCapability(VCAP_TURRET), tank[1]);
    EXPECT_EQ(tank.FindCapability(VCAP_DISMOUNT), nullptr);
    EXPECT_EQ(tank.GetTypeMask(), static_cast<DWORD>(VCAP_SMOKER | VCAP_TURRET | VCAP_OBSERVER));
    EXPECT_EQ(tank.GetUnidentifiedName(), "Unidentified Observer");
    EXPECT_EQ(tank.GetUnidentifiedBitmap(), "Unknown Observer Green");

    // A dismounted team wins over the sight on its turret.
    CUnitCapArray team(db.Vehicle(1)->GetCapabilities(), db.Db());
    EXPECT_EQ(team.GetUnidentifiedName(), "Unidentified Dismount");
    EXPECT_EQ(team.GetUnidentifiedBitmap(), "Unknown Dismount Green");

    // A turret first and an observer later: the turret's answers first.
    CUnitCapArray both;
    auto* pTurret = new CUCapTurret;
    auto* pInside = new CUCapObserver;
    pTurret->GetSubCapabilities()->Add(pInside);
    both.Add(pTurret);
    both.Add(new CUCapObserver);
    EXPECT_EQ(both.FindCapability(VCAP_OBSERVER), pInside);

    // A turret that carries nothing with an icon leaves the icon to the
    // unit's later capabilities.
    CUnitCapArray gun;
    gun.Add(new CUCapTurret);
    gun.Add(new CUCapIndirectFire);
    EXPECT_EQ(gun.GetUnidentifiedName(), "Unidentified Artillery");
    EXPECT_EQ(gun.GetUnidentifiedBitmap(), "Unknown Artillery Green");
    CUnitCapArray bare;
    bare.Add(new CUCapTurret);
    EXPECT_EQ(bare.GetUnidentifiedName(), "Unidentified Vehicle");
    EXPECT_EQ(bare.GetTypeMask(), static_cast<DWORD>(VCAP_TURRET));
}

TEST(UCapTurret, AMineLayerOnTheTurretKeepsTheActionsSubmenu)
{
    CUnitCapArray caps;
    auto* pTurret = new CUCapTurret;
    pTurret->GetSubCapabilities()->Add(new CUCapMineLayer);
    caps.Add(pTurret);
    CMenu menu;
    std::vector<CMenuItemDesc> popup(UNIT_MENU_ACTIONS, MenuItem("Item", 40000));
    popup.push_back(MenuPopup("Actions", {MenuSeparator()}));
    menu.LoadMenu({MenuPopup("Unit", popup)});
    caps.AddMenuItems(&menu);
    CMenu* pActions = menu.GetSubMenu(UNIT_MENU_POPUP)->GetSubMenu(UNIT_MENU_ACTIONS);
    ASSERT_NE(pActions, nullptr);
    ASSERT_EQ(pActions->GetMenuItemCount(), 1u);
    EXPECT_EQ(pActions->GetMenuString(0, MF_BYPOSITION), "D&eploy Mines");
}

TEST(UCapTurret, ReadsItsWeaponsMountedCapabilitiesAndDamageAndWritesTheSameBytes)
{
    CScenarioBytes b;
    CTagWriter tag(b);
    b.Word(1);
    tag.Object("CUCapTurret");
    b.Word(2);
    tag.Object("CUnitWeapon");
    b.Word(40).Word(2).Word(0).Word(3);
    tag.Object("CUnitWeapon");
    b.Word(0xFFFF).Word(0).Word(7).Word(5);
    b.Word(2);
    tag.Object("CUCapObserver");
    b.Word(UNSET_WORD).Word(UNSET_WORD).Word(UNSET_WORD).DWord(0).DWord(0).Word(0).Word(0).Word(0).Word(0);
    tag.Object("CUCapTurret");
    b.Word(0).Word(0).Word(0).Float(1.25f).Word(UNSET_WORD).Word(UNSET_WORD).Word(UNSET_WORD).Word(0).Float(-99.0f);
    b.Word(1);
    tag.Object("CDamage");
    b.Float(0.5f).Word(3).Word(1).Word(2).Word(0x8000).Float(0.75f);

    CUnitCapArray caps;
    LoadFromBytes(caps, b.Get());
    ASSERT_EQ(caps.GetSize(), 1);
    auto* pTurret = dynamic_cast<CUCapTurret*>(caps[0]);
    ASSERT_NE(pTurret, nullptr);
    ASSERT_EQ(pTurret->GetWeapons()->GetSize(), 2);
    EXPECT_EQ(pTurret->GetWeapons()->GetAt(1)->m_nRounds, -1);
    EXPECT_EQ(pTurret->GetWeapons()->GetAt(1)->m_nReloadCountdown, 7);
    ASSERT_EQ(pTurret->GetSubCapabilities()->GetSize(), 2);
    auto* pInner = dynamic_cast<CUCapTurret*>(pTurret->GetSubCapabilities()->GetAt(1));
    ASSERT_NE(pInner, nullptr);
    EXPECT_EQ(pInner->m_fDirection, 1.25f);
    EXPECT_EQ(pTurret->GetDamage()->GetSize(), 1);
    EXPECT_EQ(pTurret->m_fDirection, 0.5f);
    EXPECT_EQ(pTurret->m_nTargetUnit, 3);
    EXPECT_EQ(pTurret->m_nTargetArray, 1);
    EXPECT_EQ(pTurret->m_nTargetKind, 2);
    EXPECT_EQ(pTurret->m_nStoredValue, -32768);
    EXPECT_EQ(pTurret->m_fOffset, 0.75f);
    EXPECT_EQ(caps.GetTypeMask(), static_cast<DWORD>(VCAP_TURRET | VCAP_OBSERVER));
    EXPECT_EQ(StoreBytes(caps), b.Get());

    // Cut short anywhere: the archive error, and nothing leaks.
    for (size_t n = 0; n < b.Size(); ++n)
    {
        const std::vector<BYTE> cut(b.Get().begin(), b.Get().begin() + static_cast<long>(n));
        CUnitCapArray partial;
        EXPECT_THROW(LoadFromBytes(partial, cut), CArchiveException) << n;
    }
}

TEST(UCapTurret, TurretsNestedDeeperThanEightAreRefused)
{
    for (int depth : {1, CUCapTurret::MAX_NESTING, CUCapTurret::MAX_NESTING + 1, 5000})
    {
        const CScenarioBytes b = NestedTurrets(depth);
        CUnitCapArray caps;
        if (depth <= CUCapTurret::MAX_NESTING)
        {
            LoadFromBytes(caps, b.Get());
            ASSERT_EQ(caps.GetSize(), 1) << depth;
            EXPECT_EQ(StoreBytes(caps), b.Get()) << depth;
            continue;
        }
        try
        {
            LoadFromBytes(caps, b.Get());
            ADD_FAILURE() << depth << ": no error";
        }
        catch (const CArchiveException& e)
        {
            EXPECT_EQ(e.m_cause, CArchiveException::badIndex) << depth;
        }
        // The next file reads again from the top level.
        CUnitCapArray again;
        LoadFromBytes(again, NestedTurrets(CUCapTurret::MAX_NESTING).Get());
        EXPECT_EQ(again.GetSize(), 1) << depth;
    }
}
