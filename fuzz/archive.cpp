// The archive itself: strings, counts, scalars and class-tagged objects of
// the core's own classes, owned and shared, in the order the input's own
// bytes choose; what loads is written back. Built over the core alone, so
// only the core's classes can be named.

#include "platform/core/Core.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CMemFile file(data, static_cast<UINT>(size));
    std::vector<CObject*> owned;
    try
    {
        CArchive ar(&file, CArchive::load);
        for (int step = 0; step < 64 && ar.GetBytesLeft() > 0; ++step)
        {
            BYTE op = 0;
            ar >> op;
            switch (op % 8)
            {
            case 0:
            {
                CString text;
                ar >> text;
                break;
            }
            case 1: ar.ReadCount(1); break;
            case 2: owned.push_back(ar.ReadObject(nullptr)); break;
            case 3: ar.ReadObjectRef(nullptr); break;
            case 4: owned.push_back(ar.ReadObject(RUNTIME_CLASS(CObArray))); break;
            case 5:
            {
                CStringList list;
                list.Serialize(ar);
                break;
            }
            case 6:
            {
                CDWordArray words;
                words.Serialize(ar);
                break;
            }
            default:
            {
                double x;
                CTime t;
                CTimeSpan span;
                ar >> x >> t >> span;
                break;
            }
            }
        }
        ar.Close();
        CMemFile out;
        CArchive back(&out, CArchive::store);
        for (CObject* p : owned)
            back << p;
        back.Close();
    }
    catch (const CException&)
    {
    }
    for (CObject* p : owned)
        delete p;
    return 0;
}
