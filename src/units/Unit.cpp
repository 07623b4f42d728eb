#include "units/Unit.h"

IMPLEMENT_SERIAL(CUnit, CObject, 1)

CUnit::CUnit()
    : m_bDestroyed(FALSE),
      m_fX(0.0f),
      m_fY(0.0f),
      m_fHeading(0.0f),
      m_bInPosition(FALSE),
      m_nPositionIndex(-99),
      m_bPositionFlag1(FALSE),
      m_bPositionFlag2(FALSE)
{
}

CUnit::~CUnit() = default;

BOOL CUnit::IsCarried() const { return FALSE; }
BOOL CUnit::IsStoppedByOrder() const { return FALSE; }
BOOL CUnit::HasDismounted() const { return FALSE; }
DWORD CUnit::GetCapabilityMask() const { return 0; }

int CUnit::CanFireMunition(int, int, int, DWORD, CKDRDatabase*, CTaskOrgArray*)
{
    return 0;
}

void CUnit::UpdateHeading() {}

void CUnit::SetHeading(float fHeading, CKDRGameMap*)
{
    m_fHeading = fHeading;
}
