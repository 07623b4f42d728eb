#pragma once
// A contact list: references to units that one side knows of. Least form:
// an empty list that knows no unit.

#include "platform/core/Object.h"

class CUnitRefArray : public CObject
{
    DECLARE_SERIAL(CUnitRefArray)
public:
    // TRUE when the list holds a reference to that unit.
    BOOL Find(int nUnit, int nArray, int nSide) const;
};
