// Breach lanes and contacts: which points a lane holds, which lane end a
// mover is offered, how a lane is drawn, and the contacts' mean.
#include "ObstacleTestSupport.h"

#include "battlefield/AITerrain.h"
#include "battlefield/Breach.h"
#include "battlefield/Contact.h"
#include "battlefield/MoverInfo.h"

#include <gtest/gtest.h>

#include <memory>

using namespace obstest;

TEST(BreachLanes, APointIsInTheLastLaneThatHoldsIt)
{
    CBreachArray lanes;
    // 0: north-south through (100, 160), 40 m long, 10 m wide.
    lanes.Add(new CBreach(100.0f, 140.0f, 100.0f, 180.0f, 10.0f, 0.0f, FALSE));
    // 1: east-west through the same middle, overlapping lane 0.
    lanes.Add(new CBreach(80.0f, 160.0f, 120.0f, 160.0f, 6.0f, 1600.0f, FALSE));
    // 2: just started: its second end still at the origin, heading south-west.
    lanes.Add(new CBreach(300.0f, 300.0f, 0.0f, 0.0f, 4.0f, 800.0f, FALSE));
    // 3: both ends equal.
    lanes.Add(new CBreach(50.0f, 300.0f, 50.0f, 300.0f, 8.0f, 0.0f, FALSE));
    struct Case
    {
        float x, y;
        int lane;
    } cases[] = {
        {100.0f, 160.0f, 1},  // both hold it: the later one
        {100.0f, 179.0f, 0},
        {104.9f, 145.0f, 0},
        {106.0f, 145.0f, kUnset},
        {100.0f, 181.0f, kUnset},
        {119.0f, 162.9f, 1},
        {119.0f, 163.1f, kUnset},
        // The lane just started runs to the origin.
        {150.0f, 150.0f, 2},
        {10.0f, 10.0f, 2},
        {151.0f, 149.0f, 2},
        {152.0f, 148.0f, kUnset},
        // A lane of one point holds a line across it.
        {53.9f, 300.0f, 3},
        {50.0f, 300.1f, kUnset},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lanes.FindBreachAt(c.x, c.y), c.lane) << c.x << ", " << c.y;
    EXPECT_EQ(CBreachArray().FindBreachAt(100.0f, 100.0f), kUnset);
}

TEST(BreachLanes, AMoverIsOfferedTheNearestFreeEndWithin200Metres)
{
    Scene scene(1000, 1000, false);
    MoverInfo mover;
    mover.x = 100.0f;
    mover.y = 500.0f;
    mover.nFlags = 0x1;
    struct Case
    {
        const char* what;
        float x1, y1, x2, y2;  // the lane
        bool found;
        float x, y;      // the entry
        float toX, toY;  // the route's far end
    } cases[] = {
        {"an end exactly 200 m away", 100, 700, 100, 760, true, 100, 700, 100, 760},
        {"the nearer end", 100, 760, 100, 700, true, 100, 700, 100, 760},
        {"an end 200.5 m away", 100, 700.5f, 100, 760, false, 0, 0, 0, 0},
        {"negative coordinates", -10, 500, -10, 900, false, 0, 0, 0, 0},
        {"the other end off the map", 150, 500, 1100, 500, false, 0, 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        CBreachArray lanes;
        lanes.Add(new CBreach(c.x1, c.y1, c.x2, c.y2, 8.0f, 0.0f, FALSE));
        float x = 0, y = 0;
        CAITerrainRoute* pRoute = nullptr;
        EXPECT_EQ(lanes.FindLaneEntry(mover, &scene.map, &x, &y, &pRoute), c.found ? 1 : 0) << c.what;
        std::unique_ptr<CAITerrainRoute> route(pRoute);
        if (!c.found)
        {
            EXPECT_EQ(x, -99.0f) << c.what;
            EXPECT_EQ(y, -99.0f) << c.what;
            EXPECT_EQ(pRoute, nullptr) << c.what;
            continue;
        }
        EXPECT_EQ(x, c.x) << c.what;
        EXPECT_EQ(y, c.y) << c.what;
        ASSERT_NE(pRoute, nullptr) << c.what;
        EXPECT_EQ(pRoute->GetRouteFlags(), 3) << c.what;
        ASSERT_EQ(pRoute->GetPointCount(), 2) << c.what;
        EXPECT_EQ(pRoute->GetPoints()[0].x, static_cast<int>(c.x)) << c.what;
        EXPECT_EQ(pRoute->GetPoints()[0].y, static_cast<int>(c.y)) << c.what;
        EXPECT_EQ(pRoute->GetPoints()[1].x, static_cast<int>(c.toX)) << c.what;
        EXPECT_EQ(pRoute->GetPoints()[1].y, static_cast<int>(c.toY)) << c.what;
        EXPECT_EQ(pRoute->GetPoints()[1].value, 0) << c.what;
        EXPECT_EQ(pRoute->GetDirection(), 0) << c.what;  // due north
    }
}

TEST(BreachLanes, ALaneIsDrawnWithAnOliveRimAndAPaleCentre)
{
    Scene scene;
    // A lane of width 1 at zoom 1: three pens of one pixel, the last on top.
    CBreach thin(100.0f, 200.0f, 300.0f, 200.0f, 1.0f, 1600.0f, FALSE);
    CDC* pDC = scene.display.GetSurfaceDC();
    thin.Draw(pDC, &scene.map);
    scene.display.ReleaseSurfaceDC();
    const CPoint middle = scene.ViewOf(200.0f, 200.0f);
    EXPECT_EQ(scene.At(middle), CBreach::kCentreColor);
    EXPECT_EQ(scene.At(middle.x, middle.y - 1), kWhite);
    EXPECT_EQ(scene.At(middle.x, middle.y + 1), kWhite);

    // 10 m at zoom 1 is 5 pixels: rim 5, yellow 3, centre 1.
    scene.Clear();
    CBreachArray lanes;
    lanes.Add(new CBreach(100.0f, 200.0f, 300.0f, 200.0f, 10.0f, 1600.0f, FALSE));
    lanes.Draw(&scene.map);
    const COLORREF expected[] = {kWhite,
                                 CBreach::kRimColor,
                                 CBreach::kMiddleColor,
                                 CBreach::kCentreColor,
                                 CBreach::kMiddleColor,
                                 CBreach::kRimColor,
                                 kWhite};
    for (int dy = -3; dy <= 3; ++dy)
        EXPECT_EQ(scene.At(middle.x, middle.y + dy), expected[dy + 3]) << dy;

    // A lane from a wild file draws where the view is and returns at once.
    scene.Clear();
    CBreach wild(-3.0e9f, 200.0f, 3.0e9f, 200.0f, 1.0e30f, 1600.0f, FALSE);
    pDC = scene.display.GetSurfaceDC();
    wild.Draw(pDC, &scene.map);
    scene.display.ReleaseSurfaceDC();
    EXPECT_EQ(scene.At(middle), CBreach::kCentreColor);
}

TEST(Contacts, TheMeanOfNoContactsIsUnset)
{
    CContactArray contacts;
    float x = 0, y = 0;
    contacts.GetMeanPosition(x, y);
    EXPECT_EQ(x, -99.0f);
    EXPECT_EQ(y, -99.0f);
    contacts.Add(new CContact(10.0f, 20.0f));
    contacts.Add(new CContact(30.0f, 60.0f));
    contacts.GetMeanPosition(x, y);
    EXPECT_EQ(x, 20.0f);
    EXPECT_EQ(y, 40.0f);
    EXPECT_TRUE(contacts.HasContactWithin(-30.0f, 20.0f, 40.0f));
    EXPECT_FALSE(contacts.HasContactWithin(-30.5f, 20.0f, 40.0f));
}
