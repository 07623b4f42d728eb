#include "battlefield/KDRHoles.h"

#include "hierarchy/TaskOrg.h"

IMPLEMENT_SERIAL(CKDRHoles, CSideFilesComponent, 1)

CKDRHoles::CKDRHoles() : CSideFilesComponent("*.hol") {}

CKDRHoles::~CKDRHoles() = default;

BOOL CKDRHoles::LoadByName(CKDRGameMap* /*pMap*/) { return TRUE; }

BOOL CKDRHoles::LoadHoleArray(int /*nSide*/, const CString& /*strName*/, CKDRGameMap* /*pMap*/) { return TRUE; }

void CKDRHoles::FixUpAfterLoad(CKDRGameMap* /*pMap*/) {}

void CKDRHoles::AssignOccupants(CKDRUnits* /*pUnits*/, CKDRGameMap* /*pMap*/) {}

void CKDRHoles::DrawHoles(CKDRUnits*, CKDRGameMap*) {}
void CKDRHoles::DrawSelected(CTaskOrgArray*, CKDRGameMap*, int) {}
int CKDRHoles::FindHoleAtViewPoint(int, int, CKDRGameMap*, int&) { return -99; }
int CKDRHoles::MoveHole(int, int, float, float, CKDRGameMap*) { return 0; }

CTaskOrgArray* CKDRHoles::SelectHolesInRect(float, float, float, float)
{
    auto* pList = new CTaskOrgArray;
    pList->m_nSide = 0;
    return pList;
}

int CKDRHoles::PlaceHolesOfSelection(CTaskOrgArray*, float, float, float, float, CKDRGameMap*) { return 0; }
int CKDRHoles::EditSelectedHole(CTaskOrgArray*) { return 0; }
int CKDRHoles::EditHole(int, int, CKDRGameMap*) { return 0; }
int CKDRHoles::ApplyHoleRecord(const BYTE*, int) { return 0; }
void CKDRHoles::SendAllHoles() {}
int CKDRHoles::SendHolesToPlayer(int, CTaskOrgArray*) { return 0; }
int CKDRHoles::UnpackPassedHoles(const BYTE*, int) { return 0; }
