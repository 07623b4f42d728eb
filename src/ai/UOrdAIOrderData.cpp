#include "ai/UOrdAIOrderData.h"

#include "ai/UOrdAIOrderDataKinds.h"
#include "orders/RecordIO.h"

IMPLEMENT_SERIAL(CUOrdAIOrderData, CObject, 1)
IMPLEMENT_SERIAL(CUOrdAIOrderDataArray, CObArray, 1)

namespace
{
const char* const KIND_NAMES[] = {"Objective",
                                  "Divide Force",
                                  "Obstacle Line",
                                  "Mode Of Travel",
                                  "Route",
                                  "Formation",
                                  "ORP",
                                  "Force Percentage",
                                  "Time",
                                  "IF Position Area",
                                  "SBF Location",
                                  "Number Of Vehicles",
                                  "Breach Lane",
                                  "Specified Force",
                                  "Common Weapon Range"};

// Editor unit-type bits and the vehicle role bits they stand for.
struct RoleEntry
{
    DWORD dwUnitType;
    DWORD dwRole;
};
const RoleEntry ROLE_TABLE[] = {{0x4, 0x8},     {0x8, 0x4},    {0x10, 0x10},  {0x20, 0x400},
                                {0x40, 0x20},   {0x80, 0x100}, {0x100, 0x40}, {0x200, 0x80},
                                {0x400, 0x200}, {0x1000, 0x1}, {0x2000, 0x2}};

template <class T>
CUOrdAIOrderData* CopyAs(const CUOrdAIOrderData* pItem)
{
    if (const auto* pTyped = dynamic_cast<const T*>(pItem))
        return new T(*pTyped);
    auto* pCopy = new T;
    static_cast<CUOrdAIOrderData&>(*pCopy) = *pItem;
    return pCopy;
}
}  // namespace

void CUOrdAIOrderData::Serialize(CArchive& ar)
{
    m_astrReferencedNames.Serialize(ar);
    if (ar.IsStoring())
    {
        record::WriteFlag(ar, m_bEditable);
        record::WriteFlag(ar, m_bCalculate);
        record::WriteFlag(ar, m_bShown);
        record::WriteFlag(ar, m_bCalculated);
        ar << m_strName << m_strDescription << m_strPrompt;
    }
    else
    {
        record::ReadFlag(ar, m_bEditable);
        record::ReadFlag(ar, m_bCalculate);
        record::ReadFlag(ar, m_bShown);
        record::ReadFlag(ar, m_bCalculated);
        ar >> m_strName >> m_strDescription >> m_strPrompt;
    }
}

BOOL CUOrdAIOrderData::FinishEditOnMap(CKDRGameMap*, CKDRUnits*, int, CHierarchyPlatoon*, float, float,
                                       BOOL* pPlaceAgain, BOOL* pEndEdit)
{
    if (pPlaceAgain != nullptr)
        *pPlaceAgain = FALSE;
    if (pEndEdit != nullptr)
        *pEndEdit = FALSE;
    return TRUE;
}

BOOL CUOrdAIOrderData::EditOnMap(CKDRGameMap*, CKDRUnits*, int, CHierarchyPlatoon*, float, float) { return TRUE; }

BOOL CUOrdAIOrderData::Calculate(CUOrdAIOrderDataArray* pArray, CHierarchyPlatoon* pElement, CKDRUnits* pUnits,
                                 CKDRObstacles* pObstacles, CKDRDatabase* pDatabase, CKDRGameMap* pMap,
                                 BOOL bRecalculate)
{
    if (pArray == nullptr)
        return FALSE;
    m_bCalculating = TRUE;
    const CStringArray names(m_astrReferencedNames);
    for (const CString& name : names)
    {
        if (name.IsEmpty())
            continue;
        CUOrdAIOrderData* pItem = pArray->FindByName(name);
        if (pItem == nullptr)
            continue;
        if (!pItem->m_bCalculated && !pItem->m_bCalculating && pItem->m_strName != m_strName)
            pItem->Calculate(pArray, pElement, pUnits, pObstacles, pDatabase, pMap, FALSE);
        ApplyReference(pItem, pArray, pElement, pUnits, pDatabase, pMap, bRecalculate);
    }
    m_bCalculating = FALSE;
    m_bCalculated = TRUE;
    return TRUE;
}

BOOL CUOrdAIOrderData::TakeFromParent(CUOrdAIOrderDataArray*, CUOrdAIOrderData* pParent, CHierarchyPlatoon*, int,
                                      CKDRUnits*, CKDRDatabase*, CKDRObstacles*, CKDRGameMap*, int*)
{
    return pParent != nullptr && pParent->GetType() == GetType();
}

void CUOrdAIOrderData::Draw(CKDRGameMap*, CHierarchyPlatoon*, int, CKDRUnits*) {}

void CUOrdAIOrderData::GetCentre(float*, float*) {}

BOOL CUOrdAIOrderData::ApplyReference(CUOrdAIOrderData*, CUOrdAIOrderDataArray*, CHierarchyPlatoon*, CKDRUnits*,
                                      CKDRDatabase*, CKDRGameMap*, BOOL)
{
    return TRUE;
}

CPropertyPage* CUOrdAIOrderData::CreatePage(int, int) { return nullptr; }

void CUOrdAIOrderData::ReadPage(CPropertyPage*) {}

BOOL CUOrdAIOrderData::AssignFrom(const CUOrdAIOrderData*) { return TRUE; }

void CUOrdAIOrderData::Notify(CKDRGameMap*, CKDRUnits*, int, CHierarchyPlatoon*, float, float) {}

CUOrdAIOrderData* CUOrdAIOrderData::CopyItem(const CUOrdAIOrderData* pItem)
{
    if (pItem == nullptr)
        return nullptr;
    switch (pItem->GetType())
    {
    case AIDATA_OBJECTIVE: return CopyAs<CUOrdAIOrderDataObjective>(pItem);
    case AIDATA_DIVIDE_FORCE: return CopyAs<CUOrdAIOrderDataDivideForce>(pItem);
    case AIDATA_OBSTACLE_LINE: return CopyAs<CUOrdAIOrderDataObstacleLine>(pItem);
    case AIDATA_MODE_OF_TRAVEL: return CopyAs<CUOrdAIOrderDataModeOfTravel>(pItem);
    case AIDATA_ROUTE: return CopyAs<CUOrdAIOrderDataRoute>(pItem);
    case AIDATA_FORMATION: return CopyAs<CUOrdAIOrderDataFormation>(pItem);
    case AIDATA_ORP: return CopyAs<CUOrdAIOrderDataORP>(pItem);
    case AIDATA_FORCE_PERCENTAGE: return CopyAs<CUOrdAIOrderDataForcePercentage>(pItem);
    case AIDATA_TIME: return CopyAs<CUOrdAIOrderDataTime>(pItem);
    case AIDATA_IF_POSITION_AREA: return CopyAs<CUOrdAIOrderDataIFPositionArea>(pItem);
    case AIDATA_SBF_LOCATION: return CopyAs<CUOrdAIOrderDataSBFLocation>(pItem);
    case AIDATA_NUMBER_OF_VEHICLES: return CopyAs<CUOrdAIOrderDataNumberOfVehicles>(pItem);
    case AIDATA_BREACH_LANE: return CopyAs<CUOrdAIOrderDataBreachLane>(pItem);
    case AIDATA_SPECIFIED_FORCE: return CopyAs<CUOrdAIOrderDataSpecifiedForce>(pItem);
    case AIDATA_COMMON_WEAPON_RANGE: return CopyAs<CUOrdAIOrderDataCommonWeaponRange>(pItem);
    default: return CopyAs<CUOrdAIOrderData>(pItem);
    }
}

DWORD CUOrdAIOrderData::ForceTypesToRoleFlags(DWORD dwUnitTypes)
{
    DWORD dwRoles = 0;
    for (const RoleEntry& entry : ROLE_TABLE)
    {
        if ((dwUnitTypes & entry.dwUnitType) != 0)
            dwRoles |= entry.dwRole;
    }
    return dwRoles;
}

// ---------------------------------------------------------------------------
// CUOrdAIOrderDataArray

CUOrdAIOrderDataArray::CUOrdAIOrderDataArray()
{
    for (const char* pszName : KIND_NAMES)
        m_astrKindNames.Add(pszName);
}

CUOrdAIOrderDataArray::CUOrdAIOrderDataArray(const CUOrdAIOrderDataArray& other) : CUOrdAIOrderDataArray()
{
    for (int i = 0; i < other.GetSize(); ++i)
    {
        if (const CUOrdAIOrderData* pItem = other.GetAt(i))
            Add(CUOrdAIOrderData::CopyItem(pItem));
    }
}

CUOrdAIOrderData* CUOrdAIOrderDataArray::FindByName(const CString& name) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (GetAt(i) != nullptr && GetAt(i)->m_strName == name)
            return GetAt(i);
    }
    return nullptr;
}

CUOrdAIOrderData* CUOrdAIOrderDataArray::FindByType(DWORD dwKind) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (GetAt(i) != nullptr && GetAt(i)->GetType() == dwKind)
            return GetAt(i);
    }
    return nullptr;
}

void CUOrdAIOrderDataArray::GetShownNames(CStringArray& names) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (GetAt(i) != nullptr && GetAt(i)->m_bShown)
            names.Add(GetAt(i)->m_strName);
    }
}

BOOL CUOrdAIOrderDataArray::CalculateAll(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRObstacles* pObstacles,
                                         CKDRDatabase* pDatabase, CKDRGameMap* pMap, BOOL bContext6, BOOL bRecalculate)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CUOrdAIOrderData* pItem = GetAt(i);
        if (pItem == nullptr)
            continue;
        if ((pItem->m_bCalculate && !pItem->m_bCalculated) || (pItem->m_bCalculated && bRecalculate))
            pItem->Calculate(this, pElement, pUnits, pObstacles, pDatabase, pMap, bContext6);
    }
    return TRUE;
}

void CUOrdAIOrderDataArray::DrawAll(CKDRGameMap* pTarget, CHierarchyPlatoon* pElement, int nValue, CKDRUnits* pUnits)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (GetAt(i) != nullptr && GetAt(i)->m_bShown)
            GetAt(i)->Draw(pTarget, pElement, nValue, pUnits);
    }
}

BOOL CUOrdAIOrderDataArray::AssignFrom(const CUOrdAIOrderDataArray* pOther)
{
    if (pOther == nullptr)
        return FALSE;
    for (int i = 0; i < pOther->GetSize(); ++i)
    {
        const CUOrdAIOrderData* pSource = pOther->GetAt(i);
        if (pSource == nullptr)
            continue;
        CUOrdAIOrderData* pTarget = FindByName(pSource->m_strName);
        if (pTarget != nullptr && pTarget->GetType() == pSource->GetType() && !pTarget->AssignFrom(pSource))
            return FALSE;
    }
    return TRUE;
}
