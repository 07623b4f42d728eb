// Obstacles that change sides: the turn of the sides after a scenario is
// opened, merging one side's obstacles into another's, obstacles handed to
// or received from a team-mate, and the records of the other player. The
// index map follows every move, so that the players can still name an
// obstacle by where it was first loaded.
#include "battlefield/KDRObstacles.h"

#include "battlefield/ObstacleArray.h"
#include "hierarchy/GlobalMap.h"
#include "hierarchy/TaskOrg.h"
#include "net/NetUpdate.h"
#include "shell/ReportService.h"

#include <memory>
#include <utility>
#include <vector>

namespace
{
// The index map's group of every obstacle.
constexpr int kObstacleGroup = 0;
// The hand-over record's kind for obstacles.
constexpr WORD kHandOverObstacles = 2;
}  // namespace

void CKDRObstacles::ResetIndexMap()
{
    delete m_pIndexMap;
    m_pIndexMap = new CGlobalMap;
    for (int nSide = 0; nSide < kSideCount; ++nSide)
    {
        if (const CObstacleArray* pArray = GetSideArray(nSide))
            m_pIndexMap->AddUnits(pArray->GetSize(), kObstacleGroup, nSide, kObstacleGroup, nSide);
    }
}

void CKDRObstacles::FixUpAfterLoad(CKDRGameMap* pMap, BOOL bPlayEnemySide, BOOL bOwnSideToNeutral)
{
    ResetIndexMap();
    const int nOwnCount = IsSidePresent(0) ? GetSideArray(0)->GetSize() : 0;
    const int nOpposingCount = IsSidePresent(1) ? GetSideArray(1)->GetSize() : 0;

    // The player of the enemy side owns side 1's obstacles: they become plain
    // objects and side 0's enemy ones.
    if (bPlayEnemySide)
    {
        if (CObstacleArray* pOwn = GetSideArray(0))
            InstallSide(0, pOwn->ConvertClass(TRUE, pMap));
        if (CObstacleArray* pOpposing = GetSideArray(1))
            InstallSide(1, pOpposing->ConvertClass(FALSE, pMap));
    }
    // The neutral obstacles join the side the local player ends up on, as
    // that side's plain objects.
    if (CObstacleArray* pNeutral = GetSideArray(2))
    {
        std::unique_ptr<CObstacleArray> pPlain(pNeutral->ConvertClass(FALSE, pMap));
        MergeArray(bPlayEnemySide ? 1 : 0, pPlain.get(), 2, FALSE);
        ClearSide(2);
    }
    if (bPlayEnemySide)
    {
        SwapOwnAndOpposing();
    }
    m_pIndexMap->MoveGroup(nOwnCount, kObstacleGroup, 0, kObstacleGroup, bPlayEnemySide ? 1 : 0, bPlayEnemySide);
    m_pIndexMap->MoveGroup(nOpposingCount, kObstacleGroup, 1, kObstacleGroup, bPlayEnemySide ? 0 : 1, bPlayEnemySide);

    // Without an opponent the scenario's own obstacles stand for neither side.
    if (bOwnSideToNeutral)
    {
        if (CObstacleArray* pOwn = GetSideArray(0))
        {
            std::unique_ptr<CObstacleArray> pEnemy(pOwn->ConvertClass(TRUE, pMap));
            MergeArray(2, pEnemy.get(), 0, TRUE);
            ClearSide(0);
        }
    }
    DrawAllOnMapSurface(pMap);
}

BOOL CKDRObstacles::RemoveObstacle(int nIndex, int nSide, BOOL bKeep)
{
    CObstacleArray* pArray = GetSideArray(nSide);
    if (pArray == nullptr || nIndex < 0 || nIndex >= pArray->GetSize())
        return FALSE;
    if (bKeep)
        pArray->RemoveAtNoDelete(nIndex);
    else
        pArray->RemoveAt(nIndex);
    m_pIndexMap->CloseGap(nIndex, kObstacleGroup, nSide);
    return TRUE;
}

void CKDRObstacles::MergeArray(int nTargetSide, CObstacleArray* pArray, int nSourceSide, BOOL bByCurrent)
{
    if (pArray == nullptr || !IsValidSide(nTargetSide))
        return;
    CObstacleArray* pTarget = GetSideArray(nTargetSide);
    if (pTarget == nullptr)
        pTarget = CreateSideArray(nTargetSide);
    for (int i = 0; i < pArray->GetSize(); ++i)
    {
        CObstacle* pObstacle = pArray->GetAt(i);
        if (pObstacle == nullptr || pObstacle->IsChemArea())
            continue;
        const int nNewIndex = pTarget->Add(pObstacle);
        CGlobalIndex* pEntry = bByCurrent ? m_pIndexMap->FindByCurrent(i, kObstacleGroup, nSourceSide)
                                             : m_pIndexMap->FindByFirst(i, kObstacleGroup, nSourceSide);
        if (pEntry != nullptr)
        {
            pEntry->m_nIndex = nNewIndex;
            pEntry->m_nGroup = kObstacleGroup;
            pEntry->m_nKind = nTargetSide;
        }
    }
    // The moved obstacles belong to the target now; the chemical areas left
    // behind go with the emptied array.
    for (int i = 0; i < pArray->GetSize(); ++i)
    {
        CObstacle* pObstacle = pArray->GetAt(i);
        if (pObstacle != nullptr && pObstacle->IsChemArea())
            delete pObstacle;
    }
    pArray->RemoveAllNoDelete();
}

// ---------------------------------------------------------------------------
// Team-mates

CString CKDRObstacles::PassedObstaclesText(const CString& strGiver)
{
    return "You have been passed obstacles by the player, " + strGiver +
           ".  They have been added to your main map and are now under your control.";
}

void CKDRObstacles::ReceiveObstacles(const CString& strGiver, CTaskOrgArray* pList, BOOL bToNeutral, CKDRGameMap* pMap)
{
    if (pList == nullptr)
        return;
    if (!bToNeutral)
    {
        if (CReportService* pReports = GetReportService())
            pReports->ShowMessageBoxDlg("Obstacles Received", PassedObstaclesText(strGiver), kUnset, kUnset);
    }
    if (!IsSidePresent(0))
        CreateSideArray(0);
    if (!IsSidePresent(2))
        CreateSideArray(2);
    const int nTarget = bToNeutral ? 2 : 0;
    CObstacleArray* pTarget = GetSideArray(nTarget);

    // The side each kept entry's obstacle comes from, in list order.
    std::vector<int> sources;
    for (int k = 0; k < pList->GetSize();)
    {
        CTaskOrg* pTaskOrg = pList->GetAt(k);
        CGlobalIndex* pEntry =
            pTaskOrg != nullptr ? m_pIndexMap->FindByFirst(pTaskOrg->m_nUnit, kObstacleGroup, pList->m_nSide) : nullptr;
        const CObstacle* pObstacle =
            pEntry != nullptr && pEntry->m_nKind != nTarget ? GetObstacle(pEntry->m_nIndex, pEntry->m_nKind) : nullptr;
        if (pObstacle == nullptr)
        {
            pList->RemoveAt(k);
            continue;
        }
        pTaskOrg->m_nUnit = pEntry->m_nIndex;
        pTaskOrg->m_nArray = pEntry->m_nGroup;
        sources.push_back(pEntry->m_nKind);
        CObstacle* pCopy = pObstacle->CopyAs(nTarget != 0);
        const int nNewIndex = pTarget->Add(pCopy);
        pCopy->DrawOnMapSurface(pMap, FALSE);
        pEntry->m_nIndex = nNewIndex;
        pEntry->m_nGroup = kObstacleGroup;
        pEntry->m_nKind = nTarget;
        ++k;
    }
    // The originals go; each removal moves the later ones of its side down.
    for (int k = 0; k < pList->GetSize(); ++k)
    {
        const int nIndex = pList->GetAt(k)->m_nUnit;
        RemoveObstacle(nIndex, sources[static_cast<size_t>(k)], FALSE);
        for (int j = k + 1; j < pList->GetSize(); ++j)
        {
            CTaskOrg* pLater = pList->GetAt(j);
            if (sources[static_cast<size_t>(j)] == sources[static_cast<size_t>(k)] && pLater->m_nUnit >= nIndex)
                --pLater->m_nUnit;
        }
    }
}

int CKDRObstacles::UnpackPassedObstacles(const BYTE* /*pData*/, int /*nLength*/)
{
    // Unpacking a hand-over message into its list comes with the hand-over
    // record; until then nothing arrives.
    return 0;
}

int CKDRObstacles::SendObstaclesToPlayer(int nPlayer, CTaskOrgArray* pList)
{
    if (nPlayer < 0 || pList == nullptr)
        return 0;
    SendAllObstacles();
    CTaskOrgArray selection(*pList);
    CNetUpdateHandOver record(&selection, nPlayer);
    record.m_wKind = kHandOverObstacles;
    return record.Send(&selection, kUnset, kUnset, kUnset);
}

// ---------------------------------------------------------------------------
// Records of the other player

int CKDRObstacles::ApplyObstacleRecord(const BYTE* pData, int nLength)
{
    if (pData == nullptr)
        return 0;
    CNetUpdateObstacles record;
    return record.Receive(pData, nLength, this, m_pIndexMap);
}

int CKDRObstacles::ApplyStateRecord(const BYTE* pData, int nLength)
{
    if (pData == nullptr || nLength < NETUPDATE_MIN_RECORD_BYTES)
        return 0;
    CNetUpdateDocument record;
    return record.Receive(pData, nLength, this, m_pIndexMap);
}

int CKDRObstacles::ApplyBreachRecord(const BYTE* /*pData*/, int /*nLength*/)
{
    // The breach record applies itself to the game map's terrain only, until
    // the records learn the obstacles' lanes: nothing here changes.
    return 0;
}

void CKDRObstacles::SendAllObstacles()
{
    CObstacleArray* pOwn = GetSideArray(0);
    if (pOwn == nullptr || m_pIndexMap == nullptr)
        return;
    CNetUpdateObstacles record;
    record.Send(pOwn, kUnset, kUnset, 0, m_pIndexMap);
}
