#pragma once
// A 400 x 400 m flat map with a 200 x 200 display, made once, for the
// targets whose loaders clamp to a map and draw onto it.

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "platform/ui/Display.h"

namespace fuzz
{
inline CKDRGameMap* SmallDrawnMap()
{
    static CDisplay display;
    static CKDRGameMap* pMap = []
    {
        display.Init(nullptr, 200, 200);
        auto* map = new CKDRGameMap;
        auto* ground = new CElevationMap;
        ground->SetGeometry(400, 400, 0, 0, 1);
        map->SetElevationMap(ground);
        map->SetDisplay(&display);
        return map;
    }();
    return pMap;
}
}  // namespace fuzz
