#include "units/SpotReporter.h"

#include "database/Vehicle.h"
#include "mission/GameTime.h"
#include "units/SpotReport.h"
#include "units/SpotReportArray.h"
#include "units/Unit.h"

namespace
{
// Two spot reports of no greater priority within this many game seconds:
// only the first is shown.
constexpr LONG SPOT_REPORT_QUIET_SECONDS = 1;

BOOL IsOwn(const CUnit* pUnit) { return pUnit != nullptr && pUnit->m_nSide == 0; }
}  // namespace

CSpotReporter::CSpotReporter()
    : m_pSpotReports(new CSpotReportArray), m_pShownSpotReport(nullptr), m_bSpotReportPending(FALSE)
{
}

CSpotReporter::~CSpotReporter()
{
    delete m_pShownSpotReport;
    delete m_pSpotReports;
}

BOOL CSpotReporter::WillAcceptSpotReport(int nPriority) const
{
    const CGameTime* pClock = GetGameClock();
    if (pClock == nullptr)
        return FALSE;
    if (m_pShownSpotReport == nullptr || nPriority > m_pShownSpotReport->GetPriority())
        return TRUE;
    const LONG now = pClock->m_tsElapsed.GetTotalSeconds();
    return now - m_pShownSpotReport->m_time.GetTotalSeconds() > SPOT_REPORT_QUIET_SECONDS;
}

void CSpotReporter::PostSpotReport(CSpotReport* pReport)
{
    if (pReport == nullptr)
        return;
    if (!WillAcceptSpotReport(pReport->GetPriority()))
    {
        delete pReport;
        return;
    }
    // The accepted report is kept as a copy; the offered one is ours to free.
    delete m_pShownSpotReport;
    m_pShownSpotReport = new CSpotReport(*pReport);
    delete pReport;
    m_bSpotReportPending = TRUE;
}

void CSpotReporter::ShowPendingSpotReport()
{
    if (!m_bSpotReportPending || m_pShownSpotReport == nullptr || m_pSpotReports == nullptr)
        return;
    m_pSpotReports->Add(new CSpotReport(*m_pShownSpotReport));
    m_bSpotReportPending = FALSE;
}

void CSpotReporter::ReportDetection(BOOL bUnidentified, CUnit* pObserver, CUnit* pTarget, CVehicle* pTargetVehicle)
{
    if (!IsOwn(pObserver) || pTargetVehicle == nullptr)
        return;
    const int nCode = bUnidentified ? CSpotReportArray::CODE_UNIDENTIFIED : pTargetVehicle->m_nTargetValue;
    if (WillAcceptSpotReport(nCode))
        PostSpotReport(CSpotReportArray::AddDetectionReport(bUnidentified, pObserver, pTarget, pTargetVehicle,
                                                            GetGameClock()->m_tsElapsed));
}

void CSpotReporter::ReportEngagement(CUnit* pShooter, CVehicle* pShooterVehicle, int nShooterUnit,
                                     int nShooterArray, CUnit* pTarget, CVehicle* pTargetVehicle, CWeapon* pWeapon)
{
    if ((!IsOwn(pShooter) && !IsOwn(pTarget)) || pTargetVehicle == nullptr ||
        !WillAcceptSpotReport(pTargetVehicle->m_nTargetValue + CSpotReportArray::CODE_ENGAGEMENT))
        return;
    PostSpotReport(CSpotReportArray::AddFireReport(pShooter, pShooterVehicle, nShooterUnit, nShooterArray, pTarget,
                                                   pTargetVehicle, pWeapon, GetGameClock()->m_tsElapsed));
}

void CSpotReporter::ReportKill(CUnit* pShooter, CVehicle* pShooterVehicle, int nShooterUnit, int nShooterArray,
                               CUnit* pTarget, CVehicle* pTargetVehicle, CWeapon* pWeapon)
{
    if ((!IsOwn(pShooter) && !IsOwn(pTarget)) || pTargetVehicle == nullptr ||
        !WillAcceptSpotReport(pTargetVehicle->m_nTargetValue + CSpotReportArray::CODE_KILL))
        return;
    PostSpotReport(CSpotReportArray::AddDestroyedReport(pShooter, pShooterVehicle, nShooterUnit, nShooterArray,
                                                        pTarget, pTargetVehicle, pWeapon,
                                                        GetGameClock()->m_tsElapsed));
}

void CSpotReporter::ReportArtilleryImpact(CFireMission* pImpact)
{
    if (pImpact != nullptr && WillAcceptSpotReport(CSpotReportArray::CODE_IMPACT))
        PostSpotReport(
            CSpotReportArray::AddArtilleryImpactReport(pImpact, GetDatabase(), GetGameClock()->m_tsElapsed));
}

void CSpotReporter::ReportArtilleryEffect(BOOL bDestroyed, CUnit* pUnit, int nUnit, int nArray,
                                          CFireMission* pImpact)
{
    if (IsOwn(pUnit) && GetGameClock() != nullptr)
        PostSpotReport(CSpotReportArray::AddArtilleryEffectReport(bDestroyed, pUnit, nUnit, nArray, pImpact,
                                                                  GetDatabase(), GetGameClock()->m_tsElapsed));
}

void CSpotReporter::ReportChemicalKill(CUnit* pUnit, CVehicle* pVehicle)
{
    if (IsOwn(pUnit) && GetGameClock() != nullptr)
        PostSpotReport(CSpotReportArray::AddChemicalReport(pUnit, pVehicle, GetGameClock()->m_tsElapsed));
}
