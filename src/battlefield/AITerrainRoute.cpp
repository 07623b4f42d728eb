// The help map's route: a polyline of whole-metre points.
#include "battlefield/AITerrain.h"

#include "battlefield/AITerrainInternal.h"
#include "platform/core/Archive.h"
#include "platform/core/Rounding.h"

#include <cmath>

IMPLEMENT_SERIAL(CAITerrainRoute, CAITerrain, 1)

namespace
{
// Radians to mils: 3200 / pi.
constexpr double kMilsPerRadian = 1018.5916;
constexpr int kMilsPerCircle = 6400;
}  // namespace

CAITerrainRoute::CAITerrainRoute(const CAITerrainRoute& other)
    : CAITerrain(other), m_nFlags(other.m_nFlags), m_points(other.m_points), m_bMarked(other.m_bMarked)
{
    Rebuild();
}

void CAITerrainRoute::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << static_cast<WORD>(m_nFlags);
        StorePointCount(ar, m_points.size());
        ar << static_cast<WORD>(m_bMarked ? 1 : 0);
        for (const AIRoutePoint& p : m_points)
            ar << static_cast<WORD>(p.x) << static_cast<WORD>(p.y) << static_cast<WORD>(p.value)
               << static_cast<WORD>(p.extra);
        return;
    }

    NoteLoading();
    short flags = 0;
    ar >> flags;
    const short count = LoadPointCount(ar);
    WORD marked = 0;
    ar >> marked;
    ar.EnsureBytesLeft(static_cast<ULONGLONG>(count) * 8);
    std::vector<AIRoutePoint> points(static_cast<size_t>(count));
    for (AIRoutePoint& p : points)
    {
        short x = 0;
        short y = 0;
        short value = 0;
        short extra = 0;
        ar >> x >> y >> value >> extra;
        p = AIRoutePoint{x, y, value, extra};
    }
    m_nFlags = flags;
    m_bMarked = marked != 0;
    m_points.swap(points);
    Rebuild();
}

BOOL CAITerrainRoute::Rebuild()
{
    if (m_points.size() < 2)
    {
        m_nDirection = kUnset;
        return FALSE;
    }
    const double dx = static_cast<double>(m_points.back().x) - m_points.front().x;
    const double dy = static_cast<double>(m_points.back().y) - m_points.front().y;
    if (dx == 0.0 && dy == 0.0)
    {
        m_nDirection = 0;
        return TRUE;
    }
    int direction = TruncToInt(std::atan2(dx, dy) * kMilsPerRadian + 0.5);
    while (direction < 0)
        direction += kMilsPerCircle;
    m_nDirection = direction;
    return TRUE;
}

BOOL CAITerrainRoute::HitTest(float x, float y) const
{
    for (size_t i = 1; i < m_points.size(); ++i)
    {
        const AIRoutePoint& a = m_points[i - 1];
        const AIRoutePoint& b = m_points[i];
        if (PointNearSegment(static_cast<float>(a.x), static_cast<float>(a.y), static_cast<float>(b.x),
                             static_cast<float>(b.y), x, y))
            return TRUE;
    }
    return FALSE;
}

BOOL CAITerrainRoute::AddPoint(float x, float y)
{
    const int ix = RoundHalfUpTrunc(x);
    const int iy = RoundHalfUpTrunc(y);
    if (m_points.empty())
    {
        m_points.assign(2, AIRoutePoint{ix, iy, m_nNewPointValue, 0});
        return TRUE;
    }
    AIRoutePoint& last = m_points.back();
    last.x = ix;
    last.y = iy;
    last.value = m_nNewPointValue;
    m_points.push_back(AIRoutePoint{ix, iy, m_nNewPointValue, 0});
    return TRUE;
}

BOOL CAITerrainRoute::MoveLastPoint(float x, float y)
{
    if (m_points.empty())
        return FALSE;
    AIRoutePoint& last = m_points.back();
    last.x = RoundHalfUpTrunc(x);
    last.y = RoundHalfUpTrunc(y);
    last.value = m_nNewPointValue;
    return TRUE;
}

BOOL CAITerrainRoute::FinishEdit()
{
    // Two fixed points and the floating one.
    if (m_points.size() < 3)
        return FALSE;
    m_points.pop_back();
    Rebuild();
    return TRUE;
}

void CAITerrainRoute::MoveTo(float x, float y)
{
    if (m_points.empty())
        return;
    long long sumX = 0;
    long long sumY = 0;
    for (const AIRoutePoint& p : m_points)
    {
        sumX += p.x;
        sumY += p.y;
    }
    const long long n = static_cast<long long>(m_points.size());
    Offset(TruncToInt(x) - static_cast<int>(sumX / n), TruncToInt(y) - static_cast<int>(sumY / n));
}

void CAITerrainRoute::Offset(int dx, int dy)
{
    for (AIRoutePoint& p : m_points)
    {
        p.x += dx;
        p.y += dy;
    }
}

void CAITerrainRoute::GrowPointList(int n)
{
    if (n > 0)
        m_points.resize(m_points.size() + static_cast<size_t>(n));
}

CAITerrain* CAITerrainRoute::Clone() const { return new CAITerrainRoute(*this); }
