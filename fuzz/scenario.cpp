// The scenario file ("*.asc"): presence words, start time and the parts of
// the components it names, as the document and the start menu read it.

#include "FuzzSupport.h"
#include "app/KDRScenario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CKDRScenario scenario;
    bool loaded = false;
    fuzz::ReadArchive(data, size,
                      [&](CArchive& ar)
                      {
                          scenario.SerializeScenario(ar);
                          loaded = true;
                      });
    if (loaded)
    {
        CMemFile out;
        CArchive ar(&out, CArchive::store);
        scenario.SerializeScenario(ar);
        ar.Close();
    }
    return 0;
}
