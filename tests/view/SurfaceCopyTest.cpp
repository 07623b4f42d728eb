// Copies between surfaces by whole rows give exactly the pixels of the
// plain rule: every destination pixel inside the target takes the source
// pixel under its centre, source pixels outside the source surface are left
// out, a keyed copy leaves out the key colour. The plain rule is written out
// here and compared with the surfaces' copies over random rectangles, same
// size and stretched, keyed and not, onto another surface and onto itself.
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"

#include <QImage>

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace
{
constexpr DWORD kKey = 0x00A5A573;

void PlainCopy(const QImage& from, QImage& to, const CRect& dest, const CRect& source, bool keyed)
{
    const int sw = source.Width();
    const int sh = source.Height();
    const int dw = dest.Width();
    const int dh = dest.Height();
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0)
        return;
    const QImage src = from.copy();  // the source as it was before the copy
    for (int y = std::max<int>(dest.top, 0); y < std::min<int>(dest.bottom, to.height()); ++y)
    {
        const long long ky = y - dest.top;
        const int sy = source.top + int((2 * ky + 1) * sh / (2LL * dh));
        if (sy < 0 || sy >= src.height())
            continue;
        for (int x = std::max<int>(dest.left, 0); x < std::min<int>(dest.right, to.width()); ++x)
        {
            const long long kx = x - dest.left;
            const int sx = source.left + int((2 * kx + 1) * sw / (2LL * dw));
            if (sx < 0 || sx >= src.width())
                continue;
            const QRgb pixel = reinterpret_cast<const QRgb*>(src.constScanLine(sy))[sx];
            if (keyed && (pixel & 0x00FFFFFF) == kKey)
                continue;
            reinterpret_cast<QRgb*>(to.scanLine(y))[x] = pixel | 0xFF000000u;
        }
    }
}

void Fill(CSurface& surface, std::mt19937& random)
{
    QImage& image = surface.GetImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, random() % 5 == 0 ? (0xFF000000u | kKey) : (random() | 0xFF000000u));
}

CRect RandomRect(std::mt19937& random, int width, int height)
{
    std::uniform_int_distribution<int> x(-width / 2, width + width / 2);
    std::uniform_int_distribution<int> y(-height / 2, height + height / 2);
    std::uniform_int_distribution<int> size(1, 3 * std::max(width, height) / 4);
    const int left = x(random);
    const int top = y(random);
    return CRect(left, top, left + size(random), top + size(random));
}
}  // namespace

TEST(SurfaceCopyTest, CopiesGiveThePixelsOfThePlainRule)
{
    std::mt19937 random(2024);
    CDisplay display;
    ASSERT_TRUE(display.Init(nullptr, 64, 48));
    CSurface sheet;
    CSurface target;
    ASSERT_TRUE(sheet.Create(&display, 53, 37));
    ASSERT_TRUE(target.Create(&display, 64, 48));
    sheet.SetColorKey(kKey);
    target.SetColorKey(kKey);
    for (int round = 0; round < 3000; ++round)
    {
        Fill(sheet, random);
        Fill(target, random);
        const bool keyed = random() % 2 == 0;
        const bool onItself = random() % 8 == 0;
        CSurface& from = onItself ? target : sheet;
        const CRect source = RandomRect(random, from.GetWidth(), from.GetHeight());
        CRect dest = RandomRect(random, target.GetWidth(), target.GetHeight());
        // Half of the copies are pixel for pixel, as tiles at the normal
        // zoom, the static layers and the present are.
        if (random() % 2 == 0)
            dest = CRect(dest.left, dest.top, dest.left + source.Width(), dest.top + source.Height());
        QImage expected = target.GetImage().copy();
        PlainCopy(from.GetImage(), expected, dest, source, keyed);
        ASSERT_EQ(from.Blt(dest, &target, source, keyed), DD_OK);
        ASSERT_EQ(target.GetImage(), expected)
            << "round " << round << (keyed ? " keyed" : "") << (onItself ? " onto itself" : "") << " source ("
            << source.left << ", " << source.top << ", " << source.right << ", " << source.bottom << ") dest ("
            << dest.left << ", " << dest.top << ", " << dest.right << ", " << dest.bottom << ")";
    }
}

TEST(SurfaceCopyTest, PlainDrawingGivesTheSamePixels)
{
    std::mt19937 random(8);
    CDisplay display;
    ASSERT_TRUE(display.Init(nullptr, 64, 48));
    CSurface sheet;
    ASSERT_TRUE(sheet.Create(&display, 40, 40));
    sheet.SetColorKey(kKey);
    CSurface targets[2];
    for (CSurface& t : targets)
        ASSERT_TRUE(t.Create(&display, 64, 48));
    for (int round = 0; round < 300; ++round)
    {
        Fill(sheet, random);
        Fill(targets[0], random);
        targets[1].GetImage() = targets[0].GetImage().copy();
        const CRect source = RandomRect(random, 40, 40);
        const CRect dest =
            round % 2 == 0 ? CRect(3, 4, 3 + source.Width(), 4 + source.Height()) : RandomRect(random, 64, 48);
        const BOOL keyed = round % 3 == 0;
        for (int plain = 0; plain < 2; ++plain)
        {
            SetPlainDrawing(plain);
            sheet.Blt(dest, &targets[plain], source, keyed);
        }
        SetPlainDrawing(FALSE);
        ASSERT_EQ(targets[0].GetImage(), targets[1].GetImage()) << "round " << round;
    }
}
