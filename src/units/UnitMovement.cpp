// The unit's movement: its move step on its own game-time clock, the work
// done once per game second inside it, halting and releasing, re-aiming,
// new routes and paths, and the start of the clock.
//
// Speeds are the vehicle type's: a step of dt seconds covers
// factor x speed x dt x 0.1 metres, and m_fSpeed reports factor x speed.
// A step that finds no game time (no real millisecond passed, or the clock
// was stopped by a command served earlier in the pass) moves nothing and
// keeps m_fSpeed: a speed worked out over no time would not be a number.

#include "units/Unit.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/Obstacle.h"
#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "orders/NodeArray.h"
#include "units/UCapIndirectFire.h"
#include "units/UCapKinds.h"
#include "units/UnitCapability.h"
#include "units/UnitMoveSupport.h"
#include "units/UnitWeapon.h"

#include <algorithm>
#include <cmath>

using unit_move::FirstNode;
using unit_move::FirstNodeHasStop;
using unit_move::IsAircraft;
using unit_move::IsDeployment;
using unit_move::VehicleOf;

namespace
{
// The terrain is probed this far ahead of the unit along its heading.
constexpr float kProbeDistance = 10.0f;
// A dismounted team gets through ground that stops vehicles at this factor.
constexpr float kTeamFactorOnImpassable = 0.3f;
// Degradation a unit in full protection gains per game second and point of
// its vehicle type's chemical value.
constexpr double kProtectionDegradationPerSecond = 0.00055555 * 0.01;
// Per-second capability events the unit handles itself.
constexpr DWORD kCapEventFiringDirection = 0x100;
constexpr DWORD kCapEventReaim = 0x200;
constexpr DWORD kCapEventRelease = UCAP_EVENT_BREACH_DONE;
constexpr double kRadiansPerMil = 0.0009817478;
constexpr int kMilsInCircle = 6400;

// A team riding in its carrier: its dismount capability names a carrier
// and it has not got out.
BOOL IsRiding(const CUnit& unit)
{
    const auto* pDismount = dynamic_cast<const CUCapDismount*>(unit.FindCapability(VCAP_DISMOUNT));
    return pDismount != nullptr && pDismount->m_nCarrierUnit != kUnset && !pDismount->m_bDismounted;
}

BOOL IsBreachInProgress(const CUnit& unit)
{
    for (DWORD dwType : {VCAP_BREACHER, VCAP_ENGINEER})
    {
        const auto* pBreacher = dynamic_cast<const CUCapBreacher*>(unit.FindCapability(dwType));
        if (pBreacher != nullptr && pBreacher->m_bBreaching)
            return TRUE;
    }
    return FALSE;
}

// The flying height of an aircraft's fixed- or rotary-wing capability; 0
// for a unit on the ground.
int FlyingHeight(const CUnit& unit)
{
    if (const auto* pFixed = dynamic_cast<const CUCapFixedWing*>(unit.FindCapability(VCAP_FIXED_WING)))
        return pFixed->m_nHeight;
    if (const auto* pRotary = dynamic_cast<const CUCapRotaryWing*>(unit.FindCapability(VCAP_ROTARY_WING)))
        return pRotary->m_nHeight;
    return 0;
}

void DropProtection(CUnit& unit)
{
    if (!unit.m_bMOPP4)
        return;
    unit.m_bMOPP4 = FALSE;
    unit.m_fMOPPDegradation = 0.0f;
}

// The heading (radians) at the middle of the field of fire.
float FieldOfFireHeading(int nFrom, int nTo)
{
    int nMiddle = (nFrom + nTo) / 2;
    if (nTo < nFrom)
        nMiddle += kMilsInCircle / 2;
    nMiddle %= kMilsInCircle;
    if (nMiddle < 0)
        nMiddle += kMilsInCircle;
    return static_cast<float>(nMiddle * kRadiansPerMil);
}

// The way a move step goes after its clock: what it did and where it ends.
struct StepContext
{
    CKDRGameMap* pMap;
    CKDRDatabase* pDatabase;
    CKDRObstacles* pObstacles;
    BOOL bSelected;
    int nGameMs;
    int nWholeSeconds;
    CTimeSpan tsNow;
    int nUnit;
    int nArray;
    CKDRUnits* pUnits;
};

// Steps 6 to 14 of a move step: halting at a stop, the terrain ahead and
// the step itself. Answers FALSE when the unit must not go on to its
// chemical check (it rides in a carrier).
void StepAlongPath(CUnit& unit, const StepContext& c, BOOL& bArrived, DWORD& dwEvents)
{
    CNodeArray* pPath = unit.m_pPath;
    if (FirstNodeHasStop(pPath) && !unit.m_bStopped)
        unit.Stop(c.pDatabase);
    if (pPath->GetSize() == 1)
    {
        CNode* pFirst = pPath->GetAt(0);
        if (pFirst != nullptr && !pFirst->HasStop())
        {
            pFirst->AddOrder(NORD_STOP);
            if (unit.m_nSide != 0)
                pFirst->SetStartTimeValue(CTimeSpan(START_TIME_NEVER));
        }
        if (!unit.m_bStopped)
            unit.Stop(c.pDatabase);
    }

    CVehicle* pVehicle = VehicleOf(unit, c.pDatabase);
    if (unit.m_bStopped || pVehicle == nullptr)
        return;

    const double dt = c.nGameMs * 0.001;
    if (IsBreachInProgress(unit) && unit.BreachStep(dt, c.pMap, c.pObstacles, c.pDatabase, dwEvents))
        return;

    float fSpeed = pVehicle->m_fSpeed;
    if (unit.m_bMarchSpeed)
        fSpeed = unit.m_fMarchSpeed;
    else if (unit.m_bSprint)
        fSpeed = pVehicle->m_fSprint;
    unit.m_fPrevX = unit.m_fX;
    unit.m_fPrevY = unit.m_fY;

    if (pPath->GetSize() < 2 || pPath->GetAt(1) == nullptr)
        return;
    double d = std::hypot(pPath->GetAt(1)->m_fX - unit.m_fX, pPath->GetAt(1)->m_fY - unit.m_fY);
    if (2.0 * fSpeed > d)
    {
        // Re-aiming drops nodes that lie on the unit and may halt it there.
        unit.UpdateHeading(c.pDatabase);
        if (unit.m_bStopped || pPath->GetSize() < 2 || pPath->GetAt(1) == nullptr)
            return;
        d = std::hypot(pPath->GetAt(1)->m_fX - unit.m_fX, pPath->GetAt(1)->m_fY - unit.m_fY);
    }
    const double s = fSpeed * dt;

    const DWORD dwAbilities = unit.GetCapabilityMask();
    float f = 1.0f;
    CElevationMap* pElevation = c.pMap != nullptr ? c.pMap->GetElevationMap() : nullptr;
    if (!IsAircraft(dwAbilities) && pElevation != nullptr)
    {
        const float fProbeX = unit.m_fX + kProbeDistance * std::sin(unit.m_fHeading);
        const float fProbeY = unit.m_fY + kProbeDistance * std::cos(unit.m_fHeading);
        int nObstacle = 0;
        f = pElevation->GetSlopeFactor(unit.m_fX, unit.m_fY, fProbeX, fProbeY, &nObstacle, 0);
        BOOL bTeamGetsThrough = FALSE;
        if (dwAbilities & VCAP_DISMOUNT)
        {
            if (f < 1.0f)
                f *= 2.0f;
            if (f == 0.0f)
            {
                f = kTeamFactorOnImpassable;
                bTeamGetsThrough = TRUE;
            }
        }
        if (!bTeamGetsThrough)
        {
            // Ground that stops the unit halts it where it stands: it takes
            // no step onto it.
            const BOOL bImpassable = !(f > 0.0f);
            if (bImpassable)
            {
                f = 0.0f;
                unit.Stop(c.pDatabase);
            }
            if (nObstacle != 0)
            {
                if (unit.ObstacleAhead(static_cast<float>(s), f, c.pMap, c.pObstacles, c.pDatabase, dt, dwEvents))
                    return;
                f = pElevation->GetSlopeFactor(unit.m_fX, unit.m_fY, fProbeX, fProbeY, nullptr, 1);
            }
            if (!(f > 0.0f))
            {
                dwEvents |= UNIT_EVENT_BLOCKED;
                unit.Blocked(c.pMap, unit.m_fX, unit.m_fY, c.pObstacles, c.pDatabase, nullptr, FALSE);
                return;
            }
            if (bImpassable)
                return;
        }
    }

    const double step = f * s * 0.1;
    double taken = step;
    if (step >= d)
    {
        if (c.bSelected)
            bArrived = TRUE;
        int nIndex = kUnset;
        int nSide = -1;
        if (c.pObstacles != nullptr &&
            unit.IsObstacleOnFirstLeg(unit.m_fX, unit.m_fY, c.pObstacles, nIndex, nSide, TRUE, c.pMap) &&
            unit.ObstacleAtPoint(unit.m_fX, unit.m_fY, c.pMap, c.pObstacles, c.pDatabase, TRUE, dt, dwEvents))
            return;
        if (unit.Arrive(c.pDatabase))
            dwEvents |= UNIT_EVENT_STOP_NODE;
        taken = d;
    }
    else
    {
        const auto fNewX = static_cast<float>(unit.m_fX + step * std::sin(unit.m_fHeading));
        const auto fNewY = static_cast<float>(unit.m_fY + step * std::cos(unit.m_fHeading));
        int nIndex = kUnset;
        int nSide = -1;
        if (c.pObstacles != nullptr &&
            unit.IsObstacleOnFirstLeg(fNewX, fNewY, c.pObstacles, nIndex, nSide, FALSE, c.pMap) &&
            unit.ObstacleAtPoint(fNewX, fNewY, c.pMap, c.pObstacles, c.pDatabase, FALSE, dt, dwEvents))
            return;
        unit.m_fX = fNewX;
        unit.m_fY = fNewY;
        if (CNode* pFirst = FirstNode(pPath))
        {
            pFirst->m_fX = fNewX;
            pFirst->m_fY = fNewY;
        }
    }
    unit.m_fSpeed = static_cast<float>(taken * 10.0 / dt);
}

// The chemical area the unit stands in, if any: noticed, or lived in.
void CheckChemicalAreas(CUnit& unit, const StepContext& c)
{
    if (c.pObstacles == nullptr)
        return;
    if (IsAircraft(unit.GetCapabilityMask()) && FlyingHeight(unit) > 0)
    {
        DropProtection(unit);
        return;
    }
    int nSide = -1;
    const int nIndex = c.pObstacles->FindChemAt(unit.m_fX, unit.m_fY, nSide);
    CChem* pArea = nIndex != kUnset ? c.pObstacles->GetChemArea(nIndex, nSide) : nullptr;
    if (pArea == nullptr)
    {
        DropProtection(unit);
        return;
    }
    if (!unit.m_bMOPP4)
    {
        CVehicle* pVehicle = VehicleOf(unit, c.pDatabase);
        const float fDetect = pVehicle != nullptr ? pVehicle->m_fNBCDetectValue : 0.0f;
        if (c.nWholeSeconds > 0 && pArea->DetectionRoll(c.nWholeSeconds, fDetect))
        {
            unit.ChemicalExposure(pArea, c.pDatabase, c.pObstacles,
                                  pVehicle != nullptr ? pVehicle->m_nChemicalValue : 0, c.nUnit, c.nArray, c.pUnits);
            pArea->OnUnitInside(unit.m_fX, unit.m_fY);
        }
    }
    else if (!unit.m_bStopped)
    {
        pArea->OnUnitInside(unit.m_fX, unit.m_fY);
    }
}
}  // namespace

DWORD CUnit::MoveStep(CKDRGameMap* pMap, CKDRDatabase* pDatabase, CKDRObstacles* pObstacles, CKDRHoles*,
                      BOOL bSelected, BOOL& bArrived, DWORD& dwEvents, int nPass1, int nPass2, int nPass3,
                      CKDRUnits* pUnits)
{
    CPlayService* pPlay = GetPlayService();
    StepContext c{pMap, pDatabase, pObstacles, bSelected, kUnset, 0, CTimeSpan(0), nPass1, nPass2, pUnits};
    if (pPlay != nullptr && pPlay->GetGameClock() != nullptr)
    {
        auto dwStamp = static_cast<DWORD>(m_moveLastTick);
        pPlay->AdvanceClock(c.tsNow, c.nGameMs, m_moveRemainderMs, dwStamp, c.nWholeSeconds);
        m_moveLastTick = static_cast<int>(dwStamp);
    }
    bArrived = FALSE;
    dwEvents = 0;

    DWORD dwResult = 0;
    if (!m_bDestroyed && c.nGameMs > 0)
    {
        if (c.nWholeSeconds > 0)
            dwResult = UpdatePerSecond(c.nWholeSeconds, c.tsNow, pDatabase, pMap, nPass1, nPass2, nPass3);
        if (!IsRiding(*this))
        {
            StepAlongPath(*this, c, bArrived, dwEvents);
            CheckChemicalAreas(*this, c);
        }
    }
    if (pPlay != nullptr)
        pPlay->ServeWaitingMessage();
    return dwResult;
}

DWORD CUnit::UpdatePerSecond(int nSeconds, CTimeSpan tsNow, CKDRDatabase* pDatabase, CKDRGameMap* pMap, int nPass1,
                             int nPass2, int nPass3)
{
    CVehicle* pVehicle = VehicleOf(*this, pDatabase);
    if (pVehicle == nullptr || nSeconds <= 0)
        return 0;
    const int n = nSeconds;

    if (m_nShotLineTime != 0)
    {
        m_nShotLineTime = std::max(0, m_nShotLineTime - n);
        if (m_nShotLineTime == 0)
        {
            m_pCapabilities->OnHeadingChanged(pVehicle, m_fHeading, pDatabase, m_bFieldOfFire ? m_nFieldOfFireFrom : kUnset,
                                              m_bFieldOfFire ? m_nFieldOfFireTo : kUnset);
            m_pCapabilities->AimAt(pVehicle, m_fHeading, 0.0f, TRUE);
            m_nShotUnit = kUnset;
        }
    }
    else
    {
        m_nShotUnit = kUnset;
    }

    if (m_bStopped && !m_bDefilade)
    {
        m_nDefiladeTime -= n;
        if (m_nDefiladeTime < 0)
        {
            m_nDefiladeTime = 0;
            m_bDefilade = TRUE;
        }
    }

    if (m_pPath->ApplyNodeOrders(tsNow, this))
        m_bDefilade = FALSE;

    if (m_bStopped && !FirstNodeHasStop(m_pPath))
    {
        m_bDefilade = FALSE;
        const auto* pCarrier = dynamic_cast<const CUCapPersonnelCarrier*>(FindCapability(VCAP_PERSONNEL_CARRIER));
        const auto* pEmplace = dynamic_cast<const CUCapEmplace*>(FindCapability(VCAP_EMPLACE));
        if (pCarrier != nullptr && (pCarrier->m_bMounting || pCarrier->m_bDismounting))
        {
            // Teams getting in or out keep the carrier where it is; the
            // carrier's own timers end the wait.
        }
        else if (pEmplace != nullptr && (pEmplace->m_bEmplaced || pEmplace->m_bEmplacing || pEmplace->m_bDisplacing))
        {
            // Dug in, or digging in or out: it moves when that is done.
        }
        else
        {
            m_nMoveDelay = std::max(0, m_nMoveDelay - n);
            if (m_nMoveDelay == 0)
            {
                m_bStopped = FALSE;
                m_bDefilade = FALSE;
            }
        }
    }

    if (m_nSuppression != 0)
        m_nSuppression = std::max(0, m_nSuppression - 10 * n);

    if (m_bMOPP4)
        m_fMOPPDegradation = static_cast<float>(
            std::min(1.0, m_fMOPPDegradation + n * pVehicle->m_nChemicalValue * kProtectionDegradationPerSecond));
    else
        m_fMOPPDegradation = 0.0f;

    // The weapons count calls, one second each; once every countdown is
    // out further calls change nothing.
    for (int i = 0; i < n; ++i)
    {
        m_pWeapons->CountDown(1);
        BOOL bRunning = FALSE;
        for (int w = 0; w < m_pWeapons->GetSize() && !bRunning; ++w)
        {
            const CUnitWeapon* pWeapon = m_pWeapons->GetAt(w);
            bRunning = pWeapon != nullptr && (pWeapon->m_nFireCountdown != 0 || pWeapon->m_nReloadCountdown != 0);
        }
        if (!bRunning)
            break;
    }

    const DWORD dwEvents =
        m_pCapabilities->Update(m_nVehicle, n, tsNow, pMap, pDatabase, nPass1, nPass2, this, nPass3, 0, 0);
    // A battery laying its first volley turns the hull onto the target; an
    // idle one turns back to its route.
    if (dwEvents & kCapEventFiringDirection)
    {
        if (const auto* pBattery = dynamic_cast<const CUCapIndirectFire*>(FindCapability(VCAP_INDIRECT_FIRE)))
            SetHeading(pBattery->m_fAzimuth, pDatabase);
    }
    if (dwEvents & kCapEventReaim)
        UpdateHeading(pDatabase);
    if (dwEvents & kCapEventRelease)
        ClearStop(pDatabase, FALSE);
    return dwEvents & ~(kCapEventFiringDirection | kCapEventReaim | kCapEventRelease);
}

void CUnit::Stop(CKDRDatabase* pDatabase)
{
    CNode* pFirst = FirstNode(m_pPath);
    if (IsFixedWingRestricted(pDatabase, FALSE))
    {
        // An aircraft away from its station cannot stand still in the air.
        if (pFirst != nullptr)
            pFirst->RemoveOrdersOfType(NORD_STOP);
        m_bDefilade = FALSE;
        m_nMoveDelay = 0;
        m_bStopped = FALSE;
        m_pCapabilities->OnMove(pDatabase, m_nVehicle);
        return;
    }
    if (pFirst != nullptr)
    {
        pFirst->AddOrder(NORD_STOP);
        if (m_nSide != 0 && pFirst->m_pOrders->FindOfType(NORD_START_TIME) == nullptr)
            pFirst->AddOrder(NORD_START_TIME);
    }
    if (!(m_bStopped && IsDeployment()))
    {
        if (CVehicle* pVehicle = VehicleOf(*this, pDatabase))
        {
            m_nMoveDelay = pVehicle->m_nTimeToMove;
            m_nDefiladeTime = pVehicle->m_nTimeToDefilade;
        }
        m_pCapabilities->OnStop(pDatabase, m_nVehicle);
    }
    m_bStopped = TRUE;
    UpdateHeading(pDatabase);
}

void CUnit::ClearStop(CKDRDatabase* pDatabase, BOOL bUnconditional)
{
    if (CNode* pFirst = FirstNode(m_pPath))
        pFirst->RemoveOrdersOfType(NORD_STOP);
    m_bDefilade = FALSE;
    if (IsDeployment() || bUnconditional)
    {
        m_nMoveDelay = 0;
        m_bStopped = FALSE;
    }
    m_pCapabilities->OnMove(pDatabase, m_nVehicle);
}

BOOL CUnit::Arrive(CKDRDatabase* pDatabase)
{
    if (m_pPath->GetSize() == 0)
        return FALSE;
    if (m_pPath->GetSize() > 1)
    {
        if (CNode* pNext = m_pPath->GetAt(1))
        {
            m_fX = pNext->m_fX;
            m_fY = pNext->m_fY;
            ApplyNodeOrders(pNext, pDatabase);
        }
    }
    const BOOL bRemoval = m_pPath->RemoveFirstNode(m_nSide != 0);
    if (m_pPath->GetSize() >= 2)
        UpdateHeading(pDatabase);
    return FirstNodeHasStop(m_pPath) ? TRUE : bRemoval;
}

void CUnit::UpdateHeading(CKDRDatabase* pDatabase)
{
    if (unit_move::IsNetworkGame() && m_nSide != 0)
        return;
    CVehicle* pVehicle = VehicleOf(*this, pDatabase);
    if (pVehicle == nullptr)
        return;
    BOOL bLeg = FALSE;
    while (!bLeg && m_pPath->GetSize() >= 2)
    {
        const CNode* pFirst = m_pPath->GetAt(0);
        const CNode* pNext = m_pPath->GetAt(1);
        if (pFirst == nullptr || pNext == nullptr)
            break;
        if (pNext->m_fX != pFirst->m_fX || pNext->m_fY != pFirst->m_fY)
        {
            m_fHeading = static_cast<float>(std::atan2(pNext->m_fX - pFirst->m_fX, pNext->m_fY - pFirst->m_fY));
            bLeg = TRUE;
        }
        else if (m_pPath->RemoveFirstNode(m_nSide != 0) && !m_bStopped)
        {
            Stop(pDatabase);
        }
    }
    if (!bLeg)
        m_fHeading = m_bFieldOfFire ? FieldOfFireHeading(m_nFieldOfFireFrom, m_nFieldOfFireTo) : 0.0f;
    m_pCapabilities->OnHeadingChanged(pVehicle, m_fHeading, pDatabase, m_bFieldOfFire ? m_nFieldOfFireFrom : kUnset,
                                      m_bFieldOfFire ? m_nFieldOfFireTo : kUnset);
}

BOOL CUnit::SetRoute(const CNodeArray* pNodes, CKDRDatabase* pDatabase, CKDRGameMap* pMap, BOOL bInLine)
{
    if (pNodes == nullptr || pNodes->GetSize() == 0)
        return FALSE;
    // The list may be the unit's own path.
    const CNodeArray nodes(*pNodes);
    if (bInLine)
        m_pPath->CopyWithStart(nodes, m_fX, m_fY, pMap);
    else
        m_pPath->CopyOffset(nodes, m_fX, m_fY, pMap);
    SyncStopWithPath(pDatabase);
    UpdateHeading(pDatabase);
    return TRUE;
}

int CUnit::SetPath(const CNodeArray* pNodes, CKDRDatabase* pDatabase)
{
    if (pNodes == nullptr || pNodes->GetSize() == 0)
        return kUnset;
    auto* pCopy = new CNodeArray(*pNodes);
    delete m_pPath;
    m_pPath = pCopy;
    SyncStopWithPath(pDatabase);
    UpdateHeading(pDatabase);
    return 0;
}

void CUnit::StartClock(DWORD dwTick, CKDRDatabase* pDatabase)
{
    m_moveLastTick = static_cast<int>(dwTick);
    m_moveRemainderMs = 0;
    m_fireLastTick = static_cast<int>(dwTick);
    m_fireRemainderMs = 0;
    if (m_bDestroyed)
        return;
    CVehicle* pVehicle = VehicleOf(*this, pDatabase);
    if (pVehicle != nullptr && !IsStoppedAtStopNode() && m_nMoveDelay == 0)
        m_fSpeed = m_bSprint ? pVehicle->m_fSprint : pVehicle->m_fSpeed;
    // Applying the first node's stop re-aims, which without a leg ahead
    // would turn the unit north. Only a unit being deployed is re-aimed
    // here: one standing at the end of its path in the battle keeps facing
    // the way it came, across a Time/Stop as across a reopened saved game.
    const float fHeading = m_fHeading;
    SyncStopWithPath(pDatabase);
    if (!unit_move::IsBeforeBattle())
    {
        if (m_pPath->GetSize() < 2 && m_fHeading != fHeading)
            SetHeading(fHeading, pDatabase);
        return;
    }
    UpdateHeading(pDatabase);
    m_bDugIn = FALSE;
    m_nDugPosition = kUnset;
    m_bMOPP4 = FALSE;
    m_timeMOPP = CTimeSpan(0);
    m_fMOPPDegradation = 0.0f;
    if (pVehicle != nullptr)
        m_pWeapons->BuildFromVehicle(m_nVehicle, pDatabase, FALSE);
    m_pCapabilities->ResetForDeployment(0, pDatabase, this);
}
