// The mission file ("*.msn"): variant lists, events, texts, flags and pairs.

#include "mission/Mission.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CMission mission;
    bool loaded = false;
    fuzz::ReadArchive(data, size,
                      [&](CArchive& ar)
                      {
                          mission.Serialize(ar);
                          loaded = true;
                      });
    if (loaded)
        fuzz::WriteBack(mission);
    return 0;
}
