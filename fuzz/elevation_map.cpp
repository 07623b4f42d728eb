// The elevation map ("*.emp"): header, samples and the terrain laid over
// them; a map that loads answers a few sight lines and point queries and is
// written back.

#include "FuzzSupport.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/TerrainArray.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CElevationMap map;
    bool loaded = false;
    fuzz::ReadArchive(data, size,
                      [&](CArchive& ar)
                      {
                          map.Serialize(ar);
                          loaded = true;
                      });
    if (!loaded)
        return 0;
    const float w = static_cast<float>(map.GetWidth());
    const float h = static_cast<float>(map.GetHeight());
    const float points[][2] = {{0, 0}, {w, h}, {w * 0.5f, h * 0.25f}, {-50, h * 0.5f}, {w + 50, -20}};
    for (const auto& a : points)
    {
        map.GetElevation(a[0], a[1]);
        map.GetGridReference(a[0], a[1]);
        map.GetTerrain()->GetFeatureHeightAt(a[0], a[1]);
        map.GetTerrain()->GetObscurationAt(a[0], a[1]);
        map.GetTerrain()->GetTerrainNameAt(a[0], a[1]);
        for (const auto& b : points)
        {
            float bearing = 0, range = 0, seen = 0;
            map.HasLineOfSight(a[0], a[1], b[0], b[1], 20.0f, 20.0f, &bearing, &range, &seen);
        }
    }
    fuzz::WriteBack(map);
    return 0;
}
