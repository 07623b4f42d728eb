// Dug positions: the file laid out by hand, picking, selection, dragging,
// occupation by the units standing on them, the nearest-position search and
// the Hole Properties dialog.
#include "ObstacleTestSupport.h"

#include "battlefield/Hole.h"
#include "battlefield/HoleArray.h"
#include "battlefield/HoleDlg.h"
#include "hierarchy/TaskOrg.h"
#include "orders/NodeArray.h"
#include "support/ScriptedUi.h"
#include "units/UCapKinds.h"
#include "units/UnitArray.h"
#include "units/UnitCapability.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

using namespace bftest;
using namespace obstest;

namespace
{
constexpr float kPi = 3.14159265f;

CHole* MakeHole(float x, float y, int kind, float facing = 0.0f)
{
    auto* pHole = new CHole;
    pHole->m_fX = x;
    pHole->m_fY = y;
    pHole->m_nKind = kind;
    pHole->m_fFacing = facing;
    return pHole;
}

// A unit at the point, halted at its path's stop node as a stop order leaves
// it; a dismounted team, an aircraft or a vehicle.
enum class Body
{
    Vehicle,
    Team,
    Aircraft
};
CUnit* MakeUnit(float x, float y, Body body = Body::Vehicle, BOOL stopped = TRUE)
{
    auto* pUnit = new CUnit;
    pUnit->m_fX = x;
    pUnit->m_fY = y;
    pUnit->m_bStopped = stopped;
    pUnit->m_pPath->AddNode(x, y);
    pUnit->m_pPath->GetAt(0)->AddOrder(1);
    if (body == Body::Team)
        pUnit->m_pCapabilities->Add(new CUCapDismount);
    else if (body == Body::Aircraft)
        pUnit->m_pCapabilities->Add(new CUCapFixedWing);
    return pUnit;
}

// The first CHole, then the second by its class's back reference.
Bytes TwoHoleFile()
{
    Bytes file;
    file.w16(2);
    file.newClass("CHole");
    file.f32(120.5f).f32(80.0f).w16(2).f32(1.5f);
    file.w16(7).w16(0).w16(0xFFFF).w16(0xFFFF).w16(0x1234).w16(0x5678);  // kept: 7, -1, 0x56781234
    file.w16(0x8001);
    file.f32(30.0f).f32(40.0f).w16(1).f32(-0.5f);
    file.w16(0).w16(0).w16(0).w16(0).w16(0).w16(0);
    file.str("Test.fho");
    return file;
}
}  // namespace

TEST(HoleFiles, AFileLaidOutByHandIsReadAndWrittenBackByteForByte)
{
    const Bytes file = TwoHoleFile();
    CHoleArray array;
    LoadFromBytes(array, file.data());
    ASSERT_EQ(array.GetSize(), 2);
    EXPECT_EQ(array.m_strName, "Test.fho");
    const CHole* pFirst = array.GetAt(0);
    EXPECT_EQ(pFirst->m_fX, 120.5f);
    EXPECT_EQ(pFirst->m_nKind, CHole::kVehicle);
    EXPECT_EQ(pFirst->m_fFacing, 1.5f);
    EXPECT_EQ(pFirst->m_adwKept[0], 7u);
    EXPECT_EQ(pFirst->m_adwKept[1], 0xFFFFFFFFu);
    EXPECT_EQ(pFirst->m_adwKept[2], 0x56781234u);
    EXPECT_EQ(pFirst->m_nOccupant, kUnset);
    EXPECT_EQ(pFirst->m_pCapabilities->GetSize(), 0);
    EXPECT_EQ(array.GetAt(1)->m_nKind, CHole::kDismount);
    EXPECT_EQ(StoreToBytes(array), file.data());

    // A copy keeps every saved value and writes the same bytes.
    CHoleArray copy(array);
    EXPECT_EQ(StoreToBytes(copy), file.data());
}

TEST(HoleFiles, ShortOrWildFilesAreRefused)
{
    const std::vector<BYTE> good = TwoHoleFile().data();
    for (size_t cut : {size_t{1}, size_t{10}, size_t{20}, good.size() - 1})
    {
        CHoleArray array;
        EXPECT_THROW(LoadFromBytes(array, std::vector<BYTE>(good.begin(), good.begin() + cut)), CArchiveException)
            << cut;
    }
    // A place or facing that is no number, or another class where a
    // position belongs.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float wild[][3] = {{nan, 0, 0}, {0, inf, 0}, {0, 0, nan}, {0, 0, -inf}};
    for (const auto& values : wild)
    {
        Bytes file;
        file.w16(1).newClass("CHole").f32(values[0]).f32(values[1]).w16(1).f32(values[2]);
        file.w16(0).w16(0).w16(0).w16(0).w16(0).w16(0).str("Bad.fho");
        CHoleArray array;
        EXPECT_THROW(LoadFromBytes(array, file.data()), CArchiveException);
    }
    Bytes other;
    other.w16(1).newClass("CBreach").f32(0).f32(0).f32(0).f32(0).f32(0).f32(0).w16(0).str("Bad.fho");
    CHoleArray array;
    EXPECT_THROW(LoadFromBytes(array, other.data()), CArchiveException);
}

TEST(HoleFiles, ALoadedArrayLiesOnTheMapAndAMissingFileIsAskedFor)
{
    SmallFolder folder;
    Scene scene(400, 300, false);
    CHoleArray written;
    written.Add(MakeHole(-50, 150, 1));
    written.Add(MakeHole(900, 900, 2));
    folder.Write("edge.fho", StoreToBytes(written));

    CHoleArray array;
    ASSERT_TRUE(array.Load("edge.fho", &scene.map, folder.Path(), 0));
    EXPECT_EQ(array.m_strName, "edge.fho");
    EXPECT_EQ(array.GetAt(0)->m_fX, 0.0f);
    EXPECT_EQ(array.GetAt(0)->m_fY, 150.0f);
    EXPECT_EQ(array.GetAt(1)->m_fX, 400.0f);
    EXPECT_EQ(array.GetAt(1)->m_fY, 300.0f);

    // Another file is offered as "*.hoa"; the one chosen is the name kept.
    ScopedScriptedUi ui;
    ui->ExpectFileDialog(TRUE, folder.Path() + "/edge.fho");
    CHoleArray chosen;
    ASSERT_TRUE(chosen.Load("gone.fho", &scene.map, folder.Path(), 0));
    EXPECT_EQ(ui->GetShown().back().file.defaultExt, "hoa");
    EXPECT_EQ(ui->GetShown().back().file.fileName, "*.hoa");
    EXPECT_EQ(chosen.GetSize(), 2);
    EXPECT_EQ(chosen.m_strName, folder.Path() + "/edge.fho");
    ui->ExpectFileDialog(TRUE, "");
    CHoleArray cancelled;
    EXPECT_FALSE(cancelled.Load("gone.fho", &scene.map, folder.Path(), 0));
}

TEST(Holes, PickingSelectionAndDraggingKeepToTheMap)
{
    Scene scene(400, 400, true);
    int limit = 0;
    scene.map.ChangeZoom(1, &limit);
    ASSERT_FLOAT_EQ(scene.map.GetZoom(), 2.0f);
    CHoleArray array;
    array.Add(MakeHole(100, 100, 2));
    array.Add(MakeHole(300, 390, 1));
    // At zoom 2 the tolerance is 6.5 m on each axis, differences truncated.
    const struct
    {
        float x, y;
        int expected;
    } picks[] = {{106.0f, 100.0f, 0}, {106.9f, 93.1f, 0}, {107.0f, 100.0f, kUnset}, {100.0f, 93.0f, kUnset}};
    for (const auto& pick : picks)
        EXPECT_EQ(array.FindHoleAtViewPoint(pick.x, pick.y, &scene.map), pick.expected) << pick.x << "," << pick.y;

    // Corners in either order, bounds included.
    std::unique_ptr<CTaskOrgArray> pBoth(array.SelectHolesInRect(400, 390, 100, 0));
    ASSERT_EQ(pBoth->GetSize(), 2);
    EXPECT_EQ(pBoth->GetAt(1)->m_nUnit, 1);
    std::unique_ptr<CTaskOrgArray> pNone(array.SelectHolesInRect(0, 0, 99, 99));
    EXPECT_EQ(pNone->GetSize(), 0);

    // Dragged past the edges, the positions stay on them.
    array.MoveSelected(pBoth.get(), 0, 0, 150, 50, &scene.map);
    EXPECT_EQ(array.GetAt(0)->m_fX, 250.0f);
    EXPECT_EQ(array.GetAt(1)->m_fX, 400.0f);
    EXPECT_EQ(array.GetAt(1)->m_fY, 400.0f);
    array.GetAt(0)->SetPosition(-5.0f, std::numeric_limits<float>::quiet_NaN(), &scene.map);
    EXPECT_EQ(array.GetAt(0)->m_fX, 0.0f);
    EXPECT_EQ(array.GetAt(0)->m_fY, 0.0f);
}

TEST(Holes, StoppedUnitsOfTheFittingKindWithin8MetresOccupy)
{
    const struct
    {
        const char* what;
        float dx, dy;
        Body body;
        BOOL stopped;
        int kind;
        bool occupies;
    } cases[] = {
        {"7.9 m off on both axes", 7.9f, -7.9f, Body::Vehicle, TRUE, 2, true},
        {"8.0 m off", 8.0f, 0.0f, Body::Vehicle, TRUE, 2, false},
        {"8.0 m off the other axis", 0.0f, -8.0f, Body::Vehicle, TRUE, 2, false},
        {"a team in a dismount position", 1.0f, 1.0f, Body::Team, TRUE, 1, true},
        {"a team at a vehicle position", 0.0f, 0.0f, Body::Team, TRUE, 2, false},
        {"a tank at a dismount position", 0.0f, 0.0f, Body::Vehicle, TRUE, 1, false},
        {"a tank at a position of another kind", 0.0f, 0.0f, Body::Vehicle, TRUE, 7, true},
        {"an aircraft", 0.0f, 0.0f, Body::Aircraft, TRUE, 2, false},
        {"a unit on the move", 0.0f, 0.0f, Body::Vehicle, FALSE, 2, false},
    };
    for (const auto& c : cases)
    {
        CHoleArray holes;
        holes.Add(MakeHole(200, 200, c.kind, 2.0f));
        CUnitArray units;
        units.Add(MakeUnit(500, 500));  // far away
        units.Add(MakeUnit(200 + c.dx, 200 + c.dy, c.body, c.stopped));
        holes.AssignOccupants(&units, nullptr, 3);
        const CHole* pHole = holes.GetAt(0);
        const CUnit* pUnit = units.GetAt(1);
        EXPECT_EQ(pHole->m_bOccupied != FALSE, c.occupies) << c.what;
        EXPECT_EQ(pUnit->m_bDugIn != FALSE, c.occupies) << c.what;
        if (c.occupies)
        {
            EXPECT_EQ(pHole->m_nOccupant, 1) << c.what;
            EXPECT_EQ(pHole->m_nOccupantArray, 3) << c.what;
            EXPECT_EQ(pUnit->m_nDugPosition, 0) << c.what;
            EXPECT_EQ(pUnit->m_fHeading, 2.0f) << c.what;
        }
        else
        {
            EXPECT_EQ(pHole->m_nOccupant, kUnset) << c.what;
            EXPECT_EQ(pUnit->m_nDugPosition, kUnset) << c.what;
        }
    }
}

TEST(Holes, OccupationIsTakenAfreshEachTime)
{
    CHoleArray holes;
    holes.Add(MakeHole(100, 100, 2, 1.0f));
    holes.Add(MakeHole(104, 100, 2, 2.0f));
    CUnitArray units;
    units.Add(MakeUnit(102, 100));
    units.Add(MakeUnit(101, 101));
    holes.AssignOccupants(&units, nullptr, 0);
    // The first unit that qualifies takes each position; one unit may hold
    // two, the later one's facing winning.
    EXPECT_EQ(holes.GetAt(0)->m_nOccupant, 0);
    EXPECT_EQ(holes.GetAt(1)->m_nOccupant, 0);
    EXPECT_EQ(units.GetAt(0)->m_nDugPosition, 1);
    EXPECT_EQ(units.GetAt(0)->m_fHeading, 2.0f);
    EXPECT_FALSE(units.GetAt(1)->m_bDugIn);

    // Moved away, the unit leaves; clearing empties every position.
    units.GetAt(0)->m_fX = 300.0f;
    holes.AssignOccupants(&units, nullptr, 0);
    EXPECT_EQ(holes.GetAt(0)->m_nOccupant, 1);
    EXPECT_EQ(holes.GetAt(1)->m_nOccupant, 1);
    EXPECT_FALSE(units.GetAt(0)->m_bDugIn);
    EXPECT_EQ(units.GetAt(0)->m_nDugPosition, kUnset);
    holes.ClearOccupants();
    EXPECT_FALSE(holes.GetAt(0)->m_bOccupied);
    EXPECT_EQ(holes.GetAt(0)->m_nOccupant, kUnset);
    EXPECT_EQ(holes.GetAt(0)->m_nOccupantArray, 0);
}

TEST(Holes, TheNearestPositionFacesWithin60Degrees)
{
    const float sixty = 1.0471976f;
    const float sixtyOne = 1.0646508f;
    CHoleArray holes;
    holes.Add(MakeHole(100, 100, 2, sixty));            // 0: 60 degrees off heading 0
    holes.Add(MakeHole(100, 150, 2, sixtyOne));         // 1: 61 degrees off
    holes.Add(MakeHole(100, 100, 1, 0.0f));             // 2: dismount
    holes.Add(MakeHole(100, 120, 2, -2 * kPi + 0.1f));  // 3: folds to 0.1
    holes.Add(MakeHole(100, 120, 2, 0.2f));             // 4: as near as 3
    EXPECT_EQ(holes.FindNearestHole(100, 100, 0.0f, 1000, FALSE, TRUE), 0);
    EXPECT_EQ(holes.FindNearestHole(100, 150, 0.0f, 30, FALSE, TRUE), 4);  // 1 is too far turned; 3 and 4 tie
    EXPECT_EQ(holes.FindNearestHole(100, 150, 0.0f, 1, FALSE, TRUE), kUnset);
    EXPECT_EQ(holes.FindNearestHole(100, 100, 0.0f, 1000, TRUE, TRUE), 2);
    EXPECT_EQ(holes.FindNearestHole(100, 100, 0.0f, 1000, TRUE, FALSE), kUnset);
    // Facing 61 degrees itself finds position 1 when the others are far.
    EXPECT_EQ(holes.FindNearestHole(100, 160, sixtyOne, 15, FALSE, TRUE), 1);
    EXPECT_EQ(holes.FindNearestHole(100, 100, -sixty, 0, FALSE, TRUE), kUnset);  // 120 degrees off
    EXPECT_EQ(CHoleArray().FindNearestHole(0, 0, 0, 1000, FALSE, TRUE), kUnset);
}

TEST(Holes, TheBaseMarkersFrameFollowsTheFacing)
{
    const struct
    {
        double facing;
        int frame;
    } cases[] = {{0.0, 0}, {-0.087266, 0}, {0.1, 1}, {kPi, 18}, {2 * kPi - 0.09, 35}, {-kPi / 2, 27}, {1e30, 0}};
    for (const auto& c : cases)
    {
        const int frame = CHole::FrameForFacing(c.facing, 36);
        EXPECT_GE(frame, 0) << c.facing;
        EXPECT_LE(frame, 35) << c.facing;
        if (c.facing < 1e29)
        {
            EXPECT_EQ(frame, c.frame) << c.facing;
        }
    }
    EXPECT_EQ(CHole::FrameForFacing(std::numeric_limits<double>::quiet_NaN(), 36), 0);
}

TEST(HoleDialog, TheDirectionIsShownAndTakenInMils)
{
    CHole vehicle;
    vehicle.m_nKind = CHole::kVehicle;
    vehicle.m_fFacing = kPi / 2;
    ScopedScriptedUi ui;
    ui->ExpectDialog(IDD_HOLE_PROPERTIES, IDOK,
                     [](CDialog& d)
                     {
                         EXPECT_EQ(d.GetWindowText(), "Hole Properties");
                         EXPECT_EQ(d.GetDlgItemText(IDC_HOLE_TYPE), "Vehicle");
                         EXPECT_TRUE(d.GetDlgItem(IDC_HOLE_TYPE)->IsWindowEnabled());
                         EXPECT_EQ(d.GetDlgItemText(IDC_HOLE_DIRECTION), "1600");
                         d.SetDlgItemText(IDC_HOLE_DIRECTION, "6400");
                     });
    EXPECT_TRUE(vehicle.Edit());
    EXPECT_FLOAT_EQ(vehicle.m_fFacing, 2 * kPi);

    // Out of range stays open; Cancel changes nothing.
    ui->ExpectDialog(IDD_HOLE_PROPERTIES, IDCANCEL,
                     [](CDialog& d)
                     {
                         d.SetDlgItemText(IDC_HOLE_DIRECTION, "6401");
                         EXPECT_TRUE(d.PressButton(IDOK));
                         EXPECT_FALSE(d.IsModalEnded());
                     });
    ui->ExpectMessage("Kedravin", "Please enter an integer between 0 and 6400.", IDOK);
    EXPECT_FALSE(vehicle.Edit());
    EXPECT_FLOAT_EQ(vehicle.m_fFacing, 2 * kPi);
}

TEST(HoleDialog, SeveralPositionsTakeOneFacing)
{
    CHoleArray holes;
    holes.Add(MakeHole(10, 10, 1, 0.5f));
    holes.Add(MakeHole(20, 20, 2, 1.0f));
    holes.Add(MakeHole(30, 30, 2, 1.5f));
    CTaskOrgArray selection;
    selection.Add(new CTaskOrg(0, 0));
    selection.Add(new CTaskOrg(2, 0));
    ScopedScriptedUi ui;
    ui->ExpectDialog(IDD_HOLE_PROPERTIES, IDOK,
                     [](CDialog& d)
                     {
                         EXPECT_EQ(d.GetDlgItemText(IDC_HOLE_TYPE), "********");
                         EXPECT_FALSE(d.GetDlgItem(IDC_HOLE_TYPE)->IsWindowEnabled());
                         EXPECT_EQ(d.GetDlgItemText(IDC_HOLE_DIRECTION), "509");
                         d.SetDlgItemText(IDC_HOLE_DIRECTION, "3200");
                     });
    EXPECT_TRUE(holes.EditSelected(&selection));
    EXPECT_FLOAT_EQ(holes.GetAt(0)->m_fFacing, kPi);
    EXPECT_FLOAT_EQ(holes.GetAt(1)->m_fFacing, 1.0f);
    EXPECT_FLOAT_EQ(holes.GetAt(2)->m_fFacing, kPi);

    // A selection whose first entry names no position opens nothing.
    CTaskOrgArray stale;
    stale.Add(new CTaskOrg(9, 0));
    EXPECT_FALSE(holes.EditSelected(&stale));
}
