// The demo mission's game map, written by the demo generator's own code:
// its "*.gmp" loads, its picture matches the ground, the grid lines fall on
// the 100 m and 1000 m lines, the status text reads the ground, the display
// modes switch tile sheets, and the sight display draws.
#include "BattlefieldTestSupport.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MapPicture.h"
#include "battlefield/TerrainArray.h"
#include "platform/core/File.h"
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"
#include "support/ScriptedUi.h"

#include "../../tools/demo_map.h"
#include "../../tools/demo_terrain.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace
{
constexpr COLORREF BLACK = RGB(0, 0, 0);

class GameMapDemoTest : public ::testing::Test
{
protected:
    // The demo's data directory, written once for all the tests here.
    static void SetUpTestSuite()
    {
        std::string pattern = (fs::temp_directory_path() / "kdr-demo-map-XXXXXX").string();
        s_dir = new fs::path(mkdtemp(pattern.data()));
        const CString dir = s_dir->string().c_str();
        CString errorText;
        ASSERT_TRUE(demo_terrain::WriteDemoElevationMap(JoinPath(dir, "Demo.emp"), errorText)) << errorText.GetString();
        ASSERT_TRUE(demo_map::WriteDemoMapFiles(dir, "Demo.emp", errorText)) << errorText.GetString();
        s_ground = demo_terrain::BuildDemoElevationMap().release();
        s_colour = new QImage(demo_map::RenderColourPicture(*s_ground));
        s_contour = new QImage(demo_map::RenderContourPicture(*s_ground));
    }
    static void TearDownTestSuite()
    {
        std::error_code ec;
        fs::remove_all(*s_dir, ec);
        delete s_dir;
        delete s_ground;
        delete s_colour;
        delete s_contour;
    }

    void SetUp() override
    {
        m_oldDir = GetCurrentDir();
        SetCurrentDir(s_dir->string().c_str());
        ASSERT_TRUE(m_display.Init(nullptr, 640, 480));
        CString errorText;
        ASSERT_TRUE(LoadObjectFromFile("demo.gmp", m_map, errorText)) << errorText.GetString();
        ASSERT_TRUE(m_map.LoadMapFiles(&m_display, GetCurrentDir()));
    }
    void TearDown() override { SetCurrentDir(m_oldDir); }

    CSurface* Back() { return m_display.GetBackSurface(); }

    // The picture pixel of a map point and its view pixel now.
    CPoint ViewOf(float x, float y) const
    {
        int px = 0, py = 0, vx = 0, vy = 0;
        m_map.GetElevationMap()->MapToPixel(x, y, &px, &py);
        m_map.PictureToView(px, py, &vx, &vy);
        return CPoint(vx, vy);
    }

    static COLORREF PictureColour(const QImage& image, int px, int py)
    {
        const QRgb c = image.pixel(px, py);
        return RGB(qRed(c), qGreen(c), qBlue(c));
    }

    // Whether a picture pixel lies near any terrain feature (whose drawing
    // covers the picture there).
    bool NearFeature(int px, int py) const
    {
        const CTerrainArray* terrain = m_map.GetElevationMap()->GetTerrain();
        for (int i = 0; i < terrain->GetFeatureCount(); ++i)
        {
            const CRect& b = terrain->GetFeature(i)->GetBounds();
            int ax = 0, ay = 0, bx = 0, by = 0;
            m_map.GetElevationMap()->MapToPixel(static_cast<float>(b.left), static_cast<float>(b.top), &ax, &ay);
            m_map.GetElevationMap()->MapToPixel(static_cast<float>(b.right), static_cast<float>(b.bottom), &bx, &by);
            if (px >= std::min(ax, bx) - 4 && px <= std::max(ax, bx) + 4 && py >= std::min(ay, by) - 4 &&
                py <= std::max(ay, by) + 4)
                return true;
        }
        return false;
    }

    int CountColumn(int vx, COLORREF colour)
    {
        int n = 0;
        for (int y = 0; y < m_display.GetHeight(); ++y)
            n += Back()->GetPixel(vx, y) == colour ? 1 : 0;
        return n;
    }
    int CountRow(int vy, COLORREF colour)
    {
        int n = 0;
        for (int x = 0; x < m_display.GetWidth(); ++x)
            n += Back()->GetPixel(x, vy) == colour ? 1 : 0;
        return n;
    }

    static fs::path* s_dir;
    static CElevationMap* s_ground;
    static QImage* s_colour;
    static QImage* s_contour;
    CString m_oldDir;
    CDisplay m_display;
    CKDRGameMap m_map;
};

fs::path* GameMapDemoTest::s_dir = nullptr;
CElevationMap* GameMapDemoTest::s_ground = nullptr;
QImage* GameMapDemoTest::s_colour = nullptr;
QImage* GameMapDemoTest::s_contour = nullptr;
}  // namespace

TEST_F(GameMapDemoTest, GameMapFileLoadsTheNamedFiles)
{
    ScopedScriptedUi ui;
    CKDRGameMap map;
    CString errorText;
    ASSERT_TRUE(LoadObjectFromFile("demo.gmp", map, errorText));
    EXPECT_EQ(map.m_nTileColumns, demo_map::kTileSize);
    EXPECT_EQ(map.m_nTileRows, demo_map::kTileSize);
    EXPECT_EQ(map.m_nTileCount, demo_map::kSheetTiles);
    EXPECT_EQ(map.m_strFileName, "demo.gmp");
    EXPECT_EQ(map.m_strElevation, "Demo.emp");
    ASSERT_TRUE(map.LoadMapFiles(&m_display, GetCurrentDir()));
    EXPECT_TRUE(ui->GetShown().empty());

    CRect rc;
    ASSERT_TRUE(map.GetPictureRect(&rc));
    EXPECT_EQ(rc, CRect(0, 0, demo_terrain::kWidth / 2, demo_terrain::kHeight / 2));
    ASSERT_TRUE(map.HasElevationMap());
    EXPECT_EQ(map.GetElevationMap()->GetWidth(), demo_terrain::kWidth);
    EXPECT_EQ(map.GetMapPicture()->GetTileWidth(), demo_map::kTileSize);
    EXPECT_EQ(map.GetMapPicture()->GetGridColumns(), demo_map::kGridColumns);
    EXPECT_EQ(map.GetMapPicture()->GetGridRows(), demo_map::kGridRows);
}

TEST_F(GameMapDemoTest, PictureMatchesTheGroundAtEveryZoomDrawnWhole)
{
    // Scrolled into the middle of the map, unscaled: every drawn pixel away
    // from the terrain features is the rendered picture's pixel there.
    m_map.GetMapPicture()->SetScroll(700, 500);
    m_map.DrawMap(Back(), 0);
    int compared = 0;
    for (int vy = 0; vy < 480; vy += 7)
    {
        for (int vx = 0; vx < 640; vx += 7)
        {
            int px = 0, py = 0;
            m_map.ViewToPicture(vx, vy, &px, &py);
            if (NearFeature(px, py))
                continue;
            ASSERT_EQ(Back()->GetPixel(vx, vy), PictureColour(*s_colour, px, py)) << vx << ", " << vy;
            ++compared;
        }
    }
    EXPECT_GT(compared, 2000);

    // The lake is drawn in water colour and a point on it reads as water.
    const float lakeX = 1250.0f;
    const float lakeY = static_cast<float>(demo_terrain::ValleyFloorY(1250.0));
    m_map.GetMapPicture()->SetScroll(300, 900);
    m_map.DrawMap(Back(), 0);
    const CPoint lake = ViewOf(lakeX, lakeY);
    ASSERT_TRUE(CRect(0, 0, 640, 480).PtInRect(lake));
    EXPECT_EQ(Back()->GetPixel(lake.x, lake.y), RGB(40, 90, 210));
    EXPECT_EQ(m_map.GetElevationMap()->GetTerrain()->GetTerrainNameAt(lakeX, lakeY), "Water");

    // Zoomed out the whole map shows, still the same ground.
    m_map.ChangeZoom(CKDRGameMap::kZoomToMinimum, nullptr);
    m_map.GetMapPicture()->SetScroll(0, 0);
    m_map.DrawMap(Back(), 0);
    const CPoint far = ViewOf(lakeX, lakeY);
    EXPECT_EQ(Back()->GetPixel(far.x, far.y), RGB(40, 90, 210));
}

TEST_F(GameMapDemoTest, GridLinesLieOnThe100And1000MetreLines)
{
    m_map.ChangeZoom(0, nullptr);  // 0.5: 4 m per view pixel
    m_map.GetMapPicture()->SetScroll(0, 0);
    const CElevationMap* ground = m_map.GetElevationMap();
    // The demo's offsets (2000, 5000) put the first lines 100 m in, and the
    // tenth line of each direction on a whole kilometre.
    ASSERT_EQ(ground->GetFirstLineOffsetX(), 100.0f);
    ASSERT_EQ(ground->GetKmLineIndexX(), 9);

    m_map.DrawMap(Back(), 0);
    const int kmX = ViewOf(1000.0f, 1.0f).x;  // easting 3000
    const int hundredX = ViewOf(1100.0f, 1.0f).x;
    const int kmY = ViewOf(1.0f, 2000.0f).y;  // northing 7000
    const int hundredY = ViewOf(1.0f, 2100.0f).y;
    ASSERT_EQ(kmX, 250);
    ASSERT_EQ(kmY, 250);
    EXPECT_LT(CountColumn(kmX, BLACK), 5);
    EXPECT_LT(CountRow(kmY, BLACK), 5);

    m_map.DrawMap(Back(), CKDRGameMap::kDrawGrid);
    // A 1000 m line is solid and one pixel wide.
    EXPECT_EQ(CountColumn(kmX, BLACK), 480);
    EXPECT_EQ(CountRow(kmY, BLACK), 640);
    EXPECT_LT(CountColumn(kmX + 1, BLACK), 100);
    EXPECT_LT(CountRow(kmY - 1, BLACK), 100);
    // A 100 m line is dotted: black and picture by turns.
    const int dottedColumn = CountColumn(hundredX, BLACK);
    EXPECT_GT(dottedColumn, 480 / 3);
    EXPECT_LT(dottedColumn, 480 * 2 / 3 + 20);
    const int dottedRow = CountRow(hundredY, BLACK);
    EXPECT_GT(dottedRow, 640 / 3);
    EXPECT_LT(dottedRow, 640 * 2 / 3 + 20);
    // Every 100 m across the view has its line, at 25 pixels apart.
    for (int i = 1; i * 100 < 2560; ++i)
    {
        const int vx = ViewOf(static_cast<float>(i * 100), 1.0f).x;
        if (vx < 1 || vx > 639)
            continue;
        EXPECT_GT(CountColumn(vx, BLACK), 480 / 3) << "x = " << i * 100;
    }
}

TEST_F(GameMapDemoTest, StatusTextReadsTheGround)
{
    const CElevationMap* ground = m_map.GetElevationMap();
    struct Case
    {
        int px, py;
        const char* terrain;
    } cases[] = {
        {1300, 325, "Woods"},  // the wood on the ridge's west slope
        {200, 200, ""},        // open farmland
        {625, 1116, "Water"},  // the lake
    };
    for (const Case& c : cases)
    {
        float x = 0.0f, y = 0.0f;
        ground->PixelToMap(c.px, c.py, &x, &y);
        CString expected;
        expected.Format("NV%04d%04d       ALT  %d", static_cast<int>(x) + 2000, static_cast<int>(y) + 5000,
                        static_cast<int>(ground->GetElevation(x, y)));
        if (*c.terrain != '\0')
            expected += CString("       ") + c.terrain;
        EXPECT_EQ(m_map.GetPositionText(c.px, c.py), expected) << c.px << ", " << c.py;
    }
    EXPECT_EQ(m_map.GetPositionText(1300, 325).Left(22), "NV46007350       ALT  ");
    EXPECT_EQ(m_map.GetPositionText(-1, 10), "Off of map");
    EXPECT_EQ(m_map.GetPositionText(2001, 10), "Off of map");
    EXPECT_EQ(m_map.GetPositionText(10, 1501), "Off of map");
}

TEST_F(GameMapDemoTest, DisplayModesSwitchTheTileSheets)
{
    EXPECT_FALSE(m_map.SetMapDisplayMode(CKDRGameMap::kModeColor, &m_display));  // already shown
    EXPECT_FALSE(m_map.SetMapDisplayMode(7, &m_display));
    m_map.GetMapPicture()->SetScroll(1300, 700);

    // Contour: the contour picture, and the terrain in its second colour set.
    ASSERT_TRUE(m_map.SetMapDisplayMode(CKDRGameMap::kModeContour, &m_display));
    EXPECT_EQ(m_map.GetMapDisplayMode(), CKDRGameMap::kModeContour);
    EXPECT_FALSE(m_map.GetElevationMap()->GetTerrain()->GetType(demo_terrain::kWoods)->IsSet1Active());
    EXPECT_EQ(m_map.GetMapPicture()->GetTileSheet(), m_map.GetTileSurface());
    m_map.DrawMap(Back(), 0);
    int lines = 0;
    int keyed = 0;
    for (int vy = 0; vy < 480; vy += 3)
    {
        for (int vx = 0; vx < 640; vx += 3)
        {
            int px = 0, py = 0;
            m_map.ViewToPicture(vx, vy, &px, &py);
            if (NearFeature(px, py))
                continue;
            const COLORREF expected = PictureColour(*s_contour, px, py);
            ASSERT_EQ(Back()->GetPixel(vx, vy), expected) << vx << ", " << vy;
            (expected == CKDRGameMap::kContourKey ? keyed : lines) += 1;
        }
    }
    EXPECT_GT(lines, 100);  // the ridge's contours cross this part of the map
    EXPECT_GT(keyed, lines);

    // Contour over colour: the colour picture where the contour sheet has
    // its key colour, the contour lines elsewhere.
    ASSERT_TRUE(m_map.SetMapDisplayMode(CKDRGameMap::kModeContourOverColor, &m_display));
    ASSERT_NE(m_map.GetOverlaySurface(), nullptr);
    m_map.DrawMap(Back(), 0);
    for (int vy = 0; vy < 480; vy += 3)
    {
        for (int vx = 0; vx < 640; vx += 3)
        {
            int px = 0, py = 0;
            m_map.ViewToPicture(vx, vy, &px, &py);
            if (NearFeature(px, py))
                continue;
            const COLORREF contour = PictureColour(*s_contour, px, py);
            const COLORREF expected = contour == CKDRGameMap::kContourKey ? PictureColour(*s_colour, px, py) : contour;
            ASSERT_EQ(Back()->GetPixel(vx, vy), expected) << vx << ", " << vy;
        }
    }
    EXPECT_EQ(m_map.GetMapPicture()->GetTileSheet(), m_map.GetTileSurface());

    // A sheet that does not load leaves the display as it was.
    m_map.m_strContourTiles = "gone.bmp";
    EXPECT_FALSE(m_map.SetMapDisplayMode(CKDRGameMap::kModeContour, &m_display));
    EXPECT_EQ(m_map.GetMapDisplayMode(), CKDRGameMap::kModeContourOverColor);
    ASSERT_TRUE(m_map.SetMapDisplayMode(CKDRGameMap::kModeColor, &m_display));
    EXPECT_TRUE(m_map.GetElevationMap()->GetTerrain()->GetType(demo_terrain::kWoods)->IsSet1Active());
}

TEST_F(GameMapDemoTest, SightRaysDrawOnlyWhereTheAreaIsInView)
{
    m_map.GetMapPicture()->SetScroll(0, 0);
    const float x = 600.0f;
    const float y = 2600.0f;  // picture (300, 200)
    auto countYellow = [this]
    {
        int n = 0;
        for (int vy = 0; vy < 480; ++vy)
            for (int vx = 0; vx < 640; ++vx)
                n += Back()->GetPixel(vx, vy) == RGB(255, 255, 0) ? 1 : 0;
        return n;
    };
    m_map.DrawMap(Back(), 0);
    const int before = countYellow();
    m_map.DrawSightRays(x, y, 200, kUnset);
    EXPECT_GT(countYellow(), before + 200);
    // The range circle in the outer pen's purple, 100 pixels from the observer.
    const CPoint centre = ViewOf(x, y);
    bool purple = false;
    for (int d = -3; d <= 3 && !purple; ++d)
    {
        const COLORREF c = Back()->GetPixel(centre.x + 100 + d, centre.y);
        purple = c == RGB(128, 0, 128) || c == RGB(255, 0, 255) || c == RGB(255, 128, 255);
    }
    EXPECT_TRUE(purple);

    // A field of view: a sector only, east of the observer (1600 mils is
    // north counted from east, so 0 to 1600 is the north-east quarter).
    m_map.DrawMap(Back(), 0);
    m_map.DrawSightCells(x, y, 200, kUnset, 1600, 0, 400);
    int west = 0, east = 0;
    for (int vy = 0; vy < 480; ++vy)
        for (int vx = 0; vx < 640; ++vx)
            if (Back()->GetPixel(vx, vy) == RGB(255, 255, 0))
                (vx < centre.x - 3 ? west : east) += 1;
    EXPECT_GT(east, 100);
    EXPECT_LT(west, east / 10);

    // Wholly off the view: nothing is drawn.
    m_map.DrawMap(Back(), 0);
    const int clean = countYellow();
    m_map.DrawSightRays(3900.0f, 100.0f, 50, kUnset);
    EXPECT_EQ(countYellow(), clean);
}
