// The platoon's orders, formations and paths: the context menus'
// formation and mission lists, setting a formation, AI orders, handing the
// path to the units, following the lead vehicle's node formations, clearing
// a formation and recalling detached elements. The company and the
// battalion reuse these and pass them on to their sub-units.
//
// Whenever the path changes (a new plan, a received or shifted path, a
// Stop) ExecutePath hands it on: a platoon in formation places its units
// again; one without gives each unit the path from its own place, so the
// tanks keep their places relative to one another. A path whose first node
// holds a stop halts every unit; a path that leads on sets the march speed
// of the slowest vehicle and ends a sprint.

#include "hierarchy/HierarchyPlatoon.h"

#include "ai/UOrdAIOrder.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchySupport.h"
#include "orders/FormationOrder.h"
#include "orders/FormationTemplateArray.h"
#include "orders/NodeArray.h"
#include "orders/NodeOrder.h"
#include "orders/UnitOrderArray.h"
#include "platform/core/Unset.h"
#include "platform/ui/Command.h"
#include "shell/PlayService.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"

#include <algorithm>
#include <memory>

using namespace hierarchy;

namespace
{
// The two menus' layouts: the submenus' positions and the first ids.
struct MenuLayout
{
    int nFormationMenu;
    int nMissionMenu;
    int nSOPMenu;  // kUnset: not filled
    UINT nFirstFormation;
    UINT nSBFDefense;
    UINT nPositionArea;
    UINT nFirstMission;
    UINT nFirstSOP;
};
constexpr MenuLayout TREE_MENU = {6, 7, 8, 33167, 33284, 33286, 33229, 33289};
constexpr MenuLayout MAP_MENU = {7, 8, kUnset, 33187, 33287, 33288, 33249, 0};

// At most this many formation, mission or SOP names go into one list.
constexpr int MENU_NAMES_MAX = 20;
// The roles that may support by fire or defend, and those that occupy a
// position area.
constexpr DWORD SBF_DEFENSE_ROLES = 0x72D;
constexpr DWORD POSITION_AREA_ROLES = 0x42;

constexpr DWORD ORDER_BIT_STOP = 0x1;
constexpr DWORD ORDER_BIT_SPRINT = 0x8;
constexpr DWORD ORDER_BIT_MARCH_SPEED = 0x200;

BOOL IsDeployment()
{
    const CPlayService* pPlay = GetPlayService();
    return pPlay != nullptr && pPlay->IsDeploymentPhase();
}

BOOL IsSpecialName(const CString& strName) { return strName == SBF_DEFENSE_NAME || strName == POSITION_AREA_NAME; }

// The template of that name made for the level (a platoon and a company
// template may share a name); null when none.
const CFormationPlatoonTemplate* FindTemplate(const CKDRUnits* pUnits, const CString& strName, int nLevel)
{
    if (pUnits == nullptr || !pUnits->m_bFormations || pUnits->m_pFormations == nullptr)
        return nullptr;
    for (int i = 0; i < pUnits->m_pFormations->GetSize(); ++i)
    {
        const CFormationPlatoonTemplate* pTemplate = pUnits->m_pFormations->GetAt(i);
        if (pTemplate != nullptr && pTemplate->m_strName == strName && pTemplate->GetLevel() == nLevel)
            return pTemplate;
    }
    return nullptr;
}

// Removes the first separator of a menu.
void RemoveSeparator(CMenu* pMenu)
{
    for (int i = 0; i < static_cast<int>(pMenu->GetMenuItemCount()); ++i)
    {
        if (pMenu->GetMenuItemID(i) == 0)
        {
            pMenu->RemoveMenu(static_cast<UINT>(i), MF_BYPOSITION);
            return;
        }
    }
}

// Appends at most MENU_NAMES_MAX names with consecutive ids; FALSE when
// there were none.
BOOL AppendNames(CMenu* pMenu, const CStringArray& names, UINT nFirstId)
{
    const int nCount = std::min(names.GetSize(), MENU_NAMES_MAX);
    for (int i = 0; i < nCount; ++i)
        pMenu->AppendMenu(MF_STRING, nFirstId + static_cast<UINT>(i), names.GetAt(i));
    return nCount > 0;
}

// The mask the AI orders' category masks are compared with: a platoon of
// no category takes every order.
int CategoryMask(int nCategory) { return nCategory > 0 ? nCategory : kUnset; }

int SetPlatoonToggle(CKDRUnits* pUnits, CHierarchyPlatoon* pElement, DWORD dwBit, int nOn, CKDRDatabase* pDatabase,
                     CKDRGameMap* pMap)
{
    CTaskOrgArray units;
    return pUnits->ApplyOrderBitToElement(dwBit, &units, pElement, pDatabase, pMap, nullptr, nullptr, 1, nOn,
                                          kUnsetFloat, kUnsetFloat, kUnsetFloat);
}
}  // namespace

// ---------------------------------------------------------------------------
// Menus

namespace
{
int FillMenu(CHierarchyPlatoon& platoon, CMenu* pMenu, CKDRUnits* pUnits, const MenuLayout& layout)
{
    CMenu* pPopup = pMenu != nullptr ? pMenu->GetSubMenu(0) : nullptr;
    if (pPopup == nullptr || pUnits == nullptr)
        return 0;
    CMenu* pFormations = pPopup->GetSubMenu(layout.nFormationMenu);
    CMenu* pMissions = pPopup->GetSubMenu(layout.nMissionMenu);
    CMenu* pSOPs = layout.nSOPMenu != kUnset ? pPopup->GetSubMenu(layout.nSOPMenu) : nullptr;
    if (pFormations == nullptr || pMissions == nullptr || (layout.nSOPMenu != kUnset && pSOPs == nullptr))
        return 0;
    if (pUnits->m_bFormations && pUnits->m_pFormations != nullptr)
    {
        if (!platoon.m_bActive)
        {
            RemoveSeparator(pFormations);
        }
        else
        {
            if ((platoon.m_dwRoleFlags & SBF_DEFENSE_ROLES) != 0)
                pFormations->InsertMenu(0, MF_BYPOSITION | MF_STRING, layout.nSBFDefense, "&SBF/Defense");
            if ((platoon.m_dwRoleFlags & POSITION_AREA_ROLES) != 0)
                pFormations->InsertMenu(0, MF_BYPOSITION | MF_STRING, layout.nPositionArea, "&Position Area");
            CStringArray names;
            pUnits->m_pFormations->GetNamesForLevel(platoon.GetLevel(), names, platoon.m_nCategory);
            if (!AppendNames(pFormations, names, layout.nFirstFormation))
                RemoveSeparator(pFormations);
        }
    }
    if (pUnits->m_bSOP && pUnits->m_pSOP != nullptr)
    {
        CStringArray names;
        pUnits->m_pSOP->ListAIOrders(names, platoon.GetLevel(), CategoryMask(platoon.m_nCategory),
                                     static_cast<int>(platoon.m_dwRoleFlags));
        if (!platoon.m_bActive || !AppendNames(pMissions, names, layout.nFirstMission))
            RemoveSeparator(pMissions);
        if (pSOPs != nullptr)
        {
            pSOPs->RemoveMenu(0, MF_BYPOSITION);
            if (!AppendNames(pSOPs, names, layout.nFirstSOP))
                pPopup->RemoveMenu(static_cast<UINT>(layout.nSOPMenu), MF_BYPOSITION);
        }
    }
    return 1;
}
}  // namespace

int CHierarchyPlatoon::FillMapMenu(CMenu* pMenu, CKDRUnits* pUnits) { return FillMenu(*this, pMenu, pUnits, MAP_MENU); }

int CHierarchyPlatoon::FillTreeMenu(CMenu* pMenu, CKDRUnits* pUnits)
{
    return FillMenu(*this, pMenu, pUnits, TREE_MENU);
}

// ---------------------------------------------------------------------------
// Formations

int CHierarchyPlatoon::SetFormationByIndex(int nIndex, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    if (m_pOrders == nullptr || pUnits == nullptr || !pUnits->m_bFormations || pUnits->m_pFormations == nullptr)
        return 0;
    CString strName;
    if (nIndex == FORMATION_SBF_DEFENSE || nIndex == FORMATION_POSITION_AREA)
        strName = CUnitOrder::SpecialFormationName(nIndex);
    else if (nIndex < 0)
        return 0;
    else
    {
        CStringArray names;
        pUnits->m_pFormations->GetNamesForLevel(GetLevel(), names, m_nCategory);
        if (nIndex >= names.GetSize())
            return 0;
        strName = names.GetAt(nIndex);
    }
    return SetFormationByName(strName, pUnits, pMap, pDatabase);
}

int CHierarchyPlatoon::SetFormationByName(const CString& strName, CKDRUnits* pUnits, CKDRGameMap* pMap,
                                          CKDRDatabase* pDatabase)
{
    if (m_pOrders == nullptr || pUnits == nullptr)
        return 0;
    float fRefX = kUnsetFloat;
    float fRefY = kUnsetFloat;
    const CUOrdPlatoonFormation* pFormation = m_pOrders->GetFormationOrder();
    if (pFormation != nullptr && pFormation->m_fReferenceX > 0.0f && pFormation->m_fReferenceY > 0.0f)
    {
        fRefX = pFormation->m_fReferenceX;
        fRefY = pFormation->m_fReferenceY;
    }
    else
    {
        int nCount = 0;
        GetAveragePosition(fRefX, fRefY, nCount, pDatabase, pUnits);
    }
    ResetFormation(pUnits, pMap, pDatabase, TRUE);
    if (strName.IsEmpty())
    {
        if (m_pPath != nullptr)
        {
            const CNodeArray copy(*m_pPath);
            ReceivePath(&copy, pUnits, pMap, pDatabase, fRefX, fRefY, FALSE);
        }
    }
    else if (GetLevel() == HIERARCHY_COMPANY && FindTemplate(pUnits, strName, FORMATION_LEVEL_COMPANY) != nullptr)
    {
        pUnits->CreateCompanyFromUnits(strName, this, pMap, pDatabase, fRefX, fRefY);
    }
    else if (FindTemplate(pUnits, strName, FORMATION_LEVEL_PLATOON) != nullptr || IsSpecialName(strName))
    {
        if (GetLevel() == HIERARCHY_PLATOON || IsSpecialName(strName))
            pUnits->CreatePlatoonFromUnits(strName, this, pMap, pDatabase, fRefX, fRefY);
    }
    ResetPath(pUnits);
    return 1;
}

int CHierarchyPlatoon::ResetFormation(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, BOOL bKeepPath)
{
    if (m_pOrders != nullptr && m_pOrders->GetSize() > 0)
    {
        m_pOrders->ClearFormation();
        if (pUnits != nullptr)
            SetPlatoonToggle(pUnits, this, ORDER_BIT_MARCH_SPEED, 0, pDatabase, pMap);
    }
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        CUnit* pUnit = pElement != nullptr ? pElement->GetUnit(pUnits, m_nSide) : nullptr;
        if (pUnit != nullptr)
            pUnit->ApplyFormationNode(pElement->m_bDetached, pDatabase);
    }
    if (m_pPath == nullptr)
        return 1;
    float fX = kUnsetFloat;
    float fY = kUnsetFloat;
    int nCount = 0;
    if (GetAveragePosition(fX, fY, nCount, pDatabase, pUnits) && fX >= 0.0f && fY >= 0.0f)
    {
        if (m_pPath->GetSize() == 0 || m_pPath->GetAt(0) == nullptr)
            m_pPath->ResetToPoint(fX, fY, m_nSide != 0);
        else
        {
            m_pPath->GetAt(0)->m_fX = fX;
            m_pPath->GetAt(0)->m_fY = fY;
        }
    }
    if (!bKeepPath)
    {
        const CNodeArray copy(*m_pPath);
        ReceivePath(&copy, pUnits, pMap, pDatabase, fX, fY, FALSE);
    }
    return 1;
}

void CHierarchyPlatoon::ReapplyFormation(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, float,
                                         float)
{
    const CUOrdPlatoonFormation* pFormation = m_pOrders != nullptr ? m_pOrders->GetFormationOrder() : nullptr;
    if (pFormation == nullptr || pUnits == nullptr)
        return;
    const CString strTemplate = pFormation->m_strTemplate;
    SetFormationByName(strTemplate, pUnits, pMap, pDatabase);
}

int CHierarchyPlatoon::PlaceByFormationTemplate(const CString& strName, CKDRUnits* pUnits, CKDRGameMap* pMap,
                                                CKDRDatabase* pDatabase)
{
    if (strName.IsEmpty() || pUnits == nullptr)
        return 0;
    return pUnits->PlaceFormationFromTemplate(strName, this, pMap, pDatabase);
}

// ---------------------------------------------------------------------------
// AI orders

int CHierarchyPlatoon::IssueAIOrderByName(const CString& strName, const CString& strAlternative, CKDRUnits* pUnits,
                                          CKDRGameMap*, CKDRDatabase*)
{
    if (m_pOrders == nullptr || pUnits == nullptr || !pUnits->m_bSOP)
        return 0;
    const CUOrdAIOrder* pOrder = CKDRUnits::FindAIOrderByName(pUnits->m_pSOP, strName);
    if (pOrder == nullptr)
        pOrder = CKDRUnits::FindAIOrderByName(pUnits->m_pSOP, strAlternative);
    if (pOrder == nullptr || (pOrder->m_nEchelonMask & GetLevel()) == 0)
        return 0;
    float fX = 0.0f;
    float fY = 0.0f;
    GetLeaderPosition(fX, fY, pUnits);
    return pUnits->BeginAIOrderEdit(pOrder, this, fX, fY) != 0 ? 1 : 0;
}

namespace
{
// The name of the AI order at a menu index of the level's list; empty.
CString AIOrderNameAt(const CHierarchyPlatoon& platoon, int nIndex, const CKDRUnits* pUnits)
{
    if (nIndex < 0 || pUnits == nullptr || !pUnits->m_bSOP || pUnits->m_pSOP == nullptr)
        return CString();
    CStringArray names;
    pUnits->m_pSOP->ListAIOrders(names, platoon.GetLevel(), CategoryMask(platoon.m_nCategory),
                                 static_cast<int>(platoon.m_dwRoleFlags));
    return nIndex < names.GetSize() ? names.GetAt(nIndex) : CString();
}
}  // namespace

int CHierarchyPlatoon::IssueAIOrderByIndex(int nIndex, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    const CString strName = AIOrderNameAt(*this, nIndex, pUnits);
    return strName.IsEmpty() ? 0 : IssueAIOrderByName(strName, CString(), pUnits, pMap, pDatabase);
}

int CHierarchyPlatoon::AssignAIOrderByName(const CString& strName, CKDRUnits* pUnits, CKDRGameMap*, CKDRDatabase*)
{
    if (m_pOrders == nullptr || pUnits == nullptr)
        return 0;
    if (strName.IsEmpty())
    {
        RemoveAIOrders();
        return 1;
    }
    const CUOrdAIOrder* pOrder = pUnits->m_bSOP ? CKDRUnits::FindAIOrderByName(pUnits->m_pSOP, strName) : nullptr;
    if (pOrder == nullptr || (pOrder->m_nEchelonMask & GetLevel()) == 0)
        return 0;
    float fX = 0.0f;
    float fY = 0.0f;
    GetLeaderPosition(fX, fY, pUnits);
    return pUnits->AssignAIOrder(pOrder, this, fX, fY) != 0 ? 1 : 0;
}

int CHierarchyPlatoon::AssignAIOrderByIndex(int nIndex, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    if (nIndex < 0)
        return AssignAIOrderByName(CString(), pUnits, pMap, pDatabase);
    const CString strName = AIOrderNameAt(*this, nIndex, pUnits);
    return strName.IsEmpty() ? 0 : AssignAIOrderByName(strName, pUnits, pMap, pDatabase);
}

int CHierarchyPlatoon::SetAIOrder(const CUOrdAIOrder* pOrder, CKDRUnits*, CKDRGameMap*, CKDRDatabase*, CKDRObstacles*,
                                  CKDRHoles*)
{
    if (pOrder == nullptr || m_pOrders == nullptr)
        return 0;
    RecordAIOrderGiven(pOrder);
    // The same order already running goes on as it is.
    const CUOrdAIOrder* pCurrent = m_pOrders->GetAIOrder();
    if (pCurrent != nullptr && pCurrent->m_strName == pOrder->m_strName)
        return 1;
    m_pOrders->RemoveAIOrders();
    // Starting it is the AI order's own per-pass step.
    return m_pOrders->SetAIOrder(pOrder) != nullptr ? 1 : 0;
}

// ---------------------------------------------------------------------------
// Paths

int CHierarchyPlatoon::ExecutePath(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, float fX, float fY,
                                   BOOL bNoReformation)
{
    if (pUnits == nullptr || pMap == nullptr || pDatabase == nullptr || m_pPath == nullptr)
        return 0;
    BOOL* pPresent = nullptr;
    const CHierarchyArray* pHierarchy = pUnits->GetHierarchyArray(m_nSide, pPresent);
    const BOOL bFresh = !m_pPath->m_bAdding && !m_pPath->m_bMoving && pHierarchy != nullptr && pPresent != nullptr &&
                        *pPresent;
    const CNode* pFirst = m_pPath->GetSize() > 0 ? m_pPath->GetAt(0) : nullptr;
    const BOOL bFirstStop = pFirst != nullptr && pFirst->HasStop();
    BOOL bHandOut = TRUE;
    if (bFresh)
    {
        if (!bNoReformation)
            SetPlatoonToggle(pUnits, this, ORDER_BIT_MARCH_SPEED, 0, pDatabase, pMap);
        const CUOrdPlatoonFormation* pFormation = m_pOrders != nullptr ? m_pOrders->GetFormationOrder() : nullptr;
        if (pFormation != nullptr && m_pPath->GetSize() > 0)
        {
            const BOOL bSpecial = pFormation->IsSpecial();
            if (!(bSpecial && !IsDeployment()))
            {
                bHandOut = FALSE;
                if (!bNoReformation)
                {
                    const CString strTemplate = pFormation->m_strTemplate;
                    SetFormationByName(strTemplate, pUnits, pMap, pDatabase);
                }
            }
            if (bSpecial && !bFirstStop)
                StopUnits(pUnits, pDatabase);
        }
    }
    if (bHandOut)
    {
        // Every unit takes the path from its own place.
        const float fStartX = pFirst != nullptr ? pFirst->m_fX : 0.0f;
        const float fStartY = pFirst != nullptr ? pFirst->m_fY : 0.0f;
        for (int i = 0; i < GetSize(); ++i)
        {
            const CHierarchyElement* pElement = GetElement(i);
            if (pElement == nullptr || !pElement->IsAvailable())
                continue;
            CUnit* pUnit = pElement->GetUnit(pUnits, m_nSide);
            if (!IsLiveUncarried(pUnit))
                continue;
            pUnit->m_pPath->ResetToPoint(pUnit->m_fX, pUnit->m_fY, m_nSide != 0);
            pUnit->PlaceInFormation(m_pPath, pUnit->m_fX - fStartX, pUnit->m_fY - fStartY, pMap);
            pUnit->SyncStopWithPath(pDatabase);
        }
        if (m_pOrders != nullptr)
            m_pOrders->RemoveConditionalStarts(kUnset);
        if (m_pPath->GetSize() > 0)
        {
            CTaskOrgArray units;
            FillUnitList(&units, FALSE);
            pUnits->ToggleOrderForSelection(&units, ORDER_BIT_STOP, pDatabase, pMap, TRUE, bFirstStop, fX, fY,
                                            kUnsetFloat);
            if (m_pPath->GetSize() > 1 && !bFirstStop)
            {
                if (!bNoReformation)
                    SetPlatoonToggle(pUnits, this, ORDER_BIT_MARCH_SPEED, 1, pDatabase, pMap);
                SetPlatoonToggle(pUnits, this, ORDER_BIT_SPRINT, 0, pDatabase, pMap);
            }
        }
    }
    SetSymbolStopped(bFirstStop);
    return 1;
}

int CHierarchyPlatoon::PlanPath(const CNodeArray* pPath, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                                float fX, float fY)
{
    if (pPath == nullptr || pPath->GetSize() == 0 || pPath == m_pPath)
        return 0;
    delete m_pPath;
    m_pPath = new CNodeArray(*pPath);
    return ExecutePath(pUnits, pMap, pDatabase, fX, fY, FALSE);
}

int CHierarchyPlatoon::ReceivePath(const CNodeArray* pPath, CKDRUnits* pUnits, CKDRGameMap* pMap,
                                   CKDRDatabase* pDatabase, float fX, float fY, BOOL bFromStart)
{
    float fPosX = kUnsetFloat;
    float fPosY = kUnsetFloat;
    GetPosition(fPosX, fPosY, pUnits);
    if (pPath == nullptr || m_pPath == nullptr || fPosX < 0.0f || fPosY < 0.0f)
        return 0;
    const CNodeArray given(*pPath);  // the given path may be this one
    const BOOL bCopied =
        bFromStart ? m_pPath->CopyWithStart(given, fPosX, fPosY, pMap) : m_pPath->CopyOffset(given, fPosX, fPosY, pMap);
    if (!bCopied)
        return 0;
    return ExecutePath(pUnits, pMap, pDatabase, fX, fY, FALSE);
}

int CHierarchyPlatoon::ShiftPath(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, float fX2, float fY2,
                                 BOOL bSkip)
{
    if (pUnits == nullptr || pMap == nullptr || pDatabase == nullptr || m_pPath == nullptr ||
        m_pPath->GetSize() == 0 || m_pPath->GetAt(0) == nullptr)
        return 0;
    if (bSkip)
        return 1;
    float fX = kUnsetFloat;
    float fY = kUnsetFloat;
    // A platoon without a position keeps its path where it is.
    if (!GetPosition(fX, fY, pUnits))
        return 0;
    float fWidth = 0.0f;
    float fHeight = 0.0f;
    if (CNodeArray::GetMapSize(pMap, fWidth, fHeight))
    {
        fX = std::clamp(fX, 0.0f, fWidth);
        fY = std::clamp(fY, 0.0f, fHeight);
    }
    const double dBefore = m_pPath->GetFirstLegHeading();
    m_pPath->Offset(fX - m_pPath->GetAt(0)->m_fX, fY - m_pPath->GetAt(0)->m_fY, pMap);
    const double dAfter = m_pPath->GetFirstLegHeading();
    const CUOrdPlatoonFormation* pFormation = m_pOrders != nullptr ? m_pOrders->GetFormationOrder() : nullptr;
    const BOOL bSpecial = pFormation != nullptr && pFormation->IsSpecial();
    if (dBefore == dAfter && !bSpecial)
    {
        RestartAIOrder(pUnits, pMap, pDatabase, nullptr, nullptr);
        return 1;
    }
    return ExecutePath(pUnits, pMap, pDatabase, fX2, fY2, FALSE);
}

int CHierarchyPlatoon::StopUnits(CKDRUnits* pUnits, CKDRDatabase* pDatabase)
{
    if (pUnits == nullptr)
        return 0;
    CTaskOrgArray units;
    FillUnitList(&units, TRUE);
    for (int i = 0; i < units.GetSize(); ++i)
    {
        const CTaskOrg* pEntry = units.GetAt(i);
        if (pEntry == nullptr)
            continue;
        if (pEntry->GetType() == TASKORG_KIND_UNIT)
        {
            if (CUnit* pUnit = pUnits->GetUnit(pEntry->m_nUnit, pEntry->m_nArray, m_nSide))
                pUnit->Stop(pDatabase);
            continue;
        }
        const auto* pNamed = dynamic_cast<const CHierarchyTaskOrg*>(pEntry);
        CHierarchyPlatoon* pGroup = pNamed != nullptr ? pUnits->FindElementByName(pNamed->m_strName) : nullptr;
        if (pGroup == nullptr)
            continue;
        if (pGroup->m_pPath != nullptr && pGroup->m_pPath->GetSize() > 0 && pGroup->m_pPath->GetAt(0) != nullptr)
            pGroup->m_pPath->GetAt(0)->SetStartTime(pGroup->m_nSide != 0, CTimeSpan(START_TIME_HOLD_REQUEST));
        pGroup->SetSymbolStopped(TRUE);
    }
    return 1;
}

int CHierarchyPlatoon::ClearStops(CKDRUnits* pUnits)
{
    int nCleared = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr || !pElement->IsAvailable())
            continue;
        CUnit* pUnit = pElement->GetUnit(pUnits, m_nSide);
        if (!IsLiveUncarried(pUnit) || pUnit->m_pPath->GetSize() == 0 || pUnit->m_pPath->GetAt(0) == nullptr ||
            !pUnit->m_pPath->GetAt(0)->HasStop())
            continue;
        pUnit->ClearStop(nullptr, FALSE);
        nCleared = 1;
    }
    return nCleared;
}

float CHierarchyPlatoon::SumDefaultSuppressRadius(CKDRUnits* pUnits, CKDRDatabase* pDatabase, float, float) const
{
    float fSum = 0.0f;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHierarchyElement* pElement = GetElement(i);
        const CUnit* pUnit =
            pElement != nullptr && pElement->IsAvailable() ? pElement->GetUnit(pUnits, m_nSide) : nullptr;
        if (pUnit != nullptr)
            fSum += pUnit->GetDefaultSuppressRadius(pDatabase);
    }
    return fSum;
}

int CHierarchyPlatoon::GetUnitListValue(int, CKDRUnits* pUnits, CKDRDatabase* pDatabase)
{
    if (pUnits == nullptr)
        return 0;
    CTaskOrgArray units;
    FillUnitList(&units, FALSE);
    return pUnits->GetUnitListVehicleValue(&units, pDatabase);
}

// ---------------------------------------------------------------------------
// Node orders and node formations

namespace
{
// Whether a node formation names a template of the level or a special
// formation (an empty name clears the formation).
BOOL FormationFits(const CKDRUnits* pUnits, const CString& strName, int nLevel)
{
    return strName.IsEmpty() || IsSpecialName(strName) || FindTemplate(pUnits, strName, nLevel) != nullptr;
}
}  // namespace

int CHierarchyPlatoon::ApplyNodeOrders(CNode* pNode, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    if (pNode == nullptr || pNode->m_pOrders == nullptr || pUnits == nullptr)
        return 0;
    CNodeOrderArray* pOrders = pNode->m_pOrders;
    for (int i = pOrders->GetSize() - 1; i >= 0; --i)
    {
        const auto* pToggle = dynamic_cast<const CNOrdToggleOrder*>(pOrders->GetAt(i));
        if (pToggle == nullptr)
            continue;
        const DWORD dwBit = pToggle->m_dwToggle;
        const int nOn = pToggle->m_bOn ? 1 : 0;
        pOrders->RemoveAt(i);
        SetPlatoonToggle(pUnits, this, dwBit, nOn, pDatabase, pMap);
    }
    for (int i = 0; i < pOrders->GetSize(); ++i)
    {
        const auto* pFormation = dynamic_cast<const CNOrdFormationOrder*>(pOrders->GetAt(i));
        if (pFormation == nullptr || !FormationFits(pUnits, pFormation->m_strFormation, GetLevel()))
            continue;
        const CString strName = pFormation->m_strFormation;
        SetFormationByName(strName, pUnits, pMap, pDatabase);
        return 1;
    }
    return 1;
}

int CHierarchyPlatoon::ApplyNodeFormations(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                                           CKDRObstacles*, CKDRHoles*)
{
    if (pUnits == nullptr || m_pPath == nullptr)
        return 0;
    if (m_pOrders == nullptr || m_pOrders->GetFormationOrder() == nullptr)
    {
        const CUnit* pLead = GetLeadUnit(pUnits);
        if (pLead != nullptr && pLead->m_pPath != nullptr && pLead->m_pPath->GetSize() > 0)
        {
            CNode* pLeadFirst = pLead->m_pPath->GetAt(0);
            const CNodeOrder* pNodeFormation =
                pLeadFirst != nullptr ? pLeadFirst->m_pOrders->FindOfType(NORD_FORMATION) : nullptr;
            const auto* pFormation = dynamic_cast<const CNOrdFormationOrder*>(pNodeFormation);
            // Only a lead node that carries a formation costs a copy.
            if (pFormation != nullptr && FormationFits(pUnits, pFormation->m_strFormation, GetLevel()))
            {
                const CString strName = pFormation->m_strFormation;
                m_pPath->RemoveAll();
                m_pPath->AppendFrom(*pLead->m_pPath);
                auto pSecond = std::make_unique<CNodeArray>(*pLead->m_pPath);
                // The lead vehicle's own node keeps no formation to meet again.
                pLeadFirst->m_pOrders->RemoveOfType(NORD_FORMATION);
                pSecond->GetAt(0)->m_pOrders->RemoveOfType(NORD_FORMATION);
                SetFormationByName(strName, pUnits, pMap, pDatabase);
                ReceivePath(pSecond.get(), pUnits, pMap, pDatabase, kUnsetFloat, kUnsetFloat, FALSE);
                return 1;
            }
        }
    }
    ResetPath(pUnits);
    return 1;
}

// ---------------------------------------------------------------------------
// Recalling detached elements

void CHierarchyPlatoon::GiveRouteToElement(CHierarchyElement* pElement, CKDRUnits* pUnits, CKDRGameMap* pMap,
                                           CKDRDatabase* pDatabase)
{
    CUnit* pUnit = pElement != nullptr ? pElement->GetUnit(pUnits, m_nSide) : nullptr;
    if (pUnit == nullptr || m_pOrders == nullptr)
        return;
    // The unit takes the platoon's toggles.
    for (int i = 0; i < m_pOrders->GetSize(); ++i)
    {
        const CUnitOrder* pOrder = m_pOrders->GetAt(i);
        if (pOrder == nullptr || (pOrder->GetOrderType() & UORD_TOGGLE) == 0)
            continue;
        const int nToggle = CUnitOrder::OrderCodeToToggle(pOrder->GetOrderType());
        if (nToggle > 0 && static_cast<DWORD>(nToggle) != ORDER_BIT_MARCH_SPEED)
            pUnit->SetOrderState(static_cast<DWORD>(nToggle), pDatabase, TRUE, FALSE);
    }
    if (m_pOrders->GetFormationOrder() == nullptr && HasPath())
    {
        pUnit->SetRoute(m_pPath, pDatabase, pMap, FALSE);
        if (HasOrderOfType(ORDER_BIT_MARCH_SPEED))
            SetPlatoonToggle(pUnits, this, ORDER_BIT_MARCH_SPEED, 1, pDatabase, pMap);
    }
}

int CHierarchyPlatoon::RecallDetached(CHierarchyArray* pHierarchy, CKDRUnits* pUnits, CKDRGameMap* pMap,
                                      CKDRDatabase* pDatabase, int)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyElement* pElement = GetElement(i);
        if (pElement != nullptr && pElement->m_bDetached && pElement->Refresh(pHierarchy, pUnits, GetLevel()) == 1)
            GiveRouteToElement(pElement, pUnits, pMap, pDatabase);
    }
    RefreshUnitLists(pUnits);
    ResetPath(pUnits);
    return 1;
}

int CHierarchyPlatoon::RecallAllDetached(CHierarchyArray* pHierarchy, CKDRUnits* pUnits, CKDRGameMap* pMap,
                                         CKDRDatabase* pDatabase, int nLevel)
{
    const int nResult = RecallDetached(pHierarchy, pUnits, pMap, pDatabase, nLevel);
    ReapplyFormation(pUnits, pMap, pDatabase, kUnsetFloat, kUnsetFloat);
    return nResult;
}

int CHierarchyPlatoon::RecallDetachedByName(const CString& strName, CHierarchyArray* pHierarchy, CKDRUnits* pUnits,
                                            CKDRGameMap* pMap, CKDRDatabase* pDatabase, int)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CHierarchyElement* pElement = GetElement(i);
        if (pElement == nullptr || pElement->m_strName != strName)
            continue;
        const int nResult = pElement->Refresh(pHierarchy, pUnits, GetLevel());
        if (nResult == 1)
        {
            GiveRouteToElement(pElement, pUnits, pMap, pDatabase);
            RefreshUnitLists(pUnits);
            ResetPath(pUnits);
            ReapplyFormation(pUnits, pMap, pDatabase, kUnsetFloat, kUnsetFloat);
        }
        return nResult;
    }
    return 0;
}
