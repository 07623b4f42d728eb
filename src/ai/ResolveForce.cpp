// The unit group a force stands for, and the array's forwarding of map
// editing to the named item.
//
// A group is always a new hierarchy of copies: the role filter and the
// flattening that follow it delete elements and containers, which must
// never happen to the units component's own hierarchies.

#include "ai/UOrdAIOrderData.h"

#include "ai/UOrdAIOrderDataKinds.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchyCompany.h"
#include "hierarchy/HierarchyPlatoon.h"
#include "units/KDRUnits.h"

namespace
{
constexpr int kDivisionGroups = 4;

// A deep copy of a platoon or company for a group.
CObject* CopyContainer(const CHierarchyPlatoon* pElement)
{
    if (pElement->GetLevel() != HIERARCHY_PLATOON)
    {
        if (const auto* pCompany = dynamic_cast<const CHierarchyCompany*>(pElement))
            return new CHierarchyCompany(*pCompany, FALSE);
    }
    return new CHierarchyPlatoon(*pElement, FALSE);
}

// The union of the division's groups that the mask selects (bit i: group
// i); null when they hold nothing.
CHierarchyArray* UnionOfGroups(const CUOrdAIOrderDataDivideForce& divide, int nMask)
{
    CHierarchyArray* pUnion = nullptr;
    for (int i = 0; i < kDivisionGroups; ++i)
    {
        const CHierarchyArray* pGroup = divide.m_apGroups[i];
        if ((nMask & (1 << i)) == 0 || divide.m_abNoGroup[i] || pGroup == nullptr || pGroup->GetSize() == 0)
            continue;
        if (pUnion == nullptr)
        {
            pUnion = new CHierarchyArray;
            pUnion->m_nSide = pGroup->m_nSide;
        }
        pUnion->CopyStructure(pGroup);
    }
    return pUnion;
}

// Keeps only the vehicles of the roles, held directly by the group.
void FilterByRole(CHierarchyArray& group, int nRoleFlags, CKDRUnits* pUnits, CKDRDatabase* pDatabase)
{
    group.RemoveElementsWithoutRole(nRoleFlags, pUnits, pDatabase);
    CHierarchyPlatoon flat;
    group.MoveAllElementsTo(flat);
    for (int i = 0; i < flat.GetSize(); ++i)
        group.Add(flat.GetChild(i));
    flat.RemoveAllNoDelete();
}
}  // namespace

CHierarchyArray* CUOrdAIOrderData::ResolveForce(CUOrdAIOrderDataDivideForce* pDivideForce, CKDRUnits* pUnits,
                                                CKDRDatabase* pDatabase, CHierarchyPlatoon* pFallback,
                                                int nGroupMask, int nRoleFlags, const CString& forceName, int nSide)
{
    CHierarchyArray* pGroup = nullptr;
    if (pDivideForce != nullptr && nGroupMask >= 0)
        pGroup = UnionOfGroups(*pDivideForce, nGroupMask);
    if (pGroup == nullptr)
    {
        if (pUnits == nullptr)
            return nullptr;
        if (!forceName.IsEmpty())
        {
            const CHierarchyPlatoon* pElement = pUnits->FindElementByName(forceName);
            if (pElement == nullptr)
                return nullptr;
            pGroup = new CHierarchyArray;
            pGroup->m_nSide = pElement->m_nSide;
            pGroup->Add(CopyContainer(pElement));
        }
        else
        {
            BOOL* pPresent = nullptr;
            const CHierarchyArray* pSide = pUnits->GetHierarchyArray(nSide, pPresent);
            if (pSide != nullptr && pPresent != nullptr && *pPresent)
            {
                // Only the structure: a group needs no dialog or orders.
                pGroup = new CHierarchyArray(*pSide, TRUE);
            }
            else
            {
                if (pFallback == nullptr)
                    return nullptr;
                pGroup = new CHierarchyArray;
                pGroup->m_nSide = pFallback->m_nSide;
                pGroup->Add(CopyContainer(pFallback));
            }
        }
    }
    if (nRoleFlags > 0)
        FilterByRole(*pGroup, nRoleFlags, pUnits, pDatabase);
    return pGroup;
}

BOOL CUOrdAIOrderDataArray::EditOnMap(const CString& name, CKDRGameMap* pTarget, CKDRUnits* pUnits, int nValue,
                                      CHierarchyPlatoon* pElement, float x, float y)
{
    CUOrdAIOrderData* pItem = FindByName(name);
    return pItem != nullptr ? pItem->EditOnMap(pTarget, pUnits, nValue, pElement, x, y) : FALSE;
}

BOOL CUOrdAIOrderDataArray::FinishEditOnMap(const CString& name, CKDRGameMap* pTarget, CKDRUnits* pUnits, int nValue,
                                            CHierarchyPlatoon* pElement, float x, float y, BOOL* pPlaceAgain,
                                            BOOL* pEndEdit)
{
    CUOrdAIOrderData* pItem = FindByName(name);
    return pItem != nullptr ? pItem->FinishEditOnMap(pTarget, pUnits, nValue, pElement, x, y, pPlaceAgain, pEndEdit)
                            : FALSE;
}

void CUOrdAIOrderDataArray::Notify(const CString& name, CKDRGameMap* pTarget, CKDRUnits* pUnits, int nValue,
                                   CHierarchyPlatoon* pElement, float x, float y)
{
    if (CUOrdAIOrderData* pItem = FindByName(name))
        pItem->Notify(pTarget, pUnits, nValue, pElement, x, y);
}
