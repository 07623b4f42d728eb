#pragma once
// What the simulation tells the player: the spot reports of what units see
// and suffer, the report windows that list what a file lacked, the
// positioned message box of the map and the mission's results window.
//
// The operations name what happened; the service decides whether a report
// is made (CSpotReporter holds the posting rule both shells share) and
// where a window goes. The application object installs itself while it
// lives; tests, tools and benchmarks install a CHeadlessShell, which keeps
// the reports and records every window's text instead of showing it. With
// none installed nothing is reported and no window opens.

#include "platform/core/CString.h"
#include "platform/core/Types.h"

class CFireMission;
class CFireMissionLogWindow;
class CSpotReport;
class CUnit;
class CVehicle;
class CWeapon;

class CReportService
{
public:
    virtual ~CReportService() = default;

    // ---- Spot reports ----
    virtual void ReportDetection(BOOL bUnidentified, CUnit* pObserver, CUnit* pTarget, CVehicle* pTargetVehicle) = 0;
    virtual void ReportEngagement(CUnit* pShooter, CVehicle* pShooterVehicle, int nShooterUnit, int nShooterArray,
                                  CUnit* pTarget, CVehicle* pTargetVehicle, CWeapon* pWeapon) = 0;
    virtual void ReportKill(CUnit* pShooter, CVehicle* pShooterVehicle, int nShooterUnit, int nShooterArray,
                            CUnit* pTarget, CVehicle* pTargetVehicle, CWeapon* pWeapon) = 0;
    virtual void ReportArtilleryImpact(CFireMission* pImpact) = 0;
    virtual void ReportArtilleryEffect(BOOL bDestroyed, CUnit* pUnit, int nUnit, int nArray,
                                       CFireMission* pImpact) = 0;
    virtual void ReportChemicalKill(CUnit* pUnit, CVehicle* pVehicle) = 0;
    // Game-loop step: the report accepted since the last step goes to the log.
    virtual void ShowPendingSpotReport() = 0;
    // A report picked in the log: the map moves to its unit or position.
    virtual void ShowSpotReportInView(const CSpotReport* pReport) = 0;
    // A modeless tool window closed by its own close box (the spot report
    // log passes SPOT_REPORT_LOG_TOOL_WINDOW).
    virtual void OnToolWindowClosed(int nKind) = 0;
    // A new fire-mission log window, owned by the caller; null when the
    // shell shows none (the units then keep the log's lines without one).
    virtual CFireMissionLogWindow* NewFireMissionLogWindow() = 0;

    // ---- Prompts and report windows ----
    // The map's positioned message box (nX, nY in map units, kUnset: centred).
    virtual BOOL ShowMessageBoxDlg(const CString& strTitle, const CString& strText, int nX, int nY) = 0;
    // A modeless report window that owns itself (what a loaded file lacked).
    virtual void ShowReport(const CString& strReport) = 0;
    // The results page written to the saved-game directory, shown modally.
    virtual void ShowMissionResults(const CString& strSavegameDir, const CString& strDataDir) = 0;
};

// The installed service; null when none is.
CReportService* GetReportService();
// Installs a service (null: none) and answers the one it replaces.
CReportService* SetReportService(CReportService* pService);
