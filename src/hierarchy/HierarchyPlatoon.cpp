// The platoon level: construction, copies, the record and the element
// scans (slots 1 to 36 of the shared table).

#include "hierarchy/HierarchyPlatoon.h"

#include "ai/UOrdAIOrder.h"
#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "database/VehicleCapability.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchySupport.h"
#include "orders/FormationOrder.h"
#include "orders/NodeArray.h"
#include "orders/UnitOrderArray.h"
#include "orders/UnitOrderKinds.h"
#include "platform/core/Unset.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"
#include "units/UnitRefArray.h"

#include <algorithm>
#include <cmath>
#include <memory>

IMPLEMENT_SERIAL(CHierarchyPlatoon, CTaskOrgArray, 1)

using namespace hierarchy;

namespace
{
BOOL AcceptPlatoonChild(const CRuntimeClass* pClass) { return pClass->IsDerivedFrom(RUNTIME_CLASS(CHierarchyElement)); }

// A weight or a vehicle value of 0 counts as 1 in the ratings.
int AtLeastOne(int value) { return value == 0 ? 1 : value; }

// Whether a point lies in the rectangle of map metres (edges included,
// corners in either order); an empty or all-zero rectangle takes anywhere.
BOOL InArea(float fX, float fY, const CRect& area)
{
    if (area.left == area.right || area.top == area.bottom)
        return TRUE;
    const int x = static_cast<int>(fX);
    const int y = static_cast<int>(fY);
    return x >= std::min(area.left, area.right) && x <= std::max(area.left, area.right) &&
           y >= std::min(area.top, area.bottom) && y <= std::max(area.top, area.bottom);
}
}  // namespace

// ---------------------------------------------------------------------------
// Construction and copies

CHierarchyPlatoon::CHierarchyPlatoon()
    : m_pOrders(new CUnitOrderArray),
      m_pAIOrders(new CUnitOrderArray),
      m_pPath(new CNodeArray),
      m_nCapacity(0),
      m_nWeight(0),
      m_nCategory(0),
      m_dwRoleFlags(0),
      m_nWord7(0),
      m_bMarked(FALSE),
      m_nWork1(0),
      m_nWork2(0),
      m_apSprites{nullptr, nullptr, nullptr, nullptr},
      m_abSprites{FALSE, FALSE, FALSE, FALSE},
      m_bActive(FALSE),
      m_hTreeItem(nullptr)
{
}

CHierarchyPlatoon::CHierarchyPlatoon(const CHierarchyPlatoon& source, BOOL bStructureOnly, FieldsOnly)
    : CHierarchyPlatoon()
{
    m_strName = source.m_strName;
    m_nWeight = source.m_nWeight;
    m_nSide = source.m_nSide;
    m_dwRoleFlags = source.m_dwRoleFlags;
    m_nCategory = source.m_nCategory;
    m_nWord7 = source.m_nWord7;
    m_bMarked = source.m_bMarked;
    if (bStructureOnly)
        return;
    m_strText2 = source.m_strText2;
    m_strText3 = source.m_strText3;
    m_strText4 = source.m_strText4;
    m_strText5 = source.m_strText5;
    m_strSymbolType = source.m_strSymbolType;
    m_nCapacity = source.m_nCapacity;
    m_bActive = source.m_bActive;
    m_nId = source.m_nId;
    if (source.m_pOrders != nullptr)
    {
        delete m_pOrders;
        m_pOrders = new CUnitOrderArray(*source.m_pOrders);
    }
    if (source.m_pAIOrders != nullptr)
    {
        delete m_pAIOrders;
        m_pAIOrders = new CUnitOrderArray(*source.m_pAIOrders);
    }
    if (source.m_pPath != nullptr)
    {
        delete m_pPath;
        m_pPath = new CNodeArray(*source.m_pPath);
    }
}

CHierarchyPlatoon::CHierarchyPlatoon(const CHierarchyPlatoon& source, BOOL bStructureOnly)
    : CHierarchyPlatoon(source, bStructureOnly, FieldsOnly())
{
    for (int i = 0; i < source.GetSize(); ++i)
    {
        if (const CHierarchyElement* pElement = source.GetElement(i))
            Add(new CHierarchyElement(*pElement, bStructureOnly));
    }
}

CHierarchyPlatoon::~CHierarchyPlatoon()
{
    delete m_pOrders;
    delete m_pAIOrders;
    delete m_pPath;
    DeleteSymbolSprites();
}

int CHierarchyPlatoon::Add(CObject* pChild) { return CObArray::Add(pChild); }

int CHierarchyPlatoon::AddWithSide(CHierarchyPlatoon* pChild)
{
    if (pChild == nullptr)
        return kUnset;
    pChild->m_nSide = m_nSide;
    return Add(pChild);
}

void CHierarchyPlatoon::DeleteAllChildren() { CObArray::RemoveAll(); }

// ---------------------------------------------------------------------------
// The record

CArchive::ClassTest CHierarchyPlatoon::GetChildTest() const { return AcceptPlatoonChild; }

void CHierarchyPlatoon::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar.WriteCount(static_cast<DWORD>(GetSize()));
        for (int i = 0; i < GetSize(); ++i)
            ar << GetChild(i);
        StoreWord(ar, m_nId);
        // A grouping without order sets or path writes empty ones.
        CNodeArray noPath;
        CUnitOrderArray noOrders;
        (m_pPath != nullptr ? *m_pPath : noPath).Serialize(ar);
        (m_pOrders != nullptr ? *m_pOrders : noOrders).Serialize(ar);
        (m_pAIOrders != nullptr ? *m_pAIOrders : noOrders).Serialize(ar);
        ar << m_strSymbolType << m_strText2 << m_strText5 << m_strText3 << m_strText4 << m_strName;
        StoreWord(ar, m_nWeight);
        StoreWord(ar, m_nCategory);
        StoreWord(ar, m_nCapacity);
        StoreWord(ar, static_cast<int>(m_dwRoleFlags));
        StoreFlag(ar, m_bActive);
        StoreWord(ar, m_nSide);
        StoreWord(ar, m_nWord7);
        StoreFlag(ar, m_bMarked);
        return;
    }

    // Everything is read aside and taken over only when the whole record
    // was read, so a bad record leaves the container as it was.
    CHierarchyPlatoon loaded;
    const DWORD nCount = ar.ReadCount(2);  // every child takes at least its tag
    const CArchive::ClassTest accept = GetChildTest();
    for (DWORD i = 0; i < nCount; ++i)
        loaded.Add(ar.ReadObjectPassing(accept));
    loaded.m_nId = LoadWord(ar);
    loaded.m_pPath->Serialize(ar);
    loaded.m_pOrders->Serialize(ar);
    loaded.m_pAIOrders->Serialize(ar);
    ar >> loaded.m_strSymbolType >> loaded.m_strText2 >> loaded.m_strText5 >> loaded.m_strText3 >> loaded.m_strText4 >>
        loaded.m_strName;
    loaded.m_nWeight = LoadWord(ar);
    loaded.m_nCategory = LoadWord(ar);
    loaded.m_nCapacity = LoadWord(ar);
    loaded.m_dwRoleFlags = static_cast<DWORD>(LoadWord(ar));
    loaded.m_bActive = m_bActive;
    LoadFlag(ar, loaded.m_bActive);
    loaded.m_nSide = LoadWord(ar);
    loaded.m_nWord7 = LoadWord(ar);
    loaded.m_bMarked = m_bMarked;
    LoadFlag(ar, loaded.m_bMarked);
    SwapRecord(loaded);
}

void CHierarchyPlatoon::SwapRecord(CHierarchyPlatoon& other)
{
    Swap(other);
    std::swap(m_nId, other.m_nId);
    std::swap(m_nSide, other.m_nSide);
    std::swap(m_pPath, other.m_pPath);
    std::swap(m_pOrders, other.m_pOrders);
    std::swap(m_pAIOrders, other.m_pAIOrders);
    std::swap(m_strSymbolType, other.m_strSymbolType);
    std::swap(m_strText2, other.m_strText2);
    std::swap(m_strText3, other.m_strText3);
    std::swap(m_strText4, other.m_strText4);
    std::swap(m_strText5, other.m_strText5);
    std::swap(m_strName, other.m_strName);
    std::swap(m_nWeight, other.m_nWeight);
    std::swap(m_nCategory, other.m_nCategory);
    std::swap(m_nCapacity, other.m_nCapacity);
    std::swap(m_dwRoleFlags, other.m_dwRoleFlags);
    std::swap(m_bActive, other.m_bActive);
    std::swap(m_nWord7, other.m_nWord7);
    std::swap(m_bMarked, other.m_bMarked);
}

// ---------------------------------------------------------------------------
// Slots 1 to 17

int CHierarchyPlatoon::FindTaskOrg(int nUnit, int nArray) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement != nullptr && pElement->m_nUnit == nUnit && pElement->m_nArray == nArray)
            return i;
    }
    return kUnset;
}

int CHierarchyPlatoon::FindHierarchyTaskOrg(const CString& strName) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CObject* pChild = GetChild(i);
        if (pChild == nullptr || !pChild->IsKindOf(RUNTIME_CLASS(CTaskOrg)))
            continue;
        const auto* pEntry = static_cast<const CTaskOrg*>(pChild);
        if (pEntry->GetType() == TASKORG_KIND_NAMED &&
            static_cast<const CHierarchyTaskOrg*>(pEntry)->m_strName == strName)
            return i;
    }
    return kUnset;
}

void CHierarchyPlatoon::RenumberAfterRemoval(int nUnit, int nArray, int nSide)
{
    if (nSide != m_nSide)
        return;
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr || pElement->m_nUnit < nUnit)
            continue;
        // The own side has one array; the others renumber only the array
        // the unit left (or elements that name none).
        if (nSide != 0 && pElement->m_nArray != nArray && pElement->m_nArray != kUnset)
            continue;
        --pElement->m_nUnit;
    }
}

CHierarchyPlatoon* CHierarchyPlatoon::FindPlatoonOfElement(const CString& strName, int& nIndex)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement != nullptr && pElement->m_strName == strName)
        {
            nIndex = i;
            return this;
        }
    }
    nIndex = kUnset;
    return nullptr;
}

int CHierarchyPlatoon::CollectTaskOrgNames(CStringArray& names, CDWordArray& counts, int nPosition, int& nInsert,
                                           int& nRemoved, CTaskOrgArray* pList)
{
    if (pList == nullptr)
        return 0;
    const int nEntry = names.Add(m_strName);
    counts.Add(0);
    int nRemovedHere = 0;
    for (int j = pList->FindHierarchyTaskOrg(m_strName); j != kUnset; j = pList->FindHierarchyTaskOrg(m_strName))
    {
        pList->RemoveAt(j);
        ++nRemovedHere;
        if (j <= nPosition + nInsert)
            ++nInsert;
    }
    nRemoved += nRemovedHere;
    DWORD nNamed = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr)
            continue;
        for (int k = 0; k < pList->GetSize(); ++k)
        {
            const CTaskOrg* pEntry = pList->GetAt(k);
            if (pEntry == nullptr || pEntry->GetType() != TASKORG_KIND_UNIT || pEntry->m_nUnit != pElement->m_nUnit)
                continue;
            if (pEntry->m_nArray == pElement->m_nArray || pEntry->m_nArray < 0 || pElement->m_nArray < 0 ||
                pList->m_nSide == 0)
            {
                names.Add(pElement->m_strName);
                counts.Add(0);
                ++nNamed;
                break;
            }
        }
    }
    counts.SetAt(nEntry, nNamed);
    return nRemovedHere;
}

void CHierarchyPlatoon::SetSide(int nSide)
{
    m_nSide = nSide;
    if (m_pPath != nullptr)
        m_pPath->EnableStartTimes(nSide != 0);
}

void CHierarchyPlatoon::ResetOrders()
{
    delete m_pOrders;
    m_pOrders = new CUnitOrderArray;
    delete m_pAIOrders;
    m_pAIOrders = new CUnitOrderArray;
    delete m_pPath;
    m_pPath = new CNodeArray;
    m_pPath->ResetToPoint(0.0f, 0.0f, m_nSide != 0);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyElement* pElement = GetElement(i))
            pElement->m_bMounted = FALSE;
    }
}

void CHierarchyPlatoon::VisitElements(int nCode, CElementVisitor& visitor) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyElement* pElement = GetElement(i))
            visitor.VisitElement(nCode, pElement->m_nUnit, pElement->m_nArray, m_nSide);
    }
}

int CHierarchyPlatoon::RestartAIOrder(CKDRUnits*, CKDRGameMap*, CKDRDatabase*, CKDRObstacles*, CKDRHoles*)
{
    CUOrdAIOrder* pOrder = m_pOrders != nullptr ? m_pOrders->GetAIOrder() : nullptr;
    if (pOrder == nullptr)
        return 0;
    pOrder->m_bRestart = TRUE;
    return 0;
}

void CHierarchyPlatoon::RecordAIOrderGiven(const CUOrdAIOrder* pOrder)
{
    if (m_pAIOrders != nullptr && pOrder != nullptr)
        m_pAIOrders->AddAIOrderIfNew(pOrder);
}

int CHierarchyPlatoon::GetMobilityCode(CKDRUnits* pUnits, CKDRDatabase* pDatabase) const
{
    const int nAll = CountLiveVehicles(0, pUnits, pDatabase);
    const int nOffRoad = CountLiveVehicles(ROLE_FIXED_WING | ROLE_ROTARY_WING | ROLE_DISMOUNT, pUnits, pDatabase);
    return nOffRoad >= nAll ? 8 : 9;
}

int CHierarchyPlatoon::UpdateToggleOrder(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                                         CKDRObstacles* pObstacles, CKDRHoles* pHoles)
{
    if (m_pOrders == nullptr)
        return 0;
    for (int i = 0; i < m_pOrders->GetSize(); ++i)
    {
        CUnitOrder* pOrder = m_pOrders->GetAt(i);
        if (pOrder == nullptr || pOrder->GetOrderType() != UORD_SUPPRESS)
            continue;
        if (pOrder->Update(this, pUnits, pMap, pDatabase, pObstacles, pHoles) == 0)
        {
            const int nNow = m_pOrders->FindOrder(pOrder);
            if (nNow >= 0)
                m_pOrders->RemoveAt(nNow);
        }
        return 1;
    }
    return 1;
}

int CHierarchyPlatoon::SetSuppressRadius(float fX, float fY, float fRadius, CKDRUnits* pUnits)
{
    if (fX < 0.0f || fY < 0.0f || fRadius < 0.0f)
        return 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr || pElement->m_bDetached || pElement->m_bDestroyed)
            continue;
        CUnit* pUnit = pElement->GetUnit(pUnits, m_nSide);
        if (pUnit != nullptr && !pUnit->m_bDestroyed && pUnit->m_bSuppressArea && pUnit->m_fSuppressX == fX &&
            pUnit->m_fSuppressY == fY)
            pUnit->m_fSuppressRadius = fRadius;
    }
    for (int i = 0; m_pOrders != nullptr && i < m_pOrders->GetSize(); ++i)
    {
        auto* pSuppress = dynamic_cast<CUOrdSuppress*>(m_pOrders->GetAt(i));
        if (pSuppress == nullptr)
            continue;
        if (pSuppress->m_fTargetX == fX && pSuppress->m_fTargetY == fY)
            pSuppress->m_fRange = fRadius;
        break;
    }
    return 1;
}

DWORD CHierarchyPlatoon::GetRoleFlags(CKDRUnits* pUnits, CKDRDatabase* pDatabase) const
{
    DWORD dwRoles = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr || !pElement->IsAvailable())
            continue;
        const CUnit* pUnit = pElement->GetUnit(pUnits, m_nSide);
        if (IsLiveUncarried(pUnit))
            dwRoles |= static_cast<DWORD>(RoleFlagsOf(pUnit, pDatabase));
    }
    return dwRoles;
}

void CHierarchyPlatoon::RemoveFromTaskOrg(CTaskOrgArray* pList) const
{
    if (pList == nullptr || pList->m_nSide != m_nSide)
        return;
    for (int j = pList->FindHierarchyTaskOrg(m_strName); j != kUnset; j = pList->FindHierarchyTaskOrg(m_strName))
        pList->RemoveAt(j);
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr)
            continue;
        const int j = pList->FindTaskOrg(pElement->m_nUnit, pElement->m_nArray);
        if (j != kUnset)
            pList->RemoveAt(j);
    }
}

// ---------------------------------------------------------------------------
// Slots 18 to 36: the element scans

int CHierarchyPlatoon::TestInArea(DWORD, BOOL, BOOL, CKDRUnits*, CKDRObstacles*, CKDRDatabase*, CKDRGameMap*, int&,
                                  float, float, float, const CRect&, BOOL)
{
    return 0;
}

int CHierarchyPlatoon::TestCount(DWORD, CKDRUnits*, CKDRObstacles*, CKDRDatabase*, CKDRGameMap*, int, int, float, float,
                                 float)
{
    return 0;
}

int CHierarchyPlatoon::DetachDismounts(BOOL bDetach, CHierarchyArray* pHierarchy, CKDRUnits* pUnits,
                                       CKDRDatabase* pDatabase, BOOL bMarkStates)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr)
            continue;
        const CUnit* pUnit = pElement->GetUnit(pUnits, m_nSide);
        if (!IsLiveUncarried(pUnit) || (pUnit->GetCapabilityMask() & VCAP_DISMOUNT) == 0)
            continue;
        if (bDetach)
            pElement->Detach(pHierarchy, pUnits, pDatabase, bMarkStates);
        else
            pElement->Refresh(pHierarchy, pUnits, GetLevel());
    }
    return 1;
}

int CHierarchyPlatoon::AllElementsSatisfy(BOOL (CUnit::*pfnTest)() const, CKDRUnits* pUnits) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr || pElement->m_bDetached || pElement->m_bDestroyed)
            continue;
        const CUnit* pUnit = pElement->GetUnit(pUnits, m_nSide);
        if (pUnit == nullptr || pUnit->m_bDestroyed || pfnTest == nullptr || !(pUnit->*pfnTest)())
            return 0;
    }
    return 1;
}

int CHierarchyPlatoon::UpdateOrders(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                                    CKDRObstacles* pObstacles, CKDRHoles* pHoles)
{
    if (CountLiveVehicles(0, pUnits, pDatabase) == 0)
    {
        RemoveAIOrders();
        ResetFormation(pUnits, pMap, pDatabase, FALSE);
    }
    if (m_pOrders != nullptr)
        m_pOrders->UpdateOrders(this, pUnits, pMap, pDatabase, pObstacles, pHoles);
    return 1;
}

namespace
{
int CollectWithCapability(const CHierarchyPlatoon& platoon, DWORD dwCapability, CTaskOrgArray* pList, CKDRUnits* pUnits)
{
    if (pList == nullptr)
        return 0;
    int nCount = 0;
    for (int i = 0; i < platoon.GetSize(); ++i)
    {
        const CHierarchyElement* pElement = platoon.GetElement(i);
        if (pElement == nullptr || !pElement->IsAvailable())
            continue;
        const CUnit* pUnit = pElement->GetUnit(pUnits, platoon.m_nSide);
        if (!IsLiveUncarried(pUnit) || (pUnit->GetCapabilityMask() & dwCapability) == 0)
            continue;
        pList->Add(new CHierarchyElement(*pElement, TRUE));
        ++nCount;
    }
    return nCount;
}
}  // namespace

int CHierarchyPlatoon::CollectDismountElements(CTaskOrgArray* pList, CKDRUnits* pUnits) const
{
    return CollectWithCapability(*this, VCAP_DISMOUNT, pList, pUnits);
}

int CHierarchyPlatoon::CollectCarrierElements(CTaskOrgArray* pList, CKDRUnits* pUnits) const
{
    return CollectWithCapability(*this, VCAP_PERSONNEL_CARRIER, pList, pUnits);
}

int CHierarchyPlatoon::CountBreachers(CKDRUnits*, CKDRDatabase*, int) const { return 0; }

CUnitRefArray* CHierarchyPlatoon::CollectContacts(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nRoleMask,
                                                  const CRect& area) const
{
    if (pUnits == nullptr || pDatabase == nullptr)
        return nullptr;
    auto* pFound = new CUnitRefArray;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr || !pElement->IsAvailable())
            continue;
        const CUnit* pUnit = pElement->GetUnit(pUnits, m_nSide);
        if (!IsLiveUncarried(pUnit) || pUnit->m_pContacts == nullptr)
            continue;
        for (int k = 0; k < pUnit->m_pContacts->GetSize(); ++k)
        {
            const CUnitRef* pRef = pUnit->m_pContacts->GetAt(k);
            if (pRef == nullptr)
                continue;
            const CUnit* pContact = FindUnit(pUnits, pRef->m_nUnit, pRef->m_nArray, pRef->m_nSide);
            if (!IsLiveUncarried(pContact) || !RoleMatches(RoleFlagsOf(pContact, pDatabase), nRoleMask) ||
                !InArea(pContact->m_fX, pContact->m_fY, area))
                continue;
            pFound->InsertSorted(*pRef);
        }
    }
    return pFound;
}

void CHierarchyPlatoon::MoveAllElementsTo(CTaskOrgArray& target)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyElement* pElement = GetElement(i))
            target.Add(pElement);
    }
    // Only element children moved; anything else is not the target's.
    for (int i = GetSize() - 1; i >= 0; --i)
    {
        if (GetElement(i) != nullptr)
            RemoveAtNoDelete(i);
    }
}

void CHierarchyPlatoon::RemoveElementsWithoutRole(int nRoleMask, CKDRUnits* pUnits, CKDRDatabase* pDatabase)
{
    for (int i = GetSize() - 1; i >= 0; --i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr)
            continue;
        const int nRoles = pElement->GetVehicleRoleFlags(pUnits, pDatabase, m_nSide);
        if (nRoles >= 0 && (nRoles & nRoleMask) == 0)
            RemoveAt(i);
    }
}

int CHierarchyPlatoon::GetWeaponSummary(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int& nRange, int& nValueA,
                                        int& nValueB, float& fWeaponValue, DWORD& dwRoles) const
{
    nRange = kUnset;
    nValueA = kUnset;
    nValueB = kUnset;
    fWeaponValue = kUnsetFloat;
    dwRoles = 0;
    float fRanges = 0.0f;
    int nRanged = 0;
    float fValuesA = 0.0f;
    float fValuesB = 0.0f;
    int nCounted = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr || !pElement->IsAvailable())
            continue;
        const CUnit* pUnit = pElement->GetUnit(pUnits, m_nSide);
        const CVehicle* pVehicle = IsLiveUncarried(pUnit) ? VehicleOf(pUnit, pDatabase) : nullptr;
        if (pVehicle == nullptr)
            continue;
        float fSum = 0.0f;
        int nWeapons = 0;
        pElement->SumWeaponValue(0, 5, m_nSide, pUnits, pDatabase, fSum, nWeapons);
        if (nWeapons > 0)
        {
            fRanges += fSum / static_cast<float>(nWeapons);
            ++nRanged;
        }
        fValuesA += static_cast<float>(pVehicle->m_nTargetValue);
        fValuesB += static_cast<float>(pVehicle->m_nThreatValue);
        dwRoles |= static_cast<DWORD>(pVehicle->m_nRoleMask);
        ++nCounted;
    }
    fWeaponValue = SumDefaultSuppressRadius(pUnits, pDatabase, kUnsetFloat, kUnsetFloat);
    if (nRanged > 0)
        nRange = static_cast<int>(fRanges / static_cast<float>(nRanged) + 0.5f);
    if (nCounted > 0)
    {
        nValueA = static_cast<int>(fValuesA / static_cast<float>(nCounted) + 0.5f);
        nValueB = static_cast<int>(fValuesB / static_cast<float>(nCounted) + 0.5f);
    }
    return nCounted;
}

float CHierarchyPlatoon::SumWeaponValue(int nRoleMask, int nMinPenetration, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                        float& fSum, int& nCount) const
{
    const float fBefore = fSum;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyElement* pElement = GetElement(i))
            pElement->SumWeaponValue(nRoleMask, nMinPenetration, m_nSide, pUnits, pDatabase, fSum, nCount);
    }
    return fSum - fBefore;
}

int CHierarchyPlatoon::CountLiveVehicles(DWORD dwMask, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                         BOOL bIncludeDead) const
{
    int nCount = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr || pElement->m_bDetached)
            continue;
        const CUnit* pUnit = pElement->GetUnit(pUnits, m_nSide);
        if (pUnit == nullptr || (pUnit->m_bDestroyed && !bIncludeDead))
            continue;
        const CVehicle* pVehicle = VehicleOf(pUnit, pDatabase);
        if (pVehicle != nullptr && RoleMatches(pVehicle->m_nRoleMask, static_cast<int>(dwMask)))
            ++nCount;
    }
    return nCount;
}

int CHierarchyPlatoon::GetRoleStrength(CKDRUnits* pUnits, CKDRDatabase* pDatabase) const
{
    static const DWORD kStrengthRoles[] = {ROLE_ATTACK, ROLE_ANTI_TANK, ROLE_DISMOUNT, ROLE_ROTARY_WING,
                                           ROLE_TROOP_CARRIER};
    int nLargest = 0;
    for (DWORD dwRole : kStrengthRoles)
        nLargest = std::max(nLargest, CountLiveVehicles(dwRole, pUnits, pDatabase));
    return AtLeastOne(m_nWeight) * nLargest;
}

int CHierarchyPlatoon::RateValue(CKDRUnits* pUnits, CKDRDatabase* pDatabase) const
{
    int nRating = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr || pElement->m_bDestroyed || pElement->m_bDetached)
            continue;
        const CVehicle* pVehicle = pElement->GetVehicle(pUnits, pDatabase, m_nSide);
        if (pVehicle == nullptr)
            continue;
        nRating += AtLeastOne(pVehicle->m_nTargetValue) * AtLeastOne(pVehicle->m_nThreatValue) * AtLeastOne(m_nWeight);
    }
    return nRating;
}

float CHierarchyPlatoon::GetScaledRate(CKDRUnits* pUnits, CKDRDatabase* pDatabase) const
{
    const int nRating = RateValue(pUnits, pDatabase);
    const float fRating = nRating == 0 ? 1.0f : static_cast<float>(nRating);
    return fRating * HIERARCHY_RATE_SCALE;
}

int CHierarchyPlatoon::GetAverageVehicleValues(int& nCategory, CKDRUnits* pUnits, CKDRDatabase* pDatabase) const
{
    float fValues = 0.0f;
    int nValues = 0;
    float fCategories = 0.0f;
    int nCategories = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr || !pElement->IsAvailable())
            continue;
        const CUnit* pUnit = pElement->GetUnit(pUnits, m_nSide);
        const CVehicle* pVehicle = IsLiveUncarried(pUnit) ? VehicleOf(pUnit, pDatabase) : nullptr;
        if (pVehicle == nullptr)
            continue;
        fValues += static_cast<float>(pVehicle->m_nThreatValue);
        ++nValues;
        const int nRoleCategory = CVehicle::RoleFlagsToCategory(pVehicle->m_nRoleMask);
        if (nRoleCategory != 0)
        {
            fCategories += static_cast<float>(nRoleCategory);
            ++nCategories;
        }
    }
    nCategory = nCategories > 0 ? static_cast<int>(fCategories / static_cast<float>(nCategories) + 0.5f) : 0;
    return nValues > 0 ? static_cast<int>(fValues / static_cast<float>(nValues) + 0.5f) : 0;
}
