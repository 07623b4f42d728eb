#include "platform/ui/Rgn.h"

#include "platform/ui/DC.h"
#include "platform/ui/DCPrivate.h"
#include "platform/ui/QtBridge.h"

#include <QRegion>

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

// ---------------------------------------------------------------------------

namespace
{
// The column at which an edge from `top` down to `bottom` (top.y < bottom.y)
// crosses row y: the exact crossing rounded up, the column a polygon's
// span starts or ends at when its pixels are laid out.
long long EdgeColumn(const CPoint& top, const CPoint& bottom, int y)
{
    const long long rise = static_cast<long long>(bottom.y) - top.y;
    const long long run = (static_cast<long long>(bottom.x) - top.x) * (static_cast<long long>(y) - top.y);
    long long column = run / rise;
    if (run % rise != 0 && run > 0)
        ++column;
    return top.x + column;
}

// One edge of a polygon that crosses rows, from its upper end down to its
// lower one; `winding` is +1 for an edge drawn downward, -1 for one drawn
// upward. Level edges cross no row and take no part.
struct Edge
{
    CPoint top;
    CPoint bottom;
    int winding;
};

// The edge from `prev` to `cur` as it crosses rows; false for a level edge.
bool RowCrossing(const CPoint& prev, const CPoint& cur, Edge* pEdge)
{
    if (prev.y == cur.y)
        return false;
    *pEdge = prev.y < cur.y ? Edge{prev, cur, 1} : Edge{cur, prev, -1};
    return true;
}

std::vector<Edge> RowCrossingEdges(const std::vector<CPoint>& polygon)
{
    std::vector<Edge> edges;
    edges.reserve(polygon.size());
    const CPoint* pPrev = &polygon.back();
    for (const CPoint& cur : polygon)
    {
        Edge edge;
        if (RowCrossing(*pPrev, cur, &edge))
            edges.push_back(edge);
        pPrev = &cur;
    }
    return edges;
}

// Whether a pixel with these edge crossings at or left of it is inside.
bool Inside(int fillMode, int crossings, int winding)
{
    return fillMode == WINDING ? winding != 0 : (crossings & 1) != 0;
}

// Whether pixel (x, y) is one of the polygon's pixels. Each edge covers the
// rows from its upper end to the row before its lower end, and the pixels
// from its column on a row rightward count it: under ALTERNATE a pixel
// counted by an odd number of edges is inside, under WINDING one whose
// edges do not cancel out. Walks the edges once: nothing is laid out.
bool PixelInPolygon(const std::vector<CPoint>& polygon, int fillMode, int x, int y)
{
    int crossings = 0;
    int winding = 0;
    const CPoint* pPrev = &polygon.back();
    for (const CPoint& cur : polygon)
    {
        Edge edge;
        const bool crosses = RowCrossing(*pPrev, cur, &edge);
        pPrev = &cur;
        if (!crosses || y < edge.top.y || y >= edge.bottom.y || EdgeColumn(edge.top, edge.bottom, y) > x)
            continue;
        ++crossings;
        winding += edge.winding;
    }
    return Inside(fillMode, crossings, winding);
}

// The polygon's pixels within `clip` (all of them when it is null), by the
// rule of PixelInPolygon: row by row, each row's spans from the edges that
// cross it, and rows with the same spans one after another joined into one
// band. The cost follows the rows laid out times the edges crossing them.
QRegion LayOutPolygon(const std::vector<CPoint>& polygon, int fillMode, const CRect* pClip)
{
    std::vector<Edge> edges = RowCrossingEdges(polygon);
    if (edges.empty())
        return QRegion();
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.top.y < b.top.y; });
    long long firstRow = edges.front().top.y;
    long long endRow = firstRow;
    for (const Edge& edge : edges)
        endRow = std::max<long long>(endRow, edge.bottom.y);
    long long left = std::numeric_limits<long long>::min();
    long long right = std::numeric_limits<long long>::max();
    if (pClip != nullptr)
    {
        firstRow = std::max<long long>(firstRow, pClip->top);
        endRow = std::min<long long>(endRow, pClip->bottom);
        left = pClip->left;
        right = pClip->right;
    }

    using Span = std::pair<long long, long long>;  // first column, column past the last
    std::vector<QRect> rects;
    std::vector<Span> band;  // the spans of the rows from bandTop on
    long long bandTop = firstRow;
    const auto closeBand = [&](long long endOfBand)
    {
        for (const Span& span : band)
            rects.emplace_back(static_cast<int>(span.first), static_cast<int>(bandTop),
                               static_cast<int>(span.second - span.first), static_cast<int>(endOfBand - bandTop));
    };

    std::vector<const Edge*> active;
    size_t next = 0;
    std::vector<std::pair<long long, int>> crossings;  // column, winding
    std::vector<Span> spans;
    for (long long row = firstRow; row < endRow; ++row)
    {
        const int y = static_cast<int>(row);
        while (next < edges.size() && edges[next].top.y <= y)
            active.push_back(&edges[next++]);
        active.erase(std::remove_if(active.begin(), active.end(), [y](const Edge* e) { return e->bottom.y <= y; }),
                     active.end());
        crossings.clear();
        for (const Edge* pEdge : active)
            crossings.emplace_back(EdgeColumn(pEdge->top, pEdge->bottom, y), pEdge->winding);
        std::sort(crossings.begin(), crossings.end());

        spans.clear();
        int count = 0;
        int winding = 0;
        bool inside = false;
        long long start = 0;
        for (size_t i = 0; i < crossings.size();)
        {
            const long long column = crossings[i].first;
            for (; i < crossings.size() && crossings[i].first == column; ++i)
            {
                ++count;
                winding += crossings[i].second;
            }
            const bool now = Inside(fillMode, count, winding);
            if (now && !inside)
                start = column;
            else if (!now && inside && std::max(start, left) < std::min(column, right))
                spans.emplace_back(std::max(start, left), std::min(column, right));
            inside = now;
        }
        if (spans != band)
        {
            closeBand(row);
            band.swap(spans);
            bandTop = row;
        }
    }
    closeBand(endRow);

    QRegion region;
    if (!rects.empty())
        region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}
}  // namespace

// A polygon region keeps its vertices and answers point tests from them;
// its pixels are laid out only when filling, clipping or combining asks for
// them, and when it is cut to a rectangle only the rectangle's part is. A
// map's region that is only ever hit-tested needs none of it, and one that
// spans the whole map costs a paint no more than the view's rows.
struct CRgn::Impl
{
    QRegion region;
    std::vector<CPoint> polygon;  // empty unless the region is a polygon
    int fillMode = ALTERNATE;
    bool laidOut = true;  // `region` holds the polygon's pixels

    const QRegion& Pixels()
    {
        if (!laidOut)
        {
            region = LayOutPolygon(polygon, fillMode, nullptr);
            laidOut = true;
        }
        return region;
    }
    // The pixels within a rectangle.
    QRegion PixelsWithin(const QRect& rect)
    {
        if (laidOut)
            return region.intersected(rect);
        const CRect clip = FromQRect(rect);
        return LayOutPolygon(polygon, fillMode, &clip);
    }
    // The one rectangle this region is, if it is one (or is empty).
    bool IsRectangle() const { return laidOut && region.rectCount() <= 1; }
    // Replaces the whole region by a laid-out one.
    void Set(const QRegion& pixels)
    {
        region = pixels;
        polygon.clear();
        laidOut = true;
    }
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
    m_p = std::make_unique<Impl>();
    m_p->polygon.assign(points, points + count);
    m_p->fillMode = fillMode;
    m_p->laidOut = false;
    return TRUE;
}

BOOL CRgn::CreatePolygonRgnInRect(const CPoint* points, int count, int fillMode, const CRect& rect)
{
    if (!CreatePolygonRgn(points, count, fillMode))
        return FALSE;
    CRect clip(rect);
    clip.NormalizeRect();
    m_p->Set(clip.IsRectEmpty() ? QRegion() : LayOutPolygon(m_p->polygon, fillMode, &clip));
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
        if (a != this)
            *m_p = *a->m_p;
        return KindOf(m_p->Pixels());
    }
    if (!b || !b->m_p)
        return RGN_ERROR;
    // A polygon cut to a rectangle (the visible part of a view) lays out
    // only the rectangle's rows.
    if (mode == RGN_AND && (a->m_p->IsRectangle() || b->m_p->IsRectangle()))
    {
        const bool aIsRect = a->m_p->IsRectangle();
        Impl& shape = aIsRect ? *b->m_p : *a->m_p;
        const QRect rect = (aIsRect ? a->m_p->region : b->m_p->region).boundingRect();
        m_p->Set(rect.isEmpty() ? QRegion() : shape.PixelsWithin(rect));
        return KindOf(m_p->region);
    }
    const QRegion ra = a->m_p->Pixels();
    const QRegion rb = b->m_p->Pixels();
    switch (mode)
    {
    case RGN_AND: m_p->Set(ra.intersected(rb)); break;
    case RGN_OR: m_p->Set(ra.united(rb)); break;
    case RGN_XOR: m_p->Set(ra.xored(rb)); break;
    case RGN_DIFF: m_p->Set(ra.subtracted(rb)); break;
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
    if (source != this)
        *m_p = *source->m_p;
    return KindOf(m_p->Pixels());
}

int CRgn::OffsetRgn(int dx, int dy)
{
    if (!m_p)
        return RGN_ERROR;
    m_p->Set(m_p->Pixels().translated(dx, dy));
    return KindOf(m_p->region);
}

BOOL CRgn::PtInRegion(int x, int y) const
{
    if (!m_p)
        return FALSE;
    if (!m_p->polygon.empty())
        return PixelInPolygon(m_p->polygon, m_p->fillMode, x, y);
    return m_p->region.contains(QPoint(x, y));
}

BOOL CRgn::RectInRegion(const CRect* rect) const
{
    if (!m_p || !rect)
        return FALSE;
    CRect r = *rect;
    r.NormalizeRect();
    return !r.IsRectEmpty() && m_p->Pixels().intersects(ToQRect(r));
}

int CRgn::GetRgnBox(CRect* rect) const
{
    if (!m_p || !rect)
        return RGN_ERROR;
    const QRegion& pixels = m_p->Pixels();
    *rect = pixels.isEmpty() ? CRect() : FromQRect(pixels.boundingRect());
    return KindOf(pixels);
}

BOOL CRgn::IsEmpty() const { return !m_p || m_p->Pixels().isEmpty(); }

BOOL CRgn::EqualRgn(const CRgn* other) const
{
    return m_p && other && other->m_p && m_p->Pixels() == other->m_p->Pixels();
}

BOOL CRgn::DeleteObject()
{
    const BOOL was = m_p != nullptr;
    m_p.reset();
    return was;
}

const QRegion* CRgn::GetRegion() const { return m_p ? &m_p->Pixels() : nullptr; }
