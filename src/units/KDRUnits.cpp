#include "units/KDRUnits.h"

#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchyPlatoon.h"
#include "hierarchy/TaskOrg.h"
#include "orders/FormationTemplateArray.h"
#include "orders/NodeArray.h"
#include "orders/UnitOrderArray.h"
#include "platform/core/Archive.h"
#include "units/Unit.h"

IMPLEMENT_SERIAL(CKDRUnits, CObject, 1)

CKDRUnits::CKDRUnits()
    : m_pNeutralFileNames(new CStringList),
      m_pOpposingFileNames(new CStringList),
      m_pFormationTemplates(nullptr),
      m_bFormationTemplates(FALSE),
      m_pStandingOrders(nullptr),
      m_bStandingOrders(FALSE),
      m_apHierarchies{nullptr, nullptr, nullptr},
      m_abHierarchies{FALSE, FALSE, FALSE},
      m_pTaskOrgs(new CTaskOrgArrayArray),
      m_pContactsSide1(nullptr),
      m_pContactsSide2(nullptr)
{
}

CKDRUnits::~CKDRUnits()
{
    for (CHierarchyArray*& pHierarchy : m_apHierarchies)
    {
        delete pHierarchy;
        pHierarchy = nullptr;
    }
    delete m_pFormationTemplates;
    delete m_pStandingOrders;
    delete m_pTaskOrgs;
    delete m_pOpposingFileNames;
    delete m_pNeutralFileNames;
}

void CKDRUnits::Serialize(CArchive& ar)
{
    m_pNeutralFileNames->Serialize(ar);
    m_pOpposingFileNames->Serialize(ar);
    m_pTaskOrgs->Serialize(ar);
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

int CKDRUnits::MoveAll(CKDRGameMap*, CKDRDatabase*, CKDRObstacles*, CKDRHoles*, int, int, int, CFireMissionArray*)
{
    return 0;
}

void CKDRUnits::PrepareUnits(DWORD, CKDRGameMap*, CKDRDatabase*) {}

void CKDRUnits::ResetContactLists(CUnitRefArray*& pFirst, CUnitRefArray*& pSecond)
{
    pFirst = nullptr;
    pSecond = nullptr;
}

void CKDRUnits::DetectAll(CKDRGameMap*, CKDRDatabase*, CSmokeArray*, float) {}
void CKDRUnits::DirectFire(CKDRGameMap*, CKDRDatabase*, CKDRObstacles*, CKDRHoles*) {}
void CKDRUnits::ProcessIndirectFire(CKDRDatabase*) {}

BOOL CKDRUnits::TakeMapChanged() { return FALSE; }

CUnit* CKDRUnits::GetUnit(int, int, int) const { return nullptr; }
CNodeArray* CKDRUnits::GetUnitPath(int, int, int) const { return nullptr; }
BOOL CKDRUnits::OwnUnitsHavePieces(CKDRDatabase*) const { return FALSE; }
BOOL CKDRUnits::HasUnitsOfKind(int) const { return FALSE; }

int CKDRUnits::IsOrderItemChecked(int, int& nValue) const
{
    nValue = 0;
    return 0;
}

CHierarchyPlatoon* CKDRUnits::FindElementByName(const CString& strName) const
{
    for (int nSide = 0; nSide < 3; ++nSide)
    {
        if (!m_abHierarchies[nSide] || m_apHierarchies[nSide] == nullptr)
            continue;
        if (CHierarchyPlatoon* pFound = m_apHierarchies[nSide]->FindContainerByName(strName))
            return pFound;
    }
    return nullptr;
}

CHierarchyElement* CKDRUnits::FindUnitElement(int nUnit, int nArray, int nKind) const
{
    if (nKind < 0 || nKind > 2 || !m_abHierarchies[nKind] || m_apHierarchies[nKind] == nullptr)
        return nullptr;
    int nLevel = 0;
    return m_apHierarchies[nKind]->FindElementOfUnit(nUnit, nArray, nKind, nLevel);
}

int CKDRUnits::NotifyElementOfUnit(int, int, int, BOOL) { return 0; }

BOOL CKDRUnits::CanSelectionDoAction(DWORD, const CTaskOrgArray*, CKDRDatabase*) const { return FALSE; }

BOOL CKDRUnits::DetachElement(CKDRDatabase*, CKDRGameMap*, CKDRObstacles*, CKDRHoles*) { return FALSE; }
BOOL CKDRUnits::RecallDetached(CKDRDatabase*, CKDRGameMap*, CKDRObstacles*, CKDRHoles*) { return FALSE; }
BOOL CKDRUnits::CanDetachElement() const { return FALSE; }
BOOL CKDRUnits::CanRecallDetached() const { return FALSE; }

void CKDRUnits::FillHierarchyTree(int, const CString&) {}
void CKDRUnits::ShowFireMissionLog(int, CKDRGameMap*, CFireMissionArray*) {}
void CKDRUnits::RefreshFireMissionLog() {}
void CKDRUnits::FillFireMissionLog(int, CKDRGameMap*, CFireMissionArray*) {}

int CKDRUnits::LoadUnitFiles(const CString& strDataDir)
{
    // The formation templates, the standing orders and the hierarchies; the
    // unit files join when their component exists. A file that does not
    // load fails the load and leaves nothing half made.
    if (!m_strFormationFile.IsEmpty())
    {
        auto* pTemplates = new CFormationTemplateArray;
        if (!pTemplates->LoadFile(m_strFormationFile, strDataDir))
        {
            delete pTemplates;
            return 0;
        }
        delete m_pFormationTemplates;
        m_pFormationTemplates = pTemplates;
        m_bFormationTemplates = TRUE;
    }
    if (!m_strSOPFile.IsEmpty())
    {
        auto* pOrders = new CUnitOrderArray;
        if (!pOrders->LoadSOP(m_strSOPFile, strDataDir))
        {
            delete pOrders;
            return 0;
        }
        delete m_pStandingOrders;
        m_pStandingOrders = pOrders;
        m_bStandingOrders = TRUE;
    }
    // Each side's hierarchy; a side whose file does not load fails the load.
    for (int nSide = 0; nSide < 3; ++nSide)
    {
        if (m_strHierarchyFile[nSide].IsEmpty())
            continue;
        auto* pHierarchy = new CHierarchyArray;
        if (!pHierarchy->LoadHierarchyFile(m_strHierarchyFile[nSide], strDataDir))
        {
            delete pHierarchy;
            return 0;
        }
        delete m_apHierarchies[nSide];
        m_apHierarchies[nSide] = pHierarchy;
        m_abHierarchies[nSide] = TRUE;
    }
    return 1;
}
void CKDRUnits::ResolveUnitTypes(CKDRDatabase*, CKDRGameMap*) {}
void CKDRUnits::SetArrayNames(CKDRDatabase*) {}
void CKDRUnits::UpdateAllHeadings(CKDRDatabase*) {}
void CKDRUnits::AfterOpenUnits(CKDRDatabase*, CKDRGameMap*) {}
void CKDRUnits::FixUpAfterOpen(CKDRDatabase*, CKDRGameMap*) {}

int CKDRUnits::CountUnits(int, CKDRDatabase*, int& nTotalA, int& nTotalB, int*& pBlock)
{
    // No database vehicle list is known here: nothing counted.
    nTotalA = 0;
    nTotalB = 0;
    pBlock = nullptr;
    return 0;
}

int CKDRUnits::MergeUnitFile(const CString&) { return 1; }
void CKDRUnits::SerializeState(CArchive&) {}
void CKDRUnits::ValidateTaskOrgs(CTaskOrgArrayArray*) {}
void CKDRUnits::ValidateTaskOrg(CTaskOrgArray*) {}

void CKDRUnits::ApplyArtilleryImpact(CFireMission*, CKDRDatabase*, int, int, int, CTimeSpan) {}
void CKDRUnits::ApplyFireMissionToUnits(CFireMission*, CKDRDatabase*, int, int, int, CTimeSpan) {}

// ---------------------------------------------------------------------------
// Operations the document forwards to: the least form draws nothing, finds
// nothing and carries out no order.

void CKDRUnits::DrawUnits(CKDRGameMap*, CKDRDatabase*) {}
void CKDRUnits::DrawFieldsOfFire(CKDRGameMap*, CKDRDatabase*) {}
void CKDRUnits::DrawHierarchySymbols(CKDRGameMap*, CKDRDatabase*) {}
void CKDRUnits::DrawPaths(CKDRGameMap*) {}
void CKDRUnits::DrawUnitLabels(CKDRGameMap*, CKDRDatabase*) {}
void CKDRUnits::DrawFunctionUnits(CKDRGameMap*, CKDRDatabase*) {}
void CKDRUnits::DrawCarriedUnits(CKDRGameMap*, CKDRDatabase*) {}
void CKDRUnits::DrawSelectionOverlays(CTaskOrgArray*, CKDRGameMap*, CKDRDatabase*) {}
void CKDRUnits::DrawAIOrderGraphics(CKDRGameMap*, CKDRDatabase*) {}
int CKDRUnits::IsGroundVehicleOrElement(const CString&) const { return 0; }

int CKDRUnits::HitTestElements(int, int, CKDRGameMap*, CKDRDatabase*) { return -99; }
CHierarchyArray* CKDRUnits::GetElementsAtPoint(int, int, CKDRGameMap*, CKDRDatabase*) { return nullptr; }
CTaskOrgArray* CKDRUnits::GetUnitsAtPoint(int, int, CKDRGameMap*, CKDRDatabase*) { return nullptr; }
int CKDRUnits::HitTestUnitValue(int, int, CKDRGameMap*, CKDRDatabase*) { return -99; }
CString CKDRUnits::GetHoverText(int, int, CKDRGameMap*, CKDRDatabase*) { return CString(); }
CString CKDRUnits::GetHoverUnitText(int, int, CKDRGameMap*, CKDRDatabase*) { return CString(); }
CTaskOrgArray* CKDRUnits::SelectUnitsInRect(float, float, float, float, CKDRGameMap*) { return nullptr; }

BOOL CKDRUnits::HasUnitSelection() const { return FALSE; }
BOOL CKDRUnits::IsFireMissionLogOpen() const { return FALSE; }
BOOL CKDRUnits::IsHierarchyTreeOpen() const { return FALSE; }
int CKDRUnits::GetSelectionActions() const { return 0; }
CString CKDRUnits::GetSelectedInfo() const { return CString(); }
CString CKDRUnits::GetSelectedSOP() const { return CString(); }
CString CKDRUnits::GetMissionNames() const { return CString(); }
CString CKDRUnits::GetCompanyFormationNames() const { return CString(); }
CString CKDRUnits::GetPlatoonFormation() const { return CString(); }
BOOL CKDRUnits::IsSOPSetForPlatoon(int) const { return FALSE; }
BOOL CKDRUnits::IsSOPSetForCompany(int) const { return FALSE; }

int CKDRUnits::SetSelectionTACSOP(int, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::SetSelectionMission(int, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::SetCompanyFormation(int, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::SetPlatoonFormation(int, CKDRGameMap*, CKDRDatabase*) { return 0; }
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
int CKDRUnits::ApplyOrderBitToElement(DWORD, CTaskOrgArray*, CHierarchyPlatoon*, CKDRDatabase*, CKDRGameMap*,
                                      CKDRObstacles*, CKDRHoles*, int, int, float, float, float)
{
    return 0;
}
int CKDRUnits::AllUnitsHaveToggle(const CTaskOrgArray*, int) const { return 0; }
int CKDRUnits::ToggleOrderForSelection(const CTaskOrgArray*, DWORD, float, float, CKDRGameMap*, CKDRDatabase*)
{
    return 0;
}
int CKDRUnits::FollowUpOrderToggle(const CTaskOrgArray*, CKDRGameMap*, CKDRDatabase*) { return 0; }
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
    // Whole platoons and companies of the selection take the move on their paths.
    for (int i = 0; i < pSelection->GetSize(); ++i)
    {
        const auto* pNamed = dynamic_cast<const CHierarchyTaskOrg*>(pSelection->GetAt(i));
        CHierarchyPlatoon* pElement = pNamed != nullptr ? FindElementByName(pNamed->m_strName) : nullptr;
        if (pElement != nullptr && pElement->m_pPath != nullptr)
            pElement->m_pPath->Offset(dx, dy, pMap);
    }
    return nMoved > 0 ? 1 : 0;
}
int CKDRUnits::PasteUnits(CTaskOrgArray*, float, float, CKDRGameMap*, CKDRDatabase*, CKDRObstacles*, CKDRHoles*)
{
    return 0;
}
int CKDRUnits::PasteOrdersToUnit(int, int, int, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::DismountUnits(CTaskOrgArray*, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::ApplyOrderToSelection(CTaskOrgArray*, DWORD, float, float, CKDRGameMap*, CKDRDatabase*, CKDRObstacles*,
                                     CKDRHoles*)
{
    return 0;
}
int CKDRUnits::SetUnitPathFromClick(int, int, int, float, float, CKDRGameMap*, CKDRDatabase*, CKDRObstacles*,
                                    CKDRHoles*)
{
    return 0;
}
int CKDRUnits::AssignUnitRoute(int, int, int, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::ToggleUnitOverlay(int, int, int, int, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::ApplyElementPathEdit(const CString&, float, float, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::MountUnits(CTaskOrgArray*, CTaskOrgArray*, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::IssueMountOrder(CHierarchyArray*, CHierarchyArray*, CUOrdMount*, CKDRGameMap*, CKDRDatabase*)
{
    return 0;
}
int CKDRUnits::DeployMinesAtPoint(CTaskOrgArray*, float, float, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::UploadAtPoint(CTaskOrgArray*, float, float, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::AssignFireMissionAtPoint(CTaskOrgArray*, float, float, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::OnMinesLaid(int, int, int, int) { return 0; }
int CKDRUnits::PassUnits(CTaskOrgArray*, int, CKDRGameMap*, CKDRDatabase*) { return 0; }
void CKDRUnits::ClearHierarchyTreeShown() {}

int CKDRUnits::SendUnitsUpdate() { return 0; }
int CKDRUnits::CaptureUnitsUpdate(const BYTE*, int, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::ReceiveShotsFired(const BYTE*, int, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::ReceiveUnitDestroyed(const BYTE*, int, CKDRGameMap*, CKDRDatabase*) { return 0; }
int CKDRUnits::ApplyAIOrderSheet() { return 0; }
int CKDRUnits::ApplyAIOrder() { return 0; }
int CKDRUnits::ResetAIOrderEdit() { return 0; }
int CKDRUnits::OnMessageBoxClosed() { return 0; }

void CKDRUnits::ApplyIconStyle(CKDRGameMap*, CKDRDatabase*) {}
void CKDRUnits::ApplyIconSize(CKDRGameMap*, CKDRDatabase*) {}
