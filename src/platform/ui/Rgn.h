#pragma once
// Regions: areas of pixels for hit tests, filling and clipping (see DC.h).
//
// A polygon region holds the pixels (x, y) whose point lies inside the polygon
// (closed back to its first point), its left and upper edges included, its
// right and lower ones not. Making one only keeps the vertices, and a point
// test walks the edges: its cost follows the vertex count, never the
// polygon's size in pixels, so a region read from a file that spans the
// whole coordinate range is as cheap to make and test as a small one. The
// pixels are laid out when filling, clipping, combining or asking for the
// extent needs them.
//
// This header is free of Qt.

#include "platform/core/Geometry.h"
#include "platform/core/Types.h"
#include "platform/ui/GdiObject.h"

#include <memory>

// Polygon fill modes.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;
// Region results and combine modes.
constexpr int RGN_ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;
// An area of pixels for hit tests, filling and clipping.
class CRgn : public CGdiObject
{
public:
    CRgn();
    ~CRgn() override;
    CRgn(const CRgn&) = delete;
    CRgn& operator=(const CRgn&) = delete;

    BOOL CreateRectRgn(int left, int top, int right, int bottom);
    BOOL CreateRectRgnIndirect(const CRect* rect);
    BOOL CreateEllipticRgn(int left, int top, int right, int bottom);
    BOOL CreatePolygonRgn(const CPoint* points, int count, int fillMode);
    // The part of a polygon's region inside a rectangle: the pixels that
    // CreatePolygonRgn and an RGN_AND with the rectangle give, but only the
    // rectangle's rows are scanned, so a polygon far larger than the
    // rectangle (a map feature at a high zoom) costs no more than the rows
    // it shows. A pixel row y lies inside between the crossings of the
    // polygon's edges with the line y, each crossing rounded up to a whole
    // pixel; an edge counts on the rows from its upper end to just above its
    // lower end, and a level edge on none.
    BOOL CreatePolygonRgnInRect(const CPoint* points, int count, int fillMode, const CRect& rect);
    // Makes this region (which must exist, e.g. CreateRectRgn(0,0,0,0)) the
    // combination of a and b; answers the kind of the result.
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);
    int CopyRgn(const CRgn* source);
    int OffsetRgn(int dx, int dy);
    BOOL PtInRegion(int x, int y) const;
    BOOL PtInRegion(CPoint point) const { return PtInRegion(point.x, point.y); }
    BOOL RectInRegion(const CRect* rect) const;
    int GetRgnBox(CRect* rect) const;
    BOOL IsEmpty() const;
    BOOL EqualRgn(const CRgn* other) const;
    BOOL DeleteObject() override;
    bool IsCreated() const override;

    // The region as a Qt region (for the platform layer).
    const class QRegion* GetRegion() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_p;
};
