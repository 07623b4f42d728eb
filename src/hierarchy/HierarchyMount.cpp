// The plan of a mount order: which of the element's carriers takes which
// of the group's teams. The passenger hierarchy holds copies of the
// elements only; the side's own hierarchy is never changed.

#include "hierarchy/HierarchyArray.h"

#include "hierarchy/HierarchyElement.h"
#include "hierarchy/TaskOrg.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"

int CHierarchyArray::PlanMount(CHierarchyPlatoon* pElement, CHierarchyPlatoon* pGroup, CKDRUnits* pUnits,
                               CKDRDatabase* pDatabase, CKDRGameMap*)
{
    if (pElement == nullptr || pGroup == nullptr || pUnits == nullptr || pDatabase == nullptr)
        return 0;
    m_nSide = pElement->m_nSide;
    CTaskOrgArray carriers;
    pElement->CollectCarrierElements(&carriers, pUnits);
    for (int i = 0; i < carriers.GetSize(); ++i)
    {
        const auto* pCarrier = dynamic_cast<const CHierarchyElement*>(carriers.GetAt(i));
        const CUnit* pUnit = pCarrier != nullptr ? pUnits->GetUnit(pCarrier->m_nUnit, pCarrier->m_nArray, m_nSide)
                                                 : nullptr;
        if (pUnit == nullptr || pUnit->GetRoomInCarrier(pDatabase) <= 0)
            continue;
        auto* pCompany = new CHierarchyCompany;
        pCompany->m_strName = pCarrier->m_strName;
        pCompany->m_nSide = m_nSide;
        pCompany->Add(new CHierarchyElement(*pCarrier, TRUE));
        auto* pPassengers = new CHierarchyPlatoon;
        pPassengers->m_strName = pCarrier->m_strName;
        pPassengers->m_nSide = m_nSide;
        pCompany->Add(pPassengers);
        Add(pCompany);
    }
    CTaskOrgArray teams;
    pGroup->CollectDismountElements(&teams, pUnits);
    CHierarchyArray* pMountingSide = pUnits->GetPresentHierarchy(pGroup->m_nSide);
    int nPlaced = 0;
    for (int i = 0; i < teams.GetSize(); ++i)
    {
        const auto* pTeam = dynamic_cast<const CHierarchyElement*>(teams.GetAt(i));
        const CUnit* pUnit =
            pTeam != nullptr ? pUnits->GetUnit(pTeam->m_nUnit, pTeam->m_nArray, pGroup->m_nSide) : nullptr;
        if (pUnit == nullptr || pUnit->m_bDestroyed || pUnit->IsCarried() || pUnit->IsMounting())
            continue;
        auto* pCopy = new CHierarchyElement(*pTeam, TRUE);
        if (InsertUnitsInOrder(pCopy, pMountingSide, pUnits, pDatabase))
            ++nPlaced;
        else
            delete pCopy;
    }
    return nPlaced > 0 ? 1 : 0;
}
