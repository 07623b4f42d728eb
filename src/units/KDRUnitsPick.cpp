// The units component under the mouse: hit tests, selections and the data
// tips of the map. What the player may pick of kinds 1 and 2 is what the
// own side's contact lists hold, so the enemy is never found where nobody
// has seen it.

#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/TaskOrg.h"
#include "platform/core/Unset.h"
#include "shell/DrawService.h"
#include "units/KDRUnits.h"
#include "units/UnitArray.h"
#include "units/UnitRefArray.h"

#include <memory>

namespace
{
// The data-tip colours (0xBBGGRR): blue for the own side, red for the
// opposing side, green for the neutral side; the alternate scheme swaps
// the first two and turns the neutral side yellow.
constexpr COLORREF TIP_OWN = 0xff8080;
constexpr COLORREF TIP_OPPOSING = 0x8080ff;
constexpr COLORREF TIP_NEUTRAL = 0x80ff80;
constexpr COLORREF TIP_NEUTRAL_ALTERNATE = 0x80ffff;

const char* const DESTROYED_PREFIX = "Destroyed ";
const char* const OWN_UNIT_SEPARATOR = ", ";

BOOL IsAlternateColors()
{
    const CDrawService* pDraw = GetDrawService();
    return pDraw != nullptr && pDraw->IsAlternateColors();
}

// The tip colour of a side's units under the colour scheme in use.
COLORREF TipColourOfKind(int nKind, BOOL bAlternate)
{
    switch (nKind)
    {
    case UNIT_KIND_OWN: return bAlternate ? TIP_OPPOSING : TIP_OWN;
    case UNIT_KIND_OPPOSING: return bAlternate ? TIP_OWN : TIP_OPPOSING;
    default: return bAlternate ? TIP_NEUTRAL_ALTERNATE : TIP_NEUTRAL;
    }
}
}  // namespace

int CKDRUnits::HitTestContact(int x, int y, int& nArray, int& nKind, BOOL bIncludeOwn, BOOL bIncludeUnidentified)
{
    const int nWanted = nKind;
    // The neutral side first, seen through list 1, then the opposing side
    // through list 0.
    const struct
    {
        int nKind;
        int nList;
    } order[] = {{UNIT_KIND_NEUTRAL, CONTACTS_OWN_OF_NEUTRAL}, {UNIT_KIND_OPPOSING, CONTACTS_OWN_OF_OPPOSING}};
    for (const auto& step : order)
    {
        if (nWanted != -1 && nWanted != step.nKind)
            continue;
        for (int i = 0; i < GetArrayCount(step.nKind); ++i)
        {
            int nIndex = i;
            CUnitArray* pArray = GetArrayOfKind(step.nKind, nIndex);
            if (pArray == nullptr)
                continue;
            const int nUnit = pArray->HitTest(x, y, FALSE);
            if (nUnit == kUnset)
                continue;
            BOOL bUnidentified = FALSE;
            if (!m_pContacts[step.nList]->Find(nUnit, i, step.nKind, &bUnidentified))
                continue;
            if (bUnidentified && !bIncludeUnidentified)
                continue;
            nArray = i;
            nKind = step.nKind;
            return nUnit;
        }
    }
    if (bIncludeOwn && (nWanted == -1 || nWanted == UNIT_KIND_OWN) && m_bOwnUnits && m_pOwnUnits != nullptr)
    {
        const int nUnit = m_pOwnUnits->HitTest(x, y, FALSE);
        if (nUnit != kUnset)
        {
            nArray = 0;
            nKind = UNIT_KIND_OWN;
            return nUnit;
        }
    }
    return kUnset;
}

int CKDRUnits::HitTestDestroyed(int x, int y, int& nArray, int& nKind)
{
    // The topmost unit of any state decides: a live unit over a wreck hides it.
    for (int nSearch : {UNIT_KIND_NEUTRAL, UNIT_KIND_OPPOSING, UNIT_KIND_OWN})
    {
        for (int i = 0; i < GetArrayCount(nSearch); ++i)
        {
            int nIndex = i;
            CUnitArray* pArray = GetArrayOfKind(nSearch, nIndex);
            if (pArray == nullptr)
                continue;
            const int nUnit = pArray->HitTest(x, y, TRUE);
            if (nUnit == kUnset)
                continue;
            const CUnit* pUnit = pArray->GetAt(nUnit);
            if (pUnit == nullptr || !pUnit->m_bDestroyed)
                return kUnset;
            nArray = nSearch == UNIT_KIND_OWN ? 0 : i;
            nKind = nSearch;
            return nUnit;
        }
    }
    return kUnset;
}

int CKDRUnits::HitTestOwnUnit(int x, int y, DWORD dwAction, int& nArray, int& nKind, BOOL bEnable,
                              CKDRDatabase* pDatabase)
{
    if (!bEnable || !m_bOwnUnits || m_pOwnUnits == nullptr || (nKind != -1 && nKind != UNIT_KIND_OWN))
        return kUnset;
    const int nUnit = m_pOwnUnits->HitTestForAction(x, y, dwAction, pDatabase);
    if (nUnit != kUnset)
    {
        nArray = 0;
        nKind = UNIT_KIND_OWN;
    }
    return nUnit;
}

CTaskOrgArray* CKDRUnits::GetUnitsAtPoint(int x, int y)
{
    if (m_bOwnUnits && m_pOwnUnits != nullptr)
    {
        std::unique_ptr<CTaskOrgArray> pOwn(m_pOwnUnits->GetUnitsAtPoint(x, y, UNIT_KIND_OWN, 0));
        if (!pOwn->IsEmpty())
            return pOwn.release();
    }
    for (const auto& [nList, nKind] :
         {std::pair{CONTACTS_OWN_OF_NEUTRAL, UNIT_KIND_NEUTRAL}, std::pair{CONTACTS_OWN_OF_OPPOSING, UNIT_KIND_OPPOSING}})
    {
        std::unique_ptr<CTaskOrgArray> pSeen(CollectContactsAtPoint(x, y, nList, nKind));
        if (!pSeen->IsEmpty())
            return pSeen.release();
    }
    auto* pEmpty = new CTaskOrgArray;
    pEmpty->m_nId = UNIT_KIND_OWN;
    return pEmpty;
}

CTaskOrgArray* CKDRUnits::CollectContactsAtPoint(int x, int y, int nList, int nKind)
{
    auto pList = std::make_unique<CTaskOrgArray>();
    pList->m_nId = nKind;
    pList->m_nSide = nKind;
    const CUnitRefArray* pContacts = nList >= 0 && nList < CONTACT_LIST_COUNT ? m_pContacts[nList] : nullptr;
    for (int i = 0; pContacts != nullptr && i < pContacts->GetSize(); ++i)
    {
        const CUnitRef* pRef = pContacts->GetAt(i);
        if (pRef == nullptr || pRef->m_nSide != nKind || pRef->m_bUnidentified)
            continue;
        CUnit* pUnit = GetUnit(pRef->m_nUnit, pRef->m_nArray, pRef->m_nSide);
        if (pUnit == nullptr || pUnit->m_bDestroyed || pUnit->IsCarried() || !pUnit->HitTest(x, y))
            continue;
        auto* pEntry = new CTaskOrg(pRef->m_nUnit, pRef->m_nArray);
        if (pList->AddUnique(pEntry) == kUnset)
            delete pEntry;
    }
    return pList.release();
}

CTaskOrgArray* CKDRUnits::SelectInRect(float x1, float y1, float x2, float y2, BOOL bUnits, BOOL bPlatoons,
                                       BOOL bCompanies)
{
    auto pList = std::make_unique<CTaskOrgArray>();
    pList->m_nId = UNIT_KIND_OWN;
    if (!m_bOwnUnits || m_pOwnUnits == nullptr)
        return pList.release();
    if (bUnits)
        pList.reset(m_pOwnUnits->SelectInRect(x1, y1, x2, y2, UNIT_KIND_OWN, 0));
    if (bPlatoons || bCompanies)
    {
        if (CHierarchyArray* pHierarchy = GetPresentHierarchy(UNIT_KIND_OWN))
        {
            std::unique_ptr<CTaskOrgArray> pFound(pHierarchy->SelectInRectangle(x1, y1, x2, y2, TRUE, this));
            while (pFound != nullptr && !pFound->IsEmpty())
            {
                CTaskOrg* pEntry = static_cast<CTaskOrg*>(pFound->Detach(0));
                if (pList->AddUnique(pEntry) == kUnset)
                    delete pEntry;
            }
        }
    }
    return pList.release();
}

CString CKDRUnits::GetHoverUnitText(int x, int y, CKDRDatabase* pDatabase, COLORREF& crColour)
{
    int nArray = kUnset;
    int nKind = kUnset;
    const int nUnit = HitTestDestroyed(x, y, nArray, nKind);
    const CUnit* pUnit = nUnit != kUnset ? GetUnit(nUnit, nArray, nKind) : nullptr;
    CVehicle* pVehicle = pUnit != nullptr && pDatabase != nullptr ? pDatabase->GetVehicle(pUnit->m_nVehicle) : nullptr;
    if (pVehicle == nullptr)
        return CString();
    crColour = TipColourOfKind(nKind, IsAlternateColors());
    return CString(DESTROYED_PREFIX) + pVehicle->m_strName;
}

CString CKDRUnits::GetHoverText(int x, int y, CKDRDatabase* pDatabase, BOOL bIncludeUnidentified, BOOL bPlatoons,
                                BOOL bCompanies, COLORREF& crColour)
{
    const BOOL bAlternate = IsAlternateColors();
    if (bPlatoons || bCompanies)
    {
        int nSide = -1;
        if (CHierarchyPlatoon* pContainer = HitTestElements(x, y, nSide, bPlatoons, bCompanies))
        {
            crColour = TipColourOfKind(UNIT_KIND_OWN, bAlternate);
            return pContainer->GetLabel(pDatabase, this);
        }
    }
    int nArray = kUnset;
    int nKind = -1;
    const int nUnit = HitTestContact(x, y, nArray, nKind, TRUE, bIncludeUnidentified);
    const CUnit* pUnit = nUnit != kUnset ? GetUnit(nUnit, nArray, nKind) : nullptr;
    CVehicle* pVehicle = pUnit != nullptr && pDatabase != nullptr ? pDatabase->GetVehicle(pUnit->m_nVehicle) : nullptr;
    if (pVehicle == nullptr)
        return CString();
    if (nKind == UNIT_KIND_OWN)
    {
        crColour = TipColourOfKind(UNIT_KIND_OWN, bAlternate);
        return pUnit->m_strName + OWN_UNIT_SEPARATOR + pVehicle->m_strName;
    }
    const int nList = nKind == UNIT_KIND_OPPOSING ? CONTACTS_OWN_OF_OPPOSING : CONTACTS_OWN_OF_NEUTRAL;
    BOOL bUnidentified = FALSE;
    m_pContacts[nList]->Find(nUnit, nArray, nKind, &bUnidentified);
    if (bUnidentified)
        return pVehicle->GetIdentifiedName();
    crColour = TipColourOfKind(nKind, bAlternate);
    return pVehicle->m_strName;
}

CHierarchyPlatoon* CKDRUnits::HitTestElements(int x, int y, int& nSide, BOOL bPlatoons, BOOL bCompanies)
{
    for (int nTry = 0; nTry < UNIT_KIND_COUNT; ++nTry)
    {
        if (nSide >= 0 && nSide < UNIT_KIND_COUNT && nSide != nTry)
            continue;
        CHierarchyArray* pHierarchy = GetPresentHierarchy(nTry);
        if (pHierarchy == nullptr)
            continue;
        if (CHierarchyPlatoon* pHit = pHierarchy->HitTestSymbol(x, y, bPlatoons, bCompanies, nTry, this))
        {
            nSide = nTry;
            return pHit;
        }
    }
    return nullptr;
}

CHierarchyArray* CKDRUnits::GetElementsAtPoint(int x, int y, BOOL bPlatoons, BOOL bCompanies)
{
    for (int nSide = 0; nSide < UNIT_KIND_COUNT; ++nSide)
    {
        CHierarchyArray* pHierarchy = GetPresentHierarchy(nSide);
        if (pHierarchy == nullptr)
            continue;
        auto pHits = std::make_unique<CHierarchyArray>(nullptr, this);
        pHits->m_nSide = nSide;
        pHierarchy->CollectHitSymbols(x, y, bPlatoons, bCompanies, pHits.get(), this);
        if (pHits->GetSize() > 0)
            return pHits.release();
    }
    return new CHierarchyArray(nullptr, this);
}
