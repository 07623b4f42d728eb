#include "platform/ui/GdiObject.h"

#include "platform/ui/DC.h"
#include "platform/ui/DCPrivate.h"

#include <algorithm>
#include <cstdio>

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
