// The AI help map ("*.aim"): regions holding nested items, routes and
// support-by-fire groups. A help map that loads is copied, answers the point
// test, a segment walk, a route entry and the support-by-fire searches, and is written back.

#include "FuzzSupport.h"
#include "battlefield/AITerrain.h"
#include "battlefield/AITerrainArray.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CAITerrainArray helpMap;
    bool loaded = false;
    fuzz::ReadArchive(data, size,
                      [&](CArchive& ar)
                      {
                          helpMap.Serialize(ar);
                          loaded = true;
                      });
    if (!loaded)
        return 0;

    const CAITerrainArray copy(helpMap);
    const float points[][2] = {{0, 0}, {250.5f, 120}, {-32768, -32768}, {32767, 32767}, {-1, 1000}};
    for (const auto& p : points)
    {
        CAITerrainRegion* pRegion = nullptr;
        copy.IsBlockedAt(p[0], p[1], &pRegion, CAITerrain::kMoverAll);
        helpMap.IsBlockedAt(p[0], p[1], &pRegion, 0x1);
    }
    float hitX = 0, hitY = 0;
    int marker = 0;
    CAITerrainRegion* pRegion = nullptr;
    CObstacle* pObstacle = nullptr;
    helpMap.FindSegmentBlock(-100, -100, 400, 300, &hitX, &hitY, nullptr, nullptr, 0x1, 0, &pRegion, &pObstacle,
                             &marker, 0);
    float entryX = 0, entryY = 0;
    int reverse = 0, entryIndex = 0;
    CAITerrainRoute* pRoute = nullptr;
    helpMap.FindRouteEntry(10, 10, 0.3f, CAITerrain::kMoverAll, 0, nullptr, nullptr, &entryX, &entryY, &reverse,
                           &entryIndex, &pRoute, TRUE);

    CAITerrainArray found;
    found.SetBorrowsItems(TRUE);
    helpMap.FindSBFPositionsNear(&found, 0, 0, 5000, 300, 300);
    helpMap.FindSBFPositionsFacing(&found, 0, 0, 5000, 0.5f, 0x3);
    helpMap.FindIFPositions(&found, 0, 0, -1.0f, 2.0f, 10, 5000);

    fuzz::WriteBack(helpMap);
    return 0;
}
