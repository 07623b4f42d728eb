// What the move step does when a ground unit runs into an obstacle (a mine
// field, wire, a ditch or a crater of the obstacles component, or an
// obstacle region of the terrain): a unit that can breach is led into a
// lane and its capability takes it through; any other unit rolls against a
// mine field's density, and when stopped halts, marks the enemy obstacle it
// found and, when allowed, takes a 70 m detour. Chemical exposure lives
// here too: it is the other thing the ground does to a unit that moves.
//
// Two rules of our own. A leg whose every sample inside the obstacle lies
// in one of its lanes is free: a lane exists to be driven, and without the
// rule every unit would roll against the density again in a finished lane
// and an engineer would breach its own lane over and over. And the
// direction a breach is driven in is the bearing of the unit's last step,
// or its heading when it has not stepped yet in this pass (the move step
// sets the previous position to the present one before it looks ahead).

#include "units/Unit.h"

#include "battlefield/Breach.h"
#include "battlefield/Contact.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/Obstacle.h"
#include "battlefield/Terrain.h"
#include "battlefield/TerrainArray.h"
#include "database/KDRDatabase.h"
#include "database/VCapKinds.h"
#include "database/Vehicle.h"
#include "orders/NodeArray.h"
#include "orders/NodeOrder.h"
#include "platform/core/Random.h"
#include "shell/ReportService.h"
#include "units/UCapKinds.h"
#include "units/UnitMoveSupport.h"

#include <algorithm>
#include <cmath>

using unit_move::FirstNode;
using unit_move::VehicleOf;

namespace
{
// The leg is looked at in this many samples, the last one its end.
constexpr int kLegSamples = 4;
// The detour leads this far east or north.
constexpr float kDetourDistance = 70.0f;
// Headings within 45 degrees of north or south detour east, others north.
constexpr double kNorthSouthLimit = 0.785398;
constexpr double kSouthLimit = 2.35619;
// A unit of another side than 0 waits at its halt until this game time.
constexpr LONG kDetourStartTime = 60;
// A path this short gets a node at the unit before its detour goal.
constexpr int kDetourNodeLimit = 5;
// The density roll: 1 + rand() div 327, at most 100.
constexpr int kDensityRollDivisor = 327;
// The protection a crew dons on its first exposure.
constexpr float kFirstMOPPDegradation = 0.25f;

// What a breaching unit brings to an obstacle: its runtime breacher or
// engineer capability, the vehicle type's matching capability, and while
// a breach is in progress the obstacle being breached.
struct BreachContext
{
    BOOL bEngineer = FALSE;
    CUCapBreacher* pCap = nullptr;
    CVehicleCapability* pKit = nullptr;
    BreachTarget target;  // pObstacle null: no breach in progress

    BOOL IsValid() const { return pCap != nullptr && pKit != nullptr; }
};

BreachContext GetBreachContext(CUnit& unit, CKDRGameMap* pMap, CKDRObstacles* pObstacles, CKDRDatabase* pDatabase)
{
    BreachContext ctx;
    const DWORD dwAbilities = unit.GetCapabilityMask();
    ctx.bEngineer = (dwAbilities & VCAP_ENGINEER) != 0;
    const DWORD dwType = ctx.bEngineer ? VCAP_ENGINEER : VCAP_BREACHER;
    ctx.pCap = dynamic_cast<CUCapBreacher*>(unit.FindCapability(dwType));
    CVehicle* pVehicle = VehicleOf(unit, pDatabase);
    ctx.pKit = pVehicle != nullptr ? pVehicle->FindCapability(dwType) : nullptr;
    if (!ctx.IsValid() || !ctx.pCap->m_bBreaching)
        return ctx;
    ctx.target.nObstacle = ctx.pCap->m_nObstacle;
    ctx.target.nSide = ctx.pCap->m_nObstacleSide;
    ctx.target.nLane = ctx.pCap->m_nLane;
    if (ctx.pCap->m_nObstacleSide < 0)
    {
        ctx.target.nSide = BREACH_SIDE_TERRAIN;
        CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
        CTerrainArray* pTerrain = pElevation != nullptr ? pElevation->GetTerrain() : nullptr;
        const int n = ctx.pCap->m_nObstacle;
        if (pTerrain != nullptr && n >= 0 && n < pTerrain->GetFeatureCount())
        {
            CTerrain* pRegion = pTerrain->GetFeature(n);
            ctx.target.pObstacle = pRegion;
            ctx.target.pLanes = pRegion != nullptr ? &pRegion->GetBreaches() : nullptr;
        }
    }
    else if (pObstacles != nullptr)
    {
        CObstacle* pObstacle = pObstacles->GetObstacle(ctx.pCap->m_nObstacle, ctx.pCap->m_nObstacleSide);
        ctx.target.pObstacle = pObstacle;
        ctx.target.pLanes = pObstacle != nullptr ? &pObstacle->m_lanes : nullptr;
    }
    return ctx;
}

// The sample i (1 .. kLegSamples) of the leg from the unit to (x, y); the
// last one is the end itself.
void LegSample(const CUnit& unit, float x, float y, int i, float& sx, float& sy)
{
    if (i == kLegSamples)
    {
        sx = x;
        sy = y;
        return;
    }
    const float t = static_cast<float>(i) / kLegSamples;
    sx = unit.m_fX + (x - unit.m_fX) * t;
    sy = unit.m_fY + (y - unit.m_fY) * t;
}

// The end of the leg: node 1 when asked for, else the given point. FALSE
// when asked for node 1 and there is none.
BOOL LegEnd(const CUnit& unit, BOOL bUseNextNode, float& x, float& y)
{
    if (!bUseNextNode)
        return TRUE;
    const CNode* pNext = unit.m_pPath->GetSize() > 1 ? unit.m_pPath->GetAt(1) : nullptr;
    if (pNext == nullptr)
        return FALSE;
    x = pNext->m_fX;
    y = pNext->m_fY;
    return TRUE;
}

// Whether every sample of the leg that lies in the obstacle lies in one of
// its lanes.
BOOL LegRunsInLanes(const CUnit& unit, float x, float y, const CObstacle& obstacle)
{
    for (int i = 1; i <= kLegSamples; ++i)
    {
        float sx = 0.0f;
        float sy = 0.0f;
        LegSample(unit, x, y, i, sx, sy);
        if (obstacle.ContainsInRectangle(sx, sy) && obstacle.m_lanes.FindBreachAt(sx, sy) == kUnset)
            return FALSE;
    }
    return TRUE;
}

// The same for a terrain region.
BOOL LegRunsInLanes(const CUnit& unit, float x, float y, const CTerrain& region)
{
    for (int i = 1; i <= kLegSamples; ++i)
    {
        float sx = 0.0f;
        float sy = 0.0f;
        LegSample(unit, x, y, i, sx, sy);
        if (region.ContainsPoint(sx, sy) && region.GetBreaches().FindBreachAt(sx, sy) == kUnset)
            return FALSE;
    }
    return TRUE;
}

void RedrawObstacle(CObstacle* pObstacle, CKDRGameMap* pMap)
{
    if (pObstacle != nullptr && pMap != nullptr)
        pObstacle->DrawOnMapSurface(pMap, pObstacle->m_bHighlight);
}

BOOL MayMeetObstacles(const CUnit& unit, CKDRGameMap* pMap, CKDRObstacles* pObstacles, CKDRDatabase* pDatabase)
{
    return unit.m_pPath != nullptr && unit.m_pPath->GetSize() >= 2 && pMap != nullptr && pObstacles != nullptr &&
           pDatabase != nullptr;
}

// The lane's goal point in the path, by its number of nodes: appended to
// one node, before the old goal of two, in place of node 1 of more.
void PutGoalInPath(CNodeArray& path, float x, float y)
{
    if (path.GetSize() == 1)
        path.AddNode(x, y);
    else if (path.GetSize() == 2)
        path.InsertAt(1, new CNode(x, y));
    else if (CNode* pNext = path.GetAt(1))
    {
        pNext->m_fX = x;
        pNext->m_fY = y;
    }
}

// Leads the unit into the lane through what the context's capability
// breaches; 1 when it took the unit over.
BOOL EnterLane(CUnit& unit, BreachContext& ctx, const BreachTarget& target, CBreach* pLane, CKDRGameMap* pMap,
               CKDRDatabase* pDatabase, double dt, DWORD& dwEvents)
{
    if (!ctx.IsValid() || unit.m_pPath == nullptr || unit.m_pPath->GetSize() == 0)
        return FALSE;
    float x = unit.m_fX;
    float y = unit.m_fY;
    float fPrevX = unit.m_fPrevX;
    float fPrevY = unit.m_fPrevY;
    if (fPrevX == x && fPrevY == y)
    {
        // No step yet in this pass: the unit's heading gives the bearing.
        x += std::sin(unit.m_fHeading);
        y += std::cos(unit.m_fHeading);
    }
    const float fHint = pLane != nullptr ? pLane->m_fDirection : -1.0f;
    const int nTaken =
        target.IsTerrain()
            ? ctx.pCap->StartBreach(x, y, fPrevX, fPrevY, pMap, ctx.pKit, target, dt, fHint)
            : ctx.pCap->ContinueBreach(x, y, fPrevX, fPrevY, pMap, ctx.pKit, target, dt, fHint);
    if (nTaken == 0)
        return FALSE;
    PutGoalInPath(*unit.m_pPath, x, y);
    if (ctx.bEngineer)
    {
        unit.Stop(pDatabase);
    }
    else
    {
        unit.m_fPrevX = unit.m_fX;
        unit.m_fPrevY = unit.m_fY;
        unit.m_fX = fPrevX;
        unit.m_fY = fPrevY;
        if (CNode* pFirst = FirstNode(unit.m_pPath))
        {
            pFirst->m_fX = fPrevX;
            pFirst->m_fY = fPrevY;
        }
        if (const auto* pKit = dynamic_cast<const CVCapBreacher*>(ctx.pKit))
            unit.m_fSpeed = pKit->m_fBreachSpeed;
    }
    dwEvents |= UNIT_EVENT_BREACH;
    if (!target.IsTerrain())
        RedrawObstacle(dynamic_cast<CObstacle*>(target.pObstacle), pMap);
    unit.UpdateHeading(pDatabase);
    return TRUE;
}
}  // namespace

BOOL CUnit::ObstacleAtPoint(float x, float y, CKDRGameMap* pMap, CKDRObstacles* pObstacles, CKDRDatabase* pDatabase,
                            BOOL bUseNextNode, double dt, DWORD& dwEvents)
{
    if (IsAircraft() || !MayMeetObstacles(*this, pMap, pObstacles, pDatabase) ||
        !LegEnd(*this, bUseNextNode, x, y))
        return FALSE;
    BreachContext ctx = GetBreachContext(*this, pMap, pObstacles, pDatabase);

    // Along the leg: the first obstacle met, and the first of its lanes
    // that holds a sample from there on.
    BreachTarget found;
    CObstacle* pObstacle = nullptr;
    CBreach* pLane = nullptr;
    for (int i = 1; i <= kLegSamples && pLane == nullptr; ++i)
    {
        float sx = 0.0f;
        float sy = 0.0f;
        LegSample(*this, x, y, i, sx, sy);
        if (pObstacle == nullptr)
        {
            int nSide = -1;
            const int nIndex = pObstacles->FindObstacleAt(sx, sy, nSide, pMap, TRUE);
            pObstacle = nIndex != kUnset ? pObstacles->GetObstacle(nIndex, nSide) : nullptr;
            if (pObstacle != nullptr)
            {
                found.pObstacle = pObstacle;
                found.pLanes = &pObstacle->m_lanes;
                found.nObstacle = nIndex;
                found.nSide = nSide;
            }
        }
        if (pObstacle != nullptr)
        {
            found.nLane = pObstacle->m_lanes.FindBreachAt(sx, sy);
            pLane = found.nLane != kUnset ? pObstacle->m_lanes.GetAt(found.nLane) : nullptr;
        }
    }
    if (pObstacle == nullptr || ctx.target.pObstacle != nullptr || LegRunsInLanes(*this, x, y, *pObstacle))
        return FALSE;
    if (ctx.IsValid() && EnterLane(*this, ctx, found, pLane, pMap, pDatabase, dt, dwEvents))
        return TRUE;
    dwEvents |= UNIT_EVENT_OBSTACLE;
    return Blocked(pMap, x, y, pObstacles, pDatabase, pObstacle, TRUE);
}

BOOL CUnit::ObstacleAhead(float fStep, float fFactor, CKDRGameMap* pMap, CKDRObstacles* pObstacles,
                          CKDRDatabase* pDatabase, double dt, DWORD& dwEvents)
{
    if (!MayMeetObstacles(*this, pMap, pObstacles, pDatabase))
        return FALSE;
    CElevationMap* pElevation = pMap->GetElevationMap();
    CTerrainArray* pTerrain = pElevation != nullptr ? pElevation->GetTerrain() : nullptr;
    if (pTerrain == nullptr)
        return FALSE;
    const double d = std::trunc(fStep) * fFactor * 0.1;
    const auto x = static_cast<float>(static_cast<int>(m_fX + d * std::sin(m_fHeading)));
    const auto y = static_cast<float>(static_cast<int>(m_fY + d * std::cos(m_fHeading)));
    BreachContext ctx = GetBreachContext(*this, pMap, pObstacles, pDatabase);

    BreachTarget found;
    found.nSide = BREACH_SIDE_TERRAIN;
    CTerrain* pRegion = nullptr;
    CBreach* pLane = nullptr;
    for (int i = 1; i <= kLegSamples && pLane == nullptr; ++i)
    {
        float sx = 0.0f;
        float sy = 0.0f;
        LegSample(*this, x, y, i, sx, sy);
        if (pRegion == nullptr && pTerrain->GetSpeedFactor(sx, sy, 1) < 1.0f)
        {
            const int nIndex = pTerrain->FindFeatureAt(sx, sy, kTerrainFilterSpeed);
            // The search cursor goes back to the start for the next query.
            while (pTerrain->FindFeatureAt(sx, sy, kTerrainFilterSpeed) != kUnset)
            {
            }
            pRegion = nIndex != kUnset ? pTerrain->GetFeature(nIndex) : nullptr;
            if (pRegion != nullptr)
            {
                found.pObstacle = pRegion;
                found.pLanes = &pRegion->GetBreaches();
                found.nObstacle = nIndex;
            }
        }
        if (pRegion != nullptr)
        {
            found.nLane = pRegion->GetBreaches().FindBreachAt(sx, sy);
            pLane = found.nLane != kUnset ? pRegion->GetBreaches().GetAt(found.nLane) : nullptr;
        }
    }
    if (pRegion == nullptr || ctx.target.pObstacle != nullptr || LegRunsInLanes(*this, x, y, *pRegion))
        return FALSE;
    if (ctx.IsValid() && EnterLane(*this, ctx, found, pLane, pMap, pDatabase, dt, dwEvents))
        return TRUE;
    dwEvents |= UNIT_EVENT_BLOCKED;
    return Blocked(pMap, x, y, pObstacles, pDatabase, nullptr, FALSE);
}

BOOL CUnit::BreachStep(double dt, CKDRGameMap* pMap, CKDRObstacles* pObstacles, CKDRDatabase* pDatabase,
                       DWORD& dwEvents)
{
    if (m_pPath == nullptr || m_pPath->GetSize() < 2 || pMap == nullptr || !pMap->HasElevationMap())
        return FALSE;
    BreachContext ctx = GetBreachContext(*this, pMap, pObstacles, pDatabase);
    if (!ctx.IsValid())
    {
        for (DWORD dwType : {VCAP_BREACHER, VCAP_ENGINEER})
        {
            if (CUnitCapability* pCap = FindCapability(dwType))
                pCap->CancelBreach();
        }
        return FALSE;
    }
    if (!ctx.pCap->m_bBreaching)
        return FALSE;
    if (ctx.target.pObstacle == nullptr)
    {
        // The obstacle went while the breach ran.
        ctx.pCap->CancelBreach();
        return FALSE;
    }
    float fGoalX = 0.0f;
    float fGoalY = 0.0f;
    float x = m_fX;
    float y = m_fY;
    float fSpeed = m_fSpeed;
    if (!ctx.pCap->MoveAlongLane(fGoalX, fGoalY, x, y, pMap, ctx.pKit, ctx.target, dt, ctx.target.IsTerrain(),
                                 fSpeed))
        return FALSE;
    if (CNode* pNext = m_pPath->GetAt(1))
    {
        pNext->m_fX = fGoalX;
        pNext->m_fY = fGoalY;
    }
    m_fPrevX = m_fX;
    m_fPrevY = m_fY;
    m_fX = x;
    m_fY = y;
    if (CNode* pFirst = FirstNode(m_pPath))
    {
        pFirst->m_fX = x;
        pFirst->m_fY = y;
    }
    m_fSpeed = fSpeed;
    UpdateHeading(pDatabase);
    if (!ctx.target.IsTerrain())
        RedrawObstacle(dynamic_cast<CObstacle*>(ctx.target.pObstacle), pMap);
    dwEvents |= UNIT_EVENT_BREACH;
    return TRUE;
}

BOOL CUnit::Blocked(CKDRGameMap* pMap, float x, float y, CKDRObstacles* pObstacles, CKDRDatabase* pDatabase,
                    CObstacle* pObstacle, BOOL bMarkFound)
{
    if (IsAircraft() || pMap == nullptr || !pMap->HasElevationMap() || pObstacles == nullptr ||
        pDatabase == nullptr || m_pPath == nullptr)
        return FALSE;
    if (pObstacle != nullptr && pObstacle->GetObstacleType() == CObstacle::kMineField)
    {
        const int k = std::min(CObstacle::kMaxDensity, 1 + Rand() / kDensityRollDivisor);
        if (pObstacle->m_nDensity < k)
            return FALSE;
    }
    if (pObstacle != nullptr && bMarkFound && m_nSide == 0)
    {
        if (CContactArray* pContacts = pObstacle->GetContacts())
        {
            pContacts->Add(new CContact(static_cast<float>(static_cast<int>(x + 0.5f)),
                                        static_cast<float>(static_cast<int>(y + 0.5f))));
            RedrawObstacle(pObstacle, pMap);
        }
    }
    if (m_pPath->GetSize() == 1)
        m_pPath->AddNode(m_fX, m_fY);
    Stop(pDatabase);
    m_fSpeed = 0.0f;
    if (m_nSide == 0 && !m_bBypassObstacles)
        return TRUE;
    if (m_nSide != 0)
    {
        if (CNode* pFirst = FirstNode(m_pPath))
            pFirst->SetStartTimeValue(CTimeSpan(kDetourStartTime));
    }
    if (m_pPath->GetSize() > 1)
    {
        if (m_pPath->GetSize() < kDetourNodeLimit)
            m_pPath->InsertAt(1, new CNode(m_fX, m_fY));
        CNode* pNext = m_pPath->GetAt(1);
        const double h = std::fabs(m_fHeading);
        if (h < kNorthSouthLimit || h > kSouthLimit)
        {
            pNext->m_fX = m_fX + kDetourDistance;
            pNext->m_fY = m_fY;
        }
        else
        {
            pNext->m_fX = m_fX;
            pNext->m_fY = m_fY + kDetourDistance;
        }
        const CElevationMap* pElevation = pMap->GetElevationMap();
        pNext->m_fX = std::min(pNext->m_fX, static_cast<float>(pElevation->GetWidth()));
        pNext->m_fY = std::min(pNext->m_fY, static_cast<float>(pElevation->GetHeight()));
        UpdateHeading(pDatabase);
        if (m_nSide == 0)
            ClearStop(pDatabase, FALSE);
    }
    return TRUE;
}

void CUnit::ChemicalExposure(CChem* pArea, CKDRDatabase* pDatabase, CKDRObstacles*, int nChemicalValue, int nUnit,
                             int nArray, CKDRUnits* pUnits)
{
    if (pArea == nullptr || pDatabase == nullptr || !pDatabase->HasVehicleList())
        return;
    const int nLethality = pArea->GetDensityPercent() * nChemicalValue / 100;
    if (nLethality != 0)
    {
        if (m_bMOPP4)
            return;
        if (PercentileRoll() <= nLethality)
        {
            Destroy(nUnit, nArray, pUnits, pDatabase);
            CVehicle* pVehicle = VehicleOf(*this, pDatabase);
            CReportService* pReports = GetReportService();
            if (pVehicle != nullptr && m_nSide == 0 && pReports != nullptr)
                pReports->ReportChemicalKill(this, pVehicle);
            return;
        }
    }
    if (!m_bMOPP4)
    {
        m_bMOPP4 = TRUE;
        m_fMOPPDegradation = kFirstMOPPDegradation;
    }
}
