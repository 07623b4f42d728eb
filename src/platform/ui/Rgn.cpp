#include "platform/ui/Rgn.h"

#include "platform/ui/DC.h"
#include "platform/ui/DCPrivate.h"
#include "platform/ui/QtBridge.h"

#include <QPolygon>
#include <QRegion>

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
