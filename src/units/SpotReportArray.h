#pragma once
// The application's spot-report log: the newest MAX_REPORTS reports, owned,
// oldest first, and the modeless "Spot Report Log" window that lists them,
// one line each ("%D, %H:%M:%S", eight blanks, the sentence). A double
// click on a line moves the map to every report of that line.
//
// The builders make one report each, owned by the caller until it is
// posted, or null when there is nothing to report: except for an
// artillery impact, a report is made only where an own unit (kind 0) is
// involved, so a duel between two other sides says nothing.
//
// Stored form: the framework's object list of CSpotReport; a list cut
// short or naming another class raises the archive error, and the reports
// already in the log stay as they were (a reader loads into a new array).

#include "platform/core/Collections.h"
#include "platform/core/Time.h"
#include "units/SpotReport.h"

class CFireMission;
class CKDRDatabase;
class CSpotReportLogDlg;
class CUnit;
class CVehicle;
class CWeapon;
class CWnd;

class CSpotReportArray : public TypedObArray<CSpotReport>
{
    DECLARE_SERIAL(CSpotReportArray)
public:
    // The log never holds more reports than this; the oldest goes first.
    static constexpr int MAX_REPORTS = 256;
    // Report codes: the vehicle type's target value plus these.
    static constexpr int CODE_ENGAGEMENT = 256;
    static constexpr int CODE_KILL = 512;
    static constexpr int CODE_IMPACT = 128;
    // The code of a contact not identified.
    static constexpr int CODE_UNIDENTIFIED = 30;

    CSpotReportArray();
    ~CSpotReportArray() override;
    CSpotReportArray(const CSpotReportArray&) = delete;
    CSpotReportArray& operator=(const CSpotReportArray&) = delete;

    // Stores the list; a load reads into a list of its own first and takes
    // it (its newest MAX_REPORTS) only when the whole list was read.
    void Serialize(CArchive& ar) override;

    // ---- Builders ----
    // Fire between a shooter and a target: an own shooter's report names
    // it by its address; an own target's names the target's position.
    static CSpotReport* AddFireReport(CUnit* pShooter, CVehicle* pShooterVehicle, int nShooterUnit,
                                      int nShooterArray, CUnit* pTarget, CVehicle* pTargetVehicle, CWeapon* pWeapon,
                                      CTimeSpan time);
    static CSpotReport* AddDestroyedReport(CUnit* pShooter, CVehicle* pShooterVehicle, int nShooterUnit,
                                           int nShooterArray, CUnit* pTarget, CVehicle* pTargetVehicle,
                                           CWeapon* pWeapon, CTimeSpan time);
    // An impact at its point. The fire missions do not name their
    // munition yet, so the code is CODE_IMPACT alone.
    static CSpotReport* AddArtilleryImpactReport(const CFireMission* pImpact, CKDRDatabase* pDatabase,
                                                 CTimeSpan time);
    static CSpotReport* AddArtilleryEffectReport(BOOL bDestroyed, CUnit* pUnit, int nUnit, int nArray,
                                                 const CFireMission* pImpact, CKDRDatabase* pDatabase,
                                                 CTimeSpan time);
    static CSpotReport* AddDetectionReport(BOOL bUnidentified, CUnit* pObserver, CUnit* pTarget,
                                           CVehicle* pTargetVehicle, CTimeSpan time);
    static CSpotReport* AddChemicalReport(CUnit* pUnit, CVehicle* pVehicle, CTimeSpan time);

    // ---- The log ----
    // Appends the report (taking ownership), drops the oldest beyond the
    // limit, refills the window; answers the index of the added report.
    virtual int Add(CSpotReport* pReport);

    // Shows the window (made and filled) or closes it.
    void ToggleLog();
    BOOL IsLogShown() const;
    CSpotReportLogDlg* GetLogWindow() const { return m_pLog; }

    // The report's line in the log.
    static CString FormatLine(const CSpotReport& report);
    // Every report whose line is this one goes to the application, which
    // moves the map to it; how many did. Nothing for an empty line.
    int ShowReportWithLine(const CString& line) const;

private:
    CSpotReportLogDlg* m_pLog;  // owned
};
