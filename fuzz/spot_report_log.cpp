// The spot report log in its archive form: the framework's object list of
// spot reports, read through the log's own loader (a list cut short or of
// another class raises the archive error and leaves the log as it was),
// then the log's lines, a look-up by line, one more report and a write
// back.

#include "FuzzSupport.h"
#include "units/SpotReportArray.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CSpotReportArray log;
    fuzz::ReadArchive(data, size, [&](CArchive& ar) { log.Serialize(ar); });
    CString last;
    for (int i = 0; i < log.GetSize(); ++i)
        last = CSpotReportArray::FormatLine(*log.GetAt(i));
    log.ShowReportWithLine(last);
    log.Add(new CSpotReport);
    if (log.GetSize() > CSpotReportArray::MAX_REPORTS)
        std::abort();
    fuzz::WriteBack(log);
    return 0;
}
