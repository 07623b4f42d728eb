// The document facade over the units' orders: orders for selections,
// platoons and companies, fire controls, hierarchy elements by name, the
// network records, the AI-order editor and the stored groups.

#include "app/KDRDocFacade.h"

#include "battlefield/FireMissionArray.h"
#include "battlefield/KDRHoles.h"
#include "battlefield/KDRObstacles.h"
#include "database/KDRDatabase.h"
#include "orders/NodeArray.h"
#include "orders/UnitOrderKinds.h"
#include "units/Unit.h"

using namespace doc_facade;

namespace
{
// Order bits of the units' toggle.
constexpr DWORD ORDER_BIT_FOLLOW_UP = 1;
constexpr DWORD ORDER_BIT_FIRE_CONTROL = 128;
constexpr DWORD ORDER_BIT_FIRE_CONTROL_SECOND = 256;
constexpr DWORD ORDER_BIT_MARCH_SPEED = 512;
constexpr DWORD ORDER_BIT_DISMOUNT = 32768;
constexpr DWORD ORDER_BIT_SUPPRESS = 65536;
}  // namespace

// ---------------------------------------------------------------------------
// Units: orders

int CKDRDoc::SetSelectionTACSOP(int nItem)
{
    auto c = Ready(*this);
    return c ? Modified(*this, c.pUnits->SetSelectionTACSOP(nItem, c.pMap, c.pDatabase)) : 0;
}

int CKDRDoc::SetSelectionMission(int nMission)
{
    auto c = Ready(*this);
    return c ? Modified(*this, c.pUnits->SetSelectionMission(nMission, c.pMap, c.pDatabase)) : 0;
}

int CKDRDoc::SetCompanyFormation(int nFormation)
{
    auto c = Ready(*this);
    return c ? Modified(*this, c.pUnits->SetCompanyFormation(nFormation, c.pMap, c.pDatabase)) : 0;
}

int CKDRDoc::SetPlatoonFormation(int nFormation)
{
    auto c = Ready(*this);
    return c ? Modified(*this, c.pUnits->SetPlatoonFormation(nFormation, c.pMap, c.pDatabase)) : 0;
}

int CKDRDoc::ApplyOrderToPlatoon(int nOrder)
{
    auto c = Ready(*this);
    return c ? Modified(*this, c.pUnits->ApplyOrderToPlatoon(nOrder, c.pMap, c.pDatabase)) : 0;
}

int CKDRDoc::ApplyOrderToCompany(int nOrder)
{
    auto c = Ready(*this);
    return c ? Modified(*this, c.pUnits->ApplyOrderToCompany(nOrder, c.pMap, c.pDatabase)) : 0;
}

int CKDRDoc::IssueElementOrder(CHierarchyPlatoon* pElement, int nOrder)
{
    auto c = Ready(*this);
    if (!c)
        return 0;
    return Modified(*this,
                    c.pUnits->IssueElementOrder(pElement, nOrder, c.pMap, c.pDatabase, GetObstacles(), GetHoles()));
}

int CKDRDoc::IssueElementOrderB(CHierarchyPlatoon* pElement, int nOrder)
{
    auto c = Ready(*this);
    if (!c)
        return 0;
    return Modified(*this,
                    c.pUnits->IssueElementOrderB(pElement, nOrder, c.pMap, c.pDatabase, GetObstacles(), GetHoles()));
}

int CKDRDoc::ApplyCompanyOrderFromElement(CHierarchyPlatoon* pElement)
{
    auto c = Ready(*this);
    if (!c || pElement == nullptr)
        return 0;
    std::unique_ptr<CTaskOrgArray> pList = UnitsOfElement(pElement);
    return c.pUnits->ApplyOrderToElement(pList.get(), ORDER_BIT_MARCH_SPEED, c.pMap, c.pDatabase, GetObstacles(),
                                         GetHoles(), kUnsetFloat, kUnsetFloat, kUnsetFloat);
}

int CKDRDoc::ToggleOrderBitForList(const CTaskOrgArray* pList, DWORD dwBit, float fX, float fY, BOOL bUnitsToo)
{
    auto c = Ready(*this);
    if (!c || pList == nullptr)
        return 0;
    CHierarchyArray hierarchy(pList, c.pUnits);
    int nResult = 0;
    if (hierarchy.GetSize() == 0)
    {
        nResult = c.pUnits->ToggleOrderForSelection(pList, dwBit, fX, fY, c.pMap, c.pDatabase);
    }
    else
    {
        // Each platoon and company of the grouping takes the toggle order.
        for (int i = 0; i < hierarchy.GetSize(); ++i)
        {
            int nState = 1;
            if (CHierarchyPlatoon* pContainer = AsContainer(hierarchy.GetChild(i)))
                nResult |= pContainer->ToggleStandingOrder(dwBit, &nState, FALSE);
        }
        if (bUnitsToo)
        {
            CTaskOrgArray units;
            hierarchy.FillUnitList(&units, FALSE);
            units.m_nSide = pList->m_nSide;
            nResult = c.pUnits->ToggleOrderForSelection(&units, dwBit, fX, fY, c.pMap, c.pDatabase);
            if (dwBit == ORDER_BIT_FOLLOW_UP)
                c.pUnits->FollowUpOrderToggle(&units, c.pMap, c.pDatabase);
        }
    }
    return MovedUnits(*this, nResult);
}

int CKDRDoc::ToggleDismountForList(const CTaskOrgArray* pList)
{
    return ToggleOrderBitForList(pList, ORDER_BIT_DISMOUNT, kUnsetFloat, kUnsetFloat);
}

int CKDRDoc::ToggleSuppressForElement(CHierarchyPlatoon* pElement)
{
    if (!Ready(*this) || pElement == nullptr)
        return 0;
    std::unique_ptr<CTaskOrgArray> pList = UnitsOfElement(pElement);
    return Modified(*this, ToggleOrderBitForList(pList.get(), ORDER_BIT_SUPPRESS, kUnsetFloat, kUnsetFloat));
}

int CKDRDoc::ToggleFireControlForElement(CHierarchyPlatoon* pElement, BOOL bSecond)
{
    auto c = Ready(*this);
    if (!c || pElement == nullptr)
        return 0;
    std::unique_ptr<CTaskOrgArray> pList = UnitsOfElement(pElement);
    return c.pUnits->ToggleOrderForSelection(pList.get(),
                                             bSecond ? ORDER_BIT_FIRE_CONTROL_SECOND : ORDER_BIT_FIRE_CONTROL,
                                             kUnsetFloat, kUnsetFloat, c.pMap, c.pDatabase);
}

int CKDRDoc::PasteUnits(CTaskOrgArray* pSelection, float fX, float fY)
{
    auto c = Ready(*this);
    if (!c)
        return 0;
    return MovedUnits(*this, c.pUnits->PasteUnits(pSelection, fX, fY, c.pMap, c.pDatabase, GetObstacles(), GetHoles()));
}

int CKDRDoc::DismountUnits(CTaskOrgArray* pSelection)
{
    auto c = Ready(*this);
    return c ? MovedUnits(*this, c.pUnits->DismountUnits(pSelection, c.pMap, c.pDatabase)) : 0;
}

int CKDRDoc::AssignUnitRoute(int nUnit, int nArray, int nKind)
{
    auto c = Ready(*this);
    return c ? MovedUnits(*this, c.pUnits->AssignUnitRoute(nUnit, nArray, nKind, c.pMap, c.pDatabase)) : 0;
}

int CKDRDoc::MountSelectionOnCarrier(CTaskOrgArray* pCarried, CTaskOrgArray* pCarrier)
{
    auto c = Ready(*this);
    CKDRApp* pApp = GetKDRApp();
    if (!c || pApp == nullptr || pCarried == nullptr || pCarrier == nullptr)
        return 0;
    int nResult = 0;
    if (!pApp->IsDeploymentPhase())
    {
        CHierarchyArray carried(pCarried, c.pUnits);
        CHierarchyArray carrier(pCarrier, c.pUnits);
        CUOrdMount order;
        nResult = c.pUnits->IssueMountOrder(&carried, &carrier, &order, c.pMap, c.pDatabase);
    }
    else
    {
        nResult = c.pUnits->MountUnits(pCarried, pCarrier, c.pMap, c.pDatabase);
        if (nResult)
        {
            // The platoons that lost or gained units stand in formation again.
            CHierarchyArray affected(pCarried, c.pUnits);
            for (int i = 0; i < affected.GetSize(); ++i)
            {
                if (CHierarchyPlatoon* pPlatoon = AsContainer(affected.GetChild(i)))
                    pPlatoon->ReapplyFormation();
            }
        }
    }
    return MovedUnits(*this, nResult);
}

int CKDRDoc::DeployMinesAtPoint(CTaskOrgArray* pSelection, float fX, float fY)
{
    auto c = Ready(*this);
    return c ? c.pUnits->DeployMinesAtPoint(pSelection, fX, fY, c.pMap, c.pDatabase) : 0;
}

int CKDRDoc::UploadAtPoint(CTaskOrgArray* pSelection, float fX, float fY)
{
    auto c = Ready(*this);
    return c ? c.pUnits->UploadAtPoint(pSelection, fX, fY, c.pMap, c.pDatabase) : 0;
}

int CKDRDoc::AssignFireMissionAtPoint(CTaskOrgArray* pSelection, float fX, float fY)
{
    auto c = Ready(*this);
    return c ? c.pUnits->AssignFireMissionAtPoint(pSelection, fX, fY, c.pMap, c.pDatabase) : 0;
}

namespace
{
// The unit of a fire-control operation: units and database present.
CUnit* FireControlUnit(CKDRDoc& doc, int nUnit, int nArray, int nKind)
{
    CKDRUnits* pUnits = doc.GetUnits();
    if (pUnits == nullptr || doc.GetDatabase() == nullptr)
        return nullptr;
    return pUnits->GetUnit(nUnit, nArray, nKind);
}

// Calls fn for every plain entry's unit of a selection; the number of
// successes.
template <class Fn>
int ForSelectionUnits(CKDRDoc& doc, const CTaskOrgArray* pSelection, Fn fn)
{
    CKDRUnits* pUnits = doc.GetUnits();
    if (pUnits == nullptr || doc.GetDatabase() == nullptr || pSelection == nullptr)
        return 0;
    int nDone = 0;
    for (int i = 0; i < pSelection->GetSize(); ++i)
    {
        const CTaskOrg* pEntry = pSelection->GetAt(i);
        if (pEntry == nullptr || pEntry->GetType() != 0)
            continue;
        if (CUnit* pUnit = pUnits->GetUnit(pEntry->m_nUnit, pEntry->m_nArray, pSelection->m_nSide))
            nDone += fn(pUnit) ? 1 : 0;
    }
    return nDone;
}
}  // namespace

int CKDRDoc::AssignFireMissionTarget(int nUnit, int nArray, int nKind, float fX, float fY)
{
    CUnit* pUnit = FireControlUnit(*this, nUnit, nArray, nKind);
    return pUnit != nullptr ? Modified(*this, pUnit->AssignFireMissionTarget(fX, fY, GetDatabase())) : 0;
}

int CKDRDoc::DeleteFireControl(int nUnit, int nArray, int nKind)
{
    CUnit* pUnit = FireControlUnit(*this, nUnit, nArray, nKind);
    return pUnit != nullptr ? Modified(*this, pUnit->DeleteFireControl()) : 0;
}

int CKDRDoc::DeleteFireControlOfSelection(const CTaskOrgArray* pSelection)
{
    return Modified(*this,
                    ForSelectionUnits(*this, pSelection, [](CUnit* pUnit) { return pUnit->DeleteFireControl(); }));
}

int CKDRDoc::PasteFireControlToSelection(const CTaskOrgArray* pSelection)
{
    CKDRDatabase* pDatabase = GetDatabase();
    return Modified(*this, ForSelectionUnits(*this, pSelection,
                                             [pDatabase](CUnit* pUnit) { return pUnit->PasteFireControl(pDatabase); }));
}

BOOL CKDRDoc::RefreshFireMissionLog()
{
    auto c = Ready(*this);
    if (!c || GetFireMissions() == nullptr)
        return FALSE;
    c.pUnits->RefreshFireMissionLog(c.pMap, GetFireMissions());
    return TRUE;
}

// ---------------------------------------------------------------------------
// Units: the one-unit operations of the map's clicks and drags

namespace
{
// The unit of a one-unit operation: units, database and game map present.
CUnit* ReadyUnit(CKDRDoc& doc, int nUnit, int nArray, int nKind)
{
    auto c = Ready(doc);
    return c ? c.pUnits->GetUnit(nUnit, nArray, nKind) : nullptr;
}

// The unit's path becomes a copy of the given one, its halt agreeing with
// the new first node.
int GiveUnitPath(CUnit* pUnit, const CNodeArray* pPath, CKDRDatabase* pDatabase)
{
    return pUnit != nullptr && pUnit->SetPath(pPath, pDatabase) == 0 ? 1 : 0;
}

int GiveElementPath(CKDRUnits* pUnits, const CString& strElement, const CNodeArray* pPath)
{
    CHierarchyPlatoon* pElement = pUnits != nullptr ? pUnits->FindElementByName(strElement) : nullptr;
    if (pElement == nullptr || pPath == nullptr || pPath->GetSize() == 0)
        return 0;
    delete pElement->m_pPath;
    pElement->m_pPath = new CNodeArray(*pPath);
    return 1;
}
}  // namespace

BOOL CKDRDoc::ApplyOrderToSelection(int nUnit, int nArray, int nKind, DWORD dwBit)
{
    CUnit* pUnit = ReadyUnit(*this, nUnit, nArray, nKind);
    if (pUnit == nullptr)
        return FALSE;
    const BOOL bHas = pUnit->HasOrder(dwBit);
    if (!pUnit->SetOrderState(dwBit, GetDatabase(), !bHas, bHas))
        return FALSE;
    return MovedUnits(*this, TRUE);
}

int CKDRDoc::DragUnit(int nUnit, int nArray, int nKind, float fX, float fY, BOOL bMoving)
{
    auto c = Ready(*this);
    if (!c || !c.pUnits->DragUnit(nUnit, nArray, nKind, fX, fY, c.pMap, c.pDatabase))
        return 0;
    return bMoving ? Modified(*this, 1) : MovedUnits(*this, 1);
}

int CKDRDoc::EndUnitDrag(CTaskOrgArray* pSelection, float fFromX, float fFromY, float fToX, float fToY, BOOL bFinal)
{
    auto c = Ready(*this);
    if (!c || pSelection == nullptr)
        return 0;
    const int nResult = c.pUnits->MoveSelectionBy(pSelection, fFromX, fFromY, fToX, fToY, c.pMap, c.pDatabase);
    return bFinal ? MovedUnits(*this, nResult) : Modified(*this, nResult);
}

int CKDRDoc::SetUnitPathFromClick(float fX, float fY, int nUnit, int nArray, int nKind, int nMaxRange)
{
    CUnit* pUnit = ReadyUnit(*this, nUnit, nArray, nKind);
    return pUnit != nullptr ? Modified(*this, pUnit->SetFireControlAtPoint(fX, fY, nMaxRange == 1, GetDatabase())) : 0;
}

int CKDRDoc::ResetUnitPath(int nUnit, int nArray, int nKind, int nControl)
{
    CUnit* pUnit = ReadyUnit(*this, nUnit, nArray, nKind);
    return pUnit != nullptr ? Modified(*this, pUnit->ClearFireControl(nControl, GetDatabase())) : 0;
}

int CKDRDoc::SetSuppressAreaAt(float fX, float fY, int nUnit, int nArray, int nKind)
{
    CUnit* pUnit = ReadyUnit(*this, nUnit, nArray, nKind);
    return pUnit != nullptr ? Modified(*this, pUnit->SetSuppressAreaAt(fX, fY, GetDatabase())) : 0;
}

int CKDRDoc::ClearSuppressArea(int nUnit, int nArray, int nKind)
{
    CUnit* pUnit = ReadyUnit(*this, nUnit, nArray, nKind);
    return pUnit != nullptr ? Modified(*this, pUnit->ClearSuppressArea()) : 0;
}

int CKDRDoc::ClearUnitMarchSpeed(int nUnit, int nArray, int nKind)
{
    CUnit* pUnit = ReadyUnit(*this, nUnit, nArray, nKind);
    if (pUnit == nullptr)
        return 0;
    pUnit->ClearMarchSpeed();
    return Modified(*this, 1);
}

int CKDRDoc::CancelPathEdit(int nUnit, int nArray, int nKind, const CNodeArray* pPath)
{
    return Modified(*this, GiveUnitPath(ReadyUnit(*this, nUnit, nArray, nKind), pPath, GetDatabase()));
}

int CKDRDoc::PasteOrdersToUnit(const CNodeArray* pPath, int nUnit, int nArray, int nKind, BOOL)
{
    return Modified(*this, GiveUnitPath(ReadyUnit(*this, nUnit, nArray, nKind), pPath, GetDatabase()));
}

int CKDRDoc::ToggleUnitOverlay(const CString& strElement, const CNodeArray* pPath)
{
    return Ready(*this) ? Modified(*this, GiveElementPath(GetUnits(), strElement, pPath)) : 0;
}

int CKDRDoc::ApplyElementPathEdit(const CString& strElement, const CNodeArray* pPath, BOOL)
{
    return Ready(*this) ? Modified(*this, GiveElementPath(GetUnits(), strElement, pPath)) : 0;
}

int CKDRDoc::PastePathToUnit(int nUnit, int nArray, int nKind, const CNodeArray& path, BOOL bInColumn)
{
    CUnit* pUnit = ReadyUnit(*this, nUnit, nArray, nKind);
    if (pUnit == nullptr || path.GetSize() == 0)
        return 0;
    return Modified(*this, pUnit->SetRoute(&path, GetDatabase(), GetGameMap(), bInColumn));
}

int CKDRDoc::PasteFireControl(int nUnit, int nArray, int nKind, BOOL bMaxRangeSet, int nMaxRange, BOOL bFieldOfFireSet,
                              int nRightLimit, int nLeftLimit)
{
    CUnit* pUnit = ReadyUnit(*this, nUnit, nArray, nKind);
    if (pUnit == nullptr)
        return 0;
    return Modified(*this, pUnit->SetFireControls(bMaxRangeSet, nMaxRange, bFieldOfFireSet, nLeftLimit, nRightLimit));
}

// ---------------------------------------------------------------------------
// Units: hierarchy elements by name

CNodeArray* CKDRDoc::ResetElementPath(const CString& strName)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return nullptr;
    CHierarchyPlatoon* pElement = pUnits->FindElementByName(strName);
    if (pElement == nullptr)
        return nullptr;
    pElement->ResetPath(pUnits);
    return pElement->m_pPath;
}

BOOL CKDRDoc::GetElementPoint(const CString& strName, float& fX, float& fY)
{
    fX = kUnsetFloat;
    fY = kUnsetFloat;
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return FALSE;
    CHierarchyPlatoon* pElement = pUnits->FindElementByName(strName);
    return pElement != nullptr && pElement->GetPosition(fX, fY, pUnits);
}

CHierarchyPlatoon* CKDRDoc::GetSelectedElement(const CString& strName)
{
    CKDRUnits* pUnits = GetUnits();
    return pUnits != nullptr ? pUnits->FindElementByName(strName) : nullptr;
}

BOOL CKDRDoc::ApplyIconStyle(int nIconStyle)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return FALSE;
    pUnits->RebuildUnitSymbols(nIconStyle == ICON_STYLE_NATO, GetDatabase());
    return TRUE;
}

BOOL CKDRDoc::ApplyIconSize(float fIconSize)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return FALSE;
    pUnits->SetUnitSpriteValue(fIconSize);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Units: network, AI orders, windows and groups

int CKDRDoc::SendUnitsUpdate() { return AskUnits(*this, 0, &CKDRUnits::SendUnitsUpdate); }

int CKDRDoc::CaptureUnitsUpdate(const BYTE* pData, int nLength)
{
    auto c = Ready(*this);
    return c ? c.pUnits->CaptureUnitsUpdate(pData, nLength, c.pMap, c.pDatabase) : 0;
}

int CKDRDoc::ReceiveShotsFired(const BYTE* pData, int nLength)
{
    auto c = Ready(*this);
    return c ? c.pUnits->ReceiveShotsFired(pData, nLength, c.pMap, c.pDatabase) : 0;
}

int CKDRDoc::ReceiveUnitDestroyed(const BYTE* pData, int nLength)
{
    auto c = Ready(*this);
    return c ? c.pUnits->ReceiveUnitDestroyed(pData, nLength, c.pMap, c.pDatabase) : 0;
}

int CKDRDoc::ApplyAIOrderSheet() { return AskUnits(*this, 0, &CKDRUnits::ApplyAIOrderSheet); }

int CKDRDoc::ApplyAIOrder() { return AskUnits(*this, 0, &CKDRUnits::ApplyAIOrder); }

int CKDRDoc::ResetAIOrderEdit() { return AskUnits(*this, 0, &CKDRUnits::ResetAIOrderEdit); }

int CKDRDoc::OnMessageBoxClosed() { return AskUnits(*this, 0, &CKDRUnits::OnMessageBoxClosed); }

int CKDRDoc::PassSelectionToPlayer(CTaskOrgArray* pSelection, int nPlayer)
{
    auto c = Ready(*this);
    if (!c)
        return 0;
    ReassignOccupants();
    int nResult = c.pUnits->PassUnits(pSelection, nPlayer, c.pMap, c.pDatabase);
    if (CKDRHoles* pHoles = GetHoles())
        nResult |= pHoles->SendHolesToPlayer(nPlayer, pSelection);
    if (CKDRObstacles* pObstacles = GetObstacles(); pObstacles != nullptr && IsMultiplayerWithSession(GetKDRApp()))
        nResult |= pObstacles->SendObstaclesToPlayer(nPlayer, pSelection);
    return nResult;
}

BOOL CKDRDoc::OnHierarchyTreeClosed()
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return FALSE;
    pUnits->ClearHierarchyTreeShown();
    UpdateAllViews(nullptr, KDR_HINT_HIERARCHY_TREE_CLOSED);
    return TRUE;
}

int CKDRDoc::CallWithUnits(CUnitsCallback* pObject, int nArg)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr || pObject == nullptr)
        return 0;
    return pObject->CallWithUnits(pUnits, nArg);
}

int CKDRDoc::StoreTaskOrgGroup(int n, const CTaskOrgArray* pList)
{
    // The groups are the ten number keys; they group units, so they need
    // the units too.
    if (GetUnits() == nullptr || m_pTaskOrgGroups == nullptr || pList == nullptr || n < 0 || n > 9)
        return 0;
    auto* pCopy = new CTaskOrgArray(*pList);
    pCopy->m_nId = n;
    m_pTaskOrgGroups->SetList(pCopy);
    SetModifiedFlag(TRUE);
    return 1;
}

int CKDRDoc::RecallTaskOrgGroup(int n, CTaskOrgArray*& pList)
{
    pList = nullptr;
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr || m_pTaskOrgGroups == nullptr)
        return 0;
    const int nIndex = m_pTaskOrgGroups->FindById(n);
    if (nIndex < 0)
        return 0;
    CTaskOrgArray* pGroup = m_pTaskOrgGroups->GetAt(nIndex);
    if (pGroup == nullptr)
        return 0;
    pUnits->ValidateTaskOrg(pGroup);
    if (pGroup->GetSize() == 0)
    {
        m_pTaskOrgGroups->RemoveAt(nIndex);
        return 0;
    }
    pList = new CTaskOrgArray(*pGroup);
    return 1;
}
