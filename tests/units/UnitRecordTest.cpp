#include "UnitTestSupport.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "database/Damage.h"
#include "orders/NodeArray.h"
#include "orders/UnitOrderArray.h"
#include "platform/ui/Display.h"
#include "units/Unit.h"
#include "units/UnitCapability.h"
#include "units/UnitWeapon.h"

#include <cmath>
#include <numbers>
#include <string>

namespace
{
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

LONG StartTimeOf(const CNode& node)
{
    const auto* pStart = static_cast<const CNOrdStartTime*>(node.m_pOrders->FindOfType(NORD_START_TIME));
    return pStart != nullptr ? pStart->m_tsStart.GetTotalSeconds() : -1;
}

// The 45 fields that follow a unit's sub-objects, laid out by hand. The
// Sprint flag's word is given, so that a test can make it any value.
CScenarioBytes& AppendFields(CScenarioBytes& b, unsigned sprintWord = 1)
{
    b.Float(12.5f);         // 1 speed
    b.Word(sprintWord);     // 2 Sprint
    b.Word(0);              // 3 stored flag 1
    b.DWord(0x12345678);    // 4 stored value 1, 32 bits
    b.Str("Alpha 1");       // 5 name
    b.Word(20);             // 6 move delay
    b.Word(0);              // 7 Defilade
    b.Word(0xFF9D);         // 8 stored value 2 (-99)
    b.Word(7);              // 9 stored value 3
    b.Word(15);             // 10 defilade time
    b.Word(1);              // 11 stored flag 2
    b.Word(40000);          // 12 suppression, past a word's range
    b.Word(1);              // 13 Field of Fire
    b.Word(800);            // 14 arc end
    b.Word(6000);           // 15 arc start
    b.Word(0);              // 16 March Speed
    b.Word(150);            // 17 maximum range
    b.Word(1);              // 18 Max Range
    b.Word(0);              // 19 Hide On Contact
    b.Float(-99.0f);        // 20 march speed
    b.Word(0);              // 21 Bypass Obstacles
    b.Word(1);              // 22 Engage On Contact
    b.Word(1);              // 23 dug in
    b.Word(3);              // 24 dug position
    b.Word(0);              // 25 destroyed
    b.Word(1);              // 26 side
    b.Word(0);              // 27 vehicle
    b.Float(1500.0f);       // 28 x
    b.Float(2250.5f);       // 29 y
    b.Word(0);              // 30 Hold Fire
    b.Word(1);              // 31 Stop
    b.Float(1.25f);         // 32 heading
    b.Float(-99.0f);        // 33 stored float
    b.Word(4);              // 34 suppress unit
    b.Word(0);              // 35 its array
    b.Word(1);              // 36 its kind
    b.Word(1);              // 37 suppressing it
    b.Float(300.0f);        // 38 suppress y
    b.Float(200.0f);        // 39 suppress x
    b.Float(50.0f);         // 40 suppress radius
    b.Word(0);              // 41 Suppress
    b.Word(0xFF9D);         // 42 stored value 4 (-99)
    b.Word(1);              // 43 MOPP 4
    b.DWord(90);            // 44 MOPP time, seconds
    return b.Float(0.25f);  // 45 MOPP degradation
}

// A unit without weapons or capabilities, whose path is one node (at 1500,
// 2250.5, with a stop) and whose order sets are empty.
CScenarioBytes BareUnitBytes(unsigned sprintWord = 1)
{
    CScenarioBytes b;
    b.Word(0).Word(0).Word(0);  // weapons, capabilities, damage
    b.Word(1);                  // the path: one node
    NewClass(b, "CNode").Word(1);
    NewClass(b, "CNOrdStop");
    b.Float(1500.0f).Float(2250.5f);
    b.Word(0).Word(0);  // the order sets
    return AppendFields(b, sprintWord);
}

void ExpectFieldsOfTheFixture(const CUnit& u)
{
    EXPECT_FLOAT_EQ(u.m_fSpeed, 12.5f);
    EXPECT_EQ(u.m_nStoredValue1, 0x12345678);
    EXPECT_EQ(u.m_strName, "Alpha 1");
    const std::vector<int> ints = {u.m_bSprint,          u.m_bStoredFlag1,
                                   u.m_nMoveDelay,       u.m_bDefilade,
                                   u.m_nStoredValue2,    u.m_nStoredValue3,
                                   u.m_nDefiladeTime,    u.m_bStoredFlag2,
                                   u.m_nSuppression,     u.m_bFieldOfFire,
                                   u.m_nFieldOfFireTo,   u.m_nFieldOfFireFrom,
                                   u.m_bMarchSpeed,      u.m_nMaxRange,
                                   u.m_bMaxRange,        u.m_bHideOnContact,
                                   u.m_bBypassObstacles, u.m_bEngageOnContact,
                                   u.m_bDugIn,           u.m_nDugPosition,
                                   u.m_bDestroyed,       u.m_nSide,
                                   u.m_nVehicle,         u.m_bHoldFire,
                                   u.m_bStopped,         u.m_nSuppressUnit,
                                   u.m_nSuppressArray,   u.m_nSuppressKind,
                                   u.m_bSuppressUnit,    u.m_bSuppressArea,
                                   u.m_nStoredValue4,    u.m_bMOPP4};
    EXPECT_EQ(ints, (std::vector<int>{1, 0, 20, 0, -99, 7, 15, 1, -25536, 1, 800, 6000, 0, 150, 1,   0,
                                      0, 1, 1,  3, 0,   1, 0,  0, 1,      4, 0,   1,    1, 0,   -99, 1}));
    const std::vector<float> floats = {u.m_fMarchSpeed,     u.m_fX,         u.m_fY,         u.m_fHeading,
                                       u.m_fStoredValue,    u.m_fSuppressY, u.m_fSuppressX, u.m_fSuppressRadius,
                                       u.m_fMOPPDegradation};
    EXPECT_EQ(floats, (std::vector<float>{-99.0f, 1500.0f, 2250.5f, 1.25f, -99.0f, 300.0f, 200.0f, 50.0f, 0.25f}));
    EXPECT_EQ(u.m_timeMOPP.GetTotalSeconds(), 90);
}

// A unit attached to vehicle type 0 of a database with pieces.
struct AttachedUnit
{
    CUnitTestDatabase db;
    CUnit unit;
    AttachedUnit()
    {
        auto* pWeapons = new CWeaponArray;
        pWeapons->Add(MakeWeapon("Gun", 5));
        auto* pVehicles = new CVehicleArray;
        pVehicles->Add(MakeVehicle("Plain", {0}, {}));
        pVehicles->Add(MakeVehicle("Unpictured", {}, {}));
        pVehicles->GetAt(1)->m_strPiece = "No such piece";
        db.Load(pWeapons, pVehicles, true);
        unit.m_nVehicle = 0;
    }
};
}  // namespace

TEST(UnitRecord, ANewUnitHoldsItsOwnEmptyListsAndTheDefaults)
{
    CUnit u;
    ASSERT_NE(u.m_pWeapons, nullptr);
    ASSERT_NE(u.m_pCapabilities, nullptr);
    ASSERT_NE(u.m_pDamage, nullptr);
    ASSERT_NE(u.m_pOrders, nullptr);
    ASSERT_NE(u.m_pOrders2, nullptr);
    ASSERT_NE(u.m_pPath, nullptr);
    ASSERT_NE(u.m_pContacts, nullptr);
    ASSERT_NE(u.m_pSprite, nullptr);
    EXPECT_FLOAT_EQ(u.m_pSprite->GetScale(), 1.0f);
    EXPECT_EQ(u.m_pSprite2, nullptr);
    EXPECT_EQ(u.m_pSprite3, nullptr);
    EXPECT_EQ(u.m_pSprite4, nullptr);
    EXPECT_EQ(u.m_pPath->GetSize(), 0);
    EXPECT_TRUE(u.m_strName.IsEmpty());
    const std::vector<int> unset = {u.m_nStoredValue2,    u.m_nDugPosition, u.m_nStoredValue4, u.m_nFieldOfFireTo,
                                    u.m_nFieldOfFireFrom, u.m_nMaxRange,    u.m_nSuppressUnit, u.m_nSuppressArray,
                                    u.m_nSuppressKind,    u.m_nVehicle,     u.m_nShotUnit,     u.m_nShotArray,
                                    u.m_nShotKind};
    EXPECT_EQ(unset, std::vector<int>(unset.size(), kUnset));
    const std::vector<float> unsetFloats = {u.m_fStoredValue, u.m_fMarchSpeed, u.m_fSuppressRadius, u.m_fSuppressY,
                                            u.m_fSuppressX};
    EXPECT_EQ(unsetFloats, std::vector<float>(unsetFloats.size(), kUnsetFloat));
    EXPECT_FALSE(u.m_bAttached);
    EXPECT_FALSE(u.m_bStopped);
    EXPECT_EQ(u.m_nSide, 0);
    EXPECT_EQ(u.GetCapabilityMask(), 0u);
    EXPECT_EQ(u.FindCapability(VCAP_TURRET), nullptr);
}

TEST(UnitRecord, ARecordLaidOutByHandReadsAndWritesBackByteForByte)
{
    const CScenarioBytes b = BareUnitBytes();
    CUnit u;
    LoadFromBytes(u, b.Get());
    ExpectFieldsOfTheFixture(u);
    ASSERT_EQ(u.m_pPath->GetSize(), 1);
    EXPECT_TRUE(u.m_pPath->GetAt(0)->HasStop());
    EXPECT_EQ(StoreBytes(u), b.Get());

    // What is not stored stays as it was.
    u.m_fPrevX = 5.0f;
    u.m_nShotLineTime = 9;
    u.m_nWork2 = 3;
    EXPECT_EQ(StoreBytes(u), b.Get());
}

TEST(UnitRecord, AnyNonzeroFlagWordReadsAsSetAndAZeroWordLeavesTheFlag)
{
    CUnit u;
    LoadFromBytes(u, BareUnitBytes(5).Get());
    EXPECT_EQ(u.m_bSprint, 1);
    EXPECT_EQ(StoreBytes(u), BareUnitBytes(1).Get());

    CUnit held;
    held.m_bHoldFire = TRUE;  // the record's word for it is 0
    held.m_bSprint = TRUE;
    LoadFromBytes(held, BareUnitBytes(0).Get());
    EXPECT_EQ(held.m_bHoldFire, TRUE);
    EXPECT_EQ(held.m_bSprint, TRUE);
}

TEST(UnitRecord, ARecordCutShortAnywhereRaisesTheArchiveErrorAndLeaksNothing)
{
    // As a unit file holds it: class-tagged, so the archive deletes the
    // half-read unit before the error passes on.
    CScenarioBytes tagged;
    NewClass(tagged, "CUnit").Raw(BareUnitBytes().Get());
    for (size_t n = 0; n < tagged.Size(); ++n)
    {
        std::vector<BYTE> cut(tagged.Get().begin(), tagged.Get().begin() + static_cast<std::ptrdiff_t>(n));
        CMemFile file(cut.data(), static_cast<UINT>(cut.size()));
        CArchive ar(&file, CArchive::load);
        CUnit* pUnit = nullptr;
        EXPECT_THROW(ar >> pUnit, CArchiveException) << n;
        EXPECT_EQ(pUnit, nullptr);
    }
    CMemFile file(tagged.Get().data(), static_cast<UINT>(tagged.Size()));
    CArchive ar(&file, CArchive::load);
    CUnit* pUnit = nullptr;
    ar >> pUnit;
    ASSERT_NE(pUnit, nullptr);
    EXPECT_EQ(pUnit->m_strName, "Alpha 1");
    delete pUnit;
}

TEST(UnitRecord, AttachingMakesThePictureFromTheVehiclePieceKeyedOnMagenta)
{
    AttachedUnit t;
    CUnit& u = t.unit;
    u.m_nWork1 = 8;
    u.m_bCarrierOpenShown = u.m_bUnidentifiedShown = TRUE;
    u.m_nWork2 = 8;
    ASSERT_TRUE(u.AttachVehicle(t.db.Db(), 0.5f));
    EXPECT_TRUE(u.m_bAttached);
    ASSERT_NE(u.m_pSprite, nullptr);
    CFrameSurface* pSheet = t.db.Db()->GetVehiclePiece(0)->GetSurface();
    EXPECT_EQ(u.m_pSprite->GetSheet(), pSheet);
    EXPECT_FLOAT_EQ(u.m_pSprite->GetScale(), 0.5f);
    EXPECT_TRUE(pSheet->HasColorKey());
    EXPECT_EQ(pSheet->GetColorKey(), DDColorMatch(pSheet, SPRITE_COLOR_KEY));
    EXPECT_EQ(u.m_nPieceValue, 1);
    EXPECT_EQ(std::vector<int>({u.m_nWork1, u.m_nWork2, u.m_bCarrierOpenShown, u.m_bUnidentifiedShown}),
              std::vector<int>({0, 8, 0, 0}));
}

TEST(UnitRecord, AUnitThatCannotBeAttachedHasNoPictureAndIsNeverHit)
{
    AttachedUnit t;
    CUnit& u = t.unit;
    struct Case
    {
        const char* what;
        int vehicle;
        bool database;
    };
    const Case cases[] = {{"no database", 0, false},
                          {"no vehicle type", kUnset, true},
                          {"a vehicle type past the list", 2, true},
                          {"a piece the list lacks", 1, true}};
    for (const Case& c : cases)
    {
        ASSERT_TRUE(u.AttachVehicle(t.db.Db(), 1.0f));
        u.m_nVehicle = c.vehicle;
        EXPECT_FALSE(u.AttachVehicle(c.database ? t.db.Db() : nullptr, 1.0f)) << c.what;
        EXPECT_FALSE(u.m_bAttached) << c.what;
        EXPECT_EQ(u.m_pSprite, nullptr) << c.what;
        EXPECT_FALSE(u.HitTest(0, 0)) << c.what;
        u.PlaceSprite(nullptr);
        u.m_nVehicle = 0;
    }

    // A database without its pieces.
    CUnitTestDatabase bare;
    bare.LoadDemo();
    CUnit v;
    v.m_nVehicle = demo_equipment::kTank;
    EXPECT_FALSE(v.AttachVehicle(bare.Db(), 1.0f));
    EXPECT_EQ(v.m_pSprite, nullptr);
}

TEST(UnitRecord, ThePictureFrameFollowsTheHeadingFromFiveDegreesLeftOfNorth)
{
    constexpr double kDegree = std::numbers::pi / 180.0;
    constexpr double kTiny = 1e-6;
    struct Case
    {
        double heading;
        int frames;
        int frame;
    };
    // Nine frames: eight steps of 45 degrees, frame k centred on
    // k x 45 - 5 degrees.
    const Case cases[] = {
        {-CUnit::kFrameHeadingOffset, 9, 0},
        {-CUnit::kFrameHeadingOffset - kTiny, 9, 8},
        {-kTiny, 9, 0},
        {2.0 * std::numbers::pi - 5.0 * kDegree + kTiny, 9, 0},
        {17.4 * kDegree, 9, 0},
        {17.6 * kDegree, 9, 1},
        {std::numbers::pi, 9, 4},
        {3.0 * std::numbers::pi, 9, 4},
        {-3.0 * std::numbers::pi, 9, 4},
        {1.0, 1, 0},
        {1.0, 0, 0},
        {std::nan(""), 9, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CUnit::FrameForHeading(c.heading, c.frames), c.frame) << c.heading << " " << c.frames;
    EXPECT_EQ(CUnit::FrameForHeading(-kTiny, 37),
              CUnit::FrameForHeading(2.0 * std::numbers::pi - 5 * kDegree + kTiny, 37));
}

TEST(UnitRecord, PlacingThePictureCentresItOnTheUnitAndTurnsIt)
{
    AttachedUnit t;
    CUnit& u = t.unit;
    ASSERT_TRUE(u.AttachVehicle(t.db.Db(), 1.0f));
    SizedMap sized(1000, 1000);
    u.m_fX = 100.0f;
    u.m_fY = 50.0f;
    u.m_fHeading = static_cast<float>(std::numbers::pi / 2);
    u.PlaceSprite(&sized.map);
    // Map to pixel: (50, 474); the 8-pixel frame's corner 4 up and left.
    EXPECT_EQ(u.m_pSprite->GetX(), 46);
    EXPECT_EQ(u.m_pSprite->GetY(), 470);
    EXPECT_EQ(u.m_pSprite->GetFrame(), 2);

    // The frame's middle is hit, its magenta border not.
    EXPECT_TRUE(u.HitTest(50, 474));
    EXPECT_FALSE(u.HitTest(46, 470));
    u.m_bAttached = FALSE;
    EXPECT_FALSE(u.HitTest(50, 474));
    u.m_bAttached = TRUE;

    // While the second picture is shown, the first keeps its frame.
    u.m_bSprite2 = TRUE;
    u.m_fHeading = 0.0f;
    u.PlaceSprite(&sized.map);
    EXPECT_EQ(u.m_pSprite->GetFrame(), 2);
}

TEST(UnitRecord, AssigningAPathPutsTheUnitOnTheMapAndStartsThePathThere)
{
    SizedMap sized(1000, 800);
    struct Case
    {
        float x, y, wantX, wantY;
    };
    const Case cases[] = {{-5.0f, 20.0f, 0.0f, 20.0f},
                          {20.0f, -1.0f, 20.0f, 0.0f},
                          {1200.0f, 900.0f, 1000.0f, 800.0f},
                          {300.0f, 400.0f, 300.0f, 400.0f},
                          {1000.0f, 0.0f, 1000.0f, 0.0f}};
    for (const Case& c : cases)
    {
        CUnit u;
        u.m_nSuppression = 60;
        EXPECT_TRUE(u.AssignPath(c.x, c.y, nullptr, &sized.map, FALSE, 0));
        EXPECT_EQ(std::vector<float>({u.m_fX, u.m_fY, u.m_fPrevX, u.m_fPrevY}),
                  std::vector<float>({c.wantX, c.wantY, c.wantX, c.wantY}))
            << c.x << "," << c.y;
        ASSERT_EQ(u.m_pPath->GetSize(), 1);
        EXPECT_FLOAT_EQ(u.m_pPath->GetAt(0)->m_fX, c.wantX);
        EXPECT_FLOAT_EQ(u.m_pPath->GetAt(0)->m_fY, c.wantY);
        EXPECT_EQ(u.m_nSuppression, 0);
    }

    // Without a map only the negatives are raised.
    CUnit loose;
    loose.AssignPath(-3.0f, 5000.0f, nullptr, nullptr, TRUE, 0);
    EXPECT_FLOAT_EQ(loose.m_fX, 0.0f);
    EXPECT_FLOAT_EQ(loose.m_fY, 5000.0f);
    loose.AssignPath(std::nanf(""), 10.0f, nullptr, &sized.map, TRUE, 0);
    EXPECT_FLOAT_EQ(loose.m_fX, 0.0f);
}

TEST(UnitRecord, APathIsCopiedFromTheNewPointAndAPositionOnlyMoveKeepsIt)
{
    SizedMap sized(1000, 1000);
    CUnit u;
    u.m_pPath->AddNode(10.0f, 10.0f);
    u.m_pPath->AddNode(200.0f, 300.0f);
    u.m_pPath->AddNode(400.0f, 300.0f);
    u.m_pPath->GetAt(2)->AddOrder(NORD_STOP);
    u.m_nSuppression = 30;

    EXPECT_TRUE(u.AssignPath(50.0f, 60.0f, nullptr, &sized.map, TRUE, 0));
    EXPECT_FLOAT_EQ(u.m_fX, 50.0f);
    EXPECT_FLOAT_EQ(u.m_pPath->GetAt(0)->m_fX, 10.0f);
    EXPECT_EQ(u.m_nSuppression, 30);

    CNodeArray* pPath = u.m_pPath;
    EXPECT_TRUE(u.AssignPath(70.0f, 80.0f, nullptr, &sized.map, FALSE, 0));
    EXPECT_EQ(u.m_pPath, pPath);  // the same path object, anyone holding it stays right
    ASSERT_EQ(u.m_pPath->GetSize(), 3);
    EXPECT_FLOAT_EQ(u.m_pPath->GetAt(0)->m_fX, 70.0f);
    EXPECT_FLOAT_EQ(u.m_pPath->GetAt(0)->m_fY, 80.0f);
    EXPECT_FLOAT_EQ(u.m_pPath->GetAt(1)->m_fX, 200.0f);
    EXPECT_TRUE(u.m_pPath->GetAt(2)->HasStop());
    EXPECT_EQ(u.m_nSuppression, 0);
}

TEST(UnitRecord, TheSideDecidesWhetherStopsCarryStartTimes)
{
    // A one-node path made for a side: its stop has a start time unless
    // the side is 0.
    for (int side : {0, 1, 2})
    {
        CUnit u;
        u.m_nSide = side;
        u.AssignPath(10.0f, 10.0f, nullptr, nullptr, FALSE, 0);
        ASSERT_EQ(u.m_pPath->GetSize(), 1);
        EXPECT_TRUE(u.m_pPath->GetAt(0)->HasStop());
        EXPECT_EQ(StartTimeOf(*u.m_pPath->GetAt(0)) != -1, side != 0) << side;
    }

    // Changing sides gives the stops start times, or takes them away.
    CUnit u;
    u.m_pPath->AddNode(0.0f, 0.0f);
    u.m_pPath->AddNode(100.0f, 0.0f);
    u.m_pPath->GetAt(1)->AddOrder(NORD_STOP);
    u.SetSide(1);
    EXPECT_EQ(u.m_nSide, 1);
    EXPECT_NE(StartTimeOf(*u.m_pPath->GetAt(1)), -1);
    EXPECT_EQ(StartTimeOf(*u.m_pPath->GetAt(0)), -1);  // no stop, no start time
    u.SetSide(0);
    EXPECT_EQ(StartTimeOf(*u.m_pPath->GetAt(1)), -1);
    EXPECT_TRUE(u.m_pPath->GetAt(1)->HasStop());
}

TEST(UnitRecord, ClaimingADugPositionSetsItsFlagsAndClearsTheOtherValue)
{
    CUnit u;
    u.m_nStoredValue3 = 12;
    u.ClaimDugPosition(4);
    EXPECT_EQ(std::vector<int>({u.m_bDugIn, u.m_nDugPosition, u.m_bStoredFlag2, u.m_nStoredValue3}),
              std::vector<int>({TRUE, 4, TRUE, 0}));
}

TEST(UnitRecord, FireControlsAreSwitchedOffOneAtATimeOrBoth)
{
    CUnit u;
    u.m_bMaxRange = u.m_bFieldOfFire = TRUE;
    u.m_nMaxRange = 150;
    EXPECT_EQ(u.ClearFireControl(1), 1);
    EXPECT_FALSE(u.m_bMaxRange);
    EXPECT_TRUE(u.m_bFieldOfFire);
    EXPECT_EQ(u.m_nMaxRange, 150);
    EXPECT_EQ(u.ClearFireControl(0), 1);
    EXPECT_FALSE(u.m_bFieldOfFire);
    u.m_bMaxRange = u.m_bFieldOfFire = TRUE;
    EXPECT_EQ(u.DeleteFireControl(), 1);
    EXPECT_FALSE(u.m_bMaxRange || u.m_bFieldOfFire);
}
