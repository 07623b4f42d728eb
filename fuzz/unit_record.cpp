// A unit's record, as the unit file and the saved game hold it: its weapons,
// capabilities (turrets inside turrets, carried units, munition loads),
// damage, path and order sets, then its own fields; a record that loads is
// written back.

#include "FuzzSupport.h"
#include "units/Unit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CUnit unit;
    bool loaded = false;
    fuzz::ReadArchive(data, size,
                      [&](CArchive& ar)
                      {
                          unit.Serialize(ar);
                          loaded = true;
                      });
    if (loaded)
        fuzz::WriteBack(unit);
    return 0;
}
