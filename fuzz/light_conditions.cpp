// The light conditions ("*.env" and inside a scenario): events, texts, the
// times of day and the wind.

#include "FuzzSupport.h"
#include "battlefield/KDREnvironment.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CKDREnvironment environment;
    bool loaded = false;
    fuzz::ReadArchive(data, size,
                      [&](CArchive& ar)
                      {
                          environment.Serialize(ar);
                          loaded = true;
                      });
    if (loaded)
    {
        environment.GetLightFactor();
        fuzz::WriteBack(environment);
    }
    return 0;
}
