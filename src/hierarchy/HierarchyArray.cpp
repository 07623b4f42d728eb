#include "hierarchy/HierarchyArray.h"

IMPLEMENT_SERIAL(CHierarchyElement, CTaskOrg, 1)
IMPLEMENT_SERIAL(CHierarchyPlatoon, CHierarchyElement, 1)
IMPLEMENT_SERIAL(CHierarchyArray, CObArray, 1)

void CHierarchyElement::FillTaskOrg(CTaskOrgArray&) const {}

BOOL CHierarchyElement::GetPoint(float& fX, float& fY) const
{
    fX = -99.0f;
    fY = -99.0f;
    return FALSE;
}

void CHierarchyPlatoon::ResetPath() {}
void CHierarchyPlatoon::ReapplyFormation() {}

int CHierarchyPlatoon::CountLiveVehicles(DWORD, CKDRUnits*, CKDRDatabase*, BOOL) const
{
    return 0;
}

CHierarchyArray::CHierarchyArray() = default;
CHierarchyArray::CHierarchyArray(const CTaskOrgArray&, CKDRUnits*) {}

int CHierarchyArray::LoadHierarchyFile(const CString&) { return 1; }

int CHierarchyArray::ToggleOrderBit(DWORD) { return 0; }

void CHierarchyArray::FillTaskOrg(CTaskOrgArray& list) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CHierarchyElement* pElement = GetAt(i))
            pElement->FillTaskOrg(list);
    }
}
