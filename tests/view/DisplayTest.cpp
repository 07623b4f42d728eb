// Surfaces, colour keys, sprites, the lost-surface path and presenting.
#include "battlefield/MapPicture.h"
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"
#include "platform/ui/ScriptedUi.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace
{

constexpr QRgb kGrey = 0xFF5A5A5A;
constexpr QRgb kMagenta = 0xFFFF00FF;
constexpr int kFrame = 8;

// Two 8x8 frames side by side. Every pixel differs from its neighbours so
// that an offset by one shows. Frame 0 has magenta at (2, 3) and (7, 7).
QImage SpriteSheetImage()
{
    QImage image(2 * kFrame, kFrame, QImage::Format_RGB32);
    for (int y = 0; y < kFrame; ++y)
        for (int x = 0; x < kFrame; ++x)
        {
            image.setPixel(x, y, qRgb(200, 20 * x + 5, 20 * y + 5));
            image.setPixel(kFrame + x, y, qRgb(10, 20 * x + 5, 150 + 10 * y));
        }
    image.setPixel(2, 3, kMagenta);
    image.setPixel(7, 7, kMagenta);
    return image;
}

class DisplayTest : public ::testing::Test
{
protected:
    static constexpr int kWidth = 40;
    static constexpr int kHeight = 30;

    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_sheetPath = m_dir.filePath("sprites.bmp");
        ASSERT_TRUE(m_sheetImage.save(m_sheetPath, "BMP"));
        ASSERT_TRUE(m_display.Init(nullptr, kWidth, kHeight));
        ASSERT_TRUE(m_sheet.Load(&m_display, Path(), 2, 1, 2));
        m_sheet.SetColorKey(DDColorMatch(&m_sheet, SPRITE_COLOR_KEY));
    }

    const char* Path() const
    {
        m_pathBytes = m_sheetPath.toUtf8();
        return m_pathBytes.constData();
    }

    QImage& Back() { return m_display.GetBackSurface()->GetImage(); }

    // What a sprite of scale 1 at (x, y) leaves on a grey surface of w x h.
    QImage Expected(int x, int y, int frame, int w, int h) const
    {
        QImage out(w, h, QImage::Format_RGB32);
        out.fill(kGrey);
        for (int v = 0; v < kFrame; ++v)
            for (int u = 0; u < kFrame; ++u)
            {
                const int X = x + u;
                const int Y = y + v;
                const QRgb p = m_sheetImage.pixel(frame * kFrame + u, v);
                if (X >= 0 && Y >= 0 && X < w && Y < h && p != kMagenta)
                    out.setPixel(X, Y, p);
            }
        return out;
    }

    QTemporaryDir m_dir;
    QString m_sheetPath;
    mutable QByteArray m_pathBytes;
    QImage m_sheetImage = SpriteSheetImage();
    CDisplay m_display;
    CFrameSurface m_sheet;
};

// Lists the first pixels where two images differ.
::testing::AssertionResult SameImage(const QImage& actual, const QImage& expected)
{
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << "sizes differ";
    int shown = 0;
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if ((actual.pixel(x, y) & 0xFFFFFF) != (expected.pixel(x, y) & 0xFFFFFF))
            {
                if (shown == 0)
                    result = ::testing::AssertionFailure();
                if (shown++ < 5)
                    result << "(" << x << "," << y << "): " << std::hex << actual.pixel(x, y) << " not "
                           << expected.pixel(x, y) << std::dec << "; ";
            }
    return result;
}

TEST_F(DisplayTest, SpritesClipAtEveryEdgeOfTheDisplay)
{
    struct Case
    {
        const char* where;
        int x, y, frame;
    } cases[] = {
        {"inside", 10, 10, 0},
        {"at the origin", 0, 0, 0},
        {"across the left edge", -3, 5, 0},
        {"across the top edge", 5, -4, 1},
        {"across the right edge", 36, 5, 0},
        {"across the bottom edge", 5, 27, 1},
        {"across the top-left corner", -5, -6, 0},
        {"across the bottom-right corner", 37, 26, 0},
        {"touching the right and bottom edges", 32, 22, 1},
        {"one pixel inside the right edge", 39, 12, 0},
        {"wholly left of the display", -20, 5, 0},
        {"wholly right of the display", 45, 5, 0},
        {"wholly below the display", 5, 30, 0},
    };
    CSprite sprite(&m_sheet);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.where);
        Back().fill(kGrey);
        sprite.SetPosition(c.x, c.y);
        sprite.SetFrame(c.frame);
        EXPECT_EQ(sprite.Draw(m_display.GetBackSurface()), DD_OK);
        EXPECT_TRUE(SameImage(Back(), Expected(c.x, c.y, c.frame, kWidth, kHeight)));
    }
}

TEST_F(DisplayTest, SpriteOnASmallerSurfaceClipsToThatSurface)
{
    CSurface small;
    ASSERT_TRUE(small.Create(&m_display, 12, 10));
    CSprite sprite(&m_sheet);
    for (CPoint at : {CPoint(7, 6), CPoint(-2, 4), CPoint(9, -3)})
    {
        small.GetImage().fill(kGrey);
        sprite.SetPosition(at.x, at.y);
        EXPECT_EQ(sprite.DrawOnSurface(&small), DD_OK);
        EXPECT_TRUE(SameImage(small.GetImage(), Expected(at.x, at.y, 0, 12, 10)));
    }
}

TEST_F(DisplayTest, ScaledSpriteIsStretchedPixelForPixel)
{
    CSprite sprite(&m_sheet);
    sprite.SetScale(2.0f);
    sprite.SetPosition(4, 6);
    EXPECT_EQ(sprite.GetWidth(), 16);
    EXPECT_EQ(sprite.GetHeight(), 16);
    Back().fill(kGrey);
    ASSERT_EQ(sprite.Draw(m_display.GetBackSurface()), DD_OK);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            QRgb want = kGrey;
            if (x >= 4 && x < 20 && y >= 6 && y < 22)
            {
                const QRgb p = m_sheetImage.pixel((x - 4) / 2, (y - 6) / 2);
                if (p != kMagenta)
                    want = p;
            }
            ASSERT_EQ(Back().pixel(x, y), want) << x << "," << y;
        }
}

TEST_F(DisplayTest, HitTestMissesTransparentPixels)
{
    CSprite sprite(&m_sheet);
    sprite.SetPosition(10, 20);
    EXPECT_FALSE(sprite.HitTest(12, 23)) << "magenta pixel (2, 3) of the frame";
    EXPECT_TRUE(sprite.HitTest(13, 23)) << "one pixel beside it";
    EXPECT_TRUE(sprite.HitTest(12, 22)) << "one pixel above it";
    EXPECT_TRUE(sprite.HitTest(10, 20)) << "first pixel of the frame";
    EXPECT_FALSE(sprite.HitTest(17, 27)) << "magenta corner (7, 7)";
    EXPECT_TRUE(sprite.HitTest(16, 27));
    EXPECT_FALSE(sprite.HitTest(9, 20)) << "one pixel left of the sprite";
    EXPECT_FALSE(sprite.HitTest(10, 19)) << "one pixel above the sprite";
    EXPECT_FALSE(sprite.HitTest(18, 20)) << "one pixel right of the sprite";
    sprite.SetFrame(1);
    EXPECT_TRUE(sprite.HitTest(12, 23)) << "frame 1 has no magenta there";
    sprite.SetFrame(2);
    EXPECT_FALSE(sprite.HitTest(12, 23)) << "a frame outside the sheet";
    sprite.SetFrame(0);
    sprite.SetScale(2.0f);
    EXPECT_FALSE(sprite.HitTest(10 + 4, 20 + 6)) << "scaled: (2, 3) of the frame";
    EXPECT_TRUE(sprite.HitTest(10 + 8, 20 + 6));
}

TEST_F(DisplayTest, SpriteIsCentredOnItsMapPoint)
{
    CMapPicture picture(&m_sheet, &m_display);
    picture.SetZoom(2.0f);
    picture.ScrollX(5);
    picture.ScrollY(7);
    CSprite sprite(&m_sheet);
    int x = 100;
    int y = 50;
    sprite.SetMapPosition(x, y, &picture);
    // zoomed point, less half the frame, less the zoomed scroll
    EXPECT_EQ(x, 200 - 4 - 10);
    EXPECT_EQ(y, 100 - 4 - 14);
    EXPECT_EQ(sprite.GetX(), x);
    EXPECT_EQ(sprite.GetY(), y);
}

TEST_F(DisplayTest, ColourKeysAreMatchedInTheSurfaceFormat)
{
    // The contour key is not symmetric in red and blue: as a raw COLORREF
    // it would name another colour.
    const COLORREF contour = RGB(165, 165, 115);
    CSurface source;
    ASSERT_TRUE(source.Create(&m_display, 4, 1));
    source.GetImage().setPixel(0, 0, qRgb(165, 165, 115));
    source.GetImage().setPixel(1, 0, qRgb(255, 0, 0));
    source.GetImage().setPixel(2, 0, qRgb(165, 165, 115));
    source.GetImage().setPixel(3, 0, qRgb(115, 165, 165));
    const DWORD key = DDColorMatch(&source, contour);
    EXPECT_EQ(key, 0xA5A573u);
    EXPECT_EQ(source.GetPixel(0, 0), contour) << "matching leaves the surface as it was";
    EXPECT_EQ(DDColorMatch(&source, CLR_INVALID), CLR_INVALID);

    CSurface target;
    ASSERT_TRUE(target.Create(&m_display, 4, 1));
    target.GetImage().fill(kGrey);
    source.SetColorKey(key);
    ASSERT_EQ(source.BltFastKeyed(0, 0, &target), DD_OK);
    EXPECT_EQ(target.GetImage().pixel(0, 0), kGrey);
    EXPECT_EQ(target.GetImage().pixel(1, 0), qRgb(255, 0, 0));
    EXPECT_EQ(target.GetImage().pixel(2, 0), kGrey);
    EXPECT_EQ(target.GetImage().pixel(3, 0), qRgb(115, 165, 165)) << "the colour with red and blue swapped";

    CSurface plain;
    ASSERT_TRUE(plain.Create(&m_display, 2, 2));
    EXPECT_EQ(plain.BltFastKeyed(0, 0, &target), DDERR_NOCOLORKEY);
}

TEST_F(DisplayTest, ClipBltRectsCutsToTheClipRectangle)
{
    struct Case
    {
        int x, y;
        CRect src, clip;
        int wantX, wantY;
        CRect wantSrc;
    } cases[] = {
        {5, 5, CRect(0, 0, 8, 8), CRect(0, 0, 40, 30), 5, 5, CRect(0, 0, 8, 8)},
        {-3, 4, CRect(8, 0, 16, 8), CRect(0, 0, 40, 30), 0, 4, CRect(11, 0, 16, 8)},
        {36, -2, CRect(0, 0, 8, 8), CRect(0, 0, 40, 30), 36, 0, CRect(0, 2, 4, 8)},
        {10, 27, CRect(0, 0, 8, 8), CRect(2, 2, 38, 28), 10, 27, CRect(0, 0, 8, 1)},
    };
    for (const Case& c : cases)
    {
        int x = c.x;
        int y = c.y;
        CRect src = c.src;
        ClipBltRects(x, y, src, c.clip);
        EXPECT_EQ(x, c.wantX);
        EXPECT_EQ(y, c.wantY);
        EXPECT_EQ(src, c.wantSrc);
    }
}

TEST_F(DisplayTest, BlitsStayInsideBothSurfaces)
{
    CSurface target;
    ASSERT_TRUE(target.Create(&m_display, 10, 10));
    target.GetImage().fill(kGrey);
    // A source rectangle reaching past the sheet and a destination reaching
    // past the target are cut, not read or written outside.
    m_sheet.SetSourceRect(CRect(-4, -4, 40, 40));
    EXPECT_EQ(m_sheet.BltFast(-20, -20, &target), DD_OK);
    m_sheet.SetSourceRect(CRect(0, 0, 16, 8));
    m_sheet.SetDestRect(CRect(-100, -100, 1000, 1000));
    EXPECT_EQ(m_sheet.BltStretchKeyed(&target), DD_OK);
    EXPECT_EQ(m_sheet.BltFastKeyedClipped(5, 5, &target, CRect(0, 0, 10, 10)), DD_OK);
    EXPECT_EQ(target.GetImage().pixel(5, 5), m_sheetImage.pixel(0, 0));
    m_sheet.SetSourceRect(CRect(4, 4, 4, 8));
    EXPECT_EQ(m_sheet.BltFast(0, 0, &target), DDERR_INVALIDRECT) << "empty source";
    EXPECT_EQ(target.ColorFill(CRect(-5, -5, 3, 3), 0x00FF0000), DD_OK);
    EXPECT_EQ(target.GetPixel(2, 2), RGB(255, 0, 0));
    EXPECT_EQ(target.GetPixel(10, 0), CLR_INVALID);
}

// A keyed band copy from a sheet that is mostly key reads only the runs of
// other pixels once it has seen the sheet unchanged; whatever it reads, it
// leaves the pixels of the plain per-pixel copy, also after the sheet's
// pixels or its key change and for a sheet with too many runs to keep.
TEST_F(DisplayTest, KeyedBandCopiesLeaveThePlainCopysPixelsAsTheSheetChanges)
{
    constexpr int kSheetWidth = 128;
    constexpr int kSheetHeight = 48;
    constexpr QRgb kKey = 0xFFA5A573;
    CSurface sheet;
    ASSERT_TRUE(sheet.Create(&m_display, kSheetWidth, kSheetHeight));
    sheet.SetColorKey(kKey & 0xFFFFFF);
    // Key with lines, single pixels, runs at both ends of rows and a row
    // with no key at all.
    auto drawLines = [&](QImage& image)
    {
        image.fill(kKey);
        unsigned seed = 7;
        for (int y = 0; y < kSheetHeight; ++y)
            for (int x = 0; x < kSheetWidth; ++x)
            {
                seed = seed * 1103515245u + 12345u;
                if ((x + 2 * y) % 41 == 0 || (seed >> 16) % 131 == 0 || x == 0 || x == kSheetWidth - 1 || y == 20)
                    image.setPixel(x, y, qRgb(x * 4, y * 5, (seed >> 8) & 0xFF));
            }
    };
    // Pieces as a map picture's row of tiles makes them, some cut by the
    // target's edges; the last four follow on from each other on the target,
    // the first two of them on the sheet too, the next with a gap on the
    // sheet, the last a row lower there.
    const std::vector<CSurface::BandPiece> pieces = {{3, 2, 10, -4},    {20, 5, 16, 6},   {0, 18, 12, 22},
                                                     {114, 10, 14, 34}, {60, 30, 20, 38}, {40, 8, 6, 10},
                                                     {46, 8, 5, 16},    {60, 8, 4, 21},   {64, 9, 4, 25}};
    auto copyOnto = [&](BOOL bPlain, BOOL bKeyed = TRUE)
    {
        SetPlainDrawing(bPlain);
        QImage& back = Back();
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                back.setPixel(x, y, qRgb(x * 3, 100 + y, 7));
        EXPECT_EQ(sheet.BltBand(pieces, -3, 24, m_display.GetBackSurface(), bKeyed), DD_OK);
        SetPlainDrawing(FALSE);
        return back.copy();
    };
    const struct
    {
        const char* what;
        std::function<void()> change;
    } steps[] = {
        {"lines over the key", [&] { drawLines(sheet.GetImage()); }},
        {"a pixel changed", [&] { sheet.GetImage().setPixel(25, 12, qRgb(1, 2, 3)); }},
        {"a pixel back to the key", [&] { sheet.GetImage().setPixel(22, 20, kKey); }},
        {"another key", [&] { sheet.SetColorKey(sheet.GetImage().pixel(0, 0) & 0xFFFFFF); }},
        {"the key again", [&] { sheet.SetColorKey(kKey & 0xFFFFFF); }},
        {"too many runs to keep",
         [&]
         {
             QImage& image = sheet.GetImage();
             for (int y = 0; y < kSheetHeight; ++y)
                 for (int x = 0; x < kSheetWidth; x += 2)
                     image.setPixel(x, y, kKey);
         }},
    };
    for (const auto& step : steps)
    {
        step.change();
        const QImage plain = copyOnto(TRUE);
        // The first copy sees the sheet, the second makes the runs, the
        // third uses them.
        for (int copy = 0; copy < 3; ++copy)
            ASSERT_EQ(copyOnto(FALSE), plain) << step.what << ", copy " << copy;
    }
    EXPECT_EQ(copyOnto(FALSE, FALSE), copyOnto(TRUE, FALSE)) << "unkeyed";
}

TEST_F(DisplayTest, ScaledKeyedBlitKeepsItsCorner)
{
    CSurface target;
    ASSERT_TRUE(target.Create(&m_display, 40, 20));
    target.GetImage().fill(kGrey);
    ASSERT_EQ(m_sheet.BltScaledKeyed(3, 2, 2.0f, &target), DD_OK);
    EXPECT_EQ(target.GetImage().pixel(3, 2), m_sheetImage.pixel(0, 0));
    EXPECT_EQ(target.GetImage().pixel(3 + 31, 2 + 15), m_sheetImage.pixel(15, 7));
    EXPECT_EQ(target.GetImage().pixel(3 + 32, 2), kGrey);
    EXPECT_EQ(target.GetImage().pixel(2, 2), kGrey);
}

TEST_F(DisplayTest, MirrorsFlipTheSurface)
{
    CSurface s;
    ASSERT_TRUE(s.Create(&m_display, 2, 2));
    s.GetImage().setPixel(0, 0, qRgb(1, 2, 3));
    EXPECT_EQ(s.MirrorLeftRight(), DD_OK);
    EXPECT_EQ(s.GetPixel(1, 0), RGB(1, 2, 3));
    EXPECT_EQ(s.MirrorUpDown(), DD_OK);
    EXPECT_EQ(s.GetPixel(1, 1), RGB(1, 2, 3));
}

TEST_F(DisplayTest, LostSurfacesAreRestoredAndBitmapsReloaded)
{
    CSurface blank;
    ASSERT_TRUE(blank.Create(&m_display, 4, 4));
    blank.GetImage().fill(qRgb(9, 9, 9));

    m_display.LoseSurfaces();
    EXPECT_TRUE(m_sheet.IsLost());
    EXPECT_TRUE(blank.IsLost());
    EXPECT_TRUE(m_display.GetBackSurface()->IsLost());
    EXPECT_TRUE(m_display.GetPrimarySurface()->IsLost());

    // A copy from a lost surface fails once and restores its source: the
    // sheet's bitmap is read again from its file.
    EXPECT_EQ(m_sheet.BltFast(0, 0, &blank), DDERR_SURFACELOST);
    EXPECT_FALSE(m_sheet.IsLost());
    EXPECT_FALSE(blank.IsLost());
    EXPECT_EQ(blank.GetPixel(0, 0), RGB(0, 0, 0)) << "a blank surface comes back without its pixels";
    EXPECT_TRUE(SameImage(m_sheet.GetImage(), m_sheetImage));

    // The next paint draws again: a sprite restores its sheet by itself and
    // presenting restores the display's surfaces.
    m_display.LoseSurfaces();
    CSprite sprite(&m_sheet);
    sprite.SetPosition(3, 4);
    m_display.Present();
    EXPECT_FALSE(m_display.GetBackSurface()->IsLost());
    EXPECT_FALSE(m_display.GetPrimarySurface()->IsLost());
    Back().fill(kGrey);
    EXPECT_EQ(sprite.Draw(m_display.GetBackSurface()), DD_OK);
    EXPECT_TRUE(SameImage(Back(), Expected(3, 4, 0, kWidth, kHeight)));

    // A lost sheet whose file has gone stays black but usable.
    m_display.LoseSurfaces();
    QFile::remove(m_sheetPath);
    EXPECT_EQ(m_sheet.Restore(), DDERR_GENERIC);
    EXPECT_FALSE(m_sheet.IsLost());
}

TEST_F(DisplayTest, PresentWithoutAWindowFillsThePrimarySurface)
{
    Back().fill(kGrey);
    Back().setPixel(39, 29, qRgb(1, 2, 3));
    m_display.Present();
    EXPECT_TRUE(SameImage(m_display.GetPrimarySurface()->GetImage(), Back()));
}

TEST_F(DisplayTest, IsRectOnScreenAsksOneEdgeOnly)
{
    struct Case
    {
        CRect r;
        bool on;
    } cases[] = {
        {CRect(5, 5, 10, 10), true},
        {CRect(5, -50, 10, -40), true},  // left inside the width, top and bottom off
        {CRect(-50, 5, -40, 10), true},  // top inside the height
        {CRect(40, 30, 50, 40), true},   // bounds are inclusive
        {CRect(-50, -50, -40, -40), false},
        {CRect(41, 31, 50, 40), false},
        {CRect(-10, -10, 50, 50), false},  // spans the display without an edge on it
    };
    for (const Case& c : cases)
        EXPECT_EQ(m_display.IsRectOnScreen(c.r.left, c.r.top, c.r.right, c.r.bottom) != FALSE, c.on)
            << c.r.left << "," << c.r.top << "," << c.r.right << "," << c.r.bottom;
}

TEST_F(DisplayTest, TheBackSurfaceLendsADeviceContext)
{
    CDC* dc = m_display.GetSurfaceDC();
    ASSERT_NE(dc, nullptr);
    dc->FillSolidRect(1, 1, 3, 3, RGB(0, 0, 255));
    // Asking again without giving it back hands the earlier one back first.
    CDC* again = m_display.GetSurfaceDC();
    ASSERT_NE(again, nullptr);
    again->SetPixel(10, 10, RGB(0, 255, 0));
    EXPECT_TRUE(m_display.ReleaseSurfaceDC());
    EXPECT_FALSE(m_display.ReleaseSurfaceDC());
    EXPECT_EQ(m_display.GetBackSurface()->GetPixel(2, 2), RGB(0, 0, 255));
    EXPECT_EQ(m_display.GetBackSurface()->GetPixel(10, 10), RGB(0, 255, 0));
    EXPECT_EQ(m_display.GetBackSurface()->GetLentDC(), nullptr);
}

TEST_F(DisplayTest, ASurfaceThatCannotBeMadeIsReported)
{
    CScriptedUi ui;
    ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
    CUiServiceScope scope(&ui);
    ui.ExpectMessage("Error", "DirectDraw Error DDERR_INVALIDPARAMS", IDOK);
    CSurface surface;
    EXPECT_FALSE(surface.Create(&m_display, 0, 10));
    EXPECT_TRUE(ui.IsScriptDone());
    EXPECT_STREQ(DDErrorName(DDERR_SURFACELOST), "DDERR_SURFACELOST");
    EXPECT_STREQ(DDErrorName(12345), "Unknown Error");
    // The report asked the program to quit; this test program goes on.
    QCoreApplication::removePostedEvents(QCoreApplication::instance(), QEvent::MetaCall);
}

TEST_F(DisplayTest, ABitmapThatDoesNotLoadGivesNoSurface)
{
    CFrameSurface sheet;
    EXPECT_FALSE(sheet.Load(&m_display, nullptr, 2, 1, 2));
    EXPECT_FALSE(sheet.Load(&m_display, m_dir.filePath("absent.bmp").toUtf8().constData(), 2, 1, 2));
    EXPECT_FALSE(sheet.IsLoaded());
    CSprite sprite(&sheet);
    EXPECT_EQ(sprite.Draw(m_display.GetBackSurface()), DD_OK);
    EXPECT_FALSE(sprite.HitTest(0, 0));
    // A file name of any length is kept whole.
    const QString longName = m_dir.filePath(QString(150, 'n') + ".bmp");
    ASSERT_TRUE(m_sheetImage.save(longName, "BMP"));
    ASSERT_TRUE(sheet.Load(&m_display, longName.toUtf8().constData(), 2, 1, 2));
    EXPECT_EQ(QString(sheet.GetBitmapName().GetString()), longName);
    m_display.LoseSurfaces();
    EXPECT_EQ(sheet.Restore(), DD_OK);
    EXPECT_TRUE(SameImage(sheet.GetImage(), m_sheetImage));
}

}  // namespace
