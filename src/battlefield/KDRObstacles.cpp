#include "battlefield/KDRObstacles.h"

#include "hierarchy/TaskOrg.h"

IMPLEMENT_SERIAL(CKDRObstacles, CSideFilesComponent, 1)

CKDRObstacles::CKDRObstacles() : CSideFilesComponent("*.obs") {}

CKDRObstacles::~CKDRObstacles() = default;

BOOL CKDRObstacles::LoadByName(CKDRGameMap* /*pMap*/) { return TRUE; }

BOOL CKDRObstacles::LoadObstacleArray(int /*nSide*/, const CString& /*strName*/, CKDRGameMap* /*pMap*/) { return TRUE; }

void CKDRObstacles::FixUpAfterLoad(CKDRGameMap* /*pMap*/) {}

void CKDRObstacles::Step() {}

void CKDRObstacles::DrawAllOnMapSurface(CKDRGameMap*) {}
void CKDRObstacles::DrawSelected(CTaskOrgArray*, CKDRGameMap*, int) {}

int CKDRObstacles::FindObstacleAt(float, float, int&, CKDRGameMap*, int) { return -99; }

int CKDRObstacles::IsBlocked(float, float, const CKDRGameMap*, int, CObstacle*& pObstacle, int, int) const
{
    pObstacle = nullptr;
    return 0;
}

int CKDRObstacles::MoveObstacle(int, int, float, float, CKDRGameMap*) { return 0; }

CTaskOrgArray* CKDRObstacles::SelectObstaclesInRect(float, float, float, float)
{
    auto* pList = new CTaskOrgArray;
    pList->m_nSide = 0;
    return pList;
}

int CKDRObstacles::MoveSelected(CTaskOrgArray*, float, float, float, float, CKDRGameMap*) { return 0; }
int CKDRObstacles::EditSelectedObstacle(CTaskOrgArray*, CKDRGameMap*) { return 0; }
int CKDRObstacles::EditObstacle(int, int, CKDRGameMap*) { return 0; }
CString CKDRObstacles::GetObstacleName(float, float, CKDRGameMap*) { return CString(); }
void CKDRObstacles::UpdateOwnSide(CKDRGameMap*) {}
void CKDRObstacles::UpdateOtherSides(CKDRGameMap*) {}

int CKDRObstacles::PlaceObstacle(float, float, int, float, float, float, int, CKDRGameMap*, int& nIndex, int& nSideOut)
{
    nIndex = -99;
    nSideOut = -99;
    return 0;
}

int CKDRObstacles::PlaceChemArea(float, int, int, float, float, int, CKDRGameMap*) { return 0; }
int CKDRObstacles::ApplyObstacleRecord(const BYTE*, int) { return 0; }
int CKDRObstacles::ApplyStateRecord(const BYTE*, int) { return 0; }
int CKDRObstacles::ApplyBreachRecord(const BYTE*, int) { return 0; }
void CKDRObstacles::SendAllObstacles() {}
int CKDRObstacles::SendObstaclesToPlayer(int, CTaskOrgArray*) { return 0; }
int CKDRObstacles::UnpackPassedObstacles(const BYTE*, int) { return 0; }
