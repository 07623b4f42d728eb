// The two path operations the builders lean on: the way round one blocking
// polygon (BuildPolygonDetour) and the following of a help-map route
// (InsertAIRoute), with the helpers the builders share.

#include "orders/NodeArray.h"
#include "orders/RouteBuildSupport.h"
#include "orders/RouteQueries.h"

#include "battlefield/AITerrain.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/Terrain.h"
#include "platform/core/Unset.h"
#include "units/KDRUnits.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
constexpr double kFoldLimit = 3.14159;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kTurnLimit = 2.094395;  // 120 degrees
// How far out of the polygon a detour point lies beyond the frontage, the
// near point, and the probe that tells inside from outside.
constexpr float kDetourClearance = 50.0f;
constexpr float kNearClearance = 10.0f;
constexpr float kInsideProbe = 5.0f;
constexpr double kNearestStart = 99999.0;
constexpr int kDetourPasses = 3;
// Lengths on a map of unknown size are capped here (100 km).
constexpr float kUnknownMapBound = 100000.0f;
}  // namespace

// ---------------------------------------------------------------------------
// Shared helpers

route_build::FormationMarks::FormationMarks(const CStringArray* pNames, CKDRUnits* pUnits, bool bNamesNeedUnits)
{
    if (pNames == nullptr || pNames->GetSize() == 0 || (bNamesNeedUnits && pUnits == nullptr))
        return;
    name0 = pNames->GetAt(0);
    if (pNames->GetSize() >= 2)
        nameL = pNames->GetAt(pNames->GetSize() - 1);
    if (pUnits != nullptr)
    {
        marker0 = pUnits->GetFormationGraphic(name0);
        markerL = pUnits->GetFormationGraphic(nameL);
    }
}

void route_build::FormationMarks::Drop(CNode* pNode)
{
    if (pNode != nullptr)
        pNode->SetFormationOrder(CString(), CString());
}

void route_build::FormationMarks::Restore(CNode* pNode) const
{
    if (pNode != nullptr)
        pNode->SetFormationOrder(name0, marker0);
}

void route_build::FormationMarks::Narrow(CNode* pNode) const
{
    if (pNode != nullptr)
        pNode->SetFormationOrder(nameL, markerL);
}

float route_build::LengthBound(const CKDRGameMap* pMap)
{
    float w = 0.0f;
    float h = 0.0f;
    if (!CNodeArray::GetMapSize(pMap, w, h))
        return kUnknownMapBound;
    return std::hypot(w, h);
}

bool route_build::IsWorkablePoint(float x, float y, const CKDRGameMap* pMap)
{
    if (!IsFinitePoint(x, y))
        return false;
    float w = 0.0f;
    float h = 0.0f;
    if (!CNodeArray::GetMapSize(pMap, w, h))
        return std::fabs(x) <= kUnknownMapBound && std::fabs(y) <= kUnknownMapBound;
    const float d = std::hypot(w, h);
    return x >= -d && y >= -d && x <= w + d && y <= h + d;
}

bool route_build::IsTurnRefused(double dPrevious, double dCandidate)
{
    if (dPrevious == static_cast<double>(kUnsetFloat))
        return false;
    double dTurn = std::fabs(dCandidate - dPrevious);
    if (dTurn > kFoldLimit)
        dTurn = std::fabs(kTwoPi - dTurn);
    return dTurn > kTurnLimit;
}

// ---------------------------------------------------------------------------
// The detour

int CNodeArray::BuildPolygonDetour(CAITerrainRegion* pRegion, CTerrain* pFeature, float fFrontage, float fStandoff,
                                   float fStartX, float fStartY, float fEndX, float fEndY, int nSide, CKDRUnits*,
                                   CKDRObstacles* pObstacles, CTaskOrgArray*, void*, CKDRGameMap* pMap,
                                   const CString& name0, const CString& marker0, int nMoverKinds, int nIgnoreId,
                                   const CRouteQueries* pQueries)
{
    if ((pRegion == nullptr && pFeature == nullptr) || pMap == nullptr)
        return 0;
    const CRouteQueries plain(pMap);
    const CRouteQueries& queries = pQueries != nullptr ? *pQueries : plain;

    std::vector<CPoint> vertices = pRegion != nullptr ? pRegion->GetPoints() : pFeature->GetPoints();
    const int n = static_cast<int>(vertices.size());
    if (n < 1 || !route_build::IsFinitePoint(fStartX, fStartY) || !route_build::IsFinitePoint(fEndX, fEndY))
        return 0;
    auto contains = [&](float x, float y)
    { return pRegion != nullptr ? pRegion->HitTest(x, y) != FALSE : pFeature->ContainsPoint(x, y) != FALSE; };
    auto blocked = [&](float x1, float y1, float x2, float y2, float fWidth, float fExtra, float* pX = nullptr,
                       float* pY = nullptr)
    {
        float bx = kUnsetFloat;
        float by = kUnsetFloat;
        const int nBlocked = queries.FindSegmentBlock(pObstacles, x1, y1, x2, y2, &bx, &by, fWidth, fExtra,
                                                      nMoverKinds, nSide, nullptr, nullptr, nullptr, nullptr,
                                                      nIgnoreId);
        if (pX != nullptr)
            *pX = bx;
        if (pY != nullptr)
            *pY = by;
        return nBlocked != 0;
    };

    double cxSum = 0.0;
    double cySum = 0.0;
    int iStart = -1;
    int iEnd = -1;
    double dStart = kNearestStart;
    double dEnd = kNearestStart;
    for (int i = 0; i < n; ++i)
    {
        const float vx = static_cast<float>(vertices[i].x);
        const float vy = static_cast<float>(vertices[i].y);
        cxSum += static_cast<double>(vx) / n;
        cySum += static_cast<double>(vy) / n;
        const double ds = CKDRGameMap::Distance(vx, vy, fStartX, fStartY);
        const double de = CKDRGameMap::Distance(vx, vy, fEndX, fEndY);
        if (ds < dStart)
        {
            dStart = ds;
            iStart = i;
        }
        if (de < dEnd)
        {
            dEnd = de;
            iEnd = i;
        }
    }
    if (cxSum <= 0.0 || cySum <= 0.0 || iStart < 0 || iEnd < 0 || iStart == iEnd)
        return 0;
    const int nForward = iEnd >= iStart ? iEnd - iStart : n - iStart + iEnd;
    const int nDir = nForward < n - nForward ? 1 : -1;
    auto wrap = [n](int i) { return i < 0 ? n - 1 : (i >= n ? 0 : i); };

    auto restore = [&](CNode* pNode) { pNode->SetFormationOrder(name0, marker0); };

    for (int nPass = 1; nPass <= kDetourPasses; ++nPass)
    {
        const int dir = nPass == 2 ? -nDir : nDir;
        const bool bLenient = nPass == kDetourPasses;
        RemoveAll();
        Add(new CNode(fStartX, fStartY));
        float cx = fStartX;
        float cy = fStartY;
        bool bDropped = false;
        for (int i = iStart, nVisited = 0; nVisited < n; i = wrap(i + dir), ++nVisited)
        {
            const float vx = static_cast<float>(vertices[i].x);
            const float vy = static_cast<float>(vertices[i].y);
            const CPoint& prev = vertices[wrap(i - dir)];
            const CPoint& next = vertices[wrap(i + dir)];
            const double e = route_build::Heading(prev.x, prev.y, next.x, next.y);
            double a = e + kHalfPi;
            while (a > kFoldLimit)
                a -= kTwoPi;
            double b = e - kHalfPi;
            while (b < -kFoldLimit)
                b += kTwoPi;
            const double o = contains(vx + kInsideProbe * static_cast<float>(std::sin(a)),
                                      vy + kInsideProbe * static_cast<float>(std::cos(a)))
                                 ? b
                                 : a;
            const float ox = static_cast<float>(std::sin(o));
            const float oy = static_cast<float>(std::cos(o));
            const float ex = static_cast<float>(std::sin(e));
            const float ey = static_cast<float>(std::cos(e));
            const float dx = vx + (fFrontage + kDetourClearance) * ox;
            const float dy = vy + (fFrontage + kDetourClearance) * oy;
            const float nx = vx + kNearClearance * ox;
            const float ny = vy + kNearClearance * oy;
            const float farX = dx + fFrontage * ox;
            const float farY = dy + fFrontage * oy;

            bool bAppended = false;
            if (!blocked(cx, cy, dx, dy, 0.0f, 0.0f) && !blocked(nx, ny, farX, farY, fStandoff, 0.0f) &&
                !blocked(dx + fStandoff * ex, dy + fStandoff * ey, dx - fStandoff * ex, dy - fStandoff * ey,
                         fFrontage, 0.0f))
            {
                auto* pNode = new CNode(dx, dy);
                if (bDropped)
                    restore(pNode);
                bDropped = false;
                Add(pNode);
                cx = dx;
                cy = dy;
                bAppended = true;
            }
            else
            {
                float hitX = kUnsetFloat;
                float hitY = kUnsetFloat;
                const bool bNearBlocked = blocked(cx, cy, nx, ny, 0.0f, 0.0f, &hitX, &hitY);
                if (!bNearBlocked || bLenient)
                {
                    float px = nx;
                    float py = ny;
                    if (bNearBlocked && hitX >= 0.0f && hitY >= 0.0f)
                    {
                        px = hitX;
                        py = hitY;
                    }
                    auto* pNode = new CNode(px, py);
                    if (!bDropped)
                        route_build::FormationMarks::Drop(pNode);
                    bDropped = true;
                    Add(pNode);
                    cx = px;
                    cy = py;
                    bAppended = true;
                }
            }
            if (bAppended)
            {
                CNode* pLast = GetAt(GetSize() - 1);
                if (!blocked(cx, cy, fEndX, fEndY, fFrontage, fStandoff))
                {
                    if (bDropped)
                        restore(pLast);
                    return 1;
                }
                if (!blocked(cx, cy, fEndX, fEndY, 0.0f, 0.0f))
                {
                    if (!bDropped)
                        route_build::FormationMarks::Drop(pLast);
                    return 1;
                }
            }
            if (i == iEnd)
                break;
        }
        const CNode* pLast = GetAt(GetSize() - 1);
        if (bLenient || !blocked(pLast->m_fX, pLast->m_fY, fEndX, fEndY, 0.0f, 0.0f))
            return 1;
    }
    RemoveAll();
    return 0;
}

// ---------------------------------------------------------------------------
// Following a help-map route

void CNodeArray::InsertAIRoute(const CStringArray* pFormationNames, CKDRUnits* pUnits, int nFrontage, BOOL bBackward,
                               int nStartIndex, const CAITerrainRoute* pRoute, CKDRGameMap*, int, float* pOutX,
                               float* pOutY, int nIndex, int nCount, int* pNewIndex, int* pNewCount)
{
    const route_build::FormationMarks marks(pFormationNames, pUnits, true);
    auto report = [&]
    {
        if (pNewIndex != nullptr)
            *pNewIndex = nIndex;
        if (pNewCount != nullptr)
            *pNewCount = nCount;
    };
    if (pRoute == nullptr || pRoute->GetPointCount() < 2 || nIndex < 0 || nIndex >= GetSize())
    {
        report();
        return;
    }
    const auto& points = pRoute->GetPoints();
    const int n = static_cast<int>(points.size());
    int nStart = 0;
    int nStop = n;
    int nStep = 1;
    if (bBackward)
    {
        nStart = nStartIndex >= 0 && nStartIndex < n ? nStartIndex : n - 1;
        nStop = -1;
        nStep = -1;
    }
    else
    {
        nStart = nStartIndex >= 0 && nStartIndex <= n ? nStartIndex : 0;
    }

    bool bNarrowed = false;
    for (int v = nStart; v != nStop; v += nStep)
    {
        const float x = static_cast<float>(points[v].x);
        const float y = static_cast<float>(points[v].y);
        auto* pNode = new CNode(x, y);
        if (points[v].value > nFrontage && nFrontage > 0)
        {
            if (bNarrowed)
                marks.Restore(pNode);
            bNarrowed = false;
        }
        else if (!bNarrowed)
        {
            marks.Narrow(pNode);
            bNarrowed = true;
        }
        InsertAt(++nIndex, pNode);
        ++nCount;
        if (pOutX != nullptr)
            *pOutX = x;
        if (pOutY != nullptr)
            *pOutY = y;
    }
    if (bNarrowed)
        marks.Restore(GetAt(nIndex));

    // Nodes that lead away from the path's end again are cut.
    const CNode* pLast = GetAt(GetSize() - 1);
    const CNode* pHere = GetAt(nIndex);
    if (pLast != nullptr && pHere != nullptr)
    {
        const float dHere = CKDRGameMap::Distance(pHere->m_fX, pHere->m_fY, pLast->m_fX, pLast->m_fY);
        while (nIndex + 1 < GetSize() - 1)
        {
            const CNode* pNext = GetAt(nIndex + 1);
            if (pNext != nullptr &&
                CKDRGameMap::Distance(pNext->m_fX, pNext->m_fY, pLast->m_fX, pLast->m_fY) <= dHere)
                break;
            RemoveAt(nIndex + 1);
            --nCount;
        }
    }
    report();
}
