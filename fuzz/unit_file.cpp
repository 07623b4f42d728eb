// The unit file ("*.unt"): one force's unit array, read through the game's
// own loader (a bad file gives its message and 0), then the array's loops
// that walk what was read (sides, counts, selections, deletion events to
// the capabilities, shot lines) and a write back.

#include "FuzzSupport.h"
#include "hierarchy/TaskOrg.h"
#include "units/UnitArray.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const CString path = fuzz::WriteInput("input.unt", data, size);
    CUnitArray units;
    if (!units.LoadUnitFile(path, fuzz::Setup()))
        return 0;
    units.SetSide(1);
    int nAlive = 0;
    int nTotal = 0;
    int perType[8] = {};
    units.CountUnits(nAlive, nTotal, perType, 8);
    std::unique_ptr<CTaskOrgArray> pSelection(units.SelectInRect(0.0f, 0.0f, 5000.0f, 5000.0f, 0, 0));
    units.ForEachCapabilityOfSide(1, 0, 0);
    units.ForEachCapabilityOfSide(1, 0, -99);
    units.ForEachCapability(0, 0);
    units.CountDownShotLines();
    units.ResetContacts();
    units.IsMostlyPictured(nullptr);
    CString report;
    units.RebuildFromDatabase(nullptr, report);
    fuzz::WriteBack(units);
    return 0;
}
