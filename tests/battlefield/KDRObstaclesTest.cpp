// The obstacle component: its sides and searches, mine and chemical strikes,
// loading a side, the saved-game part, the turn of the sides, merging and
// handing obstacles over, and the map's step test that asks it for a way on.
#include "ObstacleTestSupport.h"

#include "battlefield/AITerrain.h"
#include "battlefield/AITerrainArray.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/MoverInfo.h"
#include "hierarchy/GlobalMap.h"
#include "hierarchy/TaskOrg.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace bftest;
using namespace obstest;

namespace
{
constexpr int kEastWest = 1600;
constexpr int kTracked = 0x1;

// The x of each obstacle of a side, in order (they tell the obstacles apart).
std::vector<float> XsOf(const CKDRObstacles& obstacles, int nSide)
{
    std::vector<float> xs;
    if (const CObstacleArray* pArray = obstacles.GetSideArray(nSide))
        for (int i = 0; i < pArray->GetSize(); ++i)
            xs.push_back(pArray->GetAt(i)->m_fX);
    return xs;
}

// A chemical area that counts how many of its kind live.
class CCountedChem : public CChem
{
public:
    CCountedChem() { ++s_live; }
    ~CCountedChem() override { --s_live; }
    static int s_live;
};
int CCountedChem::s_live = 0;

std::vector<BYTE> SaveState(CKDRObstacles& obstacles)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    obstacles.SerializeState(ar);
    ar.Close();
    return file.GetData();
}

void LoadState(CKDRObstacles& obstacles, const std::vector<BYTE>& bytes)
{
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    obstacles.SerializeState(ar);
}
}  // namespace

TEST(ObstacleComponent, SearchesGoOverSidesOneZeroTwo)
{
    Scene scene(400, 400, false);
    CKDRObstacles obstacles;
    obstacles.CreateSideArray(0)->Add(Make(200, 200, 0, 100, 100, CObstacle::kWire));
    obstacles.CreateSideArray(1)->Add(Make<CEnemyObstacle>(210, 210, 0, 100, 100, CObstacle::kMineField));
    obstacles.CreateSideArray(2)->Add(Make<CEnemyObstacle>(300, 300, 0, 40, 40, CObstacle::kTankDitch));
    struct Case
    {
        int side;
        float x, y;
        int index, sideOut;
    } cases[] = {
        {-1, 205, 205, 0, 1}, {0, 205, 205, 0, 0},       {2, 205, 205, kUnset, 2},
        {2, 300, 300, 0, 2},  {-1, 390, 20, kUnset, -1}, {5, 205, 205, kUnset, 5},
    };
    for (const Case& c : cases)
    {
        int side = c.side;
        EXPECT_EQ(obstacles.FindObstacleAt(c.x, c.y, side, &scene.map, FALSE), c.index) << c.side;
        EXPECT_EQ(side, c.sideOut) << c.side;
    }

    // A mover of side 0 is stopped by its own obstacles everywhere, by side
    // 1's only near a contact.
    CObstacle* pFound = nullptr;
    EXPECT_EQ(obstacles.IsBlocked(240, 240, &scene.map, kTracked, pFound, 0, kUnset), 1);
    EXPECT_EQ(pFound, obstacles.GetObstacle(0, 0));
    EXPECT_EQ(obstacles.IsBlocked(255, 255, &scene.map, kTracked, pFound, 0, kUnset), 0);
    EXPECT_EQ(pFound, nullptr);
    EXPECT_EQ(obstacles.IsBlocked(255, 255, &scene.map, kTracked, pFound, 1, kUnset), 1);
    EXPECT_EQ(pFound, obstacles.GetObstacle(0, 1));

    // Absent sides and bad indexes answer nothing.
    EXPECT_EQ(obstacles.GetObstacle(1, 0), nullptr);
    EXPECT_EQ(obstacles.GetObstacle(0, 3), nullptr);
    EXPECT_EQ(obstacles.MoveObstacle(4, 0, 10, 10, &scene.map), 0);
}

TEST(ObstacleComponent, OnlyTheOwnSidesObstaclesAreNamed)
{
    Scene scene(400, 400, false);
    CKDRObstacles obstacles;
    CObstacle* pWire = Make(100, 100, kEastWest, 100, 10, CObstacle::kWire);
    pWire->m_lanes.Add(new CBreach(120, 90, 120, 110, 8, 0, FALSE));
    obstacles.CreateSideArray(0)->Add(pWire);
    obstacles.CreateSideArray(1)->Add(Make<CEnemyObstacle>(300, 300, 0, 40, 40, CObstacle::kTankDitch));
    EXPECT_EQ(obstacles.GetObstacleName(120, 100, &scene.map), "Wire Breach Lane");
    EXPECT_EQ(obstacles.GetObstacleName(100, 100, &scene.map), "Wire");
    EXPECT_EQ(obstacles.GetObstacleName(300, 300, &scene.map), "");
    EXPECT_EQ(obstacles.GetObstacleName(10, 300, &scene.map), "");
}

TEST(ObstacleComponent, MineAndChemicalStrikesLayOrStrengthen)
{
    Scene scene(400, 400, false);
    CKDRObstacles obstacles;
    int index = 0, side = 0;
    // No side 2 yet: it is made with the new mine field.
    EXPECT_EQ(obstacles.PlaceObstacle(30, 90, 40, 100, 100, 800, 2, &scene.map, index, side), 1);
    EXPECT_EQ(index, kUnset);
    EXPECT_EQ(side, kUnset);
    ASSERT_TRUE(obstacles.IsSidePresent(2));
    const CObstacle* pLaid = obstacles.GetObstacle(0, 2);
    ASSERT_NE(pLaid, nullptr);
    EXPECT_EQ(pLaid->GetType(), CObstacle::kClassEnemyObstacle);
    EXPECT_EQ(pLaid->m_nType, CObstacle::kMineField);
    EXPECT_EQ(pLaid->m_nAttitude, 800);
    EXPECT_EQ(pLaid->m_nDensity, 40);

    // A second strike on it strengthens it and names it.
    EXPECT_EQ(obstacles.PlaceObstacle(30, 90, 70, 100, 100, 0, 0, &scene.map, index, side), 1);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(side, 2);
    EXPECT_EQ(pLaid->m_nDensity, 100);
    EXPECT_FALSE(obstacles.IsSidePresent(0));

    // Chemical impacts: a new area on side 0, then a stronger, longer one.
    EXPECT_EQ(obstacles.PlaceChemArea(50, 300, 600, 300, 300, 0, CTimeSpan(100), &scene.map), 1);
    CChem* pChem = obstacles.GetChemArea(0, 0);
    ASSERT_NE(pChem, nullptr);
    EXPECT_EQ(pChem->GetType(), CObstacle::kClassChem);
    EXPECT_EQ(pChem->m_tsTime.GetTotalSeconds(), 700);
    EXPECT_EQ(obstacles.PlaceChemArea(10, 800, 900, 310, 300, 1, CTimeSpan(200), &scene.map), 1);
    EXPECT_EQ(pChem->m_nDensity, 1000);
    EXPECT_EQ(pChem->m_tsTime.GetTotalSeconds(), 1100);
    EXPECT_EQ(pChem->m_nWidth, 50);
    EXPECT_FALSE(obstacles.IsSidePresent(1));
    int chemSide = -1;
    EXPECT_EQ(obstacles.FindChemAt(320, 300, chemSide), 0);
    EXPECT_EQ(chemSide, 0);
}

TEST(ObstacleComponent, ASideThatFailsToLoadKeepsItsOldArray)
{
    SmallFolder folder;
    Scene scene(400, 400, false);
    CObstacleArray good;
    good.Add(Make(10, 10, 0, 10, 10, CObstacle::kWire));
    good.Add(Make(20, 20, 0, 10, 10, CObstacle::kWire));
    std::vector<BYTE> bytes = StoreToBytes(good);
    folder.Write("good.fob", bytes);
    bytes.resize(bytes.size() - 12);
    folder.Write("cut.fob", bytes);

    CKDRObstacles obstacles;
    obstacles.m_strSide0Name = "good.fob";
    ASSERT_TRUE(obstacles.LoadByName(&scene.map, folder.Path()));
    EXPECT_EQ(obstacles.m_strSide0Name, "good.fob");
    const CObstacleArray* pOld = obstacles.GetSideArray(0);
    ASSERT_NE(pOld, nullptr);

    ScopedScriptedUi ui;
    ui->ExpectMessage("Error",
                      "The obstacle array, cut.fob, could not be read.\nReached the end of the file while reading an "
                      "object in '" +
                          folder.Path() + "/cut.fob'.",
                      IDOK);
    EXPECT_FALSE(obstacles.LoadObstacleArray(0, "cut.fob", &scene.map, folder.Path()));
    EXPECT_EQ(obstacles.GetSideArray(0), pOld);
    EXPECT_EQ(pOld->GetSize(), 2);
    EXPECT_EQ(obstacles.m_strSide0Name, "good.fob");
}

TEST(ObstacleComponent, TheSavedGamePartKeepsThePresentSides)
{
    Scene scene(400, 400, false);
    CKDRObstacles saved;
    saved.CreateSideArray(0)->Add(Make(10, 10, 0, 10, 10, CObstacle::kWire));
    saved.CreateSideArray(2)->Add(Make<CEnemyObstacle>(30, 30, 0, 10, 10, CObstacle::kMineField));
    saved.GetSideArray(2)->Add(MakeChem<CEnemyChem>(40, 40, 10, 500));
    saved.m_strSide0Name = "a.fob";
    saved.m_strSide2Name = "c.eob";
    const std::vector<BYTE> bytes = SaveState(saved);
    // The three presence words (sides 0, 1, 2) follow the four texts.
    const size_t words = (1 + 5) + (1 + 5) + 1 + (1 + 5);
    ASSERT_GT(bytes.size(), words + 6);
    EXPECT_EQ(bytes[words], 1);
    EXPECT_EQ(bytes[words + 2], 0);
    EXPECT_EQ(bytes[words + 4], 1);

    CKDRObstacles restored;
    restored.CreateSideArray(1)->Add(Make<CEnemyObstacle>(1, 1, 0, 1, 1, CObstacle::kWire));
    LoadState(restored, bytes);
    EXPECT_EQ(XsOf(restored, 0), std::vector<float>{10});
    EXPECT_FALSE(restored.IsSidePresent(1));
    EXPECT_EQ(XsOf(restored, 2), (std::vector<float>{30, 40}));
    EXPECT_EQ(restored.GetChemArea(1, 2)->GetType(), CObstacle::kClassEnemyChem);
    EXPECT_EQ(restored.m_strSide0Name, "a.fob");
    EXPECT_EQ(restored.m_strSide2Name, "c.eob");
    EXPECT_EQ(SaveState(restored), bytes);

    // A part cut anywhere leaves the component as it was.
    for (size_t n = 0; n < bytes.size(); ++n)
    {
        CKDRObstacles target;
        target.m_strSide1Name = "keep.eob";
        target.CreateSideArray(1)->Add(Make<CEnemyObstacle>(7, 7, 0, 1, 1, CObstacle::kWire));
        const std::vector<BYTE> cut(bytes.begin(), bytes.begin() + static_cast<long>(n));
        EXPECT_THROW(LoadState(target, cut), CArchiveException) << n;
        EXPECT_EQ(XsOf(target, 1), std::vector<float>{7}) << n;
        EXPECT_FALSE(target.IsSidePresent(0)) << n;
        EXPECT_EQ(target.m_strSide1Name, "") << n;  // CreateSideArray cleared it; the cut part changed nothing
    }
}

TEST(ObstacleComponent, MergingMovesObstaclesAndDeletesTheChemicalAreasLeft)
{
    Scene scene(400, 400, false);
    CKDRObstacles obstacles;
    obstacles.CreateSideArray(0)->Add(Make(1, 1, 0, 1, 1, CObstacle::kWire));
    CObstacleArray* pNeutral = obstacles.CreateSideArray(2);
    pNeutral->Add(Make(10, 10, 0, 1, 1, CObstacle::kWire));
    pNeutral->Add(MakeChem<CCountedChem>(20, 20, 5, 100));
    pNeutral->Add(Make(30, 30, 0, 1, 1, CObstacle::kWire));
    ASSERT_EQ(CCountedChem::s_live, 1);
    obstacles.ResetIndexMap();

    CObstacleArray moved;
    moved.Swap(*pNeutral);
    obstacles.MergeArray(0, &moved, 2, FALSE);
    EXPECT_TRUE(moved.IsEmpty());
    EXPECT_EQ(CCountedChem::s_live, 0);
    EXPECT_EQ(XsOf(obstacles, 0), (std::vector<float>{1, 10, 30}));
    // The index map follows: what was first (2, 0, 2) is now (2, 0, 0).
    const CGlobalIndex* pEntry = obstacles.GetIndexMap()->FindByFirst(2, 0, 2);
    ASSERT_NE(pEntry, nullptr);
    EXPECT_EQ(pEntry->m_nIndex, 2);
    EXPECT_EQ(pEntry->m_nKind, 0);
    pEntry = obstacles.GetIndexMap()->FindByFirst(0, 0, 2);
    ASSERT_NE(pEntry, nullptr);
    EXPECT_EQ(pEntry->m_nIndex, 1);
    EXPECT_EQ(pEntry->m_nKind, 0);
}

TEST(ObstacleComponent, ObstaclesPassedToAnotherSideKeepTheRestInOrder)
{
    Scene scene(400, 400, false);
    CKDRObstacles obstacles;
    CObstacleArray* pNeutral = obstacles.CreateSideArray(2);
    for (int i = 0; i < 6; ++i)
        pNeutral->Add(Make<CEnemyObstacle>(10.0f * i, 10, 0, 5, 5, CObstacle::kWire));
    obstacles.ResetIndexMap();

    CTaskOrgArray passed;
    passed.m_nSide = 2;
    for (int i : {1, 2, 4})
        passed.Add(new CTaskOrg(i, 0));
    obstacles.ReceiveObstacles("Alpha", &passed, FALSE, &scene.map);

    EXPECT_EQ(XsOf(obstacles, 2), (std::vector<float>{0, 30, 50}));
    EXPECT_EQ(XsOf(obstacles, 0), (std::vector<float>{10, 20, 40}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(obstacles.GetSideArray(0)->GetAt(i)->GetType(), CObstacle::kClassObstacle) << i;
    // Passing one again finds it on the target already: nothing moves.
    CTaskOrgArray again;
    again.m_nSide = 2;
    again.Add(new CTaskOrg(1, 0));
    obstacles.ReceiveObstacles("Alpha", &again, FALSE, &scene.map);
    EXPECT_TRUE(again.IsEmpty());
    EXPECT_EQ(XsOf(obstacles, 0).size(), 3u);
    EXPECT_EQ(CKDRObstacles::PassedObstaclesText("Alpha"),
              "You have been passed obstacles by the player, Alpha.  They have been added to your main map and are "
              "now under your control.");
}

TEST(ObstacleComponent, TheSidesTurnForTheSideThePlayerPlays)
{
    Scene scene(400, 400, false);
    auto build = []
    {
        auto obstacles = std::make_unique<CKDRObstacles>();
        obstacles->CreateSideArray(0)->Add(Make(1, 1, 0, 1, 1, CObstacle::kWire));
        obstacles->CreateSideArray(1)->Add(Make<CEnemyObstacle>(2, 2, 0, 1, 1, CObstacle::kWire));
        obstacles->CreateSideArray(2)->Add(Make<CEnemyObstacle>(3, 3, 0, 1, 1, CObstacle::kWire));
        return obstacles;
    };
    // The enemy's player: the sides swap, each in its new class; the
    // neutral obstacles join the player's side as its own.
    auto enemy = build();
    enemy->FixUpAfterLoad(&scene.map, TRUE, FALSE);
    EXPECT_EQ(XsOf(*enemy, 0), (std::vector<float>{2, 3}));
    EXPECT_EQ(XsOf(*enemy, 1), std::vector<float>{1});
    EXPECT_FALSE(enemy->IsSidePresent(2));
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(enemy->GetSideArray(0)->GetAt(i)->GetType(), CObstacle::kClassObstacle) << i;
    EXPECT_EQ(enemy->GetSideArray(1)->GetAt(0)->GetType(), CObstacle::kClassEnemyObstacle);

    // The friendly player without an opponent: the own obstacles stand for
    // neither side.
    auto alone = build();
    alone->FixUpAfterLoad(&scene.map, FALSE, TRUE);
    EXPECT_FALSE(alone->IsSidePresent(0));
    EXPECT_EQ(XsOf(*alone, 1), std::vector<float>{2});
    EXPECT_EQ(XsOf(*alone, 2), (std::vector<float>{1, 3}));
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(alone->GetSideArray(2)->GetAt(i)->GetType(), CObstacle::kClassEnemyObstacle) << i;

    // In a game with an opponent the friendly player keeps the sides.
    auto friendly = build();
    friendly->FixUpAfterLoad(&scene.map, FALSE, FALSE);
    EXPECT_EQ(XsOf(*friendly, 0), (std::vector<float>{1, 3}));
    EXPECT_EQ(XsOf(*friendly, 1), std::vector<float>{2});
}

TEST(ObstacleComponent, AStepAsksLanesThenObstaclesThenTheHelpMaps)
{
    Scene scene(1000, 1000, false);
    CKDRObstacles obstacles;
    CObstacle* pWire = Make(500, 500, kEastWest, 250, 10, CObstacle::kWire);
    obstacles.CreateSideArray(0)->Add(pWire);
    auto* pHelpMap = new CAITerrainArray;
    auto* pRoad = new CAITerrainRoute;
    pRoad->SetRouteFlags(0xF);
    pRoad->SetPoints({{500, 430, 10, 0}, {500, 900, 10, 0}});
    pRoad->Rebuild();
    pHelpMap->Add(pRoad);
    scene.map.SetHelpMap(pHelpMap);

    MoverInfo mover;
    mover.x = 500;
    mover.y = 400;
    mover.nFlags = kTracked;
    mover.nSide = 0;
    mover.pObstacles = &obstacles;
    float x = 0, y = 0;
    CAITerrainRoute* pRoute = nullptr;
    int created = -1, reverse = -1, entry = -1;

    // A terrain feature's lane in reach comes first.
    CBreachArray lanes;
    lanes.Add(new CBreach(480, 450, 480, 550, 8, 0, FALSE));
    ASSERT_EQ(
        scene.map.TestMoveBlocked(mover, &lanes, nullptr, nullptr, FALSE, &x, &y, &pRoute, &created, &reverse, &entry),
        1);
    std::unique_ptr<CAITerrainRoute> own(pRoute);
    EXPECT_EQ(x, 480.0f);
    EXPECT_EQ(y, 450.0f);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(reverse, 0);
    EXPECT_EQ(entry, 0);

    // Then the passage past the wire.
    ASSERT_EQ(
        scene.map.TestMoveBlocked(mover, nullptr, pWire, nullptr, FALSE, &x, &y, &pRoute, &created, &reverse, &entry),
        1);
    own.reset(pRoute);
    EXPECT_FLOAT_EQ(x, 627.5f);
    EXPECT_EQ(created, 1);

    // Without obstacles the map's help map offers its road, its own route.
    mover.pObstacles = nullptr;
    ASSERT_EQ(
        scene.map.TestMoveBlocked(mover, nullptr, nullptr, nullptr, FALSE, &x, &y, &pRoute, &created, &reverse, &entry),
        1);
    EXPECT_EQ(pRoute, pRoad);
    EXPECT_EQ(x, 500.0f);
    EXPECT_EQ(y, 430.0f);
    EXPECT_EQ(created, 0);
    EXPECT_EQ(reverse, 0);
    EXPECT_EQ(entry, 0);

    // Nothing in reach: no way on, and nothing left over.
    mover.x = 100;
    mover.y = 100;
    EXPECT_EQ(
        scene.map.TestMoveBlocked(mover, &lanes, nullptr, nullptr, FALSE, &x, &y, &pRoute, &created, &reverse, &entry),
        0);
    EXPECT_EQ(x, -99.0f);
    EXPECT_EQ(y, -99.0f);
    EXPECT_EQ(pRoute, nullptr);
}
