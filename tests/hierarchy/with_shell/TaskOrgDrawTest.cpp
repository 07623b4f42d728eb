// The selection marker of a task-organisation entry, drawn offscreen on the
// application's back surface from the symbol catalogue the application
// builds from the demo bitmaps: the standard and the NATO flag, the scale,
// and the clip to the visible part of the view.
#include "../../../tools/demo_map.h"
#include "../../../tools/demo_sounds.h"
#include "../../../tools/demo_symbols.h"
#include "../../../tools/demo_terrain.h"
#include "app/ScenarioBytes.h"
#include "app/StartDirTestSupport.h"
#include "app/KDRApp.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "hierarchy/TaskOrg.h"
#include "platform/core/Archive.h"
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"

#include <gtest/gtest.h>

namespace
{
constexpr COLORREF kBackground = RGB(10, 20, 30);
// The demo bitmaps' green.
constexpr COLORREF kGreen = RGB(0, 150, 0);

class TaskOrgDrawTest : public StartDirTest
{
protected:
    TaskOrgDrawTest() : StartDirTest("kdr-taskorg-draw-") {}

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
        Clear();
    }

    // The view pixel of a map point.
    CPoint ViewOf(float x, float y) const
    {
        int px = 0, py = 0, vx = 0, vy = 0;
        m_map.GetElevationMap()->MapToPixel(x, y, &px, &py);
        m_map.PictureToView(px, py, &vx, &vy);
        return CPoint(vx, vy);
    }

    // The green pixels of the back surface inside the rectangle.
    int CountGreen(const CRect& r) const
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += m_app.m_pDisplay->GetBackSurface()->GetPixel(x, y) == kGreen ? 1 : 0;
        return n;
    }
    int CountGreen() const
    {
        return CountGreen(CRect(0, 0, m_app.m_pDisplay->GetWidth(), m_app.m_pDisplay->GetHeight()));
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

TEST_F(TaskOrgDrawTest, TheFlagIsDrawnCentredOnItsPointInEitherStyle)
{
    CTaskOrg entry(3, 0);
    ASSERT_TRUE(entry.IsMarkerLoaded());
    EXPECT_FALSE(entry.IsNatoMarker());
    const CPoint centre = ViewOf(600.0f, 2600.0f);
    ASSERT_GT(centre.x, 16);
    ASSERT_GT(centre.y, 16);
    // The demo flag: a pole on the left and a pennant at the top; the NATO
    // flag adds a frame below the pennant.
    const CRect frame(centre.x - 16, centre.y - 16, centre.x + 16, centre.y + 16);
    const CRect lowerRight(centre.x + 2, centre.y, centre.x + 16, centre.y + 16);
    const CRect pennant(centre.x - 7, centre.y - 11, centre.x + 8, centre.y - 5);

    entry.Draw(600.0f, 2600.0f, &m_map, FALSE, 1.0f);
    const int nStandard = CountGreen(frame);
    EXPECT_GT(CountGreen(pennant), 20);
    EXPECT_EQ(CountGreen(lowerRight), 0);
    EXPECT_EQ(CountGreen(), nStandard);  // nothing outside its frame

    Clear();
    entry.Draw(600.0f, 2600.0f, &m_map, TRUE, 1.0f);
    EXPECT_TRUE(entry.IsNatoMarker());
    EXPECT_GT(CountGreen(lowerRight), 0);
    EXPECT_GT(CountGreen(frame), nStandard);

    // Back to the standard style on the next request.
    Clear();
    entry.Draw(600.0f, 2600.0f, &m_map, FALSE, 0.0f);  // a scale of 0 draws at 1.0
    EXPECT_FALSE(entry.IsNatoMarker());
    EXPECT_EQ(CountGreen(frame), nStandard);
}

TEST_F(TaskOrgDrawTest, TheScaleShrinksTheFlagAroundItsPoint)
{
    CTaskOrg entry(0, 0);
    const CPoint centre = ViewOf(600.0f, 2600.0f);
    entry.Draw(600.0f, 2600.0f, &m_map, FALSE, 1.0f);
    const int nFull = CountGreen();
    Clear();
    entry.Draw(600.0f, 2600.0f, &m_map, FALSE, 0.5f);
    const int nHalf = CountGreen();
    EXPECT_GT(nHalf, 0);
    EXPECT_LT(nHalf, nFull / 2);
    EXPECT_EQ(CountGreen(CRect(centre.x - 8, centre.y - 8, centre.x + 8, centre.y + 8)), nHalf);
}

TEST_F(TaskOrgDrawTest, OnlyAFlagReachingIntoTheVisibleViewIsDrawn)
{
    CTaskOrg entry(0, 0);
    const CSize visible = m_map.GetVisibleViewSize();
    ASSERT_GT(visible.cx, 64);
    // Two metres to a picture pixel: a point 40 pixels beyond the right
    // edge, and one whose flag pole stands just inside it.
    const CPoint corner = ViewOf(0.0f, 2600.0f);
    const float fBeyond = 2.0f * static_cast<float>(visible.cx - corner.x + 40);
    ASSERT_GE(ViewOf(fBeyond, 2600.0f).x, visible.cx + 16);
    entry.Draw(fBeyond, 2600.0f, &m_map, FALSE, 1.0f);
    EXPECT_EQ(CountGreen(), 0);

    const float fAtEdge = 2.0f * static_cast<float>(visible.cx - corner.x + 4);
    entry.Draw(fAtEdge, 2600.0f, &m_map, FALSE, 1.0f);
    EXPECT_GT(CountGreen(), 0);
    const CPoint edge = ViewOf(fAtEdge, 2600.0f);
    EXPECT_EQ(CountGreen(CRect(visible.cx, edge.y - 16, visible.cx + 32, edge.y + 16)), 0);
}

TEST_F(TaskOrgDrawTest, EntriesReadFromAFileHaveTheStandardMarker)
{
    CScenarioBytes bytes;
    bytes.Word(2);
    bytes.Word(0xFFFF).Word(1).Word(8).Chars("CTaskOrg").Word(1).Word(0);
    bytes.Word(0xFFFF).Word(1).Word(17).Chars("CHierarchyTaskOrg").Word(0).Word(0).Str("A Company");
    bytes.Word(TASKORG_NO_GROUP);
    CTaskOrgArray list;
    CMemFile file(bytes.Get());
    CArchive ar(&file, CArchive::load);
    list.Serialize(ar);
    ASSERT_EQ(list.GetSize(), 2);
    for (int i = 0; i < list.GetSize(); ++i)
    {
        EXPECT_TRUE(list.GetAt(i)->IsMarkerLoaded());
        EXPECT_FALSE(list.GetAt(i)->IsNatoMarker());
    }
    // A named entry draws as a plain one.
    list.GetAt(1)->Draw(600.0f, 2600.0f, &m_map, FALSE, 1.0f);
    EXPECT_GT(CountGreen(), 0);
}

TEST(TaskOrgMarker, WithoutTheCatalogueAnEntryHasNoMarkerAndDrawsNothing)
{
    CTaskOrg entry(1, 2);
    EXPECT_FALSE(entry.IsMarkerLoaded());
    entry.LoadMarker(TRUE);
    EXPECT_FALSE(entry.IsMarkerLoaded());
    CKDRGameMap map;
    entry.Draw(10.0f, 10.0f, &map, TRUE, 1.0f);
    entry.Draw(10.0f, 10.0f, nullptr, FALSE, 1.0f);
    const CTaskOrg copy(entry);
    EXPECT_EQ(copy.m_nUnit, 1);
    EXPECT_EQ(copy.m_nArray, 2);
}
