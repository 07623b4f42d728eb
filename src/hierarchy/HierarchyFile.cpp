// The battalion level: the hierarchy file, groupings built from a task
// organisation, copying and handing over structure, and placing a mounting
// element beside its carrier.

#include "hierarchy/HierarchyArray.h"

#include "database/KDRDatabase.h"
#include "database/VCapKinds.h"
#include "database/Vehicle.h"
#include "hierarchy/HierarchyDlg.h"
#include "hierarchy/HierarchySupport.h"
#include "orders/NodeArray.h"
#include "orders/UnitOrderArray.h"
#include "platform/core/File.h"
#include "platform/core/Unset.h"
#include "platform/ui/UiService.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"

#include <cmath>

using namespace hierarchy;

namespace
{
// The archive's read-ahead while a hierarchy file is read.
constexpr int HIERARCHY_READ_BUFFER = 4096;
}  // namespace

// ---------------------------------------------------------------------------
// The hierarchy file

int CHierarchyArray::LoadHierarchyFile(const CString& strFile, const CString& strDataDir)
{
    CString name = strFile;
    SetCurrentDir(strDataDir);
    CFile file;
    while (name.IsEmpty() || !file.Open(name, CFile::modeRead | CFile::typeBinary))
    {
        SetCurrentDir(strDataDir);
        // Cancelling gives up, whether or not a file was chosen before.
        CFileDialog dialog(TRUE, "hra", "*.hra", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
        dialog.SetMissingFile(name);
        if (dialog.DoModal() != IDOK)
            return 0;
        name = dialog.GetPathName();
    }
    // Read into a hierarchy of its own: a file cut short or corrupt leaves
    // this one as it was.
    CHierarchyArray loaded;
    try
    {
        CArchive ar(&file, CArchive::load, HIERARCHY_READ_BUFFER);
        loaded.Serialize(ar);
        ar.Close();
        file.Close();
    }
    catch (const CException& e)
    {
        file.Abort();
        AfxMessageBox(CString("The hierarchy \"") + name + "\" could not be read. " + e.GetErrorText(),
                      MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    SwapContents(loaded);
    return 1;
}

// ---------------------------------------------------------------------------
// A grouping built from a task organisation

namespace
{
// Takes the named entries of one kind in turn: each becomes a structure-only
// copy of the container of its name, and the entries the container covers
// leave the working list.
template <class Container>
void TakeNamedContainers(CHierarchyArray& grouping, CTaskOrgArray& work, CKDRUnits* pUnits,
                         Container* (*asKind)(CObject*))
{
    for (int i = 0; i < work.GetSize();)
    {
        const CTaskOrg* pEntry = work.GetAt(i);
        Container* pSource = nullptr;
        CString strName;
        if (pEntry != nullptr && pEntry->GetType() == TASKORG_KIND_NAMED)
        {
            strName = static_cast<const CHierarchyTaskOrg*>(pEntry)->m_strName;
            pSource = asKind(pUnits->FindElementByName(strName));
        }
        if (pSource == nullptr)
        {
            ++i;
            continue;
        }
        grouping.AddWithSide(new Container(*pSource, TRUE));
        pSource->RemoveFromTaskOrg(&work);
        // A container of another side than the list's removes nothing: the
        // entry itself still goes, or the scan would never end.
        for (int j = work.FindHierarchyTaskOrg(strName); j != kUnset; j = work.FindHierarchyTaskOrg(strName))
            work.RemoveAt(j);
        i = 0;
    }
}
}  // namespace

CHierarchyArray::CHierarchyArray(const CTaskOrgArray* pList, CKDRUnits* pUnits) : CHierarchyArray()
{
    // A temporary grouping: no window, no order sets, no path.
    delete m_pDialog;
    m_pDialog = nullptr;
    delete m_pOrders;
    m_pOrders = nullptr;
    delete m_pAIOrders;
    m_pAIOrders = nullptr;
    delete m_pPath;
    m_pPath = nullptr;
    if (pList == nullptr || pUnits == nullptr)
        return;
    CTaskOrgArray work(*pList);
    m_nSide = pList->m_nSide;
    TakeNamedContainers<CHierarchyCompany>(*this, work, pUnits, AsCompany);
    TakeNamedContainers<CHierarchyPlatoon>(*this, work, pUnits, AsPlatoon);
    for (int i = 0; i < work.GetSize(); ++i)
    {
        const CTaskOrg* pEntry = work.GetAt(i);
        if (pEntry == nullptr || pEntry->GetType() != TASKORG_KIND_UNIT)
            continue;
        if (const CHierarchyElement* pElement = pUnits->FindUnitElement(pEntry->m_nUnit, pEntry->m_nArray, m_nSide))
            Add(new CHierarchyElement(*pElement, TRUE));
    }
}

// ---------------------------------------------------------------------------
// Copying and handing over structure

void CHierarchyArray::CopyStructure(const CHierarchyArray* pOther)
{
    if (pOther == nullptr || pOther == this)
        return;
    for (int i = 0; i < pOther->GetSize(); ++i)
    {
        CObject* pChild = pOther->GetChild(i);
        if (const CHierarchyElement* pElement = AsElement(pChild))
            Add(new CHierarchyElement(*pElement, FALSE));
        else if (const CHierarchyPlatoon* pPlatoon = AsPlatoon(pChild))
            AddWithSide(new CHierarchyPlatoon(*pPlatoon, FALSE));
        else if (const CHierarchyCompany* pCompany = AsCompany(pChild))
            AddWithSide(new CHierarchyCompany(*pCompany, FALSE));
    }
}

int CHierarchyArray::TransferSubunits(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    if (pUnits == nullptr || pMap == nullptr || pDatabase == nullptr)
        return 0;
    for (int i = 0; i < GetSize();)
    {
        CHierarchyPlatoon* pChild = AsContainer(GetChild(i));
        CHierarchyPlatoon* pTarget = pChild != nullptr ? pUnits->FindElementByName(pChild->m_strName) : nullptr;
        if (pTarget == nullptr || pTarget == pChild)
        {
            ++i;
            continue;
        }
        pTarget->ReceivePath(pChild->m_pPath, pUnits, pMap, pDatabase, kUnsetFloat, kUnsetFloat, FALSE);
        RemoveAt(i);
    }
    return 1;
}

namespace
{
// A company's carrier (its first element) and passenger platoon (its first
// platoon); FALSE when it lacks either.
BOOL CarrierAndPassengers(const CHierarchyCompany& company, CHierarchyElement*& pCarrier,
                          CHierarchyPlatoon*& pPassengers)
{
    pCarrier = nullptr;
    pPassengers = nullptr;
    for (int k = 0; k < company.GetSize() && pCarrier == nullptr; ++k)
        pCarrier = company.GetElement(k);
    for (int k = 0; k < company.GetSize() && pPassengers == nullptr; ++k)
        pPassengers = company.GetPlatoon(k);
    return pCarrier != nullptr && pPassengers != nullptr;
}

// The carrier is alive, is a personnel carrier and has room aboard.
BOOL HasRoom(const CHierarchyElement& carrier, const CHierarchyPlatoon& passengers, int nSide, CKDRUnits* pUnits,
             CKDRDatabase* pDatabase)
{
    const CUnit* pUnit = carrier.GetUnit(pUnits, nSide);
    if (pUnit == nullptr || pUnit->m_bDestroyed)
        return FALSE;
    CVehicle* pVehicle = VehicleOf(pUnit, pDatabase);
    auto* pCapability = pVehicle != nullptr
                            ? dynamic_cast<CVCapPersonnelCarrier*>(pVehicle->FindCapability(VCAP_PERSONNEL_CARRIER))
                            : nullptr;
    return pCapability != nullptr && passengers.GetSize() < pCapability->m_nNumberOfDismounts;
}

// Whether the mounting side's hierarchy holds both units in the same group.
BOOL HeldTogether(CHierarchyPlatoon* pSide, const CHierarchyElement& mounting, const CHierarchyElement& carrier)
{
    if (pSide == nullptr)
        return FALSE;
    if (pSide->GetLevel() == HIERARCHY_COMPANY)
    {
        auto* pCompany = static_cast<CHierarchyCompany*>(pSide);
        int nFirst = kUnset;
        int nSecond = kUnset;
        pCompany->FindElementAnywhere(mounting.m_nUnit, mounting.m_nArray, nFirst);
        pCompany->FindElementAnywhere(carrier.m_nUnit, carrier.m_nArray, nSecond);
        return nFirst == nSecond && nFirst >= 0;
    }
    if (pSide->GetLevel() == HIERARCHY_BATTALION)
    {
        auto* pBattalion = static_cast<CHierarchyArray*>(pSide);
        int nPlatoon1 = kUnset;
        int nCompany1 = kUnset;
        int nPlatoon2 = kUnset;
        int nCompany2 = kUnset;
        pBattalion->FindElementIndex(mounting.m_nUnit, mounting.m_nArray, nPlatoon1, nCompany1);
        pBattalion->FindElementIndex(carrier.m_nUnit, carrier.m_nArray, nPlatoon2, nCompany2);
        return nPlatoon1 == nPlatoon2 && nCompany1 == nCompany2 && (nPlatoon1 >= 0 || nCompany1 >= 0);
    }
    return TRUE;
}
}  // namespace

int CHierarchyArray::InsertUnitsInOrder(CHierarchyElement* pElement, CHierarchyPlatoon* pMountingSide,
                                        CKDRUnits* pUnits, CKDRDatabase* pDatabase)
{
    if (pElement == nullptr || pUnits == nullptr || pDatabase == nullptr)
        return 0;
    CHierarchyElement* pCarrier = nullptr;
    CHierarchyPlatoon* pPassengers = nullptr;
    BOOL bAccepted = FALSE;
    // First a carrier the mounting element already belongs with, then any.
    for (int pass = 0; pass < 2 && !bAccepted; ++pass)
    {
        for (int i = 0; i < GetSize() && !bAccepted; ++i)
        {
            const CHierarchyCompany* pCompany = GetCompany(i);
            if (pCompany == nullptr || !CarrierAndPassengers(*pCompany, pCarrier, pPassengers) ||
                !HasRoom(*pCarrier, *pPassengers, m_nSide, pUnits, pDatabase))
                continue;
            bAccepted = pass == 1 || HeldTogether(pMountingSide, *pElement, *pCarrier);
        }
    }
    if (!bAccepted)
        return 0;
    const CUnit* pMounting = pElement->GetUnit(pUnits, m_nSide);
    const CUnit* pCarrierUnit = pCarrier->GetUnit(pUnits, m_nSide);
    if (pMounting == nullptr || pCarrierUnit == nullptr)
        return 0;
    const double dOwn = std::hypot(pMounting->m_fX - pCarrierUnit->m_fX, pMounting->m_fY - pCarrierUnit->m_fY);
    for (int k = 0; k < pPassengers->GetSize(); ++k)
    {
        const CHierarchyElement* pAboard = pPassengers->GetElement(k);
        const CUnit* pUnit = pAboard != nullptr ? pAboard->GetUnit(pUnits, m_nSide) : nullptr;
        if (pUnit != nullptr && std::hypot(pUnit->m_fX - pCarrierUnit->m_fX, pUnit->m_fY - pCarrierUnit->m_fY) >= dOwn)
        {
            pPassengers->InsertAt(k, pElement);
            return 1;
        }
    }
    pPassengers->Add(pElement);
    return 1;
}

void CHierarchyArray::ApplyTaskOrgNames(CTaskOrgArray* pList, CStringArray* pNames, CDWordArray* pCounts)
{
    if (pList == nullptr || pNames == nullptr || pCounts == nullptr)
        return;
    // The named entries in list order; one a container took away with an
    // earlier one is not seen again.
    CStringArray named;
    for (int i = 0; i < pList->GetSize(); ++i)
    {
        const CTaskOrg* pEntry = pList->GetAt(i);
        if (pEntry != nullptr && pEntry->GetType() == TASKORG_KIND_NAMED)
            named.Add(static_cast<const CHierarchyTaskOrg*>(pEntry)->m_strName);
    }
    for (const CString& strName : named)
    {
        const int nPosition = pList->FindHierarchyTaskOrg(strName);
        if (nPosition == kUnset)
            continue;
        if (CHierarchyPlatoon* pContainer = FindContainerByName(strName))
        {
            int nShift = 0;
            int nRemoved = 0;
            pContainer->CollectTaskOrgNames(*pNames, *pCounts, nPosition, nShift, nRemoved, pList);
        }
        else if (FindElementByName(strName, FALSE) != nullptr)
        {
            pNames->Add(strName);
            pCounts->Add(0);
        }
    }
}

void CHierarchyArray::HandOverElement(CHierarchyElement* pElement, CHierarchyArray* pSource)
{
    if (pElement == nullptr || pSource == nullptr)
        return;
    int nIndex = kUnset;
    if (CHierarchyPlatoon* pHolder = pSource->FindPlatoonOfElement(pElement->m_strName, nIndex))
    {
        CHierarchyElement* pHeld = pHolder->GetElement(nIndex);
        pHolder->RemoveAtNoDelete(nIndex);
        // The source's own record of the element is not needed once this
        // one takes its place.
        if (pHeld != pElement)
            delete pHeld;
    }
    Add(pElement);
}
