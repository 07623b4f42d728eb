// The game map's share of the movement rules: whether a point may be
// entered and where a corridor first meets ground a mover cannot cross.
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
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

int CKDRGameMap::IsPointBlocked(float x, float y, CKDRObstacles* /*obstacles*/, int moverFlags, int /*a*/,
                                int /*b*/) const
{
    const CElevationMap* pMap = GetElevationMap();
    if (pMap == nullptr)
        return 0;
    if (pMap->IsImpassable(x, y, moverFlags))
        return 1;
    if (x < 0.0f || y < 0.0f || x > pMap->GetWidth() || y > pMap->GetHeight())
        return 1;
    // The help map and the obstacles have their say here once they exist.
    return 0;
}

int CKDRGameMap::FindSegmentBlock(int /*a*/, float x1, float y1, float x2, float y2, float* blockedX, float* blockedY,
                                  float width, float extraLength, int moverFlags, int /*b*/, int* out1,
                                  CTerrain** feature, int* out2, int* out3, int /*c*/) const
{
    const CElevationMap* pMap = GetElevationMap();
    if (pMap == nullptr)
        return 0;
    if (blockedX != nullptr)
        *blockedX = -99.0f;
    if (blockedY != nullptr)
        *blockedY = -99.0f;
    if (out1 != nullptr)
        *out1 = 0;
    if (feature != nullptr)
        *feature = nullptr;
    if (out2 != nullptr)
        *out2 = 0;
    if (out3 != nullptr)
        *out3 = 0;
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

    for (int i = 0; i < lines; ++i)
    {
        // The centre line first, then each pair of lines either side of it.
        const int sides = i == 0 ? 1 : 2;
        for (int side = 0; side < sides; ++side)
        {
            const double offset = (side == 0 ? 10.0 : -10.0) * i;
            const double startX = x1 + offset * acrossX;
            const double startY = y1 + offset * acrossY;
            // The help map's segment test comes first here once it exists.
            if (pMap->FindSegmentBlock(static_cast<float>(startX), static_cast<float>(startY),
                                       static_cast<float>(startX + alongX), static_cast<float>(startY + alongY),
                                       blockedX, blockedY, feature, moverFlags))
                return 1;
        }
    }
    return 0;
}

float CKDRGameMap::Distance(float x1, float y1, float x2, float y2)
{
    return static_cast<float>(std::sqrt(std::pow(x2 - x1, 2) + std::pow(y2 - y1, 2)));
}
