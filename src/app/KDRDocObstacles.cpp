// The document facade over the dug positions and obstacles: drawing,
// look-ups and drags of the deployment phase, edits, impacts that lay
// mines or chemicals, and the records received from the other player.

#include "app/KDRDocFacade.h"

#include "battlefield/FireMission.h"
#include "battlefield/KDRHoles.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/Obstacle.h"
#include "battlefield/SmokeArray.h"
#include "database/KDRDatabase.h"
#include "net/NetUpdate.h"

#include <cstring>

using namespace doc_facade;

namespace
{
// Kinds of received update records.
constexpr WORD RECORD_KIND_OBSTACLES = 2;
constexpr WORD RECORD_KIND_HOLES = 4;
// Message types of passed obstacles and dug positions.
constexpr int PASSED_OBJECTS_FIRST_TYPE = 21;
constexpr int PASSED_OBJECTS_LAST_TYPE = 25;

// Received records: the first double word is the record type, the second
// tells which component the record belongs to. The type alone is enough for
// the obstacle and dug-position records; the others are read only when both
// double words are there.
constexpr int RECORD_TYPE_BYTES = 4;
constexpr int RECORD_ROUTING_BYTES = 8;

DWORD SecondDoubleWord(const BYTE* pData)
{
    DWORD dw = 0;
    std::memcpy(&dw, pData + RECORD_TYPE_BYTES, sizeof dw);
    return dw;
}
}  // namespace

// ---------------------------------------------------------------------------
// Dug positions and obstacles

BOOL CKDRDoc::DrawHoles()
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr)
        return FALSE;
    pHoles->DrawHoles(GetUnits(), GetGameMap());
    return TRUE;
}

BOOL CKDRDoc::DrawSelectedHoles(CTaskOrgArray* pList)
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr)
        return FALSE;
    pHoles->DrawSelected(pList, GetGameMap(), 0);
    return TRUE;
}

BOOL CKDRDoc::HighlightSelectedHoles(CTaskOrgArray* pList)
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr)
        return FALSE;
    pHoles->DrawSelected(pList, GetGameMap(), 1);
    return TRUE;
}

BOOL CKDRDoc::DrawObstacles()
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr)
        return FALSE;
    pObstacles->DrawAllOnMapSurface(GetGameMap());
    return TRUE;
}

BOOL CKDRDoc::DrawSelectedObstacles(CTaskOrgArray* pList)
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr)
        return FALSE;
    pObstacles->DrawSelected(pList, GetGameMap(), 0);
    return TRUE;
}

BOOL CKDRDoc::HighlightSelectedObstacles(CTaskOrgArray* pList)
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr)
        return FALSE;
    pObstacles->DrawSelected(pList, GetGameMap(), 1);
    return TRUE;
}

namespace
{
BOOL InDeploymentPhase()
{
    CKDRApp* pApp = GetKDRApp();
    return pApp != nullptr && pApp->IsDeploymentPhase();
}
}  // namespace

int CKDRDoc::FindHoleAt(int nX, int nY, int& nSide)
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr || !InDeploymentPhase())
        return kUnset;
    return pHoles->FindHoleAtViewPoint(nX, nY, GetGameMap(), nSide);
}

int CKDRDoc::FindObstacleAt(float fX, float fY, int& nSide)
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr || !InDeploymentPhase())
        return kUnset;
    return pObstacles->FindObstacleAt(fX, fY, nSide, GetGameMap(), 0);
}

int CKDRDoc::MoveHole(int nIndex, int nSide, float fX, float fY)
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr || !InDeploymentPhase())
        return 0;
    return MovedUnits(*this, pHoles->MoveHole(nIndex, nSide, fX, fY, GetGameMap()));
}

int CKDRDoc::MoveObstacle(int nIndex, int nSide, float fX, float fY)
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr || !InDeploymentPhase())
        return 0;
    return Modified(*this, pObstacles->MoveObstacle(nIndex, nSide, fX, fY, GetGameMap()));
}

CTaskOrgArray* CKDRDoc::SelectHolesInRect(const CRect& rcPicture)
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr || !InDeploymentPhase())
        return nullptr;
    float fLeft = 0, fTop = 0, fRight = 0, fBottom = 0;
    if (!RectToMap(GetGameMap(), rcPicture, fLeft, fTop, fRight, fBottom))
        return nullptr;
    CTaskOrgArray* pList = pHoles->SelectHolesInRect(fLeft, fTop, fRight, fBottom);
    MovedUnits(*this, pList != nullptr);
    return pList;
}

CTaskOrgArray* CKDRDoc::SelectObstaclesInRect(const CRect& rcPicture)
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr || !InDeploymentPhase())
        return nullptr;
    float fLeft = 0, fTop = 0, fRight = 0, fBottom = 0;
    if (!RectToMap(GetGameMap(), rcPicture, fLeft, fTop, fRight, fBottom))
        return nullptr;
    CTaskOrgArray* pList = pObstacles->SelectObstaclesInRect(fLeft, fTop, fRight, fBottom);
    Modified(*this, pList != nullptr);
    return pList;
}

int CKDRDoc::PlaceHolesOfSelection(CTaskOrgArray* pList, float fFromX, float fFromY, float fToX, float fToY)
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr)
        return 0;
    return MovedUnits(*this, pHoles->PlaceHolesOfSelection(pList, fFromX, fFromY, fToX, fToY, GetGameMap()));
}

int CKDRDoc::EditSelectedHole(CTaskOrgArray* pList)
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr)
        return 0;
    return MovedUnits(*this, pHoles->EditSelectedHole(pList));
}

int CKDRDoc::EditHole(int nIndex, int nSide)
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr)
        return 0;
    return MovedUnits(*this, pHoles->EditHole(nIndex, nSide, GetGameMap()));
}

int CKDRDoc::EditSelectedObstacle(CTaskOrgArray* pList)
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr)
        return 0;
    return Modified(*this, pObstacles->EditSelectedObstacle(pList, GetGameMap()));
}

int CKDRDoc::EditObstacle(int nIndex, int nSide)
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr)
        return 0;
    const int nResult = pObstacles->EditObstacle(nIndex, nSide, GetGameMap());
    // The application keeps what was confirmed, and the view its settings.
    CKDRApp* pApp = GetKDRApp();
    if (const CObstacle* pObstacle = pObstacles->GetObstacle(nIndex, nSide); nResult && pApp != nullptr && pObstacle)
    {
        pApp->m_nObstacleAttitude = pObstacle->m_nAttitude;
        pApp->m_tsObstacleTimeToFire = pObstacle->m_tsTime;
        pApp->StoreViewSettings();
    }
    return Modified(*this, nResult);
}

int CKDRDoc::HandleObstacleSelection(CTaskOrgArray* pList, float fFromX, float fFromY, float fToX, float fToY)
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr)
        return 0;
    return Modified(*this, pObstacles->MoveSelected(pList, fFromX, fFromY, fToX, fToY, GetGameMap()));
}

CString CKDRDoc::GetObstacleName(float fX, float fY)
{
    // A name asked for changes nothing: the document stays as it was.
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr)
        return CString();
    return pObstacles->GetObstacleName(fX, fY, GetGameMap());
}

BOOL CKDRDoc::UpdateOwnSideObstacles()
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr)
        return FALSE;
    pObstacles->UpdateOwnSide(GetGameMap());
    return TRUE;
}

BOOL CKDRDoc::UpdateOtherSideObstacles()
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr)
        return FALSE;
    pObstacles->UpdateOtherSides(GetGameMap());
    return TRUE;
}

namespace
{
// The obstacle component, made (present) when the mission has none yet.
CKDRObstacles* ObstaclesCreatedWhenAbsent(CKDRDoc& doc)
{
    if (doc.GetObstacles() == nullptr)
        doc.SetObstacles(new CKDRObstacles);
    return doc.GetObstacles();
}
}  // namespace

int CKDRDoc::PlaceObstacleAndSend(float fWidth, float fLength, int nDensity, float fX, float fY, float fAttitude,
                                  int nSide, int nUnit, int nArray)
{
    CKDRGameMap* pMap = GetGameMap();
    if (pMap == nullptr)
        return 0;
    CKDRObstacles* pObstacles = ObstaclesCreatedWhenAbsent(*this);
    int nIndex = kUnset;
    int nFoundSide = kUnset;
    const int nResult =
        pObstacles->PlaceObstacle(fWidth, fLength, nDensity, fX, fY, fAttitude, nSide, pMap, nIndex, nFoundSide);
    if (CKDRUnits* pUnits = GetUnits())
        pUnits->OnMinesLaid(nUnit, nArray, nIndex, nFoundSide);
    if (IsMultiplayerWithSession(GetKDRApp()))
    {
        CNetUpdateDocument record;
        record.Send();
    }
    return nResult;
}

int CKDRDoc::ApplyFASCAMImpact(CFireMission* pMission)
{
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    if (pMap == nullptr || pDatabase == nullptr || pMission == nullptr)
        return 0;
    float fWidth = 0, fLength = 0;
    int nDensity = 0, bLimited = 0, nDuration = 0;
    if (!pMission->GetFASCAMParameters(pDatabase, fWidth, fLength, nDensity, bLimited, nDuration))
        return 0;
    CKDRObstacles* pObstacles = ObstaclesCreatedWhenAbsent(*this);
    int nIndex = kUnset;
    int nFoundSide = kUnset;
    const int nResult =
        pObstacles->PlaceObstacle(fWidth, fLength, nDensity, pMission->m_fX, pMission->m_fY,
                                  static_cast<float>(pMission->m_nAttitude), pMission->GetSide(), pMap, nIndex, nFoundSide);
    if (CKDRUnits* pUnits = GetUnits(); pUnits != nullptr && pMission->m_nUnit != kUnset)
        pUnits->OnMinesLaid(pMission->m_nUnit, pMission->m_nArray, nIndex, nFoundSide);
    return nResult;
}

int CKDRDoc::ApplyChemicalImpact(CFireMission* pMission)
{
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    if (pMap == nullptr || pDatabase == nullptr || pMission == nullptr)
        return 0;
    float fRadius = 0;
    int nDensity = 0, nDuration = 0;
    if (!pMission->GetChemParameters(pDatabase, fRadius, nDensity, nDuration))
        return 0;
    CKDRObstacles* pObstacles = ObstaclesCreatedWhenAbsent(*this);
    return pObstacles->PlaceChemArea(fRadius, nDensity, nDuration, pMission->m_fX, pMission->m_fY,
                                     pMission->GetSide(), GameTimeElapsed(), pMap);
}

int CKDRDoc::ReceiveObstacles(const BYTE* pData, int nLength)
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr || pData == nullptr || nLength < RECORD_TYPE_BYTES)
        return 0;
    return pObstacles->ApplyObstacleRecord(pData, nLength);
}

int CKDRDoc::ReceiveHoles(const BYTE* pData, int nLength)
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr || pData == nullptr || nLength < RECORD_TYPE_BYTES)
        return 0;
    return pHoles->ApplyHoleRecord(pData, nLength);
}

int CKDRDoc::ReceiveStateRecord(const BYTE* pData, int nLength)
{
    // The routing word is the second double word: a record too short to
    // hold it is not read at all.
    if (GetGameMap() == nullptr || pData == nullptr || nLength < RECORD_ROUTING_BYTES)
        return 0;
    if (SecondDoubleWord(pData) == 0)
    {
        if (m_pSmoke == nullptr)
            return 0;
        CNetUpdateDocument record;
        return record.Receive(pData, nLength, m_pSmoke, nullptr);
    }
    CKDRObstacles* pObstacles = GetObstacles();
    return pObstacles != nullptr ? pObstacles->ApplyStateRecord(pData, nLength) : 0;
}

int CKDRDoc::ReceiveBreach(const BYTE* pData, int nLength)
{
    CKDRGameMap* pMap = GetGameMap();
    if (pMap == nullptr || pData == nullptr || nLength < RECORD_ROUTING_BYTES)
        return 0;
    if (SecondDoubleWord(pData) == 0)
    {
        pMap->ApplyBreachRecord(pData, nLength);
        return 1;
    }
    CKDRObstacles* pObstacles = GetObstacles();
    return pObstacles != nullptr ? pObstacles->ApplyBreachRecord(pData, nLength) : 0;
}

int CKDRDoc::ReceivePassedObjects(const BYTE* pData, int nLength, int nType)
{
    if (GetGameMap() == nullptr || pData == nullptr || nType < PASSED_OBJECTS_FIRST_TYPE ||
        nType > PASSED_OBJECTS_LAST_TYPE)
        return 0;
    // Each component unpacks only the hand-over records of its own kind.
    if (CKDRObstacles* pObstacles = GetObstacles())
        pObstacles->UnpackPassedObstacles(pData, nLength);
    if (CKDRHoles* pHoles = GetHoles())
        pHoles->UnpackPassedHoles(pData, nLength);
    ReassignOccupants();
    UpdateAllViews(nullptr, KDR_HINT_OBJECTS_REPLACED);
    return 1;
}

int CKDRDoc::ApplyReceivedState(CNetUpdate* pRecord)
{
    if (pRecord == nullptr)
        return 0;
    CObject* pTarget = nullptr;
    switch (pRecord->GetKind())
    {
    case RECORD_KIND_OBSTACLES: pTarget = GetObstacles(); break;
    case RECORD_KIND_HOLES: pTarget = GetHoles(); break;
    default: pTarget = GetUnits(); break;
    }
    if (pTarget == nullptr)
        return 0;
    pRecord->ApplyTo(pTarget);
    UpdateAllViews(nullptr, KDR_HINT_OBJECTS_REPLACED);
    ReassignOccupants();
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr, KDR_HINT_STATE_RECEIVED);
    return 1;
}
