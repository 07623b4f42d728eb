// The vehicle list ("*.veh"): vehicles with their mounts, capabilities and
// kill tables, the munitions, and the two list names; a list that loads is
// fitted to a small weapon list and written back.

#include "FuzzSupport.h"
#include "database/VehicleArray.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CVehicleArray vehicles;
    bool loaded = false;
    fuzz::ReadArchive(data, size,
                      [&](CArchive& ar)
                      {
                          vehicles.Serialize(ar);
                          loaded = true;
                      });
    if (!loaded)
        return 0;
    vehicles.FitToWeaponList(3);
    fuzz::WriteBack(vehicles);
    return 0;
}
