#include "battlefield/Terrain.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/TerrainType.h"
#include "platform/core/Archive.h"
#include "platform/core/Rounding.h"
#include "platform/ui/DC.h"

#include <algorithm>
#include <cstdint>

IMPLEMENT_SERIAL(CTerrain, CObject, 1)

CTerrain::CTerrain(int typeIndex, const std::vector<CPoint>& points) : m_nTypeIndex(typeIndex), m_points(points)
{
    BuildRegion();
}

void CTerrain::Serialize(CArchive& ar)
{
    m_breaches.Serialize(ar);
    m_capabilities.Serialize(ar);
    if (ar.IsStoring())
    {
        ar << static_cast<short>(m_nTypeIndex) << static_cast<short>(m_points.size());
        for (const CPoint& p : m_points)
            ar << static_cast<short>(p.x) << static_cast<short>(p.y);
    }
    else
    {
        short typeIndex = 0;
        short count = 0;
        ar >> typeIndex >> count;
        if (count <= 0)
            ar.ThrowArchiveException(CArchiveException::badIndex, "a terrain feature has no points");
        ar.EnsureBytesLeft(static_cast<ULONGLONG>(count) * 4);
        std::vector<CPoint> points(static_cast<size_t>(count));
        for (CPoint& p : points)
        {
            short x = 0;
            short y = 0;
            ar >> x >> y;
            p = CPoint(x, y);
        }
        m_nTypeIndex = typeIndex;
        m_points.swap(points);
        BuildRegion();
    }
}

void CTerrain::BuildRegion()
{
    if (m_points.empty())
    {
        // An empty feature contains nothing: a box that no point fits.
        m_bounds = CRect(1, 1, 0, 0);
        return;
    }
    m_bounds = CRect(m_points[0].x, m_points[0].y, m_points[0].x, m_points[0].y);
    for (const CPoint& p : m_points)
    {
        m_bounds.left = std::min<LONG>(m_bounds.left, p.x);
        m_bounds.right = std::max<LONG>(m_bounds.right, p.x);
        m_bounds.top = std::min<LONG>(m_bounds.top, p.y);
        m_bounds.bottom = std::max<LONG>(m_bounds.bottom, p.y);
    }
}

BOOL CTerrain::ContainsPoint(float x, float y) const
{
    const int xi = RoundHalfUpTrunc(x);
    const int yi = RoundHalfUpTrunc(y);
    if (xi < m_bounds.left || xi > m_bounds.right || yi < m_bounds.top || yi > m_bounds.bottom)
        return FALSE;

    // Even-odd crossing test of the square's centre (xi + 0.5, yi + 0.5),
    // everything doubled so that it stays in exact integers. The centre
    // never shares a y with a vertex, so no vertex needs a tie rule.
    const std::int64_t px = 2 * static_cast<std::int64_t>(xi) + 1;
    const std::int64_t py = 2 * static_cast<std::int64_t>(yi) + 1;
    BOOL inside = FALSE;
    const size_t n = m_points.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++)
    {
        const std::int64_t ax = 2 * static_cast<std::int64_t>(m_points[j].x);
        const std::int64_t ay = 2 * static_cast<std::int64_t>(m_points[j].y);
        const std::int64_t bx = 2 * static_cast<std::int64_t>(m_points[i].x);
        const std::int64_t by = 2 * static_cast<std::int64_t>(m_points[i].y);
        if ((ay > py) == (by > py))
            continue;
        // Does the edge cross the horizontal line through the centre east of it?
        const std::int64_t t = (px - ax) * (by - ay) - (py - ay) * (bx - ax);
        if (by > ay ? t < 0 : t > 0)
            inside = !inside;
    }
    return inside;
}

void CTerrain::Draw(CDC* pDC, const CKDRGameMap* pMap, const CTerrainType* pType) const
{
    if (pDC == nullptr || pMap == nullptr || pType == nullptr)
        return;
    const CElevationMap* pElevation = pMap->GetElevationMap();
    const TerrainColourSet& set = pType->GetActiveColourSet();
    // A horizontal hatch without an outline is how a type is kept off the map.
    const BOOL hidden = set.fillStyle == kTerrainFillHorizontal && set.hideOutline;
    if (pElevation != nullptr && !hidden && !m_points.empty())
    {
        std::vector<CPoint> ring;
        ring.reserve(m_points.size() + 1);
        for (const CPoint& p : m_points)
        {
            int px = 0;
            int py = 0;
            int vx = 0;
            int vy = 0;
            pElevation->MapToPixel(static_cast<float>(p.x), static_cast<float>(p.y), &px, &py);
            pMap->PictureToView(px, py, &vx, &vy);
            ring.emplace_back(vx, vy);
        }
        ring.push_back(ring.front());

        // Only the rows of the view are scanned: at a high zoom a feature's
        // polygon reaches far beyond it.
        const CSize visible = pMap->GetVisibleViewSize();
        CRgn clipped;
        if (clipped.CreatePolygonRgnInRect(ring.data(), static_cast<int>(ring.size()), WINDING,
                                           CRect(0, 0, visible.cx, visible.cy)) &&
            !clipped.IsEmpty())
        {
            CBrush hollow;
            hollow.CreateStockObject(NULL_BRUSH);
            CBrush* pBrush = set.fillStyle != kUnset && pType->GetBrush() != nullptr ? pType->GetBrush() : &hollow;
            CBrush* pOldBrush = pDC->SelectObject(pBrush);
            CPen* pOldPen = nullptr;
            if (!set.hideOutline)
                pOldPen = pDC->SelectObject(pType->GetPen());
            pDC->SetBkMode(TRANSPARENT);
            if (set.fillStyle != kUnset)
                pDC->PaintRgn(&clipped);
            if (!set.hideOutline)
            {
                pDC->Polyline(ring.data(), static_cast<int>(ring.size()));
                pDC->SelectObject(pOldPen);
            }
            pDC->SelectObject(pOldBrush);
        }
    }
    m_breaches.Draw(pDC, pMap);
}
