#include "hierarchy/HierarchyArray.h"

IMPLEMENT_SERIAL(CHierarchyElement, CTaskOrg, 1)
IMPLEMENT_SERIAL(CHierarchyPlatoon, CHierarchyElement, 1)
IMPLEMENT_SERIAL(CHierarchyArray, CObArray, 1)

void CHierarchyElement::FillTaskOrg(CTaskOrgArray&) const {}

void CHierarchyPlatoon::ResetPath() {}
void CHierarchyPlatoon::ReapplyFormation() {}

CHierarchyArray::CHierarchyArray() = default;
CHierarchyArray::CHierarchyArray(const CTaskOrgArray&, CKDRUnits*) {}

int CHierarchyArray::LoadHierarchyFile(const CString&)
{
    return 1;
}
