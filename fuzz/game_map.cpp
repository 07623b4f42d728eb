// The game map part ("*.gmp" and inside a scenario): tile counts and the
// names of the map's files.

#include "FuzzSupport.h"
#include "battlefield/KDRGameMap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CKDRGameMap map;
    bool loaded = false;
    fuzz::ReadArchive(data, size,
                      [&](CArchive& ar)
                      {
                          map.Serialize(ar);
                          loaded = true;
                      });
    if (loaded)
        fuzz::WriteBack(map);
    return 0;
}
