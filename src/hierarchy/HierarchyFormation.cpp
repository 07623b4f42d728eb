// The platoon's services to formation placement: the numbered conditional
// starts of its path legs and the extents of its own formation.

#include "hierarchy/HierarchyPlatoon.h"

#include "orders/FormationOrder.h"
#include "orders/UnitOrderArray.h"

int CHierarchyPlatoon::AddConditionalStart(int nNumber, CKDRUnits* pUnits)
{
    if (nNumber < 0 || m_pOrders == nullptr)
        return 0;
    for (int i = 0; i < m_pOrders->GetSize(); ++i)
    {
        const CUnitOrder* pOrder = m_pOrders->GetAt(i);
        if (pOrder != nullptr && pOrder->GetOrderType() == UORD_CONDITIONAL_START &&
            static_cast<const CUOrdConditionalStart*>(pOrder)->m_nNumber == nNumber)
            return 0;
    }
    const BOOL bFormation = m_pOrders->GetFormationOrder() != nullptr;
    m_pOrders->Add(new CUOrdConditionalStart(nNumber, bFormation, this, pUnits));
    return 1;
}

BOOL CHierarchyPlatoon::GetFormationPlace(CKDRUnits* pUnits, float& fRadius, float& fWidth, float& fDepth)
{
    fRadius = fWidth = fDepth = 0.0f;
    CUOrdPlatoonFormation* pOrder = m_pOrders != nullptr ? m_pOrders->GetFormationOrder() : nullptr;
    if (pOrder == nullptr)
        return FALSE;
    FormationMembers set0;
    FormationMembers set1;
    CUOrdPlatoonFormation::CollectMembers(this, pUnits, set0, set1);
    // A copy, so that the held order keeps the places it was placed with.
    CUOrdPlatoonFormation probe(*pOrder);
    return probe.BuildCentred(set0, set1, this, pUnits, fRadius, fWidth, fDepth);
}
