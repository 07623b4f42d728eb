// Deployment drags through the real view at every zoom level and in both
// icon styles: a press on a pixel that the player sees of a demo tank, of a
// dug position and of the mine field picks it, and the drag takes it to the
// release point. What is seen is found by painting the map with and without
// the object, so the test does not share the hit test's own arithmetic.
#include "ViewDemoMap.h"

#include "battlefield/Hole.h"
#include "battlefield/HoleArray.h"
#include "battlefield/KDRHoles.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"
#include "view/ViewProperties.h"

#include <cmath>
#include <functional>
#include <optional>

namespace
{
constexpr int kLevels = CViewProperties::kLevelCount;
// The dismount position ahead of carrier 31, which no unit covers.
constexpr int kOpenHole = 4;
constexpr int kMineField = 0;
// The map's west edge, where nothing of the three is seen near their homes
// at any zoom.
constexpr float kAwayX = 0.0f;

class CDragMap : public CDemoMap
{
public:
    using CDemoMap::CDemoMap;

    // The zoom level (0 = 0.25 to 5 = 8.0) with the icon style, the
    // vehicles shown and the platoon and company symbols hidden.
    void UseLevel(int nLevel, int nIconStyle)
    {
        CKDRView& view = View();
        ASSERT_TRUE(view.SetZoom(CKDRGameMap::kZoomToMinimum, FALSE) || view.GetZoom() == 0.25f);
        for (int i = 0; i < nLevel; ++i)
            ASSERT_TRUE(view.SetZoom(1, FALSE));
        ASSERT_FLOAT_EQ(view.GetZoom(), 0.25f * static_cast<float>(1 << nLevel));
        view.GetViewProperties()->m_anIconStyle[nLevel] = nIconStyle;
        view.ApplyViewProperties();
        if (!view.m_bShowVehicles)
            Command(ID_VIEW_ECHELON_VEHICLES);
        if (view.m_bShowPlatoons)
            Command(ID_VIEW_ECHELON_PLATOONS);
        if (view.m_bShowCompanies)
            Command(ID_VIEW_ECHELON_COMPANIES);
    }
    QImage Paint()
    {
        View().RedrawMap(FALSE);
        Widget()->repaint();
        const QImage* image = View().GetBackImage();
        return image != nullptr ? image->copy() : QImage();
    }
    // The client pixel nearest to the map point that changes when the
    // object is moved away (move(true)) and back (move(false)).
    std::optional<QPoint> SeenPixel(float fX, float fY, const std::function<void(bool)>& move)
    {
        CentreOn(fX, fY);
        const QImage shown = Paint();
        move(true);
        const QImage hidden = Paint();
        move(false);
        Paint();
        const QPointF centre = ClientOf(fX, fY);
        std::optional<QPoint> best;
        double bestDistance = 1e9;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
            {
                if (shown.pixel(x, y) == hidden.pixel(x, y))
                    continue;
                const double d = std::hypot(x - centre.x(), y - centre.y());
                if (d < bestDistance)
                {
                    bestDistance = d;
                    best = QPoint(x, y);
                }
            }
        return best;
    }
};

struct Case
{
    int nLevel;
    int nIconStyle;
};

std::vector<Case> AllCases()
{
    std::vector<Case> cases;
    for (int nLevel = 0; nLevel < kLevels; ++nLevel)
        for (int nStyle : {CViewProperties::iconPicture, CViewProperties::iconNato})
            cases.push_back({nLevel, nStyle});
    return cases;
}

CUnit* OwnUnit(CDemoMap& map, const char* name)
{
    CKDRUnits* pUnits = map.Doc().GetUnits();
    for (int i = 0; pUnits != nullptr; ++i)
    {
        CUnit* pUnit = pUnits->GetUnit(i, 0, 0);
        if (pUnit == nullptr)
            return nullptr;
        if (pUnit->m_strName == name)
            return pUnit;
    }
    return nullptr;
}

// The release point: a few pixels west and south of the press, so that
// the object lands near where it was at every zoom.
QPoint ReleasePoint(QPoint press) { return press + QPoint(-12, 9); }
}  // namespace

TEST(ViewDragEveryZoom, APressOnWhatIsSeenDragsATankADugPositionAndTheMineField)
{
    CDragMap map("view-drag-zoom");
    START_DEMO(map, true);
    CKDRView& view = map.View();
    CUnit* pTank = OwnUnit(map, "Tank 12");
    ASSERT_NE(pTank, nullptr);
    CHole* pHole = map.Doc().GetHoles()->GetHole(kOpenHole, 0);
    ASSERT_NE(pHole, nullptr);
    CObstacle* pMines = map.OwnObstacle(kMineField);
    ASSERT_NE(pMines, nullptr);

    // Each is moved away and back as the game moves it, so that its
    // pictures follow.
    struct Thing
    {
        const char* pszName;
        float* pX;
        float* pY;
        BOOL CKDRView::*pDragFlag;
        std::function<void(float)> moveTo;  // to this x, keeping y
    };
    CKDRDoc& doc = map.Doc();
    const Thing things[] = {
        {"tank", &pTank->m_fX, &pTank->m_fY, &CKDRView::m_bDragUnit, [&](float fX) { pTank->m_fX = fX; }},
        {"dug position", &pHole->m_fX, &pHole->m_fY, &CKDRView::m_bDragHole,
         [&](float fX) { doc.MoveHole(kOpenHole, 0, fX, pHole->m_fY); }},
        {"mine field", &pMines->m_fX, &pMines->m_fY, &CKDRView::m_bDragObstacle,
         [&](float fX) { doc.MoveObstacle(kMineField, 0, fX, pMines->m_fY); }}};
    for (const Case& c : AllCases())
    {
        map.UseLevel(c.nLevel, c.nIconStyle);
        for (const Thing& thing : things)
        {
            const std::string where = std::string(thing.pszName) + " at zoom " + std::to_string(view.GetZoom()) +
                                      (c.nIconStyle == CViewProperties::iconNato ? " (NATO)" : " (pictures)");
            const float fHomeX = *thing.pX;
            const std::optional<QPoint> seen = map.SeenPixel(
                *thing.pX, *thing.pY, [&](bool bAway) { thing.moveTo(bAway ? kAwayX : fHomeX); });
            ASSERT_TRUE(seen.has_value()) << "not drawn: " << where;
            map.Press(QPointF(*seen));
            ASSERT_TRUE(view.*thing.pDragFlag) << "no drag: " << where;
            EXPECT_FALSE(view.m_bRubberBand) << where;
            map.MoveTo(QPointF(*seen + QPoint(-6, 4)));
            const QPoint release = ReleasePoint(*seen);
            map.Release(QPointF(release));
            EXPECT_FALSE(view.*thing.pDragFlag) << where;
            // It lies under the release point, to a client pixel.
            const QPointF now = map.ClientOf(*thing.pX, *thing.pY);
            EXPECT_NEAR(now.x(), release.x(), 1.5) << where;
            EXPECT_NEAR(now.y(), release.y(), 1.5) << where;
        }
    }
}
