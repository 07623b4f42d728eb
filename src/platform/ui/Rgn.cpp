#include "platform/ui/Rgn.h"

#include "platform/ui/DC.h"
#include "platform/ui/DCPrivate.h"
#include "platform/ui/QtBridge.h"

#include <QPolygon>
#include <QRegion>

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

// Whether pixel (x, y) is one of the polygon's pixels: the pixel starts a
// span or lies inside one on its row, where each edge covers the rows from
// its upper end to the row before its lower end, and the spans run from an
// edge's column up to, not including, the next one's. Walks the edges once:
// no pixel of the polygon is laid out.
bool PixelInPolygon(const std::vector<CPoint>& polygon, int fillMode, int x, int y)
{
    int crossings = 0;
    int winding = 0;
    const CPoint* pPrev = &polygon.back();
    for (const CPoint& cur : polygon)
    {
        const CPoint& prev = *pPrev;
        pPrev = &cur;
        if (prev.y == cur.y)
            continue;
        const bool down = prev.y < cur.y;
        const CPoint& top = down ? prev : cur;
        const CPoint& bottom = down ? cur : prev;
        if (y < top.y || y >= bottom.y || EdgeColumn(top, bottom, y) > x)
            continue;
        ++crossings;
        winding += down ? 1 : -1;
    }
    return fillMode == WINDING ? winding != 0 : (crossings & 1) != 0;
}
}  // namespace

// A polygon region keeps its vertices and answers point tests from them;
// its pixels are laid out only when filling, clipping or combining asks for
// them. Laying out a polygon many thousand pixels tall costs seconds, and a
// map's region that is only ever hit-tested needs none of it.
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
            QPolygon points;
            points.reserve(static_cast<qsizetype>(polygon.size()));
            for (const CPoint& p : polygon)
                points << ToQPoint(p);
            region = QRegion(points, fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
            laidOut = true;
        }
        return region;
    }
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
