#include "platform/ui/QtBridge.h"

#include <climits>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace
{
// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unused
// codes there map to themselves, as the system's own conversion does.
const char16_t kHighControls[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}  // namespace

QString ToQString(const char* text)
{
    QString out;
    if (!text)
        return out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
    {
        if (*p >= 0x80 && *p < 0xA0)
            out += QChar(kHighControls[*p - 0x80]);
        else
            out += QChar(static_cast<char16_t>(*p));
    }
    return out;
}

CString FromQString(const QString& text)
{
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar ch : text)
    {
        char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        {
            out += static_cast<char>(u);
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
        {
            if (kHighControls[i] == u)
            {
                mapped = static_cast<char>(0x80 + i);
                break;
            }
        }
        out += mapped;
    }
    return CString(std::move(out));
}

QImage NewPixelImage(int width, int height, QImage::Format format)
{
    constexpr size_t kLargePage = size_t(2) << 20;
    const size_t depth = QImage::toPixelFormat(format).bitsPerPixel();
    const size_t bytesPerLine = (static_cast<size_t>(width) * depth + 31) / 32 * 4;
    const size_t bytes = bytesPerLine * static_cast<size_t>(height);
#if defined(__linux__)
    if (width > 0 && height > 0 && depth > 0 && bytes >= 2 * kLargePage && bytesPerLine <= size_t(INT_MAX))
    {
        const size_t rounded = (bytes + kLargePage - 1) / kLargePage * kLargePage;
        if (void* memory = std::aligned_alloc(kLargePage, rounded))
        {
            madvise(memory, rounded, MADV_HUGEPAGE);
            QImage image(static_cast<uchar*>(memory), width, height, static_cast<qsizetype>(bytesPerLine), format,
                         [](void* info) { std::free(info); }, memory);
            if (!image.isNull())
                return image;
            std::free(memory);
        }
    }
#endif
    return QImage(width, height, format);
}
