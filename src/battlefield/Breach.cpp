#include "battlefield/Breach.h"

#include "battlefield/AITerrain.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MoverInfo.h"
#include "platform/core/Archive.h"
#include "platform/core/Rounding.h"
#include "platform/ui/DC.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CBreach, CObject, 1)
IMPLEMENT_SERIAL(CBreachArray, CObArray, 1)

namespace
{
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kMilsPerCircle = 6400.0;
constexpr float kNoBest = 99999.0f;
// The route of a passage is open to movers of class 0x1 and 0x2.
constexpr int kPassageRouteFlags = 0x3;

// A picture point at the current zoom: the pixel of the map point times the
// zoom, so that it lines up with the sprites and markers placed there.
void ToZoomedPicture(const CKDRGameMap* pMap, float x, float y, double* zx, double* zy)
{
    int px = 0;
    int py = 0;
    if (const CElevationMap* pElevation = pMap->GetElevationMap())
        pElevation->MapToPixel(x, y, &px, &py);
    const double zoom = pMap->GetZoom();
    *zx = px * zoom;
    *zy = py * zoom;
}

// Cuts the segment to the box (Liang-Barsky); FALSE when none of it lies
// there. A lane from a wild file is drawn only where the device is, rather
// than walked a pixel at a time across a billion pixels.
BOOL ClipSegment(double& x1, double& y1, double& x2, double& y2, const CRect& box)
{
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - box.left, box.right - x1, y1 - box.top, box.bottom - y1};
    for (int i = 0; i < 4; ++i)
    {
        if (!std::isfinite(p[i]) || !std::isfinite(q[i]))
            return FALSE;
        if (p[i] == 0.0)
        {
            if (q[i] < 0.0)
                return FALSE;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return FALSE;
    }
    x2 = x1 + t1 * dx;
    y2 = y1 + t1 * dy;
    x1 = x1 + t0 * dx;
    y1 = y1 + t0 * dy;
    return TRUE;
}

BOOL IsFree(const MoverInfo& mover, const CKDRGameMap* pMap, float x, float y)
{
    // The lane ends are tested for no side in particular.
    return !pMap->IsPointBlocked(x, y, mover.pObstacles, mover.nFlags, kUnset, mover.nAbilities);
}
}  // namespace

CAITerrainRoute* MakePassageRoute(float fromX, float fromY, float toX, float toY)
{
    auto* pRoute = new CAITerrainRoute;
    pRoute->SetRouteFlags(kPassageRouteFlags);
    pRoute->SetPoints({AIRoutePoint{RoundHalfUp(fromX), RoundHalfUp(fromY), 0, 0},
                       AIRoutePoint{RoundHalfUp(toX), RoundHalfUp(toY), 0, 0}});
    pRoute->Rebuild();
    return pRoute;
}

// ---------------------------------------------------------------------------
// CBreach

CBreach::CBreach(float x1, float y1, float x2, float y2, float width, float direction, BOOL flag)
    : m_fX1(x1), m_fX2(x2), m_fY1(y1), m_fY2(y2), m_fWidth(width), m_fDirection(direction), m_bFlag(flag)
{
}

void CBreach::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_fX1 << m_fY1 << m_fX2 << m_fY2 << m_fWidth << m_fDirection;
        ar << static_cast<WORD>(m_bFlag ? 1 : 0);
    }
    else
    {
        WORD flag = 0;
        ar >> m_fX1 >> m_fY1 >> m_fX2 >> m_fY2 >> m_fWidth >> m_fDirection;
        ar >> flag;
        m_bFlag = flag == 1 ? TRUE : FALSE;
    }
}

BOOL CBreach::Contains(float x, float y) const
{
    const double cx = (static_cast<double>(m_fX1) + m_fX2) / 2.0;
    const double cy = (static_cast<double>(m_fY1) + m_fY2) / 2.0;
    const double dx = x - cx;
    const double dy = y - cy;
    // A wild direction from a file folds in one step rather than a turn at a time.
    const double theta = std::remainder(m_fDirection * kTwoPi / kMilsPerCircle, kTwoPi);
    const double along = dx * std::sin(theta) + dy * std::cos(theta);
    const double across = dx * std::cos(theta) - dy * std::sin(theta);
    const double length = std::hypot(static_cast<double>(m_fX2) - m_fX1, static_cast<double>(m_fY2) - m_fY1);
    return std::fabs(along) <= length / 2.0 && std::fabs(across) <= m_fWidth / 2.0;
}

void CBreach::DrawLines(CDC* pDC, double x1, double y1, double x2, double y2, float zoom) const
{
    CRect box;
    pDC->GetClipBox(&box);
    // No pen needs to be wider than the device it draws on.
    const int widest = std::max(1, box.Width() + box.Height());
    const int w1 = std::clamp(RoundHalfUp(m_fWidth * zoom * 0.5), 1, widest);
    const int w2 = std::max(1, w1 - 2);
    const int w3 = std::max(1, w2 - 2);
    box.InflateRect(w1, w1);
    if (!ClipSegment(x1, y1, x2, y2, box))
        return;
    const CPoint from(RoundHalfUp(x1), RoundHalfUp(y1));
    const CPoint to(RoundHalfUp(x2), RoundHalfUp(y2));
    CPen rim(PS_SOLID, w1, kRimColor);
    CPen middle(PS_SOLID, w2, kMiddleColor);
    CPen centre(PS_SOLID, w3, kCentreColor);
    CPen* pOldPen = pDC->SelectObject(&rim);
    for (CPen* pPen : {&rim, &middle, &centre})
    {
        pDC->SelectObject(pPen);
        pDC->MoveTo(from);
        pDC->LineTo(to);
    }
    pDC->SelectObject(pOldPen);
}

void CBreach::Draw(CDC* pDC, const CKDRGameMap* pMap) const
{
    const CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
    if (pDC == nullptr || pElevation == nullptr)
        return;
    int px = 0, py = 0;
    CPoint from, to;
    pElevation->MapToPixel(m_fX1, m_fY1, &px, &py);
    pMap->PictureToView(px, py, &from.x, &from.y);
    pElevation->MapToPixel(m_fX2, m_fY2, &px, &py);
    pMap->PictureToView(px, py, &to.x, &to.y);
    DrawLines(pDC, from.x, from.y, to.x, to.y, pMap->GetZoom());
}

void CBreach::DrawOnSprite(const CRect& rcSprite, CDC* pDC, const CKDRGameMap* pMap) const
{
    if (pDC == nullptr || pMap == nullptr || pMap->GetElevationMap() == nullptr)
        return;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ToZoomedPicture(pMap, m_fX1, m_fY1, &x1, &y1);
    ToZoomedPicture(pMap, m_fX2, m_fY2, &x2, &y2);
    DrawLines(pDC, x1 - rcSprite.left, y1 - rcSprite.top, x2 - rcSprite.left, y2 - rcSprite.top, pMap->GetZoom());
}

// ---------------------------------------------------------------------------
// CBreachArray

int CBreachArray::FindBreachAt(float x, float y) const
{
    int found = kUnset;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CBreach* pLane = GetAt(i);
        if (pLane != nullptr && pLane->Contains(x, y))
            found = i;
    }
    return found;
}

int CBreachArray::FindLaneEntry(const MoverInfo& mover, const CKDRGameMap* pMap, float* entryX, float* entryY,
                                CAITerrainRoute** ppRoute) const
{
    float bestX = kUnsetFloat;
    float bestY = kUnsetFloat;
    float best = kNoBest;
    CAITerrainRoute* pRoute = nullptr;
    if (pMap != nullptr)
    {
        for (int i = 0; i < GetSize(); ++i)
        {
            const CBreach* pLane = GetAt(i);
            if (pLane == nullptr)
                continue;
            const float ends[2][2] = {{pLane->m_fX1, pLane->m_fY1}, {pLane->m_fX2, pLane->m_fY2}};
            for (int e = 0; e < 2; ++e)
            {
                const float ex = ends[e][0];
                const float ey = ends[e][1];
                const float ox = ends[1 - e][0];
                const float oy = ends[1 - e][1];
                if (!(ex >= 0.0f && ey >= 0.0f))
                    continue;
                const float d = CKDRGameMap::Distance(mover.x, mover.y, ex, ey);
                if (!(d < best && d <= kEntryRange))
                    continue;
                if (!IsFree(mover, pMap, ex, ey) || !IsFree(mover, pMap, ox, oy))
                    continue;
                best = d;
                bestX = ex;
                bestY = ey;
                delete pRoute;
                pRoute = MakePassageRoute(ex, ey, ox, oy);
            }
        }
    }
    const BOOL found = bestX >= 0.0f && bestY >= 0.0f && pRoute != nullptr;
    if (!found)
    {
        delete pRoute;
        pRoute = nullptr;
        bestX = bestY = kUnsetFloat;
    }
    if (entryX != nullptr)
        *entryX = bestX;
    if (entryY != nullptr)
        *entryY = bestY;
    if (ppRoute != nullptr)
        *ppRoute = pRoute;
    else
        delete pRoute;
    return found ? 1 : 0;
}

void CBreachArray::Draw(CDC* pDC, const CKDRGameMap* pMap) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CBreach* pLane = GetAt(i))
            pLane->Draw(pDC, pMap);
    }
}

void CBreachArray::Draw(const CKDRGameMap* pMap) const
{
    if (pMap == nullptr || IsEmpty())
        return;
    CDC* pDC = pMap->LendDC();
    if (pDC == nullptr)
        return;
    Draw(pDC, pMap);
    pMap->ReturnDC();
}
