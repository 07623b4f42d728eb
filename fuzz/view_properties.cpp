// The view properties ("view.vpl"), read as the view reads it at start-up:
// from its file, into a copy that replaces the settings only when whole.

#include "FuzzSupport.h"
#include "view/ViewProperties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const CString& dir = fuzz::Setup();
    fuzz::WriteInput(CViewProperties::kFileName, data, size);
    CViewProperties properties;
    if (properties.Load(dir))
        fuzz::WriteBack(properties);
    return 0;
}
