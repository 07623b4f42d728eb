// The help map's items drawn on the display's back surface through the game
// map's conversion to view pixels.
#include "BattlefieldTestSupport.h"

#include "battlefield/AITerrain.h"
#include "battlefield/AITerrainArray.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MapPicture.h"
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"

#include <gtest/gtest.h>

#include <memory>

using namespace bftest;

namespace
{
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlue = CAITerrain::kColor;

// A 400 x 400 m map (a 200 x 200 pixel picture) shown whole in a 200 x 200
// display at zoom 1.
struct Scene
{
    CDisplay display;
    std::unique_ptr<CMapPicture> picture;
    CKDRGameMap gameMap;

    Scene()
    {
        display.Init(nullptr, 200, 200);
        picture = std::make_unique<CMapPicture>(nullptr, &display);
        gameMap.m_strTileGrid = "scene.map";
        gameMap.SetMapPicture(picture.get());
        gameMap.SetDisplay(&display);
        auto* map = new CElevationMap;
        MakeFlat(*map, 400, 400, 1000);
        gameMap.SetElevationMap(map);
        Clear();
    }

    void Clear()
    {
        display.GetSurfaceDC()->FillSolidRect(0, 0, 200, 200, kWhite);
        display.ReleaseSurfaceDC();
    }

    CPoint ViewOf(float x, float y) const
    {
        int px = 0, py = 0, vx = 0, vy = 0;
        gameMap.GetElevationMap()->MapToPixel(x, y, &px, &py);
        gameMap.PictureToView(px, py, &vx, &vy);
        return CPoint(vx, vy);
    }
    COLORREF At(int x, int y) const { return display.GetBackSurface()->GetPixel(x, y); }
    COLORREF At(CPoint p) const { return At(p.x, p.y); }
    int Count(const CRect& area, COLORREF colour) const
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += At(x, y) == colour ? 1 : 0;
        return n;
    }
    int CountAll(COLORREF colour) const { return Count(CRect(0, 0, 200, 200), colour); }
};
}  // namespace

TEST(HelpMapDrawing, SupportByFireSymbolsByFlagBit)
{
    Scene scene;
    const CPoint v = scene.ViewOf(200.0f, 200.0f);
    struct Probe
    {
        int dx, dy;
        COLORREF colour;
    };
    struct Case
    {
        const char* what;
        int flags;
        std::vector<Probe> probes;
        bool text;
    } cases[] = {
        // A plus sign: 8 pixels across and down, without its end pixels.
        {"no bit",
         0,
         {{-4, 0, kBlue}, {3, 0, kBlue}, {0, -4, kBlue}, {0, 3, kBlue}, {2, 2, kWhite}, {-6, 0, kWhite}},
         false},
        // "MI" from the point down and right, and the small hollow circle.
        {"0x10", 0x10, {{-4, 0, kBlue}, {0, -4, kBlue}, {-6, 0, kWhite}, {-2, -2, kWhite}}, true},
        {"0x1", 0x1, {{-8, 0, kBlue}, {0, -6, kBlue}, {0, 0, kWhite}}, false},
        {"0x2", 0x2, {{0, 0, kBlue}, {-2, 2, kBlue}, {-6, 0, kWhite}}, false},
    };
    for (const Case& c : cases)
    {
        scene.Clear();
        CAITerrainSBF sbf;
        sbf.SetPositions({{200.0f, 200.0f, 0.0f, c.flags}});
        sbf.Rebuild();
        sbf.DrawOnMap(&scene.gameMap);
        for (const Probe& p : c.probes)
            EXPECT_EQ(scene.At(v.x + p.dx, v.y + p.dy), p.colour) << c.what << " at " << p.dx << ", " << p.dy;
        const int textPixels = scene.Count(CRect(v.x + 5, v.y + 5, v.x + 30, v.y + 20), kBlue);
        EXPECT_EQ(textPixels > 5, c.text) << c.what << ": " << textPixels;
        // Nothing but blue is drawn, on a transparent background.
        EXPECT_EQ(scene.CountAll(kWhite) + scene.CountAll(kBlue), 200 * 200) << c.what;
    }
}

TEST(HelpMapDrawing, ARegionDrawsItsNestedItemsOnlyWhenItIsVisible)
{
    Scene scene;
    CAITerrainRegion region;
    region.SetPoints(Box(100, 100, 300, 300));
    region.Rebuild();
    auto* pRoute = new CAITerrainRoute;
    pRoute->SetPoints({{150, 120, 0, 0}, {150, 280, 0, 0}});
    region.GetChildren()->Add(pRoute);

    region.DrawOnMap(&scene.gameMap);
    const CPoint corner = scene.ViewOf(100.0f, 100.0f);
    EXPECT_EQ(scene.At(corner), kBlue);                        // the outline
    EXPECT_EQ(scene.At(scene.ViewOf(150.0f, 200.0f)), kBlue);  // the nested route
    const int hatched = scene.Count(CRect(scene.ViewOf(200, 280), scene.ViewOf(280, 120)), kBlue);
    EXPECT_GT(hatched, 200);  // a cross-hatch fills it
    EXPECT_LT(hatched, 40 * 80);
    EXPECT_EQ(scene.At(scene.ViewOf(50.0f, 50.0f)), kWhite);  // outside

    // Scrolled out of view, the region draws nothing, nested items included.
    scene.Clear();
    region.SetPoints(Box(1000, 1000, 1200, 1200));
    region.Rebuild();
    region.DrawOnMap(&scene.gameMap);
    EXPECT_EQ(scene.CountAll(kWhite), 200 * 200);
}

TEST(HelpMapDrawing, RoutesAreThreePixelsWideAndEmptyItemsDrawNothing)
{
    Scene scene;
    CAITerrainRoute route;
    route.SetPoints({{40, 200, 0, 0}, {360, 200, 0, 0}});
    route.Rebuild();
    route.DrawOnMap(&scene.gameMap);
    const CPoint mid = scene.ViewOf(200.0f, 200.0f);
    EXPECT_EQ(scene.At(mid.x, mid.y - 1), kBlue);
    EXPECT_EQ(scene.At(mid.x, mid.y + 1), kBlue);
    EXPECT_EQ(scene.At(mid.x, mid.y + 3), kWhite);

    // Items without points, read from a file with counts of 0, draw nothing.
    scene.Clear();
    CAITerrainArray empty;
    LoadFromBytes(empty, Bytes()
                             .w16(3)
                             .newClass("CAITerrainRegion")
                             .w16(0)
                             .str("")
                             .w16(1)
                             .w16(0)
                             .w16(0)
                             .newClass("CAITerrainRoute")
                             .w16(0xF)
                             .w16(0)
                             .w16(0)
                             .newClass("CAITerrainSBF")
                             .w16(0)
                             .str("")
                             .data());
    ASSERT_EQ(empty.GetSize(), 3);
    for (const CObject* pObject : empty)
    {
        const auto* pItem = static_cast<const CAITerrain*>(pObject);
        pItem->DrawOnMap(&scene.gameMap);
        pItem->Draw(RGB(255, 0, 0), &scene.gameMap);
    }
    EXPECT_EQ(scene.CountAll(kWhite), 200 * 200);
}
