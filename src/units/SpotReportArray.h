#pragma once
// The application's spot-report log: the newest reports, owned, and the
// modeless log window that lists them. Until the log window is built the
// array keeps the reports and only remembers whether the log is shown.

#include "platform/core/Collections.h"
#include "units/SpotReport.h"

class CSpotReportArray : public TypedObArray<CSpotReport>
{
    DECLARE_SERIAL(CSpotReportArray)
public:
    // The log never holds more reports than this; the oldest goes first.
    static constexpr int MAX_REPORTS = 256;

    CSpotReportArray();
    ~CSpotReportArray() override;

    // Appends the report (taking ownership), drops the oldest beyond the
    // limit, refreshes the log; answers the index of the added report.
    virtual int Add(CSpotReport* pReport);

    void ToggleLog();
    BOOL IsLogShown() const { return m_bLogShown; }

private:
    BOOL m_bLogShown;
};
