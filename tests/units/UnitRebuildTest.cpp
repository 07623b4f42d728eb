// A unit built from its vehicle type, checked against the database it is
// loaded with, reset to its starting state, kept on the map, and the
// events it hands on to its capabilities.
#include "UnitCapTestSupport.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "database/Damage.h"
#include "orders/NodeArray.h"
#include "orders/UnitOrderArray.h"
#include "platform/ui/Command.h"
#include "platform/ui/Display.h"
#include "units/UCapKinds.h"
#include "units/UCapTurret.h"
#include "units/Unit.h"
#include "units/UnitCapability.h"
#include "units/UnitRefArray.h"
#include "units/UnitWeapon.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace
{
using namespace demo_equipment;

// A database of nVehicles plain vehicle types, each with one gun mount and
// its own piece, move time 10 + i and defilade time 20 + i.
void LoadPlainTypes(CUnitTestDatabase& db, int nVehicles, bool bPieces = true)
{
    auto* pWeapons = new CWeaponArray;
    pWeapons->Add(MakeWeapon("Gun", 5));
    auto* pVehicles = new CVehicleArray;
    for (int i = 0; i < nVehicles; ++i)
    {
        CVehicle* pVehicle = MakeVehicle("Type", {0}, {50});
        pVehicle->m_nTimeToMove = 10 + i;
        pVehicle->m_nTimeToDefilade = 20 + i;
        pVehicles->Add(pVehicle);
    }
    db.Load(pWeapons, pVehicles, bPieces);
}

// A capability that notes what the unit hands it, with the values.
class CListeningCap : public CUnitCapability
{
public:
    explicit CListeningCap(std::vector<std::string>& calls) : m_calls(calls) {}
    void OnHeadingChanged(CVehicle*, float fHeading, CKDRDatabase*, int nFrom, int nTo) override
    {
        Note("heading %.2f %d %d", fHeading, nFrom, nTo);
    }
    void ApplyViewSetting(float fScale) override { Note("scale %.2f", fScale); }
    void OnUnitDeleted(int nOwnSide, int nKind, int nArray, int nUnit) override
    {
        Note("deleted own %d kind %d array %d unit %d", nOwnSide, nKind, nArray, nUnit);
    }
    void OnObstacleDeleted(int nSide, int nIndex) override { Note("obstacle %d %d", nSide, nIndex); }
    void ResetMountState() override { Note("mount"); }
    void AddMenuItems(CMenu*) override { Note("menu"); }
    void Reset(float fHeading, int nValue1, int nValue2) override
    {
        Note("reset %.2f %d %d", fHeading, nValue1, nValue2);
    }

private:
    template <class... Args>
    void Note(const char* format, Args... args)
    {
        char text[96];
        std::snprintf(text, sizeof text, format, args...);
        m_calls.push_back(text);
    }
    std::vector<std::string>& m_calls;
};

// A game map whose elevation map is width x height metres.
struct SizedMap
{
    CKDRGameMap map;
    SizedMap(int width, int height)
    {
        auto* pElevation = new CElevationMap;
        pElevation->SetGeometry(width, height, 0, 0, 1);
        map.SetElevationMap(pElevation);
    }
};
}  // namespace

TEST(UnitRebuild, AUnitBuiltFromEachDemoTypeTakesItsWeaponsCapabilitiesAndTimes)
{
    CUnitTestDatabase db;
    db.LoadDemo(true);
    for (int nType = 0; nType < kVehicleCount; ++nType)
    {
        SCOPED_TRACE(kVehicles[nType].name);
        const CVehicle* pVehicle = db.Vehicle(nType);
        CUnit u(db.Db(), nType);
        EXPECT_EQ(u.m_nVehicle, nType);
        EXPECT_TRUE(u.m_strName.IsEmpty());
        EXPECT_EQ(u.m_pWeapons->GetSize(), pVehicle->GetChassisMounts()->GetSize());
        ASSERT_EQ(u.m_pCapabilities->GetSize(), pVehicle->GetCapabilities()->GetSize());
        for (int i = 0; i < u.m_pCapabilities->GetSize(); ++i)
            EXPECT_EQ(u.m_pCapabilities->GetAt(i)->GetType(), pVehicle->GetCapabilities()->GetAt(i)->GetType());
        EXPECT_EQ(u.m_nMoveDelay, kVehicles[nType].timeToMove);
        EXPECT_EQ(u.m_nDefiladeTime, kVehicles[nType].timeToDefilade);
        EXPECT_TRUE(u.m_bStopped);
        EXPECT_TRUE(u.m_bAttached);
        ASSERT_NE(u.m_pSprite, nullptr);
        EXPECT_NE(u.m_pSprite->GetSheet(), nullptr);
        EXPECT_EQ(u.m_pSprite2, nullptr);
        ASSERT_EQ(u.m_pPath->GetSize(), 1);
        EXPECT_TRUE(u.m_pPath->GetAt(0)->HasStop());
        EXPECT_FLOAT_EQ(u.m_pPath->GetAt(0)->m_fX, 0.0f);
        // The record's other values are the defaults.
        EXPECT_EQ(u.m_nSide, 0);
        EXPECT_EQ(u.m_nDugPosition, kUnset);
        EXPECT_FLOAT_EQ(u.m_fMarchSpeed, kUnsetFloat);
    }
}

TEST(UnitRebuild, WithoutPiecesOrOfNoTypeOnlyTheDefaultUnitIsMade)
{
    CUnitTestDatabase db;
    db.LoadDemo(false);
    CUnit withoutPieces(db.Db(), kTank);
    EXPECT_EQ(withoutPieces.m_nVehicle, kUnset);
    EXPECT_EQ(withoutPieces.m_pWeapons->GetSize(), 0);
    EXPECT_EQ(withoutPieces.m_pCapabilities->GetSize(), 0);
    EXPECT_FALSE(withoutPieces.m_bStopped);
    EXPECT_EQ(withoutPieces.m_pPath->GetSize(), 0);

    CUnit noDatabase(nullptr, 0);
    EXPECT_EQ(noDatabase.m_nVehicle, kUnset);

    // A type outside the list: the index is kept, nothing is built on it.
    CUnitTestDatabase pictured;
    pictured.LoadDemo(true);
    CUnit outside(pictured.Db(), 40);
    EXPECT_EQ(outside.m_nVehicle, 40);
    EXPECT_EQ(outside.m_pWeapons->GetSize(), 0);
    EXPECT_EQ(outside.m_pCapabilities->GetSize(), 0);
    EXPECT_FALSE(outside.m_bAttached);
    EXPECT_EQ(outside.m_pPath->GetSize(), 1);
}

TEST(UnitRebuild, ValidateVehicleReportsEveryWayAUnitDoesNotFit)
{
    struct Case
    {
        const char* what;
        int nTypes;  // -1: no vehicle list loaded
        int nIndex;
        BOOL bError;
        int nIndexAfter;
        const char* report;
    };
    const Case cases[] = {
        {"fits", 10, 3, FALSE, 3, ""},
        {"last type", 10, 9, FALSE, 9, ""},
        {"beyond the list", 10, 12, TRUE, 9, "the vehicle referenced in the unit is not defined"},
        {"just beyond", 10, 10, TRUE, 9, "the vehicle referenced in the unit is not defined"},
        {"no type", 10, kUnset, TRUE, 0, "the vehicle referenced in the unit is not defined"},
        {"empty list", 0, 3, TRUE, -1, "VEHICLE DATABASE EMPTY"},
        {"no list", -1, 3, TRUE, 3, "DATABASE NOT COMPLETE"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        CUnitTestDatabase db;
        if (c.nTypes >= 0)
            LoadPlainTypes(db, c.nTypes);
        CUnit u;
        u.m_nVehicle = c.nIndex;
        CString report = "Before: ";
        EXPECT_EQ(u.ValidateVehicle(db.Db(), report), c.bError);
        EXPECT_EQ(u.m_nVehicle, c.nIndexAfter);
        EXPECT_EQ(report, CString("Before: ") + c.report);
    }
}

TEST(UnitRebuild, AValidUnitComesOutStoppedWithItsTimesReloadedAndItsWeaponsFitted)
{
    CUnitTestDatabase db;
    LoadPlainTypes(db, 4);
    CUnit u;
    u.m_nVehicle = 2;
    u.m_nMoveDelay = 0;
    u.m_nDefiladeTime = 99;
    u.m_bStopped = FALSE;
    CString report;
    EXPECT_FALSE(u.ValidateVehicle(db.Db(), report));
    EXPECT_TRUE(report.IsEmpty());
    EXPECT_EQ(u.m_nMoveDelay, 12);
    EXPECT_EQ(u.m_nDefiladeTime, 22);
    EXPECT_TRUE(u.m_bStopped);
    EXPECT_TRUE(u.m_bAttached);
    // No weapon record before: one per mount now, full.
    ASSERT_EQ(u.m_pWeapons->GetSize(), 1);

    // As many records as mounts: their rounds stay.
    u.m_pWeapons->GetAt(0)->m_nRounds = 3;
    EXPECT_FALSE(u.ValidateVehicle(db.Db(), report));
    EXPECT_EQ(u.m_pWeapons->GetAt(0)->m_nRounds, 3);
}

TEST(UnitRebuild, CapabilitiesThatDoNotLineUpAreAnError)
{
    CUnitTestDatabase db;
    db.LoadDemo(true);
    CUnit u;
    u.m_nVehicle = kInfantryCarrier;  // its type has a troop compartment; the unit has none
    CString report;
    EXPECT_TRUE(u.ValidateVehicle(db.Db(), report));
    EXPECT_FALSE(report.IsEmpty());
    EXPECT_EQ(u.m_nVehicle, kInfantryCarrier);
}

TEST(UnitRebuild, ResetStateReturnsOrdersAndCombatStateButKeepsWhoAndWhereTheUnitIs)
{
    CUnitTestDatabase db;
    db.LoadDemo(true);
    CUnit u(db.Db(), kTank);
    u.m_strName = "Tank 11";
    u.m_bDestroyed = TRUE;
    u.SetSide(1);
    u.m_fX = 700.0f;
    u.m_fY = 1800.0f;
    u.m_pPath->AddNode(900.0f, 1800.0f);
    u.m_fSpeed = 12.0f;
    u.m_bSprint = TRUE;
    u.m_nSuppression = 80;
    u.m_bDugIn = TRUE;
    u.m_nDugPosition = 4;
    u.m_bFieldOfFire = TRUE;
    u.m_nFieldOfFireFrom = 100;
    u.m_nFieldOfFireTo = 900;
    u.m_bMaxRange = TRUE;
    u.m_nMaxRange = 150;
    u.m_bHoldFire = TRUE;
    u.m_bStopped = TRUE;
    u.m_fHeading = 2.0f;
    u.m_bMOPP4 = TRUE;
    u.m_timeMOPP = CTimeSpan(60);
    u.m_fMOPPDegradation = 0.5f;
    u.m_nShotUnit = 3;
    u.m_nShotArray = 0;
    u.m_nShotKind = 0;
    u.m_nShotLineTime = 4;
    u.m_bSuppressArea = TRUE;
    u.m_fSuppressX = 10.0f;
    u.m_nStoredValue2 = 5;
    u.m_pWeapons->GetAt(0)->m_nFireCountdown = 6;
    CUnitRef ref;
    u.m_pContacts->Add(ref);

    u.ResetState(db.Db(), 0, 0);
    EXPECT_EQ(u.m_strName, "Tank 11");
    EXPECT_TRUE(u.m_bDestroyed);
    EXPECT_EQ(u.m_nSide, 1);
    EXPECT_EQ(u.m_nVehicle, kTank);
    EXPECT_FLOAT_EQ(u.m_fX, 700.0f);
    EXPECT_FLOAT_EQ(u.m_fY, 1800.0f);

    const std::vector<int> ints = {u.m_bSprint,       u.m_nSuppression,     u.m_bDugIn,         u.m_nDugPosition,
                                   u.m_bFieldOfFire,  u.m_nFieldOfFireFrom, u.m_nFieldOfFireTo, u.m_bMaxRange,
                                   u.m_nMaxRange,     u.m_bHoldFire,        u.m_bStopped,       u.m_bMOPP4,
                                   u.m_nShotUnit,     u.m_nShotArray,       u.m_nShotKind,      u.m_nShotLineTime,
                                   u.m_bSuppressArea, u.m_nStoredValue2,    u.m_nMoveDelay,     u.m_nDefiladeTime};
    EXPECT_EQ(ints, (std::vector<int>{0, 0, 0, -99, 0, -99, -99, 0, -99, 0, 0, 0, -99, -99, -99, 0, 0, -99, 0, 0}));
    EXPECT_FLOAT_EQ(u.m_fSpeed, 0.0f);
    EXPECT_FLOAT_EQ(u.m_fHeading, 0.0f);
    EXPECT_FLOAT_EQ(u.m_fSuppressX, kUnsetFloat);
    EXPECT_FLOAT_EQ(u.m_fMOPPDegradation, 0.0f);
    EXPECT_EQ(u.m_timeMOPP.GetTotalSeconds(), 0);

    EXPECT_EQ(u.m_pContacts->GetSize(), 0);
    EXPECT_EQ(u.m_pWeapons->GetAt(0)->m_nFireCountdown, 0);
    // One node at the unit's own position, with the stop and the start
    // time of its side.
    ASSERT_EQ(u.m_pPath->GetSize(), 1);
    EXPECT_FLOAT_EQ(u.m_pPath->GetAt(0)->m_fX, 700.0f);
    EXPECT_TRUE(u.m_pPath->GetAt(0)->HasStop());
    EXPECT_NE(u.m_pPath->GetAt(0)->m_pOrders->FindOfType(NORD_START_TIME), nullptr);
}

TEST(UnitRebuild, ClampToMapBringsBackOnlyWhatLiesBeyondTheFarEdges)
{
    SizedMap sized(4000, 3000);
    struct Case
    {
        float x, y, xAfter, yAfter;
    };
    const Case cases[] = {
        {4500.0f, 3500.0f, 4000.0f, 3000.0f},
        {-20.0f, -5.0f, -20.0f, -5.0f},
        {1000.0f, 3000.5f, 1000.0f, 3000.0f},
        {4000.0f, 0.0f, 4000.0f, 0.0f},
    };
    for (const Case& c : cases)
    {
        CUnit u;
        u.m_fX = c.x;
        u.m_fY = c.y;
        u.ClampToMap(&sized.map);
        EXPECT_FLOAT_EQ(u.m_fX, c.xAfter);
        EXPECT_FLOAT_EQ(u.m_fY, c.yAfter);
        // Without a map of known size nothing moves.
        u.m_fX = c.x;
        u.ClampToMap(nullptr);
        EXPECT_FLOAT_EQ(u.m_fX, c.x);
    }
}

TEST(UnitRebuild, HeadingScaleMenuAndDeletionsReachEveryCapabilityWithTheirValues)
{
    CUnitTestDatabase db;
    LoadPlainTypes(db, 2);
    CUnit u(db.Db(), 1);
    u.SetSide(2);
    std::vector<std::string> calls;
    u.m_pCapabilities->Add(new CListeningCap(calls));
    u.m_pCapabilities->Add(nullptr);  // an empty slot is passed over
    u.m_pCapabilities->Add(new CListeningCap(calls));

    u.SetHeading(1.5f, db.Db());
    u.m_bFieldOfFire = TRUE;
    u.m_nFieldOfFireFrom = 6000;
    u.m_nFieldOfFireTo = 800;
    u.SetHeading(0.5f, db.Db());
    u.SetHeading(0.25f, nullptr);  // no vehicle type: the capabilities are not told
    EXPECT_FLOAT_EQ(u.m_fHeading, 0.25f);
    u.SetIconScale(0.5f);
    u.OnUnitDeleted(1, 3, 7);
    u.OnObstacleDeleted(1, 4);
    u.ResetMountStates();
    CMenu menu;
    u.AddMenuItems(&menu);
    u.ResetState(db.Db(), 11, 12);
    const std::vector<std::string> each = {"heading 1.50 -99 -99",
                                           "heading 0.50 6000 800",
                                           "scale 0.50",
                                           "deleted own 2 kind 1 array 3 unit 7",
                                           "obstacle 1 4",
                                           "mount",
                                           "menu",
                                           "reset 0.00 11 12"};
    std::vector<std::string> expected;
    for (const std::string& call : each)
        expected.insert(expected.end(), {call, call});
    // Both capabilities hear each event, in turn.
    EXPECT_EQ(calls, expected);
    EXPECT_FLOAT_EQ(u.m_pSprite->GetScale(), 0.5f);

    // Without a picture the scale goes nowhere.
    calls.clear();
    delete u.m_pSprite;
    u.m_pSprite = nullptr;
    u.SetIconScale(0.75f);
    EXPECT_TRUE(calls.empty());
}

TEST(UnitRebuild, TheEnemyColourFlagIsThatOfTheVehicleTypesPiece)
{
    CUnitTestDatabase db;
    LoadPlainTypes(db, 2);
    CUnit u(db.Db(), 0);
    // The test pieces all carry the flag; the demo's do not.
    EXPECT_TRUE(u.HasEnemyPiece(db.Db()));
    EXPECT_FALSE(u.HasEnemyPiece(nullptr));
    u.m_nVehicle = 7;
    EXPECT_FALSE(u.HasEnemyPiece(db.Db()));

    CUnitTestDatabase demo;
    demo.LoadDemo(true);
    CUnit tank(demo.Db(), kTank);
    EXPECT_FALSE(tank.HasEnemyPiece(demo.Db()));
    CUnit enemyTank(demo.Db(), kEnemyTank);
    EXPECT_TRUE(enemyTank.HasEnemyPiece(demo.Db()));
}
