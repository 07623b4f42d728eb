// The unit's path operations that formations, AI orders and the platoon's
// path step call from outside: keeping the halt in step with node 0,
// applying the orders of a node reached, routing to a point, probing the
// first leg for obstacles and drawing the path.

#include "units/Unit.h"

#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRObstacles.h"
#include "database/KDRDatabase.h"
#include "database/VCapKinds.h"
#include "database/Vehicle.h"
#include "orders/NodeArray.h"
#include "orders/UnitOrder.h"
#include "orders/UnitOrderArray.h"
#include "units/UCapKinds.h"
#include "units/UnitCapability.h"
#include "units/UnitMoveSupport.h"

using unit_move::FirstNode;
using unit_move::FirstNodeHasStop;
using unit_move::IsAircraft;
using unit_move::IsDeployment;
using unit_move::VehicleOf;

namespace
{
// The order bits a toggle order of the unit's standing orders carries
// below its type flag.
constexpr DWORD kToggleBitsMask = UORD_TOGGLE - 1;
// How many probes look along the first leg for an obstacle.
constexpr int kLegProbes = 4;
// The mover classes the blocking tests take.
constexpr int kMoverGround = 0x1;
constexpr int kMoverTeam = 0x2;
constexpr int kMoverRotaryWing = 0x4;
constexpr int kMoverFixedWing = 0x8;

// Node 0 lost its stop: the unit may go on (at once in the deployment
// phase, else after its move delay).
void ReleaseWhenFirstNodeIsClear(CUnit& unit, CKDRDatabase* pDatabase)
{
    if (!FirstNodeHasStop(unit.m_pPath) && (unit.m_bStopped || IsDeployment()) && unit.m_pPath->GetSize() > 0)
        unit.ClearStop(pDatabase, FALSE);
}
}  // namespace

void CUnit::SyncStopWithPath(CKDRDatabase* pDatabase)
{
    UpdateHeading(pDatabase);
    if (FirstNodeHasStop(m_pPath) && (!m_bStopped || IsDeployment()))
        Stop(pDatabase);
    else
        ReleaseWhenFirstNodeIsClear(*this, pDatabase);
}

void CUnit::ApplyNodeOrders(CNode* pNode, CKDRDatabase* pDatabase)
{
    if (pNode == nullptr || pNode->m_pOrders == nullptr || pDatabase == nullptr)
        return;
    ReleaseWhenFirstNodeIsClear(*this, pDatabase);
    CNodeOrderArray* pOrders = pNode->m_pOrders;
    for (int i = 0; i < pOrders->GetSize();)
    {
        CNodeOrder* pOrder = pOrders->GetAt(i);
        const UINT nType = pOrder != nullptr ? pOrder->GetType() : 0;
        if (nType == NORD_STOP)
        {
            if (!m_bStopped || IsDeployment())
                Stop(pDatabase);
            // The enemy and neutral sides wait at the node until its time.
            const auto* pStart = dynamic_cast<const CNOrdStartTime*>(pOrders->FindOfType(NORD_START_TIME));
            CNode* pFirst = FirstNode(m_pPath);
            if ((m_nSide == 1 || m_nSide == 2) && pFirst != nullptr && pStart != nullptr && pFirst != pNode)
                pFirst->SetStartTimeValue(pStart->m_tsStart);
        }
        else if (nType == NORD_TOGGLE)
        {
            const auto* pToggle = static_cast<const CNOrdToggleOrder*>(pOrder);
            // A toggle naming a state sets or clears the bit; one naming
            // none flips it.
            const BOOL bApplyState = pToggle->m_bOn || pToggle->m_bOff;
            SetOrderState(pToggle->m_dwToggle, pDatabase, bApplyState && pToggle->m_bOn,
                          bApplyState && !pToggle->m_bOn);
            // Acted on once: the order goes, and the next one moves up.
            pOrders->RemoveAt(i);
            continue;
        }
        ++i;
    }
}

void CUnit::FormationStep(CNodeArray* pPath, CNode* pNode, CObject* pUnitRecord, CKDRDatabase* pDatabase,
                          BOOL bPassed, BOOL bApplyHere)
{
    if (pPath == nullptr || pNode == nullptr || pUnitRecord == nullptr || pDatabase == nullptr)
        return;
    // A node passed by, or not to be applied here, runs its own orders for
    // the unit; that belongs to the formation orders themselves.
    if (!bPassed && bApplyHere)
        ApplyNodeOrders(pNode, pDatabase);
}

void CUnit::AppendPathNode(const CNode* pNode, CKDRDatabase* pDatabase)
{
    if (pNode == nullptr)
        return;
    m_pPath->Add(new CNode(*pNode));
    SyncStopWithPath(pDatabase);
}

void CUnit::ClearToggledOrders(const CUnitOrderArray* pOrders, CKDRDatabase* pDatabase)
{
    if (pOrders == nullptr)
        return;
    for (int i = 0; i < pOrders->GetSize(); ++i)
    {
        const CUnitOrder* pOrder = pOrders->GetAt(i);
        if (pOrder == nullptr || (pOrder->GetOrderType() & UORD_TOGGLE) == 0)
            continue;
        const DWORD dwBits = pOrder->GetOrderType() & kToggleBitsMask;
        for (DWORD dwBit = 1; dwBit != 0 && dwBit <= dwBits; dwBit <<= 1)
        {
            if (dwBits & dwBit)
                SetOrderState(dwBit, pDatabase, FALSE, TRUE);
        }
    }
}

void CUnit::TurnCapabilities(float fDelta, CKDRDatabase* pDatabase)
{
    CVehicle* pVehicle = VehicleOf(*this, pDatabase);
    if (pVehicle == nullptr)
        return;
    UpdateHeading(pDatabase);
    m_pCapabilities->AimAt(pVehicle, m_fHeading, m_fHeading + fDelta, FALSE);
    UpdateHeading(pDatabase);
}

void CUnit::ApplyFormationNode(int nValue, CKDRDatabase* pDatabase)
{
    m_pCapabilities->OnFormationNode(nValue);
    UpdateHeading(pDatabase);
}

BOOL CUnit::RouteTo(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap, BOOL bReleaseStop, BOOL bBypass)
{
    if (pDatabase == nullptr || pMap == nullptr || m_pPath == nullptr)
        return FALSE;
    // Written so that a point that is not a number lands at 0 as well.
    x = x >= 0.0f ? x : 0.0f;
    y = y >= 0.0f ? y : 0.0f;
    float fWidth = 0.0f;
    float fHeight = 0.0f;
    if (CNodeArray::GetMapSize(pMap, fWidth, fHeight))
    {
        x = x > fWidth ? fWidth : x;
        y = y > fHeight ? fHeight : y;
    }

    m_pPath->ResetToPoint(m_fX, m_fY, m_nSide != 0);
    auto* pTarget = new CNode(x, y);
    // A stop that waits for the next order.
    pTarget->SetStartTime(m_nSide != 0, CTimeSpan(START_TIME_HOLD_REQUEST));
    m_pPath->Add(pTarget);

    // The builder always finds a route (it leaves a leg it cannot mend as
    // it was), so no node is ever laid beyond the target.
    float fLastX = 0.0f;
    float fLastY = 0.0f;
    m_pPath->BuildRoute(kUnset, 0.0f, 0.0f, &fLastX, &fLastY, nullptr, nullptr, nullptr, nullptr, pMap, nullptr,
                        CString(), GetMoverClass(), GetBreachMask(pDatabase), FALSE, kUnsetFloat, FALSE);

    SyncStopWithPath(pDatabase);
    if (bReleaseStop && m_pPath->GetSize() > 0)
        ClearStop(pDatabase, FALSE);
    if (bBypass)
        m_bBypassObstacles = TRUE;
    return TRUE;
}

int CUnit::GetMoverClass() const
{
    const DWORD dwAbilities = GetCapabilityMask();
    if (dwAbilities & VCAP_FIXED_WING)
        return kMoverFixedWing;
    if (dwAbilities & VCAP_ROTARY_WING)
        return kMoverRotaryWing;
    if (dwAbilities & VCAP_DISMOUNT)
        return kMoverTeam;
    return kMoverGround;
}

int CUnit::GetBreachMask(CKDRDatabase* pDatabase) const
{
    CVehicle* pVehicle = VehicleOf(*this, pDatabase);
    CVehicleCapArray* pCaps = pVehicle != nullptr ? pVehicle->GetCapabilities() : nullptr;
    if (pCaps == nullptr)
        return kUnset;
    if (const auto* pBreacher = dynamic_cast<const CVCapBreacher*>(pCaps->FindByType(VCAP_BREACHER)))
        return pBreacher->m_nObstacleTypes;
    // Without a plough the engineer's kit answers, as CanBreachType does:
    // only while breaches are left.
    const auto* pEngineer = dynamic_cast<const CVCapEngineer*>(pCaps->FindByType(VCAP_ENGINEER));
    const auto* pOwnEngineer = dynamic_cast<const CUCapEngineer*>(FindCapability(VCAP_ENGINEER));
    if (pEngineer != nullptr && pOwnEngineer != nullptr && pOwnEngineer->m_nBreachesLeft > 0)
        return pEngineer->m_nObstacleTypes;
    return kUnset;
}

int CUnit::FollowFormation(const CNodeArray* pLeaderPath, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                           CKDRGameMap* pMap, BOOL bKeepPositions, float fSpacing)
{
    if (!m_pPath->BuildFormationPath(pLeaderPath, this, pUnits, pDatabase, pMap, bKeepPositions))
        return 0;
    // A follower drives, teams walk: the builder is asked for one of the two.
    const int nKinds = GetMoverClass() == kMoverTeam ? kMoverTeam : kMoverGround;
    float fLastX = 0.0f;
    float fLastY = 0.0f;
    m_pPath->BuildRoute(kUnset, 0.0f, 0.0f, &fLastX, &fLastY, nullptr, nullptr, nullptr, nullptr, pMap, nullptr,
                        CString(), nKinds, kUnset, FALSE, fSpacing, FALSE);
    SyncStopWithPath(pDatabase);
    return 1;
}

BOOL CUnit::IsObstacleOnFirstLeg(float x, float y, CKDRObstacles* pObstacles, int& nIndex, int& nSide,
                                 BOOL bUseNextNode, CKDRGameMap* pMap)
{
    nIndex = kUnset;
    if (pObstacles == nullptr || IsAircraft() || m_pPath->GetSize() == 0)
        return FALSE;
    if (bUseNextNode)
    {
        const CNode* pNext = m_pPath->GetSize() > 1 ? m_pPath->GetAt(1) : nullptr;
        if (pNext == nullptr)
            return FALSE;
        x = pNext->m_fX;
        y = pNext->m_fY;
    }
    for (int i = 1; i <= kLegProbes; ++i)
    {
        const float t = static_cast<float>(i) / kLegProbes;
        // The last probe is the end point itself, not a sum that may miss it.
        const float fProbeX = i == kLegProbes ? x : m_fX + (x - m_fX) * t;
        const float fProbeY = i == kLegProbes ? y : m_fY + (y - m_fY) * t;
        int nFoundSide = -1;
        const int nFound = pObstacles->FindObstacleAt(fProbeX, fProbeY, nFoundSide, pMap, TRUE);
        if (nFound != kUnset && nFound >= 0)
        {
            nIndex = nFound;
            nSide = nFoundSide;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CUnit::CanBreachType(CKDRDatabase* pDatabase, int nObstacleTypes)
{
    CVehicle* pVehicle = VehicleOf(*this, pDatabase);
    CVehicleCapArray* pCaps = pVehicle != nullptr ? pVehicle->GetCapabilities() : nullptr;
    if (pCaps == nullptr)
        return FALSE;
    if (const auto* pBreacher = dynamic_cast<const CVCapBreacher*>(pCaps->FindByType(VCAP_BREACHER));
        pBreacher != nullptr && (pBreacher->m_nObstacleTypes & nObstacleTypes) != 0)
        return TRUE;
    const auto* pEngineer = dynamic_cast<const CVCapEngineer*>(pCaps->FindByType(VCAP_ENGINEER));
    const auto* pOwnEngineer = dynamic_cast<const CUCapEngineer*>(FindCapability(VCAP_ENGINEER));
    return pEngineer != nullptr && (pEngineer->m_nObstacleTypes & nObstacleTypes) != 0 && pOwnEngineer != nullptr &&
           pOwnEngineer->m_nBreachesLeft > 0;
}

int CUnit::HasDismountCapability() const { return (GetCapabilityMask() & VCAP_DISMOUNT) != 0 ? 1 : 0; }

void CUnit::DrawPath(CKDRGameMap* pMap)
{
    if (pMap == nullptr || m_bDestroyed || IsCarried() || m_pPath->GetSize() == 0)
        return;
    // Aircraft and teams cross ground that stops vehicles: their paths
    // show no marks of blocked legs.
    const DWORD dwAbilities = GetCapabilityMask();
    const BOOL bPlain = unit_move::IsAircraft(dwAbilities) || (dwAbilities & VCAP_DISMOUNT) != 0;
    m_pPath->Draw(pMap, !bPlain, FALSE, FALSE, -1);
}
