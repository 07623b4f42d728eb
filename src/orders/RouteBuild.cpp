// The main path builder (BuildRoute) and its twin for a new path to a point
// (BuildRouteTo). Both work in place on the path: they move a blocked leg
// end sideways, walk a blocked leg in strides with a fan of trial headings,
// steer for the crossings the movement test offers, follow help-map routes
// and, when a walk runs over its node budget, undo it and lead the leg round
// the polygon that blocks it.
//
// Two rules here mend what the walk as first designed could do. Every step
// counts against the budget, not only those that lay a node, and a crossing
// whose route lays no node is not steered for again in the same leg: the
// walk used to find the same crossing for ever. And no count is taken from a
// wild coordinate: a node at no finite place, or further than a map
// diagonal off the map, leaves its legs unchanged, and budgets come from
// lengths capped at the diagonal.

#include "orders/NodeArray.h"
#include "orders/RouteBuildSupport.h"
#include "orders/RouteQueries.h"

#include "battlefield/AITerrain.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MoverInfo.h"
#include "hierarchy/TaskOrg.h"
#include "platform/core/Rounding.h"
#include "platform/core/Unset.h"
#include "units/KDRUnits.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace
{
constexpr double kPi = 3.14159265358979;
constexpr double kFanAngle = 0.17453292;  // ten degrees
constexpr int kFanSteps = 18;
constexpr int kFanPasses = 3;
constexpr float kDefaultSpacing = 100.0f;
constexpr float kSidewaysStep = 10.0f;
constexpr float kLongestStride = 100.0f;
constexpr float kShortestStride = 20.0f;
constexpr float kShortestFreeRun = 20.0f;
constexpr float kShortestFreeRunTo = 15.0f;
constexpr float kMetresPerBudgetNode = 10.0f;
// Where BuildRouteTo tests the way into a blocked end point from.
constexpr float kEndApproach = 10.0f;

// What the segment test reported.
struct SegmentHit
{
    float x = kUnsetFloat;
    float y = kUnsetFloat;
    CAITerrainRegion* pRegion = nullptr;
    CTerrain* pFeature = nullptr;
    CObstacle* pObstacle = nullptr;
    int nMarker = 0;
};

// The crossing the walk steers for, with the route that leads on from it.
struct Crossing
{
    float x = kUnsetFloat;
    float y = kUnsetFloat;
    CAITerrainRoute* pRoute = nullptr;
    BOOL bOwned = FALSE;
    int nReverse = 0;
    int nVertex = 0;

    bool IsHeld() const { return x >= 0.0f && y >= 0.0f; }
    void Release()
    {
        if (bOwned)
            delete pRoute;
        *this = Crossing();
    }
};

enum class FanResult
{
    Candidate,
    CrossingFound,
    GiveUp
};

class CRouteWalker
{
public:
    CRouteWalker(CNodeArray& path, const CRouteQueries& queries, CKDRObstacles* pObstacles, int nSide,
                 int nMoverKinds, int nIgnoreId, float fFrontage, float fStandoff,
                 const route_build::FormationMarks& marks, const CStringArray* pNames, CKDRUnits* pUnits,
                 CTaskOrgArray* pElement, void* pContext, bool bRouteTo)
        : m_path(path),
          m_queries(queries),
          m_pObstacles(pObstacles),
          m_nSide(nSide),
          m_nMoverKinds(nMoverKinds),
          m_nIgnoreId(nIgnoreId),
          m_fFrontage(fFrontage),
          m_fStandoff(fStandoff),
          m_marks(marks),
          m_pNames(pNames),
          m_pUnits(pUnits),
          m_pElement(pElement),
          m_pContext(pContext),
          m_bRouteTo(bRouteTo),
          m_fBound(route_build::LengthBound(queries.GetMap()))
    {
    }

    bool PointBlocked(float x, float y) const
    {
        return m_queries.IsPointBlocked(x, y, m_pObstacles, m_nMoverKinds, m_nSide, m_nIgnoreId) != 0;
    }

    bool SegmentBlocked(float x1, float y1, float x2, float y2, float fWidth, float fExtra, SegmentHit* pHit = nullptr)
    {
        SegmentHit hit;
        const int nBlocked =
            m_queries.FindSegmentBlock(m_pObstacles, x1, y1, x2, y2, &hit.x, &hit.y, fWidth, fExtra, m_nMoverKinds,
                                       m_nSide, &hit.pRegion, &hit.pFeature, &hit.pObstacle, &hit.nMarker, m_nIgnoreId);
        m_lastHit = nBlocked ? hit : SegmentHit();
        if (pHit != nullptr)
            *pHit = hit;
        return nBlocked != 0;
    }
    bool WideBlocked(float x1, float y1, float x2, float y2, SegmentHit* pHit = nullptr)
    {
        return SegmentBlocked(x1, y1, x2, y2, m_fFrontage, m_fStandoff, pHit);
    }
    bool PlainBlocked(float x1, float y1, float x2, float y2) { return SegmentBlocked(x1, y1, x2, y2, 0.0f, 0.0f); }

    // Walks the blocked leg from the node at nStart to pEnd; answers the
    // index the next leg starts from.
    int WalkLeg(int nStart, CNode* pEnd, bool bEndStuck);

    bool m_bDropped = false;

private:
    int IndexOf(const CNode* pNode) const
    {
        for (int i = 0; i < m_path.GetSize(); ++i)
        {
            if (m_path.GetAt(i) == pNode)
                return i;
        }
        return -1;
    }
    bool NodeLiesAt(float x, float y) const
    {
        for (int i = 0; i < m_path.GetSize(); ++i)
        {
            const CNode* pNode = m_path.GetAt(i);
            if (pNode != nullptr && pNode->m_fX == x && pNode->m_fY == y)
                return true;
        }
        return false;
    }
    bool IsDroppedCrossing(float x, float y) const
    {
        return std::find(m_droppedCrossings.begin(), m_droppedCrossings.end(), std::make_pair(x, y)) !=
               m_droppedCrossings.end();
    }
    // The movement test along a heading from (x, y); a usable crossing not
    // dropped for this leg becomes the held one.
    bool FindCrossing(float x, float y, double dHeading, Crossing& crossing);
    FanResult Fan(float cx, float cy, double g, float r, double dPrevious, float& px, float& py, bool& bPlain,
                  Crossing& crossing);
    // The route from the crossing inserted after the node at nIndex; the
    // number of nodes laid and the index of the last one.
    int FollowRoute(const Crossing& crossing, int nIndex, int& nLast);
    void UndoAndDetour(int nStart, CNode* pEnd);

    CNodeArray& m_path;
    const CRouteQueries& m_queries;
    CKDRObstacles* m_pObstacles;
    int m_nSide;
    int m_nMoverKinds;
    int m_nIgnoreId;
    float m_fFrontage;
    float m_fStandoff;
    const route_build::FormationMarks& m_marks;
    const CStringArray* m_pNames;
    CKDRUnits* m_pUnits;
    CTaskOrgArray* m_pElement;
    void* m_pContext;
    bool m_bRouteTo;
    float m_fBound;
    SegmentHit m_lastHit;
    std::vector<std::pair<float, float>> m_droppedCrossings;
};

bool CRouteWalker::FindCrossing(float x, float y, double dHeading, Crossing& crossing)
{
    MoverInfo mover;
    mover.x = x;
    mover.y = y;
    mover.heading = static_cast<float>(dHeading);
    mover.nFlags = m_nMoverKinds;
    mover.nSide = m_nSide;
    mover.nAbilities = m_nIgnoreId;
    mover.pObstacles = m_pObstacles;
    Crossing found;
    CAITerrainRoute* pRoute = nullptr;
    int nCreated = 0;
    const int nFound = m_queries.TestMoveBlocked(mover, m_lastHit.pObstacle, &found.x, &found.y, &pRoute, &nCreated,
                                                 &found.nReverse, &found.nVertex);
    found.pRoute = pRoute;
    found.bOwned = nCreated != 0;
    if (!nFound || !found.IsHeld() || IsDroppedCrossing(found.x, found.y))
    {
        found.Release();
        return false;
    }
    crossing = found;
    return true;
}

FanResult CRouteWalker::Fan(float cx, float cy, double g, float r, double dPrevious, float& px, float& py,
                            bool& bPlain, Crossing& crossing)
{
    for (int nPass = 1; nPass <= kFanPasses; ++nPass)
    {
        const float fWidth = nPass == 2 ? 0.0f : m_fFrontage;
        const float fStandoff = nPass == 2 ? 0.0f : m_fStandoff;
        double dCentre = g;
        float lastX = px;
        float lastY = py;
        for (int k = 1; k <= kFanSteps; ++k)
        {
            const double aLeft = dCentre - kFanAngle * k;
            const double aRight = dCentre + kFanAngle * k;
            const float leftX = cx + r * static_cast<float>(std::sin(aLeft));
            const float leftY = cy + r * static_cast<float>(std::cos(aLeft));
            float candX = 0.0f;
            float candY = 0.0f;
            double dCand = 0.0;
            bool bFound = false;
            if (!SegmentBlocked(cx, cy, leftX, leftY, fWidth, fStandoff))
            {
                candX = leftX;
                candY = leftY;
                dCand = aLeft;
                bFound = true;
            }
            else
            {
                const float rightX = cx + r * static_cast<float>(std::sin(aRight));
                const float rightY = cy + r * static_cast<float>(std::cos(aRight));
                if (!SegmentBlocked(cx, cy, rightX, rightY, fWidth, fStandoff))
                {
                    candX = rightX;
                    candY = rightY;
                    dCand = aRight;
                    bFound = true;
                }
            }
            if (bFound)
            {
                // The fan turns to every candidate it meets, taken or not.
                dCentre = dCand;
                lastX = candX;
                lastY = candY;
                if (route_build::IsTurnRefused(dPrevious, dCand) || NodeLiesAt(candX, candY))
                    continue;
                px = candX;
                py = candY;
                bPlain = nPass == 2;
                return FanResult::Candidate;
            }
            if (nPass == 1 && !crossing.IsHeld() &&
                (FindCrossing(cx, cy, aLeft, crossing) || FindCrossing(cx, cy, aRight, crossing)))
                return FanResult::CrossingFound;
        }
        if (nPass == 1)
        {
            if (!crossing.IsHeld() &&
                FindCrossing(cx, cy, route_build::Heading(cx, cy, lastX, lastY), crossing))
                return FanResult::CrossingFound;
            // A terrain feature with no way across: the fan would only
            // creep along it; the detour leads round it.
            if (m_lastHit.pFeature != nullptr)
                return FanResult::GiveUp;
        }
    }
    return FanResult::GiveUp;
}

int CRouteWalker::FollowRoute(const Crossing& crossing, int nIndex, int& nLast)
{
    const int nBefore = m_path.GetSize();
    int nNewIndex = nIndex;
    int nNewCount = nBefore;
    float outX = 0.0f;
    float outY = 0.0f;
    if (!m_bRouteTo)
    {
        m_path.InsertAIRoute(m_pNames, m_pUnits, TruncToInt(m_fFrontage), crossing.nReverse, crossing.nVertex,
                             crossing.pRoute, m_queries.GetMap(), m_nMoverKinds, &outX, &outY, nIndex, nBefore,
                             &nNewIndex, &nNewCount);
        nLast = nNewIndex;
        return nNewIndex - nIndex;
    }
    // BuildRouteTo's twin: the vertices go in as they come, the formation is
    // restored on the last of them, and nothing is thinned.
    const int nCount = crossing.pRoute != nullptr ? crossing.pRoute->GetPointCount() : 0;
    nLast = nIndex;
    if (nCount < 2)
        return 0;
    const auto& points = crossing.pRoute->GetPoints();
    int nStartVertex = crossing.nVertex;
    int nStop = nCount;
    int nStep = 1;
    if (crossing.nReverse)
    {
        nStartVertex = nStartVertex >= 0 && nStartVertex < nCount ? nStartVertex : nCount - 1;
        nStop = -1;
        nStep = -1;
    }
    else if (nStartVertex < 0 || nStartVertex > nCount)
    {
        nStartVertex = 0;
    }
    bool bNarrowed = false;
    const int nFrontage = TruncToInt(m_fFrontage);
    for (int v = nStartVertex; v != nStop; v += nStep)
    {
        auto* pNode = new CNode(static_cast<float>(points[v].x), static_cast<float>(points[v].y));
        if (points[v].value > nFrontage && nFrontage > 0)
        {
            if (bNarrowed)
                m_marks.Restore(pNode);
            bNarrowed = false;
        }
        else if (!bNarrowed)
        {
            m_marks.Narrow(pNode);
            bNarrowed = true;
        }
        m_path.InsertAt(++nLast, pNode);
    }
    if (nLast > nIndex)
        m_marks.Restore(m_path.GetAt(nLast));
    return nLast - nIndex;
}

void CRouteWalker::UndoAndDetour(int nStart, CNode* pEnd)
{
    const int nEnd = IndexOf(pEnd);
    if (nEnd < 0)
        return;
    if (nEnd - nStart > 1)
        m_path.RemoveAt(nStart + 1, nEnd - nStart - 1);
    const CNode* pStart = m_path.GetAt(nStart);
    SegmentHit hit;
    if (pStart == nullptr ||
        !WideBlocked(pStart->m_fX, pStart->m_fY, pEnd->m_fX, pEnd->m_fY, &hit) ||
        (hit.pRegion == nullptr && hit.pFeature == nullptr))
        return;
    CNodeArray detour;
    if (detour.BuildPolygonDetour(hit.pRegion, hit.pRegion != nullptr ? nullptr : hit.pFeature, m_fFrontage,
                                  m_fStandoff, pStart->m_fX, pStart->m_fY, pEnd->m_fX, pEnd->m_fY, m_nSide, m_pUnits,
                                  m_pObstacles, m_pElement, m_pContext, m_queries.GetMap(), m_marks.name0,
                                  m_marks.marker0, m_nMoverKinds, m_nIgnoreId, &m_queries) != 1)
        return;
    for (int i = 1; i < detour.GetSize(); ++i)
    {
        if (const CNode* pNode = detour.GetAt(i))
            m_path.InsertAt(nStart + i, new CNode(*pNode));
    }
}

int CRouteWalker::WalkLeg(int nStart, CNode* pEnd, bool bEndStuck)
{
    const CNode* pStart = m_path.GetAt(nStart);
    float cx = pStart->m_fX;
    float cy = pStart->m_fY;
    const float bx = pEnd->m_fX;
    const float by = pEnd->m_fY;
    int nBudget = RoundHalfUp(std::min(CKDRGameMap::Distance(cx, cy, bx, by), m_fBound) / kMetresPerBudgetNode);
    int nCurrent = nStart;
    int nInserted = 0;
    int nIdleSteps = 0;
    Crossing crossing;
    m_droppedCrossings.clear();

    for (;;)
    {
        m_bDropped = false;
        const CNode* pCurrent = m_path.GetAt(nCurrent);
        const CNode* pBefore = nCurrent > 0 ? m_path.GetAt(nCurrent - 1) : nullptr;
        const double dPrevious = pBefore != nullptr && pCurrent != nullptr
                                     ? route_build::Heading(pBefore->m_fX, pBefore->m_fY, pCurrent->m_fX,
                                                            pCurrent->m_fY)
                                     : static_cast<double>(kUnsetFloat);
        const float tx = crossing.IsHeld() ? crossing.x : bx;
        const float ty = crossing.IsHeld() ? crossing.y : by;
        const float d = CKDRGameMap::Distance(cx, cy, tx, ty);
        const float fStep =
            m_bRouteTo ? std::min(d, kLongestStride) : std::clamp(d * 0.5f, kShortestStride, kLongestStride);
        const float s = std::min(d, fStep);
        const double g = route_build::Heading(cx, cy, tx, ty);
        float px = cx + s * static_cast<float>(std::sin(g));
        float py = cy + s * static_cast<float>(std::cos(g));
        const bool bAtTarget = s == d;
        bool bTaken = false;
        bool bPlain = false;
        bool bGiveUp = false;
        bool bIdle = false;

        if (bAtTarget)
        {
            px = tx;
            py = ty;
            if (!WideBlocked(cx, cy, px, py))
            {
                bTaken = true;
            }
            else if (!PlainBlocked(cx, cy, px, py))
            {
                if (pBefore != nullptr)
                    route_build::FormationMarks::Drop(m_path.GetAt(nCurrent - 1));
                m_bDropped = true;
                bTaken = true;
            }
        }
        if (!bTaken)
        {
            SegmentHit hit;
            if (!WideBlocked(cx, cy, px, py, &hit))
            {
                bTaken = true;
            }
            else
            {
                const float fLess = m_bRouteTo && m_bDropped ? 0.0f : m_fStandoff;
                const float r = std::max(CKDRGameMap::Distance(cx, cy, hit.x, hit.y) - fLess,
                                         m_bRouteTo ? kShortestFreeRunTo : kShortestFreeRun);
                bool bFan = true;
                if (r > s)
                {
                    if (!PlainBlocked(cx, cy, px, py))
                    {
                        route_build::FormationMarks::Drop(m_path.GetAt(m_path.GetSize() - 1));
                        m_bDropped = true;
                        bTaken = true;
                        bFan = false;
                    }
                }
                else if (bAtTarget && d < fStep && bEndStuck && !crossing.IsHeld())
                {
                    bTaken = true;
                    bFan = false;
                }
                if (bFan)
                {
                    switch (Fan(cx, cy, g, r, dPrevious, px, py, bPlain, crossing))
                    {
                    case FanResult::Candidate:
                        bTaken = true;
                        break;
                    case FanResult::CrossingFound:
                        bIdle = true;
                        break;
                    case FanResult::GiveUp:
                        bGiveUp = true;
                        break;
                    }
                }
            }
        }

        if (bTaken)
        {
            if (crossing.IsHeld() && crossing.pRoute != nullptr && px == crossing.x && py == crossing.y)
            {
                int nLast = nCurrent;
                const int nLaid = FollowRoute(crossing, nCurrent, nLast);
                if (nLaid <= 0)
                {
                    // A route that lays nothing would be found again at once.
                    m_droppedCrossings.emplace_back(crossing.x, crossing.y);
                    bIdle = true;
                }
                else
                {
                    nInserted += nLaid;
                    nCurrent = nLast;
                    cx = m_path.GetAt(nCurrent)->m_fX;
                    cy = m_path.GetAt(nCurrent)->m_fY;
                }
                crossing.Release();
                if (IndexOf(pEnd) < 0)
                    return nCurrent + 1;  // thinned away: the walk is at the end
            }
            else if (px == bx && py == by)
            {
                auto* pNode = new CNode(px, py);
                if (m_bDropped || bPlain)
                    m_marks.Restore(pNode);
                m_path.InsertAt(nCurrent + 1, pNode);
                crossing.Release();
                return IndexOf(pEnd);
            }
            else
            {
                auto* pNode = new CNode(px, py);
                if (m_bDropped || bPlain)
                    m_marks.Restore(pNode);
                m_path.InsertAt(++nCurrent, pNode);
                ++nInserted;
                cx = px;
                cy = py;
            }
        }
        if (bIdle)
            ++nIdleSteps;
        if (bGiveUp)
            nBudget = nInserted + nIdleSteps - 1;

        if (nInserted + nIdleSteps <= nBudget)
        {
            if (PointBlocked(cx, cy))
            {
                crossing.Release();
                return IndexOf(pEnd);
            }
            continue;
        }
        crossing.Release();
        UndoAndDetour(nStart, pEnd);
        return IndexOf(pEnd);
    }
}

}  // namespace

// ---------------------------------------------------------------------------

int CRouteQueries::IsPointBlocked(float x, float y, CKDRObstacles* obstacles, int moverFlags, int moverSide,
                                  int abilityMask) const
{
    return m_pMap != nullptr ? m_pMap->IsPointBlocked(x, y, obstacles, moverFlags, moverSide, abilityMask) : 0;
}

int CRouteQueries::FindSegmentBlock(CKDRObstacles* obstacles, float x1, float y1, float x2, float y2,
                                    float* blockedX, float* blockedY, float width, float extraLength, int moverFlags,
                                    int moverSide, CAITerrainRegion** region, CTerrain** feature,
                                    CObstacle** obstacle, int* marker, int abilityMask) const
{
    if (m_pMap == nullptr)
        return 0;
    return m_pMap->FindSegmentBlock(obstacles, x1, y1, x2, y2, blockedX, blockedY, width, extraLength, moverFlags,
                                    moverSide, region, feature, obstacle, marker, abilityMask);
}

int CRouteQueries::TestMoveBlocked(const MoverInfo& mover, CObstacle* pCurrent, float* crossX, float* crossY,
                                   CAITerrainRoute** ppRoute, int* pRouteCreated, int* pReverse,
                                   int* pEntryIndex) const
{
    if (m_pMap == nullptr)
        return 0;
    return m_pMap->TestMoveBlocked(mover, nullptr, pCurrent, nullptr, FALSE, crossX, crossY, ppRoute, pRouteCreated,
                                   pReverse, pEntryIndex);
}

int CNodeArray::BuildRoute(int, float fFrontage, float fStandoff, float* pOutX, float* pOutY, CKDRUnits* pUnits,
                           CKDRObstacles* pObstacles, CTaskOrgArray* pElement, void* pContext, CKDRGameMap* pMap,
                           const CStringArray* pFormationNames, const CString&, int nMoverKinds, int nIgnoreId,
                           BOOL bStripStops, float fSpacing, BOOL bKeepLast, const CRouteQueries* pQueries)
{
    const CRouteQueries plain(pMap);
    const CRouteQueries& queries = pQueries != nullptr ? *pQueries : plain;
    auto report = [&]
    {
        const CNode* pLast = GetSize() > 0 ? GetAt(GetSize() - 1) : nullptr;
        if (pLast != nullptr && pOutX != nullptr)
            *pOutX = pLast->m_fX;
        if (pLast != nullptr && pOutY != nullptr)
            *pOutY = pLast->m_fY;
    };
    if (pOutX != nullptr)
        *pOutX = 0.0f;
    if (pOutY != nullptr)
        *pOutY = 0.0f;
    const int nSide = pElement != nullptr ? pElement->m_nSide : -1;
    const float fSpacingUsed = fSpacing >= 0.0f ? fSpacing : kDefaultSpacing;
    const route_build::FormationMarks marks(pFormationNames, pUnits, false);

    if (GetSize() == 0)
        Add(new CNode(0.0f, 0.0f));
    report();
    if (GetSize() == 1)
    {
        if (CNode* pOnly = GetAt(0))
            pOnly->SetStartTime(nSide != 0, CTimeSpan(START_TIME_HOLD_REQUEST));
        return 1;
    }
    const CNode* pFirst = GetAt(0);
    if (pFirst == nullptr || !route_build::IsWorkablePoint(pFirst->m_fX, pFirst->m_fY, queries.GetMap()) ||
        queries.IsPointBlocked(pFirst->m_fX, pFirst->m_fY, pObstacles, nMoverKinds, nSide, nIgnoreId))
        return 1;

    CRouteWalker walker(*this, queries, pObstacles, nSide, nMoverKinds, nIgnoreId, fFrontage, fStandoff, marks,
                        pFormationNames, pUnits, pElement, pContext, false);
    const float fBound = route_build::LengthBound(queries.GetMap());
    for (int i = 0; i < GetSize() - (bKeepLast ? 1 : 0) - 1; ++i)
    {
        CNode* pA = GetAt(i);
        CNode* pB = GetAt(i + 1);
        if (pA == nullptr || pB == nullptr)
            continue;
        if (bStripStops)
        {
            if (i != 0)
                pA->m_pOrders->RemoveOfType(NORD_STOP);
            pA->RemoveOrdersOfType(NORD_START_TIME);
            pB->m_pOrders->RemoveOfType(NORD_STOP);
            pB->RemoveOrdersOfType(NORD_START_TIME);
        }
        if (!route_build::IsWorkablePoint(pA->m_fX, pA->m_fY, queries.GetMap()) ||
            !route_build::IsWorkablePoint(pB->m_fX, pB->m_fY, queries.GetMap()))
            continue;

        bool bEndStuck = false;
        if (walker.PointBlocked(pB->m_fX, pB->m_fY))
        {
            double p = route_build::Heading(pA->m_fX, pA->m_fY, pB->m_fX, pB->m_fY) + kPi / 2.0;
            while (p > kPi)
                p -= 2.0 * kPi;
            const float sx = static_cast<float>(std::sin(p));
            const float sy = static_cast<float>(std::cos(p));
            const int n = TruncToInt(std::min(fSpacingUsed, fBound) * 0.1);
            bEndStuck = true;
            for (int k = 1; k < n && bEndStuck; ++k)
            {
                const float fAcross = kSidewaysStep * static_cast<float>(k);
                const float candidates[2][2] = {{pB->m_fX + fAcross * sx, pB->m_fY + fAcross * sy},
                                                {pB->m_fX - fAcross * sx, pB->m_fY - fAcross * sy}};
                for (const auto& c : candidates)
                {
                    if (!walker.PointBlocked(c[0], c[1]))
                    {
                        pB->m_fX = c[0];
                        pB->m_fY = c[1];
                        bEndStuck = false;
                        break;
                    }
                }
            }
        }

        if (!walker.WideBlocked(pA->m_fX, pA->m_fY, pB->m_fX, pB->m_fY))
        {
            if (walker.m_bDropped)
                marks.Restore(pA);
            walker.m_bDropped = false;
            continue;
        }
        if (!walker.PlainBlocked(pA->m_fX, pA->m_fY, pB->m_fX, pB->m_fY))
        {
            if (!walker.m_bDropped)
                route_build::FormationMarks::Drop(pA);
            walker.m_bDropped = true;
            continue;
        }
        if (walker.PointBlocked(pA->m_fX, pA->m_fY))
            continue;
        const int nNext = walker.WalkLeg(i, pB, bEndStuck);
        i = std::max(i, nNext - 1);
    }
    report();
    return 1;
}

void CNodeArray::BuildRouteTo(int, float fFrontage, float fStandoff, float fStartX, float fStartY, float fEndX,
                              float fEndY, float fFaceX, float fFaceY, CKDRGameMap* pMap, CKDRUnits* pUnits,
                              CKDRObstacles* pObstacles, CTaskOrgArray* pElement, const CStringArray* pFormationNames,
                              const CString&, int nMoverKinds, const CRouteQueries* pQueries)
{
    if (pMap == nullptr || pElement == nullptr)
        return;
    const CRouteQueries plain(pMap);
    const CRouteQueries& queries = pQueries != nullptr ? *pQueries : plain;
    const int nSide = pElement->m_nSide;
    const route_build::FormationMarks marks(pFormationNames, pUnits, false);

    RemoveAll();
    Add(new CNode(fStartX, fStartY));
    if (fStartX == fEndX && fStartY == fEndY)
    {
        GetAt(0)->SetStartTime(nSide != 0, CTimeSpan(START_TIME_HOLD_REQUEST));
        Add(new CNode(fFaceX, fFaceY));
        return;
    }
    if (!route_build::IsWorkablePoint(fStartX, fStartY, pMap) || !route_build::IsWorkablePoint(fEndX, fEndY, pMap))
    {
        Add(new CNode(fEndX, fEndY));
        return;
    }

    // AI routes pass no ability to cross obstacles.
    CRouteWalker walker(*this, queries, pObstacles, nSide, nMoverKinds, kUnset, fFrontage, fStandoff, marks,
                        pFormationNames, pUnits, pElement, nullptr, true);
    if (walker.PointBlocked(fEndX, fEndY))
    {
        // The way into a blocked end is tried from just below and left of
        // it; when even that is shut, the walk aims for the approach point.
        const float ax = fEndX - kEndApproach >= 0.0f ? fEndX - kEndApproach : fEndX + kEndApproach;
        const float ay = fEndY - kEndApproach >= 0.0f ? fEndY - kEndApproach : fEndY + kEndApproach;
        if (walker.PlainBlocked(ax, ay, fEndX, fEndY) && !walker.PointBlocked(ax, ay))
        {
            fEndX = ax;
            fEndY = ay;
        }
    }
    auto* pEnd = new CNode(fEndX, fEndY);
    Add(pEnd);
    if (!walker.PointBlocked(fStartX, fStartY))
    {
        if (!walker.WideBlocked(fStartX, fStartY, fEndX, fEndY))
        {
        }
        else if (!walker.PlainBlocked(fStartX, fStartY, fEndX, fEndY))
        {
            route_build::FormationMarks::Drop(GetAt(0));
            marks.Restore(pEnd);
        }
        else
        {
            walker.WalkLeg(0, pEnd, walker.PointBlocked(fEndX, fEndY));
        }
    }
    const CNode* pLast = GetAt(GetSize() - 1);
    if (fFaceX >= 0.0f && fFaceY >= 0.0f && pLast != nullptr && (pLast->m_fX != fFaceX || pLast->m_fY != fFaceY))
        OrientAtStop(route_build::Heading(pLast->m_fX, pLast->m_fY, fFaceX, fFaceY), pMap, nSide != 0);
    else if (CNode* pStop = GetAt(GetSize() - 1))
        pStop->SetStartTime(nSide != 0, CTimeSpan(START_TIME_HOLD_REQUEST));
}
