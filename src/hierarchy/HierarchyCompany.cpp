#include "hierarchy/HierarchyCompany.h"

#include "database/Vehicle.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchySupport.h"
#include "orders/NodeArray.h"
#include "orders/UnitOrderArray.h"
#include "platform/core/Unset.h"
#include "units/UnitRefArray.h"

#include <algorithm>
#include <memory>
#include <vector>

IMPLEMENT_SERIAL(CHierarchyCompany, CHierarchyPlatoon, 1)

using namespace hierarchy;

namespace
{
BOOL AcceptCompanyChild(const CRuntimeClass* pClass)
{
    return pClass->IsDerivedFrom(RUNTIME_CLASS(CHierarchyElement)) ||
           (pClass->IsDerivedFrom(RUNTIME_CLASS(CHierarchyPlatoon)) &&
            !pClass->IsDerivedFrom(RUNTIME_CLASS(CHierarchyCompany)));
}
}  // namespace

CHierarchyCompany::CHierarchyCompany() = default;

CHierarchyCompany::CHierarchyCompany(const CHierarchyCompany& source, BOOL bStructureOnly, FieldsOnly)
    : CHierarchyPlatoon(source, bStructureOnly, FieldsOnly())
{
}

CHierarchyCompany::CHierarchyCompany(const CHierarchyCompany& source, BOOL bStructureOnly)
    : CHierarchyCompany(source, bStructureOnly, FieldsOnly())
{
    CopyChildren(source, bStructureOnly);
}

CHierarchyCompany::~CHierarchyCompany() = default;

void CHierarchyCompany::CopyChildren(const CHierarchyPlatoon& source, BOOL bStructureOnly)
{
    for (int i = 0; i < source.GetSize(); ++i)
    {
        CObject* pChild = source.GetChild(i);
        if (const CHierarchyElement* pElement = AsElement(pChild))
            Add(new CHierarchyElement(*pElement, bStructureOnly));
        else if (const CHierarchyPlatoon* pPlatoon = AsPlatoon(pChild))
            Add(new CHierarchyPlatoon(*pPlatoon, bStructureOnly));
        else if (const CHierarchyCompany* pCompany = AsCompany(pChild))
            Add(new CHierarchyCompany(*pCompany, bStructureOnly));
    }
}

CArchive::ClassTest CHierarchyCompany::GetChildTest() const { return AcceptCompanyChild; }

CHierarchyElement* CHierarchyCompany::GetElement(int i) const { return AsElement(GetChild(i)); }

CHierarchyPlatoon* CHierarchyCompany::GetPlatoon(int i) const { return AsPlatoon(GetChild(i)); }

// ---------------------------------------------------------------------------
// The override pattern: own first, then each platoon

void CHierarchyCompany::RenumberAfterRemoval(int nUnit, int nArray, int nSide)
{
    CHierarchyPlatoon::RenumberAfterRemoval(nUnit, nArray, nSide);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->RenumberAfterRemoval(nUnit, nArray, nSide);
    }
}

CHierarchyPlatoon* CHierarchyCompany::FindPlatoonOfElement(const CString& strName, int& nIndex)
{
    if (CHierarchyPlatoon* pFound = CHierarchyPlatoon::FindPlatoonOfElement(strName, nIndex))
        return pFound;
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        CHierarchyPlatoon* pFound = pPlatoon != nullptr ? pPlatoon->FindPlatoonOfElement(strName, nIndex) : nullptr;
        if (pFound != nullptr)
            return pFound;
    }
    nIndex = kUnset;
    return nullptr;
}

int CHierarchyCompany::CollectTaskOrgNames(CStringArray& names, CDWordArray& counts, int nPosition, int& nInsert,
                                           int& nRemoved, CTaskOrgArray* pList)
{
    int nRemovedHere = CHierarchyPlatoon::CollectTaskOrgNames(names, counts, nPosition, nInsert, nRemoved, pList);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            nRemovedHere += pPlatoon->CollectTaskOrgNames(names, counts, nPosition, nInsert, nRemoved, pList);
    }
    return nRemovedHere;
}

void CHierarchyCompany::SetSide(int nSide)
{
    CHierarchyPlatoon::SetSide(nSide);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->SetSide(nSide);
    }
}

void CHierarchyCompany::ResetOrders()
{
    CHierarchyPlatoon::ResetOrders();
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->ResetOrders();
    }
}

int CHierarchyCompany::RestartAIOrder(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                                      CKDRObstacles* pObstacles, CKDRHoles* pHoles)
{
    int nResult = CHierarchyPlatoon::RestartAIOrder(pUnits, pMap, pDatabase, pObstacles, pHoles);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            nResult |= pPlatoon->RestartAIOrder(pUnits, pMap, pDatabase, pObstacles, pHoles);
    }
    return nResult;
}

int CHierarchyCompany::UpdateToggleOrder(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                                         CKDRObstacles* pObstacles, CKDRHoles* pHoles)
{
    // The platoons first, then the company's own toggle order.
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->UpdateToggleOrder(pUnits, pMap, pDatabase, pObstacles, pHoles);
    }
    return CHierarchyPlatoon::UpdateToggleOrder(pUnits, pMap, pDatabase, pObstacles, pHoles);
}

int CHierarchyCompany::SetSuppressRadius(float fX, float fY, float fRadius, CKDRUnits* pUnits)
{
    const int nResult = CHierarchyPlatoon::SetSuppressRadius(fX, fY, fRadius, pUnits);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->SetSuppressRadius(fX, fY, fRadius, pUnits);
    }
    return nResult;
}

DWORD CHierarchyCompany::GetRoleFlags(CKDRUnits* pUnits, CKDRDatabase* pDatabase) const
{
    DWORD dwRoles = CHierarchyPlatoon::GetRoleFlags(pUnits, pDatabase);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            dwRoles |= pPlatoon->GetRoleFlags(pUnits, pDatabase);
    }
    return dwRoles;
}

void CHierarchyCompany::RemoveFromTaskOrg(CTaskOrgArray* pList) const
{
    CHierarchyPlatoon::RemoveFromTaskOrg(pList);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->RemoveFromTaskOrg(pList);
    }
}

int CHierarchyCompany::TestInArea(DWORD dwStatus, BOOL bStopAtFirstMet, BOOL bStopWhenShort, CKDRUnits* pUnits,
                                  CKDRObstacles* pObstacles, CKDRDatabase* pDatabase, CKDRGameMap* pMap, int& nCounted,
                                  float fRadius, float fX, float fY, const CRect& area, BOOL bElliptic)
{
    int nTally = CHierarchyPlatoon::TestInArea(dwStatus, bStopAtFirstMet, bStopWhenShort, pUnits, pObstacles, pDatabase,
                                               pMap, nCounted, fRadius, fX, fY, area, bElliptic);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            nTally += pPlatoon->TestInArea(dwStatus, bStopAtFirstMet, bStopWhenShort, pUnits, pObstacles, pDatabase,
                                           pMap, nCounted, fRadius, fX, fY, area, bElliptic);
    }
    return nTally;
}

int CHierarchyCompany::DetachDismounts(BOOL bDetach, CHierarchyArray* pHierarchy, CKDRUnits* pUnits,
                                       CKDRDatabase* pDatabase, BOOL bMarkStates)
{
    CHierarchyPlatoon::DetachDismounts(bDetach, pHierarchy, pUnits, pDatabase, bMarkStates);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->DetachDismounts(bDetach, pHierarchy, pUnits, pDatabase, bMarkStates);
    }
    return 1;
}

int CHierarchyCompany::AllElementsSatisfy(BOOL (CUnit::*pfnTest)() const, CKDRUnits* pUnits) const
{
    if (!CHierarchyPlatoon::AllElementsSatisfy(pfnTest, pUnits))
        return 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        if (pPlatoon != nullptr && !pPlatoon->AllElementsSatisfy(pfnTest, pUnits))
            return 0;
    }
    return 1;
}

int CHierarchyCompany::UpdateOrders(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                                    CKDRObstacles* pObstacles, CKDRHoles* pHoles)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->UpdateOrders(pUnits, pMap, pDatabase, pObstacles, pHoles);
    }
    // CountLiveVehicles covers the platoons: a company whose own vehicles
    // are all lost keeps its orders while its platoons fight on.
    return CHierarchyPlatoon::UpdateOrders(pUnits, pMap, pDatabase, pObstacles, pHoles);
}

int CHierarchyCompany::CollectDismountElements(CTaskOrgArray* pList, CKDRUnits* pUnits) const
{
    if (pList == nullptr)
        return 0;
    int nCount = CHierarchyPlatoon::CollectDismountElements(pList, pUnits);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            nCount += pPlatoon->CollectDismountElements(pList, pUnits);
    }
    return nCount;
}

int CHierarchyCompany::CollectCarrierElements(CTaskOrgArray* pList, CKDRUnits* pUnits) const
{
    if (pList == nullptr)
        return 0;
    int nCount = CHierarchyPlatoon::CollectCarrierElements(pList, pUnits);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            nCount += pPlatoon->CollectCarrierElements(pList, pUnits);
    }
    return nCount;
}

int CHierarchyCompany::CountBreachers(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nObstacleType) const
{
    int nCount = CHierarchyPlatoon::CountBreachers(pUnits, pDatabase, nObstacleType);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            nCount += pPlatoon->CountBreachers(pUnits, pDatabase, nObstacleType);
    }
    return nCount;
}

CUnitRefArray* CHierarchyCompany::CollectContacts(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nRoleMask,
                                                  const CRect& area) const
{
    if (pUnits == nullptr || pDatabase == nullptr)
        return nullptr;
    auto* pAll = new CUnitRefArray;
    std::unique_ptr<CUnitRefArray> pOwn(CHierarchyPlatoon::CollectContacts(pUnits, pDatabase, nRoleMask, area));
    pAll->Merge(pOwn.get());
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        if (pPlatoon == nullptr)
            continue;
        std::unique_ptr<CUnitRefArray> pTheirs(pPlatoon->CollectContacts(pUnits, pDatabase, nRoleMask, area));
        if (pTheirs != nullptr)
            pAll->Merge(pTheirs.get());
    }
    return pAll;
}

void CHierarchyCompany::MoveAllElementsTo(CTaskOrgArray& target)
{
    CHierarchyPlatoon::MoveAllElementsTo(target);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->MoveAllElementsTo(target);
    }
    // Every platoon is empty now; they go, and the company ends empty.
    DeleteAllChildren();
}

void CHierarchyCompany::RemoveElementsWithoutRole(int nRoleMask, CKDRUnits* pUnits, CKDRDatabase* pDatabase)
{
    CHierarchyPlatoon::RemoveElementsWithoutRole(nRoleMask, pUnits, pDatabase);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->RemoveElementsWithoutRole(nRoleMask, pUnits, pDatabase);
    }
}

float CHierarchyCompany::SumWeaponValue(int nRoleMask, int nMinPenetration, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                        float& fSum, int& nCount) const
{
    float fAdded = CHierarchyPlatoon::SumWeaponValue(nRoleMask, nMinPenetration, pUnits, pDatabase, fSum, nCount);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            fAdded += pPlatoon->SumWeaponValue(nRoleMask, nMinPenetration, pUnits, pDatabase, fSum, nCount);
    }
    return fAdded;
}

int CHierarchyCompany::CountLiveVehicles(DWORD dwMask, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                         BOOL bIncludeDead) const
{
    int nCount = CHierarchyPlatoon::CountLiveVehicles(dwMask, pUnits, pDatabase, bIncludeDead);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            nCount += pPlatoon->CountLiveVehicles(dwMask, pUnits, pDatabase, bIncludeDead);
    }
    return nCount;
}

float CHierarchyCompany::SumDefaultSuppressRadius(CKDRUnits* pUnits, CKDRDatabase* pDatabase, float fX, float fY) const
{
    float fSum = CHierarchyPlatoon::SumDefaultSuppressRadius(pUnits, pDatabase, fX, fY);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            fSum += pPlatoon->SumDefaultSuppressRadius(pUnits, pDatabase, fX, fY);
    }
    return fSum;
}

int CHierarchyCompany::RateValue(CKDRUnits* pUnits, CKDRDatabase* pDatabase) const
{
    int nRating = CHierarchyPlatoon::RateValue(pUnits, pDatabase);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            nRating += pPlatoon->RateValue(pUnits, pDatabase);
    }
    return nRating;
}

int CHierarchyCompany::SetAIOrder(const CUOrdAIOrder* pOrder, CKDRUnits* pUnits, CKDRGameMap* pMap,
                                  CKDRDatabase* pDatabase, CKDRObstacles* pObstacles, CKDRHoles* pHoles)
{
    RecordAIOrderGiven(pOrder);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->RemoveAIOrders();
    }
    return CHierarchyPlatoon::SetAIOrder(pOrder, pUnits, pMap, pDatabase, pObstacles, pHoles);
}

void CHierarchyCompany::RemoveAIOrders()
{
    CHierarchyPlatoon::RemoveAIOrders();
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->RemoveAIOrders();
    }
}

int CHierarchyCompany::FillUnitList(CTaskOrgArray* pList, BOOL bWithName) const
{
    if (!CHierarchyPlatoon::FillUnitList(pList, bWithName))
        return 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->FillUnitList(pList, bWithName);
    }
    pList->m_nSide = m_nSide;
    return 1;
}

CHierarchyElement* CHierarchyCompany::FindElementByName(const CString& strName, BOOL bRemove)
{
    if (CHierarchyElement* pElement = CHierarchyPlatoon::FindElementByName(strName, bRemove))
        return pElement;
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        CHierarchyElement* pElement = pPlatoon != nullptr ? pPlatoon->FindElementByName(strName, bRemove) : nullptr;
        if (pElement != nullptr)
            return pElement;
    }
    return nullptr;
}

HTREEITEM CHierarchyCompany::InsertTreeItems(CTreeCtrl* pTree, const CStringArray& names, HTREEITEM hParent)
{
    const HTREEITEM hItem = CHierarchyPlatoon::InsertTreeItems(pTree, names, hParent);
    if (hItem == nullptr)
        return nullptr;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->InsertTreeItems(pTree, names, hItem);
    }
    return hItem;
}

void CHierarchyCompany::CollectSymbolNames(CStringArray& names) const
{
    CHierarchyPlatoon::CollectSymbolNames(names);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->CollectSymbolNames(names);
    }
}

int CHierarchyCompany::GetAveragePosition(float& fX, float& fY, int& nCount, CKDRDatabase* pDatabase,
                                          CKDRUnits* pUnits) const
{
    // Each part's average weighs by the number of units it covers.
    float fPartX = 0.0f;
    float fPartY = 0.0f;
    int nPart = 0;
    CHierarchyPlatoon::GetAveragePosition(fPartX, fPartY, nPart, pDatabase, pUnits);
    float fSumX = fPartX * static_cast<float>(nPart);
    float fSumY = fPartY * static_cast<float>(nPart);
    int nTotal = nPart;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        if (pPlatoon == nullptr)
            continue;
        pPlatoon->GetAveragePosition(fPartX, fPartY, nPart, pDatabase, pUnits);
        fSumX += fPartX * static_cast<float>(nPart);
        fSumY += fPartY * static_cast<float>(nPart);
        nTotal += nPart;
    }
    nCount = nTotal;
    fX = nTotal > 0 ? fSumX / static_cast<float>(nTotal) : 0.0f;
    fY = nTotal > 0 ? fSumY / static_cast<float>(nTotal) : 0.0f;
    return nTotal > 0 ? 1 : 0;
}

int CHierarchyCompany::ResetFormation(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, BOOL bKeepPath)
{
    int nResult = CHierarchyPlatoon::ResetFormation(pUnits, pMap, pDatabase, TRUE);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            nResult |= pPlatoon->ResetFormation(pUnits, pMap, pDatabase, bKeepPath);
    }
    ResetPath(pUnits);
    return nResult;
}

int CHierarchyCompany::IndexOfElementByName(const CString& strName) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CObject* pChild = GetChild(i);
        if (const CHierarchyElement* pElement = AsElement(pChild))
        {
            if (pElement->m_strName == strName)
                return i;
        }
        else if (const CHierarchyPlatoon* pContainer = AsContainer(pChild))
        {
            if (pContainer->m_strName == strName)
                return i;
        }
    }
    return kUnset;
}

float CHierarchyCompany::GetHeading(CKDRUnits* pUnits)
{
    const float fOwn = CHierarchyPlatoon::GetHeading(pUnits);
    if (fOwn != kUnsetFloat)
        return fOwn;
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        const float fHeading = pPlatoon != nullptr ? pPlatoon->GetHeading(pUnits) : kUnsetFloat;
        if (fHeading != kUnsetFloat)
            return fHeading;
    }
    return kUnsetFloat;
}

int CHierarchyCompany::RecallDetached(CHierarchyArray* pHierarchy, CKDRUnits* pUnits, CKDRGameMap* pMap,
                                      CKDRDatabase* pDatabase, int nLevel)
{
    if (pHierarchy == nullptr || pUnits == nullptr)
        return 0;
    CHierarchyPlatoon::RecallDetached(pHierarchy, pUnits, pMap, pDatabase, nLevel);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->RecallDetached(pHierarchy, pUnits, pMap, pDatabase, nLevel);
    }
    PickLeader(pHierarchy);
    ResetPath(pUnits);
    return 1;
}

int CHierarchyCompany::RecallAllDetached(CHierarchyArray* pHierarchy, CKDRUnits* pUnits, CKDRGameMap* pMap,
                                         CKDRDatabase* pDatabase, int nLevel)
{
    const BOOL bFormation = m_pOrders != nullptr && m_pOrders->GetFormationOrder() != nullptr;
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        if (pPlatoon == nullptr)
            continue;
        if (!bFormation)
        {
            pPlatoon->RecallAllDetached(pHierarchy, pUnits, pMap, pDatabase, nLevel);
            continue;
        }
        // In a company formation the elements come back to the company's
        // route, not to their platoons'.
        for (int k = 0; k < pPlatoon->GetSize(); ++k)
        {
            CHierarchyElement* pElement = pPlatoon->GetElement(k);
            if (pElement != nullptr && pElement->m_bDetached)
                pElement->Refresh(pHierarchy, pUnits, HIERARCHY_PLATOON);
        }
    }
    return CHierarchyPlatoon::RecallAllDetached(pHierarchy, pUnits, pMap, pDatabase, nLevel);
}

int CHierarchyCompany::RecallDetachedByName(const CString& strName, CHierarchyArray* pHierarchy, CKDRUnits* pUnits,
                                            CKDRGameMap* pMap, CKDRDatabase* pDatabase, int nLevel)
{
    const int nOwn = CHierarchyPlatoon::RecallDetachedByName(strName, pHierarchy, pUnits, pMap, pDatabase, nLevel);
    if (nOwn != 0)
        return nOwn;
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        const int nResult = pPlatoon != nullptr
                                ? pPlatoon->RecallDetachedByName(strName, pHierarchy, pUnits, pMap, pDatabase, nLevel)
                                : 0;
        if (nResult != 0)
            return nResult;
    }
    return 0;
}

BOOL CHierarchyCompany::HasDetachedAliveElement() const
{
    if (CHierarchyPlatoon::HasDetachedAliveElement())
        return TRUE;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        if (pPlatoon != nullptr && pPlatoon->HasDetachedAliveElement())
            return TRUE;
    }
    return FALSE;
}

int CHierarchyCompany::ApplyNodeFormations(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                                           CKDRObstacles* pObstacles, CKDRHoles* pHoles)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->ApplyNodeFormations(pUnits, pMap, pDatabase, pObstacles, pHoles);
    }
    return CHierarchyPlatoon::ApplyNodeFormations(pUnits, pMap, pDatabase, pObstacles, pHoles);
}

void CHierarchyCompany::DrawPath(CKDRGameMap* pMap, BOOL bSelected)
{
    CHierarchyPlatoon::DrawPath(pMap, bSelected);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->DrawPath(pMap, bSelected);
    }
}

int CHierarchyCompany::ClearStops(CKDRUnits* pUnits)
{
    int nResult = CHierarchyPlatoon::ClearStops(pUnits);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            nResult |= pPlatoon->ClearStops(pUnits);
    }
    return nResult;
}

int CHierarchyCompany::CheckConditionalStarts(DWORD dwEvent, DWORD id1, DWORD id2, DWORD id3, DWORD id4, DWORD id5,
                                              DWORD id6, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    // The company's own starts first; the first that fires ends the check.
    if (CHierarchyPlatoon::CheckConditionalStarts(dwEvent, id1, id2, id3, id4, id5, id6, pUnits, pMap, pDatabase))
        return 1;
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        if (pPlatoon != nullptr &&
            pPlatoon->CheckConditionalStarts(dwEvent, id1, id2, id3, id4, id5, id6, pUnits, pMap, pDatabase))
            return 1;
    }
    return 0;
}

int CHierarchyCompany::AttachCallBackUnits(CCallBackUnitArray* pRecords, int nFirstWord, CKDRUnits* pUnits,
                                           CKDRDatabase* pDatabase) const
{
    int nAdded = CHierarchyPlatoon::AttachCallBackUnits(pRecords, nFirstWord, pUnits, pDatabase);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            nAdded += pPlatoon->AttachCallBackUnits(pRecords, nFirstWord, pUnits, pDatabase);
    }
    return nAdded;
}

int CHierarchyCompany::ShiftPath(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, float fX2, float fY2,
                                 BOOL bSkip)
{
    CHierarchyPlatoon::ShiftPath(pUnits, pMap, pDatabase, fX2, fY2, bSkip);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->ShiftPath(pUnits, pMap, pDatabase, fX2, fY2, bSkip);
    }
    return 1;
}

int CHierarchyCompany::ReceivePath(const CNodeArray* pPath, CKDRUnits* pUnits, CKDRGameMap* pMap,
                                   CKDRDatabase* pDatabase, float fX, float fY, BOOL bFromStart)
{
    float fPosX = kUnsetFloat;
    float fPosY = kUnsetFloat;
    GetPosition(fPosX, fPosY, pUnits);
    if (pPath == nullptr || m_pPath == nullptr || fPosX < 0.0f || fPosY < 0.0f)
        return 0;
    const CNodeArray given(*pPath);
    const BOOL bCopied =
        bFromStart ? m_pPath->CopyWithStart(given, fPosX, fPosY, pMap) : m_pPath->CopyOffset(given, fPosX, fPosY, pMap);
    if (!bCopied)
        return 0;
    // Without a company formation each platoon follows the new path from
    // its own place.
    if (m_pOrders == nullptr || m_pOrders->GetFormationOrder() == nullptr)
    {
        for (int i = 0; i < GetSize(); ++i)
        {
            if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
                pPlatoon->ReceivePath(m_pPath, pUnits, pMap, pDatabase, fX, fY, TRUE);
        }
    }
    ExecutePath(pUnits, pMap, pDatabase, fX, fY, FALSE);
    return bCopied;
}

int CHierarchyCompany::PlanPath(const CNodeArray* pPath, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                                float fX, float fY)
{
    if (pUnits == nullptr)
        return 0;
    float fPosX = kUnsetFloat;
    float fPosY = kUnsetFloat;
    if (m_pPath != nullptr && GetPosition(fPosX, fPosY, pUnits) && fPosX >= 0.0f && fPosY >= 0.0f)
    {
        if (m_pPath->GetSize() == 0 || m_pPath->GetAt(0) == nullptr)
            m_pPath->ResetToPoint(fPosX, fPosY, m_nSide != 0);
        else
        {
            m_pPath->GetAt(0)->m_fX = fPosX;
            m_pPath->GetAt(0)->m_fY = fPosY;
        }
    }
    if (pPath == nullptr || pPath->GetSize() == 0)
        return 1;
    CHierarchyPlatoon::PlanPath(pPath, pUnits, pMap, pDatabase, fX, fY);
    if (m_pOrders == nullptr || m_pOrders->GetFormationOrder() == nullptr)
    {
        for (int i = 0; i < GetSize(); ++i)
        {
            CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
            float fPlatoonX = kUnsetFloat;
            float fPlatoonY = kUnsetFloat;
            if (pPlatoon == nullptr)
                continue;
            pPlatoon->GetPosition(fPlatoonX, fPlatoonY, pUnits);
            pPlatoon->CopyPath(fPlatoonX, fPlatoonY, pPath, pUnits, pMap, TRUE);
            pPlatoon->ExecutePath(pUnits, pMap, pDatabase, fX, fY, TRUE);
        }
    }
    return 1;
}

CTaskOrgArray* CHierarchyCompany::SelectInRectangle(float fX1, float fY1, float fX2, float fY2, BOOL bWanted,
                                                    CKDRUnits* pUnits)
{
    CTaskOrgArray* pList = CHierarchyPlatoon::SelectInRectangle(fX1, fY1, fX2, fY2, bWanted, pUnits);
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        if (pPlatoon == nullptr)
            continue;
        std::unique_ptr<CTaskOrgArray> pTheirs(pPlatoon->SelectInRectangle(fX1, fY1, fX2, fY2, bWanted, pUnits));
        pList->AppendCopies(*pTheirs);
    }
    return pList;
}

void CHierarchyCompany::GetElementLabels(CStringArray& labels, CKDRDatabase* pDatabase, CKDRUnits* pUnits) const
{
    CHierarchyPlatoon::GetElementLabels(labels, pDatabase, pUnits);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->GetElementLabels(labels, pDatabase, pUnits);
    }
}

void CHierarchyCompany::DrawUnitSymbol(DWORD dwOptions, BOOL bPlatoons, BOOL bCompanies, CKDRGameMap* pMap,
                                       CKDRDatabase* pDatabase, CKDRUnits* pUnits)
{
    if (bCompanies)
        CHierarchyPlatoon::DrawUnitSymbol(dwOptions, bPlatoons, bCompanies, pMap, pDatabase, pUnits);
    if (!bPlatoons)
        return;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->DrawUnitSymbol(dwOptions, bPlatoons, bCompanies, pMap, pDatabase, pUnits);
    }
}

void CHierarchyCompany::DrawCircleSymbol(BOOL bPlatoons, BOOL bCompanies, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                         CKDRGameMap* pMap, DWORD dwOptions)
{
    if (bCompanies)
        CHierarchyPlatoon::DrawCircleSymbol(bPlatoons, bCompanies, pUnits, pDatabase, pMap, dwOptions);
    if (!bPlatoons)
        return;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->DrawCircleSymbol(bPlatoons, bCompanies, pUnits, pDatabase, pMap, dwOptions);
    }
}

BOOL CHierarchyCompany::HasFireDirectionFor(int nUnit, int nArray, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                            BOOL bFlag) const
{
    if (CHierarchyPlatoon::HasFireDirectionFor(nUnit, nArray, pUnits, pDatabase, bFlag))
        return TRUE;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        if (pPlatoon != nullptr && pPlatoon->HasFireDirectionFor(nUnit, nArray, pUnits, pDatabase, bFlag))
            return TRUE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Container operations

int CHierarchyCompany::SetTreeItemHandle(HTREEITEM hOld, HTREEITEM hNew)
{
    if (CHierarchyPlatoon::SetTreeItemHandle(hOld, hNew))
        return 1;
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyPlatoon* pContainer = AsContainer(GetChild(i));
        if (pContainer != nullptr && pContainer->SetTreeItemHandle(hOld, hNew))
            return 1;
    }
    return 0;
}

void CHierarchyCompany::PickLeader(CHierarchyArray* pHierarchy)
{
    if (pHierarchy == nullptr)
        return;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->PickLeader(pHierarchy);
    }
    CHierarchyPlatoon::PickLeader(pHierarchy);
}

void CHierarchyCompany::ClearLeaders(CHierarchyArray* pHierarchy)
{
    CHierarchyPlatoon::ClearLeaders(pHierarchy);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->ClearLeaders(pHierarchy);
    }
}

BOOL CHierarchyCompany::NameExists(const CString& strName) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CObject* pChild = GetChild(i);
        if (const CHierarchyElement* pElement = AsElement(pChild))
        {
            if (pElement->m_strName == strName)
                return TRUE;
        }
        else if (const CHierarchyPlatoon* pContainer = AsContainer(pChild))
        {
            if (pContainer->m_strName == strName || pContainer->NameExists(strName))
                return TRUE;
        }
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Company-only slots and operations

int CHierarchyCompany::FindElementAnywhere(int nUnit, int nArray, int& nPlatoon) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        const int nIndex = pPlatoon != nullptr ? pPlatoon->FindTaskOrg(nUnit, nArray) : kUnset;
        if (nIndex != kUnset)
        {
            nPlatoon = i;
            return nIndex;
        }
    }
    nPlatoon = kUnset;
    return FindTaskOrg(nUnit, nArray);
}

int CHierarchyCompany::AcceptDroppedItem(CObject*, int) { return 0; }
int CHierarchyCompany::TakeDraggedItem(const CString&, int) { return 0; }

CHierarchyPlatoon* CHierarchyCompany::TakePlatoonByName(const CString& strName, BOOL bRemove)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        if (pPlatoon == nullptr || pPlatoon->m_strName != strName)
            continue;
        if (bRemove)
            RemoveAtNoDelete(i);
        return pPlatoon;
    }
    return nullptr;
}

CHierarchyPlatoon* CHierarchyCompany::FindPlatoonByName(const CString& strName) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        if (pPlatoon != nullptr && pPlatoon->m_strName == strName)
            return pPlatoon;
    }
    return nullptr;
}

CHierarchyElement* CHierarchyCompany::FindElementInCompany(const CString& strName, CHierarchyPlatoon*& pPlatoon)
{
    pPlatoon = nullptr;
    if (CHierarchyElement* pElement = CHierarchyPlatoon::FindElementByName(strName, FALSE))
        return pElement;
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyPlatoon* pChild = GetPlatoon(i);
        if (pChild == nullptr)
            continue;
        if (pChild->m_strName == strName)
        {
            pPlatoon = pChild;
            return nullptr;
        }
        if (CHierarchyElement* pElement = pChild->FindElementByName(strName, FALSE))
        {
            pPlatoon = pChild;
            return pElement;
        }
    }
    return nullptr;
}

void CHierarchyCompany::RemoveAllPlatoons()
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        if (pPlatoon == nullptr)
            continue;
        pPlatoon->RemoveAllNoDelete();
        delete pPlatoon;
    }
    RemoveAllNoDelete();
}

BOOL CHierarchyCompany::FindPlatoonPosition(float& fX, float& fY, CKDRUnits* pUnits) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        if (pPlatoon != nullptr && pPlatoon->GetFormationPosition(fX, fY, pUnits, FALSE))
            return TRUE;
    }
    fX = kUnsetFloat;
    fY = kUnsetFloat;
    return FALSE;
}

void CHierarchyCompany::OrderPlatoons(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int& nOthers)
{
    struct Ranked
    {
        CObject* pChild;
        int nEngineers;
        int nValue;
    };
    std::vector<Ranked> engineers;
    std::vector<Ranked> others;
    std::vector<CObject*> elements;
    for (int i = 0; i < GetSize(); ++i)
    {
        CObject* pChild = GetChild(i);
        const CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        if (pPlatoon == nullptr)
        {
            elements.push_back(pChild);
            continue;
        }
        const int nEngineers = pPlatoon->CountLiveVehicles(ROLE_ENGINEER, pUnits, pDatabase);
        int nCategory = 0;
        const int nValue = pPlatoon->GetAverageVehicleValues(nCategory, pUnits, pDatabase);
        (nEngineers > 0 ? engineers : others).push_back({pChild, nEngineers, nValue});
    }
    std::stable_sort(engineers.begin(), engineers.end(),
                     [](const Ranked& a, const Ranked& b) { return a.nEngineers > b.nEngineers; });
    std::stable_sort(others.begin(), others.end(),
                     [](const Ranked& a, const Ranked& b) { return a.nValue > b.nValue; });
    nOthers = static_cast<int>(others.size());
    RemoveAllNoDelete();
    for (const Ranked& r : engineers)
        Add(r.pChild);
    for (const Ranked& r : others)
        Add(r.pChild);
    for (CObject* pChild : elements)
        Add(pChild);
}
