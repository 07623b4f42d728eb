#include "platform/ui/QtBridge.h"

#include "platform/core/CodePage.h"

#include <climits>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

QString ToQString(const char* text)
{
    QString out;
    if (!text)
        return out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        out += QChar(CodePageToUnicode(*p));
    return out;
}

CString FromQString(const QString& text)
{
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        const char16_t u = text[i].unicode();
        const int c = UnicodeToCodePage(u);
        out += c < 0 ? '?' : static_cast<char>(c);
        // A character beyond the first 65536 is one '?', not two.
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
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
