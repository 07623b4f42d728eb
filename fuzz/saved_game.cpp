// The saved game ("*.asg", "*.set", "*.est"): smoke, fire missions, the
// scenario's name, totals, type counts and the state of every component it
// names, read by a document with no application and written back.

#include "FuzzSupport.h"
#include "app/KDRDoc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Setup();
    CKDRDoc doc;
    doc.OnNewDocument();
    bool loaded = false;
    fuzz::ReadArchive(data, size,
                      [&](CArchive& ar)
                      {
                          doc.SerializeSavedGame(ar);
                          loaded = true;
                      });
    if (loaded)
    {
        CMemFile out;
        CArchive ar(&out, CArchive::store);
        doc.SerializeSavedGame(ar);
        ar.Close();
    }
    return 0;
}
