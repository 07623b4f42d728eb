#include "units/UnitArray.h"

#include "hierarchy/TaskOrg.h"
#include "platform/core/Archive.h"
#include "platform/core/Unset.h"

IMPLEMENT_SERIAL(CUnitArray, CObject, 1)

const char* const UNIT_FUNCTION_MARKER = "Function Unit Yellow";

CUnitArray::CUnitArray() : m_strName("Name"), m_pUnits(new TypedObArray<CUnit>) {}

CUnitArray::~CUnitArray() { delete m_pUnits; }

void CUnitArray::Serialize(CArchive& ar) { m_pUnits->Serialize(ar); }

BOOL CUnitArray::LoadUnitFile(const CString&, const CString&) { return FALSE; }
int CUnitArray::RebuildFromDatabase(CKDRDatabase*, CString&) { return 0; }
void CUnitArray::SetSide(int nKind) { m_nSide = nKind; }
void CUnitArray::PrepareUnits(DWORD, CKDRGameMap*, CKDRDatabase*) {}
int CUnitArray::UpdateHeadings(CKDRDatabase*) { return 1; }
void CUnitArray::AttachVehicles(CKDRDatabase*) {}
void CUnitArray::SetSpriteValue(float) {}
void CUnitArray::RebuildSymbols(CKDRGameMap*, CKDRDatabase*, CKDRUnits*) {}
void CUnitArray::DrawUnits(CKDRGameMap*, CKDRDatabase*, CKDRUnits*, int, int) {}
void CUnitArray::DrawTaskOrgMarks(CKDRGameMap*, CKDRDatabase*, const CTaskOrgArray*, int) {}
void CUnitArray::DrawFunctionUnits(int, DWORD, CKDRGameMap*, CKDRDatabase*, CKDRUnits*) {}
void CUnitArray::DrawShotLines(CKDRUnits*, CKDRGameMap*) {}
void CUnitArray::DrawDestroyedUnits(int, CKDRGameMap*, CKDRDatabase*) {}
void CUnitArray::DrawPaths(CKDRGameMap*) {}
BOOL CUnitArray::AssignRoute(int, CKDRGameMap*, CKDRDatabase*) { return FALSE; }
BOOL CUnitArray::ApplyArtilleryImpact(int, CFireMission*, CKDRDatabase*, CKDRUnits*, CTimeSpan) { return FALSE; }
void CUnitArray::CountUnits(int&, int&, int*, int) const {}
void CUnitArray::ClampToMap(CKDRGameMap*) {}
void CUnitArray::CountDownShotLines() {}
void CUnitArray::AfterOpen(CKDRDatabase*, CKDRGameMap*) {}
void CUnitArray::ForEachCapability(int, int) {}
void CUnitArray::ForEachCapabilityOfSide(int, int, int) {}
void CUnitArray::FillFireMissionList(CStringList&, int, CKDRGameMap*) {}
void CUnitArray::ResetContacts() {}
BOOL CUnitArray::IsMostlyPictured(CKDRDatabase*) const { return FALSE; }
int CUnitArray::HitTest(int, int, BOOL) { return kUnset; }
int CUnitArray::HitTestForAction(int, int, DWORD, CKDRDatabase*) { return kUnset; }
CTaskOrgArray* CUnitArray::GetUnitsAtPoint(int, int, int, int) { return nullptr; }
CTaskOrgArray* CUnitArray::SelectInRect(float, float, float, float, int, int) { return nullptr; }
void CUnitArray::DetectAgainst(int, CUnitArray*, CUnitRefArray*, CKDRGameMap*, CKDRDatabase*, CSmokeArray*, float, int)
{
}
