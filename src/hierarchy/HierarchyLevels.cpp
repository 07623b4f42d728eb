#include "hierarchy/HierarchyLevels.h"

#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchySupport.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"

#include <cstring>

const char* const SYMBOL_SUFFIX_VEHICLE = " vehicle";
const char* const SYMBOL_SUFFIX_PLATOON = " platoon";
const char* const SYMBOL_SUFFIX_COMPANY = " company";

const char* const CLASS_NAME_ELEMENT = "CHierarchyElement";
const char* const CLASS_NAME_PLATOON = "CHierarchyPlatoon";
const char* const CLASS_NAME_COMPANY = "CHierarchyCompany";

BOOL HasClassName(const CObject* pObject, const char* className)
{
    return pObject != nullptr && std::strcmp(pObject->GetRuntimeClass()->m_lpszClassName, className) == 0;
}

CHierarchyElement* AsElement(CObject* pObject)
{
    return HasClassName(pObject, CLASS_NAME_ELEMENT) ? static_cast<CHierarchyElement*>(pObject) : nullptr;
}

CHierarchyPlatoon* AsPlatoon(CObject* pObject)
{
    return HasClassName(pObject, CLASS_NAME_PLATOON) ? static_cast<CHierarchyPlatoon*>(pObject) : nullptr;
}

CHierarchyCompany* AsCompany(CObject* pObject)
{
    return HasClassName(pObject, CLASS_NAME_COMPANY) ? static_cast<CHierarchyCompany*>(pObject) : nullptr;
}

CHierarchyPlatoon* AsContainer(CObject* pObject)
{
    return pObject != nullptr && pObject->IsKindOf(RUNTIME_CLASS(CHierarchyPlatoon))
               ? static_cast<CHierarchyPlatoon*>(pObject)
               : nullptr;
}

namespace hierarchy
{
CUnit* FindUnit(CKDRUnits* pUnits, int nUnit, int nArray, int nSide)
{
    return pUnits != nullptr ? pUnits->GetUnit(nUnit, nArray, nSide) : nullptr;
}

BOOL IsLiveUncarried(const CUnit* pUnit) { return pUnit != nullptr && !pUnit->m_bDestroyed && !pUnit->IsCarried(); }

CVehicle* VehicleOf(const CUnit* pUnit, CKDRDatabase* pDatabase)
{
    if (pUnit == nullptr || pDatabase == nullptr || pDatabase->GetVehicleArray() == nullptr)
        return nullptr;
    return pDatabase->GetVehicle(pUnit->m_nVehicle);
}

int RoleFlagsOf(const CUnit* pUnit, CKDRDatabase* pDatabase)
{
    const CVehicle* pVehicle = VehicleOf(pUnit, pDatabase);
    return pVehicle != nullptr ? pVehicle->m_nRoleMask : 0;
}

BOOL RoleMatches(int nRoleFlags, int nMask) { return nMask <= 0 || (nRoleFlags & nMask) != 0; }

int IndexOfName(const CStringArray& names, const CString& strName)
{
    for (int i = 0; i < names.GetSize(); ++i)
    {
        if (names.GetAt(i) == strName)
            return i;
    }
    return -1;
}
}  // namespace hierarchy
