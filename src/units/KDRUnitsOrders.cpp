// The road of an order: a toggle given to a platoon, a company or the
// battalion reaches its standing orders and then its units; orders given
// to a selection of units; a unit that takes its own route leaves its
// formation; and the look-ups the orders and menus ask of the units.
//
// Rules of the road, kept here in one place:
// - the battalion itself takes no order: each platoon and company child,
//   found again by name, does;
// - Stop also changes the element's first path node and hands the path on
//   again, so the units halt (or go on) with it;
// - Dismount adds its order only after the deployment phase and only when a
//   carried team is attached; during deployment the teams get out at once
//   and the platoons stand in formation again;
// - Suppress needs a point east and north of the map's origin; a company's
//   order is copied to each of its platoons, and switching it off removes
//   the company's own order only.

#include "units/KDRUnits.h"

#include "ai/UOrdAIOrder.h"
#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchyDlg.h"
#include "orders/NodeArray.h"
#include "orders/UnitOrderArray.h"
#include "orders/UnitOrderKinds.h"
#include "platform/core/Unset.h"
#include "shell/PlayService.h"
#include "units/Unit.h"
#include "units/UnitArray.h"

#include <algorithm>
#include <vector>

namespace
{
// GetSlowestSpeed's answer when no unit gives a speed.
constexpr float NO_SPEED_FOUND = 10000.0f;
// Weapon ranges are kept in tens of metres.
constexpr int METRES_PER_RANGE_STEP = 10;
// The unit event a detached element tells its conditional starts.
constexpr BOOL NEWLY_DETACHED = TRUE;

BOOL IsDeployment()
{
    const CPlayService* pPlay = GetPlayService();
    return pPlay != nullptr && pPlay->IsDeploymentPhase();
}

BOOL VehiclesLoaded(const CKDRDatabase* pDatabase)
{
    return pDatabase != nullptr && pDatabase->GetVehicleArray() != nullptr;
}

// The platoon and company children of a battalion, each found again by its
// name (the battalion may be a grouping whose copies hold no orders).
std::vector<CHierarchyPlatoon*> TargetsOf(CHierarchyPlatoon* pElement, const CKDRUnits& units)
{
    std::vector<CHierarchyPlatoon*> targets;
    if (pElement->GetLevel() != HIERARCHY_BATTALION)
    {
        targets.push_back(pElement);
        return targets;
    }
    for (int i = 0; i < pElement->GetSize(); ++i)
    {
        const auto* pChild = dynamic_cast<const CHierarchyPlatoon*>(pElement->GetChild(i));
        if (pChild == nullptr)
            continue;
        if (CHierarchyPlatoon* pFound = units.FindElementByName(pChild->m_strName))
            targets.push_back(pFound);
    }
    return targets;
}
}  // namespace

// ---------------------------------------------------------------------------
// The road of an order

int CKDRUnits::ApplyOrderBitToElement(DWORD dwBit, CTaskOrgArray* pList, CHierarchyPlatoon* pElement,
                                      CKDRDatabase* pDatabase, CKDRGameMap* pMap, CKDRObstacles* pObstacles,
                                      CKDRHoles* pHoles, int nApplyState, int nOn, float fX, float fY, float fZ)
{
    if (pList == nullptr || pElement == nullptr)
        return 0;
    // Toggle orders carry Do Not Emplace in their own encoding.
    if (dwBit == ORDER_DO_NOT_EMPLACE)
        dwBit = UNIT_DO_NOT_EMPLACE;
    const std::vector<CHierarchyPlatoon*> targets = TargetsOf(pElement, *this);
    pElement->FillUnitList(pList, FALSE);
    const BOOL bDeployment = IsDeployment();
    int nState = nApplyState != 0 ? nOn : 1;
    for (CHierarchyPlatoon* pTarget : targets)
    {
        int nTargetState = nApplyState != 0 ? nOn : 1;
        if (!pTarget->ToggleStandingOrder(dwBit, &nTargetState, nApplyState))
            continue;
        nState = nTargetState;
        CNodeArray* pPath = pTarget->m_pPath;
        if (dwBit == UNIT_ORDER_STOP && pPath != nullptr && pPath->GetSize() > 0 && pPath->GetAt(0) != nullptr)
        {
            if (nTargetState != 0)
                pPath->GetAt(0)->SetStartTime(pTarget->m_nSide != 0, CTimeSpan(START_TIME_HOLD_REQUEST));
            else
                pPath->GetAt(0)->ClearStopAndStartTime();
            if (pDatabase != nullptr)
                pTarget->ExecutePath(this, pMap, pDatabase, fX, fY, FALSE);
            if (pPath == pTarget->m_pPath && pPath->GetSize() > 0 && pPath->GetAt(0)->HasStop())
            {
                int nStop = 1;
                pTarget->ToggleStandingOrder(UNIT_ORDER_STOP, &nStop, TRUE);
            }
        }
        else if (dwBit == UNIT_ORDER_DISMOUNT && !bDeployment && pTarget->m_pOrders != nullptr)
        {
            if (nTargetState == 0)
            {
                pTarget->m_pOrders->RemoveOrdersOfType(UORD_DISMOUNT);
            }
            else
            {
                int nCounted = 0;
                const int nMounted = pTarget->TestInArea(UNIT_STATUS_MOUNTED, TRUE, FALSE, this, pObstacles, pDatabase,
                                                         pMap, nCounted, kUnsetFloat, kUnsetFloat, kUnsetFloat,
                                                         CRect(), FALSE);
                if (nMounted > 0)
                {
                    CTaskOrgArray stopped;
                    ApplyOrderBitToElement(UNIT_ORDER_STOP, &stopped, pTarget, pDatabase, pMap, pObstacles, pHoles, 1,
                                           1, kUnsetFloat, kUnsetFloat, kUnsetFloat);
                    pTarget->m_pOrders->AddOrder(new CUOrdDismount);
                }
            }
        }
        else if (dwBit == UNIT_ORDER_SUPPRESS && pTarget->m_pOrders != nullptr)
        {
            if (nTargetState == 0)
            {
                pTarget->m_pOrders->RemoveOrdersOfType(UORD_SUPPRESS);
                continue;
            }
            if (!(fX > 0.0f && fY > 0.0f))
                return 0;
            const float fRadius =
                std::max(fZ, pTarget->SumDefaultSuppressRadius(this, pDatabase, kUnsetFloat, kUnsetFloat));
            CUOrdSuppress* pOrder = nullptr;
            for (int i = 0; i < pTarget->m_pOrders->GetSize() && pOrder == nullptr; ++i)
                pOrder = dynamic_cast<CUOrdSuppress*>(pTarget->m_pOrders->GetAt(i));
            if (pOrder == nullptr)
            {
                pOrder = new CUOrdSuppress;
                pTarget->m_pOrders->AddOrder(pOrder);
            }
            pOrder->m_fRange = fRadius;
            pOrder->m_fTargetX = fX;
            pOrder->m_fTargetY = fY;
            if (pTarget->GetLevel() == HIERARCHY_COMPANY)
            {
                for (int i = 0; i < pTarget->GetSize(); ++i)
                {
                    auto* pPlatoon = dynamic_cast<CHierarchyPlatoon*>(pTarget->GetChild(i));
                    if (pPlatoon != nullptr && pPlatoon->GetLevel() == HIERARCHY_PLATOON &&
                        pPlatoon->m_pOrders != nullptr)
                        pPlatoon->m_pOrders->AddOrder(new CUOrdSuppress(*pOrder));
                }
            }
        }
    }
    if (dwBit == UNIT_ORDER_SUPPRESS && nState != 0 && !(fX > 0.0f && fY > 0.0f))
        return 0;
    const int nResult = ToggleOrderForSelection(pList, dwBit, pDatabase, pMap, TRUE, nState, fX, fY, fZ);
    if (dwBit == UNIT_ORDER_DISMOUNT && nState != 0 && bDeployment && nResult != 0)
    {
        for (CHierarchyPlatoon* pTarget : targets)
            pTarget->ReapplyFormation(this, pMap, pDatabase, fX, fY);
    }
    return nResult;
}

// ---------------------------------------------------------------------------
// Orders for a selection

int CKDRUnits::AllUnitsHaveToggle(const CTaskOrgArray* pList, int nToggle) const
{
    if (pList == nullptr)
        return 0;
    int nUnits = 0;
    for (int i = 0; i < pList->GetSize(); ++i)
    {
        const CTaskOrg* pEntry = pList->GetAt(i);
        if (pEntry == nullptr || pEntry->GetType() != TASKORG_KIND_UNIT)
            continue;
        const CUnit* pUnit = GetUnit(pEntry->m_nUnit, pEntry->m_nArray, pList->m_nSide);
        if (pUnit == nullptr || !pUnit->HasOrder(static_cast<DWORD>(nToggle)))
            return 0;
        ++nUnits;
    }
    return nUnits > 0 ? 1 : 0;
}

float CKDRUnits::GetSlowestSpeed(const CTaskOrgArray* pList, CKDRDatabase* pDatabase) const
{
    float fSlowest = NO_SPEED_FOUND;
    if (pList == nullptr || !VehiclesLoaded(pDatabase))
        return fSlowest;
    for (int i = 0; i < pList->GetSize(); ++i)
    {
        const CTaskOrg* pEntry = pList->GetAt(i);
        if (pEntry == nullptr || pEntry->GetType() != TASKORG_KIND_UNIT)
            continue;
        const CUnit* pUnit = GetUnit(pEntry->m_nUnit, pEntry->m_nArray, pList->m_nSide);
        if (pUnit == nullptr || pUnit->m_bDestroyed || pUnit->IsCarried())
            continue;
        const CVehicle* pType = pDatabase->GetVehicle(pUnit->m_nVehicle);
        if (pType != nullptr)
            fSlowest = std::min(fSlowest, pType->m_fSpeed);
    }
    return fSlowest;
}

int CKDRUnits::ToggleOrderForSelection(const CTaskOrgArray* pList, DWORD dwBit, CKDRDatabase* pDatabase,
                                       CKDRGameMap* pMap, BOOL bExplicit, int nValue, float fA, float fB, float fC)
{
    if (pList == nullptr || pList->GetSize() == 0 || !VehiclesLoaded(pDatabase))
        return 0;
    const BOOL bFireControl = dwBit == UNIT_ORDER_MAX_RANGE || dwBit == UNIT_ORDER_FIELD_OF_FIRE;
    // The fire controls are set on the map, one unit at a time; a selection
    // can only lose them.
    if (bFireControl && !(bExplicit && nValue == 0))
        return 0;
    const BOOL bSet = bExplicit ? nValue != 0 : !AllUnitsHaveToggle(pList, static_cast<int>(dwBit));
    float fSpeed = NO_SPEED_FOUND;
    if (dwBit == UNIT_ORDER_MARCH_SPEED && bSet)
    {
        fSpeed = GetSlowestSpeed(pList, pDatabase);
        if (fSpeed == NO_SPEED_FOUND)
            return 0;
    }
    for (int i = 0; i < pList->GetSize(); ++i)
    {
        const CTaskOrg* pEntry = pList->GetAt(i);
        if (pEntry == nullptr || pEntry->GetType() != TASKORG_KIND_UNIT)
            continue;
        CUnit* pUnit = GetUnit(pEntry->m_nUnit, pEntry->m_nArray, pList->m_nSide);
        if (pUnit == nullptr)
            continue;
        switch (dwBit)
        {
        case UNIT_ORDER_DISMOUNT:
            if (bSet && pUnit->HasPassengers())
                DismountUnits(pEntry->m_nUnit, pEntry->m_nArray, pList->m_nSide, pDatabase, pMap, FALSE);
            break;
        case UNIT_ORDER_SUPPRESS:
            if (bSet)
                pUnit->SetSuppressArea(pDatabase, fA, fB, fC);
            else
                pUnit->ClearSuppressArea();
            break;
        case UNIT_ORDER_MAX_RANGE:
            pUnit->ClearFireControl(1, pDatabase);
            break;
        case UNIT_ORDER_FIELD_OF_FIRE:
            pUnit->ClearFireControl(0, pDatabase);
            break;
        case UNIT_ORDER_MARCH_SPEED:
            if (pUnit->m_bDestroyed || pUnit->IsCarried())
                break;
            if (!bSet)
                pUnit->ClearMarchSpeed();
            else if (!pUnit->SetMarchSpeed(fSpeed, pDatabase))
                return 0;
            break;
        default:
            if (!pUnit->SetOrderState(dwBit, pDatabase, bSet, !bSet))
                return 0;
            break;
        }
    }
    if (dwBit == UNIT_ORDER_DISMOUNT || dwBit == UNIT_ORDER_SUPPRESS)
    {
        if (CHierarchyArray* pHierarchy = GetPresentHierarchy(pList->m_nSide))
            pHierarchy->UpdateToggleOrder(this, pMap, pDatabase, nullptr, nullptr);
    }
    return 1;
}

int CKDRUnits::GetUnitListVehicleValue(const CTaskOrgArray* pList, CKDRDatabase* pDatabase) const
{
    if (pList == nullptr || !VehiclesLoaded(pDatabase))
        return 0;
    int nKinds = 0;
    for (int i = 0; i < pList->GetSize(); ++i)
    {
        const CTaskOrg* pEntry = pList->GetAt(i);
        if (pEntry == nullptr || pEntry->GetType() != TASKORG_KIND_UNIT)
            continue;
        const CUnit* pUnit = GetUnit(pEntry->m_nUnit, pEntry->m_nArray, pList->m_nSide);
        if (pUnit == nullptr || pUnit->m_bDestroyed)
            continue;
        if (CVehicle* pType = pDatabase->GetVehicle(pUnit->m_nVehicle))
            nKinds |= pType->GetKindCode();
    }
    return nKinds;
}

int CKDRUnits::IsGroundVehicleOrElement(const CString& strName, int nUnit, int nArray, int nKind) const
{
    if (const CUnit* pUnit = GetUnit(nUnit, nArray, nKind))
        return pUnit->IsGroundVehicle() ? 1 : 0;
    if (const CHierarchyPlatoon* pElement = FindElementByName(strName))
        return pElement->IsGroundForce() ? 1 : 0;
    return 1;
}

// ---------------------------------------------------------------------------
// Elements and their units

int CKDRUnits::RejoinUnit(int nUnit, int nArray, int nKind, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    if (nUnit < 0 || nArray < 0 || nKind < 0 || pMap == nullptr)
        return 0;
    CHierarchyArray* pHierarchy = GetPresentHierarchy(nKind);
    if (pHierarchy == nullptr)
        return 0;
    int nLevel = 0;
    CHierarchyElement* pElement = pHierarchy->FindElementOfUnit(nUnit, nArray, nKind, nLevel);
    if (pElement == nullptr)
        return 0;
    const CString strHome = pElement->m_strName;
    for (int i = 0; i < pHierarchy->GetSize(); ++i)
    {
        auto* pChild = dynamic_cast<CHierarchyPlatoon*>(pHierarchy->GetChild(i));
        if (pChild != nullptr &&
            pChild->RecallDetachedByName(strHome, pHierarchy, this, pMap, pDatabase, pChild->GetLevel()) == 1)
            return 1;
    }
    return pElement->Refresh(pHierarchy, this, nLevel);
}

int CKDRUnits::UpdateElementOrders(int nUnit, int nArray, int nKind, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    if (nUnit < 0 || nArray < 0 || nKind < 0 || pMap == nullptr)
        return 0;
    CHierarchyArray* pHierarchy = GetPresentHierarchy(nKind);
    if (pHierarchy == nullptr)
        return 0;
    int nLevel = 0;
    CHierarchyElement* pElement = pHierarchy->FindElementOfUnit(nUnit, nArray, nKind, nLevel);
    if (pElement == nullptr || pElement->m_bDetached)
        return 0;
    int nIndex = kUnset;
    CHierarchyPlatoon* pPlatoon = pHierarchy->FindPlatoonOfElement(pElement->m_strName, nIndex);
    CHierarchyCompany* pCompany = nullptr;
    if (pPlatoon != nullptr && pPlatoon->GetLevel() == HIERARCHY_PLATOON)
        pHierarchy->FindPlatoonByName(pPlatoon->m_strName, pCompany);
    else if (pPlatoon != nullptr && pPlatoon->GetLevel() == HIERARCHY_COMPANY)
        pCompany = dynamic_cast<CHierarchyCompany*>(pPlatoon);
    auto moving = [](const CHierarchyPlatoon* pLevel)
    {
        return pLevel != nullptr && pLevel->m_pOrders != nullptr &&
               (pLevel->m_pOrders->GetFormationOrder() != nullptr || pLevel->m_pOrders->GetAIOrder() != nullptr);
    };
    if (!moving(pPlatoon) && !moving(pCompany))
        return 0;
    pElement->Detach(pHierarchy, this, pDatabase, FALSE);
    NotifyElementOfUnit(nUnit, nArray, nKind, NEWLY_DETACHED);
    return 1;
}

int CKDRUnits::ReplanElementPath(const CString& strName, const CNodeArray* pPath, CKDRGameMap* pMap,
                                 CKDRDatabase* pDatabase)
{
    CHierarchyPlatoon* pElement = FindElementByName(strName);
    if (pElement == nullptr || pPath == nullptr)
        return 0;
    // The edited path may be the element's own: plan from a copy.
    CNodeArray path(*pPath);
    path.EnableStartTimes(pElement->m_nSide != 0);
    return pElement->PlanPath(&path, this, pMap, pDatabase, kUnsetFloat, kUnsetFloat);
}

int CKDRUnits::LookupAIOrderUnit(const CString& strName, CKDRDatabase* pDatabase, int& nRange, int& nValueA,
                                 int& nValueB, float& fArea, DWORD& dwRoles)
{
    nRange = nValueA = nValueB = kUnset;
    fArea = kUnsetFloat;
    dwRoles = 0;
    const CHierarchyPlatoon* pElement = FindElementByName(strName);
    if (pElement == nullptr)
        return 0;
    const int nResult = pElement->GetWeaponSummary(this, pDatabase, nRange, nValueA, nValueB, fArea, dwRoles);
    if (nRange != kUnset)
        nRange *= METRES_PER_RANGE_STEP;
    return nResult;
}

CUOrdAIOrder* CKDRUnits::FindAIOrderByName(const CUnitOrderArray* pOrders, const CString& strName)
{
    if (pOrders == nullptr)
        return nullptr;
    for (int i = 0; i < pOrders->GetSize(); ++i)
    {
        CUnitOrder* pOrder = pOrders->GetAt(i);
        if (pOrder != nullptr && pOrder->GetOrderType() == UORD_AI_ORDER)
        {
            auto* pAIOrder = static_cast<CUOrdAIOrder*>(pOrder);
            if (pAIOrder->m_strName == strName)
                return pAIOrder;
        }
    }
    return nullptr;
}

int CKDRUnits::BeginAIOrderEdit(const CUOrdAIOrder*, CHierarchyPlatoon*, float, float) { return 0; }
int CKDRUnits::AssignAIOrder(const CUOrdAIOrder*, CHierarchyPlatoon*, float, float) { return 0; }

// ---------------------------------------------------------------------------
// The element selected in the shown hierarchy window

CHierarchyArray* CKDRUnits::GetTreeHierarchy() const
{
    if (!m_bTreeShown)
        return nullptr;
    CHierarchyArray* pHierarchy = GetPresentHierarchy(m_nTreeSide);
    return pHierarchy != nullptr && pHierarchy->m_pDialog != nullptr ? pHierarchy : nullptr;
}

BOOL CKDRUnits::IsSOPSetForPlatoon(int nItem, int& nState) const
{
    nState = 0;
    const CHierarchyArray* pTree = GetTreeHierarchy();
    if (pTree == nullptr)
        return FALSE;
    nState = pTree->SelectedHasToggle(static_cast<DWORD>(nItem));
    return TRUE;
}

BOOL CKDRUnits::GetPlatoonFormation(int nIndex, int& nItem) const
{
    nItem = 0;
    const CHierarchyArray* pTree = GetTreeHierarchy();
    if (pTree == nullptr || !m_bFormations || m_pFormations == nullptr)
        return FALSE;
    nItem = nIndex < 0 ? pTree->SelectedIsInSpecialFormation() : pTree->IsSelectedFormation(nIndex);
    return TRUE;
}

int CKDRUnits::SetPlatoonFormation(int nFormation, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    CHierarchyArray* pTree = GetTreeHierarchy();
    return pTree != nullptr ? pTree->SetFormationOfSelected(nFormation, m_nTreeSide, this, pMap, pDatabase) : 0;
}

int CKDRUnits::SetSelectionMission(int nMission, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    CHierarchyArray* pTree = GetTreeHierarchy();
    return pTree != nullptr ? pTree->AssignAIOrderToSelected(nMission, this, pMap, pDatabase) : 0;
}

int CKDRUnits::SetSelectionTACSOP(int nItem, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    CHierarchyArray* pTree = GetTreeHierarchy();
    return pTree != nullptr ? pTree->IssueAIOrderToSelected(nItem, this, pMap, pDatabase) : 0;
}

CString CKDRUnits::GetSelectedInfo() const
{
    const CHierarchyArray* pTree = GetTreeHierarchy();
    const CUnit* pUnit = pTree != nullptr ? pTree->GetSelectedUnit(const_cast<CKDRUnits*>(this)) : nullptr;
    return pUnit != nullptr ? pUnit->m_strName : CString();
}

CString CKDRUnits::GetSelectedSOP() const
{
    const CHierarchyArray* pTree = GetTreeHierarchy();
    return pTree != nullptr ? pTree->GetSelectedItemText() : CString();
}

BOOL CKDRUnits::DetachElement(CKDRDatabase* pDatabase, CKDRGameMap*, CKDRObstacles*, CKDRHoles*)
{
    CHierarchyArray* pTree = GetTreeHierarchy();
    CHierarchyElement* pElement = pTree != nullptr ? pTree->GetSelectedElement() : nullptr;
    if (pElement == nullptr)
        return FALSE;
    pElement->Detach(pTree, this, pDatabase, FALSE);
    return TRUE;
}

BOOL CKDRUnits::RecallDetached(CKDRDatabase* pDatabase, CKDRGameMap* pMap, CKDRObstacles*, CKDRHoles*)
{
    CHierarchyArray* pTree = GetTreeHierarchy();
    CHierarchyPlatoon* pSelected = pTree != nullptr ? pTree->GetSelectedContainer() : nullptr;
    return pSelected != nullptr && pSelected->RecallDetached(pTree, this, pMap, pDatabase, kUnset) != 0;
}

BOOL CKDRUnits::CanDetachElement() const
{
    const CHierarchyArray* pTree = GetTreeHierarchy();
    const CHierarchyElement* pElement = pTree != nullptr ? pTree->GetSelectedElement() : nullptr;
    return pElement != nullptr && !pElement->m_bDetached;
}

BOOL CKDRUnits::CanRecallDetached() const
{
    const CHierarchyArray* pTree = GetTreeHierarchy();
    const CHierarchyPlatoon* pSelected = pTree != nullptr ? pTree->GetSelectedContainer() : nullptr;
    return pSelected != nullptr && pSelected->HasDetachedAliveElement();
}
