// The help map's items on the map: each converts its map points to view
// pixels through the game map, borrows the back surface's device context
// from it and gives it back, and draws only where the view shows it.
#include "battlefield/AITerrain.h"

#include "battlefield/AITerrainArray.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "database/PieceArray.h"
#include "platform/core/Rounding.h"
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"

#include <vector>

namespace
{
// The marker drawn where a route first meets ground a vehicle cannot cross.
const char* const kBlockedMarkerPiece = "Blocked Path Green";

constexpr int kRouteWidth = 3;

// A map point as a view pixel: to the picture through the elevation map
// (when the map has one), then to the view through the picture.
CPoint ToView(const CKDRGameMap* pMap, float x, float y)
{
    int px = 0;
    int py = 0;
    if (const CElevationMap* pElevation = pMap->GetElevationMap())
        pElevation->MapToPixel(x, y, &px, &py);
    int vx = 0;
    int vy = 0;
    pMap->PictureToView(px, py, &vx, &vy);
    return CPoint(vx, vy);
}

// The visible part of the view in view pixels: whole picture pixels at the
// current zoom.
CRect VisibleRect(const CKDRGameMap* pMap)
{
    const CSize size = pMap->GetVisibleViewSize();
    const double zoom = pMap->GetZoom();
    return CRect(0, 0, RoundHalfUp(RoundHalfUp(size.cx / zoom) * zoom),
                 RoundHalfUp(RoundHalfUp(size.cy / zoom) * zoom));
}

// The part of the view an item's view points cover: one point its pixel,
// two the rectangle between them, more the polygon through them (winding
// fill). Answers whether it meets the visible rectangle; `part` holds the
// meeting.
BOOL MeetsView(const CKDRGameMap* pMap, const std::vector<CPoint>& points, CRgn& part)
{
    CRgn shape;
    BOOL bMade = FALSE;
    if (points.size() == 1)
    {
        bMade = shape.CreateRectRgn(points[0].x, points[0].y, points[0].x + 1, points[0].y + 1);
    }
    else if (points.size() == 2)
    {
        CRect box(points[0], points[1]);
        box.NormalizeRect();
        if (box.right == box.left)
            ++box.right;
        if (box.bottom == box.top)
            ++box.bottom;
        bMade = shape.CreateRectRgnIndirect(&box);
    }
    else if (points.size() > 2)
    {
        std::vector<CPoint> ring(points);
        ring.push_back(points.front());
        bMade = shape.CreatePolygonRgn(ring.data(), static_cast<int>(ring.size()), WINDING);
    }
    if (!bMade)
        return FALSE;
    const CRect visible = VisibleRect(pMap);
    CRgn view;
    if (!view.CreateRectRgnIndirect(&visible) || !part.CreateRectRgn(0, 0, 0, 0))
        return FALSE;
    const int kind = part.CombineRgn(&shape, &view, RGN_AND);
    return kind != RGN_ERROR && kind != NULLREGION;
}

// The map's help-map colour pens and brushes live only while one item draws.
void DrawPolyline(CDC* pDC, CPen* pPen, const std::vector<CPoint>& points)
{
    CPen* pOldPen = pDC->SelectObject(pPen);
    pDC->Polyline(points.data(), static_cast<int>(points.size()));
    pDC->SelectObject(pOldPen);
}

void DrawNested(const CAITerrainArray* pItems, CKDRGameMap* pMap)
{
    for (CObject* pObject : *pItems)
        if (const auto* pItem = static_cast<const CAITerrain*>(pObject))
            pItem->DrawOnMap(pMap);
}
}  // namespace

// ---------------------------------------------------------------------------
// Region

void CAITerrainRegion::Draw(COLORREF color, CKDRGameMap* pMap) const
{
    if (pMap == nullptr)
        return;
    if (!m_points.empty())
    {
        std::vector<CPoint> outline;
        outline.reserve(m_points.size());
        for (const CPoint& p : m_points)
            outline.push_back(ToView(pMap, static_cast<float>(p.x), static_cast<float>(p.y)));
        if (CDC* pDC = pMap->LendDC())
        {
            CPen pen(PS_SOLID, 1, color);
            DrawPolyline(pDC, &pen, outline);
            pMap->ReturnDC();
        }
    }
    DrawNested(m_pChildren, pMap);
}

void CAITerrainRegion::DrawOnMap(CKDRGameMap* pMap) const
{
    if (pMap == nullptr || m_points.empty())
        return;
    std::vector<CPoint> outline;
    outline.reserve(m_points.size() + 1);
    for (const CPoint& p : m_points)
        outline.push_back(ToView(pMap, static_cast<float>(p.x), static_cast<float>(p.y)));
    CRgn visiblePart;
    if (!MeetsView(pMap, outline, visiblePart))
        return;
    CDC* pDC = pMap->LendDC();
    if (pDC == nullptr)
        return;
    CBrush hatch(HS_DIAGCROSS, GetColor());
    CPen pen(PS_SOLID, 1, GetColor());
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->FillRgn(&visiblePart, &hatch);
    outline.push_back(outline.front());
    DrawPolyline(pDC, &pen, outline);
    pDC->SetBkMode(oldMode);
    pMap->ReturnDC();
    DrawNested(m_pChildren, pMap);
}

// ---------------------------------------------------------------------------
// Route

void CAITerrainRoute::DrawLine(CPen* pPen, CKDRGameMap* pMap, BOOL visibleOnly) const
{
    std::vector<CPoint> line;
    line.reserve(m_points.size());
    for (const AIRoutePoint& p : m_points)
        line.push_back(ToView(pMap, static_cast<float>(p.x), static_cast<float>(p.y)));
    if (line.empty())
        return;
    CRgn visiblePart;
    if (visibleOnly && !MeetsView(pMap, line, visiblePart))
        return;
    if (CDC* pDC = pMap->LendDC())
    {
        const int oldMode = pDC->SetBkMode(TRANSPARENT);
        DrawPolyline(pDC, pPen, line);
        pDC->SetBkMode(oldMode);
        pMap->ReturnDC();
    }
    DrawBlockedMarkers(pMap);
}

void CAITerrainRoute::Draw(COLORREF color, CKDRGameMap* pMap) const
{
    if (pMap == nullptr)
        return;
    CPen pen(PS_SOLID, kRouteWidth, color);
    DrawLine(&pen, pMap, FALSE);
}

void CAITerrainRoute::DrawOnMap(CKDRGameMap* pMap) const
{
    if (pMap == nullptr)
        return;
    CPen pen(PS_SOLID, kRouteWidth, GetColor());
    DrawLine(&pen, pMap, TRUE);
}

void CAITerrainRoute::DrawBlockedMarkers(CKDRGameMap* pMap) const
{
    const CElevationMap* pElevation = pMap->GetElevationMap();
    const CPieceArray* pCatalogue = pMap->GetSymbolCatalogue();
    CDisplay* pDisplay = pMap->GetDisplay();
    if (pElevation == nullptr || pCatalogue == nullptr || pDisplay == nullptr || m_points.size() < 2)
        return;
    // The marker is a member of the catalogue's path-marker sheet; a single
    // piece of that name serves as well.
    int frame = 0;
    const CPiece* pPiece = pCatalogue->FindListFrame(kBlockedMarkerPiece, 0, &frame);
    if (pPiece == nullptr)
    {
        pPiece = pCatalogue->GetPiece(pCatalogue->FindPiece(kBlockedMarkerPiece));
        frame = 0;
    }
    CFrameSurface* pSheet = pPiece != nullptr ? pPiece->GetSurface() : nullptr;
    if (pSheet == nullptr)
        return;
    // Magenta is transparent in every symbol sheet.
    if (!pSheet->HasColorKey())
        pSheet->SetColorKey(DDColorMatch(pSheet, SPRITE_COLOR_KEY));
    const CRect visible = VisibleRect(pMap);
    CSprite marker(pSheet);
    marker.SetFrame(frame);
    for (size_t i = 1; i < m_points.size(); ++i)
    {
        const AIRoutePoint& from = m_points[i - 1];
        const AIRoutePoint& to = m_points[i];
        int bx = 0;
        int by = 0;
        if (!pElevation->FindBlockedPoint(from.x, from.y, to.x, to.y, &bx, &by))
            continue;
        int px = 0;
        int py = 0;
        pElevation->MapToPixel(static_cast<float>(bx), static_cast<float>(by), &px, &py);
        marker.SetMapPosition(px, py, pMap->GetMapPicture());
        CRect where(marker.GetX(), marker.GetY(), marker.GetX() + marker.GetWidth(),
                    marker.GetY() + marker.GetHeight());
        CRect shown;
        if (shown.IntersectRect(where, visible))
            marker.Draw(pDisplay->GetBackSurface());
    }
}

// ---------------------------------------------------------------------------
// Support by fire

void CAITerrainSBF::Draw(COLORREF /*color*/, CKDRGameMap* pMap) const { DrawOnMap(pMap); }

void CAITerrainSBF::DrawOnMap(CKDRGameMap* pMap) const
{
    if (pMap == nullptr || m_positions.empty())
        return;
    std::vector<CPoint> points;
    points.reserve(m_positions.size());
    for (const AISBFPosition& p : m_positions)
        points.push_back(ToView(pMap, p.x, p.y));
    CRgn visiblePart;
    if (!MeetsView(pMap, points, visiblePart))
        return;
    CDC* pDC = pMap->LendDC();
    if (pDC == nullptr)
        return;
    CPen pen(PS_SOLID, 0, GetColor());
    CBrush solid(GetColor());
    CBrush hollow;
    hollow.CreateStockObject(HOLLOW_BRUSH);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&hollow);
    const COLORREF oldText = pDC->SetTextColor(GetColor());
    for (size_t i = 0; i < m_positions.size(); ++i)
        DrawPositionSymbols(pDC, points[i].x, points[i].y, m_positions[i].flags, &solid, &hollow);
    pDC->SetTextColor(oldText);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
    pDC->SetBkMode(oldMode);
    pMap->ReturnDC();
}

void CAITerrainSBF::DrawPositionSymbols(CDC* pDC, int x, int y, int flags, CBrush* pSolid, CBrush* pHollow)
{
    // The position bits that have a symbol, named by what they draw; what
    // each stands for is the map maker's business.
    constexpr int kEllipse = 0x1;
    constexpr int kDot = 0x2;
    constexpr int kChevron = 0x4;
    constexpr int kCross = 0x8;
    constexpr int kTextMI = 0x10;
    constexpr int kSlash = 0x20;
    constexpr int kArc = 0x40;
    constexpr int kBowTie = 0x80;
    constexpr int kHourGlass = 0x100;
    constexpr int kBox = 0x200;
    constexpr int kBracket = 0x400;
    constexpr int kTextCSS = 0x800;
    constexpr int kTextC2 = 0x1000;
    constexpr int kRing = 0x2000;

    auto lines = [pDC](std::initializer_list<CPoint> points)
    {
        auto it = points.begin();
        pDC->MoveTo(*it);
        for (++it; it != points.end(); ++it)
            pDC->LineTo(*it);
    };

    if (flags == 0)
    {
        lines({CPoint(x - 4, y), CPoint(x + 4, y)});
        lines({CPoint(x, y - 4), CPoint(x, y + 4)});
        return;
    }
    if (flags & kEllipse)
        pDC->Ellipse(x - 8, y - 6, x + 8, y + 6);
    if (flags & kDot)
    {
        pDC->SelectObject(pSolid);
        pDC->Ellipse(x - 4, y - 4, x + 4, y + 4);
        pDC->SelectObject(pHollow);
    }
    if (flags & kChevron)
        lines({CPoint(x - 4, y + 4), CPoint(x, y - 4), CPoint(x + 4, y + 4)});
    if (flags & kCross)
    {
        lines({CPoint(x - 4, y + 4), CPoint(x + 4, y - 4)});
        lines({CPoint(x + 4, y + 4), CPoint(x - 4, y - 4)});
    }
    if (flags & kTextMI)
        pDC->TextOut(x, y, "MI");
    if (flags & kSlash)
        lines({CPoint(x + 6, y - 4), CPoint(x - 6, y + 4)});
    if (flags & kArc)
        pDC->Arc(x - 20, y - 4, x + 20, y + 36, x + 8, y + 4, x - 8, y + 4);
    if (flags & kBowTie)
        lines({CPoint(x + 6, y - 6), CPoint(x - 6, y + 6), CPoint(x - 8, y), CPoint(x - 6, y - 6), CPoint(x + 6, y + 6),
               CPoint(x + 8, y), CPoint(x + 6, y - 6)});
    if (flags & kHourGlass)
        lines({CPoint(x + 8, y - 6), CPoint(x - 8, y + 6), CPoint(x - 8, y - 6), CPoint(x + 8, y + 6),
               CPoint(x + 8, y - 6)});
    if (flags & kBox)
        pDC->Rectangle(x - 4, y - 4, x + 4, y + 4);
    if (flags & kBracket)
    {
        lines({CPoint(x + 8, y + 4), CPoint(x + 8, y - 4), CPoint(x - 8, y - 4), CPoint(x - 8, y + 4)});
        lines({CPoint(x, y - 4), CPoint(x, y)});
    }
    if (flags & kTextCSS)
        pDC->TextOut(x, y, "CSS");
    if (flags & kTextC2)
        pDC->TextOut(x, y, "C2");
    if (flags & (kTextMI | kTextCSS | kTextC2 | kRing))
        pDC->Ellipse(x - 4, y - 4, x + 4, y + 4);
}
