#pragma once
// The demo map's AI help map ("Demo.aim"), drawn over the demo ground of
// demo_terrain.h:
// - a region round the lake that keeps movers of class 0x1 and 0x2 out
//   (flags 0x3), holding a route that crosses the lake from shore to shore,
//   so that the map marks where it meets the water;
// - a route for every mover (all four bits) along the road, 12 m wide;
// - a support-by-fire group of three positions on the ridge east of the
//   valley, facing west over it.
// The file is written through the help map's own Serialize, and everything
// is computed from fixed formulas, so it is the same on every run.

#include "battlefield/AITerrain.h"
#include "battlefield/AITerrainArray.h"
#include "demo_terrain.h"
#include "platform/core/Core.h"

#include <cmath>
#include <memory>
#include <vector>

namespace demo_helpmap
{
const char* const kHelpMapFile = "Demo.aim";

// The lake's centre (it lies on the valley floor) and the region round it.
constexpr double kLakeX = 1250.0;
inline double LakeY() { return demo_terrain::ValleyFloorY(kLakeX); }
constexpr double kRegionRadiusX = 330.0;
constexpr double kRegionRadiusY = 170.0;
constexpr int kRegionVertices = 16;
constexpr int kRegionFlags = 0x3;
// The crossing runs north from 230 m south of the lake's centre.
constexpr int kCrossingReach = 230;
constexpr int kCrossingFlags = 0x3;
constexpr int kCrossingWidth = 8;  // metres

constexpr int kRoadRouteFlags = 0xF;
constexpr int kRoadWidth = 12;  // metres: the road strip is 6 m either side

// Where the support-by-fire positions lie: on the ridge's crest line, 15 to
// 25 m down its west slope.
constexpr double kRidgePositionYs[] = {1150.0, 1200.0, 1250.0};
constexpr int kRidgePositionFlags[] = {0x1, 0x2, 0x10};
constexpr double kBelowCrest = 15.0;
constexpr float kFacingWest = -1.5707964f;

inline CAITerrainRoute* MakeRoute(const std::vector<CPoint>& line, int flags, int width)
{
    std::vector<AIRoutePoint> points;
    for (const CPoint& p : line)
        points.push_back(AIRoutePoint{p.x, p.y, width, 0});
    auto* pRoute = new CAITerrainRoute;
    pRoute->SetRouteFlags(flags);
    pRoute->SetPoints(points);
    pRoute->Rebuild();
    return pRoute;
}

inline std::unique_ptr<CAITerrainArray> BuildDemoHelpMap()
{
    auto helpMap = std::make_unique<CAITerrainArray>();
    helpMap->SetFileName(kHelpMapFile);

    const int lakeX = static_cast<int>(std::lround(kLakeX));
    const int lakeY = static_cast<int>(std::lround(LakeY()));
    auto* pLake = new CAITerrainRegion;
    pLake->SetFlags(kRegionFlags);
    pLake->SetPoints(demo_terrain::Blob(kLakeX, LakeY(), kRegionRadiusX, kRegionRadiusY, kRegionVertices, 0.0));
    pLake->Rebuild();
    pLake->GetChildren()->Add(MakeRoute({CPoint(lakeX, lakeY - kCrossingReach), CPoint(lakeX, lakeY + kCrossingReach)},
                                        kCrossingFlags, kCrossingWidth));
    helpMap->Add(pLake);

    helpMap->Add(MakeRoute(demo_terrain::RoadLine(), kRoadRouteFlags, kRoadWidth));

    std::vector<AISBFPosition> positions;
    for (size_t i = 0; i < std::size(kRidgePositionYs); ++i)
    {
        const double y = kRidgePositionYs[i];
        positions.push_back(
            AISBFPosition{static_cast<float>(demo_terrain::RidgeCrestX(y) - kBelowCrest - 5.0 * static_cast<double>(i)),
                          static_cast<float>(y), kFacingWest, kRidgePositionFlags[i]});
    }
    auto* pRidge = new CAITerrainSBF;
    pRidge->SetPositions(positions);
    pRidge->Rebuild();
    helpMap->Add(pRidge);
    return helpMap;
}

// Writes the demo help map to `path`; FALSE with the error's text when the
// file cannot be written.
inline BOOL WriteDemoHelpMap(const char* path, CString& errorText)
{
    const std::unique_ptr<CAITerrainArray> helpMap = BuildDemoHelpMap();
    try
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        CArchive ar(&file, CArchive::store);
        helpMap->Serialize(ar);
        ar.Close();
        file.Close();
    }
    catch (const CException& e)
    {
        errorText = e.GetErrorText();
        return FALSE;
    }
    return TRUE;
}
}  // namespace demo_helpmap
