#include "platform/ui/Bitmap.h"

#include "platform/core/File.h"
#include "platform/ui/DC.h"
#include "platform/ui/QtBridge.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

#include <cstdlib>
#include <map>

namespace
{
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
}  // namespace

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
    const QString file = QString::fromStdString(ResolveSystemPath(path));
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
