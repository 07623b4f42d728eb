#pragma once
// The drawing objects a DC selects: pens, brushes and fonts (see DC.h).
//
// This header is free of Qt.

#include "platform/core/Types.h"

class CDC;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;
// Brush styles and hatches.
constexpr int BS_SOLID = 0;
constexpr int BS_NULL = 1;
constexpr int BS_HOLLOW = BS_NULL;
constexpr int BS_HATCHED = 2;
constexpr int HS_HORIZONTAL = 0;  // -----
constexpr int HS_VERTICAL = 1;    // |||||
constexpr int HS_FDIAGONAL = 2;   // \\\\\ (down from left to right)
constexpr int HS_BDIAGONAL = 3;   // ///// (up from left to right)
constexpr int HS_CROSS = 4;       // +++++
constexpr int HS_DIAGCROSS = 5;   // xxxxx
// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int ANSI_VAR_FONT = 12;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_GUI_FONT = 17;
// Font weights.
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

struct LOGFONT
{
    LONG lfHeight = 0;  // negative: character height in pixels; positive: cell height
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = FW_NORMAL;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    char lfFaceName[32] = {};
};

struct TEXTMETRIC
{
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
};
// Base of the drawing objects. An object is empty until created.
class CGdiObject
{
public:
    virtual ~CGdiObject() = default;
    virtual BOOL DeleteObject() = 0;
    virtual bool IsCreated() const = 0;
};

class CPen : public CGdiObject
{
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    BOOL CreatePen(int style, int width, COLORREF color);
    BOOL DeleteObject() override;
    bool IsCreated() const override { return m_bCreated; }

    int GetStyle() const { return m_nStyle; }
    int GetWidth() const { return m_nWidth; }
    COLORREF GetColor() const { return m_color; }

private:
    bool m_bCreated = false;
    int m_nStyle = PS_SOLID;
    int m_nWidth = 0;
    COLORREF m_color = 0;
};

class CBrush : public CGdiObject
{
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    CBrush(int hatchStyle, COLORREF color) { CreateHatchBrush(hatchStyle, color); }
    BOOL CreateSolidBrush(COLORREF color);
    BOOL CreateHatchBrush(int hatchStyle, COLORREF color);
    BOOL CreateHollowBrush();
    BOOL CreateStockObject(int index);
    BOOL DeleteObject() override;
    bool IsCreated() const override { return m_bCreated; }

    int GetStyle() const { return m_nStyle; }
    int GetHatch() const { return m_nHatch; }
    COLORREF GetColor() const { return m_color; }

private:
    bool m_bCreated = false;
    int m_nStyle = BS_SOLID;
    int m_nHatch = 0;
    COLORREF m_color = 0;
};

class CFont : public CGdiObject
{
public:
    CFont() = default;
    // pointSize in tenths of a point, as the program's dialogs give it.
    BOOL CreatePointFont(int pointSize, const char* faceName, CDC* pDC = nullptr);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                    BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, const char* faceName);
    BOOL CreateFontIndirect(const LOGFONT* logFont);
    int GetLogFont(LOGFONT* logFont) const;
    BOOL DeleteObject() override;
    bool IsCreated() const override { return m_bCreated; }

    const LOGFONT& GetLogFont() const { return m_lf; }

private:
    bool m_bCreated = false;
    LOGFONT m_lf;
};
