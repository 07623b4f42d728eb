// What a burst does to one unit: suppression by its protection, a kill roll
// by its vulnerability to the munition, the player told of an own unit, and
// the computer's units waiting at a stop giving up a position the enemy has
// found. A guided round has found its target already, so no blast radius
// applies to it. Aircraft in the air take no harm; a troop-carrying one
// halted at its stop has landed and counts as on the ground.
#include "units/Unit.h"

#include "battlefield/FireMission.h"
#include "database/IFAmmo.h"
#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "orders/NodeArray.h"
#include "orders/NodeOrder.h"
#include "shell/ReportService.h"
#include "units/UnitCapability.h"
#include "units/UnitMoveSupport.h"

#include <algorithm>
#include <cmath>

namespace
{
// Protection at or above this keeps a unit free of suppression by bursts.
constexpr int kSuppressionProtection = 150;
// A start time this far off or nearer keeps a shelled unit where it is.
constexpr LONG kRepositionSeconds = 600;
}  // namespace

BOOL CUnit::TakeArtilleryHit(CFireMission* pImpact, CKDRDatabase* pDatabase, CKDRUnits* pUnits, int nUnitIndex,
                             int nArrayIndex, CTimeSpan tsGameTime)
{
    if (pImpact == nullptr || m_bDestroyed || IsCarried() || pDatabase == nullptr || !pDatabase->HasVehicleList())
        return FALSE;
    const CIFAmmo* pAmmo = pDatabase->GetIFAmmo(pImpact->m_nMunitionIndex);
    CVehicle* pVehicle = pDatabase->GetVehicle(m_nVehicle);
    if (pAmmo == nullptr || pVehicle == nullptr)
        return FALSE;
    const DWORD dwAbilities = GetCapabilityMask();
    if (IsAircraft() && !((dwAbilities & VCAP_PERSONNEL_CARRIER) != 0 && IsStoppedAtStopNode()))
        return FALSE;
    if ((pAmmo->m_nMunitionType & MUNITION_PGM) == 0 &&
        std::hypot(static_cast<double>(m_fX) - pImpact->m_fX, static_cast<double>(m_fY) - pImpact->m_fY) >
            pAmmo->m_nBlastRadius)
        return FALSE;

    m_nSuppression +=
        static_cast<int>(std::max(0, kSuppressionProtection - pVehicle->m_nProtectionValue) + 0.5);
    double dKill = static_cast<double>(pVehicle->GetMunitionValue(pAmmo->m_nMunitionType)) * pAmmo->m_fLethality;
    if (m_bDugIn)
        dKill *= 0.5;
    const BOOL bKilled = RollPercentile(std::trunc(dKill + 0.5));
    if (bKilled)
        Destroy(nUnitIndex, nArrayIndex, pUnits, pDatabase);
    if (m_nSide == 0)
    {
        if (CReportService* pReports = GetReportService())
            pReports->ReportArtilleryEffect(bKilled, this, nUnitIndex, nArrayIndex, pImpact);
    }
    ReactToArtillery(pImpact, pDatabase, tsGameTime);
    return TRUE;
}

void CUnit::ReactToArtillery(CFireMission* pImpact, CKDRDatabase* pDatabase, CTimeSpan tsGameTime)
{
    if (pImpact == nullptr || pDatabase == nullptr || pDatabase->GetIFAmmo(pImpact->m_nMunitionIndex) == nullptr)
        return;
    if (m_nSide == 0 || !IsStoppedAtStopNode() || m_bDugIn)
        return;
    CNode* pFirst = m_pPath->GetAt(0);
    const auto* pStart =
        pFirst != nullptr ? dynamic_cast<const CNOrdStartTime*>(pFirst->m_pOrders->FindOfType(NORD_START_TIME))
                          : nullptr;
    if (pStart == nullptr || pStart->m_tsStart <= tsGameTime + CTimeSpan(kRepositionSeconds))
        return;
    const CTimeSpan tsStart = pStart->m_tsStart;
    m_pPath->InsertAt(1, new CNode(pFirst->m_fX, pFirst->m_fY));
    ClearStop(pDatabase, FALSE);
    CNode* pSecond = m_pPath->GetAt(1);
    pSecond->SetStartTimeValue(tsStart);
    UpdateHeading(pDatabase);
}
