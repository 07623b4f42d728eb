#include "units/SpotReportArray.h"

IMPLEMENT_SERIAL(CSpotReportArray, CObArray, 1)

CSpotReportArray::CSpotReportArray() : m_bLogShown(FALSE) {}

CSpotReportArray::~CSpotReportArray() = default;

int CSpotReportArray::Add(CSpotReport* pReport)
{
    int index = TypedObArray<CSpotReport>::Add(pReport);
    if (GetSize() > MAX_REPORTS)
    {
        RemoveAt(0);
        --index;
    }
    return index;
}

void CSpotReportArray::ToggleLog() { m_bLogShown = !m_bLogShown; }
