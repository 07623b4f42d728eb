#include "hierarchy/HierarchyElement.h"

#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "database/VehicleArray.h"
#include "database/VehicleCapability.h"
#include "database/VehicleWeapon.h"
#include "database/Weapon.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchySupport.h"
#include "platform/core/Unset.h"
#include "units/CarriedUnit.h"
#include "units/KDRUnits.h"
#include "units/UCapKinds.h"
#include "units/Unit.h"

#include <algorithm>
#include <memory>

IMPLEMENT_SERIAL(CHierarchyElement, CTaskOrg, 1)

using namespace hierarchy;

CHierarchyElement::CHierarchyElement()
    : m_bLeader(FALSE),
      m_bPlatoonLeader(FALSE),
      m_bCompanyLeader(FALSE),
      m_nValue(0),
      m_bDestroyed(FALSE),
      m_bMounted(FALSE),
      m_bMarked(FALSE),
      m_nState(0),
      m_bDetached(FALSE),
      m_hTreeItem(nullptr),
      m_nIndex(kUnset)
{
}

CHierarchyElement::CHierarchyElement(const CHierarchyElement& source, BOOL bStructureOnly) : CHierarchyElement()
{
    m_nUnit = source.m_nUnit;
    m_nArray = source.m_nArray;
    m_bLeader = source.m_bLeader;
    m_strName = source.m_strName;
    m_nIndex = source.m_nIndex;
    m_bDestroyed = source.m_bDestroyed;
    m_bMounted = source.m_bMounted;
    m_bDetached = source.m_bDetached;
    m_bMarked = source.m_bMarked;
    if (!bStructureOnly)
    {
        m_strSymbolType = source.m_strSymbolType;
        m_strText2 = source.m_strText2;
        m_strText3 = source.m_strText3;
        m_strText4 = source.m_strText4;
        m_bPlatoonLeader = source.m_bPlatoonLeader;
        m_bCompanyLeader = source.m_bCompanyLeader;
        m_nValue = source.m_nValue;
    }
}

CHierarchyElement::~CHierarchyElement() = default;

void CHierarchyElement::Serialize(CArchive& ar)
{
    CTaskOrg::Serialize(ar);
    if (ar.IsStoring())
    {
        ar << m_strSymbolType << m_strText2 << m_strText3 << m_strText4 << m_strName;
        StoreFlag(ar, m_bLeader);
        StoreFlag(ar, m_bPlatoonLeader);
        StoreFlag(ar, m_bCompanyLeader);
        StoreWord(ar, m_nValue);
        StoreWord(ar, m_nIndex);
        StoreFlag(ar, m_bDestroyed);
        StoreFlag(ar, m_bMounted);
        StoreFlag(ar, m_bDetached);
        StoreFlag(ar, m_bMarked);
    }
    else
    {
        ar >> m_strSymbolType >> m_strText2 >> m_strText3 >> m_strText4 >> m_strName;
        LoadFlag(ar, m_bLeader);
        LoadFlag(ar, m_bPlatoonLeader);
        LoadFlag(ar, m_bCompanyLeader);
        m_nValue = LoadWord(ar);
        m_nIndex = LoadWord(ar);
        LoadFlag(ar, m_bDestroyed);
        LoadFlag(ar, m_bMounted);
        LoadFlag(ar, m_bDetached);
        LoadFlag(ar, m_bMarked);
    }
}

int CHierarchyElement::AddToTaskOrg(CTaskOrgArray* pList) const
{
    if (pList == nullptr)
        return 0;
    auto* pEntry = new CTaskOrg(m_nUnit, m_nArray);
    if (pList->AddUnique(pEntry) == kUnset)
        delete pEntry;
    return 1;
}

int CHierarchyElement::GetTreeImage(const CStringArray& names, int nLevel) const
{
    const int nNames = names.GetSize();
    int nImage = 0;
    if (m_bDestroyed)
    {
        nImage = TREE_IMAGES_PER_NAME * nNames + TREE_IMAGES_PER_NAME;
    }
    else
    {
        if (m_bMounted)
        {
            nImage = TREE_IMAGES_PER_NAME * nNames;
        }
        else
        {
            const int nEntry = IndexOfName(names, m_strSymbolType + SYMBOL_SUFFIX_VEHICLE);
            nImage = nEntry >= 0 ? TREE_IMAGES_PER_NAME * nEntry : 0;
        }
        // Detachment wins over leadership.
        if (m_bDetached)
            nImage += TREE_IMAGE_DETACHED;
        else if (m_bLeader && nLevel == HIERARCHY_PLATOON)
            nImage += TREE_IMAGE_PLATOON_LEADER;
        else if (m_bLeader && nLevel == HIERARCHY_COMPANY)
            nImage += TREE_IMAGE_COMPANY_LEADER;
    }
    if (m_bMarked)
        nImage += TREE_IMAGE_MARKED;
    return nImage;
}

HTREEITEM CHierarchyElement::InsertTreeItem(CTreeCtrl* pTree, const CStringArray& names, HTREEITEM hParent, int nLevel)
{
    if (pTree == nullptr)
        return nullptr;
    const int nImage = GetTreeImage(names, nLevel);
    m_hTreeItem = pTree->InsertItem(m_strName, nImage, nImage, hParent, TVI_LAST);
    return m_hTreeItem;
}

CUnit* CHierarchyElement::GetUnit(CKDRUnits* pUnits, int nSide) const
{
    return FindUnit(pUnits, m_nUnit, m_nArray, nSide);
}

CVehicle* CHierarchyElement::GetVehicle(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nSide) const
{
    return VehicleOf(GetUnit(pUnits, nSide), pDatabase);
}

CString CHierarchyElement::GetLabel(CKDRDatabase* pDatabase, CKDRUnits* pUnits, int nSide) const
{
    if (pDatabase == nullptr || pUnits == nullptr || m_bDestroyed)
        return CString();
    const CUnit* pUnit = GetUnit(pUnits, nSide);
    const CVehicle* pVehicle = VehicleOf(pUnit, pDatabase);
    if (pVehicle == nullptr)
        return CString();
    CString label = pUnit->m_strName + "\t\t(" + pVehicle->m_strName;
    if (m_bMounted)
        label += ", mounted";
    if (m_bDetached)
        label += ", detached";
    return label + ")";
}

int CHierarchyElement::Refresh(CHierarchyArray* pHierarchy, CKDRUnits* pUnits, int nLevel)
{
    if (m_bDestroyed)
        return 0;
    if (!m_bDetached)
        return 1;
    if (pHierarchy == nullptr)
        return 0;
    const CUnit* pUnit = GetUnit(pUnits, pHierarchy->m_nSide);
    if (pUnit == nullptr)
        return 0;
    if (pUnit->IsCarried() && !m_bMounted)
        m_bMounted = TRUE;
    if (pUnit->m_bDestroyed && !m_bDestroyed)
        m_bDestroyed = TRUE;
    m_bDetached = FALSE;
    pHierarchy->RefreshElementItem(this, nLevel, CString());
    return 1;
}

BOOL CHierarchyElement::IsDetachedAlive() const { return m_bDetached && !m_bDestroyed; }

void CHierarchyElement::Detach(CHierarchyArray* pHierarchy, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                               BOOL bMarkStates)
{
    std::vector<const CHierarchyElement*> walked;
    DetachOnce(pHierarchy, pUnits, pDatabase, bMarkStates, walked);
}

void CHierarchyElement::DetachOnce(CHierarchyArray* pHierarchy, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                   BOOL bMarkStates, std::vector<const CHierarchyElement*>& walked)
{
    // Carriers may carry one another in a corrupt or hand-edited state:
    // each element is walked once, so the recursion always ends.
    if (std::find(walked.begin(), walked.end(), this) != walked.end())
        return;
    walked.push_back(this);

    const BOOL bNewlyDetached = !m_bDetached;
    m_bDetached = TRUE;
    BOOL bChanged = bNewlyDetached;
    BOOL bLost = bNewlyDetached;
    if (pHierarchy == nullptr)
        return;

    const int nSide = pHierarchy->m_nSide;
    CUnit* pUnit = GetUnit(pUnits, nSide);
    if (pUnit != nullptr)
    {
        if (!m_bMounted && pUnit->IsCarried())
        {
            m_bMounted = TRUE;
            bChanged = TRUE;
        }
        if (!m_bDestroyed && pUnit->m_bDestroyed)
        {
            m_bDestroyed = TRUE;
            bChanged = TRUE;
            bLost = TRUE;
        }
        if ((pUnit->GetCapabilityMask() & VCAP_PERSONNEL_CARRIER) != 0)
        {
            auto* pCarrier = dynamic_cast<CUCapPersonnelCarrier*>(pUnit->FindCapability(VCAP_PERSONNEL_CARRIER));
            if (pCarrier != nullptr && pCarrier->m_pPassengers != nullptr)
            {
                for (int i = 0; i < pCarrier->m_pPassengers->GetSize(); ++i)
                {
                    const CCarriedUnit* pCarried = pCarrier->m_pPassengers->GetAt(i);
                    if (pCarried == nullptr)
                        continue;
                    int nLevel = 0;
                    CHierarchyElement* pPassenger =
                        pHierarchy->FindElementOfUnit(pCarried->m_nUnit, pCarried->m_nArray, pCarried->m_nKind, nLevel);
                    if (pPassenger != nullptr)
                        pPassenger->DetachOnce(pHierarchy, pUnits, pDatabase, bMarkStates, walked);
                }
            }
        }
    }

    if (!bChanged)
        return;
    if (bLost && m_bLeader)
        pHierarchy->RepickLeaders(bMarkStates, pUnits, pDatabase);
    int nLevel = 0;
    pHierarchy->FindElementOfUnit(m_nUnit, m_nArray, nSide, nLevel);
    pHierarchy->RefreshElementItem(this, nLevel, CString());
    if (pUnit != nullptr)
        pUnit->m_bMarchSpeed = FALSE;
    if (pUnits != nullptr)
        pUnits->NotifyElementOfUnit(m_nUnit, m_nArray, nSide, bNewlyDetached);
}

int CHierarchyElement::SumWeaponValue(int nRoleMask, int nMinPenetration, int nSide, CKDRUnits* pUnits,
                                      CKDRDatabase* pDatabase, float& fSum, int& nCount) const
{
    if (pUnits == nullptr || pDatabase == nullptr)
        return 0;
    const CVehicleArray* pVehicles = pDatabase->GetVehicleArray();
    const CWeaponArray* pWeapons = pDatabase->GetWeaponArray();
    if (pVehicles == nullptr || pVehicles->GetSize() == 0 || pWeapons == nullptr || pWeapons->GetSize() == 0)
        return 0;
    CVehicle* pVehicle = GetVehicle(pUnits, pDatabase, nSide);
    if (pVehicle == nullptr || !RoleMatches(pVehicle->m_nRoleMask, nRoleMask))
        return 1;
    std::unique_ptr<CVehicleWeaponArray> pList(pVehicle->BuildWeaponList(pDatabase));
    for (int i = 0; pList != nullptr && i < pList->GetSize(); ++i)
    {
        const CVehicleWeapon* pMount = pList->GetAt(i);
        int nWeapon = 0;
        const CWeapon* pWeapon = pMount != nullptr ? pMount->GetWeapon(pDatabase, &nWeapon) : nullptr;
        if (pWeapon == nullptr || pWeapon->m_nPenetration < nMinPenetration)
            continue;
        fSum += static_cast<float>(pWeapon->m_nRange);
        ++nCount;
    }
    return 1;
}

int CHierarchyElement::GetVehicleRoleFlags(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nSide) const
{
    const CVehicle* pVehicle = GetVehicle(pUnits, pDatabase, nSide);
    return pVehicle != nullptr ? pVehicle->m_nRoleMask : 0;
}
