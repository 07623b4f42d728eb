// The platoon level: orders, paths, the tree, the markers and the leader
// (slots 37 to 94 of the shared table and the container operations).

#include "hierarchy/HierarchyPlatoon.h"

#include "ai/UOrdAIOrder.h"
#include "database/KDRDatabase.h"
#include "database/VCapIndirectFire.h"
#include "database/VCapKinds.h"
#include "database/Vehicle.h"
#include "database/VehicleCapability.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchySupport.h"
#include "mission/ConditionKinds.h"
#include "orders/FormationOrder.h"
#include "orders/FormationTemplateArray.h"
#include "orders/NodeArray.h"
#include "orders/NodeOrder.h"
#include "orders/UnitOrderArray.h"
#include "platform/core/Unset.h"
#include "platform/ui/Display.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"

#include <algorithm>
#include <memory>

using namespace hierarchy;

namespace
{
// Unit toggle bits of the fire controls.
constexpr DWORD UNIT_FC_MAX_RANGE = 0x80;
constexpr DWORD UNIT_FC_FIELD_OF_FIRE = 0x100;

const char* const FUNCTION_UNIT_MARKER = "Function Unit Yellow";
const char* const FUNCTION_CIRCLE_MARKER = "Function Circle Blue";

// At most this many conditional starts fire in one check: each fired start
// is removed, so a set can hold no more, but a start that would not go must
// not hold the game loop.
constexpr int MAX_STARTS_PER_CHECK = 64;

// The formation order's offset, 0, 0 without one.
void FormationOffset(const CUnitOrderArray* pOrders, float& fX, float& fY)
{
    fX = 0.0f;
    fY = 0.0f;
    const CUOrdPlatoonFormation* pFormation = pOrders != nullptr ? pOrders->GetFormationOrder() : nullptr;
    if (pFormation != nullptr)
        pFormation->GetOffset(fX, fY);
}

// Draws a catalogue marker at a map point and lets it go again.
void DrawMarkerAt(const char* name, float fX, float fY, CKDRGameMap* pMap)
{
    std::unique_ptr<CSprite> pMarker(LoadCatalogueSprite(name));
    if (pMarker != nullptr)
        DrawSpriteAtMapPoint(pMarker.get(), fX, fY, pMap);
}
}  // namespace

// ---------------------------------------------------------------------------
// Slots 37 to 41: AI orders

void CHierarchyPlatoon::RemoveAIOrders()
{
    if (m_pOrders != nullptr)
        m_pOrders->RemoveAIOrders();
}

BOOL CHierarchyPlatoon::HasAIOrderNamed(const CString& strName) const
{
    return m_pOrders != nullptr && m_pOrders->HasAIOrderNamed(strName);
}

// ---------------------------------------------------------------------------
// Slots 42 to 54: the map symbols (50 is the unit list)

void CHierarchyPlatoon::SetSymbolStopped(BOOL) {}

int CHierarchyPlatoon::FillUnitList(CTaskOrgArray* pList, BOOL bWithName) const
{
    if (pList == nullptr)
        return 0;
    pList->m_nSide = m_nSide;
    if (bWithName && pList->FindHierarchyTaskOrg(m_strName) == kUnset)
    {
        auto* pNamed = new CHierarchyTaskOrg;
        pNamed->m_strName = m_strName;
        if (pList->AddUnique(pNamed) == kUnset)
            delete pNamed;
    }
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement != nullptr && pElement->IsAvailable())
            pElement->AddToTaskOrg(pList);
    }
    return 1;
}

void CHierarchyPlatoon::RefreshUnitLists(CKDRUnits*) {}


// ---------------------------------------------------------------------------
// Slots 55 to 63: elements, tree items, positions

CHierarchyElement* CHierarchyPlatoon::GetElement(int i) const { return AsElement(GetChild(i)); }

CHierarchyElement* CHierarchyPlatoon::FindElementByName(const CString& strName, BOOL bRemove)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr || pElement->m_strName != strName)
            continue;
        if (bRemove)
            RemoveAtNoDelete(i);
        return pElement;
    }
    return nullptr;
}

int CHierarchyPlatoon::GetTreeImage(const CStringArray& names) const
{
    const int nEntry = IndexOfName(names, m_strSymbolType + GetSymbolSuffix());
    int nImage = nEntry >= 0 ? TREE_IMAGES_PER_NAME * nEntry : 0;
    if (m_bMarked)
        nImage += TREE_IMAGE_MARKED;
    if (!m_bActive)
        nImage += TREE_IMAGE_DETACHED;
    return nImage;
}

HTREEITEM CHierarchyPlatoon::InsertTreeItems(CTreeCtrl* pTree, const CStringArray& names, HTREEITEM hParent)
{
    if (pTree == nullptr)
        return nullptr;
    const int nImage = GetTreeImage(names);
    m_hTreeItem = pTree->InsertItem(m_strName, nImage, nImage, hParent, TVI_LAST);
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyElement* pElement = GetElement(i))
            pElement->InsertTreeItem(pTree, names, m_hTreeItem, GetLevel());
    }
    return m_hTreeItem;
}

void CHierarchyPlatoon::CollectSymbolNames(CStringArray& names) const
{
    const CString strOwn = m_strSymbolType + GetSymbolSuffix();
    if (IndexOfName(names, strOwn) < 0)
        names.Add(strOwn);
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr)
            continue;
        const CString strName = pElement->m_strSymbolType + SYMBOL_SUFFIX_VEHICLE;
        if (IndexOfName(names, strName) < 0)
            names.Add(strName);
    }
}

int CHierarchyPlatoon::GetAveragePosition(float& fX, float& fY, int& nCount, CKDRDatabase* pDatabase,
                                          CKDRUnits* pUnits) const
{
    fX = 0.0f;
    fY = 0.0f;
    nCount = 0;
    // Vehicles of a role category first; only when there are none, all.
    for (int pass = 0; pass < 2 && nCount == 0; ++pass)
    {
        float fSumX = 0.0f;
        float fSumY = 0.0f;
        for (int i = 0; i < GetSize(); ++i)
        {
            const CHierarchyElement* pElement = GetElement(i);
            if (pElement == nullptr || !pElement->IsAvailable())
                continue;
            const CUnit* pUnit = pElement->GetUnit(pUnits, m_nSide);
            if (!IsLiveUncarried(pUnit))
                continue;
            if (pass == 0 && CVehicle::RoleFlagsToCategory(RoleFlagsOf(pUnit, pDatabase)) == 0)
                continue;
            fSumX += pUnit->m_fX;
            fSumY += pUnit->m_fY;
            ++nCount;
        }
        if (nCount > 0)
        {
            fX = fSumX / static_cast<float>(nCount);
            fY = fSumY / static_cast<float>(nCount);
        }
    }
    return nCount > 0 ? 1 : 0;
}

int CHierarchyPlatoon::IndexOfElementByName(const CString& strName) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement != nullptr && pElement->m_strName == strName)
            return i;
    }
    return kUnset;
}

float CHierarchyPlatoon::GetHeading(CKDRUnits* pUnits)
{
    if (m_pPath != nullptr && m_pPath->GetSize() >= 2)
    {
        const double dHeading = m_pPath->GetFirstLegHeading();
        if (dHeading != kUnsetFloat)
            return static_cast<float>(dHeading);
    }
    const CHierarchyElement* pLeader = GetLeaderElement();
    const CUnit* pUnit = pLeader != nullptr ? pLeader->GetUnit(pUnits, m_nSide) : nullptr;
    return pUnit != nullptr && !pUnit->m_bDestroyed ? pUnit->m_fHeading : 0.0f;
}

int CHierarchyPlatoon::LoadSymbolSprite(CKDRUnits* pUnits)
{
    const CFormationTemplateArray* pTemplates =
        pUnits != nullptr && pUnits->m_bFormations ? pUnits->m_pFormations : nullptr;
    if (m_pOrders == nullptr || pTemplates == nullptr)
    {
        delete m_apSprites[FUNCTION_SPRITE];
        m_apSprites[FUNCTION_SPRITE] = nullptr;
        m_abSprites[FUNCTION_SPRITE] = FALSE;
        m_strSymbolName.Empty();
        return 0;
    }
    const CString strName = m_pOrders->GetFormationIconName(pTemplates, GetLevel());
    if (strName == m_strSymbolName && m_apSprites[FUNCTION_SPRITE] != nullptr)
        return 0;
    delete m_apSprites[FUNCTION_SPRITE];
    m_apSprites[FUNCTION_SPRITE] = LoadCatalogueSprite(strName);
    m_abSprites[FUNCTION_SPRITE] = m_apSprites[FUNCTION_SPRITE] != nullptr;
    m_strSymbolName = strName;
    return m_abSprites[FUNCTION_SPRITE];
}

// ---------------------------------------------------------------------------
// Slots 64 to 84: menus, recall, paths

BOOL CHierarchyPlatoon::HasFormationNamed(const CString& strName) const
{
    return m_pOrders != nullptr && m_pOrders->HasFormationNamed(strName);
}

BOOL CHierarchyPlatoon::HasDetachedAliveElement() const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement != nullptr && pElement->IsDetachedAlive())
            return TRUE;
    }
    return FALSE;
}

void CHierarchyPlatoon::DrawPath(CKDRGameMap* pMap, BOOL bSelected)
{
    if (m_pPath != nullptr)
        m_pPath->Draw(pMap, IsGroundForce(), bSelected, TRUE, GetLevel());
}

int CHierarchyPlatoon::CheckConditionalStarts(DWORD dwEvent, DWORD id1, DWORD id2, DWORD id3, DWORD id4, DWORD id5,
                                              DWORD id6, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    if (m_pOrders == nullptr)
        return 0;
    int nFired = 0;
    for (int n = 0; n < MAX_STARTS_PER_CHECK; ++n)
    {
        CUOrdConditionalStart* pStart = m_pOrders->CheckConditionalStart(dwEvent, id1, id2, id3, id4, id5, id6);
        if (pStart == nullptr)
            break;
        nFired = 1;
        const int nNumber = pStart->m_nNumber;
        m_pOrders->RemoveConditionalStarts(nNumber);
        const int nLeft = m_pOrders->FindOrder(pStart);
        if (nLeft >= 0)
            m_pOrders->RemoveAt(nLeft);

        const CUOrdPlatoonFormation* pFormation = m_pOrders->GetFormationOrder();
        if (nNumber == 0 || pFormation == nullptr)
        {
            ClearStops(pUnits);
            continue;
        }
        const CString strFormation = pFormation->m_strTemplate;
        if (m_pPath != nullptr && m_pPath->GetSize() > 1)
        {
            m_pPath->RemoveFirstNode(m_nSide != 0);
            if (m_pPath->GetSize() > 1)
                ApplyNodeOrders(m_pPath->GetAt(0), pUnits, pMap, pDatabase);
        }
        ResetPath(pUnits);
        const CUOrdPlatoonFormation* pAfter = m_pOrders->GetFormationOrder();
        if (pAfter != nullptr && pAfter->m_strTemplate == strFormation)
            SetFormationByName(strFormation, pUnits, pMap, pDatabase);
    }
    return nFired;
}

int CHierarchyPlatoon::AttachCallBackUnits(CCallBackUnitArray* pRecords, int nFirstWord, CKDRUnits* pUnits,
                                           CKDRDatabase* pDatabase) const
{
    if (pRecords == nullptr || pUnits == nullptr)
        return 0;
    int nAdded = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr || !pElement->IsAvailable())
            continue;
        const CUnit* pUnit = pElement->GetUnit(pUnits, m_nSide);
        if (!IsLiveUncarried(pUnit))
            continue;
        // With a database the first word is a role mask (negative: every
        // role, 0: none); without one every live unit is watched.
        if (pDatabase != nullptr &&
            (nFirstWord == 0 || (nFirstWord > 0 && (RoleFlagsOf(pUnit, pDatabase) & nFirstWord) == 0)))
            continue;
        BOOL bWatched = FALSE;
        for (int k = 0; k < pRecords->GetSize() && !bWatched; ++k)
        {
            const CConditionCallBackUnit* pRecord = pRecords->GetAt(k);
            bWatched = pRecord != nullptr && pRecord->m_nUnit == pElement->m_nUnit &&
                       pRecord->m_nGroup == pElement->m_nArray && pRecord->m_nSide == m_nSide;
        }
        if (bWatched)
            continue;
        auto* pRecord = new CConditionCallBackUnit;
        pRecord->m_nUnit = pElement->m_nUnit;
        pRecord->m_nGroup = pElement->m_nArray;
        pRecord->m_nSide = m_nSide;
        pRecords->Add(pRecord);
        ++nAdded;
    }
    return nAdded;
}

int CHierarchyPlatoon::CopyPath(float fX, float fY, const CNodeArray* pPath, CKDRUnits*, CKDRGameMap* pMap,
                                BOOL bFromStart)
{
    if (pPath == nullptr || m_pPath == nullptr)
        return 0;
    const CNodeArray given(*pPath);
    if (bFromStart)
        m_pPath->CopyWithStart(given, fX, fY, pMap);
    else
        m_pPath->CopyOffset(given, fX, fY, pMap);
    return 1;
}

BOOL CHierarchyPlatoon::GetPosition(float& fX, float& fY, CKDRUnits* pUnits)
{
    if (GetLeaderPosition(fX, fY, pUnits))
        return TRUE;
    fX = kUnsetFloat;
    fY = kUnsetFloat;
    return FALSE;
}

// ---------------------------------------------------------------------------
// Slots 85 to 90: selection, labels, markers, fire direction

CTaskOrgArray* CHierarchyPlatoon::SelectInRectangle(float fX1, float fY1, float fX2, float fY2, BOOL bWanted,
                                                    CKDRUnits* pUnits)
{
    auto* pList = new CTaskOrgArray;
    pList->m_nSide = m_nSide;
    if (!bWanted)
        return pList;
    float fX = kUnsetFloat;
    float fY = kUnsetFloat;
    if (!GetFormationPosition(fX, fY, pUnits, FALSE))
        return pList;
    if (fX >= std::min(fX1, fX2) && fX <= std::max(fX1, fX2) && fY >= std::min(fY1, fY2) && fY <= std::max(fY1, fY2))
        FillUnitList(pList, TRUE);
    return pList;
}

CString CHierarchyPlatoon::GetLabel(CKDRDatabase* pDatabase, CKDRUnits* pUnits) const
{
    if (pDatabase == nullptr || pUnits == nullptr)
        return CString();
    return m_strName + "\t\t(Platoon)";
}

void CHierarchyPlatoon::GetElementLabels(CStringArray& labels, CKDRDatabase* pDatabase, CKDRUnits* pUnits) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyElement* pElement = GetElement(i))
            labels.Add(pElement->GetLabel(pDatabase, pUnits, m_nSide));
    }
}

namespace
{
// Only the level the caller draws: platoons with bPlatoons, companies with
// bCompanies.
BOOL LevelWanted(int nLevel, BOOL bPlatoons, BOOL bCompanies)
{
    return (nLevel == HIERARCHY_PLATOON && bPlatoons) || (nLevel == HIERARCHY_COMPANY && bCompanies);
}
}  // namespace

void CHierarchyPlatoon::DrawUnitSymbol(DWORD dwOptions, BOOL bPlatoons, BOOL bCompanies, CKDRGameMap* pMap,
                                       CKDRDatabase* pDatabase, CKDRUnits* pUnits)
{
    if (!LevelWanted(GetLevel(), bPlatoons, bCompanies) || !m_abSprites[TYPE_SPRITE] || pUnits == nullptr ||
        pDatabase == nullptr)
        return;
    CTaskOrgArray units;
    FillUnitList(&units, FALSE);
    if (!pUnits->CanSelectionDoAction(dwOptions, &units, pDatabase))
        return;
    float fX = 0.0f;
    float fY = 0.0f;
    if (GetLeaderPosition(fX, fY, pUnits))
        DrawMarkerAt(FUNCTION_UNIT_MARKER, fX, fY, pMap);
}

void CHierarchyPlatoon::DrawCircleSymbol(BOOL bPlatoons, BOOL bCompanies, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                         CKDRGameMap* pMap, DWORD)
{
    if (!LevelWanted(GetLevel(), bPlatoons, bCompanies) || !m_abSprites[TYPE_SPRITE] || pUnits == nullptr ||
        pDatabase == nullptr)
        return;
    float fX = 0.0f;
    float fY = 0.0f;
    if (GetLeaderPosition(fX, fY, pUnits))
        DrawMarkerAt(FUNCTION_CIRCLE_MARKER, fX, fY, pMap);
}

BOOL CHierarchyPlatoon::HasFireDirectionFor(int nUnit, int nArray, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                            BOOL) const
{
    CVehicle* pGunType = VehicleOf(FindUnit(pUnits, nUnit, nArray, m_nSide), pDatabase);
    auto* pGun =
        pGunType != nullptr ? dynamic_cast<CVCapIndirectFire*>(pGunType->FindCapability(VCAP_INDIRECT_FIRE)) : nullptr;
    if (pGun == nullptr)
        return FALSE;
    const int nGunAngle = pGun->m_bHighAngle ? CVCapFDC::kHighAngle : CVCapFDC::kLowAngle;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr || pElement->m_bDetached || pElement->m_bDestroyed)
            continue;
        CVehicle* pType = VehicleOf(pElement->GetUnit(pUnits, m_nSide), pDatabase);
        auto* pCentre = pType != nullptr ? dynamic_cast<CVCapFDC*>(pType->FindCapability(VCAP_FDC)) : nullptr;
        if (pCentre == nullptr || pElement->GetUnit(pUnits, m_nSide)->m_bDestroyed)
            continue;
        // A centre whose angle is neither low nor high directs both.
        const BOOL bBoth =
            pCentre->m_nFireAngle != CVCapFDC::kLowAngle && pCentre->m_nFireAngle != CVCapFDC::kHighAngle;
        if (bBoth || pCentre->m_nFireAngle == nGunAngle)
            return TRUE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Container operations

int CHierarchyPlatoon::ToggleStandingOrder(DWORD dwToggle, int* pState, BOOL bForce)
{
    if (m_pOrders == nullptr)
        return 0;
    int nState = 1;
    if (pState == nullptr)
        pState = &nState;
    else if (!bForce)
        *pState = 1;
    m_pOrders->SetToggle(dwToggle, pState, bForce);
    // The fire controls and the suppression keep their own settings: no
    // order of their code follows the toggle.
    if (*pState != 0 && dwToggle != UNIT_FC_MAX_RANGE && dwToggle != UNIT_FC_FIELD_OF_FIRE && dwToggle != UNIT_SUPPRESS)
        m_pOrders->AddOrderOfType(CUnitOrder::ToggleToOrderCode(dwToggle));
    return 1;
}

int CHierarchyPlatoon::SetTreeItemHandle(HTREEITEM hOld, HTREEITEM hNew)
{
    if (m_hTreeItem == hOld)
    {
        m_hTreeItem = hNew;
        return 1;
    }
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyElement* pElement = GetElement(i);
        if (pElement != nullptr && pElement->m_hTreeItem == hOld)
        {
            pElement->m_hTreeItem = hNew;
            return 1;
        }
    }
    return 0;
}

void CHierarchyPlatoon::PickLeader(CHierarchyArray* pHierarchy)
{
    if (pHierarchy == nullptr)
        return;
    CHierarchyElement* pLeader = nullptr;
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr || pElement->m_bDestroyed || pElement->m_bDetached || pElement->m_nIndex < 0)
            continue;
        const BOOL bQualified =
            GetLevel() == HIERARCHY_COMPANY ? pElement->m_bCompanyLeader : pElement->m_bPlatoonLeader;
        // The smallest index leads; an equal one does not push out the earlier.
        if (bQualified && (pLeader == nullptr || pElement->m_nIndex < pLeader->m_nIndex))
            pLeader = pElement;
    }
    if (pLeader == nullptr)
        return;
    pLeader->m_bLeader = TRUE;
    m_bActive = TRUE;
    pHierarchy->RefreshElementItem(pLeader, GetLevel(), CString());
    pHierarchy->RefreshContainerItem(this, CString());
}

void CHierarchyPlatoon::ClearLeaders(CHierarchyArray* pHierarchy)
{
    m_bActive = FALSE;
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr)
            continue;
        pElement->m_bLeader = FALSE;
        pElement->m_nState = 0;
        if (pHierarchy != nullptr)
            pHierarchy->RefreshElementItem(pElement, GetLevel(), CString());
    }
    if (pHierarchy != nullptr)
        pHierarchy->RefreshContainerItem(this, CString());
}

BOOL CHierarchyPlatoon::NameExists(const CString& strName) const { return IndexOfElementByName(strName) != kUnset; }

// ---------------------------------------------------------------------------
// Non-virtual operations

BOOL CHierarchyPlatoon::HasPath() const { return m_pPath != nullptr && m_pPath->GetSize() > 0; }

BOOL CHierarchyPlatoon::HasAvailableElement() const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement != nullptr && pElement->IsAvailable())
            return TRUE;
    }
    return FALSE;
}

CHierarchyElement* CHierarchyPlatoon::GetLeaderElement()
{
    if (GetLevel() == HIERARCHY_BATTALION)
        return nullptr;
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr || !pElement->m_bLeader)
            continue;
        if (pElement->m_bDestroyed || pElement->m_bDetached)
        {
            pElement->m_bLeader = FALSE;
            continue;
        }
        const BOOL bQualified =
            GetLevel() == HIERARCHY_COMPANY ? pElement->m_bCompanyLeader : pElement->m_bPlatoonLeader;
        if (!bQualified)
        {
            pElement->m_bLeader = FALSE;
            return nullptr;
        }
        return pElement;
    }
    return nullptr;
}

BOOL CHierarchyPlatoon::GetLeaderPosition(float& fX, float& fY, CKDRUnits* pUnits)
{
    const CHierarchyElement* pLeader = GetLeaderElement();
    const CUnit* pUnit = pLeader != nullptr ? pLeader->GetUnit(pUnits, m_nSide) : nullptr;
    if (pUnit == nullptr || pUnit->m_bDestroyed)
        return FALSE;
    float fOffsetX = 0.0f;
    float fOffsetY = 0.0f;
    FormationOffset(m_pOrders, fOffsetX, fOffsetY);
    fX = pUnit->m_fX + fOffsetX;
    fY = pUnit->m_fY + fOffsetY;
    return TRUE;
}

BOOL CHierarchyPlatoon::GetFormationPosition(float& fX, float& fY, CKDRUnits* pUnits, BOOL bAny) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr || !pElement->IsAvailable() || (!bAny && !pElement->m_bLeader))
            continue;
        const CUnit* pUnit = pElement->GetUnit(pUnits, m_nSide);
        if (!IsLiveUncarried(pUnit))
            continue;
        float fOffsetX = 0.0f;
        float fOffsetY = 0.0f;
        FormationOffset(m_pOrders, fOffsetX, fOffsetY);
        fX = pUnit->m_fX + fOffsetX;
        fY = pUnit->m_fY + fOffsetY;
        return TRUE;
    }
    fX = kUnsetFloat;
    fY = kUnsetFloat;
    return FALSE;
}

BOOL CHierarchyPlatoon::IsGroundForce() const
{
    return (m_dwRoleFlags & (ROLE_DISMOUNT | ROLE_FIXED_WING | ROLE_ROTARY_WING)) == 0;
}

CUnit* CHierarchyPlatoon::GetLeadUnit(CKDRUnits* pUnits)
{
    if (const CHierarchyElement* pLeader = GetLeaderElement())
    {
        if (CUnit* pUnit = pLeader->GetUnit(pUnits, m_nSide))
            return pUnit;
    }
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr || !pElement->IsAvailable())
            continue;
        CUnit* pUnit = pElement->GetUnit(pUnits, m_nSide);
        if (IsLiveUncarried(pUnit))
            return pUnit;
    }
    return nullptr;
}

void CHierarchyPlatoon::ResetPath(CKDRUnits* pUnits)
{
    float fX = kUnsetFloat;
    float fY = kUnsetFloat;
    if (m_pPath == nullptr || !GetPosition(fX, fY, pUnits) || fX < 0.0f || fY < 0.0f)
        return;
    if (m_pPath->GetSize() == 0 || m_pPath->GetAt(0) == nullptr)
    {
        m_pPath->RemoveAll();
        m_pPath->AddNode(fX, fY);
        return;
    }
    m_pPath->GetAt(0)->m_fX = fX;
    m_pPath->GetAt(0)->m_fY = fY;
}

int CHierarchyPlatoon::BuildPath(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, BOOL bPlan)
{
    float fX = kUnsetFloat;
    float fY = kUnsetFloat;
    if (!GetPosition(fX, fY, pUnits))
        return 0;
    CNodeArray path;
    path.ResetToPoint(fX, fY, m_nSide != 0);
    if (bPlan && pMap != nullptr && pDatabase != nullptr)
        return PlanPath(&path, pUnits, pMap, pDatabase, fX, fY);
    delete m_pPath;
    m_pPath = new CNodeArray(path);
    return 1;
}

BOOL CHierarchyPlatoon::HasOrderOfType(DWORD dwToggle) const
{
    if (m_pOrders == nullptr)
        return FALSE;
    const DWORD dwCode = CUnitOrder::ToggleToOrderCode(dwToggle);
    for (int i = 0; i < m_pOrders->GetSize(); ++i)
    {
        const CUnitOrder* pOrder = m_pOrders->GetAt(i);
        if (pOrder != nullptr && pOrder->GetOrderType() == dwCode)
            return TRUE;
    }
    return FALSE;
}
