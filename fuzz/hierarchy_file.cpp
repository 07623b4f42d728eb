// The hierarchy file ("*.hra"): one side's battalion with its companies,
// platoons and elements, read through the game's own loader (a bad file
// gives its message and 0), then the walks over what was read (finding
// units and names, leaders, renumbering, copies, the unit list, emptying)
// and a write back.

#include "FuzzSupport.h"
#include "hierarchy/HierarchyArray.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const CString path = fuzz::WriteInput("input.hra", data, size);
    CHierarchyArray hierarchy;
    if (!hierarchy.LoadHierarchyFile(path, fuzz::Setup()))
        return 0;
    fuzz::WriteBack(hierarchy);
    int nLevel = 0;
    for (int nUnit = -1; nUnit < 4; ++nUnit)
        hierarchy.FindElementOfUnit(nUnit, 0, hierarchy.m_nSide, nLevel);
    hierarchy.FindContainerByName("1st Tank");
    hierarchy.FindElementByName("Tank 11", FALSE);
    hierarchy.RepickLeaders(TRUE, nullptr, nullptr);
    hierarchy.RenumberAfterRemoval(1, 0, hierarchy.m_nSide);
    CStringArray names;
    hierarchy.CollectSymbolNames(names);
    CTaskOrgArray units;
    hierarchy.FillUnitList(&units, TRUE);
    CHierarchyArray shape(hierarchy, TRUE);
    CHierarchyArray copy(hierarchy, FALSE);
    fuzz::WriteBack(copy);
    CTaskOrgArray elements;
    copy.MoveAllElementsTo(elements);
    return 0;
}
