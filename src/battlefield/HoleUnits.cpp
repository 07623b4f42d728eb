#include "battlefield/HoleUnits.h"

#include "units/KDRUnits.h"
#include "units/UnitRefArray.h"

namespace hole_units
{
CUnitArray* GetUnitArray(const CKDRUnits* /*pUnits*/, int /*nKind*/, int /*nArray*/)
{
    // The units component holds no unit array yet.
    return nullptr;
}

BOOL IsInContacts(const CKDRUnits* pUnits, int nSide, int nUnit, int nArray)
{
    if (pUnits == nullptr)
        return FALSE;
    const CUnitRefArray* pContacts = nSide == 1 ? pUnits->m_pContactsSide1 : nSide == 2 ? pUnits->m_pContactsSide2 : nullptr;
    return pContacts != nullptr && pContacts->Find(nUnit, nArray, nSide);
}
}  // namespace hole_units
