#pragma once
// The demo map's AI help map ("Demo.aim"), drawn over the demo ground of
// demo_terrain.h:
// - a region round the lake that keeps movers of class 0x1 and 0x2 out
//   (flags 0x3), holding a route that crosses the lake from shore to shore,
//   so that the map marks where it meets the water;
// - a route for every mover (all four bits) along the road, 12 m wide;
// - a support-by-fire group of three positions on the ridge east of the
//   valley, facing west over it;
// - a region round the dense woods on the ridge's west slope that keeps
//   vehicles (class 0x1) out, so that routes bend round them;
// - a second support-by-fire group behind the crest north of the road at
//   the saddle, facing west, for the enemy's ".SBF/Defense." once the dug
//   positions on the saddle are taken.
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

// The ridge woods (demo_terrain's blob round 2600, 2350) and the region a
// little wider round them.
constexpr double kWoodsX = 2600.0;
constexpr double kWoodsY = 2350.0;
constexpr double kWoodsRegionRadiusX = 280.0;
constexpr double kWoodsRegionRadiusY = 400.0;
constexpr int kWoodsRegionVertices = 14;
constexpr int kWoodsRegionFlags = 0x1;

// Behind the crest north of the road: 30 to 50 m east of it.
constexpr double kSaddleGroupYs[] = {1850.0, 1875.0, 1900.0};
constexpr double kBehindCrest = 30.0;  // and 10 m more for each further position

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

    auto* pWoods = new CAITerrainRegion;
    pWoods->SetFlags(kWoodsRegionFlags);
    pWoods->SetPoints(
        demo_terrain::Blob(kWoodsX, kWoodsY, kWoodsRegionRadiusX, kWoodsRegionRadiusY, kWoodsRegionVertices, 0.0));
    pWoods->Rebuild();
    helpMap->Add(pWoods);

    std::vector<AISBFPosition> saddle;
    for (size_t i = 0; i < std::size(kSaddleGroupYs); ++i)
    {
        const double y = kSaddleGroupYs[i];
        saddle.push_back(AISBFPosition{
            static_cast<float>(demo_terrain::RidgeCrestX(y) + kBehindCrest + 10.0 * static_cast<double>(i)),
            static_cast<float>(y), kFacingWest, 0});
    }
    auto* pSaddle = new CAITerrainSBF;
    pSaddle->SetPositions(saddle);
    pSaddle->Rebuild();
    helpMap->Add(pSaddle);
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
