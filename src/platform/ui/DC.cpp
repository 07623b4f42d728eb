#include "platform/ui/DC.h"

#include "platform/core/File.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/Wnd.h"
#include "platform/ui/WndPrivate.h"

#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QRegion>
#include <QScreen>

#include <cmath>
#include <map>
#include <optional>

namespace
{
constexpr double kPi = 3.14159265358979323846;

// The default font of a DC: a plain sans face, 13 pixels.
constexpr int kDefaultFontPixels = 13;

struct StockBrush
{
    int style;
    COLORREF color;
};

StockBrush StockBrushOf(int index)
{
    switch (index)
    {
    case WHITE_BRUSH: return {BS_SOLID, RGB(255, 255, 255)};
    case LTGRAY_BRUSH: return {BS_SOLID, RGB(192, 192, 192)};
    case GRAY_BRUSH: return {BS_SOLID, RGB(128, 128, 128)};
    case DKGRAY_BRUSH: return {BS_SOLID, RGB(64, 64, 64)};
    case BLACK_BRUSH: return {BS_SOLID, RGB(0, 0, 0)};
    default: return {BS_NULL, 0};
    }
}

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

// The on/off runs of a one-pixel styled pen, in pixels (empty: solid).
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

QFont FontOf(const CFont* font)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(kDefaultFontPixels);
    if (font && font->IsCreated())
    {
        const LOGFONT& lf = font->GetLogFont();
        if (lf.lfFaceName[0])
            f.setFamilies({ToQString(lf.lfFaceName), QStringLiteral("DejaVu Sans")});
        if (lf.lfHeight < 0)
            f.setPixelSize(std::max(1, static_cast<int>(-lf.lfHeight)));
        else if (lf.lfHeight > 0)
            f.setPixelSize(std::max(1, static_cast<int>(lf.lfHeight * 4 / 5)));
        f.setWeight(lf.lfWeight >= 600 ? QFont::Bold : QFont::Normal);
        f.setItalic(lf.lfItalic != 0);
        f.setUnderline(lf.lfUnderline != 0);
        f.setStrikeOut(lf.lfStrikeOut != 0);
    }
    // Pixels in the text colour only: no smoothing, as the program's
    // drawing (and its colour keys) expect.
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

std::map<UINT, CString>& BitmapPaths()
{
    static std::map<UINT, CString> map;
    return map;
}
std::map<UINT, QImage>& BitmapImages()
{
    static std::map<UINT, QImage> map;
    return map;
}

// The bit count a BMP file declares, after checking that its header is
// sound and that an uncompressed file holds all its rows (Qt's reader
// would take a short file and make up the missing rows); 0 when not.
int BmpBitCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray head = file.read(34);
    if (head.size() < 34 || head[0] != 'B' || head[1] != 'M')
        return 0;
    auto u16 = [&](int at)
    {
        return static_cast<unsigned>(static_cast<unsigned char>(head[at])) |
               (static_cast<unsigned>(static_cast<unsigned char>(head[at + 1])) << 8);
    };
    auto u32 = [&](int at) { return u16(at) | (u16(at + 2) << 16); };
    const qint64 offBits = u32(10);
    const unsigned infoSize = u32(14);
    if (infoSize < 12)
        return 0;
    qint64 width = 0;
    qint64 height = 0;
    int bits = 0;
    unsigned compression = 0;
    if (infoSize == 12)
    {
        // The old OS/2 header: 16-bit sizes.
        width = u16(18);
        height = u16(20);
        bits = static_cast<int>(u16(24));
    }
    else
    {
        width = static_cast<qint32>(u32(18));
        height = static_cast<qint32>(u32(22));
        bits = static_cast<int>(u16(28));
        compression = u32(30);
    }
    if (width <= 0 || height == 0 || width > 32767 || std::llabs(height) > 32767)
        return 0;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return 0;
    if (compression == 0 || compression == 3)
    {
        const qint64 stride = (width * bits + 31) / 32 * 4;
        if (file.size() < offBits + stride * std::llabs(height))
            return 0;
    }
    return bits;
}

// Degrees counter-clockwise (as seen on screen) from the centre to a point.
double AngleOf(const QRectF& box, int x, int y)
{
    const QPointF c = box.center();
    return std::atan2(-(y - c.y()), x - c.x()) * 180.0 / kPi;
}
}  // namespace

// ---------------------------------------------------------------------------

BOOL CPen::CreatePen(int style, int width, COLORREF color)
{
    m_bCreated = true;
    m_nStyle = style;
    m_nWidth = width < 0 ? 0 : width;
    m_color = color & 0x00FFFFFF;
    return TRUE;
}

BOOL CPen::DeleteObject()
{
    const BOOL was = m_bCreated;
    m_bCreated = false;
    return was;
}

BOOL CBrush::CreateSolidBrush(COLORREF color)
{
    m_bCreated = true;
    m_nStyle = BS_SOLID;
    m_color = color & 0x00FFFFFF;
    return TRUE;
}

BOOL CBrush::CreateHatchBrush(int hatchStyle, COLORREF color)
{
    if (hatchStyle < HS_HORIZONTAL || hatchStyle > HS_DIAGCROSS)
        return FALSE;
    m_bCreated = true;
    m_nStyle = BS_HATCHED;
    m_nHatch = hatchStyle;
    m_color = color & 0x00FFFFFF;
    return TRUE;
}

BOOL CBrush::CreateHollowBrush()
{
    m_bCreated = true;
    m_nStyle = BS_NULL;
    return TRUE;
}

BOOL CBrush::CreateStockObject(int index)
{
    if (index < WHITE_BRUSH || index > NULL_BRUSH)
        return FALSE;
    const StockBrush stock = StockBrushOf(index);
    m_bCreated = true;
    m_nStyle = stock.style;
    m_color = stock.color;
    return TRUE;
}

BOOL CBrush::DeleteObject()
{
    const BOOL was = m_bCreated;
    m_bCreated = false;
    return was;
}

BOOL CFont::CreatePointFont(int pointSize, const char* faceName, CDC*)
{
    LOGFONT lf;
    // Tenths of a point at 96 pixels per inch.
    lf.lfHeight = -std::max(1, (pointSize * 96 + 360) / 720);
    if (faceName)
        std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", faceName);
    return CreateFontIndirect(&lf);
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                       BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                       BYTE pitchAndFamily, const char* faceName)
{
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight == 0 ? FW_NORMAL : weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = outPrecision;
    lf.lfClipPrecision = clipPrecision;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    if (faceName)
        std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", faceName);
    return CreateFontIndirect(&lf);
}

BOOL CFont::CreateFontIndirect(const LOGFONT* logFont)
{
    if (!logFont)
        return FALSE;
    m_lf = *logFont;
    m_lf.lfFaceName[sizeof m_lf.lfFaceName - 1] = '\0';
    m_bCreated = true;
    return TRUE;
}

int CFont::GetLogFont(LOGFONT* logFont) const
{
    if (!logFont || !m_bCreated)
        return 0;
    *logFont = m_lf;
    return static_cast<int>(sizeof(LOGFONT));
}

BOOL CFont::DeleteObject()
{
    const BOOL was = m_bCreated;
    m_bCreated = false;
    return was;
}

// ---------------------------------------------------------------------------

CBitmap::CBitmap() = default;
CBitmap::~CBitmap() = default;

bool CBitmap::IsCreated() const { return m_pImage != nullptr; }

BOOL CBitmap::SetImage(const QImage& image, int sourceBitsPerPixel)
{
    if (image.isNull())
        return FALSE;
    m_pImage = std::make_unique<QImage>(image.convertToFormat(QImage::Format_RGB32));
    m_nSourceBits = sourceBitsPerPixel;
    return TRUE;
}

BOOL CBitmap::LoadBitmap(UINT resourceId)
{
    auto img = BitmapImages().find(resourceId);
    if (img != BitmapImages().end())
        return SetImage(img->second, 32);
    auto path = BitmapPaths().find(resourceId);
    if (path != BitmapPaths().end())
        return LoadBitmap(path->second.GetString());
    return FALSE;
}

BOOL CBitmap::LoadBitmap(const char* path)
{
    // Only a regular file: a FIFO would block the reader.
    if (!path || !*path || !FileExists(path))
        return FALSE;
    const QString file = ToQString(ResolvePath(path));
    const int bits = BmpBitCount(file);
    if (bits == 0)
        return FALSE;
    QImageReader reader(file, "bmp");
    QImage image = reader.read();
    if (image.isNull())
        return FALSE;
    return SetImage(image, bits);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC*, int width, int height) { return CreateBitmap(width, height); }

BOOL CBitmap::CreateBitmap(int width, int height)
{
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767)
        return FALSE;
    auto image = std::make_unique<QImage>(width, height, QImage::Format_RGB32);
    if (image->isNull())
        return FALSE;
    image->fill(Qt::black);
    m_pImage = std::move(image);
    m_nSourceBits = 32;
    return TRUE;
}

BOOL CBitmap::DeleteObject()
{
    const BOOL was = m_pImage != nullptr;
    m_pImage.reset();
    return was;
}

int CBitmap::GetBitmap(BITMAP* bitmap) const
{
    if (!bitmap || !m_pImage)
        return 0;
    bitmap->bmType = 0;
    bitmap->bmWidth = m_pImage->width();
    bitmap->bmHeight = m_pImage->height();
    bitmap->bmBitsPixel = static_cast<WORD>(m_nSourceBits);
    bitmap->bmPlanes = 1;
    bitmap->bmWidthBytes = ((m_pImage->width() * m_nSourceBits + 15) / 16) * 2;
    return static_cast<int>(sizeof(BITMAP));
}

CSize CBitmap::GetBitmapDimension() const { return m_pImage ? CSize(m_pImage->width(), m_pImage->height()) : CSize(); }

COLORREF CBitmap::GetPixel(int x, int y) const
{
    if (!m_pImage || !m_pImage->valid(x, y))
        return CLR_INVALID;
    return FromQColor(QColor::fromRgb(m_pImage->pixel(x, y)));
}

void RegisterBitmapResource(UINT resourceId, const CString& path)
{
    BitmapImages().erase(resourceId);
    BitmapPaths()[resourceId] = path;
}

void RegisterBitmapResourceImage(UINT resourceId, const QImage& image)
{
    BitmapPaths().erase(resourceId);
    BitmapImages()[resourceId] = image;
}

BOOL IsBitmapResourceRegistered(UINT resourceId)
{
    return BitmapPaths().count(resourceId) || BitmapImages().count(resourceId);
}

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

namespace
{
int KindOf(const QRegion& region)
{
    if (region.isEmpty())
        return NULLREGION;
    return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}
}  // namespace

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

void CDC::ApplyPen(QPainter& p) const
{
    int style = PS_SOLID;
    int width = 0;
    COLORREF color = RGB(0, 0, 0);
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
        switch (style)
        {
        case PS_DASH: pen.setDashPattern({18, 6}); break;
        case PS_DOT: pen.setDashPattern({3, 3}); break;
        case PS_DASHDOT: pen.setDashPattern({9, 6, 3, 6}); break;
        case PS_DASHDOTDOT: pen.setDashPattern({9, 3, 3, 3, 3, 3}); break;
        default: break;
        }
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

void CDC::ApplyBrush(QPainter& p) const
{
    int style = BS_SOLID;
    int hatch = 0;
    COLORREF color = RGB(255, 255, 255);
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
    if (style == BS_NULL)
    {
        p.setBrush(Qt::NoBrush);
        return;
    }
    if (style == BS_HATCHED)
    {
        static const Qt::BrushStyle patterns[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                                  Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        p.setBrush(QBrush(ToQColor(color), patterns[hatch]));
        return;
    }
    p.setBrush(QBrush(ToQColor(color)));
}

CPoint CDC::MoveTo(int x, int y)
{
    const CPoint old = m_current;
    m_current = CPoint(x, y);
    return old;
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

void CDC::CosmeticLine(CPoint from, CPoint to, int& stylePos)
{
    int style = PS_SOLID;
    int width = 0;
    COLORREF color = 0;
    PenOf(style, width, color);
    const std::vector<int> dashes = DashesOf(style);
    int period = 0;
    for (int d : dashes)
        period += d;
    const QRgb pen = ToQColor(color).rgb();
    const QRgb back = ToQColor(m_bkColor).rgb();
    int x = from.x + m_viewportOrg.x;
    int y = from.y + m_viewportOrg.y;
    const int x1 = to.x + m_viewportOrg.x;
    const int y1 = to.y + m_viewportOrg.y;
    const int dx = std::abs(x1 - x);
    const int dy = -std::abs(y1 - y);
    const int sx = x < x1 ? 1 : -1;
    const int sy = y < y1 ? 1 : -1;
    int err = dx + dy;
    // Bresenham from the first point; the last point is not drawn.
    while (x != x1 || y != y1)
    {
        bool on = true;
        if (period > 0)
        {
            int k = stylePos % period;
            for (size_t i = 0; i < dashes.size(); ++i)
            {
                if (k < dashes[i])
                {
                    on = (i % 2) == 0;
                    break;
                }
                k -= dashes[i];
            }
        }
        ++stylePos;
        if ((on || m_nBkMode == OPAQUE) && m_pImage->valid(x, y) && (!m_pClip || m_pClip->contains(QPoint(x, y))))
            m_pImage->setPixel(x, y, MixPixel(m_nRop2, on ? pen : back, m_pImage->pixel(x, y)));
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

namespace
{
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
}  // namespace

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

BOOL CDC::TextOut(int x, int y, const char* text, int length)
{
    if (!m_pImage || !text)
        return FALSE;
    if (length < 0)
        length = 0;
    const CString bytes(text, length);
    const QString s = ToQString(bytes);
    const QFont font = FontOf(m_pFont);
    const QFontMetrics fm(font);
    const int width = fm.horizontalAdvance(s);
    int left = x;
    if ((m_nTextAlign & TA_CENTER) == TA_CENTER)
        left = x - width / 2;
    else if (m_nTextAlign & TA_RIGHT)
        left = x - width;
    int top = y;
    if ((m_nTextAlign & TA_BASELINE) == TA_BASELINE)
        top = y - fm.ascent();
    else if (m_nTextAlign & TA_BOTTOM)
        top = y - fm.height();
    QPainter p;
    Begin(p);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const LONG escapement = m_pFont && m_pFont->IsCreated() ? m_pFont->GetLogFont().lfEscapement : 0;
    if (escapement)
    {
        p.translate(x, y);
        p.rotate(-escapement / 10.0);
        p.translate(-x, -y);
    }
    if (m_nBkMode == OPAQUE)
        p.fillRect(QRect(left, top, width, fm.height()), ToQColor(m_bkColor));
    p.setFont(font);
    p.setPen(ToQColor(m_textColor));
    p.setBackgroundMode(Qt::TransparentMode);
    p.drawText(QPoint(left, top + fm.ascent()), s);
    return TRUE;
}

CSize CDC::GetTextExtent(const char* text, int length) const
{
    if (!text || length <= 0)
        return CSize(0, QFontMetrics(FontOf(m_pFont)).height());
    const QFontMetrics fm(FontOf(m_pFont));
    return CSize(fm.horizontalAdvance(ToQString(CString(text, length))), fm.height());
}

int CDC::DrawText(const CString& text, CRect* rect, UINT format)
{
    if (!rect)
        return 0;
    const QFont font = FontOf(m_pFont);
    const QFontMetrics fm(font);
    int flags = 0;
    flags |= (format & DT_CENTER) ? Qt::AlignHCenter : (format & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    if (format & DT_SINGLELINE)
        flags |= (format & DT_VCENTER) ? Qt::AlignVCenter : (format & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
    else
        flags |= Qt::AlignTop;
    if (format & DT_WORDBREAK)
        flags |= Qt::TextWordWrap;
    if (format & DT_SINGLELINE)
        flags |= Qt::TextSingleLine;
    QString s = ToQString(text);
    s.remove(QChar('\r'));
    if (!(format & DT_NOPREFIX))
        s.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QChar('&')).replace(QChar(1), QChar('&'));
    const QRect box = ToQRect(*rect);
    const QRect bound = fm.boundingRect(box, flags, s);
    if (format & DT_CALCRECT)
    {
        rect->right = rect->left + bound.width();
        rect->bottom = rect->top + bound.height();
        return bound.height();
    }
    if (!m_pImage)
        return 0;
    QPainter p;
    Begin(p);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!(format & DT_NOCLIP))
        p.setClipRect(box, Qt::IntersectClip);
    if (m_nBkMode == OPAQUE)
        p.fillRect(bound, ToQColor(m_bkColor));
    p.setFont(font);
    p.setPen(ToQColor(m_textColor));
    p.setBackgroundMode(Qt::TransparentMode);
    p.drawText(box, flags, s);
    return bound.height();
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* metrics) const
{
    if (!metrics)
        return FALSE;
    const QFontMetrics fm(FontOf(m_pFont));
    metrics->tmHeight = fm.height();
    metrics->tmAscent = fm.ascent();
    metrics->tmDescent = fm.descent();
    metrics->tmInternalLeading = 0;
    metrics->tmExternalLeading = fm.leading();
    metrics->tmAveCharWidth = fm.averageCharWidth();
    metrics->tmMaxCharWidth = fm.maxWidth();
    return TRUE;
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

// ---------------------------------------------------------------------------

namespace
{
struct DragState
{
    QPointer<QLabel> label;
    QPoint hotSpot;
    QPointer<QWidget> lock;
};
DragState& Drag()
{
    static DragState state;
    return state;
}
}  // namespace

CImageList::CImageList() = default;
CImageList::~CImageList() = default;

BOOL CImageList::Create(int cx, int cy, UINT, int initial, int)
{
    if (cx <= 0 || cy <= 0)
        return FALSE;
    m_cx = cx;
    m_cy = cy;
    m_images.clear();
    if (initial > 0)
        m_images.reserve(static_cast<size_t>(initial));
    m_bCreated = true;
    return TRUE;
}

BOOL CImageList::DeleteImageList()
{
    const BOOL was = m_bCreated;
    m_images.clear();
    m_bCreated = false;
    return was;
}

int CImageList::Add(CBitmap* bitmap, COLORREF maskColor)
{
    if (!m_bCreated || !bitmap || !bitmap->GetImage())
        return -1;
    const QImage& source = *bitmap->GetImage();
    const int count = std::max(1, source.width() / m_cx);
    const int first = static_cast<int>(m_images.size());
    const QRgb key = ToQColor(maskColor).rgb() & 0x00FFFFFF;
    for (int i = 0; i < count; ++i)
    {
        auto image = std::make_unique<QImage>(m_cx, m_cy, QImage::Format_ARGB32);
        image->fill(Qt::transparent);
        for (int y = 0; y < m_cy && y < source.height(); ++y)
        {
            for (int x = 0; x < m_cx && i * m_cx + x < source.width(); ++x)
            {
                const QRgb px = source.pixel(i * m_cx + x, y);
                image->setPixel(x, y, (px & 0x00FFFFFF) == key ? 0u : (px | 0xFF000000));
            }
        }
        m_images.push_back(std::move(image));
    }
    return first;
}

int CImageList::Add(CBitmap* bitmap, CBitmap* mask)
{
    if (!m_bCreated || !bitmap || !bitmap->GetImage())
        return -1;
    const QImage& source = *bitmap->GetImage();
    const QImage* maskImage = mask ? mask->GetImage() : nullptr;
    const int count = std::max(1, source.width() / m_cx);
    const int first = static_cast<int>(m_images.size());
    for (int i = 0; i < count; ++i)
    {
        auto image = std::make_unique<QImage>(m_cx, m_cy, QImage::Format_ARGB32);
        image->fill(Qt::transparent);
        for (int y = 0; y < m_cy && y < source.height(); ++y)
        {
            for (int x = 0; x < m_cx && i * m_cx + x < source.width(); ++x)
            {
                const int sx = i * m_cx + x;
                // White mask pixels are transparent.
                const bool clear = maskImage && maskImage->valid(sx, y) && (maskImage->pixel(sx, y) & 0x00FFFFFF) != 0;
                image->setPixel(x, y, clear ? 0u : (source.pixel(sx, y) | 0xFF000000));
            }
        }
        m_images.push_back(std::move(image));
    }
    return first;
}

BOOL CImageList::Replace(int index, CBitmap* bitmap, CBitmap* mask)
{
    if (index < 0 || index >= GetImageCount())
        return FALSE;
    CImageList temp;
    temp.Create(m_cx, m_cy, 0, 1, 1);
    if (temp.Add(bitmap, mask) < 0)
        return FALSE;
    m_images[static_cast<size_t>(index)] = std::move(temp.m_images.front());
    return TRUE;
}

BOOL CImageList::Remove(int index)
{
    if (index == -1)
    {
        m_images.clear();
        return TRUE;
    }
    if (index < 0 || index >= GetImageCount())
        return FALSE;
    m_images.erase(m_images.begin() + index);
    return TRUE;
}

int CImageList::GetImageCount() const { return static_cast<int>(m_images.size()); }

BOOL CImageList::Draw(CDC* pDC, int index, CPoint point, UINT)
{
    if (!pDC || !pDC->GetImage() || index < 0 || index >= GetImageCount())
        return FALSE;
    QPainter p(pDC->GetImage());
    const CPoint org = pDC->GetViewportOrg();
    p.drawImage(QPoint(point.x + org.x, point.y + org.y), *m_images[static_cast<size_t>(index)]);
    return TRUE;
}

const QImage* CImageList::GetImage(int index) const
{
    if (index < 0 || index >= GetImageCount())
        return nullptr;
    return m_images[static_cast<size_t>(index)].get();
}

BOOL CImageList::BeginDrag(int index, CPoint hotSpot)
{
    const QImage* image = GetImage(index);
    if (!image)
        return FALSE;
    EndDrag();
    auto* label = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setPixmap(QPixmap::fromImage(*image));
    label->resize(image->size());
    Drag().label = label;
    Drag().hotSpot = QPoint(hotSpot.x, hotSpot.y);
    return TRUE;
}

BOOL CImageList::DragEnter(CWnd* lock, CPoint point)
{
    Drag().lock = lock ? lock->GetOuterWidget() : nullptr;
    if (!Drag().label)
        return FALSE;
    DragMove(point);
    Drag().label->show();
    return TRUE;
}

BOOL CImageList::DragMove(CPoint point)
{
    if (!Drag().label)
        return FALSE;
    QPoint global(point.x, point.y);
    if (Drag().lock)
        global = Drag().lock->mapToGlobal(global);
    Drag().label->move(global - Drag().hotSpot);
    return TRUE;
}

BOOL CImageList::DragLeave(CWnd*)
{
    if (!Drag().label)
        return FALSE;
    Drag().label->hide();
    return TRUE;
}

BOOL CImageList::DragShowNolock(BOOL show)
{
    if (!Drag().label)
        return FALSE;
    Drag().label->setVisible(show != FALSE);
    return TRUE;
}

void CImageList::EndDrag()
{
    if (Drag().label)
    {
        Drag().label->hide();
        delete Drag().label.data();
    }
    Drag().label = nullptr;
    Drag().lock = nullptr;
}

bool CImageList::IsDragging() { return Drag().label != nullptr; }
