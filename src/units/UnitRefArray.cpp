#include "units/UnitRefArray.h"

IMPLEMENT_SERIAL(CUnitRefArray, CObject, 1)

BOOL CUnitRefArray::Find(int, int, int) const { return FALSE; }
