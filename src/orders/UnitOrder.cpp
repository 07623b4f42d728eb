#include "orders/UnitOrder.h"

#include "ai/UOrdAIOrder.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/TaskOrg.h"
#include "mission/ConditionArray.h"
#include "orders/FormationOrder.h"
#include "orders/UnitOrderKinds.h"
#include "platform/core/Archive.h"
#include "units/KDRUnits.h"

IMPLEMENT_SERIAL(CUnitOrder, CObject, 1)
IMPLEMENT_SERIAL(CUOrdToggleOrder, CUnitOrder, 1)
IMPLEMENT_SERIAL(CUOrdCancelToggleOrder, CUOrdToggleOrder, 1)

const char* const SBF_DEFENSE_NAME = ".SBF/Defense.";
const char* const POSITION_AREA_NAME = ".Position Area.";

namespace
{
// The unit toggles: unit bit, order-side bit and description, in the order
// a toggle order applies them.
struct ToggleEntry
{
    DWORD dwUnitBit;
    DWORD dwOrderBit;
    const char* pszDescription;
};

const ToggleEntry TOGGLES[] = {
    {1, 1, "Stopped"},
    {2, 2, "Hold Fire"},
    {4, 4, "Defilade"},
    {8, 8, "Sprint"},
    {16, 16, "Creep"},
    {32, 32, "Generate Smoke"},
    {64, 64, "Radiate"},
    {128, 128, "Max Engage Range Set"},
    {256, 256, "Field Of Fire Set"},
    {512, 512, "March Speed Set"},
    {1024, 1024, "Hide On Contact"},
    {2048, 2048, "Engage On Contact"},
    {4096, 4096, "Bypass Obstacles"},
    {8192, 8192, "Dismount On Contact"},
    {UNIT_DO_NOT_EMPLACE, ORDER_DO_NOT_EMPLACE, "Do Not Emplace"},
};

template <class T>
CUnitOrder* CopyAs(const CUnitOrder* pSource)
{
    if (const auto* pTyped = dynamic_cast<const T*>(pSource))
        return new T(*pTyped);
    // A source of another class keeps only what every order has.
    auto* pCopy = new T;
    delete pCopy->m_pConditions;
    pCopy->m_pConditions = new CConditionArray(*pSource->m_pConditions);
    return pCopy;
}
}  // namespace

CUnitOrder::CUnitOrder() : m_pConditions(new CConditionArray) {}

CUnitOrder::CUnitOrder(const CUnitOrder& other)
    : CObject(other), m_pConditions(new CConditionArray(*other.m_pConditions))
{
}

CUnitOrder::~CUnitOrder() { delete m_pConditions; }

void CUnitOrder::Serialize(CArchive& ar) { m_pConditions->Serialize(ar); }

int CUnitOrder::CheckConditions(DWORD dwEvent, DWORD id1, DWORD id2, DWORD id3, DWORD id4, DWORD id5, DWORD id6)
{
    if (m_pConditions == nullptr)
        return 0;
    return m_pConditions->AnyUnitEventMet(dwEvent, id1, id2, id3, id4, id5, id6);
}

void CUnitOrder::Draw(CHierarchyPlatoon*, CKDRUnits*, CKDRDatabase*, CKDRGameMap*, CWnd*, DWORD, int, BOOL, BOOL) {}

int CUnitOrder::Update(CHierarchyPlatoon*, CKDRUnits*, CKDRGameMap*, CKDRDatabase*, CKDRObstacles*, CKDRHoles*)
{
    return 1;
}

int CUnitOrder::Prepare(CUOrdAIOrderDataArray*, CHierarchyPlatoon*, CKDRUnits*, CKDRObstacles*, CKDRDatabase*,
                        CKDRGameMap*)
{
    return 1;
}

int CUnitOrder::Execute(CUOrdAIOrderDataArray*, CHierarchyPlatoon*, CHierarchyPlatoon*, CKDRUnits*, CKDRObstacles*,
                        CKDRHoles*, CKDRDatabase*, CKDRGameMap*)
{
    return 1;
}

int CUnitOrder::AddData(CUOrdAIOrderData*, CUOrdAIOrderDataArray*, CHierarchyPlatoon*, CKDRUnits*, CKDRDatabase*,
                        CKDRGameMap*)
{
    return 1;
}

CString CUnitOrder::GetDescription(int, int) { return CString(); }

int CUnitOrder::SpareQuery(int, int) { return 0; }

void CUnitOrder::SpareNotify(int) {}

DWORD CUnitOrder::GetOrderType() const { return 0; }

CString CUnitOrder::GetOrderName() const { return CString(); }

DWORD CUnitOrder::ToggleToOrderCode(DWORD dwUnitBit)
{
    if (dwUnitBit == UNIT_SUPPRESS)
        return UORD_SUPPRESS;
    for (const ToggleEntry& entry : TOGGLES)
    {
        if (entry.dwUnitBit == dwUnitBit)
            return entry.dwOrderBit | UORD_TOGGLE;
    }
    return 0;
}

int CUnitOrder::OrderCodeToToggle(DWORD dwCode)
{
    if (dwCode >= UNIT_DO_NOT_EMPLACE)
        dwCode ^= UORD_TOGGLE;
    for (const ToggleEntry& entry : TOGGLES)
    {
        if (entry.dwOrderBit == dwCode)
            return static_cast<int>(entry.dwUnitBit);
    }
    return -1;
}

CString CUnitOrder::SpecialFormationName(int nIndex)
{
    if (nIndex == FORMATION_SBF_DEFENSE)
        return SBF_DEFENSE_NAME;
    if (nIndex == FORMATION_POSITION_AREA)
        return POSITION_AREA_NAME;
    return CString();
}

DWORD CUnitOrder::FirstClassBit(DWORD dwCode)
{
    for (DWORD dwBit : UORD_CLASS_BITS)
    {
        if ((dwCode & dwBit) != 0)
            return dwBit;
    }
    return 0;
}

CUnitOrder* CUnitOrder::CreateForCode(DWORD dwCode)
{
    switch (FirstClassBit(dwCode))
    {
    case UORD_TOGGLE: return new CUOrdToggleOrder(dwCode ^ UORD_TOGGLE);
    case UORD_PLATOON_FORMATION: return new CUOrdPlatoonFormation;
    case UORD_COMPANY_FORMATION: return new CUOrdCompanyFormation;
    case UORD_CONDITIONAL_START: return new CUOrdConditionalStart;
    case UORD_AI_ORDER: return new CUOrdAIOrder;
    case UORD_AI_PHASE: return new CUOrdAIOrderPhase;
    case UORD_AI_PHASE_ORDER: return new CUOrdAIOrderPhaseOrder;
    case UORD_AI_HIERARCHY: return new CUOrdAIHierarchyOrder;
    case UORD_CANCEL_TOGGLE: return new CUOrdCancelToggleOrder(dwCode ^ UORD_CANCEL_TOGGLE);
    case UORD_MOUNT: return new CUOrdMount;
    case UORD_DISMOUNT: return new CUOrdDismount;
    case UORD_ORIENT: return new CUOrdOrientDirection;
    case UORD_DETACH: return new CUOrdDetachUnits;
    case UORD_RECALCULATE: return new CUOrdRecalculateData;
    case UORD_ASSIGN_PATH: return new CUOrdAssignPath;
    case UORD_SUPPRESS: return new CUOrdSuppress;
    default: return new CUnitOrder;
    }
}

CUnitOrder* CUnitOrder::CopyOrder(const CUnitOrder* pSource)
{
    if (pSource == nullptr)
        return nullptr;
    switch (FirstClassBit(pSource->GetOrderType()))
    {
    case UORD_TOGGLE: return CopyAs<CUOrdToggleOrder>(pSource);
    case UORD_PLATOON_FORMATION: return CopyAs<CUOrdPlatoonFormation>(pSource);
    case UORD_COMPANY_FORMATION: return CopyAs<CUOrdCompanyFormation>(pSource);
    case UORD_CONDITIONAL_START: return CopyAs<CUOrdConditionalStart>(pSource);
    case UORD_AI_ORDER: return CopyAs<CUOrdAIOrder>(pSource);
    case UORD_AI_PHASE: return CopyAs<CUOrdAIOrderPhase>(pSource);
    case UORD_AI_PHASE_ORDER: return CopyAs<CUOrdAIOrderPhaseOrder>(pSource);
    case UORD_AI_HIERARCHY: return CopyAs<CUOrdAIHierarchyOrder>(pSource);
    case UORD_CANCEL_TOGGLE: return CopyAs<CUOrdCancelToggleOrder>(pSource);
    case UORD_MOUNT: return CopyAs<CUOrdMount>(pSource);
    case UORD_DISMOUNT: return CopyAs<CUOrdDismount>(pSource);
    case UORD_ORIENT: return CopyAs<CUOrdOrientDirection>(pSource);
    case UORD_DETACH: return CopyAs<CUOrdDetachUnits>(pSource);
    case UORD_RECALCULATE: return CopyAs<CUOrdRecalculateData>(pSource);
    case UORD_ASSIGN_PATH: return CopyAs<CUOrdAssignPath>(pSource);
    case UORD_SUPPRESS: return CopyAs<CUOrdSuppress>(pSource);
    default: return CopyAs<CUnitOrder>(pSource);
    }
}

// ---------------------------------------------------------------------------
// Toggle orders

void CUOrdToggleOrder::Serialize(CArchive& ar)
{
    CUnitOrder::Serialize(ar);
    if (ar.IsStoring())
    {
        DWORD dwWord = m_dwToggles & 0xFFFF;
        if ((m_dwToggles & ORDER_DO_NOT_EMPLACE) != 0)
            dwWord |= UORD_TOGGLE;
        ar << static_cast<WORD>(dwWord);
    }
    else
    {
        short nWord = 0;
        ar >> nWord;
        m_dwToggles = static_cast<DWORD>(static_cast<LONG>(nWord));
        if ((m_dwToggles & UORD_TOGGLE) != 0)
            m_dwToggles = (m_dwToggles & ~UORD_TOGGLE) | ORDER_DO_NOT_EMPLACE;
    }
}

int CUOrdToggleOrder::Execute(CUOrdAIOrderDataArray*, CHierarchyPlatoon* pElement, CHierarchyPlatoon*,
                              CKDRUnits* pUnits, CKDRObstacles* pObstacles, CKDRHoles* pHoles, CKDRDatabase* pDatabase,
                              CKDRGameMap* pMap)
{
    if (pElement == nullptr || pUnits == nullptr)
        return 0;
    const int nOn = (GetOrderType() & UORD_CANCEL_TOGGLE) != 0 ? 0 : 1;
    for (const ToggleEntry& entry : TOGGLES)
    {
        if ((m_dwToggles & entry.dwOrderBit) == 0)
            continue;
        CTaskOrgArray list;
        pUnits->ApplyOrderBitToElement(entry.dwOrderBit, &list, pElement, pDatabase, pMap, pObstacles, pHoles, 1, nOn,
                                       kUnsetFloat, kUnsetFloat, kUnsetFloat);
    }
    return 1;
}

int CUOrdToggleOrder::Update(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                             CKDRObstacles*, CKDRHoles*)
{
    if (pElement == nullptr || pUnits == nullptr || pMap == nullptr || pDatabase == nullptr)
        return 0;
    const int nToggle = OrderCodeToToggle(GetOrderType());
    CTaskOrgArray list;
    pElement->FillUnitList(&list, FALSE);
    if (list.GetSize() == 0)
        return 0;
    return pUnits->AllUnitsHaveToggle(&list, nToggle);
}

CString CUOrdToggleOrder::ToggleDescription(DWORD dwToggles)
{
    for (const ToggleEntry& entry : TOGGLES)
    {
        if (entry.dwOrderBit == dwToggles)
            return entry.pszDescription;
    }
    return CString();
}

CString CUOrdToggleOrder::GetDescription(int, int) { return ToggleDescription(m_dwToggles); }
