// The units part of a saved game: the scenario part, six presence words,
// the unit arrays and the hierarchies, read through the game's own reader
// (a bad part raises the archive error and leaves nothing half made); then
// the look-ups and the walks over every array, and a write back.

#include "FuzzSupport.h"
#include "hierarchy/TaskOrg.h"
#include "platform/core/Unset.h"
#include "units/KDRUnits.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CKDRUnits units;
    BOOL bRead = FALSE;
    fuzz::ReadArchive(data, size,
                      [&](CArchive& ar)
                      {
                          units.SerializeState(ar);
                          bRead = TRUE;
                      });
    if (!bRead)
        return 0;
    for (int nKind = -1; nKind <= 3; ++nKind)
    {
        units.HasUnitsOfKind(nKind);
        for (int nArray = -1; nArray <= units.GetArrayCount(nKind); ++nArray)
            units.GetUnit(0, nArray, nKind);
    }
    units.RebuildGlobalMap();
    units.SetUnitSpriteValue(0.5f);
    units.RebuildUnitSymbols(TRUE, nullptr);
    int nArray = kUnset;
    int nKind = -1;
    units.HitTestContact(10, 10, nArray, nKind, TRUE, TRUE);
    units.HitTestDestroyed(10, 10, nArray, nKind);
    std::unique_ptr<CTaskOrgArray> pAt(units.GetUnitsAtPoint(10, 10));
    CMemFile out;
    CArchive ar(&out, CArchive::store);
    units.SerializeState(ar);
    ar.Close();
    return 0;
}
