// Obstacles and chemical areas on their own and in a side's array: which
// points they hold and whom they stop, their time steps, strengthening,
// crossings, moves and their file records.
#include "ObstacleTestSupport.h"

#include "battlefield/AITerrain.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/MoverInfo.h"
#include "hierarchy/TaskOrg.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <memory>

using namespace bftest;
using namespace obstest;

namespace
{
constexpr int kEastWest = 1600;

// Both movers that obstacles stop, and one they never do.
constexpr int kTracked = 0x1;
constexpr int kWheeled = 0x2;
constexpr int kAirborne = 0x4;
}  // namespace

TEST(Obstacles, TheRectangleFollowsTheAttitude)
{
    struct Case
    {
        int attitude;
        float x, y;
        bool inside;
    } cases[] = {
        // 100 m long, 20 m wide about (200, 200).
        {0, 200, 250, true},         {0, 200, 250.1f, false},      {0, 210, 200, true},         {0, 210.1f, 200, false},
        {kEastWest, 250, 200, true}, {kEastWest, 200, 250, false}, {kEastWest, 200, 210, true}, {800, 235, 235, true},
        {800, 215, 185, false},      {8000, 250, 200, true},  // 8000 mils: 1600 and a turn
    };
    for (const Case& c : cases)
    {
        std::unique_ptr<CObstacle> o(Make(200, 200, c.attitude, 100, 20, CObstacle::kMineField));
        EXPECT_EQ(o->ContainsInRectangle(c.x, c.y) != FALSE, c.inside) << c.attitude << " at " << c.x << ", " << c.y;
    }
}

TEST(Obstacles, LanesMasksAndSidesDecideWhoIsStopped)
{
    Scene scene(400, 400, false);
    CObstacleArray own;
    CObstacle* pField = Make(200, 200, kEastWest, 100, 20, CObstacle::kMineField);
    own.Add(pField);
    pField->m_lanes.Add(new CBreach(220, 180, 220, 220, 8, 0, FALSE));
    CObstacle* pFound = nullptr;

    // A point in the lane is free, and HitTest names the lane.
    EXPECT_FALSE(pField->IsBlockingAt(220, 200, &scene.map, FALSE));
    EXPECT_EQ(pField->HitTest(220, 200, &scene.map, FALSE), 0);
    EXPECT_TRUE(pField->IsBlockingAt(200, 200, &scene.map, FALSE));
    EXPECT_EQ(pField->HitTest(200, 200, &scene.map, FALSE), CObstacle::kHitNoLane);
    EXPECT_EQ(pField->HitTest(200, 215, &scene.map, FALSE), kUnset);

    struct Case
    {
        const char* what;
        int mover;
        int abilities;
        int blocked;
    } cases[] = {
        {"tracked", kTracked, kUnset, 1},
        {"wheeled", kWheeled, 0, 1},
        {"able to clear mines", kTracked, CObstacle::kMineField | CObstacle::kWire, 0},
        {"able to clear wire only", kTracked, CObstacle::kWire, 1},
        {"airborne", kAirborne, kUnset, 0},
        {"no class at all", 0, kUnset, 0},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(own.IsBlocked(200, 200, &scene.map, c.mover, &pFound, FALSE, c.abilities), c.blocked) << c.what;
        EXPECT_EQ(pFound, c.blocked ? pField : nullptr) << c.what;
    }

    // An enemy obstacle stops another side's mover only near its contacts.
    CObstacleArray enemy;
    auto* pWire = Make<CEnemyObstacle>(100, 100, 0, 200, 10, CObstacle::kWire);
    enemy.Add(pWire);
    EXPECT_EQ(enemy.IsBlocked(100, 150, &scene.map, kTracked, &pFound, FALSE, kUnset), 1);
    EXPECT_EQ(enemy.IsBlocked(100, 150, &scene.map, kTracked, &pFound, TRUE, kUnset), 0);
    pWire->m_contacts.Add(new CContact(100, 110));
    EXPECT_EQ(enemy.IsBlocked(100, 150, &scene.map, kTracked, &pFound, TRUE, kUnset), 1);  // exactly 40 m
    EXPECT_EQ(enemy.IsBlocked(100, 150.5f, &scene.map, kTracked, &pFound, TRUE, kUnset), 0);

    // The mean of the contacts stands for the obstacle to those who only met it.
    float x = 0, y = 0;
    pWire->GetPosition(x, y, TRUE);
    EXPECT_EQ(x, 100.0f);
    EXPECT_EQ(y, 110.0f);
    CEnemyObstacle unmet;
    unmet.GetPosition(x, y, TRUE);
    EXPECT_EQ(x, -99.0f);
    EXPECT_EQ(y, -99.0f);
    unmet.GetPosition(x, y, FALSE);
    EXPECT_EQ(x, 0.0f);
}

TEST(Obstacles, AChemicalAreaHoldsWhatLiesInsideItsRadiusActiveOrNot)
{
    Scene scene(400, 400, false);
    CObstacleArray areas;
    auto* pActive = MakeChem(100, 100, 50, 600);
    auto* pEnded = MakeChem(300, 300, 50, 0);
    areas.Add(pActive);
    areas.Add(pEnded);
    CObstacle* pFound = nullptr;
    EXPECT_EQ(areas.IsBlocked(149.9f, 100, &scene.map, kTracked, &pFound, FALSE, kUnset), 1);
    EXPECT_EQ(areas.IsBlocked(150, 100, &scene.map, kTracked, &pFound, FALSE, kUnset), 0);  // exactly r
    EXPECT_EQ(areas.IsBlocked(300, 300, &scene.map, kTracked, &pFound, FALSE, kUnset), 1);  // ended, still there
    EXPECT_EQ(pFound, pEnded);
    EXPECT_EQ(areas.IsBlocked(300, 300, &scene.map, kTracked, &pFound, FALSE, CObstacle::kChemArea), 0);

    // Only the active one is found by the chemical search; neither as an obstacle.
    EXPECT_EQ(areas.FindChemAt(100, 100), 0);
    EXPECT_EQ(areas.FindChemAt(300, 300), kUnset);
    EXPECT_EQ(areas.FindObstacleAt(100, 100, &scene.map, FALSE), kUnset);
    EXPECT_EQ(areas.GetObstacle(0), nullptr);
    EXPECT_EQ(areas.GetChemArea(0), pActive);
    EXPECT_EQ(pActive->GetAttitude(), kUnset);
    EXPECT_EQ(pActive->GetObstacleType(), CObstacle::kChemArea);

    // An enemy area stops another side's movers only near its contacts.
    CEnemyChem enemy;
    enemy.m_nWidth = 50;
    enemy.m_fX = enemy.m_fY = 100;
    EXPECT_TRUE(enemy.IsBlockingAt(110, 100, &scene.map, FALSE));
    EXPECT_FALSE(enemy.IsBlockingAt(110, 100, &scene.map, TRUE));
    enemy.AddContact(130, 100, &scene.map);
    EXPECT_TRUE(enemy.IsBlockingAt(110, 100, &scene.map, TRUE));

    // The exposure a unit takes is the density in hundreds, rounded.
    const int densities[][2] = {{0, 0}, {49, 0}, {50, 1}, {149, 1}, {150, 2}, {1000, 10}};
    for (const auto& d : densities)
    {
        CChem chem;
        chem.m_nDensity = d[0];
        EXPECT_EQ(chem.GetDensityPercent(), d[1]) << d[0];
    }
}

TEST(Obstacles, OverlappingObstaclesGiveTheLaterOne)
{
    Scene scene(400, 400, false);
    CObstacleArray own;
    own.Add(Make(200, 200, 0, 100, 100, CObstacle::kMineField));
    own.Add(Make(220, 220, 0, 100, 100, CObstacle::kWire));
    own.Add(MakeChem(210, 210, 80, 100));
    EXPECT_EQ(own.FindObstacleAt(210, 210, &scene.map, FALSE), 1);
    EXPECT_EQ(own.FindObstacleAt(160, 160, &scene.map, FALSE), 0);
    EXPECT_EQ(own.FindObstacleAt(10, 10, &scene.map, FALSE), kUnset);
}

TEST(Obstacles, CratersFireAndChemicalAreasEndWhenTheirTimeComes)
{
    struct Case
    {
        LONG time;
        LONG now;
        bool fired;
        LONG timeAfter;
    } cases[] = {
        {0, 0, true, 0},         {14400, 0, false, 14400}, {14400, 14399, false, 14400},
        {14400, 14400, true, 0}, {14400, 20000, true, 0},
    };
    for (const Case& c : cases)
    {
        std::unique_ptr<CObstacle> crater(Make(10, 10, 0, 10, 10, CObstacle::kRoadCrater));
        crater->m_tsTime = CTimeSpan(c.time);
        crater->Step(CTimeSpan(c.now));
        EXPECT_EQ(crater->m_bFired != FALSE, c.fired) << c.time << " at " << c.now;
        EXPECT_EQ(crater->m_tsTime.GetTotalSeconds(), c.timeAfter) << c.time << " at " << c.now;
    }
    // A crater stays fired; other kinds keep their time. A step answers
    // whether it changed what the map shows: the firing, the chemical
    // area's end, once each.
    std::unique_ptr<CObstacle> crater(Make(10, 10, 0, 10, 10, CObstacle::kRoadCrater));
    crater->m_tsTime = CTimeSpan(5);
    EXPECT_FALSE(crater->Step(CTimeSpan(4)));
    EXPECT_TRUE(crater->Step(CTimeSpan(5)));
    EXPECT_FALSE(crater->Step(CTimeSpan(6)));
    EXPECT_TRUE(crater->m_bFired);
    std::unique_ptr<CObstacle> wire(Make(10, 10, 0, 10, 10, CObstacle::kWire));
    wire->m_tsTime = CTimeSpan(30);
    EXPECT_FALSE(wire->Step(CTimeSpan(60)));
    EXPECT_EQ(wire->m_tsTime.GetTotalSeconds(), 30);
    EXPECT_FALSE(wire->m_bFired);

    CChem chem;
    chem.m_tsTime = CTimeSpan(3600);
    EXPECT_FALSE(chem.Step(CTimeSpan(3599)));
    EXPECT_TRUE(chem.IsActive());
    EXPECT_TRUE(chem.Step(CTimeSpan(3600)));
    EXPECT_FALSE(chem.IsActive());
    EXPECT_FALSE(chem.Step(CTimeSpan(3601)));
}

TEST(Obstacles, AMineStrikeStrengthensWhatItHits)
{
    Scene scene(400, 400, false);
    struct Case
    {
        const char* what;
        int type;
        int density;
        bool lanes;
        int newDensity;
        int expected;
        int attitude;
    } cases[] = {
        {"a mine field", CObstacle::kMineField, 80, false, 30, 100, 0},
        {"a breached mine field", CObstacle::kMineField, 60, true, 10, 70, 0},
        {"a breached tank ditch", CObstacle::kTankDitch, 51, true, 10, 35, 0},
        {"an intact tank ditch", CObstacle::kTankDitch, 51, false, 10, 61, 0},
        {"a road crater", CObstacle::kRoadCrater, 20, false, 10, 30, 3200},
    };
    for (const Case& c : cases)
    {
        std::unique_ptr<CObstacle> o(Make(100, 100, 0, 40, 20, c.type, c.density));
        o->m_tsTime = CTimeSpan(500);
        if (c.lanes)
            o->m_lanes.Add(new CBreach(100, 90, 100, 110, 6, 0, FALSE));
        o->Strengthen(3200, 30, 90, c.newDensity, &scene.map);
        EXPECT_EQ(o->m_nDensity, c.expected) << c.what;
        EXPECT_EQ(o->m_nType, CObstacle::kMineField) << c.what;
        EXPECT_TRUE(o->m_lanes.IsEmpty()) << c.what;
        EXPECT_EQ(o->m_tsTime.GetTotalSeconds(), 0) << c.what;
        EXPECT_EQ(o->m_nWidth, 30) << c.what;
        EXPECT_EQ(o->m_nLength, 90) << c.what;
        EXPECT_EQ(o->m_nAttitude, c.attitude) << c.what;
    }

    CChem chem;
    chem.m_nDensity = 900;
    chem.m_tsTime = CTimeSpan(1000);
    chem.m_nWidth = 50;
    chem.Strengthen(300, CTimeSpan(800), &scene.map);
    EXPECT_EQ(chem.m_nDensity, 1000);
    EXPECT_EQ(chem.m_tsTime.GetTotalSeconds(), 1000);
    chem.Strengthen(10, CTimeSpan(1200), &scene.map);
    EXPECT_EQ(chem.m_tsTime.GetTotalSeconds(), 1200);
    EXPECT_EQ(chem.m_nWidth, 50);
}

TEST(Obstacles, MovesStayOnTheMapAndDropLanesAndContacts)
{
    Scene scene(400, 300, false);
    CObstacleArray enemy;
    auto* pWire = Make<CEnemyObstacle>(100, 100, 0, 20, 10, CObstacle::kWire);
    pWire->m_lanes.Add(new CBreach(100, 90, 100, 110, 6, 0, FALSE));
    pWire->m_contacts.Add(new CContact(100, 95));
    enemy.Add(pWire);
    enemy.Add(MakeChem(50, 50, 10, 100));
    enemy.Add(Make<CEnemyObstacle>(380, 280, 0, 20, 10, CObstacle::kMineField));

    CTaskOrgArray selection;
    for (int i : {0, 1, 2})
        selection.Add(new CTaskOrg(i, 0));
    enemy.MoveSelected(&selection, 0, 0, 50, 50, &scene.map);
    EXPECT_EQ(pWire->m_fX, 150.0f);
    EXPECT_EQ(pWire->m_fY, 150.0f);
    EXPECT_TRUE(pWire->m_lanes.IsEmpty());
    EXPECT_TRUE(pWire->m_contacts.IsEmpty());
    EXPECT_EQ(enemy.GetAt(1)->m_fX, 50.0f);  // chemical areas do not move
    EXPECT_EQ(enemy.GetAt(2)->m_fX, 400.0f);
    EXPECT_EQ(enemy.GetAt(2)->m_fY, 300.0f);

    pWire->SetPosition(-5, 1.0e30f, &scene.map);
    EXPECT_EQ(pWire->m_fX, 0.0f);
    EXPECT_EQ(pWire->m_fY, 300.0f);

    // The selection of a rectangle takes obstacles whose centres lie in it.
    std::unique_ptr<CTaskOrgArray> pInside(enemy.SelectInRect(400, 300, 150, 150));
    ASSERT_EQ(pInside->GetSize(), 1);
    EXPECT_EQ(pInside->GetAt(0)->m_nUnit, 2);
}

TEST(Obstacles, ConvertingKeepsTheShapeAndDropsLanesAndContacts)
{
    Scene scene(400, 400, false);
    CObstacleArray enemy;
    auto* pCrater = Make<CEnemyObstacle>(100, 120, 800, 20, 12, CObstacle::kRoadCrater, 90);
    pCrater->m_tsTime = CTimeSpan(1800);
    pCrater->m_lanes.Add(new CBreach(100, 110, 100, 130, 6, 0, FALSE));
    pCrater->m_contacts.Add(new CContact(100, 110));
    enemy.Add(pCrater);
    enemy.Add(MakeChem<CEnemyChem>(200, 200, 40, 3600, 300));

    std::unique_ptr<CObstacleArray> pPlain(enemy.ConvertClass(FALSE, &scene.map));
    ASSERT_EQ(pPlain->GetSize(), 2);
    EXPECT_EQ(pPlain->m_strName, "*.fob");
    const CObstacle* pCopy = pPlain->GetAt(0);
    EXPECT_EQ(pCopy->GetType(), CObstacle::kClassObstacle);
    EXPECT_EQ(pPlain->GetAt(1)->GetType(), CObstacle::kClassChem);
    EXPECT_EQ(pCopy->m_fX, 100.0f);
    EXPECT_EQ(pCopy->m_fY, 120.0f);
    EXPECT_EQ(pCopy->m_nAttitude, 800);
    EXPECT_EQ(pCopy->m_nLength, 20);
    EXPECT_EQ(pCopy->m_nWidth, 12);
    EXPECT_EQ(pCopy->m_nDensity, 90);
    EXPECT_EQ(pCopy->m_nType, CObstacle::kRoadCrater);
    EXPECT_EQ(pCopy->m_tsTime.GetTotalSeconds(), 1800);
    EXPECT_TRUE(pCopy->m_lanes.IsEmpty());

    std::unique_ptr<CObstacleArray> pBack(pPlain->ConvertClass(TRUE, &scene.map));
    EXPECT_EQ(pBack->GetAt(0)->GetType(), CObstacle::kClassEnemyObstacle);
    EXPECT_EQ(pBack->GetAt(1)->GetType(), CObstacle::kClassEnemyChem);
    EXPECT_TRUE(pBack->GetAt(0)->GetContacts()->IsEmpty());
}

TEST(Obstacles, AMoverPassesBesideAnObstacleOnTheNearerFreeSide)
{
    Scene scene(1000, 1000, false);
    CKDRObstacles obstacles;
    CObstacleArray* pOwn = obstacles.CreateSideArray(0);
    // Wire 250 m long east to west; the mover comes from the south.
    CObstacle* pWire = Make(500, 500, kEastWest, 250, 10, CObstacle::kWire);
    pOwn->Add(pWire);
    MoverInfo mover;
    mover.x = 500;
    mover.y = 400;
    mover.heading = 0.0f;
    mover.nFlags = kTracked;
    mover.nSide = 0;
    mover.pObstacles = &obstacles;

    float x = 0, y = 0;
    CAITerrainRoute* pRoute = nullptr;
    ASSERT_EQ(pWire->FindCrossing(mover, FALSE, &scene.map, &x, &y, &pRoute), 1);
    std::unique_ptr<CAITerrainRoute> route(pRoute);
    // East of the wire's end first (both sides are as near), from south to north.
    EXPECT_FLOAT_EQ(x, 627.5f);
    EXPECT_FLOAT_EQ(y, 485.0f);
    ASSERT_NE(pRoute, nullptr);
    EXPECT_EQ(pRoute->GetRouteFlags(), 3);
    ASSERT_EQ(pRoute->GetPointCount(), 2);
    EXPECT_EQ(pRoute->GetPoints()[0].x, 628);
    EXPECT_EQ(pRoute->GetPoints()[0].y, 485);
    EXPECT_EQ(pRoute->GetPoints()[1].x, 628);
    EXPECT_EQ(pRoute->GetPoints()[1].y, 515);

    // The east side blocked by another obstacle: the west side.
    pOwn->Add(Make(640, 500, 0, 80, 40, CObstacle::kMineField));
    ASSERT_EQ(pWire->FindCrossing(mover, FALSE, &scene.map, &x, &y, &pRoute), 1);
    route.reset(pRoute);
    EXPECT_FLOAT_EQ(x, 372.5f);
    EXPECT_FLOAT_EQ(y, 485.0f);

    // Heading away from the passage: none, and the outputs are unset.
    mover.heading = 3.14159265f;
    EXPECT_EQ(pWire->FindCrossing(mover, FALSE, &scene.map, &x, &y, &pRoute), 0);
    EXPECT_EQ(x, -99.0f);
    EXPECT_EQ(pRoute, nullptr);

    // A lane within reach comes first.
    mover.heading = 0.0f;
    pWire->m_lanes.Add(new CBreach(450, 480, 450, 520, 8, 0, FALSE));
    ASSERT_EQ(pWire->FindCrossing(mover, FALSE, &scene.map, &x, &y, &pRoute), 1);
    route.reset(pRoute);
    EXPECT_EQ(x, 450.0f);
    EXPECT_EQ(y, 480.0f);

    // An enemy obstacle known only by a contact: 80 m beside the contact.
    CEnemyObstacle met;
    Shape(met, 500, 800, kEastWest, 250, 10, CObstacle::kWire);
    EXPECT_EQ(met.FindCrossing(mover, TRUE, &scene.map, &x, &y, &pRoute), 0);  // no contact: no centre
    met.m_contacts.Add(new CContact(500, 795));
    mover.y = 700;
    ASSERT_EQ(met.FindCrossing(mover, TRUE, &scene.map, &x, &y, &pRoute), 1);
    route.reset(pRoute);
    EXPECT_FLOAT_EQ(x, 582.5f);
    EXPECT_FLOAT_EQ(y, 765.0f);
}

TEST(ObstacleFiles, ARecordIsReadAndWrittenByteForByte)
{
    // An own mine field with one lane, then an enemy crater with a contact.
    Bytes file;
    file.w16(2);
    file.newClass("CObstacle");
    file.f32(150.0f).f32(250.0f).w16(1600).w16(20).w16(300).w16(70).w16(1);
    file.w16(0).w16(0);  // time 0
    const size_t firedAt = file.mark();
    file.w16(7);  // fired: any non-zero word sets it
    file.w16(1).newClass("CBreach");
    file.f32(150).f32(230).f32(150).f32(270).f32(8).f32(0).w16(1);
    file.newClass("CEnemyObstacle");
    file.f32(5000.0f).f32(-20.0f).w16(3200).w16(12).w16(20).w16(100).w16(4);
    file.w16(1800).w16(0);  // time to fire 1800 s
    file.w16(0);
    file.w16(0);  // no lanes
    file.w16(1).newClass("CContact").f32(4990.0f).f32(3.0f);
    file.str("Test.fob");

    CObstacleArray array;
    LoadFromBytes(array, file.data());
    ASSERT_EQ(array.GetSize(), 2);
    EXPECT_EQ(array.m_strName, "Test.fob");
    const CObstacle* pField = array.GetAt(0);
    EXPECT_EQ(pField->GetType(), CObstacle::kClassObstacle);
    EXPECT_EQ(pField->m_nLength, 300);
    EXPECT_EQ(pField->m_nWidth, 20);
    EXPECT_TRUE(pField->m_bFired);
    ASSERT_EQ(pField->m_lanes.GetSize(), 1);
    EXPECT_EQ(pField->m_lanes.GetAt(0)->m_fY2, 270.0f);
    EXPECT_TRUE(pField->m_lanes.GetAt(0)->m_bFlag);
    const CObstacle* pCrater = array.GetAt(1);
    EXPECT_EQ(pCrater->GetType(), CObstacle::kClassEnemyObstacle);
    EXPECT_EQ(pCrater->m_tsTime.GetTotalSeconds(), 1800);
    ASSERT_EQ(pCrater->GetContacts()->GetSize(), 1);

    // Written back, the only change is the fired word, now 1.
    std::vector<BYTE> expected = file.data();
    expected[firedAt] = 1;
    EXPECT_EQ(StoreToBytes(array), expected);
}

TEST(ObstacleFiles, ANegativeSizeOrAnotherClassRefusesTheFile)
{
    for (int field : {0, 1})
    {
        Bytes file;
        file.w16(1).newClass("CObstacle");
        file.f32(10).f32(10).w16(0).w16(field == 0 ? -1 : 5).w16(field == 1 ? -40 : 5).w16(1).w16(1);
        file.w16(0).w16(0).w16(0).w16(0);
        file.str("Bad.fob");
        CObstacleArray array;
        EXPECT_THROW(LoadFromBytes(array, file.data()), CArchiveException) << field;
    }
    // A lane where an obstacle belongs is refused before it is made.
    Bytes file;
    file.w16(1).newClass("CBreach");
    file.f32(0).f32(0).f32(0).f32(0).f32(0).f32(0).w16(0);
    file.str("Bad.fob");
    CObstacleArray array;
    EXPECT_THROW(LoadFromBytes(array, file.data()), CArchiveException);
}

TEST(ObstacleFiles, ALoadedArrayLiesOnTheMap)
{
    SmallFolder folder;
    Scene scene(400, 300, false);
    CObstacleArray written;
    written.Add(Make(-50, 150, 0, 10, 10, CObstacle::kWire));
    written.Add(Make(900, 900, 0, 10, 10, CObstacle::kWire));
    written.Add(MakeChem(200, -1, 20, 60));
    folder.Write("edge.fob", StoreToBytes(written));

    CObstacleArray array;
    ASSERT_TRUE(array.LoadFromFile("edge.fob", &scene.map, folder.Path()));
    ASSERT_EQ(array.GetSize(), 3);
    EXPECT_EQ(array.m_strName, "edge.fob");
    const float expected[][2] = {{0, 150}, {400, 300}, {200, 0}};
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(array.GetAt(i)->m_fX, expected[i][0]) << i;
        EXPECT_EQ(array.GetAt(i)->m_fY, expected[i][1]) << i;
    }

    // A file that is not there is asked for with the obstacle filter;
    // cancelling fails the load.
    ScopedScriptedUi ui;
    ui->ExpectFileDialog(TRUE, "");
    CObstacleArray missing;
    EXPECT_FALSE(missing.LoadFromFile("missing.fob", &scene.map, folder.Path()));
    ASSERT_EQ(ui->GetShown().size(), 1u);
    EXPECT_EQ(ui->GetShown()[0].file.filter,
              "Friendly Obstacle Array (*.fob)|*.fob|Enemy or Neutral Obstacle Array (*.eob)|*.eob||");
    EXPECT_EQ(ui->GetShown()[0].file.fileName, "*.fob");
}
