// The orders toggled on one unit, the tests that enable their commands,
// their icons, the fire controls set from a map point, march speed and the
// suppress area; bad values change nothing.
#include "UnitMoveTestSupport.h"

#include "database/Piece.h"
#include "database/PieceArray.h"
#include "database/VehicleWeapon.h"
#include "units/UCapKinds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace movetest;

namespace
{
constexpr float kX = 1000.0f;
constexpr float kY = 1000.0f;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
}  // namespace

TEST(UnitOrderToggle, EngageAndHideOnContactExcludeEachOther)
{
    CMoveWorld w;
    auto pUnit = w.MakeUnit(kTank, kX, kY);
    struct Step
    {
        DWORD dwBit;
        BOOL bHide;
        BOOL bEngage;
    } steps[] = {
        {UNIT_ORDER_HIDE_ON_CONTACT, TRUE, FALSE},
        {UNIT_ORDER_ENGAGE_ON_CONTACT, FALSE, TRUE},
        {UNIT_ORDER_HIDE_ON_CONTACT, TRUE, FALSE},
        {UNIT_ORDER_HIDE_ON_CONTACT, FALSE, FALSE},  // a second toggle clears it
        {UNIT_ORDER_ENGAGE_ON_CONTACT, FALSE, TRUE},
        {UNIT_ORDER_ENGAGE_ON_CONTACT, FALSE, FALSE},
    };
    for (size_t i = 0; i < std::size(steps); ++i)
    {
        EXPECT_TRUE(pUnit->SetOrderState(steps[i].dwBit, w.Db(), FALSE, FALSE)) << "step " << i;
        EXPECT_EQ(pUnit->HasOrder(UNIT_ORDER_HIDE_ON_CONTACT), steps[i].bHide) << "step " << i;
        EXPECT_EQ(pUnit->HasOrder(UNIT_ORDER_ENGAGE_ON_CONTACT), steps[i].bEngage) << "step " << i;
    }
}

TEST(UnitOrderToggle, ClearingStopLiftsTheHaltAtOnceOnlyInTheDeploymentPhase)
{
    for (BOOL bDeployment : {TRUE, FALSE})
    {
        CMoveWorld w;
        auto pUnit = w.MakeUnit(kTank, kX, kY);
        DWORD dwTick = 0;
        if (!bDeployment)
        {
            dwTick = w.StartClock();
            pUnit->StartClock(dwTick, w.Db());
        }
        pUnit->m_nMoveDelay = 4;
        ASSERT_TRUE(pUnit->IsStoppedAtStopNode());
        pUnit->m_pPath->AddNode(kX, kY + 500.0f);

        EXPECT_TRUE(pUnit->SetOrderState(UNIT_ORDER_STOP, w.Db(), FALSE, FALSE));
        EXPECT_FALSE(pUnit->HasOrder(UNIT_ORDER_STOP));
        EXPECT_EQ(pUnit->m_bStopped, !bDeployment);
        EXPECT_EQ(pUnit->m_nMoveDelay, bDeployment ? 0 : 4);
        if (bDeployment)
            continue;
        // With its wait over, the unit moves on in its next step.
        pUnit->m_nMoveDelay = 0;
        w.Step(*pUnit, 1000);
        EXPECT_FALSE(pUnit->m_bStopped);
        EXPECT_NEAR(pUnit->m_fY - kY, 4.0f, 1e-3);
        // Set again, it halts.
        EXPECT_TRUE(pUnit->SetOrderState(UNIT_ORDER_STOP, w.Db(), FALSE, FALSE));
        EXPECT_TRUE(pUnit->IsStoppedAtStopNode());
        EXPECT_EQ(pUnit->m_nMoveDelay, kTimeToMove);
    }
}

TEST(UnitOrderToggle, DefiladeIsReachedAtOnceWhenSetInTheDeploymentPhase)
{
    for (BOOL bDeployment : {TRUE, FALSE})
    {
        CMoveWorld w;
        auto pUnit = w.MakeUnit(kTank, kX, kY);
        if (!bDeployment)
            pUnit->StartClock(w.StartClock(), w.Db());
        pUnit->m_nDefiladeTime = 77;
        EXPECT_TRUE(pUnit->SetOrderState(UNIT_ORDER_DEFILADE, w.Db(), FALSE, FALSE));
        EXPECT_TRUE(pUnit->HasOrder(UNIT_ORDER_DEFILADE));
        EXPECT_EQ(pUnit->m_nDefiladeTime, bDeployment ? 0 : kTimeToDefilade);
        // Clearing only clears the flag.
        EXPECT_TRUE(pUnit->SetOrderState(UNIT_ORDER_DEFILADE, w.Db(), FALSE, FALSE));
        EXPECT_FALSE(pUnit->HasOrder(UNIT_ORDER_DEFILADE));
        EXPECT_EQ(pUnit->m_nDefiladeTime, bDeployment ? 0 : kTimeToDefilade);
    }
}

TEST(UnitOrderToggle, CommandsEnabledByTheUnitsState)
{
    CMoveWorld w;
    auto pTank = w.MakeUnit(kTank, kX, kY);
    auto pJet = w.MakeUnit(kJet, kX, kY);
    auto pTeam = w.MakeUnit(kTeam, kX, kY);
    auto pSmoker = w.MakeUnit(kSmoker, kX, kY);
    auto pCarrier = w.MakeUnit(kCarrier, kX, kY);
    auto pMoving = w.MakeUnit(kTank, kX, kY);
    pMoving->ClearStop(w.Db(), TRUE);
    ASSERT_FALSE(pMoving->IsStoppedAtStopNode());

    struct Case
    {
        const char* what;
        CUnit* pUnit;
        DWORD dwBit;
        BOOL bEnabled;
    } cases[] = {
        {"defilade at a stop node", pTank.get(), UNIT_ORDER_DEFILADE, TRUE},
        {"defilade away from a stop node", pMoving.get(), UNIT_ORDER_DEFILADE, FALSE},
        {"defilade for fixed wing", pJet.get(), UNIT_ORDER_DEFILADE, FALSE},
        {"sprint for a tank", pTank.get(), UNIT_ORDER_SPRINT, TRUE},
        {"sprint for a team", pTeam.get(), UNIT_ORDER_SPRINT, FALSE},
        {"smoke without a smoker", pTank.get(), UNIT_ORDER_SMOKE, FALSE},
        {"smoke with releases left", pSmoker.get(), UNIT_ORDER_SMOKE, TRUE},
        {"dismount on contact, carrier", pCarrier.get(), UNIT_ORDER_DISMOUNT_ON_CONTACT, TRUE},
        {"dismount on contact, tank", pTank.get(), UNIT_ORDER_DISMOUNT_ON_CONTACT, FALSE},
        {"dismount from an empty carrier", pCarrier.get(), UNIT_ORDER_DISMOUNT, FALSE},
        {"do not emplace without emplacing", pTank.get(), UNIT_ORDER_DO_NOT_EMPLACE, FALSE},
        {"hold fire always", pTeam.get(), UNIT_ORDER_HOLD_FIRE, TRUE},
        {"stop for a jet in the deployment phase", pJet.get(), UNIT_ORDER_STOP, TRUE},
        {"march speed for a jet in the deployment phase", pJet.get(), UNIT_ORDER_MARCH_SPEED, TRUE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.pUnit->CanExecuteOrder(c.dwBit, w.Db()), c.bEnabled) << c.what;

    // Once the battle runs a jet off its station may neither halt nor
    // slow to a march speed.
    w.StartClock();
    auto* pWing = dynamic_cast<CUCapFixedWing*>(pJet->FindCapability(VCAP_FIXED_WING));
    ASSERT_NE(pWing, nullptr);
    pWing->m_fStationX = kX + 100.0f;
    pWing->m_fStationY = kY;
    EXPECT_FALSE(pJet->CanExecuteOrder(UNIT_ORDER_STOP, w.Db()));
    EXPECT_FALSE(pJet->CanExecuteOrder(UNIT_ORDER_MARCH_SPEED, w.Db()));
    pWing->m_fStationX = kX;  // on its station it may halt
    EXPECT_TRUE(pJet->CanExecuteOrder(UNIT_ORDER_STOP, w.Db()));
    // Told to halt away from its station, it flies on.
    pWing->m_fStationX = kX + 100.0f;
    pJet->Stop(w.Db());
    EXPECT_FALSE(pJet->m_bStopped);
    EXPECT_FALSE(pJet->HasOrder(UNIT_ORDER_STOP));
}

TEST(UnitOrderToggle, ASelectionWideClearNeverSetsABit)
{
    const DWORD bits[] = {UNIT_ORDER_HOLD_FIRE,         UNIT_ORDER_DEFILADE,          UNIT_ORDER_SPRINT,
                          UNIT_ORDER_SMOKE,             UNIT_ORDER_HIDE_ON_CONTACT,   UNIT_ORDER_ENGAGE_ON_CONTACT,
                          UNIT_ORDER_BYPASS_OBSTACLES,  UNIT_ORDER_DISMOUNT_ON_CONTACT, UNIT_ORDER_DO_NOT_EMPLACE};
    for (VehicleType type : {kTank, kSmoker, kCarrier, kEmplacer})
    {
        CMoveWorld w;
        auto pUnit = w.MakeUnit(type, kX, kY);
        for (DWORD dwBit : bits)
        {
            ASSERT_FALSE(pUnit->HasOrder(dwBit)) << type << " bit " << dwBit;
            EXPECT_TRUE(pUnit->SetOrderState(dwBit, w.Db(), FALSE, TRUE)) << type << " bit " << dwBit;
            EXPECT_FALSE(pUnit->HasOrder(dwBit)) << type << " bit " << dwBit;
            // And a selection-wide set never clears one.
            pUnit->SetOrderState(dwBit, w.Db(), FALSE, FALSE);
            const BOOL bHeld = pUnit->HasOrder(dwBit);
            pUnit->SetOrderState(dwBit, w.Db(), TRUE, FALSE);
            EXPECT_EQ(pUnit->HasOrder(dwBit), bHeld) << type << " bit " << dwBit;
            pUnit->SetOrderState(dwBit, w.Db(), FALSE, TRUE);
            EXPECT_FALSE(pUnit->HasOrder(dwBit)) << type << " bit " << dwBit;
        }
        // A unit that is moving is not stopped by a clear.
        pUnit->ClearStop(w.Db(), TRUE);
        pUnit->SetOrderState(UNIT_ORDER_STOP, w.Db(), FALSE, TRUE);
        EXPECT_FALSE(pUnit->m_bStopped);
    }
}

TEST(UnitOrderToggle, BitsWithTheirOwnSettersAndUnitsWithoutAVehicleAreNotHandled)
{
    CMoveWorld w;
    auto pUnit = w.MakeUnit(kTank, kX, kY);
    for (DWORD dwBit : {UNIT_ORDER_MAX_RANGE, UNIT_ORDER_FIELD_OF_FIRE, UNIT_ORDER_MARCH_SPEED, UNIT_ORDER_DISMOUNT,
                        UNIT_ORDER_SUPPRESS, static_cast<DWORD>(0x10), static_cast<DWORD>(0x40000)})
        EXPECT_FALSE(pUnit->SetOrderState(dwBit, w.Db(), FALSE, FALSE)) << dwBit;
    CUnit bare;
    EXPECT_FALSE(bare.SetOrderState(UNIT_ORDER_HOLD_FIRE, w.Db(), FALSE, FALSE));
    EXPECT_FALSE(bare.m_bHoldFire);
    EXPECT_FALSE(pUnit->SetOrderState(UNIT_ORDER_HOLD_FIRE, nullptr, FALSE, FALSE));
}

TEST(UnitOrderToggle, SmokeAndEmplacingAreToldToTheirCapabilities)
{
    CMoveWorld w;
    auto pSmoker = w.MakeUnit(kSmoker, kX, kY);
    EXPECT_TRUE(pSmoker->SetOrderState(UNIT_ORDER_SMOKE, w.Db(), FALSE, FALSE));
    EXPECT_TRUE(pSmoker->IsSmoking());
    EXPECT_TRUE(pSmoker->SetOrderState(UNIT_ORDER_SMOKE, w.Db(), FALSE, FALSE));
    EXPECT_FALSE(pSmoker->IsSmoking());

    // Dug in during the deployment phase, told not to emplace it comes out
    // at once; allowed again while at its stop node it digs in again.
    auto pGun = w.MakeUnit(kEmplacer, kX, kY);
    auto* pEmplace = dynamic_cast<CUCapEmplace*>(pGun->FindCapability(VCAP_EMPLACE));
    ASSERT_NE(pEmplace, nullptr);
    pEmplace->m_bEmplaced = TRUE;
    EXPECT_TRUE(pGun->SetOrderState(UNIT_ORDER_DO_NOT_EMPLACE, w.Db(), FALSE, FALSE));
    EXPECT_TRUE(pGun->HasOrder(UNIT_ORDER_DO_NOT_EMPLACE));
    EXPECT_FALSE(pGun->IsEmplaced(TRUE));
    EXPECT_TRUE(pGun->SetOrderState(UNIT_ORDER_DO_NOT_EMPLACE, w.Db(), FALSE, FALSE));
    EXPECT_TRUE(pGun->IsEmplaced(FALSE));
    // In battle the change takes its time.
    pGun->StartClock(w.StartClock(), w.Db());
    pEmplace->SetEmplaced(TRUE);
    ASSERT_FALSE(pGun->HasOrder(UNIT_ORDER_DO_NOT_EMPLACE));
    EXPECT_TRUE(pGun->SetOrderState(UNIT_ORDER_DO_NOT_EMPLACE, w.Db(), FALSE, FALSE));
    EXPECT_TRUE(pEmplace->m_bDisplacing);
    EXPECT_EQ(pEmplace->m_nDisplaceLeft, 20);
}

TEST(UnitFireControl, SetFromAMapPoint)
{
    struct Case
    {
        const char* what;
        float dx, dy;
        BOOL bMaxRange;
        BOOL bResult;
        int nMaxRange;  // tens of metres
        int nFrom, nTo;
    } cases[] = {
        {"max range 1000.4 m", 1000.4f, 0.0f, TRUE, TRUE, 100, kUnset, kUnset},
        {"max range 1000.6 m", 1000.6f, 0.0f, TRUE, FALSE, kUnset, kUnset, kUnset},
        {"max range 455 m", 0.0f, -455.0f, TRUE, TRUE, 46, kUnset, kUnset},
        {"max range on the unit", 0.0f, 0.0f, TRUE, FALSE, kUnset, kUnset, kUnset},
        {"field of fire 100 m due east", 100.0f, 0.0f, FALSE, TRUE, kUnset, 1199, 1999},
        {"field of fire 4 m due north", 0.0f, 4.0f, FALSE, TRUE, kUnset, 6384, 16},
        {"field of fire 2 km west: all round", -2000.0f, 0.0f, FALSE, TRUE, kUnset, 1602, 1600},
        {"field of fire on the unit", 0.0f, 0.0f, FALSE, FALSE, kUnset, kUnset, kUnset},
        {"a point that is not a number", kNaN, 0.0f, FALSE, FALSE, kUnset, kUnset, kUnset},
    };
    for (const Case& c : cases)
    {
        CMoveWorld w;
        auto pUnit = w.MakeUnit(kTank, kX, 1000.0f);
        EXPECT_EQ(pUnit->SetFireControlAtPoint(kX + c.dx, 1000.0f + c.dy, c.bMaxRange, w.Db()), c.bResult) << c.what;
        EXPECT_EQ(pUnit->m_nMaxRange, c.nMaxRange) << c.what;
        EXPECT_EQ(pUnit->m_bMaxRange, c.bResult && c.bMaxRange) << c.what;
        EXPECT_EQ(pUnit->m_nFieldOfFireFrom, c.nFrom) << c.what;
        EXPECT_EQ(pUnit->m_nFieldOfFireTo, c.nTo) << c.what;
        EXPECT_EQ(pUnit->m_bFieldOfFire, c.bResult && !c.bMaxRange) << c.what;
    }
}

TEST(UnitFireControl, AUnitWithoutALegFacesTheMiddleOfItsFieldOfFire)
{
    CMoveWorld w;
    auto pUnit = w.MakeUnit(kTank, kX, kY);
    ASSERT_TRUE(pUnit->SetFireControlAtPoint(kX + 100.0f, kY, FALSE, w.Db()));
    EXPECT_NEAR(pUnit->m_fHeading, 1599 * 0.0009817478, 1e-5);
    // An arc across north: 6000 to 400 faces north.
    pUnit->SetFireControls(FALSE, 0, TRUE, 6000, 400);
    pUnit->UpdateHeading(w.Db());
    EXPECT_NEAR(pUnit->m_fHeading, 0.0, 1e-6);
    // Off again, it faces north as well; the answer says it was on.
    EXPECT_EQ(pUnit->ClearFireControl(0, w.Db()), 1);
    EXPECT_EQ(pUnit->ClearFireControl(0, w.Db()), 0);
    EXPECT_EQ(pUnit->ClearFireControl(1, w.Db()), 0);
}

TEST(UnitMarchSpeedAndSuppress, BadValuesChangeNothing)
{
    CMoveWorld w;
    auto pUnit = w.MakeUnit(kTank, kX, kY);
    for (float fSpeed : {kSpeed + 0.5f, -1.0f, kNaN})
    {
        EXPECT_FALSE(pUnit->SetMarchSpeed(fSpeed, w.Db())) << fSpeed;
        EXPECT_FALSE(pUnit->m_bMarchSpeed) << fSpeed;
        EXPECT_FLOAT_EQ(pUnit->m_fMarchSpeed, kUnsetFloat) << fSpeed;
    }
    EXPECT_FALSE(pUnit->SetMarchSpeed(10.0f, nullptr));
    EXPECT_TRUE(pUnit->SetMarchSpeed(kSpeed, w.Db()));
    pUnit->ClearMarchSpeed();
    EXPECT_FALSE(pUnit->HasOrder(UNIT_ORDER_MARCH_SPEED));

    struct Case
    {
        const char* what;
        float x, y, r;
        BOOL bDatabase;
        BOOL bSet;
        float fRadius;
    } cases[] = {
        {"x = 0", 0.0f, 500.0f, 50.0f, TRUE, FALSE, kUnsetFloat},
        {"x not a number", kNaN, 500.0f, 50.0f, TRUE, FALSE, kUnsetFloat},
        {"y below 0", 500.0f, -3.0f, 50.0f, TRUE, FALSE, kUnsetFloat},
        {"no radius and no database", 500.0f, 500.0f, 0.0f, FALSE, FALSE, kUnsetFloat},
        {"a radius of its own", 500.0f, 600.0f, 50.0f, FALSE, TRUE, 50.0f},
        {"radius 0 takes the weapons' (20 x 0.1)", 500.0f, 600.0f, 0.0f, TRUE, TRUE, 2.0f},
        {"radius not a number takes the weapons'", 500.0f, 600.0f, kNaN, TRUE, TRUE, 2.0f},
    };
    for (const Case& c : cases)
    {
        auto pGunner = w.MakeUnit(kTank, kX, kY);
        pGunner->m_bSuppressUnit = TRUE;
        pGunner->m_nSuppressUnit = 3;
        pGunner->SetSuppressArea(c.bDatabase ? w.Db() : nullptr, c.x, c.y, c.r);
        EXPECT_EQ(pGunner->HasOrder(UNIT_ORDER_SUPPRESS), c.bSet) << c.what;
        EXPECT_FLOAT_EQ(pGunner->m_fSuppressRadius, c.fRadius) << c.what;
        EXPECT_EQ(pGunner->m_bSuppressUnit, !c.bSet) << c.what;
        if (c.bSet)
        {
            EXPECT_FLOAT_EQ(pGunner->m_fSuppressX, c.x) << c.what;
            EXPECT_EQ(pGunner->m_nSuppressUnit, kUnset) << c.what;
        }
    }
    // A vehicle without weapon mounts has no radius of its own: the area goes.
    auto pUnarmed = w.MakeUnit(kTank, kX, kY);
    pUnarmed->SetSuppressArea(nullptr, 500.0f, 500.0f, 40.0f);
    ASSERT_TRUE(pUnarmed->HasOrder(UNIT_ORDER_SUPPRESS));
    w.Vehicle(kTank)->GetChassisMounts()->RemoveAll();
    pUnarmed->SetSuppressArea(w.Db(), 500.0f, 500.0f, 0.0f);
    EXPECT_FALSE(pUnarmed->HasOrder(UNIT_ORDER_SUPPRESS));
    EXPECT_FLOAT_EQ(pUnarmed->m_fSuppressRadius, kUnsetFloat);
}

TEST(UnitOrderIcon, TheIconOfABitTheUnitHolds)
{
    CMoveWorld w;
    CTestShell& app = w.App();
    delete app.m_pSymbolCatalogue;
    app.m_pSymbolCatalogue = new CPieceArray;
    CStringArray members;
    for (const char* name : {"Other", "Hold Fire Red", "Bypass Obastacles Green"})
        members.Add(name);
    app.m_pSymbolCatalogue->Add(new CPiece("single.bmp", "Single", 1, 1, 1, 0));
    app.m_pSymbolCatalogue->Add(new CPieceList("markers.bmp", "Markers", 1, 3, 3, 0, &members));

    auto pUnit = w.MakeUnit(kTank, kX, kY);
    int nPosition = kUnset;
    EXPECT_EQ(pUnit->GetOrderIcon(UNIT_ORDER_HOLD_FIRE, &nPosition), -1);  // not held
    BOOL bShown = TRUE;
    pUnit->UpdateOrderIcon(UNIT_ORDER_HOLD_FIRE, bShown);
    EXPECT_FALSE(bShown);
    pUnit->m_bHoldFire = TRUE;
    EXPECT_EQ(pUnit->GetOrderIcon(UNIT_ORDER_HOLD_FIRE, &nPosition), 1);
    EXPECT_EQ(nPosition, 1);
    pUnit->UpdateOrderIcon(UNIT_ORDER_HOLD_FIRE, bShown);
    EXPECT_TRUE(bShown);
    // Regardless of any unit, as the hierarchy's symbols ask.
    EXPECT_EQ(CUnit::GetOrderIconIndex(UNIT_ORDER_BYPASS_OBSTACLES, &nPosition), 1);
    EXPECT_EQ(nPosition, 2);
    // A held bit whose icon the catalogue lacks, and bits outside the table.
    EXPECT_EQ(pUnit->GetOrderIcon(UNIT_ORDER_STOP, &nPosition), -1);
    EXPECT_EQ(CUnit::GetOrderIconIndex(UNIT_ORDER_DISMOUNT, &nPosition), -1);
    EXPECT_EQ(CUnit::GetOrderIconIndex(0x3, &nPosition), -1);
}
