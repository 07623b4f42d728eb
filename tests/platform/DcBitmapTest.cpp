// Bitmaps from BMP files that ImageMagick made (fixtures/make_bmps.sh), and
// image lists built from bitmaps.
#include "platform/core/File.h"
#include "platform/ui/DC.h"
#include "platform/ui/QtBridge.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace
{
const CString kFixtures = KDR_TEST_SOURCE_DIR "/platform/fixtures/";

// Pixel (x, y) of the gradient fixtures.
COLORREF Gradient(int x, int y) { return RGB(32 * x, 64 * y, 16 * (x + y)); }
}  // namespace

TEST(DcBitmapTest, EveryDepthLoadsWithItsPixels)
{
    struct Case
    {
        const char* file;
        int bits;
    };
    for (const Case& k : {Case{"bits8.bmp", 8}, Case{"bits24.bmp", 24}, Case{"bits32.bmp", 32},
                          Case{"bits32v5.bmp", 32}, Case{"topdown24.bmp", 24}})
    {
        SCOPED_TRACE(k.file);
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.LoadBitmap(kFixtures + k.file));
        BITMAP info;
        ASSERT_TRUE(bitmap.GetBitmap(&info));
        EXPECT_EQ(info.bmWidth, 8);
        EXPECT_EQ(info.bmHeight, 4);
        EXPECT_EQ(info.bmBitsPixel, k.bits);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ(bitmap.GetPixel(x, y), Gradient(x, y)) << x << "," << y;
    }
}

TEST(DcBitmapTest, PaletteDepthsLoadWithTheirColours)
{
    CBitmap one;
    ASSERT_TRUE(one.LoadBitmap(kFixtures + "bits1.bmp"));
    BITMAP info;
    one.GetBitmap(&info);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(one.GetPixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(one.GetPixel(1, 0), RGB(0, 0, 255));
    EXPECT_EQ(one.GetPixel(4, 0), RGB(255, 0, 0));
    EXPECT_EQ(one.GetPixel(4, 1), RGB(0, 0, 255));
    EXPECT_EQ(one.GetPixel(7, 3), RGB(0, 0, 255));
    EXPECT_EQ(one.GetPixel(3, 3), RGB(255, 0, 0));

    CBitmap four;
    ASSERT_TRUE(four.LoadBitmap(kFixtures + "bits4.bmp"));
    four.GetBitmap(&info);
    EXPECT_EQ(info.bmBitsPixel, 4);
    const COLORREF top[] = {RGB(255, 0, 0), RGB(0, 255, 0),   RGB(0, 0, 255),   RGB(255, 255, 255),
                            RGB(0, 0, 0),   RGB(255, 255, 0), RGB(0, 255, 255), RGB(255, 0, 255)};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(four.GetPixel(x, 0), top[x]) << x;
    EXPECT_EQ(four.GetPixel(0, 3), RGB(255, 165, 0));
    EXPECT_EQ(four.GetPixel(7, 3), RGB(10, 20, 30));
    const COLORREF grey = four.GetPixel(3, 2);
    EXPECT_EQ(GetRValue(grey), GetGValue(grey));
    EXPECT_NEAR(GetRValue(grey), 127, 1);
}

TEST(DcBitmapTest, BadFilesAreRefused)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CBitmap bitmap;
    EXPECT_FALSE(bitmap.LoadBitmap(kFixtures + "no such file.bmp"));
    EXPECT_FALSE(bitmap.LoadBitmap(""));
    EXPECT_FALSE(bitmap.IsCreated());

    // Cut short inside its pixels, and not a bitmap at all.
    QFile good(ToQString(kFixtures + "bits24.bmp"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray bytes = good.readAll();
    const struct
    {
        const char* name;
        QByteArray data;
    } bad[] = {{"short.bmp", bytes.left(70)},
               {"header.bmp", bytes.left(20)},
               {"text.bmp", QByteArray("BM not really")},
               {"png.bmp", QByteArray("\x89PNG\r\n\x1a\n")}};
    for (const auto& b : bad)
    {
        QFile out(dir.path() + "/" + b.name);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(b.data);
        out.close();
        CBitmap loaded;
        EXPECT_FALSE(loaded.LoadBitmap((dir.path() + "/" + b.name).toUtf8().constData())) << b.name;
    }
}

TEST(DcBitmapTest, ResourcesAndRelativeNamesResolve)
{
    RegisterBitmapResource(9001, kFixtures + "bits24.bmp");
    CBitmap fromResource;
    ASSERT_TRUE(fromResource.LoadBitmap(9001));
    EXPECT_EQ(fromResource.GetPixel(7, 3), Gradient(7, 3));
    CBitmap unknown;
    EXPECT_FALSE(unknown.LoadBitmap(9002u));

    // A name relative to the current directory, in another case and with
    // the other separator.
    const CString old = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(KDR_TEST_SOURCE_DIR "/platform"));
    CBitmap relative;
    EXPECT_TRUE(relative.LoadBitmap("FIXTURES\\Bits8.BMP"));
    EXPECT_EQ(relative.GetPixel(2, 1), Gradient(2, 1));
    SetCurrentDir(old);
}

TEST(DcBitmapTest, ImageListCutsAStripAndKeysOutTheMaskColour)
{
    CBitmap strip;
    ASSERT_TRUE(strip.CreateBitmap(12, 4));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&strip);
    dc.FillSolidRect(0, 0, 12, 4, RGB(255, 0, 255));
    dc.SetPixel(1, 1, RGB(0, 128, 0));
    dc.SetPixel(5, 2, RGB(0, 0, 255));
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLOR32 | ILC_MASK, 3, 1));
    EXPECT_EQ(list.Add(&strip, RGB(255, 0, 255)), 0);
    EXPECT_EQ(list.GetImageCount(), 3);
    EXPECT_EQ(list.Add(&strip, RGB(255, 0, 255)), 3);

    // Drawn onto white: the keyed colour lets the white through.
    QImage target(8, 8, QImage::Format_RGB32);
    target.fill(Qt::white);
    CDC out;
    out.AttachImage(&target);
    ASSERT_TRUE(list.Draw(&out, 1, CPoint(2, 2), ILD_TRANSPARENT));
    EXPECT_EQ(out.GetPixel(2 + 1, 2 + 2), RGB(0, 0, 255));
    EXPECT_EQ(out.GetPixel(2, 2), RGB(255, 255, 255));
    EXPECT_FALSE(list.Draw(&out, 9, CPoint(0, 0), ILD_NORMAL));
}

// Pixel images of a window's size and of a few pixels: the size, format and
// row length asked for, written in place, and copies that part on writing.
TEST(DcBitmapTest, PixelImagesLargeAndSmallBehaveAsImages)
{
    for (const QSize size : {QSize(1920, 1080), QSize(3, 2), QSize(1001, 1003)})
    {
        QImage image = NewPixelImage(size.width(), size.height(), QImage::Format_RGB32);
        ASSERT_FALSE(image.isNull()) << size.width();
        EXPECT_EQ(image.size(), size);
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
        EXPECT_EQ(image.bytesPerLine(), 4 * size.width());
        image.fill(qRgb(1, 2, 3));
        const uchar* before = image.constBits();
        image.setPixel(size.width() - 1, size.height() - 1, qRgb(9, 9, 9));
        EXPECT_EQ(image.constBits(), before) << "written in place";
        QImage copy = image;
        copy.setPixel(0, 0, qRgb(7, 7, 7));
        EXPECT_EQ(image.pixel(0, 0), qRgb(1, 2, 3));
        EXPECT_EQ(copy.pixel(size.width() - 1, size.height() - 1), qRgb(9, 9, 9));
    }
}
