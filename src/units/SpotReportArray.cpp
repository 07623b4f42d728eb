#include "units/SpotReportArray.h"

#include "battlefield/FireMission.h"
#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "database/Weapon.h"
#include "platform/core/Archive.h"
#include "platform/core/Rounding.h"
#include "platform/ui/App.h"
#include "shell/ReportService.h"
#include "units/SpotReportLogDlg.h"
#include "units/Unit.h"

IMPLEMENT_SERIAL(CSpotReportArray, CObArray, 1)

namespace
{
// The side word of a report that names a map position.
constexpr int REPORT_AT_POSITION = -1;
constexpr const char* LINE_TIME_FORMAT = "%D, %H:%M:%S";
constexpr const char* LINE_GAP = "        ";

CSpotReport* NewReport(const CString& strText, int nCode, CTimeSpan time)
{
    auto* pReport = new CSpotReport;
    pReport->m_strText = strText;
    pReport->m_nCode = nCode;
    pReport->m_time = time;
    return pReport;
}

CSpotReport* AtPosition(CSpotReport* pReport, float fX, float fY)
{
    pReport->m_nUnit = RoundHalfUpTrunc(fX);
    pReport->m_nArray = RoundHalfUpTrunc(fY);
    pReport->m_nSide = REPORT_AT_POSITION;
    return pReport;
}

CSpotReport* AtOwnUnit(CSpotReport* pReport, int nUnit, int nArray)
{
    pReport->m_nUnit = nUnit;
    pReport->m_nArray = nArray;
    pReport->m_nSide = 0;
    return pReport;
}

BOOL IsOwn(const CUnit* pUnit) { return pUnit != nullptr && pUnit->m_nSide == 0; }

// A report between a shooter and a target, with the target-side and the
// shooter-side wordings.
CSpotReport* ShotReport(const char* strTargetSide, const char* strShooterSide, int nCodeBase, CUnit* pShooter,
                        CVehicle* pShooterVehicle, int nShooterUnit, int nShooterArray, CUnit* pTarget,
                        CVehicle* pTargetVehicle, CWeapon* pWeapon, CTimeSpan time)
{
    if (pShooter == nullptr || pShooterVehicle == nullptr || pTarget == nullptr || pTargetVehicle == nullptr ||
        pWeapon == nullptr)
        return nullptr;
    const int nCode = pTargetVehicle->m_nTargetValue + nCodeBase;
    if (!IsOwn(pShooter))
    {
        if (!IsOwn(pTarget))
            return nullptr;
        return AtPosition(
            NewReport(pTarget->m_strName + strTargetSide + pShooterVehicle->m_strName + ".", nCode, time),
            pTarget->m_fX, pTarget->m_fY);
    }
    return AtOwnUnit(NewReport(pShooter->m_strName + strShooterSide + pTargetVehicle->m_strName + " with " +
                                   pWeapon->m_strName + ".",
                               nCode, time),
                     nShooterUnit, nShooterArray);
}
}  // namespace

CSpotReportArray::CSpotReportArray() : m_pLog(new CSpotReportLogDlg(this)) {}

CSpotReportArray::~CSpotReportArray()
{
    m_pLog->CloseLog();
    delete m_pLog;
}

CSpotReport* CSpotReportArray::AddFireReport(CUnit* pShooter, CVehicle* pShooterVehicle, int nShooterUnit,
                                             int nShooterArray, CUnit* pTarget, CVehicle* pTargetVehicle,
                                             CWeapon* pWeapon, CTimeSpan time)
{
    return ShotReport(" is taking fire from an enemy ", " is firing on an enemy ", CODE_ENGAGEMENT, pShooter,
                      pShooterVehicle, nShooterUnit, nShooterArray, pTarget, pTargetVehicle, pWeapon, time);
}

CSpotReport* CSpotReportArray::AddDestroyedReport(CUnit* pShooter, CVehicle* pShooterVehicle, int nShooterUnit,
                                                  int nShooterArray, CUnit* pTarget, CVehicle* pTargetVehicle,
                                                  CWeapon* pWeapon, CTimeSpan time)
{
    return ShotReport(" was destroyed by an enemy ", " has destroyed an enemy ", CODE_KILL, pShooter,
                      pShooterVehicle, nShooterUnit, nShooterArray, pTarget, pTargetVehicle, pWeapon, time);
}

CSpotReport* CSpotReportArray::AddArtilleryImpactReport(const CFireMission* pImpact, CKDRDatabase* pDatabase,
                                                        CTimeSpan time)
{
    if (pImpact == nullptr || pDatabase == nullptr || !pDatabase->HasVehicleList())
        return nullptr;
    return AtPosition(NewReport("Enemy artillery impact detected.", CODE_IMPACT, time), pImpact->m_fX,
                      pImpact->m_fY);
}

CSpotReport* CSpotReportArray::AddArtilleryEffectReport(BOOL bDestroyed, CUnit* pUnit, int nUnit, int nArray,
                                                        const CFireMission* pImpact, CKDRDatabase* pDatabase,
                                                        CTimeSpan time)
{
    if (!IsOwn(pUnit) || pImpact == nullptr || pDatabase == nullptr)
        return nullptr;
    const CVehicle* pVehicle = pDatabase->GetVehicle(pUnit->m_nVehicle);
    const int nValue = pVehicle != nullptr ? pVehicle->m_nTargetValue : 0;
    if (bDestroyed)
        return AtPosition(
            NewReport(pUnit->m_strName + " was destroyed by incoming artillery.", nValue + CODE_KILL, time),
            pImpact->m_fX, pImpact->m_fY);
    return AtOwnUnit(
        NewReport(pUnit->m_strName + " is being suppressed incoming artillery.", nValue + CODE_ENGAGEMENT, time),
        nUnit, nArray);
}

CSpotReport* CSpotReportArray::AddDetectionReport(BOOL bUnidentified, CUnit* pObserver, CUnit* pTarget,
                                                  CVehicle* pTargetVehicle, CTimeSpan time)
{
    if (!IsOwn(pObserver) || pTarget == nullptr || (!bUnidentified && pTargetVehicle == nullptr))
        return nullptr;
    if (bUnidentified)
        return AtPosition(NewReport(pObserver->m_strName + " has detected an unknown vehicle or team.",
                                    CODE_UNIDENTIFIED, time),
                          pTarget->m_fX, pTarget->m_fY);
    return AtPosition(NewReport(pObserver->m_strName + " has detected an enemy " + pTargetVehicle->m_strName + ".",
                                pTargetVehicle->m_nTargetValue, time),
                      pTarget->m_fX, pTarget->m_fY);
}

CSpotReport* CSpotReportArray::AddChemicalReport(CUnit* pUnit, CVehicle* pVehicle, CTimeSpan time)
{
    if (!IsOwn(pUnit) || pVehicle == nullptr)
        return nullptr;
    return AtPosition(NewReport(pUnit->m_strName + " (" + pVehicle->m_strName + ") was destroyed by chemical agents.",
                                pVehicle->m_nTargetValue + CODE_KILL, time),
                      pUnit->m_fX, pUnit->m_fY);
}

void CSpotReportArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        TypedObArray<CSpotReport>::Serialize(ar);
        return;
    }
    TypedObArray<CSpotReport> loaded;
    loaded.Serialize(ar);
    RemoveAll();
    Swap(loaded);
    if (GetSize() > MAX_REPORTS)
        RemoveAt(0, GetSize() - MAX_REPORTS);
    m_pLog->Refill();
}

int CSpotReportArray::Add(CSpotReport* pReport)
{
    int index = TypedObArray<CSpotReport>::Add(pReport);
    if (GetSize() > MAX_REPORTS)
    {
        RemoveAt(0);
        --index;
    }
    m_pLog->Refill();
    return index;
}

void CSpotReportArray::ToggleLog()
{
    if (!m_pLog->IsShown())
        m_pLog->Open(AfxGetMainWnd());
    else
        m_pLog->CloseLog();
}

BOOL CSpotReportArray::IsLogShown() const { return m_pLog->IsShown(); }

CString CSpotReportArray::FormatLine(const CSpotReport& report)
{
    return report.m_time.Format(LINE_TIME_FORMAT) + LINE_GAP + report.m_strText;
}

int CSpotReportArray::ShowReportWithLine(const CString& line) const
{
    if (line.IsEmpty())
        return 0;
    CReportService* pReports = GetReportService();
    int nShown = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CSpotReport* pReport = GetAt(i);
        if (pReport == nullptr || FormatLine(*pReport) != line)
            continue;
        if (pReports != nullptr)
            pReports->ShowSpotReportInView(pReport);
        ++nShown;
    }
    return nShown;
}
