// The obstacle component: its sides, loading, the saved-game part, and the
// searches, draws and edits it forwards to the side arrays. The moves of
// obstacles between sides and the records of the other player are in
// KDRObstaclesSides.cpp.
#include "battlefield/KDRObstacles.h"

#include "battlefield/AITerrain.h"
#include "battlefield/MoverInfo.h"
#include "battlefield/ObstacleArray.h"
#include "hierarchy/GlobalMap.h"
#include "hierarchy/TaskOrg.h"
#include "platform/core/Archive.h"
#include "platform/core/Rounding.h"
#include "platform/ui/App.h"
#include "platform/ui/UiService.h"

#include <memory>
#include <utility>

IMPLEMENT_SERIAL(CKDRObstacles, CSideFilesComponent, 1)

namespace
{
// The order of every search over the sides.
constexpr int kSearchOrder[] = {1, 0, 2};
// What a name gets when the point lies in one of the obstacle's lanes.
const char* const kLaneSuffix = " Breach Lane";
}  // namespace

CKDRObstacles::CKDRObstacles() : CSideArrayComponent("*.obs"), m_pIndexMap(new CGlobalMap) {}

CKDRObstacles::~CKDRObstacles()
{
    DeleteSides();
    delete m_pIndexMap;
}

// ---------------------------------------------------------------------------
// Sides

CObstacleArray* CKDRObstacles::CreateSideArray(int nSide)
{
    if (!IsValidSide(nSide))
        return nullptr;
    InstallSide(nSide, new CObstacleArray);
    SideName(nSide).Empty();
    return m_apArrays[nSide];
}

// ---------------------------------------------------------------------------
// Loading and the saved game

BOOL CKDRObstacles::LoadByName(CKDRGameMap* pMap, const CString& strDataDir)
{
    return LoadNamedSides([&](int nSide, const CString& strName)
                          { return LoadObstacleArray(nSide, strName, pMap, strDataDir); });
}

BOOL CKDRObstacles::LoadObstacleArray(int nSide, const CString& strName, CKDRGameMap* pMap, const CString& strDataDir)
{
    return LoadSideArray(nSide, strName, "obstacle array",
                         [&](CObstacleArray& array) { return array.LoadFromFile(strName, pMap, strDataDir); });
}

void CKDRObstacles::SerializeState(CArchive& ar) { SerializeSides(ar); }

// ---------------------------------------------------------------------------
// Time and drawing

BOOL CKDRObstacles::Step(CTimeSpan tsNow)
{
    BOOL bChanged = FALSE;
    for (int nSide = 0; nSide < kSideCount; ++nSide)
    {
        if (CObstacleArray* pArray = GetSideArray(nSide); pArray != nullptr && pArray->StepAll(tsNow))
            bChanged = TRUE;
    }
    return bChanged;
}

void CKDRObstacles::DrawAllOnMapSurface(CKDRGameMap* pMap)
{
    for (int nSide = 0; nSide < kSideCount; ++nSide)
    {
        if (CObstacleArray* pArray = GetSideArray(nSide))
            pArray->DrawAllOnMapSurface(pMap);
    }
}

void CKDRObstacles::DrawSelected(CTaskOrgArray* pList, CKDRGameMap* pMap, int nHighlight)
{
    if (pList == nullptr)
        return;
    if (CObstacleArray* pArray = GetSideArray(pList->m_nSide))
        pArray->DrawSelected(pList, pMap, nHighlight);
}

void CKDRObstacles::UpdateOwnSide(CKDRGameMap* pMap)
{
    if (CObstacleArray* pArray = GetSideArray(0))
        pArray->UpdateAll(pMap);
}

void CKDRObstacles::UpdateOtherSides(CKDRGameMap* pMap)
{
    for (int nSide : {1, 2})
    {
        if (CObstacleArray* pArray = GetSideArray(nSide))
            pArray->UpdateAll(pMap);
    }
}

// ---------------------------------------------------------------------------
// Look-ups

CObstacle* CKDRObstacles::GetObstacle(int nIndex, int nSide) const
{
    const CObstacleArray* pArray = GetSideArray(nSide);
    return pArray != nullptr ? pArray->GetObstacle(nIndex) : nullptr;
}

CChem* CKDRObstacles::GetChemArea(int nIndex, int nSide) const
{
    const CObstacleArray* pArray = GetSideArray(nSide);
    return pArray != nullptr ? pArray->GetChemArea(nIndex) : nullptr;
}

int CKDRObstacles::FindObstacleAt(float fX, float fY, int& nSide, CKDRGameMap* pMap, int bIgnoreSprite)
{
    for (int nCandidate : kSearchOrder)
    {
        if (nSide != -1 && nSide != nCandidate)
            continue;
        const CObstacleArray* pArray = GetSideArray(nCandidate);
        if (pArray == nullptr)
            continue;
        const int nIndex = pArray->FindObstacleAt(fX, fY, pMap, bIgnoreSprite);
        if (nIndex != kUnset)
        {
            nSide = nCandidate;
            return nIndex;
        }
    }
    return kUnset;
}

int CKDRObstacles::FindChemAt(float fX, float fY, int& nSide)
{
    for (int nCandidate : kSearchOrder)
    {
        if (nSide != -1 && nSide != nCandidate)
            continue;
        const CObstacleArray* pArray = GetSideArray(nCandidate);
        if (pArray == nullptr)
            continue;
        const int nIndex = pArray->FindChemAt(fX, fY);
        if (nIndex != kUnset)
        {
            nSide = nCandidate;
            return nIndex;
        }
    }
    return kUnset;
}

CString CKDRObstacles::GetObstacleName(float fX, float fY, CKDRGameMap* pMap)
{
    int nSide = -1;
    const int nIndex = FindObstacleAt(fX, fY, nSide, pMap, FALSE);
    // The other sides' obstacles are not named to the player.
    if (nIndex == kUnset || nSide != 0)
        return CString();
    const CObstacle* pObstacle = GetObstacle(nIndex, nSide);
    CString strName = CObstacleArray::GetTypeName(pObstacle);
    if (pObstacle != nullptr && pObstacle->m_lanes.FindBreachAt(fX, fY) != kUnset)
        strName += kLaneSuffix;
    return strName;
}

int CKDRObstacles::IsBlocked(float fX, float fY, const CKDRGameMap* pMap, int nMoverMask, CObstacle*& pObstacle,
                             int nMoverSide, int nAbilityMask) const
{
    pObstacle = nullptr;
    for (int nSide : kSearchOrder)
    {
        const CObstacleArray* pArray = GetSideArray(nSide);
        if (pArray != nullptr &&
            pArray->IsBlocked(fX, fY, pMap, nMoverMask, &pObstacle, nMoverSide != nSide, nAbilityMask))
            return 1;
    }
    pObstacle = nullptr;
    return 0;
}

int CKDRObstacles::FindCrossing(const MoverInfo& mover, const CKDRGameMap* pMap, CObstacle* pCurrent, float& fX,
                                float& fY, CAITerrainRoute*& pRoute) const
{
    fX = fY = kUnsetFloat;
    pRoute = nullptr;
    auto usable = [&] { return fX >= 0.0f && fY >= 0.0f && pRoute != nullptr; };
    auto discard = [&]
    {
        delete pRoute;
        pRoute = nullptr;
        fX = fY = kUnsetFloat;
    };
    if (pCurrent != nullptr)
    {
        pCurrent->FindCrossing(mover, FALSE, pMap, &fX, &fY, &pRoute);
        if (usable())
            return 1;
        discard();
    }
    for (int nSide : kSearchOrder)
    {
        const CObstacleArray* pArray = GetSideArray(nSide);
        if (pArray == nullptr)
            continue;
        pArray->FindCrossing(mover, mover.nSide != nSide, pMap, &fX, &fY, &pRoute);
        if (usable())
            return 1;
        discard();
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Edits

int CKDRObstacles::MoveObstacle(int nIndex, int nSide, float fX, float fY, CKDRGameMap* pMap)
{
    CObstacle* pObstacle = GetObstacle(nIndex, nSide);
    if (pObstacle == nullptr)
        return 0;
    pObstacle->SetPosition(fX, fY, pMap);
    return 1;
}

CTaskOrgArray* CKDRObstacles::SelectObstaclesInRect(float fLeft, float fTop, float fRight, float fBottom)
{
    const CObstacleArray* pArray = GetSideArray(0);
    CTaskOrgArray* pList = pArray != nullptr ? pArray->SelectInRect(fLeft, fTop, fRight, fBottom) : new CTaskOrgArray;
    pList->m_nSide = 0;
    return pList;
}

int CKDRObstacles::MoveSelected(CTaskOrgArray* pList, float fFromX, float fFromY, float fToX, float fToY,
                                CKDRGameMap* pMap)
{
    if (pList == nullptr)
        return 0;
    CObstacleArray* pArray = GetSideArray(pList->m_nSide);
    if (pArray == nullptr)
        return 0;
    pArray->MoveSelected(pList, fFromX, fFromY, fToX, fToY, pMap);
    return 1;
}

int CKDRObstacles::EditSelectedObstacle(CTaskOrgArray* pList, CKDRGameMap* pMap)
{
    if (pList == nullptr)
        return 0;
    CObstacleArray* pArray = GetSideArray(pList->m_nSide);
    return pArray != nullptr && pArray->EditSelected(pList, pMap) ? 1 : 0;
}

int CKDRObstacles::EditObstacle(int nIndex, int nSide, CKDRGameMap* pMap)
{
    CObstacleArray* pArray = GetSideArray(nSide);
    CObstacle* pObstacle = pArray != nullptr ? pArray->GetObstacle(nIndex) : nullptr;
    if (pObstacle == nullptr || !pArray->EditObstacle(pObstacle))
        return 0;
    pObstacle->DrawOnMapSurface(pMap, pObstacle->m_bHighlight);
    return 1;
}

int CKDRObstacles::PlaceObstacle(float fWidth, float fLength, int nDensity, float fX, float fY, float fAttitude,
                                 int nSide, CKDRGameMap* pMap, int& nIndex, int& nSideOut)
{
    nIndex = kUnset;
    nSideOut = kUnset;
    const int nWidth = TruncToInt(fWidth);
    const int nLength = TruncToInt(fLength);
    const int nAttitude = TruncToInt(fAttitude);
    int nFoundSide = -1;
    const int nFound = FindObstacleAt(fX, fY, nFoundSide, pMap, TRUE);
    if (CObstacle* pObstacle = nFound != kUnset ? GetObstacle(nFound, nFoundSide) : nullptr)
    {
        pObstacle->Strengthen(nAttitude, nWidth, nLength, nDensity, pMap);
        nIndex = nFound;
        nSideOut = nFoundSide;
        return 1;
    }
    CObstacleArray* pArray = GetSideArray(nSide);
    if (pArray == nullptr)
        pArray = CreateSideArray(nSide);
    if (pArray == nullptr)
        return 0;
    pArray->AddObstacle(fX, fY, nAttitude, nWidth, nLength, nDensity, nSide, pMap);
    return 1;
}

int CKDRObstacles::PlaceChemArea(float fRadius, int nDensity, int nDuration, float fX, float fY, int nSide,
                                 CTimeSpan tsNow, CKDRGameMap* pMap)
{
    int nFoundSide = -1;
    const int nFound = FindChemAt(fX, fY, nFoundSide);
    if (CChem* pChem = nFound != kUnset ? GetChemArea(nFound, nFoundSide) : nullptr)
    {
        pChem->Strengthen(nDensity, tsNow + CTimeSpan(nDuration), pMap);
        return 1;
    }
    CObstacleArray* pArray = GetSideArray(nSide);
    if (pArray == nullptr)
        pArray = CreateSideArray(nSide);
    if (pArray == nullptr)
        return 0;
    pArray->AddChemArea(fX, fY, TruncToInt(fRadius), nDensity, nDuration, nSide, tsNow, pMap);
    return 1;
}
