// Paths drawn offscreen on the application's back surface: each row of the
// drawing table gives its two pens and its stop and go node icons, from the
// symbol catalogue the application builds from the demo bitmaps.
#include "../../../tools/demo_map.h"
#include "../../../tools/demo_sounds.h"
#include "../../../tools/demo_symbols.h"
#include "../../../tools/demo_terrain.h"
#include "app/StartDirTestSupport.h"
#include "app/KDRApp.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "orders/NodeArray.h"
#include "platform/core/Archive.h"
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"

#include <gtest/gtest.h>

namespace
{
constexpr COLORREF kBackground = RGB(10, 20, 30);

class PathDrawTest : public StartDirTest
{
protected:
    PathDrawTest() : StartDirTest("kdr-path-draw-") {}

    void SetUp() override
    {
        StartDirTest::SetUp();
        if (HasFatalFailure())
            return;
        const CString data = (m_root / "Data").string().c_str();
        CString errorText;
        ASSERT_TRUE(demo_symbols::WriteDemoSymbols(data, errorText)) << errorText.GetString();
        ASSERT_TRUE(demo_sounds::WriteDemoSounds(data, errorText)) << errorText.GetString();
        ASSERT_TRUE(demo_terrain::WriteDemoElevationMap(JoinPath(data, "Demo.emp"), errorText))
            << errorText.GetString();
        ASSERT_TRUE(demo_map::WriteDemoMapFiles(data, "Demo.emp", errorText)) << errorText.GetString();
        ASSERT_TRUE(m_app.InitInstance());
        ASSERT_TRUE(SetCurrentDir(m_app.m_strDataDir));
        ASSERT_TRUE(LoadObjectFromFile(demo_map::kGameMapFile, m_map, errorText)) << errorText.GetString();
        ASSERT_TRUE(m_map.LoadMapFiles(m_app.m_pDisplay, m_app.m_strDataDir));
        ASSERT_EQ(m_map.GetDisplay(), m_app.m_pDisplay);
    }

    // A path along the map's top edge: a stop node and two go nodes.
    void MakePath(CNodeArray& path)
    {
        for (float x : {100.0f, 500.0f, 900.0f})
            path.AddNode(x, 2900.0f);
        path.GetAt(0)->AddOrder(NORD_STOP);
    }

    CPoint ViewOf(const CNode& node) const
    {
        int px = 0, py = 0, vx = 0, vy = 0;
        m_map.GetElevationMap()->MapToPixel(node.m_fX, node.m_fY, &px, &py);
        m_map.PictureToView(px, py, &vx, &vy);
        return CPoint(vx, vy);
    }

    COLORREF Pixel(CPoint p) { return m_app.m_pDisplay->GetBackSurface()->GetPixel(p.x, p.y); }

    int CountAround(CPoint p, COLORREF colour)
    {
        int n = 0;
        for (int y = p.y - 16; y < p.y + 16; ++y)
            for (int x = p.x - 16; x < p.x + 16; ++x)
                n += m_app.m_pDisplay->GetBackSurface()->GetPixel(x, y) == colour ? 1 : 0;
        return n;
    }

    void Clear()
    {
        CDC* pDC = m_app.GetSurfaceDC();
        ASSERT_NE(pDC, nullptr);
        pDC->FillSolidRect(0, 0, m_app.m_pDisplay->GetWidth(), m_app.m_pDisplay->GetHeight(), kBackground);
        m_app.ReleaseSurfaceDC();
    }

    CKDRApp m_app;
    CKDRGameMap m_map;
};
}  // namespace

TEST_F(PathDrawTest, EachRowDrawsWithItsPensAndNodeIcons)
{
    struct Row
    {
        BOOL bSelected;
        BOOL bForElement;
        int nLevel;
        COLORREF wide;
        COLORREF narrow;
        COLORREF icon;  // the demo bitmaps' colour of the row's icons
    };
    const Row rows[] = {
        {TRUE, FALSE, -1, RGB(128, 0, 0), RGB(255, 128, 128), RGB(215, 30, 30)},
        {TRUE, TRUE, 2, RGB(255, 255, 0), RGB(255, 255, 255), RGB(235, 200, 0)},
        {TRUE, TRUE, 4, RGB(0, 0, 128), RGB(128, 128, 255), RGB(30, 80, 220)},
        {FALSE, FALSE, -1, RGB(0, 0, 0), RGB(128, 128, 128), RGB(120, 120, 120)},
        {FALSE, TRUE, 2, RGB(255, 255, 128), RGB(255, 255, 255), RGB(255, 246, 150)},
        {FALSE, TRUE, 8, RGB(128, 128, 255), RGB(255, 255, 255), RGB(120, 190, 255)},
    };
    CNodeArray path;
    MakePath(path);
    const CPoint stop = ViewOf(*path.GetAt(0));
    const CPoint go = ViewOf(*path.GetAt(1));
    const CPoint last = ViewOf(*path.GetAt(2));
    ASSERT_EQ(stop.y, go.y);
    ASSERT_LT(last.x + 16, m_app.m_pDisplay->GetWidth());
    ASSERT_GT(stop.y, 16);
    const CPoint middle((stop.x + go.x) / 2, stop.y);

    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::Message() << row.bSelected << row.bForElement << row.nLevel);
        Clear();
        path.Draw(&m_map, FALSE, row.bSelected, row.bForElement, row.nLevel);
        // The narrow pen over the wide one along the leg.
        EXPECT_EQ(Pixel(middle), row.narrow);
        int nWide = 0;
        for (int dy = -3; dy <= 3; ++dy)
            nWide += Pixel(CPoint(middle.x, middle.y + dy)) == row.wide ? 1 : 0;
        EXPECT_GE(nWide, 1);
        // The stop icon is a square, the go icon a disc, in the row's colour.
        EXPECT_EQ(Pixel(stop), row.icon);
        EXPECT_EQ(Pixel(CPoint(stop.x - 7, stop.y - 7)), row.icon);
        EXPECT_EQ(Pixel(go), row.icon);
        EXPECT_EQ(Pixel(CPoint(go.x - 8, go.y - 8)), kBackground);
        EXPECT_GT(CountAround(last, row.icon), 0);
    }
}

TEST_F(PathDrawTest, AddingLeavesTheLastNodeWithoutItsIcon)
{
    CNodeArray path;
    MakePath(path);
    const CPoint last = ViewOf(*path.GetAt(2));
    const COLORREF red = RGB(215, 30, 30);

    path.m_bAdding = TRUE;
    Clear();
    path.Draw(&m_map, FALSE, TRUE, FALSE, -1);
    EXPECT_EQ(CountAround(last, red), 0);
    EXPECT_GT(CountAround(ViewOf(*path.GetAt(1)), red), 0);

    path.m_bAdding = FALSE;
    Clear();
    path.Draw(&m_map, FALSE, TRUE, FALSE, -1);
    EXPECT_GT(CountAround(last, red), 0);

    // A path of one node draws its degenerate leg and its icon.
    CNodeArray single;
    single.AddNode(100.0f, 2900.0f);
    Clear();
    single.Draw(&m_map, FALSE, TRUE, FALSE, -1);
    EXPECT_GT(CountAround(ViewOf(*single.GetAt(0)), red), 0);
}

TEST_F(PathDrawTest, ABlockedLegIsMarkedWhereTheGroundStopsIt)
{
    // The demo ground replaced by a plain with a cliff 300 m east.
    auto* pGround = new CElevationMap;
    pGround->SetGeometry(demo_terrain::kWidth, demo_terrain::kHeight, 0, 0, 1);
    for (int c = 0; c < pGround->GetColumns(); ++c)
        for (int r = 0; r < pGround->GetRows(); ++r)
            pGround->SetElevation(c, r, c == 30 ? 20000 : 1000);
    pGround->UpdateElevationRange();
    m_map.SetElevationMap(pGround);
    int nBlockedX = 0;
    int nBlockedY = 0;
    ASSERT_TRUE(pGround->FindBlockedPoint(100, 2900, 500, 2900, &nBlockedX, &nBlockedY));
    CNode blocked(static_cast<float>(nBlockedX), static_cast<float>(nBlockedY));
    const CPoint mark = ViewOf(blocked);
    const COLORREF green = RGB(0, 150, 0);

    CNodeArray path;
    MakePath(path);
    Clear();
    path.Draw(&m_map, FALSE, TRUE, FALSE, -1);
    EXPECT_EQ(CountAround(mark, green), 0);
    Clear();
    path.Draw(&m_map, TRUE, TRUE, FALSE, -1);
    EXPECT_GT(CountAround(mark, green), 0);
}
