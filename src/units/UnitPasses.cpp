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


// A click with no action in progress (0) picks any own unit that stands on
// the map; with an order bit, only a unit that can carry the order out.
BOOL CUnit::AcceptsAction(DWORD dwAction, CKDRDatabase* pDatabase)
{
    if (m_bDestroyed || IsCarried())
        return FALSE;
    return dwAction == 0 || CanExecuteOrder(dwAction, pDatabase);
}

void CUnit::AssignRoute(CKDRGameMap*, CKDRDatabase*) {}
void CUnit::AfterOpen(CKDRDatabase*, CKDRGameMap*) {}
