// Terrain features drawn on the display's back surface, through the game
// map's conversion to view pixels.
#include "BattlefieldTestSupport.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MapPicture.h"
#include "battlefield/TerrainArray.h"
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"

#include <gtest/gtest.h>

using namespace bftest;

namespace
{
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A 400 x 400 m map (a 200 x 200 pixel picture) shown whole in a 200 x 200
// display at zoom 1.
struct Scene
{
    CDisplay display;
    CMapPicture* picture = nullptr;
    CKDRGameMap gameMap;
    CElevationMap* map = new CElevationMap;

    Scene()
    {
        display.Init(nullptr, 200, 200);
        picture = new CMapPicture(nullptr, &display);
        gameMap.m_strTileGrid = "scene.map";
        gameMap.SetMapPicture(picture);
        MakeFlat(*map, 400, 400, 1000);
        gameMap.SetElevationMap(map);
    }
    ~Scene() { delete picture; }

    void Add(const char* name, const TerrainColourSet& set1, const TerrainColourSet& set2,
             const std::vector<CPoint>& points)
    {
        CTerrainArray* terrain = map->GetTerrain();
        const int type = terrain->AddType(new CTerrainType(name, 1.0f, kUnset, 0, 1.0f, set1, set2));
        terrain->AddFeature(new CTerrain(type, points));
    }

    // Draws the terrain on a white back surface and hands back its DC.
    CDC* Draw()
    {
        CDC* dc = display.GetSurfaceDC();
        dc->FillSolidRect(0, 0, 200, 200, kWhite);
        map->GetTerrain()->Draw(dc, &gameMap);
        return dc;
    }

    int CountPixels(CDC* dc, const CRect& area, COLORREF colour) const
    {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += dc->GetPixel(x, y) == colour ? 1 : 0;
        return count;
    }
};
}  // namespace

TEST(GameMapView, PictureToView)
{
    CDisplay display;
    ASSERT_TRUE(display.Init(nullptr, 200, 200));
    CMapPicture picture(nullptr, &display);
    CKDRGameMap gameMap;
    int vx = 0;
    int vy = 0;

    // No picture and no tile grid: zoom 1, scroll taken as (-99, -99).
    EXPECT_EQ(gameMap.PictureToView(0, 0, &vx, &vy), 1);
    EXPECT_EQ(CPoint(vx, vy), CPoint(99, 99));

    gameMap.SetMapPicture(&picture);
    gameMap.m_strTileGrid = "grid.map";
    struct Case
    {
        float zoom;
        int scrollX, scrollY;
        int px, py, vx, vy;
    } cases[] = {
        {1.0f, 0, 0, 10, 20, 10, 20}, {2.0f, 10, 20, 15, 25, 10, 10},
        {8.0f, 10, 20, 10, 20, 0, 0}, {0.25f, 0, 0, 6, 9, 2, 2},  // 1.5 + 0.5 and 2.25 + 0.5, truncated
        {0.25f, 10, 0, 5, 0, 0, 0},                               // -1.25 + 0.5 truncates toward zero
        {0.5f, 10, 0, 0, 0, -4, 0},
    };
    for (const Case& c : cases)
    {
        CMapPicture fresh(nullptr, &display);
        fresh.SetZoom(c.zoom);
        fresh.ScrollX(c.scrollX);
        fresh.ScrollY(c.scrollY);
        gameMap.SetMapPicture(&fresh);
        gameMap.PictureToView(c.px, c.py, &vx, &vy);
        EXPECT_EQ(CPoint(vx, vy), CPoint(c.vx, c.vy)) << "zoom " << c.zoom << " pixel " << c.px << ", " << c.py;
    }
    gameMap.SetMapPicture(&picture);
    EXPECT_EQ(gameMap.GetVisibleViewSize(), CSize(200, 200));

    // Without a tile grid the picture's own scroll is not used.
    gameMap.m_strTileGrid = "";
    gameMap.PictureToView(1, 1, &vx, &vy);
    EXPECT_EQ(CPoint(vx, vy), CPoint(100, 100));
}

TEST(TerrainDrawing, FillOutlineAndHiddenTypesInBothColourSets)
{
    Scene scene;
    // Map squares of 100 m: each becomes 50 x 50 view pixels.
    scene.Add("Solid", Colours(200, 0, 0, kTerrainFillSolid), Colours(0, 0, 200, kTerrainFillSolid),
              Box(100, 100, 200, 200));  // x 50..100, y 99..149
    scene.Add("Outline only", Colours(0, 160, 0, kUnset), Colours(0, 160, 0, kUnset),
              Box(240, 100, 340, 200));  // x 120..170, y 99..149
    scene.Add("Hidden", Colours(0, 0, 255, kTerrainFillHorizontal, TRUE), Colours(0, 0, 255, kTerrainFillSolid),
              Box(100, 240, 200, 340));  // x 50..100, y 29..79
    scene.Add("Hatched", Colours(128, 0, 128, HS_DIAGCROSS), Colours(128, 0, 128, HS_DIAGCROSS, TRUE),
              Box(240, 240, 340, 340));  // x 120..170, y 29..79

    CDC* dc = scene.Draw();
    EXPECT_EQ(dc->GetPixel(75, 124), RGB(200, 0, 0));
    EXPECT_EQ(dc->GetPixel(51, 100), RGB(200, 0, 0));
    EXPECT_EQ(dc->GetPixel(20, 20), kWhite);
    EXPECT_EQ(dc->GetPixel(120, 124), RGB(0, 160, 0));  // west edge of the outline
    EXPECT_EQ(dc->GetPixel(145, 124), kWhite);          // nothing inside it
    EXPECT_EQ(scene.CountPixels(dc, CRect(45, 24, 105, 84), RGB(0, 0, 255)), 0);
    // A hatch leaves the gaps between its lines white (transparent background).
    const int hatched = scene.CountPixels(dc, CRect(125, 35, 165, 75), RGB(128, 0, 128));
    EXPECT_GT(hatched, 40 * 40 / 20);
    EXPECT_LT(hatched, 40 * 40 * 7 / 10);
    EXPECT_EQ(scene.CountPixels(dc, CRect(120, 30, 121, 79), RGB(128, 0, 128)), 49);  // its outline
    scene.display.ReleaseSurfaceDC();

    // The contour displays use colour set 2.
    scene.map->GetTerrain()->SetColourSet(1);
    dc = scene.Draw();
    EXPECT_EQ(dc->GetPixel(75, 124), RGB(0, 0, 200));
    EXPECT_EQ(dc->GetPixel(75, 54), RGB(0, 0, 255));  // no longer hidden
    // The hatched square keeps its hatch but loses its outline.
    EXPECT_LT(scene.CountPixels(dc, CRect(120, 30, 121, 79), RGB(128, 0, 128)), 49 * 7 / 10);
    scene.display.ReleaseSurfaceDC();

    // And back to the colour map.
    scene.map->GetTerrain()->SetColourSet(0);
    dc = scene.Draw();
    EXPECT_EQ(dc->GetPixel(75, 124), RGB(200, 0, 0));
    scene.display.ReleaseSurfaceDC();
}

TEST(TerrainDrawing, FeaturesAreClippedToTheVisiblePicture)
{
    Scene scene;
    // Reaches far past every edge of the map and the view.
    scene.Add("Sea", Colours(0, 0, 200, kTerrainFillSolid), Colours(0, 0, 200, kTerrainFillSolid),
              {CPoint(-30000, -30000), CPoint(30000, -30000), CPoint(30000, 60), CPoint(-30000, 60)});
    CDC* dc = scene.Draw();
    EXPECT_EQ(dc->GetPixel(0, 199), RGB(0, 0, 200));
    EXPECT_EQ(dc->GetPixel(199, 190), RGB(0, 0, 200));
    EXPECT_EQ(dc->GetPixel(100, 100), kWhite);
    scene.display.ReleaseSurfaceDC();

    // Zoomed in 4 times on the north-west: the sea lies out of sight.
    scene.picture->SetZoom(4.0f);
    dc = scene.Draw();
    EXPECT_EQ(scene.CountPixels(dc, CRect(0, 0, 200, 200), RGB(0, 0, 200)), 0);
    scene.display.ReleaseSurfaceDC();
}
