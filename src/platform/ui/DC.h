#pragma once
// Drawing: a device context (CDC) over an image, with the drawing objects
// it selects (CPen, CBrush, CFont, CBitmap, CRgn) and image lists.
//
// A CDC draws on a QImage: a window's back image (CPaintDC, CClientDC), a
// bitmap selected into a memory DC (CreateCompatibleDC + SelectObject), or
// any image the caller attaches (AttachImage, used for the display's
// surfaces). Drawing follows the Windows rules the program was written for:
// coordinates are integer pixels; a line from MoveTo to LineTo leaves out
// its end pixel; rectangles and ellipses exclude their right and bottom
// edge; pens of width 0 and 1 are one pixel wide and may be dotted or
// dashed, wider pens are solid with round ends; the gaps of dotted pens and
// hatched brushes take the background colour while the background mode is
// OPAQUE (the default, with a white background); text is drawn without
// smoothing in the text colour with its cell's top-left at the given point.
//
// Colours are COLORREF, 0x00BBGGRR. Selecting an object answers the one it
// replaced, so it can be selected back; a DC never owns what is selected
// into it. Objects must outlive their selection.
//
// This header is free of Qt (QImage is only forward-declared).

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Types.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/GdiObject.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Rgn.h"

#include <memory>
#include <vector>

class QImage;
class QPainter;
class CWnd;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
// Mix modes of SetROP2.
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;
// Raster operations of BitBlt, StretchBlt and PatBlt.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;
// Stretch modes (all copy whole pixels).
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;
// Text alignment.
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
// DrawText formats.
constexpr UINT DT_TOP = 0x0;
constexpr UINT DT_LEFT = 0x0;
constexpr UINT DT_CENTER = 0x1;
constexpr UINT DT_RIGHT = 0x2;
constexpr UINT DT_VCENTER = 0x4;
constexpr UINT DT_BOTTOM = 0x8;
constexpr UINT DT_WORDBREAK = 0x10;
constexpr UINT DT_SINGLELINE = 0x20;
constexpr UINT DT_NOCLIP = 0x100;
constexpr UINT DT_CALCRECT = 0x400;
constexpr UINT DT_NOPREFIX = 0x800;
// GetDeviceCaps indexes.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
// The copies between display surfaces and the one-pixel lines of a DC take
// fast forms where they can (whole rows copied at once, lines walked along
// the image's rows); those give exactly the pixels of the plain per-pixel
// forms. With plain drawing on, every copy and line takes the plain form,
// so that a test can draw both ways and compare. Off unless set.
void SetPlainDrawing(BOOL bPlain);
BOOL IsPlainDrawing();

class CDC
{
public:
    CDC();
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Draws on an image the caller owns (null detaches).
    BOOL AttachImage(QImage* image);
    QImage* DetachImage();
    // A memory DC: draws on the bitmap selected into it.
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();
    QImage* GetImage() const { return m_pImage; }
    BOOL IsValid() const { return m_pImage != nullptr; }

    // Selection: each answers the object it replaced (the DC's default
    // objects answer null, and selecting null puts the default back).
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    int SelectObject(CRgn* region) { return SelectClipRgn(region); }
    // Stock objects: answers the replaced object of the same kind.
    CGdiObject* SelectStockObject(int index);
    CPen* GetCurrentPen() const { return m_pPen; }
    CBrush* GetCurrentBrush() const { return m_pBrush; }
    CFont* GetCurrentFont() const { return m_pFont; }
    CBitmap* GetCurrentBitmap() const { return m_pBitmap; }

    // State.
    int SetBkMode(int mode);
    int GetBkMode() const { return m_nBkMode; }
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_bkColor; }
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const { return m_textColor; }
    int SetROP2(int mode);
    int GetROP2() const { return m_nRop2; }
    int SetPolyFillMode(int mode);
    int GetPolyFillMode() const { return m_nPolyFillMode; }
    UINT SetTextAlign(UINT flags);
    UINT GetTextAlign() const { return m_nTextAlign; }
    int SetStretchBltMode(int mode);
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(CPoint point) { return SetViewportOrg(point.x, point.y); }
    CPoint OffsetViewportOrg(int dx, int dy);
    CPoint GetViewportOrg() const { return m_viewportOrg; }
    int SaveDC();
    BOOL RestoreDC(int savedDC);  // -1: the latest
    int GetDeviceCaps(int index) const;

    // Clipping (in device pixels).
    int SelectClipRgn(CRgn* region);  // null removes the clip
    int IntersectClipRect(int left, int top, int right, int bottom);
    int IntersectClipRect(const CRect* rect);
    int GetClipBox(CRect* rect) const;

    // Lines and shapes.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(CPoint point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(CPoint point) { return LineTo(point.x, point.y); }
    CPoint GetCurrentPosition() const { return m_current; }
    BOOL Polyline(const CPoint* points, int count);
    BOOL Polygon(const CPoint* points, int count);
    BOOL PolyBezier(const CPoint* points, int count);
    BOOL Rectangle(int left, int top, int right, int bottom);
    BOOL Rectangle(const CRect* rect) { return Rectangle(rect->left, rect->top, rect->right, rect->bottom); }
    BOOL Ellipse(int left, int top, int right, int bottom);
    BOOL Ellipse(const CRect* rect) { return Ellipse(rect->left, rect->top, rect->right, rect->bottom); }
    BOOL RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    // Counter-clockwise from the radial through (xStart, yStart) to the one
    // through (xEnd, yEnd); equal radials give the whole ellipse.
    BOOL Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
    BOOL Pie(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
    BOOL Chord(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
    void FillSolidRect(const CRect* rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FillRect(const CRect* rect, CBrush* brush);
    void FrameRect(const CRect* rect, CBrush* brush);
    void Draw3dRect(const CRect* rect, COLORREF topLeft, COLORREF bottomRight);
    void InvertRect(const CRect* rect);
    void DrawFocusRect(const CRect* rect);
    BOOL FillRgn(CRgn* region, CBrush* brush);
    BOOL PaintRgn(CRgn* region);
    BOOL FrameRgn(CRgn* region, CBrush* brush, int width, int height);
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);

    // Pixels.
    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF SetPixel(CPoint point, COLORREF color) { return SetPixel(point.x, point.y, color); }
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(CPoint point) const { return GetPixel(point.x, point.y); }

    // Text.
    BOOL TextOut(int x, int y, const char* text, int length);
    BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text.GetString(), text.GetLength()); }
    BOOL TextOut(int x, int y, const char* text) { return TextOut(x, y, CString(text)); }
    CSize GetTextExtent(const char* text, int length) const;
    CSize GetTextExtent(const CString& text) const { return GetTextExtent(text.GetString(), text.GetLength()); }
    int DrawText(const CString& text, CRect* rect, UINT format);
    BOOL GetTextMetrics(TEXTMETRIC* metrics) const;

    // Copies from another DC (its image or selected bitmap).
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth, int srcHeight,
                    DWORD rop);

protected:
    struct State;
    void ApplyPen(QPainter& p) const;
    void BrushOf(int& style, int& hatch, COLORREF& color) const;
    void ApplyBrush(QPainter& p) const;
    void Begin(QPainter& p) const;
    bool HasPen() const;
    bool HasBrush() const;
    // The pen, or none; the brush when the shape is filled and there is one, or none.
    void ApplyPenAndBrush(QPainter& p, bool fill) const;
    void PenOf(int& style, int& width, COLORREF& color) const;
    bool IsCosmeticPen() const;
    // A one-pixel line without its last point; stylePos runs the dash
    // pattern on across the lines of one figure.
    void CosmeticLine(CPoint from, CPoint to, int& stylePos);
    static constexpr int kArc = 0;
    static constexpr int kPie = 1;
    static constexpr int kChord = 2;
    BOOL ArcShape(int kind, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);

    QImage* m_pImage = nullptr;
    CPen* m_pPen = nullptr;
    CBrush* m_pBrush = nullptr;
    CFont* m_pFont = nullptr;
    CBitmap* m_pBitmap = nullptr;
    // Stock objects selected by index (0 = the default of the kind).
    int m_nStockPen = 0;
    int m_nStockBrush = 0;
    int m_nBkMode = OPAQUE;
    COLORREF m_bkColor = RGB(255, 255, 255);
    COLORREF m_textColor = RGB(0, 0, 0);
    int m_nRop2 = R2_COPYPEN;
    int m_nPolyFillMode = ALTERNATE;
    UINT m_nTextAlign = TA_LEFT | TA_TOP;
    CPoint m_viewportOrg;
    CPoint m_current;
    bool m_bMemoryDC = false;
    std::unique_ptr<class QRegion> m_pClip;
    std::vector<std::unique_ptr<State>> m_saved;
};

// The DC of OnPaint: draws on the window's back image, erasing it first
// when the window asked for that.
class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;

private:
    CWnd* m_pWnd;
};

// A DC on a window's back image at any time; what is drawn is shown at the
// next turn of the event loop.
class CClientDC : public CDC
{
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    CWnd* m_pWnd;
};
using CWindowDC = CClientDC;
