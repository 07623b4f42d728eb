// The dug-position arrays ("*.fho"): loaded by the dug-position component
// as a side's file onto a small map with a display, so that positions are
// clamped and markers made; then searched, dragged, edited, occupied by an
// empty unit array, turned round for the other side, and written back as
// the dug positions' part of a saved game.

#include "FuzzSupport.h"
#include "SmallMap.h"
#include "battlefield/HoleArray.h"
#include "battlefield/KDRHoles.h"
#include "hierarchy/TaskOrg.h"
#include "units/UnitArray.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CKDRGameMap* pMap = fuzz::SmallDrawnMap();
    const CString dir = fuzz::Setup();
    fuzz::WriteInput("input.fho", data, size);

    CKDRHoles holes;
    if (!holes.LoadHoleArray(2, "input.fho", pMap, dir))
        return 0;
    CHoleArray* pArray = holes.GetSideArray(2);
    int nSide = -1;
    holes.FindHoleAtViewPoint(200, 200, pMap, nSide);
    pArray->FindNearestHole(100.0f, 100.0f, 1.0f, 500.0f, TRUE, TRUE);
    pArray->FindNearestHole(100.0f, 100.0f, -3.0f, 500.0f, FALSE, TRUE);
    std::unique_ptr<CTaskOrgArray> pSelection(pArray->SelectHolesInRect(0.0f, 0.0f, 400.0f, 400.0f));
    pArray->MoveSelected(pSelection.get(), 0.0f, 0.0f, 15.0f, -15.0f, pMap);
    pArray->EditSelected(pSelection.get());
    CUnitArray units;
    pArray->AssignOccupants(&units, pMap, 0);
    holes.DrawHoles(nullptr, pMap);
    CHoleArray copy(*pArray);
    holes.FixUpAfterLoad(pMap, TRUE, TRUE);

    CMemFile out;
    CArchive ar(&out, CArchive::store);
    holes.SerializeState(ar);
    ar.Close();
    return 0;
}
