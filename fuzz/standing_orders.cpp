// The standing orders ("*.sop"): an order set of unit orders with their
// conditions, phases and AI data, nested as the file says; what loads is
// written back.

#include "FuzzSupport.h"
#include "orders/UnitOrderArray.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CUnitOrderArray orders;
    bool loaded = false;
    fuzz::ReadArchive(data, size,
                      [&](CArchive& ar)
                      {
                          orders.Serialize(ar);
                          loaded = true;
                      });
    if (loaded)
        fuzz::WriteBack(orders);
    return 0;
}
