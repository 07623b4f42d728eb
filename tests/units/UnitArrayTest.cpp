// The unit array's work over its units: rebuilding those that no longer fit
// the database, hit tests and selections, counting, the map clamp, the
// shot-line countdown, and the detection sweep with its pair list and the
// window message it serves after each observer.
#include "UnitCapTestSupport.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "hierarchy/TaskOrg.h"
#include "orders/NodeArray.h"
#include "platform/ui/Display.h"
#include "units/Unit.h"
#include "units/UnitArray.h"
#include "units/UnitRefArray.h"
#include "units/UnitWeapon.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
using namespace demo_equipment;

// A database of nVehicles plain vehicle types, each with one gun mount and
// its own piece (with pieces).
void LoadPlainTypes(CUnitTestDatabase& db, int nVehicles, bool bPieces = true)
{
    auto* pWeapons = new CWeaponArray;
    pWeapons->Add(MakeWeapon("Gun", 5));
    auto* pVehicles = new CVehicleArray;
    for (int i = 0; i < nVehicles; ++i)
    {
        CVehicle* pVehicle = MakeVehicle("Type", {0}, {50});
        pVehicle->m_nTimeToMove = 10 + i;
        pVehicles->Add(pVehicle);
    }
    db.Load(pWeapons, pVehicles, bPieces);
}

// A unit of an index that no longer fits, with a path of three nodes and
// the standing settings a rebuild keeps.
CUnit* MisfitUnit(int nVehicle)
{
    auto* pUnit = new CUnit;
    pUnit->m_strName = "Lost 7";
    pUnit->m_nVehicle = nVehicle;
    pUnit->m_fX = 1200.0f;
    pUnit->m_fY = 800.0f;
    pUnit->m_pPath->AddNode(1200.0f, 800.0f);
    pUnit->m_pPath->AddNode(1500.0f, 900.0f);
    pUnit->m_pPath->AddNode(1800.0f, 950.0f);
    pUnit->m_bHoldFire = TRUE;
    pUnit->m_bFieldOfFire = TRUE;
    pUnit->m_nFieldOfFireFrom = 5800;
    pUnit->m_nFieldOfFireTo = 600;
    pUnit->m_bMaxRange = TRUE;
    pUnit->m_nMaxRange = 120;
    pUnit->m_bMarchSpeed = TRUE;
    pUnit->m_fMarchSpeed = 8.0f;
    pUnit->m_bBypassObstacles = TRUE;
    pUnit->m_nSuppression = 70;  // not kept
    return pUnit;
}

// An attached unit whose picture (8 x 8 pixels, its frame's border
// magenta) has its corner at the screen point.
CUnit* PicturedUnit(CUnitTestDatabase& db, int x, int y, float fMapX = 0.0f, float fMapY = 0.0f)
{
    auto* pUnit = new CUnit(db.Db(), 0);
    pUnit->m_pSprite->SetPosition(x, y);
    pUnit->m_fX = fMapX;
    pUnit->m_fY = fMapY;
    return pUnit;
}

std::vector<int> UnitsOf(const CTaskOrgArray& list)
{
    std::vector<int> units;
    for (int i = 0; i < list.GetSize(); ++i)
        units.push_back(list.GetAt(i)->m_nUnit);
    return units;
}

CUnitRef Contact(int nUnit, int nSide, int nValue, int nRange)
{
    CUnitRef ref;
    ref.m_nUnit = nUnit;
    ref.m_nArray = 0;
    ref.m_nSide = nSide;
    ref.m_nTargetValue = nValue;
    ref.m_nRange = nRange;
    return ref;
}
}  // namespace

TEST(UnitArray, AUnitOfAnIndexBeyondTheListIsRebuiltOnTheLastTypeKeepingNamePlaceAndPath)
{
    CUnitTestDatabase db;
    LoadPlainTypes(db, 10);
    CUnitArray array;
    array.Add(new CUnit(db.Db(), 4));
    array.Add(nullptr);
    array.Add(MisfitUnit(12));
    array.GetAt(2)->SetSide(1);
    CUnit* pFitting = array.GetAt(0);

    CString report = "Report:\r\n";
    EXPECT_EQ(array.RebuildFromDatabase(db.Db(), report), 0);
    EXPECT_EQ(report, "Report:\r\nThe unit, Lost 7, was erased and rebuilt because the vehicle referenced in the unit "
                      "is not defined.\r\n");
    EXPECT_EQ(array.GetAt(0), pFitting);  // a unit that fits stays the same unit
    EXPECT_EQ(array.GetAt(1), nullptr);

    const CUnit* pRebuilt = array.GetAt(2);
    ASSERT_NE(pRebuilt, nullptr);
    EXPECT_EQ(pRebuilt->m_strName, "Lost 7");
    EXPECT_EQ(pRebuilt->m_nVehicle, 9);
    EXPECT_EQ(pRebuilt->m_nSide, 1);
    EXPECT_FLOAT_EQ(pRebuilt->m_fX, 1200.0f);
    EXPECT_FLOAT_EQ(pRebuilt->m_fY, 800.0f);
    ASSERT_EQ(pRebuilt->m_pPath->GetSize(), 3);
    EXPECT_FLOAT_EQ(pRebuilt->m_pPath->GetAt(2)->m_fX, 1800.0f);
    EXPECT_FLOAT_EQ(pRebuilt->m_pPath->GetAt(1)->m_fY, 900.0f);
    // The standing settings come along; the rest is built anew.
    EXPECT_TRUE(pRebuilt->m_bHoldFire);
    EXPECT_TRUE(pRebuilt->m_bFieldOfFire);
    EXPECT_EQ(pRebuilt->m_nFieldOfFireFrom, 5800);
    EXPECT_EQ(pRebuilt->m_nFieldOfFireTo, 600);
    EXPECT_TRUE(pRebuilt->m_bMaxRange);
    EXPECT_EQ(pRebuilt->m_nMaxRange, 120);
    EXPECT_TRUE(pRebuilt->m_bMarchSpeed);
    EXPECT_FLOAT_EQ(pRebuilt->m_fMarchSpeed, 8.0f);
    EXPECT_TRUE(pRebuilt->m_bBypassObstacles);
    EXPECT_FALSE(pRebuilt->m_bStopped);  // as the old unit was
    EXPECT_EQ(pRebuilt->m_nSuppression, 0);
    EXPECT_EQ(pRebuilt->m_nMoveDelay, 19);
    EXPECT_EQ(pRebuilt->m_pWeapons->GetSize(), 1);
    EXPECT_TRUE(pRebuilt->m_bAttached);

    // Rebuilt, it fits: a second pass reports nothing.
    CString again;
    array.RebuildFromDatabase(db.Db(), again);
    EXPECT_TRUE(again.IsEmpty());
}

TEST(UnitArray, EveryRebuildSaysWhyAndAnIncompleteDatabaseChangesNoUnit)
{
    struct Case
    {
        const char* what;
        int nTypes;  // -1: no vehicle list
        bool bPieces;
        int nIndexAfter;
        bool bRebuilt;
        const char* report;
    };
    const Case cases[] = {
        {"empty vehicle list", 0, true, -1, true,
         "The unit, Lost 7, was erased and rebuilt because VEHICLE DATABASE EMPTY.\r\n"},
        {"no pieces", 10, false, 12, false, "DATABASE NOT COMPLETE\r\n"},
        {"no lists", -1, false, 12, false, "DATABASE NOT COMPLETE\r\n"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        CUnitTestDatabase db;
        if (c.nTypes >= 0)
            LoadPlainTypes(db, c.nTypes, c.bPieces);
        CUnitArray array;
        CUnit* pUnit = MisfitUnit(12);
        array.Add(pUnit);
        CString report;
        array.RebuildFromDatabase(db.Db(), report);
        EXPECT_EQ(report, c.report);
        ASSERT_NE(array.GetAt(0), nullptr);
        EXPECT_EQ(array.GetAt(0)->m_nVehicle, c.nIndexAfter);
        if (!c.bRebuilt)
        {
            EXPECT_EQ(array.GetAt(0), pUnit);
            EXPECT_EQ(pUnit->m_nSuppression, 70);
        }
        EXPECT_EQ(array.GetAt(0)->m_strName, "Lost 7");
        EXPECT_EQ(array.GetAt(0)->m_pPath->GetSize(), 3);
    }
    CUnitArray array;
    array.Add(MisfitUnit(12));
    CString report;
    array.RebuildFromDatabase(nullptr, report);
    EXPECT_EQ(report, "DATABASE NOT COMPLETE\r\n");
}

TEST(UnitArray, HitTestAnswersTheTopmostUnitUnderThePoint)
{
    CUnitTestDatabase db;
    LoadPlainTypes(db, 1);
    CUnitArray array;
    array.Add(PicturedUnit(db, 100, 100));
    array.Add(PicturedUnit(db, 103, 103));  // overlaps the first, drawn over it
    array.Add(nullptr);
    array.Add(PicturedUnit(db, 200, 200));

    // Each picture is grey from 2 to 5 pixels in from its corner.
    EXPECT_EQ(array.HitTest(105, 105, FALSE), 1);
    EXPECT_EQ(array.HitTest(103, 103, FALSE), 0);       // the second's border there
    EXPECT_EQ(array.HitTest(100, 100, FALSE), kUnset);  // the first's border
    EXPECT_EQ(array.HitTest(204, 204, FALSE), 3);
    EXPECT_EQ(array.HitTest(50, 50, FALSE), kUnset);

    array.GetAt(1)->m_bDestroyed = TRUE;
    EXPECT_EQ(array.HitTest(105, 105, FALSE), 0);
    EXPECT_EQ(array.HitTest(105, 105, TRUE), 1);

    // The same point as a selection of every live unit under it.
    std::unique_ptr<CTaskOrgArray> pAt(array.GetUnitsAtPoint(105, 105, 4, 0));
    EXPECT_EQ(UnitsOf(*pAt), std::vector<int>{0});
    EXPECT_EQ(pAt->m_nId, 4);
    array.GetAt(1)->m_bDestroyed = FALSE;
    pAt.reset(array.GetUnitsAtPoint(105, 105, 4, 0));
    EXPECT_EQ(UnitsOf(*pAt), (std::vector<int>{0, 1}));

    // A click with no action in progress picks the topmost live unit; with
    // an order bit, the topmost unit that can carry it out (Defilade needs
    // a unit standing at its stop).
    EXPECT_EQ(array.HitTestForAction(105, 105, 0, db.Db()), 1);
    EXPECT_EQ(array.HitTestForAction(105, 105, 0x4, db.Db()), 1);
    array.GetAt(1)->m_bStopped = FALSE;
    EXPECT_EQ(array.HitTestForAction(105, 105, 0, db.Db()), 1);
    EXPECT_EQ(array.HitTestForAction(105, 105, 0x4, db.Db()), 0);
    array.GetAt(1)->m_bDestroyed = TRUE;
    EXPECT_EQ(array.HitTestForAction(105, 105, 0, db.Db()), 0);
    EXPECT_EQ(array.HitTestForAction(50, 50, 0, db.Db()), kUnset);
}

TEST(UnitArray, SelectInRectTakesTheLiveUnitsInsideWithCornersInEitherOrder)
{
    CUnitArray array;
    array.m_nSide = 1;
    const float places[][2] = {{100.0f, 100.0f}, {200.0f, 150.0f}, {300.0f, 300.0f}, {150.0f, 50.0f}, {120.0f, 120.0f}};
    for (const auto& p : places)
    {
        auto* pUnit = new CUnit;
        pUnit->m_fX = p[0];
        pUnit->m_fY = p[1];
        array.Add(pUnit);
    }
    array.Add(nullptr);
    array.GetAt(4)->m_bDestroyed = TRUE;

    // The rectangle 100..200 x 50..150, edges included.
    const float corners[][4] = {
        {100.0f, 50.0f, 200.0f, 150.0f},
        {200.0f, 150.0f, 100.0f, 50.0f},
        {200.0f, 50.0f, 100.0f, 150.0f},
        {100.0f, 150.0f, 200.0f, 50.0f},
    };
    for (const auto& c : corners)
    {
        std::unique_ptr<CTaskOrgArray> pList(array.SelectInRect(c[0], c[1], c[2], c[3], 0, 3));
        EXPECT_EQ(UnitsOf(*pList), (std::vector<int>{0, 1, 3}));
        EXPECT_EQ(pList->m_nId, 0);
        EXPECT_EQ(pList->m_nSide, 1);
        EXPECT_EQ(pList->GetAt(0)->m_nArray, 3);
    }
    std::unique_ptr<CTaskOrgArray> pNone(array.SelectInRect(400.0f, 400.0f, 500.0f, 500.0f, 2, 0));
    EXPECT_EQ(pNone->GetSize(), 0);
}

TEST(UnitArray, CountsClampAndShotLinesGoOverEveryUnit)
{
    CUnitArray array;
    const int vehicles[] = {0, 2, 2, 7, kUnset};
    for (int nVehicle : vehicles)
    {
        auto* pUnit = new CUnit;
        pUnit->m_nVehicle = nVehicle;
        array.Add(pUnit);
    }
    array.Add(nullptr);
    array.GetAt(1)->m_bDestroyed = TRUE;

    int nAlive = 1;
    int nTotal = 2;
    int perType[3] = {0, 0, 0};
    array.CountUnits(nAlive, nTotal, perType, 3);
    EXPECT_EQ(nAlive, 5);
    EXPECT_EQ(nTotal, 6);
    EXPECT_EQ(std::vector<int>(perType, perType + 3), (std::vector<int>{1, 0, 1}));

    auto* pElevation = new CElevationMap;
    pElevation->SetGeometry(1000, 500, 0, 0, 1);
    CKDRGameMap map;
    map.SetElevationMap(pElevation);
    array.GetAt(0)->m_fX = 1200.0f;
    array.GetAt(0)->m_fY = -30.0f;
    array.GetAt(2)->m_fY = 700.0f;
    array.ClampToMap(&map);
    EXPECT_FLOAT_EQ(array.GetAt(0)->m_fX, 1000.0f);
    EXPECT_FLOAT_EQ(array.GetAt(0)->m_fY, -30.0f);
    EXPECT_FLOAT_EQ(array.GetAt(2)->m_fY, 500.0f);

    // A live shot line counts down; at 0 its target goes.
    array.GetAt(3)->m_nShotUnit = 4;
    array.GetAt(3)->m_nShotArray = 0;
    array.GetAt(3)->m_nShotKind = 1;
    array.GetAt(3)->m_nShotLineTime = 2;
    array.GetAt(4)->m_nShotLineTime = 5;  // no target: no count
    array.CountDownShotLines();
    EXPECT_EQ(array.GetAt(3)->m_nShotUnit, 4);
    EXPECT_EQ(array.GetAt(3)->m_nShotLineTime, 1);
    array.CountDownShotLines();
    EXPECT_EQ(array.GetAt(3)->m_nShotUnit, kUnset);
    EXPECT_EQ(array.GetAt(3)->m_nShotArray, kUnset);
    EXPECT_EQ(array.GetAt(3)->m_nShotKind, kUnset);
    EXPECT_EQ(array.GetAt(4)->m_nShotLineTime, 5);

    // The side reaches every unit.
    array.SetSide(2);
    EXPECT_EQ(array.m_nSide, 2);
    EXPECT_EQ(array.GetAt(4)->m_nSide, 2);
}

TEST(UnitArray, MostlyPicturedMeansMoreThanHalfOfTheUnitsHaveALoadedPiece)
{
    CUnitTestDatabase db;
    LoadPlainTypes(db, 2);
    struct Case
    {
        std::vector<int> vehicles;
        BOOL bMostly;
    };
    const Case cases[] = {
        {{}, FALSE}, {{0}, TRUE}, {{0, 9}, FALSE}, {{0, 1, 9}, TRUE}, {{9, kUnset, 1}, FALSE},
    };
    for (const Case& c : cases)
    {
        CUnitArray array;
        array.Add(nullptr);  // empty slots do not count
        for (int nVehicle : c.vehicles)
        {
            auto* pUnit = new CUnit;
            pUnit->m_nVehicle = nVehicle;
            array.Add(pUnit);
        }
        EXPECT_EQ(array.IsMostlyPictured(db.Db()), c.bMostly) << c.vehicles.size();
        EXPECT_FALSE(array.IsMostlyPictured(nullptr));
    }
}

TEST(UnitArray, DetectionMergesTheTargetKindsContactsAndServesAMessagePerObserver)
{
    CUnitTestDatabase db;
    CTestShell& app = db.App().App();
    CUnitArray observers;
    observers.Add(new CUnit);
    observers.Add(nullptr);
    observers.Add(new CUnit);
    CUnitArray targets;
    targets.Add(new CUnit);
    // What each observer has seen: contacts of kind 1 and of kind 2.
    observers.GetAt(0)->m_pContacts->Add(Contact(3, 1, 5, 300));
    observers.GetAt(0)->m_pContacts->Add(Contact(4, 2, 9, 100));
    observers.GetAt(2)->m_pContacts->Add(Contact(5, 1, 9, 800));
    observers.GetAt(2)->m_pContacts->Add(Contact(3, 1, 5, 100));  // the same unit, nearer

    int nServed = 0;
    for (int i = 0; i < 5; ++i)
        app.PostWork(&app, [&] { ++nServed; });

    CUnitRefArray pairs;
    observers.DetectAgainst(0, &targets, &pairs, nullptr, db.Db(), nullptr, 1.0f, 1);
    EXPECT_EQ(nServed, 0);  // the clock is stopped
    ASSERT_EQ(pairs.GetSize(), 2);
    EXPECT_EQ(pairs.GetAt(0)->m_nUnit, 5);
    EXPECT_EQ(pairs.GetAt(1)->m_nUnit, 3);
    EXPECT_EQ(pairs.GetAt(1)->m_nRange, 100);

    app.StartClock();
    CUnitRefArray pairs2;
    observers.DetectAgainst(0, &targets, &pairs2, nullptr, db.Db(), nullptr, 1.0f, 2);
    app.StopClock();
    EXPECT_EQ(nServed, 2);  // one for each observer, none for the empty slot
    ASSERT_EQ(pairs2.GetSize(), 1);
    EXPECT_EQ(pairs2.GetAt(0)->m_nUnit, 4);
    app.CancelPosted(&app);

    // The contact lists start again empty.
    observers.ResetContacts();
    EXPECT_EQ(observers.GetAt(0)->m_pContacts->GetSize(), 0);
    EXPECT_EQ(observers.GetAt(2)->m_pContacts->GetSize(), 0);
}

TEST(UnitArray, RouteAndStepsOfTheLoopsAskOnlyForUnitsThatExist)
{
    CUnitTestDatabase db;
    LoadPlainTypes(db, 1);
    CUnitArray array;
    array.Add(new CUnit(db.Db(), 0));
    array.Add(nullptr);
    EXPECT_TRUE(array.AssignRoute(0, nullptr, db.Db()));
    EXPECT_FALSE(array.AssignRoute(1, nullptr, db.Db()));
    EXPECT_FALSE(array.AssignRoute(2, nullptr, db.Db()));
    EXPECT_FALSE(array.AssignRoute(-1, nullptr, db.Db()));

    array.PrepareUnits(4321, nullptr, db.Db());
    EXPECT_EQ(array.GetAt(0)->m_moveLastTick, 4321);
    EXPECT_EQ(array.GetAt(0)->m_fireLastTick, 4321);
    EXPECT_EQ(array.UpdateHeadings(db.Db()), 1);

    array.SetSpriteValue(0.75f);
    EXPECT_FLOAT_EQ(array.GetAt(0)->m_pSprite->GetScale(), 0.75f);
    // Reattached at scale 1.
    array.AttachVehicles(db.Db());
    EXPECT_TRUE(array.GetAt(0)->m_bAttached);
    EXPECT_FLOAT_EQ(array.GetAt(0)->m_pSprite->GetScale(), 1.0f);
}
