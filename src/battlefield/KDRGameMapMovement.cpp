// The game map's share of the movement rules: whether a point may be
// entered, where a corridor first meets ground, a help-map region or an
// obstacle that a mover cannot cross, and which way leads on from there.
#include "battlefield/AITerrainArray.h"
#include "battlefield/Breach.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/MoverInfo.h"
#include "platform/core/Rounding.h"

#include <algorithm>
#include <cmath>

void CKDRGameMap::SetElevationMap(CElevationMap* pMap)
{
    if (pMap == m_pElevationMap)
    {
        m_bElevationPresent = pMap != nullptr;
        NoteLookChanged();
        return;
    }
    delete m_pElevationMap;
    m_pElevationMap = pMap;
    m_bElevationPresent = pMap != nullptr;
    NoteLookChanged();
}

int CKDRGameMap::IsPointBlocked(float x, float y, CKDRObstacles* obstacles, int moverFlags, int moverSide,
                                int abilityMask) const
{
    const CElevationMap* pMap = GetElevationMap();
    if (pMap == nullptr)
        return 0;
    if (pMap->IsImpassable(x, y, moverFlags))
        return 1;
    if (x < 0.0f || y < 0.0f || x > pMap->GetWidth() || y > pMap->GetHeight())
        return 1;
    if (const CAITerrainArray* pHelpMap = GetHelpMap())
    {
        if (pHelpMap->IsBlockedAt(x, y, nullptr, moverFlags))
            return 1;
    }
    if (obstacles != nullptr)
    {
        CObstacle* pObstacle = nullptr;
        return obstacles->IsBlocked(x, y, this, moverFlags, pObstacle, moverSide, abilityMask) ? 1 : 0;
    }
    return 0;
}

int CKDRGameMap::FindSegmentBlock(CKDRObstacles* obstacles, float x1, float y1, float x2, float y2, float* blockedX,
                                  float* blockedY, float width, float extraLength, int moverFlags, int moverSide,
                                  CAITerrainRegion** region, CTerrain** feature, CObstacle** obstacle, int* marker,
                                  int abilityMask) const
{
    const CElevationMap* pMap = GetElevationMap();
    if (pMap == nullptr)
        return 0;
    if (blockedX != nullptr)
        *blockedX = -99.0f;
    if (blockedY != nullptr)
        *blockedY = -99.0f;
    if (region != nullptr)
        *region = nullptr;
    if (feature != nullptr)
        *feature = nullptr;
    if (obstacle != nullptr)
        *obstacle = nullptr;
    if (marker != nullptr)
        *marker = 0;
    if (x1 == x2 && y1 == y2)
        return 0;

    const double dx = static_cast<double>(x2) - x1;
    const double dy = static_cast<double>(y2) - y1;
    const double direction = std::atan2(dx, dy);
    const double across = direction + 1.5707963;
    const double length = std::sqrt(dx * dx + dy * dy) + extraLength;
    const int lines = std::max(1, TruncToInt(width * 0.1 + 0.5));
    const double alongX = std::sin(direction) * length;
    const double alongY = std::cos(direction) * length;
    const double acrossX = std::sin(across);
    const double acrossY = std::cos(across);
    const CAITerrainArray* pHelpMap = GetHelpMap();

    for (int i = 0; i < lines; ++i)
    {
        // The centre line first, then each pair of lines either side of it.
        const int sides = i == 0 ? 1 : 2;
        for (int side = 0; side < sides; ++side)
        {
            const double offset = (side == 0 ? 10.0 : -10.0) * i;
            const float startX = static_cast<float>(x1 + offset * acrossX);
            const float startY = static_cast<float>(y1 + offset * acrossY);
            const float endX = static_cast<float>(x1 + offset * acrossX + alongX);
            const float endY = static_cast<float>(y1 + offset * acrossY + alongY);
            if (pHelpMap != nullptr &&
                pHelpMap->FindSegmentBlock(startX, startY, endX, endY, blockedX, blockedY, obstacles, this, moverFlags,
                                           moverSide, region, obstacle, marker, abilityMask))
                return 1;
            if (pMap->FindSegmentBlock(startX, startY, endX, endY, blockedX, blockedY, feature, moverFlags))
                return 1;
        }
    }
    return 0;
}

int CKDRGameMap::TestMoveBlocked(const MoverInfo& mover, const CBreachArray* pLanes, CObstacle* pCurrent,
                                 const CAITerrainArray* pUnitHelpMap, BOOL bWide, float* crossX, float* crossY,
                                 CAITerrainRoute** ppRoute, int* pRouteCreated, int* pReverse, int* pEntryIndex) const
{
    float x = kUnsetFloat;
    float y = kUnsetFloat;
    CAITerrainRoute* pRoute = nullptr;
    int created = 0;
    int reverse = 0;
    int entryIndex = 0;
    auto report = [&](int found)
    {
        if (crossX != nullptr)
            *crossX = x;
        if (crossY != nullptr)
            *crossY = y;
        if (ppRoute != nullptr)
            *ppRoute = pRoute;
        else if (created)
            delete pRoute;
        if (pRouteCreated != nullptr)
            *pRouteCreated = created;
        if (pReverse != nullptr)
            *pReverse = reverse;
        if (pEntryIndex != nullptr)
            *pEntryIndex = entryIndex;
        return found;
    };
    auto usable = [&] { return x >= 0.0f && y >= 0.0f && pRoute != nullptr; };
    // An answer without a usable entry is dropped, and a route made for it
    // with it.
    auto discard = [&]
    {
        if (created)
            delete pRoute;
        pRoute = nullptr;
        created = 0;
        reverse = 0;
        entryIndex = 0;
        x = y = kUnsetFloat;
    };

    // The lanes and the obstacle passages are routes made for the answer.
    if (pLanes != nullptr)
    {
        created = 1;
        pLanes->FindLaneEntry(mover, this, &x, &y, &pRoute);
        if (usable())
            return report(1);
        discard();
    }
    if (mover.pObstacles != nullptr)
    {
        created = 1;
        mover.pObstacles->FindCrossing(mover, this, pCurrent, x, y, pRoute);
        if (usable())
            return report(1);
        discard();
    }
    // The help maps offer their own routes.
    const CAITerrainArray* const helpMaps[] = {pUnitHelpMap, GetHelpMap()};
    for (const CAITerrainArray* pHelpMap : helpMaps)
    {
        if (pHelpMap == nullptr)
            continue;
        pHelpMap->FindRouteEntry(mover.x, mover.y, mover.heading, mover.nFlags, mover.nSide, this, mover.pObstacles, &x,
                                 &y, &reverse, &entryIndex, &pRoute, bWide);
        if (usable())
            return report(1);
        discard();
    }
    return report(0);
}

