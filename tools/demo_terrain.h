#pragma once
// The demo mission's ground: 4 km by 3 km of rolling farmland with a ridge
// running north to south in the east, a valley with a lake in the south, a
// road from west to east over a saddle of the ridge, and woods on the ridge
// and in the west. BuildDemoElevationMap makes it in memory;
// WriteDemoElevationMap writes it as the "*.emp" file the game map reads,
// through the same Serialize that reads it.
//
// Everything is computed from fixed formulas, so the file is the same on
// every run and every machine.

#include "battlefield/ElevationMap.h"
#include "battlefield/Terrain.h"
#include "battlefield/TerrainArray.h"
#include "battlefield/TerrainType.h"
#include "platform/core/Core.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace demo_terrain
{
constexpr int kWidth = 4000;  // metres
constexpr int kHeight = 3000;
constexpr int kEastingOffset = 2000;
constexpr int kNorthingOffset = 5000;
constexpr int kMapType = 1;

// Terrain type indexes in the order they are added.
constexpr int kWoods = 0;
constexpr int kWater = 1;
constexpr int kRoad = 2;

// Where the ridge crest and the valley floor run (metres).
inline double RidgeCrestX(double y) { return 2900.0 + 180.0 * std::sin(y / 650.0); }
inline double ValleyFloorY(double x) { return 650.0 + 120.0 * std::sin(x / 700.0); }

// The road's centre line, west to east, crossing the ridge at its saddle.
inline std::vector<CPoint> RoadLine()
{
    return {CPoint(0, 1620),    CPoint(500, 1580),  CPoint(1000, 1680), CPoint(1500, 1800), CPoint(2000, 1850),
            CPoint(2500, 1820), CPoint(2900, 1800), CPoint(3300, 1900), CPoint(3700, 2050), CPoint(4000, 2100)};
}
constexpr double kSaddleY = 1800.0;

// Ground height in tenths of a metre.
inline short GroundAt(double x, double y)
{
    double h = 1000.0;                                      // 100 m plain
    h += 60.0 * std::sin(x / 530.0) * std::cos(y / 410.0);  // rolling ground
    h += 40.0 * std::sin((x + 0.6 * y) / 900.0);
    const double ridgeDx = x - RidgeCrestX(y);
    const double saddle = 1.0 - 0.45 * std::exp(-std::pow((y - kSaddleY) / 220.0, 2));
    h += 420.0 * saddle * std::exp(-std::pow(ridgeDx / 260.0, 2));  // ridge, 42 m
    const double valleyDy = y - ValleyFloorY(x);
    h -= 200.0 * std::exp(-std::pow(valleyDy / 210.0, 2));  // valley, 20 m
    return static_cast<short>(std::lround(h));
}

// A closed outline around (cx, cy) with radii rx, ry, its edge wobbling a
// little so it does not look drawn with compasses.
inline std::vector<CPoint> Blob(double cx, double cy, double rx, double ry, int vertices, double wobble)
{
    std::vector<CPoint> points;
    for (int i = 0; i < vertices; ++i)
    {
        const double a = 6.283185307179586 * i / vertices;
        const double k = 1.0 + wobble * std::sin(3.0 * a + cx * 0.01) * std::cos(2.0 * a + cy * 0.01);
        points.emplace_back(static_cast<int>(std::lround(cx + rx * k * std::cos(a))),
                            static_cast<int>(std::lround(cy + ry * k * std::sin(a))));
    }
    return points;
}

// The road as a strip `halfWidth` metres either side of its centre line.
inline std::vector<CPoint> Strip(const std::vector<CPoint>& line, double halfWidth)
{
    const size_t n = line.size();
    std::vector<CPoint> left;
    std::vector<CPoint> right;
    for (size_t i = 0; i < n; ++i)
    {
        const CPoint& a = line[i == 0 ? 0 : i - 1];
        const CPoint& b = line[i + 1 < n ? i + 1 : n - 1];
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        const double len = std::max(1.0, std::sqrt(dx * dx + dy * dy));
        const double nx = -dy / len * halfWidth;
        const double ny = dx / len * halfWidth;
        left.emplace_back(static_cast<int>(std::lround(line[i].x + nx)), static_cast<int>(std::lround(line[i].y + ny)));
        right.emplace_back(static_cast<int>(std::lround(line[i].x - nx)),
                           static_cast<int>(std::lround(line[i].y - ny)));
    }
    std::vector<CPoint> ring(left);
    ring.insert(ring.end(), right.rbegin(), right.rend());
    return ring;
}

inline void AddDemoTerrain(CTerrainArray& terrain)
{
    // Woods: 15 m tall, halve the speed, let half the light through.
    terrain.AddType(new CTerrainType("Woods", 0.5f, kUnset, 150, 0.5f,
                                     TerrainColourSet{0, 110, 0, 5 /* diagonal cross */, FALSE},
                                     TerrainColourSet{0, 80, 0, 2 /* forward diagonal */, FALSE}));
    // Open water: no vehicle crosses it.
    terrain.AddType(new CTerrainType("Water", 1.0f, kUnset, 0, -1.0f,
                                     TerrainColourSet{40, 90, 210, kTerrainFillSolid, FALSE},
                                     TerrainColourSet{40, 90, 210, 1 /* vertical */, FALSE}));
    terrain.AddType(new CTerrainType("Road", 1.0f, kUnset, 0, 1.5f,
                                     TerrainColourSet{150, 90, 40, kTerrainFillSolid, FALSE},
                                     TerrainColourSet{110, 60, 20, kTerrainFillSolid, FALSE}));

    terrain.AddFeature(new CTerrain(kWoods, Blob(2600.0, 2350.0, 260.0, 380.0, 14, 0.15)));  // ridge, west slope
    terrain.AddFeature(new CTerrain(kWoods, Blob(650.0, 2300.0, 300.0, 220.0, 12, 0.2)));    // west
    terrain.AddFeature(new CTerrain(kWoods, Blob(3450.0, 950.0, 240.0, 200.0, 12, 0.2)));    // east of the ridge
    terrain.AddFeature(new CTerrain(kWater, Blob(1250.0, ValleyFloorY(1250.0), 260.0, 110.0, 16, 0.08)));
    terrain.AddFeature(new CTerrain(kRoad, Strip(RoadLine(), 6.0)));
}

inline std::unique_ptr<CElevationMap> BuildDemoElevationMap(const CString& fileName = CString("Demo.emp"))
{
    auto map = std::make_unique<CElevationMap>();
    map->SetFileName(fileName);
    map->SetSquareDesignators("NV", "NA", "PV", "PA");
    map->SetGeometry(kWidth, kHeight, kEastingOffset, kNorthingOffset, kMapType);
    for (int c = 0; c < map->GetColumns(); ++c)
        for (int r = 0; r < map->GetRows(); ++r)
            map->SetElevation(c, r, GroundAt(10.0 * c, 10.0 * r));
    map->UpdateElevationRange();
    AddDemoTerrain(*map->GetTerrain());
    return map;
}

// Writes the demo map to `path` (resolved against the current directory).
// FALSE with the error's text when the file cannot be written.
inline BOOL WriteDemoElevationMap(const char* path, CString& errorText)
{
    const std::unique_ptr<CElevationMap> map = BuildDemoElevationMap();
    try
    {
        CFile file;
        CFileException openError;
        if (!file.Open(path, CFile::modeCreate | CFile::modeWrite, &openError))
        {
            errorText = openError.GetErrorText();
            return FALSE;
        }
        CArchive ar(&file, CArchive::store);
        map->Serialize(ar);
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
}  // namespace demo_terrain
