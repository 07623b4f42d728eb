// The battalion level: construction, finding a unit's element, the marks
// kept with the units, the leaders and the overrides of the shared table.

#include "hierarchy/HierarchyArray.h"

#include "hierarchy/HierarchyDlg.h"
#include "hierarchy/HierarchySupport.h"
#include "orders/NodeArray.h"
#include "orders/UnitOrderArray.h"
#include "platform/core/Unset.h"
#include "shell/DrawService.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"
#include "units/UnitRefArray.h"

#include <memory>

IMPLEMENT_SERIAL(CHierarchyArray, CHierarchyCompany, 1)

using namespace hierarchy;

namespace
{
BOOL AcceptBattalionChild(const CRuntimeClass* pClass)
{
    return pClass->IsDerivedFrom(RUNTIME_CLASS(CHierarchyElement)) ||
           (pClass->IsDerivedFrom(RUNTIME_CLASS(CHierarchyPlatoon)) &&
            !pClass->IsDerivedFrom(RUNTIME_CLASS(CHierarchyArray)));
}
}  // namespace

// ---------------------------------------------------------------------------
// Construction

CHierarchyArray::CHierarchyArray() : m_pDialog(nullptr), m_nWord(0), m_nHeldKind(0), m_bHeld(FALSE), m_pHeld(nullptr)
{
    m_nId = kUnset;
    m_pDialog = new CHierarchyDlg(this);
}

CHierarchyArray::CHierarchyArray(const CHierarchyArray& source, BOOL bStructureOnly)
    : CHierarchyCompany(source, bStructureOnly, FieldsOnly()),
      m_pDialog(nullptr),
      m_strText(source.m_strText),
      m_nWord(0),
      m_nHeldKind(0),
      m_bHeld(FALSE),
      m_pHeld(nullptr)
{
    if (bStructureOnly)
    {
        // A shape only: no window, no orders, no path.
        m_nId = kUnset;
        delete m_pOrders;
        m_pOrders = nullptr;
        delete m_pAIOrders;
        m_pAIOrders = nullptr;
        delete m_pPath;
        m_pPath = nullptr;
    }
    else
    {
        m_pDialog = new CHierarchyDlg(this);
    }
    CopyChildren(source, bStructureOnly);
}

CHierarchyArray::~CHierarchyArray()
{
    delete m_pDialog;
    if (m_bHeld)
        delete m_pHeld;
}

CArchive::ClassTest CHierarchyArray::GetChildTest() const { return AcceptBattalionChild; }

void CHierarchyArray::SwapContents(CHierarchyArray& other)
{
    SwapRecord(other);
    std::swap(m_strText, other.m_strText);
    std::swap(m_nWord, other.m_nWord);
    std::swap(m_astrSymbolNames, other.m_astrSymbolNames);
    std::swap(m_nHeldKind, other.m_nHeldKind);
    std::swap(m_bHeld, other.m_bHeld);
    std::swap(m_pHeld, other.m_pHeld);
}

CHierarchyCompany* CHierarchyArray::GetCompany(int i) const { return AsCompany(GetChild(i)); }

// ---------------------------------------------------------------------------
// Finding a unit's element

int CHierarchyArray::FindElementIndex(int nUnit, int nArray, int& nPlatoon, int& nCompany)
{
    // The own side has one unit array: its array index says nothing.
    if (m_nSide == 0)
        nArray = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyCompany* pCompany = GetCompany(i))
        {
            int nInCompany = kUnset;
            const int nIndex = pCompany->FindElementAnywhere(nUnit, nArray, nInCompany);
            if (nIndex != kUnset)
            {
                nCompany = i;
                nPlatoon = nInCompany;
                return nIndex;
            }
        }
        else if (const CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
        {
            const int nIndex = pPlatoon->FindTaskOrg(nUnit, nArray);
            if (nIndex != kUnset)
            {
                nCompany = kUnset;
                nPlatoon = i;
                return nIndex;
            }
        }
    }
    nPlatoon = kUnset;
    nCompany = kUnset;
    return FindTaskOrg(nUnit, nArray);
}

CHierarchyElement* CHierarchyArray::FindElementOfUnit(int nUnit, int nArray, int nSide, int& nLevel)
{
    nLevel = 0;
    if (nSide != m_nSide)
        return nullptr;
    int nPlatoon = kUnset;
    int nCompany = kUnset;
    const int nIndex = FindElementIndex(nUnit, nArray, nPlatoon, nCompany);
    if (nIndex == kUnset)
        return nullptr;
    CHierarchyPlatoon* pContainer = this;
    nLevel = HIERARCHY_BATTALION;
    if (nCompany != kUnset)
    {
        CHierarchyCompany* pCompany = GetCompany(nCompany);
        pContainer = pCompany;
        nLevel = HIERARCHY_COMPANY;
        if (nPlatoon != kUnset)
        {
            pContainer = pCompany->GetPlatoon(nPlatoon);
            nLevel = HIERARCHY_PLATOON;
        }
    }
    else if (nPlatoon != kUnset)
    {
        pContainer = GetPlatoon(nPlatoon);
        nLevel = HIERARCHY_PLATOON;
    }
    return pContainer != nullptr ? pContainer->GetElement(nIndex) : nullptr;
}

CHierarchyPlatoon* CHierarchyArray::FindContainerByName(const CString& strName) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CObject* pChild = GetChild(i);
        if (CHierarchyPlatoon* pPlatoon = AsPlatoon(pChild))
        {
            if (pPlatoon->m_strName == strName)
                return pPlatoon;
        }
        else if (CHierarchyCompany* pCompany = AsCompany(pChild))
        {
            if (pCompany->m_strName == strName)
                return pCompany;
            if (CHierarchyPlatoon* pInside = pCompany->FindPlatoonByName(strName))
                return pInside;
        }
    }
    return nullptr;
}

CHierarchyCompany* CHierarchyArray::GetCompanyByName(const CString& strName, BOOL bRemove)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyCompany* pCompany = GetCompany(i);
        if (pCompany == nullptr || pCompany->m_strName != strName)
            continue;
        if (bRemove)
            RemoveAtNoDelete(i);
        return pCompany;
    }
    return nullptr;
}

CHierarchyPlatoon* CHierarchyArray::FindPlatoonByName(const CString& strName, CHierarchyCompany*& pCompany) const
{
    pCompany = nullptr;
    if (CHierarchyPlatoon* pPlatoon = CHierarchyCompany::FindPlatoonByName(strName))
        return pPlatoon;
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyCompany* pChild = GetCompany(i);
        CHierarchyPlatoon* pPlatoon = pChild != nullptr ? pChild->FindPlatoonByName(strName) : nullptr;
        if (pPlatoon != nullptr)
        {
            pCompany = pChild;
            return pPlatoon;
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Marks kept in step with the units

int CHierarchyArray::SetElementMounted(int nUnit, int nArray, int nSide)
{
    int nLevel = 0;
    CHierarchyElement* pElement = FindElementOfUnit(nUnit, nArray, nSide, nLevel);
    if (pElement == nullptr)
        return 0;
    pElement->m_bMounted = TRUE;
    RefreshElementItem(pElement, nLevel, CString());
    return 1;
}

int CHierarchyArray::ClearElementMounted(int nUnit, int nArray, int nSide)
{
    int nLevel = 0;
    CHierarchyElement* pElement = FindElementOfUnit(nUnit, nArray, nSide, nLevel);
    if (pElement == nullptr)
        return 0;
    pElement->m_bMounted = FALSE;
    RefreshElementItem(pElement, nLevel, CString());
    return 1;
}

int CHierarchyArray::SetElementDestroyed(int nUnit, int nArray, int nSide, BOOL bMarkStates, CKDRUnits* pUnits,
                                         CKDRDatabase* pDatabase)
{
    int nLevel = 0;
    CHierarchyElement* pElement = FindElementOfUnit(nUnit, nArray, nSide, nLevel);
    if (pElement == nullptr)
        return 0;
    pElement->m_bDestroyed = TRUE;
    RefreshElementItem(pElement, nLevel, CString());
    if (pElement->m_bLeader)
        RepickLeaders(bMarkStates, pUnits, pDatabase);
    return 1;
}

int CHierarchyArray::GetElementState(int nUnit, int nArray, int nSide)
{
    int nLevel = 0;
    const CHierarchyElement* pElement = FindElementOfUnit(nUnit, nArray, nSide, nLevel);
    if (pElement == nullptr || pElement->m_bDestroyed || pElement->m_bDetached)
        return 0;
    return pElement->m_nState;
}

void CHierarchyArray::RemoveUnitElement(int nUnit, int nArray, int nSide, BOOL bKeep)
{
    if (nSide != m_nSide)
        return;
    int nPlatoon = kUnset;
    int nCompany = kUnset;
    const int nIndex = FindElementIndex(nUnit, nArray, nPlatoon, nCompany);
    CHierarchyPlatoon* pContainer = this;
    if (nCompany != kUnset)
        pContainer = nPlatoon != kUnset ? GetCompany(nCompany)->GetPlatoon(nPlatoon) : GetCompany(nCompany);
    else if (nPlatoon != kUnset)
        pContainer = GetPlatoon(nPlatoon);
    if (nIndex != kUnset && pContainer != nullptr)
    {
        if (bKeep)
            pContainer->RemoveAtNoDelete(nIndex);
        else
            pContainer->RemoveAt(nIndex);
    }
    RenumberAfterRemoval(nUnit, nArray, nSide);
}

// ---------------------------------------------------------------------------
// Leaders

void CHierarchyArray::ClearLeaders(CHierarchyArray* pHierarchy)
{
    CHierarchyPlatoon::ClearLeaders(pHierarchy);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pContainer = AsContainer(GetChild(i)))
            pContainer->ClearLeaders(pHierarchy);
    }
}

void CHierarchyArray::RepickLeaders(BOOL bMarkStates, CKDRUnits* pUnits, CKDRDatabase* pDatabase)
{
    ClearLeaders(this);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pContainer = AsContainer(GetChild(i)))
            pContainer->PickLeader(this);
    }
    UpdateElementStates(bMarkStates, pUnits, pDatabase);
    if (CDrawService* pDraw = GetDrawService())
        pDraw->RedrawView();
}

namespace
{
// Marks the live, attached elements of one container that its
// fire-direction centre serves, when the container has a live, attached leader.
void MarkServedElements(CHierarchyPlatoon& container, CKDRUnits* pUnits, CKDRDatabase* pDatabase, BOOL bMarkStates)
{
    const CHierarchyElement* pLeader = container.GetLeaderElement();
    const CUnit* pLeaderUnit = pLeader != nullptr ? pLeader->GetUnit(pUnits, container.m_nSide) : nullptr;
    if (pLeaderUnit == nullptr || pLeaderUnit->m_bDestroyed)
        return;
    for (int i = 0; i < container.GetSize(); ++i)
    {
        CHierarchyElement* pElement = container.GetElement(i);
        if (pElement == nullptr || pElement->m_bDestroyed || pElement->m_bDetached)
            continue;
        const CUnit* pUnit = pElement->GetUnit(pUnits, container.m_nSide);
        if (pUnit == nullptr || pUnit->m_bDestroyed)
            continue;
        if (container.HasFireDirectionFor(pElement->m_nUnit, pElement->m_nArray, pUnits, pDatabase, bMarkStates))
            pElement->m_nState = 1;
    }
}
}  // namespace

void CHierarchyArray::UpdateElementStates(BOOL bMarkStates, CKDRUnits* pUnits, CKDRDatabase* pDatabase)
{
    if (pUnits == nullptr || !bMarkStates)
        return;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
        {
            MarkServedElements(*pPlatoon, pUnits, pDatabase, bMarkStates);
        }
        else if (CHierarchyCompany* pCompany = GetCompany(i))
        {
            MarkServedElements(*pCompany, pUnits, pDatabase, bMarkStates);
            for (int k = 0; k < pCompany->GetSize(); ++k)
            {
                if (CHierarchyPlatoon* pInside = pCompany->GetPlatoon(k))
                    MarkServedElements(*pInside, pUnits, pDatabase, bMarkStates);
            }
        }
    }
}

void CHierarchyArray::RefreshElementItem(CHierarchyElement* pElement, int nLevel, const CString& strText)
{
    CTreeCtrl* pTree = m_pDialog != nullptr ? m_pDialog->GetTreeCtrl() : nullptr;
    if (pTree == nullptr || pElement == nullptr || pElement->m_hTreeItem == nullptr)
        return;
    if (!strText.IsEmpty())
        pTree->SetItemText(pElement->m_hTreeItem, pElement->m_strName);
    const int nImage = pElement->GetTreeImage(m_astrSymbolNames, nLevel);
    pTree->SetItemImage(pElement->m_hTreeItem, nImage, nImage);
}

void CHierarchyArray::RefreshContainerItem(CHierarchyPlatoon* pContainer, const CString& strText)
{
    CTreeCtrl* pTree = m_pDialog != nullptr ? m_pDialog->GetTreeCtrl() : nullptr;
    if (pTree == nullptr || pContainer == nullptr || pContainer->m_hTreeItem == nullptr)
        return;
    if (!strText.IsEmpty())
        pTree->SetItemText(pContainer->m_hTreeItem, pContainer->m_strName);
    const int nImage = pContainer->GetTreeImage(m_astrSymbolNames);
    pTree->SetItemImage(pContainer->m_hTreeItem, nImage, nImage);
}

// ---------------------------------------------------------------------------
// Overrides: the company's work on the battalion, then each company child

void CHierarchyArray::RenumberAfterRemoval(int nUnit, int nArray, int nSide)
{
    CHierarchyCompany::RenumberAfterRemoval(nUnit, nArray, nSide);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyCompany* pCompany = GetCompany(i))
            pCompany->RenumberAfterRemoval(nUnit, nArray, nSide);
    }
}

CHierarchyPlatoon* CHierarchyArray::FindPlatoonOfElement(const CString& strName, int& nIndex)
{
    if (CHierarchyPlatoon* pFound = CHierarchyCompany::FindPlatoonOfElement(strName, nIndex))
        return pFound;
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyCompany* pCompany = GetCompany(i);
        CHierarchyPlatoon* pFound = pCompany != nullptr ? pCompany->FindPlatoonOfElement(strName, nIndex) : nullptr;
        if (pFound != nullptr)
            return pFound;
    }
    nIndex = kUnset;
    return nullptr;
}

int CHierarchyArray::CollectTaskOrgNames(CStringArray& names, CDWordArray& counts, int nPosition, int& nInsert,
                                         int& nRemoved, CTaskOrgArray* pList)
{
    int nRemovedHere = CHierarchyCompany::CollectTaskOrgNames(names, counts, nPosition, nInsert, nRemoved, pList);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyCompany* pCompany = GetCompany(i))
            nRemovedHere += pCompany->CollectTaskOrgNames(names, counts, nPosition, nInsert, nRemoved, pList);
    }
    return nRemovedHere;
}

void CHierarchyArray::SetSide(int nSide)
{
    CHierarchyCompany::SetSide(nSide);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyCompany* pCompany = GetCompany(i))
            pCompany->SetSide(nSide);
    }
}

void CHierarchyArray::ResetOrders()
{
    CHierarchyCompany::ResetOrders();
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyCompany* pCompany = GetCompany(i))
            pCompany->ResetOrders();
    }
}

int CHierarchyArray::RestartAIOrder(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                                    CKDRObstacles* pObstacles, CKDRHoles* pHoles)
{
    int nResult = CHierarchyCompany::RestartAIOrder(pUnits, pMap, pDatabase, pObstacles, pHoles);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyCompany* pCompany = GetCompany(i))
            nResult |= pCompany->RestartAIOrder(pUnits, pMap, pDatabase, pObstacles, pHoles);
    }
    return nResult;
}

int CHierarchyArray::UpdateToggleOrder(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                                       CKDRObstacles* pObstacles, CKDRHoles* pHoles)
{
    CHierarchyCompany::UpdateToggleOrder(pUnits, pMap, pDatabase, pObstacles, pHoles);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyCompany* pCompany = GetCompany(i))
            pCompany->UpdateToggleOrder(pUnits, pMap, pDatabase, pObstacles, pHoles);
    }
    return 1;
}

DWORD CHierarchyArray::GetRoleFlags(CKDRUnits* pUnits, CKDRDatabase* pDatabase) const
{
    DWORD dwRoles = CHierarchyCompany::GetRoleFlags(pUnits, pDatabase);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyCompany* pCompany = GetCompany(i))
            dwRoles |= pCompany->GetRoleFlags(pUnits, pDatabase);
    }
    return dwRoles;
}

int CHierarchyArray::TestInArea(DWORD dwStatus, BOOL bStopAtFirstMet, BOOL bStopWhenShort, CKDRUnits* pUnits,
                                CKDRObstacles* pObstacles, CKDRDatabase* pDatabase, CKDRGameMap* pMap, int& nCounted,
                                float fRadius, float fX, float fY, const CRect& area, BOOL bElliptic)
{
    int nOwnCounted = 0;
    int nTally = CHierarchyCompany::TestInArea(dwStatus, bStopAtFirstMet, bStopWhenShort, pUnits, pObstacles, pDatabase,
                                               pMap, nOwnCounted, fRadius, fX, fY, area, bElliptic);
    if (!(bStopAtFirstMet && nTally != 0))
    {
        for (int i = 0; i < GetSize(); ++i)
        {
            CHierarchyCompany* pCompany = GetCompany(i);
            if (pCompany == nullptr)
                continue;
            if (bStopWhenShort && nTally < nOwnCounted)
                break;
            nTally += pCompany->TestInArea(dwStatus, bStopAtFirstMet, bStopWhenShort, pUnits, pObstacles, pDatabase,
                                           pMap, nOwnCounted, fRadius, fX, fY, area, bElliptic);
            if (bStopAtFirstMet && nTally != 0)
                break;
        }
    }
    nCounted += nOwnCounted;
    return nTally;
}

int CHierarchyArray::DetachDismounts(BOOL bDetach, CHierarchyArray* pHierarchy, CKDRUnits* pUnits,
                                     CKDRDatabase* pDatabase, BOOL bMarkStates)
{
    CHierarchyCompany::DetachDismounts(bDetach, pHierarchy, pUnits, pDatabase, bMarkStates);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyCompany* pCompany = GetCompany(i))
            pCompany->DetachDismounts(bDetach, pHierarchy, pUnits, pDatabase, bMarkStates);
    }
    return 1;
}

int CHierarchyArray::AllElementsSatisfy(BOOL (CUnit::*pfnTest)() const, CKDRUnits* pUnits) const
{
    if (!CHierarchyCompany::AllElementsSatisfy(pfnTest, pUnits))
        return 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyCompany* pCompany = GetCompany(i);
        if (pCompany != nullptr && !pCompany->AllElementsSatisfy(pfnTest, pUnits))
            return 0;
    }
    return 1;
}

int CHierarchyArray::UpdateOrders(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                                  CKDRObstacles* pObstacles, CKDRHoles* pHoles)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyCompany* pCompany = GetCompany(i))
            pCompany->UpdateOrders(pUnits, pMap, pDatabase, pObstacles, pHoles);
    }
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->UpdateOrders(pUnits, pMap, pDatabase, pObstacles, pHoles);
    }
    if (CountLiveVehicles(0, pUnits, pDatabase) == 0)
    {
        RemoveAIOrders();
        ResetFormation(pUnits, pMap, pDatabase, FALSE);
    }
    if (m_pOrders != nullptr)
        m_pOrders->UpdateOrders(this, pUnits, pMap, pDatabase, pObstacles, pHoles);
    return 1;
}

int CHierarchyArray::CollectDismountElements(CTaskOrgArray* pList, CKDRUnits* pUnits) const
{
    if (pList == nullptr)
        return 0;
    int nCount = CHierarchyCompany::CollectDismountElements(pList, pUnits);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyCompany* pCompany = GetCompany(i))
            nCount += pCompany->CollectDismountElements(pList, pUnits);
    }
    return nCount;
}

int CHierarchyArray::CollectCarrierElements(CTaskOrgArray* pList, CKDRUnits* pUnits) const
{
    if (pList == nullptr)
        return 0;
    int nCount = CHierarchyCompany::CollectCarrierElements(pList, pUnits);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyCompany* pCompany = GetCompany(i))
            nCount += pCompany->CollectCarrierElements(pList, pUnits);
    }
    return nCount;
}

int CHierarchyArray::CountBreachers(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nObstacleType) const
{
    if (pUnits == nullptr || pDatabase == nullptr)
        return 0;
    int nCount = CHierarchyCompany::CountBreachers(pUnits, pDatabase, nObstacleType);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyCompany* pCompany = GetCompany(i))
            nCount += pCompany->CountBreachers(pUnits, pDatabase, nObstacleType);
    }
    return nCount;
}

CUnitRefArray* CHierarchyArray::CollectContacts(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nRoleMask,
                                                const CRect& area) const
{
    if (pUnits == nullptr || pDatabase == nullptr)
        return nullptr;
    auto* pAll = new CUnitRefArray;
    std::unique_ptr<CUnitRefArray> pOwn(CHierarchyCompany::CollectContacts(pUnits, pDatabase, nRoleMask, area));
    pAll->Merge(pOwn.get());
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyCompany* pCompany = GetCompany(i);
        if (pCompany == nullptr)
            continue;
        std::unique_ptr<CUnitRefArray> pTheirs(pCompany->CollectContacts(pUnits, pDatabase, nRoleMask, area));
        if (pTheirs != nullptr)
            pAll->Merge(pTheirs.get());
    }
    return pAll;
}

void CHierarchyArray::MoveAllElementsTo(CTaskOrgArray& target)
{
    CHierarchyPlatoon::MoveAllElementsTo(target);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->MoveAllElementsTo(target);
    }
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyCompany* pCompany = GetCompany(i))
            pCompany->MoveAllElementsTo(target);
    }
    // The emptied containers go; the elements live on in the target.
    DeleteAllChildren();
}

void CHierarchyArray::RemoveElementsWithoutRole(int nRoleMask, CKDRUnits* pUnits, CKDRDatabase* pDatabase)
{
    CHierarchyCompany::RemoveElementsWithoutRole(nRoleMask, pUnits, pDatabase);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyCompany* pCompany = GetCompany(i))
            pCompany->RemoveElementsWithoutRole(nRoleMask, pUnits, pDatabase);
    }
}

float CHierarchyArray::SumWeaponValue(int nRoleMask, int nMinPenetration, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                      float& fSum, int& nCount) const
{
    float fAdded = CHierarchyCompany::SumWeaponValue(nRoleMask, nMinPenetration, pUnits, pDatabase, fSum, nCount);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyCompany* pCompany = GetCompany(i))
            fAdded += pCompany->SumWeaponValue(nRoleMask, nMinPenetration, pUnits, pDatabase, fSum, nCount);
    }
    return fAdded;
}

int CHierarchyArray::CountLiveVehicles(DWORD dwMask, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                       BOOL bIncludeDead) const
{
    int nCount = CHierarchyCompany::CountLiveVehicles(dwMask, pUnits, pDatabase, bIncludeDead);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyCompany* pCompany = GetCompany(i))
            nCount += pCompany->CountLiveVehicles(dwMask, pUnits, pDatabase, bIncludeDead);
    }
    return nCount;
}

int CHierarchyArray::FillUnitList(CTaskOrgArray* pList, BOOL bWithName) const
{
    if (!CHierarchyCompany::FillUnitList(pList, bWithName))
        return 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyCompany* pCompany = GetCompany(i))
            pCompany->FillUnitList(pList, bWithName);
    }
    pList->m_nSide = m_nSide;
    return 1;
}

CHierarchyElement* CHierarchyArray::FindElementByName(const CString& strName, BOOL bRemove)
{
    if (CHierarchyElement* pElement = CHierarchyCompany::FindElementByName(strName, bRemove))
        return pElement;
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyCompany* pCompany = GetCompany(i);
        CHierarchyElement* pElement = pCompany != nullptr ? pCompany->FindElementByName(strName, bRemove) : nullptr;
        if (pElement != nullptr)
            return pElement;
    }
    return nullptr;
}

int CHierarchyArray::RecallAllDetached(CHierarchyArray* pHierarchy, CKDRUnits* pUnits, CKDRGameMap* pMap,
                                       CKDRDatabase* pDatabase, int)
{
    CTreeCtrl* pTree = m_pDialog != nullptr ? m_pDialog->GetTreeCtrl() : nullptr;
    if (pTree == nullptr)
        return 0;
    if (pHierarchy == nullptr)
        pHierarchy = this;
    if (m_pDialog->GetRightClickedText().IsEmpty())
    {
        // The click hit no item: everything comes back.
        for (int i = 0; i < GetSize(); ++i)
        {
            CObject* pChild = GetChild(i);
            if (CHierarchyPlatoon* pContainer = AsContainer(pChild))
                pContainer->RecallAllDetached(pHierarchy, pUnits, pMap, pDatabase, HIERARCHY_BATTALION);
            else if (CHierarchyElement* pElement = AsElement(pChild))
                pElement->Refresh(pHierarchy, pUnits, HIERARCHY_BATTALION);
        }
        return 1;
    }
    const HTREEITEM hSelected = pTree->GetSelectedItem();
    if (hSelected == nullptr)
        return 0;
    const CString strName = pTree->GetItemText(hSelected);
    CHierarchyPlatoon* pContainer = GetCompanyByName(strName, FALSE);
    if (pContainer == nullptr)
        pContainer = TakePlatoonByName(strName, FALSE);
    if (pContainer != nullptr)
        return pContainer->RecallAllDetached(pHierarchy, pUnits, pMap, pDatabase, HIERARCHY_BATTALION);
    CHierarchyElement* pElement = FindElementByName(strName, FALSE);
    if (pElement == nullptr)
        return 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyPlatoon* pChild = AsContainer(GetChild(i));
        if (pChild != nullptr &&
            pChild->RecallDetachedByName(strName, pHierarchy, pUnits, pMap, pDatabase, HIERARCHY_BATTALION) != 0)
            return 1;
    }
    return pElement->Refresh(pHierarchy, pUnits, HIERARCHY_BATTALION);
}

BOOL CHierarchyArray::HasDetachedAliveElement() const
{
    if (CHierarchyCompany::HasDetachedAliveElement())
        return TRUE;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyCompany* pCompany = GetCompany(i);
        if (pCompany != nullptr && pCompany->HasDetachedAliveElement())
            return TRUE;
    }
    return FALSE;
}

int CHierarchyArray::ApplyNodeFormations(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                                         CKDRObstacles* pObstacles, CKDRHoles* pHoles)
{
    CHierarchyCompany::ApplyNodeFormations(pUnits, pMap, pDatabase, pObstacles, pHoles);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyCompany* pCompany = GetCompany(i))
            pCompany->ApplyNodeFormations(pUnits, pMap, pDatabase, pObstacles, pHoles);
    }
    return 1;
}

void CHierarchyArray::DrawPath(CKDRGameMap* pMap, BOOL bSelected)
{
    CHierarchyCompany::DrawPath(pMap, bSelected);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyCompany* pCompany = GetCompany(i))
            pCompany->DrawPath(pMap, bSelected);
    }
}

int CHierarchyArray::CheckConditionalStarts(DWORD dwEvent, DWORD id1, DWORD id2, DWORD id3, DWORD id4, DWORD id5,
                                            DWORD id6, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    if (CHierarchyCompany::CheckConditionalStarts(dwEvent, id1, id2, id3, id4, id5, id6, pUnits, pMap, pDatabase))
        return 1;
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyCompany* pCompany = GetCompany(i);
        if (pCompany != nullptr &&
            pCompany->CheckConditionalStarts(dwEvent, id1, id2, id3, id4, id5, id6, pUnits, pMap, pDatabase))
            return 1;
    }
    return 0;
}

CTaskOrgArray* CHierarchyArray::SelectInRectangle(float fX1, float fY1, float fX2, float fY2, BOOL bWanted,
                                                  CKDRUnits* pUnits)
{
    auto* pList = new CTaskOrgArray;
    pList->m_nSide = m_nSide;
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyPlatoon* pContainer = AsContainer(GetChild(i));
        if (pContainer == nullptr)
            continue;
        std::unique_ptr<CTaskOrgArray> pTheirs(pContainer->SelectInRectangle(fX1, fY1, fX2, fY2, bWanted, pUnits));
        pList->AppendCopies(*pTheirs);
    }
    return pList;
}

void CHierarchyArray::DrawUnitSymbol(DWORD dwOptions, BOOL bPlatoons, BOOL bCompanies, CKDRGameMap* pMap,
                                     CKDRDatabase* pDatabase, CKDRUnits* pUnits)
{
    // The battalion has no marker of its own.
    if (!bPlatoons && !bCompanies)
        return;
    for (int i = 0; i < GetSize(); ++i)
    {
        CObject* pChild = GetChild(i);
        if (CHierarchyPlatoon* pPlatoon = AsPlatoon(pChild); pPlatoon != nullptr && bPlatoons)
            pPlatoon->DrawUnitSymbol(dwOptions, bPlatoons, bCompanies, pMap, pDatabase, pUnits);
        else if (CHierarchyCompany* pCompany = AsCompany(pChild); pCompany != nullptr && bCompanies)
            pCompany->DrawUnitSymbol(dwOptions, bPlatoons, bCompanies, pMap, pDatabase, pUnits);
    }
}

// ---------------------------------------------------------------------------
// The item selected in the tree window (least form: none)

CHierarchyElement* CHierarchyArray::GetSelectedElement() const { return nullptr; }
CHierarchyPlatoon* CHierarchyArray::GetSelectedContainer() const { return nullptr; }
CUnit* CHierarchyArray::GetSelectedUnit(CKDRUnits*) const { return nullptr; }
CString CHierarchyArray::GetSelectedItemText() const { return CString(); }
int CHierarchyArray::SelectedHasToggle(DWORD) const { return 0; }
int CHierarchyArray::SelectedIsInSpecialFormation() const { return 0; }
int CHierarchyArray::IsSelectedFormation(int) const { return 0; }
int CHierarchyArray::SetFormationOfSelected(int, int, CKDRUnits*, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CHierarchyArray::AssignAIOrderToSelected(int, CKDRUnits*, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CHierarchyArray::IssueAIOrderToSelected(int, CKDRUnits*, CKDRGameMap*, CKDRDatabase*) { return 0; }
