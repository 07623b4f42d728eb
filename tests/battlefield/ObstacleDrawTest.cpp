// Obstacles drawn into their own sprites and laid on the back surface: what
// the picture shows, where, at which zoom, and what it costs.
#include "ObstacleTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace bftest;
using namespace obstest;

namespace
{
constexpr COLORREF kFill = RGB(0xC4, 0xFF, 0xC4);  // the light green of an own mine field
constexpr COLORREF kSelection = RGB(0x00, 0x00, 0xFF);
constexpr int kEastWest = 1600;
}  // namespace

TEST(ObstacleDrawing, AnObstacleIsLaidOnTheViewWhereItLies)
{
    Scene scene;
    // 100 m by 40 m about (200, 200): 50 by 20 pixels at zoom 1.
    std::unique_ptr<CObstacle> field(Make(200, 200, kEastWest, 100, 40, CObstacle::kMineField));
    field->DrawOnMapSurface(&scene.map, FALSE);
    ASSERT_NE(field->GetSprite(), nullptr);
    field->Update(&scene.map);

    // Inside, clear of the three mines: the fill; outside: nothing.
    EXPECT_EQ(scene.At(scene.ViewOf(160, 212)), kFill);
    EXPECT_EQ(scene.At(scene.ViewOf(240, 188)), kFill);
    EXPECT_EQ(scene.At(scene.ViewOf(200, 240)), kWhite);
    EXPECT_EQ(scene.At(scene.ViewOf(270, 200)), kWhite);
    EXPECT_NE(scene.At(scene.ViewOf(210, 200)), kFill);  // the ring of the middle mine

    // Scrolled out of view it is not drawn.
    scene.Clear();
    scene.picture->ScrollX(300);
    field->Update(&scene.map);
    for (int x = 0; x < 200; x += 5)
        for (int y = 0; y < 200; y += 5)
            ASSERT_EQ(scene.At(x, y), kWhite) << x << ", " << y;
    scene.picture->ScrollX(-300);

    // A lost picture is made again before it is laid on the view.
    scene.display.LoseSurfaces();
    scene.display.GetBackSurface()->Restore();
    scene.Clear();
    field->Update(&scene.map);
    EXPECT_EQ(scene.At(scene.ViewOf(160, 212)), kFill);

    // So is a picture made at another zoom: at zoom 2 the rectangle is
    // 100 by 40 pixels.
    scene.picture->SetZoom(2.0f);
    scene.Clear();
    field->Update(&scene.map);
    EXPECT_EQ(field->GetSpriteRect().Width(), 100 + 2 * 3 + 1);
    EXPECT_EQ(scene.At(scene.ViewOf(160, 212)), kFill);

    // The selection outline.
    scene.picture->SetZoom(1.0f);
    scene.Clear();
    field->DrawOnMapSurface(&scene.map, TRUE);
    field->Update(&scene.map);
    const CPoint corner = scene.ViewOf(150, 220);
    int blue = 0;
    for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy)
            blue += scene.At(corner.x + dx, corner.y + dy) == kSelection ? 1 : 0;
    EXPECT_GT(blue, 0);
}

TEST(ObstacleDrawing, ThePictureWidensTheObstacleButNotIntoItsLanes)
{
    Scene scene;
    std::unique_ptr<CObstacle> field(Make(200, 200, kEastWest, 100, 40, CObstacle::kMineField));
    field->m_lanes.Add(new CBreach(230, 170, 230, 230, 10, 0, FALSE));
    field->DrawOnMapSurface(&scene.map, FALSE);

    // Half a metre beyond the edge the outline still covers the point.
    EXPECT_FALSE(field->ContainsInRectangle(200, 220.5f));
    EXPECT_EQ(field->HitTest(200, 220.5f, &scene.map, FALSE), CObstacle::kHitNoLane);
    EXPECT_EQ(field->HitTest(200, 220.5f, &scene.map, TRUE), kUnset);
    EXPECT_TRUE(field->IsBlockingAt(200, 220.5f, &scene.map, FALSE));
    EXPECT_EQ(field->HitTest(200, 240, &scene.map, FALSE), kUnset);
    EXPECT_FALSE(field->IsBlockingAt(200, 240, &scene.map, FALSE));

    // The lane is drawn into the picture, yet a point in it stays free.
    const CRect rc = field->GetSpriteRect();
    int px = 0, py = 0;
    scene.map.GetElevationMap()->MapToPixel(230, 200, &px, &py);
    EXPECT_EQ(field->GetSprite()->GetSheet()->GetPixel(px - rc.left, py - rc.top), CBreach::kCentreColor);
    EXPECT_FALSE(field->IsBlockingAt(230, 200, &scene.map, FALSE));
    EXPECT_EQ(field->HitTest(230, 200, &scene.map, FALSE), 0);
}

TEST(ObstacleDrawing, APictureNeverOutgrowsTheMap)
{
    Scene scene;
    scene.picture->SetZoom(8.0f);
    // The largest obstacle a file can hold, across the map at the largest zoom.
    std::unique_ptr<CObstacle> huge(Make(200, 200, 800, 32767, 32767, CObstacle::kWire));
    AllocationCounter allocations;
    allocations.Start();
    huge->DrawOnMapSurface(&scene.map, FALSE);
    allocations.Stop();
    ASSERT_NE(huge->GetSprite(), nullptr);
    const CRect rc = huge->GetSpriteRect();
    EXPECT_GE(rc.left, 0);
    EXPECT_GE(rc.top, 0);
    EXPECT_LE(rc.right, (200 + 1) * 8);
    EXPECT_LE(rc.bottom, (200 + 1) * 8);
    if (AllocationCounter::Available())
    {
        EXPECT_LT(allocations.Bytes(), 32u * 1024u * 1024u);
    }
    // What it covers is drawn: the middle of the view lies in it.
    huge->Update(&scene.map);
    EXPECT_NE(scene.At(100, 100), kWhite);

    // A chemical area of the largest radius too.
    std::unique_ptr<CChem> area(MakeChem(0, 0, 32767, 100));
    area->DrawOnMapSurface(&scene.map, FALSE);
    ASSERT_NE(area->GetSprite(), nullptr);
    EXPECT_LE(area->GetSpriteRect().Width(), (200 + 1) * 8);
}

TEST(ObstacleDrawing, WithoutADisplayNothingIsDrawnAndNothingElseChanges)
{
    Scene scene(400, 400, false);
    std::unique_ptr<CObstacle> field(Make(200, 200, kEastWest, 100, 40, CObstacle::kMineField));
    field->DrawOnMapSurface(&scene.map, FALSE);
    field->Update(&scene.map);
    EXPECT_EQ(field->GetSprite(), nullptr);
    EXPECT_EQ(field->HitTest(200, 220.5f, &scene.map, FALSE), kUnset);
    EXPECT_EQ(field->HitTest(200, 219.5f, &scene.map, FALSE), CObstacle::kHitNoLane);
}
