// The unit's steps that the unit array runs over every unit. Those whose
// work belongs to parts of the unit not built yet (drawing, the
// tests of the functions in progress, area effects, routes) give their
// least answer: they draw nothing, change nothing and answer 0.

#include "units/Unit.h"

#include "database/VehicleCapability.h"
#include "units/UCapIndirectFire.h"

void CUnit::Prepare(DWORD dwTick, CKDRGameMap*, CKDRDatabase* pDatabase) { StartClock(dwTick, pDatabase); }

void CUnit::CountDownShotLine()
{
    if (m_nShotUnit < 0)
        return;
    --m_nShotLineTime;
    if (m_nShotLineTime < 1)
    {
        m_nShotUnit = kUnset;
        m_nShotArray = kUnset;
        m_nShotKind = kUnset;
    }
}

BOOL CUnit::IsReadyForFireMission(CKDRDatabase*) const
{
    return IsStoppedByOrder() && (GetCapabilityMask() & VCAP_INDIRECT_FIRE) != 0;
}

int CUnit::PickIndirectFireTarget(const CUnitRef&, CUnit*, CKDRDatabase*, CKDRUnits*) { return 0; }

void CUnit::DrawFireRangeCircle(int, CKDRDatabase*, CKDRGameMap*) {}

BOOL CUnit::CanTakeFireMission(int, int, int, CKDRDatabase*, CKDRUnits*) { return FALSE; }

BOOL CUnit::CanFireMunition(int, int, int, int nMunitionType, CKDRDatabase* pDatabase, CKDRUnits*)
{
    if (m_bDestroyed || IsCarried() || (GetCapabilityMask() & VCAP_INDIRECT_FIRE) == 0)
        return FALSE;
    const auto* pBattery = dynamic_cast<const CUCapIndirectFire*>(FindCapability(VCAP_INDIRECT_FIRE));
    return pBattery != nullptr && pBattery->GetRoundsAt(pBattery->GetPositionOfType(nMunitionType, pDatabase)) > 0;
}

// A click with no action in progress (0) picks any own unit that stands on
// the map; with an order bit, only a unit that can carry the order out.
BOOL CUnit::AcceptsAction(DWORD dwAction, CKDRDatabase* pDatabase)
{
    if (m_bDestroyed || IsCarried())
        return FALSE;
    return dwAction == 0 || CanExecuteOrder(dwAction, pDatabase);
}

void CUnit::AssignRoute(CKDRGameMap*, CKDRDatabase*) {}
BOOL CUnit::TakeArtilleryHit(CFireMission*, CKDRDatabase*, CKDRUnits*, int, int, CTimeSpan) { return FALSE; }
void CUnit::AfterOpen(CKDRDatabase*, CKDRGameMap*) {}
void CUnit::GetFireMissionRows(CStringList&, int, CKDRGameMap*) {}
