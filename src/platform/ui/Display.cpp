#include "platform/ui/Display.h"

#include "platform/core/File.h"
#include "platform/core/Rounding.h"
#include "platform/ui/App.h"
#include "platform/ui/DC.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/UiService.h"
#include "platform/ui/Wnd.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#include <xmmintrin.h>
#endif

namespace
{

constexpr QImage::Format kSurfaceFormat = QImage::Format_RGB32;
// The colour bits of a 32-bit pixel; the top byte is not colour.
constexpr DWORD kColorMask = 0x00FFFFFF;
constexpr int kColorDepth = 32;
// The exit code of a program ended by a display error: it did not end well.
constexpr int kDisplayErrorExitCode = 1;

// Truncated toward zero, kept inside int.
int Truncate(double v)
{
    if (!(v > -1e9))
        return -1000000000;
    if (v > 1e9)
        return 1000000000;
    return static_cast<int>(v);
}

bool Is32Bit(const QImage& image)
{
    switch (image.format())
    {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied: return true;
    default: return false;
    }
}

// How many rows ahead a keyed copy asks for the source rows, and the
// longest rows it asks for.
constexpr int kRowsAhead = 4;
constexpr size_t kPrefetchedRowBytes = 2048;

// Asks for the cache lines of a row that is about to be read.
void PrefetchRow(const char* row, size_t bytes)
{
#if defined(__SSE2__)
    constexpr size_t kLine = 64;
    for (size_t offset = 0; offset < bytes; offset += kLine)
        _mm_prefetch(row + offset, _MM_HINT_T0);
    _mm_prefetch(row + bytes - 1, _MM_HINT_T0);
#else
    (void)row;
    (void)bytes;
#endif
}

// One row of a keyed copy. Every pixel is written, the key's with what was
// there already, so that no branch waits on the key, which an overlay holds
// at random; four pixels at a time where the processor has the registers.
void CopyRowKeyed(const QRgb* from, QRgb* to, size_t n, DWORD key)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i colorMask = _mm_set1_epi32(static_cast<int>(kColorMask));
    const __m128i keyColor = _mm_set1_epi32(static_cast<int>(key));
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (; i + 4 <= n; i += 4)
    {
        const __m128i source = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        const __m128i isKey = _mm_cmpeq_epi32(_mm_and_si128(source, colorMask), keyColor);
        const int keyMask = _mm_movemask_epi8(isKey);
        // Four pixels of the key (most of an overlay) leave the target
        // unread and unwritten.
        if (keyMask == 0xFFFF)
            continue;
        const __m128i drawn = _mm_or_si128(source, opaque);
        __m128i* target = reinterpret_cast<__m128i*>(to + i);
        if (keyMask == 0)
            _mm_storeu_si128(target, drawn);
        else
            _mm_storeu_si128(
                target, _mm_or_si128(_mm_and_si128(isKey, _mm_loadu_si128(target)), _mm_andnot_si128(isKey, drawn)));
    }
#endif
    for (; i < n; ++i)
    {
        const QRgb pixel = from[i];
        to[i] = (pixel & kColorMask) == key ? to[i] : (pixel | 0xFF000000u);
    }
}

QImage NewSurfaceImage(int width, int height)
{
    QImage image = NewPixelImage(width, height, kSurfaceFormat);
    if (!image.isNull())
        image.fill(Qt::black);
    return image;
}

// Runs are worth keeping while they are few beside the pixels: one run for
// this many pixels at most.
constexpr qsizetype kPixelsPerRun = 16;

}  // namespace

// The pixels of a surface that are not its colour key, row by row, as runs
// of columns [begin, end) with a copy of their pixels, opaque, side by side.
// A keyed copy from a surface that is mostly key (a contour overlay: a few
// lines over the key) then reads only those copies, in the order it writes
// them, instead of the whole rectangle. The runs belong to one content of
// the image (its cache key, which every change of the pixels moves on) and
// one key; they are made the second time a keyed band copy finds both
// unchanged, so that a surface drawn again before every copy never pays for
// them, and refused for that content when they would be too many.
struct CSurface::KeyedRuns
{
    enum class State
    {
        Seen,     // content seen once
        Made,     // the runs below hold
        Refused,  // too many runs for this content
    };
    struct Run
    {
        int begin;
        int end;
        size_t first;  // its pixels: pixels[first, first + end - begin)
    };
    qint64 content = 0;
    DWORD key = 0;
    State state = State::Seen;
    std::vector<size_t> rowFirst;  // the runs of row y: [rowFirst[y], rowFirst[y + 1])
    std::vector<Run> runs;
    std::vector<QRgb> pixels;

    void Clear()
    {
        rowFirst.clear();
        runs.clear();
        pixels.clear();
        runs.shrink_to_fit();
        pixels.shrink_to_fit();
    }

    bool Make(const QImage& image)
    {
        const int width = image.width();
        const int height = image.height();
        const qsizetype area = static_cast<qsizetype>(width) * height;
        const size_t runLimit = static_cast<size_t>(area / kPixelsPerRun);
        Clear();
        rowFirst.assign(static_cast<size_t>(height) + 1, 0);
        for (int y = 0; y < height; ++y)
        {
            rowFirst[static_cast<size_t>(y)] = runs.size();
            const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < width;)
            {
                if ((row[x] & kColorMask) == key)
                {
                    ++x;
                    continue;
                }
                const int begin = x;
                const size_t first = pixels.size();
                for (; x < width && (row[x] & kColorMask) != key; ++x)
                    pixels.push_back(row[x] | 0xFF000000u);
                runs.push_back({begin, x, first});
            }
            if (runs.size() > runLimit)
            {
                Clear();
                return false;
            }
        }
        rowFirst[static_cast<size_t>(height)] = runs.size();
        return true;
    }

    // Columns sourceLeft to sourceLeft + count of source row `row` onto `to`:
    // what CopyRowKeyed does with that part of the row.
    void CopyRow(int row, int sourceLeft, size_t count, QRgb* to) const
    {
        const Run* first = runs.data() + rowFirst[static_cast<size_t>(row)];
        const Run* last = runs.data() + rowFirst[static_cast<size_t>(row) + 1];
        const long long right = static_cast<long long>(sourceLeft) + static_cast<long long>(count);
        const Run* run = std::upper_bound(first, last, sourceLeft, [](int x, const Run& r) { return x < r.end; });
        for (; run != last && run->begin < right; ++run)
        {
            const int begin = std::max(run->begin, sourceLeft);
            const int end = static_cast<int>(std::min<long long>(run->end, right));
            const QRgb* from = pixels.data() + run->first + (begin - run->begin);
            QRgb* out = to + (begin - sourceLeft);
            for (int i = 0; i < end - begin; ++i)
                out[i] = from[i];
        }
    }
};

const CSurface::KeyedRuns* CSurface::GetKeyedRuns(DWORD key)
{
    const qint64 content = m_pImage->cacheKey();
    if (!m_pKeyedRuns || m_pKeyedRuns->content != content || m_pKeyedRuns->key != key)
    {
        if (!m_pKeyedRuns)
            m_pKeyedRuns = std::make_unique<KeyedRuns>();
        m_pKeyedRuns->content = content;
        m_pKeyedRuns->key = key;
        m_pKeyedRuns->state = KeyedRuns::State::Seen;
        m_pKeyedRuns->Clear();
        return nullptr;
    }
    if (m_pKeyedRuns->state == KeyedRuns::State::Seen)
        m_pKeyedRuns->state = m_pKeyedRuns->Make(*m_pImage) ? KeyedRuns::State::Made : KeyedRuns::State::Refused;
    return m_pKeyedRuns->state == KeyedRuns::State::Made ? m_pKeyedRuns.get() : nullptr;
}

// ---------------------------------------------------------------------------
// Result names

const char* DDErrorName(DDRESULT result)
{
    struct Entry
    {
        DDRESULT code;
        const char* name;
    };
    static const Entry names[] = {
        {DD_OK, "DD_OK"},
        {DDERR_GENERIC, "DDERR_GENERIC"},
        {DDERR_INVALIDPARAMS, "DDERR_INVALIDPARAMS"},
        {DDERR_INVALIDRECT, "DDERR_INVALIDRECT"},
        {DDERR_INVALIDOBJECT, "DDERR_INVALIDOBJECT"},
        {DDERR_NOCOLORKEY, "DDERR_NOCOLORKEY"},
        {DDERR_OUTOFMEMORY, "DDERR_OUTOFMEMORY"},
        {DDERR_SURFACELOST, "DDERR_SURFACELOST"},
        {DDERR_UNSUPPORTED, "DDERR_UNSUPPORTED"},
        {DDERR_CANTCREATEDC, "DDERR_CANTCREATEDC"},
        {DDERR_NODC, "DDERR_NODC"},
        {DDERR_DCALREADYCREATED, "DDERR_DCALREADYCREATED"},
        {DDERR_NOTFOUND, "DDERR_NOTFOUND"},
    };
    for (const Entry& e : names)
        if (e.code == result)
            return e.name;
    return "Unknown Error";
}

void ReportDDError(DDRESULT result, CWnd* owner)
{
    CString text;
    text.Format("DirectDraw Error %s", DDErrorName(result));
    GetUiService().MessageBox(owner, text, "Error", MB_OK);
    // The program cannot draw without its surfaces: it ends at the next turn
    // of the application's message loop, which reads the application's own
    // quit message (a quit of Qt's event loop would go unseen there).
    if (CWinApp* app = AfxGetApp())
        app->PostQuitMessage(kDisplayErrorExitCode);
    else if (QCoreApplication* qt = QCoreApplication::instance())
        QMetaObject::invokeMethod(qt, &QCoreApplication::quit, Qt::QueuedConnection);
}

// ---------------------------------------------------------------------------
// Bitmaps and colours

BOOL DDLoadBitmap(const char* name, QImage& bitmap, int& width, int& height, CString* reason)
{
    if (reason)
        reason->Empty();
    if (!name || !*name)
        return FALSE;
    QImage image;
    const QString resource = QStringLiteral(":/") + ToQString(name);
    if (QFile::exists(resource))
        image.load(resource);
    // A FIFO or device named as a bitmap would block the reader or feed it
    // for ever: the file is opened first, which takes only regular files.
    CFile probe;
    CFileException error;
    if (image.isNull() && !probe.Open(name, CFile::modeRead, &error))
    {
        if (reason && error.m_cause != CFileException::fileNotFound && error.m_cause != CFileException::badPath)
            *reason = error.GetReason();
    }
    else if (image.isNull())
    {
        probe.Close();
        QImageReader reader(QString::fromStdString(ResolveSystemPath(name)));
        image = reader.read();
        if (image.isNull() && reason)
        {
            QString text = reader.errorString();
            if (!text.isEmpty())
                text[0] = text[0].toLower();
            *reason = CString(text.toUtf8().constData());
        }
        if (image.isNull() && reason && reason->IsEmpty())
            *reason = "it is not a picture";
    }
    if (image.isNull())
        return FALSE;
    bitmap = image.convertToFormat(kSurfaceFormat);
    width = bitmap.width();
    height = bitmap.height();
    return TRUE;
}

DDRESULT DDCopyBitmap(CSurface* surface, const QImage& bitmap, int x, int y, int dx, int dy)
{
    if (!surface || bitmap.isNull() || surface->GetImage().isNull())
        return DDERR_INVALIDPARAMS;
    if (surface->IsLost())
        surface->m_lost = FALSE;
    if (dx == 0)
        dx = bitmap.width();
    if (dy == 0)
        dy = bitmap.height();
    QPainter painter(&surface->GetImage());
    if (!painter.isActive())
    {
        qDebug("createcompatible dc failed");
        return DDERR_CANTCREATEDC;
    }
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QRect(0, 0, surface->GetWidth(), surface->GetHeight()), bitmap, QRect(x, y, dx, dy));
    return DD_OK;
}

DDRESULT DDReLoadBitmap(CSurface* surface, const char* name)
{
    QImage bitmap;
    int width = 0;
    int height = 0;
    if (!DDLoadBitmap(name, bitmap, width, height))
    {
        qDebug("handle is null");
        return DDERR_GENERIC;
    }
    const DDRESULT result = DDCopyBitmap(surface, bitmap, 0, 0, 0, 0);
    if (result != DD_OK)
        qDebug("ddcopybitmap failed");
    return result;
}

DWORD DDColorMatch(CSurface* surface, COLORREF rgb)
{
    if (rgb == CLR_INVALID)
        return CLR_INVALID;
    if (!surface || surface->GetImage().isNull())
        return 0;
    // Put the colour into the surface and read back what the surface holds
    // for it, so that the key has the surface's own pixel layout.
    QImage& image = surface->GetImage();
    const QRgb saved = image.pixel(0, 0);
    image.setPixel(0, 0, qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)));
    DWORD physical = 0;
    std::memcpy(&physical, image.constScanLine(0), sizeof physical);
    image.setPixel(0, 0, saved);
    return physical & kColorMask;
}

void ClipBltRects(int& x, int& y, CRect& src, const CRect& clip)
{
    if (x - src.left + src.right > clip.right)
        src.right = clip.right - x + src.left;
    if (x < clip.left)
    {
        src.left = clip.left - x + src.left;
        x = clip.left;
    }
    if (y < clip.top)
    {
        src.top += clip.top - y;
        y = clip.top;
    }
    if (src.bottom - src.top + y > clip.bottom)
        src.bottom = clip.bottom - y + src.top;
}

// ---------------------------------------------------------------------------
// CSurface

CSurface::CSurface() : m_pOwnImage(std::make_unique<QImage>()), m_pImage(m_pOwnImage.get()) {}

CSurface::~CSurface()
{
    m_pDC.reset();
    if (m_pDisplay)
        m_pDisplay->Unregister(this);
}

void CSurface::Attach(CDisplay* display, QImage image)
{
    m_pDC.reset();
    if (m_pDisplay != display)
    {
        if (m_pDisplay)
            m_pDisplay->Unregister(this);
        if (display)
            display->Register(this);
        m_pDisplay = display;
    }
    *m_pOwnImage = std::move(image);
    m_pImage = m_pOwnImage.get();
    m_width = m_pImage->width();
    m_height = m_pImage->height();
    m_source = CRect(0, 0, m_width, m_height);
    m_dest = m_source;
    m_lost = FALSE;
}

void CSurface::AttachExternal(CDisplay* display, QImage* image)
{
    Attach(display, QImage());
    m_pImage = image ? image : m_pOwnImage.get();
    SyncExternalSize();
}

void CSurface::SyncExternalSize()
{
    if (m_pImage->width() != m_width || m_pImage->height() != m_height)
    {
        m_width = m_pImage->width();
        m_height = m_pImage->height();
        m_source = CRect(0, 0, m_width, m_height);
        m_dest = m_source;
    }
}

void CSurface::Detach()
{
    m_pDC.reset();
    if (m_pDisplay)
        m_pDisplay->Unregister(this);
    m_pDisplay = nullptr;
    *m_pOwnImage = QImage();
    m_pImage = m_pOwnImage.get();
    m_width = m_height = 0;
    m_bitmapName.Empty();
}

BOOL CSurface::IsUsable() const { return !m_pImage->isNull() && Is32Bit(*m_pImage); }

BOOL CSurface::CreateFromBitmap(CDisplay* display, const char* name)
{
    QImage bitmap;
    int width = 0;
    int height = 0;
    if (!DDLoadBitmap(name, bitmap, width, height, &m_loadError))
        return FALSE;
    Attach(display, std::move(bitmap));
    m_bitmapName = name;
    return TRUE;
}

BOOL CSurface::Create(CDisplay* display, int width, int height)
{
    CWnd* owner = display ? display->GetWindow() : nullptr;
    if (width <= 0 || height <= 0)
    {
        ReportDDError(DDERR_INVALIDPARAMS, owner);
        return FALSE;
    }
    QImage image = NewSurfaceImage(width, height);
    if (image.isNull())
    {
        ReportDDError(DDERR_OUTOFMEMORY, owner);
        return FALSE;
    }
    Attach(display, std::move(image));
    m_bitmapName.Empty();
    return TRUE;
}

DDRESULT CSurface::Blt(const CRect& dest, CSurface* target, const CRect& source, BOOL keyed)
{
    if (!target)
        return DDERR_INVALIDPARAMS;
    if (m_lost || target->m_lost)
    {
        // The copy is not retried: the next paint draws again.
        if (m_lost)
            Restore();
        if (target->m_lost)
            target->Restore();
        return DDERR_SURFACELOST;
    }
    if (!IsUsable() || !target->IsUsable())
        return DDERR_INVALIDOBJECT;
    if (keyed && !m_hasColorKey)
        return DDERR_NOCOLORKEY;
    const int sw = source.Width();
    const int sh = source.Height();
    const int dw = dest.Width();
    const int dh = dest.Height();
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0)
        return DDERR_INVALIDRECT;

    // Only the part of the destination inside the target is written.
    const int x0 = std::max<int>(dest.left, 0);
    const int x1 = std::min<int>(dest.right, target->m_width);
    const int y0 = std::max<int>(dest.top, 0);
    const int y1 = std::min<int>(dest.bottom, target->m_height);
    if (x0 >= x1 || y0 >= y1)
        return DD_OK;

    QImage copy;
    const QImage* src = m_pImage;
    if (target == this)
    {
        copy = m_pImage->copy();
        src = &copy;
    }
    const DWORD key = m_colorKey & kColorMask;
    QImage& out = *target->m_pImage;
    uchar* const outBits = out.bits();
    const qsizetype outStride = out.bytesPerLine();
    const uchar* const srcBits = src->constBits();
    const qsizetype srcStride = src->bytesPerLine();

    if (sw == dw && sh == dh && !IsPlainDrawing())
    {
        // Pixel for pixel: whole rows, cut to the source pixels that exist.
        const long long ox = static_cast<long long>(source.left) - dest.left;
        const long long oy = static_cast<long long>(source.top) - dest.top;
        const int xa = static_cast<int>(std::max<long long>(x0, -ox));
        const int xb = static_cast<int>(std::min<long long>(x1, m_width - ox));
        const int ya = static_cast<int>(std::max<long long>(y0, -oy));
        const int yb = static_cast<int>(std::min<long long>(y1, m_height - oy));
        if (xa >= xb || ya >= yb)
            return DD_OK;
        const size_t n = static_cast<size_t>(xb - xa);
        // A 32-bit RGB image holds its pixels opaque already: rows copy as
        // they are.
        const bool opaque = src->format() == QImage::Format_RGB32;
        // The rows of a tile lie far apart in its sheet: rows further down
        // are asked for while this one is copied. Long rows (a whole
        // surface's) the processor streams in by itself.
        const bool prefetch = n * sizeof(QRgb) <= kPrefetchedRowBytes;
        for (int y = ya; y < yb; ++y)
        {
            const QRgb* from = reinterpret_cast<const QRgb*>(srcBits + (y + oy) * srcStride) + xa + ox;
            QRgb* to = reinterpret_cast<QRgb*>(outBits + y * outStride) + xa;
            if (prefetch && y == ya)
                for (int k = 1; k < kRowsAhead && y + k < yb; ++k)
                    PrefetchRow(reinterpret_cast<const char*>(from) + k * srcStride, n * sizeof(QRgb));
            if (prefetch && y + kRowsAhead < yb)
                PrefetchRow(reinterpret_cast<const char*>(from) + kRowsAhead * srcStride, n * sizeof(QRgb));
            if (keyed)
            {
                CopyRowKeyed(from, to, n, key);
            }
            else if (opaque)
            {
                std::memcpy(to, from, n * sizeof(QRgb));
            }
            else
            {
                for (size_t i = 0; i < n; ++i)
                    to[i] = from[i] | 0xFF000000u;
            }
        }
        return DD_OK;
    }

    // Each destination pixel takes the source pixel under its centre; equal
    // sizes copy pixel for pixel. Source pixels outside this surface are
    // left out.
    // The column table is kept from copy to copy: at the smallest zoom a
    // paint makes thousands of small copies.
    static thread_local std::vector<int> columns;
    columns.resize(size_t(x1 - x0));
    bool allColumns = true;
    for (int x = x0; x < x1; ++x)
    {
        const long long k = x - dest.left;
        const int sx = source.left + int((2 * k + 1) * sw / (2LL * dw));
        columns[size_t(x - x0)] = sx;
        allColumns = allColumns && sx >= 0 && sx < m_width;
    }
    // An unkeyed row that reads every column writes every pixel of its
    // span, so the next row from the same source row is a copy of it.
    const bool rowsRepeat = !keyed && allColumns && !IsPlainDrawing();
    const QRgb* lastRow = nullptr;
    int lastSy = -1;
    for (int y = y0; y < y1; ++y)
    {
        const long long k = y - dest.top;
        const int sy = source.top + int((2 * k + 1) * sh / (2LL * dh));
        if (sy < 0 || sy >= m_height)
            continue;
        QRgb* dstRow = reinterpret_cast<QRgb*>(outBits + y * outStride);
        if (rowsRepeat && lastRow != nullptr && sy == lastSy)
        {
            std::memcpy(dstRow + x0, lastRow + x0, size_t(x1 - x0) * sizeof(QRgb));
            lastRow = dstRow;
            continue;
        }
        const QRgb* srcRow = reinterpret_cast<const QRgb*>(srcBits + sy * srcStride);
        if (rowsRepeat)
        {
            for (int x = x0; x < x1; ++x)
                dstRow[x] = srcRow[columns[size_t(x - x0)]] | 0xFF000000u;
            lastRow = dstRow;
            lastSy = sy;
            continue;
        }
        for (int x = x0; x < x1; ++x)
        {
            const int sx = columns[size_t(x - x0)];
            if (sx < 0 || sx >= m_width)
                continue;
            const QRgb pixel = srcRow[sx];
            if (keyed && (pixel & kColorMask) == key)
                continue;
            dstRow[x] = pixel | 0xFF000000u;
        }
    }
    return DD_OK;
}

DDRESULT CSurface::BltBand(const std::vector<BandPiece>& pieces, int nDestTop, int nHeight, CSurface* target,
                           BOOL keyed)
{
    if (!target)
        return DDERR_INVALIDPARAMS;
    if (pieces.empty())
        return DD_OK;
    // What the pieces one by one do when a surface is lost (the first
    // piece restores it), when one is its own target and in the plain form.
    if (IsPlainDrawing() || m_lost || target->m_lost || target == this || nHeight <= 0)
    {
        DDRESULT result = DD_OK;
        for (const BandPiece& piece : pieces)
        {
            const DDRESULT one =
                Blt(CRect(piece.destLeft, nDestTop, piece.destLeft + piece.width, nDestTop + nHeight), target,
                    CRect(piece.sourceLeft, piece.sourceTop, piece.sourceLeft + piece.width, piece.sourceTop + nHeight),
                    keyed);
            if (result == DD_OK)
                result = one;
        }
        return result;
    }
    if (!IsUsable() || !target->IsUsable())
        return DDERR_INVALIDOBJECT;
    if (keyed && !m_hasColorKey)
        return DDERR_NOCOLORKEY;

    // Each piece cut to the pixels that exist on both surfaces, as Blt cuts it.
    struct Span
    {
        int destLeft;  // first pixel written
        size_t count;
        long long dx;  // source column less target column
        long long dy;  // source row less target row
        int rowFirst;  // target rows written
        int rowEnd;
    };
    std::vector<Span> spans;
    spans.reserve(pieces.size());
    DDRESULT result = DD_OK;
    int bandFirst = INT_MAX;
    int bandEnd = INT_MIN;
    for (const BandPiece& piece : pieces)
    {
        if (piece.width <= 0)
        {
            if (result == DD_OK)
                result = DDERR_INVALIDRECT;
            continue;
        }
        const long long dx = static_cast<long long>(piece.sourceLeft) - piece.destLeft;
        const long long dy = static_cast<long long>(piece.sourceTop) - nDestTop;
        const long long xa = std::max<long long>({0, piece.destLeft, -dx});
        const long long xb = std::min<long long>({static_cast<long long>(target->m_width),
                                                  static_cast<long long>(piece.destLeft) + piece.width, m_width - dx});
        const long long ya = std::max<long long>({0, nDestTop, -dy});
        const long long yb = std::min<long long>(
            {static_cast<long long>(target->m_height), static_cast<long long>(nDestTop) + nHeight, m_height - dy});
        if (xa >= xb || ya >= yb)
            continue;
        // A piece that carries on where the last one ended, on both
        // surfaces, joins it: neighbouring tiles of a picture row often lie
        // side by side in their sheet too, and one long copy beats many
        // short ones.
        if (!spans.empty())
        {
            Span& last = spans.back();
            if (last.dx == dx && last.dy == dy && last.rowFirst == ya && last.rowEnd == yb &&
                static_cast<long long>(last.destLeft) + static_cast<long long>(last.count) == xa)
            {
                last.count += static_cast<size_t>(xb - xa);
                continue;
            }
        }
        spans.push_back(
            {static_cast<int>(xa), static_cast<size_t>(xb - xa), dx, dy, static_cast<int>(ya), static_cast<int>(yb)});
        bandFirst = std::min(bandFirst, static_cast<int>(ya));
        bandEnd = std::max(bandEnd, static_cast<int>(yb));
    }

    const DWORD key = m_colorKey & kColorMask;
    const KeyedRuns* keyedRuns = keyed && !spans.empty() ? GetKeyedRuns(key) : nullptr;
    const bool opaque = m_pImage->format() == QImage::Format_RGB32;
    const uchar* const srcBits = m_pImage->constBits();
    const qsizetype srcStride = m_pImage->bytesPerLine();
    uchar* const outBits = target->m_pImage->bits();
    const qsizetype outStride = target->m_pImage->bytesPerLine();
    for (int y = bandFirst; y < bandEnd; ++y)
    {
        QRgb* const outRow = reinterpret_cast<QRgb*>(outBits + y * outStride);
        for (const Span& span : spans)
        {
            if (y < span.rowFirst || y >= span.rowEnd)
                continue;
            const QRgb* from =
                reinterpret_cast<const QRgb*>(srcBits + (y + span.dy) * srcStride) + span.destLeft + span.dx;
            QRgb* to = outRow + span.destLeft;
            if (keyedRuns != nullptr)
                keyedRuns->CopyRow(static_cast<int>(y + span.dy), static_cast<int>(span.destLeft + span.dx), span.count,
                                   to);
            else if (keyed)
                CopyRowKeyed(from, to, span.count, key);
            else if (opaque)
                std::memcpy(to, from, span.count * sizeof(QRgb));
            else
                for (size_t i = 0; i < span.count; ++i)
                    to[i] = from[i] | 0xFF000000u;
        }
    }
    return result;
}

DDRESULT CSurface::ColorFill(const CRect& rect, DWORD physicalColor)
{
    if (m_lost)
    {
        Restore();
        return DDERR_SURFACELOST;
    }
    if (!IsUsable())
        return DDERR_INVALIDOBJECT;
    const int x0 = std::max<int>(rect.left, 0);
    const int x1 = std::min<int>(rect.right, m_width);
    const int y0 = std::max<int>(rect.top, 0);
    const int y1 = std::min<int>(rect.bottom, m_height);
    const QRgb pixel = 0xFF000000u | (physicalColor & kColorMask);
    if (x0 >= x1 || y0 >= y1)
        return DD_OK;
    uchar* const bits = m_pImage->bits();
    const qsizetype stride = m_pImage->bytesPerLine();
    for (int y = y0; y < y1; ++y)
    {
        QRgb* row = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(row + x0, row + std::max(x0, x1), pixel);
    }
    return DD_OK;
}

DDRESULT CSurface::BltClipped(CSurface* target)
{
    CRect src = m_source;
    CRect dst = m_dest;
    if (src.left < 0)
        src.left = 0;
    if (src.top < 0)
        src.top = 0;
    if (src.right >= m_width)
        src.right = m_width - 1;
    if (src.bottom >= m_height)
        src.bottom = m_height - 1;
    int displayWidth = target ? target->m_width : 0;
    int displayHeight = target ? target->m_height : 0;
    if (m_pDisplay)
    {
        displayWidth = m_pDisplay->GetWidth();
        displayHeight = m_pDisplay->GetHeight();
    }
    if (dst.left < 0)
        dst.left = 0;
    if (dst.top < 0)
        dst.top = 0;
    if (dst.right >= displayWidth)
        dst.right = displayWidth - 1;
    if (dst.bottom >= displayHeight)
        dst.bottom = displayHeight - 1;
    return Blt(dst, target, src, FALSE);
}

DDRESULT CSurface::BltFast(int x, int y, CSurface* target)
{
    return Blt(CRect(x, y, x + m_source.Width(), y + m_source.Height()), target, m_source, FALSE);
}

DDRESULT CSurface::BltStretchKeyed(CSurface* target) { return Blt(m_dest, target, m_source, TRUE); }

DDRESULT CSurface::BltFastKeyed(int x, int y, CSurface* target)
{
    return Blt(CRect(x, y, x + m_source.Width(), y + m_source.Height()), target, m_source, TRUE);
}

DDRESULT CSurface::BltFastKeyedClipped(int x, int y, CSurface* target, const CRect& clip)
{
    CRect src = m_source;
    ClipBltRects(x, y, src, clip);
    return Blt(CRect(x, y, x + src.Width(), y + src.Height()), target, src, TRUE);
}

DDRESULT CSurface::BltToWindow(CSurface* target)
{
    if (!target)
        return DDERR_INVALIDPARAMS;
    return Blt(CRect(0, 0, target->m_width, target->m_height), target, CRect(0, 0, m_width, m_height), FALSE);
}

DDRESULT CSurface::BltScaledKeyed(int x, int y, float zoom, CSurface* target)
{
    // Only the size is scaled; the corner stays at (x, y).
    const CRect dest(x, y, x + Truncate(m_width * double(zoom)), y + Truncate(m_height * double(zoom)));
    return Blt(dest, target, CRect(0, 0, m_width, m_height), TRUE);
}

DDRESULT CSurface::Mirror(bool horizontally, bool vertically)
{
    if (m_lost)
    {
        Restore();
        return DDERR_SURFACELOST;
    }
    if (!IsUsable())
        return DDERR_INVALIDOBJECT;
    *m_pImage = m_pImage->mirrored(horizontally, vertically);
    return DD_OK;
}

DDRESULT CSurface::MirrorLeftRight() { return Mirror(true, false); }

DDRESULT CSurface::MirrorUpDown() { return Mirror(false, true); }

void CSurface::SetColorKey(DWORD physicalColor)
{
    m_colorKey = physicalColor;
    m_hasColorKey = TRUE;
}

COLORREF CSurface::GetPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || m_pImage->isNull())
        return CLR_INVALID;
    const QRgb p = m_pImage->pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

DDRESULT CSurface::Restore()
{
    if (!m_lost)
        return DD_OK;
    m_lost = FALSE;
    if (!m_bitmapName.IsEmpty())
        return DDReLoadBitmap(this, m_bitmapName);
    return DD_OK;
}

void CSurface::MarkLost()
{
    m_lost = TRUE;
    if (!m_pImage->isNull())
        m_pImage->fill(Qt::black);
}

CDC* CSurface::GetDC()
{
    if (m_pDC)
        return m_pDC.get();
    CWnd* owner = m_pDisplay ? m_pDisplay->GetWindow() : nullptr;
    if (m_lost)
    {
        const DDRESULT result = Restore();
        if (result != DD_OK)
        {
            ReportDDError(result, owner);
            return nullptr;
        }
    }
    if (m_pImage->isNull())
    {
        ReportDDError(DDERR_CANTCREATEDC, owner);
        return nullptr;
    }
    m_pDC = std::make_unique<CDC>();
    m_pDC->AttachImage(m_pImage);
    return m_pDC.get();
}

void CSurface::ReleaseDC()
{
    if (m_pDC)
        m_pDC->DetachImage();
    m_pDC.reset();
}

// ---------------------------------------------------------------------------
// CDisplay

struct CDisplay::WindowRef
{
    QPointer<QWidget> widget;
};

CDisplay::CDisplay() = default;

CDisplay::~CDisplay()
{
    Release();
    // Surfaces that outlive the display forget it.
    for (CSurface* surface : m_surfaces)
        surface->m_pDisplay = nullptr;
    m_surfaces.clear();
}

void CDisplay::Register(CSurface* surface)
{
    if (std::find(m_surfaces.begin(), m_surfaces.end(), surface) == m_surfaces.end())
        m_surfaces.push_back(surface);
}

void CDisplay::Unregister(CSurface* surface)
{
    m_surfaces.erase(std::remove(m_surfaces.begin(), m_surfaces.end(), surface), m_surfaces.end());
}

BOOL CDisplay::Init(CWnd* window, int width, int height)
{
    Release();
    m_pWindow = window;
    m_pWindowRef = std::make_unique<WindowRef>();
    m_pWindowRef->widget = window ? window->GetWidget() : nullptr;
    m_width = width;
    m_height = height;
    m_colorDepth = kColorDepth;

    m_pPrimary = std::make_unique<CSurface>();
    QImage* windowImage = window ? window->GetBackImage() : nullptr;
    if (windowImage)
    {
        m_pPrimary->AttachExternal(this, windowImage);
    }
    else if (!m_pPrimary->Create(this, width, height))
    {
        m_pPrimary.reset();
        return FALSE;
    }
    m_pBack = std::make_unique<CSurface>();
    if (!m_pBack->Create(this, width, height))
    {
        m_pBack.reset();
        m_pPrimary.reset();
        return FALSE;
    }
    return TRUE;
}

void CDisplay::Release()
{
    m_bSurfaceDCLent = FALSE;
    m_pBack.reset();
    m_pPrimary.reset();
    m_pWindow = nullptr;
    m_pWindowRef.reset();
}

void CDisplay::Present()
{
    if (!m_pPrimary || !m_pBack)
        return;
    CWnd* window = m_pWindowRef && m_pWindowRef->widget ? m_pWindow : nullptr;
    if (window)
    {
        // The window may have been resized or have made a new image.
        if (QImage* image = window->GetBackImage())
        {
            if (&m_pPrimary->GetImage() != image)
                m_pPrimary->AttachExternal(this, image);
            else
                m_pPrimary->SyncExternalSize();
        }
    }
    if (m_pPrimary->IsLost())
        m_pPrimary->Restore();
    if (m_pBack->IsLost())
        m_pBack->Restore();

    // A window of the back surface's own size takes the frame by a flip:
    // the two images change places, as the pixels are the same either way
    // and every frame is drawn in full. The back surface is then left with
    // an earlier frame. The plain form copies.
    QImage& back = m_pBack->GetImage();
    QImage& shown = m_pPrimary->GetImage();
    if (window && !IsPlainDrawing() && &back != &shown && back.size() == shown.size() &&
        back.format() == kSurfaceFormat && shown.format() == kSurfaceFormat)
    {
        back.swap(shown);
    }
    else
    {
        const DDRESULT result = m_pBack->BltToWindow(m_pPrimary.get());
        if (result == DDERR_SURFACELOST && m_pPrimary->IsLost())
            m_pPrimary->Restore();
    }
    // Inside the window's own paint the image goes on screen when the paint
    // ends; asking for another paint from there would paint for ever.
    QWidget* widget = window ? window->GetWidget() : nullptr;
    if (widget && !widget->testAttribute(Qt::WA_WState_InPaintEvent))
        window->PresentBackImage();
}

BOOL CDisplay::IsRectOnScreen(int left, int top, int right, int bottom) const
{
    if ((left >= 0 && left <= m_width) || (right >= 0 && right <= m_width))
        return TRUE;
    if ((top >= 0 && top <= m_height) || (bottom >= 0 && bottom <= m_height))
        return TRUE;
    return FALSE;
}

CDC* CDisplay::GetSurfaceDC()
{
    if (!m_pBack)
        return nullptr;
    if (m_bSurfaceDCLent)
    {
        m_pBack->ReleaseDC();
        m_bSurfaceDCLent = FALSE;
    }
    CDC* dc = m_pBack->GetDC();
    m_bSurfaceDCLent = dc != nullptr;
    return dc;
}

BOOL CDisplay::ReleaseSurfaceDC()
{
    if (!m_bSurfaceDCLent)
        return FALSE;
    if (m_pBack)
        m_pBack->ReleaseDC();
    m_bSurfaceDCLent = FALSE;
    return TRUE;
}

void CDisplay::LoseSurfaces()
{
    for (CSurface* surface : m_surfaces)
        surface->MarkLost();
}
