// The tiled map picture: its grid file, scrolling and drawing at the zooms.
#include "battlefield/MapPicture.h"
#include "platform/ui/Display.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

namespace
{

constexpr int kTile = 8;
constexpr int kSheetTilesAcross = 4;
constexpr int kSheetTilesDown = 2;  // tiles 0..7
constexpr int kColumns = 8;
constexpr int kRows = 6;  // a map of 64 x 48 pixels
constexpr int kDisplayWidth = 40;
constexpr int kDisplayHeight = 24;
constexpr QRgb kBelow = 0xFF4D4237;  // what lies under the picture
constexpr QRgb kBlack = 0xFF000000;
constexpr COLORREF kContourKey = RGB(165, 165, 115);

// Tiles in row-major order: 0 leaves what is below, -99 is off the map,
// 8, 1000 and -5 are not in the sheet.
const std::vector<LONG> kGrid = {
    1, 2, 3, 4,  5, 6, 7, 1, 2, 0, 0, 3, -99, 4, 5, 6, 3,   4,   8, 5, 6, 1000, 7, 1,
    4, 5, 6, -5, 7, 1, 2, 3, 5, 6, 7, 1, 0,   2, 3, 4, -99, -99, 1, 2, 3, 4,    5, 6,
};

// Pixel (lx, ly) of tile k of the colour sheet: every pixel of the sheet
// differs, so an offset by one shows.
QRgb TilePixel(int k, int lx, int ly) { return qRgb(40 + 20 * k, 20 * lx + 10, 20 * ly + 10); }

QImage ColourSheet()
{
    QImage image(kTile * kSheetTilesAcross, kTile * kSheetTilesDown, QImage::Format_RGB32);
    for (int k = 0; k < kSheetTilesAcross * kSheetTilesDown; ++k)
        for (int ly = 0; ly < kTile; ++ly)
            for (int lx = 0; lx < kTile; ++lx)
                image.setPixel((k % kSheetTilesAcross) * kTile + lx, (k / kSheetTilesAcross) * kTile + ly,
                               TilePixel(k, lx, ly));
    return image;
}

// The contour overlay: the key colour but for a diagonal line per tile.
QRgb OverlayPixel(int k, int lx, int ly) { return lx == ly ? qRgb(10, 10, 100 + 10 * k) : qRgb(165, 165, 115); }

QImage OverlaySheet()
{
    QImage image(kTile * kSheetTilesAcross, kTile * kSheetTilesDown, QImage::Format_RGB32);
    for (int k = 0; k < kSheetTilesAcross * kSheetTilesDown; ++k)
        for (int ly = 0; ly < kTile; ++ly)
            for (int lx = 0; lx < kTile; ++lx)
                image.setPixel((k % kSheetTilesAcross) * kTile + lx, (k / kSheetTilesAcross) * kTile + ly,
                               OverlayPixel(k, lx, ly));
    return image;
}

std::vector<BYTE> GridFile(LONG columns, LONG rows, const std::vector<LONG>& cells)
{
    std::vector<BYTE> b;
    auto put = [&](LONG v)
    {
        for (int i = 0; i < 4; ++i)
            b.push_back(BYTE(DWORD(v) >> (8 * i)));
    };
    put(columns);
    put(rows);
    for (LONG v : cells)
        put(v);
    return b;
}

// What the picture shows at a picture pixel, from the grid alone.
enum class Kind
{
    Below,
    Black,
    Tile
};
struct Shown
{
    Kind kind;
    int tile = 0;
    int lx = 0;
    int ly = 0;
};

Shown Model(int px, int py)
{
    if (px < 0 || py < 0 || px >= kColumns * kTile || py >= kRows * kTile)
        return {Kind::Black};
    const LONG k = kGrid[size_t(py / kTile * kColumns + px / kTile)];
    if (k == 0)
        return {Kind::Below};
    if (k < 1 || k >= kSheetTilesAcross * kSheetTilesDown)
        return {Kind::Black};
    return {Kind::Tile, int(k), px % kTile, py % kTile};
}

QRgb ModelColour(int px, int py)
{
    const Shown s = Model(px, py);
    switch (s.kind)
    {
    case Kind::Below: return kBelow;
    case Kind::Black: return kBlack;
    case Kind::Tile: return TilePixel(s.tile, s.lx, s.ly);
    }
    return 0;
}

class MapPictureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(ColourSheet().save(m_dir.filePath("colour.bmp"), "BMP"));
        ASSERT_TRUE(OverlaySheet().save(m_dir.filePath("contour.bmp"), "BMP"));
        ASSERT_TRUE(m_display.Init(nullptr, kDisplayWidth, kDisplayHeight));
        // The tile size goes where a frame sheet has its columns and rows.
        ASSERT_TRUE(m_colour.Load(&m_display, Path("colour.bmp"), kTile, kTile, 8));
        ASSERT_TRUE(m_contour.Load(&m_display, Path("contour.bmp"), kTile, kTile, 8));
        m_contour.SetColorKey(DDColorMatch(&m_contour, kContourKey));
        Write("map.map", GridFile(kColumns, kRows, kGrid));
        m_picture = std::make_unique<CMapPicture>(&m_colour, &m_display);
        ASSERT_TRUE(m_picture->LoadGrid(Path("map.map")));
        Back().fill(kBelow);
    }

    const char* Path(const char* name)
    {
        m_paths.push_back(m_dir.filePath(name).toUtf8());
        return m_paths.back().constData();
    }

    void Write(const char* name, const std::vector<BYTE>& bytes)
    {
        std::ofstream out(m_dir.filePath(name).toStdString(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    QImage& Back() { return m_display.GetBackSurface()->GetImage(); }

    // Checks the screen pixels whose colour is beyond doubt. Pieces are
    // drawn a pixel wider and higher than their share, so that no seam
    // shows, and are stretched by that pixel; the extra pixel stays where
    // the next piece draws nothing. So at zooms of 1 and more the pixels
    // checked are those whose neighbours one pixel each way show the same
    // picture pixel; below 1, those that cover picture pixels of one cell
    // only, as does the pixel before them; there only which tile shows is
    // fixed, not which of its pixels.
    int CheckInteriorPixels(double zoom, int scrollX, int scrollY)
    {
        auto picture = [](int scroll, double screen, double z) { return int(std::floor(scroll + screen / z)); };
        auto cellOf = [](int v) { return v >= 0 ? v / kTile : -1 - (-v - 1) / kTile; };
        int checked = 0;
        for (int y = 0; y < kDisplayHeight; ++y)
            for (int x = 0; x < kDisplayWidth; ++x)
            {
                const int px = picture(scrollX, x, zoom);
                const int py = picture(scrollY, y, zoom);
                if (zoom >= 1.0)
                {
                    if (picture(scrollX, x - 1, zoom) != px || picture(scrollX, x + 1, zoom) != px ||
                        picture(scrollY, y - 1, zoom) != py || picture(scrollY, y + 1, zoom) != py)
                        continue;
                }
                else
                {
                    if (cellOf(picture(scrollX, x - 1, zoom)) != cellOf(int(std::ceil(scrollX + (x + 1) / zoom)) - 1) ||
                        cellOf(picture(scrollY, y - 1, zoom)) != cellOf(int(std::ceil(scrollY + (y + 1) / zoom)) - 1))
                        continue;
                }
                ++checked;
                const QRgb got = Back().pixel(x, y);
                const Shown want = Model(px, py);
                if (zoom < 1.0 && want.kind == Kind::Tile)
                    EXPECT_EQ(qRed(got), 40 + 20 * want.tile) << "screen " << x << "," << y;
                else
                    EXPECT_EQ(got, ModelColour(px, py)) << "screen " << x << "," << y;
            }
        return checked;
    }

    QTemporaryDir m_dir;
    std::vector<QByteArray> m_paths;
    CDisplay m_display;
    CFrameSurface m_colour;
    CFrameSurface m_contour;
    std::unique_ptr<CMapPicture> m_picture;
};

TEST_F(MapPictureTest, KeepsTheSizesOfGridTilesAndDisplay)
{
    EXPECT_EQ(m_picture->GetTileWidth(), kTile);
    EXPECT_EQ(m_picture->GetTileHeight(), kTile);
    EXPECT_EQ(m_picture->GetGridColumns(), kColumns);
    EXPECT_EQ(m_picture->GetGridRows(), kRows);
    EXPECT_EQ(m_picture->GetMapWidth(), 64);
    EXPECT_EQ(m_picture->GetMapHeight(), 48);
    EXPECT_EQ(m_picture->GetTilesAcross(), 5);
    EXPECT_EQ(m_picture->GetTilesDown(), 3);
    EXPECT_EQ(m_picture->GetZoom(), 1.0f);
    EXPECT_EQ(m_picture->GetTile(0, 0), 1);
    EXPECT_EQ(m_picture->GetTile(1, 1), CMapPicture::kNoTile);
    EXPECT_EQ(m_picture->GetTile(4, 1), kUnset);
    EXPECT_EQ(m_picture->GetTile(2, 2), kUnset) << "index 8: past the sheet";
    EXPECT_EQ(m_picture->GetTile(5, 2), kUnset) << "index 1000";
    EXPECT_EQ(m_picture->GetTile(3, 3), kUnset) << "index -5";
    EXPECT_EQ(m_picture->GetTile(8, 0), kUnset) << "past the grid";
    EXPECT_EQ(m_picture->GetTile(-1, 0), kUnset);
    EXPECT_EQ(m_picture->GetTile(0, 6), kUnset);
}

TEST_F(MapPictureTest, ScrollStaysOnThePicture)
{
    struct Case
    {
        float zoom;
        int x, y, wantX, wantY;
    } cases[] = {
        {1.0f, 13, 9, 13, 9},
        {1.0f, -4, -1, 0, 0},
        {1.0f, 100, 100, 64 - 41, 48 - 25},  // visible: display / zoom + 1
        {8.0f, 100, 100, 64 - 6, 48 - 4},
        {0.25f, 10, 10, 0, 0},  // the map is smaller than the display
        {0.5f, 10, 10, 0, 0},
    };
    for (const Case& c : cases)
    {
        m_picture->SetZoom(c.zoom);
        m_picture->SetScroll(c.x, c.y);
        EXPECT_EQ(m_picture->GetScrollX(), c.wantX) << c.zoom << " " << c.x;
        EXPECT_EQ(m_picture->GetScrollY(), c.wantY) << c.zoom << " " << c.y;
    }
    m_picture->SetScroll(0, 0);
    m_picture->ScrollX(-7);
    m_picture->ScrollY(500);
    EXPECT_EQ(m_picture->GetScrollX(), -7) << "scrolling by steps does not clamp";
    EXPECT_EQ(m_picture->GetScrollY(), 500);
}

TEST_F(MapPictureTest, DrawsEveryPixelAtZoomOne)
{
    for (CPoint scroll : {CPoint(13, 9), CPoint(0, 0), CPoint(16, 8), CPoint(23, 23)})
    {
        Back().fill(kBelow);
        m_picture->SetScroll(scroll.x, scroll.y);
        ASSERT_EQ(m_picture->Draw(m_display.GetBackSurface(), FALSE), DD_OK);
        for (int y = 0; y < kDisplayHeight; ++y)
            for (int x = 0; x < kDisplayWidth; ++x)
                ASSERT_EQ(Back().pixel(x, y), ModelColour(scroll.x + x, scroll.y + y))
                    << "scroll " << scroll.x << "," << scroll.y << " screen " << x << "," << y;
    }
    // Chosen points at scroll (13, 9): picture pixel = screen + scroll.
    m_picture->SetScroll(13, 9);
    Back().fill(kBelow);
    m_picture->Draw(m_display.GetBackSurface(), FALSE);
    EXPECT_EQ(Back().pixel(0, 0), kBelow) << "picture (13, 9): cell (1, 1) of index 0";
    EXPECT_EQ(Back().pixel(20, 5), kBlack) << "picture (33, 14): cell (4, 1) of index -99";
    EXPECT_EQ(Back().pixel(30, 20), TilePixel(1, 3, 5)) << "picture (43, 29): cell (5, 3) of index 1";
}

TEST_F(MapPictureTest, CellsOfZeroLeaveWhatIsBelowAndOffMapIsBlack)
{
    m_picture->SetScroll(0, 0);
    Back().fill(kBelow);
    m_picture->Draw(m_display.GetBackSurface(), FALSE);
    EXPECT_EQ(Back().pixel(12, 12), kBelow) << "cell (1, 1) of index 0";
    EXPECT_EQ(Back().pixel(36, 12), kBlack) << "cell (4, 1) of index -99";
    EXPECT_EQ(Back().pixel(20, 20), kBlack) << "cell (2, 2) of index 8, past the sheet";
    EXPECT_EQ(Back().pixel(3, 4), TilePixel(1, 3, 4)) << "cell (0, 0) of index 1";
}

TEST_F(MapPictureTest, ScrolledPastTheMapIsBlack)
{
    m_picture->ScrollX(50);  // steps are not clamped: the display reaches past the map
    m_picture->ScrollY(-5);
    Back().fill(kBelow);
    m_picture->Draw(m_display.GetBackSurface(), FALSE);
    for (int y = 0; y < kDisplayHeight; ++y)
        for (int x = 0; x < kDisplayWidth; ++x)
            ASSERT_EQ(Back().pixel(x, y), ModelColour(50 + x, -5 + y)) << x << "," << y;
}

TEST_F(MapPictureTest, DrawsTheContourOverlayThroughItsKey)
{
    m_picture->SetScroll(13, 9);
    Back().fill(kBelow);
    m_picture->Draw(m_display.GetBackSurface(), FALSE);
    m_picture->SetTileSheet(&m_contour);
    m_picture->Draw(m_display.GetBackSurface(), TRUE);
    for (int y = 0; y < kDisplayHeight; ++y)
        for (int x = 0; x < kDisplayWidth; ++x)
        {
            const Shown s = Model(13 + x, 9 + y);
            QRgb want = ModelColour(13 + x, 9 + y);
            if (s.kind == Kind::Tile && s.lx == s.ly)
                want = OverlayPixel(s.tile, s.lx, s.ly);
            ASSERT_EQ(Back().pixel(x, y), want) << x << "," << y;
        }
}

TEST_F(MapPictureTest, DrawsScaledAtZoomEight)
{
    m_picture->SetZoom(8.0f);
    m_picture->SetScroll(20, 14);
    ASSERT_EQ(m_picture->GetScrollX(), 20);
    Back().fill(kBelow);
    ASSERT_EQ(m_picture->DrawScaled(m_display.GetBackSurface(), FALSE), DD_OK);
    EXPECT_GT(CheckInteriorPixels(8.0, 20, 14), 400);
    // Chosen points; screen (x, y) shows picture pixel (20 + x / 8, 14 + y / 8).
    EXPECT_EQ(Back().pixel(4, 4), kBelow) << "picture (20, 14): cell (2, 1) of index 0";
    EXPECT_EQ(Back().pixel(36, 4), TilePixel(3, 0, 6)) << "picture (24, 14): cell (3, 1) of index 3";
    EXPECT_EQ(Back().pixel(36, 20), TilePixel(5, 0, 0)) << "picture (24, 16): cell (3, 2) of index 5";
    EXPECT_EQ(Back().pixel(4, 20), kBlack) << "picture (20, 16): cell (2, 2) of index 8, past the sheet";

    // Scrolled elsewhere, where pieces start inside tiles.
    m_picture->SetScroll(7, 7);
    Back().fill(kBelow);
    m_picture->DrawScaled(m_display.GetBackSurface(), FALSE);
    EXPECT_GT(CheckInteriorPixels(8.0, 7, 7), 400);
    EXPECT_EQ(Back().pixel(20, 12), kBelow) << "picture (9, 8): cell (1, 1) of index 0";
}

TEST_F(MapPictureTest, DrawsScaledAtZoomAQuarter)
{
    m_picture->SetZoom(0.25f);
    m_picture->SetScroll(20, 12);
    EXPECT_EQ(m_picture->GetScrollX(), 0) << "at a quarter the map is smaller than the display";
    Back().fill(kBelow);
    ASSERT_EQ(m_picture->DrawScaled(m_display.GetBackSurface(), FALSE), DD_OK);
    EXPECT_GT(CheckInteriorPixels(0.25, 0, 0), 200);
    EXPECT_EQ(Back().pixel(3, 3), kBelow) << "cell (1, 1) of index 0";
    EXPECT_EQ(Back().pixel(30, 20), kBlack) << "beyond the map";
    EXPECT_EQ(qRed(Back().pixel(1, 1)), 40 + 20 * 1) << "cell (0, 0): tile 1";

    // Scrolled by steps: the drawing follows.
    m_picture->ScrollX(20);
    m_picture->ScrollY(12);
    Back().fill(kBelow);
    m_picture->DrawScaled(m_display.GetBackSurface(), FALSE);
    EXPECT_GT(CheckInteriorPixels(0.25, 20, 12), 200);
}

TEST_F(MapPictureTest, ScaledAndUnscaledDrawingAgreeOnWholeTiles)
{
    // At zoom 2 every picture pixel is a 2x2 block; its lower right pixel
    // (the other may show the stretch of the overlapping piece) must show
    // what the unscaled drawing shows for that pixel.
    m_picture->SetScroll(8, 8);
    Back().fill(kBelow);
    m_picture->Draw(m_display.GetBackSurface(), FALSE);
    const QImage unscaled = Back().copy();
    m_picture->SetZoom(2.0f);
    m_picture->SetScroll(8, 8);
    Back().fill(kBelow);
    m_picture->DrawScaled(m_display.GetBackSurface(), FALSE);
    for (int y = 0; y < kDisplayHeight / 2 - 1; ++y)
        for (int x = 0; x < kDisplayWidth / 2 - 1; ++x)
            ASSERT_EQ(Back().pixel(2 * x + 1, 2 * y + 1), unscaled.pixel(x, y)) << x << "," << y;
}

TEST_F(MapPictureTest, GridFilesAreCheckedAgainstTheirSize)
{
    std::vector<BYTE> shortGrid = GridFile(kColumns, kRows, kGrid);
    shortGrid.resize(shortGrid.size() - 1);
    std::vector<BYTE> longer = GridFile(2, 1, {3, 4});
    longer.push_back(0x55);
    struct Case
    {
        const char* what;
        std::vector<BYTE> bytes;
        bool ok;
    } cases[] = {
        {"counts fit the file", GridFile(2, 1, {3, 4}), true},
        {"bytes after the grid are not read", longer, true},
        {"one byte short", shortGrid, false},
        {"more rows than cells", GridFile(2, 3, {1, 2, 3, 4}), false},
        {"negative columns", GridFile(-2, 1, {1, 2}), false},
        {"zero rows", GridFile(2, 0, {}), false},
        {"huge counts", GridFile(0x7FFFFFFF, 0x7FFFFFFF, {1, 2, 3}), false},
        {"columns times rows wraps 32 bits", GridFile(0x10000, 0x10000, {1}), false},
        {"head cut short", std::vector<BYTE>{2, 0, 0, 0, 1}, false},
        {"empty file", std::vector<BYTE>{}, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Write("case.map", c.bytes);
        CMapPicture picture(&m_colour, &m_display);
        ASSERT_TRUE(picture.LoadGrid(Path("map.map")));
        EXPECT_EQ(picture.LoadGrid(Path("case.map")) != FALSE, c.ok);
        if (c.ok)
        {
            EXPECT_EQ(picture.GetGridColumns(), 2);
            EXPECT_EQ(picture.GetTile(1, 0), 4);
            EXPECT_EQ(picture.GetMapWidth(), 16);
        }
        else
        {
            EXPECT_EQ(picture.GetGridColumns(), kColumns) << "the grid before stays";
        }
    }
    CMapPicture picture(&m_colour, &m_display);
    EXPECT_FALSE(picture.LoadGrid(nullptr));
    EXPECT_FALSE(picture.LoadGrid(Path("absent.map")));
    // Without a grid everything is off the map.
    Back().fill(kBelow);
    picture.Draw(m_display.GetBackSurface(), FALSE);
    EXPECT_EQ(Back().pixel(5, 5), kBlack);
}

// A grid whose picture would be wider than an int holds (tiles of 32767
// pixels, 70,000 columns) is refused with its reason, as is a FIFO named as
// a grid; the grid before stays, and a missing file gives no reason.
TEST_F(MapPictureTest, GridsThatCannotBeReadSayWhy)
{
    CFrameSurface wide;
    ASSERT_TRUE(wide.Load(&m_display, Path("colour.bmp"), 32767, kTile, 8));
    std::vector<LONG> cells(70000, 1);
    Write("wide.map", GridFile(70000, 1, cells));
    ASSERT_EQ(mkfifo(Path("pipe.map"), 0600), 0);
    struct Case
    {
        const char* file;
        const char* reason;
    } cases[] = {
        {"wide.map", "its grid makes a picture too large to draw"},
        {"pipe.map", "it is not a regular file"},
        {"absent.map", ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.file);
        CMapPicture picture(&wide, &m_display);
        ASSERT_TRUE(picture.LoadGrid(Path("map.map")));
        EXPECT_FALSE(picture.LoadGrid(Path(c.file)));
        EXPECT_EQ(picture.GetLoadError(), c.reason);
        EXPECT_EQ(picture.GetGridColumns(), kColumns);
        EXPECT_EQ(picture.GetMapWidth(), 32767 * kColumns);
    }
}

TEST_F(MapPictureTest, ATileSheetWithoutTilesDrawsNothing)
{
    CFrameSurface empty;
    CMapPicture picture(&empty, &m_display);
    EXPECT_EQ(picture.Draw(m_display.GetBackSurface(), FALSE), DDERR_INVALIDPARAMS);
    EXPECT_EQ(picture.DrawScaled(m_display.GetBackSurface(), FALSE), DDERR_INVALIDPARAMS);
}

}  // namespace
