// The questions movement, path building and the AI orders ask the help map.
#include "battlefield/AITerrainArray.h"

#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRObstacles.h"
#include "platform/core/Rounding.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kPi = 3.1415927;
constexpr double kTwoPi = 6.2831855;
// The windows of a route entry: within 45 degrees of the route's direction
// (60 for a marked route) joins it forward, within 45 degrees of the
// opposite (60 for a marked route) backward.
constexpr double kForwardWindow = 0.7853982;
constexpr double kForwardWindowMarked = 1.0471976;
constexpr double kBackwardWindow = 2.3561945;
constexpr double kBackwardWindowMarked = 2.0943952;

// Steps of the segment walk.
constexpr double kStep = 10.0;
constexpr double kHalfStep = 5.0;

constexpr float kNoBest = 99999.0f;

// A wide search for the support-by-fire searches: -pi..pi for the bearing
// differences, folding by whole turns.
constexpr float kSearchPi = 3.14159f;
constexpr float kSearchTwoPi = 6.283185f;

// The help map's own items of one kind, skipping null entries.
template <class Fn>
void ForEachItem(const CAITerrainArray& items, int kind, Fn fn)
{
    for (CObject* pObject : items)
    {
        auto* pItem = static_cast<CAITerrain*>(pObject);
        if (pItem != nullptr && (pItem->GetKind() & kind) != 0)
            fn(pItem);
    }
}

// An angle difference brought into -pi..pi by whole turns.
float FoldDifference(float difference)
{
    // A wild angle would take forever to fold a turn at a time.
    if (!std::isfinite(difference))
        return difference;
    if (std::fabs(difference) > 64.0f * kSearchPi)
        difference = std::remainder(difference, kSearchTwoPi);
    while (difference < -kSearchPi)
        difference += kSearchTwoPi;
    while (difference > kSearchPi)
        difference -= kSearchTwoPi;
    return difference;
}

// The angle between a heading and a route's direction, 0 to pi.
double HeadingDifference(double heading, double direction)
{
    double a = heading;
    if (std::isfinite(a) && std::isfinite(direction) && std::fabs(a - direction) > 64.0 * kPi)
        a = direction + std::remainder(a - direction, kTwoPi);
    while (a < direction)
        a += kTwoPi;
    a -= direction;
    while (a > kPi)
        a -= kTwoPi;
    return std::fabs(a);
}

float Distance(float x1, float y1, float x2, float y2)
{
    return static_cast<float>(std::hypot(static_cast<double>(x2) - x1, static_cast<double>(y2) - y1));
}

// The map's point test as the route search asks it.
BOOL IsFree(const CKDRGameMap* pMap, float x, float y, CKDRObstacles* pObstacles, int moverFlags, int moverSide)
{
    return pMap == nullptr || !pMap->IsPointBlocked(x, y, pObstacles, moverFlags, moverSide, kUnset);
}
}  // namespace

BOOL CAITerrainArray::IsBlockedAt(float x, float y, CAITerrainRegion** ppItem, int moverFlags) const
{
    CAITerrainRegion* pBlocking = nullptr;
    for (CObject* pObject : *this)
    {
        auto* pItem = static_cast<CAITerrain*>(pObject);
        if (pItem == nullptr)
            continue;
        const int kind = pItem->GetKind();
        if ((kind & CAITerrain::kKindRegion) != 0 && pItem->HitTest(x, y))
        {
            auto* pRegion = static_cast<CAITerrainRegion*>(pItem);
            if (pRegion->Blocks(moverFlags))
                pBlocking = pRegion;
        }
        else if (kind == CAITerrain::kKindRoute &&
                 (static_cast<CAITerrainRoute*>(pItem)->GetRouteFlags() & CAITerrain::kMoverAll) ==
                     CAITerrain::kMoverAll &&
                 (moverFlags & CAITerrain::kMoverAll) == CAITerrain::kMoverAll && pItem->HitTest(x, y))
        {
            // A route for every mover clears every region, before or after it.
            if (ppItem != nullptr)
                *ppItem = nullptr;
            return FALSE;
        }
    }
    if (ppItem != nullptr)
        *ppItem = pBlocking;
    return pBlocking != nullptr;
}

BOOL CAITerrainArray::FindSegmentBlock(float startX, float startY, float endX, float endY, float* hitX, float* hitY,
                                       CKDRObstacles* pObstacles, const CKDRGameMap* pMap, int moverFlags,
                                       int moverSide, CAITerrainRegion** ppItem, CObstacle** ppObstacle, int* pMarker,
                                       int abilityMask) const
{
    if ((moverFlags & CAITerrain::kMoverUnblockable) != 0)
        return FALSE;
    const double dx = static_cast<double>(endX) - startX;
    const double dy = static_cast<double>(endY) - startY;
    if (std::fabs(dx) < kStep && std::fabs(dy) < kStep)
        return FALSE;

    const double bearing = std::atan2(dx, dy);
    auto report = [&](float x, float y, CAITerrainRegion* pRegion, CObstacle* pObstacle, int marker)
    {
        if (hitX != nullptr)
            *hitX = x;
        if (hitY != nullptr)
            *hitY = y;
        if (ppItem != nullptr)
            *ppItem = pRegion;
        if (ppObstacle != nullptr)
            *ppObstacle = pObstacle;
        if (pMarker != nullptr)
            *pMarker = marker;
    };
    report(kUnsetFloat, kUnsetFloat, nullptr, nullptr, 0);

    const int steps = TruncToInt(std::sqrt(dx * dx + dy * dy) * 0.1 + 0.75);
    if (steps <= 0)
        return FALSE;
    const double s = std::sin(bearing);
    const double c = std::cos(bearing);
    float cx = startX;
    float cy = startY;
    for (int i = 0; i < steps; ++i)
    {
        const float px = static_cast<float>(cx + kStep * s);
        const float py = static_cast<float>(cy + kStep * c);
        CAITerrainRegion* pRegion = nullptr;
        if (IsBlockedAt(px, py, &pRegion, moverFlags) && pRegion != nullptr)
        {
            report(px, py, pRegion, nullptr, pRegion->IsMarked());
            return TRUE;
        }
        if (pObstacles != nullptr)
        {
            const float mx = static_cast<float>(cx + kHalfStep * s);
            const float my = static_cast<float>(cy + kHalfStep * c);
            CObstacle* pObstacle = nullptr;
            if (pObstacles->IsBlocked(mx, my, pMap, moverFlags, pObstacle, moverSide, abilityMask))
            {
                report(mx, my, nullptr, pObstacle, 0);
                return TRUE;
            }
            pObstacle = nullptr;
            if (pObstacles->IsBlocked(px, py, pMap, moverFlags, pObstacle, moverSide, abilityMask))
            {
                report(px, py, nullptr, pObstacle, 0);
                return TRUE;
            }
        }
        cx = px;
        cy = py;
    }
    return FALSE;
}

BOOL CAITerrainArray::FindRouteEntry(float x, float y, float heading, int moverFlags, int moverSide,
                                     const CKDRGameMap* pMap, CKDRObstacles* pObstacles, float* entryX, float* entryY,
                                     int* pReverse, int* pEntryIndex, CAITerrainRoute** ppRoute, BOOL bWide) const
{
    const float range = bWide ? kRouteEntryWideRange : kRouteEntryRange;
    float best = kNoBest;
    float bestX = kUnsetFloat;
    float bestY = kUnsetFloat;
    int bestIndex = -1;
    int bestReverse = 0;
    CAITerrainRoute* pBest = nullptr;

    ForEachItem(*this, CAITerrain::kKindRoute,
                [&](CAITerrain* pItem)
                {
                    auto* pRoute = static_cast<CAITerrainRoute*>(pItem);
                    const std::vector<AIRoutePoint>& points = pRoute->GetPoints();
                    const int n = static_cast<int>(points.size());
                    const double direction = n > 0 ? std::atan2(static_cast<double>(points.back().x) - points.front().x,
                                                                static_cast<double>(points.back().y) - points.front().y)
                                                   : static_cast<double>(kUnsetFloat);
                    const double a = HeadingDifference(heading, direction);
                    const BOOL marked = pRoute->IsMarked();
                    const BOOL forward = a <= kForwardWindow || (a <= kForwardWindowMarked && marked);
                    const BOOL backward = a >= kBackwardWindow || (a > kBackwardWindowMarked && marked);
                    if (!forward && !backward)
                        return;

                    for (int pass = 0; pass < 2; ++pass)
                    {
                        const BOOL reverse = pass == 1;
                        if (!bWide && (reverse ? !backward : !forward))
                            continue;
                        for (int i = 0; i <= n - 2; ++i)
                        {
                            const int index = reverse ? std::max(n - 1 - i, 0) : i;
                            const AIRoutePoint& entry = points[static_cast<size_t>(index)];
                            const AIRoutePoint& farEnd = reverse ? points.front() : points.back();
                            const float ex = static_cast<float>(entry.x);
                            const float ey = static_cast<float>(entry.y);
                            if (ex < 0.0f || ey < 0.0f)
                                continue;
                            const float d = Distance(x, y, ex, ey);
                            if (!(d < best) || d > range)
                                continue;
                            if (!IsFree(pMap, ex, ey, pObstacles, moverFlags, moverSide) ||
                                !IsFree(pMap, static_cast<float>(farEnd.x), static_cast<float>(farEnd.y), pObstacles,
                                        moverFlags, moverSide))
                                continue;
                            best = d;
                            bestX = ex;
                            bestY = ey;
                            bestIndex = index;
                            bestReverse = reverse ? 1 : 0;
                            pBest = pRoute;
                        }
                    }
                });

    const BOOL found = bestX >= 0.0f && bestY >= 0.0f && pBest != nullptr;
    if (!found)
    {
        bestX = kUnsetFloat;
        bestY = kUnsetFloat;
        pBest = nullptr;
    }
    if (entryX != nullptr)
        *entryX = bestX;
    if (entryY != nullptr)
        *entryY = bestY;
    if (pEntryIndex != nullptr)
        *pEntryIndex = bestIndex;
    if (pReverse != nullptr)
        *pReverse = bestReverse;
    if (ppRoute != nullptr)
        *ppRoute = pBest;
    return found;
}

void CAITerrainArray::FindSBFPositionsNear(CAITerrainArray* pResult, float x, float y, float maxDistance, float targetX,
                                           float targetY) const
{
    if (pResult == nullptr)
        return;
    pResult->SetBorrowsItems(TRUE);
    ForEachItem(*this, CAITerrain::kKindSBF,
                [&](CAITerrain* pItem)
                {
                    auto* pSBF = static_cast<CAITerrainSBF*>(pItem);
                    const float cx = pSBF->GetCenterX();
                    const float cy = pSBF->GetCenterY();
                    if (Distance(x, y, cx, cy) > maxDistance)
                        return;
                    const float bearing = static_cast<float>(
                        std::atan2(static_cast<double>(targetX) - cx, static_cast<double>(targetY) - cy));
                    if (std::fabs(FoldDifference(pSBF->GetFacing() - bearing)) > kSBFFacingTolerance)
                        return;
                    if (pSBF->GetRange() == 0.0f || 0.75f * Distance(cx, cy, targetX, targetY) <= pSBF->GetRange())
                        pResult->Add(pSBF);
                });
}

void CAITerrainArray::FindSBFPositionsFacing(CAITerrainArray* pResult, float x, float y, float maxDistance,
                                             float bearing, int mask) const
{
    if (pResult == nullptr)
        return;
    pResult->SetBorrowsItems(TRUE);
    ForEachItem(*this, CAITerrain::kKindSBF,
                [&](CAITerrain* pItem)
                {
                    auto* pSBF = static_cast<CAITerrainSBF*>(pItem);
                    const float d = Distance(x, y, pSBF->GetCenterX(), pSBF->GetCenterY());
                    if (d > maxDistance)
                        return;
                    if (std::fabs(FoldDifference(pSBF->GetFacing() - bearing)) > kSBFFacingTolerance)
                        return;
                    if (pSBF->GetPositionCount() > 0)
                    {
                        const int combined = pSBF->GetCombinedFlags();
                        if (combined > 0 && mask > 0 && (combined & mask) == 0)
                            return;
                    }
                    if (pResult->Find(pSBF) >= 0)
                        return;
                    // Nearest first; an item as near as one found earlier goes before it.
                    int at = pResult->GetSize();
                    for (int i = 0; i < pResult->GetSize(); ++i)
                    {
                        const CAITerrain* pOther = pResult->GetAt(i);
                        if (pOther == nullptr || pOther->GetKind() != CAITerrain::kKindSBF)
                            continue;
                        const auto* pOtherSBF = static_cast<const CAITerrainSBF*>(pOther);
                        if (Distance(x, y, pOtherSBF->GetCenterX(), pOtherSBF->GetCenterY()) >= d)
                        {
                            at = i;
                            break;
                        }
                    }
                    pResult->InsertAt(at, pSBF);
                });
}

void CAITerrainArray::FindIFPositions(CAITerrainArray* pResult, float x, float y, float lo, float hi,
                                      float nearDistance, float farDistance) const
{
    // The indirect-fire position bit of a support-by-fire position.
    constexpr int kIndirectFirePosition = 0x2;
    if (pResult == nullptr)
        return;
    pResult->SetBorrowsItems(TRUE);
    const float from = FoldDifference(lo);
    const float to = FoldDifference(hi);
    ForEachItem(*this, CAITerrain::kKindSBF,
                [&](CAITerrain* pItem)
                {
                    auto* pSBF = static_cast<CAITerrainSBF*>(pItem);
                    if ((pSBF->GetCombinedFlags() & kIndirectFirePosition) == 0)
                        return;
                    const float cx = pSBF->GetCenterX();
                    const float cy = pSBF->GetCenterY();
                    const float d = Distance(x, y, cx, cy);
                    if (d < nearDistance || d > farDistance)
                        return;
                    const float bearing =
                        static_cast<float>(std::atan2(static_cast<double>(cx) - x, static_cast<double>(cy) - y));
                    const BOOL inWindow =
                        from <= to ? bearing >= from && bearing <= to : bearing >= from || bearing <= to;
                    if (inWindow)
                        pResult->Add(pSBF);
                });
}
