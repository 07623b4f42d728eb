// The text of a DC.

#include "platform/ui/DC.h"

#include "platform/ui/QtBridge.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace
{
// The default font of a DC: a plain sans face, 13 pixels.
constexpr int kDefaultFontPixels = 13;

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
}  // namespace

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
