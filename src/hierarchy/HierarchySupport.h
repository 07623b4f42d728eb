#pragma once
// What the hierarchy levels' sources share: unit and vehicle look-ups and
// name searches. Not part of the hierarchy's interface. The records' word
// forms are the equipment records' (StoreWord, LoadFlag ...).

#include "database/DatabaseSupport.h"
#include "hierarchy/HierarchyElement.h"

class CKDRDatabase;
class CKDRUnits;
class CUnit;
class CVehicle;

namespace hierarchy
{
// The unit an entry names on that side; null without units or unit.
CUnit* FindUnit(CKDRUnits* pUnits, int nUnit, int nArray, int nSide);
// The unit exists, is not destroyed and rides in no carrier.
BOOL IsLiveUncarried(const CUnit* pUnit);
// The vehicle type of a unit; null without database, list or type.
CVehicle* VehicleOf(const CUnit* pUnit, CKDRDatabase* pDatabase);
// The vehicle type's role flags, 0 without a type.
int RoleFlagsOf(const CUnit* pUnit, CKDRDatabase* pDatabase);
// A mask of 0 or less takes every role; otherwise the flags must share a bit.
BOOL RoleMatches(int nRoleFlags, int nMask);

// The index of the first entry equal to the name, or -1.
int IndexOfName(const CStringArray& names, const CString& strName);
}  // namespace hierarchy
