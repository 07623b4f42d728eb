// The dug-position component: its sides, loading, the saved-game part, the
// turn of the sides after an open, occupation, and the searches, draws and
// edits it forwards to the side arrays; positions passed between players.
#include "battlefield/KDRHoles.h"

#include "battlefield/HoleArray.h"
#include "battlefield/HoleUnits.h"
#include "hierarchy/GlobalMap.h"
#include "hierarchy/TaskOrg.h"
#include "net/MultiplayerSession.h"
#include "net/NetUpdate.h"
#include "platform/core/Archive.h"
#include "platform/ui/App.h"
#include "platform/ui/UiService.h"
#include "shell/PlayService.h"
#include "shell/ReportService.h"

#include <memory>
#include <utility>
#include <vector>

IMPLEMENT_SERIAL(CKDRHoles, CSideFilesComponent, 1)

namespace
{
// The order of every search over the sides, and of the loads.
constexpr int kSearchOrder[] = {1, 0, 2};
// The hand-over record's kind for dug positions.
constexpr WORD kHandOverHoles = 4;

BOOL IsLinkedMultiplayer()
{
    const CPlayService* pPlay = GetPlayService();
    return pPlay != nullptr && pPlay->IsNetworkGame() && pPlay->GetSession()->IsOpponentConnected();
}
}  // namespace

CKDRHoles::CKDRHoles() : CSideArrayComponent("*.hol"), m_pIndexMap(new CGlobalMap) {}

CKDRHoles::~CKDRHoles()
{
    DeleteSides();
    delete m_pIndexMap;
}

// ---------------------------------------------------------------------------
// Sides

CHoleArray* CKDRHoles::EnsureSideArray(int nSide)
{
    if (!IsValidSide(nSide))
        return nullptr;
    if (CHoleArray* pArray = GetSideArray(nSide))
        return pArray;
    InstallSide(nSide, new CHoleArray);
    return m_apArrays[nSide];
}

CHole* CKDRHoles::GetHole(int nIndex, int nSide) const
{
    const CHoleArray* pArray = GetSideArray(nSide);
    return pArray != nullptr ? pArray->GetAt(nIndex) : nullptr;
}

// ---------------------------------------------------------------------------
// Loading and the saved game

BOOL CKDRHoles::LoadByName(CKDRGameMap* pMap, const CString& strDataDir)
{
    return LoadNamedSides([&](int nSide, const CString& strName)
                          { return LoadHoleArray(nSide, strName, pMap, strDataDir); });
}

BOOL CKDRHoles::LoadHoleArray(int nSide, const CString& strName, CKDRGameMap* pMap, const CString& strDataDir)
{
    return LoadSideArray(nSide, strName, "dug position array",
                         [&](CHoleArray& array) { return array.Load(strName, pMap, strDataDir, nSide); });
}

void CKDRHoles::ResetIndexMap()
{
    delete m_pIndexMap;
    m_pIndexMap = new CGlobalMap;
    for (int nSide = 0; nSide < kSideCount; ++nSide)
    {
        if (const CHoleArray* pArray = GetSideArray(nSide))
            m_pIndexMap->AddUnits(pArray->GetSize(), nSide, nSide, nSide, nSide);
    }
}

void CKDRHoles::FixUpAfterLoad(CKDRGameMap* pMap, BOOL bPlayEnemySide, BOOL bOwnSideToNeutral)
{
    ResetIndexMap();
    // The other player names positions by where the scenario put them; the
    // map says where they are for this player.
    const int nOwnSide = bPlayEnemySide ? 1 : 0;
    const int nOpposingSide = bPlayEnemySide ? 0 : 1;
    if (const CHoleArray* pOwn = GetSideArray(0))
        m_pIndexMap->MoveGroup(pOwn->GetSize(), 0, 0, nOwnSide, nOwnSide, FALSE);
    if (const CHoleArray* pOpposing = GetSideArray(1))
        m_pIndexMap->MoveGroup(pOpposing->GetSize(), 1, 1, nOpposingSide, nOpposingSide, FALSE);

    if (bPlayEnemySide)
    {
        SwapOwnAndOpposing();
    }
    // The neutral positions join the side the local player ends up on.
    if (CHoleArray* pNeutral = GetSideArray(2))
    {
        TakeHoles(0, pNeutral, 2, TRUE);
        ClearSide(2);
    }
    // Without an opponent the scenario's own positions stand for neither side.
    if (bOwnSideToNeutral)
    {
        if (CHoleArray* pOwn = GetSideArray(0))
        {
            TakeHoles(2, pOwn, 0, TRUE);
            ClearSide(0);
        }
    }
    PrepareAll(pMap);
}

void CKDRHoles::SerializeState(CArchive& ar) { SerializeSides(ar); }

// ---------------------------------------------------------------------------
// Occupation, drawing and edits

void CKDRHoles::AssignOccupants(CKDRUnits* pUnits, CKDRGameMap* pMap)
{
    if (CHoleArray* pOwn = GetSideArray(0))
    {
        pOwn->ClearOccupants();
        if (CUnitArray* pArray = hole_units::GetUnitArray(pUnits, 0, 0))
            pOwn->AssignOccupants(pArray, pMap, 0);
    }
    // The other player places the other sides' units.
    if (IsLinkedMultiplayer())
        return;
    for (int nSide : {1, 2})
    {
        CHoleArray* pSide = GetSideArray(nSide);
        if (pSide == nullptr)
            continue;
        pSide->ClearOccupants();
        for (int nArray = 0;; ++nArray)
        {
            CUnitArray* pArray = hole_units::GetUnitArray(pUnits, nSide, nArray);
            if (pArray == nullptr)
                break;
            pSide->AssignOccupants(pArray, pMap, nArray);
        }
    }
}

void CKDRHoles::DrawHoles(CKDRUnits* pUnits, CKDRGameMap* pMap)
{
    for (int nSide : {0, 1, 2})
    {
        if (CHoleArray* pArray = GetSideArray(nSide))
            pArray->DrawHoles(pUnits, pMap, nSide);
    }
}

void CKDRHoles::DrawSelected(CTaskOrgArray* pList, CKDRGameMap* pMap, int nState)
{
    if (pList == nullptr)
        return;
    if (CHoleArray* pArray = GetSideArray(pList->m_nSide))
        pArray->DrawSelected(pList, pMap, pList->m_nSide, nState);
}

void CKDRHoles::PrepareAll(CKDRGameMap* pMap)
{
    for (int nSide : {0, 1, 2})
    {
        if (CHoleArray* pArray = GetSideArray(nSide))
            pArray->PrepareMarkers(nSide, pMap);
    }
}

int CKDRHoles::FindHoleAtViewPoint(float fX, float fY, CKDRGameMap* pMap, int& nSide)
{
    for (int nCandidate : kSearchOrder)
    {
        if (nSide != -1 && nSide != nCandidate)
            continue;
        const CHoleArray* pArray = GetSideArray(nCandidate);
        if (pArray == nullptr)
            continue;
        const int nIndex = pArray->FindHoleAtViewPoint(fX, fY, pMap);
        if (nIndex != kUnset)
        {
            nSide = nCandidate;
            return nIndex;
        }
    }
    return kUnset;
}

int CKDRHoles::MoveHole(int nIndex, int nSide, float fX, float fY, CKDRGameMap* pMap)
{
    CHole* pHole = GetHole(nIndex, nSide);
    if (pHole == nullptr)
        return 0;
    pHole->SetPosition(fX, fY, pMap);
    return 1;
}

CTaskOrgArray* CKDRHoles::SelectHolesInRect(float fX1, float fY1, float fX2, float fY2)
{
    const CHoleArray* pArray = GetSideArray(0);
    CTaskOrgArray* pList = pArray != nullptr ? pArray->SelectHolesInRect(fX1, fY1, fX2, fY2) : new CTaskOrgArray;
    pList->m_nSide = 0;
    return pList;
}

int CKDRHoles::PlaceHolesOfSelection(CTaskOrgArray* pList, float fFromX, float fFromY, float fToX, float fToY,
                                     CKDRGameMap* pMap)
{
    CHoleArray* pArray = pList != nullptr ? GetSideArray(pList->m_nSide) : nullptr;
    if (pArray == nullptr)
        return 0;
    pArray->MoveSelected(pList, fFromX, fFromY, fToX, fToY, pMap);
    return 1;
}

int CKDRHoles::EditSelectedHole(CTaskOrgArray* pList)
{
    CHoleArray* pArray = pList != nullptr ? GetSideArray(pList->m_nSide) : nullptr;
    return pArray != nullptr && pArray->EditSelected(pList) ? 1 : 0;
}

int CKDRHoles::EditHole(int nIndex, int nSide, CKDRGameMap* pMap)
{
    CHole* pHole = GetHole(nIndex, nSide);
    if (pHole == nullptr || !pHole->Edit())
        return 0;
    pHole->PrepareMarker(nSide, pMap, FALSE);
    return 1;
}

// ---------------------------------------------------------------------------
// Positions that change sides

void CKDRHoles::TakeHoles(int nSide, CHoleArray* pSource, int nSourceGroup, BOOL bRegister)
{
    if (pSource == nullptr || !IsValidSide(nSide))
        return;
    CHoleArray* pTarget = EnsureSideArray(nSide);
    if (pTarget == pSource)
        return;
    for (int i = 0; i < pSource->GetSize(); ++i)
    {
        CHole* pHole = pSource->GetAt(i);
        if (pHole == nullptr)
            continue;
        const int nNewIndex = pTarget->Add(pHole);
        if (!bRegister || m_pIndexMap == nullptr)
            continue;
        if (CGlobalIndex* pEntry = m_pIndexMap->FindByCurrent(i, nSourceGroup, nSourceGroup))
        {
            pEntry->m_nIndex = nNewIndex;
            pEntry->m_nGroup = nSide;
            pEntry->m_nKind = nSide;
        }
    }
    pSource->RemoveAllNoDelete();
}

CString CKDRHoles::PassedHolesText(const CString& strSender)
{
    return "You have been passed holes by the player, " + strSender +
           ".  They have been added to your main map and are now under your control.";
}

void CKDRHoles::ReceiveHoles(CTaskOrgArray* pList, const CString& strSender, BOOL bQuiet, CKDRGameMap* pMap)
{
    if (pList == nullptr)
        return;
    if (!bQuiet)
    {
        if (CReportService* pReports = GetReportService())
            pReports->ShowMessageBoxDlg("Holes Received", PassedHolesText(strSender), kUnset, kUnset);
    }
    EnsureSideArray(0);
    EnsureSideArray(2);
    const int nTarget = bQuiet ? 2 : 0;
    CHoleArray* pTarget = GetSideArray(nTarget);

    // The side each kept entry's position comes from, in list order.
    std::vector<int> sources;
    for (int k = 0; k < pList->GetSize();)
    {
        CTaskOrg* pTaskOrg = pList->GetAt(k);
        CGlobalIndex* pEntry = pTaskOrg != nullptr ? m_pIndexMap->FindByFirst(pTaskOrg->m_nUnit,
                                                                                 pTaskOrg->m_nArray, pList->m_nSide)
                                                      : nullptr;
        const CHole* pHole =
            pEntry != nullptr && pEntry->m_nGroup != nTarget ? GetHole(pEntry->m_nIndex, pEntry->m_nKind) : nullptr;
        if (pHole == nullptr)
        {
            pList->RemoveAt(k);
            continue;
        }
        pTaskOrg->m_nUnit = pEntry->m_nIndex;
        pTaskOrg->m_nArray = pEntry->m_nGroup;
        sources.push_back(pEntry->m_nKind);
        auto* pCopy = new CHole(*pHole);
        pCopy->PrepareMarker(nTarget, pMap, FALSE);
        const int nNewIndex = pTarget->Add(pCopy);
        pEntry->m_nIndex = nNewIndex;
        pEntry->m_nGroup = nTarget;
        pEntry->m_nKind = nTarget;
        ++k;
    }
    // The originals go; each removal moves the later ones of its side down,
    // so that the next entry still names the position it named.
    for (int k = 0; k < pList->GetSize(); ++k)
    {
        const int nIndex = pList->GetAt(k)->m_nUnit;
        const int nSource = sources[static_cast<size_t>(k)];
        CHoleArray* pSource = GetSideArray(nSource);
        if (pSource == nullptr || nIndex < 0 || nIndex >= pSource->GetSize())
            continue;
        pSource->RemoveAt(nIndex);
        m_pIndexMap->CloseGap(nIndex, nSource, nSource);
        for (int j = k + 1; j < pList->GetSize(); ++j)
        {
            CTaskOrg* pLater = pList->GetAt(j);
            if (sources[static_cast<size_t>(j)] == nSource && pLater->m_nUnit >= nIndex)
                --pLater->m_nUnit;
        }
    }
}

// ---------------------------------------------------------------------------
// The other player

int CKDRHoles::ApplyHoleRecord(const BYTE* pData, int nLength)
{
    if (pData == nullptr)
        return 0;
    CNetUpdateHoles record;
    return record.Receive(pData, nLength, this, m_pIndexMap);
}

void CKDRHoles::SendAllHoles()
{
    CHoleArray* pOwn = GetSideArray(0);
    if (pOwn == nullptr || m_pIndexMap == nullptr)
        return;
    CNetUpdateHoles record;
    record.Send(pOwn, kUnset, kUnset, 0, m_pIndexMap);
}

int CKDRHoles::SendHolesToPlayer(int nPlayer, CTaskOrgArray* pList)
{
    if (nPlayer < 0 || pList == nullptr || !IsLinkedMultiplayer())
        return 0;
    SendAllHoles();
    CTaskOrgArray selection(*pList);
    CNetUpdateHandOver record(&selection, nPlayer);
    record.m_wKind = kHandOverHoles;
    return record.Send(&selection, kUnset, kUnset, kUnset);
}

int CKDRHoles::UnpackPassedHoles(const BYTE* /*pData*/, int /*nLength*/)
{
    // Unpacking a hand-over message into its list comes with the hand-over
    // record; until then nothing arrives.
    return 0;
}
