// The unit's steps that the unit array runs over every unit. Those whose
// work belongs to parts of the unit not built yet (drawing, the
// tests of the functions in progress, area effects, routes) give their
// least answer: they draw nothing, change nothing and answer 0.

#include "units/Unit.h"

#include "database/VehicleCapability.h"

void CUnit::Prepare(DWORD dwTick, CKDRGameMap*, CKDRDatabase*)
{
    m_moveLastTick = static_cast<int>(dwTick);
    m_moveRemainderMs = 0;
    m_fireLastTick = static_cast<int>(dwTick);
    m_fireRemainderMs = 0;
}

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

void CUnit::Draw(CKDRGameMap*, CKDRDatabase*, int, int, const CString&, BOOL) {}
void CUnit::SetSymbolStyle(BOOL, CKDRDatabase*, const CString&) {}
void CUnit::DrawShotLine(CKDRUnits*, CKDRGameMap*) {}
void CUnit::DrawDestroyed(CKDRGameMap*, CKDRDatabase*) {}
void CUnit::DrawPath(CKDRGameMap*) {}
void CUnit::DrawTaskOrgMark(CKDRDatabase*, CKDRGameMap*, CTaskOrg*) {}
void CUnit::DrawFunctionMark(CKDRDatabase*, CKDRGameMap*, CSprite*) {}
void CUnit::DrawFireRangeCircle(int, CKDRDatabase*, CKDRGameMap*) {}

BOOL CUnit::CanMountOrDismount(CKDRDatabase*, int, BOOL) { return FALSE; }
BOOL CUnit::CanBoard(BOOL) { return FALSE; }
BOOL CUnit::CanTakeFireMission(int, int, int, CKDRDatabase*, CKDRUnits*) { return FALSE; }
BOOL CUnit::CanUpload() { return FALSE; }
BOOL CUnit::CanDeployMines() { return FALSE; }
BOOL CUnit::CanSmoke() { return FALSE; }
BOOL CUnit::AcceptsAction(DWORD, CKDRDatabase*) { return FALSE; }

void CUnit::AssignRoute(CKDRGameMap*, CKDRDatabase*) {}
BOOL CUnit::TakeArtilleryHit(CFireMission*, CKDRDatabase*, CKDRUnits*, int, int, CTimeSpan) { return FALSE; }
void CUnit::AfterOpen(CKDRDatabase*, CKDRGameMap*) {}
void CUnit::GetFireMissionRows(CStringList&, int, CKDRGameMap*) {}
