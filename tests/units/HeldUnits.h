#pragma once
// A units component that holds its unit arrays in the test's hands: one own
// array and any number of opposing and neutral arrays of plain units placed
// at map points. The counts walk them through GetUnitArray as they walk the
// arrays a mission loads.

#include "units/KDRUnits.h"
#include "units/Unit.h"
#include "units/UnitArray.h"

#include <memory>
#include <vector>

class CHeldUnits : public CKDRUnits
{
public:
    // Adds a live unit of the vehicle type at (x, y) to array nArray of the
    // kind (a new array when nArray is the next one); the unit itself.
    CUnit* Place(int nKind, int nArray, float fX, float fY, int nVehicle = 0)
    {
        std::vector<std::unique_ptr<CUnitArray>>& arrays = m_arrays[nKind];
        while (static_cast<int>(arrays.size()) <= nArray)
        {
            arrays.push_back(std::make_unique<CUnitArray>());
            arrays.back()->m_nSide = nKind;
        }
        auto* pUnit = new CUnit;
        pUnit->m_nSide = nKind;
        pUnit->m_nVehicle = nVehicle;
        pUnit->m_fX = fX;
        pUnit->m_fY = fY;
        arrays[static_cast<size_t>(nArray)]->Add(pUnit);
        return pUnit;
    }
    // Kills every unit of the kind but the first nLeft (array order).
    void KillAllBut(int nKind, int nLeft)
    {
        for (auto& pArray : m_arrays[nKind])
            for (int i = 0; i < pArray->GetSize(); ++i)
                if (CUnit* pUnit = pArray->GetAt(i); pUnit != nullptr && nLeft-- <= 0)
                    pUnit->m_bDestroyed = TRUE;
    }

    CUnitArray* GetUnitArray(int nArray, int nKind) const override
    {
        if (nKind < 0 || nKind > 2)
            return nullptr;
        const auto& arrays = m_arrays[nKind];
        if (nKind == 0)
            nArray = 0;
        return nArray >= 0 && nArray < static_cast<int>(arrays.size()) ? arrays[static_cast<size_t>(nArray)].get()
                                                                        : nullptr;
    }
    CUnit* GetUnit(int nUnit, int nArray, int nKind) const override
    {
        const CUnitArray* pArray = GetUnitArray(nArray, nKind);
        return pArray != nullptr ? pArray->GetAt(nUnit) : nullptr;
    }

private:
    std::vector<std::unique_ptr<CUnitArray>> m_arrays[3];
};
