// The application's spot-report operations: units and fire code tell it
// what happened, it builds the report at the present game time and posts
// it; and the View/Spot Reports commands.
//
// A report is built only when the posting rule will take it, so a battle
// that keeps seeing the same contacts does not make and throw away a
// report for every sighting of every pass.

#include "app/KDRApp.h"

#include "app/FireMissionLogDlg.h"
#include "app/GameClock.h"
#include "app/KDRCommandIds.h"
#include "app/KDRDoc.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/FireMission.h"
#include "battlefield/KDRGameMap.h"
#include "database/Vehicle.h"
#include "platform/ui/CmdTarget.h"
#include "units/KDRUnits.h"
#include "units/SpotReport.h"
#include "units/SpotReportArray.h"
#include "units/SpotReportLogDlg.h"
#include "units/Unit.h"
#include "view/KDRView.h"

namespace
{
constexpr LONG SPOT_REPORT_QUIET_SECONDS = 1;

BOOL IsOwn(const CUnit* pUnit) { return pUnit != nullptr && pUnit->m_nSide == 0; }
}  // namespace

BOOL CKDRApp::WillAcceptSpotReport(int nPriority) const
{
    if (m_pGameClock == nullptr)
        return FALSE;
    if (m_pShownSpotReport == nullptr || nPriority > m_pShownSpotReport->GetPriority())
        return TRUE;
    const LONG now = m_pGameClock->m_tsElapsed.GetTotalSeconds();
    return now - m_pShownSpotReport->m_time.GetTotalSeconds() > SPOT_REPORT_QUIET_SECONDS;
}

void CKDRApp::PostSpotReport(CSpotReport* pReport)
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

void CKDRApp::ShowPendingSpotReport()
{
    if (!m_bSpotReportPending || m_pShownSpotReport == nullptr || m_pSpotReports == nullptr)
        return;
    m_pSpotReports->Add(new CSpotReport(*m_pShownSpotReport));
    m_bSpotReportPending = FALSE;
}

void CKDRApp::ReportDetection(BOOL bUnidentified, CUnit* pObserver, CUnit* pTarget, CVehicle* pTargetVehicle)
{
    if (!IsOwn(pObserver) || pTargetVehicle == nullptr)
        return;
    const int nCode = bUnidentified ? CSpotReportArray::CODE_UNIDENTIFIED : pTargetVehicle->m_nTargetValue;
    if (WillAcceptSpotReport(nCode))
        PostSpotReport(CSpotReportArray::AddDetectionReport(bUnidentified, pObserver, pTarget, pTargetVehicle,
                                                            m_pGameClock->m_tsElapsed));
}

void CKDRApp::ReportEngagement(CUnit* pShooter, CVehicle* pShooterVehicle, int nShooterUnit, int nShooterArray,
                               CUnit* pTarget, CVehicle* pTargetVehicle, CWeapon* pWeapon)
{
    if ((!IsOwn(pShooter) && !IsOwn(pTarget)) || pTargetVehicle == nullptr ||
        !WillAcceptSpotReport(pTargetVehicle->m_nTargetValue + CSpotReportArray::CODE_ENGAGEMENT))
        return;
    PostSpotReport(CSpotReportArray::AddFireReport(pShooter, pShooterVehicle, nShooterUnit, nShooterArray, pTarget,
                                                   pTargetVehicle, pWeapon, m_pGameClock->m_tsElapsed));
}

void CKDRApp::ReportKill(CUnit* pShooter, CVehicle* pShooterVehicle, int nShooterUnit, int nShooterArray,
                         CUnit* pTarget, CVehicle* pTargetVehicle, CWeapon* pWeapon)
{
    if ((!IsOwn(pShooter) && !IsOwn(pTarget)) || pTargetVehicle == nullptr ||
        !WillAcceptSpotReport(pTargetVehicle->m_nTargetValue + CSpotReportArray::CODE_KILL))
        return;
    PostSpotReport(CSpotReportArray::AddDestroyedReport(pShooter, pShooterVehicle, nShooterUnit, nShooterArray,
                                                        pTarget, pTargetVehicle, pWeapon, m_pGameClock->m_tsElapsed));
}

void CKDRApp::ReportArtilleryImpact(CFireMission* pImpact)
{
    if (pImpact != nullptr && WillAcceptSpotReport(CSpotReportArray::CODE_IMPACT))
        PostSpotReport(
            CSpotReportArray::AddArtilleryImpactReport(pImpact, GetDatabase(), m_pGameClock->m_tsElapsed));
}

void CKDRApp::ReportArtilleryEffect(BOOL bDestroyed, CUnit* pUnit, int nUnit, int nArray, CFireMission* pImpact)
{
    if (IsOwn(pUnit))
        PostSpotReport(CSpotReportArray::AddArtilleryEffectReport(bDestroyed, pUnit, nUnit, nArray, pImpact,
                                                                  GetDatabase(), m_pGameClock->m_tsElapsed));
}

void CKDRApp::ReportChemicalKill(CUnit* pUnit, CVehicle* pVehicle)
{
    if (IsOwn(pUnit))
        PostSpotReport(CSpotReportArray::AddChemicalReport(pUnit, pVehicle, m_pGameClock->m_tsElapsed));
}

void CKDRApp::ShowSpotReportInView(const CSpotReport* pReport)
{
    // The map view moves to the report's unit or position once it can
    // show a spot report; until then the log only keeps it.
    (void)pReport;
}

void CKDRApp::OnToolWindowClosed(int nKind)
{
    CKDRView* pView = GetActiveView();
    if (pView != nullptr && nKind == SPOT_REPORT_LOG_TOOL_WINDOW)
        pView->SetSpotReportLogShown(FALSE);
    if (pView != nullptr && nKind == FIRE_MISSION_LOG_TOOL_WINDOW)
        pView->SetFMLogShown(FALSE);
}

void CKDRApp::SelectUnitInView(const SFireLogRecord& record, int nSide)
{
    CKDRView* pView = GetActiveView();
    CKDRDoc* pDoc = GetActiveDocument();
    CKDRGameMap* pMap = pDoc != nullptr ? pDoc->GetGameMap() : nullptr;
    const CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
    if (pView == nullptr || pElevation == nullptr)
        return;
    pView->CancelInteraction();
    float fX = static_cast<float>(record.nX);
    float fY = static_cast<float>(record.nY);
    if (record.nUnit >= 0)
    {
        CKDRUnits* pUnits = pDoc->GetUnits();
        const CUnit* pUnit = pUnits != nullptr ? pUnits->GetUnit(record.nUnit, record.nArray, nSide) : nullptr;
        if (pUnit == nullptr || pUnit->IsCarried())
            return;
        fX = pUnit->m_fX;
        fY = pUnit->m_fY;
    }
    int nPX = 0, nPY = 0;
    pElevation->MapToPixel(fX, fY, &nPX, &nPY);
    pView->CenterOnMapPoint(nPX, nPY);
}

// ---------------------------------------------------------------------------
// View/Spot Reports

void CKDRApp::RegisterSpotReportCommands()
{
    MapCommand(ID_VIEW_LAST_SPOT_REPORT, [this] { ShowSpotReportInView(m_pShownSpotReport); });
    MapUpdate(ID_VIEW_LAST_SPOT_REPORT, [this](CCmdUI* pCmdUI) { pCmdUI->Enable(m_pShownSpotReport != nullptr); });
    MapCommand(ID_VIEW_SPOT_REPORT_LOG, [this] { OnSpotReportLog(); });
    MapUpdate(ID_VIEW_SPOT_REPORT_LOG, [this](CCmdUI* pCmdUI) {
        CKDRView* pView = GetActiveView();
        pCmdUI->Enable(pView != nullptr && pView->IsCommandAllowed(ID_VIEW_SPOT_REPORT_LOG));
        pCmdUI->SetCheck(m_pSpotReports != nullptr && m_pSpotReports->IsLogShown());
    });
}

void CKDRApp::OnSpotReportLog()
{
    CKDRView* pView = GetActiveView();
    if (pView == nullptr || !pView->IsCommandAllowed(ID_VIEW_SPOT_REPORT_LOG) || m_pSpotReports == nullptr)
        return;
    m_pSpotReports->ToggleLog();
    pView->SetSpotReportLogShown(m_pSpotReports->IsLogShown());
}
