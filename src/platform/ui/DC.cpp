#include "platform/ui/DC.h"

#include "platform/ui/DCPrivate.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/Wnd.h"
#include "platform/ui/WndPrivate.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QScreen>

#include <vector>

namespace
{
bool g_bPlainDrawing = false;
}  // namespace

void SetPlainDrawing(BOOL bPlain) { g_bPlainDrawing = bPlain != FALSE; }

BOOL IsPlainDrawing() { return g_bPlainDrawing ? TRUE : FALSE; }

std::vector<int> DashesOf(int style)
{
    switch (style)
    {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    default: return {};
    }
}

namespace
{
QPainter::CompositionMode ModeForRop2(int rop2)
{
    switch (rop2)
    {
    case R2_NOT: return QPainter::RasterOp_NotDestination;
    case R2_XORPEN: return QPainter::RasterOp_SourceXorDestination;
    case R2_NOTXORPEN: return QPainter::RasterOp_NotSourceXorDestination;
    case R2_MASKPEN: return QPainter::RasterOp_SourceAndDestination;
    case R2_MERGEPEN: return QPainter::RasterOp_SourceOrDestination;
    case R2_MASKPENNOT: return QPainter::RasterOp_SourceAndNotDestination;
    case R2_MERGEPENNOT: return QPainter::RasterOp_SourceOrNotDestination;
    case R2_NOTCOPYPEN: return QPainter::RasterOp_NotSource;
    case R2_MASKNOTPEN: return QPainter::RasterOp_NotSourceAndDestination;
    case R2_MERGENOTPEN: return QPainter::RasterOp_NotSourceOrDestination;
    case R2_NOTMASKPEN: return QPainter::RasterOp_NotSourceOrNotDestination;
    case R2_NOTMERGEPEN: return QPainter::RasterOp_NotSourceAndNotDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

QPainter::CompositionMode ModeForRop(DWORD rop)
{
    switch (rop)
    {
    case SRCPAINT: return QPainter::RasterOp_SourceOrDestination;
    case SRCAND: return QPainter::RasterOp_SourceAndDestination;
    case SRCINVERT: return QPainter::RasterOp_SourceXorDestination;
    case SRCERASE: return QPainter::RasterOp_SourceAndNotDestination;
    case NOTSRCCOPY: return QPainter::RasterOp_NotSource;
    case MERGEPAINT: return QPainter::RasterOp_NotSourceOrDestination;
    default: return QPainter::CompositionMode_Source;
    }
}
}  // namespace

// ---------------------------------------------------------------------------

struct CDC::State
{
    CPen* pen;
    CBrush* brush;
    CFont* font;
    CBitmap* bitmap;
    int stockPen;
    int stockBrush;
    int bkMode;
    COLORREF bkColor;
    COLORREF textColor;
    int rop2;
    int polyFillMode;
    UINT textAlign;
    CPoint viewportOrg;
    CPoint current;
    std::unique_ptr<QRegion> clip;
};

CDC::CDC() = default;
CDC::~CDC() = default;

BOOL CDC::AttachImage(QImage* image)
{
    m_pImage = image;
    m_bMemoryDC = false;
    return image != nullptr;
}

QImage* CDC::DetachImage()
{
    QImage* image = m_pImage;
    m_pImage = nullptr;
    return image;
}

BOOL CDC::CreateCompatibleDC(CDC*)
{
    m_bMemoryDC = true;
    m_pImage = nullptr;
    m_pBitmap = nullptr;
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    m_pImage = nullptr;
    m_pBitmap = nullptr;
    m_bMemoryDC = false;
    return TRUE;
}

CPen* CDC::SelectObject(CPen* pen)
{
    CPen* old = m_pPen;
    m_pPen = pen;
    m_nStockPen = 0;
    return old;
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    CBrush* old = m_pBrush;
    m_pBrush = brush;
    m_nStockBrush = 0;
    return old;
}

CFont* CDC::SelectObject(CFont* font)
{
    CFont* old = m_pFont;
    m_pFont = font;
    return old;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    CBitmap* old = m_pBitmap;
    m_pBitmap = bitmap;
    if (m_bMemoryDC || !m_pImage || old)
        m_pImage = bitmap ? bitmap->GetImage() : nullptr;
    m_bMemoryDC = true;
    return old;
}

CGdiObject* CDC::SelectStockObject(int index)
{
    if (index >= WHITE_BRUSH && index <= NULL_BRUSH)
    {
        CBrush* old = m_pBrush;
        m_pBrush = nullptr;
        m_nStockBrush = index + 1;
        return old;
    }
    if (index >= WHITE_PEN && index <= NULL_PEN)
    {
        CPen* old = m_pPen;
        m_pPen = nullptr;
        m_nStockPen = index;
        return old;
    }
    if (index == ANSI_VAR_FONT || index == SYSTEM_FONT || index == DEFAULT_GUI_FONT)
    {
        CFont* old = m_pFont;
        m_pFont = nullptr;
        return old;
    }
    return nullptr;
}

int CDC::SetBkMode(int mode)
{
    const int old = m_nBkMode;
    if (mode == TRANSPARENT || mode == OPAQUE)
        m_nBkMode = mode;
    return old;
}

COLORREF CDC::SetBkColor(COLORREF color)
{
    const COLORREF old = m_bkColor;
    m_bkColor = color & 0x00FFFFFF;
    return old;
}

COLORREF CDC::SetTextColor(COLORREF color)
{
    const COLORREF old = m_textColor;
    m_textColor = color & 0x00FFFFFF;
    return old;
}

int CDC::SetROP2(int mode)
{
    const int old = m_nRop2;
    if (mode >= R2_BLACK && mode <= R2_WHITE)
        m_nRop2 = mode;
    return old;
}

int CDC::SetPolyFillMode(int mode)
{
    const int old = m_nPolyFillMode;
    if (mode == ALTERNATE || mode == WINDING)
        m_nPolyFillMode = mode;
    return old;
}

UINT CDC::SetTextAlign(UINT flags)
{
    const UINT old = m_nTextAlign;
    m_nTextAlign = flags;
    return old;
}

int CDC::SetStretchBltMode(int mode) { return mode == 0 ? 0 : COLORONCOLOR; }

CPoint CDC::SetViewportOrg(int x, int y)
{
    const CPoint old = m_viewportOrg;
    m_viewportOrg = CPoint(x, y);
    return old;
}

CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    const CPoint old = m_viewportOrg;
    m_viewportOrg.Offset(dx, dy);
    return old;
}

int CDC::SaveDC()
{
    auto state = std::make_unique<State>();
    state->pen = m_pPen;
    state->brush = m_pBrush;
    state->font = m_pFont;
    state->bitmap = m_pBitmap;
    state->stockPen = m_nStockPen;
    state->stockBrush = m_nStockBrush;
    state->bkMode = m_nBkMode;
    state->bkColor = m_bkColor;
    state->textColor = m_textColor;
    state->rop2 = m_nRop2;
    state->polyFillMode = m_nPolyFillMode;
    state->textAlign = m_nTextAlign;
    state->viewportOrg = m_viewportOrg;
    state->current = m_current;
    if (m_pClip)
        state->clip = std::make_unique<QRegion>(*m_pClip);
    m_saved.push_back(std::move(state));
    return static_cast<int>(m_saved.size());
}

BOOL CDC::RestoreDC(int savedDC)
{
    int index = savedDC < 0 ? static_cast<int>(m_saved.size()) + savedDC + 1 : savedDC;
    if (index < 1 || index > static_cast<int>(m_saved.size()))
        return FALSE;
    std::unique_ptr<State> state = std::move(m_saved[static_cast<size_t>(index - 1)]);
    m_saved.resize(static_cast<size_t>(index - 1));
    m_pPen = state->pen;
    m_pBrush = state->brush;
    m_pFont = state->font;
    if (state->bitmap != m_pBitmap && m_bMemoryDC)
        SelectObject(state->bitmap);
    m_nStockPen = state->stockPen;
    m_nStockBrush = state->stockBrush;
    m_nBkMode = state->bkMode;
    m_bkColor = state->bkColor;
    m_textColor = state->textColor;
    m_nRop2 = state->rop2;
    m_nPolyFillMode = state->polyFillMode;
    m_nTextAlign = state->textAlign;
    m_viewportOrg = state->viewportOrg;
    m_current = state->current;
    m_pClip = std::move(state->clip);
    return TRUE;
}

int CDC::GetDeviceCaps(int index) const
{
    switch (index)
    {
    case HORZRES: return m_pImage ? m_pImage->width() : 0;
    case VERTRES: return m_pImage ? m_pImage->height() : 0;
    case BITSPIXEL:
        if (!m_bMemoryDC)
        {
            if (QScreen* screen = QGuiApplication::primaryScreen())
                return screen->depth();
        }
        return 32;
    case PLANES: return 1;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    default: return 0;
    }
}

int CDC::SelectClipRgn(CRgn* region)
{
    if (!region || !region->GetRegion())
    {
        m_pClip.reset();
        return SIMPLEREGION;
    }
    m_pClip = std::make_unique<QRegion>(*region->GetRegion());
    return KindOf(*m_pClip);
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom)
{
    CRect r(left, top, right, bottom);
    r.NormalizeRect();
    r.OffsetRect(m_viewportOrg);
    QRegion rect(ToQRect(r));
    if (m_pClip)
        *m_pClip = m_pClip->intersected(rect);
    else if (m_pImage)
        m_pClip = std::make_unique<QRegion>(rect.intersected(QRegion(m_pImage->rect())));
    else
        m_pClip = std::make_unique<QRegion>(rect);
    return KindOf(*m_pClip);
}

int CDC::IntersectClipRect(const CRect* rect)
{
    return rect ? IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom) : RGN_ERROR;
}

int CDC::GetClipBox(CRect* rect) const
{
    if (!rect)
        return RGN_ERROR;
    QRect box;
    if (m_pClip)
        box = m_pClip->boundingRect();
    else if (m_pImage)
        box = m_pImage->rect();
    *rect = FromQRect(box);
    rect->OffsetRect(-m_viewportOrg.x, -m_viewportOrg.y);
    return m_pClip ? KindOf(*m_pClip) : SIMPLEREGION;
}

void CDC::Begin(QPainter& p) const
{
    p.begin(m_pImage);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (m_pClip)
        p.setClipRegion(*m_pClip);
    p.translate(m_viewportOrg.x, m_viewportOrg.y);
    // Hatches and dots are laid out from the device's origin.
    p.setBrushOrigin(-m_viewportOrg.x, -m_viewportOrg.y);
    p.setBackgroundMode(m_nBkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
    p.setBackground(QBrush(ToQColor(m_bkColor)));
    p.setCompositionMode(ModeForRop2(m_nRop2));
}

bool CDC::HasPen() const
{
    if (m_pPen && m_pPen->IsCreated())
        return m_pPen->GetStyle() != PS_NULL;
    return m_nStockPen != NULL_PEN;
}

bool CDC::HasBrush() const
{
    if (m_pBrush && m_pBrush->IsCreated())
        return m_pBrush->GetStyle() != BS_NULL;
    if (m_nStockBrush)
        return StockBrushOf(m_nStockBrush - 1).style != BS_NULL;
    return true;  // the default brush is white
}

void CDC::PenOf(int& style, int& width, COLORREF& color) const
{
    style = PS_SOLID;
    width = 0;
    color = RGB(0, 0, 0);
    if (m_pPen && m_pPen->IsCreated())
    {
        style = m_pPen->GetStyle();
        width = m_pPen->GetWidth();
        color = m_pPen->GetColor();
    }
    else if (m_nStockPen == WHITE_PEN)
    {
        color = RGB(255, 255, 255);
    }
    else if (m_nStockPen == NULL_PEN)
    {
        style = PS_NULL;
    }
}

void CDC::ApplyPen(QPainter& p) const
{
    int style = PS_SOLID;
    int width = 0;
    COLORREF color = 0;
    PenOf(style, width, color);
    if (style == PS_NULL)
    {
        p.setPen(Qt::NoPen);
        return;
    }
    if (m_nRop2 == R2_BLACK)
        color = RGB(0, 0, 0);
    else if (m_nRop2 == R2_WHITE)
        color = RGB(255, 255, 255);
    QPen pen(ToQColor(color));
    if (width <= 1)
    {
        pen.setWidth(1);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        const std::vector<int> dashes = DashesOf(style);
        if (!dashes.empty())
            pen.setDashPattern(QList<qreal>(dashes.begin(), dashes.end()));
    }
    else
    {
        // Wide pens are solid whatever their style, with round ends.
        pen.setWidth(width);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    p.setPen(pen);
}

void CDC::BrushOf(int& style, int& hatch, COLORREF& color) const
{
    style = BS_SOLID;
    hatch = 0;
    color = RGB(255, 255, 255);
    if (m_pBrush && m_pBrush->IsCreated())
    {
        style = m_pBrush->GetStyle();
        hatch = m_pBrush->GetHatch();
        color = m_pBrush->GetColor();
    }
    else if (m_nStockBrush)
    {
        const StockBrush stock = StockBrushOf(m_nStockBrush - 1);
        style = stock.style;
        color = stock.color;
    }
}

Qt::BrushStyle HatchStyle(int hatch)
{
    static const Qt::BrushStyle patterns[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                              Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    return patterns[hatch];
}

const unsigned char* HatchRows(int hatch)
{
    // Each pattern is drawn once by the painter itself, over two periods
    // each way, so that the rows are its pixels whatever they are.
    static const auto rows = []
    {
        std::array<std::array<unsigned char, 8>, 6> table{};
        std::array<bool, 6> repeats{};
        for (int k = 0; k < 6; ++k)
        {
            QImage tile(16, 16, QImage::Format_ARGB32_Premultiplied);
            tile.fill(0);
            {
                QPainter p(&tile);
                p.setBrushOrigin(0, 0);
                p.fillRect(tile.rect(), QBrush(Qt::black, HatchStyle(k)));
            }
            repeats[static_cast<size_t>(k)] = true;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                {
                    const bool on = qAlpha(tile.pixel(x, y)) != 0;
                    if (on != (qAlpha(tile.pixel(x % 8, y % 8)) != 0))
                        repeats[static_cast<size_t>(k)] = false;
                    if (on && x < 8 && y < 8)
                        table[static_cast<size_t>(k)][static_cast<size_t>(y)] |= static_cast<unsigned char>(1u << x);
                }
        }
        return std::make_pair(table, repeats);
    }();
    if (hatch < 0 || hatch >= 6 || !rows.second[static_cast<size_t>(hatch)])
        return nullptr;
    return rows.first[static_cast<size_t>(hatch)].data();
}

void CDC::ApplyBrush(QPainter& p) const
{
    int style = BS_SOLID;
    int hatch = 0;
    COLORREF color = 0;
    BrushOf(style, hatch, color);
    if (style == BS_NULL)
    {
        p.setBrush(Qt::NoBrush);
        return;
    }
    if (style == BS_HATCHED)
    {
        p.setBrush(QBrush(ToQColor(color), HatchStyle(hatch)));
        return;
    }
    p.setBrush(QBrush(ToQColor(color)));
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop)
{
    if (!m_pImage)
        return FALSE;
    if (rop == BLACKNESS || rop == WHITENESS || rop == DSTINVERT || rop == PATCOPY || rop == PATINVERT)
        return PatBlt(x, y, width, height, rop);
    if (!source || !source->m_pImage || width <= 0 || height <= 0)
        return FALSE;
    const QRect from(xSrc + source->m_viewportOrg.x, ySrc + source->m_viewportOrg.y, width, height);
    QPainter p;
    Begin(p);
    p.setCompositionMode(ModeForRop(rop));
    if (source->m_pImage == m_pImage)
    {
        const QImage copy = m_pImage->copy(from);
        p.drawImage(QPoint(x, y), copy);
    }
    else
    {
        p.drawImage(QPoint(x, y), *source->m_pImage, from);
    }
    return TRUE;
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth, int srcHeight,
                     DWORD rop)
{
    if (!m_pImage)
        return FALSE;
    if (!source || !source->m_pImage || width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0)
        return FALSE;
    const QRect from(xSrc + source->m_viewportOrg.x, ySrc + source->m_viewportOrg.y, srcWidth, srcHeight);
    QImage part = source->m_pImage->copy(from.normalized());
    const bool mirrorX = (width < 0) != (srcWidth < 0);
    const bool mirrorY = (height < 0) != (srcHeight < 0);
    if (mirrorX || mirrorY)
        part = part.mirrored(mirrorX, mirrorY);
    const QRect to = QRect(x, y, width, height).normalized();
    QPainter p;
    Begin(p);
    p.setCompositionMode(ModeForRop(rop));
    p.drawImage(to, part);
    return TRUE;
}

// ---------------------------------------------------------------------------

CPaintDC::CPaintDC(CWnd* wnd) : m_pWnd(wnd)
{
    if (!wnd)
        return;
    AttachImage(wnd->GetBackImage());
    auto* plain = dynamic_cast<CPlainWidget*>(wnd->GetWidget());
    if (plain && plain->TakeErase() && m_pImage)
        wnd->OnEraseBkgnd(this);
}

CPaintDC::~CPaintDC() = default;

CClientDC::CClientDC(CWnd* wnd) : m_pWnd(wnd)
{
    if (wnd)
        AttachImage(wnd->GetBackImage());
}

CClientDC::~CClientDC()
{
    if (m_pWnd && m_pImage)
        m_pWnd->PresentBackImage();
}
