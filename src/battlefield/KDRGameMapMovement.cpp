// The game map's share of the movement rules: whether a point may be
// entered and where a corridor first meets ground, a help-map region or an
// obstacle that a mover cannot cross.
#include "battlefield/AITerrainArray.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRObstacles.h"
#include "platform/core/Rounding.h"

#include <algorithm>
#include <cmath>

void CKDRGameMap::SetElevationMap(CElevationMap* pMap)
{
    if (pMap == m_pElevationMap)
    {
        m_bElevationPresent = pMap != nullptr;
        return;
    }
    delete m_pElevationMap;
    m_pElevationMap = pMap;
    m_bElevationPresent = pMap != nullptr;
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

float CKDRGameMap::Distance(float x1, float y1, float x2, float y2)
{
    return static_cast<float>(std::sqrt(std::pow(x2 - x1, 2) + std::pow(y2 - y1, 2)));
}
