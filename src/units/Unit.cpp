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
      m_bPositionFlag2(FALSE),
      m_nFieldOfFireControl(-99),
      m_nMaxRangeControl(-99)
{
}

CUnit::~CUnit() = default;

BOOL CUnit::IsCarried() const { return FALSE; }
BOOL CUnit::IsStoppedByOrder() const { return FALSE; }
BOOL CUnit::HasDismounted() const { return FALSE; }
DWORD CUnit::GetCapabilityMask() const { return 0; }

int CUnit::CanFireMunition(int, int, int, DWORD, CKDRDatabase*, CTaskOrgArray*) { return 0; }

void CUnit::UpdateHeading() {}

void CUnit::SetHeading(float fHeading, CKDRGameMap*) { m_fHeading = fHeading; }

BOOL CUnit::SetOrderState(DWORD, CKDRDatabase*, BOOL, BOOL) { return FALSE; }

void CUnit::InsertFormationNode(const CNode*, CKDRDatabase*) {}

void CUnit::DrawFunctionCircle(CKDRGameMap*, CKDRDatabase*) {}
void CUnit::DrawFireMissionLinks(CKDRGameMap*, CKDRDatabase*) {}
void CUnit::DrawCarrierLinks(CKDRUnits*, CKDRGameMap*) {}
void CUnit::DrawRangeCircles(double, CKDRGameMap*, CKDRDatabase*) {}
void CUnit::DrawFieldOfView(CKDRGameMap*, CKDRDatabase*) {}
int CUnit::CanFireMission(CKDRDatabase*) { return 0; }
int CUnit::AssignFireMissionTarget(float, float, CKDRDatabase*) { return 0; }

int CUnit::DeleteFireControl()
{
    m_nFieldOfFireControl = -99;
    m_nMaxRangeControl = -99;
    return 1;
}

int CUnit::PasteFireControl(CKDRDatabase*) { return 0; }
int CUnit::SetSuppressAreaAt(float, float, CKDRDatabase*) { return 0; }
int CUnit::ClearSuppressArea() { return 0; }

int CUnit::ClearFireControl(int nControl)
{
    (nControl == 1 ? m_nMaxRangeControl : m_nFieldOfFireControl) = -99;
    return 1;
}
