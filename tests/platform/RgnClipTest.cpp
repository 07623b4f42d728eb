// A polygon region scanned only over a rectangle's rows holds exactly the
// pixels of the whole polygon's region cut to that rectangle, whatever the
// polygon: convex or crossing itself, with level edges and repeated points,
// far larger than the rectangle, under either fill mode.
#include "platform/ui/DC.h"
#include "platform/ui/Rgn.h"

#include <QRegion>

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace
{
std::vector<CPoint> RandomPolygon(std::mt19937& random, int reach)
{
    std::uniform_int_distribution<int> count(2, 12);
    std::uniform_int_distribution<int> coordinate(-reach, reach);
    std::uniform_int_distribution<int> kind(0, 9);
    std::vector<CPoint> points;
    const int n = count(random);
    for (int i = 0; i < n; ++i)
    {
        CPoint p(coordinate(random), coordinate(random));
        const int k = kind(random);
        if (!points.empty() && k == 0)
            p = points.back();  // a repeated point
        else if (!points.empty() && k == 1)
            p.y = points.back().y;  // a level edge
        else if (!points.empty() && k == 2)
            p.x = points.back().x;  // an upright edge
        points.push_back(p);
    }
    if (random() % 2 == 0)
        points.push_back(points.front());  // closed as the terrain's rings are
    return points;
}

// The pixels of one region that the other lacks.
int PixelsApart(const QRegion& a, const QRegion& b)
{
    int n = 0;
    for (const QRect& r : a.xored(b))
        n += r.width() * r.height();
    return n;
}
}  // namespace

TEST(RgnClipTest, PolygonCutToARectangleHoldsThePixelsOfTheWholeRegionCut)
{
    std::mt19937 random(314);
    for (int round = 0; round < 3000; ++round)
    {
        // Small polygons around the rectangle and polygons many times its size.
        const int reach = round % 3 == 0 ? 400 : 60;
        const std::vector<CPoint> points = RandomPolygon(random, reach);
        const int fillMode = round % 2 == 0 ? WINDING : ALTERNATE;
        const CRect clip(static_cast<int>(random() % 40) - 20, static_cast<int>(random() % 40) - 20,
                         static_cast<int>(random() % 60), static_cast<int>(random() % 60));
        CRgn whole;
        CRgn view;
        CRgn expected;
        ASSERT_TRUE(whole.CreatePolygonRgn(points.data(), static_cast<int>(points.size()), fillMode));
        view.CreateRectRgnIndirect(&clip);
        expected.CreateRectRgn(0, 0, 0, 0);
        expected.CombineRgn(&whole, &view, RGN_AND);
        CRgn cut;
        ASSERT_TRUE(cut.CreatePolygonRgnInRect(points.data(), static_cast<int>(points.size()), fillMode, clip));
        ASSERT_EQ(PixelsApart(*cut.GetRegion(), *expected.GetRegion()), 0)
            << "round " << round << ", " << points.size() << " points";
    }
}

TEST(RgnClipTest, PlainDrawingCutsTheWholeRegion)
{
    const CPoint triangle[] = {CPoint(-500, -400), CPoint(900, 30), CPoint(10, 800)};
    const CRect clip(0, 0, 64, 48);
    CRgn cut[2];
    for (int plain = 0; plain < 2; ++plain)
    {
        SetPlainDrawing(plain);
        ASSERT_TRUE(cut[plain].CreatePolygonRgnInRect(triangle, 3, WINDING, clip));
    }
    SetPlainDrawing(FALSE);
    EXPECT_EQ(PixelsApart(*cut[0].GetRegion(), *cut[1].GetRegion()), 0);
    EXPECT_FALSE(cut[0].IsEmpty());
    EXPECT_EQ(cut[0].GetRegion()->boundingRect(), QRect(0, 0, 64, 48).intersected(cut[0].GetRegion()->boundingRect()));
}
