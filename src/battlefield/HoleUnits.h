#pragma once
// What the dug positions ask of the units component: the unit arrays of a
// kind (0 own, 1 opposing, 2 neutral) and whether the player has a unit of
// another side in sight. Kept apart so that the dug positions need nothing
// else of the component's insides.

#include "platform/core/Types.h"

class CKDRUnits;
class CUnitArray;

namespace hole_units
{
// The array at nArray of the kind (the own array for kind 0 and nArray 0);
// null when the kind is absent or the index is out of range.
CUnitArray* GetUnitArray(const CKDRUnits* pUnits, int nKind, int nArray);
// Whether unit nUnit of array nArray of side 1 or 2 stands in the player's
// contact list of that side.
BOOL IsInContacts(const CKDRUnits* pUnits, int nSide, int nUnit, int nArray);
}  // namespace hole_units
