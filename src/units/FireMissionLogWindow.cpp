#include "units/FireMissionLogWindow.h"

#include "shell/ReportService.h"

namespace
{
// Holds what a window would show, with no window.
class CHeadlessFireMissionLog : public CFireMissionLogWindow
{
public:
    BOOL Open() override
    {
        m_bOpen = TRUE;
        return TRUE;
    }
    void CloseWindow() override { m_bOpen = FALSE; }
    BOOL IsOpen() const override { return m_bOpen; }
    void FillList(int nSide, const CStringList& lines, const std::vector<SFireLogRecord>&) override
    {
        m_nSide = nSide;
        m_lines = lines;
    }
    int GetSide() const override { return m_nSide; }
    const CStringList& GetLines() const override { return m_lines; }

private:
    BOOL m_bOpen = FALSE;
    int m_nSide = 0;
    CStringList m_lines;
};
}  // namespace

CFireMissionLogWindow* NewFireMissionLogWindow()
{
    CReportService* pReports = GetReportService();
    if (CFireMissionLogWindow* pWindow = pReports != nullptr ? pReports->NewFireMissionLogWindow() : nullptr)
        return pWindow;
    return new CHeadlessFireMissionLog;
}
