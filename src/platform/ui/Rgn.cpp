#include "platform/ui/Rgn.h"

#include "platform/ui/DC.h"
#include "platform/ui/DCPrivate.h"
#include "platform/ui/QtBridge.h"

#include <QPolygon>
#include <QRegion>

#include <algorithm>
#include <vector>

namespace
{
// The smallest integer not below numerator / denominator (denominator > 0).
long long CeilDiv(long long numerator, long long denominator)
{
    const long long q = numerator / denominator;
    return q * denominator < numerator ? q + 1 : q;
}

// One edge of a polygon that is not level, from its upper end down.
struct PolygonEdge
{
    long long x;  // the upper end
    long long y;
    long long dx;  // to the lower end
    long long dy;  // > 0
    int direction;
};

struct Crossing
{
    long long x;
    int direction;
    bool operator<(const Crossing& other) const { return x < other.x; }
};
}  // namespace

// ---------------------------------------------------------------------------

struct CRgn::Impl
{
    QRegion region;
};

CRgn::CRgn() = default;
CRgn::~CRgn() = default;

bool CRgn::IsCreated() const { return m_p != nullptr; }

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom)
{
    m_p = std::make_unique<Impl>();
    CRect r(left, top, right, bottom);
    r.NormalizeRect();
    if (!r.IsRectEmpty())
        m_p->region = QRegion(ToQRect(r));
    return TRUE;
}

BOOL CRgn::CreateRectRgnIndirect(const CRect* rect)
{
    if (!rect)
        return FALSE;
    return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL CRgn::CreateEllipticRgn(int left, int top, int right, int bottom)
{
    m_p = std::make_unique<Impl>();
    CRect r(left, top, right, bottom);
    r.NormalizeRect();
    if (!r.IsRectEmpty())
        m_p->region = QRegion(ToQRect(r), QRegion::Ellipse);
    return TRUE;
}

BOOL CRgn::CreatePolygonRgn(const CPoint* points, int count, int fillMode)
{
    if (!points || count < 2)
        return FALSE;
    QPolygon polygon;
    polygon.reserve(count);
    for (int i = 0; i < count; ++i)
        polygon << ToQPoint(points[i]);
    m_p = std::make_unique<Impl>();
    m_p->region = QRegion(polygon, fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    return TRUE;
}

BOOL CRgn::CreatePolygonRgnInRect(const CPoint* points, int count, int fillMode, const CRect& rect)
{
    if (!points || count < 2)
        return FALSE;
    CRect clip = rect;
    clip.NormalizeRect();
    if (IsPlainDrawing())
    {
        if (!CreatePolygonRgn(points, count, fillMode))
            return FALSE;
        m_p->region = clip.IsRectEmpty() ? QRegion() : m_p->region.intersected(ToQRect(clip));
        return TRUE;
    }
    m_p = std::make_unique<Impl>();
    // A polygon of two points has no inside.
    if (count < 3 || clip.IsRectEmpty())
        return TRUE;

    std::vector<PolygonEdge> edges;
    edges.reserve(static_cast<size_t>(count));
    long long top = clip.bottom;
    long long bottom = clip.top;
    for (int i = 0; i < count; ++i)
    {
        const CPoint& from = points[i == 0 ? count - 1 : i - 1];
        const CPoint& to = points[i];
        if (from.y == to.y)
            continue;
        const bool down = from.y < to.y;
        const CPoint& upper = down ? from : to;
        const CPoint& lower = down ? to : from;
        edges.push_back({upper.x, upper.y, static_cast<long long>(lower.x) - upper.x,
                         static_cast<long long>(lower.y) - upper.y, down ? 1 : -1});
        top = std::min<long long>(top, upper.y);
        bottom = std::max<long long>(bottom, lower.y);
    }
    const long long firstRow = std::max<long long>(clip.top, top);
    const long long endRow = std::min<long long>(clip.bottom, bottom);

    // Rows with the same spans as the row above widen its band.
    std::vector<QRect> rects;
    std::vector<Crossing> crossings;
    std::vector<std::pair<long long, long long>> spans;
    std::vector<std::pair<long long, long long>> bandSpans;
    size_t bandFirst = 0;
    // The edges by their upper end; those that reach the current row are
    // the active ones.
    std::sort(edges.begin(), edges.end(), [](const PolygonEdge& a, const PolygonEdge& b) { return a.y < b.y; });
    std::vector<const PolygonEdge*> active;
    size_t nextEdge = 0;
    for (long long y = firstRow; y < endRow; ++y)
    {
        for (; nextEdge < edges.size() && edges[nextEdge].y <= y; ++nextEdge)
            active.push_back(&edges[nextEdge]);
        active.erase(
            std::remove_if(active.begin(), active.end(), [y](const PolygonEdge* e) { return y >= e->y + e->dy; }),
            active.end());
        crossings.clear();
        for (const PolygonEdge* e : active)
            crossings.push_back({e->x + CeilDiv((y - e->y) * e->dx, e->dy), e->direction});
        std::sort(crossings.begin(), crossings.end());
        spans.clear();
        int winding = 0;
        long long start = 0;
        for (size_t i = 0; i < crossings.size(); ++i)
        {
            const bool wasInside = fillMode == WINDING ? winding != 0 : (i % 2) == 1;
            winding += crossings[i].direction;
            const bool isInside = fillMode == WINDING ? winding != 0 : (i % 2) == 0;
            if (!wasInside && isInside)
            {
                start = crossings[i].x;
            }
            else if (wasInside && !isInside)
            {
                const long long left = std::max<long long>(start, clip.left);
                const long long right = std::min<long long>(crossings[i].x, clip.right);
                if (left >= right)
                    continue;
                // Spans that meet make one.
                if (!spans.empty() && spans.back().second == left)
                    spans.back().second = right;
                else
                    spans.emplace_back(left, right);
            }
        }
        if (spans.empty())
        {
            bandSpans.clear();
            continue;
        }
        if (spans == bandSpans)
        {
            for (size_t k = bandFirst; k < rects.size(); ++k)
                rects[k].setBottom(static_cast<int>(y));
            continue;
        }
        bandSpans = spans;
        bandFirst = rects.size();
        for (const auto& span : spans)
            rects.emplace_back(static_cast<int>(span.first), static_cast<int>(y),
                               static_cast<int>(span.second - span.first), 1);
    }
    if (!rects.empty())
        m_p->region.setRects(rects.data(), static_cast<int>(rects.size()));
    return TRUE;
}

int KindOf(const QRegion& region)
{
    if (region.isEmpty())
        return NULLREGION;
    return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode)
{
    if (!m_p || !a || !a->m_p)
        return RGN_ERROR;
    if (mode == RGN_COPY)
    {
        m_p->region = a->m_p->region;
        return KindOf(m_p->region);
    }
    if (!b || !b->m_p)
        return RGN_ERROR;
    const QRegion ra = a->m_p->region;
    const QRegion rb = b->m_p->region;
    switch (mode)
    {
    case RGN_AND: m_p->region = ra.intersected(rb); break;
    case RGN_OR: m_p->region = ra.united(rb); break;
    case RGN_XOR: m_p->region = ra.xored(rb); break;
    case RGN_DIFF: m_p->region = ra.subtracted(rb); break;
    default: return RGN_ERROR;
    }
    return KindOf(m_p->region);
}

int CRgn::CopyRgn(const CRgn* source)
{
    if (!source || !source->m_p)
        return RGN_ERROR;
    if (!m_p)
        m_p = std::make_unique<Impl>();
    m_p->region = source->m_p->region;
    return KindOf(m_p->region);
}

int CRgn::OffsetRgn(int dx, int dy)
{
    if (!m_p)
        return RGN_ERROR;
    m_p->region.translate(dx, dy);
    return KindOf(m_p->region);
}

BOOL CRgn::PtInRegion(int x, int y) const { return m_p && m_p->region.contains(QPoint(x, y)); }

BOOL CRgn::RectInRegion(const CRect* rect) const
{
    if (!m_p || !rect)
        return FALSE;
    CRect r = *rect;
    r.NormalizeRect();
    return !r.IsRectEmpty() && m_p->region.intersects(ToQRect(r));
}

int CRgn::GetRgnBox(CRect* rect) const
{
    if (!m_p || !rect)
        return RGN_ERROR;
    *rect = m_p->region.isEmpty() ? CRect() : FromQRect(m_p->region.boundingRect());
    return KindOf(m_p->region);
}

BOOL CRgn::IsEmpty() const { return !m_p || m_p->region.isEmpty(); }

BOOL CRgn::EqualRgn(const CRgn* other) const { return m_p && other && other->m_p && m_p->region == other->m_p->region; }

BOOL CRgn::DeleteObject()
{
    const BOOL was = m_p != nullptr;
    m_p.reset();
    return was;
}

const QRegion* CRgn::GetRegion() const { return m_p ? &m_p->region : nullptr; }
