// The lines, shapes, fills and pixels of a DC.

#include "platform/ui/DC.h"

#include "platform/ui/DCPrivate.h"
#include "platform/ui/QtBridge.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

namespace
{
constexpr double kPi = 3.14159265358979323846;

// One pixel through a mix mode, on 24-bit colour (alpha kept opaque).
QRgb MixPixel(int rop2, QRgb pen, QRgb dst)
{
    const unsigned p = pen & 0x00FFFFFF;
    const unsigned d = dst & 0x00FFFFFF;
    unsigned r = p;
    switch (rop2)
    {
    case R2_BLACK: r = 0; break;
    case R2_NOTMERGEPEN: r = ~(p | d); break;
    case R2_MASKNOTPEN: r = ~p & d; break;
    case R2_NOTCOPYPEN: r = ~p; break;
    case R2_MASKPENNOT: r = p & ~d; break;
    case R2_NOT: r = ~d; break;
    case R2_XORPEN: r = p ^ d; break;
    case R2_NOTMASKPEN: r = ~(p & d); break;
    case R2_MASKPEN: r = p & d; break;
    case R2_NOTXORPEN: r = ~(p ^ d); break;
    case R2_NOP: r = d; break;
    case R2_MERGENOTPEN: r = ~p | d; break;
    case R2_MERGEPENNOT: r = p | ~d; break;
    case R2_MERGEPEN: r = p | d; break;
    case R2_WHITE: r = 0xFFFFFF; break;
    default: r = p; break;
    }
    return 0xFF000000u | (r & 0x00FFFFFFu);
}

// An image whose pixels are 32-bit words that a pixel read or write takes
// as they are (apart from the alpha that the mix keeps opaque anyway).
bool IsDirect32Bit(const QImage& image)
{
    switch (image.format())
    {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied: return true;
    default: return false;
    }
}

// The on and off runs of a one-pixel pen as a table over one period, so
// that a line looks its pattern up by a phase it carries along instead of
// dividing at every pixel. A pen with no runs (solid) is always on.
class CosmeticPattern
{
public:
    explicit CosmeticPattern(const std::vector<int>& dashes)
    {
        for (size_t i = 0; i < dashes.size(); ++i)
            for (int k = 0; k < dashes[i]; ++k)
                m_on.push_back((i % 2) == 0 ? 1 : 0);
    }
    // The phase of a pattern position counted from the start of a figure.
    int PhaseOf(int position) const { return m_on.empty() ? 0 : position % static_cast<int>(m_on.size()); }
    bool IsOn(int phase) const { return m_on.empty() || m_on[static_cast<size_t>(phase)] != 0; }
    void Advance(int& phase) const
    {
        if (!m_on.empty() && ++phase == static_cast<int>(m_on.size()))
            phase = 0;
    }

private:
    std::vector<unsigned char> m_on;
};

// The points first..last-1 of a span that starts at start and moves by step
// (1 or -1) are cut to those inside 0..size-1.
void ClipSpan(int start, int step, int size, long long& first, long long& last)
{
    // Point i lies at start + step * i.
    long long lo = 0;
    long long hi = 0;
    if (step > 0)
    {
        lo = -static_cast<long long>(start);
        hi = static_cast<long long>(size) - start;
    }
    else
    {
        lo = static_cast<long long>(start) - (size - 1);
        hi = static_cast<long long>(start) + 1;
    }
    first = std::max(first, lo);
    last = std::min(last, hi);
}

// The box a closed shape is drawn in: the normalised rectangle less its
// right and bottom edge; none when the rectangle has no area.
std::optional<QRect> ShapeBox(int left, int top, int right, int bottom)
{
    CRect r(left, top, right, bottom);
    r.NormalizeRect();
    if (r.Width() < 1 || r.Height() < 1)
        return std::nullopt;
    return QRect(r.left, r.top, r.Width() - 1, r.Height() - 1);
}

// Degrees counter-clockwise (as seen on screen) from the centre to a point.
double AngleOf(const QRectF& box, int x, int y)
{
    const QPointF c = box.center();
    return std::atan2(-(y - c.y()), x - c.x()) * 180.0 / kPi;
}
}  // namespace

CPoint CDC::MoveTo(int x, int y)
{
    const CPoint old = m_current;
    m_current = CPoint(x, y);
    return old;
}

void CDC::CosmeticLine(CPoint from, CPoint to, int& stylePos)
{
    int style = PS_SOLID;
    int width = 0;
    COLORREF color = 0;
    PenOf(style, width, color);
    CosmeticPattern pattern(DashesOf(style));
    const QRgb pen = ToQColor(color).rgb();
    const QRgb back = ToQColor(m_bkColor).rgb();
    const bool opaque = m_nBkMode == OPAQUE;
    int x = from.x + m_viewportOrg.x;
    int y = from.y + m_viewportOrg.y;
    const int x1 = to.x + m_viewportOrg.x;
    const int y1 = to.y + m_viewportOrg.y;
    const int dx = std::abs(x1 - x);
    const int dy = -std::abs(y1 - y);
    const int sx = x < x1 ? 1 : -1;
    const int sy = y < y1 ? 1 : -1;

    if (!IsPlainDrawing() && IsDirect32Bit(*m_pImage) && !m_pClip && (dx == 0 || dy == 0))
    {
        // A level or upright line is one span along a row or a column: only
        // its part inside the image is walked, the pattern taken up where
        // that part starts.
        const int count = dx == 0 ? -dy : dx;
        const int imageWidth = m_pImage->width();
        const int imageHeight = m_pImage->height();
        long long first = 0;
        long long last = count;  // one past the last point drawn
        if (dy == 0)
        {
            if (y < 0 || y >= imageHeight)
                first = last;
            else
                ClipSpan(x, sx, imageWidth, first, last);
        }
        else if (x < 0 || x >= imageWidth)
            first = last;
        else
            ClipSpan(y, sy, imageHeight, first, last);
        if (first < last)
        {
            const qsizetype stride = m_pImage->bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
            QRgb* p = reinterpret_cast<QRgb*>(m_pImage->bits()) + (y + (dx == 0 ? sy * first : 0)) * stride + x +
                      (dy == 0 ? sx * first : 0);
            const qsizetype step = dy == 0 ? sx : sy * stride;
            int phase = pattern.PhaseOf(stylePos + static_cast<int>(first));
            const bool copy = m_nRop2 == R2_COPYPEN;
            for (long long i = first; i < last; ++i, p += step)
            {
                const bool on = pattern.IsOn(phase);
                pattern.Advance(phase);
                if (!on && !opaque)
                    continue;
                const QRgb value = on ? pen : back;
                *p = copy ? (0xFF000000u | value) : MixPixel(m_nRop2, value, *p);
            }
        }
        stylePos += count;
        return;
    }

    const bool direct = !IsPlainDrawing() && IsDirect32Bit(*m_pImage);
    const int imageWidth = m_pImage->width();
    const int imageHeight = m_pImage->height();
    uchar* bits = direct ? m_pImage->bits() : nullptr;
    const qsizetype bytesPerLine = m_pImage->bytesPerLine();
    int phase = pattern.PhaseOf(stylePos);
    int err = dx + dy;
    // Bresenham from the first point; the last point is not drawn.
    while (x != x1 || y != y1)
    {
        const bool on = pattern.IsOn(phase);
        pattern.Advance(phase);
        ++stylePos;
        if ((on || opaque) && x >= 0 && y >= 0 && x < imageWidth && y < imageHeight &&
            (!m_pClip || m_pClip->contains(QPoint(x, y))))
        {
            if (direct)
            {
                QRgb* p = reinterpret_cast<QRgb*>(bits + y * bytesPerLine) + x;
                *p = MixPixel(m_nRop2, on ? pen : back, *p);
            }
            else
            {
                m_pImage->setPixel(x, y, MixPixel(m_nRop2, on ? pen : back, m_pImage->pixel(x, y)));
            }
        }
        const int e2 = 2 * err;
        if (e2 >= dy)
        {
            err += dy;
            x += sx;
        }
        if (e2 <= dx)
        {
            err += dx;
            y += sy;
        }
    }
}

bool CDC::IsCosmeticPen() const
{
    int style = PS_SOLID;
    int width = 0;
    COLORREF color = 0;
    PenOf(style, width, color);
    return width <= 1;
}

BOOL CDC::LineTo(int x, int y)
{
    if (!m_pImage)
        return FALSE;
    if (HasPen())
    {
        if (IsCosmeticPen())
        {
            int stylePos = 0;
            CosmeticLine(m_current, CPoint(x, y), stylePos);
        }
        else
        {
            QPainter p;
            Begin(p);
            ApplyPen(p);
            p.drawLine(QPoint(m_current.x, m_current.y), QPoint(x, y));
        }
    }
    m_current = CPoint(x, y);
    return TRUE;
}

BOOL CDC::Polyline(const CPoint* points, int count)
{
    if (!m_pImage || !points || count < 2)
        return FALSE;
    if (!HasPen())
        return TRUE;
    if (IsCosmeticPen())
    {
        int stylePos = 0;
        for (int i = 0; i + 1 < count; ++i)
            CosmeticLine(points[i], points[i + 1], stylePos);
        return TRUE;
    }
    QPolygon polygon;
    for (int i = 0; i < count; ++i)
        polygon << ToQPoint(points[i]);
    QPainter p;
    Begin(p);
    ApplyPen(p);
    p.drawPolyline(polygon);
    return TRUE;
}

BOOL CDC::Polygon(const CPoint* points, int count)
{
    if (!m_pImage || !points || count < 2)
        return FALSE;
    QPolygon polygon;
    for (int i = 0; i < count; ++i)
        polygon << ToQPoint(points[i]);
    QPainter p;
    Begin(p);
    if (HasBrush())
    {
        p.setPen(Qt::NoPen);
        ApplyBrush(p);
        p.drawPolygon(polygon, m_nPolyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    }
    if (HasPen())
    {
        ApplyPen(p);
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(polygon);
    }
    return TRUE;
}

BOOL CDC::PolyBezier(const CPoint* points, int count)
{
    if (!m_pImage || !points || count < 4 || (count - 1) % 3 != 0)
        return FALSE;
    if (!HasPen())
        return TRUE;
    QPainterPath path;
    path.moveTo(points[0].x, points[0].y);
    for (int i = 1; i + 2 < count; i += 3)
        path.cubicTo(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, points[i + 2].x, points[i + 2].y);
    if (IsCosmeticPen())
    {
        // The curve flattened into short lines, drawn as a polyline is.
        const QPolygonF flat = path.toSubpathPolygons().value(0);
        std::vector<CPoint> line;
        for (const QPointF& q : flat)
        {
            const CPoint pt(static_cast<int>(std::lround(q.x())), static_cast<int>(std::lround(q.y())));
            if (line.empty() || !(line.back() == pt))
                line.push_back(pt);
        }
        if (line.size() >= 2)
            Polyline(line.data(), static_cast<int>(line.size()));
        return TRUE;
    }
    QPainter p;
    Begin(p);
    ApplyPen(p);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    return TRUE;
}

void CDC::ApplyPenAndBrush(QPainter& p, bool fill) const
{
    if (HasPen())
        ApplyPen(p);
    else
        p.setPen(Qt::NoPen);
    if (fill && HasBrush())
        ApplyBrush(p);
    else
        p.setBrush(Qt::NoBrush);
}

BOOL CDC::Rectangle(int left, int top, int right, int bottom)
{
    if (!m_pImage)
        return FALSE;
    const std::optional<QRect> box = ShapeBox(left, top, right, bottom);
    if (!box)
        return TRUE;
    QPainter p;
    Begin(p);
    const QRect& inner = *box;
    if (HasBrush())
    {
        ApplyBrush(p);
        // Without a pen the filled area is one pixel smaller each way.
        p.fillRect(HasPen() ? inner.adjusted(0, 0, 1, 1) : inner, p.brush());
    }
    if (HasPen())
    {
        ApplyPen(p);
        p.setBrush(Qt::NoBrush);
        p.drawRect(inner);
    }
    return TRUE;
}

BOOL CDC::Ellipse(int left, int top, int right, int bottom)
{
    if (!m_pImage)
        return FALSE;
    const std::optional<QRect> box = ShapeBox(left, top, right, bottom);
    if (!box)
        return TRUE;
    QPainter p;
    Begin(p);
    ApplyPenAndBrush(p, true);
    p.drawEllipse(*box);
    return TRUE;
}

BOOL CDC::RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    if (!m_pImage)
        return FALSE;
    const std::optional<QRect> box = ShapeBox(left, top, right, bottom);
    if (!box)
        return TRUE;
    QPainter p;
    Begin(p);
    ApplyPenAndBrush(p, true);
    p.drawRoundedRect(*box, ellipseWidth / 2.0, ellipseHeight / 2.0);
    return TRUE;
}

BOOL CDC::ArcShape(int kind, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd)
{
    if (!m_pImage)
        return FALSE;
    const std::optional<QRect> box = ShapeBox(left, top, right, bottom);
    if (!box)
        return TRUE;
    const double a0 = AngleOf(QRectF(*box), xStart, yStart);
    const double a1 = AngleOf(QRectF(*box), xEnd, yEnd);
    double span = a1 - a0;
    while (span <= 0.0)
        span += 360.0;
    if (xStart == xEnd && yStart == yEnd)
        span = 360.0;
    const int start16 = static_cast<int>(std::lround(a0 * 16.0));
    const int span16 = static_cast<int>(std::lround(span * 16.0));
    QPainter p;
    Begin(p);
    ApplyPenAndBrush(p, kind != kArc);
    if (kind == kArc)
        p.drawArc(*box, start16, span16);
    else if (kind == kPie)
        p.drawPie(*box, start16, span16);
    else
        p.drawChord(*box, start16, span16);
    return TRUE;
}

BOOL CDC::Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd)
{
    if (!HasPen())
        return m_pImage != nullptr;
    return ArcShape(kArc, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

BOOL CDC::Pie(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd)
{
    return ArcShape(kPie, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

BOOL CDC::Chord(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd)
{
    return ArcShape(kChord, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

void CDC::FillSolidRect(const CRect* rect, COLORREF color)
{
    if (!rect)
        return;
    FillSolidRect(rect->left, rect->top, rect->Width(), rect->Height(), color);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    // Like the framework's, this leaves the colour as background colour.
    m_bkColor = color & 0x00FFFFFF;
    if (!m_pImage || cx <= 0 || cy <= 0)
        return;
    QPainter p;
    Begin(p);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(QRect(x, y, cx, cy), ToQColor(color));
}

void CDC::FillRect(const CRect* rect, CBrush* brush)
{
    if (!m_pImage || !rect || !brush || !brush->IsCreated() || brush->GetStyle() == BS_NULL)
        return;
    CRect r = *rect;
    if (r.IsRectEmpty())
        return;
    CBrush* old = m_pBrush;
    const int oldStock = m_nStockBrush;
    m_pBrush = brush;
    QPainter p;
    Begin(p);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    ApplyBrush(p);
    p.fillRect(ToQRect(r), p.brush());
    m_pBrush = old;
    m_nStockBrush = oldStock;
}

void CDC::FrameRect(const CRect* rect, CBrush* brush)
{
    if (!rect || rect->IsRectEmpty())
        return;
    const CRect& r = *rect;
    CRect top(r.left, r.top, r.right, r.top + 1);
    CRect bottom(r.left, r.bottom - 1, r.right, r.bottom);
    CRect left(r.left, r.top, r.left + 1, r.bottom);
    CRect right(r.right - 1, r.top, r.right, r.bottom);
    FillRect(&top, brush);
    FillRect(&bottom, brush);
    FillRect(&left, brush);
    FillRect(&right, brush);
}

void CDC::Draw3dRect(const CRect* rect, COLORREF topLeft, COLORREF bottomRight)
{
    if (!rect)
        return;
    const COLORREF bk = m_bkColor;
    const CRect& r = *rect;
    FillSolidRect(r.left, r.top, r.Width() - 1, 1, topLeft);
    FillSolidRect(r.left, r.top, 1, r.Height() - 1, topLeft);
    FillSolidRect(r.right - 1, r.top, 1, r.Height(), bottomRight);
    FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, bottomRight);
    m_bkColor = bk;
}

void CDC::InvertRect(const CRect* rect)
{
    if (!m_pImage || !rect || rect->IsRectEmpty())
        return;
    QPainter p;
    Begin(p);
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    p.fillRect(ToQRect(*rect), Qt::black);
}

void CDC::DrawFocusRect(const CRect* rect)
{
    if (!m_pImage || !rect || rect->IsRectEmpty())
        return;
    QPainter p;
    Begin(p);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(Qt::white);
    pen.setDashPattern({1, 1});
    pen.setWidth(1);
    p.setBackgroundMode(Qt::TransparentMode);
    p.setPen(pen);
    p.drawRect(QRect(rect->left, rect->top, rect->Width() - 1, rect->Height() - 1));
}

BOOL CDC::FillRgn(CRgn* region, CBrush* brush)
{
    if (!m_pImage || !region || !region->GetRegion() || !brush || !brush->IsCreated())
        return FALSE;
    if (brush->GetStyle() == BS_NULL)
        return TRUE;
    CBrush* old = m_pBrush;
    const int oldStock = m_nStockBrush;
    m_pBrush = brush;
    QPainter p;
    Begin(p);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    ApplyBrush(p);
    // The region is in logical units like every other shape.
    for (const QRect& r : *region->GetRegion())
        p.fillRect(r, p.brush());
    m_pBrush = old;
    m_nStockBrush = oldStock;
    return TRUE;
}

BOOL CDC::PaintRgn(CRgn* region)
{
    if (!m_pImage || !region || !region->GetRegion())
        return FALSE;
    if (!HasBrush())
        return TRUE;
    int style = BS_SOLID;
    int hatch = 0;
    COLORREF color = 0;
    BrushOf(style, hatch, color);
    // A solid brush, or a hatch over a transparent background: the
    // region's rows filled as the painter fills them, without the painter's
    // cost for each of a polygon's many rectangles.
    const unsigned char* hatchRows = style == BS_HATCHED && m_nBkMode == TRANSPARENT ? HatchRows(hatch) : nullptr;
    if ((style == BS_SOLID || hatchRows != nullptr) && m_nRop2 == R2_COPYPEN && !m_pClip && !IsPlainDrawing() &&
        IsDirect32Bit(*m_pImage))
    {
        const QRgb value = ToQColor(color).rgb();
        const QRect bounds = m_pImage->rect();
        uchar* const bits = m_pImage->bits();
        const qsizetype bytesPerLine = m_pImage->bytesPerLine();
        for (const QRect& r : *region->GetRegion())
        {
            const QRect box = r.translated(m_viewportOrg.x, m_viewportOrg.y).intersected(bounds);
            for (int y = box.top(); y <= box.bottom(); ++y)
            {
                QRgb* const row = reinterpret_cast<QRgb*>(bits + y * bytesPerLine);
                if (hatchRows == nullptr)
                {
                    std::fill_n(row + box.left(), box.width(), value);
                    continue;
                }
                const unsigned pattern = hatchRows[y & 7];
                if (pattern == 0)
                    continue;
                for (int x = box.left(); x <= box.right(); ++x)
                    if ((pattern >> (x & 7)) & 1u)
                        row[x] = value;
            }
        }
        return TRUE;
    }
    QPainter p;
    Begin(p);
    ApplyBrush(p);
    for (const QRect& r : *region->GetRegion())
        p.fillRect(r, p.brush());
    return TRUE;
}

BOOL CDC::FrameRgn(CRgn* region, CBrush* brush, int width, int height)
{
    if (!m_pImage || !region || !region->GetRegion() || !brush || !brush->IsCreated())
        return FALSE;
    const QRegion& full = *region->GetRegion();
    const QRegion inner = full.intersected(full.translated(width, 0))
                              .intersected(full.translated(-width, 0))
                              .intersected(full.translated(0, height))
                              .intersected(full.translated(0, -height));
    const QRegion ring = full.subtracted(inner);
    CBrush* old = m_pBrush;
    const int oldStock = m_nStockBrush;
    m_pBrush = brush;
    QPainter p;
    Begin(p);
    ApplyBrush(p);
    for (const QRect& r : ring)
        p.fillRect(r, p.brush());
    m_pBrush = old;
    m_nStockBrush = oldStock;
    return TRUE;
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop)
{
    if (!m_pImage)
        return FALSE;
    QRect r(x, y, width, height);
    r = r.normalized();
    if (r.isEmpty())
        return TRUE;
    QPainter p;
    Begin(p);
    switch (rop)
    {
    case BLACKNESS:
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(r, Qt::black);
        break;
    case WHITENESS:
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(r, Qt::white);
        break;
    case DSTINVERT:
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
        p.fillRect(r, Qt::black);
        break;
    case PATINVERT:
        ApplyBrush(p);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.fillRect(r, p.brush());
        break;
    default:
        ApplyBrush(p);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (HasBrush())
            p.fillRect(r, p.brush());
        break;
    }
    return TRUE;
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color)
{
    const int dx = x + m_viewportOrg.x;
    const int dy = y + m_viewportOrg.y;
    if (!m_pImage || !m_pImage->valid(dx, dy))
        return CLR_INVALID;
    if (m_pClip && !m_pClip->contains(QPoint(dx, dy)))
        return CLR_INVALID;
    m_pImage->setPixel(dx, dy, ToQColor(color).rgb());
    return color & 0x00FFFFFF;
}

COLORREF CDC::GetPixel(int x, int y) const
{
    const int dx = x + m_viewportOrg.x;
    const int dy = y + m_viewportOrg.y;
    if (!m_pImage || !m_pImage->valid(dx, dy))
        return CLR_INVALID;
    return FromQColor(QColor::fromRgb(m_pImage->pixel(dx, dy)));
}
