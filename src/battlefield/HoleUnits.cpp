#include "battlefield/HoleUnits.h"

#include "units/KDRUnits.h"
#include "units/UnitRefArray.h"

namespace hole_units
{
CUnitArray* GetUnitArray(const CKDRUnits* pUnits, int nKind, int nArray)
{
    if (pUnits == nullptr)
        return nullptr;
    return pUnits->GetArrayOfKind(nKind, nArray);
}

BOOL IsInContacts(const CKDRUnits* pUnits, int nSide, int nUnit, int nArray)
{
    if (pUnits == nullptr)
        return FALSE;
    const CUnitRefArray* pContacts = nSide == 1 ? pUnits->m_pContacts[CONTACTS_OWN_OF_OPPOSING] : nSide == 2 ? pUnits->m_pContacts[CONTACTS_OWN_OF_NEUTRAL] : nullptr;
    return pContacts != nullptr && pContacts->Find(nUnit, nArray, nSide);
}
}  // namespace hole_units
