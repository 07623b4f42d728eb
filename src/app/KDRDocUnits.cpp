// The document facade over the units: drawing, look-ups at a point and
// queries, for the view's paint, its mouse and its menus.

#include "app/KDRDocFacade.h"

#include "database/KDRDatabase.h"
#include "units/Unit.h"

using namespace doc_facade;

namespace
{
// Radius of the sight rays drawn from a point that is no unit's.
constexpr int SIGHT_RAYS_RADIUS = 400;
// The range circles drawn with a selection.
constexpr double SELECTION_RANGE_CIRCLE = 60.0;

// Background of tool tips (the system's info-background colour).
constexpr COLORREF TOOLTIP_BACKGROUND = RGB(255, 255, 225);
}  // namespace

// ---------------------------------------------------------------------------
// Units: drawing

BOOL CKDRDoc::DrawUnits(DWORD dwMode, int nArrowFlags, BOOL bVehicles)
{
    auto c = Ready(*this);
    if (!c)
        return FALSE;
    c.pUnits->DrawUnits(c.pMap, c.pDatabase, static_cast<int>(dwMode), nArrowFlags, bVehicles);
    return TRUE;
}

BOOL CKDRDoc::DrawDestroyedUnits(int, float)
{
    // The wreck markers keep the scale the icon size gave the units' pictures.
    auto c = Ready(*this);
    if (!c)
        return FALSE;
    c.pUnits->DrawDestroyedUnits(c.pMap, c.pDatabase);
    return TRUE;
}

BOOL CKDRDoc::DrawFieldsOfFire() { return RunWithAll(*this, &CKDRUnits::DrawFieldsOfFire); }

BOOL CKDRDoc::DrawHierarchySymbols(BOOL, BOOL bPlatoons, BOOL bCompanies, int nIconStyle, float fIconSize,
                                   DWORD dwMode, int nArrowFlags)
{
    auto c = Ready(*this);
    if (!c)
        return FALSE;
    // NATO icons take the echelon symbols, picture icons the alternative ones.
    const int nStyle = nIconStyle == ICON_STYLE_NATO ? 0 : 1;
    c.pUnits->DrawHierarchySymbols(nStyle, fIconSize, bPlatoons, bCompanies, dwMode, static_cast<DWORD>(nArrowFlags),
                                   c.pMap, c.pDatabase);
    return TRUE;
}

BOOL CKDRDoc::DrawPaths(BOOL bVehicles, BOOL bPlatoons, BOOL bCompanies)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr || GetGameMap() == nullptr)
        return FALSE;
    pUnits->DrawPaths(bVehicles, bPlatoons, bCompanies, GetGameMap());
    return TRUE;
}

BOOL CKDRDoc::DrawUnitLabels(const CTaskOrgArray* pSelection, BOOL bVehicles, BOOL bPlatoons, BOOL bCompanies)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return FALSE;
    pUnits->DrawUnitLabels(pSelection, bVehicles, bPlatoons, bCompanies, GetGameMap(), GetDatabase());
    return TRUE;
}

BOOL CKDRDoc::DrawFunctionUnits(DWORD dwCode, BOOL bVehicles, BOOL bPlatoons, BOOL bCompanies)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return FALSE;
    pUnits->DrawFunctionUnits(dwCode, UNIT_KIND_OWN, bVehicles, bPlatoons, bCompanies, GetGameMap(), GetDatabase());
    return TRUE;
}

BOOL CKDRDoc::DrawCarriedUnits() { return RunWithAll(*this, &CKDRUnits::DrawCarriedUnits); }

namespace
{
// Calls fn for the unit found by index, or for every unit of the named
// element when a name is given; TRUE when at least one unit was found.
template <class Fn>
BOOL ForUnitOrElement(CKDRUnits* pUnits, int nUnit, int nArray, int nKind, const CString& strElement, Fn fn)
{
    BOOL bFound = FALSE;
    if (!strElement.IsEmpty())
    {
        const CHierarchyPlatoon* pElement = pUnits->FindElementByName(strElement);
        if (pElement == nullptr)
            return FALSE;
        std::unique_ptr<CTaskOrgArray> pList = UnitsOfElement(pElement);
        for (int i = 0; i < pList->GetSize(); ++i)
        {
            const CTaskOrg* pEntry = pList->GetAt(i);
            if (pEntry == nullptr || pEntry->GetType() != 0)
                continue;
            if (CUnit* pUnit = pUnits->GetUnit(pEntry->m_nUnit, pEntry->m_nArray, nKind))
            {
                fn(pUnit);
                bFound = TRUE;
            }
        }
        return bFound;
    }
    if (CUnit* pUnit = pUnits->GetUnit(nUnit, nArray, nKind))
    {
        fn(pUnit);
        bFound = TRUE;
    }
    return bFound;
}
}  // namespace

BOOL CKDRDoc::DrawFunctionCircles(int nUnit, int nArray, int nKind, const CString& strElement)
{
    CKDRUnits* pUnits = GetUnits();
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    if (pUnits == nullptr || pMap == nullptr || pDatabase == nullptr)
        return FALSE;
    return ForUnitOrElement(pUnits, nUnit, nArray, nKind, strElement,
                            [&](CUnit* pUnit) { pUnit->DrawFunctionCircle(pMap, pDatabase); });
}

BOOL CKDRDoc::DrawFireMissionLinks(int nUnit, int nArray, int nKind, const CString& strElement)
{
    CKDRUnits* pUnits = GetUnits();
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    if (pUnits == nullptr || pMap == nullptr || pDatabase == nullptr)
        return FALSE;
    return ForUnitOrElement(pUnits, nUnit, nArray, nKind, strElement,
                            [&](CUnit* pUnit) { pUnit->DrawFireMissionLinks(pMap, pDatabase); });
}

BOOL CKDRDoc::DrawFunctionCircle(int nUnit, int nArray, int nKind)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return FALSE;
    CUnit* pUnit = pUnits->GetUnit(nUnit, nArray, nKind);
    if (pUnit == nullptr)
        return FALSE;
    pUnit->DrawFunctionCircle(GetGameMap(), GetDatabase());
    return TRUE;
}

BOOL CKDRDoc::DrawCarrierLinks(CUnit* pUnit)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr || GetGameMap() == nullptr || pUnit == nullptr)
        return FALSE;
    pUnit->DrawCarrierLinks(pUnits, GetGameMap());
    return TRUE;
}

BOOL CKDRDoc::DrawSelectionOverlays(DWORD dwBits, CTaskOrgArray* pSelection, int nUnit, int nArray, int nKind)
{
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    CKDRUnits* pUnits = GetUnits();
    if (pMap == nullptr || pDatabase == nullptr || pUnits == nullptr)
        return FALSE;
    if (pSelection != nullptr)
        pUnits->DrawSelectionOverlays(pSelection, pMap, pDatabase);
    if (CUnit* pUnit = pUnits->GetUnit(nUnit, nArray, nKind))
        pUnit->DrawRangeCircles(dwBits, pMap, pDatabase, SELECTION_RANGE_CIRCLE);
    return TRUE;
}

namespace
{
// Calls fn for each unit a list names by a plain entry (entries that name a
// whole element are drawn by their units' own entries).
template <class Fn>
void ForEachListedUnit(CKDRUnits* pUnits, const CTaskOrgArray* pList, Fn fn)
{
    for (int i = 0; i < pList->GetSize(); ++i)
    {
        const CTaskOrg* pEntry = pList->GetAt(i);
        if (pEntry == nullptr || pEntry->GetType() != TASKORG_KIND_UNIT)
            continue;
        if (CUnit* pUnit = pUnits->GetUnit(pEntry->m_nUnit, pEntry->m_nArray, pList->m_nSide))
            fn(pUnit);
    }
}
}  // namespace

BOOL CKDRDoc::DrawFunctionCirclesOfList(const CTaskOrgArray* pList)
{
    CKDRUnits* pUnits = GetUnits();
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    if (pUnits == nullptr || pMap == nullptr || pDatabase == nullptr || pList == nullptr)
        return FALSE;
    ForEachListedUnit(pUnits, pList, [&](CUnit* pUnit) { pUnit->DrawFunctionCircle(pMap, pDatabase); });
    return TRUE;
}

BOOL CKDRDoc::DrawFireMissionLinksOfList(const CTaskOrgArray* pList)
{
    CKDRUnits* pUnits = GetUnits();
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    if (pUnits == nullptr || pMap == nullptr || pDatabase == nullptr || pList == nullptr)
        return FALSE;
    ForEachListedUnit(pUnits, pList, [&](CUnit* pUnit) { pUnit->DrawFireMissionLinks(pMap, pDatabase); });
    return TRUE;
}

BOOL CKDRDoc::DrawSightOfUnit(float fX, float fY, int nSide, int nArray, int nUnit)
{
    CKDRGameMap* pMap = GetGameMap();
    if (pMap == nullptr)
        return FALSE;
    if (nSide == kUnset)
    {
        pMap->DrawSightRays(fX, fY, SIGHT_RAYS_RADIUS, kUnset);
        return TRUE;
    }
    CKDRUnits* pUnits = GetUnits();
    CKDRDatabase* pDatabase = GetDatabase();
    if (pUnits == nullptr || pDatabase == nullptr)
        return FALSE;
    CUnit* pUnit = pUnits->GetUnit(nUnit, nArray, nSide);
    if (pUnit == nullptr)
        return FALSE;
    pUnit->DrawFieldOfView(pMap, pDatabase);
    return TRUE;
}

int CKDRDoc::DrawUnitLinks(const CString& strElement)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return 1;
    return pUnits->IsGroundVehicleOrElement(strElement, kUnset, kUnset, kUnset);
}

BOOL CKDRDoc::DrawAIOrderGraphics() { return RunWithAll(*this, &CKDRUnits::DrawAIOrderGraphics); }

// ---------------------------------------------------------------------------
// Units: look-ups at a point

namespace
{
// A picture point as the view point the units hit-test; FALSE without
// units or map.
BOOL ViewPoint(const CKDRDoc& doc, int nX, int nY, int& vx, int& vy)
{
    CKDRGameMap* pMap = doc.GetGameMap();
    if (doc.GetUnits() == nullptr || pMap == nullptr)
        return FALSE;
    pMap->PictureToView(nX, nY, &vx, &vy);
    return TRUE;
}
}  // namespace

CHierarchyPlatoon* CKDRDoc::HitTestElements(int nX, int nY, int& nSide, BOOL bPlatoons, BOOL bCompanies)
{
    int vx = 0, vy = 0;
    if (!ViewPoint(*this, nX, nY, vx, vy))
        return nullptr;
    return GetUnits()->HitTestElements(vx, vy, nSide, bPlatoons, bCompanies);
}

CHierarchyArray* CKDRDoc::GetElementsAtPoint(int nX, int nY, BOOL bPlatoons, BOOL bCompanies)
{
    int vx = 0, vy = 0;
    if (!ViewPoint(*this, nX, nY, vx, vy))
        return nullptr;
    return GetUnits()->GetElementsAtPoint(vx, vy, bPlatoons, bCompanies);
}

CTaskOrgArray* CKDRDoc::GetUnitsAtPoint(int nX, int nY)
{
    int vx = 0, vy = 0;
    if (!ViewPoint(*this, nX, nY, vx, vy))
        return nullptr;
    return GetUnits()->GetUnitsAtPoint(vx, vy);
}

int CKDRDoc::HitTestUnitValue(int nX, int nY)
{
    return AskAtPoint(*this, nX, nY, kUnset, &CKDRUnits::HitTestUnitValue);
}

CString CKDRDoc::GetHoverText(int nX, int nY, BOOL, BOOL bPlatoons, BOOL bCompanies, COLORREF& crBack)
{
    crBack = TOOLTIP_BACKGROUND;
    int vx = 0, vy = 0;
    if (!ViewPoint(*this, nX, nY, vx, vy))
        return CString();
    // Unidentified contacts have a tip of their own: what they might be.
    return GetUnits()->GetHoverText(vx, vy, GetDatabase(), TRUE, bPlatoons, bCompanies, crBack);
}

CString CKDRDoc::GetHoverUnitText(int nX, int nY, COLORREF& crBack)
{
    crBack = TOOLTIP_BACKGROUND;
    int vx = 0, vy = 0;
    if (!ViewPoint(*this, nX, nY, vx, vy))
        return CString();
    return GetUnits()->GetHoverUnitText(vx, vy, GetDatabase(), crBack);
}

CTaskOrgArray* CKDRDoc::SelectUnitsInRect(const CRect& rcPicture, BOOL bVehicles, BOOL bPlatoons, BOOL bCompanies)
{
    CKDRUnits* pUnits = GetUnits();
    CKDRGameMap* pMap = GetGameMap();
    if (pUnits == nullptr || pMap == nullptr)
        return nullptr;
    float fLeft = 0, fTop = 0, fRight = 0, fBottom = 0;
    if (!RectToMap(pMap, rcPicture, fLeft, fTop, fRight, fBottom))
        return nullptr;
    return pUnits->SelectInRect(fLeft, fTop, fRight, fBottom, bVehicles, bPlatoons, bCompanies);
}

// ---------------------------------------------------------------------------
// Units: queries

CUnit* CKDRDoc::GetUnitForPopup(int nUnit, int nArray, int nKind)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr || GetDatabase() == nullptr)
        return nullptr;
    return pUnits->GetUnit(nUnit, nArray, nKind);
}

BOOL CKDRDoc::CanUnitFireMission(int nUnit, int nArray, int nKind)
{
    CUnit* pUnit = GetUnitForPopup(nUnit, nArray, nKind);
    return pUnit != nullptr && pUnit->CanFireMission(GetDatabase()) != 0;
}

BOOL CKDRDoc::CanSelectionFireMission(const CTaskOrgArray* pSelection)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr || GetDatabase() == nullptr || pSelection == nullptr)
        return FALSE;
    for (int i = 0; i < pSelection->GetSize(); ++i)
    {
        const CTaskOrg* pEntry = pSelection->GetAt(i);
        if (pEntry == nullptr || pEntry->GetType() != 0)
            continue;
        CUnit* pUnit = pUnits->GetUnit(pEntry->m_nUnit, pEntry->m_nArray, pSelection->m_nSide);
        if (pUnit != nullptr && pUnit->CanFireMission(GetDatabase()))
            return TRUE;
    }
    return FALSE;
}

CNodeArray* CKDRDoc::GetUnitPath(int nUnit, int nArray, int nKind)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr || GetDatabase() == nullptr)
        return nullptr;
    return pUnits->GetUnitPath(nUnit, nArray, nKind);
}

BOOL CKDRDoc::HasUnitSelection() { return AskUnits(*this, false, &CKDRUnits::HasUnitSelection); }

BOOL CKDRDoc::IsFireMissionLogOpen() { return AskUnits(*this, false, &CKDRUnits::IsFireMissionLogOpen); }

BOOL CKDRDoc::IsHierarchyTreeOpen() { return AskUnits(*this, false, &CKDRUnits::IsHierarchyTreeOpen); }

BOOL CKDRDoc::HasUnitsOfKind(int nKind) { return AskUnits(*this, false, &CKDRUnits::HasUnitsOfKind, nKind); }

int CKDRDoc::GetSelectionActions() { return AskUnits(*this, 0, &CKDRUnits::GetSelectionActions); }

CString CKDRDoc::GetSelectedInfo() { return AskUnits(*this, CString(), &CKDRUnits::GetSelectedInfo); }

CString CKDRDoc::GetSelectedSOP() { return AskUnits(*this, CString(), &CKDRUnits::GetSelectedSOP); }

CString CKDRDoc::GetMissionNames() { return AskUnits(*this, CString(), &CKDRUnits::GetMissionNames); }

CString CKDRDoc::GetCompanyFormationNames() { return AskUnits(*this, CString(), &CKDRUnits::GetCompanyFormationNames); }

BOOL CKDRDoc::GetPlatoonFormation(int nIndex, int& nItem)
{
    nItem = 0;
    const CKDRUnits* pUnits = GetUnits();
    return pUnits != nullptr && pUnits->GetPlatoonFormation(nIndex, nItem);
}

BOOL CKDRDoc::IsSOPSetForPlatoon(int nItem, int& nState)
{
    nState = 0;
    const CKDRUnits* pUnits = GetUnits();
    return pUnits != nullptr && pUnits->IsSOPSetForPlatoon(nItem, nState);
}

BOOL CKDRDoc::IsSOPSetForCompany(int nItem) { return AskUnits(*this, false, &CKDRUnits::IsSOPSetForCompany, nItem); }

int CKDRDoc::IsOrderItemChecked(int nItem, int& nValue)
{
    nValue = 0;
    CKDRUnits* pUnits = GetUnits();
    return pUnits != nullptr ? pUnits->IsOrderItemChecked(nItem, nValue) : 0;
}
