#include "orders/UnitOrderArray.h"

#include "ai/UOrdAIOrder.h"
#include "ai/UOrdAIOrderData.h"
#include "hierarchy/HierarchyArray.h"
#include "mission/ConditionArray.h"
#include "orders/FormationOrder.h"
#include "orders/FormationTemplateArray.h"
#include "orders/RecordIO.h"
#include "platform/ui/UiService.h"
#include "shell/PlayService.h"

IMPLEMENT_SERIAL(CUnitOrderArray, CObArray, 1)

namespace
{
// Archive buffer of a standing-orders file read.
constexpr int SOP_READ_BUFFER = 4096;

const char* const ORDER_NAMES[] = {
    "Toggle Order",   "Platoon Formation",    "Company Formation",  "Conditional Start",   "AI Order",
    "AI Order Phase", "AI Order Phase Order", "AI Hierarchy Order", "Cancel Toggle Order", "Mount",
    "Dismount",       "Orient Direction",     "Detach Units",       "Recalculate Data",    "Assign Path",
    "Suppress"};

bool HasCode(const CUnitOrder& order, DWORD dwCode) { return order.GetOrderType() == dwCode; }

bool HasAnyBit(const CUnitOrder& order, DWORD dwBits) { return (order.GetOrderType() & dwBits) != 0; }

bool IsConditionalStart(const CUnitOrder& order, DWORD) { return order.GetOrderType() == UORD_CONDITIONAL_START; }

bool IsConditionalStartNumbered(const CUnitOrder& order, DWORD dwNumber)
{
    return order.GetOrderType() == UORD_CONDITIONAL_START &&
           (static_cast<int>(dwNumber) == kUnset ||
            static_cast<const CUOrdConditionalStart&>(order).m_nNumber == static_cast<int>(dwNumber));
}

// A mask restricts nothing when it is 0 or less.
bool PassesMask(int nMask, int nValue) { return nMask <= 0 || (nMask & nValue) != 0; }
}  // namespace

CUnitOrderArray::CUnitOrderArray()
{
    for (const char* pszName : ORDER_NAMES)
        m_astrOrderNames.Add(pszName);
}

CUnitOrderArray::CUnitOrderArray(const CUnitOrderArray& other) : CUnitOrderArray()
{
    for (int i = 0; i < other.GetSize(); ++i)
    {
        if (const CUnitOrder* pOrder = other.GetAt(i))
            Add(CUnitOrder::CopyOrder(pOrder));
    }
}

void CUnitOrderArray::Serialize(CArchive& ar)
{
    CRecordNesting nesting(ar);
    TypedObArray<CUnitOrder>::Serialize(ar);
}

void CUnitOrderArray::DeleteOrdersWhere(bool (*test)(const CUnitOrder&, DWORD), DWORD dwValue)
{
    for (int i = GetSize() - 1; i >= 0; --i)
    {
        const CUnitOrder* pOrder = GetAt(i);
        if (pOrder != nullptr && test(*pOrder, dwValue))
            RemoveAt(i);
    }
}

int CUnitOrderArray::FindOrder(const CUnitOrder* pOrder) const { return pOrder != nullptr ? Find(pOrder) : -1; }

void CUnitOrderArray::AddOrder(CUnitOrder* pOrder)
{
    if (pOrder == nullptr)
        return;
    DeleteOrdersWhere(HasCode, pOrder->GetOrderType());
    Add(pOrder);
}

void CUnitOrderArray::AddOrderOfType(DWORD dwCode)
{
    DWORD dwPresent = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (GetAt(i) != nullptr)
            dwPresent |= GetAt(i)->GetOrderType();
    }
    if (((dwCode ^ UORD_TOGGLE) & dwPresent) != 0)
        return;
    Add(CUnitOrder::CreateForCode(dwCode));
}

void CUnitOrderArray::RemoveOrdersOfType(DWORD dwCode) { DeleteOrdersWhere(HasCode, dwCode); }

DWORD CUnitOrderArray::SetToggle(DWORD dwUnitBit, int* pState, int nMode)
{
    const DWORD dwCode = CUnitOrder::ToggleToOrderCode(dwUnitBit);
    int nFound = -1;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (GetAt(i) != nullptr && GetAt(i)->GetOrderType() == dwCode)
        {
            nFound = i;
            break;
        }
    }
    if (nMode == 0)
    {
        if (nFound >= 0)
        {
            RemoveAt(nFound);
            if (pState != nullptr)
                *pState = 0;
            return 1;
        }
        if (pState != nullptr)
            *pState = 1;
        return 0;
    }
    if (nFound < 0)
        return 0;
    if (pState == nullptr || *pState == 0)
        RemoveAt(nFound);
    return 1;
}

// ---------------------------------------------------------------------------
// Formation orders

CUOrdPlatoonFormation* CUnitOrderArray::GetFormationOrder() const
{
    for (DWORD dwCode : {UORD_PLATOON_FORMATION, UORD_COMPANY_FORMATION})
    {
        for (int i = 0; i < GetSize(); ++i)
        {
            if (GetAt(i) != nullptr && GetAt(i)->GetOrderType() == dwCode)
                return static_cast<CUOrdPlatoonFormation*>(GetAt(i));
        }
    }
    return nullptr;
}

int CUnitOrderArray::ClearFormation()
{
    DeleteOrdersWhere(HasAnyBit, UORD_PLATOON_FORMATION | UORD_COMPANY_FORMATION);
    return RemoveConditionalStarts(kUnset);
}

CUOrdPlatoonFormation* CUnitOrderArray::SetFormation(const CFormationPlatoonTemplate* pTemplate)
{
    if (pTemplate == nullptr)
        return nullptr;
    if (GetFormationOrder() != nullptr)
    {
        DeleteOrdersWhere(HasAnyBit, UORD_PLATOON_FORMATION | UORD_COMPANY_FORMATION);
        DeleteOrdersWhere(IsConditionalStart, 0);
    }
    CUOrdPlatoonFormation* pOrder = nullptr;
    if (pTemplate->GetLevel() == FORMATION_LEVEL_PLATOON)
        pOrder = new CUOrdPlatoonFormation(pTemplate);
    else if (pTemplate->GetLevel() == FORMATION_LEVEL_COMPANY)
        pOrder = new CUOrdCompanyFormation(pTemplate);
    if (pOrder != nullptr)
        Add(pOrder);
    return pOrder;
}

CUOrdPlatoonFormation* CUnitOrderArray::SetFormationByName(const CString& name)
{
    if (GetFormationOrder() != nullptr)
    {
        DeleteOrdersWhere(HasAnyBit, UORD_PLATOON_FORMATION | UORD_COMPANY_FORMATION);
        DeleteOrdersWhere(IsConditionalStart, 0);
    }
    if (name == SBF_DEFENSE_NAME || name == POSITION_AREA_NAME)
        return nullptr;
    auto* pOrder = new CUOrdPlatoonFormation(name);
    Add(pOrder);
    return pOrder;
}

BOOL CUnitOrderArray::HasFormationNamed(const CString& name) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CUnitOrder* pOrder = GetAt(i);
        if (pOrder != nullptr && HasAnyBit(*pOrder, UORD_PLATOON_FORMATION | UORD_COMPANY_FORMATION) &&
            static_cast<const CUOrdPlatoonFormation*>(pOrder)->m_strTemplate == name)
            return TRUE;
    }
    return FALSE;
}

CString CUnitOrderArray::GetFormationIconName(const CFormationTemplateArray* pTemplates, int nLevel) const
{
    if (pTemplates == nullptr)
        return CString();
    if (const CUOrdPlatoonFormation* pFormation = GetFormationOrder(); pFormation != nullptr && pFormation->IsSpecial())
        return CUOrdPlatoonFormation::GetSpecialFormationIconName(pFormation->m_strTemplate);
    const DWORD dwCode = nLevel == FORMATION_LEVEL_PLATOON   ? UORD_PLATOON_FORMATION
                         : nLevel == FORMATION_LEVEL_COMPANY ? UORD_COMPANY_FORMATION
                                                             : 0;
    for (int i = 0; i < GetSize() && dwCode != 0; ++i)
    {
        if (GetAt(i) == nullptr || GetAt(i)->GetOrderType() != dwCode)
            continue;
        int nFoundLevel = 0;
        const int nIndex =
            pTemplates->FindByNameAndLevel(static_cast<CUOrdPlatoonFormation*>(GetAt(i))->m_strTemplate, nFoundLevel);
        const CFormationPlatoonTemplate* pTemplate = nIndex >= 0 ? pTemplates->GetAt(nIndex) : nullptr;
        if (pTemplate != nullptr && pTemplate->GetLevel() == nLevel)
            return pTemplate->m_strIconName;
        return CString();
    }
    return CString();
}

// ---------------------------------------------------------------------------
// Conditional starts

BOOL CUnitOrderArray::RemoveConditionalStarts(int nNumber)
{
    const int nBefore = GetSize();
    DeleteOrdersWhere(IsConditionalStartNumbered, static_cast<DWORD>(nNumber));
    return GetSize() != nBefore;
}

CUOrdConditionalStart* CUnitOrderArray::GetLowestConditionalStart(int& nNumber) const
{
    CUOrdConditionalStart* pLowest = nullptr;
    nNumber = CUOrdConditionalStart::NO_NUMBER;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (GetAt(i) == nullptr || GetAt(i)->GetOrderType() != UORD_CONDITIONAL_START)
            continue;
        auto* pStart = static_cast<CUOrdConditionalStart*>(GetAt(i));
        if (pStart->m_nNumber < nNumber)
        {
            nNumber = pStart->m_nNumber;
            pLowest = pStart;
        }
    }
    return pLowest;
}

CUOrdConditionalStart* CUnitOrderArray::CheckConditionalStart(DWORD dwFlags, DWORD id1, DWORD id2, DWORD id3, DWORD id4,
                                                              DWORD id5, DWORD id6)
{
    if ((dwFlags & 1) == 0)
    {
        for (int i = 0; i < GetSize(); ++i)
        {
            if (GetAt(i) != nullptr)
                GetAt(i)->CheckConditions(dwFlags, id1, id2, id3, id4, id5, id6);
        }
        return nullptr;
    }
    int nNumber = 0;
    CUOrdConditionalStart* pStart = GetLowestConditionalStart(nNumber);
    if (pStart != nullptr && pStart->CheckConditions(dwFlags, id1, id2, id3, id4, id5, id6))
        return pStart;
    return nullptr;
}

// ---------------------------------------------------------------------------
// AI orders

BOOL CUnitOrderArray::ListAIOrders(CStringArray& names, int nEchelon, int nSide, int nType) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CUnitOrder* pOrder = GetAt(i);
        if (pOrder == nullptr || pOrder->GetOrderType() != UORD_AI_ORDER)
            continue;
        const auto* pAI = static_cast<const CUOrdAIOrder*>(pOrder);
        const bool bEchelon = (pAI->m_nEchelonMask <= 0 && nEchelon <= 0) || (pAI->m_nEchelonMask & nEchelon) != 0;
        const bool bSide = nSide < 0 || (nSide & pAI->m_nCategoryMask) != 0;
        const bool bType = nType < 0 || PassesMask(pAI->m_nTypeMask, nType);
        const bool bExcluded = pAI->m_nExcludedTypeMask <= 0 || nType < 0 || (pAI->m_nExcludedTypeMask & nType) == 0;
        if (bEchelon && bSide && bType && bExcluded)
            names.Add(pAI->m_strName);
    }
    return TRUE;
}

BOOL CUnitOrderArray::HasAIOrderNamed(const CString& name) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CUnitOrder* pOrder = GetAt(i);
        if (pOrder != nullptr && HasAnyBit(*pOrder, UORD_AI_ORDER) &&
            static_cast<const CUOrdAIOrder*>(pOrder)->m_strName == name)
            return TRUE;
    }
    return FALSE;
}

CUOrdAIOrder* CUnitOrderArray::GetAIOrder() const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (GetAt(i) != nullptr && GetAt(i)->GetOrderType() == UORD_AI_ORDER)
            return static_cast<CUOrdAIOrder*>(GetAt(i));
    }
    return nullptr;
}

CUOrdAIOrder* CUnitOrderArray::SetAIOrder(const CUOrdAIOrder* pOrder)
{
    if (pOrder == nullptr)
        return nullptr;
    // Copied first: the order given may be one of those about to go.
    auto* pCopy = new CUOrdAIOrder(*pOrder);
    RemoveAIOrders();
    Add(pCopy);
    return pCopy;
}

void CUnitOrderArray::RemoveAIOrders() { DeleteOrdersWhere(HasAnyBit, UORD_AI_ORDER); }

void CUnitOrderArray::AddAIOrderIfNew(const CUOrdAIOrder* pOrder)
{
    if (pOrder == nullptr)
        return;
    for (int i = 0; i < GetSize(); ++i)
    {
        CUnitOrder* pHeld = GetAt(i);
        if (pHeld == nullptr || pHeld->GetOrderType() != UORD_AI_ORDER)
            continue;
        auto* pAI = static_cast<CUOrdAIOrder*>(pHeld);
        if (pAI->m_strName == pOrder->m_strName && pAI->m_pData != nullptr && pAI->m_pData->AssignFrom(pOrder->m_pData))
            return;
    }
    Add(new CUOrdAIOrder(*pOrder));
}

// ---------------------------------------------------------------------------
// Running and presenting

int CUnitOrderArray::UpdateOrders(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRGameMap* pMap,
                                  CKDRDatabase* pDatabase, CKDRObstacles* pObstacles, CKDRHoles* pHoles)
{
    if (pElement != nullptr && pElement->CountLiveVehicles(0, pUnits, pDatabase) == 0)
    {
        RemoveAll();
        return 1;
    }
    for (int i = 0; i < GetSize(); ++i)
    {
        CUnitOrder* pOrder = GetAt(i);
        if (pOrder == nullptr)
            continue;
        const int nResult = pOrder->Update(pElement, pUnits, pMap, pDatabase, pObstacles, pHoles);
        // The update may have added or removed orders: find this one again.
        const int nNow = FindOrder(pOrder);
        if (nNow < 0)
        {
            --i;
            continue;
        }
        i = nNow;
        if (nResult == 0)
        {
            RemoveAt(nNow);
            --i;
        }
    }
    return 1;
}

int CUnitOrderArray::ExecuteOrders(CUOrdAIOrderDataArray* pData, CHierarchyPlatoon* pElement, CHierarchyPlatoon* pOwner,
                                   CKDRUnits* pUnits, CKDRObstacles* pObstacles, CKDRHoles* pHoles,
                                   CKDRDatabase* pDatabase, CKDRGameMap* pMap, BOOL bDeleteFinished)
{
    const CPlayService* pPlay = GetPlayService();
    const BOOL bKeepAll = pPlay != nullptr && pPlay->IsDeploymentPhase();
    for (int i = 0; i < GetSize(); ++i)
    {
        CUnitOrder* pOrder = GetAt(i);
        if (pOrder == nullptr)
            continue;
        if (pOrder->Execute(pData, pElement, pOwner, pUnits, pObstacles, pHoles, pDatabase, pMap) != 0 || bKeepAll)
            continue;
        if (!bDeleteFinished)
            return 0;
        const int nNow = FindOrder(pOrder);
        if (nNow >= 0)
        {
            RemoveAt(nNow);
            i = nNow - 1;
        }
    }
    return 1;
}

void CUnitOrderArray::DrawOrders(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                 CKDRGameMap* pMap, CWnd* pView, DWORD dwOverlay, int nFlag, BOOL bPlatoonOverlays,
                                 BOOL bCompanyOverlays)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitOrder* pOrder = GetAt(i))
            pOrder->Draw(pElement, pUnits, pDatabase, pMap, pView, dwOverlay, nFlag, bPlatoonOverlays,
                         bCompanyOverlays);
    }
}

void CUnitOrderArray::GetDescriptions(CStringArray& texts, int nValue1, int nValue2)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitOrder* pOrder = GetAt(i))
        {
            const CString text = pOrder->GetDescription(nValue1, nValue2);
            if (!text.IsEmpty())
                texts.Add(text);
        }
    }
}

int CUnitOrderArray::LoadSOP(const CString& fileName, const CString& strDataDir)
{
    CString name = fileName;
    SetCurrentDir(strDataDir);
    CFile file;
    while (name.IsEmpty() || !file.Open(name, CFile::modeRead | CFile::typeBinary))
    {
        SetCurrentDir(strDataDir);
        // Cancelling gives up, whether or not a file was chosen before.
        CFileDialog dialog(TRUE, "sop", "*.sop", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
        dialog.SetMissingFile(name);
        if (dialog.DoModal() != IDOK)
            return 0;
        name = dialog.GetPathName();
    }
    CUnitOrderArray loaded;
    try
    {
        CArchive ar(&file, CArchive::load, SOP_READ_BUFFER);
        loaded.Serialize(ar);
        ar.Close();
        file.Close();
    }
    catch (const CException& e)
    {
        file.Abort();
        AfxMessageBox(CString("The standing orders \"") + name + "\" could not be read. " + e.GetErrorText(),
                      MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    RemoveAll();
    for (int i = 0; i < loaded.GetSize(); ++i)
        Add(loaded.GetAt(i));
    loaded.RemoveAllNoDelete();
    m_strSOPFileName = name;
    return 1;
}
