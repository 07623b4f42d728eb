// The mount and dismount orders' work: planning which team boards which
// carrier, walking the passengers to their carriers pass after pass, and
// ending when nobody is left to board or nothing is left to wait for.
//
// A passenger farther than 60 m from its carrier is routed to the point
// 30 m short of it, and not again while its path already ends within 60 m
// of the carrier: a path is planned once per approach, not once per pass.

#include "orders/UnitOrderKinds.h"

#include "ai/UOrdAIOrder.h"
#include "ai/UOrdAIOrderData.h"
#include "ai/UOrdAIOrderDataKinds.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchyElement.h"
#include "hierarchy/TaskOrg.h"
#include "orders/NodeArray.h"
#include "orders/NodeOrder.h"
#include "orders/UnitOrderArray.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"
#include "units/UnitMoveSupport.h"

#include <cmath>

namespace
{
// A carrier takes its passenger this near (metres); a passenger sent to it
// stops this much short of it.
constexpr float kBoardingReach = 60.0f;
constexpr float kApproachShort = 30.0f;
// The unit toggles the order applies: the group to mount halts, the
// carriers go round obstacles.
constexpr DWORD kStopBit = UNIT_ORDER_STOP;
constexpr DWORD kBypassBit = UNIT_ORDER_BYPASS_OBSTACLES;
// The mode of travel that moves on foot.
constexpr int kTravelDismounted = 2;
// Troop carriers, the role the dismount order counts the element's
// vehicles by, and the element's state tests it waits on: carriers hold
// personnel, all carriers are unloaded, teams are still getting out.
constexpr DWORD kCarrierRole = 0x200;
constexpr DWORD kStateCarriersLoaded = 4;
constexpr DWORD kStateCarriersEmpty = 512;
constexpr DWORD kStateTeamsLeaving = 8192;
// The state tests' count limit that limits nothing.
constexpr int kNoCountLimit = 99999;

const char* const MOUNT_ICON = "Carrier Mounting Grey";
const char* const DISMOUNT_ICON = "Carrier Dismounting Grey";

float Distance(const CUnit& a, const CUnit& b) { return std::hypot(a.m_fX - b.m_fX, a.m_fY - b.m_fY); }

// The plan's entry: a company-level node pairing its first element (the
// carrier) with its first platoon (the passengers).
BOOL CarrierAndPassengers(CHierarchyCompany* pEntry, CHierarchyElement*& pCarrier, CHierarchyPlatoon*& pPassengers)
{
    pCarrier = nullptr;
    pPassengers = nullptr;
    for (int k = 0; pEntry != nullptr && k < pEntry->GetSize(); ++k)
    {
        if (pCarrier == nullptr)
            pCarrier = pEntry->GetElement(k);
        if (pPassengers == nullptr)
            pPassengers = pEntry->GetPlatoon(k);
    }
    return pCarrier != nullptr && pPassengers != nullptr;
}

// Sends the passenger towards its carrier unless its path already ends
// within reach of it.
void SendTowards(CUnit& passenger, const CUnit& carrier, CKDRDatabase* pDatabase, CKDRGameMap* pMap)
{
    const CNode* pLast =
        passenger.m_pPath != nullptr && passenger.m_pPath->GetSize() > 0
            ? passenger.m_pPath->GetAt(passenger.m_pPath->GetSize() - 1)
            : nullptr;
    if (pLast != nullptr && std::hypot(pLast->m_fX - carrier.m_fX, pLast->m_fY - carrier.m_fY) <= kBoardingReach)
        return;
    const float fDistance = Distance(passenger, carrier);
    const float fShare = (fDistance - kApproachShort) / fDistance;
    passenger.ClearMarchSpeed();
    passenger.RouteTo(passenger.m_fX + (carrier.m_fX - passenger.m_fX) * fShare,
                      passenger.m_fY + (carrier.m_fY - passenger.m_fY) * fShare, pDatabase, pMap, TRUE, FALSE);
}

// A plan that cannot be kept: the element's AI orders travel on foot.
void TravelDismounted(CHierarchyPlatoon* pElement)
{
    CUnitOrderArray* pOrders = pElement != nullptr ? pElement->m_pAIOrders : nullptr;
    for (int i = 0; pOrders != nullptr && i < pOrders->GetSize(); ++i)
    {
        auto* pOrder = dynamic_cast<CUOrdAIOrder*>(pOrders->GetAt(i));
        for (int k = 0; pOrder != nullptr && k < pOrder->m_pData->GetSize(); ++k)
        {
            auto* pMode = dynamic_cast<CUOrdAIOrderDataModeOfTravel*>(pOrder->m_pData->GetAt(k));
            if (pMode != nullptr && (pMode->m_nTravelMode & kTravelDismounted) != 0)
                pMode->m_nTravelMode = kTravelDismounted;
        }
    }
}

void ApplyToggle(CKDRUnits* pUnits, DWORD dwBit, CHierarchyPlatoon* pElement, CKDRDatabase* pDatabase,
                 CKDRGameMap* pMap, CKDRObstacles* pObstacles, CKDRHoles* pHoles)
{
    CTaskOrgArray reached;
    pUnits->ApplyOrderBitToElement(dwBit, &reached, pElement, pDatabase, pMap,
                                   pObstacles, pHoles, 1, 1, kUnsetFloat, kUnsetFloat, kUnsetFloat);
}
}  // namespace

// ---------------------------------------------------------------------------
// Mount

void CUOrdMount::Draw(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRDatabase*, CKDRGameMap* pMap, CWnd*, DWORD,
                      int nFlag, BOOL, BOOL)
{
    if (pElement == nullptr || pMap == nullptr || nFlag != 0)
        return;
    if (m_pIcon == nullptr)
    {
        m_pIcon = LoadCatalogueSprite(GetOrderType() == UORD_DISMOUNT ? DISMOUNT_ICON : MOUNT_ICON);
        m_bOwnsIcon = m_pIcon != nullptr;
    }
    float fX = kUnsetFloat;
    float fY = kUnsetFloat;
    if (m_pIcon != nullptr && pElement->GetLeaderPosition(fX, fY, pUnits))
        DrawSpriteAtMapPoint(m_pIcon, fX, fY, pMap);
}

int CUOrdMount::AddData(CUOrdAIOrderData* pItem, CUOrdAIOrderDataArray*, CHierarchyPlatoon* pElement,
                        CKDRUnits* pUnits, CKDRDatabase* pDatabase, CKDRGameMap*)
{
    if (pElement == nullptr)
        return 0;
    if (const auto* pMode = dynamic_cast<const CUOrdAIOrderDataModeOfTravel*>(pItem))
    {
        const BOOL bOnFoot = (pMode->m_nTravelMode & kTravelDismounted) != 0;
        m_bSkipByTravelMode = GetOrderType() == UORD_DISMOUNT ? !bOnFoot : bOnFoot;
    }
    const auto* pForce = dynamic_cast<const CUOrdAIOrderDataSpecifiedForce*>(pItem);
    if (pForce != nullptr && GetOrderType() == UORD_MOUNT)
    {
        if (m_bOwnsForce)
            delete m_pForce;
        const int nRoleFlags = static_cast<int>(CUOrdAIOrderData::ForceTypesToRoleFlags(pForce->m_dwForceMask));
        m_pForce = CUOrdAIOrderData::ResolveForce(nullptr, pUnits, pDatabase, pElement, kUnset, nRoleFlags,
                                                  pForce->m_strUnitName, kUnset);
        m_bOwnsForce = m_pForce != nullptr;
    }
    return 1;
}

int CUOrdMount::Plan(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRObstacles* pObstacles, CKDRHoles* pHoles,
                     CKDRDatabase* pDatabase, CKDRGameMap* pMap)
{
    if (m_pCarriedUnits == nullptr)
        m_pCarriedUnits = new CHierarchyArray;
    CHierarchyPlatoon* pGroup = m_pForce != nullptr ? m_pForce : pElement;
    if (unit_move::IsDeployment())
    {
        CTaskOrgArray passengers;
        CTaskOrgArray carriers;
        pGroup->FillUnitList(&passengers, FALSE);
        pElement->FillUnitList(&carriers, FALSE);
        passengers.m_nSide = pGroup->m_nSide;
        carriers.m_nSide = pElement->m_nSide;
        pUnits->MountUnits(&passengers, &carriers, pMap, pDatabase);
        return 1;
    }
    if (!m_pCarriedUnits->PlanMount(pElement, pGroup, pUnits, pDatabase, pMap))
        return 0;
    ApplyToggle(pUnits, kStopBit, pGroup, pDatabase, pMap, pObstacles, pHoles);
    ApplyToggle(pUnits, kBypassBit, pElement, pDatabase, pMap, pObstacles, pHoles);
    return 1;
}

void CUOrdMount::ReplaceMountOrders(CHierarchyPlatoon* pContainer) const
{
    if (pContainer == nullptr || pContainer->m_pOrders == nullptr)
        return;
    pContainer->m_pOrders->RemoveOrdersOfType(UORD_MOUNT);
    pContainer->m_pOrders->AddOrder(new CUOrdMount(*this));
}

int CUOrdMount::Execute(CUOrdAIOrderDataArray*, CHierarchyPlatoon* pElement, CHierarchyPlatoon*, CKDRUnits* pUnits,
                        CKDRObstacles* pObstacles, CKDRHoles* pHoles, CKDRDatabase* pDatabase, CKDRGameMap* pMap)
{
    if (pElement == nullptr || pUnits == nullptr)
        return 0;
    if (m_bSkipByTravelMode)
        return 1;
    const BOOL bDeployment = unit_move::IsDeployment();
    if (!Plan(pElement, pUnits, pObstacles, pHoles, pDatabase, pMap))
        return 0;
    if (bDeployment)
        return 1;
    if (pElement->GetLevel() == HIERARCHY_BATTALION)
    {
        for (int i = 0; i < pElement->GetSize(); ++i)
        {
            const auto* pChild = dynamic_cast<const CHierarchyPlatoon*>(pElement->GetChild(i));
            if (pChild != nullptr)
                ReplaceMountOrders(pUnits->FindElementByName(pChild->m_strName));
        }
    }
    else
    {
        ReplaceMountOrders(pElement);
    }
    return 1;
}

int CUOrdMount::Update(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                       CKDRObstacles*, CKDRHoles*)
{
    if (pElement == nullptr || pUnits == nullptr || pMap == nullptr || pDatabase == nullptr)
        return 0;
    CHierarchyArray& plan = *m_pCarriedUnits;
    const int nSide = plan.m_nSide;
    for (int i = 0; i < plan.GetSize();)
    {
        auto* pEntry = dynamic_cast<CHierarchyCompany*>(plan.GetChild(i));
        CHierarchyElement* pCarrierElement = nullptr;
        CHierarchyPlatoon* pPassengers = nullptr;
        if (!CarrierAndPassengers(pEntry, pCarrierElement, pPassengers) || pPassengers->GetSize() == 0)
        {
            plan.RemoveAt(i);
            continue;
        }
        CUnit* pCarrier = pUnits->GetUnit(pCarrierElement->m_nUnit, pCarrierElement->m_nArray, nSide);
        if (pCarrier == nullptr || pCarrier->m_bDestroyed || !pCarrier->CanCarry(pDatabase, FALSE))
        {
            // Its passengers still on the ground look for another carrier.
            plan.RemoveAtNoDelete(i);
            BOOL bReplanned = TRUE;
            for (int k = 0; k < pPassengers->GetSize() && bReplanned; ++k)
            {
                const CHierarchyElement* pPassenger = pPassengers->GetElement(k);
                const CUnit* pUnit =
                    pPassenger != nullptr ? pUnits->GetUnit(pPassenger->m_nUnit, pPassenger->m_nArray, nSide) : nullptr;
                if (pUnit == nullptr || pUnit->m_bDestroyed || pUnit->IsCarried() || pUnit->HasDismounted())
                    continue;
                auto* pCopy = new CHierarchyElement(*pPassenger, TRUE);
                bReplanned = plan.InsertUnitsInOrder(pCopy, pUnits->GetPresentHierarchy(nSide), pUnits, pDatabase);
                if (!bReplanned)
                    delete pCopy;
            }
            delete pEntry;
            if (!bReplanned)
            {
                TravelDismounted(pElement);
                return 0;
            }
            continue;
        }
        if (pCarrier->IsStoppedByOrder() && !pCarrier->HasDismounted())
        {
            CHierarchyElement* pPassenger = pPassengers->GetElement(0);
            CUnit* pUnit =
                pPassenger != nullptr ? pUnits->GetUnit(pPassenger->m_nUnit, pPassenger->m_nArray, nSide) : nullptr;
            if (pUnit == nullptr || pUnit->m_bDestroyed || pUnit->IsCarried() || pUnit->HasDismounted())
            {
                pPassengers->RemoveAt(0);
            }
            else if (Distance(*pUnit, *pCarrier) > kBoardingReach)
            {
                SendTowards(*pUnit, *pCarrier, pDatabase, pMap);
            }
            else
            {
                pUnits->MountUnits(pPassenger->m_nUnit, pPassenger->m_nArray, nullptr, pCarrierElement->m_nUnit,
                                   pCarrierElement->m_nArray, nSide, nullptr, FALSE, pDatabase, pMap, nullptr,
                                   nullptr, FALSE);
            }
        }
        ++i;
    }
    if (plan.GetSize() > 0)
        return 1;
    pElement->ReapplyFormation(pUnits, pMap, pDatabase, kUnsetFloat, kUnsetFloat);
    return 0;
}

// ---------------------------------------------------------------------------
// Dismount

int CUOrdDismount::Execute(CUOrdAIOrderDataArray*, CHierarchyPlatoon* pElement, CHierarchyPlatoon*, CKDRUnits* pUnits,
                           CKDRObstacles* pObstacles, CKDRHoles* pHoles, CKDRDatabase* pDatabase, CKDRGameMap* pMap)
{
    if (pElement == nullptr || pUnits == nullptr)
        return 0;
    if (m_bSkipByTravelMode)
        return 1;
    if (pElement->GetLevel() == HIERARCHY_BATTALION &&
        pElement->CountLiveVehicles(kCarrierRole, pUnits, pDatabase) > 0)
    {
        for (int i = 0; i < pElement->GetSize(); ++i)
        {
            const auto* pChild = dynamic_cast<const CHierarchyPlatoon*>(pElement->GetChild(i));
            CHierarchyPlatoon* pFound = pChild != nullptr ? pUnits->FindElementByName(pChild->m_strName) : nullptr;
            if (pFound != nullptr)
            {
                CTaskOrgArray reached;
                pUnits->ApplyOrderBitToElement(UNIT_ORDER_DISMOUNT, &reached, pFound, pDatabase, pMap, pObstacles,
                                               pHoles, 1, 1, kUnsetFloat, kUnsetFloat, kUnsetFloat);
            }
        }
    }
    return 1;
}

int CUOrdDismount::Update(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                          CKDRObstacles* pObstacles, CKDRHoles* pHoles)
{
    if (pElement == nullptr || pUnits == nullptr || pMap == nullptr || pDatabase == nullptr)
        return 0;
    // The element's state tests: some carriers hold personnel (4); all of
    // them are unloaded (512); the teams still get out (8192).
    auto test = [&](DWORD dwState, int nPercent)
    {
        return pElement->TestCount(dwState, pUnits, pObstacles, pDatabase, pMap, kNoCountLimit, nPercent, kUnsetFloat,
                                   kUnsetFloat, kUnsetFloat) != 0;
    };
    if (pElement->CountLiveVehicles(kCarrierRole, pUnits, pDatabase) > 0 && test(kStateCarriersLoaded, 0))
    {
        if (!test(kStateCarriersEmpty, 100) || test(kStateTeamsLeaving, 0))
            return 1;
        CTaskOrgArray reached;
        pUnits->ApplyOrderBitToElement(UNIT_ORDER_DISMOUNT, &reached, pElement, pDatabase, pMap, pObstacles, pHoles, 1,
                                       1, kUnsetFloat, kUnsetFloat, kUnsetFloat);
        return 1;
    }
    pElement->ReapplyFormation(pUnits, pMap, pDatabase, kUnsetFloat, kUnsetFloat);
    return 0;
}
