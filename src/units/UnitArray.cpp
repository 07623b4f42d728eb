#include "units/UnitArray.h"

#include "battlefield/KDRGameMap.h"
#include "battlefield/SmokeArray.h"
#include "database/KDRDatabase.h"
#include "database/Piece.h"
#include "database/PieceArray.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/TaskOrg.h"
#include "orders/NodeArray.h"
#include "orders/RecordIO.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "platform/core/Unset.h"
#include "platform/ui/Display.h"
#include "platform/ui/ServedEvents.h"
#include "platform/ui/UiService.h"
#include "shell/PlayService.h"
#include "units/KDRUnits.h"
#include "units/UnitCapability.h"
#include "units/UnitRefArray.h"

#include <algorithm>
#include <memory>
#include <vector>

IMPLEMENT_SERIAL(CUnitArray, CObject, 1)

const char* const UNIT_FUNCTION_MARKER = "Function Unit Yellow";

namespace
{
// The loading archive's buffer.
constexpr int UNT_READ_BUFFER = 4096;

const char* const UNIT_FILE_EXTENSION = "unt";
const char* const UNIT_FILE_PATTERN = "*.unt";

// The line RebuildFromDatabase reports when the database cannot rebuild.
const char* const DATABASE_NOT_COMPLETE_LINE = "DATABASE NOT COMPLETE\r\n";

// What a rebuilt unit keeps of the unit it replaces besides its path.
struct RetainedSettings
{
    CString strName;
    int nVehicle;
    BOOL bFieldOfFire;
    int nFieldOfFireFrom;
    int nFieldOfFireTo;
    int nMaxRange;
    BOOL bMaxRange;
    float fMarchSpeed;
    BOOL bMarchSpeed;
    BOOL bHideOnContact;
    BOOL bBypassObstacles;
    BOOL bEngageOnContact;
    BOOL bDestroyed;
    int nSide;
    float fX;
    float fY;
    BOOL bHoldFire;
    BOOL bStopped;

    explicit RetainedSettings(const CUnit& unit)
        : strName(unit.m_strName),
          nVehicle(unit.m_nVehicle),
          bFieldOfFire(unit.m_bFieldOfFire),
          nFieldOfFireFrom(unit.m_nFieldOfFireFrom),
          nFieldOfFireTo(unit.m_nFieldOfFireTo),
          nMaxRange(unit.m_nMaxRange),
          bMaxRange(unit.m_bMaxRange),
          fMarchSpeed(unit.m_fMarchSpeed),
          bMarchSpeed(unit.m_bMarchSpeed),
          bHideOnContact(unit.m_bHideOnContact),
          bBypassObstacles(unit.m_bBypassObstacles),
          bEngageOnContact(unit.m_bEngageOnContact),
          bDestroyed(unit.m_bDestroyed),
          nSide(unit.m_nSide),
          fX(unit.m_fX),
          fY(unit.m_fY),
          bHoldFire(unit.m_bHoldFire),
          bStopped(unit.m_bStopped)
    {
    }

    void ApplyTo(CUnit& unit) const
    {
        unit.m_strName = strName;
        unit.m_bFieldOfFire = bFieldOfFire;
        unit.m_nFieldOfFireFrom = nFieldOfFireFrom;
        unit.m_nFieldOfFireTo = nFieldOfFireTo;
        unit.m_nMaxRange = nMaxRange;
        unit.m_bMaxRange = bMaxRange;
        unit.m_fMarchSpeed = fMarchSpeed;
        unit.m_bMarchSpeed = bMarchSpeed;
        unit.m_bHideOnContact = bHideOnContact;
        unit.m_bBypassObstacles = bBypassObstacles;
        unit.m_bEngageOnContact = bEngageOnContact;
        unit.m_bDestroyed = bDestroyed;
        unit.m_fX = unit.m_fPrevX = fX;
        unit.m_fY = unit.m_fPrevY = fY;
        unit.m_bHoldFire = bHoldFire;
        unit.m_bStopped = bStopped;
    }
};

// A unit the selections may take: alive and on the ground.
bool IsSelectable(CUnit* pUnit) { return pUnit != nullptr && !pUnit->m_bDestroyed && !pUnit->IsCarried(); }

// A new list of that id for the units of a side.
CTaskOrgArray* NewSelection(int nListId, int nSide)
{
    auto* pList = new CTaskOrgArray;
    pList->m_nId = nListId;
    pList->m_nSide = nSide;
    return pList;
}

void AddToSelection(CTaskOrgArray& list, int nUnit, int nGroup)
{
    auto* pEntry = new CTaskOrg(nUnit, nGroup);
    if (list.AddUnique(pEntry) == kUnset)
        delete pEntry;
}

// The function marker as a new sprite, from the catalogue the map draws
// with; null when the catalogue has no list with it or its sheet is not
// loaded.
std::unique_ptr<CSprite> LoadFunctionMarker(CKDRGameMap* pMap)
{
    CPieceArray* pCatalogue = pMap != nullptr ? pMap->GetSymbolCatalogue() : nullptr;
    if (pCatalogue == nullptr)
        return nullptr;
    int nPosition = 0;
    const int nList = pCatalogue->FindInLists(UNIT_FUNCTION_MARKER, &nPosition);
    if (nList == kUnset)
        return nullptr;
    CPiece* pPiece = pCatalogue->GetPiece(nList);
    CFrameSurface* pSheet = pPiece != nullptr ? pPiece->GetSurface() : nullptr;
    if (pSheet == nullptr)
        return nullptr;
    auto pMarker = std::make_unique<CSprite>(pSheet);
    pMarker->SetFrame(nPosition);
    pSheet->SetColorKey(DDColorMatch(pSheet, SPRITE_COLOR_KEY));
    return pMarker;
}

// The label of a unit: the name of its hierarchy element, else empty.
CString ElementLabel(CKDRUnits* pUnits, int nUnit, int nArray, int nKind)
{
    const CHierarchyElement* pElement = pUnits != nullptr ? pUnits->FindUnitElement(nUnit, nArray, nKind) : nullptr;
    return pElement != nullptr ? pElement->m_strName : CString();
}
}  // namespace

CUnitArray::CUnitArray() : m_strName("Name"), m_pUnits(new TypedObArray<CUnit>) {}

CUnitArray::~CUnitArray() { delete m_pUnits; }

void CUnitArray::Serialize(CArchive& ar)
{
    m_pUnits->Serialize(ar);
    record::SerializeValue(ar, m_strText);
    record::SerializeValue(ar, m_strFileName);
    record::SerializeValue(ar, m_strName);
    record::SerializeWord(ar, m_nNumber);
    record::SerializeWord(ar, m_nSide);
}

BOOL CUnitArray::LoadUnitFile(const CString& fileName, const CString& strDataDir)
{
    CString name = fileName;
    SetCurrentDir(strDataDir);
    CFile file;
    while (name.IsEmpty() || !file.Open(name, CFile::modeRead | CFile::typeBinary))
    {
        SetCurrentDir(strDataDir);
        // Cancel gives up, also after a chosen name that did not open.
        CFileDialog dialog(TRUE, UNIT_FILE_EXTENSION, UNIT_FILE_PATTERN, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
        dialog.SetMissingFile(name);
        if (dialog.DoModal() != IDOK)
            return FALSE;
        name = dialog.GetPathName();
    }
    // Read into an array of its own, so that a bad file changes nothing.
    CUnitArray loaded;
    try
    {
        CArchive ar(&file, CArchive::load, UNT_READ_BUFFER);
        loaded.Serialize(ar);
        ar.Close();
        file.Close();
    }
    catch (const CException& e)
    {
        file.Abort();
        AfxMessageBox(CString("The unit file \"") + name + "\" could not be read. " + e.GetErrorText(),
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    m_pUnits->Swap(*loaded.m_pUnits);
    m_strText = loaded.m_strText;
    m_strName = loaded.m_strName;
    m_nNumber = loaded.m_nNumber;
    m_nSide = loaded.m_nSide;
    m_strFileName = name;
    return TRUE;
}

int CUnitArray::RebuildFromDatabase(CKDRDatabase* pDatabase, CString& report)
{
    // A unit built from an incomplete database would be hollow: leave them.
    if (pDatabase == nullptr || !pDatabase->HasVehicleList() || !pDatabase->HasWeaponList() ||
        pDatabase->GetPieceArray() == nullptr)
    {
        report += DATABASE_NOT_COMPLETE_LINE;
        return 0;
    }
    for (int i = 0; i < GetSize(); ++i)
    {
        CUnit* pUnit = GetAt(i);
        if (pUnit == nullptr)
            continue;
        CString reason;
        if (!pUnit->ValidateVehicle(pDatabase, reason))
            continue;
        report += CString("The unit, ") + pUnit->m_strName + ", was erased and rebuilt because " + reason + ".\r\n";

        auto pPath = std::make_unique<CNodeArray>(*pUnit->m_pPath);
        const RetainedSettings kept(*pUnit);
        auto* pRebuilt = new CUnit(pDatabase, kept.nVehicle);
        m_pUnits->SetAt(i, pRebuilt);  // deletes the old unit
        delete pRebuilt->m_pPath;
        pRebuilt->m_pPath = pPath.release();
        kept.ApplyTo(*pRebuilt);
        pRebuilt->SetSide(kept.nSide);
        pRebuilt->UpdateHeading(pDatabase);
    }
    return 0;
}

void CUnitArray::SetSide(int nKind)
{
    m_nSide = nKind;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnit* pUnit = GetAt(i))
            pUnit->SetSide(nKind);
    }
}

void CUnitArray::PrepareUnits(DWORD dwTick, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnit* pUnit = GetAt(i))
            pUnit->Prepare(dwTick, pMap, pDatabase);
    }
}

int CUnitArray::UpdateHeadings(CKDRDatabase* pDatabase)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnit* pUnit = GetAt(i))
            pUnit->UpdateHeading(pDatabase);
    }
    return 1;
}

void CUnitArray::AttachVehicles(CKDRDatabase* pDatabase)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnit* pUnit = GetAt(i))
            pUnit->AttachVehicle(pDatabase, 1.0f);
    }
}

void CUnitArray::SetSpriteValue(float fScale)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnit* pUnit = GetAt(i))
            pUnit->SetIconScale(fScale);
    }
}

void CUnitArray::RebuildSymbols(BOOL bSymbolStyle, int nArrayIndex, CKDRDatabase* pDatabase, CKDRUnits* pUnits)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnit* pUnit = GetAt(i))
            pUnit->SetSymbolStyle(bSymbolStyle, pDatabase, ElementLabel(pUnits, i, nArrayIndex, m_nSide));
    }
}

void CUnitArray::DrawUnits(int nArrayIndex, CKDRGameMap* pMap, CKDRDatabase* pDatabase, CKDRUnits* pUnits, int nOrder,
                           int nFlags)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnit* pUnit = GetAt(i))
            pUnit->Draw(pMap, pDatabase, nOrder, nFlags, ElementLabel(pUnits, i, nArrayIndex, m_nSide), FALSE);
    }
}

void CUnitArray::DrawTaskOrgMarks(CKDRGameMap* pMap, CKDRDatabase* pDatabase, const CTaskOrgArray* pList, int nGroup)
{
    if (pList == nullptr)
        return;
    for (int i = 0; i < pList->GetSize(); ++i)
    {
        CTaskOrg* pEntry = pList->GetAt(i);
        if (pEntry == nullptr || pEntry->GetType() != TASKORG_KIND_UNIT)
            continue;
        if (nGroup != -1 && pEntry->m_nArray != nGroup)
            continue;
        if (pEntry->m_nUnit >= GetSize())
            break;
        if (CUnit* pUnit = GetAt(pEntry->m_nUnit))
            pUnit->DrawTaskOrgMark(pDatabase, pMap, pEntry);
    }
}

void CUnitArray::DrawFunctionUnits(int nArrayIndex, DWORD dwFunctions, int nMunitionType, CKDRGameMap* pMap,
                                   CKDRDatabase* pDatabase, CKDRUnits* pUnits)
{
    const std::unique_ptr<CSprite> pMarker = LoadFunctionMarker(pMap);
    if (pMarker == nullptr)
        return;
    const int nCount = GetSize();
    for (int i = 0; i < nCount; ++i)
    {
        CUnit* pUnit = GetAt(i);
        if (pUnit == nullptr || pUnit->m_bDestroyed || pUnit->IsCarried())
            continue;
        // Every asked test runs, also after one has answered.
        BOOL bMarked = FALSE;
        if ((dwFunctions & UNIT_FUNCTION_DISMOUNT) != 0 && pUnit->CanMountOrDismount(pDatabase, 0, FALSE))
            bMarked = TRUE;
        if ((dwFunctions & UNIT_FUNCTION_MOUNT) != 0 && pUnit->CanMountOrDismount(pDatabase, 1, FALSE))
            bMarked = TRUE;
        if ((dwFunctions & UNIT_FUNCTION_BOARD) != 0 && pUnit->CanBoard(FALSE))
            bMarked = TRUE;
        if ((dwFunctions & UNIT_FUNCTION_FIRE_MISSION) != 0 &&
            pUnit->CanTakeFireMission(nArrayIndex, i, nMunitionType, pDatabase, pUnits))
        {
            pUnit->DrawFireRangeCircle(nMunitionType, pDatabase, pMap);
            bMarked = TRUE;
        }
        if ((dwFunctions & UNIT_FUNCTION_UPLOAD) != 0 && pUnit->CanUpload())
            bMarked = TRUE;
        if ((dwFunctions & UNIT_FUNCTION_LAY_MINES) != 0 && pUnit->CanDeployMines())
            bMarked = TRUE;
        if ((dwFunctions & UNIT_FUNCTION_SMOKE) != 0 && pUnit->CanSmoke())
            bMarked = TRUE;
        if (bMarked)
            pUnit->DrawFunctionMark(pDatabase, pMap, pMarker.get());
    }
}

void CUnitArray::DrawShotLines(CKDRUnits* pUnits, CKDRGameMap* pMap)
{
    if (pMap == nullptr || !pMap->HasPicture())
        return;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnit* pUnit = GetAt(i))
            pUnit->DrawShotLine(pUnits, pMap);
    }
}

void CUnitArray::DrawDestroyedUnits(int, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CUnit* pUnit = GetAt(i);
        if (pUnit != nullptr && pUnit->m_bDestroyed)
            pUnit->DrawDestroyed(pMap, pDatabase);
    }
}

void CUnitArray::DrawPaths(CKDRGameMap* pMap)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnit* pUnit = GetAt(i))
            pUnit->DrawPath(pMap);
    }
}

BOOL CUnitArray::AssignRoute(int nUnit, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    CUnit* pUnit = GetAt(nUnit);
    if (pUnit == nullptr)
        return FALSE;
    pUnit->AssignRoute(pMap, pDatabase);
    return TRUE;
}

BOOL CUnitArray::ApplyArtilleryImpact(int nArrayIndex, CFireMission* pImpact, CKDRDatabase* pDatabase,
                                      CKDRUnits* pUnits, CTimeSpan tsGameTime)
{
    BOOL bAffected = FALSE;
    for (int i = 0; i < GetSize(); ++i)
    {
        CUnit* pUnit = GetAt(i);
        if (pUnit != nullptr && pUnit->TakeArtilleryHit(pImpact, pDatabase, pUnits, i, nArrayIndex, tsGameTime))
            bAffected = TRUE;
    }
    return bAffected;
}

void CUnitArray::CountUnits(int& nAlive, int& nTotal, int* pPerType, int nTypes) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CUnit* pUnit = GetAt(i);
        if (pUnit == nullptr || pUnit->m_bDestroyed)
            continue;
        ++nAlive;
        ++nTotal;
        if (pPerType != nullptr && pUnit->m_nVehicle >= 0 && pUnit->m_nVehicle < nTypes)
            ++pPerType[pUnit->m_nVehicle];
    }
}

void CUnitArray::ClampToMap(CKDRGameMap* pMap)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnit* pUnit = GetAt(i))
            pUnit->ClampToMap(pMap);
    }
}

void CUnitArray::CountDownShotLines()
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnit* pUnit = GetAt(i))
            pUnit->CountDownShotLine();
    }
}

void CUnitArray::AfterOpen(CKDRDatabase* pDatabase, CKDRGameMap* pMap)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnit* pUnit = GetAt(i))
            pUnit->AfterOpen(pDatabase, pMap);
    }
}

void CUnitArray::ForEachCapability(int nObstacleSide, int nObstacleIndex)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnit* pUnit = GetAt(i))
            pUnit->OnObstacleDeleted(nObstacleSide, nObstacleIndex);
    }
}

void CUnitArray::ForEachCapabilityOfSide(int nKind, int nArray, int nUnit)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnit* pUnit = GetAt(i))
            pUnit->OnUnitDeleted(nKind, nArray, nUnit);
    }
}

void CUnitArray::FillFireMissionList(CStringList& lines, std::vector<SFireLogRecord>& records, int nKind,
                                     int nArray, CKDRGameMap* pMap)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CUnit* pUnit = GetAt(i);
        if (pUnit == nullptr || pUnit->m_pCapabilities->GetSize() == 0)
            continue;
        const int nBefore = lines.GetCount();
        pUnit->GetFireMissionRows(lines, nKind, pMap);
        // Each of the unit's lines names the unit, so a double click finds it.
        for (int k = nBefore; k < lines.GetCount(); ++k)
            records.push_back({static_cast<int>(pUnit->m_fX), static_cast<int>(pUnit->m_fY), i, nArray});
    }
}

void CUnitArray::ResetContacts()
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CUnit* pUnit = GetAt(i);
        if (pUnit == nullptr)
            continue;
        pUnit->m_pContacts->RemoveAll();
    }
}

BOOL CUnitArray::IsMostlyPictured(CKDRDatabase* pDatabase) const
{
    int nUnits = 0;
    int nPictured = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CUnit* pUnit = GetAt(i);
        if (pUnit == nullptr)
            continue;
        ++nUnits;
        const CPiece* pPiece = pDatabase != nullptr ? pDatabase->GetVehiclePiece(pUnit->m_nVehicle) : nullptr;
        if (pPiece != nullptr && pPiece->IsLoaded())
            ++nPictured;
    }
    return nUnits > 0 && 2 * nPictured > nUnits;
}

int CUnitArray::HitTest(int x, int y, BOOL bIncludeDestroyed)
{
    for (const bool bDrawnOnly : {true, false})
    {
        for (int i = GetSize() - 1; i >= 0; --i)
        {
            CUnit* pUnit = GetAt(i);
            if (pUnit == nullptr || pUnit->IsCarried() || (pUnit->m_bDestroyed && !bIncludeDestroyed))
                continue;
            if (bDrawnOnly ? pUnit->HitTestDrawn(x, y) : pUnit->HitTest(x, y))
                return i;
        }
    }
    return kUnset;
}

int CUnitArray::HitTestForAction(int x, int y, DWORD dwAction, CKDRDatabase* pDatabase)
{
    for (const bool bDrawnOnly : {true, false})
    {
        for (int i = GetSize() - 1; i >= 0; --i)
        {
            CUnit* pUnit = GetAt(i);
            if (pUnit != nullptr && (bDrawnOnly ? pUnit->HitTestDrawn(x, y) : pUnit->HitTest(x, y)) &&
                pUnit->AcceptsAction(dwAction, pDatabase))
                return i;
        }
    }
    return kUnset;
}

CTaskOrgArray* CUnitArray::GetUnitsAtPoint(int x, int y, int nListId, int nGroup)
{
    CTaskOrgArray* pList = NewSelection(nListId, m_nSide);
    for (int i = 0; i < GetSize(); ++i)
    {
        CUnit* pUnit = GetAt(i);
        if (IsSelectable(pUnit) && pUnit->HitTest(x, y))
            AddToSelection(*pList, i, nGroup);
    }
    return pList;
}

CTaskOrgArray* CUnitArray::SelectInRect(float x1, float y1, float x2, float y2, int nListId, int nGroup)
{
    const float fLeft = std::min(x1, x2);
    const float fRight = std::max(x1, x2);
    const float fLow = std::min(y1, y2);
    const float fHigh = std::max(y1, y2);
    CTaskOrgArray* pList = NewSelection(nListId, m_nSide);
    for (int i = 0; i < GetSize(); ++i)
    {
        CUnit* pUnit = GetAt(i);
        if (!IsSelectable(pUnit))
            continue;
        if (pUnit->m_fX >= fLeft && pUnit->m_fX <= fRight && pUnit->m_fY >= fLow && pUnit->m_fY <= fHigh)
            AddToSelection(*pList, i, nGroup);
    }
    return pList;
}

void CUnitArray::DetectAgainst(int nTargetArrayIndex, CUnitArray* pTargetArray, CUnitRefArray* pPairList,
                               CKDRGameMap* pMap, CKDRDatabase* pDatabase, CSmokeArray* pSmoke, float fLightFactor,
                               int nTargetKind)
{
    CPlayService* pPlay = GetPlayService();
    // The targets' views are taken once for all observers, and again after
    // a message was served, which may have changed the units or the arrays;
    // the storage is kept from sweep to sweep.
    static thread_local std::vector<CUnit::SSightView> targetViews;
    // Each observer's sight of the smoke, taken once for all its targets.
    static thread_local CSmokeSight smokeSight;
    auto takeTargetViews = [&] {
        const int nTargets = pTargetArray != nullptr ? pTargetArray->GetSize() : 0;
        targetViews.resize(static_cast<size_t>(nTargets));
        for (int j = 0; j < nTargets; ++j)
        {
            if (const CUnit* pTarget = pTargetArray->GetAt(j))
                pTarget->TakeSightView(targetViews[static_cast<size_t>(j)], pDatabase, pSmoke);
        }
    };
    takeTargetViews();
    // The sizes are asked again each time round: a message served between
    // observers may change the arrays.
    for (int i = 0; i < GetSize(); ++i)
    {
        CUnit* pObserver = GetAt(i);
        if (pObserver == nullptr)
            continue;
        CUnit::SSightView self;
        pObserver->TakeSightView(self, pDatabase);
        smokeSight.Take(pSmoke, pObserver->m_fX, pObserver->m_fY);
        const int nTargets = pTargetArray != nullptr && pDatabase != nullptr ? pTargetArray->GetSize() : 0;
        SSightEntry* pSights = m_sightCache.Row(nTargetKind, nTargetArrayIndex, i, nTargets);
        for (int j = 0; j < nTargets; ++j)
        {
            if (CUnit* pTarget = pTargetArray->GetAt(j))
                pObserver->DetectPair(self, pTarget, targetViews[static_cast<size_t>(j)], pMap, &smokeSight,
                                      fLightFactor, j, nTargetArrayIndex, nTargetKind,
                                      pSights != nullptr ? pSights + j : nullptr);
        }
        for (int k = 0; pPairList != nullptr && k < pObserver->m_pContacts->GetSize(); ++k)
        {
            const CUnitRef* pRef = pObserver->m_pContacts->GetAt(k);
            if (pRef != nullptr && pRef->m_nSide == nTargetKind)
                pPairList->InsertSorted(*pRef);
        }
        if (pPlay != nullptr && pPlay->IsClockRunning())
        {
            const unsigned long nServedBefore = ServedEventCount();
            pPlay->ServeWaitingMessage();
            if (ServedEventCount() != nServedBefore)
                takeTargetViews();
        }
    }
}
