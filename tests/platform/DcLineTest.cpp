// One-pixel lines walked along the image's rows give exactly the pixels of
// the plain rule: Bresenham from the first point, the last point left out,
// each pixel read and written on its own, the dash pattern looked up by a
// division at every pixel. The plain rule is written out here and compared
// with the DC over random lines, pens, mix modes and clip regions.
#include "platform/ui/DC.h"

#include <QImage>
#include <QRegion>

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

namespace
{
struct LinePen
{
    int style = PS_SOLID;
    COLORREF color = 0;
    COLORREF back = 0;
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
};

std::vector<int> PlainDashes(int style)
{
    switch (style)
    {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    default: return {};
    }
}

QRgb PlainMix(int rop2, QRgb pen, QRgb dst)
{
    const unsigned p = pen & 0x00FFFFFF;
    const unsigned d = dst & 0x00FFFFFF;
    unsigned r = p;
    switch (rop2)
    {
    case R2_BLACK: r = 0; break;
    case R2_NOTMERGEPEN: r = ~(p | d); break;
    case R2_MASKNOTPEN: r = ~p & d; break;
    case R2_NOTCOPYPEN: r = ~p; break;
    case R2_MASKPENNOT: r = p & ~d; break;
    case R2_NOT: r = ~d; break;
    case R2_XORPEN: r = p ^ d; break;
    case R2_NOTMASKPEN: r = ~(p & d); break;
    case R2_MASKPEN: r = p & d; break;
    case R2_NOTXORPEN: r = ~(p ^ d); break;
    case R2_NOP: r = d; break;
    case R2_MERGENOTPEN: r = ~p | d; break;
    case R2_MERGEPENNOT: r = p | ~d; break;
    case R2_MERGEPEN: r = p | d; break;
    case R2_WHITE: r = 0xFFFFFF; break;
    default: r = p; break;
    }
    return 0xFF000000u | (r & 0x00FFFFFFu);
}

QRgb ToRgb(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

// The plain rule for one segment of a figure, in device pixels.
void PlainLine(QImage& image, CPoint from, CPoint to, int& stylePos, const LinePen& pen, const QRegion* clip)
{
    const std::vector<int> dashes = PlainDashes(pen.style);
    int period = 0;
    for (int d : dashes)
        period += d;
    int x = from.x;
    int y = from.y;
    const int dx = std::abs(to.x - x);
    const int dy = -std::abs(to.y - y);
    const int sx = x < to.x ? 1 : -1;
    const int sy = y < to.y ? 1 : -1;
    int err = dx + dy;
    while (x != to.x || y != to.y)
    {
        bool on = true;
        if (period > 0)
        {
            int k = stylePos % period;
            for (size_t i = 0; i < dashes.size(); ++i)
            {
                if (k < dashes[i])
                {
                    on = (i % 2) == 0;
                    break;
                }
                k -= dashes[i];
            }
        }
        ++stylePos;
        if ((on || pen.bkMode == OPAQUE) && image.valid(x, y) && (clip == nullptr || clip->contains(QPoint(x, y))))
            image.setPixel(x, y, PlainMix(pen.rop2, on ? ToRgb(pen.color) : ToRgb(pen.back), image.pixel(x, y)));
        const int e2 = 2 * err;
        if (e2 >= dy)
        {
            err += dy;
            x += sx;
        }
        if (e2 <= dx)
        {
            err += dx;
            y += sy;
        }
    }
}

QImage NoiseImage(int width, int height, std::mt19937& random, QImage::Format format)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, random() | 0xFF000000u);
    return image.convertToFormat(format);
}

// A figure of random points: mostly on the image, some far off it, many
// level or upright segments (the grid and the rubber band are made of them).
std::vector<CPoint> RandomFigure(std::mt19937& random, int width, int height)
{
    std::uniform_int_distribution<int> count(2, 5);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> near(-20, width + 20);
    std::uniform_int_distribution<int> nearY(-20, height + 20);
    std::uniform_int_distribution<int> far(-5000, 5000);
    std::vector<CPoint> points;
    const int n = count(random);
    for (int i = 0; i < n; ++i)
    {
        CPoint p(near(random), nearY(random));
        const int k = kind(random);
        if (k == 0)
            p = CPoint(far(random), far(random));
        if (!points.empty() && k >= 6 && k < 8)
            p.y = points.back().y;  // level
        else if (!points.empty() && k >= 8)
            p.x = points.back().x;  // upright
        points.push_back(p);
    }
    return points;
}
}  // namespace

TEST(DcLineTest, LinesGiveThePixelsOfThePlainRule)
{
    std::mt19937 random(1412);
    const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
    const int rops[] = {R2_COPYPEN, R2_XORPEN, R2_MASKPENNOT, R2_NOT, R2_MERGEPEN};
    const QImage::Format formats[] = {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_RGB888};
    constexpr int kWidth = 97;
    constexpr int kHeight = 61;
    for (int round = 0; round < 1500; ++round)
    {
        const QImage::Format format = formats[round % 3];
        QImage expected = NoiseImage(kWidth, kHeight, random, format);
        QImage image = expected.copy();
        LinePen pen;
        pen.style = styles[random() % 5];
        pen.color = random() & 0xFFFFFF;
        pen.back = random() & 0xFFFFFF;
        pen.bkMode = (random() % 2) != 0 ? OPAQUE : TRANSPARENT;
        pen.rop2 = rops[random() % 5];
        const CPoint origin(static_cast<int>(random() % 21) - 10, static_cast<int>(random() % 21) - 10);
        const bool clipped = random() % 4 == 0;
        CRgn region;
        region.CreateRectRgn(static_cast<int>(random() % 40), static_cast<int>(random() % 30),
                             50 + static_cast<int>(random() % 47), 30 + static_cast<int>(random() % 31));
        const std::vector<CPoint> figure = RandomFigure(random, kWidth, kHeight);
        const bool asPolyline = random() % 2 == 0;

        CPen cosmetic(pen.style, random() % 2, pen.color);
        {
            CDC dc;
            dc.AttachImage(&image);
            dc.SelectObject(&cosmetic);
            dc.SetBkColor(pen.back);
            dc.SetBkMode(pen.bkMode);
            dc.SetROP2(pen.rop2);
            dc.SetViewportOrg(origin);
            if (clipped)
                dc.SelectClipRgn(&region);
            if (asPolyline)
            {
                dc.Polyline(figure.data(), static_cast<int>(figure.size()));
            }
            else
            {
                dc.MoveTo(figure[0]);
                for (size_t i = 1; i < figure.size(); ++i)
                    dc.LineTo(figure[i]);
            }
            dc.DetachImage();
        }

        // A polyline runs its pattern on across its segments; separate
        // LineTo calls start it again.
        int stylePos = 0;
        for (size_t i = 1; i < figure.size(); ++i)
        {
            if (!asPolyline)
                stylePos = 0;
            const CPoint from(figure[i - 1].x + origin.x, figure[i - 1].y + origin.y);
            const CPoint to(figure[i].x + origin.x, figure[i].y + origin.y);
            PlainLine(expected, from, to, stylePos, pen, clipped ? region.GetRegion() : nullptr);
        }
        ASSERT_EQ(image, expected) << "round " << round << " style " << pen.style << " rop " << pen.rop2 << " format "
                                   << format << (clipped ? " clipped" : "");
    }
}

TEST(DcLineTest, PlainDrawingGivesTheSamePixels)
{
    std::mt19937 random(77);
    for (int round = 0; round < 200; ++round)
    {
        const QImage start = NoiseImage(80, 50, random, QImage::Format_RGB32);
        const std::vector<CPoint> figure = RandomFigure(random, 80, 50);
        CPen pen(PS_DOT, 1, random() & 0xFFFFFF);
        QImage drawn[2] = {start.copy(), start.copy()};
        for (int plain = 0; plain < 2; ++plain)
        {
            SetPlainDrawing(plain);
            CDC dc;
            dc.AttachImage(&drawn[plain]);
            dc.SelectObject(&pen);
            dc.SetROP2(round % 2 == 0 ? R2_COPYPEN : R2_XORPEN);
            dc.Polyline(figure.data(), static_cast<int>(figure.size()));
            dc.DetachImage();
        }
        SetPlainDrawing(FALSE);
        ASSERT_EQ(drawn[0], drawn[1]) << "round " << round;
    }
}
