// The kinds that change how a vehicle stands on or works through the
// ground: digging in and out, the plough that breaches on the move, and the
// engineer that breaches standing still.
//
// The unit's move step decides when a unit meets an obstacle and hands the
// capability the obstacle and its lane (UnitObstacles.cpp); the lanes
// themselves belong to the obstacle or terrain region. A turn off the lane
// is measured after folding the difference into -pi..pi, so a lane driven
// due south, where the heading flips between +pi and -pi, is not cancelled
// by the flip. The breach records to the other player keep their least
// form: nothing is sent.

#include "units/UCapKinds.h"

#include "battlefield/Breach.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/Obstacle.h"
#include "battlefield/Terrain.h"
#include "battlefield/TerrainArray.h"
#include "database/KDRDatabase.h"
#include "database/VCapKinds.h"
#include "database/Vehicle.h"
#include "platform/ui/Command.h"
#include "platform/ui/Display.h"
#include "shell/MissionService.h"
#include "shell/SoundService.h"
#include "units/Unit.h"
#include "units/UnitMoveSupport.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{
const char* const BREACHER_MARKER = "Breaching Grey";
// A turn farther off the lane's direction than this ends a breach.
constexpr double kMaxTurnOffLane = 0.7853982;
// The lane starts this far behind the vehicle and reaches this far ahead.
constexpr float kLaneBehind = 4.0f;
constexpr float kLaneAhead = 4.0f;
// A ploughing vehicle aims this far ahead along the lane.
constexpr float kBreachGoalAhead = 5.0f;
// The engineer's goal lies this far beyond its lane's length.
constexpr float kBeyondLane = 1.0f;
constexpr int kMilsInCircle = 6400;

template <class T> T* VehicleCap(CKDRDatabase* pDatabase, int nVehicle, DWORD dwType)
{
    CVehicle* pVehicle = pDatabase != nullptr ? pDatabase->GetVehicle(nVehicle) : nullptr;
    return pVehicle != nullptr ? dynamic_cast<T*>(pVehicle->FindCapability(dwType)) : nullptr;
}

// A bearing in radians as whole mils, 0 .. 6399.
float ToMils(double dRadians)
{
    long nMils = std::lround(dRadians * kMilsInCircle / (2.0 * std::numbers::pi));
    nMils %= kMilsInCircle;
    if (nMils < 0)
        nMils += kMilsInCircle;
    return static_cast<float>(nMils);
}

// The difference of two headings folded into -pi .. pi.
double FoldAngle(double dAngle) { return std::remainder(dAngle, 2.0 * std::numbers::pi); }

// The obstacle-type bits of what is breached; a terrain region answers to
// every kit.
int TargetTypeMask(const BreachTarget& target)
{
    if (target.IsTerrain())
        return ~0;
    const auto* pObstacle = dynamic_cast<const CObstacle*>(target.pObstacle);
    return pObstacle != nullptr ? pObstacle->GetObstacleType() : 0;
}

// The lane's far end at the point, its direction recomputed from its ends
// and its width raised to the kit's.
void StretchLane(CBreach& lane, float x2, float y2, float fWidth)
{
    lane.m_fX2 = x2;
    lane.m_fY2 = y2;
    lane.m_fDirection = ToMils(std::atan2(lane.m_fX2 - lane.m_fX1, lane.m_fY2 - lane.m_fY1));
    lane.m_fWidth = std::max(lane.m_fWidth, fWidth);
}

// A new lane starting kLaneBehind behind the point along the direction;
// its index in the list.
int AddLane(CBreachArray& lanes, float x, float y, double dDirection, float fWidth)
{
    const auto x1 = static_cast<float>(x - kLaneBehind * std::sin(dDirection));
    const auto y1 = static_cast<float>(y - kLaneBehind * std::cos(dDirection));
    return lanes.Add(new CBreach(x1, y1, 0.0f, 0.0f, fWidth, ToMils(dDirection), FALSE));
}

// Whether the point still lies in what is breached.
BOOL InsideTarget(const BreachTarget& target, float x, float y)
{
    if (const auto* pObstacle = dynamic_cast<const CObstacle*>(target.pObstacle))
        return pObstacle->ContainsInRectangle(x, y);
    if (const auto* pRegion = dynamic_cast<const CTerrain*>(target.pObstacle))
        return pRegion->ContainsPoint(x, y);
    return FALSE;
}
}  // namespace

// ---------------------------------------------------------------------------
// Emplace

void CUCapEmplace::Clear()
{
    m_bEmplaced = FALSE;
    m_nEmplaceLeft = 0;
    m_bEmplacing = FALSE;
    m_nDisplaceLeft = 0;
    m_bDisplacing = FALSE;
}

void CUCapEmplace::StartTransition(const CVCapEmplace* pVehicleCap, BOOL bToEmplace)
{
    if (pVehicleCap == nullptr)
        return;
    if (bToEmplace)
    {
        if (m_bDoNotEmplace)
            return;
        m_bDisplacing = FALSE;
        m_nDisplaceLeft = 0;
        m_bEmplacing = TRUE;
        m_nEmplaceLeft = pVehicleCap->m_nTimeToEmplace;
    }
    else
    {
        m_bEmplaced = FALSE;
        m_bEmplacing = FALSE;
        m_nEmplaceLeft = 0;
        m_bDisplacing = TRUE;
        m_nDisplaceLeft = pVehicleCap->m_nTimeToDisplace;
    }
}

void CUCapEmplace::SetEmplaced(BOOL bEmplaced)
{
    if (bEmplaced && m_bDoNotEmplace)
        return;
    Clear();
    m_bEmplaced = bEmplaced;
}

DWORD CUCapEmplace::Update(int, int nElapsed, CTimeSpan, CKDRGameMap*, CKDRDatabase*, int, int, CUnit*, int, int, int)
{
    const int dt = std::max(0, nElapsed);
    if (m_bEmplacing && !m_bDoNotEmplace)
    {
        m_nEmplaceLeft = std::max(0, m_nEmplaceLeft - dt);
        if (m_nEmplaceLeft == 0)
        {
            Clear();
            m_bEmplaced = TRUE;
        }
    }
    if (m_bDisplacing)
    {
        m_bEmplaced = FALSE;
        m_nDisplaceLeft = std::max(0, m_nDisplaceLeft - dt);
        if (m_nDisplaceLeft == 0)
            Clear();
    }
    return 0;
}

void CUCapEmplace::OnStop(CKDRDatabase* pDatabase, int nVehicle)
{
    const auto* pKit = VehicleCap<CVCapEmplace>(pDatabase, nVehicle, VCAP_EMPLACE);
    if (pKit == nullptr || m_bEmplaced)
        return;
    if (unit_move::IsDeployment())
        SetEmplaced(TRUE);
    else
        StartTransition(pKit, TRUE);
}

void CUCapEmplace::OnMove(CKDRDatabase* pDatabase, int nVehicle)
{
    const auto* pKit = VehicleCap<CVCapEmplace>(pDatabase, nVehicle, VCAP_EMPLACE);
    if (pKit == nullptr)
        return;
    if (unit_move::IsDeployment() || !m_bEmplaced)
        Clear();
    else
        StartTransition(pKit, FALSE);
}

void CUCapEmplace::ResetForDeployment(int, CKDRDatabase*, CUnit* pUnit)
{
    SetEmplaced(pUnit != nullptr && pUnit->IsStoppedAtStopNode() && !m_bDoNotEmplace);
}

void CUCapEmplace::AddMenuItems(CMenu* pMenu)
{
    CMenu* pPopup = pMenu != nullptr ? pMenu->GetSubMenu(UNIT_MENU_POPUP) : nullptr;
    if (pPopup == nullptr)
        return;
    CMenu* pSOP = pPopup->GetSubMenu(UNIT_MENU_SOP);
    CMenu* pTarget = pSOP != nullptr ? pSOP : pPopup->GetSubMenu(UNIT_MENU_ACTIONS);
    if (pTarget != nullptr)
        pTarget->AppendMenu(MF_STRING, ID_UNIT_DO_NOT_EMPLACE, "D&o Not Emplace");
}

void CUCapEmplace::Reset(float, int, int)
{
    Clear();
    m_bDoNotEmplace = FALSE;
    m_bEmplaced = TRUE;
}

// ---------------------------------------------------------------------------
// Breacher

CUCapBreacher::CUCapBreacher() : CUCapMarked(BREACHER_MARKER) {}

int CUCapBreacher::CancelBreach()
{
    m_nLane = kUnset;
    m_nObstacle = kUnset;
    m_nObstacleSide = kUnset;
    m_fBreachDirection = 0.0f;
    m_bBreaching = FALSE;
    return 0;
}

int CUCapBreacher::TakeOverLane(float& x, float& y, float& fPrevX, float& fPrevY, CKDRGameMap*,
                                CVehicleCapability* pVehicleCap, const BreachTarget& target, double dt,
                                float fBearingHint)
{
    const auto* pKit = dynamic_cast<const CVCapBreacher*>(pVehicleCap);
    if (pKit == nullptr || target.pObstacle == nullptr || target.pLanes == nullptr ||
        (pKit->m_nObstacleTypes & TargetTypeMask(target)) == 0)
        return 0;
    const double dDirection = std::atan2(x - fPrevX, y - fPrevY);
    const auto fWidth = static_cast<float>(pKit->m_nBreachWidth);
    int nLane = target.nLane;
    if (nLane < 0 || nLane >= target.pLanes->GetSize() || fBearingHint < 0.0f)
        nLane = AddLane(*target.pLanes, fPrevX, fPrevY, dDirection, fWidth);
    m_nLane = nLane;
    m_nObstacle = target.nObstacle;
    m_nObstacleSide = target.nSide;
    m_fBreachDirection = static_cast<float>(dDirection);
    m_bBreaching = TRUE;

    const double s = std::sin(dDirection);
    const double c = std::cos(dDirection);
    x = static_cast<float>(fPrevX + kBreachGoalAhead * s);
    y = static_cast<float>(fPrevY + kBreachGoalAhead * c);
    const double dStep = pKit->m_fBreachSpeed * dt * 0.1;
    fPrevX = static_cast<float>(fPrevX + s * dStep);
    fPrevY = static_cast<float>(fPrevY + c * dStep);
    if (CBreach* pLane = target.pLanes->GetAt(nLane))
        StretchLane(*pLane, static_cast<float>(fPrevX + kLaneAhead * s), static_cast<float>(fPrevY + kLaneAhead * c),
                    fWidth);
    return 1;
}

int CUCapBreacher::StartBreach(float& x, float& y, float& fPrevX, float& fPrevY, CKDRGameMap* pMap,
                               CVehicleCapability* pVehicleCap, const BreachTarget& target, double dt,
                               float fBearingHint)
{
    return TakeOverLane(x, y, fPrevX, fPrevY, pMap, pVehicleCap, target, dt, fBearingHint);
}

int CUCapBreacher::ContinueBreach(float& x, float& y, float& fPrevX, float& fPrevY, CKDRGameMap* pMap,
                                  CVehicleCapability* pVehicleCap, const BreachTarget& target, double dt,
                                  float fBearingHint)
{
    return TakeOverLane(x, y, fPrevX, fPrevY, pMap, pVehicleCap, target, dt, fBearingHint);
}

int CUCapBreacher::MoveAlongLane(float& fGoalX, float& fGoalY, float& x, float& y, CKDRGameMap*,
                                 CVehicleCapability* pVehicleCap, const BreachTarget& target, double dt, BOOL,
                                 float& fSpeed)
{
    const auto* pKit = dynamic_cast<const CVCapBreacher*>(pVehicleCap);
    if (pKit == nullptr || target.pObstacle == nullptr)
        return 0;
    const double s = std::sin(m_fBreachDirection);
    const double c = std::cos(m_fBreachDirection);
    fGoalX = static_cast<float>(x + kBreachGoalAhead * s);
    fGoalY = static_cast<float>(y + kBreachGoalAhead * c);
    const double dStep = pKit->m_fBreachSpeed * dt * 0.1;
    x = static_cast<float>(x + s * dStep);
    y = static_cast<float>(y + c * dStep);
    fSpeed = pKit->m_fBreachSpeed;
    CBreach* pLane = target.pLanes != nullptr && m_nLane >= 0 && m_nLane < target.pLanes->GetSize()
                         ? target.pLanes->GetAt(m_nLane)
                         : nullptr;
    if (pLane != nullptr)
        StretchLane(*pLane, static_cast<float>(x + kLaneAhead * s), static_cast<float>(y + kLaneAhead * c),
                    static_cast<float>(pKit->m_nBreachWidth));
    // The target's own class tells an obstacle from a terrain region.
    if (!InsideTarget(target, x, y))
        CancelBreach();
    return 1;
}

BOOL CUCapBreacher::OnPathAssigned(float, float, CKDRDatabase*, CKDRGameMap*, int)
{
    CancelBreach();
    return TRUE;
}

void CUCapBreacher::OnStop(CKDRDatabase*, int) { CancelBreach(); }

void CUCapBreacher::Reset(float, int, int) { CancelBreach(); }

void CUCapBreacher::OnHeadingChanged(CVehicle*, float fHeading, CKDRDatabase*, int, int)
{
    if (m_bBreaching && std::fabs(FoldAngle(static_cast<double>(fHeading) - m_fBreachDirection)) > kMaxTurnOffLane)
        CancelBreach();
}

CObject* CUCapBreacher::GetBreachTarget(CKDRObstacles* pObstacles)
{
    if (!m_bBreaching || m_nObstacleSide == BREACH_SIDE_TERRAIN)
        return nullptr;
    CObstacle* pObstacle = pObstacles != nullptr ? pObstacles->GetObstacle(m_nObstacle, m_nObstacleSide) : nullptr;
    if (pObstacle == nullptr || m_nLane < 0 || m_nLane >= pObstacle->m_lanes.GetSize())
    {
        CancelBreach();
        return nullptr;
    }
    return pObstacle;
}

void CUCapBreacher::OnObstacleDeleted(int nSide, int nIndex)
{
    if (!m_bBreaching || nSide != m_nObstacleSide || m_nObstacleSide == BREACH_SIDE_TERRAIN)
        return;
    if (nIndex == m_nObstacle)
        CancelBreach();
    else if (nIndex < m_nObstacle)
        --m_nObstacle;
}

void CUCapBreacher::UpdateSprite(int, CKDRDatabase*, CKDRGameMap* pMap, float x, float y, float, float fZoom)
{
    PlaceMarker(pMap, x, y, fZoom);
}

BOOL CUCapBreacher::HitTest(int x, int y) { return m_bBreaching && m_pMarker != nullptr && m_pMarker->HitTest(x, y); }

void CUCapBreacher::Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fScale,
                         BOOL bVisible, BOOL, float fHeading)
{
    if (!bVisible || !m_bBreaching || !m_bMarkerLoaded)
        return;
    UpdateSprite(nVehicle, pDatabase, pMap, x, y, fHeading, fScale);
    BlitMarker(pMap);
}

// ---------------------------------------------------------------------------
// Engineer

CUCapEngineer::CUCapEngineer(const CVCapEngineer* pVehicleCap)
{
    if (pVehicleCap != nullptr)
        m_nBreachesLeft = pVehicleCap->m_nNumberOfBreaches;
}

int CUCapEngineer::CancelBreach()
{
    CUCapBreacher::CancelBreach();
    m_bWholeObstacle = FALSE;
    m_nBreachLeft = 0;
    return 0;
}

int CUCapEngineer::StartBreach(float& x, float& y, float& fPrevX, float& fPrevY, CKDRGameMap*,
                               CVehicleCapability* pVehicleCap, const BreachTarget& target, double,
                               float fBearingHint)
{
    CancelBreach();
    const auto* pKit = dynamic_cast<const CVCapEngineer*>(pVehicleCap);
    if (pKit == nullptr || target.pObstacle == nullptr || target.pLanes == nullptr ||
        (pKit->m_nObstacleTypes & TargetTypeMask(target)) == 0 || m_nBreachesLeft <= 0)
        return 0;
    const double dDirection = std::atan2(x - fPrevX, y - fPrevY);
    const BOOL bLane = target.nLane >= 0 && target.nLane < target.pLanes->GetSize() && fBearingHint >= 0.0f;
    m_nLane = bLane ? target.nLane : kUnset;
    m_bWholeObstacle = !bLane;
    m_nObstacle = target.nObstacle;
    m_nObstacleSide = target.nSide;
    m_fBreachDirection = static_cast<float>(dDirection);
    m_bBreaching = TRUE;
    m_nBreachLeft = pKit->m_nTimeToBreach;
    const double dAhead = pKit->m_nBreachLength + kBeyondLane;
    x = static_cast<float>(fPrevX + dAhead * std::sin(dDirection));
    y = static_cast<float>(fPrevY + dAhead * std::cos(dDirection));
    return 1;
}

int CUCapEngineer::ContinueBreach(float& x, float& y, float& fPrevX, float& fPrevY, CKDRGameMap* pMap,
                                  CVehicleCapability* pVehicleCap, const BreachTarget& target, double dt,
                                  float fBearingHint)
{
    return StartBreach(x, y, fPrevX, fPrevY, pMap, pVehicleCap, target, dt, fBearingHint);
}

int CUCapEngineer::MoveAlongLane(float&, float&, float&, float&, CKDRGameMap*, CVehicleCapability*,
                                 const BreachTarget&, double, BOOL, float& fSpeed)
{
    fSpeed = 0.0f;
    return 1;
}

DWORD CUCapEngineer::Update(int nVehicle, int nElapsed, CTimeSpan, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                            int, int, CUnit* pUnit, int, int, int)
{
    if (!m_bBreaching || nElapsed <= 0)
        return 0;
    // The obstacle breached: the mission's, or a region of the map's terrain.
    BreachTarget target;
    target.nObstacle = m_nObstacle;
    target.nSide = m_nObstacleSide;
    CMissionService* pMission = GetMissionService();
    CKDRObstacles* pObstacles = pMission != nullptr ? pMission->GetMissionObstacles() : nullptr;
    CObstacle* pObstacle = nullptr;
    if (target.IsTerrain())
    {
        CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
        CTerrainArray* pTerrain = pElevation != nullptr ? pElevation->GetTerrain() : nullptr;
        CTerrain* pRegion = pTerrain != nullptr && m_nObstacle >= 0 && m_nObstacle < pTerrain->GetFeatureCount()
                                ? pTerrain->GetFeature(m_nObstacle)
                                : nullptr;
        target.pObstacle = pRegion;
        target.pLanes = pRegion != nullptr ? &pRegion->GetBreaches() : nullptr;
    }
    else if (pObstacles != nullptr)
    {
        pObstacle = pObstacles->GetObstacle(m_nObstacle, m_nObstacleSide);
        target.pObstacle = pObstacle;
        target.pLanes = pObstacle != nullptr ? &pObstacle->m_lanes : nullptr;
    }
    const auto* pKit = VehicleCap<CVCapEngineer>(pDatabase, nVehicle, VCAP_ENGINEER);
    if (pMap == nullptr || target.pLanes == nullptr || pKit == nullptr || pUnit == nullptr)
    {
        CancelBreach();
        return 0;
    }
    m_nBreachLeft = std::max(0, m_nBreachLeft - nElapsed);
    if (m_nBreachLeft > 0)
        return 0;

    const double s = std::sin(m_fBreachDirection);
    const double c = std::cos(m_fBreachDirection);
    const auto fWidth = static_cast<float>(pKit->m_nBreachWidth);
    if (m_bWholeObstacle || m_nLane < 0 || m_nLane >= target.pLanes->GetSize())
    {
        m_nLane = AddLane(*target.pLanes, pUnit->m_fX, pUnit->m_fY, m_fBreachDirection, fWidth);
        m_bWholeObstacle = FALSE;
    }
    if (CBreach* pLane = target.pLanes->GetAt(m_nLane))
        StretchLane(*pLane, static_cast<float>(pUnit->m_fX + pKit->m_nBreachLength * s),
                    static_cast<float>(pUnit->m_fY + pKit->m_nBreachLength * c), fWidth);
    if (pObstacle != nullptr)
        pObstacle->DrawOnMapSurface(pMap, pObstacle->m_bHighlight);
    if (CNodeArray* pPath = pUnit->m_pPath; pPath != nullptr && pPath->GetSize() > 1 && pPath->GetAt(1) != nullptr)
    {
        const double dAhead = pKit->m_nBreachLength + kBeyondLane;
        pPath->GetAt(1)->m_fX = static_cast<float>(pUnit->m_fX + dAhead * s);
        pPath->GetAt(1)->m_fY = static_cast<float>(pUnit->m_fY + dAhead * c);
    }
    --m_nBreachesLeft;
    if (CSoundService* pSound = GetSoundService())
        pSound->PlayVehicleSound(pKit->m_strBreachSound);
    return UCAP_EVENT_BREACH_DONE;
}

void CUCapEngineer::OnMove(CKDRDatabase*, int) { CancelBreach(); }

void CUCapEngineer::OnStop(CKDRDatabase*, int) {}

void CUCapEngineer::Reset(float, int, int) { CancelBreach(); }

CObject* CUCapEngineer::GetBreachTarget(CKDRObstacles* pObstacles)
{
    if (!m_bBreaching || m_nObstacleSide == BREACH_SIDE_TERRAIN)
        return nullptr;
    if (!m_bWholeObstacle)
        return CUCapBreacher::GetBreachTarget(pObstacles);
    CObstacle* pObstacle = pObstacles != nullptr ? pObstacles->GetObstacle(m_nObstacle, m_nObstacleSide) : nullptr;
    if (pObstacle == nullptr)
        CancelBreach();
    return pObstacle;
}

void CUCapEngineer::GetStatusText(CString& strText) const
{
    strText.Empty();
    if (m_bBreaching)
    {
        strText = "- Breaching\r\n";
        if (m_nBreachLeft > 0)
        {
            CString strTime;
            strTime.Format("- Time to breach: %d s\r\n", m_nBreachLeft);
            strText += strTime;
        }
    }
    else if (m_nBreachesLeft <= 0)
    {
        strText = "- Cannot breach.  No breaches remaining\r\n";
    }
}
