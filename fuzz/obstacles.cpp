// The obstacle arrays ("*.fob", "*.eob"): loaded by the obstacle component
// as a side's file onto a small map with a display, so that positions are
// clamped and every obstacle draws its picture; then searched, stepped,
// turned into the other class family, and written back as the obstacles'
// part of a saved game.

#include "FuzzSupport.h"
#include "SmallMap.h"
#include "battlefield/AITerrain.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/MoverInfo.h"
#include "battlefield/Obstacle.h"
#include "battlefield/ObstacleArray.h"
#include "hierarchy/TaskOrg.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CKDRGameMap* pMap = fuzz::SmallDrawnMap();
    const CString dir = fuzz::Setup();
    fuzz::WriteInput("input.fob", data, size);

    CKDRObstacles obstacles;
    if (!obstacles.LoadObstacleArray(1, "input.fob", pMap, dir))
        return 0;
    CObstacleArray* pArray = obstacles.GetSideArray(1);
    int nSide = -1;
    obstacles.FindObstacleAt(200.0f, 200.0f, nSide, pMap, FALSE);
    nSide = -1;
    obstacles.FindChemAt(200.0f, 200.0f, nSide);
    CObstacle* pBlocking = nullptr;
    obstacles.IsBlocked(100.0f, 300.0f, pMap, 0x3, pBlocking, 0, -99);
    obstacles.IsBlocked(100.0f, 300.0f, pMap, 0x3, pBlocking, 1, 0x5);
    MoverInfo mover;
    mover.x = 20.0f;
    mover.y = 20.0f;
    mover.nFlags = 0x1;
    mover.nSide = 0;
    mover.pObstacles = &obstacles;
    float x = 0, y = 0;
    CAITerrainRoute* pRoute = nullptr;
    obstacles.FindCrossing(mover, pMap, nullptr, x, y, pRoute);
    delete pRoute;
    std::unique_ptr<CTaskOrgArray> pSelection(pArray->SelectInRect(0.0f, 0.0f, 400.0f, 400.0f));
    pArray->MoveSelected(pSelection.get(), 0.0f, 0.0f, 15.0f, -15.0f, pMap);
    obstacles.UpdateOtherSides(pMap);
    obstacles.Step(CTimeSpan(3600));
    std::unique_ptr<CObstacleArray> pPlain(pArray->ConvertClass(FALSE, pMap));
    obstacles.MergeArray(0, pPlain.get(), 1, FALSE);

    CMemFile out;
    CArchive ar(&out, CArchive::store);
    obstacles.SerializeState(ar);
    ar.Close();
    return 0;
}
