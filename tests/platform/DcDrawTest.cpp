// Drawing on a CDC: pixels checked at chosen places against the Windows
// drawing rules the program was written for.
#include "platform/ui/DC.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPolygon>
#include <QRegion>

#include <cmath>
#include <random>
#include <vector>

namespace
{
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kGreen = RGB(0, 128, 0);

// A DC on a white image of the given size.
struct Canvas
{
    explicit Canvas(int w = 100, int h = 100) : image(w, h, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        dc.AttachImage(&image);
    }
    QImage image;
    CDC dc;
};

// The five points of a pentagram around (50, 50), in drawing order: the
// centre is inside under WINDING and outside under ALTERNATE.
std::vector<CPoint> Pentagram()
{
    std::vector<CPoint> points;
    for (int k = 0; k < 5; ++k)
    {
        const double a = -M_PI / 2 + (k * 2 % 5) * 2 * M_PI / 5;
        points.emplace_back(static_cast<int>(std::lround(50 + 45 * std::cos(a))),
                            static_cast<int>(std::lround(50 + 45 * std::sin(a))));
    }
    return points;
}
}  // namespace

TEST(DcDrawTest, LineLeavesOutItsEndPixel)
{
    Canvas c;
    c.dc.MoveTo(2, 5);
    EXPECT_TRUE(c.dc.LineTo(10, 5));
    EXPECT_EQ(c.dc.GetPixel(1, 5), kWhite);
    EXPECT_EQ(c.dc.GetPixel(2, 5), kBlack);
    EXPECT_EQ(c.dc.GetPixel(9, 5), kBlack);
    EXPECT_EQ(c.dc.GetPixel(10, 5), kWhite);
    EXPECT_EQ(c.dc.GetCurrentPosition(), CPoint(10, 5));

    // Vertical, going up, and continuing from the current position.
    c.dc.LineTo(10, 0);
    EXPECT_EQ(c.dc.GetPixel(10, 5), kBlack);
    EXPECT_EQ(c.dc.GetPixel(10, 1), kBlack);
    EXPECT_EQ(c.dc.GetPixel(10, 0), kWhite);
}

TEST(DcDrawTest, PenWidthsAndStyles)
{
    Canvas c;
    CPen wide(PS_SOLID, 5, kBlue);
    CPen* old = c.dc.SelectObject(&wide);
    EXPECT_EQ(old, nullptr);  // the DC's own default pen
    c.dc.MoveTo(20, 20);
    c.dc.LineTo(60, 20);
    for (int y = 18; y <= 22; ++y)
        EXPECT_EQ(c.dc.GetPixel(40, y), kBlue) << "y " << y;
    EXPECT_EQ(c.dc.GetPixel(40, 24), kWhite);
    EXPECT_EQ(c.dc.SelectObject(old), &wide);

    // A width-0 pen is one pixel wide.
    CPen thin(PS_SOLID, 0, kRed);
    c.dc.SelectObject(&thin);
    c.dc.MoveTo(20, 40);
    c.dc.LineTo(60, 40);
    EXPECT_EQ(c.dc.GetPixel(40, 40), kRed);
    EXPECT_EQ(c.dc.GetPixel(40, 39), kWhite);
    EXPECT_EQ(c.dc.GetPixel(40, 41), kWhite);

    // Dots: three on, three off; the gaps take the background colour while
    // the mode is OPAQUE and are left alone while it is TRANSPARENT.
    CPen dots(PS_DOT, 1, kBlack);
    c.dc.SelectObject(&dots);
    c.dc.SetBkColor(kYellow);
    c.dc.MoveTo(0, 60);
    c.dc.LineTo(30, 60);
    EXPECT_EQ(c.dc.GetPixel(0, 60), kBlack);
    EXPECT_EQ(c.dc.GetPixel(2, 60), kBlack);
    EXPECT_EQ(c.dc.GetPixel(3, 60), kYellow);
    EXPECT_EQ(c.dc.GetPixel(5, 60), kYellow);
    EXPECT_EQ(c.dc.GetPixel(6, 60), kBlack);
    c.dc.SetBkMode(TRANSPARENT);
    c.dc.MoveTo(0, 62);
    c.dc.LineTo(30, 62);
    EXPECT_EQ(c.dc.GetPixel(1, 62), kBlack);
    EXPECT_EQ(c.dc.GetPixel(4, 62), kWhite);

    // A null pen draws nothing.
    CPen none(PS_NULL, 1, kBlack);
    c.dc.SelectObject(&none);
    c.dc.MoveTo(0, 80);
    c.dc.LineTo(30, 80);
    EXPECT_EQ(c.dc.GetPixel(10, 80), kWhite);
}

TEST(DcDrawTest, PolygonFillModes)
{
    const std::vector<CPoint> star = Pentagram();
    struct Case
    {
        int mode;
        COLORREF centre;
    };
    for (const Case& k : {Case{ALTERNATE, kWhite}, Case{WINDING, kRed}})
    {
        Canvas c;
        CBrush red(kRed);
        CPen none(PS_NULL, 0, 0);
        c.dc.SelectObject(&red);
        c.dc.SelectObject(&none);
        EXPECT_EQ(c.dc.SetPolyFillMode(k.mode), ALTERNATE);
        ASSERT_TRUE(c.dc.Polygon(star.data(), static_cast<int>(star.size())));
        EXPECT_EQ(c.dc.GetPixel(50, 50), k.centre) << "mode " << k.mode;
        EXPECT_EQ(c.dc.GetPixel(50, 12), kRed) << "the top point";  // inside a tip
        EXPECT_EQ(c.dc.GetPixel(3, 3), kWhite) << "outside";
        EXPECT_EQ(c.dc.GetPixel(97, 97), kWhite) << "outside";
    }

    // With a pen, the outline goes round the fill.
    Canvas c;
    CBrush blue(kBlue);
    CPen outline(PS_SOLID, 1, kBlack);
    c.dc.SelectObject(&blue);
    c.dc.SelectObject(&outline);
    const CPoint square[] = {CPoint(10, 10), CPoint(30, 10), CPoint(30, 30), CPoint(10, 30)};
    c.dc.Polygon(square, 4);
    EXPECT_EQ(c.dc.GetPixel(10, 20), kBlack);
    EXPECT_EQ(c.dc.GetPixel(20, 20), kBlue);
    EXPECT_EQ(c.dc.GetPixel(35, 20), kWhite);
}

TEST(DcDrawTest, HatchedBrushesRepeatEveryEightPixels)
{
    // Horizontal hatch: whole rows of the hatch colour, 8 apart, the rows
    // between in the background colour.
    Canvas c;
    CBrush hatch(HS_HORIZONTAL, kBlue);
    CRect area(0, 0, 40, 40);
    c.dc.SetBkColor(kYellow);
    c.dc.FillRect(&area, &hatch);
    int hatchRows = 0;
    int firstRow = -1;
    for (int y = 0; y < 40; ++y)
    {
        const COLORREF left = c.dc.GetPixel(0, y);
        for (int x = 1; x < 40; ++x)
            ASSERT_EQ(c.dc.GetPixel(x, y), left) << "a horizontal hatch row is uniform, row " << y;
        if (left == kBlue)
        {
            ++hatchRows;
            if (firstRow < 0)
                firstRow = y;
        }
        else
        {
            EXPECT_EQ(left, kYellow);
        }
    }
    EXPECT_EQ(hatchRows, 5);
    EXPECT_EQ(c.dc.GetPixel(5, firstRow + 8), kBlue);

    // Vertical hatch, transparent: the gaps keep what was there.
    Canvas v;
    v.dc.FillSolidRect(0, 0, 40, 40, kGreen);
    v.dc.SetBkMode(TRANSPARENT);
    CBrush vert(HS_VERTICAL, kRed);
    v.dc.FillRect(&area, &vert);
    int redColumns = 0;
    for (int x = 0; x < 40; ++x)
    {
        const COLORREF top = v.dc.GetPixel(x, 0);
        EXPECT_EQ(v.dc.GetPixel(x, 39), top);
        if (top == kRed)
            ++redColumns;
        else
            EXPECT_EQ(top, kGreen);
    }
    EXPECT_EQ(redColumns, 5);

    // Cross hatch has both; the diagonals differ in direction.
    Canvas d;
    CBrush fdiag(HS_FDIAGONAL, kBlack);
    CRect cell(0, 0, 8, 8);
    d.dc.FillRect(&cell, &fdiag);
    // A "\" line: where (x, y) is set, so is (x+1, y+1).
    int inked = 0;
    for (int y = 0; y < 7; ++y)
    {
        for (int x = 0; x < 7; ++x)
        {
            if (d.dc.GetPixel(x, y) == kBlack)
            {
                ++inked;
                EXPECT_EQ(d.dc.GetPixel(x + 1, y + 1), kBlack) << x << "," << y;
            }
        }
    }
    EXPECT_GT(inked, 0);
}

TEST(DcDrawTest, TextIsDrawnInTheTextColourOnly)
{
    Canvas c(120, 40);
    c.dc.SetBkMode(TRANSPARENT);
    c.dc.SetTextColor(RGB(200, 0, 0));
    ASSERT_TRUE(c.dc.TextOut(5, 5, "WWW"));
    const CSize extent = c.dc.GetTextExtent("WWW");
    EXPECT_GT(extent.cx, 10);
    EXPECT_GT(extent.cy, 5);
    int inked = 0;
    for (int y = 0; y < 40; ++y)
    {
        for (int x = 0; x < 120; ++x)
        {
            const COLORREF p = c.dc.GetPixel(x, y);
            if (p == kWhite)
                continue;
            ++inked;
            EXPECT_EQ(p, RGB(200, 0, 0)) << "no smoothed pixels, at " << x << "," << y;
            EXPECT_TRUE(x >= 5 && x < 5 + extent.cx && y >= 5 && y < 5 + extent.cy) << x << "," << y;
        }
    }
    EXPECT_GT(inked, 10);

    // Opaque: the text's cell takes the background colour.
    Canvas o(120, 40);
    o.dc.SetBkColor(kYellow);
    o.dc.TextOut(5, 5, "i");
    const CSize cell = o.dc.GetTextExtent("i");
    EXPECT_EQ(o.dc.GetPixel(5, 5), kYellow);
    EXPECT_EQ(o.dc.GetPixel(5 + cell.cx - 1, 5 + cell.cy - 1), kYellow);
    EXPECT_EQ(o.dc.GetPixel(5 + cell.cx + 1, 5), kWhite);

    // A bigger font gives a bigger extent.
    CFont big;
    big.CreatePointFont(240, "Arial");
    o.dc.SelectObject(&big);
    EXPECT_GT(o.dc.GetTextExtent("WWW").cx, extent.cx);
}

TEST(DcDrawTest, RectanglesAndEllipsesExcludeRightAndBottomEdges)
{
    Canvas c;
    CPen pen(PS_SOLID, 1, kBlack);
    CBrush fill(kBlue);
    c.dc.SelectObject(&pen);
    c.dc.SelectObject(&fill);
    c.dc.Rectangle(10, 10, 20, 20);
    EXPECT_EQ(c.dc.GetPixel(10, 10), kBlack);
    EXPECT_EQ(c.dc.GetPixel(19, 19), kBlack);
    EXPECT_EQ(c.dc.GetPixel(20, 20), kWhite);
    EXPECT_EQ(c.dc.GetPixel(15, 15), kBlue);

    // The default brush is white, a hollow one fills nothing.
    Canvas h;
    h.dc.FillSolidRect(0, 0, 100, 100, kGreen);
    EXPECT_EQ(h.dc.GetBkColor(), kGreen);  // as the framework's does
    h.dc.SelectStockObject(HOLLOW_BRUSH);
    h.dc.Ellipse(10, 10, 50, 50);
    EXPECT_EQ(h.dc.GetPixel(30, 30), kGreen);
    EXPECT_EQ(h.dc.GetPixel(10, 30), kBlack);
    EXPECT_EQ(h.dc.GetPixel(12, 12), kGreen);  // outside the curve, in the corner
    EXPECT_EQ(h.dc.GetPixel(50, 30), kGreen);

    CRect solid(60, 60, 70, 65);
    h.dc.FillSolidRect(&solid, kRed);
    EXPECT_EQ(h.dc.GetPixel(60, 60), kRed);
    EXPECT_EQ(h.dc.GetPixel(69, 64), kRed);
    EXPECT_EQ(h.dc.GetPixel(70, 64), kGreen);
    EXPECT_EQ(h.dc.GetPixel(69, 65), kGreen);
}

TEST(DcDrawTest, ArcPieAndBezier)
{
    Canvas c;
    CBrush red(kRed);
    c.dc.SelectObject(&red);
    // From the radial through the right middle, counter-clockwise to the
    // one through the top middle: the upper right quarter.
    c.dc.Pie(10, 10, 91, 91, 90, 50, 50, 10);
    EXPECT_EQ(c.dc.GetPixel(70, 30), kRed);
    EXPECT_EQ(c.dc.GetPixel(30, 30), kWhite);
    EXPECT_EQ(c.dc.GetPixel(70, 70), kWhite);

    Canvas a;
    a.dc.Arc(10, 10, 91, 91, 50, 10, 90, 50);  // the other three quarters
    EXPECT_EQ(a.dc.GetPixel(10, 50), kBlack);
    EXPECT_EQ(a.dc.GetPixel(50, 90), kBlack);
    EXPECT_EQ(a.dc.GetPixel(50, 50), kWhite);
    int upperRight = 0;
    for (int y = 10; y < 45; ++y)
        for (int x = 55; x < 91; ++x)
            upperRight += a.dc.GetPixel(x, y) == kBlack;
    EXPECT_EQ(upperRight, 0);

    Canvas b;
    const CPoint curve[] = {CPoint(10, 80), CPoint(30, 10), CPoint(70, 10), CPoint(90, 80)};
    ASSERT_TRUE(b.dc.PolyBezier(curve, 4));
    EXPECT_EQ(b.dc.GetPixel(10, 80), kBlack);
    EXPECT_EQ(b.dc.GetPixel(50, 80), kWhite);
    int onTop = 0;
    for (int y = 20; y < 40; ++y)
        onTop += b.dc.GetPixel(50, y) == kBlack;
    EXPECT_GE(onTop, 1);
    EXPECT_FALSE(b.dc.PolyBezier(curve, 3));  // not 1 + 3k points
}

TEST(DcDrawTest, PixelsBlitsAndViewportOrigin)
{
    Canvas c(20, 20);
    EXPECT_EQ(c.dc.SetPixel(3, 4, kRed), kRed);
    EXPECT_EQ(c.dc.GetPixel(3, 4), kRed);
    EXPECT_EQ(c.dc.GetPixel(-1, 0), CLR_INVALID);
    EXPECT_EQ(c.dc.GetPixel(20, 0), CLR_INVALID);
    EXPECT_EQ(c.dc.SetPixel(25, 0, kRed), CLR_INVALID);

    // Origin moved: logical (0, 0) is device (5, 5).
    c.dc.SetViewportOrg(5, 5);
    c.dc.SetPixel(0, 0, kBlue);
    c.dc.SetViewportOrg(0, 0);
    EXPECT_EQ(c.dc.GetPixel(5, 5), kBlue);

    // A memory DC draws on the bitmap selected into it.
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&c.dc, 2, 2));
    CDC mem;
    mem.CreateCompatibleDC(&c.dc);
    CBitmap* old = mem.SelectObject(&bitmap);
    EXPECT_EQ(old, nullptr);
    mem.SetPixel(0, 0, kRed);
    mem.SetPixel(1, 0, kGreen);
    mem.SetPixel(0, 1, kBlue);
    mem.SetPixel(1, 1, kYellow);
    EXPECT_EQ(bitmap.GetPixel(1, 1), kYellow);

    ASSERT_TRUE(c.dc.BitBlt(10, 10, 2, 2, &mem, 0, 0, SRCCOPY));
    EXPECT_EQ(c.dc.GetPixel(10, 10), kRed);
    EXPECT_EQ(c.dc.GetPixel(11, 11), kYellow);
    EXPECT_EQ(c.dc.GetPixel(12, 12), kWhite);

    // Stretched twice: each source pixel becomes a 2 x 2 block.
    ASSERT_TRUE(c.dc.StretchBlt(0, 10, 4, 4, &mem, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(c.dc.GetPixel(0, 10), kRed);
    EXPECT_EQ(c.dc.GetPixel(1, 11), kRed);
    EXPECT_EQ(c.dc.GetPixel(2, 10), kGreen);
    EXPECT_EQ(c.dc.GetPixel(3, 13), kYellow);

    // SRCAND keeps only what both have.
    c.dc.FillSolidRect(14, 0, 2, 2, RGB(0, 255, 255));
    c.dc.BitBlt(14, 0, 2, 2, &mem, 0, 0, SRCAND);
    EXPECT_EQ(c.dc.GetPixel(14, 0), kBlack);
    EXPECT_EQ(c.dc.GetPixel(14, 1), kBlue);

    EXPECT_EQ(mem.SelectObject(old), &bitmap);
    EXPECT_FALSE(c.dc.BitBlt(0, 0, 2, 2, &mem, 0, 0, SRCCOPY));  // nothing selected to copy from
}

TEST(DcDrawTest, NotMixModeUndoesItself)
{
    Canvas c(20, 20);
    c.dc.FillSolidRect(0, 0, 20, 20, kGreen);
    c.dc.SetROP2(R2_NOT);
    c.dc.MoveTo(0, 5);
    c.dc.LineTo(20, 5);
    EXPECT_EQ(c.dc.GetPixel(7, 5), RGB(255, 127, 255));
    c.dc.MoveTo(0, 5);
    c.dc.LineTo(20, 5);
    EXPECT_EQ(c.dc.GetPixel(7, 5), kGreen);
}

TEST(DcDrawTest, SavedStateComesBack)
{
    Canvas c(20, 20);
    CPen red(PS_SOLID, 1, kRed);
    const int saved = c.dc.SaveDC();
    c.dc.SelectObject(&red);
    c.dc.SetTextColor(kBlue);
    c.dc.SetBkMode(TRANSPARENT);
    EXPECT_TRUE(c.dc.RestoreDC(saved));
    EXPECT_EQ(c.dc.GetCurrentPen(), nullptr);
    EXPECT_EQ(c.dc.GetTextColor(), kBlack);
    EXPECT_EQ(c.dc.GetBkMode(), OPAQUE);
    EXPECT_FALSE(c.dc.RestoreDC(saved));
}

TEST(DcRegionTest, HitTestsFollowTheFillMode)
{
    const std::vector<CPoint> star = Pentagram();
    CRgn alternate;
    CRgn winding;
    ASSERT_TRUE(alternate.CreatePolygonRgn(star.data(), 5, ALTERNATE));
    ASSERT_TRUE(winding.CreatePolygonRgn(star.data(), 5, WINDING));
    EXPECT_FALSE(alternate.PtInRegion(50, 50));
    EXPECT_TRUE(winding.PtInRegion(50, 50));
    EXPECT_TRUE(alternate.PtInRegion(50, 12));
    EXPECT_TRUE(winding.PtInRegion(CPoint(50, 12)));
    EXPECT_FALSE(winding.PtInRegion(3, 3));

    // A rectangle holds its left and top edge, not its right and bottom one.
    CRgn rect;
    rect.CreateRectRgn(10, 10, 20, 20);
    EXPECT_TRUE(rect.PtInRegion(10, 10));
    EXPECT_TRUE(rect.PtInRegion(19, 19));
    EXPECT_FALSE(rect.PtInRegion(20, 19));
    EXPECT_FALSE(rect.PtInRegion(19, 20));

    // AND of two overlapping rectangles is their overlap; of apart ones, empty.
    CRgn other;
    other.CreateRectRgn(15, 15, 30, 30);
    CRgn both;
    both.CreateRectRgn(0, 0, 0, 0);
    EXPECT_TRUE(both.IsEmpty());
    EXPECT_EQ(both.CombineRgn(&rect, &other, RGN_AND), SIMPLEREGION);
    CRect box;
    both.GetRgnBox(&box);
    EXPECT_EQ(box, CRect(15, 15, 20, 20));
    EXPECT_TRUE(both.PtInRegion(15, 15));
    EXPECT_FALSE(both.PtInRegion(12, 12));
    CRgn far;
    far.CreateRectRgn(50, 50, 60, 60);
    EXPECT_EQ(both.CombineRgn(&rect, &far, RGN_AND), NULLREGION);
    EXPECT_TRUE(both.IsEmpty());

    // Too few points make no region; a region never made holds nothing.
    CRgn bad;
    EXPECT_FALSE(bad.CreatePolygonRgn(star.data(), 1, ALTERNATE));
    EXPECT_FALSE(bad.PtInRegion(0, 0));
    EXPECT_TRUE(bad.IsEmpty());
    EXPECT_EQ(bad.CombineRgn(&rect, &other, RGN_AND), RGN_ERROR);
}

// A polygon region answers point tests from its edges and lays out its own
// pixels; Qt's own polygon region is the reference both must match pixel
// for pixel: random polygons (crossing edges, level edges, repeated
// vertices) under both fill modes, whole and cut to a random rectangle, on
// every pixel around them.
TEST(DcRegionTest, PolygonRegionsMatchTheReferencePixelForPixel)
{
    std::mt19937 random(20240611);
    struct Scale
    {
        int reach;  // vertices within -reach..reach
        int step;   // pixels tested every `step` along each axis
        int tries;
    } scales[] = {{12, 1, 150}, {40, 1, 30}, {600, 31, 6}};
    for (const Scale& scale : scales)
    {
        std::uniform_int_distribution<int> coordinate(-scale.reach, scale.reach);
        std::uniform_int_distribution<int> count(2, 9);
        for (int t = 0; t < scale.tries; ++t)
        {
            std::vector<CPoint> points(static_cast<size_t>(count(random)));
            for (CPoint& p : points)
                p = CPoint(coordinate(random), coordinate(random));
            if (t % 5 == 1)  // a level edge
                points[1].y = points[0].y;
            if (t % 7 == 2)  // a vertex twice
                points.back() = points.front();
            QPolygon polygon;
            for (const CPoint& p : points)
                polygon << QPoint(p.x, p.y);
            CRect cut(coordinate(random), coordinate(random), coordinate(random), coordinate(random));
            cut.NormalizeRect();
            for (int mode : {ALTERNATE, WINDING})
            {
                const QRegion reference(polygon, mode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
                const QRegion referenceCut = reference.intersected(QRect(cut.left, cut.top, cut.Width(), cut.Height()));
                CRgn region;
                ASSERT_TRUE(region.CreatePolygonRgn(points.data(), static_cast<int>(points.size()), mode));
                CRgn nothing;
                nothing.CreateRectRgn(0, 0, 0, 0);
                CRgn whole;
                whole.CreateRectRgn(0, 0, 0, 0);
                whole.CombineRgn(&region, &nothing, RGN_OR);
                CRgn box;
                box.CreateRectRgnIndirect(&cut);
                CRgn part;
                part.CreateRectRgn(0, 0, 0, 0);
                part.CombineRgn(&region, &box, RGN_AND);
                int mismatches = 0;
                const int reach = scale.reach + 2;
                for (int y = -reach; y <= reach; y += scale.step)
                    for (int x = -reach; x <= reach; x += scale.step)
                    {
                        const bool expected = reference.contains(QPoint(x, y));
                        if ((region.PtInRegion(x, y) != FALSE) != expected ||
                            (whole.PtInRegion(x, y) != FALSE) != expected ||
                            (part.PtInRegion(x, y) != FALSE) != referenceCut.contains(QPoint(x, y)))
                            ++mismatches;
                    }
                EXPECT_EQ(mismatches, 0) << "reach " << scale.reach << ", try " << t << ", mode " << mode;
                CRect wholeBox;
                whole.GetRgnBox(&wholeBox);
                EXPECT_EQ(wholeBox,
                          reference.isEmpty()
                              ? CRect()
                              : CRect(reference.boundingRect().left(), reference.boundingRect().top(),
                                      reference.boundingRect().right() + 1, reference.boundingRect().bottom() + 1));
            }
        }
    }
}

// A polygon over the whole range of a map's coordinates, cut to a view:
// made, tested and cut at once, where laying out all its rows took seconds.
TEST(DcRegionTest, AVastPolygonCutToAViewLaysOutOnlyTheView)
{
    const std::vector<CPoint> triangle = {{-32768, -32768}, {32767, -32768}, {-32768, 32767}};
    CRgn region;
    ASSERT_TRUE(region.CreatePolygonRgn(triangle.data(), 3, ALTERNATE));
    EXPECT_TRUE(region.PtInRegion(-1, -1));
    EXPECT_FALSE(region.PtInRegion(0, -1));
    CRgn view;
    view.CreateRectRgn(-100, -100, 100, 100);
    CRgn part;
    part.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(part.CombineRgn(&region, &view, RGN_AND), COMPLEXREGION);
    for (int y = -100; y < 100; y += 7)
        for (int x = -100; x < 100; x += 7)
            EXPECT_EQ(part.PtInRegion(x, y) != FALSE, x + y < -1) << x << "," << y;
}

// A polygon's region painted with a solid brush or with each hatch over a
// transparent background, from a moved viewport origin and reaching past
// the image: the direct fill leaves the painter's pixels.
TEST(DcRegionTest, PaintingARegionLeavesThePaintersPixels)
{
    std::vector<CPoint> star = Pentagram();
    for (CPoint& p : star)
        p.x += 30;  // reaching past the right edge
    CRgn region;
    region.CreatePolygonRgn(star.data(), 5, WINDING);
    const auto paint = [&](BOOL bPlain, int hatch)
    {
        Canvas c(97, 83);
        CBrush brush;
        if (hatch < 0)
            brush.CreateSolidBrush(kGreen);
        else
            brush.CreateHatchBrush(hatch, kBlue);
        c.dc.SetViewportOrg(-7, 3);
        c.dc.SetBkMode(TRANSPARENT);
        c.dc.SelectObject(&brush);
        SetPlainDrawing(bPlain);
        EXPECT_TRUE(c.dc.PaintRgn(&region));
        SetPlainDrawing(FALSE);
        return c.image;
    };
    for (int hatch = -1; hatch <= HS_DIAGCROSS; ++hatch)
    {
        const QImage painted = paint(FALSE, hatch);
        EXPECT_EQ(painted, paint(TRUE, hatch)) << "hatch " << hatch;
        EXPECT_NE(painted, Canvas(97, 83).image) << "hatch " << hatch << " painted nothing";
    }
}

TEST(DcRegionTest, FillRegionPaintsExactlyItsPixels)
{
    Canvas c(100, 100);
    const std::vector<CPoint> star = Pentagram();
    CRgn region;
    region.CreatePolygonRgn(star.data(), 5, ALTERNATE);
    CBrush red(kRed);
    ASSERT_TRUE(c.dc.FillRgn(&region, &red));
    for (int y = 0; y < 100; y += 3)
        for (int x = 0; x < 100; x += 3)
            EXPECT_EQ(c.dc.GetPixel(x, y) == kRed, region.PtInRegion(x, y) != FALSE) << x << "," << y;

    // Clipping to a region keeps drawing inside it.
    Canvas k(40, 40);
    CRgn clip;
    clip.CreateRectRgn(10, 10, 20, 20);
    k.dc.SelectClipRgn(&clip);
    k.dc.FillSolidRect(0, 0, 40, 40, kBlue);
    EXPECT_EQ(k.dc.GetPixel(15, 15), kBlue);
    EXPECT_EQ(k.dc.GetPixel(25, 25), kWhite);
}
