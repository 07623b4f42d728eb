#pragma once
// The four shell services taken together, as the application object and the
// headless shell install them: both serve all four at once and put back what
// was there before when they go.

class CDrawService;
class CPlayService;
class CReportService;
class CSoundService;

struct CServiceSet
{
    CPlayService* pPlay = nullptr;
    CReportService* pReports = nullptr;
    CDrawService* pDraw = nullptr;
    CSoundService* pSound = nullptr;
};

// Installs the four and answers the ones they replace.
CServiceSet InstallServiceSet(const CServiceSet& services);
// Puts back `previous` for each service of `installed` that is still the one
// in place; one that another owner has replaced since stays as it is.
void RestoreServiceSet(const CServiceSet& installed, const CServiceSet& previous);
