// The units component on the map: what the player sees of every kind's
// units, wrecks, shot lines, function markers and hierarchy symbols. The
// fog of war lives here: units of kinds 1 and 2 are drawn only as the own
// side's contact lists hold them, and as unidentified as they are there.

#include "battlefield/KDRGameMap.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/TaskOrg.h"
#include "shell/PlayService.h"
#include "units/KDRUnits.h"
#include "units/UnitArray.h"
#include "units/UnitRefArray.h"

namespace
{
// The label a unit is drawn with: the name of its element in the hierarchy
// of its kind, empty without one.
CString ElementName(const CKDRUnits& units, int nUnit, int nArray, int nKind)
{
    const CHierarchyElement* pElement = units.FindUnitElement(nUnit, nArray, nKind);
    return pElement != nullptr ? pElement->m_strName : CString();
}
}  // namespace

BOOL CKDRUnits::DrawUnits(CKDRGameMap* pMap, CKDRDatabase* pDatabase, int nOrder, int nFlags, BOOL bDrawOwn)
{
    BOOL bDrawn = FALSE;
    if (m_bOpposingUnits)
    {
        DrawContacts(m_pContacts[CONTACTS_OWN_OF_OPPOSING], pMap, pDatabase, nOrder, nFlags);
        bDrawn = TRUE;
    }
    if (m_bNeutralUnits)
    {
        DrawContacts(m_pContacts[CONTACTS_OWN_OF_NEUTRAL], pMap, pDatabase, nOrder, nFlags);
        bDrawn = TRUE;
    }
    if (bDrawOwn && m_bOwnUnits && m_pOwnUnits != nullptr)
    {
        m_pOwnUnits->DrawUnits(0, pMap, pDatabase, this, nOrder, nFlags);
        bDrawn = TRUE;
    }
    // Shots are shown only while the battle runs.
    const CPlayService* pPlay = GetPlayService();
    if (pPlay != nullptr && !pPlay->IsDeploymentPhase() && pPlay->IsClockRunning())
        DrawShotLines(pMap);
    return bDrawn;
}

void CKDRUnits::DrawContacts(const CUnitRefArray* pList, CKDRGameMap* pMap, CKDRDatabase* pDatabase, int nOrder,
                             int nFlags)
{
    for (int i = 0; pList != nullptr && i < pList->GetSize(); ++i)
    {
        const CUnitRef* pRef = pList->GetAt(i);
        if (pRef == nullptr)
            continue;
        CUnit* pUnit = GetUnit(pRef->m_nUnit, pRef->m_nArray, pRef->m_nSide);
        if (pUnit == nullptr)
            continue;
        pUnit->Draw(pMap, pDatabase, nOrder, nFlags, ElementName(*this, pRef->m_nUnit, pRef->m_nArray, pRef->m_nSide),
                    pRef->m_bUnidentified);
    }
}

void CKDRUnits::DrawShotLines(CKDRGameMap* pMap)
{
    if (pMap == nullptr || !pMap->HasPicture())
        return;
    // The own array, then the neutral arrays, then the opposing ones.
    if (m_bOwnUnits && m_pOwnUnits != nullptr)
        m_pOwnUnits->DrawShotLines(this, pMap);
    for (int nKind : {UNIT_KIND_NEUTRAL, UNIT_KIND_OPPOSING})
    {
        for (int i = 0; i < GetArrayCount(nKind); ++i)
        {
            int nArray = i;
            if (CUnitArray* pArray = GetArrayOfKind(nKind, nArray))
                pArray->DrawShotLines(this, pMap);
        }
    }
}

void CKDRUnits::DrawDestroyedUnits(CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    ForEachArray([&](CUnitArray* pArray, int nKind, int) { pArray->DrawDestroyedUnits(nKind, pMap, pDatabase); });
}

void CKDRUnits::DrawFunctionUnits(DWORD dwFunctions, int nSide, BOOL bUnits, BOOL bPlatoons, BOOL bCompanies,
                                  CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    if (!m_bOwnUnits || m_pOwnUnits == nullptr || (nSide != UNIT_KIND_OWN && nSide != -1))
        return;
    if (bUnits)
    {
        m_pOwnUnits->DrawFunctionUnits(0, dwFunctions, 0, pMap, pDatabase, this);
        return;
    }
    if (!bPlatoons && !bCompanies)
        return;
    if (CHierarchyArray* pHierarchy = GetPresentHierarchy(UNIT_KIND_OWN))
        pHierarchy->DrawUnitSymbol(dwFunctions, bPlatoons, bCompanies, pMap, pDatabase, this);
}

void CKDRUnits::RebuildUnitSymbols(BOOL bSymbolStyle, CKDRDatabase* pDatabase)
{
    ForEachArray([&](CUnitArray* pArray, int, int nArray)
                 { pArray->RebuildSymbols(bSymbolStyle, nArray, pDatabase, this); });
}

void CKDRUnits::SetUnitSpriteValue(float fScale)
{
    ForEachArray([fScale](CUnitArray* pArray, int, int) { pArray->SetSpriteValue(fScale); });
}

void CKDRUnits::DrawUnitLabels(const CTaskOrgArray* pSelection, BOOL bDrawMarks, BOOL bPlatoons, BOOL bCompanies,
                               CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    if (pSelection == nullptr)
        return;
    if (!bDrawMarks)
    {
        if (bPlatoons || bCompanies)
            DrawNamedElementLabels(pSelection, bPlatoons, bCompanies, pMap, pDatabase);
        return;
    }
    const int nKind = pSelection->m_nSide;
    if (nKind == UNIT_KIND_OWN)
    {
        if (m_bOwnUnits && m_pOwnUnits != nullptr)
            m_pOwnUnits->DrawTaskOrgMarks(pMap, pDatabase, pSelection, -1);
        return;
    }
    // The other kinds' entries name their array: each array marks its own.
    for (int i = 0; i < GetArrayCount(nKind); ++i)
    {
        int nArray = i;
        if (CUnitArray* pArray = GetArrayOfKind(nKind, nArray))
            pArray->DrawTaskOrgMarks(pMap, pDatabase, pSelection, i);
    }
}

void CKDRUnits::DrawNamedElementLabels(const CTaskOrgArray* pList, BOOL bPlatoons, BOOL bCompanies, CKDRGameMap* pMap,
                                       CKDRDatabase*)
{
    const CHierarchyArray* pHierarchy = pList != nullptr ? GetPresentHierarchy(pList->m_nSide) : nullptr;
    if (pHierarchy == nullptr)
        return;
    for (int i = 0; i < pList->GetSize(); ++i)
    {
        const CTaskOrg* pEntry = pList->GetAt(i);
        if (pEntry == nullptr || pEntry->GetType() != TASKORG_KIND_NAMED)
            continue;
        const CString& strName = static_cast<const CHierarchyTaskOrg*>(pEntry)->m_strName;
        if (CHierarchyPlatoon* pContainer = pHierarchy->FindContainerByName(strName))
            pContainer->DrawTaskOrgMarker(pMap, this, bPlatoons, bCompanies);
    }
}

void CKDRUnits::DrawHierarchySymbols(int nStyle, float fScale, BOOL bPlatoons, BOOL bCompanies, DWORD dwToggle,
                                     DWORD dwFlags, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    // Only the own side's symbols: the others show as their contacts.
    if (CHierarchyArray* pHierarchy = GetPresentHierarchy(UNIT_KIND_OWN))
        pHierarchy->DrawSymbol(pMap, this, pDatabase, nStyle, fScale, bPlatoons, bCompanies, dwToggle, dwFlags);
}

void CKDRUnits::DrawPaths(BOOL bUnits, BOOL bPlatoons, BOOL bCompanies, CKDRGameMap* pMap)
{
    if (bUnits && m_bOwnUnits && m_pOwnUnits != nullptr)
        m_pOwnUnits->DrawPaths(pMap);
    if (!bPlatoons && !bCompanies)
        return;
    if (CHierarchyArray* pHierarchy = GetPresentHierarchy(UNIT_KIND_OWN))
        pHierarchy->DrawPath(pMap, FALSE);
}
