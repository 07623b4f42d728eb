#pragma once
// The spot-report half of the report service that every shell shares: the
// report operations build a report at the present game time and post it,
// and the posting rule decides which reports the player sees. A report of
// no greater priority than the one shown, within a game second of it, is
// not made at all, so a battle that keeps seeing the same contacts does not
// build and throw away a report for every sighting of every pass.
//
// The accepted report is kept as a copy and goes to the log on the game
// loop's next ShowPendingSpotReport. The shell that derives from this
// (the application object, the headless shell) answers the clock and the
// database and adds the windows: the view's focus on a report and the
// prompts of CReportService.

#include "shell/ReportService.h"

class CGameTime;
class CKDRDatabase;
class CSpotReportArray;

class CSpotReporter : public CReportService
{
public:
    CSpotReporter();
    ~CSpotReporter() override;
    CSpotReporter(const CSpotReporter&) = delete;
    CSpotReporter& operator=(const CSpotReporter&) = delete;

    // What the shell lends the reports: the game time they are made at and
    // the database that names an impact's munition.
    virtual CGameTime* GetGameClock() const = 0;
    virtual CKDRDatabase* GetDatabase() const = 0;

    // Offers a report; the reporter owns it from here on in every case.
    void PostSpotReport(CSpotReport* pReport);
    // Whether PostSpotReport would take a report of that priority now: the
    // report operations build a report only then.
    BOOL WillAcceptSpotReport(int nPriority) const;

    // CReportService: what units see and suffer. Reports are made only
    // where an own unit is involved (the artillery impact excepted).
    void ReportDetection(BOOL bUnidentified, CUnit* pObserver, CUnit* pTarget, CVehicle* pTargetVehicle) override;
    void ReportEngagement(CUnit* pShooter, CVehicle* pShooterVehicle, int nShooterUnit, int nShooterArray,
                          CUnit* pTarget, CVehicle* pTargetVehicle, CWeapon* pWeapon) override;
    void ReportKill(CUnit* pShooter, CVehicle* pShooterVehicle, int nShooterUnit, int nShooterArray, CUnit* pTarget,
                    CVehicle* pTargetVehicle, CWeapon* pWeapon) override;
    void ReportArtilleryImpact(CFireMission* pImpact) override;
    void ReportArtilleryEffect(BOOL bDestroyed, CUnit* pUnit, int nUnit, int nArray, CFireMission* pImpact) override;
    void ReportChemicalKill(CUnit* pUnit, CVehicle* pVehicle) override;
    // A copy of the pending report goes to the log.
    void ShowPendingSpotReport() override;

    CSpotReportArray* m_pSpotReports;  // the log, owned
    CSpotReport* m_pShownSpotReport;   // copy of the last accepted report, owned
    BOOL m_bSpotReportPending;
};
