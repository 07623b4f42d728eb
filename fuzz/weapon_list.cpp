// The weapon list ("*.wep"): the weapons with their capabilities, the
// list's own name and its deepest penetration; what loads is written back.

#include "FuzzSupport.h"
#include "database/Weapon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CWeaponArray weapons;
    bool loaded = false;
    fuzz::ReadArchive(data, size,
                      [&](CArchive& ar)
                      {
                          weapons.Serialize(ar);
                          loaded = true;
                      });
    if (loaded)
        fuzz::WriteBack(weapons);
    return 0;
}
