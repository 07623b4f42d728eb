#include "UnitTestSupport.h"

#include "database/VehicleWeapon.h"
#include "units/UCapIndirectFire.h"
#include "units/UnitWeapon.h"

#include <string>

namespace
{
using demo_equipment::kGun120;
using demo_equipment::kHeavyMg;
using demo_equipment::kMg;
using demo_equipment::kTank;

// Weapons of penetration 1, 9 and 4 (rounds to reload 2, 3 and 4), and
// vehicles: 0 with mounts of all three, 1 with none, 2 with one hull mount
// and a turret whose middle mount names a weapon the list lacks.
void LoadThreeWeapons(CUnitTestDatabase& db)
{
    auto* pWeapons = new CWeaponArray;
    const int penetration[] = {1, 9, 4};
    for (int i = 0; i < 3; ++i)
    {
        CWeapon* pWeapon = MakeWeapon(("W" + std::to_string(i)).c_str(), penetration[i]);
        pWeapon->m_nRoundsToReload = i + 2;
        pWeapons->Add(pWeapon);
    }
    auto* pVehicles = new CVehicleArray;
    CVehicle* pAll = MakeVehicle("All", {0, 1, 2}, {});
    for (int i = 0; i < 3; ++i)
        pAll->GetChassisMounts()->GetAt(i)->m_nAmmo = 10 * (i + 1);
    pVehicles->Add(pAll);
    pVehicles->Add(MakeVehicle("Bare", {}, {}));
    CVehicle* pTurreted = MakeVehicle("Turreted", {2}, {});
    pTurreted->GetCapabilities()->Add(MakeTurret({{1, 7}, {99, 5}, {0, 3}}));
    pVehicles->Add(pTurreted);
    db.Load(pWeapons, pVehicles);
}

std::vector<std::vector<int>> Records(const CUnitWeaponArray& list)
{
    std::vector<std::vector<int>> out;
    for (int i = 0; i < list.GetSize(); ++i)
    {
        const CUnitWeapon* p = list.GetAt(i);
        out.push_back({p->m_nRounds, p->m_nFireCountdown, p->m_nReloadCountdown, p->m_nRoundsBeforeReload});
    }
    return out;
}

std::vector<std::string> Lines(const CStringList& lines)
{
    std::vector<std::string> out;
    for (const CString& line : lines)
        out.emplace_back(line.GetString());
    return out;
}
}  // namespace

TEST(UnitWeapons, TheDemoTankGetsOneFullRecordPerHullAndPerTurretMount)
{
    CUnitTestDatabase db;
    db.LoadDemo();
    const int gunReload = demo_equipment::kWeapons[kGun120].roundsToReload;
    const int mgReload = demo_equipment::kWeapons[kMg].roundsToReload;
    const int heavyReload = demo_equipment::kWeapons[kHeavyMg].roundsToReload;

    CUnitWeaponArray hull;
    hull.BuildFromVehicle(kTank, db.Db(), FALSE);
    EXPECT_EQ(Records(hull), (std::vector<std::vector<int>>{{900, 0, 0, heavyReload}}));
    EXPECT_EQ(hull.GetAt(0)->m_nWeapon, kUnset);
    EXPECT_EQ(hull.GetAt(0)->m_nMount, kUnset);
    EXPECT_EQ(hull.GetAt(0)->m_bInTurret, kUnset);

    CUnitWeaponArray turret;
    turret.BuildFromVehicle(kTank, db.Db(), TRUE);
    EXPECT_EQ(Records(turret), (std::vector<std::vector<int>>{{40, 0, 0, gunReload}, {6000, 0, 0, mgReload}}));

    // The list built from a mount list is the same.
    CUnitWeaponArray copy(CUnitWeaponArray::GetMountList(db.Vehicle(kTank), TRUE), db.Db()->GetWeaponArray());
    EXPECT_EQ(Records(copy), Records(turret));

    // A rebuild starts from full loads again.
    turret.GetAt(0)->m_nRounds = 3;
    turret.BuildFromVehicle(kTank, db.Db(), TRUE);
    EXPECT_EQ(turret.GetAt(0)->m_nRounds, 40);
}

TEST(UnitWeapons, WithoutADatabaseOrVehicleTypeTheListStaysAsItWas)
{
    CUnitTestDatabase db;
    LoadThreeWeapons(db);
    CUnitWeaponArray list;
    list.BuildFromVehicle(0, db.Db(), FALSE);
    ASSERT_EQ(list.GetSize(), 3);

    list.BuildFromVehicle(0, nullptr, FALSE);
    list.BuildFromVehicle(3, db.Db(), FALSE);
    list.BuildFromVehicle(kUnset, db.Db(), FALSE);
    EXPECT_EQ(list.GetSize(), 3);
    CKDRDatabase empty;
    list.BuildFromVehicle(0, &empty, FALSE);
    EXPECT_EQ(list.GetSize(), 3);

    // A vehicle type without a turret has no turret list.
    list.BuildFromVehicle(0, db.Db(), TRUE);
    EXPECT_EQ(list.GetSize(), 0);
    EXPECT_EQ(CUnitWeaponArray::GetMount(0, 0, TRUE, db.Db()), nullptr);
}

TEST(UnitWeapons, AMountOfAnUnknownWeaponKeepsItsPlaceButIsPassedOver)
{
    CUnitTestDatabase db;
    LoadThreeWeapons(db);
    CUnitWeaponArray turret;
    turret.BuildFromVehicle(2, db.Db(), TRUE);
    // Record 1 stands for the unknown weapon's mount, so record 2 still
    // belongs to mount 2.
    EXPECT_EQ(Records(turret), (std::vector<std::vector<int>>{{7, 0, 0, 3}, {5, 0, 0, 0}, {3, 0, 0, 2}}));

    CStringList lines;
    turret.ListWeapons(lines, db.Vehicle(2), db.Db(), TRUE);
    EXPECT_EQ(Lines(lines), (std::vector<std::string>{"W1\t\t7", "W0\t\t3"}));

    CUnitWeaponArray ordered;
    turret.AddInEngagementOrder(2, &ordered, db.Db(), TRUE);
    ASSERT_EQ(ordered.GetSize(), 2);
    EXPECT_EQ(turret.GetAt(1)->m_nMount, 1);  // its working values are still written
    EXPECT_EQ(turret.GetAt(1)->m_bInTurret, 1);
    EXPECT_EQ(ordered.Find(turret.GetAt(1)), -1);
    ordered.RemoveAllNoDelete();
}

TEST(UnitWeapons, ReloadCountsDownBeforeFireAndNeitherGoesBelowZero)
{
    CUnitWeaponArray list;
    list.Add(new CUnitWeapon(10, 1));
    list.GetAt(0)->m_nReloadCountdown = 3;
    list.GetAt(0)->m_nFireCountdown = 2;
    const int expected[][2] = {{2, 2}, {1, 2}, {0, 2}, {0, 1}, {0, 0}, {0, 0}};
    for (const auto& [reload, fire] : expected)
    {
        list.CountDown(5);  // the elapsed time does not matter: one tick per call
        EXPECT_EQ(list.GetAt(0)->m_nReloadCountdown, reload);
        EXPECT_EQ(list.GetAt(0)->m_nFireCountdown, fire);
    }
    EXPECT_EQ(list.GetAt(0)->m_nRounds, 10);

    list.GetAt(0)->m_nReloadCountdown = 4;
    list.GetAt(0)->m_nFireCountdown = 6;
    list.GetAt(0)->m_nRoundsBeforeReload = 2;
    list.ResetTimers();
    EXPECT_EQ(Records(list), (std::vector<std::vector<int>>{{10, 0, 0, 0}}));
}

TEST(UnitWeapons, ResupplyTakesWhatEachWeaponLacksFromTheCarrierEntryOfItsWeapon)
{
    CUnitTestDatabase db;
    auto* pWeapons = new CWeaponArray;
    pWeapons->Add(MakeWeapon("Gun", 5));
    pWeapons->Add(MakeWeapon("Coax", 1));
    auto* pVehicles = new CVehicleArray;
    CVehicle* pVehicle = MakeVehicle("Fed", {1, 1, 1, 0}, {});
    const int loads[] = {40, 40, 40, 10};
    for (int i = 0; i < 4; ++i)
        pVehicle->GetChassisMounts()->GetAt(i)->m_nAmmo = loads[i];
    pVehicle->GetCapabilities()->Add(MakeTurret({{99, 10}}));
    pVehicles->Add(pVehicle);
    db.Load(pWeapons, pVehicles);
    const CVehicleWeaponArray* pMounts = db.Vehicle(0)->GetChassisMounts();

    CUnitWeaponArray list;
    list.BuildFromVehicle(0, db.Db(), FALSE);
    const int rounds[] = {35, 40, 41, 4};
    for (int i = 0; i < 4; ++i)
        list.GetAt(i)->m_nRounds = rounds[i];
    // 35 of 40 takes 5 of the 12; the full one takes nothing but counts;
    // the one above its load neither takes nor counts. Weapon 0 is a
    // weapon like any other; a negative weapon or an empty entry gives
    // nothing.
    CUCapDFAmmoCarrier carrier;
    carrier.m_load = {{1, 12}, {0, 3}, {-1, 5}, {1, 0}};
    EXPECT_TRUE(list.ResupplyFrom(&carrier, pMounts, db.Db()));
    std::vector<int> after;
    for (int i = 0; i < 4; ++i)
        after.push_back(list.GetAt(i)->m_nRounds);
    EXPECT_EQ(after, (std::vector<int>{40, 40, 41, 7}));
    std::vector<std::pair<int, int>> load;
    for (const CAmmoEntry& entry : carrier.m_load)
        load.emplace_back(entry.m_nIndex, entry.m_nNumber);
    EXPECT_EQ(load, (std::vector<std::pair<int, int>>{{1, 7}, {0, 0}, {-1, 5}, {1, 0}}));

    // Only full or overfull weapons of the entry's kind: full counts.
    CUCapDFAmmoCarrier more;
    more.m_load = {{1, 7}};
    EXPECT_TRUE(list.ResupplyFrom(&more, pMounts, db.Db()));
    list.GetAt(0)->m_nRounds = list.GetAt(1)->m_nRounds = 41;
    EXPECT_FALSE(list.ResupplyFrom(&more, pMounts, db.Db()));
    EXPECT_EQ(more.m_load[0].m_nNumber, 7);

    // Not a DF carrier, or something missing: nothing.
    CUCapIFAmmoCarrier rounds2;
    rounds2.m_load = {{0, 12}};
    CUnitCapability plain;
    EXPECT_FALSE(list.ResupplyFrom(&rounds2, pMounts, db.Db()));
    EXPECT_FALSE(list.ResupplyFrom(&plain, pMounts, db.Db()));
    EXPECT_FALSE(list.ResupplyFrom(nullptr, pMounts, db.Db()));
    EXPECT_FALSE(list.ResupplyFrom(&carrier, nullptr, db.Db()));
    EXPECT_FALSE(list.ResupplyFrom(&carrier, pMounts, nullptr));
    EXPECT_EQ(rounds2.m_load[0].m_nNumber, 12);
    EXPECT_EQ(list.GetAt(3)->m_nRounds, 7);

    // A turret mount of a weapon the list lacks takes nothing, even from
    // an entry of the same index.
    CUnitWeaponArray turret;
    turret.BuildFromVehicle(0, db.Db(), TRUE);
    turret.GetAt(0)->m_nRounds = 0;
    CUCapDFAmmoCarrier odd;
    odd.m_load = {{99, 5}};
    EXPECT_FALSE(turret.ResupplyFrom(&odd, CUnitWeaponArray::GetMountList(db.Vehicle(0), TRUE), db.Db()));
    EXPECT_EQ(turret.GetAt(0)->m_nRounds, 0);
}

TEST(UnitWeapons, AVehicleWithoutMountsHasAnEmptyListThatNothingChanges)
{
    CUnitTestDatabase db;
    LoadThreeWeapons(db);
    CUnitWeaponArray list;
    list.BuildFromVehicle(1, db.Db(), FALSE);
    EXPECT_EQ(list.GetSize(), 0);
    list.CountDown(1);
    list.ResetTimers();
    CUCapDFAmmoCarrier carrier;
    carrier.m_load = {{0, 12}};
    EXPECT_FALSE(list.ResupplyFrom(&carrier, db.Vehicle(1)->GetChassisMounts(), db.Db()));
    EXPECT_EQ(carrier.m_load[0].m_nNumber, 12);
    CStringList lines;
    list.ListWeapons(lines, db.Vehicle(1), db.Db(), FALSE);
    EXPECT_TRUE(lines.IsEmpty());
}

TEST(UnitWeapons, NamesAreListedWholeUpToThirteenCharactersAndShortOnesTakeATab)
{
    CUnitTestDatabase db;
    auto* pWeapons = new CWeaponArray;
    for (const char* name : {"Thirteen char", "Fourteen chars", "Seven c", "Eight ch"})
        pWeapons->Add(MakeWeapon(name, 1));
    auto* pVehicles = new CVehicleArray;
    pVehicles->Add(MakeVehicle("Lister", {0, 1, 2, 3}, {}));
    db.Load(pWeapons, pVehicles);

    CUnitWeaponArray list;
    list.BuildFromVehicle(0, db.Db(), FALSE);
    for (int i = 0; i < 4; ++i)
        list.GetAt(i)->m_nRounds = i * 11;
    CStringList lines;
    lines.AddTail("kept");
    list.ListWeapons(lines, db.Vehicle(0), db.Db(), FALSE);
    EXPECT_EQ(Lines(lines), (std::vector<std::string>{"kept", "Thirteen char\t0", "Fourteen c...\t11", "Seven c\t\t22",
                                                      "Eight ch\t33"}));

    // Nothing without the vehicle type or the database; a record past
    // the mounts is not listed.
    list.Add(new CUnitWeapon(5, 0));
    lines.RemoveAll();
    list.ListWeapons(lines, nullptr, db.Db(), FALSE);
    list.ListWeapons(lines, db.Vehicle(0), nullptr, FALSE);
    EXPECT_TRUE(lines.IsEmpty());
    list.ListWeapons(lines, db.Vehicle(0), db.Db(), FALSE);
    EXPECT_EQ(lines.GetCount(), 4);
}

TEST(UnitWeapons, EngagementOrderWeighsEachPositionByTheMountOfThatIndex)
{
    CUnitTestDatabase db;
    LoadThreeWeapons(db);
    CUnitWeaponArray hull;
    hull.BuildFromVehicle(0, db.Db(), FALSE);
    CUnitWeaponArray turret;
    turret.BuildFromVehicle(2, db.Db(), TRUE);

    // Penetrations 1, 9, 4: the third record goes before position 1, whose
    // mount (penetration 9) outranks it. The turret's records are then
    // weighed against the turret's mounts 0 (9), 1 (unknown) and 2 (1):
    // record 0 (9) goes to the end; record 2 (1) before position 0.
    CUnitWeaponArray ordered;
    hull.AddInEngagementOrder(0, &ordered, db.Db(), FALSE);
    turret.AddInEngagementOrder(2, &ordered, db.Db(), TRUE);
    std::vector<const CUnitWeapon*> expected = {turret.GetAt(2), hull.GetAt(0), hull.GetAt(2), hull.GetAt(1),
                                                turret.GetAt(0)};
    ASSERT_EQ(ordered.GetSize(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ordered.GetAt(i), expected[static_cast<size_t>(i)]) << i;

    const std::vector<std::vector<int>> working = {
        {hull.GetAt(2)->m_nWeapon, hull.GetAt(2)->m_nMount, hull.GetAt(2)->m_bInTurret},
        {turret.GetAt(0)->m_nWeapon, turret.GetAt(0)->m_nMount, turret.GetAt(0)->m_bInTurret},
        {turret.GetAt(2)->m_nWeapon, turret.GetAt(2)->m_nMount, turret.GetAt(2)->m_bInTurret}};
    EXPECT_EQ(working, (std::vector<std::vector<int>>{{2, 2, 0}, {1, 0, 1}, {0, 2, 1}}));
    ordered.RemoveAllNoDelete();

    // Without a database every record is marked but none is ordered.
    hull.AddInEngagementOrder(0, &ordered, nullptr, FALSE);
    EXPECT_EQ(ordered.GetSize(), 0);
}

TEST(UnitWeapons, ARebuildWithTheSameMountCountKeepsRoundsAndTimers)
{
    CUnitTestDatabase db;
    LoadThreeWeapons(db);
    CUnitWeaponArray list;
    list.BuildFromVehicle(0, db.Db(), FALSE);
    list.GetAt(1)->m_nRounds = 1;
    list.GetAt(1)->m_nFireCountdown = 4;

    // Three mounts, although their weapons differ: kept.
    db.Vehicle(0)->GetChassisMounts()->GetAt(1)->m_nWeapon = 0;
    list.RebuildIfChanged(db.Vehicle(0), db.Db());
    EXPECT_EQ(Records(list)[1], (std::vector<int>{1, 4, 0, 3}));

    // One mount: rebuilt from the vehicle type's own mounts.
    list.RebuildIfChanged(db.Vehicle(2), db.Db());
    EXPECT_EQ(Records(list), (std::vector<std::vector<int>>{{0, 0, 0, 4}}));
    list.RebuildIfChanged(db.Vehicle(1), nullptr);
    EXPECT_EQ(list.GetSize(), 1);
}

TEST(UnitWeapons, GetMountReachesTheHullAndTurretListsAndNothingBeyond)
{
    CUnitTestDatabase db;
    LoadThreeWeapons(db);
    EXPECT_EQ(CUnitWeaponArray::GetMount(0, 1, FALSE, db.Db()), db.Vehicle(0)->GetChassisMounts()->GetAt(1));
    const CVehicleWeapon* pMount = CUnitWeaponArray::GetMount(2, 2, TRUE, db.Db());
    ASSERT_NE(pMount, nullptr);
    EXPECT_EQ(pMount->m_nAmmo, 3);
    EXPECT_EQ(CUnitWeaponArray::GetMount(0, 3, FALSE, db.Db()), nullptr);
    EXPECT_EQ(CUnitWeaponArray::GetMount(0, -1, FALSE, db.Db()), nullptr);
    EXPECT_EQ(CUnitWeaponArray::GetMount(7, 0, FALSE, db.Db()), nullptr);
    EXPECT_EQ(CUnitWeaponArray::GetMount(0, 0, FALSE, nullptr), nullptr);
}

TEST(UnitWeapons, ATurretInsideAnotherCapabilityIsFoundAfterTheTopLevelOnes)
{
    // A capability holding a turret comes first; a plain turret second:
    // the plain one wins. Alone, the contained one is found.
    CVehicle vehicle;
    auto* pHolder = new CTestCapability(VCAP_OBSERVER);
    auto* pInner = MakeTurret({{0, 1}});
    pHolder->Contain(pInner);
    auto* pOuter = MakeTurret({{0, 2}, {0, 3}});
    vehicle.GetCapabilities()->Add(pHolder);
    vehicle.GetCapabilities()->Add(pOuter);
    EXPECT_EQ(CUnitWeaponArray::FindVehicleTurret(&vehicle), pOuter);
    vehicle.GetCapabilities()->RemoveAt(1);
    EXPECT_EQ(CUnitWeaponArray::FindVehicleTurret(&vehicle), pInner);
    EXPECT_EQ(CUnitWeaponArray::FindVehicleTurret(nullptr), nullptr);
}

TEST(UnitWeapons, RecordsAreFourSignExtendedWordsAndTheWorkingValuesAreNotStored)
{
    CScenarioBytes b;
    b.Word(2);
    NewClass(b, "CUnitWeapon").Word(40).Word(3).Word(0xFFFF).Word(1);
    OldClass(b, 1).Word(0x8000).Word(0).Word(2).Word(20);

    CUnitWeaponArray list;
    LoadFromBytes(list, b.Get());
    EXPECT_EQ(Records(list), (std::vector<std::vector<int>>{{40, 3, -1, 1}, {-32768, 0, 2, 20}}));
    EXPECT_EQ(list.GetAt(1)->m_nWeapon, kUnset);
    EXPECT_EQ(list.GetAt(1)->m_nMount, kUnset);
    EXPECT_EQ(list.GetAt(1)->m_bInTurret, kUnset);

    list.GetAt(0)->m_nWeapon = 4;
    EXPECT_EQ(StoreBytes(list), b.Get());

    // Cut short anywhere, the list refuses the file.
    for (size_t n = 0; n < b.Size(); ++n)
    {
        std::vector<BYTE> cut(b.Get().begin(), b.Get().begin() + static_cast<std::ptrdiff_t>(n));
        CUnitWeaponArray partial;
        EXPECT_THROW(LoadFromBytes(partial, cut), CArchiveException) << n;
    }
}
