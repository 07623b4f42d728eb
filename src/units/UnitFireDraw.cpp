// What a unit shows of its fire: its battery's mission marks and range
// circle, its field of fire and view fan, and lines to its contacts. The
// maximum range and the view range are kept in tens of metres, as every
// range of the fire controls and the vehicle list is; they are drawn in
// metres, so a 1,000 m range shows as 1,000 m and not as 100.
#include "units/Unit.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/FireMissionArray.h"
#include "battlefield/KDRGameMap.h"
#include "database/IFAmmo.h"
#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"
#include "platform/ui/GdiObject.h"
#include "units/KDRUnits.h"
#include "units/UCapIndirectFire.h"
#include "units/UCapKinds.h"
#include "units/UnitRefArray.h"

#include <cmath>

namespace
{
constexpr int kMilsPerCircle = 6400;
constexpr double kRadiansPerMil = 0.0009817477;
// Metres per stored range unit.
constexpr float kMetresPerRangeUnit = 10.0f;
// The view's pens of the fan: outline then inner, for the edges and then
// for the middle line.
constexpr int kFanOutlinePen = 12;
constexpr int kFanInnerPen = 14;
constexpr int kMiddleOutlinePen = 11;
constexpr int kMiddleInnerPen = 13;
constexpr int kContactPenWidth = 2;
const COLORREF kIdentifiedLine = RGB(255, 0, 0);
const COLORREF kUnidentifiedLine = RGB(255, 255, 0);

CUCapIndirectFire* BatteryOf(const CUnit& unit)
{
    return dynamic_cast<CUCapIndirectFire*>(unit.FindCapability(VCAP_INDIRECT_FIRE));
}

// A map point in view pixels; FALSE without an elevation map.
BOOL ToView(CKDRGameMap* pMap, float fX, float fY, CPoint& point)
{
    CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
    if (pElevation == nullptr)
        return FALSE;
    int px = 0;
    int py = 0;
    pElevation->MapToPixel(fX, fY, &px, &py);
    int vx = 0;
    int vy = 0;
    pMap->PictureToView(px, py, &vx, &vy);
    point = CPoint(vx, vy);
    return TRUE;
}

// The point r metres from (x, y) on a compass direction in mils.
CPoint PointOnBearing(CKDRGameMap* pMap, float x, float y, float r, int nMils)
{
    const double theta = nMils * kRadiansPerMil;
    CPoint point;
    ToView(pMap, static_cast<float>(x + r * std::sin(theta)), static_cast<float>(y + r * std::cos(theta)), point);
    return point;
}

// Compass mils (clockwise from north) as the map's sight sectors take them
// (counter-clockwise from east), in 0..6400.
int CompassToSector(int nMils)
{
    int nSector = (kMilsPerCircle / 4 - nMils) % kMilsPerCircle;
    if (nSector < 0)
        nSector += kMilsPerCircle;
    return nSector;
}

BOOL InView(const CPoint& point, const CSize& size)
{
    return (point.x >= 0 && point.x < size.cx) || (point.y >= 0 && point.y < size.cy);
}
}  // namespace

void CUnit::DrawFireMissionLinks(CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    CUCapIndirectFire* pBattery = BatteryOf(*this);
    if (m_bDestroyed || IsCarried() || pBattery == nullptr)
        return;
    pBattery->m_pMissions->DrawMissions(m_fX, m_fY, pMap, pDatabase);
}

void CUnit::DrawFireRangeCircle(int nMunitionType, CKDRDatabase* pDatabase, CKDRGameMap* pMap)
{
    const CUCapIndirectFire* pBattery = BatteryOf(*this);
    if (m_bDestroyed || IsCarried() || pBattery == nullptr || pDatabase == nullptr || !pDatabase->HasVehicleList())
        return;
    const CIFAmmo* pAmmo = pDatabase->GetIFAmmo(pBattery->GetMunitionOfType(nMunitionType, pDatabase));
    if (pAmmo != nullptr)
        DrawRangeCircles(0, pMap, pDatabase, pAmmo->m_nRange);
}

int CUnit::GetFanMiddle(int nFrom, int nTo)
{
    int nSpan = nTo - nFrom;
    if (nSpan < 0)
        nSpan += kMilsPerCircle;
    int nMiddle = nFrom + nSpan / 2;
    if (nMiddle > kMilsPerCircle)
        nMiddle -= kMilsPerCircle;
    return nMiddle;
}

float CUnit::GetFanRadius(CKDRDatabase* pDatabase) const
{
    if (m_bMaxRange)
        return m_nMaxRange * kMetresPerRangeUnit;
    const CVehicle* pVehicle = pDatabase != nullptr ? pDatabase->GetVehicle(m_nVehicle) : nullptr;
    return pVehicle != nullptr ? 2.0f * pVehicle->m_nViewRange * kMetresPerRangeUnit : 0.0f;
}

void CUnit::DrawFieldOfView(CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    DrawFieldOfView(pDatabase, pMap, TRUE, FALSE, TRUE);
}

void CUnit::DrawFieldOfView(CKDRDatabase* pDatabase, CKDRGameMap* pMap, BOOL bDrawFan, BOOL bRangeArcs,
                            BOOL bSightRays)
{
    CVehicle* pVehicle = pDatabase != nullptr ? pDatabase->GetVehicle(m_nVehicle) : nullptr;
    if (m_bDestroyed || IsCarried() || pMap == nullptr || pVehicle == nullptr)
        return;
    // An aircraft looks from its altitude (metres; the map takes tenths).
    int nEye = kUnset;
    if (const auto* pPlane = dynamic_cast<const CUCapFixedWing*>(FindCapability(VCAP_FIXED_WING)))
        nEye = pPlane->m_nAltitude * 10;
    else if (const auto* pHelicopter = dynamic_cast<const CUCapRotaryWing*>(FindCapability(VCAP_ROTARY_WING)))
        nEye = pHelicopter->m_nAltitude * 10;
    const int nFrom = m_bFieldOfFire ? m_nFieldOfFireFrom : kUnset;
    const int nTo = m_bFieldOfFire ? m_nFieldOfFireTo : kUnset;
    const int nRange = m_bMaxRange ? static_cast<int>(m_nMaxRange * kMetresPerRangeUnit) : kUnset;
    const int nViewRange = static_cast<int>(pVehicle->m_nViewRange * kMetresPerRangeUnit);

    if (bDrawFan && (nFrom != kUnset || nRange != kUnset))
        pMap->DrawSightCells(m_fX, m_fY, nViewRange, nEye, nFrom != kUnset ? CompassToSector(nFrom) : kUnset,
                             nTo != kUnset ? CompassToSector(nTo) : kUnset, nRange);
    else
        pMap->DrawSightRays(m_fX, m_fY, nViewRange, nEye);
    if (bRangeArcs)
        pVehicle->DrawRangeArcs(m_fX, m_fY, pDatabase, pMap);
    if (!bSightRays || (!m_bFieldOfFire && !m_bMaxRange))
        return;

    const float r = GetFanRadius(pDatabase);
    CPoint centre;
    if (!ToView(pMap, m_fX, m_fY, centre))
        return;
    CDC* pDC = pMap->LendDC();
    if (pDC == nullptr)
        return;
    const int nSaved = pDC->SaveDC();
    pDC->SelectStockObject(NULL_BRUSH);
    CPoint corner1;
    CPoint corner2;
    ToView(pMap, m_fX - r, m_fY + r, corner1);
    ToView(pMap, m_fX + r, m_fY - r, corner2);
    const CRect rcCircle(corner1.x, corner1.y, corner2.x, corner2.y);
    for (const int nPen : {kFanOutlinePen, kFanInnerPen})
    {
        if (CPen* pPen = pMap->GetNumberedPen(nPen))
            pDC->SelectObject(pPen);
        if (!m_bFieldOfFire)
        {
            pDC->Ellipse(&rcCircle);
            continue;
        }
        const CPoint start = PointOnBearing(pMap, m_fX, m_fY, r, m_nFieldOfFireFrom);
        const CPoint end = PointOnBearing(pMap, m_fX, m_fY, r, m_nFieldOfFireTo);
        if (m_bMaxRange)
            // The pie runs counter-clockwise on the screen: from the arc's
            // end back to its start covers it clockwise.
            pDC->Pie(rcCircle.left, rcCircle.top, rcCircle.right, rcCircle.bottom, end.x, end.y, start.x,
                     start.y);
        else
        {
            pDC->MoveTo(centre);
            pDC->LineTo(start);
            pDC->MoveTo(centre);
            pDC->LineTo(end);
        }
    }
    if (m_bFieldOfFire)
    {
        const CPoint middle = PointOnBearing(pMap, m_fX, m_fY, r, GetFanMiddle(m_nFieldOfFireFrom, m_nFieldOfFireTo));
        for (const int nPen : {kMiddleOutlinePen, kMiddleInnerPen})
        {
            if (CPen* pPen = pMap->GetNumberedPen(nPen))
                pDC->SelectObject(pPen);
            pDC->MoveTo(centre);
            pDC->LineTo(middle);
        }
    }
    pDC->RestoreDC(nSaved);
    pMap->ReturnDC();
}

void CUnit::DrawContactLines(CKDRUnits* pUnits, CKDRGameMap* pMap)
{
    if (m_bDestroyed || pUnits == nullptr || pMap == nullptr || m_pContacts->IsEmpty())
        return;
    CPoint from;
    if (!ToView(pMap, m_fX, m_fY, from))
        return;
    const CSize size = pMap->GetVisibleViewSize();
    if (!InView(from, size))
        return;
    CDC* pDC = pMap->LendDC();
    if (pDC == nullptr)
        return;
    const int nSaved = pDC->SaveDC();
    CPen red(PS_SOLID, kContactPenWidth, kIdentifiedLine);
    CPen yellow(PS_SOLID, kContactPenWidth, kUnidentifiedLine);
    for (int i = 0; i < m_pContacts->GetSize(); ++i)
    {
        const CUnitRef* pRef = m_pContacts->GetAt(i);
        const CUnit* pTarget = pRef != nullptr ? pUnits->GetUnit(pRef->m_nUnit, pRef->m_nArray, pRef->m_nSide) : nullptr;
        CPoint to;
        if (pTarget == nullptr || !ToView(pMap, pTarget->m_fX, pTarget->m_fY, to) || !InView(to, size))
            continue;
        pDC->SelectObject(pRef->m_bUnidentified ? &yellow : &red);
        pDC->MoveTo(from);
        pDC->LineTo(to);
    }
    pDC->RestoreDC(nSaved);
    pMap->ReturnDC();
}
