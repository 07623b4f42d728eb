// The help map's items: their derived data and the editing operations.
#include "battlefield/AITerrain.h"
#include "battlefield/AITerrainArray.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace
{
CAITerrainRoute Route(std::vector<CPoint> points)
{
    std::vector<AIRoutePoint> line;
    for (const CPoint& p : points)
        line.push_back(AIRoutePoint{p.x, p.y, 0, 0});
    CAITerrainRoute route;
    route.SetPoints(line);
    return route;
}
}  // namespace

TEST(HelpMapItems, RouteDirectionInMils)
{
    struct Case
    {
        const char* what;
        std::vector<CPoint> points;
        int direction;
        BOOL rebuilt;
    } cases[] = {
        {"east", {{0, 0}, {100, 0}}, 1600, TRUE},
        {"south", {{0, 0}, {0, -100}}, 3200, TRUE},
        {"north", {{0, 0}, {50, 50}, {0, 100}}, 0, TRUE},
        {"closed", {{0, 0}, {100, 0}, {0, 0}}, 0, TRUE},
        {"west, by the first and last point", {{10, 10}, {500, 900}, {-90, 10}}, 4801, TRUE},
        {"one point", {{0, 0}}, -99, FALSE},
        {"no point", {}, -99, FALSE},
    };
    for (const Case& c : cases)
    {
        CAITerrainRoute route = Route(c.points);
        EXPECT_EQ(route.Rebuild(), c.rebuilt) << c.what;
        EXPECT_EQ(route.GetDirection(), c.direction) << c.what;
        // A copy derives the same.
        CAITerrainRoute copy(route);
        EXPECT_EQ(copy.GetDirection(), c.direction) << c.what;
    }
}

TEST(HelpMapItems, SupportByFireCentreSizeBoundsAndFacing)
{
    CAITerrainSBF sbf;
    EXPECT_FALSE(sbf.Rebuild());  // no positions: nothing derived
    EXPECT_EQ(sbf.GetCenterX(), 0.0f);

    sbf.SetPositions({{10.7f, 20.2f, 0.0f, 0x1}, {-30.6f, 60.9f, 1.5707964f, 0x10}});
    ASSERT_TRUE(sbf.Rebuild());
    EXPECT_FLOAT_EQ(sbf.GetFacing(), 0.7853982f);
    EXPECT_EQ(sbf.GetFacingMils(), 5600);  // 800 - 1600 + 6400
    EXPECT_FLOAT_EQ(sbf.GetCenterX(), -9.95f);
    EXPECT_FLOAT_EQ(sbf.GetCenterY(), 40.55f);
    EXPECT_NEAR(sbf.GetSize(), std::hypot(41.3, 40.7), 1e-3);
    // Left and right the x range, bottom and top the y range, toward zero.
    EXPECT_EQ(sbf.GetBounds(), CRect(-30, 60, 10, 20));
    EXPECT_EQ(sbf.GetCombinedFlags(), 0x11);

    // One position: itself, size 1, the facing left as it was.
    CAITerrainSBF single;
    single.SetPositions({{5.5f, 6.5f, 2.0f, 0}});
    ASSERT_TRUE(single.Rebuild());
    EXPECT_EQ(single.GetCenterX(), 5.5f);
    EXPECT_EQ(single.GetSize(), 1.0f);
    EXPECT_EQ(single.GetFacing(), 0.0f);
    EXPECT_EQ(single.GetFacingMils(), 0);
    EXPECT_EQ(single.GetBounds(), CRect(5, 6, 5, 6));
}

// The mean facing in mils, turned by whole turns while negative, for facings
// a map maker draws and for the wild ones a corrupt file holds: not a
// number counts as the most negative mils, and beyond the ints of mils the
// count stops at the end of the range.
TEST(HelpMapItems, SupportByFireFacingMilsForEveryFacing)
{
    struct Case
    {
        float facing;
        int mils;
    } cases[] = {
        {0.0f, 4800},           // 0 - 1600 + 6400
        {-7.0f, 4071},          // -7129 - 1600 + 2 turns
        {6.0f, 4512},           // 6112 - 1600
        {-1e30f, 2752},         // the least int - 1600, brought into the first turn
        {std::nanf(""), 2752},  // as the least int
        {1e30f, 2147482047},    // the largest int - 1600: not negative, left as it is
    };
    for (const Case& c : cases)
    {
        CAITerrainSBF sbf;
        sbf.SetPositions({{0.0f, 0.0f, c.facing, 0}, {10.0f, 0.0f, c.facing, 0}});
        ASSERT_TRUE(sbf.Rebuild());
        EXPECT_EQ(sbf.GetFacingMils(), c.mils) << c.facing;
    }
}

TEST(HelpMapItems, RegionBoundsAndAnEmptyRegion)
{
    CAITerrainRegion region;
    EXPECT_TRUE(region.GetBounds().IsRectNull());
    EXPECT_FALSE(region.HitTest(0.0f, 0.0f));
    region.MoveTo(50.0f, 50.0f);  // nothing to move, no division by zero
    EXPECT_EQ(region.GetPointCount(), 0);

    region.SetPoints({{0, 0}, {100, 0}, {100, 40}, {0, 40}});
    region.Rebuild();
    EXPECT_EQ(region.GetBounds(), CRect(0, 40, 100, 0));
    EXPECT_TRUE(region.HitTest(50.0f, 20.0f));
    region.SetPoints({});
    region.Rebuild();
    EXPECT_TRUE(region.GetBounds().IsRectNull());
    EXPECT_FALSE(region.HitTest(50.0f, 20.0f));
}

TEST(HelpMapItems, EditingLaysAFloatingPointThatFinishEditDrops)
{
    CAITerrainRegion region;
    EXPECT_FALSE(region.MoveLastPoint(1.0f, 1.0f));  // nothing to move yet
    EXPECT_TRUE(region.AddPoint(0.4f, 0.6f));        // whole metres, rounded
    EXPECT_EQ(region.GetPoints(), (std::vector<CPoint>{{0, 1}, {0, 1}}));
    EXPECT_TRUE(region.MoveLastPoint(99.5f, 0.0f));
    EXPECT_TRUE(region.AddPoint(100.0f, 0.0f));
    EXPECT_TRUE(region.MoveLastPoint(100.0f, 80.0f));
    EXPECT_EQ(region.GetPointCount(), 3);
    EXPECT_FALSE(region.FinishEdit());  // two corners and the floating point
    EXPECT_TRUE(region.AddPoint(100.0f, 80.0f));
    EXPECT_EQ(region.GetPointCount(), 4);
    EXPECT_TRUE(region.FinishEdit());
    EXPECT_EQ(region.GetPoints(), (std::vector<CPoint>{{0, 1}, {100, 0}, {100, 80}}));
    EXPECT_TRUE(region.IsFinished());
    EXPECT_TRUE(region.HitTest(90.0f, 20.0f));
    EXPECT_TRUE(region.FinishEdit());  // finished already

    CAITerrainRoute route;
    route.SetNewPointValue(12);
    route.AddPoint(0.0f, 0.0f);
    EXPECT_FALSE(route.FinishEdit());
    route.AddPoint(100.0f, 0.0f);
    route.GrowPointList(1);
    ASSERT_EQ(route.GetPointCount(), 4);
    const AIRoutePoint grown = route.GetPoints()[3];
    EXPECT_EQ(grown.x, 0);
    EXPECT_EQ(grown.y, 0);
    EXPECT_EQ(grown.value, 0);
    EXPECT_EQ(grown.extra, 0);
    route.MoveLastPoint(200.0f, 0.0f);
    EXPECT_EQ(route.GetPoints()[3].value, 12);
    EXPECT_EQ(route.GetPoints()[2].value, 12);
    EXPECT_EQ(route.GetPoints()[2].extra, 0);  // an added point's fourth value is set
    EXPECT_TRUE(route.FinishEdit());
    EXPECT_EQ(route.GetPointCount(), 3);
    EXPECT_EQ(route.GetDirection(), 1600);

    CAITerrainSBF sbf;
    sbf.SetNewFacing(1.0f);
    sbf.SetNewFlags(0x4);
    sbf.AddPoint(10.25f, 20.75f);
    sbf.AddPoint(30.0f, 20.75f);
    EXPECT_TRUE(sbf.FinishEdit());
    ASSERT_EQ(sbf.GetPositionCount(), 2);
    EXPECT_EQ(sbf.GetPositions()[0].x, 10.25f);  // positions keep their fractions
    EXPECT_EQ(sbf.GetPositions()[1].facing, 1.0f);
    EXPECT_EQ(sbf.GetPositions()[1].flags, 0x4);
    EXPECT_FLOAT_EQ(sbf.GetCenterX(), 20.125f);
}

TEST(HelpMapItems, MoveToPutsTheMeanPointThereAndTakesNestedRoutesAlong)
{
    CAITerrainRegion region;
    region.SetPoints({{0, 0}, {10, 0}, {10, 11}});  // mean (6, 3) by integer division
    auto* pRoute = new CAITerrainRoute(Route({{1, 1}, {2, 2}}));
    auto* pInner = new CAITerrainSBF;
    pInner->SetPositions({{1.0f, 1.0f, 0.0f, 0}});
    region.GetChildren()->Add(pRoute);
    region.GetChildren()->Add(pInner);
    region.MoveTo(106.9f, 103.2f);
    EXPECT_EQ(region.GetPoints(), (std::vector<CPoint>{{100, 100}, {110, 100}, {110, 111}}));
    EXPECT_EQ(pRoute->GetPoints()[0].x, 101);
    EXPECT_EQ(pRoute->GetPoints()[1].y, 102);
    EXPECT_EQ(pInner->GetPositions()[0].x, 1.0f);  // only routes go along
    EXPECT_EQ(region.GetBounds(), CRect());        // moving derives nothing

    CAITerrainSBF sbf;
    sbf.MoveTo(5.0f, 5.0f);  // no positions: nothing happens
    sbf.SetPositions({{0.0f, 0.0f, 0.0f, 0}, {1.0f, 3.0f, 0.0f, 0}});
    sbf.MoveTo(10.0f, 10.0f);
    EXPECT_EQ(sbf.GetPositions()[0].x, 9.5f);
    EXPECT_EQ(sbf.GetPositions()[1].y, 11.5f);

    CAITerrainRoute empty;
    empty.MoveTo(3.0f, 3.0f);
    EXPECT_EQ(empty.GetPointCount(), 0);
}

TEST(HelpMapItems, ARegionHandsItsEditsToANestedItem)
{
    CAITerrainRegion region;
    region.SetPoints({{0, 0}, {100, 0}, {100, 100}});
    region.BeginChildEdit(new CAITerrainRoute);
    ASSERT_TRUE(region.IsEditingChild());
    region.AddPoint(10.0f, 10.0f);
    region.AddPoint(20.0f, 10.0f);
    region.MoveLastPoint(30.0f, 10.0f);
    EXPECT_EQ(region.GetPointCount(), 3);  // the region's own points are untouched
    auto* pChild = static_cast<CAITerrainRoute*>(region.GetChildren()->GetAt(0));
    EXPECT_EQ(pChild->GetPointCount(), 3);
    EXPECT_TRUE(region.FinishEdit());
    EXPECT_FALSE(region.IsEditingChild());
    EXPECT_EQ(pChild->GetPointCount(), 2);

    // A nested item that cannot finish is dropped.
    region.BeginChildEdit(new CAITerrainRoute);
    region.AddPoint(50.0f, 50.0f);
    EXPECT_FALSE(region.FinishEdit());
    EXPECT_FALSE(region.IsEditingChild());
    EXPECT_EQ(region.GetChildren()->GetSize(), 1);

    // Cloning copies the nested items and none of the editing state.
    std::unique_ptr<CAITerrain> pClone(region.Clone());
    auto* pCopy = dynamic_cast<CAITerrainRegion*>(pClone.get());
    ASSERT_NE(pCopy, nullptr);
    EXPECT_EQ(pCopy->GetChildren()->GetSize(), 1);
    EXPECT_NE(pCopy->GetChildren()->GetAt(0), pChild);
    EXPECT_FALSE(pCopy->IsFinished());
    EXPECT_EQ(pCopy->GetKindName(), "Region");
}
