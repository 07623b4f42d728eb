#pragma once
// Integer points, sizes and rectangles in device or picture pixels.
// A rectangle includes its left/top edge and excludes its right/bottom edge.

#include "platform/core/Types.h"

class CSize
{
public:
    LONG cx = 0;
    LONG cy = 0;

    constexpr CSize() = default;
    constexpr CSize(int x, int y) : cx(x), cy(y) {}

    bool operator==(const CSize&) const = default;
    CSize operator+(CSize s) const { return CSize(cx + s.cx, cy + s.cy); }
    CSize operator-(CSize s) const { return CSize(cx - s.cx, cy - s.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
    CSize& operator+=(CSize s)
    {
        cx += s.cx;
        cy += s.cy;
        return *this;
    }
    CSize& operator-=(CSize s)
    {
        cx -= s.cx;
        cy -= s.cy;
        return *this;
    }
};

class CPoint
{
public:
    LONG x = 0;
    LONG y = 0;

    constexpr CPoint() = default;
    constexpr CPoint(int px, int py) : x(px), y(py) {}

    void Offset(int dx, int dy)
    {
        x += dx;
        y += dy;
    }
    void Offset(CSize s)
    {
        x += s.cx;
        y += s.cy;
    }
    bool operator==(const CPoint&) const = default;
    CPoint operator+(CSize s) const { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(CSize s) const { return CPoint(x - s.cx, y - s.cy); }
    CSize operator-(CPoint p) const { return CSize(x - p.x, y - p.y); }
    CPoint operator+(CPoint p) const { return CPoint(x + p.x, y + p.y); }
    CPoint operator-() const { return CPoint(-x, -y); }
    CPoint& operator+=(CSize s)
    {
        x += s.cx;
        y += s.cy;
        return *this;
    }
    CPoint& operator-=(CSize s)
    {
        x -= s.cx;
        y -= s.cy;
        return *this;
    }
    CPoint& operator+=(CPoint p)
    {
        x += p.x;
        y += p.y;
        return *this;
    }
    CPoint& operator-=(CPoint p)
    {
        x -= p.x;
        y -= p.y;
        return *this;
    }
};

class CRect
{
public:
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    constexpr CRect(CPoint topLeft, CSize size)
        : left(topLeft.x), top(topLeft.y), right(topLeft.x + size.cx), bottom(topLeft.y + size.cy)
    {
    }
    constexpr CRect(CPoint topLeft, CPoint bottomRight)
        : left(topLeft.x), top(topLeft.y), right(bottomRight.x), bottom(bottomRight.y)
    {
    }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    BOOL IsRectEmpty() const { return Width() <= 0 || Height() <= 0; }
    BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(CPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

    void SetRect(int l, int t, int r, int b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void NormalizeRect();
    void OffsetRect(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void OffsetRect(CPoint p) { OffsetRect(p.x, p.y); }
    void OffsetRect(CSize s) { OffsetRect(s.cx, s.cy); }
    void InflateRect(int dx, int dy)
    {
        left -= dx;
        top -= dy;
        right += dx;
        bottom += dy;
    }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    // Both answer whether the result is non-empty; an empty result is set to 0,0,0,0.
    BOOL IntersectRect(const CRect& a, const CRect& b);
    BOOL UnionRect(const CRect& a, const CRect& b);

    bool operator==(const CRect&) const = default;
};
