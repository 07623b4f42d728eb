// Units with capabilities: built for every demo vehicle type and bound to
// it; a tank, a carrier with two teams aboard and a mortar battery laid out
// byte by byte as a unit file holds them, read and written back; a record
// cut short or nesting turrets too deep refused; and what the unit hands to
// its capabilities when it moves, changes sides or is hit.
#include "UnitCapTestSupport.h"

#include "database/VCapIndirectFire.h"
#include "orders/NodeArray.h"
#include "platform/ui/Display.h"
#include "units/CarriedUnit.h"
#include "units/UCapIndirectFire.h"
#include "units/UCapKinds.h"
#include "units/UCapTurret.h"
#include "units/Unit.h"
#include "units/UnitCapability.h"
#include "units/UnitWeapon.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using namespace demo_equipment;

// A unit made for a vehicle type of the database: full weapons, the
// capabilities built from the vehicle type's, then attached.
void BuildFor(CUnit& unit, CUnitTestDatabase& db, int nVehicle)
{
    unit.m_nVehicle = nVehicle;
    unit.m_pWeapons->BuildFromVehicle(nVehicle, db.Db(), FALSE);
    ASSERT_TRUE(unit.m_pCapabilities->BuildFromVehicle(db.Vehicle(nVehicle), db.Db()));
    ASSERT_TRUE(unit.AttachVehicle(db.Db(), 1.0f));
}

std::vector<int> RoundsOf(const CUnitWeaponArray& weapons)
{
    std::vector<int> rounds;
    for (int i = 0; i < weapons.GetSize(); ++i)
        rounds.push_back(weapons.GetAt(i)->m_nRounds);
    return rounds;
}

// The parts of a unit record, each through one tag writer so that the class
// indexes run on as the archive numbers them.
CScenarioBytes& Weapon(CTagWriter& tags, int rounds, int fire, int reload, int before)
{
    return tags.Object("CUnitWeapon").Word(rounds).Word(fire).Word(reload).Word(before);
}

// Damage, a one-node path at (1500, 2250.5) with a stop, two empty order
// sets, then the unit's 45 fields (side 1, vehicle nVehicle).
CScenarioBytes& Tail(CScenarioBytes& b, CTagWriter& tags, unsigned nVehicle)
{
    b.Word(0);  // damage
    b.Word(1);
    tags.Object("CNode").Word(1);
    tags.Object("CNOrdStop");
    b.Float(1500.0f).Float(2250.5f);
    b.Word(0).Word(0);  // order sets
    b.Float(0.0f).Word(0).Word(0).DWord(0).Str("Unit");
    b.Word(20).Word(0).Word(UNSET_WORD).Word(0).Word(15).Word(0).Word(0);                     // 6 to 12
    b.Word(0).Word(UNSET_WORD).Word(UNSET_WORD).Word(0).Word(UNSET_WORD).Word(0).Word(0);     // 13 to 19
    b.Float(-99.0f).Word(0).Word(0).Word(0).Word(UNSET_WORD).Word(0).Word(1).Word(nVehicle);  // 20 to 27
    b.Float(1500.0f).Float(2250.5f).Word(0).Word(1).Float(0.5f).Float(-99.0f);                // 28 to 33
    b.Word(UNSET_WORD).Word(UNSET_WORD).Word(UNSET_WORD).Word(0);                             // 34 to 37
    b.Float(-99.0f).Float(-99.0f).Float(-99.0f).Word(0).Word(UNSET_WORD).Word(0);             // 38 to 43
    return b.DWord(0).Float(0.0f);                                                            // 44, 45
}

// A turret (with the tank's two guns) holding nInside turrets, one in the
// other, the innermost carrying nothing.
CScenarioBytes& Turret(CScenarioBytes& b, CTagWriter& tags, int nInside)
{
    tags.Object("CUCapTurret");
    b.Word(2);
    Weapon(tags, 38, 2, 0, 1);
    Weapon(tags, 5800, 0, 3, 17);
    if (nInside > 0)
    {
        b.Word(1);
        Turret(b, tags, nInside - 1);
    }
    else
    {
        b.Word(0);
    }
    b.Word(0);  // its damage
    b.Float(0.25f).Word(UNSET_WORD).Word(UNSET_WORD).Word(UNSET_WORD).Word(0).Float(-99.0f);
    return b;
}

CScenarioBytes TankBytes(int nTurretsInside = 0)
{
    CScenarioBytes b;
    CTagWriter tags(b);
    b.Word(1);
    Weapon(tags, 870, 1, 0, 10);
    b.Word(1);
    Turret(b, tags, nTurretsInside);
    return Tail(b, tags, kTank);
}

CScenarioBytes CarrierBytes()
{
    CScenarioBytes b;
    CTagWriter tags(b);
    b.Word(2);
    Weapon(tags, 480, 0, 0, 3);
    Weapon(tags, 2000, 0, 0, 20);
    b.Word(1);
    tags.Object("CUCapPersonnelCarrier");
    b.Word(2);
    tags.Object("CCarriedUnit").Word(4).Word(0).Word(0);
    tags.Object("CCarriedUnit").Word(5).Word(1).Word(2);
    b.Word(0).Word(0).Word(1);                             // dismounting, mounting, open
    b.Word(0).Word(0).Word(3);                             // dismount, mount, ramp time left
    b.Word(UNSET_WORD).Word(UNSET_WORD).Word(UNSET_WORD);  // mounting unit
    b.Float(0.5f).Float(12.0f).Word(1);                    // place angle, step; dismount on contact
    return Tail(b, tags, kInfantryCarrier);
}

CScenarioBytes BatteryBytes()
{
    CScenarioBytes b;
    CTagWriter tags(b);
    b.Word(1);
    Weapon(tags, 1500, 0, 0, 20);
    b.Word(2);
    tags.Object("CUCapIndirectFire");
    b.Word(0);                                                    // no missions queued
    b.Word(1).Word(4).Word(0).Word(0).Word(0).Word(0);            // traversing 4 left, computing, loading
    b.Word(0).Word(0).Word(0).Word(0).Word(0).Word(0);            // shot, stage, report, size, count, value 1
    b.Word(0).Word(UNSET_WORD).Word(UNSET_WORD).Word(0).Word(0);  // unloading, values 2 and 3, flags
    b.Word(2).Word(kMortarHE).Word(37).Word(kMortarSmoke).Word(12);
    tags.Object("CUCapEmplace").Word(1).Word(0).Word(0).Word(0).Word(0).Word(0);
    return Tail(b, tags, kMortarCarrier);
}

// Reads the record, checks it writes back the same bytes, and binds it to
// its vehicle type in the demo database.
void ReadBackAndBind(CUnit& unit, const CScenarioBytes& b, CUnitTestDatabase& db)
{
    LoadFromBytes(unit, b.Get());
    EXPECT_EQ(StoreBytes(unit), b.Get());
    CString report;
    CVehicle* pVehicle = db.Vehicle(unit.m_nVehicle);
    ASSERT_NE(pVehicle, nullptr);
    EXPECT_FALSE(unit.m_pCapabilities->CheckAlignment(pVehicle, pVehicle->GetCapabilities(), db.Db(), report))
        << report.GetString();
    EXPECT_TRUE(unit.AttachVehicle(db.Db(), 1.0f));
}

// A capability that answers what it is told and counts what it is asked.
class CRecordingCap : public CUnitCapability
{
public:
    explicit CRecordingCap(BOOL bPathAnswer = TRUE, BOOL bHit = FALSE) : m_bPathAnswer(bPathAnswer), m_bHit(bHit) {}

    DWORD GetType() const override { return VCAP_SMOKER; }
    BOOL OnPathAssigned(float x, float y, CKDRDatabase*, CKDRGameMap*, int nPassOn) override
    {
        m_calls.push_back("path " + std::to_string(static_cast<int>(x)) + " " + std::to_string(static_cast<int>(y)) +
                          " " + std::to_string(nPassOn));
        return m_bPathAnswer;
    }
    int OnSideChanged(int nSide) override
    {
        m_calls.push_back("side " + std::to_string(nSide));
        return 1;
    }
    BOOL HitTest(int, int) override
    {
        m_calls.push_back("hit");
        return m_bHit;
    }

    BOOL m_bPathAnswer;
    BOOL m_bHit;
    std::vector<std::string> m_calls;
};
}  // namespace

TEST(UnitLayout, AUnitForEachDemoVehicleTypeHasItsWeaponsAndAlignedCapabilities)
{
    CUnitTestDatabase db;
    db.LoadDemo(true);
    const DWORD masks[kVehicleCount] = {
        VCAP_TURRET,
        VCAP_PERSONNEL_CARRIER,
        VCAP_DISMOUNT,
        VCAP_DISMOUNT,
        VCAP_INDIRECT_FIRE | VCAP_EMPLACE,
        VCAP_OBSERVER | VCAP_FDC,
        VCAP_IF_AMMO_CARRIER | VCAP_DF_AMMO_CARRIER,
        VCAP_ENGINEER,
        VCAP_SMOKER,
        VCAP_MINE_LAYER,
        VCAP_ROTARY_WING,
        // The enemy's twins of the tank, the carrier, the teams, the
        // mine layer and the mortar carrier.
        VCAP_TURRET,
        VCAP_PERSONNEL_CARRIER,
        VCAP_DISMOUNT,
        VCAP_DISMOUNT,
        VCAP_MINE_LAYER,
        VCAP_INDIRECT_FIRE | VCAP_EMPLACE,
    };
    for (int v = 0; v < kVehicleCount; ++v)
    {
        CUnit unit;
        BuildFor(unit, db, v);
        CVehicle* pVehicle = db.Vehicle(v);
        EXPECT_EQ(unit.m_pWeapons->GetSize(), pVehicle->GetChassisMounts()->GetSize()) << v;
        EXPECT_EQ(unit.m_pCapabilities->GetSize(), pVehicle->GetCapabilities()->GetSize()) << v;
        CString report;
        EXPECT_FALSE(unit.m_pCapabilities->CheckAlignment(pVehicle, pVehicle->GetCapabilities(), db.Db(), report))
            << v << report.GetString();
        EXPECT_EQ(unit.GetCapabilityMask(), masks[v]) << v;
        EXPECT_TRUE(unit.m_bAttached);
    }

    // The tank's turret carries the turret's own guns with full loads.
    CUnit tank;
    BuildFor(tank, db, kTank);
    EXPECT_EQ(RoundsOf(*tank.m_pWeapons), std::vector<int>({900}));
    auto* pTurret = dynamic_cast<CUCapTurret*>(tank.FindCapability(VCAP_TURRET));
    ASSERT_NE(pTurret, nullptr);
    EXPECT_EQ(RoundsOf(*pTurret->GetWeapons()), std::vector<int>({40, 6000}));
    EXPECT_EQ(tank.FindCapability(VCAP_OBSERVER), nullptr);
}

TEST(UnitLayout, ATankWithItsTurretReadsAndWritesBackByteForByte)
{
    CUnitTestDatabase db;
    db.LoadDemo(true);
    CUnit unit;
    ReadBackAndBind(unit, TankBytes(), db);
    EXPECT_EQ(RoundsOf(*unit.m_pWeapons), std::vector<int>({870}));
    auto* pTurret = dynamic_cast<CUCapTurret*>(unit.FindCapability(VCAP_TURRET));
    ASSERT_NE(pTurret, nullptr);
    EXPECT_EQ(RoundsOf(*pTurret->GetWeapons()), std::vector<int>({38, 5800}));
    EXPECT_EQ(pTurret->GetWeapons()->GetAt(1)->m_nRoundsBeforeReload, 17);
    EXPECT_FLOAT_EQ(pTurret->m_fDirection, 0.25f);
    EXPECT_EQ(unit.GetCapabilityMask(), static_cast<DWORD>(VCAP_TURRET));
    EXPECT_EQ(unit.m_nSide, 1);
    EXPECT_FLOAT_EQ(unit.m_fHeading, 0.5f);
}

TEST(UnitLayout, ACarrierKeepsTheTwoTeamsAboardInBoardingOrder)
{
    CUnitTestDatabase db;
    db.LoadDemo(true);
    CUnit unit;
    ReadBackAndBind(unit, CarrierBytes(), db);
    EXPECT_EQ(RoundsOf(*unit.m_pWeapons), std::vector<int>({480, 2000}));
    auto* pCarrier = dynamic_cast<CUCapPersonnelCarrier*>(unit.FindCapability(VCAP_PERSONNEL_CARRIER));
    ASSERT_NE(pCarrier, nullptr);
    ASSERT_EQ(pCarrier->m_pPassengers->GetSize(), 2);
    const CCarriedUnit* pFirst = pCarrier->m_pPassengers->GetAt(0);
    const CCarriedUnit* pSecond = pCarrier->m_pPassengers->GetAt(1);
    EXPECT_EQ(std::vector<int>({pFirst->m_nUnit, pFirst->m_nArray, pFirst->m_nKind, pSecond->m_nUnit, pSecond->m_nArray,
                                pSecond->m_nKind}),
              std::vector<int>({4, 0, 0, 5, 1, 2}));
    EXPECT_TRUE(pCarrier->m_bOpen);
    EXPECT_EQ(pCarrier->m_nRampLeft, 3);
    EXPECT_TRUE(pCarrier->m_bDismountOnContact);
}

TEST(UnitLayout, ABatteryReadsItsTwoMunitionsAndTakesItsVehiclesLoadWhenBound)
{
    CUnitTestDatabase db;
    db.LoadDemo(true);
    CUnit stored;
    LoadFromBytes(stored, BatteryBytes().Get());
    auto* pStored = dynamic_cast<CUCapIndirectFire*>(stored.FindCapability(VCAP_INDIRECT_FIRE));
    ASSERT_NE(pStored, nullptr);
    ASSERT_EQ(pStored->m_ammo.size(), 2u);
    EXPECT_EQ(std::vector<int>({pStored->m_ammo[0].m_nIndex, pStored->m_ammo[0].m_nNumber,
                                pStored->m_ammo[1].m_nIndex, pStored->m_ammo[1].m_nNumber}),
              std::vector<int>({kMortarHE, 37, kMortarSmoke, 12}));

    // Two munitions where the vehicle carries more: the check gives the
    // battery its vehicle's full load.
    CUnit unit;
    ReadBackAndBind(unit, BatteryBytes(), db);
    auto* pGuns = dynamic_cast<CUCapIndirectFire*>(unit.FindCapability(VCAP_INDIRECT_FIRE));
    ASSERT_NE(pGuns, nullptr);
    const auto* pFull = dynamic_cast<const CVCapIndirectFire*>(
        db.Vehicle(unit.m_nVehicle)->FindCapability(VCAP_INDIRECT_FIRE));
    ASSERT_NE(pFull, nullptr);
    ASSERT_EQ(pGuns->m_ammo.size(), pFull->m_ammo.size());
    EXPECT_EQ(pGuns->m_ammo[0].m_nNumber, pFull->m_ammo[0].m_nNumber);
    EXPECT_TRUE(pGuns->m_bTraversing);
    EXPECT_EQ(pGuns->m_nTraverseLeft, 4);
    auto* pEmplace = dynamic_cast<CUCapEmplace*>(unit.FindCapability(VCAP_EMPLACE));
    ASSERT_NE(pEmplace, nullptr);
    EXPECT_TRUE(pEmplace->m_bEmplaced);
    EXPECT_EQ(unit.GetCapabilityMask(), static_cast<DWORD>(VCAP_INDIRECT_FIRE | VCAP_EMPLACE));
}

TEST(UnitLayout, ARecordCutShortOrNestingTurretsTooDeepIsRefused)
{
    // Every prefix of a tank record, read as a unit file reads it: the
    // archive error, and the half-read unit with all it held is deleted
    // (the leak checker of the test build would see anything left).
    CScenarioBytes tagged;
    NewClass(tagged, "CUnit").Raw(TankBytes().Get());
    for (size_t n = 0; n < tagged.Size(); ++n)
    {
        std::vector<BYTE> cut(tagged.Get().begin(), tagged.Get().begin() + static_cast<std::ptrdiff_t>(n));
        CMemFile file(cut.data(), static_cast<UINT>(cut.size()));
        CArchive ar(&file, CArchive::load);
        CUnit* pUnit = nullptr;
        EXPECT_THROW(ar >> pUnit, CArchiveException) << n;
    }

    // Eight turrets deep (one in the hull, seven inside) still read; nine
    // are refused.
    CUnit deep;
    LoadFromBytes(deep, TankBytes(CUCapTurret::MAX_NESTING - 1).Get());
    EXPECT_EQ(StoreBytes(deep), TankBytes(CUCapTurret::MAX_NESTING - 1).Get());
    CUnit tooDeep;
    EXPECT_THROW(LoadFromBytes(tooDeep, TankBytes(CUCapTurret::MAX_NESTING).Get()), CArchiveException);
}

TEST(UnitLayout, TheUnitHandsItsMovesSidesAndHitsToEveryCapability)
{
    auto* pFirst = new CRecordingCap(FALSE);
    auto* pSecond = new CRecordingCap(TRUE);
    CUnit unit;
    unit.m_pCapabilities->Add(pFirst);
    unit.m_pCapabilities->Add(pSecond);

    // A refusal by one fails the move, but every capability hears of it;
    // a move of the position only tells none.
    EXPECT_FALSE(unit.AssignPath(30.0f, 40.0f, nullptr, nullptr, FALSE, 7));
    EXPECT_TRUE(unit.AssignPath(50.0f, 60.0f, nullptr, nullptr, TRUE, 8));
    unit.SetSide(2);
    const std::vector<std::string> expected = {"path 30 40 7", "side 2"};
    EXPECT_EQ(pFirst->m_calls, expected);
    EXPECT_EQ(pSecond->m_calls, expected);
    EXPECT_FLOAT_EQ(unit.m_fX, 50.0f);

    // Hits: never unattached; off the picture, the capabilities decide.
    CUnitTestDatabase db;
    auto* pWeapons = new CWeaponArray;
    pWeapons->Add(MakeWeapon("Gun", 5));
    auto* pVehicles = new CVehicleArray;
    pVehicles->Add(MakeVehicle("Plain", {0}, {}));
    db.Load(pWeapons, pVehicles, true);
    unit.m_nVehicle = 0;
    pFirst->m_calls.clear();
    EXPECT_FALSE(unit.HitTest(500, 500));
    EXPECT_TRUE(pFirst->m_calls.empty());
    // The vehicle type has no capabilities; these two are not bound to any.
    unit.AttachVehicle(db.Db(), 1.0f);
    ASSERT_TRUE(unit.m_bAttached);
    EXPECT_FALSE(unit.HitTest(500, 500));
    pSecond->m_bHit = TRUE;
    EXPECT_TRUE(unit.HitTest(500, 500));
    EXPECT_EQ(pFirst->m_calls, std::vector<std::string>({"hit", "hit"}));
}

TEST(UnitLayout, AnObserverOnATurretIsTheUnitsObserver)
{
    CUnitTestDatabase db;
    auto* pWeapons = new CWeaponArray;
    pWeapons->Add(MakeWeapon("Gun", 5));
    auto* pVehicles = new CVehicleArray;
    CVehicle* pVehicle = MakeVehicle("Scout", {0}, {});
    CVCapTurret* pTurret = MakeTurretWith({new CVCapObserver});
    pTurret->GetMounts()->Add(MakeMount(0, 30));
    pVehicle->GetCapabilities()->Add(pTurret);
    pVehicle->GetCapabilities()->Add(new CVCapSmoker);
    pVehicles->Add(pVehicle);
    db.Load(pWeapons, pVehicles, true);

    CUnit unit;
    BuildFor(unit, db, 0);
    EXPECT_EQ(unit.GetCapabilityMask(), static_cast<DWORD>(VCAP_TURRET | VCAP_OBSERVER | VCAP_SMOKER));
    auto* pObserver = dynamic_cast<CUCapObserver*>(unit.FindCapability(VCAP_OBSERVER));
    ASSERT_NE(pObserver, nullptr);
    auto* pUnitTurret = dynamic_cast<CUCapTurret*>(unit.FindCapability(VCAP_TURRET));
    ASSERT_NE(pUnitTurret, nullptr);
    EXPECT_EQ(pUnitTurret->GetSubCapabilities()->GetAt(0), pObserver);
    EXPECT_EQ(RoundsOf(*pUnitTurret->GetWeapons()), std::vector<int>({30}));
}
