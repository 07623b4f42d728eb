// The installed shell services. Only the user-interface thread installs
// and calls them.

#include "shell/DrawService.h"
#include "shell/MissionService.h"
#include "shell/PlayService.h"
#include "shell/ReportService.h"
#include "shell/ServiceSet.h"
#include "shell/SoundService.h"

#include <utility>

namespace
{
CPlayService* g_pPlay = nullptr;
CReportService* g_pReports = nullptr;
CDrawService* g_pDraw = nullptr;
CSoundService* g_pSound = nullptr;
CMissionService* g_pMission = nullptr;
}  // namespace

CPlayService* GetPlayService() { return g_pPlay; }
CPlayService* SetPlayService(CPlayService* pService) { return std::exchange(g_pPlay, pService); }

CReportService* GetReportService() { return g_pReports; }
CReportService* SetReportService(CReportService* pService) { return std::exchange(g_pReports, pService); }

CDrawService* GetDrawService() { return g_pDraw; }
CDrawService* SetDrawService(CDrawService* pService) { return std::exchange(g_pDraw, pService); }

CSoundService* GetSoundService() { return g_pSound; }
CSoundService* SetSoundService(CSoundService* pService) { return std::exchange(g_pSound, pService); }

CMissionService* GetMissionService() { return g_pMission; }
CMissionService* SetMissionService(CMissionService* pService) { return std::exchange(g_pMission, pService); }

CServiceSet InstallServiceSet(const CServiceSet& services)
{
    return {SetPlayService(services.pPlay), SetReportService(services.pReports), SetDrawService(services.pDraw),
            SetSoundService(services.pSound)};
}

void RestoreServiceSet(const CServiceSet& installed, const CServiceSet& previous)
{
    if (g_pPlay == installed.pPlay)
        g_pPlay = previous.pPlay;
    if (g_pReports == installed.pReports)
        g_pReports = previous.pReports;
    if (g_pDraw == installed.pDraw)
        g_pDraw = previous.pDraw;
    if (g_pSound == installed.pSound)
        g_pSound = previous.pSound;
}
