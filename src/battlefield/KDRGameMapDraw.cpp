// The game map's drawing: the picture with the terrain and the contour
// overlay, the grid lines, and the sight areas of observers and units.
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MapPicture.h"
#include "battlefield/TerrainArray.h"
#include "platform/core/Rounding.h"
#include "platform/ui/Display.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
constexpr double RAY_STEP_RADIANS = 0.174533;  // 10 degrees
constexpr double HALF_TURN = 3.14159;
constexpr double FULL_TURN = 6.283185;
constexpr double RADIANS_PER_MIL = 0.0009817478;
constexpr int FULL_CIRCLE_RAYS = 36;
// The obscuration of a feature taller than this counts at the observer and
// at a sample point.
constexpr int CONCEALING_HEIGHT = 2;
constexpr int GRID_SPACING = 100;
constexpr int LINES_PER_KM = 10;

double NextBearing(double bearing)
{
    bearing += RAY_STEP_RADIANS;
    if (bearing > HALF_TURN)
        bearing -= FULL_TURN;
    return bearing;
}
}  // namespace

void CKDRGameMap::DrawMap(CSurface* pSurface, int flags)
{
    if (pSurface == nullptr || m_pPicture == nullptr)
        return;
    if (m_pPicture->GetZoom() == 1.0f)
        m_pPicture->Draw(pSurface, FALSE);
    else
        m_pPicture->DrawScaled(pSurface, FALSE);

    if (const CElevationMap* pElevation = GetElevationMap())
    {
        if (CDC* pDC = LendDC())
        {
            pElevation->GetTerrain()->Draw(pDC, this);
            ReturnDC();
        }
    }

    if (m_nDisplayMode == kModeContourOverColor && m_pOverlaySurface != nullptr)
    {
        m_pPicture->SetTileSheet(m_pOverlaySurface);
        if (m_pPicture->GetZoom() == 1.0f)
            m_pPicture->Draw(pSurface, TRUE);
        else
            m_pPicture->DrawScaled(pSurface, TRUE);
        m_pPicture->SetTileSheet(m_pTileSurface);
    }

    if ((flags & kDrawGrid) != 0)
        DrawGrid();
}

void CKDRGameMap::DrawGrid()
{
    const CElevationMap* pElevation = GetElevationMap();
    if (pElevation == nullptr || m_pPicture == nullptr)
        return;
    CDC* pDC = LendDC();
    if (pDC == nullptr)
        return;
    const int displayWidth = m_pPicture->GetDisplayWidth();
    const int displayHeight = m_pPicture->GetDisplayHeight();
    const float width = static_cast<float>(pElevation->GetWidth());
    const float height = static_cast<float>(pElevation->GetHeight());
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    CPen* pOldPen = pDC->SelectObject(&m_pens[kPenGrid100]);

    // Every tenth line, counted from the map's 1000 m line index, is a
    // 1000 m line.
    int counter = pElevation->GetKmLineIndexX();
    const int columns = TruncToInt(width) / GRID_SPACING;
    for (int i = 0; i < columns; ++i)
    {
        const float x = static_cast<float>(i * GRID_SPACING) + pElevation->GetFirstLineOffsetX();
        int vx1 = 0, vy1 = 0, vx2 = 0, vy2 = 0;
        MapToView(x, 1.0f, &vx1, &vy1);
        MapToView(x, height, &vx2, &vy2);
        if (vx1 >= 1 && vx1 <= displayWidth - 1)
        {
            pDC->SelectObject(&m_pens[counter == 0 ? kPenGrid1000 : kPenGrid100]);
            pDC->MoveTo(vx1, 0);
            pDC->LineTo(vx2, displayHeight);
        }
        if (--counter < 0)
            counter = LINES_PER_KM - 1;
    }

    counter = pElevation->GetKmLineIndexY();
    const int rows = TruncToInt(height) / GRID_SPACING;
    for (int i = 0; i < rows; ++i)
    {
        const float y = static_cast<float>(i * GRID_SPACING) + pElevation->GetFirstLineOffsetY();
        int vx1 = 0, vy1 = 0, vx2 = 0, vy2 = 0;
        MapToView(1.0f, y, &vx1, &vy1);
        MapToView(width, y, &vx2, &vy2);
        if (vy1 >= 1 && vy1 <= displayHeight - 1)
        {
            pDC->SelectObject(&m_pens[counter == 0 ? kPenGrid1000 : kPenGrid100]);
            pDC->MoveTo(0, vy1);
            pDC->LineTo(displayWidth, vy2);
        }
        if (--counter < 0)
            counter = LINES_PER_KM - 1;
    }

    pDC->SelectObject(pOldPen);
    pDC->SetBkMode(oldMode);
    ReturnDC();
}

void CKDRGameMap::DrawSightRays(float x, float y, int range, int eye)
{
    DrawSightArea(x, y, range, eye, 2.0f * static_cast<float>(range), 0.0, FULL_CIRCLE_RAYS);
}

void CKDRGameMap::DrawSightCells(float x, float y, int range, int eye, int arcEnd, int arcStart, int rayLength)
{
    const float length = rayLength == kUnset ? 2.0f * static_cast<float>(range) : static_cast<float>(rayLength);
    if (arcEnd == kUnset)
    {
        DrawSightArea(x, y, range, eye, length, 0.0, FULL_CIRCLE_RAYS);
        return;
    }
    const int width = arcStart < arcEnd ? arcEnd - arcStart : 6400 - arcStart + arcEnd;
    const int rays = TruncToInt(width * 0.05625 * 0.1);
    int firstMils = 1600 - arcEnd;
    while (firstMils > 3200)
        firstMils -= 6400;
    while (firstMils < -3200)
        firstMils += 6400;
    DrawSightArea(x, y, range, eye, length, firstMils * RADIANS_PER_MIL, rays);
}

void CKDRGameMap::DrawSightArea(float x, float y, int range, int eye, float rayLength, double firstBearing,
                                int rayCount)
{
    const CElevationMap* pElevation = GetElevationMap();
    if (pElevation == nullptr || m_pPicture == nullptr)
        return;
    const int displayWidth = m_pPicture->GetDisplayWidth();
    const int displayHeight = m_pPicture->GetDisplayHeight();

    // Nothing is drawn for an area that lies wholly off the view.
    const float reach = 2.0f * static_cast<float>(range);
    CRect area;
    MapToView(x - reach, y + reach, &area.left, &area.top);
    MapToView(x + reach, y - reach, &area.right, &area.bottom);
    area.NormalizeRect();
    CRect visible(0, 0, displayWidth, displayHeight);
    if (area.right < visible.left || area.left > visible.right || area.bottom < visible.top ||
        area.top > visible.bottom)
        return;

    CDC* pDC = LendDC();
    if (pDC == nullptr)
        return;
    CGdiObject* pOldBrush = pDC->SelectStockObject(NULL_BRUSH);
    CRect circle;
    MapToView(x - static_cast<float>(range), y + static_cast<float>(range), &circle.left, &circle.top);
    MapToView(x + static_cast<float>(range), y - static_cast<float>(range), &circle.right, &circle.bottom);
    CPen* pOldPen = pDC->SelectObject(pElevation->GetPen(CElevationMap::kPenRangeOuter));
    pDC->Ellipse(&circle);
    pDC->SelectObject(pElevation->GetPen(CElevationMap::kPenRangeMiddle));
    pDC->Ellipse(&circle);
    pDC->SelectObject(pElevation->GetPen(CElevationMap::kPenRangeInner));
    pDC->Ellipse(&circle);
    pDC->SelectObject(pElevation->GetPen(CElevationMap::kPenRays));

    CTerrainArray* pTerrain = pElevation->GetTerrain();
    float length = rayLength;
    double eyeLevel = eye;
    if (eye == kUnset)
    {
        eyeLevel = pElevation->GetElevation(x, y);
        if (pTerrain->GetFeatureHeightAt(x, y) > CONCEALING_HEIGHT)
        {
            const float f = pTerrain->GetObscurationAt(x, y);
            length *= (1.0f - f) * 0.5f + f;
        }
    }
    const int steps = std::max(0, TruncToInt(length * 0.1));
    std::vector<float> featureAngle(static_cast<size_t>(steps), kUnsetFloat);
    std::vector<float> featureObscuration(static_cast<size_t>(steps), 1.0f);
    const double width = pElevation->GetWidth();
    const double height = pElevation->GetHeight();

    int ox = 0, oy = 0;
    MapToView(x, y, &ox, &oy);
    double bearing = firstBearing;
    if (bearing > HALF_TURN)
        bearing -= FULL_TURN;
    for (int ray = 0; ray < rayCount; ++ray, bearing = NextBearing(bearing))
    {
        pDC->MoveTo(ox, oy);
        double horizon = kUnsetFloat;
        bool horizonSet = false;
        const double sinB = std::sin(bearing);
        const double cosB = std::cos(bearing);
        for (int j = 1; j < steps; ++j)
        {
            const double r = 10.0 * j;
            const double sx = (sinB * r * 10.0 + 10.0 * x) * 0.1;
            const double sy = (cosB * r * 10.0 + 10.0 * y) * 0.1;
            if (sx < 0.0 || sy < 0.0 || sx > width || sy > height)
                break;
            const float fx = static_cast<float>(sx);
            const float fy = static_cast<float>(sy);
            const double e = pElevation->GetElevation(fx, fy);
            const double a = std::atan2(e - eyeLevel - 1.0, 10.0 * r);
            bool visible = !horizonSet || a >= horizon;
            if (visible)
            {
                horizon = a;
                horizonSet = true;
            }
            const int t = pTerrain->GetFeatureHeightAt(fx, fy);
            const float f = t != 0 ? pTerrain->GetObscurationAt(fx, fy) : 1.0f;
            if (t != 0)
            {
                featureAngle[static_cast<size_t>(j)] = static_cast<float>(std::atan2(e - eyeLevel - 1.0 + t, 10.0 * r));
                featureObscuration[static_cast<size_t>(j)] = f;
            }
            else
            {
                featureAngle[static_cast<size_t>(j)] = kUnsetFloat;
                featureObscuration[static_cast<size_t>(j)] = 1.0f;
            }
            if (visible)
            {
                // Woods in front thin the view: the sample counts as seen
                // only while its distance, stretched by the cover it is seen
                // through, stays within the full ray length.
                double product = 1.0;
                for (int k = 1; k < j; ++k)
                {
                    if (featureAngle[static_cast<size_t>(k)] != kUnsetFloat && featureAngle[static_cast<size_t>(k)] > a)
                        product *= featureObscuration[static_cast<size_t>(k)];
                }
                if (t > CONCEALING_HEIGHT)
                    product *= (1.0 - f) * 0.5 + f;
                if (product <= 0.0 || r / product > rayLength)
                    visible = false;
            }
            int vx = 0, vy = 0;
            MapToView(fx, fy, &vx, &vy);
            if (visible)
                pDC->LineTo(vx, vy);
            else
                pDC->MoveTo(vx, vy);
        }
    }

    pDC->SelectObject(pOldPen);
    pDC->SelectObject(dynamic_cast<CBrush*>(pOldBrush));
    ReturnDC();
}

void CKDRGameMap::EllipseToBezier(const CRect* pRect, CPoint points[13])
{
    if (pRect == nullptr || points == nullptr)
        return;
    const int l = pRect->left;
    const int t = pRect->top;
    const int r = pRect->right;
    const int b = pRect->bottom;
    // Half of 0.5522847498, the Bezier approximation of a quarter circle.
    const int ox = TruncToInt((r - l) * 0.2761423749154);
    const int oy = TruncToInt((b - t) * 0.2761423749154);
    const int cx = (l + r) / 2;
    const int cy = (t + b) / 2;
    const CPoint result[13] = {CPoint(l, cy),      CPoint(l, cy - oy), CPoint(cx - ox, t), CPoint(cx, t),
                               CPoint(cx + ox, t), CPoint(r, cy - oy), CPoint(r, cy),      CPoint(r, cy + oy),
                               CPoint(cx + ox, b), CPoint(cx, b),      CPoint(cx - ox, b), CPoint(l, cy + oy),
                               CPoint(l, cy)};
    for (int i = 0; i < 13; ++i)
        points[i] = result[i];
}
