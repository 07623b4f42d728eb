// The formation templates ("*.frm"): platoon and company templates with
// their places; what loads is written back.

#include "FuzzSupport.h"
#include "orders/FormationTemplateArray.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFormationTemplateArray templates;
    bool loaded = false;
    fuzz::ReadArchive(data, size,
                      [&](CArchive& ar)
                      {
                          templates.Serialize(ar);
                          loaded = true;
                      });
    if (loaded)
        fuzz::WriteBack(templates);
    return 0;
}
