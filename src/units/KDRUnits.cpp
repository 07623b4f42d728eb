#include "units/KDRUnits.h"

#include "battlefield/FireMissionArray.h"
#include "database/KDRDatabase.h"
#include "hierarchy/GlobalMap.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchyDlg.h"
#include "hierarchy/HierarchyPlatoon.h"
#include "hierarchy/TaskOrg.h"
#include "orders/FormationTemplateArray.h"
#include "orders/NodeArray.h"
#include "orders/UnitOrderArray.h"
#include "platform/core/Archive.h"
#include "platform/core/Unset.h"
#include "shell/DrawService.h"
#include "shell/PlayService.h"
#include "shell/ReportService.h"
#include "units/FireMissionLogWindow.h"
#include "units/Unit.h"
#include "units/UnitArray.h"
#include "units/UnitRefArray.h"

#include <array>
#include <memory>
#include <vector>

IMPLEMENT_SERIAL(CKDRUnits, CObject, 1)

namespace
{
const char* const FRIENDLY_REBUILD_HEADING = "UNDEFINED VEHICLES FOUND IN FRIENDLY UNIT ARRAY!\r\n\r\n";
const char* const ENEMY_REBUILD_HEADING = "UNDEFINED VEHICLES FOUND IN ENEMY UNIT ARRAY!\r\n\r\n";
const char* const REBUILD_PART_SEPARATOR = "\r\n";

// A kind's list of arrays being read from a saved game, deleted with its
// arrays unless it is handed over.
struct ArrayListHolder
{
    std::unique_ptr<TypedObArray<CUnitArray>> pList;
    void Create() { pList = std::make_unique<TypedObArray<CUnitArray>>(); }
};

BOOL IsKind(int nKind) { return nKind >= 0 && nKind < UNIT_KIND_COUNT; }
}  // namespace

CKDRUnits::CKDRUnits()
    : m_pNeutralFileNames(new CStringList),
      m_pOpposingFileNames(new CStringList),
      m_pTaskOrgLists(new CTaskOrgArrayArray),
      m_pGlobalMap(new CGlobalMap),
      m_bHierarchy{FALSE, FALSE, FALSE},
      m_pHierarchy{nullptr, nullptr, nullptr},
      m_bOwnUnits(FALSE),
      m_bNeutralUnits(FALSE),
      m_bOpposingUnits(FALSE),
      m_bFormations(FALSE),
      m_bSOP(FALSE),
      m_pOwnUnits(nullptr),
      m_pNeutralArrays(nullptr),
      m_pOpposingArrays(nullptr),
      m_pFormations(nullptr),
      m_pSOP(nullptr),
      m_pContacts{},
      m_nTreeSide(0),
      m_bTreeShown(FALSE)
{
    for (CUnitRefArray*& pList : m_pContacts)
        pList = new CUnitRefArray;
}

CKDRUnits::~CKDRUnits()
{
    delete m_pOwnUnits;
    DeleteArrayList(UNIT_KIND_OPPOSING);
    DeleteArrayList(UNIT_KIND_NEUTRAL);
    for (CHierarchyArray*& pHierarchy : m_pHierarchy)
    {
        delete pHierarchy;
        pHierarchy = nullptr;
    }
    delete m_pFormations;
    delete m_pSOP;
    for (CUnitRefArray*& pList : m_pContacts)
    {
        delete pList;
        pList = nullptr;
    }
    delete m_pOpposingFileNames;
    delete m_pNeutralFileNames;
    delete m_pTaskOrgLists;
    delete m_pGlobalMap;
    delete m_pFireMissionLog;
}

void CKDRUnits::DeleteArrayList(int nKind)
{
    TypedObArray<CUnitArray>*& pList = nKind == UNIT_KIND_OPPOSING ? m_pOpposingArrays : m_pNeutralArrays;
    BOOL& bPresent = nKind == UNIT_KIND_OPPOSING ? m_bOpposingUnits : m_bNeutralUnits;
    delete pList;  // an owning list: its arrays go with it
    pList = nullptr;
    bPresent = FALSE;
}

void CKDRUnits::ForEachArray(const std::function<void(CUnitArray*, int, int)>& fn) const
{
    if (m_bOwnUnits && m_pOwnUnits != nullptr)
        fn(m_pOwnUnits, UNIT_KIND_OWN, 0);
    for (int nKind : {UNIT_KIND_OPPOSING, UNIT_KIND_NEUTRAL})
    {
        const int nCount = GetArrayCount(nKind);
        for (int i = 0; i < nCount; ++i)
        {
            int nArray = i;
            if (CUnitArray* pArray = GetArrayOfKind(nKind, nArray))
                fn(pArray, nKind, i);
        }
    }
}

// ---------------------------------------------------------------------------
// The scenario part and the saved-game part

void CKDRUnits::Serialize(CArchive& ar)
{
    m_pNeutralFileNames->Serialize(ar);
    m_pOpposingFileNames->Serialize(ar);
    m_pTaskOrgLists->Serialize(ar);
    if (ar.IsStoring())
    {
        ar << m_strUnitFile;
        ar << m_strFormationFile;
        ar << m_strSOPFile;
        ar << m_strName;
        for (const CString& strFile : m_strHierarchyFile)
            ar << strFile;
    }
    else
    {
        ar >> m_strUnitFile;
        ar >> m_strFormationFile;
        ar >> m_strSOPFile;
        ar >> m_strName;
        for (CString& strFile : m_strHierarchyFile)
            ar >> strFile;
    }
}

void CKDRUnits::SerializeState(CArchive& ar)
{
    if (ar.IsStoring())
        StoreState(ar);
    else
        LoadState(ar);
}

void CKDRUnits::StoreState(CArchive& ar)
{
    // The reader takes a kind's array count from its name list: make the
    // lists say how many arrays there are, whatever the scenario named.
    for (int nKind : {UNIT_KIND_OPPOSING, UNIT_KIND_NEUTRAL})
    {
        CStringList* pNames = nKind == UNIT_KIND_OPPOSING ? m_pOpposingFileNames : m_pNeutralFileNames;
        pNames->RemoveAll();
        const int nCount = GetArrayCount(nKind);
        for (int i = 0; i < nCount; ++i)
        {
            int nArray = i;
            const CUnitArray* pArray = GetArrayOfKind(nKind, nArray);
            pNames->AddTail(pArray != nullptr ? pArray->m_strFileName : CString());
        }
    }
    Serialize(ar);

    const BOOL bOwn = m_bOwnUnits && m_pOwnUnits != nullptr;
    const BOOL bOpposing = m_bOpposingUnits && m_pOpposingArrays != nullptr;
    const BOOL bNeutral = m_bNeutralUnits && m_pNeutralArrays != nullptr;
    for (BOOL bPresent : {bOwn, bOpposing, bNeutral})
        ar << static_cast<WORD>(bPresent ? 1 : 0);
    for (int nSide = 0; nSide < UNIT_KIND_COUNT; ++nSide)
        ar << static_cast<WORD>(GetPresentHierarchy(nSide) != nullptr ? 1 : 0);

    if (bOwn)
        m_pOwnUnits->Serialize(ar);
    for (TypedObArray<CUnitArray>* pList : {bOpposing ? m_pOpposingArrays : nullptr, bNeutral ? m_pNeutralArrays : nullptr})
    {
        for (int i = 0; pList != nullptr && i < pList->GetSize(); ++i)
        {
            // A slot the lists name must be written; an empty one goes as an empty array.
            CUnitArray empty;
            CUnitArray* pArray = pList->GetAt(i);
            (pArray != nullptr ? pArray : &empty)->Serialize(ar);
        }
    }
    for (int nSide = 0; nSide < UNIT_KIND_COUNT; ++nSide)
    {
        if (CHierarchyArray* pHierarchy = GetPresentHierarchy(nSide))
            pHierarchy->Serialize(ar);
    }
}

void CKDRUnits::LoadState(CArchive& ar)
{
    Serialize(ar);

    WORD words[6] = {};
    for (WORD& w : words)
        ar >> w;
    const BOOL bOwn = words[0] != 0;
    const BOOL bOpposing = words[1] != 0;
    const BOOL bNeutral = words[2] != 0;

    // Everything is read into objects of its own first and handed over only
    // when the whole part was read: a part cut short leaves nothing behind.
    std::array<std::unique_ptr<CHierarchyArray>, UNIT_KIND_COUNT> hierarchies;
    for (int nSide = 0; nSide < UNIT_KIND_COUNT; ++nSide)
    {
        if (words[3 + nSide] != 0)
            hierarchies[nSide] = std::make_unique<CHierarchyArray>();
    }
    std::unique_ptr<CUnitArray> pOwn;
    if (bOwn)
    {
        pOwn = std::make_unique<CUnitArray>();
        pOwn->Serialize(ar);
    }
    ArrayListHolder opposing;
    ArrayListHolder neutral;
    for (int nKind : {UNIT_KIND_OPPOSING, UNIT_KIND_NEUTRAL})
    {
        const BOOL bPresent = nKind == UNIT_KIND_OPPOSING ? bOpposing : bNeutral;
        if (!bPresent)
            continue;
        ArrayListHolder& holder = nKind == UNIT_KIND_OPPOSING ? opposing : neutral;
        const CStringList* pNames = nKind == UNIT_KIND_OPPOSING ? m_pOpposingFileNames : m_pNeutralFileNames;
        holder.Create();
        for (int i = 0; i < pNames->GetCount(); ++i)
        {
            auto pArray = std::make_unique<CUnitArray>();
            pArray->Serialize(ar);
            holder.pList->Add(pArray.release());
        }
    }
    for (auto& pHierarchy : hierarchies)
    {
        if (pHierarchy != nullptr)
            pHierarchy->Serialize(ar);
    }

    delete m_pOwnUnits;
    m_pOwnUnits = pOwn.release();
    m_bOwnUnits = m_pOwnUnits != nullptr;
    DeleteArrayList(UNIT_KIND_OPPOSING);
    m_pOpposingArrays = opposing.pList.release();
    m_bOpposingUnits = m_pOpposingArrays != nullptr;
    DeleteArrayList(UNIT_KIND_NEUTRAL);
    m_pNeutralArrays = neutral.pList.release();
    m_bNeutralUnits = m_pNeutralArrays != nullptr;
    for (int nSide = 0; nSide < UNIT_KIND_COUNT; ++nSide)
    {
        delete m_pHierarchy[nSide];
        m_pHierarchy[nSide] = hierarchies[nSide].release();
        m_bHierarchy[nSide] = m_pHierarchy[nSide] != nullptr;
    }
}

// ---------------------------------------------------------------------------
// Loading the units' files

int CKDRUnits::LoadUnitFiles(const CString& strDataDir)
{
    // The echelon frames of the two sides change places while the player
    // plays the opposing side.
    if (CDrawService* pDraw = GetDrawService())
        pDraw->SetSideSwapDisplay(GetPlayService() != nullptr && GetPlayService()->IsPlayingEnemySide());

    if (!m_strUnitFile.IsEmpty())
    {
        auto pArray = std::make_unique<CUnitArray>();
        if (!pArray->LoadUnitFile(m_strUnitFile, strDataDir))
            return 0;
        pArray->SetSide(UNIT_KIND_OWN);
        delete m_pOwnUnits;
        m_pOwnUnits = pArray.release();
        m_bOwnUnits = TRUE;
    }
    for (int nKind : {UNIT_KIND_OPPOSING, UNIT_KIND_NEUTRAL})
    {
        const CStringList* pNames = nKind == UNIT_KIND_OPPOSING ? m_pOpposingFileNames : m_pNeutralFileNames;
        if (pNames->IsEmpty())
            continue;
        auto pList = std::make_unique<TypedObArray<CUnitArray>>();
        for (const CString& strFile : *pNames)
        {
            auto pArray = std::make_unique<CUnitArray>();
            if (!pArray->LoadUnitFile(strFile, strDataDir))
                return 0;  // the arrays loaded so far go with the list
            pArray->SetSide(nKind);
            pList->Add(pArray.release());
        }
        DeleteArrayList(nKind);
        (nKind == UNIT_KIND_OPPOSING ? m_pOpposingArrays : m_pNeutralArrays) = pList.release();
        (nKind == UNIT_KIND_OPPOSING ? m_bOpposingUnits : m_bNeutralUnits) = TRUE;
    }
    if (!m_strFormationFile.IsEmpty())
    {
        auto pTemplates = std::make_unique<CFormationTemplateArray>();
        if (!pTemplates->LoadFile(m_strFormationFile, strDataDir))
            return 0;
        delete m_pFormations;
        m_pFormations = pTemplates.release();
        m_bFormations = TRUE;
    }
    if (!m_strSOPFile.IsEmpty())
    {
        auto pOrders = std::make_unique<CUnitOrderArray>();
        if (!pOrders->LoadSOP(m_strSOPFile, strDataDir))
            return 0;
        delete m_pSOP;
        m_pSOP = pOrders.release();
        m_bSOP = TRUE;
    }
    for (int nSide = 0; nSide < UNIT_KIND_COUNT; ++nSide)
    {
        if (m_strHierarchyFile[nSide].IsEmpty())
            continue;
        auto pHierarchy = std::make_unique<CHierarchyArray>();
        if (!pHierarchy->LoadHierarchyFile(m_strHierarchyFile[nSide], strDataDir))
            return 0;
        delete m_pHierarchy[nSide];
        m_pHierarchy[nSide] = pHierarchy.release();
        m_bHierarchy[nSide] = TRUE;
    }
    return 1;
}

void CKDRUnits::CheckUnitsAgainstDatabase(CKDRDatabase* pDatabase, CKDRGameMap* pMap)
{
    const CString strReport = BuildRebuildReport(pDatabase);
    ForEachArray(
        [&](CUnitArray* pArray, int, int)
        {
            pArray->ClampToMap(pMap);
            pArray->AttachVehicles(pDatabase);
        });
    for (int nSide = 0; nSide < UNIT_KIND_COUNT; ++nSide)
    {
        if (CHierarchyArray* pHierarchy = GetPresentHierarchy(nSide))
            pHierarchy->RepickLeaders(FALSE, this, pDatabase);
    }
    if (!strReport.IsEmpty())
        if (CReportService* pReports = GetReportService())
            pReports->ShowReport(strReport);
}

CString CKDRUnits::BuildRebuildReport(CKDRDatabase* pDatabase)
{
    // One part per heading: the own array's lines, then the enemy arrays'
    // (the opposing and the neutral ones share the enemy heading).
    CString strOwn;
    CString strOpposing;
    CString strNeutral;
    ForEachArray(
        [&](CUnitArray* pArray, int nKind, int)
        {
            CString strLines;
            pArray->RebuildFromDatabase(pDatabase, strLines);
            (nKind == UNIT_KIND_OWN ? strOwn : nKind == UNIT_KIND_OPPOSING ? strOpposing : strNeutral) += strLines;
        });
    CString strReport;
    const auto addPart = [&strReport](const char* heading, const CString& strLines)
    {
        if (strLines.IsEmpty())
            return;
        if (!strReport.IsEmpty())
            strReport += REBUILD_PART_SEPARATOR;
        strReport += heading;
        strReport += strLines;
    };
    addPart(FRIENDLY_REBUILD_HEADING, strOwn);
    addPart(ENEMY_REBUILD_HEADING, strOpposing);
    addPart(ENEMY_REBUILD_HEADING, strNeutral);
    return strReport;
}

void CKDRUnits::SetArrayNames(CKDRDatabase* pDatabase)
{
    if (pDatabase == nullptr)
        return;
    ForEachArray([pDatabase](CUnitArray* pArray, int, int) { pArray->m_strName = pDatabase->m_strSpare; });
}

void CKDRUnits::UpdateAllHeadings(CKDRDatabase* pDatabase)
{
    // In a network game the other player's units are pointed by their own program.
    const CPlayService* pPlay = GetPlayService();
    const BOOL bNetwork = pPlay != nullptr && pPlay->IsMultiplayer();
    ForEachArray(
        [&](CUnitArray* pArray, int nKind, int)
        {
            if (nKind == UNIT_KIND_OWN || !bNetwork)
                pArray->UpdateHeadings(pDatabase);
        });
}

void CKDRUnits::PrepareUnits(DWORD dwTick, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    ForEachArray([&](CUnitArray* pArray, int, int) { pArray->PrepareUnits(dwTick, pMap, pDatabase); });
}

void CKDRUnits::RebuildGlobalMap()
{
    auto pMap = std::make_unique<CGlobalMap>();
    ForEachArray([&pMap](CUnitArray* pArray, int nKind, int nArray)
                 { pMap->AddUnits(pArray->GetSize(), nArray, nKind, nArray, nKind); });
    delete m_pGlobalMap;
    m_pGlobalMap = pMap.release();
}

// ---------------------------------------------------------------------------
// Look-ups

CUnitArray* CKDRUnits::GetArrayOfKind(int nKind, int& nArray, TypedObArray<CUnitArray>** ppList, BOOL** ppFlag) const
{
    if (ppList != nullptr)
        *ppList = nullptr;
    if (ppFlag != nullptr)
        *ppFlag = nullptr;
    if (!IsKind(nKind))
        return nullptr;
    auto* self = const_cast<CKDRUnits*>(this);
    if (nKind == UNIT_KIND_OWN)
    {
        nArray = kUnset;
        if (ppFlag != nullptr)
            *ppFlag = &self->m_bOwnUnits;
        return m_bOwnUnits ? m_pOwnUnits : nullptr;
    }
    TypedObArray<CUnitArray>* pList = nKind == UNIT_KIND_OPPOSING ? m_pOpposingArrays : m_pNeutralArrays;
    const BOOL bPresent = nKind == UNIT_KIND_OPPOSING ? m_bOpposingUnits : m_bNeutralUnits;
    if (ppList != nullptr)
        *ppList = bPresent ? pList : nullptr;
    if (ppFlag != nullptr)
        *ppFlag = nKind == UNIT_KIND_OPPOSING ? &self->m_bOpposingUnits : &self->m_bNeutralUnits;
    if (!bPresent || pList == nullptr)
        return nullptr;
    return pList->GetAt(nArray);
}

int CKDRUnits::GetArrayCount(int nKind) const
{
    if (nKind == UNIT_KIND_OWN)
        return m_bOwnUnits && m_pOwnUnits != nullptr ? 1 : 0;
    if (nKind == UNIT_KIND_OPPOSING)
        return m_bOpposingUnits && m_pOpposingArrays != nullptr ? m_pOpposingArrays->GetSize() : 0;
    if (nKind == UNIT_KIND_NEUTRAL)
        return m_bNeutralUnits && m_pNeutralArrays != nullptr ? m_pNeutralArrays->GetSize() : 0;
    return 0;
}

CUnit* CKDRUnits::GetUnit(int nUnit, int nArray, int nKind) const
{
    const CUnitArray* pArray = GetArrayOfKind(nKind, nArray);
    return pArray != nullptr ? pArray->GetAt(nUnit) : nullptr;
}

CHierarchyArray* CKDRUnits::GetHierarchyArray(int nSide, BOOL*& pPresent)
{
    if (!IsKind(nSide))
    {
        pPresent = nullptr;
        return nullptr;
    }
    pPresent = &m_bHierarchy[nSide];
    return m_pHierarchy[nSide];
}

CHierarchyArray* CKDRUnits::GetPresentHierarchy(int nSide) const
{
    return IsKind(nSide) && m_bHierarchy[nSide] ? m_pHierarchy[nSide] : nullptr;
}

BOOL CKDRUnits::OwnUnitsHavePieces(CKDRDatabase* pDatabase) const
{
    return m_bOwnUnits && m_pOwnUnits != nullptr && m_pOwnUnits->IsMostlyPictured(pDatabase);
}

BOOL CKDRUnits::HasUnitsOfKind(int nKind) const
{
    BOOL bFound = FALSE;
    ForEachArray(
        [&](CUnitArray* pArray, int nArrayKind, int)
        {
            if ((nKind == -1 || nKind == nArrayKind) && pArray->GetSize() > 0)
                bFound = TRUE;
        });
    return bFound;
}

CHierarchyPlatoon* CKDRUnits::FindElementByName(const CString& strName) const
{
    for (int nSide = 0; nSide < UNIT_KIND_COUNT; ++nSide)
    {
        const CHierarchyArray* pHierarchy = GetPresentHierarchy(nSide);
        if (pHierarchy == nullptr)
            continue;
        if (CHierarchyPlatoon* pFound = pHierarchy->FindContainerByName(strName))
            return pFound;
    }
    return nullptr;
}

CHierarchyElement* CKDRUnits::FindUnitElement(int nUnit, int nArray, int nKind) const
{
    CHierarchyArray* pHierarchy = GetPresentHierarchy(nKind);
    if (pHierarchy == nullptr)
        return nullptr;
    int nLevel = 0;
    return pHierarchy->FindElementOfUnit(nUnit, nArray, nKind, nLevel);
}

// ---------------------------------------------------------------------------
// The hierarchy windows

BOOL CKDRUnits::FillHierarchyTree(int nSide, CWnd* pOwner)
{
    if (pOwner == nullptr)
        return FALSE;
    CHierarchyArray* pHierarchy = GetPresentHierarchy(nSide);
    CHierarchyDlg* pDialog = pHierarchy != nullptr ? pHierarchy->m_pDialog : nullptr;
    if (pDialog == nullptr)
        return FALSE;
    if (pDialog->IsShown())
    {
        pDialog->Hide();
        m_bTreeShown = FALSE;
        return TRUE;
    }
    for (int nOther = 0; nOther < UNIT_KIND_COUNT; ++nOther)
    {
        CHierarchyArray* pOther = nOther != nSide ? GetPresentHierarchy(nOther) : nullptr;
        if (pOther != nullptr && pOther->m_pDialog != nullptr && pOther->m_pDialog->IsShown())
            pOther->m_pDialog->Hide();
    }
    pDialog->Show(pOwner, pHierarchy, this);
    m_bTreeShown = TRUE;
    m_nTreeSide = nSide;
    return TRUE;
}



BOOL CKDRUnits::TakeMapChanged() { return FALSE; }

CNodeArray* CKDRUnits::GetUnitPath(int nUnit, int nArray, int nKind) const
{
    CUnit* pUnit = GetUnit(nUnit, nArray, nKind);
    return pUnit != nullptr ? pUnit->m_pPath : nullptr;
}

int CKDRUnits::IsOrderItemChecked(int, int& nValue) const
{
    nValue = 0;
    return 0;
}

int CKDRUnits::NotifyElementOfUnit(int, int, int, BOOL) { return 0; }

BOOL CKDRUnits::CanSelectionDoAction(DWORD, const CTaskOrgArray*, CKDRDatabase*) const { return FALSE; }


void CKDRUnits::ShowFireMissionLog(int nSide, CKDRGameMap* pMap, CFireMissionArray* pRoundsInFlight)
{
    if (!IsKind(nSide))
        return;
    if (m_pFireMissionLog == nullptr)
        m_pFireMissionLog = NewFireMissionLogWindow();
    if (!m_pFireMissionLog->IsOpen())
    {
        if (!HasUnitsOfKind(nSide) || !m_pFireMissionLog->Open())
            return;
    }
    else if (m_pFireMissionLog->GetSide() == nSide)
    {
        m_pFireMissionLog->CloseWindow();
        return;
    }
    FillFireMissionLog(nSide, pMap, pRoundsInFlight);
}

void CKDRUnits::RefreshFireMissionLog(CKDRGameMap* pMap, CFireMissionArray* pRoundsInFlight)
{
    if (IsFireMissionLogOpen())
        FillFireMissionLog(m_pFireMissionLog->GetSide(), pMap, pRoundsInFlight);
}

void CKDRUnits::FillFireMissionLog(int nSide, CKDRGameMap* pMap, CFireMissionArray* pRoundsInFlight)
{
    if (m_pFireMissionLog == nullptr)
        return;
    if (pRoundsInFlight == nullptr)
    {
        CPlayService* pPlay = GetPlayService();
        pRoundsInFlight = pPlay != nullptr ? pPlay->GetRoundsInFlight() : nullptr;
    }
    CStringList lines;
    std::vector<SFireLogRecord> records;
    if (pRoundsInFlight != nullptr)
        pRoundsInFlight->FormatLog(nSide, pMap, lines, records);
    for (int i = 0; i < GetArrayCount(nSide); ++i)
    {
        int nArray = i;
        if (CUnitArray* pArray = GetArrayOfKind(nSide, nArray))
            pArray->FillFireMissionList(lines, records, nSide, nArray, pMap);
    }
    m_pFireMissionLog->FillList(nSide, lines, records);
}

void CKDRUnits::AfterOpenUnits(CKDRDatabase*, CKDRGameMap*) {}
void CKDRUnits::FixUpAfterOpen(CKDRDatabase*, CKDRGameMap*) {}

int CKDRUnits::MergeUnitFile(const CString&) { return 1; }
void CKDRUnits::ValidateTaskOrgs(CTaskOrgArrayArray* pGroups)
{
    if (pGroups == nullptr)
        return;
    for (int i = pGroups->GetSize() - 1; i >= 0; --i)
    {
        CTaskOrgArray* pList = pGroups->GetAt(i);
        if (pList != nullptr)
            ValidateTaskOrg(pList);
        if (pList == nullptr || pList->GetSize() == 0)
            pGroups->RemoveAt(i);
    }
}

// A group list's id word is its key number, so the units' side is read
// from the list's side word. A destroyed unit counts as gone: it can take
// no order, and a group recalled for it would select a wreck.
void CKDRUnits::ValidateTaskOrg(CTaskOrgArray* pList)
{
    if (pList == nullptr)
        return;
    for (int i = pList->GetSize() - 1; i >= 0; --i)
    {
        const CTaskOrg* pEntry = pList->GetAt(i);
        if (pEntry == nullptr)
        {
            pList->RemoveAt(i);
            continue;
        }
        if (pEntry->GetType() != TASKORG_KIND_UNIT)
            continue;
        const CUnit* pUnit = GetUnit(pEntry->m_nUnit, pEntry->m_nArray, pList->m_nSide);
        if (pUnit == nullptr || pUnit->m_bDestroyed)
            pList->RemoveAt(i);
    }
}


// ---------------------------------------------------------------------------
// Operations the document forwards to: the least form draws nothing, finds
// nothing and carries out no order.

void CKDRUnits::DrawFieldsOfFire(CKDRGameMap*, CKDRDatabase*) {}
void CKDRUnits::DrawCarriedUnits(CKDRGameMap*, CKDRDatabase*) {}
void CKDRUnits::DrawSelectionOverlays(CTaskOrgArray*, CKDRGameMap*, CKDRDatabase*) {}
void CKDRUnits::DrawAIOrderGraphics(CKDRGameMap*, CKDRDatabase*) {}

int CKDRUnits::HitTestUnitValue(int, int, CKDRGameMap*, CKDRDatabase*) { return -99; }

BOOL CKDRUnits::HasUnitSelection() const { return FALSE; }
BOOL CKDRUnits::IsFireMissionLogOpen() const { return m_pFireMissionLog != nullptr && m_pFireMissionLog->IsOpen(); }
BOOL CKDRUnits::IsHierarchyTreeOpen() const { return m_bTreeShown; }
int CKDRUnits::GetSelectionActions() const { return 0; }
CString CKDRUnits::GetMissionNames() const { return CString(); }
CString CKDRUnits::GetCompanyFormationNames() const { return CString(); }
BOOL CKDRUnits::IsSOPSetForCompany(int) const { return FALSE; }

int CKDRUnits::SetCompanyFormation(int, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::ApplyOrderToPlatoon(int, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::ApplyOrderToCompany(int, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::IssueElementOrder(CHierarchyPlatoon*, int, CKDRGameMap*, CKDRDatabase*, CKDRObstacles*, CKDRHoles*)
{
    return 0;
}
int CKDRUnits::IssueElementOrderB(CHierarchyPlatoon*, int, CKDRGameMap*, CKDRDatabase*, CKDRObstacles*, CKDRHoles*)
{
    return 0;
}
int CKDRUnits::ApplyOrderToElement(CTaskOrgArray*, DWORD, CKDRGameMap*, CKDRDatabase*, CKDRObstacles*, CKDRHoles*,
                                   float, float, float)
{
    return 0;
}
BOOL CKDRUnits::DragUnit(int nUnit, int nArray, int nKind, float fX, float fY, CKDRGameMap* pMap,
                         CKDRDatabase* pDatabase)
{
    CUnit* pUnit = GetUnit(nUnit, nArray, nKind);
    return pUnit != nullptr && pUnit->AssignPath(fX, fY, pDatabase, pMap, FALSE, 1);
}

int CKDRUnits::MoveSelectionBy(CTaskOrgArray* pSelection, float fFromX, float fFromY, float fToX, float fToY,
                               CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    if (pSelection == nullptr)
        return 0;
    const float dx = fToX - fFromX;
    const float dy = fToY - fFromY;
    int nMoved = 0;
    for (int i = 0; i < pSelection->GetSize(); ++i)
    {
        const CTaskOrg* pEntry = pSelection->GetAt(i);
        if (pEntry == nullptr || pEntry->GetType() != TASKORG_KIND_UNIT)
            continue;
        CUnit* pUnit = GetUnit(pEntry->m_nUnit, pEntry->m_nArray, pSelection->m_nSide);
        if (pUnit == nullptr || pUnit->m_bDestroyed || pUnit->IsCarried())
            continue;
        if (pUnit->AssignPath(pUnit->m_fX + dx, pUnit->m_fY + dy, pDatabase, pMap, FALSE, 1))
            ++nMoved;
    }
    // Whole platoons and companies of the selection take the move on their
    // paths: the platoons first, so that a company's path, moved last, is
    // where its platoons' paths now start from.
    for (int nLevel : {HIERARCHY_PLATOON, HIERARCHY_COMPANY})
    {
        for (int i = 0; i < pSelection->GetSize(); ++i)
        {
            const auto* pNamed = dynamic_cast<const CHierarchyTaskOrg*>(pSelection->GetAt(i));
            CHierarchyPlatoon* pElement = pNamed != nullptr ? FindElementByName(pNamed->m_strName) : nullptr;
            if (pElement != nullptr && pElement->GetLevel() == nLevel && pElement->m_pPath != nullptr)
                pElement->m_pPath->Offset(dx, dy, pMap);
        }
    }
    return nMoved > 0 ? 1 : 0;
}

int CKDRUnits::PasteUnits(const CNodeArray* pPath, CTaskOrgArray* pSelection, CKDRGameMap* pMap,
                          CKDRDatabase* pDatabase, BOOL bPerUnit, BOOL bToPlatoons, BOOL bToCompanies, BOOL bInLine)
{
    if (pPath == nullptr || pPath->GetSize() == 0 || pSelection == nullptr || pMap == nullptr || pDatabase == nullptr)
        return 0;
    CHierarchyArray grouping(pSelection, this);
    int nResult = 0;
    if (bToPlatoons || bToCompanies)
    {
        for (int i = 0; i < grouping.GetSize(); ++i)
        {
            auto* pChild = dynamic_cast<CHierarchyPlatoon*>(grouping.GetChild(i));
            if (pChild == nullptr)
                continue;
            delete pChild->m_pPath;
            pChild->m_pPath = new CNodeArray(*pPath);
        }
        nResult = grouping.TransferSubunits(this, pMap, pDatabase);
        if (nResult == 0)
            return 0;
    }
    if (bPerUnit)
    {
        CTaskOrgArray units;
        grouping.FillUnitList(&units, FALSE);
        for (int i = 0; i < units.GetSize(); ++i)
        {
            const CTaskOrg* pEntry = units.GetAt(i);
            if (pEntry == nullptr || pEntry->GetType() != TASKORG_KIND_UNIT)
                continue;
            CUnit* pUnit = GetUnit(pEntry->m_nUnit, pEntry->m_nArray, pSelection->m_nSide);
            if (pUnit == nullptr || !pUnit->SetRoute(pPath, pDatabase, pMap, bInLine))
                continue;
            nResult = 1;
            UpdateElementOrders(pEntry->m_nUnit, pEntry->m_nArray, pSelection->m_nSide, pMap, pDatabase);
        }
    }
    return nResult;
}

int CKDRUnits::ApplyOrderToSelection(CTaskOrgArray* pSelection, DWORD dwOrder, float fX, float fY, CKDRGameMap* pMap,
                                     CKDRDatabase* pDatabase, CKDRObstacles*, CKDRHoles*)
{
    // Orders go to what the player picked in the shown hierarchy window.
    if (!m_bTreeShown)
        return 0;
    const CHierarchyArray* pTree = GetPresentHierarchy(m_nTreeSide);
    if (pTree == nullptr || pTree->m_pDialog == nullptr || !pTree->m_pDialog->IsShown())
        return 0;
    return ToggleOrderForSelection(pSelection, dwOrder, pDatabase, pMap, FALSE, 0, fX, fY, kUnsetFloat);
}
int CKDRUnits::SetUnitPathFromClick(int, int, int, float, float, CKDRGameMap*, CKDRDatabase*, CKDRObstacles*,
                                    CKDRHoles*)
{
    return 0;
}
int CKDRUnits::AssignUnitRoute(int nUnit, int nArray, int nKind, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    int nIndex = nArray;
    CUnitArray* pArray = GetArrayOfKind(nKind, nIndex);
    if (pArray == nullptr || !pArray->AssignRoute(nUnit, pMap, pDatabase))
        return 0;
    UpdateElementOrders(nUnit, nArray, nKind, pMap, pDatabase);
    return 1;
}
int CKDRUnits::DeployMinesAtPoint(CTaskOrgArray* pSelection, float fX, float fY, CKDRGameMap*,
                                  CKDRDatabase* pDatabase)
{
    if (pSelection == nullptr)
        return 0;
    // The first layer of the selection that takes the point does the work.
    for (int i = 0; i < pSelection->GetSize(); ++i)
    {
        const CTaskOrg* pEntry = pSelection->GetAt(i);
        if (pEntry == nullptr || pEntry->GetType() != TASKORG_KIND_UNIT)
            continue;
        CUnit* pUnit = GetUnit(pEntry->m_nUnit, pEntry->m_nArray, pSelection->m_nSide);
        if (pUnit != nullptr && pUnit->CanDeployMines() && pUnit->DeployMinesAt(fX, fY, pDatabase))
            return 1;
    }
    return 0;
}
int CKDRUnits::AssignFireMissionAtPoint(CTaskOrgArray*, float, float, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::OnMinesLaid(int, int, int, int) { return 0; }
int CKDRUnits::PassUnits(CTaskOrgArray*, int, CKDRGameMap*, CKDRDatabase*) { return 0; }
void CKDRUnits::ClearHierarchyTreeShown() { m_bTreeShown = FALSE; }

int CKDRUnits::SendUnitsUpdate() { return 0; }
int CKDRUnits::CaptureUnitsUpdate(const BYTE*, int, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::ReceiveShotsFired(const BYTE*, int, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::ReceiveUnitDestroyed(const BYTE*, int, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::ApplyAIOrderSheet() { return 0; }
int CKDRUnits::ApplyAIOrder() { return 0; }
int CKDRUnits::ResetAIOrderEdit() { return 0; }
int CKDRUnits::OnMessageBoxClosed() { return 0; }


