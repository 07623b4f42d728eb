// The game map component on small hand-made files: its "*.gmp" layout, the
// file dialogs of its load, zoom, pens and the ellipse points.
#include "BattlefieldTestSupport.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MapPicture.h"
#include "platform/core/File.h"
#include "platform/ui/Display.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace bftest;
namespace fs = std::filesystem;

namespace
{
// A data directory with a map of 8 x 6 pixel tiles: a 32 x 24 sheet (16
// tiles), a grid of 3 x 2 cells and a flat 100 x 60 m elevation map.
class SmallMapFolder
{
public:
    SmallMapFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "kdr-gamemap-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
        m_oldDir = GetCurrentDir();
        SetCurrentDir(m_path.string().c_str());

        QImage tiles(32, 24, QImage::Format_RGB32);
        for (int k = 0; k < 16; ++k)
            for (int y = 0; y < 6; ++y)
                for (int x = 0; x < 8; ++x)
                    tiles.setPixel((k % 4) * 8 + x, (k / 4) * 6 + y, qRgb(10 * k, 100, 50));
        tiles.save(QString::fromStdString((m_path / "tiles.bmp").string()), "BMP");
        tiles.fill(qRgb(165, 165, 115));
        tiles.save(QString::fromStdString((m_path / "contour.bmp").string()), "BMP");

        Bytes grid;
        grid.w16(3).w16(0).w16(2).w16(0);
        for (int k = 1; k <= 6; ++k)
            grid.w16(k).w16(0);
        Write("small.map", grid.data());

        CElevationMap elevation;
        elevation.SetFileName("small.emp");
        elevation.SetSquareDesignators("AA", "AB", "BA", "BB");
        MakeFlat(elevation, 100, 60, 1234);
        Write("small.emp", StoreToBytes(elevation));
    }
    ~SmallMapFolder()
    {
        SetCurrentDir(m_oldDir);
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }

    void Write(const char* name, const std::vector<BYTE>& bytes) const
    {
        std::FILE* f = std::fopen((m_path / name).string().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    std::string Path(const char* name) const { return (m_path / name).string(); }

    // A map naming the folder's files.
    static void Name(CKDRGameMap& map)
    {
        map.m_nTileColumns = 8;
        map.m_nTileRows = 6;
        map.m_nTileCount = 16;
        map.m_strColorTiles = "tiles.bmp";
        map.m_strTileGrid = "small.map";
        map.m_strElevation = "small.emp";
        map.m_strContourTiles = "contour.bmp";
    }

private:
    fs::path m_path;
    CString m_oldDir;
};
}  // namespace

TEST(GameMapFile, ThreeSignedWordsThenSevenNames)
{
    Bytes b;
    b.w16(32).w16(0xFFFF).w16(1024);
    b.str("colour.bmp")
        .str("grid.map")
        .str("ground.emp")
        .str("contour.bmp")
        .str("spare")
        .str("help.aim")
        .str("own.gmp");
    CKDRGameMap map;
    EXPECT_EQ(map.m_strFileName, "*.gmp");
    LoadFromBytes(map, b.data());
    EXPECT_EQ(map.m_nTileColumns, 32);
    EXPECT_EQ(map.m_nTileRows, -1);  // sign-extended
    EXPECT_EQ(map.m_nTileCount, 1024);
    EXPECT_EQ(map.m_strColorTiles, "colour.bmp");
    EXPECT_EQ(map.m_strTileGrid, "grid.map");
    EXPECT_EQ(map.m_strElevation, "ground.emp");
    EXPECT_EQ(map.m_strContourTiles, "contour.bmp");
    EXPECT_EQ(map.m_strSpare, "spare");
    EXPECT_EQ(map.m_strHelpMap, "help.aim");
    EXPECT_EQ(map.m_strFileName, "own.gmp");
    EXPECT_EQ(StoreToBytes(map), b.data());
    // Reading the form loads nothing.
    EXPECT_FALSE(map.HasPicture());
    EXPECT_FALSE(map.HasElevationMap());

    // A cut form raises the archive exception.
    std::vector<BYTE> cut(b.data().begin(), b.data().begin() + 20);
    CKDRGameMap other;
    EXPECT_THROW(LoadFromBytes(other, cut), CArchiveException);
}

TEST(GameMapLoad, NamedFilesLoadWithoutAsking)
{
    SmallMapFolder folder;
    ScopedScriptedUi ui;
    CDisplay display;
    ASSERT_TRUE(display.Init(nullptr, 40, 30));
    CKDRGameMap map;
    SmallMapFolder::Name(map);
    ASSERT_TRUE(map.LoadMapFiles(&display, GetCurrentDir()));
    EXPECT_TRUE(map.HasPicture());
    CRect rc;
    ASSERT_TRUE(map.GetPictureRect(&rc));
    EXPECT_EQ(rc, CRect(0, 0, 24, 12));
    EXPECT_TRUE(map.HasElevationMap());
    EXPECT_EQ(map.GetMapDisplayMode(), CKDRGameMap::kModeColor);
    EXPECT_EQ(map.GetMapPicture()->GetTileWidth(), 8);
    EXPECT_EQ(map.GetMapPicture()->GetTileHeight(), 6);
    EXPECT_EQ(map.GetScrollY(), 0);
    EXPECT_TRUE(ui->GetShown().empty());

    // Loading again starts from nothing and ends the same.
    ASSERT_TRUE(map.LoadMapFiles(&display, GetCurrentDir()));
    EXPECT_TRUE(map.HasPicture());
}

TEST(GameMapLoad, CancelledPictureOrGridFailsTheLoadCleanly)
{
    SmallMapFolder folder;
    CDisplay display;
    ASSERT_TRUE(display.Init(nullptr, 40, 30));
    {
        ScopedScriptedUi ui;
        CKDRGameMap map;
        SmallMapFolder::Name(map);
        map.m_strColorTiles = "gone.bmp";
        ui->ExpectFileDialog(TRUE, "");
        EXPECT_FALSE(map.LoadMapFiles(&display, GetCurrentDir()));
        ASSERT_EQ(ui->GetShown().size(), 1u);
        EXPECT_EQ(ui->GetShown()[0].file.defaultExt, "bmp");
        EXPECT_EQ(ui->GetShown()[0].file.fileName, "*.bmp");
        EXPECT_EQ(ui->GetShown()[0].file.filter, "");
        EXPECT_FALSE(map.HasPicture());
        EXPECT_FALSE(map.HasElevationMap());
        EXPECT_EQ(map.GetMapPicture(), nullptr);
        EXPECT_FALSE(map.GetPictureRect(nullptr));
        EXPECT_EQ(map.GetPositionText(1, 1), "");
    }
    {
        // A chosen picture replaces the name; a cancelled grid fails.
        ScopedScriptedUi ui;
        CKDRGameMap map;
        SmallMapFolder::Name(map);
        map.m_strColorTiles = "gone.bmp";
        map.m_strTileGrid = "gone.map";
        ui->ExpectFileDialog(TRUE, folder.Path("tiles.bmp").c_str());
        ui->ExpectFileDialog(TRUE, "");
        EXPECT_FALSE(map.LoadMapFiles(&display, GetCurrentDir()));
        EXPECT_EQ(map.m_strColorTiles, folder.Path("tiles.bmp").c_str());
        EXPECT_EQ(ui->GetShown()[1].file.defaultExt, "map");
        EXPECT_EQ(ui->GetShown()[1].file.fileName, "*.map");
        EXPECT_FALSE(map.HasPicture());
    }
    {
        // A grid asked for again until one reads.
        ScopedScriptedUi ui;
        CKDRGameMap map;
        SmallMapFolder::Name(map);
        map.m_strTileGrid = "gone.map";
        ui->ExpectFileDialog(TRUE, folder.Path("tiles.bmp").c_str());  // not a grid: said so
        ui->ExpectMessage(
            GetMessageBoxCaption(),
            CString("'") + folder.Path("tiles.bmp").c_str() + "' could not be read: its grid has no cell.", IDOK);
        ui->ExpectFileDialog(TRUE, folder.Path("small.map").c_str());
        EXPECT_TRUE(map.LoadMapFiles(&display, GetCurrentDir()));
        EXPECT_EQ(map.m_strTileGrid, folder.Path("small.map").c_str());
        EXPECT_TRUE(map.HasPicture());
    }
}

TEST(GameMapLoad, APictureTooSmallForItsGridIsRefusedWithAMessageNotDrawnBlack)
{
    SmallMapFolder folder;
    QImage narrow(16, 6, QImage::Format_RGB32);
    narrow.fill(qRgb(10, 100, 50));
    narrow.save(QString::fromStdString(folder.Path("narrow.bmp")), "BMP");
    CDisplay display;
    ASSERT_TRUE(display.Init(nullptr, 40, 30));
    const CString refusal = CString("The map picture '") + folder.Path("narrow.bmp").c_str() +
                            "' is 16 x 6 pixels: it holds 2 tiles of 8 x 6 pixels, and the map needs 7.\n"
                            "Choose the map's own picture.";
    {
        // Refused, and the map's own picture chosen in its place.
        ScopedScriptedUi ui;
        CKDRGameMap map;
        SmallMapFolder::Name(map);
        map.m_strColorTiles = folder.Path("narrow.bmp").c_str();
        ui->ExpectMessage("Error", refusal, IDOK);
        ui->ExpectFileDialog(TRUE, folder.Path("tiles.bmp").c_str());
        EXPECT_TRUE(map.LoadMapFiles(&display, GetCurrentDir()));
        EXPECT_EQ(ui->GetShown()[1].file.title, "Find narrow.bmp");
        EXPECT_EQ(map.m_strColorTiles, folder.Path("tiles.bmp").c_str());
        EXPECT_TRUE(map.HasPicture());
    }
    {
        // Refused, and nothing chosen: the load fails.
        ScopedScriptedUi ui;
        CKDRGameMap map;
        SmallMapFolder::Name(map);
        map.m_strColorTiles = folder.Path("narrow.bmp").c_str();
        ui->ExpectMessage("Error", refusal, IDOK);
        ui->ExpectFileDialog(TRUE, "");
        EXPECT_FALSE(map.LoadMapFiles(&display, GetCurrentDir()));
        EXPECT_FALSE(map.HasPicture());
    }
}

TEST(GameMapLoad, CancelledElevationLeavesAMapWithoutOne)
{
    SmallMapFolder folder;
    CDisplay display;
    ASSERT_TRUE(display.Init(nullptr, 40, 30));
    ScopedScriptedUi ui;
    CKDRGameMap map;
    SmallMapFolder::Name(map);
    map.m_strElevation = "gone.emp";
    ui->ExpectFileDialog(TRUE, "");
    EXPECT_TRUE(map.LoadMapFiles(&display, GetCurrentDir()));
    EXPECT_EQ(ui->GetShown()[0].file.defaultExt, "emp");
    EXPECT_EQ(ui->GetShown()[0].file.fileName, "*.emp");
    EXPECT_EQ(map.m_strElevation, "");
    EXPECT_TRUE(map.HasPicture());
    EXPECT_FALSE(map.HasElevationMap());
    EXPECT_EQ(map.GetPositionText(2, 2), "");
    EXPECT_EQ(map.IsPointBlocked(10.0f, 10.0f, nullptr, 0x1, 0, 0), 0);

    // A map that names no grid and no elevation has neither and asks nothing.
    CKDRGameMap bare;
    SmallMapFolder::Name(bare);
    bare.m_strTileGrid = "";
    bare.m_strElevation = "";
    EXPECT_TRUE(bare.LoadMapFiles(&display, GetCurrentDir()));
    EXPECT_FALSE(bare.HasPicture());
    EXPECT_EQ(bare.GetScrollY(), kUnset);

    // A named help map must open: one the user gives up on fails the load.
    CKDRGameMap helped;
    SmallMapFolder::Name(helped);
    helped.m_strHelpMap = "gone.aim";
    ui->ExpectFileDialog(TRUE, "");
    EXPECT_FALSE(helped.LoadMapFiles(&display, GetCurrentDir()));
    EXPECT_EQ(ui->GetShown().back().file.defaultExt, "aim");
    EXPECT_EQ(ui->GetShown().back().file.fileName, "*.aim");
    EXPECT_FALSE(helped.HasPicture());
    EXPECT_FALSE(helped.HasHelpMap());
}

TEST(GameMapZoom, StaysWithinItsLimits)
{
    SmallMapFolder folder;
    CDisplay display;
    ASSERT_TRUE(display.Init(nullptr, 40, 30));
    CKDRGameMap map;
    SmallMapFolder::Name(map);
    ASSERT_TRUE(map.LoadMapFiles(&display, GetCurrentDir()));
    EXPECT_EQ(map.GetZoom(), 1.0f);

    struct Step
    {
        int code;
        float zoom;
        int limit;
    } steps[] = {
        {1, 2.0f, 0},   {1, 4.0f, 0},   {1, 8.0f, 1},     {5, 8.0f, 1},    // doubling stops at 8
        {-88, 1.0f, 0}, {0, 0.5f, 0},   {-1, 0.25f, -1},  {0, 0.25f, -1},  // halving stops at 0.25
        {99, 8.0f, 1},  {-88, 1.0f, 0}, {-99, 0.25f, -1}, {2, 0.5f, 0},
    };
    for (const Step& s : steps)
    {
        int limit = 77;
        EXPECT_EQ(map.ChangeZoom(s.code, &limit), 1);
        EXPECT_EQ(map.GetZoom(), s.zoom) << "code " << s.code;
        EXPECT_EQ(map.GetMapPicture()->GetZoom(), s.zoom);
        EXPECT_EQ(limit, s.limit) << "code " << s.code;
    }
}

TEST(GameMapConversions, ViewAndPictureAgree)
{
    SmallMapFolder folder;
    CDisplay display;
    ASSERT_TRUE(display.Init(nullptr, 40, 30));
    CKDRGameMap map;
    SmallMapFolder::Name(map);
    ASSERT_TRUE(map.LoadMapFiles(&display, GetCurrentDir()));
    map.ChangeZoom(1, nullptr);  // 2.0
    map.GetMapPicture()->ScrollX(3);
    map.GetMapPicture()->ScrollY(2);
    int px = 0, py = 0, vx = 0, vy = 0;
    map.ViewToPicture(9, 7, &px, &py);
    EXPECT_EQ(CPoint(px, py), CPoint(3 + 5, 2 + 4));  // trunc(4.5 + 0.5), trunc(3.5 + 0.5)
    map.PictureToView(px, py, &vx, &vy);
    EXPECT_EQ(CPoint(vx, vy), CPoint(10, 8));
    CRect visible;
    ASSERT_TRUE(map.GetVisiblePictureRect(&visible));
    EXPECT_EQ(visible, CRect(3, 2, 3 + 20, 2 + 15));
    EXPECT_EQ(map.GetScrollY(), 2);
    EXPECT_EQ(map.GetVisibleViewSize(), CSize(40, 30));

    // The status text: grid reference, altitude and (here none) terrain.
    EXPECT_EQ(map.GetPositionText(10, 10), "AA00200040       ALT  1234");
    EXPECT_EQ(map.GetPositionText(-1, 0), "Off of map");
    EXPECT_EQ(map.GetPositionText(51, 0), "Off of map");
}

TEST(GameMapPens, SideGridAndNumberedPens)
{
    CKDRGameMap map;
    struct Case
    {
        int width, flag, expectedWidth;
        COLORREF colour;
    } cases[] = {{0, 0, 1, RGB(17, 114, 181)},
                 {1, 0, 1, RGB(17, 114, 181)},
                 {3, 1, 3, RGB(160, 60, 93)},
                 {9, 1, 4, RGB(160, 60, 93)},
                 {-5, 7, 1, RGB(160, 60, 93)}};
    for (const Case& c : cases)
    {
        CPen* pPen = map.GetPen(c.width, c.flag);
        EXPECT_EQ(pPen->GetWidth(), c.expectedWidth) << c.width;
        EXPECT_EQ(pPen->GetColor(), c.colour) << c.width;
    }
    EXPECT_EQ(CKDRGameMap::GetSideColor(0), RGB(17, 114, 181));
    EXPECT_EQ(CKDRGameMap::GetSideColor(1), RGB(160, 60, 93));

    // Without map type 2 to 4 the grid pens are green.
    EXPECT_EQ(map.GetGridPen(0)->GetColor(), RGB(0, 128, 0));
    EXPECT_EQ(map.GetGridPen(0)->GetWidth(), 3);
    EXPECT_EQ(map.GetGridPen(1)->GetColor(), RGB(128, 255, 128));
    EXPECT_EQ(map.GetGridPen(2), nullptr);
    auto* elevation = new CElevationMap;
    elevation->SetGeometry(100, 100, 0, 0, 3);
    map.SetElevationMap(elevation);
    EXPECT_EQ(map.GetGridPen(0)->GetColor(), RGB(0, 0, 0));
    EXPECT_EQ(map.GetGridPen(1)->GetColor(), RGB(128, 128, 128));

    EXPECT_EQ(map.GetNumberedPen(0), nullptr);
    EXPECT_EQ(map.GetNumberedPen(16), nullptr);
    EXPECT_EQ(map.GetNumberedPen(1)->GetColor(), RGB(128, 0, 0));
    EXPECT_EQ(map.GetNumberedPen(9)->GetStyle(), PS_DOT);
    EXPECT_EQ(map.GetNumberedPen(10)->GetWidth(), 0);
    EXPECT_EQ(map.GetNumberedPen(15)->GetColor(), RGB(255, 255, 0));
    EXPECT_EQ(map.GetNumberedPen(15)->GetWidth(), 2);
}

TEST(GameMapShapes, EllipseToBezier)
{
    CPoint points[13];
    const CRect rect(0, 0, 100, 50);
    CKDRGameMap::EllipseToBezier(&rect, points);
    const CPoint expected[13] = {{0, 25},   {0, 12},  {23, 0},  {50, 0},  {77, 0}, {100, 12}, {100, 25},
                                 {100, 38}, {77, 50}, {50, 50}, {23, 50}, {0, 38}, {0, 25}};
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(points[i], expected[i]) << i;
}

TEST(GameMapRecords, ShortBreachRecordsAreIgnored)
{
    CKDRGameMap map;
    BYTE record[40] = {};
    EXPECT_EQ(map.ApplyBreachRecord(nullptr, 40), 0);
    EXPECT_EQ(map.ApplyBreachRecord(record, 35), 0);
    map.ApplyBreachRecord(record, 36);  // the record's own apply decides
}
