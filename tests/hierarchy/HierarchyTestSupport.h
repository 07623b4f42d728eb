#pragma once
// What the hierarchy tests share: a units component whose unit addresses
// resolve to unit arrays held here (the component's own unit collections
// do not load yet, so the tests hand it theirs), units built from the
// demo's vehicle types and hierarchy levels put together in a line (the
// record helpers are the equipment tests').

#include "../app/ScenarioBytes.h"
#include "../units/UnitTestSupport.h"

#include "hierarchy/HierarchyArray.h"
#include "platform/core/Unset.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"
#include "units/UnitArray.h"

#include <cstring>
#include <initializer_list>
#include <memory>
#include <vector>

namespace hierarchytest
{
using namespace demo_equipment;

// The address look-up of the units component over arrays of its own:
// kind 0 has one array (its array index says nothing), kinds 1 and 2 a list.
class CArrayUnits : public CKDRUnits
{
public:
    CUnit* GetUnit(int nUnit, int nArray, int nKind) const override
    {
        if (nKind < 0 || nKind > 2)
            return nullptr;
        const int nIndex = nKind == 0 ? 0 : nArray;
        if (nIndex < 0 || nIndex >= static_cast<int>(m_arrays[nKind].size()))
            return nullptr;
        return m_arrays[nKind][static_cast<size_t>(nIndex)]->GetAt(nUnit);
    }

    // A unit of the vehicle type appended to array nArray of the kind (made
    // when missing), at a place; its unit index.
    CUnit* AddUnit(CKDRDatabase* pDatabase, int nKind, int nArray, int nVehicle, float x = 100.0f, float y = 100.0f)
    {
        while (static_cast<int>(m_arrays[nKind].size()) <= nArray)
            m_arrays[nKind].push_back(std::make_unique<CUnitArray>());
        auto* pUnit = new CUnit(pDatabase, nVehicle);
        pUnit->SetSide(nKind);
        pUnit->m_fX = x;
        pUnit->m_fY = y;
        m_arrays[nKind][static_cast<size_t>(nArray)]->Add(pUnit);
        return pUnit;
    }

    // The side's hierarchy, owned by the component from now on.
    void SetHierarchy(int nSide, CHierarchyArray* pHierarchy)
    {
        delete m_pHierarchy[nSide];
        m_pHierarchy[nSide] = pHierarchy;
        m_bHierarchy[nSide] = pHierarchy != nullptr;
    }

    std::vector<std::unique_ptr<CUnitArray>> m_arrays[3];
};

// An element of unit nUnit in array nArray, named; leads at nIndex when it
// qualifies for a platoon (bPlatoon) or a company (bCompany).
inline CHierarchyElement* Element(const char* name, int nUnit, int nArray = 0, int nIndex = kUnset,
                                  BOOL bPlatoon = FALSE, BOOL bCompany = FALSE)
{
    auto* pElement = new CHierarchyElement;
    pElement->m_strName = name;
    pElement->m_nUnit = nUnit;
    pElement->m_nArray = nArray;
    pElement->m_nIndex = nIndex;
    pElement->m_bPlatoonLeader = bPlatoon;
    pElement->m_bCompanyLeader = bCompany;
    return pElement;
}

// A container of that level holding the children, in order.
template <class Level>
Level* Holding(const char* name, int nSide, std::initializer_list<CObject*> children)
{
    auto* pLevel = new Level;
    pLevel->m_strName = name;
    pLevel->m_nSide = nSide;
    for (CObject* pChild : children)
        pLevel->Add(pChild);
    return pLevel;
}

}  // namespace hierarchytest
